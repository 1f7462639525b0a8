// SPDX-License-Identifier: MIT
// The Hijri columns of the active project's task tables: inserting one beside its date column and
// marking the text field with the default Hijri title, deleting every column of a field when its
// pair goes, and refreshing the table and all Hijri texts. Keeps no data of its own; the pair
// registry is updated by the callers.
//
//   AddHijriColumn("Entry", text1, "HijriStart", start);   // alias of Text1 becomes "HijriStart"
//   RefreshTable("Entry");                                  // rewrites every pair of every task
//
// Nothing is caught here: a failing host call ends the operation at that step and reaches the
// caller as host::HostError; what was already done in the host stays done. Every operation needs
// the host's global application and an active project, and fails with kObjectRequired without.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "addin/host/object_model.h"

namespace lunavant::tables {

// The position number of the first column of `columns` showing `field`, or -1 when none does (a
// column showing no field never matches).
std::int32_t FindFieldColumn(host::ColumnList& columns, host::FieldId field);

// Inserts a column of `hijri_field` titled `title` directly right of the first column of
// `date_field` in the named task table, and sets the text field's alias to the date field's
// default Hijri title (whatever `title` says). When the table shows no such date column, or
// `date_field` is 0, adds nothing and sets no alias. In every case then shows the table in the
// active view. Fails with kInvalidProcedureCall, after the column went in, for a date field
// without a default Hijri title.
void AddHijriColumn(std::string_view table_name, host::FieldId hijri_field,
                    const std::string& title, host::FieldId date_field);

// Sets the text field's alias back to its own name; then, when the named table shows the field,
// erases the field's text in every task and deletes every column of the field from every task
// table of the project. The text is erased through that column of the active view when the view
// shows it, else task by task; either way each task raises ProjectBeforeTaskChange.
void RemoveHijriColumn(std::string_view table_name, host::FieldId hijri_field);

// Makes the next recalculation rewrite every Hijri field of every task, has the host recalculate
// (ProjectCalculate is raised before this returns) and shows the named table in the active view.
void RefreshTable(std::string_view table_name);

// Deletes every column showing `field` from every task table of the active project. Field 0
// deletes nothing.
void PurgeFieldColumns(host::FieldId field);

}  // namespace lunavant::tables

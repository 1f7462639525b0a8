// SPDX-License-Identifier: MIT
#include "addin/tables/table_ops.h"

#include "addin/base/host_access.h"
#include "addin/host/error.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::tables {
namespace {

// The layout of a new Hijri column, in the host's codes.
constexpr std::int32_t kHijriAlignment = 1;
constexpr std::int32_t kHijriWidth = 10;
constexpr bool kHijriWrap = true;

using base::ActiveProject;
using base::App;

host::ColumnList& ColumnsOf(std::string_view table_name) {
  return ActiveProject().TaskTable(table_name).Columns();
}

// The host's menu captions carry the accelerator mark, and the table is applied by its caption.
void ApplyTable(std::string_view table_name) {
  App().TableApply(std::string("&").append(table_name));
}

// Whether the active view shows `field`: the host selects a column by the name of its field, and
// only in the view's own table, so only then can the clearing go through the view.
bool ViewShowsField(host::FieldId field) {
  host::Project& project = ActiveProject();
  return FindFieldColumn(project.TaskTable(project.CurrentTable()).Columns(), field) != -1;
}

// The view command that follows a column deletion: the table the view shows applied again, which
// redraws it without the deleted column and drops a selection that went with it.
void RefreshActiveView() { ApplyTable(ActiveProject().CurrentTable()); }

// The texts go with the pair even when the view shows another table, which has no column of the
// field for the host to select. Each write raises ProjectBeforeTaskChange, as the clearing through
// the view does.
void EraseFieldText(host::FieldId field) {
  host::Project& project = ActiveProject();
  for (std::int32_t position = 1; position <= project.TaskCount(); ++position) {
    host::Task* task = project.TaskAt(position);
    if (task != nullptr && !task->GetField(field).empty()) task->SetField(field, "");
  }
}

}  // namespace

std::int32_t FindFieldColumn(host::ColumnList& columns, host::FieldId field) {
  const std::int32_t count = columns.Count();
  for (std::int32_t i = 1; i <= count; ++i) {
    host::Column& column = columns.Item(i);
    const host::FieldId shown = column.Field();
    const std::int32_t position = column.Index();
    if (shown != 0 && shown == field) return position <= count ? position : -1;
  }
  return -1;
}

void AddHijriColumn(std::string_view table_name, host::FieldId hijri_field,
                    const std::string& title, host::FieldId date_field) {
  if (date_field != 0) {
    const std::int32_t date_position = FindFieldColumn(ColumnsOf(table_name), date_field);
    if (date_position != -1) {
      ColumnsOf(table_name)
          .Add(hijri_field, kHijriAlignment, kHijriWidth, title, kHijriAlignment, date_position - 2,
               kHijriWrap);
      App().CustomFieldRename(hijri_field, pairing::TitleOfDateField(date_field));
    }
  }
  ApplyTable(table_name);
}

void RemoveHijriColumn(std::string_view table_name, host::FieldId hijri_field) {
  host::Application& app = App();
  app.CustomFieldRename(hijri_field, app.FieldConstantToFieldName(hijri_field));
  for (;;) {
    const std::int32_t position = FindFieldColumn(ColumnsOf(table_name), hijri_field);
    if (position == -1) return;
    if (ViewShowsField(hijri_field)) {
      app.SelectTaskColumn(app.FieldConstantToFieldName(hijri_field));
      if (ActiveProject().TaskCount() >= 1) app.EditClearContents();
    } else {
      EraseFieldText(hijri_field);
    }
    ColumnsOf(table_name).Delete(position);
    RefreshActiveView();
    PurgeFieldColumns(hijri_field);
  }
}

void RefreshTable(std::string_view table_name) {
  host::Application& app = App();
  pairing::SetForceRefresh(true);
  try {
    app.CalculateProject();
  } catch (...) {
    // The flag belongs to this recalculation; left set, it would turn the next edit's targeted
    // refresh into a full one.
    pairing::SetForceRefresh(false);
    throw;
  }
  ApplyTable(table_name);
}

void PurgeFieldColumns(host::FieldId field) {
  if (field == 0) return;
  host::Project& project = ActiveProject();
  const std::int32_t table_count = project.TaskTableCount();
  for (std::int32_t t = 1; t <= table_count; ++t) {
    // From the last column to the first, so a deletion moves up only columns already looked at.
    for (std::int32_t i = project.TaskTable(t).Columns().Count(); i >= 1; --i) {
      host::ColumnList& columns = project.TaskTable(t).Columns();
      if (columns.Item(i).Field() == field) columns.Delete(i);
    }
  }
}

}  // namespace lunavant::tables

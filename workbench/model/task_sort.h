// SPDX-License-Identifier: MIT
// Sorting a project's tasks by fields as a scheduler sorts them: dates by their moment, numbers,
// durations and costs by their value, text letter case aside, and a Hijri column (a custom text
// whose alias names a date field, such as HijriStart) by the Hijri date its text holds, never as
// text. A cell with no value ("NA", empty) sorts after every other whichever the direction, and
// ties keep their order.
//
//   SortTasks(project, {{field::kText1, true}}, app.DateSeparator());  // by HijriStart, in place
//   std::vector<std::int32_t> flat = FlatOrder(project, keys, separator);  // for a view only
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "addin/host/field_ids.h"

namespace lunavant::workbench {

class Project;

struct SortKey {
  host::FieldId field = 0;
  bool ascending = true;
};

// Puts the rows in the keys' order with the outline kept: each summary task's subtasks are sorted
// among themselves and move with it; a blank row goes after the tasks beside it. IDs follow the
// rows' new places (unique IDs stay). Marks the project changed only when a row moved; returns
// whether one did. Raises no host event. Fails with kHostFailure for a field the host lacks.
bool SortTasks(Project& project, std::span<const SortKey> keys, std::string_view date_separator);

// The project positions (from 1) of every task in the keys' order, outline ignored (blank rows
// left out); changes nothing. Fails as SortTasks.
std::vector<std::int32_t> FlatOrder(const Project& project, std::span<const SortKey> keys,
                                    std::string_view date_separator);

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// An independent check of the Hijri text in a project: for each pair (a custom text field that a
// task table shows and whose alias names a date field, such as HijriStart), the Hijri date of
// each task's date is worked out afresh, through the converter library's G2HA and the host's
// date separator, and compared with the text the project holds. It reads the project only.
//
//   HijriCheck check = CheckHijriCells(project, *converter, app.DateSeparator(), {});
//   for (const CellProblem& p : check.problems) ...
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/services.h"
#include "workbench/model/project.h"

namespace lunavant::cli {

struct CheckedPair {
  host::FieldId text_field = 0;
  host::FieldId date_field = 0;
  std::string title;  // the alias, such as "HijriStart"
};

struct CellProblem {
  std::int32_t task_id = 0;
  std::string task_name;
  std::string field;  // the pair's title
  std::string stored;
  std::string expected;
  // "stale": Hijri text of another date; "wrong": not Hijri text with the host's separator;
  // "corrected": Hijri text of another date, in a month the calendar's corrections changed.
  std::string kind;
};

struct HijriCheck {
  std::vector<CheckedPair> pairs;
  std::int64_t tasks = 0;
  std::int64_t cells = 0;
  std::vector<CellProblem> problems;
};

// The pairs of the project, in the order of the text fields (Text1 first).
std::vector<CheckedPair> FindPairs(workbench::Project& project);

// Fails with the converter's error (a HostError) when the library lacks G2HA. `progress` hears
// each task's ID as it is checked.
HijriCheck CheckHijriCells(workbench::Project& project, host::Library& converter,
                           std::string_view separator,
                           const std::function<void(std::int32_t)>& progress);

// Marks the stale cells whose expected date lies in one of `changed_months` ("1446-09"): those
// the corrections of the Hijri calendar in force change.
void MarkCorrectedCells(HijriCheck& check, const std::set<std::string>& changed_months,
                        std::string_view separator);

}  // namespace lunavant::cli

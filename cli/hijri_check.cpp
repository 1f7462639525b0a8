// SPDX-License-Identifier: MIT
#include "cli/hijri_check.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "addin/host/error.h"
#include "orbelune.h"
#include "workbench/model/field_catalog.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::cli {
namespace {

// The alias each date field's Hijri partner carries in a project file.
struct HijriTitle {
  host::FieldId date_field;
  std::string_view title;
};
namespace field = workbench::field;
constexpr std::array kHijriTitles = std::to_array<HijriTitle>({
    {field::kStart, "HijriStart"},
    {field::kFinish, "HijriFinish"},
    {field::kEarlyStart, "HijriEarlyStart"},
    {field::kEarlyFinish, "HijriEarlyFinish"},
    {field::kLateStart, "HijriLateStart"},
    {field::kLateFinish, "HijriLateFinish"},
    {field::kActualStart, "HijriActualStart"},
    {field::kActualFinish, "HijriActualFinish"},
    {field::kBaselineStart, "HijriBaselineStart"},
    {field::kBaselineFinish, "HijriBaselineFinish"},
    {field::kConstraintDate, "HijriConstraintDate"},
    {field::kCreated, "HijriCreated"},
});

using G2HAFunction = OrbeluneG2HA;

std::string TwoDigits(std::int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", static_cast<int>(number));
  return text;
}

std::string ExpectedText(const std::optional<workbench::Moment>& when, G2HAFunction g2ha,
                         std::string_view separator) {
  if (!when) return "NA";
  const host::DateTime civil = workbench::DateTimeOf(*when);
  std::int32_t year = 0, month = 0, day = 0, weekday = 0;
  if (g2ha(civil.year, civil.month, civil.day, &year, &month, &day, &weekday) != 0) {
    return "(no Hijri date)";
  }
  std::string text = TwoDigits(day);
  text.append(separator).append(TwoDigits(month)).append(separator).append(TwoDigits(year));
  return text;
}

// Day, separator, month, separator, year: the form the add-in writes.
bool IsHijriText(std::string_view text, std::string_view separator) {
  const auto digits = [](std::string_view piece, std::size_t least, std::size_t most) {
    if (piece.size() < least || piece.size() > most) return false;
    for (const char c : piece) {
      if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
    }
    return true;
  };
  if (separator.empty()) return false;
  const std::size_t first = text.find(separator);
  if (first == std::string_view::npos) return false;
  const std::size_t second = text.find(separator, first + separator.size());
  if (second == std::string_view::npos) return false;
  return digits(text.substr(0, first), 2, 2) &&
         digits(text.substr(first + separator.size(), second - first - separator.size()), 2, 2) &&
         digits(text.substr(second + separator.size()), 1, 4);
}

}  // namespace

std::vector<CheckedPair> FindPairs(workbench::Project& project) {
  std::vector<CheckedPair> pairs;
  for (int index = 0; index < workbench::kCustomTextCount; ++index) {
    const std::string& alias = project.CustomTextAlias(index);
    const host::FieldId text_field = workbench::CustomTextField(index);
    for (const HijriTitle& title : kHijriTitles) {
      if (alias != title.title) continue;
      // Only a field a table shows is paired when the project opens.
      bool shown = false;
      for (std::int32_t t = 1; t <= project.TaskTableCount() && !shown; ++t) {
        workbench::ColumnList& columns = project.TaskTable(t).Columns();
        for (std::int32_t c = 1; c <= columns.Count() && !shown; ++c) {
          shown = columns.Item(c).Field() == text_field;
        }
      }
      if (shown) pairs.push_back({text_field, title.date_field, alias});
    }
  }
  return pairs;
}

HijriCheck CheckHijriCells(workbench::Project& project, host::Library& converter,
                           std::string_view separator,
                           const std::function<void(std::int32_t)>& progress) {
  const auto g2ha = reinterpret_cast<G2HAFunction>(converter.Symbol("G2HA"));
  HijriCheck check;
  check.pairs = FindPairs(project);
  for (const auto& row : project.Rows()) {
    if (!row) continue;
    const workbench::Task& task = *row;
    ++check.tasks;
    if (progress) progress(task.ID());
    for (const CheckedPair& pair : check.pairs) {
      ++check.cells;
      const std::string stored = task.GetField(pair.text_field);
      const std::string expected = ExpectedText(task.DateValue(pair.date_field), g2ha, separator);
      if (stored == expected) continue;
      check.problems.push_back({task.ID(), task.Name(), pair.title, stored, expected,
                                IsHijriText(stored, separator) ? "stale" : "wrong"});
    }
  }
  return check;
}

void MarkCorrectedCells(HijriCheck& check, const std::set<std::string>& changed_months,
                        std::string_view separator) {
  if (changed_months.empty() || separator.empty()) return;
  for (CellProblem& problem : check.problems) {
    if (problem.kind != "stale") continue;
    // dd<sep>mm<sep>yyyy, as ExpectedText writes it.
    const std::string& expected = problem.expected;
    const std::size_t first = expected.find(separator);
    if (first == std::string::npos) continue;
    const std::size_t second = expected.find(separator, first + separator.size());
    if (second == std::string::npos) continue;
    const std::string month =
        expected.substr(second + separator.size()) + "-" +
        expected.substr(first + separator.size(), second - first - separator.size());
    if (changed_months.count(month) != 0) problem.kind = "corrected";
  }
}

}  // namespace lunavant::cli

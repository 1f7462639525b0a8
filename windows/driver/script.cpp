// SPDX-License-Identifier: MIT
#include "script.h"

#include <array>

#include "text.h"

namespace lunavant::driver {
namespace {

struct ActionShape {
  std::wstring_view name;
  size_t min_arguments;
  size_t max_arguments;
};

constexpr std::array<ActionShape, 20> kActions = {{
    {L"new", 0, 0},           {L"open", 1, 1},        {L"add-task", 1, 3},
    {L"link", 2, 4},          {L"click", 1, 1},       {L"type", 3, 3},
    {L"recalculate", 0, 0},   {L"close", 0, 0},       {L"window", 1, 1},
    {L"expect-text", 3, 3},   {L"expect-date", 3, 3}, {L"expect-count", 1, 1},
    {L"connect", 1, 1},       {L"disconnect", 1, 1},  {L"show-bar", 1, 1},
    {L"delete-bar", 1, 1},    {L"expect-bar", 2, 2},  {L"expect-view", 1, 1},
    {L"expect-column", 3, 3}, {L"expect-face", 2, 2},
}};

std::string Where(std::string_view source, int line) {
  return std::string(source) + ":" + std::to_string(line) + ": ";
}

std::vector<std::wstring> SplitWords(std::wstring_view line, std::string_view source,
                                     int line_number) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == L' ' || line[i] == L'\t') {
      ++i;
      continue;
    }
    std::wstring word;
    if (line[i] == L'"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const wchar_t c = line[i++];
        if (c == L'"') {
          closed = true;
          break;
        }
        if (c == L'\\' && i < line.size() && (line[i] == L'"' || line[i] == L'\\')) {
          word += line[i++];
        } else {
          word += c;
        }
      }
      if (!closed) throw ScriptError(Where(source, line_number) + "a quote is not closed");
    } else {
      while (i < line.size() && line[i] != L' ' && line[i] != L'\t') word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace

std::vector<ScriptStep> ParseScript(std::string_view text, std::string_view source) {
  std::vector<ScriptStep> steps;
  const std::wstring wide = com::Widen(text);
  std::wstring_view rest = wide;
  // A byte order mark, as Windows editors write one.
  if (!rest.empty() && rest.front() == L'\uFEFF') rest.remove_prefix(1);
  int line_number = 0;
  while (!rest.empty()) {
    const size_t end = rest.find(L'\n');
    std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    ++line_number;
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    std::vector<std::wstring> words = SplitWords(line, source, line_number);
    if (words.empty() || words.front().starts_with(L'#')) continue;

    ScriptStep step;
    step.line = line_number;
    step.action = words.front();
    step.arguments.assign(words.begin() + 1, words.end());
    const ActionShape* shape = nullptr;
    for (const ActionShape& candidate : kActions) {
      if (candidate.name == step.action) shape = &candidate;
    }
    if (shape == nullptr) {
      throw ScriptError(Where(source, line_number) + "unknown action '" + com::Narrow(step.action) +
                        "'");
    }
    if (step.arguments.size() < shape->min_arguments ||
        step.arguments.size() > shape->max_arguments) {
      const std::string expected = shape->min_arguments == shape->max_arguments
                                       ? std::to_string(shape->min_arguments)
                                       : std::to_string(shape->min_arguments) + " to " +
                                             std::to_string(shape->max_arguments);
      throw ScriptError(Where(source, line_number) + com::Narrow(step.action) + " takes " +
                        expected + " arguments, not " + std::to_string(step.arguments.size()));
    }
    steps.push_back(std::move(step));
  }
  return steps;
}

std::string_view ScriptActionsHelp() {
  return R"(Script: one action per line; words in double quotes may hold blanks; # starts a
comment line. TASK is a task's ID (a number) or its name; DATE is YYYY-MM-DD or
"YYYY-MM-DD HH:MM"; FIELD is a field's name as FieldNameToFieldConstant knows it.
  new                              a new project (FileNew)
  open PATH                        open a project file (FileOpen), where the host can
  add-task NAME [DATE [DURATION]]  add a task to the active project, then set its Start
                                   and its Duration (as typed, e.g. 5d)
  link PRED SUCC [TYPE [LAG]]      make PRED a predecessor of SUCC; TYPE FS (default),
                                   SS, FF or SF; LAG as typed, e.g. 2d
  click CAPTION                    click the command bar button with that caption
  type TASK FIELD VALUE            type VALUE into the task's field as a user does in a
                                   cell (SetTaskField), which recalculates
  recalculate                      recalculate the active project (CalculateProject)
  close                            close the active project without saving (FileClose)
  window INDEX|CAPTION             activate a window of the host
  expect-text TASK FIELD TEXT      the field shows exactly TEXT (GetField)
  expect-date TASK MEMBER DATE     the task's date property (Start, Finish...) is on DATE,
                                   and at its time if DATE has one
  expect-count COUNT               the active project has COUNT tasks
  connect PROGID                   tick a registered add-in in the COM add-ins dialog:
                                   OnConnection with ext_cm_AfterStartup
  disconnect PROGID                untick it: OnDisconnection with ext_dm_UserClosed
  show-bar NAME                    show the command bar NAME
  delete-bar NAME                  delete the command bar NAME, as a user can
  expect-bar NAME STATE            the command bar NAME is visible, hidden or absent
  expect-view TABLE                the active view shows the task table TABLE
                                   (the active project's CurrentTable)
  expect-column TABLE FIELD STATE  a column of the task table TABLE shows FIELD (shown)
                                   or none does (absent)
  expect-face CAPTION STATE        the button with that caption has a face (Picture) or
                                   none: shown or none
)";
}

}  // namespace lunavant::driver

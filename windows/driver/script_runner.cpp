// SPDX-License-Identifier: MIT
#include "script_runner.h"

#include <cstdio>
#include <optional>
#include <string>

#include "late_binding.h"
#include "report.h"
#include "text.h"

namespace lunavant::driver {
namespace {

using com::Call;
using com::ComPtr;
using com::ObjectOf;
using com::Variant;

std::optional<long> WholeNumber(const std::wstring& text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}

struct DateText {
  SYSTEMTIME time{};
  bool has_time = false;
};

// YYYY-MM-DD, with " HH:MM" or "THH:MM" after it when the time matters.
std::optional<DateText> ParseDate(const std::wstring& text) {
  DateText date;
  unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0;
  wchar_t separator = 0;
  int read = 0;
  const std::string narrow = com::Narrow(text);
  if (std::sscanf(narrow.c_str(), "%4u-%2u-%2u%n", &year, &month, &day, &read) != 3) {
    return std::nullopt;
  }
  if (static_cast<size_t>(read) != narrow.size()) {
    int rest = 0;
    separator = text[static_cast<size_t>(read)];
    if ((separator != L' ' && separator != L'T') ||
        std::sscanf(narrow.c_str() + read + 1, "%2u:%2u%n", &hour, &minute, &rest) != 2 ||
        static_cast<size_t>(read + 1 + rest) != narrow.size() || hour > 23 || minute > 59) {
      return std::nullopt;
    }
    date.has_time = true;
  }
  date.time.wYear = static_cast<WORD>(year);
  date.time.wMonth = static_cast<WORD>(month);
  date.time.wDay = static_cast<WORD>(day);
  date.time.wHour = static_cast<WORD>(hour);
  date.time.wMinute = static_cast<WORD>(minute);
  double check = 0;
  SYSTEMTIME round_trip{};
  // SystemTimeToVariantTime rolls 31 April over to 1 May; a date that does not come back whole
  // is no date.
  if (!SystemTimeToVariantTime(&date.time, &check) ||
      !VariantTimeToSystemTime(check, &round_trip) || round_trip.wDay != date.time.wDay ||
      round_trip.wMonth != date.time.wMonth) {
    return std::nullopt;
  }
  return date;
}

std::string FormatDate(const SYSTEMTIME& time, bool with_time) {
  char text[32];
  if (with_time) {
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute);
  } else {
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", time.wYear, time.wMonth, time.wDay);
  }
  return text;
}

Variant DateArgument(const std::wstring& text) {
  const std::optional<DateText> date = ParseDate(text);
  if (!date) throw StepFailure("'" + com::Narrow(text) + "' is not a date (YYYY-MM-DD [HH:MM])");
  double value = 0;
  SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&date->time), &value);
  return Variant::Date(value);
}

// A command bar caption without the & that marks its access key.
std::wstring WithoutAccessKey(std::wstring caption) {
  std::wstring result;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    result += caption[i];
  }
  return result;
}

long CountOf(IDispatch* collection) {
  Variant count = Call(collection, L"Count");
  VARIANT number;
  VariantInit(&number);
  if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&count.get()), 0, VT_I4))) {
    throw StepFailure("a Count that is not a number");
  }
  return number.lVal;
}

// Item(index) of a collection; empty for a blank entry (a blank task row is Nothing).
ComPtr<IDispatch> ItemOf(IDispatch* collection, const Variant& index) {
  Variant item = Call(collection, L"Item", {index});
  if (item.type() == VT_EMPTY || (item.type() == VT_DISPATCH && item.get().pdispVal == nullptr)) {
    return {};
  }
  return ObjectOf(item, L"Item");
}

std::string Quote(const std::wstring& text) { return "\"" + com::Narrow(text) + "\""; }

}  // namespace

ScriptRunner::ScriptRunner(IDispatch* application, AddInManager& addins)
    : application_(ComPtr<IDispatch>::Share(application)), addins_(addins) {}

ComPtr<IDispatch> ScriptRunner::ActiveProject() {
  Variant project = Call(application_.get(), L"ActiveProject");
  if (project.type() != VT_DISPATCH || project.get().pdispVal == nullptr) {
    throw StepFailure("there is no active project");
  }
  return ObjectOf(project, L"ActiveProject");
}

ComPtr<IDispatch> ScriptRunner::Tasks() {
  return ObjectOf(Call(ActiveProject().get(), L"Tasks"), L"Tasks");
}

ComPtr<IDispatch> ScriptRunner::FindTask(const std::wstring& id_or_name) {
  const auto tasks = Tasks();
  if (const std::optional<long> id = WholeNumber(id_or_name)) {
    auto task = ItemOf(tasks.get(), Variant::Long(*id));
    if (!task) throw StepFailure("task " + std::to_string(*id) + " is a blank row");
    return task;
  }
  const long count = CountOf(tasks.get());
  for (long i = 1; i <= count; ++i) {
    auto task = ItemOf(tasks.get(), Variant::Long(i));
    if (task && com::TextOf(Call(task.get(), L"Name").get()) == id_or_name) return task;
  }
  throw StepFailure("no task is named " + Quote(id_or_name));
}

ComPtr<IDispatch> ScriptRunner::FindButton(const std::wstring& caption) {
  const auto bars = ObjectOf(Call(application_.get(), L"CommandBars"), L"CommandBars");
  const long bar_count = CountOf(bars.get());
  for (long b = 1; b <= bar_count; ++b) {
    auto bar = ItemOf(bars.get(), Variant::Long(b));
    if (!bar) continue;
    const auto controls = ObjectOf(Call(bar.get(), L"Controls"), L"Controls");
    const long control_count = CountOf(controls.get());
    for (long c = 1; c <= control_count; ++c) {
      auto control = ItemOf(controls.get(), Variant::Long(c));
      if (control && WithoutAccessKey(com::TextOf(Call(control.get(), L"Caption").get())) ==
                         WithoutAccessKey(caption)) {
        return control;
      }
    }
  }
  throw StepFailure("no command bar has a button " + Quote(caption));
}

ComPtr<IDispatch> ScriptRunner::FindWindow(const std::wstring& index_or_caption) {
  const auto windows = ObjectOf(Call(application_.get(), L"Windows"), L"Windows");
  if (const std::optional<long> index = WholeNumber(index_or_caption)) {
    if (*index >= 1 && *index <= CountOf(windows.get())) {
      if (auto window = ItemOf(windows.get(), Variant::Long(*index))) return window;
    }
    throw StepFailure("there is no window " + std::to_string(*index));
  }
  const long count = CountOf(windows.get());
  for (long i = 1; i <= count; ++i) {
    auto window = ItemOf(windows.get(), Variant::Long(i));
    if (window && com::TextOf(Call(window.get(), L"Caption").get()) == index_or_caption) {
      return window;
    }
  }
  throw StepFailure("no window has the caption " + Quote(index_or_caption));
}

ComPtr<IDispatch> ScriptRunner::FindBar(const std::wstring& name) {
  const auto bars = ObjectOf(Call(application_.get(), L"CommandBars"), L"CommandBars");
  const long count = CountOf(bars.get());
  for (long i = 1; i <= count; ++i) {
    auto bar = ItemOf(bars.get(), Variant::Long(i));
    if (bar && com::TextOf(Call(bar.get(), L"Name").get()) == name) return bar;
  }
  return {};
}

void ScriptRunner::AddTask(const ScriptStep& step) {
  const auto& args = step.arguments;
  // Checked before the task is added, so a bad date leaves the project as it was.
  std::optional<Variant> start;
  if (args.size() >= 2) start = DateArgument(args[1]);
  const auto task = ObjectOf(Call(Tasks().get(), L"Add", {Variant::Text(args[0])}), L"Tasks.Add");
  if (start) com::Put(task.get(), L"Start", *start);
  if (args.size() >= 3) com::Put(task.get(), L"Duration", Variant::Text(args[2]));
}

void ScriptRunner::Link(const ScriptStep& step) {
  const auto& args = step.arguments;
  // PjTaskLinkType.
  long type = 1;
  if (args.size() >= 3) {
    if (args[2] == L"FF") {
      type = 0;
    } else if (args[2] == L"FS") {
      type = 1;
    } else if (args[2] == L"SF") {
      type = 2;
    } else if (args[2] == L"SS") {
      type = 3;
    } else {
      throw StepFailure("link type " + Quote(args[2]) + " is none of FS, SS, FF, SF");
    }
  }
  const auto predecessor = FindTask(args[0]);
  const auto successor = FindTask(args[1]);
  const auto dependencies =
      ObjectOf(Call(successor.get(), L"TaskDependencies"), L"TaskDependencies");
  std::vector<Variant> add_arguments = {Variant::Object(predecessor.get()), Variant::Long(type)};
  if (args.size() >= 4) add_arguments.push_back(Variant::Text(args[3]));
  Call(dependencies.get(), L"Add", add_arguments);
}

bool ScriptRunner::ExpectText(const ScriptStep& step) {
  const auto& args = step.arguments;
  const auto task = FindTask(args[0]);
  const Variant field =
      Call(application_.get(), L"FieldNameToFieldConstant", {Variant::Text(args[1])});
  const std::wstring shown = com::TextOf(Call(task.get(), L"GetField", {field}).get());
  if (shown == args[2]) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected task " + com::Narrow(args[0]) +
                " " + com::Narrow(args[1]) + " to show " + Quote(args[2]) + ", it shows " +
                Quote(shown));
  return false;
}

bool ScriptRunner::ExpectDate(const ScriptStep& step) {
  const auto& args = step.arguments;
  const std::optional<DateText> expected = ParseDate(args[2]);
  if (!expected) throw StepFailure(Quote(args[2]) + " is not a date (YYYY-MM-DD [HH:MM])");
  const auto task = FindTask(args[0]);
  Variant value = Call(task.get(), args[1]);
  VARIANT date;
  VariantInit(&date);
  SYSTEMTIME actual{};
  if (FAILED(VariantChangeType(&date, const_cast<VARIANT*>(&value.get()), 0, VT_DATE)) ||
      !VariantTimeToSystemTime(date.date, &actual)) {
    ReportFailure("line " + std::to_string(step.line) + ": expected task " + com::Narrow(args[0]) +
                  " " + com::Narrow(args[1]) + " to be a date, it is " +
                  Quote(com::TextOf(value.get())));
    return false;
  }
  const std::string want = FormatDate(expected->time, expected->has_time);
  const std::string got = FormatDate(actual, expected->has_time);
  if (want == got) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected task " + com::Narrow(args[0]) +
                " " + com::Narrow(args[1]) + " on " + want + ", it is on " +
                FormatDate(actual, true));
  return false;
}

bool ScriptRunner::ExpectCount(const ScriptStep& step) {
  const std::optional<long> expected = WholeNumber(step.arguments[0]);
  if (!expected) throw StepFailure(Quote(step.arguments[0]) + " is not a count");
  const long count = CountOf(Tasks().get());
  if (count == *expected) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected " + std::to_string(*expected) +
                " tasks, the project has " + std::to_string(count));
  return false;
}

bool ScriptRunner::ExpectBar(const ScriptStep& step) {
  const std::wstring& expected = step.arguments[1];
  if (expected != L"visible" && expected != L"hidden" && expected != L"absent") {
    throw StepFailure(Quote(expected) + " is none of visible, hidden, absent");
  }
  const auto bar = FindBar(step.arguments[0]);
  std::wstring state = L"absent";
  if (bar) {
    VARIANT visible;
    VariantInit(&visible);
    Variant value = Call(bar.get(), L"Visible");
    const bool shown =
        SUCCEEDED(VariantChangeType(&visible, const_cast<VARIANT*>(&value.get()), 0, VT_BOOL)) &&
        visible.boolVal != VARIANT_FALSE;
    state = shown ? L"visible" : L"hidden";
  }
  if (state == expected) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected the command bar " +
                Quote(step.arguments[0]) + " " + com::Narrow(expected) + ", it is " +
                com::Narrow(state));
  return false;
}

bool ScriptRunner::ExpectView(const ScriptStep& step) {
  const std::wstring shown = com::TextOf(Call(ActiveProject().get(), L"CurrentTable").get());
  if (shown == step.arguments[0]) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected the view to show the table " +
                Quote(step.arguments[0]) + ", it shows " + Quote(shown));
  return false;
}

bool ScriptRunner::ExpectColumn(const ScriptStep& step) {
  const auto& args = step.arguments;
  if (args[2] != L"shown" && args[2] != L"absent") {
    throw StepFailure(Quote(args[2]) + " is neither shown nor absent");
  }
  const Variant field =
      Call(application_.get(), L"FieldNameToFieldConstant", {Variant::Text(args[1])});
  const auto tables = ObjectOf(Call(ActiveProject().get(), L"TaskTables"), L"TaskTables");
  const auto table = ItemOf(tables.get(), Variant::Text(args[0]));
  if (!table) throw StepFailure("there is no task table " + Quote(args[0]));
  const auto columns = ObjectOf(Call(table.get(), L"TableFields"), L"TableFields");
  const long count = CountOf(columns.get());
  bool shown = false;
  for (long i = 1; i <= count && !shown; ++i) {
    const auto column = ItemOf(columns.get(), Variant::Long(i));
    shown = column && com::TextOf(Call(column.get(), L"Field").get()) == com::TextOf(field.get());
  }
  if (shown == (args[2] == L"shown")) return true;
  ReportFailure("line " + std::to_string(step.line) + ": expected a column of " +
                com::Narrow(args[1]) + " in the table " + Quote(args[0]) + " " +
                com::Narrow(args[2]) + ", it is " + (shown ? "shown" : "absent"));
  return false;
}

bool ScriptRunner::ExpectFace(const ScriptStep& step) {
  const auto& args = step.arguments;
  if (args[1] != L"shown" && args[1] != L"none") {
    throw StepFailure(Quote(args[1]) + " is neither shown nor none");
  }
  const Variant picture = Call(FindButton(args[0]).get(), L"Picture");
  const bool shown = picture.type() == VT_DISPATCH && picture.get().pdispVal != nullptr;
  if (shown == (args[1] == L"shown")) return true;
  ReportFailure(
      "line " + std::to_string(step.line) + ": expected the button " + Quote(args[0]) +
      (args[1] == L"shown" ? " to show a face, it has none" : " to have no face, it shows one"));
  return false;
}

bool ScriptRunner::Run(const ScriptStep& step) {
  const std::wstring& action = step.action;
  const auto& args = step.arguments;
  IDispatch* app = application_.get();
  if (action == L"new") {
    Call(app, L"FileNew");
  } else if (action == L"open") {
    Call(app, L"FileOpen", {Variant::Text(args[0])});
  } else if (action == L"add-task") {
    AddTask(step);
  } else if (action == L"link") {
    Link(step);
  } else if (action == L"click") {
    Call(FindButton(args[0]).get(), L"Execute");
  } else if (action == L"type") {
    // SetTaskField(Field, Value, AllSelectedTasks, Create, TaskID) is the host's own record of
    // a user's typing, recalculated as typing is.
    const Variant id = Call(FindTask(args[0]).get(), L"ID");
    Call(app, L"SetTaskField",
         {Variant::Text(args[1]), Variant::Text(args[2]), Variant::Missing(), Variant::Missing(),
          id});
  } else if (action == L"recalculate") {
    Call(app, L"CalculateProject");
  } else if (action == L"close") {
    // FileClose(Save): pjDoNotSave.
    Call(app, L"FileClose", {Variant::Long(0)});
  } else if (action == L"window") {
    Call(FindWindow(args[0]).get(), L"Activate");
  } else if (action == L"expect-text") {
    return ExpectText(step);
  } else if (action == L"expect-date") {
    return ExpectDate(step);
  } else if (action == L"expect-count") {
    return ExpectCount(step);
  } else if (action == L"connect") {
    addins_.ConnectByUser(args[0]);
  } else if (action == L"disconnect") {
    addins_.DisconnectByUser(args[0]);
  } else if (action == L"show-bar" || action == L"delete-bar") {
    const auto bar = FindBar(args[0]);
    if (!bar) throw StepFailure("there is no command bar " + Quote(args[0]));
    if (action == L"show-bar") {
      com::Put(bar.get(), L"Visible", Variant::Boolean(true));
    } else {
      Call(bar.get(), L"Delete");
    }
  } else if (action == L"expect-bar") {
    return ExpectBar(step);
  } else if (action == L"expect-view") {
    return ExpectView(step);
  } else if (action == L"expect-column") {
    return ExpectColumn(step);
  } else if (action == L"expect-face") {
    return ExpectFace(step);
  }
  return true;
}

}  // namespace lunavant::driver

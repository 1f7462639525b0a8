// SPDX-License-Identifier: MIT
// The reference host's automation server driven as a late-binding client drives it, under wine:
//   automation_client_test register      registers the server beside the program (HKLM classes)
//   automation_client_test objects       builds a project of linked tasks; errors; identity
//   automation_client_test events        every application and project event, Cancel, re-entry,
//                                        two sinks, Advise and Unadvise
//   automation_client_test command_bars  a toolbar with buttons, Click with reversed arguments
//   automation_client_test scenario NAME a shared scenario (scenarios/NAME.scenario)
// Each case runs in a process of its own, in a single-threaded apartment, as a host driver does.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "windows/automation/tests/late_binding.h"

namespace lunavant::windows::testing {
namespace {

constexpr std::int32_t kFieldName = 188743694;
constexpr std::int32_t kFieldStart = 188743715;
constexpr std::int32_t kFieldText1 = 188743731;
constexpr std::int32_t kHostFailure = 1004;
constexpr std::int32_t kSubscriptOutOfRange = 9;
constexpr double kMinute = 1.0 / (24 * 60);
// Monday 11 March 2024 and the days after it, as OLE dates.
constexpr double kMonday = 45362;

bool NearDate(double actual, double expected) {
  const bool close_enough = std::fabs(actual - expected) < kMinute / 2;
  if (!close_enough) std::fprintf(stderr, "date %.6f, expected %.6f\n", actual, expected);
  return close_enough;
}

int Register(Checks& checks) {
  HMODULE server = LoadLibraryW(kReferenceHostModule);
  checks.That(server != nullptr, "the server loads from beside the program");
  if (server == nullptr) return checks.ExitCode();
  using Entry = HRESULT(STDAPICALLTYPE*)();
  auto register_server =
      reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(server, "DllRegisterServer")));
  checks.That(register_server != nullptr && SUCCEEDED(register_server()), "DllRegisterServer");
  CLSID clsid{};
  checks.That(SUCCEEDED(CLSIDFromProgID(kReferenceHostProgId, &clsid)) &&
                  IsEqualCLSID(clsid, kReferenceHostClsid),
              "the ProgID names the class");
  return checks.ExitCode();
}

// Tasks A (3 days, starting Monday 11 March 2024) -> B (2 days) -> C (1 day, lag 1 day).
struct LinkedTasks {
  Object project, a, b, c;
};

LinkedTasks BuildLinkedTasks(const Object& app) {
  LinkedTasks built;
  built.project = app.Get("Projects").Get("Add");
  built.project.Put("ProjectStart", Date(kMonday + 8.0 / 24));
  const Object tasks = built.project.Get("Tasks");
  built.a = tasks.Get("Add", {Text("Survey")});
  built.b = tasks.Get("Add", {Text("Design")});
  built.c = tasks.Get("Add", {Text("Build")});
  built.a.Put("Duration", Text("3"));
  built.b.Put("Duration", Long(2 * 480));  // minutes, as the object model counts them
  built.c.Put("Duration", Text("1"));
  built.a.Put("Start", Date(kMonday));
  built.b.Get("TaskDependencies").Call("Add", {ObjectValue(built.a.get())});
  built.c.Get("TaskDependencies").Call("Add", {ObjectValue(built.b.get()), Long(1), Text("1d")});
  app.Call("CalculateProject");
  return built;
}

// The members whose dispatch IDs the real host's type library fixes: early-bound callers use them.
void HostDispatchIds(Checks& checks, const Object& app, const Object& project) {
  const struct {
    const Object& object;
    const char* name;
    DISPID id;
  } known[] = {
      {app, "ActiveProject", 5002},
      {app, "Projects", 5000},
      {app, "CommandBars", 5041},
      {app, "DateSeparator", 5104},
      {app, "CustomFieldRename", 2378},
      {app, "CustomFieldGetName", 5039},
      {app, "CustomFieldGetFormula", 5059},
      {app, "CustomFieldSetFormula", 36},
      {app, "Windows", 5001},
      {app, "FileNew", 101},
      {app, "SetTaskField", 4},
      {app, "FieldNameToFieldConstant", 5066},
      {app, "FieldConstantToFieldName", 5067},
      {app, "TableApply", 402},
      {app, "TableEdit", 403},
      {app, "SelectTaskColumn", 2065},
      {app, "EditClear", 205},
      {app, "CalculateProject", 2034},
      {app, "CalculateAll", 607},
      {project, "Index", 65527},
      {project, "Tasks", 1},
      {project, "TaskTableList", 35},
  };
  for (const auto& member : known) {
    checks.Equal(member.object.IdOf(member.name), member.id,
                 std::string("DISPID of ") + member.name);
  }
  checks.Equal(app.IdOf("activeproject"), 5002, "names match without regard to letter case");
}

int Objects(Checks& checks) {
  const Object app = Object::Create(kReferenceHostProgId);
  checks.That(SameObject(app, Object::Create(kReferenceHostProgId)),
              "the process has one application");
  checks.Equal(app.Get("Projects").Call("Count").AsLong(), 0, "no project at first");
  checks.That(!app.Get("ActiveProject"), "no active project at first");

  const LinkedTasks built = BuildLinkedTasks(app);
  checks.Equal(app.Get("Projects").Call("Count").AsLong(), 1, "Projects.Add adds one");
  HostDispatchIds(checks, app, built.project);
  checks.That(SameObject(app.Get("ActiveProject"), built.project), "the new project is active");
  checks.That(SameObject(app.Get("Projects").Get("Item", {Long(1)}), built.project),
              "Projects(1) is the same object");
  checks.That(SameObject(built.project.Get("Application"), app), "Project.Application");
  checks.That(SameObject(built.a.Get("Parent"), built.project), "Task.Parent");
  checks.Equal(built.project.Call("Index").AsLong(), 1, "Project.Index");
  checks.Equal(built.project.Get("Tasks").Call("Count").AsLong(), 3, "Tasks.Count");
  const std::vector<Variant> each = built.project.Get("Tasks").Items();
  checks.That(each.size() == 3 && SameObject(each[0].AsObject(), built.a.get()) &&
                  SameObject(each[2].AsObject(), built.c.get()),
              "For Each over Tasks gives the tasks in order");
  checks.Equal(built.b.Call("Name").AsText(), "Design", "Task.Name");

  // Arguments as Basic passes its variables: by reference, a Variant holding the value.
  Variant name = Text("Design");
  Variant by_reference;
  by_reference.get().vt = VT_VARIANT | VT_BYREF;
  by_reference.get().pvarVal = &name.get();
  checks.That(SameObject(built.project.Get("Tasks").Get("Item", {by_reference}), built.b),
              "Tasks(name) with the name by reference");
  checks.Equal(built.c.Call("ID").AsLong(), 3, "Task.ID");
  checks.Equal(built.b.Call("Duration").AsLong(), 960, "Duration in minutes");
  checks.Equal(built.c.Call("Predecessors").AsText(), "2FS+1d", "Predecessors text");
  checks.That(NearDate(built.a.Call("Start").AsDate(), kMonday + 8.0 / 24),
              "A starts Monday 08:00");
  checks.That(NearDate(built.a.Call("Finish").AsDate(), kMonday + 2 + 17.0 / 24),
              "A finishes Wednesday 17:00");
  checks.That(NearDate(built.b.Call("Start").AsDate(), kMonday + 3 + 8.0 / 24),
              "B starts Thursday 08:00");
  checks.That(NearDate(built.c.Call("Start").AsDate(), kMonday + 8 + 8.0 / 24),
              "C starts Tuesday 08:00 after the weekend and its lag");
  checks.Equal(built.b.Get("PredecessorTasks").Call("Count").AsLong(), 1, "PredecessorTasks");
  checks.That(SameObject(built.b.Get("PredecessorTasks").Get("Item", {Long(1)}), built.a),
              "PredecessorTasks(1) is A");
  checks.Equal(built.a.Call("GetField", {Long(kFieldName)}).AsText(), "Survey", "GetField");
  built.a.Call("SetField", {Long(kFieldText1), Text("note")});
  checks.Equal(built.a.Call("GetField", {Long(kFieldText1)}).AsText(), "note", "SetField");
  checks.Equal(app.Call("FieldNameToFieldConstant", {Text("Start")}).AsLong(), kFieldStart,
               "FieldNameToFieldConstant");
  checks.Equal(app.Call("FieldConstantToFieldName", {Long(kFieldText1)}).AsText(), "Text1",
               "FieldConstantToFieldName");
  app.Call("CustomFieldRename", {Long(kFieldText1), Text("HijriStart")});
  checks.Equal(app.Call("CustomFieldGetName", {Long(kFieldText1)}).AsText(), "HijriStart",
               "CustomFieldRename");
  const Object tables = built.project.Get("TaskTableList");
  bool has_entry = false;
  for (std::int32_t i = 1; i <= tables.Call("Count").AsLong(); ++i) {
    has_entry = has_entry || tables.Call("Item", {Long(i)}).AsText() == "Entry";
  }
  checks.That(has_entry, "TaskTableList lists Entry");

  // A column added to the Entry table and deleted again, through its table fields.
  const Object fields =
      built.project.Get("TaskTables").Get("Item", {Text("Entry")}).Get("TableFields");
  const std::int32_t columns = fields.Call("Count").AsLong();
  const Object added = fields.Get(
      "Add", {Long(kFieldText1), Variant(), Long(12), Text("Hijri"), Variant(), Long(0)});
  checks.Equal(fields.Call("Count").AsLong(), columns + 1, "TableFields.Add");
  checks.Equal(added.Call("Index").AsLong(), 3, "the new column stands after the name column");
  checks.Equal(fields.Get("Item", {Long(3)}).Call("Field").AsLong(), kFieldText1,
               "the column shows Text1");
  checks.Equal(added.Call("Title").AsText(), "Hijri", "the column's title");
  const Object stale = fields.Get("Item", {Long(4)});
  added.Call("Delete");
  checks.Equal(fields.Call("Count").AsLong(), columns, "TableField.Delete");
  ExpectHostError(checks, kHostFailure, "a column object after the columns moved",
                  [&] { stale.Call("Delete"); });

  // The same through the view commands: TableEdit inserts, SelectTaskColumn and ColumnDelete
  // take it out again.
  app.Call("TableEdit", {Text("Entry"), Bool(true), Variant(), Variant(), Variant(), Variant(),
                         Text("Text2"), Text("Second"), Long(10), Variant(), Variant(), Variant(),
                         Variant(), Variant(), Long(0), Variant()});
  checks.Equal(fields.Call("Count").AsLong(), columns + 1, "TableEdit inserts a column");
  checks.Equal(fields.Get("Item", {Long(3)}).Call("Title").AsText(), "Second", "its title");
  // SelectTaskColumn takes a column's field name; a position is no field's name, and the
  // selection stays as it was.
  ExpectHostError(checks, kHostFailure, "SelectTaskColumn by position",
                  [&] { app.Call("SelectTaskColumn", {Long(3)}); });
  app.Call("SelectTaskColumn", {Text("Text2")});
  app.Call("ColumnDelete");
  checks.Equal(fields.Call("Count").AsLong(), columns, "ColumnDelete");
  ExpectHostError(checks, kHostFailure, "SelectTaskColumn of a field the view does not show",
                  [&] { app.Call("SelectTaskColumn", {Text("Text2")}); });
  checks.That(!app.Call("DateSeparator").AsText().empty(), "DateSeparator");

  // Failures as the real host reports them.
  try {
    app.IdOf("NoSuchMember");
    checks.That(false, "an unknown name fails");
  } catch (const CallFailed& failure) {
    checks.Equal(failure.result, DISP_E_UNKNOWNNAME, "unknown name");
  }
  ExpectHostError(checks, kSubscriptOutOfRange, "Projects(2)",
                  [&] { app.Get("Projects").Get("Item", {Long(2)}); });
  const std::string refused = ExpectHostError(checks, kHostFailure, "an unreadable date", [&] {
    built.a.Call("SetField", {Long(kFieldStart), Text("not a date")});
  });
  checks.That(refused.find("not a date") != std::string::npos, "the description names the text");
  ExpectHostError(checks, kHostFailure, "FieldNameToFieldConstant of a name the host lacks",
                  [&] { app.Call("FieldNameToFieldConstant", {Text("Nonsense")}); });
  // The type library holds every call: a member the host lacks, a wrong count of arguments, an
  // argument that does not convert.
  for (const char* missing : {"ViewRefresh", "ActiveExplorer"}) {
    try {
      app.IdOf(missing);
      checks.That(false, std::string(missing) + " is no member of the host");
    } catch (const CallFailed& failure) {
      checks.Equal(failure.result, DISP_E_UNKNOWNNAME, missing);
    }
  }
  try {
    app.Call("CalculateProject", {Long(1)});
    checks.That(false, "CalculateProject with an argument fails");
  } catch (const CallFailed& failure) {
    checks.Equal(failure.result, DISP_E_BADPARAMCOUNT, "an argument too many");
  }
  try {
    app.Call("FieldConstantToFieldName", {Text("Text1")});
    checks.That(false, "a field name for a field number fails");
  } catch (const CallFailed& failure) {
    checks.Equal(failure.result, DISP_E_TYPEMISMATCH, "a name where a number is declared");
  }

  checks.That(app.Call("FileClose", {Long(0)}).AsBool(), "FileClose without saving");
  checks.Equal(app.Get("Projects").Call("Count").AsLong(), 0, "the project closed");
  checks.Equal(built.project.Call("Index").AsLong(), 0, "a closed project's index");
  ExpectHostError(checks, kHostFailure, "a closed project's task refuses writes",
                  [&] { built.a.Put("Name", Text("Late")); });
  return checks.ExitCode();
}

}  // namespace
}  // namespace lunavant::windows::testing

int main(int argc, char** argv) {
  using namespace lunavant::windows::testing;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr,
                 "usage: automation_client_test register|objects|events|command_bars|"
                 "scenario NAME\n");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  Checks checks;
  int code = 2;
  try {
    const std::string which = argv[1];
    if (which == "register") code = Register(checks);
    if (which == "objects") code = Objects(checks);
    if (which == "events") code = EventCases(checks);
    if (which == "command_bars") code = CommandBarCases(checks);
    if (which == "scenario" && argc == 3) code = ScenarioCase(checks, argv[2]);
  } catch (const CallFailed& failure) {
    std::fprintf(stderr, "FAILED: %s (0x%08lx)\n", failure.what(),
                 static_cast<unsigned long>(failure.result));
    code = 1;
  }
  CoUninitialize();
  return code;
}

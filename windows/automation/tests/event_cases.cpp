// SPDX-License-Identifier: MIT
// The events of the reference host as sinks advised through connection points receive them.
#include <string>
#include <vector>

#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "windows/automation/tests/late_binding.h"

namespace lunavant::windows::testing {
namespace {

constexpr std::int32_t kFieldName = 188743694;
constexpr std::int32_t kFieldText1 = 188743731;

// The events a sink got, by dispatch ID, in order.
std::vector<DISPID> Members(const Sink& sink) {
  std::vector<DISPID> members;
  for (const Sink::Event& event : sink.Events()) members.push_back(event.member);
  return members;
}

void SetCancel(DISPPARAMS& params) { *params.rgvarg[0].pboolVal = VARIANT_TRUE; }

// Text of the NewVal argument of a ProjectBeforeTaskChange (rgvarg[1]).
std::string NewValue(DISPPARAMS& params) { return Variant(params.rgvarg[1]).AsText(); }

void ApplicationEvents(Checks& checks, const Object& app) {
  const ComPtr<Sink> first = Sink::Make(kApplicationEventsIid);
  const ComPtr<Sink> second = Sink::Make(kApplicationEventsIid);
  first->Advise(app);
  second->Advise(app);

  // A new project: NewProject, then its window's activation, to both sinks.
  const Object project = app.Get("Projects").Get("Add");
  for (const Sink* sink : {first.get(), second.get()}) {
    checks.That(
        Members(*sink) == std::vector<DISPID>{DISPID_EVENT_NEWPROJECT, DISPID_EVENT_WINDOWACTIVATE},
        "NewProject then WindowActivate, to each sink");
  }
  const Sink::Event& created = first->Events()[0];
  checks.That(created.types == std::vector<VARTYPE>{VT_DISPATCH} &&
                  SameObject(created.reversed_args[0].AsObject(), project.get()),
              "NewProject(pj) hands the new project");
  const Sink::Event& activated = first->Events()[1];
  checks.That(activated.types == std::vector<VARTYPE>{VT_DISPATCH} &&
                  SameObject(activated.reversed_args[0].AsObject(), app.Get("ActiveWindow").get()),
              "WindowActivate(activatedWindow) hands the active window");

  // A field write: ProjectBeforeTaskChange(tsk, Field, NewVal, Cancel), reversed in rgvarg.
  const Object task = project.Get("Tasks").Get("Add", {Text("Dig")});
  first->Clear();
  second->Clear();
  task.Put("Name", Text("Excavate"));
  checks.That(Members(*first) == std::vector<DISPID>{DISPID_EVENT_PROJECTBEFORETASKCHANGE} &&
                  Members(*second) == Members(*first),
              "one ProjectBeforeTaskChange to each sink");
  const Sink::Event& change = second->Events().at(0);
  checks.That(change.types == std::vector<VARTYPE>{VT_BOOL | VT_BYREF, VT_BSTR, VT_I4, VT_DISPATCH},
              "Cancel by reference, NewVal, Field, tsk");
  checks.That(SameObject(change.reversed_args[3].AsObject(), task.get()), "tsk is the task");
  checks.Equal(change.reversed_args[2].AsLong(), kFieldName, "Field");
  checks.Equal(change.reversed_args[1].AsText(), "Excavate", "NewVal");
  checks.That(!change.reversed_args[0].AsBool(), "Cancel arrives false");

  // A sink that sets Cancel refuses the edit; the next sink sees Cancel already set.
  first->SetHandler([](DISPID member, DISPPARAMS& params) {
    if (member == DISPID_EVENT_PROJECTBEFORETASKCHANGE && NewValue(params) == "refused") {
      SetCancel(params);
    }
  });
  second->Clear();
  task.Put("Name", Text("refused"));
  checks.Equal(task.Call("Name").AsText(), "Excavate", "a cancelled edit changes nothing");
  checks.That(second->Events().at(0).reversed_args[0].AsBool(),
              "the second sink sees the first sink's Cancel");

  // Re-entry: a write inside the handler raises the nested event before the outer one returns.
  first->Clear();
  first->SetHandler([&](DISPID member, DISPPARAMS& params) {
    if (member == DISPID_EVENT_PROJECTBEFORETASKCHANGE && NewValue(params) == "outer") {
      task.Call("SetField", {Long(kFieldText1), Text("inner")});
    }
  });
  task.Call("SetField", {Long(kFieldName), Text("outer")});
  checks.Equal(static_cast<std::int64_t>(first->Events().size()), 2, "outer and nested events");
  if (first->Events().size() == 2) {
    checks.Equal(first->Events()[1].reversed_args[1].AsText(), "inner", "the nested event");
  }
  checks.Equal(task.Call("GetField", {Long(kFieldText1)}).AsText(), "inner", "nested write");
  checks.Equal(task.Call("Name").AsText(), "outer", "outer write after the nested one");
  first->SetHandler(nullptr);

  // Recalculation; a sink that unadvises another while an event is delivered: the other hears
  // nothing more, not even that event.
  const ComPtr<Sink> third = Sink::Make(kApplicationEventsIid);
  third->Advise(app);
  first->Clear();
  first->SetHandler([&](DISPID member, DISPPARAMS& /*params*/) {
    if (member == DISPID_EVENT_PROJECTCALCULATE) third->Unadvise();
  });
  app.Call("CalculateProject");
  checks.That(Members(*first) == std::vector<DISPID>{DISPID_EVENT_PROJECTCALCULATE} &&
                  SameObject(first->Events()[0].reversed_args[0].AsObject(), project.get()),
              "ProjectCalculate(pj)");
  checks.That(third->Events().empty(), "a sink unadvised during the event does not hear it");
  first->SetHandler(nullptr);

  first->Clear();
  first->SetHandler([](DISPID member, DISPPARAMS& params) {
    if (member == DISPID_EVENT_PROJECTBEFORESAVE || member == DISPID_EVENT_PROJECTBEFORECLOSE) {
      SetCancel(params);
    }
  });
  checks.That(!app.Call("FileSave").AsBool(), "a cancelled save");
  checks.That(Members(*first) == std::vector<DISPID>{DISPID_EVENT_PROJECTBEFORESAVE},
              "ProjectBeforeSave");
  const Sink::Event& save = first->Events()[0];
  checks.That(save.types == std::vector<VARTYPE>{VT_BOOL | VT_BYREF, VT_BOOL, VT_DISPATCH} &&
                  !save.reversed_args[1].AsBool(),
              "ProjectBeforeSave(pj, SaveAsUi false, Cancel)");
  checks.That(!project.Call("Saved").AsBool(), "the project stays unsaved");

  first->Clear();
  checks.That(!app.Call("FileClose", {Long(0)}).AsBool(), "a cancelled close");
  checks.Equal(app.Get("Projects").Call("Count").AsLong(), 1, "the project stays open");
  checks.That(Members(*first) == std::vector<DISPID>{DISPID_EVENT_PROJECTBEFORECLOSE} &&
                  first->Events()[0].types == std::vector<VARTYPE>{VT_BOOL | VT_BYREF, VT_DISPATCH},
              "ProjectBeforeClose(pj, Cancel)");
  checks.That(!project.Call("Saved").AsBool(), "a refused close keeps the changes unsaved");
  first->SetHandler(nullptr);

  // Switching windows between two projects.
  const Object other = app.Get("Projects").Get("Add");
  first->Clear();
  app.Get("Windows").Get("Item", {Long(1)}).Call("Activate");
  checks.That(Members(*first) == std::vector<DISPID>{DISPID_EVENT_WINDOWACTIVATE},
              "WindowActivate on switching");
  checks.That(SameObject(app.Get("ActiveProject"), project), "the first project is active again");

  // Unadvised, a sink hears nothing more; the other still does.
  second->Unadvise();
  first->Clear();
  second->Clear();
  checks.That(app.Call("FileClose", {Long(0)}).AsBool(), "closing without a veto");
  checks.That(!first->Events().empty() && second->Events().empty(),
              "only the advised sink hears the close");
  first->Unadvise();
  checks.Equal(app.Get("Projects").Call("Count").AsLong(), 1, "one project left");
  app.Call("FileClose", {Long(0)});
}

void ConnectionPoints(Checks& checks, const Object& app) {
  ComPtr<IConnectionPointContainer> container;
  app.get()->QueryInterface(IID_IConnectionPointContainer,
                            reinterpret_cast<void**>(container.put()));
  ComPtr<IConnectionPoint> point;
  checks.That(container->FindConnectionPoint(kApplicationEventsIid, point.put()) == S_OK,
              "the application's event interface");
  checks.Equal(container->FindConnectionPoint(kProjectEventsIid, point.put()),
               CONNECT_E_NOCONNECTION, "no project events on the application");
  container->FindConnectionPoint(kApplicationEventsIid, point.put());
  checks.Equal(point->Unadvise(12345), CONNECT_E_NOCONNECTION, "Unadvise of an unknown cookie");
  // A sink for another interface cannot connect.
  const ComPtr<Sink> stranger = Sink::Make(kCommandBarButtonEventsIid);
  DWORD cookie = 0;
  checks.Equal(point->Advise(static_cast<IDispatch*>(stranger.get()), &cookie),
               CONNECT_E_CANNOTCONNECT, "a sink of another interface");

  const Object project = app.Get("Projects").Get("Add");
  const ComPtr<Sink> opened = Sink::Make(kProjectEventsIid);
  opened->Advise(project);  // the project's Open, advised as an add-in binds its project
  opened->Unadvise();
  app.Call("FileClose", {Long(0)});
}

}  // namespace

int EventCases(Checks& checks) {
  const Object app = Object::Create(kReferenceHostProgId);
  ApplicationEvents(checks, app);
  ConnectionPoints(checks, app);
  return checks.ExitCode();
}

}  // namespace lunavant::windows::testing

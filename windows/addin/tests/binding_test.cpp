// SPDX-License-Identifier: MIT
// binding-test: the host contract over automation (host_binding/) against the reference host,
// and the platform services, under wine: values both ways, error records from the host's
// EXCEPINFO and from bare HRESULTs, one add-in object per project, an event sink whose Cancel
// reaches the host, the locale items without direction marks, the Win32 dialogs (which need a
// display), and every member the add-in calls held to the host's model, as the reference host's
// type library declares it. The reference host must be registered. Exit code 0 when every check
// held; each failed check is named on standard error.
#include <windows.h>

#include <objbase.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "addin/host/error.h"
#include "addin/host/events.h"
#include "dialog_cases.h"
#include "host_binding/automation.h"
#include "host_binding/call_scope.h"
#include "host_binding/host_members.h"
#include "host_binding/host_session.h"
#include "host_binding/values.h"
#include "late_binding.h"
#include "platform/regional_settings.h"
#include "platform/windows_platform.h"
#include "text.h"

namespace {

using namespace lunavant;
using winaddin::ComPtr;
using winaddin::Variant;

int g_failures = 0;

void Check(bool holds, const std::string& what) {
  if (holds) return;
  ++g_failures;
  std::fprintf(stderr, "binding-test: %s\n", what.c_str());
}

// The error record a call raises; number 0 when it raised none.
template <class Body>
host::ErrorRecord RecordOf(Body&& body) {
  try {
    body();
  } catch (const host::HostError& error) {
    return error.record();
  }
  return {};
}

void ValuesGoBothWays() {
  const host::DateTime finish{2024, 3, 8, 17, 0, 0};
  const double ole = winaddin::OleDateOf(finish);
  Check(std::fabs(ole - (45359.0 + 17.0 / 24.0)) < 1e-9, "8 March 2024 17:00 as an OLE date");
  Check(winaddin::DateTimeOf(ole) == finish, "an OLE date read back");
  const auto before_epoch = winaddin::DateTimeOf(-1.25);
  Check(before_epoch && *before_epoch == host::DateTime{1899, 12, 29, 6, 0, 0},
        "a day before 30 December 1899 counts its time forward");
  const auto time_only = winaddin::DateTimeOf(0.5);
  Check(time_only && time_only->year == 0 && time_only->hour == 12, "a time of day alone");
  Check(!winaddin::DateTimeOf(1e12), "a date past 9999 is none");

  Check(winaddin::ValueOf(Variant::Text(L"05/09/1445").get()) == host::Value("05/09/1445"),
        "text from BSTR");
  Check(winaddin::ValueOf(Variant::Long(42).get()) == host::Value(42.0), "number from VT_I4");
  Check(winaddin::ValueOf(Variant::Date(ole).get()) == host::Value(finish), "date from VT_DATE");
  Check(winaddin::ValueOf(Variant::Missing().get()).IsEmpty(), "a left-out argument is empty");
  VARIANT text = Variant::Text(L"by reference").get();
  VARIANT by_reference;
  VariantInit(&by_reference);
  by_reference.vt = VT_VARIANT | VT_BYREF;
  by_reference.pvarVal = &text;
  Check(winaddin::ValueOf(by_reference) == host::Value("by reference"), "a value by reference");
  Check(winaddin::ValueOf(winaddin::VariantOf(host::Value(finish)).get()) == host::Value(finish),
        "a date to VT_DATE and back");
}

void HresultsBecomeBasicErrors() {
  Check(winaddin::ErrorNumberOf(DISP_E_TYPEMISMATCH) == host::kTypeMismatch, "type mismatch");
  Check(winaddin::ErrorNumberOf(DISP_E_UNKNOWNNAME) == winaddin::kNoSuchMember, "unknown name");
  Check(winaddin::ErrorNumberOf(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 1004)) == 1004,
        "a Basic host's own number");
  Check(winaddin::ErrorNumberOf(E_FAIL) == static_cast<std::int32_t>(E_FAIL),
        "any other HRESULT as itself");
}

void LocaleItemsHaveNoDirectionMarks() {
  Check(winaddin::WithoutBidiMarks(L"d\u200F/M\u200F/yyyy") == L"d/M/yyyy", "marks dropped");
  const winaddin::WindowsRegionalSettings regional;
  for (const std::uint32_t lcid : {0x0401u, 0x0409u, 0x0407u, regional.GetUserDefaultLCID()}) {
    const std::int32_t needed = regional.GetLocaleInfoA(lcid, host::kLocaleShortDate, nullptr, 0);
    Check(needed > 1, "no short date for locale " + std::to_string(lcid));
    if (needed <= 1) continue;
    std::string pattern(static_cast<std::size_t>(needed), ' ');
    Check(regional.GetLocaleInfoA(lcid, host::kLocaleShortDate, pattern.data(), needed) == needed,
          "the second pass writes what the first asked for");
    Check(regional.GetLocaleInfoA(lcid, host::kLocaleShortDate, pattern.data(), needed - 1) == 0,
          "a buffer too small gets nothing");
    pattern.resize(static_cast<std::size_t>(needed - 1));
    for (const char c : pattern) {
      Check(c == 'd' || c == 'M' || c == 'y' || c == '/' || c == '.' || c == '-' || c == ' ',
            "locale " + std::to_string(lcid) + ": the pattern \"" + pattern + "\" holds more");
    }
  }
  const host::DateTime read = regional.ReadDate("3/15/2024");
  Check(read.year == 2024 && read.month == 3 && read.day == 15, "a date read in en-US's order");
  Check(RecordOf([&] { regional.ReadDate("no date"); }).number == host::kTypeMismatch,
        "text that is no date");
}

// Refuses every task change and counts them.
class Refusing final : public host::ApplicationEvents {
 public:
  int changes = 0;
  void ProjectBeforeTaskChange(host::Task& /*tsk*/, host::FieldId /*field*/,
                               const host::Value& value, bool& cancel) override {
    ++changes;
    last_value = value;
    cancel = true;
  }
  void ProjectCalculate(host::Project& /*pj*/) override {}
  void NewProject(host::Project& /*pj*/) override { ++new_projects; }
  void ProjectBeforeClose(host::Project* /*pj*/, bool& /*cancel*/) override {}
  void ProjectBeforeSave(host::Project& /*pj*/, bool /*save_as_ui*/, bool& /*cancel*/) override {}
  void WindowActivate(host::Window* /*activated_window*/) override {}
  host::Value last_value;
  int new_projects = 0;
};

void TheHostOverAutomation(IDispatch* application) {
  winaddin::HostSession session(ComPtr<IDispatch>::Share(application), winaddin::ProcessPlatform());
  winaddin::CallScope scope(session.Transients());
  host::Application& app = session.Application();
  Refusing sink;
  app.AddEventSink(sink);
  Check(app.ActiveProject() == nullptr, "a project before any was made");
  com::Call(application, L"FileNew");
  Check(sink.new_projects == 1, "NewProject reached the sink");
  host::Project* project = app.ActiveProject();
  Check(project != nullptr && project == app.ActiveProject(), "one add-in object per project");
  if (project == nullptr) return;
  Check(app.ProjectCount() == 1, "one open project");
  const ComPtr<IDispatch> tasks = com::ObjectOf(com::Call(application, L"ActiveProject"), L"");
  com::Call(com::ObjectOf(com::Call(tasks.get(), L"Tasks"), L"Tasks").get(), L"Add",
            {Variant::Text(L"Design")});
  Check(project->TaskCount() == 1, "the task added through automation");

  const host::FieldId text1 = app.FieldNameToFieldConstant("Text1");
  const host::ErrorRecord unknown =
      RecordOf([&] { app.FieldNameToFieldConstant("No such field"); });
  Check(unknown.number != 0 && !unknown.description.empty(),
        "an unknown field name fails with the host's number and description");
  host::Task* task = project->TaskAt(1);
  Check(task != nullptr && task->ID() == 1, "the first task");
  if (task == nullptr) return;

  task->SetField(text1, "refused");
  Check(sink.changes == 1 && sink.last_value == host::Value("refused"),
        "ProjectBeforeTaskChange reached the sink with the new value");
  Check(task->GetField(text1).empty(), "Cancel written back refused the change");
  app.RemoveEventSink(sink);
  task->SetField(text1, "kept");
  Check(sink.changes == 1 && task->GetField(text1) == "kept", "a removed sink hears nothing");

  host::ColumnList& columns = project->TaskTable("Entry").Columns();
  Check(columns.Count() > 2 && columns.Item(2).Index() == 2, "the Entry table's columns");
  // The text cleared through the view: its column selected by the field's name, as the host's
  // SelectTaskColumn takes it; a field the view does not show is refused.
  columns.Add(text1, 1, 10, "Hijri", 1, 3, true);
  app.SelectTaskColumn("Text1");
  app.EditClearContents();
  Check(task->GetField(text1).empty(), "the column selected by its field's name was cleared");
  Check(RecordOf([&] { app.SelectTaskColumn("Text2"); }).number == host::kHostFailure,
        "a field the view does not show cannot be selected");
  const host::ErrorRecord no_table = RecordOf([&] { project->TaskTable("No such table"); });
  Check(no_table.number != 0, "a table the project lacks fails");
  const winaddin::AutomationObject raw(ComPtr<IDispatch>::Share(application),
                                       session.Ids(winaddin::ObjectKind::kApplication));
  Check(RecordOf([&] { raw.Get(L"NoSuchMember"); }).number == winaddin::kNoSuchMember,
        "a member the host lacks fails with 438");
}

// The interface of the type library that describes each kind of object the add-in calls.
std::wstring InterfaceOf(winaddin::ObjectKind object) {
  using enum winaddin::ObjectKind;
  switch (object) {
    case kApplication:
      return L"_Application";
    case kProjects:
      return L"Projects";
    case kProject:
      return L"Project";
    case kTables:
      return L"Tables";
    case kTable:
      return L"Table";
    case kTableFields:
      return L"TableFields";
    case kTableField:
      return L"TableField";
    case kTasks:
      return L"Tasks";
    case kTask:
      return L"Task";
    case kWindow:
      return L"Window";
    case kExplorer:
      return L"Explorer";
    case kCommandBars:
      return L"CommandBars";
    case kCommandBar:
      return L"CommandBar";
    case kCommandBarControls:
      return L"CommandBarControls";
    case kCommandBarButton:
      return L"CommandBarButton";
    case kAddIn:
      return L"COMAddIn";
    case kCount:
      break;
  }
  return L"";
}

INVOKEKIND InvokeKindOf(winaddin::CallKind kind) {
  switch (kind) {
    case winaddin::CallKind::kMethod:
      return INVOKE_FUNC;
    case winaddin::CallKind::kGet:
      return INVOKE_PROPERTYGET;
    case winaddin::CallKind::kPut:
      return INVOKE_PROPERTYPUT;
    case winaddin::CallKind::kPutRef:
      return INVOKE_PROPERTYPUTREF;
  }
  return INVOKE_FUNC;
}

struct Declaration {
  bool found = false;
  int required = 0;  // arguments, the last optional one excluded
  int total = 0;
};

// How `library` declares `member` of `interface_name` for a call of `kind`.
Declaration DeclarationOf(ITypeLib* library, const std::wstring& interface_name,
                          std::wstring_view member, INVOKEKIND kind) {
  Declaration declaration;
  for (UINT t = 0; t < library->GetTypeInfoCount(); ++t) {
    BSTR type_name = nullptr;
    if (FAILED(library->GetDocumentation(static_cast<INT>(t), &type_name, nullptr, nullptr,
                                         nullptr))) {
      continue;
    }
    const bool wanted = type_name != nullptr && interface_name == type_name;
    SysFreeString(type_name);
    ComPtr<ITypeInfo> info;
    if (!wanted || FAILED(library->GetTypeInfo(t, info.put()))) continue;
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) continue;
    for (UINT f = 0; f < attributes->cFuncs && !declaration.found; ++f) {
      FUNCDESC* function = nullptr;
      if (FAILED(info->GetFuncDesc(f, &function))) continue;
      BSTR name = nullptr;
      info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
      if (name != nullptr && function->invkind == kind &&
          lstrcmpiW(name, std::wstring(member).c_str()) == 0) {
        declaration.found = true;
        declaration.total = function->cParams;
        for (SHORT p = 0; p < function->cParams; ++p) {
          const USHORT flags = function->lprgelemdescParam[p].paramdesc.wParamFlags;
          if ((flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) == 0) declaration.required = p + 1;
        }
      }
      SysFreeString(name);
      info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
  }
  return declaration;
}

// Given the add-in's one table of the members it calls, expect each that the host's or Office's
// model declares to be in the reference host's type library as that kind of call, taking the
// arguments the add-in passes, with its documentation named; and each that no host of ours
// declares (another Office program's fallbacks) to be absent, so the host refuses it.
void EveryMemberTheAddInCallsIsInTheHostsModel(IDispatch* application) {
  ComPtr<ITypeInfo> info;
  ComPtr<ITypeLib> library;
  UINT index = 0;
  if (FAILED(application->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) ||
      FAILED(info->GetContainingTypeLib(library.put(), &index))) {
    Check(false, "the reference host's type library cannot be read");
    return;
  }
  int declared_by_host = 0;
  for (const winaddin::HostMember* entry : winaddin::kHostMembers) {
    const std::wstring interface_name = InterfaceOf(entry->object);
    const std::string what = com::Narrow(interface_name) + "." + com::Narrow(entry->name) + " (" +
                             std::string(entry->documented) + ")";
    const Declaration declaration =
        DeclarationOf(library.get(), interface_name, entry->name, InvokeKindOf(entry->kind));
    if (entry->model == winaddin::Model::kNotInHost) {
      Check(!declaration.found, what + ": declared, although no host of ours has it");
      continue;
    }
    ++declared_by_host;
    Check(!entry->documented.empty(), what + ": no documentation named");
    Check(declaration.found, what + ": not in the host's model as this kind of call");
    Check(!declaration.found ||
              (entry->arguments >= declaration.required && entry->arguments <= declaration.total),
          what + ": called with " + std::to_string(entry->arguments) +
              " arguments, declared with " + std::to_string(declaration.required) + " to " +
              std::to_string(declaration.total));
  }
  Check(declared_by_host > 60, "the table lists the members the add-in calls");
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 2;
  try {
    ValuesGoBothWays();
    HresultsBecomeBasicErrors();
    LocaleItemsHaveNoDirectionMarks();
    winaddin::test::DialogsShowAtTheirSize(Check);
    CLSID host_class{};
    ComPtr<IDispatch> application;
    if (FAILED(CLSIDFromProgID(L"Lunavant.ReferenceHost", &host_class)) ||
        FAILED(CoCreateInstance(host_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                application.put_void()))) {
      std::fprintf(stderr, "binding-test: the reference host cannot be created\n");
    } else {
      TheHostOverAutomation(application.get());
      EveryMemberTheAddInCallsIsInTheHostsModel(application.get());
      result = g_failures == 0 ? 0 : 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "binding-test: %s\n", error.what());
  }
  CoUninitialize();
  return result;
}

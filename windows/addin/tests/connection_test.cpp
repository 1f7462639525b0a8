// SPDX-License-Identifier: MIT
// connection-test: Lunavant.dll connected to the reference host as the host's add-in manager
// connects it after start-up, checked from the host's side: the toolbar "Lunavant" on show with
// its three buttons (tag, caption, tooltip, on-action, face); a disconnection removes the bar and
// lets go of every event sink (the DLL can then unload once Connect itself is released); a second
// connection of the same Connect builds it all again. Both classes must be registered.
// Exit code 0 when every check held; each failed check is named on standard error.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <exception>
#include <string>

#include "com_ptr.h"
#include "dispatch.h"
#include "extensibility.h"
#include "late_binding.h"
#include "text.h"
#include "variant.h"

namespace {

using lunavant::com::Call;
using lunavant::com::ComPtr;
using lunavant::com::ObjectOf;
using lunavant::com::Variant;

int g_failures = 0;

void Check(bool holds, const std::string& what) {
  if (holds) return;
  ++g_failures;
  std::fprintf(stderr, "connection-test: %s\n", what.c_str());
}

std::string Text(IDispatch* object, const wchar_t* member) {
  return lunavant::com::Narrow(lunavant::com::TextOf(Call(object, member).get()));
}

// The add-in's record as the host hands it over: only its ProgID is asked for.
class AddInRecord final : public lunavant::com::Dispatch<IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT /*count*/,
                                          LCID /*locale*/, DISPID* ids) override {
    if (lunavant::com::EqualNoCase(names[0], L"ProgId")) {
      ids[0] = 1;
      return S_OK;
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD /*flags*/,
                                   DISPPARAMS* /*arguments*/, VARIANT* result,
                                   EXCEPINFO* /*exception*/, UINT* /*bad_argument*/) override {
    if (id != 1 || result == nullptr) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(L"Lunavant.Connect");
    return S_OK;
  }

 private:
  bool Serves(REFIID iid) const override { return IsEqualIID(iid, IID_IDispatch); }
};

ComPtr<IDispatch> LunavantBar(IDispatch* application) {
  const auto bars = ObjectOf(Call(application, L"CommandBars"), L"CommandBars");
  try {
    const Variant bar = Call(bars.get(), L"Item", {Variant::Text(L"Lunavant")});
    if (bar.type() == VT_DISPATCH && bar.get().pdispVal != nullptr) return ObjectOf(bar, L"Item");
  } catch (const lunavant::com::ComError&) {
  }
  return {};
}

void CheckToolbar(IDispatch* application, const char* when) {
  const std::string at = std::string(" (") + when + ")";
  const auto bar = LunavantBar(application);
  Check(static_cast<bool>(bar), "no toolbar \"Lunavant\"" + at);
  if (!bar) return;
  Check(Call(bar.get(), L"Visible").get().boolVal != VARIANT_FALSE,
        "the toolbar is hidden after a connection from the add-in manager" + at);
  const auto controls = ObjectOf(Call(bar.get(), L"Controls"), L"Controls");
  const long count = Call(controls.get(), L"Count").get().lVal;
  Check(count == 3, "the toolbar has " + std::to_string(count) + " controls" + at);
  const char* const expected[3][2] = {{"Add Hijri", "Add Hijri Fields"},
                                      {"Remove Hijri", "Remove Hijri Fields"},
                                      {"Refresh Hijri", "Refresh Hijri Fields"}};
  for (long i = 1; i <= count && i <= 3; ++i) {
    const auto button = ObjectOf(Call(controls.get(), L"Item", {Variant::Long(i)}), L"Item");
    const std::string caption = Text(button.get(), L"Caption");
    Check(caption == expected[i - 1][0], "button " + std::to_string(i) + " is " + caption + at);
    Check(Text(button.get(), L"Tag") == expected[i - 1][0], caption + ": tag" + at);
    Check(Text(button.get(), L"TooltipText") == expected[i - 1][1], caption + ": tooltip" + at);
    Check(Text(button.get(), L"OnAction") == "!<Lunavant.Connect>",
          caption + ": on-action " + Text(button.get(), L"OnAction") + at);
    const Variant face = Call(button.get(), L"Picture");
    Check(face.type() == VT_DISPATCH && face.get().pdispVal != nullptr, caption + ": no face" + at);
    Check(Call(button.get(), L"Enabled").get().boolVal != VARIANT_FALSE,
          caption + ": disabled" + at);
  }
}

int Run() {
  CLSID host_class{};
  CLSID addin_class{};
  if (FAILED(CLSIDFromProgID(L"Lunavant.ReferenceHost", &host_class)) ||
      FAILED(CLSIDFromProgID(L"Lunavant.Connect", &addin_class))) {
    std::fprintf(stderr, "connection-test: the host or the add-in is not registered\n");
    return 2;
  }
  ComPtr<IDispatch> application;
  ComPtr<IDTExtensibility2> addin;
  if (FAILED(CoCreateInstance(host_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              application.put_void())) ||
      FAILED(CoCreateInstance(addin_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDTExtensibility2,
                              addin.put_void()))) {
    std::fprintf(stderr, "connection-test: the host or the add-in cannot be created\n");
    return 2;
  }
  Call(application.get(), L"FileNew");
  const auto record = ComPtr<AddInRecord>::Adopt(new AddInRecord());
  SAFEARRAY* custom = SafeArrayCreateVector(VT_VARIANT, 0, 0);

  for (const char* round : {"first connection", "second connection"}) {
    Check(
        addin->OnConnection(application.get(), ext_cm_AfterStartup, record.get(), &custom) == S_OK,
        std::string("OnConnection failed (") + round + ")");
    CheckToolbar(application.get(), round);
    Check(addin->OnDisconnection(ext_dm_UserClosed, &custom) == S_OK,
          std::string("OnDisconnection failed (") + round + ")");
    Check(!LunavantBar(application.get()), std::string("the toolbar outlives ") + round);
  }
  SafeArrayDestroy(custom);

  // With Connect released, nothing of the DLL may be alive: every sink was let go.
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  HMODULE dll = GetModuleHandleW(L"Lunavant.dll");
  auto can_unload = dll != nullptr ? reinterpret_cast<CanUnload>(reinterpret_cast<void*>(
                                         GetProcAddress(dll, "DllCanUnloadNow")))
                                   : nullptr;
  Check(can_unload != nullptr, "Lunavant.dll is not loaded");
  if (can_unload != nullptr) {
    Check(can_unload() == S_FALSE, "DllCanUnloadNow is true while Connect is held");
    addin.reset();
    Check(can_unload() == S_OK, "objects of Lunavant.dll outlive its disconnection");
  }
  return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
  int result = 2;
  try {
    result = Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "connection-test: %s\n", error.what());
  }
  CoUninitialize();
  return result;
}

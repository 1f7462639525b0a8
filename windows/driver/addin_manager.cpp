// SPDX-License-Identifier: MIT
#include "addin_manager.h"

#include <string>
#include <vector>

#include "late_binding.h"
#include "registration.h"
#include "report.h"
#include "text.h"

namespace lunavant::driver {
namespace {

// The `custom` argument of every IDTExtensibility2 call: an empty array of VARIANT, passed by
// reference, as the host passes it.
class EmptyCustom {
 public:
  EmptyCustom() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
  EmptyCustom(const EmptyCustom&) = delete;
  EmptyCustom& operator=(const EmptyCustom&) = delete;
  ~EmptyCustom() {
    if (array_ != nullptr) SafeArrayDestroy(array_);
  }
  SAFEARRAY** get() { return &array_; }

 private:
  SAFEARRAY* array_;
};

// The code and, when the add-in set one, its error object's description.
std::string DescribeCallFailure(HRESULT hr) {
  std::string message = com::DescribeHresult(hr);
  com::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) == S_OK && info) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description != nullptr &&
        *description != L'\0') {
      message += ": " + com::Narrow(description);
    }
    SysFreeString(description);
  }
  return message;
}

// Why a registered class cannot be created, when the registry tells: its DLL is gone.
std::string DescribeCreationFailure(const CLSID& clsid, HRESULT hr) {
  std::string message = com::DescribeHresult(hr);
  const std::wstring key = L"CLSID\\" + com::GuidText(clsid) + L"\\InprocServer32";
  wchar_t path[MAX_PATH] = {};
  DWORD bytes = sizeof path;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path, &bytes) ==
          ERROR_SUCCESS &&
      GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
    message += "; the DLL it is registered with is not there: " + com::Narrow(path);
  }
  return message;
}

// Empty when the call succeeded.
std::string FailureOf(HRESULT hr) {
  return SUCCEEDED(hr) ? std::string() : DescribeCallFailure(hr);
}

// Calls IDTExtensibility2's `member` by name, `arguments` first and `custom` by reference last,
// as a host that binds late would. Empty when the call succeeded.
std::string CallByName(IDTExtensibility2* addin, const wchar_t* member,
                       std::vector<com::Variant> arguments, SAFEARRAY** custom) {
  VARIANT custom_argument;
  VariantInit(&custom_argument);
  custom_argument.vt = VT_ARRAY | VT_VARIANT | VT_BYREF;
  custom_argument.pparray = custom;
  arguments.emplace_back(custom_argument);
  try {
    com::Call(addin, member, arguments);
    return {};
  } catch (const com::ComError& error) {
    return error.what();
  }
}

}  // namespace

AddInManager::AddInManager(IDispatch* application, CallStyle style)
    : application_(com::ComPtr<IDispatch>::Share(application)), style_(style) {}

AddInManager::~AddInManager() {
  for (AddIn& addin : addins_) {
    if (addin.connected) Disconnect(addin, ext_dm_HostShutdown);
  }
}

void AddInManager::Fail(const std::wstring& prog_id, const std::string& what) {
  ReportFailure(com::Narrow(prog_id) + ": " + what);
  all_succeeded_ = false;
}

AddInManager::AddIn* AddInManager::Find(const std::wstring& prog_id) {
  for (AddIn& addin : addins_) {
    if (com::EqualNoCase(addin.prog_id, prog_id)) return &addin;
  }
  return nullptr;
}

void AddInManager::ConnectAtStartup(const std::vector<com::AddInRecord>& records,
                                    const std::optional<std::wstring>& only) {
  bool only_found = false;
  for (const com::AddInRecord& record : records) {
    if (only && !com::EqualNoCase(record.prog_id, *only)) continue;
    only_found = true;
    if (!record.problem.empty()) {
      Fail(record.prog_id, "broken add-in registration: " + com::Narrow(record.problem));
      continue;
    }
    if (record.load_behavior != com::kLoadAtStartup) {
      const std::string reason =
          "not loaded at start-up (LoadBehavior " + std::to_string(*record.load_behavior) + ")";
      // Asked for by name, an add-in that stays out is a failure; otherwise it is the norm.
      if (only) {
        Fail(record.prog_id, reason);
      } else {
        Inform(com::Narrow(record.prog_id) + ": " + reason);
      }
      continue;
    }
    if (AddIn* addin = Create(record)) Connect(*addin, ext_cm_Startup, record.friendly_name);
  }
  if (only && !only_found) {
    Fail(*only, "no add-in is registered under HKEY_CURRENT_USER\\" + com::Narrow(com::kAddInsKey));
  }
  NotifyConnected(L"OnStartupComplete", &IDTExtensibility2::OnStartupComplete);
}

void AddInManager::NotifyConnected(
    const wchar_t* member, HRESULT (STDMETHODCALLTYPE IDTExtensibility2::*entry)(SAFEARRAY**)) {
  for (AddIn& addin : addins_) {
    if (!addin.connected) continue;
    EmptyCustom custom;
    const std::string failure = style_ == CallStyle::kByName
                                    ? CallByName(addin.object.get(), member, {}, custom.get())
                                    : FailureOf((addin.object.get()->*entry)(custom.get()));
    if (!failure.empty()) Fail(addin.prog_id, com::Narrow(member) + " failed: " + failure);
  }
}

void AddInManager::ConnectByUser(const std::wstring& prog_id) {
  const std::optional<com::AddInRecord> record = com::ReadAddInRecord(prog_id);
  if (!record) {
    Fail(prog_id,
         "no add-in is registered under HKEY_CURRENT_USER\\" + com::Narrow(com::kAddInsKey));
    return;
  }
  AddIn* addin = Find(record->prog_id);
  if (addin != nullptr && addin->connected) {
    Inform(com::Narrow(record->prog_id) + ": already connected");
    return;
  }
  if (addin == nullptr) addin = Create(*record);
  if (addin != nullptr) Connect(*addin, ext_cm_AfterStartup, record->friendly_name);
}

void AddInManager::DisconnectByUser(const std::wstring& prog_id) {
  AddIn* addin = Find(prog_id);
  if (addin == nullptr || !addin->connected) {
    Fail(prog_id, "is not connected");
    return;
  }
  Disconnect(*addin, ext_dm_UserClosed);
}

AddInManager::AddIn* AddInManager::Create(const com::AddInRecord& record) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(record.prog_id.c_str(), &clsid);
  if (FAILED(hr)) {
    Fail(record.prog_id,
         "broken add-in registration: no COM class is registered under this ProgID (" +
             com::DescribeHresult(hr) + ")");
    return nullptr;
  }
  com::ComPtr<IUnknown> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                        object.put_void());
  if (FAILED(hr)) {
    Fail(record.prog_id, "broken add-in registration: its class " +
                             com::Narrow(com::GuidText(clsid)) +
                             " cannot be created: " + DescribeCreationFailure(clsid, hr));
    return nullptr;
  }
  auto extensibility = object.query<IDTExtensibility2>(IID_IDTExtensibility2);
  if (!extensibility) {
    Fail(record.prog_id, "the object does not implement IDTExtensibility2");
    return nullptr;
  }
  addins_.push_back({record.prog_id, std::move(extensibility),
                     AddInInstance::Make(record.prog_id, record.description, clsid), false});
  return &addins_.back();
}

void AddInManager::Connect(AddIn& addin, ext_ConnectMode mode, const std::wstring& friendly_name) {
  addin.instance->set_connected(true);
  EmptyCustom custom;
  const std::string failure =
      style_ == CallStyle::kByName
          ? CallByName(addin.object.get(), L"OnConnection",
                       {com::Variant::Object(application_.get()), com::Variant::Long(mode),
                        com::Variant::Object(addin.instance.get())},
                       custom.get())
          : FailureOf(addin.object->OnConnection(application_.get(), mode, addin.instance.get(),
                                                 custom.get()));
  if (!failure.empty()) {
    addin.instance->set_connected(false);
    addin.instance->clear_object();
    Fail(addin.prog_id, "OnConnection failed: " + failure);
    return;
  }
  addin.connected = true;
  const std::string name =
      friendly_name.empty() ? std::string() : " (" + com::Narrow(friendly_name) + ")";
  Inform(com::Narrow(addin.prog_id) + name + ": connected");
}

void AddInManager::Disconnect(AddIn& addin, ext_DisconnectMode mode) {
  EmptyCustom custom;
  const std::string failure = style_ == CallStyle::kByName
                                  ? CallByName(addin.object.get(), L"OnDisconnection",
                                               {com::Variant::Long(mode)}, custom.get())
                                  : FailureOf(addin.object->OnDisconnection(mode, custom.get()));
  addin.connected = false;
  addin.instance->set_connected(false);
  addin.instance->clear_object();
  if (!failure.empty()) {
    Fail(addin.prog_id, "OnDisconnection failed: " + failure);
  } else {
    Inform(com::Narrow(addin.prog_id) + ": disconnected");
  }
}

void AddInManager::DisconnectThoseThatAsked() {
  for (AddIn& addin : addins_) {
    if (addin.connected && addin.instance->disconnect_requested()) {
      Disconnect(addin, ext_dm_UserClosed);
    }
  }
}

void AddInManager::ShutDown() {
  NotifyConnected(L"OnBeginShutdown", &IDTExtensibility2::OnBeginShutdown);
  for (AddIn& addin : addins_) {
    if (addin.connected) Disconnect(addin, ext_dm_HostShutdown);
  }
  addins_.clear();
}

}  // namespace lunavant::driver

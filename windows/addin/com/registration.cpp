// SPDX-License-Identifier: MIT
#include "com/registration.h"

#include <olectl.h>

#include <exception>
#include <new>

#include "addin/host/error.h"
#include "addin/shell/messages.h"
#include "addin/shell/registration.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

[[noreturn]] void RaiseRegistryFailure(LSTATUS status, std::string_view key) {
  // The system's text for the code is enough; the number travels in the HRESULT.
  host::Raise(
      static_cast<std::int32_t>(HRESULT_FROM_WIN32(status)),
      "Registry key " + std::string(key) + ": " + com::DescribeHresult(HRESULT_FROM_WIN32(status)));
}

class OpenKey {
 public:
  OpenKey(HKEY root, std::string_view path) {
    const std::wstring wide = com::Widen(path);
    const LSTATUS status = RegCreateKeyExW(root, wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_SET_VALUE, nullptr, &key_, nullptr);
    if (status != ERROR_SUCCESS) RaiseRegistryFailure(status, path);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() { RegCloseKey(key_); }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

HRESULT HresultOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const host::HostError& error) {
    const auto number = static_cast<HRESULT>(error.record().number);
    return FAILED(number) ? number : SELFREG_E_CLASS;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

// The per-user record's class keys, written machine-wide; the add-in key stays per user.
class ClassKeysOnly final : public host::Registry {
 public:
  explicit ClassKeysOnly(host::Registry& target) : target_(target) {}
  void SetText(std::string_view key, std::string_view name, std::string_view text) override {
    if (IsClassKey(key)) target_.SetText(key, name, text);
  }
  void SetNumber(std::string_view key, std::string_view name, std::uint32_t number) override {
    if (IsClassKey(key)) target_.SetNumber(key, name, number);
  }
  void DeleteKey(std::string_view key) override {
    if (IsClassKey(key)) target_.DeleteKey(key);
  }

 private:
  static bool IsClassKey(std::string_view key) {
    constexpr std::string_view kClasses = "Software\\Classes\\";
    return key.substr(0, kClasses.size()) == kClasses;
  }
  host::Registry& target_;
};

}  // namespace

void WindowsRegistry::SetText(std::string_view key, std::string_view name, std::string_view text) {
  OpenKey open(root_, key);
  const std::wstring wide_name = com::Widen(name);
  const std::wstring value = com::Widen(text);
  const LSTATUS status = RegSetValueExW(open.get(), wide_name.empty() ? nullptr : wide_name.c_str(),
                                        0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) RaiseRegistryFailure(status, key);
}

void WindowsRegistry::SetNumber(std::string_view key, std::string_view name, std::uint32_t number) {
  OpenKey open(root_, key);
  const std::wstring wide_name = com::Widen(name);
  const DWORD value = number;
  const LSTATUS status = RegSetValueExW(open.get(), wide_name.c_str(), 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&value), sizeof value);
  if (status != ERROR_SUCCESS) RaiseRegistryFailure(status, key);
}

void WindowsRegistry::DeleteKey(std::string_view key) {
  const std::wstring wide = com::Widen(key);
  LSTATUS status = RegDeleteTreeW(root_, wide.c_str());
  if (status == ERROR_SUCCESS) status = RegDeleteKeyW(root_, wide.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) RaiseRegistryFailure(status, key);
}

bool ClassVisibleToCom(std::wstring_view class_id) {
  const std::wstring path = L"CLSID\\" + std::wstring(class_id) + L"\\InprocServer32";
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

HRESULT RegisterServer(const std::wstring& module_path) {
  try {
    const std::string path = com::Narrow(module_path);
    WindowsRegistry user(HKEY_CURRENT_USER);
    shell::RegisterAddIn(user, path);
    if (!ClassVisibleToCom(com::Widen(shell::kClassId))) {
      WindowsRegistry machine(HKEY_LOCAL_MACHINE);
      ClassKeysOnly machine_classes(machine);
      try {
        shell::RegisterAddIn(machine_classes, path);
      } catch (const host::HostError& error) {
        // Without administrator rights the per-user record is all Windows needs.
        if (error.record().number !=
            static_cast<std::int32_t>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))) {
          throw;
        }
        try {
          shell::UnregisterAddIn(machine_classes);
        } catch (const host::HostError&) {
          // What could not be written there cannot be left there either.
        }
      }
    }
    return S_OK;
  } catch (...) {
    const HRESULT failure = HresultOf(std::current_exception());
    UnregisterServer();
    return failure;
  }
}

HRESULT UnregisterServer() {
  try {
    // The machine-wide keys hold only our class and ProgID, never the add-in key.
    WindowsRegistry machine(HKEY_LOCAL_MACHINE);
    ClassKeysOnly machine_classes(machine);
    try {
      shell::UnregisterAddIn(machine_classes);
    } catch (const host::HostError&) {
      // A user without rights there keeps the machine's registration; theirs goes below.
    }
    WindowsRegistry user(HKEY_CURRENT_USER);
    shell::UnregisterAddIn(user);
    return S_OK;
  } catch (...) {
    return HresultOf(std::current_exception());
  }
}

}  // namespace lunavant::winaddin

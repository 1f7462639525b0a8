// SPDX-License-Identifier: MIT
#include "platform/library_loader.h"

#include <windows.h>

#include <cwctype>

#include "addin/host/error.h"
#include "platform/module_folder.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

class WindowsLibrary final : public host::Library {
 public:
  WindowsLibrary(HMODULE module, std::string file_name)
      : module_(module), file_name_(std::move(file_name)) {}
  WindowsLibrary(const WindowsLibrary&) = delete;
  WindowsLibrary& operator=(const WindowsLibrary&) = delete;
  ~WindowsLibrary() override { FreeLibrary(module_); }

  void* Symbol(std::string_view name) override {
    const std::string symbol(name);
    FARPROC address = GetProcAddress(module_, symbol.c_str());
    if (address == nullptr) {
      host::Raise(host::kEntryPointNotFound,
                  "Can't find DLL entry point " + symbol + " in " + file_name_);
    }
    return reinterpret_cast<void*>(address);
  }

 private:
  HMODULE module_;
  std::string file_name_;
};

}  // namespace

std::wstring LibraryFileName(std::string_view name) {
  std::wstring file = com::Widen(name);
  if (!file.empty()) file[0] = static_cast<wchar_t>(std::towupper(file[0]));
  return file + L".dll";
}

std::unique_ptr<host::Library> WindowsLibraryLoader::Load(std::string_view name) {
  const std::wstring file = LibraryFileName(name);
  const std::wstring beside = ModuleFolder() + file;
  // The copy beside the add-in wins over any other of the same name on the search path.
  const bool found_beside = FileExists(beside);
  const std::wstring& path = found_beside ? beside : file;
  HMODULE module =
      LoadLibraryExW(path.c_str(), nullptr, found_beside ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
  if (module == nullptr) {
    const DWORD error = GetLastError();
    if (!found_beside && (error == ERROR_MOD_NOT_FOUND || error == ERROR_FILE_NOT_FOUND)) {
      host::Raise(host::kFileNotFound, "File not found: " + com::Narrow(file));
    }
    host::Raise(host::kErrorLoadingLibrary, "Error in loading DLL " + com::Narrow(path));
  }
  return std::make_unique<WindowsLibrary>(module, com::Narrow(file));
}

}  // namespace lunavant::winaddin

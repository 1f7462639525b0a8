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
  WindowsLibrary(HMODULE module, std::string path) : module_(module), path_(std::move(path)) {}
  WindowsLibrary(const WindowsLibrary&) = delete;
  WindowsLibrary& operator=(const WindowsLibrary&) = delete;
  ~WindowsLibrary() override { FreeLibrary(module_); }

  void* Symbol(std::string_view name) override {
    const std::string symbol(name);
    FARPROC address = nullptr;
    if (!symbol.empty() && symbol.find('\0') == std::string::npos) {
      address = GetProcAddress(module_, symbol.c_str());
    }
    if (address == nullptr) {
      host::Raise(host::kEntryPointNotFound,
                  "Can't find DLL entry point " + symbol + " in " + path_ + kReinstallAdvice);
    }
    return reinterpret_cast<void*>(address);
  }

 private:
  HMODULE module_;
  std::string path_;
};

bool IsBareName(std::string_view name) {
  return !name.empty() && name.find_first_of(std::string_view("/\\:\0", 4)) == std::string::npos;
}

}  // namespace

std::wstring LibraryFileName(std::string_view name) {
  std::wstring file = com::Widen(name);
  if (!file.empty()) file[0] = static_cast<wchar_t>(std::towupper(file[0]));
  return file + L".dll";
}

std::unique_ptr<host::Library> WindowsLibraryLoader::Load(std::string_view name) {
  const std::wstring folder = folder_.empty() ? ModuleFolder() : folder_;
  const std::wstring path = folder + LibraryFileName(name);
  const std::string shown = com::Narrow(path);
  // A name with a folder in it, or a module whose folder cannot be told, would send Windows
  // searching: nothing is loaded then.
  if (!IsBareName(name) || folder.empty() || !FileExists(path)) {
    host::Raise(host::kFileNotFound, "File not found: " + shown + kReinstallAdvice);
  }
  // By full path, so Windows looks nowhere else; what the converter itself needs comes from its
  // own folder first, then from the system.
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    host::Raise(host::kErrorLoadingLibrary, "Error in loading DLL " + shown + kReinstallAdvice);
  }
  return std::make_unique<WindowsLibrary>(module, shown);
}

}  // namespace lunavant::winaddin

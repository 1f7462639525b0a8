// SPDX-License-Identifier: MIT
// The dynamic loader of Windows: LoadLibraryExW, GetProcAddress, FreeLibrary. The same contract as
// the POSIX one (library_loader.h), with "name.dll" for "libname.so".
#include <windows.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "addin/host/error.h"
#include "workbench/platform/library_loader.h"

namespace lunavant::workbench {
namespace {

class WindowsLibrary final : public host::Library {
 public:
  WindowsLibrary(HMODULE handle, std::string file_name)
      : handle_(handle), file_name_(std::move(file_name)) {}
  WindowsLibrary(const WindowsLibrary&) = delete;
  WindowsLibrary& operator=(const WindowsLibrary&) = delete;
  ~WindowsLibrary() override { FreeLibrary(handle_); }

  void* Symbol(std::string_view name) override {
    const std::string symbol(name);
    FARPROC address = nullptr;
    if (!symbol.empty() && symbol.find('\0') == std::string::npos) {
      address = GetProcAddress(handle_, symbol.c_str());
    }
    if (address == nullptr) {
      host::Raise(host::kEntryPointNotFound,
                  std::string(kEntryPointText) + symbol + " in " + file_name_);
    }
    return reinterpret_cast<void*>(address);
  }

 private:
  HMODULE handle_;
  std::string file_name_;
};

std::string LoaderText(DWORD error) {
  return std::system_category().message(static_cast<int>(error));
}

bool TellsFileMissing(DWORD error) {
  return error == ERROR_MOD_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
         error == ERROR_PATH_NOT_FOUND;
}

HMODULE Open(const std::filesystem::path& file, DWORD flags) {
  return LoadLibraryExW(file.c_str(), nullptr, flags);
}

}  // namespace

std::string PosixLibraryLoader::FileNameOf(std::string_view name) {
  return std::string(name) + ".dll";
}

std::unique_ptr<host::Library> PosixLibraryLoader::Load(std::string_view name) {
  const std::string file_name = FileNameOf(name);
  const std::string not_found = std::string(kFileNotFoundText) + file_name;
  if (name.empty() || name.find_first_of(std::string_view("/\\:\0", 4)) != std::string_view::npos) {
    host::Raise(host::kFileNotFound, not_found);
  }
  if (const std::filesystem::path found = FoundInFolders(file_name); !found.empty()) {
    // The library's own folder first, so what it depends on beside it is found.
    HMODULE handle = Open(found, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) {
      host::Raise(host::kErrorLoadingLibrary,
                  std::string(kErrorLoadingText) + LoaderText(GetLastError()));
    }
    return std::make_unique<WindowsLibrary>(handle, file_name);
  }
  HMODULE handle = Open(file_name, 0);
  if (handle == nullptr) {
    const DWORD error = GetLastError();
    if (TellsFileMissing(error)) host::Raise(host::kFileNotFound, not_found);
    host::Raise(host::kErrorLoadingLibrary, std::string(kErrorLoadingText) + LoaderText(error));
  }
  return std::make_unique<WindowsLibrary>(handle, file_name);
}

std::unique_ptr<host::Library> PosixLibraryLoader::LoadFile(const std::filesystem::path& file) {
  std::error_code error;
  if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
    host::Raise(host::kFileNotFound, std::string(kFileNotFoundText) + file.string());
  }
  HMODULE handle = Open(std::filesystem::absolute(file, error), LOAD_WITH_ALTERED_SEARCH_PATH);
  if (handle == nullptr) {
    host::Raise(host::kErrorLoadingLibrary,
                std::string(kErrorLoadingText) + LoaderText(GetLastError()));
  }
  return std::make_unique<WindowsLibrary>(handle, file.filename().string());
}

}  // namespace lunavant::workbench

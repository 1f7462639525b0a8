// SPDX-License-Identifier: MIT
// The dynamic loader of POSIX systems: dlopen, dlsym, dlclose.
#include "workbench/platform/library_loader.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "addin/host/error.h"

namespace lunavant::workbench {
namespace {

class PosixLibrary final : public host::Library {
 public:
  PosixLibrary(void* handle, std::string file_name)
      : handle_(handle), file_name_(std::move(file_name)) {}
  PosixLibrary(const PosixLibrary&) = delete;
  PosixLibrary& operator=(const PosixLibrary&) = delete;
  ~PosixLibrary() override { dlclose(handle_); }

  void* Symbol(std::string_view name) override {
    const std::string symbol(name);
    void* address = nullptr;
    if (!symbol.empty() && symbol.find('\0') == std::string::npos) {
      dlerror();
      address = dlsym(handle_, symbol.c_str());
    }
    if (address == nullptr || !Defines(address)) {
      host::Raise(host::kEntryPointNotFound,
                  std::string(kEntryPointText) + symbol + " in " + file_name_);
    }
    return address;
  }

 private:
  // Whether `address` lies in this library itself: dlsym also answers with the names of the
  // libraries it depends on (the C library's malloc), which the library does not export.
  bool Defines(void* address) const {
    link_map* self = nullptr;
    link_map* owner = nullptr;
    Dl_info info;
    return dlinfo(handle_, RTLD_DI_LINKMAP, &self) == 0 &&
           dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) != 0 &&
           owner == self;
  }

  void* handle_;
  std::string file_name_;
};

std::string LoaderText() {
  const char* text = dlerror();
  return text != nullptr ? text : "unknown error";
}

// The system's search reports a missing file as its text ending with strerror(ENOENT), in the
// language of the process's messages, as the loader writes it.
bool TellsFileMissing(std::string_view loader_text) {
  const std::string_view missing = std::strerror(ENOENT);
  return loader_text.size() >= missing.size() &&
         loader_text.substr(loader_text.size() - missing.size()) == missing;
}

}  // namespace

std::string PosixLibraryLoader::FileNameOf(std::string_view name) {
  return "lib" + std::string(name) + ".so";
}

std::unique_ptr<host::Library> PosixLibraryLoader::Load(std::string_view name) {
  const std::string file_name = FileNameOf(name);
  const std::string not_found = std::string(kFileNotFoundText) + file_name;
  if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
    host::Raise(host::kFileNotFound, not_found);
  }
  constexpr int kMode = RTLD_NOW | RTLD_LOCAL;
  if (const std::filesystem::path found = FoundInFolders(file_name); !found.empty()) {
    dlerror();
    void* handle = dlopen(found.c_str(), kMode);
    if (handle == nullptr) {
      host::Raise(host::kErrorLoadingLibrary, std::string(kErrorLoadingText) + LoaderText());
    }
    return std::make_unique<PosixLibrary>(handle, file_name);
  }
  dlerror();
  void* handle = dlopen(file_name.c_str(), kMode);
  if (handle == nullptr) {
    const std::string text = LoaderText();
    if (TellsFileMissing(text)) host::Raise(host::kFileNotFound, not_found);
    host::Raise(host::kErrorLoadingLibrary, std::string(kErrorLoadingText) + text);
  }
  return std::make_unique<PosixLibrary>(handle, file_name);
}

std::unique_ptr<host::Library> PosixLibraryLoader::LoadFile(const std::filesystem::path& file) {
  std::error_code error;
  if (file.empty() || !std::filesystem::is_regular_file(file, error)) {
    host::Raise(host::kFileNotFound, std::string(kFileNotFoundText) + file.string());
  }
  dlerror();
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    host::Raise(host::kErrorLoadingLibrary, std::string(kErrorLoadingText) + LoaderText());
  }
  return std::make_unique<PosixLibrary>(handle, file.filename().string());
}

}  // namespace lunavant::workbench

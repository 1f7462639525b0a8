// SPDX-License-Identifier: MIT
// Loads dynamic libraries by their bare name, as the host's platform does: in the folders given
// first (the add-in module's folder, so the converter beside the module wins), then through the
// system's usual search (dlopen of the bare file name).
//
//   PosixLibraryLoader loader;
//   loader.AddSearchFolderFirst(module_path.parent_path());
//   std::unique_ptr<host::Library> orbelune = loader.Load("orbelune");  // liborbelune.so
//   void* g2ha = orbelune->Symbol("G2HA");
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "addin/host/services.h"

namespace lunavant::workbench {

// Message texts, followed by the file name ("liborbelune.so") or the loader's own text.
inline constexpr std::string_view kFileNotFoundText = "File not found: ";
inline constexpr std::string_view kErrorLoadingText = "Error in loading DLL: ";
// "Can't find DLL entry point G2HA in liborbelune.so".
inline constexpr std::string_view kEntryPointText = "Can't find DLL entry point ";

class PosixLibraryLoader final : public host::LibraryLoader {
 public:
  // The folders are searched in the order given, before the system's search.
  explicit PosixLibraryLoader(std::vector<std::filesystem::path> first_folders = {})
      : folders_(std::move(first_folders)) {}

  // Puts `folder` before every other folder (moving it there when it is already in the list).
  void AddSearchFolderFirst(std::filesystem::path folder) {
    std::erase(folders_, folder);
    folders_.insert(folders_.begin(), std::move(folder));
  }
  const std::vector<std::filesystem::path>& SearchFolders() const { return folders_; }

  // "lib" + name + ".so".
  static std::string FileNameOf(std::string_view name);

  // Opens FileNameOf(name) from the first folder that holds such a file, else by the system's
  // search, resolving all its symbols now. Fails with kFileNotFound ("File not found:
  // liborbelune.so") when no file of that name exists (or the name is empty or has a "/" or a zero
  // in it), and with kErrorLoadingLibrary and the loader's text when the first file found cannot be
  // loaded; a later folder is not tried then. The Library closes the handle when it ends; its
  // Symbol fails with kEntryPointNotFound ("Can't find DLL entry point G2HA in liborbelune.so").
  std::unique_ptr<host::Library> Load(std::string_view name) override;
  // Opens the library at `file` itself, as Load opens one it found. Fails with kFileNotFound
  // ("File not found: " and the path) when there is no such file, and with kErrorLoadingLibrary
  // when it cannot be loaded.
  std::unique_ptr<host::Library> LoadFile(const std::filesystem::path& file);

 private:
  // `file_name` in the first folder that holds a file of that name; empty when none does. Both
  // platforms' Load search so, each with its own loader.
  std::filesystem::path FoundInFolders(const std::string& file_name) const {
    for (const std::filesystem::path& folder : folders_) {
      if (folder.empty()) continue;
      std::filesystem::path candidate = folder / file_name;
      std::error_code error;
      if (std::filesystem::exists(candidate, error)) return candidate;
    }
    return {};
  }

  std::vector<std::filesystem::path> folders_;
};

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// The workbench's per-user registry: one text file in the Windows registry-export format
// (REGEDIT4 keys and values), so a person can read it and Windows can import it as it stands.
//
//   RegistryFile registry = RegistryFile::Load(DefaultRegistryPath());
//   registry.SetNumber("Software\\Microsoft\\Office\\MS Project\\Addins\\X.Connect",
//                      "LoadBehavior", 3);
//   registry.Save();                     // atomic: the old file or the new one, never half
//
// Keys are written sorted by path, letter case ignored; a key's values in the order they were
// first set. Lines end in CR LF, as the format wants.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "addin/host/registry.h"

namespace lunavant::workbench {

// $XDG_CONFIG_HOME (when set and absolute, else ~/.config) / lunavant / registry.reg.
std::filesystem::path DefaultRegistryPath();

class RegistryFile final : public host::Registry {
 public:
  explicit RegistryFile(std::filesystem::path path) : path_(std::move(path)) {}

  // Reads the file; a missing file gives an empty registry. Fails with
  // addin_message::kInvalidFileFormat and "registry.reg, line 4: ..." for a malformed file, and
  // with kHostFailure for a file that exists but cannot be read.
  static RegistryFile Load(std::filesystem::path path);
  // Writes the whole registry to a new file beside the old one and renames it over the old one,
  // making the folder when it is missing. Fails with kHostFailure, leaving the old file as it
  // was, when it cannot be written.
  void Save() const;
  // The text Save writes.
  std::string Serialize() const;
  const std::filesystem::path& Path() const { return path_; }

  // Fail with kInvalidProcedureCall on an empty key and on text holding a line break or a zero.
  void SetText(std::string_view key, std::string_view name, std::string_view text) override;
  void SetNumber(std::string_view key, std::string_view name, std::uint32_t number) override;
  void DeleteKey(std::string_view key) override;

  bool HasKey(std::string_view key) const;
  // Empty when the value is absent or of the other kind.
  std::optional<std::string> Text(std::string_view key, std::string_view name) const;
  std::optional<std::uint32_t> Number(std::string_view key, std::string_view name) const;
  // The names of the keys directly below `key`, sorted, each once.
  std::vector<std::string> SubKeys(std::string_view key) const;

 private:
  using Data = std::variant<std::string, std::uint32_t>;
  struct Value {
    std::string name;  // empty for the default value
    Data data;
  };
  struct Key {
    std::string path;
    std::vector<Value> values;
  };
  Key& MakeKey(std::string_view path);
  const Key* FindKey(std::string_view path) const;
  const Value* FindValue(std::string_view key, std::string_view name) const;
  void Set(std::string_view key, std::string_view name, Data data);

  std::filesystem::path path_;
  std::vector<Key> keys_;  // sorted by path, letter case ignored
};

}  // namespace lunavant::workbench

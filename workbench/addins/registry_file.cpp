// SPDX-License-Identifier: MIT
#include "workbench/addins/registry_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

#include "addin/host/error.h"
#include "workbench/addins/messages.h"
#include "workbench/files/atomic_file.h"
#include "workbench/files/file_error.h"

namespace lunavant::workbench {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\";
constexpr std::string_view kDwordPrefix = "dword:";
constexpr std::string_view kLineEnd = "\r\n";

char FoldChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Fold(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldChar);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) { return Fold(a) == Fold(b); }

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

void CheckText(std::string_view text) {
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    host::Raise(host::kInvalidProcedureCall, std::string(addin_message::kLineBreakInText));
  }
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

// Reads a quoted text at `at`, moving `at` past it; false when it is not one.
bool ReadQuoted(std::string_view line, std::size_t& at, std::string& out) {
  if (at >= line.size() || line[at] != '"') return false;
  out.clear();
  for (std::size_t i = at + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      at = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) return false;
      out += line[++i];
      continue;
    }
    out += c;
  }
  return false;
}

bool ReadDword(std::string_view text, std::uint32_t& number) {
  if (text.empty() || text.size() > 8) return false;
  number = 0;
  for (char c : text) {
    std::uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (FoldChar(c) >= 'a' && FoldChar(c) <= 'f') {
      digit = static_cast<std::uint32_t>(FoldChar(c) - 'a' + 10);
    } else {
      return false;
    }
    number = number * 16 + digit;
  }
  return true;
}

std::string_view TrimEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return line;
}

std::string NormalKey(std::string_view key) {
  while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  if (key.empty()) host::Raise(host::kInvalidProcedureCall, std::string(addin_message::kEmptyKey));
  CheckText(key);
  return std::string(key);
}

}  // namespace

std::filesystem::path DefaultRegistryPath() {
  std::filesystem::path config;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::filesystem::path(home != nullptr ? home : ".") / ".config";
  }
  return config / "lunavant" / "registry.reg";
}

RegistryFile RegistryFile::Load(std::filesystem::path path) {
  RegistryFile registry(path);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return registry;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) host::Raise(host::kHostFailure, addin_message::Unreadable(path.string()));
  const std::string text = std::move(bytes).str();
  const std::string file = path.filename().string();
  auto malformed = [&file](std::int32_t line, std::string_view problem) {
    host::Raise(addin_message::kInvalidFileFormat, addin_message::Malformed(file, line, problem));
  };

  std::int32_t line_number = 0;
  std::size_t start = 0;
  std::string current_key;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = TrimEnd(std::string_view(text).substr(start, end - start));
    start = end + 1;
    ++line_number;
    if (line_number == 1) {
      if (line != kHeader) malformed(line_number, addin_message::kNoHeader);
      continue;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.size() > 1 && line[1] == '-') malformed(line_number, addin_message::kRemovalEntry);
      if (line.back() != ']') malformed(line_number, addin_message::kBadKeyLine);
      std::string_view key = line.substr(1, line.size() - 2);
      if (!StartsWithFolded(key, kRoot)) malformed(line_number, addin_message::kNotCurrentUser);
      key.remove_prefix(kRoot.size());
      while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
      if (key.empty() || key.front() == '\\') malformed(line_number, addin_message::kBadKeyLine);
      current_key = std::string(key);
      registry.MakeKey(current_key);
      continue;
    }
    if (current_key.empty()) malformed(line_number, addin_message::kValueOutsideKey);
    std::size_t at = 0;
    std::string name;
    if (line.front() == '@') {
      at = 1;
    } else if (!ReadQuoted(line, at, name)) {
      malformed(line_number, addin_message::kBadValueLine);
    }
    if (at >= line.size() || line[at] != '=') malformed(line_number, addin_message::kBadValueLine);
    ++at;
    const std::string_view rest = line.substr(at);
    if (rest == "-") malformed(line_number, addin_message::kRemovalEntry);
    if (StartsWithFolded(rest, kDwordPrefix)) {
      std::uint32_t number = 0;
      if (!ReadDword(rest.substr(kDwordPrefix.size()), number)) {
        malformed(line_number, addin_message::kBadNumber);
      }
      registry.Set(current_key, name, number);
      continue;
    }
    std::string value;
    if (!ReadQuoted(line, at, value) || at != line.size()) {
      malformed(line_number, addin_message::kBadValueLine);
    }
    registry.Set(current_key, name, std::move(value));
  }
  if (line_number == 0) malformed(1, addin_message::kNoHeader);
  return registry;
}

std::string RegistryFile::Serialize() const {
  std::string out(kHeader);
  out += kLineEnd;
  for (const Key& key : keys_) {
    out += kLineEnd;
    out += "[" + std::string(kRoot) + key.path + "]";
    out += kLineEnd;
    for (const Value& value : key.values) {
      out += value.name.empty() ? std::string("@") : Quote(value.name);
      out += '=';
      if (const auto* text = std::get_if<std::string>(&value.data)) {
        out += Quote(*text);
      } else {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", std::get<std::uint32_t>(value.data));
        out += std::string(kDwordPrefix) + digits;
      }
      out += kLineEnd;
    }
  }
  out += kLineEnd;
  return out;
}

void RegistryFile::Save() const {
  const std::string file = path_.string();
  auto fail = [&file](std::string_view reason) {
    host::Raise(host::kHostFailure, addin_message::Unwritable(file, reason));
  };
  std::error_code error;
  if (path_.has_parent_path()) {
    std::filesystem::create_directories(path_.parent_path(), error);
    if (error) fail(error.message());
  }
  try {
    WriteFileAtomically(path_, Serialize());
  } catch (const ProjectFileError& e) {
    fail(e.Description());
  }
}

RegistryFile::Key& RegistryFile::MakeKey(std::string_view path) {
  const std::string folded = Fold(path);
  auto at =
      std::lower_bound(keys_.begin(), keys_.end(), folded,
                       [](const Key& key, const std::string& f) { return Fold(key.path) < f; });
  if (at != keys_.end() && Fold(at->path) == folded) return *at;
  return *keys_.insert(at, Key{std::string(path), {}});
}

const RegistryFile::Key* RegistryFile::FindKey(std::string_view path) const {
  for (const Key& key : keys_) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

const RegistryFile::Value* RegistryFile::FindValue(std::string_view key,
                                                   std::string_view name) const {
  const Key* found = FindKey(key);
  if (found == nullptr) return nullptr;
  for (const Value& value : found->values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

void RegistryFile::Set(std::string_view key, std::string_view name, Data data) {
  Key& target = MakeKey(key);
  for (Value& value : target.values) {
    if (SameName(value.name, name)) {
      value.data = std::move(data);
      return;
    }
  }
  target.values.push_back(Value{std::string(name), std::move(data)});
}

void RegistryFile::SetText(std::string_view key, std::string_view name, std::string_view text) {
  const std::string path = NormalKey(key);
  CheckText(name);
  CheckText(text);
  Set(path, name, std::string(text));
}

void RegistryFile::SetNumber(std::string_view key, std::string_view name, std::uint32_t number) {
  const std::string path = NormalKey(key);
  CheckText(name);
  Set(path, name, number);
}

void RegistryFile::DeleteKey(std::string_view key) {
  const std::string folded = Fold(NormalKey(key));
  std::erase_if(keys_, [&folded](const Key& k) {
    const std::string path = Fold(k.path);
    return path == folded || path.starts_with(folded + "\\");
  });
}

bool RegistryFile::HasKey(std::string_view key) const { return FindKey(key) != nullptr; }

std::optional<std::string> RegistryFile::Text(std::string_view key, std::string_view name) const {
  const Value* value = FindValue(key, name);
  if (value == nullptr) return std::nullopt;
  if (const auto* text = std::get_if<std::string>(&value->data)) return *text;
  return std::nullopt;
}

std::optional<std::uint32_t> RegistryFile::Number(std::string_view key,
                                                  std::string_view name) const {
  const Value* value = FindValue(key, name);
  if (value == nullptr) return std::nullopt;
  if (const auto* number = std::get_if<std::uint32_t>(&value->data)) return *number;
  return std::nullopt;
}

std::vector<std::string> RegistryFile::SubKeys(std::string_view key) const {
  const std::string prefix = Fold(key) + "\\";
  std::vector<std::string> names;
  for (const Key& k : keys_) {
    if (!Fold(k.path).starts_with(prefix)) continue;
    std::string rest = k.path.substr(prefix.size());
    rest = rest.substr(0, rest.find('\\'));
    if (rest.empty()) continue;
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&rest](const std::string& n) { return SameName(n, rest); });
    if (!known) names.push_back(rest);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return Fold(a) < Fold(b); });
  return names;
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// The per-user registry file on any text: loading either fails with "registry.reg, line N: ..."
// for a line N of the text, or gives a registry. A registry loaded saves to a text that loads
// again to the same keys and values, each key and each value name once, and that text saves
// again byte for byte.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "addin/host/error.h"
#include "fuzz/fuzz_support.h"
#include "workbench/addins/messages.h"
#include "workbench/addins/registry_file.h"

namespace {

using lunavant::workbench::RegistryFile;

// One file in a folder of its own, rewritten for every input and removed at exit.
// Never destroyed, so that the removal at exit still finds it.
const std::filesystem::path& ScratchFile() {
  static const std::filesystem::path* const file = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "lunavant-fuzz-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(ScratchFile().parent_path()); });
    return new std::filesystem::path(std::filesystem::path(folder) / "registry.reg");
  }();
  return *file;
}

void Write(std::string_view text) {
  std::FILE* out = std::fopen(ScratchFile().c_str(), "wb");
  if (out == nullptr) std::abort();
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) std::abort();
}

std::int64_t LineCount(std::string_view text) {
  std::int64_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

std::optional<RegistryFile> Load(std::string_view text, const char* what) {
  Write(text);
  try {
    return RegistryFile::Load(ScratchFile());
  } catch (const lunavant::host::HostError& error) {
    const std::string& message = error.record().description;
    constexpr std::string_view kPrefix = "registry.reg, line ";
    bool well_formed =
        error.record().number == lunavant::workbench::addin_message::kInvalidFileFormat &&
        message.starts_with(kPrefix);
    if (well_formed) {
      std::size_t digits = 0;
      const long line = std::stol(message.substr(kPrefix.size()), &digits);
      const std::string_view rest = std::string_view(message).substr(kPrefix.size() + digits);
      well_formed =
          line >= 1 && line <= LineCount(text) && rest.starts_with(": ") && rest.size() > 2;
    }
    LUNAVANT_FUZZ_CHECK(well_formed, std::string(what) + " failed with " +
                                         std::to_string(error.record().number) + " \"" +
                                         lunavant::fuzz::Printable(message) + "\"");
    return std::nullopt;
  }
}

// The quoted text at `at` of a saved line, as Serialize writes it.
std::string Unquote(std::string_view line, std::size_t& at) {
  std::string out;
  for (++at; at < line.size() && line[at] != '"'; ++at) {
    if (line[at] == '\\') ++at;
    if (at < line.size()) out += line[at];
  }
  ++at;
  return out;
}

// Walks the saved text key by key and value by value and checks that `loaded` holds each of them
// as `source` does, and that no key or value name comes twice.
void CheckSameContent(const std::string& saved, const RegistryFile& source,
                      const RegistryFile& loaded) {
  auto fold = [](std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  };
  constexpr std::string_view kKeyStart = "[HKEY_CURRENT_USER\\";
  std::set<std::string> keys;
  std::set<std::string> names;
  std::string key;
  std::size_t start = 0;
  while (start < saved.size()) {
    std::size_t end = saved.find("\r\n", start);
    if (end == std::string::npos) end = saved.size();
    const std::string_view line = std::string_view(saved).substr(start, end - start);
    start = end + 2;
    if (line.empty() || line == "REGEDIT4") continue;
    if (line.starts_with(kKeyStart)) {
      key = std::string(line.substr(kKeyStart.size(), line.size() - kKeyStart.size() - 1));
      LUNAVANT_FUZZ_CHECK(keys.insert(fold(key)).second && loaded.HasKey(key),
                          "key \"" + lunavant::fuzz::Printable(key) + "\" twice or lost");
      names.clear();
      continue;
    }
    std::size_t at = 0;
    const std::string name = line.front() == '@' ? std::string() : Unquote(line, at);
    LUNAVANT_FUZZ_CHECK(names.insert(fold(name)).second,
                        "value \"" + lunavant::fuzz::Printable(name) + "\" of \"" +
                            lunavant::fuzz::Printable(key) + "\" twice");
    LUNAVANT_FUZZ_CHECK(
        source.Text(key, name) == loaded.Text(key, name) &&
            source.Number(key, name) == loaded.Number(key, name) &&
            (source.Text(key, name).has_value() != source.Number(key, name).has_value()),
        "value \"" + lunavant::fuzz::Printable(name) + "\" of \"" + lunavant::fuzz::Printable(key) +
            "\" changed on saving");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<RegistryFile> first = Load(text, "loading the input");
  if (!first) return 0;
  const std::string saved = first->Serialize();
  const std::optional<RegistryFile> again = Load(saved, "loading the saved text");
  LUNAVANT_FUZZ_CHECK(again.has_value(), "saved as " + lunavant::fuzz::Printable(saved));
  const std::string saved_again = again->Serialize();
  LUNAVANT_FUZZ_CHECK(saved == saved_again, "saved as " + lunavant::fuzz::Printable(saved) +
                                                ", then as " +
                                                lunavant::fuzz::Printable(saved_again));
  CheckSameContent(saved, *first, *again);
  return 0;
}

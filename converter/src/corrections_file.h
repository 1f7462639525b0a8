// SPDX-License-Identifier: MIT
// Where the corrections file is looked for, and reading it: the operating system's side, one
// source file per platform (corrections_file_posix.cpp, corrections_file_win32.cpp).
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corrections.h"

namespace lunavant::converter::detail {

inline constexpr const char* kCorrectionsFileName = "hijri-corrections.txt";

// The environment variable ORBELUNE_CORRECTIONS, when set: the one file to read instead of the
// usual places; set but empty, no file at all. Nothing when it is not set.
std::optional<std::string> CorrectionsOverride();

// The usual places, in the order looked at; the first file that exists is the one read: the
// user's configuration folder ($XDG_CONFIG_HOME/orbelune, ~/.config/orbelune; on Windows
// %APPDATA%\Orbelune), then the library's own folder (site-wide). Paths in UTF-8.
std::vector<std::string> CorrectionsPlaces();

struct CorrectionsFile {
  bool exists = false;
  bool read = false;  // exists, and read whole; refused unread beyond kMaxCorrectionsBytes
  std::string text;
};
CorrectionsFile ReadCorrectionsFile(const std::string& path);

// Reads a file each platform opened its own way (null when it could not), and closes it: whole,
// or marked unread when it grows past kMaxCorrectionsBytes or a read fails.
inline void ReadWholeCorrections(std::FILE* opened, CorrectionsFile& file) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(opened, &std::fclose);
  if (!stream) return;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream.get())) > 0) {
    file.text.append(buffer, got);
    if (file.text.size() > kMaxCorrectionsBytes) return;
  }
  file.read = std::ferror(stream.get()) == 0;
}

}  // namespace lunavant::converter::detail

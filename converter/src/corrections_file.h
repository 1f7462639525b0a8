// SPDX-License-Identifier: MIT
// Where the corrections file is looked for, and reading it: the operating system's side, one
// source file per platform (corrections_file_posix.cpp, corrections_file_win32.cpp).
#pragma once

#include <optional>
#include <string>
#include <vector>

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

}  // namespace lunavant::converter::detail

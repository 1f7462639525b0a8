// SPDX-License-Identifier: MIT
// The `lunavant` command line: the add-in's codec run in the reference host.
//
//   lunavant hijri "Mon 15/03/04" --short-date dd/MM/yyyy --date-separator /
#pragma once

#include <filesystem>
#include <ostream>

namespace lunavant::cli {

// Exit statuses.
inline constexpr int kExitPrinted = 0;
inline constexpr int kExitConversionFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command line. Results go to `out`, message boxes and usage errors to `err`.
// `converter_folder` is searched first for the converter library.
int RunLunavant(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const std::filesystem::path& converter_folder);

}  // namespace lunavant::cli

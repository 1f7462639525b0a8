// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/commands.h"

int main(int argc, char** argv) {
  // The converter library and the add-in module are installed beside the program.
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  lunavant::cli::Terminal terminal{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1,
                                   isatty(STDERR_FILENO) == 1};
  return lunavant::cli::RunLunavant(argc, argv, terminal,
                                    error ? std::filesystem::path() : self.parent_path());
}

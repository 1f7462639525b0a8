// SPDX-License-Identifier: MIT
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/commands.h"

int main(int argc, char** argv) {
  // The converter library is installed beside the program.
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return lunavant::cli::RunLunavant(argc, argv, std::cout, std::cerr,
                                    error ? std::filesystem::path() : self.parent_path());
}

// SPDX-License-Identifier: MIT
#include "report.h"

#include <cstdio>
#include <string>

namespace lunavant::driver {

void Inform(std::string_view message) {
  std::fwrite(message.data(), 1, message.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void ReportFailure(std::string_view message) {
  const std::string line = "lunavant-host: " + std::string(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace lunavant::driver

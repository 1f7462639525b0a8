// SPDX-License-Identifier: MIT
// What the driver tells its user: progress on standard output, failures on standard error,
// both in UTF-8 and each on a line of its own.
#pragma once

#include <string_view>

namespace lunavant::driver {

void Inform(std::string_view message);
// Prefixed with "lunavant-host: ".
void ReportFailure(std::string_view message);

}  // namespace lunavant::driver

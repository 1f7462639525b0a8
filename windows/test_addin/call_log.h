// SPDX-License-Identifier: MIT
// The test add-in's record of what reached it: one UTF-8 line per call, appended to the file
// that LUNAVANT_TEST_ADDIN_LOG names, so a test reads the calls in the order they came.
#pragma once

#include <string_view>

namespace lunavant::test_addin {

// Appends `line` and a line feed; does nothing when the variable is unset or the file cannot be
// opened, since a host must never see the add-in fail for its log.
void LogCall(std::wstring_view line);

}  // namespace lunavant::test_addin

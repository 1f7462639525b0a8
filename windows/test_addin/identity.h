// SPDX-License-Identifier: MIT
// Who the test add-in is: the names its registration and its add-in record carry.
#pragma once

namespace lunavant::test_addin {

inline constexpr wchar_t kProgId[] = L"Lunavant.TestAddIn";
inline constexpr wchar_t kFriendlyName[] = L"Lunavant test add-in";
inline constexpr wchar_t kDescription[] =
    L"Records what the host calls, for the tests of the host driver";
// The environment variable that names the file the add-in writes its calls to.
inline constexpr wchar_t kLogVariable[] = L"LUNAVANT_TEST_ADDIN_LOG";

}  // namespace lunavant::test_addin

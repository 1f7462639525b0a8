// SPDX-License-Identifier: MIT
// UTF-8 (files, the console, messages) to UTF-16 (every Windows and COM call) and back.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace lunavant::com {

// Invalid sequences become U+FFFD in either direction.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// "0x80020006 (Unknown name.)": the code and the system's text for it, when it has one.
std::string DescribeHresult(HRESULT code);

// Case-insensitive as COM member names are: ordinal, after the system's upper-casing.
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace lunavant::com

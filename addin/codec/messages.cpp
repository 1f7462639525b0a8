// SPDX-License-Identifier: MIT
#include "addin/codec/messages.h"

namespace lunavant::codec {

std::string UnrecognizableDateMessage(std::string_view value) {
  return "Unrecongizable date value" + std::string(value);
}

std::string WrongSeparatorMessage(std::string_view sep) {
  return "Please use the current Date Separator specified in your regional settings \"" +
         std::string(sep) + "\" ";
}

std::string MalformedHijriMessage(std::string_view sep) {
  const std::string s(sep);
  return "Invalid Hijri Date. Make sure it is in the following format dd" + s + "mm" + s +
         "yyyy or that it falls within the acceptable date range of 28" + s + "3" + s +
         "1404 to 7" + s + "4" + s + "1472";
}

std::string OutOfRangeHijriMessage(std::string_view sep) {
  const std::string s(sep);
  return "Invalid Hijri Date. Make sure it is in the following format dd" + s + "mm" + s +
         "yyyy and that it falls within the acceptable date range of 28/3/1404 to 7/4/1472";
}

}  // namespace lunavant::codec

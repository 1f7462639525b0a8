// SPDX-License-Identifier: MIT
#include "addin/codec/field_conversion.h"

#include <string>

#include "addin/codec/date_text.h"
#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"

namespace lunavant::codec {

bool ConvertAndSetField(host::Task& task, host::FieldId field, const host::Value& value,
                        std::string_view direction) {
  std::string text;
  if (IsKind(direction, kKindHijri))
    text = ToHijriText(value);
  else if (IsKind(direction, kKindGregorian))
    text = ToGregorianText(value);
  if (text.empty()) return false;
  task.SetField(field, text);
  return true;
}

}  // namespace lunavant::codec

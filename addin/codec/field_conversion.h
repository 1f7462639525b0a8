// SPDX-License-Identifier: MIT
// The codec's single entry for the event handlers: a value converted in either direction and
// written into a task's field.
#pragma once

#include <string_view>

#include "addin/host/object_model.h"
#include "addin/host/value.h"

namespace lunavant::codec {

// Converts `value` in `direction` ("H": into Hijri text, "G": into Gregorian text) and writes the
// result into `field` of `task`. Returns false, writing nothing, when the conversion gave the
// empty text. The write raises ProjectBeforeTaskChange; a write the host refuses is not caught
// here and reaches the caller as a HostError.
bool ConvertAndSetField(host::Task& task, host::FieldId field, const host::Value& value,
                        std::string_view direction);

}  // namespace lunavant::codec

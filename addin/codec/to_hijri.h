// SPDX-License-Identifier: MIT
// Gregorian task dates, as the host shows them, into the Hijri text of a paired field.
#pragma once

#include <string>

#include "addin/host/value.h"

namespace lunavant::codec {

// The Hijri text of a date such as "Mon 15/03/04", "15/03/04 08:00" or "15/03/04"; "NA" and the
// empty text come back unchanged. Any failure is shown once through ShowError and gives the empty
// text. May show a message box; raises no host event.
std::string ToHijriText(const host::Value& value);

}  // namespace lunavant::codec

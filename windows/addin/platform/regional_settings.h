// SPDX-License-Identifier: MIT
// The user's regional settings from Windows: the default locale and its items through the 8-bit
// GetLocaleInfoA contract, and dates read and written as OLE Automation reads and writes them
// for the user's locale (VarDateFromStr, VarBstrFromDate), as a Basic add-in's CDate and CStr do.
// Current Windows and wine put bidirectional marks into some patterns (ar-SA's "d‏/M‏/yyyy");
// they are no part of a date and are left out of every item.
#pragma once

#include <string>

#include "addin/host/services.h"

namespace lunavant::winaddin {

class WindowsRegionalSettings final : public host::RegionalSettings {
 public:
  std::uint32_t GetUserDefaultLCID() const override;
  std::int32_t GetLocaleInfoA(std::uint32_t lcid, std::int32_t item, char* buffer,
                              std::int32_t length) const override;
  host::DateTime ReadDate(std::string_view text) const override;
  std::string DefaultDateTimeText(const host::DateTime& when) const override;
};

// `text` without Unicode's directional marks and embeddings.
std::wstring WithoutBidiMarks(std::wstring text);

}  // namespace lunavant::winaddin

// SPDX-License-Identifier: MIT
// The per-user registry, as a component writes its registration into it. Abstract because each
// platform keeps it its own way; keys are paths below HKEY_CURRENT_USER, joined by backslashes,
// and match without regard to letter case.
//
//   registry.SetText("Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect",
//                    "FriendlyName", "Lunavant");
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::host {

class Registry {
 public:
  virtual ~Registry() = default;
  // Sets a value, making the key and its parents as needed. An empty name sets the key's
  // default value.
  virtual void SetText(std::string_view key, std::string_view name, std::string_view text) = 0;
  virtual void SetNumber(std::string_view key, std::string_view name, std::uint32_t number) = 0;
  // Removes the key, its values and every key below it; an absent key is no failure.
  virtual void DeleteKey(std::string_view key) = 0;
};

}  // namespace lunavant::host

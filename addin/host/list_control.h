// SPDX-License-Identifier: MIT
// A drop-down list's entries, as the pick lists fill and read them.
#pragma once

#include <cstdint>
#include <string>

namespace lunavant::host {

class ListControl {
 public:
  virtual ~ListControl() = default;
  // Appends an entry after the existing ones.
  virtual void AddItem(const std::string& text) = 0;
  virtual std::int32_t ListCount() const = 0;
  // Entry i counted from 0; fails with kInvalidProcedureCall outside 0..ListCount()-1.
  virtual std::string List(std::int32_t index) const = 0;
};

}  // namespace lunavant::host

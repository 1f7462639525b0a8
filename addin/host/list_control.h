// SPDX-License-Identifier: MIT
// A drop-down list of a dialog, as the add-in fills and reads it. Abstract because each dialog
// toolkit shows it its own way (a Qt combo box, a prompt of the command line).
//
//   list.Append("Finish");
//   for (std::int32_t i = 0; i < list.Count(); ++i) Use(list.Entry(i));
#pragma once

#include <cstdint>
#include <string>

namespace lunavant::host {

class ListControl {
 public:
  virtual ~ListControl() = default;
  // Adds `text` after the existing entries; equal entries may repeat.
  virtual void Append(const std::string& text) = 0;
  virtual std::int32_t Count() const = 0;
  // Counted from 0. Fails with kSubscriptOutOfRange outside 0..Count() - 1.
  virtual std::string Entry(std::int32_t index) const = 0;
};

}  // namespace lunavant::host

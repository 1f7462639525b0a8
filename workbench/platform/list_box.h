// SPDX-License-Identifier: MIT
// The workbench's own drop-down list: it shows nothing and keeps its entries in order, for the
// scripted dialogs of the command line and for tests that read what the add-in offered.
//
//   ListBox dates;
//   FillGregFieldList(dates, "Entry", slot);
//   dates.Entries();   // {"Start", "Finish"}
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addin/host/list_control.h"

namespace lunavant::workbench {

class ListBox final : public host::ListControl {
 public:
  void Append(const std::string& text) override { entries_.push_back(text); }
  std::int32_t Count() const override { return static_cast<std::int32_t>(entries_.size()); }
  std::string Entry(std::int32_t index) const override;

  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

}  // namespace lunavant::workbench

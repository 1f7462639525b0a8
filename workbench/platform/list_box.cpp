// SPDX-License-Identifier: MIT
#include "workbench/platform/list_box.h"

#include "addin/host/error.h"
#include "workbench/model/messages.h"

namespace lunavant::workbench {

std::string ListBox::Entry(std::int32_t index) const {
  if (index < 0 || index >= Count()) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("list entry", index, Count()));
  }
  return entries_[static_cast<std::size_t>(index)];
}

}  // namespace lunavant::workbench

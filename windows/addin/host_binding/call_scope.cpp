// SPDX-License-Identifier: MIT
#include "host_binding/call_scope.h"

namespace lunavant::winaddin {

void TransientObjects::Leave() {
  if (--depth_ > 0) return;
  depth_ = 0;
  // Released outside the vector: a release may call back into the host.
  std::vector<std::unique_ptr<HeldObject>> done;
  done.swap(held_);
}

}  // namespace lunavant::winaddin

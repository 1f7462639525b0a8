// SPDX-License-Identifier: MIT
#include "addin/codec/host_access.h"

#include "addin/host/error.h"
#include "addin/host/global.h"

namespace lunavant::codec {

host::Application& HostApplication() {
  host::Application* app = host::GlobalApplication();
  if (app == nullptr) host::Raise(host::kObjectRequired, "Object required");
  return *app;
}

host::RegionalSettings& Regional() { return HostApplication().Services().Regional(); }

}  // namespace lunavant::codec

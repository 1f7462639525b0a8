// SPDX-License-Identifier: MIT
#include "addin/codec/host_access.h"

#include "addin/host/error.h"
#include "addin/host/global.h"

namespace lunavant::codec {

host::Application& HostApplication() { return host::RequireApplication(); }

host::RegionalSettings& Regional() { return HostApplication().Services().Regional(); }

}  // namespace lunavant::codec

// SPDX-License-Identifier: MIT
// The host application and its regional settings, as the codec reaches them.
#pragma once

#include "addin/host/object_model.h"
#include "addin/host/services.h"

namespace lunavant::codec {

// The application of the host's global object; fails with kObjectRequired when none is set.
host::Application& HostApplication();
host::RegionalSettings& Regional();

}  // namespace lunavant::codec

// SPDX-License-Identifier: MIT
#include "platform/windows_platform.h"

namespace lunavant::winaddin {

WindowsPlatform& ProcessPlatform() {
  static WindowsPlatform platform;
  return platform;
}

}  // namespace lunavant::winaddin

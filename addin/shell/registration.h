// SPDX-License-Identifier: MIT
// The add-in's registration record: the Office add-in key (FriendlyName, Description,
// LoadBehavior 3 and nothing else) and, as a COM registration keeps it, the class behind the
// programmatic identifier and the module that serves it.
#pragma once

#include <string_view>

#include "addin/host/registry.h"

namespace lunavant::shell {

// Writes the record afresh, `module_path` as the class's in-process server: the add-in's keys
// hold the record's values and nothing else afterwards. Fails as the registry does; what was
// deleted or written until then stays so.
void RegisterAddIn(host::Registry& registry, std::string_view module_path);
// Removes every key the record made; keys already gone are no failure.
void UnregisterAddIn(host::Registry& registry);

}  // namespace lunavant::shell

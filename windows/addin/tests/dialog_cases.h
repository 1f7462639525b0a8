// SPDX-License-Identifier: MIT
// The dialog toolkit's checks, run by binding-test under a display.
#pragma once

#include <functional>
#include <string>

namespace lunavant::winaddin::test {

using CheckFunction = std::function<void(bool holds, const std::string& what)>;

void DialogsShowAtTheirSize(const CheckFunction& check);

}  // namespace lunavant::winaddin::test

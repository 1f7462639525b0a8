// SPDX-License-Identifier: MIT
// The error record a call raised, for tests that compare whole failures:
//
//   EXPECT_EQ(ErrorOf([&] { registry.Load(); }), (host::ErrorRecord{321, "..."}));
#pragma once

#include <functional>

#include "addin/host/error.h"

namespace lunavant::test_support {

// The record `call` raised as a host::HostError; number 0 when it raised none.
inline host::ErrorRecord ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const host::HostError& error) {
    return error.record();
  }
  return {};
}

}  // namespace lunavant::test_support

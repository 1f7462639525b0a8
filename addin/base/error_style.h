// SPDX-License-Identifier: MIT
// The four local error styles. Each procedure states its style in one line:
//
//   ReportAtOnce([&] { ... });           // the first failure ends the body and is shown
//   LastFailureReport trap;               // each failing step is skipped, the last one is shown
//   trap.Step([&] { ... }); trap.ReportLast();
//   SkipFailure([&] { ... });             // a failing step is skipped, nothing is shown
//   // no trap: failures are HostErrors that reach the caller
//
// Every style turns whatever was thrown into an error record, so nothing escapes into the host.
#pragma once

#include <optional>
#include <utility>

#include "addin/base/utilities.h"
#include "addin/host/error.h"

namespace lunavant::base {

// The record of the exception being handled; call only inside a catch block.
host::ErrorRecord CurrentFailure();

// Runs the body; the first failure ends it and is reported through ShowError. Returns whether the
// body ran to its end.
template <class Body>
bool ReportAtOnce(Body&& body) {
  // Made only on failure: the body is every conversion the add-in makes.
  std::optional<host::ErrorRecord> failure;
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    failure = CurrentFailure();
  }
  ShowError(*failure);
  return false;
}

// Runs one step; a failure ends that step only and is forgotten.
template <class Body>
bool SkipFailure(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    return false;
  }
}

// Skips failing steps and keeps only the latest failure, which ReportLast shows once.
class LastFailureReport {
 public:
  template <class Body>
  bool Step(Body&& body) {
    try {
      std::forward<Body>(body)();
      return true;
    } catch (...) {
      last_error_ = CurrentFailure();
      return false;
    }
  }
  // Shows the latest failure, if any, and forgets it.
  void ReportLast() {
    if (last_error_.failed()) ShowError(last_error_);
  }

 private:
  host::ErrorRecord last_error_;  // each new failure overwrites the one before
};

}  // namespace lunavant::base

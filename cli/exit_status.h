// SPDX-License-Identifier: MIT
// The exit statuses of the `lunavant` program, and the failure that carries one to main.
#pragma once

#include <stdexcept>
#include <string>

namespace lunavant::cli {

inline constexpr int kExitOk = 0;
// The add-in or the host refused the command, a conversion failed, or verify found cells that do
// not match their dates.
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
// A project file that is missing, unreadable or malformed, or that could not be saved.
inline constexpr int kExitFile = 3;
// The add-in or the converter cannot be had: not registered, not connected, a broken module or
// registry.
inline constexpr int kExitAddIn = 4;

// Ends a command: main prints "lunavant: " and the message on standard error and exits with the
// status.
class CommandError : public std::runtime_error {
 public:
  CommandError(int status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  int Status() const { return status_; }

 private:
  int status_;
};

}  // namespace lunavant::cli

// SPDX-License-Identifier: MIT
// The error record that every failure of the host, the platform and the add-in carries, and the one
// exception type that raises it. Numbers follow the Basic runtime, so messages read as users
// expect:
//
//   host::Raise(host::kTypeMismatch, "Type mismatch");
//   ...
//   catch (const host::HostError& e) { record = e.record(); }
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace lunavant::host {

// Basic-runtime numbers of the platform failures the add-in can meet.
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kErrorLoadingLibrary = 48;
inline constexpr std::int32_t kInternalError = 51;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kObjectRequired = 424;
inline constexpr std::int32_t kEntryPointNotFound = 453;
inline constexpr std::int32_t kKeyAlreadyAssociated = 457;
// The host's own failures (a refused write, an unknown field name, a table the project lacks).
inline constexpr std::int32_t kHostFailure = 1004;

// The current error: number 0 means none. A small value type; ShowError shows it and clears it.
struct ErrorRecord {
  std::int32_t number = 0;
  std::string description;

  bool failed() const { return number != 0; }
  void Clear() {
    number = 0;
    description.clear();
  }
  friend bool operator==(const ErrorRecord&, const ErrorRecord&) = default;
};

// The one exception type of the system: thrown where a failure is meant to reach the caller,
// caught only where a procedure's error style places a trap.
class HostError : public std::runtime_error {
 public:
  explicit HostError(ErrorRecord record)
      : std::runtime_error(record.description), record_(std::move(record)) {}
  const ErrorRecord& record() const { return record_; }

 private:
  ErrorRecord record_;
};

[[noreturn]] inline void Raise(std::int32_t number, std::string description) {
  throw HostError(ErrorRecord{number, std::move(description)});
}

}  // namespace lunavant::host

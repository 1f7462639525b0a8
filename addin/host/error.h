// SPDX-License-Identifier: MIT
// The error record that every failure of the host, the platform and the add-in carries, and the one
// exception type that raises it. Numbers follow the Basic runtime, so messages read as users
// expect:
//
//   host::RaiseRuntime(host::kTypeMismatch);  // "Type mismatch"
//   ...
//   catch (const host::HostError& e) { record = e.record(); }
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
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

// The runtime's own text for each of its numbers above, the one table of them; empty for the
// host's failures, whose texts are their own.
constexpr std::string_view RuntimeMessage(std::int32_t number) {
  switch (number) {
    case kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case kOverflow:
      return "Overflow";
    case kOutOfMemory:
      return "Out of memory";
    case kSubscriptOutOfRange:
      return "Subscript out of range";
    case kTypeMismatch:
      return "Type mismatch";
    case kErrorLoadingLibrary:
      return "Error in loading DLL";
    case kInternalError:
      return "Internal error";
    case kFileNotFound:
      return "File not found";
    case kObjectRequired:
      return "Object required";
    case kEntryPointNotFound:
      return "Can't find DLL entry point";
    case kKeyAlreadyAssociated:
      return "This key is already associated with an element of this collection";
    default:
      return {};
  }
}

// Raises one of the runtime's numbers with its own text.
[[noreturn]] inline void RaiseRuntime(std::int32_t number) {
  Raise(number, std::string(RuntimeMessage(number)));
}

}  // namespace lunavant::host

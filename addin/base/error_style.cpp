// SPDX-License-Identifier: MIT
#include "addin/base/error_style.h"

#include <exception>
#include <new>

namespace lunavant::base {

host::ErrorRecord CurrentFailure() {
  try {
    throw;
  } catch (const host::HostError& e) {
    return e.record();
  } catch (const std::bad_alloc&) {
    return {host::kOutOfMemory, std::string(host::RuntimeMessage(host::kOutOfMemory))};
  } catch (const std::exception& e) {
    return {host::kInternalError,
            std::string(host::RuntimeMessage(host::kInternalError)) + ": " + e.what()};
  } catch (...) {
    return {host::kInternalError, std::string(host::RuntimeMessage(host::kInternalError))};
  }
}

}  // namespace lunavant::base

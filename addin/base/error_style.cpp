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
    return {host::kOutOfMemory, "Out of memory"};
  } catch (const std::exception& e) {
    return {host::kInternalError, std::string("Internal error: ") + e.what()};
  } catch (...) {
    return {host::kInternalError, "Internal error"};
  }
}

}  // namespace lunavant::base

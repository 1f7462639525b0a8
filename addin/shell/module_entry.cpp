// SPDX-License-Identifier: MIT
// The entry points of the loadable add-in module, the only names it exports. A host finds them by
// name (host/extensibility.h); nothing thrown inside crosses them.
#include <cstdint>
#include <exception>
#include <new>

#include "addin/host/error.h"
#include "addin/host/extensibility.h"
#include "addin/host/global.h"
#include "addin/shell/connect.h"
#include "addin/shell/registration.h"

#define LUNAVANT_EXPORT __attribute__((visibility("default")))

namespace {

std::int32_t NumberOf(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const lunavant::host::HostError& e) {
    return e.record().number != 0 ? e.record().number : lunavant::host::kInternalError;
  } catch (const std::bad_alloc&) {
    return lunavant::host::kOutOfMemory;
  } catch (...) {
    return lunavant::host::kInternalError;
  }
}

}  // namespace

extern "C" {

// The module's own copy of the host's global object is set here, for the whole connection.
LUNAVANT_EXPORT lunavant::host::IDTExtensibility2* LunavantCreateAddIn(
    lunavant::host::Application* app) noexcept {
  try {
    lunavant::host::SetGlobalApplication(app);
    return new lunavant::shell::Connect();
  } catch (...) {
    return nullptr;
  }
}

LUNAVANT_EXPORT std::int32_t LunavantRegisterServer(lunavant::host::Registry* registry,
                                                    const char* module_path) noexcept {
  if (registry == nullptr || module_path == nullptr) return lunavant::host::kInvalidProcedureCall;
  try {
    lunavant::shell::RegisterAddIn(*registry, module_path);
    return 0;
  } catch (...) {
    return NumberOf(std::current_exception());
  }
}

LUNAVANT_EXPORT std::int32_t LunavantUnregisterServer(lunavant::host::Registry* registry) noexcept {
  if (registry == nullptr) return lunavant::host::kInvalidProcedureCall;
  try {
    lunavant::shell::UnregisterAddIn(*registry);
    return 0;
  } catch (...) {
    return NumberOf(std::current_exception());
  }
}

}  // extern "C"

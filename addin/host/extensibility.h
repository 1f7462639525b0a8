// SPDX-License-Identifier: MIT
// How a host drives an add-in: the five entries of the Office add-in connection interface, and
// the C entry points by which a host finds them in an add-in module. The host calls every entry
// on its user-interface thread; none of them throws.
//
//   host::IDTExtensibility2* addin = create(&app);      // the module's LunavantCreateAddIn
//   addin->OnConnection(app, host::kConnectAfterStartup, instance);
//   ...
//   addin->OnDisconnection(host::kDisconnectUserClosed);
//   delete addin;                                        // before the module is unloaded
#pragma once

#include <cstdint>
#include <string>

#include "addin/host/object_model.h"
#include "addin/host/registry.h"

namespace lunavant::host {

// ConnectMode of OnConnection.
inline constexpr std::int32_t kConnectAfterStartup = 0;
inline constexpr std::int32_t kConnectStartup = 1;
inline constexpr std::int32_t kConnectExternal = 2;
inline constexpr std::int32_t kConnectCommandLine = 3;
// RemoveMode of OnDisconnection.
inline constexpr std::int32_t kDisconnectHostShutdown = 0;
inline constexpr std::int32_t kDisconnectUserClosed = 1;

// The host's record of one add-in, as the add-in sees it.
class AddInInstance {
 public:
  virtual ~AddInInstance() = default;
  // The programmatic identifier the add-in was registered under ("Lunavant.Connect").
  virtual std::string ProgId() const = 0;
};

class IDTExtensibility2 {
 public:
  virtual ~IDTExtensibility2() = default;
  // `Application` stays valid until OnDisconnection returns.
  virtual void OnConnection(Application& Application, std::int32_t ConnectMode,
                            AddInInstance& AddInInst) = 0;
  virtual void OnDisconnection(std::int32_t RemoveMode) = 0;
  virtual void OnAddInsUpdate() = 0;
  virtual void OnStartupComplete() = 0;
  virtual void OnBeginShutdown() = 0;
};

// The module's entry points, looked up by these names.
inline constexpr const char* kCreateAddInEntry = "LunavantCreateAddIn";
inline constexpr const char* kRegisterEntry = "LunavantRegisterServer";
inline constexpr const char* kUnregisterEntry = "LunavantUnregisterServer";

// Makes the add-in's entry object for a host whose global application is `app`. The host owns
// the object and deletes it before it unloads the module. Null when it cannot be made.
using CreateAddInFunction = IDTExtensibility2* (*)(Application* app);
// Writes, or removes, the add-in's registration record; `module_path` is where the module lies.
// 0 on success, else the error number of the failure.
using RegisterFunction = std::int32_t (*)(Registry* registry, const char* module_path);
using UnregisterFunction = std::int32_t (*)(Registry* registry);

}  // namespace lunavant::host

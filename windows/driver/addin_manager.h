// SPDX-License-Identifier: MIT
// The host's add-in manager: creates each add-in that its record says to load at start-up,
// connects it through IDTExtensibility2 (OnConnection with ext_cm_Startup, then
// OnStartupComplete), and at the end calls OnBeginShutdown and OnDisconnection with
// ext_dm_HostShutdown. An add-in that fails is reported and left out; the others go on.
#pragma once

#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

#include "addin_instance.h"
#include "addin_record.h"
#include "com_ptr.h"
#include "extensibility.h"

namespace lunavant::driver {

// How the host calls IDTExtensibility2: through its vtable, as Office does, or by name through
// its IDispatch half, which an add-in's type library must then describe.
enum class CallStyle { kVtable, kByName };

class AddInManager {
 public:
  AddInManager(IDispatch* application, CallStyle style);
  AddInManager(const AddInManager&) = delete;
  AddInManager& operator=(const AddInManager&) = delete;
  // Disconnects whatever is still connected, as at host shutdown.
  ~AddInManager();

  // Connects the add-ins of `records` whose LoadBehavior is 3, or with `only` just the record of
  // that ProgID (which must be there and say 3), and then tells them start-up is complete.
  void ConnectAtStartup(const std::vector<com::AddInRecord>& records,
                        const std::optional<std::wstring>& only);
  // Disconnects (ext_dm_UserClosed) each add-in that set its Connect to False.
  void DisconnectThoseThatAsked();
  // OnBeginShutdown to each, then OnDisconnection(ext_dm_HostShutdown) to each.
  void ShutDown();

  size_t connected_count() const { return connected_.size(); }
  // True when every add-in to load connected and every call to one succeeded.
  bool all_succeeded() const { return all_succeeded_; }

 private:
  struct Connected {
    std::wstring prog_id;
    com::ComPtr<IDTExtensibility2> addin;
    com::ComPtr<AddInInstance> instance;
  };

  void Connect(const com::AddInRecord& record);
  void Disconnect(Connected& connected, ext_DisconnectMode mode);
  // Reports a failed call to an add-in and remembers that one failed.
  void Fail(const std::wstring& prog_id, const std::string& what);

  com::ComPtr<IDispatch> application_;
  CallStyle style_;
  std::vector<Connected> connected_;
  bool all_succeeded_ = true;
};

}  // namespace lunavant::driver

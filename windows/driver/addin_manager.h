// SPDX-License-Identifier: MIT
// The host's add-in manager: creates each add-in that its record says to load at start-up,
// connects it through IDTExtensibility2 (OnConnection with ext_cm_Startup, then
// OnStartupComplete), and at the end calls OnBeginShutdown and OnDisconnection with
// ext_dm_HostShutdown. As the host's COM add-ins dialog, it also connects a registered add-in
// later (ext_cm_AfterStartup) and disconnects one (ext_dm_UserClosed). An add-in that fails is
// reported and left out; the others go on.
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
  // The user ticks a registered add-in, whatever its LoadBehavior: OnConnection with
  // ext_cm_AfterStartup. An add-in connected before keeps its object for the host's lifetime, so
  // the same object is connected again. An add-in already connected is left as it is.
  void ConnectByUser(const std::wstring& prog_id);
  // The user unticks a connected add-in: OnDisconnection with ext_dm_UserClosed.
  void DisconnectByUser(const std::wstring& prog_id);
  // Disconnects (ext_dm_UserClosed) each add-in that set its Connect to False.
  void DisconnectThoseThatAsked();
  // OnBeginShutdown to each connected add-in, then OnDisconnection(ext_dm_HostShutdown) to each,
  // then lets go of every add-in.
  void ShutDown();

  // True when every add-in to load connected and every call to one succeeded.
  bool all_succeeded() const { return all_succeeded_; }

 private:
  // An add-in the host created; it stays after a user's disconnection.
  struct AddIn {
    std::wstring prog_id;
    com::ComPtr<IDTExtensibility2> object;
    com::ComPtr<AddInInstance> instance;
    bool connected = false;
  };

  AddIn* Find(const std::wstring& prog_id);
  // Creates the add-in of `record`; null (after reporting) when it cannot be.
  AddIn* Create(const com::AddInRecord& record);
  void Connect(AddIn& addin, ext_ConnectMode mode, const std::wstring& friendly_name);
  void Disconnect(AddIn& addin, ext_DisconnectMode mode);
  // Calls the entry `member` that takes only `custom` (OnStartupComplete, OnBeginShutdown) of
  // every connected add-in, through `entry` or by name as the call style says; each failure is
  // reported, and the others are still called.
  void NotifyConnected(const wchar_t* member,
                       HRESULT (STDMETHODCALLTYPE IDTExtensibility2::*entry)(SAFEARRAY** custom));
  // Reports a failed call to an add-in and remembers that one failed.
  void Fail(const std::wstring& prog_id, const std::string& what);

  com::ComPtr<IDispatch> application_;
  CallStyle style_;
  std::vector<AddIn> addins_;
  bool all_succeeded_ = true;
};

}  // namespace lunavant::driver

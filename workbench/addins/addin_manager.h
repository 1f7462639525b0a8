// SPDX-License-Identifier: MIT
// The workbench's add-in manager: it finds add-ins in the per-user registry as the Office host
// does (a key below Software\Microsoft\Office\MS Project\Addins named by the programmatic
// identifier, and the module behind that identifier's class), loads their modules, and drives
// them through their connection entries.
//
//   AddInManager manager(app, DefaultRegistryPath());
//   manager.StartUp();                        // LoadBehavior 3: connected with ConnectMode 1
//   manager.Connect("Lunavant.Connect");      // later, by the user: ConnectMode 0
//   manager.Disconnect("Lunavant.Connect");
//
// A missing or broken module, or an unreadable registry, is shown to the user in one message box
// (titled addin_message::kManagerTitle), noted in the add-in's listing, and the host goes on.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/extensibility.h"
#include "addin/host/services.h"
#include "workbench/addins/registry_file.h"

namespace lunavant::workbench {

class Application;

// Where the Office host lists its add-ins, below HKEY_CURRENT_USER.
inline constexpr std::string_view kAddInsKey = "Software\\Microsoft\\Office\\MS Project\\Addins";
// Where a component keeps its programmatic identifier and classes, below HKEY_CURRENT_USER.
inline constexpr std::string_view kClassesKey = "Software\\Classes";

struct AddInListing {
  std::string prog_id;
  std::string friendly_name;
  std::string description;
  std::uint32_t load_behavior = 0;
  // Where the module lies; empty when the identifier has no module registered.
  std::filesystem::path module;
  bool connected = false;
  // Why the last attempt to load or connect it failed; empty when it did not.
  std::string problem;
};

class AddInManager {
 public:
  // `app` must outlive the manager.
  AddInManager(Application& app, std::filesystem::path registry_path);
  // Shuts every connected add-in down: OnBeginShutdown, then OnDisconnection with RemoveMode 0.
  ~AddInManager();
  AddInManager(const AddInManager&) = delete;
  AddInManager& operator=(const AddInManager&) = delete;

  // Reads the registry and lists its add-ins; connects each with LoadBehavior 3 (ConnectMode 1),
  // then tells each connected one OnStartupComplete. Returns false when the registry could not be
  // read: nothing is listed then, and the file is left as it is.
  bool StartUp();
  // Connects a listed add-in that is not connected (ConnectMode 0). Returns false, after telling
  // the user, when its module is missing or broken or the identifier is not listed.
  bool Connect(std::string_view prog_id);
  // Disconnects (RemoveMode 1) and unloads a connected add-in; does nothing otherwise.
  void Disconnect(std::string_view prog_id);

  const std::vector<AddInListing>& AddIns() const { return listings_; }
  // Null when the identifier is not listed.
  const AddInListing* Find(std::string_view prog_id) const;

 private:
  struct Loaded;
  bool ConnectListing(std::size_t index, std::int32_t connect_mode);
  void Report(AddInListing& listing, const std::string& reason);

  Application& app_;
  std::filesystem::path registry_path_;
  std::vector<AddInListing> listings_;
  std::vector<std::unique_ptr<Loaded>> loaded_;  // by listing index; null when not connected
};

// The module a programmatic identifier's class is served by, as the registry records it; empty
// when it records none.
std::filesystem::path RegisteredModule(const RegistryFile& registry, std::string_view prog_id);

// Loads the module at `module` and has it write (or remove) its registration into `registry`,
// which is then saved. Fail as the loading fails, with kEntryPointNotFound for a module without
// the entry, and with the entry's own error number when it reports one.
void RegisterModule(const std::filesystem::path& module, RegistryFile& registry);
void UnregisterModule(const std::filesystem::path& module, RegistryFile& registry);

}  // namespace lunavant::workbench

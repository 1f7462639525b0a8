// SPDX-License-Identifier: MIT
#include "workbench/addins/addin_manager.h"

#include <utility>

#include "addin/host/error.h"
#include "workbench/addins/messages.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/platform/picture_loader.h"

namespace lunavant::workbench {
namespace {

class Instance final : public host::AddInInstance {
 public:
  explicit Instance(std::string prog_id) : prog_id_(std::move(prog_id)) {}
  std::string ProgId() const override { return prog_id_; }

 private:
  std::string prog_id_;
};

std::string Join(std::string_view a, std::string_view b) {
  return std::string(a) + "\\" + std::string(b);
}

std::string ReasonOf(const std::exception& e) { return e.what(); }

}  // namespace

// A connected add-in: its module, its entry object and the instance record handed to it. The
// object goes before the module that holds its code.
struct AddInManager::Loaded {
  std::unique_ptr<host::Library> module;
  std::unique_ptr<Instance> instance;
  std::unique_ptr<host::IDTExtensibility2> addin;

  ~Loaded() { addin.reset(); }
};

std::filesystem::path RegisteredModule(const RegistryFile& registry, std::string_view prog_id) {
  const std::optional<std::string> clsid =
      registry.Text(Join(Join(kClassesKey, prog_id), "CLSID"), "");
  if (!clsid || clsid->empty()) return {};
  const std::optional<std::string> module =
      registry.Text(Join(Join(Join(kClassesKey, "CLSID"), *clsid), "InprocServer32"), "");
  if (!module) return {};
  return *module;
}

AddInManager::AddInManager(Application& app, std::filesystem::path registry_path)
    : app_(app), registry_path_(std::move(registry_path)) {}

AddInManager::~AddInManager() {
  for (auto& loaded : loaded_) {
    if (loaded) loaded->addin->OnBeginShutdown();
  }
  for (std::size_t i = 0; i < loaded_.size(); ++i) {
    if (!loaded_[i]) continue;
    loaded_[i]->addin->OnDisconnection(host::kDisconnectHostShutdown);
    loaded_[i].reset();
  }
}

const AddInListing* AddInManager::Find(std::string_view prog_id) const {
  for (const AddInListing& listing : listings_) {
    if (NamesEqual(listing.prog_id, prog_id)) return &listing;
  }
  return nullptr;
}

bool AddInManager::StartUp() {
  listings_.clear();
  loaded_.clear();
  RegistryFile registry(registry_path_);
  try {
    registry = RegistryFile::Load(registry_path_);
  } catch (const host::HostError& e) {
    app_.Services().Messages().MsgBox(addin_message::RegistryUnusable(e.what()),
                                      host::MsgBoxStyle::kOkExclamation,
                                      std::string(addin_message::kManagerTitle));
    return false;
  }
  for (const std::string& prog_id : registry.SubKeys(kAddInsKey)) {
    const std::string key = Join(kAddInsKey, prog_id);
    AddInListing listing;
    listing.prog_id = prog_id;
    listing.friendly_name = registry.Text(key, "FriendlyName").value_or(prog_id);
    listing.description = registry.Text(key, "Description").value_or("");
    listing.load_behavior = registry.Number(key, "LoadBehavior").value_or(0);
    listing.module = RegisteredModule(registry, prog_id);
    listings_.push_back(std::move(listing));
  }
  loaded_.resize(listings_.size());
  for (std::size_t i = 0; i < listings_.size(); ++i) {
    if (listings_[i].load_behavior == 3) ConnectListing(i, host::kConnectStartup);
  }
  for (auto& loaded : loaded_) {
    if (loaded) loaded->addin->OnStartupComplete();
  }
  return true;
}

bool AddInManager::Connect(std::string_view prog_id) {
  for (std::size_t i = 0; i < listings_.size(); ++i) {
    if (!NamesEqual(listings_[i].prog_id, prog_id)) continue;
    if (loaded_[i]) return true;
    return ConnectListing(i, host::kConnectAfterStartup);
  }
  app_.Services().Messages().MsgBox(addin_message::NotListed(prog_id),
                                    host::MsgBoxStyle::kOkExclamation,
                                    std::string(addin_message::kManagerTitle));
  return false;
}

void AddInManager::Disconnect(std::string_view prog_id) {
  for (std::size_t i = 0; i < listings_.size(); ++i) {
    if (!NamesEqual(listings_[i].prog_id, prog_id) || !loaded_[i]) continue;
    loaded_[i]->addin->OnDisconnection(host::kDisconnectUserClosed);
    loaded_[i].reset();
    listings_[i].connected = false;
  }
}

void AddInManager::Report(AddInListing& listing, const std::string& reason) {
  listing.problem = reason;
  app_.Services().Messages().MsgBox(addin_message::CannotLoad(listing.friendly_name, reason),
                                    host::MsgBoxStyle::kOkExclamation,
                                    std::string(addin_message::kManagerTitle));
}

bool AddInManager::ConnectListing(std::size_t index, std::int32_t connect_mode) {
  AddInListing& listing = listings_[index];
  listing.problem.clear();
  if (listing.module.empty()) {
    Report(listing, addin_message::NotRegistered(listing.prog_id));
    return false;
  }
  auto loaded = std::make_unique<Loaded>();
  try {
    loaded->module = app_.Libraries().LoadFile(listing.module);
    auto create = reinterpret_cast<host::CreateAddInFunction>(
        loaded->module->Symbol(host::kCreateAddInEntry));
    loaded->addin.reset(create(&app_));
    if (!loaded->addin) {
      host::Raise(host::kErrorLoadingLibrary, addin_message::NoAddInMade(listing.module.string()));
    }
  } catch (const host::HostError& e) {
    Report(listing, ReasonOf(e));
    return false;
  }
  // The converter and the button faces lie beside the module.
  const std::filesystem::path folder = listing.module.parent_path();
  app_.Libraries().AddSearchFolderFirst(folder);
  app_.Pictures().AddSearchFolderFirst(folder);
  loaded->instance = std::make_unique<Instance>(listing.prog_id);
  loaded->addin->OnConnection(app_, connect_mode, *loaded->instance);
  loaded_[index] = std::move(loaded);
  listing.connected = true;
  return true;
}

namespace {

void RunRegistration(const std::filesystem::path& module, RegistryFile& registry, bool add) {
  PosixLibraryLoader loader;
  const std::unique_ptr<host::Library> library = loader.LoadFile(module);
  const std::filesystem::path absolute = std::filesystem::absolute(module).lexically_normal();
  std::int32_t result = 0;
  if (add) {
    auto entry = reinterpret_cast<host::RegisterFunction>(library->Symbol(host::kRegisterEntry));
    result = entry(&registry, absolute.c_str());
  } else {
    auto entry =
        reinterpret_cast<host::UnregisterFunction>(library->Symbol(host::kUnregisterEntry));
    result = entry(&registry);
  }
  if (result != 0) {
    host::Raise(result, "The module " + absolute.string() + " reported error " +
                            std::to_string(result) + " while writing its registration.");
  }
  registry.Save();
}

}  // namespace

void RegisterModule(const std::filesystem::path& module, RegistryFile& registry) {
  RunRegistration(module, registry, true);
}

void UnregisterModule(const std::filesystem::path& module, RegistryFile& registry) {
  RunRegistration(module, registry, false);
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
#include "addin/shell/registration.h"

#include <string>

#include "addin/shell/messages.h"

namespace lunavant::shell {
namespace {

std::string ProgIdKey() { return "Software\\Classes\\" + std::string(kProgId); }
std::string ClassKey() { return "Software\\Classes\\CLSID\\" + std::string(kClassId); }

}  // namespace

void RegisterAddIn(host::Registry& registry, std::string_view module_path) {
  // The keys are the add-in's own: values an older install left in them (another load
  // behaviour's companions, a manifest, a code base) would change how the host treats it.
  UnregisterAddIn(registry);
  registry.SetText(kAddInKey, "FriendlyName", kFriendlyName);
  registry.SetText(kAddInKey, "Description", kDescription);
  registry.SetNumber(kAddInKey, "LoadBehavior", kLoadBehavior);
  registry.SetText(ProgIdKey(), "", kProgId);
  registry.SetText(ProgIdKey() + "\\CLSID", "", kClassId);
  registry.SetText(ClassKey(), "", kProgId);
  registry.SetText(ClassKey() + "\\ProgID", "", kProgId);
  registry.SetText(ClassKey() + "\\InprocServer32", "", module_path);
  registry.SetText(ClassKey() + "\\InprocServer32", "ThreadingModel", "Apartment");
}

void UnregisterAddIn(host::Registry& registry) {
  registry.DeleteKey(kAddInKey);
  registry.DeleteKey(ProgIdKey());
  registry.DeleteKey(ClassKey());
}

}  // namespace lunavant::shell

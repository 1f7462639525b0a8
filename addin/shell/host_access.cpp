// SPDX-License-Identifier: MIT
#include "addin/shell/host_access.h"

#include <string>

#include "addin/host/error.h"
#include "addin/host/global.h"
#include "addin/host/services.h"
#include "addin/pairing/catalogues.h"
#include "addin/shell/messages.h"

namespace lunavant::shell {

host::Application& App() {
  host::Application* app = host::GlobalApplication();
  if (app == nullptr) host::Raise(host::kObjectRequired, std::string(shell::kObjectRequiredText));
  return *app;
}

host::Project& ActiveProject() {
  host::Project* project = App().ActiveProject();
  if (project == nullptr)
    host::Raise(host::kObjectRequired, std::string(shell::kObjectRequiredText));
  return *project;
}

void ShowExclamation(std::string_view text) {
  App().Services().Messages().MsgBox(std::string(text), host::MsgBoxStyle::kOkExclamation,
                                     pairing::MsgTitle());
}

bool AskYesNo(std::string_view text) {
  return App().Services().Messages().MsgBox(std::string(text),
                                            host::MsgBoxStyle::kYesNoExclamationYesFirst,
                                            pairing::MsgTitle()) == host::MsgBoxResult::kYes;
}

}  // namespace lunavant::shell

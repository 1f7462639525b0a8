// SPDX-License-Identifier: MIT
#include "addin/shell/host_access.h"

#include <string>

#include "addin/base/utilities.h"
#include "addin/host/error.h"
#include "addin/host/global.h"
#include "addin/host/services.h"
#include "addin/shell/messages.h"

namespace lunavant::shell {

host::Application& App() { return host::RequireApplication(); }

host::Project& ActiveProject() { return host::RequireActiveProject(); }

void ShowExclamation(std::string_view text) {
  App().Services().Messages().MsgBox(std::string(text), host::MsgBoxStyle::kOkExclamation,
                                     base::MsgTitle());
}

bool AskYesNo(std::string_view text) {
  return App().Services().Messages().MsgBox(std::string(text),
                                            host::MsgBoxStyle::kYesNoExclamationYesFirst,
                                            base::MsgTitle()) == host::MsgBoxResult::kYes;
}

}  // namespace lunavant::shell

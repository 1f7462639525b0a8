// SPDX-License-Identifier: MIT
#include "addin/base/host_access.h"

#include <string>

#include "addin/base/utilities.h"
#include "addin/host/error.h"
#include "addin/host/global.h"
#include "addin/host/services.h"

namespace lunavant::base {

host::Application& App() { return host::RequireApplication(); }

host::Project& ActiveProject() { return host::RequireActiveProject(); }

host::RegionalSettings& Regional() { return App().Services().Regional(); }

void ShowExclamation(std::string_view text) {
  App().Services().Messages().MsgBox(std::string(text), host::MsgBoxStyle::kOkExclamation,
                                     MsgTitle());
}

bool AskYesNo(std::string_view text) {
  return App().Services().Messages().MsgBox(std::string(text),
                                            host::MsgBoxStyle::kYesNoExclamationYesFirst,
                                            MsgTitle()) == host::MsgBoxResult::kYes;
}

}  // namespace lunavant::base

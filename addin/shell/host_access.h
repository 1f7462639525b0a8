// SPDX-License-Identifier: MIT
// The shell's way to the host: the application through the host's global object, and the two
// kinds of message box every command uses, titled MsgTitle.
#pragma once

#include <string_view>

#include "addin/host/object_model.h"

namespace lunavant::shell {

// The host's global application; fails with kObjectRequired while there is none.
host::Application& App();
// The active project; fails with kObjectRequired when no project is open.
host::Project& ActiveProject();
// One OK button and the exclamation icon. Fails when there is no host to show it.
void ShowExclamation(std::string_view text);
// Yes and No with the exclamation icon, Yes the default; true for Yes.
bool AskYesNo(std::string_view text);

}  // namespace lunavant::shell

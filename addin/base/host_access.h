// SPDX-License-Identifier: MIT
// The add-in's one way to the host: the application through the host's global object, its active
// project and regional settings, and the two kinds of message box every command uses, titled
// MsgTitle. Each call looks the application up afresh, so none outlives a disconnection.
#pragma once

#include <string_view>

#include "addin/host/object_model.h"
#include "addin/host/services.h"

namespace lunavant::base {

// The host's global application; fails with kObjectRequired while there is none.
host::Application& App();
// The active project; fails with kObjectRequired when no project is open.
host::Project& ActiveProject();
// The application's regional settings; fails as App does.
host::RegionalSettings& Regional();
// One OK button and the exclamation icon. Fails when there is no host to show it.
void ShowExclamation(std::string_view text);
// Yes and No with the exclamation icon, Yes the default; true for Yes.
bool AskYesNo(std::string_view text);

}  // namespace lunavant::base

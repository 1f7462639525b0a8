// SPDX-License-Identifier: MIT
// The host's own messages (a refused cell, the question before an unsaved project closes) in the
// user's language. The host composes its messages in English; a message that has the form of one
// of the host's is given in the catalogue's wording, with the values it names (a field, a typed
// text, a task) put in. Any other text, an add-in's message above all, is shown as it is.
#pragma once

#include <QString>
#include <string>

namespace lunavant::desktop {

// `message` in the user's language when it is one of the host's; otherwise as it is.
QString shownHostMessage(const std::string& message);

// The host's own title for its message boxes, in the user's language; any other title (the
// add-in's) as it is.
QString shownMessageTitle(const std::string& title);

}  // namespace lunavant::desktop

// SPDX-License-Identifier: MIT
// The host's own names as the interface shows them: its built-in toolbars and their buttons, its
// task tables, its fields and the titles of its default columns, in the user's language. The host
// keeps its names (the add-in and project files know them), and names the host does not own (an
// add-in's toolbar and captions, a field's alias, a title the user gave) are shown as they are:
// callers ask only for what the host owns.
#pragma once

#include <QString>
#include <string_view>

namespace lunavant::desktop {

// `name` in the user's language; unchanged when the catalogue has no translation of it.
QString shownHostName(std::string_view name);

// Whether `title` is one the host's default tables give a column; a title the user or an add-in
// gave is shown as it is.
bool isDefaultTitle(std::string_view title);

}  // namespace lunavant::desktop

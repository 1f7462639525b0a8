// SPDX-License-Identifier: MIT
// The three toolbar commands, after the busy check: Add pairs a date column of the current table
// with a free text field through the dialog "Add Hijri Field", Remove releases a pair through
// "Remove Hijri Field" after a confirmation, Refresh rewrites every Hijri text. Each step that
// fails is skipped silently and the next one runs; nothing escapes into the host.
#pragma once

namespace lunavant::events {
class MSProjEvents;
}

namespace lunavant::shell {

// `events` (may be null) is the connection's event object, which makes sure the active
// project's slot holds that project's pairs before they are read or changed.
void RunAddCommand(events::MSProjEvents* events) noexcept;
void RunRemoveCommand(events::MSProjEvents* events) noexcept;
void RunRefreshCommand() noexcept;

}  // namespace lunavant::shell

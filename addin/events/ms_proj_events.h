// SPDX-License-Identifier: MIT
// The add-in's one event object: it keeps each Hijri pair in step on task edits and
// recalculations, and restores or drops a project's pairs as projects open and close. Its
// construction fills the field catalogues. Everything runs on the host's user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "addin/host/object_model.h"
#include "addin/pairing/keyed_collection.h"

namespace lunavant::events {

class MSProjEvents {
 public:
  // Fills the catalogues and the message title; the members start as below.
  MSProjEvents();
  MSProjEvents(const MSProjEvents&) = delete;
  MSProjEvents& operator=(const MSProjEvents&) = delete;
  virtual ~MSProjEvents() = default;

  // The host application whose events arrive here, and the project whose Open event does.
  host::Application* objProjectApp = nullptr;
  host::Project* Proj = nullptr;

  // False while a partner field is written and for the whole of a recalculation handler: every
  // task change arriving meanwhile is ignored.
  bool SyncEnabled = true;
  // A project was created or opened and its pairs are not yet restored on window activation.
  bool ProjectOpening = false;
  // No project is known to be open; task edits then look in slot 0.
  bool NoProjectOpen = true;
  // The slot of the active project when a project was last closed.
  std::int16_t ClosedProjectSlot = 0;
  // A paired edit was converted and written since the last recalculation.
  bool EditSynced = false;
  // ID of the task in the last change event seen while SyncEnabled was true. Held in 32 bits:
  // the host allows far more than 32,767 tasks.
  std::int32_t LastChangedTaskId = 0;
  // Tasks already refreshed by the current targeted refresh, by decimal ID.
  pairing::KeyedCollection<bool> VisitedTasks;
};

}  // namespace lunavant::events

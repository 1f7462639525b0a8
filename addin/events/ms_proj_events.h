// SPDX-License-Identifier: MIT
// The add-in's one event object: it keeps each Hijri pair in step on task edits and
// recalculations, and restores or drops a project's pairs as projects open and close. Its
// construction fills the field catalogues. Everything runs on the host's user-interface thread,
// and every handler ends in its own error trap: nothing escapes into the host.
//
//   MSProjEvents events;
//   events.Bind(app, app.ActiveProject());  // from now on the host's events arrive here
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addin/base/keyed_collection.h"
#include "addin/host/events.h"
#include "addin/host/object_model.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::events {

class MSProjEvents final : public host::ApplicationEvents, public host::ProjectEvents {
 public:
  // Fills the catalogues and the message title and trusts no slot's owner; the members start as
  // below.
  MSProjEvents();
  MSProjEvents(const MSProjEvents&) = delete;
  MSProjEvents& operator=(const MSProjEvents&) = delete;
  // Detaches from the host's events: none arrives here afterwards.
  ~MSProjEvents() override;

  // Receives the application's events from `app` and the Open event of `project` (which may be
  // null when no project is active). A project already open when the add-in connects has its
  // pairs restored at once, and task edits use its slot from then on.
  void Bind(host::Application& app, host::Project* project);

  // Rebuilds the pairs of `pj` from the aliases of the text fields its task tables show, in the
  // slot `pj` reports. Adds to the pairs the slot holds for `pj`; a slot last filled for another
  // project is emptied first. Aliases are read through the application, which answers for the
  // active project only, so another project restores nothing. Failures are skipped silently.
  void RestoreAssignments(host::Project& pj);

  // The slot of `pj`, its pairs made sure to be those of `pj` first: when the slot was last
  // filled for another project, or a close has intervened, they are rebuilt from the aliases of
  // `pj` (only the active project can be rebuilt; another one is left with an empty slot until
  // it is active). Commands call it before they read or change the active project's pairs.
  // Returns the index number as the host reports it, even outside 0..100, where the registry
  // refuses it. Fails as the host call that fails.
  std::int32_t ProjectSlotOf(host::Project& pj);

  // The handlers, one per host event.
  void objProjectApp_ProjectBeforeTaskChange(host::Task& tsk, host::FieldId Field,
                                             const host::Value& NewVal, bool& Cancel);
  void objProjectApp_ProjectCalculate(host::Project& pj);
  void objProjectApp_NewProject(host::Project& pj);
  void objProjectApp_ProjectBeforeClose(host::Project* pj, bool& Cancel);
  void objProjectApp_ProjectBeforeSave(host::Project& pj, bool SaveAsUi, bool& Cancel);
  void objProjectApp_WindowActivate(host::Window* activatedWindow);
  void Proj_Open(host::Project& pj);

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
  base::KeyedCollection<bool> VisitedTasks;

 private:
  // host::ApplicationEvents and host::ProjectEvents, forwarded to the handlers above.
  void ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field, const host::Value& new_value,
                               bool& cancel) override;
  void ProjectCalculate(host::Project& pj) override;
  void NewProject(host::Project& pj) override;
  void ProjectBeforeClose(host::Project* pj, bool& cancel) override;
  void ProjectBeforeSave(host::Project& pj, bool save_as_ui, bool& cancel) override;
  void WindowActivate(host::Window* activated_window) override;
  void Open(host::Project& pj) override;

  void Unbind();
  // After a close, tells a cancelled close of the last project from a completed one: the project
  // is still open, so it is known to be open again.
  void SettleAfterClose();
  host::Application& App() const;
  void SetPointer(std::int32_t code) const;

  // A date field and the Hijri text field paired with it.
  struct FieldPair {
    host::FieldId text_field;
    host::FieldId date_field;
  };
  // The slot's pairs in the order its map lists them, those paired both ways only.
  static std::vector<FieldPair> PairsToRefresh(std::int32_t slot);
  // Rewrites every paired Hijri field of one task; the first failure ends it and is shown.
  void RefreshTaskHijriFields(host::Task& task, std::int32_t slot);
  // The same with the slot's pairs read beforehand: a full refresh reads them once for all tasks.
  void RefreshTaskHijriFields(host::Task& task, const std::vector<FieldPair>& pairs);
  static void RefreshPairsOf(host::Task& task, const std::vector<FieldPair>& pairs);
  // Refreshes `task` after the tasks related to it, depth first; each task reports its own last
  // failure.
  void RefreshLinkedTasks(host::Task& task, std::int32_t slot);
  // No subtasks, no dependency texts and no parent.
  static bool IsStandaloneTask(const host::Task& task);

  // A project close was announced and not yet followed by any other event.
  bool close_pending_ = false;
};

}  // namespace lunavant::events

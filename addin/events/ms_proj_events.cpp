// SPDX-License-Identifier: MIT
#include "addin/events/ms_proj_events.h"

#include <memory>
#include <optional>
#include <vector>

#include "addin/base/error_style.h"
#include "addin/base/utilities.h"
#include "addin/codec/date_text.h"
#include "addin/codec/field_conversion.h"
#include "addin/host/error.h"
#include "addin/host/services.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::events {
namespace {

using base::CollectionHasKey;
using base::KeyText;

bool IsEmptyText(const host::Value& value) {
  return value.IsEmpty() || (value.IsText() && value.Text().empty());
}

std::int16_t To16Bits(std::int32_t value) {
  if (value < INT16_MIN || value > INT16_MAX) host::RaiseRuntime(host::kOverflow);
  return static_cast<std::int16_t>(value);
}

}  // namespace

MSProjEvents::MSProjEvents() {
  pairing::SetForceRefresh(false);
  pairing::InitCatalogues();
  // Owners noted by an earlier event object may name projects that are gone.
  pairing::ForgetOwner(nullptr);
}

MSProjEvents::~MSProjEvents() { Unbind(); }

void MSProjEvents::Bind(host::Application& app, host::Project* project) {
  Unbind();
  // Owners noted under an earlier binding may name projects that are gone.
  pairing::ForgetOwner(nullptr);
  objProjectApp = &app;
  app.AddEventSink(*this);
  Proj = project;
  if (Proj != nullptr) Proj->AddEventSink(*this);
  // The project was opened before the add-in connected, so neither NewProject nor a window
  // activation of an opening project will come to restore it.
  if (project != nullptr) {
    RestoreAssignments(*project);
    NoProjectOpen = false;
  }
}

void MSProjEvents::Unbind() {
  if (Proj != nullptr) Proj->RemoveEventSink(*this);
  Proj = nullptr;
  if (objProjectApp != nullptr) objProjectApp->RemoveEventSink(*this);
  objProjectApp = nullptr;
}

host::Application& MSProjEvents::App() const {
  if (objProjectApp == nullptr) host::RaiseRuntime(host::kObjectRequired);
  return *objProjectApp;
}

void MSProjEvents::SetPointer(std::int32_t code) const {
  App().Services().Pointer().SetMousePointer(code);
}

// Slots ------------------------------------------------------------------------------------

void MSProjEvents::SettleAfterClose() {
  if (!close_pending_) return;
  close_pending_ = false;
  if (NoProjectOpen && App().ProjectCount() > 0 && App().ActiveProject() != nullptr) {
    NoProjectOpen = false;
  }
}

std::int32_t MSProjEvents::ProjectSlotOf(host::Project& pj) {
  SettleAfterClose();
  const std::int32_t slot = pj.Index();
  if (slot < 0 || slot > pairing::kLastSlot) return slot;
  if (pairing::SlotOwner(slot) != &pj) {
    RestoreAssignments(pj);
    // Not restorable now (not the active project): whatever the slot holds belongs to another.
    if (pairing::SlotOwner(slot) != &pj) pairing::ClearSlot(slot);
  }
  return slot;
}

// Task edits --------------------------------------------------------------------------------

void MSProjEvents::objProjectApp_ProjectBeforeTaskChange(host::Task& tsk, host::FieldId Field,
                                                         const host::Value& NewVal, bool& Cancel) {
  if (!SyncEnabled) return;
  // From here on the handler owns the flag, and gives it back whatever happens.
  bool writing_partner = false;
  const bool completed = base::ReportAtOnce([&] {
    SettleAfterClose();
    std::int64_t slot = 0;
    if (!ProjectOpening && App().ProjectCount() > 0 && !NoProjectOpen &&
        App().ActiveProject() != nullptr) {
      slot = ProjectSlotOf(*App().ActiveProject());
    }
    // The maps refuse a slot outside 0..100 before anything is looked up.

    const std::string key = KeyText(Field);
    const bool is_hijri_field = CollectionHasKey(key, pairing::HijriToGreg(slot));
    const bool is_date_field = CollectionHasKey(key, pairing::GregToHijri(slot));
    if (is_hijri_field || is_date_field) {
      SyncEnabled = false;
      writing_partner = true;
      std::string_view direction;
      host::FieldId partner = 0;
      if (is_hijri_field) {
        if (!tsk.Subtasks().empty()) Cancel = true;
        direction = codec::kKindGregorian;
        partner = pairing::HijriToGreg(slot).Item(key);
      } else {
        direction = codec::kKindHijri;
        partner = pairing::GregToHijri(slot).Item(key);
      }
      if (!Cancel) {
        const bool read_only = base::ArrayContains(partner, pairing::ReadOnlyDateFields());
        const bool written =
            !read_only && codec::ConvertAndSetField(tsk, partner, NewVal, direction);
        if (written)
          EditSynced = true;
        else
          Cancel = !(IsEmptyText(NewVal) && !read_only);
      }
      SyncEnabled = true;
      writing_partner = false;
    }
    LastChangedTaskId = tsk.ID();
  });
  // A partner the host would not take leaves the pair as it was: the edit is refused too.
  if (!completed && writing_partner) Cancel = true;
  SyncEnabled = true;
}

// Recalculation ----------------------------------------------------------------------------

void MSProjEvents::objProjectApp_ProjectCalculate(host::Project& pj) {
  SyncEnabled = false;
  base::LastFailureReport trap;
  // Read once: a slot the registry refuses fails here, once, instead of once per task.
  std::int32_t slot = 0;
  const bool slot_usable = trap.Step([&] {
    slot = ProjectSlotOf(pj);
    pairing::GregToHijri(slot);
  });

  if (pairing::ForceRefresh() || !EditSynced) {
    trap.Step([&] { SetPointer(host::kPointerBusy); });
    std::int32_t task_count = 0;
    if (slot_usable) trap.Step([&] { task_count = pj.TaskCount(); });
    // The writes below raise only ProjectBeforeTaskChange, which the add-in ignores while it
    // refreshes, so the pairs read here hold for every task.
    std::optional<std::vector<FieldPair>> pairs;
    if (task_count > 0) trap.Step([&] { pairs = PairsToRefresh(slot); });
    for (std::int32_t position = 1; position <= task_count; ++position) {
      trap.Step([&] {
        host::Task* task = pj.TaskAt(position);
        if (task == nullptr) return;
        if (pairs)
          RefreshTaskHijriFields(*task, *pairs);
        else
          RefreshTaskHijriFields(*task, slot);
      });
    }
    trap.Step([&] { SetPointer(host::kPointerDefault); });
    pairing::SetForceRefresh(false);
  }

  if (EditSynced && !pairing::ForceRefresh()) {
    trap.Step([&] { SetPointer(host::kPointerBusy); });
    trap.Step([&] {
      if (slot_usable && LastChangedTaskId > 0 && LastChangedTaskId <= pj.TaskCount()) {
        if (host::Task* task = pj.TaskAt(LastChangedTaskId)) RefreshLinkedTasks(*task, slot);
      }
    });
    const std::int32_t visited = VisitedTasks.Count();
    for (std::int32_t i = 0; i < visited; ++i) VisitedTasks.Remove(1);
    trap.Step([&] { SetPointer(host::kPointerDefault); });
  }

  SyncEnabled = true;
  EditSynced = false;
  trap.ReportLast();
}

std::vector<MSProjEvents::FieldPair> MSProjEvents::PairsToRefresh(std::int32_t slot) {
  std::vector<FieldPair> pairs;
  const std::int32_t pair_count = pairing::GregToHijri(slot).Count();
  pairs.reserve(static_cast<std::size_t>(pair_count));
  for (std::int32_t position = 1; position <= pair_count; ++position) {
    const host::FieldId text_field = pairing::GregToHijri(slot).Item(position);
    // One lookup stands for CollectionHasKey and Item.
    const host::FieldId* date_field = pairing::HijriToGreg(slot).ItemIfPresent(KeyText(text_field));
    if (date_field != nullptr) pairs.push_back({text_field, *date_field});
  }
  return pairs;
}

void MSProjEvents::RefreshTaskHijriFields(host::Task& task, std::int32_t slot) {
  base::ReportAtOnce([&] { RefreshPairsOf(task, PairsToRefresh(slot)); });
}

void MSProjEvents::RefreshTaskHijriFields(host::Task& task, const std::vector<FieldPair>& pairs) {
  base::ReportAtOnce([&] { RefreshPairsOf(task, pairs); });
}

void MSProjEvents::RefreshPairsOf(host::Task& task, const std::vector<FieldPair>& pairs) {
  for (const FieldPair& pair : pairs) {
    std::string shown = task.GetField(pair.date_field);
    if (!shown.empty()) {
      codec::ConvertAndSetField(task, pair.text_field, host::Value(std::move(shown)),
                                codec::kKindHijri);
    }
  }
}

bool MSProjEvents::IsStandaloneTask(const host::Task& task) {
  return task.Subtasks().empty() && task.Predecessors().empty() && task.Successors().empty() &&
         task.Parent() == nullptr;
}

// The walk keeps its own stack rather than recursing: a chain of links can be as long as the
// project, far deeper than the thread's stack allows.
void MSProjEvents::RefreshLinkedTasks(host::Task& first, std::int32_t slot) {
  struct Level {
    host::Task* task;
    std::vector<host::Task*> relatives;
    std::size_t next = 0;
    base::LastFailureReport trap;
  };
  std::vector<std::unique_ptr<Level>> stack;

  const auto enter = [&](host::Task& task) {
    auto level = std::make_unique<Level>();
    level->task = &task;
    bool entered = false;
    level->trap.Step([&] {
      const std::string key = KeyText(task.ID());
      if (task.ID() == 0 || CollectionHasKey(key, VisitedTasks)) return;
      VisitedTasks.Add(true, key);
      entered = true;
    });
    if (!entered) {
      level->trap.ReportLast();
      return;
    }
    std::vector<host::Task*>& relatives = level->relatives;
    level->trap.Step([&] {
      if (task.OutlineLevel() == 0) {
        for (host::Task* subtask : task.Subtasks()) relatives.push_back(subtask);
      }
    });
    level->trap.Step([&] {
      for (host::Task* linked : task.PredecessorTasks()) relatives.push_back(linked);
    });
    level->trap.Step([&] {
      for (host::Task* linked : task.SuccessorTasks()) relatives.push_back(linked);
    });
    level->trap.Step([&] {
      if (task.OutlineLevel() > 0) relatives.push_back(task.Parent());
    });
    stack.push_back(std::move(level));
  };

  enter(first);
  while (!stack.empty()) {
    Level& level = *stack.back();
    if (level.next < level.relatives.size()) {
      host::Task* relative = level.relatives[level.next++];
      if (relative == nullptr) continue;
      host::Task* descend = nullptr;
      level.trap.Step([&] {
        if (relative->ID() == 0 || CollectionHasKey(KeyText(relative->ID()), VisitedTasks)) return;
        if (IsStandaloneTask(*relative))
          RefreshTaskHijriFields(*relative, slot);
        else
          descend = relative;
      });
      if (descend != nullptr) enter(*descend);
      continue;
    }
    level.trap.Step([&] { RefreshTaskHijriFields(*level.task, slot); });
    level.trap.ReportLast();
    stack.pop_back();
  }
}

// Project lifecycle -------------------------------------------------------------------------

void MSProjEvents::RestoreAssignments(host::Project& pj) {
  // The alias lookup answers for the active project: another project's aliases would pair fields
  // of `pj` that it never paired.
  const bool restorable = base::SkipFailure([&] {
    if (App().ActiveProject() != &pj) host::RaiseRuntime(host::kObjectRequired);
    pairing::ClaimSlot(pj, pj.Index());
  });
  if (!restorable) return;
  std::int32_t table_count = 0;
  base::SkipFailure([&] { table_count = pj.TaskTableCount(); });
  for (std::int32_t t = 1; t <= table_count; ++t) {
    std::int32_t column_count = 0;
    base::SkipFailure([&] { column_count = pj.TaskTable(t).Columns().Count(); });
    for (std::int32_t j = 1; j <= column_count; ++j) {
      base::SkipFailure([&] {
        const std::int32_t slot = pj.Index();
        const host::FieldId field = pj.TaskTable(t).Columns().Item(j).Field();
        const std::string alias = App().CustomFieldGetName(field);
        if (base::ArrayContains(alias, pairing::HijriFieldTitles()) &&
            base::ArrayContains(field, pairing::CustomTextFields())) {
          pairing::AddPair(field, pairing::DateFieldOfTitle(alias), slot);
        }
      });
    }
  }
}

void MSProjEvents::objProjectApp_NewProject(host::Project& /*pj*/) {
  ProjectOpening = true;
  NoProjectOpen = false;
}

void MSProjEvents::Proj_Open(host::Project& pj) {
  ProjectOpening = true;
  base::SkipFailure([&] { RestoreAssignments(pj); });
}

void MSProjEvents::objProjectApp_WindowActivate(host::Window* /*activatedWindow*/) {
  base::SkipFailure([&] { SettleAfterClose(); });
  host::Project* active = nullptr;
  base::SkipFailure([&] { active = App().ActiveProject(); });
  if (active == nullptr) return;
  base::SkipFailure([&] { ProjectSlotOf(*active); });
  // Each part of the condition that cannot be read counts as false.
  bool saved = false;
  bool other_slot = false;
  base::SkipFailure([&] { saved = active->Saved(); });
  base::SkipFailure([&] { other_slot = ClosedProjectSlot != active->Index(); });
  if ((saved || other_slot) && ProjectOpening) {
    base::SkipFailure([&] { RestoreAssignments(*active); });
    ProjectOpening = false;
    NoProjectOpen = false;
  }
}

void MSProjEvents::objProjectApp_ProjectBeforeClose(host::Project* pj, bool& /*Cancel*/) {
  base::SkipFailure([&] {
    if (App().ProjectCount() <= 1) NoProjectOpen = true;
  });
  close_pending_ = true;
  // The pairs dropped are those of the project closing; the active project stands in only when
  // the host cannot name it, and then no slot's owner is trusted any more.
  host::Project* closing = pj;
  if (closing == nullptr) base::SkipFailure([&] { closing = App().ActiveProject(); });
  pairing::ForgetOwner(pj);
  if (closing == nullptr) return;
  // The slot is cleared only when it could be read: a stale one would drop the pairs of
  // another open project. A cancelled close gets its pairs back from the aliases on next use.
  base::SkipFailure([&] {
    ClosedProjectSlot = To16Bits(closing->Index());
    pairing::ClearSlot(ClosedProjectSlot);
  });
  // The project object ends with the close; its Open event can no longer arrive.
  if (pj == Proj) {
    base::SkipFailure([&] { Proj->RemoveEventSink(*this); });
    Proj = nullptr;
  }
}

void MSProjEvents::objProjectApp_ProjectBeforeSave(host::Project& /*pj*/, bool /*SaveAsUi*/,
                                                   bool& /*Cancel*/) {}

// Host event delivery -----------------------------------------------------------------------

void MSProjEvents::ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field,
                                           const host::Value& new_value, bool& cancel) {
  objProjectApp_ProjectBeforeTaskChange(tsk, field, new_value, cancel);
}
void MSProjEvents::ProjectCalculate(host::Project& pj) { objProjectApp_ProjectCalculate(pj); }
void MSProjEvents::NewProject(host::Project& pj) { objProjectApp_NewProject(pj); }
void MSProjEvents::ProjectBeforeClose(host::Project* pj, bool& cancel) {
  objProjectApp_ProjectBeforeClose(pj, cancel);
}
void MSProjEvents::ProjectBeforeSave(host::Project& pj, bool save_as_ui, bool& cancel) {
  objProjectApp_ProjectBeforeSave(pj, save_as_ui, cancel);
}
void MSProjEvents::WindowActivate(host::Window* activated_window) {
  objProjectApp_WindowActivate(activated_window);
}
void MSProjEvents::Open(host::Project& pj) { Proj_Open(pj); }

}  // namespace lunavant::events

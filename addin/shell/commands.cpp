// SPDX-License-Identifier: MIT
#include "addin/shell/commands.h"

#include <memory>
#include <optional>
#include <string>

#include "addin/base/error_style.h"
#include "addin/base/host_access.h"
#include "addin/events/ms_proj_events.h"
#include "addin/host/dialogs.h"
#include "addin/host/services.h"
#include "addin/pairing/pair_registry.h"
#include "addin/pairing/pick_lists.h"
#include "addin/shell/hijri_add_frm.h"
#include "addin/shell/hijri_remove_frm.h"
#include "addin/shell/messages.h"
#include "addin/tables/table_ops.h"

namespace lunavant::shell {
namespace {

using base::ActiveProject;
using base::App;
using base::AskYesNo;
using base::ShowExclamation;
using base::SkipFailure;

// Read afresh at each use: the project's position may change while a dialog is open.
pairing::ProjectSlot ActiveSlot(events::MSProjEvents* events) {
  host::Project& project = ActiveProject();
  return events != nullptr ? events->ProjectSlotOf(project) : project.Index();
}

std::string CurrentTableName() {
  std::string table;
  SkipFailure([&] { table = ActiveProject().CurrentTable(); });
  return table;
}

}  // namespace

void RunAddCommand(events::MSProjEvents* events) noexcept {
  SkipFailure([&] {
    const std::string table = CurrentTableName();
    std::optional<HijriAddFrm> form;
    SkipFailure([&] { form.emplace(App().Services().Dialogs()); });
    if (!form) return;
    SkipFailure([&] { pairing::FillGregFieldList(form->GregField(), table, ActiveSlot(events)); });
    if (form->GregField().Count() == 0) {
      SkipFailure([&] { ShowExclamation(kNoGregorianFields); });
      return;
    }
    SkipFailure([&] { pairing::FillHijriFieldList(form->HijriField(), ActiveSlot(events)); });
    SkipFailure([&] { form->Show(); });
    if (form->F_Cancel) return;

    host::FieldId hijri_field = 0;
    host::FieldId greg_field = 0;
    std::string title;
    SkipFailure([&] { pairing::ResolveAddChoice(hijri_field, greg_field, title); });
    if (hijri_field == 0 || greg_field == 0) return;
    SkipFailure([&] { pairing::AddPair(hijri_field, greg_field, ActiveSlot(events)); });
    SkipFailure([&] { tables::AddHijriColumn(table, hijri_field, title, greg_field); });
    SkipFailure([&] { tables::RefreshTable(table); });
  });
}

void RunRemoveCommand(events::MSProjEvents* events) noexcept {
  SkipFailure([&] {
    const std::string table = CurrentTableName();
    std::optional<HijriRemoveFrm> form;
    SkipFailure([&] { form.emplace(App().Services().Dialogs()); });
    if (!form) return;
    pairing::FieldMap HijriNameMap;
    SkipFailure([&] {
      pairing::FillAssignedHijriList(form->HijriField(), HijriNameMap, table, ActiveSlot(events));
    });
    if (form->HijriField().Count() == 0) {
      SkipFailure([&] { ShowExclamation(kNoHijriFields); });
      return;
    }
    SkipFailure([&] { form->Show(); });
    if (form->F_Cancel) return;

    host::FieldId hijri_field = 0;
    host::FieldId greg_field = 0;
    std::string picked_name;
    SkipFailure([&] {
      pairing::ResolveRemoveChoice(form->HijriField(), HijriNameMap, ActiveSlot(events),
                                   hijri_field, greg_field, picked_name);
    });
    // Asking about a name that ties to no pair would have a Yes remove nothing.
    if (hijri_field == 0 || greg_field == 0) {
      SkipFailure([&] { ShowExclamation(kHijriFieldNotAssigned); });
      return;
    }
    bool confirmed = false;
    SkipFailure([&] {
      confirmed = AskYesNo(std::string(kConfirmRemoveBefore) + picked_name +
                           std::string(kConfirmRemoveAfter));
    });
    if (!confirmed) return;
    SkipFailure([&] { pairing::RemovePair(hijri_field, greg_field, ActiveSlot(events)); });
    SkipFailure([&] { tables::RemoveHijriColumn(table, hijri_field); });
    SkipFailure([&] { tables::RefreshTable(table); });
  });
}

void RunRefreshCommand() noexcept {
  const std::string table = CurrentTableName();
  SkipFailure([&] { tables::RefreshTable(table); });
}

}  // namespace lunavant::shell

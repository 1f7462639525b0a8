// SPDX-License-Identifier: MIT
#include "addin/pairing/pick_lists.h"

#include "addin/base/host_access.h"
#include "addin/base/utilities.h"
#include "addin/host/error.h"
#include "addin/pairing/catalogues.h"

namespace lunavant::pairing {
namespace {

// The one task table whose columns do not make a custom text field count as in use: it lists
// fields for data exchange, not for the user's own data. Matched exactly, letter case included.
constexpr std::string_view kExportTable = "Export";
constexpr std::string_view kDefaultTitlePrefix = "Hijri";

using base::ActiveProject;
using base::App;

// Whether a column of any task table but "Export" shows the field. Every table is walked to its
// end: the answer does not stop the walk.
bool ShownOutsideExport(host::Project& project, host::FieldId field) {
  bool in_use = false;
  const std::int32_t table_count = project.TaskTableCount();
  for (std::int32_t t = 1; t <= table_count; ++t) {
    const std::int32_t column_count = project.TaskTable(t).Columns().Count();
    for (std::int32_t c = 1; c <= column_count; ++c) {
      if (project.TaskTable(t).Columns().Item(c).Field() == field &&
          project.TaskTable(t).Name() != kExportTable) {
        in_use = true;
      }
    }
  }
  return in_use;
}

// A text field that already holds something on any task keeps the user's own values; a Hijri
// column would write over every one of them.
bool HoldsValues(host::Project& project, host::FieldId field) {
  const std::int32_t count = project.TaskCount();
  for (std::int32_t i = 1; i <= count; ++i) {
    const host::Task* task = project.TaskAt(i);
    if (task != nullptr && !task->GetField(field).empty()) return true;
  }
  return false;
}

bool ListHas(const host::ListControl& list, const std::string& text) {
  const std::int32_t count = list.Count();
  for (std::int32_t i = 0; i < count; ++i) {
    if (list.Entry(i) == text) return true;
  }
  return false;
}

// The name under which the remove list shows a field.
std::string ShownName(host::Application& app, host::FieldId field) {
  std::string shown = app.CustomFieldGetName(field);
  if (shown.empty()) shown = app.FieldConstantToFieldName(field);
  return shown;
}

// How a picked name stands to the remove list, whose name map keeps one field per name, letter
// case ignored: the first listed.
enum class Listing {
  kNotListed,
  kMapped,         // the only listed name it matches, or the first of them as listed
  kLaterSpelling,  // listed exactly, but the map kept another spelling's field
  kAmbiguous       // matches several listed names and is none of them exactly
};

Listing ListingOf(const host::ListControl& offered, const std::string& name) {
  const std::int32_t count = offered.Count();
  std::int32_t matches = 0;
  bool first_is_exact = false;
  bool later_is_exact = false;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string entry = offered.Entry(i);
    if (base::detail::FoldKey(entry) != base::detail::FoldKey(name)) continue;
    if (entry == name) {
      if (matches == 0) {
        first_is_exact = true;
      } else {
        later_is_exact = true;
      }
    }
    ++matches;
  }
  if (matches == 0) return Listing::kNotListed;
  if (matches == 1 || first_is_exact) return Listing::kMapped;
  return later_is_exact ? Listing::kLaterSpelling : Listing::kAmbiguous;
}

// The paired text field shown exactly as `name`, or 0.
host::FieldId PairedFieldShownAs(ProjectSlot slot, const std::string& name) {
  host::Application& app = App();
  const FieldMap& paired = GregToHijri(slot);
  for (std::int32_t i = 1; i <= paired.Count(); ++i) {
    if (ShownName(app, paired.Item(i)) == name) return paired.Item(i);
  }
  return 0;
}

}  // namespace

void FillGregFieldList(host::ListControl& list, std::string_view table_name, ProjectSlot slot) {
  const FieldMap& paired = GregToHijri(slot);
  host::Project& project = ActiveProject();
  const std::int32_t count = project.TaskTable(table_name).Columns().Count();
  for (std::int32_t i = 1; i <= count; ++i) {
    const host::FieldId field = project.TaskTable(table_name).Columns().Item(i).Field();
    if (base::ArrayContains(field, GregDateFields()) &&
        !base::CollectionHasKey(base::KeyText(field), paired)) {
      list.Append(App().FieldConstantToFieldName(field));
    }
  }
}

void FillHijriFieldList(host::ListControl& list, ProjectSlot slot) {
  const FieldMap& paired = HijriToGreg(slot);
  host::Application& app = App();
  host::Project& project = ActiveProject();
  for (const host::FieldId field : CustomTextFields()) {
    const std::string alias = app.CustomFieldGetName(field);
    const std::string formula = app.CustomFieldGetFormula(field);
    const bool in_use = ShownOutsideExport(project, field);
    if (alias.empty() && formula.empty() && !base::CollectionHasKey(base::KeyText(field), paired) &&
        !in_use && !HoldsValues(project, field)) {
      list.Append(app.FieldConstantToFieldName(field));
    }
  }
}

void FillAssignedHijriList(host::ListControl& list, FieldMap& name_map, std::string_view table_name,
                           ProjectSlot slot) {
  const FieldMap& paired = HijriToGreg(slot);
  host::Application& app = App();
  host::Project& project = ActiveProject();
  const std::int32_t count = project.TaskTable(table_name).Columns().Count();
  for (std::int32_t i = 1; i <= count; ++i) {
    const host::FieldId field = project.TaskTable(table_name).Columns().Item(i).Field();
    // The alias is asked for only once the field is known to be paired: the host keeps aliases
    // for custom fields alone and refuses the question for ID, Name, Start and the rest.
    if (!base::CollectionHasKey(base::KeyText(field), paired)) continue;
    const std::string shown = ShownName(app, field);
    if (ListHas(list, shown)) continue;
    list.Append(shown);
    if (!base::CollectionHasKey(shown, name_map)) name_map.Add(field, shown);
  }
}

void ResolveAddChoice(host::FieldId& hijri_field, host::FieldId& greg_field, std::string& title) {
  host::Application& app = App();
  greg_field = app.FieldNameToFieldConstant(ChosenGregField());
  hijri_field = app.FieldNameToFieldConstant(ChosenHijriField());
  title = ChosenHijriTitle();
  if (title.empty()) {
    title = std::string(kDefaultTitlePrefix).append(app.FieldConstantToFieldName(greg_field));
  }
}

void ResolveRemoveChoice(const host::ListControl& offered, const FieldMap& name_map,
                         ProjectSlot slot, host::FieldId& hijri_field, host::FieldId& greg_field,
                         std::string& picked_name) {
  picked_name = ChosenHijriField();
  host::FieldId field = 0;
  switch (ListingOf(offered, picked_name)) {
    case Listing::kMapped:
      field = name_map.Item(picked_name);
      break;
    case Listing::kLaterSpelling:
      field = PairedFieldShownAs(slot, picked_name);
      break;
    case Listing::kNotListed:
    case Listing::kAmbiguous:
      break;
  }
  if (field == 0) return;
  greg_field = HijriToGreg(slot).Item(base::KeyText(field));
  hijri_field = field;
}

}  // namespace lunavant::pairing

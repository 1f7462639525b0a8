// SPDX-License-Identifier: MIT
#include "addin/pairing/catalogues.h"

#include "addin/base/utilities.h"
#include "addin/host/error.h"
#include "addin/host/field_ids.h"

namespace lunavant::pairing {
namespace {

std::vector<host::FieldId> g_greg_date_fields;
std::vector<host::FieldId> g_custom_text_fields;
std::vector<std::string> g_hijri_field_titles;
std::vector<host::FieldId> g_read_only_date_fields;
base::KeyedCollection<TitleIndexItem> g_hijri_title_index;
base::KeyedCollection<std::string> g_weekday_names;

}  // namespace

const std::vector<host::FieldId>& GregDateFields() { return g_greg_date_fields; }
const std::vector<std::string>& HijriFieldTitles() { return g_hijri_field_titles; }
const std::vector<host::FieldId>& CustomTextFields() { return g_custom_text_fields; }
const std::vector<host::FieldId>& ReadOnlyDateFields() { return g_read_only_date_fields; }
const base::KeyedCollection<TitleIndexItem>& HijriTitleIndex() { return g_hijri_title_index; }
const base::KeyedCollection<std::string>& WeekdayNames() { return g_weekday_names; }

void InitCatalogues() {
  base::SetMsgTitle("Lunavant");
  using namespace host::field;  // NOLINT(google-build-using-namespace)
  g_greg_date_fields = {kStart,         kFinish,         kEarlyStart,     kEarlyFinish,
                        kLateStart,     kLateFinish,     kActualStart,    kActualFinish,
                        kBaselineStart, kBaselineFinish, kConstraintDate, kCreated};
  g_custom_text_fields.assign(kCustomText.begin(), kCustomText.end());
  g_hijri_field_titles = {"HijriStart",          "HijriFinish",         "HijriEarlyStart",
                          "HijriEarlyFinish",    "HijriLateStart",      "HijriLateFinish",
                          "HijriActualStart",    "HijriActualFinish",   "HijriBaselineStart",
                          "HijriBaselineFinish", "HijriConstraintDate", "HijriCreated"};
  g_read_only_date_fields = {kEarlyStart, kEarlyFinish, kLateStart, kLateFinish, kCreated};

  const char* const weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  for (int day = 0; day < 7; ++day) {
    const std::string key = base::KeyText(day);
    if (!base::CollectionHasKey(key, g_weekday_names)) g_weekday_names.Add(weekdays[day], key);
  }
  BuildTitleIndex(g_greg_date_fields, g_hijri_field_titles, g_hijri_title_index);
}

void BuildTitleIndex(const std::vector<host::FieldId>& date_fields,
                     const std::vector<std::string>& titles,
                     base::KeyedCollection<TitleIndexItem>& index) {
  for (std::size_t i = 0; i < date_fields.size(); ++i) {
    if (i >= titles.size()) host::RaiseRuntime(host::kSubscriptOutOfRange);
    if (!base::CollectionHasKey(titles[i], index)) index.Add(date_fields[i], titles[i]);
    const std::string id_key = base::KeyText(date_fields[i]);
    if (!base::CollectionHasKey(id_key, index)) index.Add(titles[i], id_key);
  }
}

host::FieldId DateFieldOfTitle(std::string_view title) {
  const TitleIndexItem& item = g_hijri_title_index.Item(title);
  if (const auto* field = std::get_if<host::FieldId>(&item)) return *field;
  host::RaiseRuntime(host::kTypeMismatch);
}

std::string TitleOfDateField(host::FieldId date_field) {
  const TitleIndexItem& item = g_hijri_title_index.Item(base::KeyText(date_field));
  if (const auto* title = std::get_if<std::string>(&item)) return *title;
  host::RaiseRuntime(host::kTypeMismatch);
}

namespace detail {
void ResetCatalogues() {
  g_greg_date_fields.clear();
  g_custom_text_fields.clear();
  g_hijri_field_titles.clear();
  g_read_only_date_fields.clear();
  g_hijri_title_index = {};
  g_weekday_names = {};
  base::SetMsgTitle({});
}
}  // namespace detail

}  // namespace lunavant::pairing

// SPDX-License-Identifier: MIT
#include "addin/pairing/catalogues.h"

#include "addin/base/utilities.h"
#include "addin/host/error.h"

namespace lunavant::pairing {
namespace {

std::vector<host::FieldId> g_greg_date_fields;
std::vector<host::FieldId> g_custom_text_fields;
std::vector<std::string> g_hijri_field_titles;
std::vector<host::FieldId> g_read_only_date_fields;
base::KeyedCollection<TitleIndexItem> g_hijri_title_index;
base::KeyedCollection<std::string> g_weekday_names;

constexpr host::FieldId kFirstConsecutiveTextField = 188743997;  // Text11; Text11..Text30 follow

std::vector<host::FieldId> CustomTextFieldList() {
  std::vector<host::FieldId> fields = {188743731, 188743734, 188743737, 188743740, 188743743,
                                       188743746, 188743747, 188743748, 188743749, 188743750};
  for (host::FieldId k = 0; k < 20; ++k) fields.push_back(kFirstConsecutiveTextField + k);
  return fields;
}

}  // namespace

const std::vector<host::FieldId>& GregDateFields() { return g_greg_date_fields; }
const std::vector<std::string>& HijriFieldTitles() { return g_hijri_field_titles; }
const std::vector<host::FieldId>& CustomTextFields() { return g_custom_text_fields; }
const std::vector<host::FieldId>& ReadOnlyDateFields() { return g_read_only_date_fields; }
const base::KeyedCollection<TitleIndexItem>& HijriTitleIndex() { return g_hijri_title_index; }
const base::KeyedCollection<std::string>& WeekdayNames() { return g_weekday_names; }

void InitCatalogues() {
  base::SetMsgTitle("Lunavant");
  g_greg_date_fields = {188743715, 188743716, 188743717, 188743718, 188743719, 188743720,
                        188743721, 188743722, 188743723, 188743724, 188743698, 188743773};
  g_custom_text_fields = CustomTextFieldList();
  g_hijri_field_titles = {"HijriStart",          "HijriFinish",         "HijriEarlyStart",
                          "HijriEarlyFinish",    "HijriLateStart",      "HijriLateFinish",
                          "HijriActualStart",    "HijriActualFinish",   "HijriBaselineStart",
                          "HijriBaselineFinish", "HijriConstraintDate", "HijriCreated"};
  g_read_only_date_fields = {188743717, 188743718, 188743719, 188743720, 188743773};

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
    if (i >= titles.size()) host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
    if (!base::CollectionHasKey(titles[i], index)) index.Add(date_fields[i], titles[i]);
    const std::string id_key = base::KeyText(date_fields[i]);
    if (!base::CollectionHasKey(id_key, index)) index.Add(titles[i], id_key);
  }
}

host::FieldId DateFieldOfTitle(std::string_view title) {
  const TitleIndexItem& item = g_hijri_title_index.Item(title);
  if (const auto* field = std::get_if<host::FieldId>(&item)) return *field;
  host::Raise(host::kTypeMismatch, "Type mismatch");
}

std::string TitleOfDateField(host::FieldId date_field) {
  const TitleIndexItem& item = g_hijri_title_index.Item(base::KeyText(date_field));
  if (const auto* title = std::get_if<std::string>(&item)) return *title;
  host::Raise(host::kTypeMismatch, "Type mismatch");
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

// SPDX-License-Identifier: MIT
#include "addin/pairing/pair_registry.h"

#include <array>
#include <optional>

#include "addin/base/utilities.h"
#include "addin/host/error.h"
#include "addin/pairing/catalogues.h"

namespace lunavant::pairing {
namespace {

constexpr std::size_t kSlotCount = kLastSlot + 1;

std::array<std::optional<FieldMap>, kSlotCount> g_hijri_to_greg;
std::array<std::optional<FieldMap>, kSlotCount> g_greg_to_hijri;
std::array<const host::Project*, kSlotCount> g_slot_owners{};
bool g_force_refresh = false;
std::string g_chosen_greg_field;
std::string g_chosen_hijri_field;
std::string g_chosen_hijri_title;

std::size_t CheckedSlot(std::int64_t slot) {
  if (slot < 0 || slot > kLastSlot) host::RaiseRuntime(host::kSubscriptOutOfRange);
  return static_cast<std::size_t>(slot);
}

FieldMap& SlotMap(std::array<std::optional<FieldMap>, kSlotCount>& maps, std::int64_t slot) {
  std::optional<FieldMap>& map = maps[CheckedSlot(slot)];
  if (!map) map.emplace();
  return *map;
}

void AddIfAbsent(FieldMap& map, host::FieldId key_field, host::FieldId item) {
  const std::string key = base::KeyText(key_field);
  if (!base::CollectionHasKey(key, map)) map.Add(item, key);
}

void RemoveIfPresent(FieldMap& map, host::FieldId key_field) {
  const std::string key = base::KeyText(key_field);
  if (base::CollectionHasKey(key, map)) map.Remove(key);
}

void EmptyFromTheEnd(FieldMap& map) {
  for (std::int32_t position = map.Count(); position >= 1; --position) map.Remove(position);
}

}  // namespace

FieldMap& HijriToGreg(std::int64_t slot) { return SlotMap(g_hijri_to_greg, slot); }
FieldMap& GregToHijri(std::int64_t slot) { return SlotMap(g_greg_to_hijri, slot); }

void AddPair(host::FieldId hijri_field, host::FieldId greg_field, ProjectSlot slot) {
  AddIfAbsent(HijriToGreg(slot), hijri_field, greg_field);
  AddIfAbsent(GregToHijri(slot), greg_field, hijri_field);
}

void RemovePair(host::FieldId hijri_field, host::FieldId greg_field, ProjectSlot slot) {
  RemoveIfPresent(HijriToGreg(slot), hijri_field);
  RemoveIfPresent(GregToHijri(slot), greg_field);
}

void ClearSlot(std::int64_t slot) {
  EmptyFromTheEnd(HijriToGreg(slot));
  EmptyFromTheEnd(GregToHijri(slot));
}

const host::Project* SlotOwner(ProjectSlot slot) {
  if (slot < 0 || slot > kLastSlot) return nullptr;
  return g_slot_owners[static_cast<std::size_t>(slot)];
}

void ClaimSlot(const host::Project& project, ProjectSlot slot) {
  const std::size_t owned = CheckedSlot(slot);
  for (std::size_t other = 0; other < kSlotCount; ++other) {
    if (other != owned && g_slot_owners[other] == &project) {
      g_slot_owners[other] = nullptr;
      ClearSlot(static_cast<std::int64_t>(other));
    }
  }
  if (g_slot_owners[owned] != &project) {
    g_slot_owners[owned] = nullptr;
    ClearSlot(slot);
    g_slot_owners[owned] = &project;
  }
}

void ForgetOwner(const host::Project* project) {
  for (const host::Project*& owner : g_slot_owners) {
    if (project == nullptr || owner == project) owner = nullptr;
  }
}

bool ForceRefresh() { return g_force_refresh; }
void SetForceRefresh(bool value) { g_force_refresh = value; }

std::string& ChosenGregField() { return g_chosen_greg_field; }
std::string& ChosenHijriField() { return g_chosen_hijri_field; }
std::string& ChosenHijriTitle() { return g_chosen_hijri_title; }

void ResetProcessState() {
  detail::ResetCatalogues();
  for (auto& map : g_hijri_to_greg) map.reset();
  for (auto& map : g_greg_to_hijri) map.reset();
  ForgetOwner(nullptr);
  g_force_refresh = false;
  g_chosen_greg_field.clear();
  g_chosen_hijri_field.clear();
  g_chosen_hijri_title.clear();
}

}  // namespace lunavant::pairing

// SPDX-License-Identifier: MIT
#include "workbench/model/field_catalog.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "addin/host/error.h"
#include "workbench/model/messages.h"

namespace lunavant::workbench {

namespace {

constexpr FieldInfo kFields[] = {
#include "workbench/model/task_fields.inc"
};

constexpr const std::array<host::FieldId, kCustomTextCount>& kCustomText = field::kCustomText;

constexpr host::FieldId kCalculated[] = {field::kId,
                                         field::kUniqueId,
                                         field::kOutlineLevel,
                                         field::kOutlineNumber,
                                         field::kEarlyStart,
                                         field::kEarlyFinish,
                                         field::kLateStart,
                                         field::kLateFinish,
                                         field::kFreeSlack,
                                         field::kTotalSlack,
                                         field::kCritical,
                                         field::kSummary,
                                         field::kStartVariance,
                                         field::kFinishVariance,
                                         field::kDurationVariance,
                                         field::kProject,
                                         field::kIndicators,
                                         field::kParentTask};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCopy(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

struct Index {
  // Task field identifiers are one block of numbers, so a table indexed from the smallest finds a
  // field without hashing; a field is looked up at every read and write of a task.
  host::FieldId first_id = 0;
  std::vector<const FieldInfo*> by_id;
  std::vector<std::uint8_t> calculated;  // beside by_id: 1 for a field the host calculates
  std::unordered_map<std::string, const FieldInfo*> by_name;
};

const Index& TheIndex() {
  static const Index index = [] {
    Index built;
    const auto [lowest, highest] =
        std::minmax_element(std::begin(kFields), std::end(kFields),
                            [](const FieldInfo& a, const FieldInfo& b) { return a.id < b.id; });
    built.first_id = lowest->id;
    built.by_id.resize(static_cast<std::size_t>(highest->id - lowest->id) + 1);
    built.calculated.resize(built.by_id.size());
    for (const host::FieldId id : kCalculated) {
      const std::size_t offset =
          static_cast<std::uint32_t>(id) - static_cast<std::uint32_t>(built.first_id);
      if (offset < built.calculated.size()) built.calculated[offset] = 1;
    }
    for (const FieldInfo& info : kFields) {
      built.by_id[static_cast<std::size_t>(info.id - built.first_id)] = &info;
      built.by_name.emplace(LowerCopy(info.name), &info);
    }
    return built;
  }();
  return index;
}

}  // namespace

std::span<const FieldInfo> AllTaskFields() { return kFields; }

const FieldInfo* FindField(host::FieldId id) {
  const Index& index = TheIndex();
  // Unsigned, so that an identifier below the block wraps to far beyond its end.
  const std::size_t offset =
      static_cast<std::uint32_t>(id) - static_cast<std::uint32_t>(index.first_id);
  return offset < index.by_id.size() ? index.by_id[offset] : nullptr;
}

const FieldInfo* FindFieldByName(std::string_view name) {
  const auto& by_name = TheIndex().by_name;
  auto found = by_name.find(LowerCopy(name));
  return found == by_name.end() ? nullptr : found->second;
}

const FieldInfo& FieldOrRaise(host::FieldId id) {
  const FieldInfo* info = FindField(id);
  if (info == nullptr) host::Raise(host::kHostFailure, message::UnknownFieldId(id));
  return *info;
}

int CustomTextIndex(host::FieldId id) {
  auto found = std::find(kCustomText.begin(), kCustomText.end(), id);
  return found == kCustomText.end() ? -1 : static_cast<int>(found - kCustomText.begin());
}

host::FieldId CustomTextField(int index) { return kCustomText.at(static_cast<std::size_t>(index)); }

bool IsCalculatedField(host::FieldId id) {
  const Index& index = TheIndex();
  const std::size_t offset =
      static_cast<std::uint32_t>(id) - static_cast<std::uint32_t>(index.first_id);
  if (offset < index.calculated.size()) return index.calculated[offset] != 0;
  return std::find(std::begin(kCalculated), std::end(kCalculated), id) != std::end(kCalculated);
}

bool IsFinishLikeDate(const FieldInfo& info) {
  return info.name.find("Finish") != std::string_view::npos;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

}  // namespace lunavant::workbench

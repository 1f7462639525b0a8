// SPDX-License-Identifier: MIT
#include "workbench/model/task_sort.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>

#include "addin/host/error.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::workbench {

namespace {

// What a cell sorts by: a number (dates as minutes, Hijri dates as year, month and day folded
// into one) or a text; `missing` for no value.
struct SortValue {
  bool missing = true;
  double number = 0;
  std::string text;
};

enum class KeyKind { kText, kNumber, kDate, kHijri, kDuration };

struct ResolvedKey {
  host::FieldId field;
  bool ascending;
  KeyKind kind;
};

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The first number in a cell's text ("1,250.50 SAR", "75%"); none for text without one.
std::optional<double> LeadingNumber(const std::string& text) {
  const std::size_t first = text.find_first_of("0123456789");
  if (first == std::string::npos) return std::nullopt;
  const bool negative = first > 0 && text[first - 1] == '-';
  double value = 0;
  double scale = 0;  // 0 before the decimal point, then 0.1, 0.01, ...
  for (std::size_t i = first; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        value += (c - '0') * scale;
        scale /= 10;
      }
    } else if (c == '.' && scale == 0) {
      scale = 0.1;
    } else if (c != ',' || scale != 0) {
      break;  // thousands separators only before the decimal point
    }
  }
  return negative ? -value : value;
}

std::vector<ResolvedKey> Resolve(const Project& project, std::span<const SortKey> keys) {
  std::vector<ResolvedKey> resolved;
  for (const SortKey& key : keys) {
    const FieldInfo& info = FieldOrRaise(key.field);
    KeyKind kind = KeyKind::kText;
    switch (info.kind) {
      case FieldKind::kDate:
        kind = KeyKind::kDate;
        break;
      case FieldKind::kDuration:
        kind = key.field == field::kDuration ? KeyKind::kDuration : KeyKind::kNumber;
        break;
      case FieldKind::kNumber:
      case FieldKind::kCost:
        kind = KeyKind::kNumber;
        break;
      default: {
        const int custom = CustomTextIndex(key.field);
        if (custom >= 0 && DateFieldOfHijriAlias(project.CustomTextAlias(custom))) {
          kind = KeyKind::kHijri;
        }
      }
    }
    resolved.push_back({key.field, key.ascending, kind});
  }
  return resolved;
}

SortValue ValueOf(const Task& task, const ResolvedKey& key, std::string_view separator) {
  SortValue value;
  switch (key.kind) {
    case KeyKind::kDate:
      if (const std::optional<Moment> when = task.DateValue(key.field)) {
        value = {false, static_cast<double>(*when), {}};
      }
      return value;
    case KeyKind::kDuration:
      return {false, static_cast<double>(task.DurationMinutes()), {}};
    case KeyKind::kHijri:
      if (const std::optional<HijriDate> date =
              ReadHijriText(task.GetField(key.field), separator)) {
        value = {false, date->year * 10000.0 + date->month * 100.0 + date->day, {}};
      }
      return value;
    case KeyKind::kNumber:
      if (const std::optional<double> number = LeadingNumber(task.GetField(key.field))) {
        value = {false, *number, {}};
      }
      return value;
    case KeyKind::kText: {
      std::string text = task.GetField(key.field);
      if (!text.empty()) value = {false, 0, Folded(std::move(text))};
      return value;
    }
  }
  return value;
}

// The values of every key for every task, read once: a sort compares each many times.
class Comparer {
 public:
  Comparer(const Project& project, std::span<const SortKey> keys, std::string_view separator)
      : keys_(Resolve(project, keys)) {
    for (const auto& row : project.Rows()) {
      if (!row) continue;
      std::vector<SortValue>& values = values_[row.get()];
      for (const ResolvedKey& key : keys_) {
        try {
          values.push_back(ValueOf(*row, key, separator));
        } catch (const host::HostError&) {
          values.emplace_back();  // a field this task cannot give sorts as one with no value
        }
      }
    }
  }

  // Whether `a` goes before `b`; a blank row (null) goes after every task.
  bool Before(const Task* a, const Task* b) const {
    if (a == nullptr || b == nullptr) return a != nullptr && b == nullptr;
    const std::vector<SortValue>& left = values_.at(a);
    const std::vector<SortValue>& right = values_.at(b);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      const SortValue& x = left[i];
      const SortValue& y = right[i];
      if (x.missing || y.missing) {
        if (x.missing != y.missing) return y.missing;
        continue;
      }
      const auto order = std::tie(x.number, x.text) <=> std::tie(y.number, y.text);
      if (order == 0) continue;
      return keys_[i].ascending ? order < 0 : order > 0;
    }
    return false;
  }

 private:
  std::vector<ResolvedKey> keys_;
  std::unordered_map<const Task*, std::vector<SortValue>> values_;
};

}  // namespace

bool SortTasks(Project& project, std::span<const SortKey> keys, std::string_view date_separator) {
  const Comparer comparer(project, keys, date_separator);
  return project.SortRows(
      [&comparer](const Task* a, const Task* b) { return comparer.Before(a, b); });
}

std::vector<std::int32_t> FlatOrder(const Project& project, std::span<const SortKey> keys,
                                    std::string_view date_separator) {
  const Comparer comparer(project, keys, date_separator);
  std::vector<std::int32_t> positions;
  const auto& rows = project.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i]) positions.push_back(static_cast<std::int32_t>(i + 1));
  }
  std::stable_sort(positions.begin(), positions.end(), [&](std::int32_t a, std::int32_t b) {
    return comparer.Before(rows[static_cast<std::size_t>(a - 1)].get(),
                           rows[static_cast<std::size_t>(b - 1)].get());
  });
  return positions;
}

}  // namespace lunavant::workbench

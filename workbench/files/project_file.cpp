// SPDX-License-Identifier: MIT
#include "workbench/files/project_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <charconv>
#include <pugixml.hpp>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "addin/host/error.h"
#include "workbench/files/atomic_file.h"
#include "workbench/files/messages.h"
#include "workbench/files/mspdi_resources.h"
#include "workbench/files/project_document.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/task_spans.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/table.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {

namespace {

// Deeper than any project file nests (Project/Assignments/Assignment/TimephasedData/... is 5).
constexpr int kMaxDepth = 64;
// One below the largest 32-bit number, so that the next task's UID still fits.
constexpr std::int64_t kMaxUid = 0x7FFFFFFE;
constexpr std::int64_t kDefaultMinutesPerDay = 480;
constexpr const char* kTablePi = "lunavant-table";
constexpr const char* kColumnPi = "lunavant-column";
constexpr const char* kCurrentTablePi = "lunavant-current-table";
constexpr const char* kNamespace = "http://schemas.microsoft.com/project";

// Text-only elements, most of a project file, keep their text in the element itself.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                   pugi::parse_comments | pugi::parse_doctype |
                                   pugi::parse_embed_pcdata;

// MSPDI's link type codes, by LinkType (FS, SS, FF, SF).
constexpr int kLinkCodes[] = {1, 3, 0, 2};

struct LinkState {
  std::int32_t predecessor_uid;
  LinkType type;
  std::int64_t lag;
  LagFormat lag_format;
  friend bool operator==(const LinkState&, const LinkState&) = default;
};

// The modelled values of a task, as the model holds them or as the document says them; a save
// writes what differs.
struct TaskState {
  std::string name;
  std::int32_t outline_level = 1;
  bool manual = false;
  std::int64_t duration = 0;  // minutes, as the file counts them
  bool milestone = false;
  Moment start = 0, finish = 0, created = 0;
  std::optional<Moment> early_start, early_finish, late_start, late_finish;
  std::optional<Moment> actual_start, actual_finish;
  ConstraintType constraint = ConstraintType::kAsSoonAsPossible;
  std::optional<Moment> constraint_date;
  std::optional<Moment> baseline_start, baseline_finish;
  std::array<std::string, 3> baseline_amounts;  // by kBaselineAmounts, as a save writes them
  std::vector<LinkState> links;
  // Custom field values (text, date, number, flag, cost, duration) as a save writes them, by
  // field identifier; a field without a value has none.
  std::vector<std::pair<host::FieldId, std::string>> custom;
  friend bool operator==(const TaskState&, const TaskState&) = default;
};

// How a document's text is laid out and encoded; a save writes it the same way.
struct TextForm {
  bool indented = true;  // elements on lines of their own (2007 and later), or all on one line
  pugi::xml_encoding encoding = pugi::encoding_utf8;
  bool byte_order_mark = false;
};

// A failure with its place in the document, turned into a line once the text is at hand.
struct LoadFailure {
  std::ptrdiff_t offset;
  std::string description;
  bool in_text = false;  // the offset is in the file's text, not in the tree without the tasks
};

// A failure inside a piece of the text that starts at `within`, placed in the whole text.
[[noreturn]] void RethrowWithin(LoadFailure& failure, std::ptrdiff_t within) {
  if (failure.offset >= 0 && !failure.in_text) failure.offset += within;
  failure.in_text = true;
  throw;
}

}  // namespace

// One task element of the document as text: a span of the file's text until a save rewrites it.
struct TaskText {
  std::size_t begin = 0;   // in MspdiSource::text, where the row starts
  std::size_t size = 0;    // of the row in the file's text
  std::size_t prefix = 0;  // what precedes the element in the row: layout, comments
  std::string own;         // the row as last rewritten; empty while it is the file's
  // What the element says of the task, with links only to the project's tasks; none for a blank
  // row and for a row not yet written. A task element of the file is read for it at the first
  // save, which keeps an opened project small.
  std::optional<TaskState> written;
  bool written_unread = false;
  // Which row it is: the task's UID (none for a blank row the model made) and the ID the element
  // says, so that the texts follow rows the user inserted, deleted or moved.
  std::optional<std::int64_t> uid;
  bool blank = false;
  std::int32_t id = 0;
};

// The document a project came from, kept with the project: the file's text, and a tree of all
// of it but the task elements, which stay text and are parsed one at a time when read or changed.
// The tasks take their place in the tree as a processing instruction, `marker`, which the save
// replaces with their text.
class MspdiSource final : public ProjectSource {
 public:
  pugi::xml_document doc;
  std::string text;  // UTF-8
  std::string marker;
  std::filesystem::path file;
  std::int64_t minutes_per_day = kDefaultMinutesPerDay;
  TextForm form;
  bool project_2003 = true;  // no SaveVersion: custom values carry their own UID
  std::int64_t next_value_uid = 1;
  // The Tasks element's rows in order: the project summary row first when there is one, then
  // the model's rows, blank rows included; then what follows the last row.
  std::vector<TaskText> task_texts;
  bool has_summary_row = false;
  std::string after_tasks;
  std::array<std::string, kCustomTextCount> aliases, formulas;
  std::string tables;  // the task tables as last read or saved, in instruction form
  bool had_tables = false;
  // The project finish and the new-task setting as the document has them (a finish the file
  // leaves out is worked out), so that a save writes them only when they changed.
  Moment project_finish = 0;
  bool new_tasks_manual = false;
  std::vector<std::string> notes;  // what the reading took in place of what the file said
};

// Why a task keeps the dates of its file (Task::DatesHeldBy): what feeds its schedule there that
// the workbench does not model.
constexpr const char* kHeldByInactive = "inactive task";
constexpr const char* kHeldByExternal = "task of another project";
constexpr const char* kHeldBySubproject = "inserted project";
constexpr const char* kHeldByDelay = "assignment delay";

// The loader's and saver's way into the model's private parts.
class ProjectFileAccess {
 public:
  // Reads a project from `source`, whose tree and text are made, and whose tasks lie in its
  // text at `spans`.
  // text at `spans`. The project takes the source only once it is read.
  static std::unique_ptr<Project> Read(Application& app, std::unique_ptr<MspdiSource>& source,
                                       const detail::TaskSpans& spans,
                                       const std::filesystem::path& path);
  static void ReadTaskValues(pugi::xml_node node, Task& task);
  static void HoldUnmodelledDates(pugi::xml_node root,
                                  const std::unordered_map<std::int64_t, Task*>& by_uid);
  static void HoldUnreproducedDates(Project& project,
                                    const std::unordered_set<const Task*>& scheduled);
  // The values of `task` that it stores by field (custom values, baseline amounts) into `state`.
  static void CaptureStoredValues(const Task& task, bool summary_row, TaskState& state);
  static void PlaceUndatedTask(Task& task, bool has_start, bool has_finish,
                               const Project& project);
  // Writes the project's state into its document and returns the document.
  static MspdiSource& Update(Project& project);
  static MspdiSource& SourceOf(Project& project);
  static void AlignTextsWithRows(MspdiSource& source, Project& project,
                                 pugi::xml_document& scratch);
};

namespace {

std::string_view TextOf(pugi::xml_node node) { return node.child_value(); }

[[noreturn]] void Fail(pugi::xml_node at, std::string description) {
  throw LoadFailure{at ? at.offset_debug() : -1, std::move(description)};
}

std::int64_t WholeNumber(pugi::xml_node node, std::int64_t low, std::int64_t high) {
  const auto value = detail::ReadWholeNumber(TextOf(node), low, high);
  if (!value) Fail(node, file_message::BadNumber(node.name(), TextOf(node)));
  return *value;
}

Moment DateOf(pugi::xml_node node) {
  const auto value = detail::ReadMspdiDate(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDateForm(node.name(), TextOf(node)));
  return *value;
}

std::int64_t DurationOf(pugi::xml_node node) {
  const auto value = detail::ReadMspdiDuration(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDurationForm(node.name(), TextOf(node)));
  return *value;
}

LagFormat LagFormatOf(std::string_view code_text) {
  const auto code = detail::ReadWholeNumber(code_text, 0, 1000);
  if (!code) return LagFormat::kWorking;
  if (*code % 32 == 19 || *code % 32 == 20) return LagFormat::kPercent;
  return detail::IsElapsedFormat(*code) ? LagFormat::kElapsed : LagFormat::kWorking;
}

std::string_view LagFormatCode(LagFormat format) {
  switch (format) {
    case LagFormat::kElapsed:
      return "8";
    case LagFormat::kPercent:
      return "19";
    case LagFormat::kWorking:
      break;
  }
  return "7";
}

// The model's lag from `LinkLag`, which counts tenths of a minute, or whole percent for a
// percentage lag.
std::int64_t LagOf(std::int64_t link_lag, LagFormat format) {
  return format == LagFormat::kPercent ? link_lag : link_lag / 10;
}

std::int64_t LinkLagOf(std::int64_t lag, LagFormat format) {
  return format == LagFormat::kPercent ? lag : lag * 10;
}

// A task field's value as the model stores it.
using StoredValue = std::variant<std::string, double, Moment>;

// The plain baseline's amounts the model keeps, by their element in the task's Baseline.
struct BaselineAmount {
  const char* element;
  host::FieldId field;
  FieldKind kind;
};
constexpr BaselineAmount kBaselineAmounts[] = {
    {"Duration", 188743707, FieldKind::kDuration},  // Baseline Duration
    {"Work", 188743681, FieldKind::kDuration},      // Baseline Work
    {"Cost", 188743686, FieldKind::kCost},          // Baseline Cost
};

// The task custom fields whose values a file keeps in ExtendedAttribute elements: Text, Start,
// Finish, Date, Number, Flag, Cost and Duration with their number. Nullptr for any other field.
const FieldInfo* CustomValueField(std::int64_t id) {
  if (id < 0 || id > kMaxUid) return nullptr;
  const FieldInfo* info = FindField(static_cast<host::FieldId>(id));
  if (info == nullptr) return nullptr;
  static constexpr std::string_view kStems[] = {"Text", "Start",  "Finish", "Date",
                                                "Number", "Flag", "Cost",   "Duration"};
  const std::string_view name = info->name;
  for (const std::string_view stem : kStems) {
    if (name.size() > stem.size() && name.starts_with(stem) &&
        name.find_first_not_of("0123456789", stem.size()) == std::string_view::npos) {
      return info;
    }
  }
  return nullptr;
}

std::optional<double> DecimalOf(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string DecimalText(double value) {
  char out[32];
  const auto [end, error] = std::to_chars(out, out + sizeof out, value);
  return error == std::errc() ? std::string(out, end) : std::string();
}

// A custom value's text in a file as the model stores it: costs count hundredths, durations
// minutes, a flag is 1 or 0. Nullopt when the text is none of its kind's: it stays in the file.
std::optional<StoredValue> ReadCustomValue(FieldKind kind, std::string_view text,
                                           std::int64_t minutes_per_day) {
  switch (kind) {
    case FieldKind::kText:
    case FieldKind::kOther:
      return StoredValue(std::string(text));
    case FieldKind::kDate:
      if (const auto when = detail::ReadMspdiDate(text)) return StoredValue(*when);
      return std::nullopt;
    case FieldKind::kNumber:
      if (const auto number = DecimalOf(text)) return StoredValue(*number);
      return std::nullopt;
    case FieldKind::kCost:
      if (const auto hundredths = DecimalOf(text)) return StoredValue(*hundredths / 100);
      return std::nullopt;
    case FieldKind::kFlag:
      if (text == "1" || text == "0") return StoredValue(text == "1" ? 1.0 : 0.0);
      return std::nullopt;
    case FieldKind::kDuration:
      if (const auto minutes = detail::ReadMspdiDuration(text)) {
        return StoredValue(static_cast<double>(*minutes) / static_cast<double>(minutes_per_day));
      }
      return std::nullopt;
  }
  return std::nullopt;
}

// The text a save writes for a custom value; empty for no value (an empty text, No, zero), which
// the file leaves out.
std::string CustomValueText(FieldKind kind, const StoredValue& value,
                            std::int64_t minutes_per_day) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* when = std::get_if<Moment>(&value)) return detail::MspdiDateText(*when);
  const double number = std::get<double>(value);
  if (number == 0) return {};
  switch (kind) {
    case FieldKind::kFlag:
      return "1";
    case FieldKind::kCost:
      return DecimalText(number * 100);
    case FieldKind::kDuration: {
      const double minutes = std::round(number * static_cast<double>(minutes_per_day));
      if (!(std::fabs(minutes) < 1e15) || minutes == 0) return {};
      return detail::MspdiDurationText(static_cast<std::int64_t>(minutes));
    }
    default:
      return DecimalText(number);
  }
}

void CheckDepth(const pugi::xml_document& doc, int deepest = kMaxDepth) {
  struct Walker : pugi::xml_tree_walker {
    explicit Walker(int deepest) : limit(deepest) {}
    int limit;
    pugi::xml_node too_deep;
    bool for_each(pugi::xml_node& node) override {
      if (depth() < limit) return true;
      too_deep = node;
      return false;
    }
  } walker(deepest);
  const_cast<pugi::xml_document&>(doc).traverse(walker);
  if (walker.too_deep) Fail(walker.too_deep, std::string(file_message::kNestedTooDeeply));
}

// Task tables as processing instructions: a table, then its columns, each with its values in
// attribute form; the values are escaped so that no instruction can end early.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    if (text.front() != '&') {
      out += text.front();
      text.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (const auto& [entity, c] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                    {"&quot;", '"'},
                                    {"&lt;", '<'},
                                    {"&gt;", '>'}}) {
      if (text.substr(0, entity.size()) == entity) {
        out += c;
        text.remove_prefix(entity.size());
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

// `key="value" key="value"` into pairs; nullopt when the text has another form.
std::optional<std::vector<std::pair<std::string, std::string>>> ReadPairs(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  while (true) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return pairs;
    const std::size_t equals = text.find("=\"");
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    const std::size_t close = text.find('"', equals + 2);
    if (close == std::string_view::npos) return std::nullopt;
    auto value = Unescape(text.substr(equals + 2, close - equals - 2));
    if (!value) return std::nullopt;
    pairs.emplace_back(std::string(text.substr(0, equals)), std::move(*value));
    text.remove_prefix(close + 1);
  }
}

struct Instruction {
  std::string target;
  std::string value;
};

std::vector<Instruction> TableInstructions(Project& project) {
  std::vector<Instruction> out;
  for (std::int32_t t = 1; t <= project.TaskTableCount(); ++t) {
    Table& table = project.TaskTable(t);
    out.push_back({kTablePi, "name=\"" + Escape(table.Name()) + "\""});
    for (std::int32_t c = 1; c <= table.Columns().Count(); ++c) {
      const Column& column = table.Columns().Item(c);
      out.push_back({kColumnPi, "field=\"" + std::to_string(column.Field()) + "\" title=\"" +
                                    Escape(column.Title()) + "\" width=\"" +
                                    std::to_string(column.Width()) + "\" align=\"" +
                                    std::to_string(column.DataAlignment()) + "\" title-align=\"" +
                                    std::to_string(column.TitleAlignment()) + "\" wrap=\"" +
                                    (column.Wrap() ? "1" : "0") + "\""});
    }
  }
  out.push_back({kCurrentTablePi, "name=\"" + Escape(project.CurrentTable()) + "\""});
  return out;
}

std::string Joined(const std::vector<Instruction>& instructions) {
  std::string out;
  for (const Instruction& i : instructions)
    out.append(i.target).append(" ").append(i.value) += '\n';
  return out;
}

// The tables of a new project, in instruction form: a document without instructions has these.
std::string DefaultTables(Application& app) {
  Project fresh(app, "");
  return Joined(TableInstructions(fresh));
}

std::string InstructionText(pugi::xml_node node) {
  return std::string(node.name()).append(" ").append(node.value());
}

bool IsTablePi(pugi::xml_node node) {
  if (node.type() != pugi::node_pi) return false;
  const std::string_view name = node.name();
  return name == kTablePi || name == kColumnPi || name == kCurrentTablePi;
}

std::int32_t NumberPair(const std::vector<std::pair<std::string, std::string>>& pairs,
                        std::string_view key, pugi::xml_node at, std::int64_t low,
                        std::int64_t high) {
  for (const auto& [k, v] : pairs) {
    if (k == key) {
      const auto value = detail::ReadWholeNumber(v, low, high);
      if (!value) break;
      return static_cast<std::int32_t>(*value);
    }
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

std::string TextPair(const std::vector<std::pair<std::string, std::string>>& pairs,
                     std::string_view key, pugi::xml_node at) {
  for (const auto& [k, v] : pairs) {
    if (k == key) return v;
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

// Schema order: insert `name` before the first child that the schema puts after it; a kind that
// repeats goes after the last of its kind.
pugi::xml_node InsertOrdered(pugi::xml_node parent, std::string_view name,
                             std::span<const std::string_view> order) {
  const auto rank = [&order](std::string_view n) -> std::ptrdiff_t {
    const auto at = std::find(order.begin(), order.end(), n);
    return at == order.end() ? -1 : at - order.begin();
  };
  const std::ptrdiff_t mine = rank(name);
  pugi::xml_node last_same;
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && name == c.name()) last_same = c;
  }
  const std::string owned(name);
  if (last_same) return parent.insert_child_after(owned.c_str(), last_same);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::ptrdiff_t theirs = rank(c.name());
    if (mine >= 0 && theirs > mine) return parent.insert_child_before(owned.c_str(), c);
  }
  return parent.append_child(owned.c_str());
}

void SetChild(pugi::xml_node parent, std::string_view name, const std::string& value,
              std::span<const std::string_view> order) {
  pugi::xml_node child = parent.child(std::string(name).c_str());
  if (!child) child = InsertOrdered(parent, name, order);
  child.text().set(value.c_str());
}

void SetOptionalChild(pugi::xml_node parent, std::string_view name,
                      const std::optional<Moment>& value) {
  if (value) {
    SetChild(parent, name, detail::MspdiDateText(*value), detail::TaskChildOrder());
  } else {
    parent.remove_child(std::string(name).c_str());
  }
}

// The plain baseline's (number 0) dates and amounts where they differ from `before`; its other
// children stay as they are, and an element left with nothing but its number goes.
void WriteBaseline(pugi::xml_node task, const std::optional<TaskState>& before,
                   const TaskState& now) {
  static constexpr std::string_view kOrder[] = {"TimephasedData", "Number", "Interim", "Start",
                                                "Finish", "Duration", "DurationFormat",
                                                "EstimatedDuration", "Work", "Cost", "BCWS",
                                                "BCWP"};
  pugi::xml_node baseline;
  for (pugi::xml_node b : task.children("Baseline")) {
    if (TextOf(b.child("Number")) == std::string_view("0")) baseline = b;
  }
  if (!baseline) {
    const bool empty = !now.baseline_start && !now.baseline_finish &&
                       std::all_of(now.baseline_amounts.begin(), now.baseline_amounts.end(),
                                   [](const std::string& amount) { return amount.empty(); });
    if (empty) return;
    baseline = InsertOrdered(task, "Baseline", detail::TaskChildOrder());
    baseline.append_child("Number").text() = "0";
  }
  const auto set = [&](const char* name, const std::string& text) {
    if (text.empty()) {
      baseline.remove_child(name);
    } else {
      SetChild(baseline, name, text, kOrder);
    }
  };
  const auto date_text = [](const std::optional<Moment>& when) {
    return when ? detail::MspdiDateText(*when) : std::string();
  };
  if (!before || before->baseline_start != now.baseline_start) {
    set("Start", date_text(now.baseline_start));
  }
  if (!before || before->baseline_finish != now.baseline_finish) {
    set("Finish", date_text(now.baseline_finish));
  }
  for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
    if (!before || before->baseline_amounts[i] != now.baseline_amounts[i]) {
      set(kBaselineAmounts[i].element, now.baseline_amounts[i]);
    }
  }
  for (pugi::xml_node c : baseline.children()) {
    if (c.type() == pugi::node_element && std::string_view(c.name()) != "Number") return;
  }
  task.remove_child(baseline);
}

// Some writers give a task that has not started an actual date long before the project as their
// "no date". An actual date before the project start on a task of 0% complete is taken for none:
// a task that has not started has no actual dates, and one that would overwrite its Start and
// Finish with a date from before the project began is no schedule a user made.
bool StandsForNoDate(pugi::xml_node task, const std::optional<Moment>& actual,
                     Moment project_start) {
  if (!actual || *actual >= project_start) return false;
  const auto percent = detail::ReadWholeNumber(TextOf(task.child("PercentComplete")), 0, 100);
  return percent.value_or(0) == 0;
}

TaskState CaptureTask(const Task& task, bool summary_row) {
  TaskState s;
  s.name = summary_row ? std::string() : task.Name();
  s.outline_level = task.OutlineLevel();
  s.manual = !summary_row && task.IsManual();
  s.duration = task.DurationMinutes();
  s.milestone = !summary_row && task.IsMilestone();
  s.start = task.Start();
  s.finish = task.Finish();
  s.early_start = task.EarlyStart();
  s.early_finish = task.EarlyFinish();
  s.late_start = task.LateStart();
  s.late_finish = task.LateFinish();
  s.actual_start = task.ActualStart();
  s.actual_finish = task.ActualFinish();
  s.constraint = task.Constraint();
  s.constraint_date = task.ConstraintDate();
  s.baseline_start = task.DateValue(field::kBaselineStart);
  s.baseline_finish = task.DateValue(field::kBaselineFinish);
  for (const Link& link : task.PredecessorLinks()) {
    s.links.push_back({link.task->UniqueID(), link.type, link.lag, link.lag_format});
  }
  return s;
}

// What the document says of a task, read as the loader reads it, so that a task nobody changed
// compares equal. Its links are all the element's own; KeepLinksAmong leaves those the model has.
TaskState DocumentState(pugi::xml_node node, bool summary_row, std::int64_t minutes_per_day,
                        Moment project_start) {
  TaskState s;
  // A task without dates is no task the scheduler wrote: any date of the model differs.
  s.start = s.finish = std::numeric_limits<Moment>::min();
  const auto date = [](pugi::xml_node child) { return detail::ReadMspdiDate(TextOf(child)); };
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const std::string_view name = child.name();
    if (name == "Name") {
      if (!summary_row) s.name = TextOf(child);
    } else if (name == "OutlineLevel") {
      s.outline_level =
          static_cast<std::int32_t>(detail::ReadWholeNumber(TextOf(child), 0, 10000).value_or(1));
    } else if (name == "Start") {
      s.start = date(child).value_or(s.start);
    } else if (name == "Finish") {
      s.finish = date(child).value_or(s.finish);
    } else if (name == "Duration") {
      const auto minutes = detail::ReadMspdiDuration(TextOf(child));
      s.duration = minutes ? std::max<std::int64_t>(0, *minutes) : -1;
    } else if (name == "Milestone") {
      s.milestone = TextOf(child) == std::string_view("1");
    } else if (name == "Manual") {
      s.manual = !summary_row && TextOf(child) == std::string_view("1");
    } else if (name == "EarlyStart") {
      s.early_start = date(child);
    } else if (name == "EarlyFinish") {
      s.early_finish = date(child);
    } else if (name == "LateStart") {
      s.late_start = date(child);
    } else if (name == "LateFinish") {
      s.late_finish = date(child);
    } else if (name == "ActualStart") {
      s.actual_start = date(child);
    } else if (name == "ActualFinish") {
      s.actual_finish = date(child);
    } else if (name == "ConstraintType") {
      s.constraint =
          static_cast<ConstraintType>(detail::ReadWholeNumber(TextOf(child), 0, 7).value_or(0));
    } else if (name == "ConstraintDate") {
      s.constraint_date = date(child);
    } else if (name == "Baseline") {
      if (TextOf(child.child("Number")) != std::string_view("0")) continue;
      s.baseline_start = date(child.child("Start"));
      s.baseline_finish = date(child.child("Finish"));
      for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
        const BaselineAmount& amount = kBaselineAmounts[i];
        if (const auto value = ReadCustomValue(amount.kind, TextOf(child.child(amount.element)),
                                               minutes_per_day)) {
          s.baseline_amounts[i] = CustomValueText(amount.kind, *value, minutes_per_day);
        }
      }
    } else if (name == "PredecessorLink") {
      // The project summary row's links are none of the model's: they stay as they are.
      if (summary_row || TextOf(child.child("CrossProject")) == std::string_view("1")) continue;
      const auto uid = detail::ReadWholeNumber(TextOf(child.child("PredecessorUID")), 0, kMaxUid);
      if (!uid) continue;
      const auto code = child.child("Type")
                            ? detail::ReadWholeNumber(TextOf(child.child("Type")), 0, 3)
                            : std::optional<std::int64_t>(1);
      const auto type = static_cast<LinkType>(
          std::find(std::begin(kLinkCodes), std::end(kLinkCodes), code.value_or(1)) -
          std::begin(kLinkCodes));
      const auto link_lag = detail::ReadWholeNumber(TextOf(child.child("LinkLag")),
                                                    -1'000'000'000'000, 1'000'000'000'000);
      const LagFormat format = LagFormatOf(TextOf(child.child("LagFormat")));
      s.links.push_back(
          {static_cast<std::int32_t>(*uid), type, LagOf(link_lag.value_or(0), format), format});
    } else if (name == "ExtendedAttribute") {
      // The project summary row's values are none of the model's either.
      if (summary_row) continue;
      const auto id = detail::ReadWholeNumber(TextOf(child.child("FieldID")), 0, kMaxUid);
      const FieldInfo* info = id ? CustomValueField(*id) : nullptr;
      if (info == nullptr) continue;
      const auto value = ReadCustomValue(info->kind, TextOf(child.child("Value")), minutes_per_day);
      if (!value) continue;
      std::string text = CustomValueText(info->kind, *value, minutes_per_day);
      if (!text.empty()) s.custom.emplace_back(info->id, std::move(text));
    }
  }
  if (s.constraint == ConstraintType::kAsSoonAsPossible ||
      s.constraint == ConstraintType::kAsLateAsPossible) {
    s.constraint_date.reset();
  }
  if (StandsForNoDate(node, s.actual_start, project_start)) s.actual_start.reset();
  if (StandsForNoDate(node, s.actual_finish, project_start)) s.actual_finish.reset();
  std::sort(s.custom.begin(), s.custom.end());
  return s;
}

struct StringWriter final : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

// The name of the processing instruction that stands for the tasks in the tree: one that `text`
// does not hold, so that a save cannot take anything else for it.
std::string MarkerFor(std::string_view text) {
  std::random_device random;
  for (;;) {
    char name[48];
    std::snprintf(name, sizeof name, "lunavant-tasks-%08x%08x", random(), random());
    if (text.find(name) == std::string_view::npos) return name;
  }
}

void AddMarker(pugi::xml_node tasks, const std::string& marker) {
  tasks.append_child(pugi::node_pi).set_name(marker.c_str());
}

// The layout before a row the workbench adds, and after the last row of a Tasks element it made.
std::string_view NewRowPrefix(const TextForm& form) { return form.indented ? "\n\t\t" : ""; }
std::string AfterNewRows(const TextForm& form) { return form.indented ? "\n\t" : ""; }

// A task element's text as a save lays it out at its depth (Project, Tasks, Task), without the
// layout around it, which belongs to the row.
std::string ElementText(pugi::xml_node element, const TextForm& form) {
  StringWriter writer;
  element.print(writer, "\t", form.indented ? pugi::format_indent : pugi::format_raw,
                pugi::encoding_utf8, 2);
  const std::string& out = writer.out;
  const std::size_t first = out.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(" \t\r\n") + 1 - first);
}

// A row for an element the workbench made, not yet written: a save writes all it models.
TaskText NewRow(pugi::xml_node element, const TextForm& form) {
  TaskText row;
  row.own = NewRowPrefix(form);
  row.prefix = row.own.size();
  row.own += ElementText(element, form);
  return row;
}

std::string_view RowText(const MspdiSource& source, const TaskText& row) {
  if (!row.own.empty()) return row.own;
  return std::string_view(source.text).substr(row.begin, row.size);
}

// Parses a task element's text into `scratch`. Failures are placed within `element`.
pugi::xml_node ParseElement(pugi::xml_document& scratch, std::string_view element) {
  const pugi::xml_parse_result parsed =
      scratch.load_buffer(element.data(), element.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) throw LoadFailure{parsed.offset, file_message::NotXml(parsed.description())};
  CheckDepth(scratch, kMaxDepth - 2);
  return scratch.document_element();
}

// What lies between task elements (layout, comments, whatever else the file put there) stays as
// it is; it must still be well-formed.
void CheckBetweenRows(std::string_view text, std::size_t from, std::size_t to) {
  const std::string_view between = text.substr(from, to - from);
  if (between.find_first_not_of(" \t\r\n") == std::string_view::npos) return;
  const auto within = static_cast<std::ptrdiff_t>(from);
  pugi::xml_document scratch;
  const pugi::xml_parse_result parsed =
      scratch.load_buffer(between.data(), between.size(), kParseOptions | pugi::parse_fragment,
                          pugi::encoding_utf8);
  try {
    if (!parsed) throw LoadFailure{parsed.offset, file_message::NotXml(parsed.description())};
    CheckDepth(scratch, kMaxDepth - 2);
  } catch (LoadFailure& failure) {
    RethrowWithin(failure, within);
  }
}

// Links count only to the tasks in `live_uids` other than the task itself: the loader passes over
// the others, and they stay in the file as they are.
void KeepLinksAmong(TaskState& state, std::int64_t own_uid,
                    const std::unordered_set<std::int64_t>& live_uids) {
  std::erase_if(state.links, [&](const LinkState& link) {
    return link.predecessor_uid == own_uid || live_uids.count(link.predecessor_uid) == 0;
  });
}

}  // namespace

MspdiSource& ProjectFileAccess::SourceOf(Project& project) {
  if (auto* source = dynamic_cast<MspdiSource*>(project.Source())) return *source;
  // A project made in the workbench gets a new document of the 2003 form, with nothing in it
  // yet that the project models: the first save writes all of that.
  auto made = std::make_unique<MspdiSource>();
  MspdiSource& source = *made;
  pugi::xml_node declaration = source.doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  declaration.append_attribute("standalone") = "yes";
  pugi::xml_node root = source.doc.append_child("Project");
  root.append_attribute("xmlns") = kNamespace;
  const ProjectCalendar& calendar = project.Calendar();
  source.minutes_per_day = project.MinutesPerDay();
  auto time_text = [](std::int32_t minute) {
    char out[32];
    std::snprintf(out, sizeof out, "%02d:%02d:00", minute / 60, minute % 60);
    return std::string(out);
  };
  root.append_child("Name").text() = project.Name().c_str();
  root.append_child("ScheduleFromStart").text() = "1";
  root.append_child("StartDate").text() = detail::MspdiDateText(project.ProjectStart()).c_str();
  root.append_child("CalendarUID").text() = "1";
  root.append_child("DefaultStartTime").text() = time_text(calendar.DayStartMinute()).c_str();
  root.append_child("DefaultFinishTime").text() = time_text(calendar.DayFinishMinute()).c_str();
  root.append_child("MinutesPerDay").text() = std::to_string(source.minutes_per_day).c_str();
  int working_days = 0;
  for (int d = 0; d < 7; ++d) working_days += (calendar.Week().Mask() >> d) & 1;
  root.append_child("MinutesPerWeek").text() =
      std::to_string(source.minutes_per_day * working_days).c_str();
  root.append_child("DaysPerMonth").text() = "20";
  pugi::xml_node c = root.append_child("Calendars").append_child("Calendar");
  c.append_child("UID").text() = "1";
  c.append_child("Name").text() = "Standard";
  c.append_child("IsBaseCalendar").text() = "1";
  c.append_child("BaseCalendarUID").text() = "-1";
  pugi::xml_node week = c.append_child("WeekDays");
  for (int d = 0; d < 7; ++d) {
    pugi::xml_node day = week.append_child("WeekDay");
    day.append_child("DayType").text() = d + 1;
    const bool working = (calendar.Week().Mask() >> d) & 1;
    day.append_child("DayWorking").text() = working ? "1" : "0";
    if (!working) continue;
    pugi::xml_node times = day.append_child("WorkingTimes");
    auto add_time = [&times, &time_text](std::int32_t from, std::int32_t to) {
      pugi::xml_node t = times.append_child("WorkingTime");
      t.append_child("FromTime").text() = time_text(from).c_str();
      t.append_child("ToTime").text() =
          time_text(static_cast<std::int32_t>(to % kMinutesPerDay)).c_str();
    };
    for (const WorkingTime& span : calendar.WeekdayHours(d)) add_time(span.from, span.to);
  }
  for (const std::int64_t day : calendar.ExceptionDays()) {
    pugi::xml_node exception = week.append_child("WeekDay");
    exception.append_child("DayType").text() = "0";
    exception.append_child("DayWorking").text() = calendar.IsWorkingDay(day) ? "1" : "0";
    pugi::xml_node period = exception.append_child("TimePeriod");
    period.append_child("FromDate").text() = detail::MspdiDateText(day * kMinutesPerDay).c_str();
    period.append_child("ToDate").text() =
        detail::MspdiDateText(day * kMinutesPerDay + kMinutesPerDay - 1).c_str();
  }
  source.marker = MarkerFor("");
  AddMarker(root.append_child("Tasks"), source.marker);
  pugi::xml_document scratch;
  pugi::xml_node summary = scratch.append_child("Task");
  summary.append_child("UID").text() = "0";
  summary.append_child("ID").text() = "0";
  summary.append_child("Name").text() = project.Name().c_str();
  summary.append_child("IsNull").text() = "0";
  summary.append_child("OutlineNumber").text() = "0";
  summary.append_child("OutlineLevel").text() = "0";
  summary.append_child("Summary").text() = "1";
  source.task_texts.push_back(NewRow(summary, source.form));
  source.task_texts.back().uid = 0;
  source.has_summary_row = true;
  source.after_tasks = AfterNewRows(source.form);
  source.tables = DefaultTables(project.App());
  project.SetSource(std::move(made));
  return source;
}

void ProjectFileAccess::CaptureStoredValues(const Task& task, bool summary_row, TaskState& state) {
  const std::int64_t minutes_per_day = task.owner_->MinutesPerDay();
  for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
    const BaselineAmount& amount = kBaselineAmounts[i];
    const auto found = task.stored_.find(amount.field);
    if (found != task.stored_.end()) {
      state.baseline_amounts[i] = CustomValueText(amount.kind, found->second, minutes_per_day);
    }
  }
  if (summary_row) return;
  for (const auto& [field, value] : task.stored_) {
    const FieldInfo* info = CustomValueField(field);
    if (info == nullptr) continue;
    std::string text = CustomValueText(info->kind, value, minutes_per_day);
    if (!text.empty()) state.custom.emplace_back(field, std::move(text));
  }
  std::sort(state.custom.begin(), state.custom.end());
}

// What feeds a task's schedule in a file that the workbench does not model: the task keeps the
// file's dates, which a recalculation would otherwise move. An inactive task (which the
// scheduler passes over otherwise), a task of another project, an inserted project and a task
// whose resources' work starts late keep their own.
void ProjectFileAccess::HoldUnmodelledDates(
    pugi::xml_node root, const std::unordered_map<std::int64_t, Task*>& by_uid) {
  const auto hold = [](Task& task, const char* reason) {
    if (task.dates_held_by_.empty() && !task.manual_) task.dates_held_by_ = reason;
  };
  for (pugi::xml_node a : root.child("Assignments").children("Assignment")) {
    const auto delay = detail::ReadWholeNumber(TextOf(a.child("Delay")), -kMaxUid, kMaxUid);
    if (!delay || *delay == 0) continue;
    const auto uid = detail::ReadWholeNumber(TextOf(a.child("TaskUID")), 0, kMaxUid);
    const auto found = uid ? by_uid.find(*uid) : by_uid.end();
    if (found != by_uid.end() && found->second->id_ != 0) hold(*found->second, kHeldByDelay);
  }
}

// A task whose element holds a scheduler's results (its dates and early dates, as the desktop
// scheduler writes them) is where that scheduler put it. Where the workbench's scheduler, run on
// what it models of the file, would put it elsewhere, something that feeds its schedule is beyond
// the model: the task keeps the file's dates, so that no recalculation moves a task the user did
// not touch. The trial leaves every scheduled value as the file has it; tasks of files that hold
// no such results (written by hand or by other programs) are left to the scheduler.
void ProjectFileAccess::HoldUnreproducedDates(Project& project,
                                              const std::unordered_set<const Task*>& scheduled) {
  struct Scheduled {
    Task* task;
    Moment start, finish;
    std::optional<Moment> early_start, early_finish, late_start, late_finish;
    std::int64_t duration, total_slack, free_slack;
    bool critical;
  };
  std::vector<Scheduled> held;
  held.reserve(project.rows_.size() + 1);
  const auto keep = [&held](Task& t) {
    held.push_back({&t, t.start_, t.finish_, t.early_start_, t.early_finish_, t.late_start_,
                    t.late_finish_, t.duration_, t.total_slack_, t.free_slack_, t.critical_});
  };
  keep(*project.summary_);
  for (const auto& row : project.rows_) {
    if (row) keep(*row);
  }
  if (scheduled.empty()) return;
  bool ran = true;
  try {
    Schedule(project);
  } catch (const host::HostError&) {
    ran = false;  // the recalculation the user asks for will say why
  }
  for (const Scheduled& h : held) {
    Task& t = *h.task;
    const bool moved = t.start_ != h.start || t.finish_ != h.finish;
    t.start_ = h.start;
    t.finish_ = h.finish;
    t.early_start_ = h.early_start;
    t.early_finish_ = h.early_finish;
    t.late_start_ = h.late_start;
    t.late_finish_ = h.late_finish;
    t.duration_ = h.duration;
    t.total_slack_ = h.total_slack;
    t.free_slack_ = h.free_slack;
    t.critical_ = h.critical;
    if (ran && moved && t.id_ != 0 && !t.KeepsItsDates() && scheduled.count(&t) != 0) {
      t.dates_held_by_ = std::string(kScheduleNotReproduced);
    }
  }
}

void ProjectFileAccess::ReadTaskValues(pugi::xml_node node, Task& task) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const std::string_view name = child.name();
    if (name == "Start") {
      task.start_ = DateOf(child);
    } else if (name == "Finish") {
      task.finish_ = DateOf(child);
    } else if (name == "Duration") {
      task.duration_ = std::max<std::int64_t>(0, DurationOf(child));
    } else if (name == "DurationFormat") {
      const auto code = detail::ReadWholeNumber(TextOf(child), 0, 1000);
      task.elapsed_ = code && detail::IsElapsedFormat(*code);
    } else if (name == "Manual") {
      task.manual_ = task.id_ != 0 && TextOf(child) == std::string_view("1");
    } else if (name == "CreateDate") {
      task.created_ = DateOf(child);
    } else if (name == "EarlyStart") {
      task.early_start_ = DateOf(child);
    } else if (name == "EarlyFinish") {
      task.early_finish_ = DateOf(child);
    } else if (name == "LateStart") {
      task.late_start_ = DateOf(child);
    } else if (name == "LateFinish") {
      task.late_finish_ = DateOf(child);
    } else if (name == "ActualStart") {
      task.actual_start_ = DateOf(child);
    } else if (name == "ActualFinish") {
      task.actual_finish_ = DateOf(child);
    } else if (name == "ConstraintType") {
      task.constraint_ = static_cast<ConstraintType>(WholeNumber(child, 0, 7));
    } else if (name == "ConstraintDate") {
      task.constraint_date_ = DateOf(child);
    } else if (name == "Baseline") {
      // The plain baseline is number 0; an unreadable date in it counts as none.
      if (TextOf(child.child("Number")) != std::string_view("0")) continue;
      if (const auto when = detail::ReadMspdiDate(TextOf(child.child("Start")))) {
        task.stored_[field::kBaselineStart] = *when;
      }
      if (const auto when = detail::ReadMspdiDate(TextOf(child.child("Finish")))) {
        task.stored_[field::kBaselineFinish] = *when;
      }
      for (const BaselineAmount& amount : kBaselineAmounts) {
        const std::string_view text = TextOf(child.child(amount.element));
        if (text.empty()) continue;
        if (auto value = ReadCustomValue(amount.kind, text, task.owner_->MinutesPerDay())) {
          task.stored_[amount.field] = std::move(*value);
        }
      }
    } else if (name == "ExtendedAttribute") {
      const auto id = detail::ReadWholeNumber(TextOf(child.child("FieldID")), 0, kMaxUid);
      const FieldInfo* info = id ? CustomValueField(*id) : nullptr;
      const std::string_view text = TextOf(child.child("Value"));
      if (info == nullptr || text.empty()) continue;
      if (auto value = ReadCustomValue(info->kind, text, task.owner_->MinutesPerDay())) {
        task.stored_[info->id] = std::move(*value);
      }
    }
  }
  // A task of none of the constraint types that take a date ignores a stray date, and one
  // that takes a date but has none is scheduled as soon as possible, as the scheduler does.
  if (task.constraint_ == ConstraintType::kAsSoonAsPossible ||
      task.constraint_ == ConstraintType::kAsLateAsPossible) {
    task.constraint_date_.reset();
  }
  const Moment project_start = task.owner_->project_start_;
  if (StandsForNoDate(node, task.actual_start_, project_start)) task.actual_start_.reset();
  if (StandsForNoDate(node, task.actual_finish_, project_start)) task.actual_finish_.reset();
  if (task.id_ == 0) return;
  task.active_ = TextOf(node.child("Active")) != std::string_view("0");
  if (task.manual_) return;
  if (!task.active_) {
    task.dates_held_by_ = kHeldByInactive;
  } else if (TextOf(node.child("ExternalTask")) == std::string_view("1")) {
    task.dates_held_by_ = kHeldByExternal;
  } else if (TextOf(node.child("IsSubproject")) == std::string_view("1")) {
    task.dates_held_by_ = kHeldBySubproject;
  }
}

// A task whose file gives no start or no finish (written by another program, or cut down by
// hand) is placed where the scheduler would first put it: from the date it has, or from the
// project's start (or finish, scheduling from the finish), by its duration.
void ProjectFileAccess::PlaceUndatedTask(Task& task, bool has_start, bool has_finish,
                                         const Project& project) {
  if (has_start && has_finish) return;
  const ProjectCalendar& calendar = project.calendar_;
  const auto forward = [&](Moment from) {
    if (task.duration_ == 0) return from;
    if (task.elapsed_) return from + task.duration_;
    return calendar.FinishOf(calendar.WorkAt(from) + task.duration_);
  };
  const auto backward = [&](Moment to) {
    if (task.duration_ == 0) return to;
    if (task.elapsed_) return to - task.duration_;
    return calendar.StartOf(std::max<std::int64_t>(0, calendar.WorkAt(to) - task.duration_));
  };
  if (has_start) {
    task.finish_ = forward(task.start_);
  } else if (has_finish) {
    task.start_ = backward(task.finish_);
  } else if (project.schedule_from_finish_) {
    task.finish_ = project.project_finish_;
    task.start_ = backward(task.finish_);
  } else {
    task.start_ = calendar.StartOf(calendar.WorkAt(project.project_start_));
    task.finish_ = forward(task.start_);
  }
}

std::unique_ptr<Project> ProjectFileAccess::Read(Application& app,
                                                 std::unique_ptr<MspdiSource>& source,
                                                 const detail::TaskSpans& spans,
                                                 const std::filesystem::path& path) {
  pugi::xml_document& doc = source->doc;
  CheckDepth(doc);
  pugi::xml_node root = doc.document_element();
  const std::string_view root_name = root.name();
  if (root_name != "Project" && !root_name.ends_with(":Project")) {
    Fail(root, std::string(file_message::kNotAProject));
  }
  auto project = std::make_unique<Project>(app, path.filename().string());
  if (pugi::xml_node tasks = root.child("Tasks")) AddMarker(tasks, source->marker);
  source->file = path;
  source->project_2003 = !root.child("SaveVersion");
  // Some programs write 0 for the units of duration; the defaults stand in, and the user hears.
  for (const char* unit : {"MinutesPerDay", "MinutesPerWeek", "DaysPerMonth"}) {
    pugi::xml_node m = root.child(unit);
    if (m && detail::ReadWholeNumber(TextOf(m), 0, 0)) {
      source->notes.push_back(file_message::ZeroUnitTakenAsDefault(unit));
    } else if (m && std::string_view(unit) == "MinutesPerDay") {
      source->minutes_per_day = WholeNumber(m, 1, kMinutesPerDay);
    }
  }
  project->minutes_per_day_ = source->minutes_per_day;
  std::int64_t calendar_uid = 1;
  if (pugi::xml_node uid = root.child("CalendarUID")) calendar_uid = WholeNumber(uid, -1, kMaxUid);
  project->calendar_ = ReadProjectCalendar(root, calendar_uid);
  if (pugi::xml_node start = root.child("StartDate")) project->project_start_ = DateOf(start);
  // Scheduled from its finish: without a FinishDate, the latest task finish stands for it.
  const bool from_finish = TextOf(root.child("ScheduleFromStart")) == std::string_view("0");
  if (from_finish) {
    project->schedule_from_finish_ = true;
    project->project_finish_ =
        root.child("FinishDate") ? DateOf(root.child("FinishDate")) : project->project_start_;
  }
  project->new_tasks_manual_ = TextOf(root.child("NewTasksAreManual")) == std::string_view("1");
  source->new_tasks_manual = project->new_tasks_manual_;

  for (pugi::xml_node definition : root.child("ExtendedAttributes").children("ExtendedAttribute")) {
    const auto id = detail::ReadWholeNumber(TextOf(definition.child("FieldID")), 0, kMaxUid);
    const int index = id ? CustomTextIndex(static_cast<host::FieldId>(*id)) : -1;
    if (index < 0) continue;
    project->aliases_[index] = TextOf(definition.child("Alias"));
    project->formulas_[index] = TextOf(definition.child("Formula"));
  }

  // Rows first, links once every task is known.
  std::unordered_map<std::int64_t, Task*> by_uid;
  std::unordered_set<std::int64_t> blank_uids;
  struct PendingLink {
    Task* successor;
    std::int64_t predecessor_uid;
    std::ptrdiff_t at;  // of its PredecessorUID in the text
    LinkType type;
    std::int64_t link_lag;
    LagFormat format;
  };
  std::vector<PendingLink> links;
  std::vector<TaskPlacement> placements;  // by task element
  // Tasks whose element holds a scheduler's results: its dates and its early dates.
  std::unordered_set<const Task*> scheduled;
  std::int32_t last_level = 0;
  std::int32_t next_uid = 1;
  const std::string_view text = source->text;
  std::size_t after_rows = spans.content_begin;
  pugi::xml_document scratch;
  for (const detail::TaskSpan& span : spans.tasks) {
    CheckBetweenRows(text, span.begin, span.element);
    after_rows = span.end;
    TaskText row{span.begin, span.end - span.begin, span.element - span.begin, {}, {}, false, {}, false, 0};
    const auto within = static_cast<std::ptrdiff_t>(span.element);
    try {
      pugi::xml_node node = ParseElement(scratch, text.substr(span.element, span.end - span.element));
      pugi::xml_node uid_node = node.child("UID");
      if (!uid_node) Fail(node, file_message::MissingUid());
      const std::int64_t uid = WholeNumber(uid_node, 0, kMaxUid);
      if (by_uid.count(uid) != 0 || blank_uids.count(uid) != 0) {
        Fail(uid_node, file_message::DuplicateUid(uid));
      }
      next_uid = std::max<std::int32_t>(next_uid, static_cast<std::int32_t>(uid) + 1);
      row.uid = uid;
      for (pugi::xml_node value : node.children("ExtendedAttribute")) {
        if (const auto value_uid =
                detail::ReadWholeNumber(TextOf(value.child("UID")), 0, kMaxUid)) {
          source->next_value_uid = std::max(source->next_value_uid, *value_uid + 1);
        }
      }
      if (TextOf(node.child("IsNull")) == std::string_view("1")) {
        blank_uids.insert(uid);
        project->rows_.push_back(nullptr);
        row.blank = true;
        row.id = static_cast<std::int32_t>(project->rows_.size());
        source->task_texts.push_back(std::move(row));
        continue;
      }
      std::int32_t level = 1;
      if (pugi::xml_node l = node.child("OutlineLevel")) {
        level = static_cast<std::int32_t>(WholeNumber(l, 0, 10000));
      }
      // The project summary row is the first, at level 0; most writers give it UID 0, some 1.
      const bool summary_row = level == 0;
      if (summary_row && !source->task_texts.empty()) {
        Fail(node, file_message::BadOutlineLevel(uid, level, last_level + 1));
      }
      if (!summary_row && level > last_level + 1) {
        Fail(node, file_message::BadOutlineLevel(uid, level, last_level + 1));
      }
      Task* task;
      if (summary_row) {
        task = project->summary_.get();
        task->unique_id_ = static_cast<std::int32_t>(uid);
        source->has_summary_row = true;
      } else {
        const auto id = static_cast<std::int32_t>(project->rows_.size() + 1);
        project->rows_.push_back(std::make_unique<Task>(*project, id,
                                                        static_cast<std::int32_t>(uid),
                                                        std::string(TextOf(node.child("Name"))),
                                                        0, level));
        task = project->rows_.back().get();
        row.id = id;
        last_level = level;
      }
      by_uid[uid] = task;
      ReadTaskValues(node, *task);
      PlaceUndatedTask(*task, node.child("Start"), node.child("Finish"), *project);
      if (node.child("Start") && node.child("Finish") && node.child("EarlyStart") &&
          node.child("EarlyFinish")) {
        scheduled.insert(task);
      }
      if (!summary_row) {
        for (pugi::xml_node link : node.children("PredecessorLink")) {
          if (TextOf(link.child("CrossProject")) == std::string_view("1")) continue;
          pugi::xml_node uid_of = link.child("PredecessorUID");
          const std::int64_t code = link.child("Type") ? WholeNumber(link.child("Type"), 0, 3) : 1;
          const std::int64_t link_lag =
              link.child("LinkLag")
                  ? WholeNumber(link.child("LinkLag"), -1'000'000'000'000, 1'000'000'000'000)
                  : 0;
          links.push_back(
              {task, WholeNumber(uid_of, 0, kMaxUid), within + uid_of.offset_debug(),
               static_cast<LinkType>(
                   std::find(std::begin(kLinkCodes), std::end(kLinkCodes), code) -
                   std::begin(kLinkCodes)),
               link_lag, LagFormatOf(TextOf(link.child("LagFormat")))});
        }
      }
      row.written_unread = true;
      placements.push_back(ReadTaskPlacement(node));
    } catch (LoadFailure& failure) {
      RethrowWithin(failure, within);
    }
    source->task_texts.push_back(std::move(row));
  }
  if (spans.has_tasks) {
    CheckBetweenRows(text, after_rows, spans.content_end);
    source->after_tasks = text.substr(after_rows, spans.content_end - after_rows);
  }
  project->last_outline_level_ = last_level;
  project->next_unique_id_ = next_uid;
  project->outline_dirty_ = true;

  for (const PendingLink& link : links) {
    const auto found = by_uid.find(link.predecessor_uid);
    if (found == by_uid.end() && blank_uids.count(link.predecessor_uid) == 0) {
      throw LoadFailure{link.at,
                        file_message::LinkToMissingTask(link.successor->unique_id_,
                                                        link.predecessor_uid),
                        true};
    }
    // A link to a blank row or to the task itself means nothing to the schedule; it stays in
    // the file as it is.
    if (found == by_uid.end() || found->second == link.successor || found->second->id_ == 0) {
      continue;
    }
    const Link to{link.successor, link.type, LagOf(link.link_lag, link.format), link.format};
    Task* predecessor = found->second;
    predecessor->successors_.push_back(to);
    link.successor->predecessors_.push_back(Link{predecessor, link.type, to.lag, to.lag_format});
  }

  ApplyResourceSchedule(*project, ReadResourceSchedule(root, placements, project->calendar_));
  HoldUnmodelledDates(root, by_uid);
  if (from_finish && !root.child("FinishDate")) {
    for (const auto& row : project->rows_) {
      if (row) project->project_finish_ = std::max(project->project_finish_, row->finish_);
    }
  }
  source->project_finish = project->project_finish_;

  // The task tables, when the file carries them.
  std::vector<std::unique_ptr<Table>> tables;
  std::optional<std::string> current;
  Project* owner = project.get();
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (!IsTablePi(node)) continue;
    source->had_tables = true;
    const auto pairs = ReadPairs(node.value());
    if (!pairs) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
    const std::string_view target = node.name();
    if (target == kTablePi) {
      tables.push_back(std::make_unique<Table>(TextPair(*pairs, "name", node),
                                               [owner] { owner->MarkChanged(); }));
    } else if (target == kColumnPi) {
      if (tables.empty()) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      const host::FieldId field = NumberPair(*pairs, "field", node, 0, kMaxUid);
      if (field != 0 && FindField(field) == nullptr) {
        Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      }
      tables.back()->Columns().Append(Column(
          field, TextPair(*pairs, "title", node), NumberPair(*pairs, "width", node, 0, 1000),
          NumberPair(*pairs, "align", node, 0, 2), NumberPair(*pairs, "title-align", node, 0, 2),
          NumberPair(*pairs, "wrap", node, 0, 1) != 0));
    } else {
      current = TextPair(*pairs, "name", node);
    }
  }
  if (!tables.empty()) project->tables_ = std::move(tables);
  if (current) {
    bool known = false;
    for (const auto& table : project->tables_) known = known || NamesEqual(table->Name(), *current);
    if (known) project->current_table_ = *current;
  }

  project->EnsureOutline();
  // The trial schedule takes memory of its own: what the reading needed goes first.
  std::unordered_map<std::int64_t, Task*>().swap(by_uid);
  std::vector<PendingLink>().swap(links);
  std::vector<TaskPlacement>().swap(placements);
  scratch.reset();
  HoldUnreproducedDates(*project, scheduled);
  source->aliases = project->aliases_;
  source->formulas = project->formulas_;
  source->tables = source->had_tables ? Joined(TableInstructions(*project)) : DefaultTables(app);
  project->SetSource(std::move(source));
  project->MarkSaved();
  return project;
}

namespace {

// Writes the value of custom field `field` into a task element; an empty value removes it.
void WriteCustomValue(pugi::xml_node task, host::FieldId field, const std::string& value,
                      bool with_uid, std::int64_t& next_value_uid) {
  const std::string id = std::to_string(field);
  pugi::xml_node found;
  for (pugi::xml_node attribute : task.children("ExtendedAttribute")) {
    if (TextOf(attribute.child("FieldID")) == id) found = attribute;
  }
  if (value.empty()) {
    if (found) task.remove_child(found);
    return;
  }
  if (!found) {
    found = InsertOrdered(task, "ExtendedAttribute", detail::TaskChildOrder());
    if (with_uid) found.append_child("UID").text() = next_value_uid++;
    found.append_child("FieldID").text() = id.c_str();
  }
  pugi::xml_node v = found.child("Value");
  if (!v) v = found.insert_child_after("Value", found.child("FieldID"));
  v.text() = value.c_str();
}

// Writes what differs between `before` (nothing for a new task) and `now`.
void WriteTask(pugi::xml_node node, const std::optional<TaskState>& before, const TaskState& now,
               bool summary_row) {
  const auto order = detail::TaskChildOrder();
  if (!summary_row && (!before || before->name != now.name))
    SetChild(node, "Name", now.name, order);
  if (!summary_row && (!before || before->outline_level != now.outline_level)) {
    SetChild(node, "OutlineLevel", std::to_string(now.outline_level), order);
  }
  if (!before || before->start != now.start) {
    SetChild(node, "Start", detail::MspdiDateText(now.start), order);
  }
  if (!before || before->finish != now.finish) {
    SetChild(node, "Finish", detail::MspdiDateText(now.finish), order);
  }
  if (!before || before->duration != now.duration) {
    SetChild(node, "Duration", detail::MspdiDurationText(now.duration), order);
    if (!node.child("DurationFormat")) SetChild(node, "DurationFormat", "7", order);
  }
  if (!summary_row && (before ? before->manual != now.manual : now.manual)) {
    SetChild(node, "Manual", now.manual ? "1" : "0", order);
  }
  // A manual task's own dates are what the user gave it, which the desktop scheduler reads
  // back from these; a value typed over a text placeholder ("after the permit") replaces it,
  // and an untouched placeholder stays.
  if (now.manual) {
    // A file's task without a date got one where it was read: no value was typed over it.
    constexpr Moment kUndated = std::numeric_limits<Moment>::min();
    const bool start_typed = before && before->start != now.start && before->start != kUndated;
    if (start_typed || !node.child("ManualStart"))
      SetChild(node, "ManualStart", detail::MspdiDateText(now.start), order);
    if (start_typed) node.remove_child("StartText");
    const bool finish_typed =
        before && before->finish != now.finish && before->finish != kUndated;
    if (finish_typed || !node.child("ManualFinish"))
      SetChild(node, "ManualFinish", detail::MspdiDateText(now.finish), order);
    if (finish_typed) node.remove_child("FinishText");
    const bool duration_typed = before && before->duration != now.duration;
    if (duration_typed || !node.child("ManualDuration"))
      SetChild(node, "ManualDuration", detail::MspdiDurationText(now.duration), order);
    if (duration_typed) node.remove_child("DurationText");
  }
  // The flag follows a changed duration; a file's zero-length task that is no milestone, or a
  // milestone with a length, keeps its flag.
  if (!summary_row && (!before || (before->duration != now.duration &&
                                   before->milestone != now.milestone))) {
    SetChild(node, "Milestone", now.milestone ? "1" : "0", order);
  }
  if (!before || before->early_start != now.early_start)
    SetOptionalChild(node, "EarlyStart", now.early_start);
  if (!before || before->early_finish != now.early_finish)
    SetOptionalChild(node, "EarlyFinish", now.early_finish);
  if (!before || before->late_start != now.late_start)
    SetOptionalChild(node, "LateStart", now.late_start);
  if (!before || before->late_finish != now.late_finish)
    SetOptionalChild(node, "LateFinish", now.late_finish);
  if (!before || before->actual_start != now.actual_start)
    SetOptionalChild(node, "ActualStart", now.actual_start);
  if (!before || before->actual_finish != now.actual_finish)
    SetOptionalChild(node, "ActualFinish", now.actual_finish);
  if (!before || before->constraint != now.constraint) {
    SetChild(node, "ConstraintType", std::to_string(static_cast<int>(now.constraint)), order);
  }
  if (!before || before->constraint_date != now.constraint_date) {
    SetOptionalChild(node, "ConstraintDate", now.constraint_date);
  }
  if (!before || before->baseline_start != now.baseline_start ||
      before->baseline_finish != now.baseline_finish ||
      before->baseline_amounts != now.baseline_amounts) {
    WriteBaseline(node, before, now);
  }
  if (!before || before->links != now.links) {
    // Links the file already has keep their element (and whatever the workbench does not model
    // in it); a link's type and lag are rewritten only when they changed.
    std::vector<pugi::xml_node> existing;
    for (pugi::xml_node link : node.children("PredecessorLink")) {
      if (TextOf(link.child("CrossProject")) != std::string_view("1")) existing.push_back(link);
    }
    std::vector<bool> used(existing.size(), false);
    for (const LinkState& link : now.links) {
      const std::string uid = std::to_string(link.predecessor_uid);
      pugi::xml_node element;
      for (std::size_t i = 0; i < existing.size() && !element; ++i) {
        if (!used[i] && TextOf(existing[i].child("PredecessorUID")) == uid) {
          used[i] = true;
          element = existing[i];
        }
      }
      const std::string code = std::to_string(kLinkCodes[static_cast<int>(link.type)]);
      const std::string link_lag = std::to_string(LinkLagOf(link.lag, link.lag_format));
      const std::string format(LagFormatCode(link.lag_format));
      if (!element) {
        element = InsertOrdered(node, "PredecessorLink", order);
        element.append_child("PredecessorUID").text() = uid.c_str();
        element.append_child("Type").text() = code.c_str();
        element.append_child("CrossProject").text() = "0";
        element.append_child("LinkLag").text() = link_lag.c_str();
        element.append_child("LagFormat").text() = format.c_str();
        continue;
      }
      const auto old_code = detail::ReadWholeNumber(TextOf(element.child("Type")), 0, 3);
      if (!old_code || *old_code != kLinkCodes[static_cast<int>(link.type)]) {
        SetChild(element, "Type", code, detail::LinkChildOrder());
      }
      const auto old_lag = detail::ReadWholeNumber(TextOf(element.child("LinkLag")),
                                                      -1'000'000'000'000, 1'000'000'000'000);
      const LagFormat old_format = LagFormatOf(TextOf(element.child("LagFormat")));
      if (!old_lag || LagOf(*old_lag, old_format) != link.lag ||
          old_format != link.lag_format) {
        SetChild(element, "LinkLag", link_lag, detail::LinkChildOrder());
        SetChild(element, "LagFormat", format, detail::LinkChildOrder());
      }
    }
    for (std::size_t i = 0; i < existing.size(); ++i) {
      if (!used[i]) node.remove_child(existing[i]);
    }
  }
}

// The definition element of a custom field, made in the schema's place when asked.
pugi::xml_node FieldDefinition(pugi::xml_node root, host::FieldId field, bool make) {
  const std::string id = std::to_string(field);
  pugi::xml_node definitions = root.child("ExtendedAttributes");
  for (pugi::xml_node d : definitions.children("ExtendedAttribute")) {
    if (TextOf(d.child("FieldID")) == id) return d;
  }
  if (!make) return {};
  if (!definitions)
    definitions = InsertOrdered(root, "ExtendedAttributes", detail::ProjectChildOrder());
  pugi::xml_node d = definitions.append_child("ExtendedAttribute");
  d.append_child("FieldID").text() = id.c_str();
  d.append_child("FieldName").text() = std::string(FieldOrRaise(field).name).c_str();
  return d;
}

void SetDefinitionChild(pugi::xml_node definition, std::string_view name,
                        const std::string& value) {
  if (value.empty()) {
    definition.remove_child(std::string(name).c_str());
  } else {
    SetChild(definition, name, value, detail::FieldDefinitionChildOrder());
  }
}

}  // namespace

// Puts the task texts in the order of the project's rows when the user inserted, deleted or
// moved rows since they were made: each text follows its task by UID, blank rows take the blank
// texts in order, a task without a text gets a new element and the text of a deleted task goes.
void ProjectFileAccess::AlignTextsWithRows(MspdiSource& source, Project& project,
                                           pugi::xml_document& scratch) {
  const std::size_t first = source.has_summary_row ? 1 : 0;
  std::vector<TaskText>& texts = source.task_texts;
  auto matches = [](const TaskText& text, const Task* task) {
    return task == nullptr ? text.blank : !text.blank && text.uid == task->UniqueID();
  };
  bool aligned = true;
  for (std::size_t row = 0; row < project.rows_.size() && first + row < texts.size(); ++row) {
    if (!matches(texts[first + row], project.rows_[row].get())) {
      aligned = false;
      break;
    }
  }
  // Rows only appended are written by the save as new rows; fewer rows than texts is a deletion.
  if (aligned && texts.size() <= first + project.rows_.size()) return;
  std::unordered_map<std::int64_t, TaskText> by_uid;
  std::deque<TaskText> blanks;
  for (std::size_t i = first; i < texts.size(); ++i) {
    if (texts[i].blank) {
      blanks.push_back(std::move(texts[i]));
    } else if (texts[i].uid) {
      by_uid.emplace(*texts[i].uid, std::move(texts[i]));
    }
  }
  texts.resize(first);
  for (std::size_t row = 0; row < project.rows_.size(); ++row) {
    const Task* task = project.rows_[row].get();
    if (task != nullptr) {
      if (auto found = by_uid.find(task->UniqueID()); found != by_uid.end()) {
        texts.push_back(std::move(found->second));
        by_uid.erase(found);
        continue;
      }
    } else if (!blanks.empty()) {
      texts.push_back(std::move(blanks.front()));
      blanks.pop_front();
      continue;
    }
    scratch.reset();
    pugi::xml_node node = scratch.append_child("Task");
    const std::int32_t uid = task ? task->UniqueID() : project.next_unique_id_++;
    node.append_child("UID").text() = uid;
    node.append_child("ID").text() = static_cast<int>(row + 1);
    node.append_child("IsNull").text() = task ? "0" : "1";
    if (task) node.append_child("CreateDate").text() = detail::MspdiDateText(task->created_).c_str();
    texts.push_back(NewRow(node, source.form));
    texts.back().uid = uid;
    texts.back().blank = task == nullptr;
    texts.back().id = static_cast<std::int32_t>(row + 1);
  }
  // The elements of deleted tasks are gone; so are the links that other elements have to them.
  if (by_uid.empty()) return;
  for (std::size_t i = first; i < texts.size(); ++i) {
    TaskText& text = texts[i];
    if (text.blank) continue;
    pugi::xml_node node = ParseElement(scratch, RowText(source, text).substr(text.prefix));
    bool dropped = false;
    for (pugi::xml_node link = node.child("PredecessorLink"); link;) {
      const pugi::xml_node next = link.next_sibling("PredecessorLink");
      const auto uid = detail::ReadWholeNumber(TextOf(link.child("PredecessorUID")), 0, kMaxUid);
      if (uid && by_uid.count(*uid) != 0) {
        node.remove_child(link);
        dropped = true;
      }
      link = next;
    }
    if (!dropped) continue;
    std::string rewritten(RowText(source, text).substr(0, text.prefix));
    rewritten += ElementText(node, source.form);
    text.own = std::move(rewritten);
    text.written.reset();
    text.written_unread = true;
  }
}

MspdiSource& ProjectFileAccess::Update(Project& project) {
  MspdiSource& source = SourceOf(project);
  pugi::xml_node root = source.doc.document_element();
  pugi::xml_node tasks = root.child("Tasks");
  project.EnsureOutline();

  // Scheduling from the finish: the flag and the date, when they differ from the document's.
  const bool file_from_finish = TextOf(root.child("ScheduleFromStart")) == std::string_view("0");
  if (file_from_finish != project.ScheduleFromFinish()) {
    SetChild(root, "ScheduleFromStart", project.ScheduleFromFinish() ? "0" : "1",
             detail::ProjectChildOrder());
  }
  if (project.ScheduleFromFinish() && source.project_finish != project.ProjectFinish()) {
    SetChild(root, "FinishDate", detail::MspdiDateText(project.ProjectFinish()),
             detail::ProjectChildOrder());
    source.project_finish = project.ProjectFinish();
  }
  if (source.new_tasks_manual != project.NewTasksAreManual()) {
    SetChild(root, "NewTasksAreManual", project.NewTasksAreManual() ? "1" : "0",
             detail::ProjectChildOrder());
    source.new_tasks_manual = project.NewTasksAreManual();
  }

  std::unordered_set<std::int64_t> live_uids;
  for (const auto& row : project.rows_) {
    if (row) live_uids.insert(row->UniqueID());
  }
  std::set<host::FieldId> fields_used;  // custom fields given a value by this save
  pugi::xml_document scratch;
  AlignTextsWithRows(source, project, scratch);
  // Writes what differs between the row's element and `now`, when anything does, and keeps the
  // element as the row's text.
  const auto write_row = [&](TaskText& row, const TaskState& now, bool summary_row,
                             std::int64_t uid, std::int32_t id) {
    const bool renumbered = row.id != id;
    if (!renumbered && row.written && *row.written == now) return;
    const std::string_view text = RowText(source, row);
    pugi::xml_node node = ParseElement(scratch, text.substr(row.prefix));
    if (row.written_unread) {
      row.written = DocumentState(node, summary_row, project.MinutesPerDay(), project.ProjectStart());
      KeepLinksAmong(*row.written, uid, live_uids);
      row.written_unread = false;
      if (!renumbered && *row.written == now) return;
    }
    const std::optional<TaskState> before = std::move(row.written);
    if (renumbered) SetChild(node, "ID", std::to_string(id), detail::TaskChildOrder());
    row.id = id;
    WriteTask(node, before, now, summary_row);
    if (!summary_row && (!before || before->custom != now.custom)) {
      std::map<host::FieldId, std::pair<std::string, std::string>> changes;  // old, new
      if (before) {
        for (const auto& [field, value] : before->custom) changes[field].first = value;
      }
      for (const auto& [field, value] : now.custom) changes[field].second = value;
      for (const auto& [field, values] : changes) {
        if (values.first == values.second) continue;
        WriteCustomValue(node, field, values.second, source.project_2003, source.next_value_uid);
        if (!values.second.empty()) fields_used.insert(field);
      }
    }
    std::string rewritten(text.substr(0, row.prefix));
    rewritten += ElementText(node, source.form);
    row.own = std::move(rewritten);
    row.written = DocumentState(node, summary_row, project.MinutesPerDay(), project.ProjectStart());
    KeepLinksAmong(*row.written, uid, live_uids);
  };

  if (source.has_summary_row) {
    TaskState now = CaptureTask(project.SummaryTask(), true);
    CaptureStoredValues(project.SummaryTask(), true, now);
    write_row(source.task_texts.front(), now, true, 0, 0);
  }
  const std::size_t first_row = source.has_summary_row ? 1 : 0;
  for (std::size_t row = 0; row < project.rows_.size(); ++row) {
    const Task* task = project.rows_[row].get();
    if (first_row + row >= source.task_texts.size()) {
      scratch.reset();
      pugi::xml_node node = scratch.append_child("Task");
      const std::int32_t uid = task ? task->UniqueID() : project.next_unique_id_++;
      node.append_child("UID").text() = uid;
      node.append_child("ID").text() = static_cast<int>(row + 1);
      node.append_child("IsNull").text() = task ? "0" : "1";
      if (task) {
        node.append_child("CreateDate").text() = detail::MspdiDateText(task->created_).c_str();
      }
      source.task_texts.push_back(NewRow(node, source.form));
      source.task_texts.back().uid = uid;
      source.task_texts.back().blank = task == nullptr;
      source.task_texts.back().id = static_cast<std::int32_t>(row + 1);
    }
    const auto id = static_cast<std::int32_t>(row + 1);
    TaskText& text = source.task_texts[first_row + row];
    if (task == nullptr) {
      if (text.id != id) {
        pugi::xml_node node = ParseElement(scratch, RowText(source, text).substr(text.prefix));
        SetChild(node, "ID", std::to_string(id), detail::TaskChildOrder());
        std::string rewritten(RowText(source, text).substr(0, text.prefix));
        rewritten += ElementText(node, source.form);
        text.own = std::move(rewritten);
        text.id = id;
      }
      continue;
    }
    TaskState now = CaptureTask(*task, false);
    CaptureStoredValues(*task, false, now);
    write_row(text, now, false, task->UniqueID(), id);
  }
  if (!source.task_texts.empty() && !tasks) {
    tasks = InsertOrdered(root, "Tasks", detail::ProjectChildOrder());
    AddMarker(tasks, source.marker);
    source.after_tasks = AfterNewRows(source.form);
  }

  // Custom-field definitions: aliases and formulas that changed, and a definition for every
  // field that got its first value, as the scheduler keeps one for each field in use.
  for (const host::FieldId field : fields_used) FieldDefinition(root, field, true);
  for (int i = 0; i < kCustomTextCount; ++i) {
    const std::string& alias = project.CustomTextAlias(i);
    const std::string& formula = project.CustomTextFormula(i);
    const bool alias_changed = alias != source.aliases[i];
    const bool formula_changed = formula != source.formulas[i];
    pugi::xml_node definition =
        FieldDefinition(root, CustomTextField(i), alias_changed || formula_changed);
    if (alias_changed) SetDefinitionChild(definition, "Alias", alias);
    if (formula_changed) SetDefinitionChild(definition, "Formula", formula);
    source.aliases[i] = alias;
    source.formulas[i] = formula;
  }

  // Task tables: written when they differ from what the file had, or when the file had them.
  const std::vector<Instruction> instructions = TableInstructions(project);
  const std::string tables = Joined(instructions);
  if (tables != source.tables || source.had_tables) {
    for (pugi::xml_node node = source.doc.first_child(); node;) {
      pugi::xml_node next = node.next_sibling();
      if (IsTablePi(node)) source.doc.remove_child(node);
      node = next;
    }
    for (const Instruction& i : instructions) {
      pugi::xml_node pi = source.doc.insert_child_before(pugi::node_pi, root);
      pi.set_name(i.target.c_str());
      pi.set_value(i.value.c_str());
    }
    source.tables = tables;
    source.had_tables = true;
  }

  return source;
}

namespace {

bool IsLayout(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Passes the tree's text on with the task rows where the marker stands. The layout the tree puts
// around the marker gives way to the rows' own.
class RowsInPlace final : public pugi::xml_writer {
 public:
  RowsInPlace(const MspdiSource& source, pugi::xml_writer& out)
      : source_(source), out_(out), marker_("<?" + source.marker + "?>") {}

  void write(const void* data, std::size_t size) override {
    held_.append(static_cast<const char*>(data), size);
    if (!placed_) {
      const std::size_t at = held_.find(marker_);
      if (at == std::string::npos) {
        // Holds back what may be the start of the marker, and the layout before it.
        std::size_t keep = held_.size() - std::min(held_.size(), marker_.size() - 1);
        while (keep > 0 && IsLayout(held_[keep - 1])) --keep;
        Pass(std::string_view(held_).substr(0, keep));
        held_.erase(0, keep);
        return;
      }
      std::size_t before = at;
      while (before > 0 && IsLayout(held_[before - 1])) --before;
      Pass(std::string_view(held_).substr(0, before));
      for (const TaskText& row : source_.task_texts) Pass(RowText(source_, row));
      Pass(source_.after_tasks);
      held_.erase(0, at + marker_.size());
      placed_ = true;
      skipping_layout_ = true;
    }
    if (skipping_layout_) {
      const std::size_t first = held_.find_first_not_of(" \t\r\n");
      held_.erase(0, first == std::string::npos ? held_.size() : first);
      skipping_layout_ = held_.empty();
    }
    Pass(held_);
    held_.clear();
  }

  // After the tree's last text: what was held back goes out. A tree without the marker would
  // leave the tasks out, which no save may do.
  void Finish() {
    if (!placed_ && !source_.task_texts.empty()) {
      throw std::logic_error("the project's tasks have no place in its document");
    }
    Pass(held_);
    held_.clear();
  }

 private:
  void Pass(std::string_view text) {
    if (!text.empty()) out_.write(text.data(), text.size());
  }

  const MspdiSource& source_;
  pugi::xml_writer& out_;
  const std::string marker_;
  std::string held_;
  bool placed_ = false;
  bool skipping_layout_ = false;
};

void SaveDocument(const MspdiSource& source, pugi::xml_writer& writer) {
  const unsigned layout = source.form.indented ? pugi::format_indent : pugi::format_raw;
  const unsigned bom = source.form.byte_order_mark ? pugi::format_write_bom : 0u;
  if (source.form.encoding == pugi::encoding_utf8) {
    RowsInPlace rows(source, writer);
    source.doc.save(rows, "\t", layout | bom, pugi::encoding_utf8);
    rows.Finish();
    return;
  }
  // The rows are UTF-8 text: a document in another encoding is put together in UTF-8 first.
  StringWriter utf8;
  RowsInPlace rows(source, utf8);
  source.doc.save(rows, "\t", layout, pugi::encoding_utf8);
  rows.Finish();
  pugi::xml_document whole;
  if (!whole.load_buffer(utf8.out.data(), utf8.out.size(), kParseOptions, pugi::encoding_utf8)) {
    throw std::logic_error("the project's document does not read back");
  }
  whole.save(writer, "\t", layout | bom, source.form.encoding);
}

// Hands the document's text on as it is written, so that a save holds no copy of it.
struct ChunkWriter final : pugi::xml_writer {
  explicit ChunkWriter(const ChunkSink& sink) : sink_(sink) {}
  void write(const void* data, std::size_t size) override {
    sink_(std::string_view(static_cast<const char*>(data), size));
  }
  const ChunkSink& sink_;
};

}  // namespace

namespace {

std::int64_t LineOf(std::string_view text, std::ptrdiff_t offset) {
  if (offset < 0) return 0;
  const auto end = std::min(text.size(), static_cast<std::size_t>(offset));
  return 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
}

// The layout of a document from its first bytes, and the encoding its parsing found.
TextForm FormOf(std::string_view start, const pugi::xml_parse_result& parsed) {
  TextForm form;
  form.encoding = parsed.encoding;
  form.byte_order_mark = start.substr(0, 3) == "\xEF\xBB\xBF" || start.substr(0, 2) == "\xFF\xFE" ||
                         start.substr(0, 2) == "\xFE\xFF";
  // Only a byte-wise search is made: a document in UTF-16 or UTF-32 is saved indented.
  const std::size_t root = start.find("<Project");
  if (root == std::string_view::npos) return form;
  const std::size_t close = start.find('>', root);
  form.indented = close != std::string_view::npos && close + 1 < start.size() &&
                  (start[close + 1] == '\n' || start[close + 1] == '\r');
  return form;
}


// Parses all of `text` but the content of its Tasks element into `doc`, from a copy the tree owns.
pugi::xml_parse_result ParseTree(pugi::xml_document& doc, std::string_view text,
                                 const detail::TaskSpans* spans, pugi::xml_encoding encoding) {
  std::size_t cut = text.size(), cut_size = 0;
  if (spans != nullptr && spans->has_tasks) {
    cut = spans->content_begin;
    cut_size = spans->content_end - spans->content_begin;
  }
  const std::size_t size = text.size() - cut_size;
  char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size == 0 ? 1 : size));
  if (buffer == nullptr) throw std::bad_alloc();
  if (cut > 0) std::memcpy(buffer, text.data(), cut);
  if (size > cut) std::memcpy(buffer + cut, text.data() + cut + cut_size, size - cut);
  return doc.load_buffer_inplace_own(buffer, size, kParseOptions, encoding);
}

// An offset in the tree's text as an offset in the whole text.
std::ptrdiff_t TextOffset(std::ptrdiff_t offset, const detail::TaskSpans* spans) {
  if (spans == nullptr || !spans->has_tasks || offset < 0 ||
      offset < static_cast<std::ptrdiff_t>(spans->content_begin)) {
    return offset;
  }
  return offset + static_cast<std::ptrdiff_t>(spans->content_end - spans->content_begin);
}

ProjectFileError NotParsed(const pugi::xml_parse_result& parsed, std::string_view text,
                           std::ptrdiff_t offset, const std::filesystem::path& path) {
  const bool empty = parsed.status == pugi::status_no_document_element &&
                     text.find_first_not_of(" \t\r\n") == std::string_view::npos;
  return ProjectFileError(
      FileStatus::kMalformed, path, empty ? 0 : LineOf(text, offset),
      empty ? std::string(file_message::kEmptyFile) : file_message::NotXml(parsed.description()));
}

std::unique_ptr<Project> ReadText(Application& app, std::string text,
                                  const std::filesystem::path& path) {
  auto source = std::make_unique<MspdiSource>();
  std::optional<detail::TaskSpans> spans = detail::FindTaskSpans(text);
  pugi::xml_parse_result parsed =
      ParseTree(source->doc, text, spans ? &*spans : nullptr, pugi::encoding_auto);
  if (!parsed) {
    throw NotParsed(parsed, text, TextOffset(parsed.offset, spans ? &*spans : nullptr), path);
  }
  source->form = FormOf(std::string_view(text).substr(0, 4096), parsed);
  bool lines_known = true;
  if (parsed.encoding != pugi::encoding_utf8 || !spans) {
    // A text in another encoding, or one whose tasks could not be found by following its markup:
    // the tree of all of it, written out in UTF-8, is split instead. Its lines are not the file's.
    pugi::xml_document whole;
    parsed = whole.load_buffer(text.data(), text.size(), kParseOptions);
    if (!parsed) throw NotParsed(parsed, text, parsed.offset, path);
    StringWriter utf8;
    whole.save(utf8, "", pugi::format_raw, pugi::encoding_utf8);
    text = std::move(utf8.out);
    spans = detail::FindTaskSpans(text);
    if (!spans) {
      throw ProjectFileError(FileStatus::kMalformed, path, 0,
                             std::string(file_message::kTasksNotFound));
    }
    source->doc.reset();
    parsed = ParseTree(source->doc, text, &*spans, pugi::encoding_utf8);
    if (!parsed) throw NotParsed(parsed, text, -1, path);
    lines_known = false;
  }
  source->marker = MarkerFor(text);
  source->text = std::move(text);
  try {
    return ProjectFileAccess::Read(app, source, *spans, path);
  } catch (const LoadFailure& failure) {
    const std::ptrdiff_t offset =
        failure.in_text ? failure.offset : TextOffset(failure.offset, &*spans);
    throw ProjectFileError(FileStatus::kMalformed, path,
                           lines_known ? LineOf(source->text, offset) : 0, failure.description);
  }
}

}  // namespace

std::unique_ptr<Project> ReadProjectText(Application& app, std::string_view text,
                                         const std::filesystem::path& path) {
  return ReadText(app, std::string(text), path);
}

std::unique_ptr<Project> ReadProjectFile(Application& app, const std::filesystem::path& path) {
  const auto unreadable = [&path](int error) {
    return ProjectFileError(FileStatus::kUnreadable, path, 0,
                            file_message::Unreadable(std::strerror(error)));
  };
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    if (error == ENOENT) {
      throw ProjectFileError(FileStatus::kNotFound, path, 0, std::string(file_message::kNotFound));
    }
    throw unreadable(error);
  }
  struct stat status {};
  if (::fstat(::fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
    std::fclose(file);
    throw unreadable(error);
  }
  // The file's text is held once: the project keeps it, and its tasks are read from it.
  std::string text(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)), '\0');
  const std::size_t got = std::fread(text.data(), 1, text.size(), file);
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) throw unreadable(error);
  text.resize(got);
  return ReadText(app, std::move(text), path);
}

Project& OpenProjectFile(Application& app, const std::filesystem::path& path,
                         host::ProjectEvents* open_sink) {
  std::unique_ptr<Project> project = ReadProjectFile(app, path);
  if (open_sink != nullptr) project->AddEventSink(*open_sink);
  return app.AdoptOpenedProject(std::move(project));
}

std::string ProjectFileText(Project& project) {
  StringWriter writer;
  SaveDocument(ProjectFileAccess::Update(project), writer);
  return std::move(writer.out);
}

bool ProjectFileKeepsField(host::FieldId field) {
  static constexpr host::FieldId kKept[] = {
      field::kName,           field::kDuration,      field::kMilestone,     field::kStart,
      field::kFinish,         field::kActualStart,   field::kActualFinish,  field::kConstraintType,
      field::kConstraintDate, field::kPredecessors,  field::kSuccessors,    field::kBaselineStart,
      field::kBaselineFinish, kBaselineAmounts[0].field, kBaselineAmounts[1].field,
      kBaselineAmounts[2].field};
  return std::find(std::begin(kKept), std::end(kKept), field) != std::end(kKept) ||
         CustomValueField(field) != nullptr;
}

void SaveProjectFile(Project& project, const std::filesystem::path& path) {
  MspdiSource& source = ProjectFileAccess::Update(project);
  WriteFileAtomically(path, [&source](const ChunkSink& sink) {
    ChunkWriter writer(sink);
    SaveDocument(source, writer);
  });
  source.file = path;
  project.MarkSaved();
}

std::vector<std::string> ProjectFileNotes(const Project& project) {
  const auto* source = dynamic_cast<const MspdiSource*>(project.Source());
  return source ? source->notes : std::vector<std::string>();
}

std::filesystem::path ProjectFilePath(const Project& project) {
  if (const auto* source = dynamic_cast<const MspdiSource*>(project.Source())) return source->file;
  return {};
}

void UseProjectFiles(Application& app) {
  app.SetSaveHandler([](Project& project) {
    // Save As renames the project first: the new name is the file to write, beside the old
    // file unless it names a folder of its own.
    std::filesystem::path path = ProjectFilePath(project);
    const std::filesystem::path named(project.Name());
    if (path.empty() || named.has_parent_path()) {
      path = named;
    } else if (path.filename() != named) {
      path = path.parent_path() / named;
    }
    if (path.filename() != named) project.Rename(path.filename().string());
    SaveProjectFile(project, path);
  });
}

pugi::xml_node ProjectDocumentRoot(Project& project) {
  return ProjectFileAccess::SourceOf(project).doc.document_element();
}

}  // namespace lunavant::workbench

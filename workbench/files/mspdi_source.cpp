// SPDX-License-Identifier: MIT
#include "workbench/files/mspdi_source.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <random>
#include <stdexcept>
#include <utility>

#include "workbench/files/messages.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/table_instructions.h"
#include "workbench/model/application.h"

namespace lunavant::workbench::detail {

namespace {

constexpr const char* kNamespace = "http://schemas.microsoft.com/project";

// The layout before a row the workbench adds.
std::string_view NewRowPrefix(const TextForm& form) { return form.indented ? "\n\t\t" : ""; }

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
                                 const TaskSpans* spans, pugi::xml_encoding encoding) {
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
std::ptrdiff_t TextOffset(std::ptrdiff_t offset, const TaskSpans* spans) {
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

}  // namespace

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

namespace {

class CalendarsCopy final : public ProjectSource::Snapshot {
 public:
  explicit CalendarsCopy(pugi::xml_node root) {
    if (pugi::xml_node calendars = root.child("Calendars")) copy.append_copy(calendars);
    if (pugi::xml_node uid = root.child("CalendarUID")) copy.append_copy(uid);
  }
  pugi::xml_document copy;
};

// Puts `saved` (a copy of one of root's children, or none) in place of root's child `name`.
void PutBack(pugi::xml_node root, const char* name, pugi::xml_node saved) {
  pugi::xml_node now = root.child(name);
  if (saved && now) {
    root.insert_copy_after(saved, now);
  } else if (saved) {
    InsertOrdered(root, name, ProjectChildOrder());
    now = root.child(name);
    root.insert_copy_after(saved, now);
  }
  if (now) root.remove_child(now);
}

}  // namespace

std::shared_ptr<const ProjectSource::Snapshot> MspdiSource::TakeSnapshot() const {
  return std::make_shared<const CalendarsCopy>(doc.document_element());
}

void MspdiSource::RestoreSnapshot(const Snapshot& snapshot) {
  const auto* saved = dynamic_cast<const CalendarsCopy*>(&snapshot);
  if (saved == nullptr) return;
  const pugi::xml_node root = doc.document_element();
  PutBack(root, "Calendars", saved->copy.child("Calendars"));
  PutBack(root, "CalendarUID", saved->copy.child("CalendarUID"));
}

std::unique_ptr<MspdiSource> NewSource(Project& project) {
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
  root.append_child("StartDate").text() = MspdiDateText(project.ProjectStart()).c_str();
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
    period.append_child("FromDate").text() = MspdiDateText(day * kMinutesPerDay).c_str();
    period.append_child("ToDate").text() =
        MspdiDateText(day * kMinutesPerDay + kMinutesPerDay - 1).c_str();
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
  source.tables = DefaultTablesText(project.App());
  return made;
}

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

std::string AfterNewRows(const TextForm& form) { return form.indented ? "\n\t" : ""; }

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

std::string RewrittenRow(std::string_view row_text, const TaskText& row, pugi::xml_node element,
                         const TextForm& form) {
  std::string rewritten(row_text.substr(0, row.prefix));
  rewritten += ElementText(element, form);
  return rewritten;
}

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
  const pugi::xml_parse_result parsed = scratch.load_buffer(
      between.data(), between.size(), kParseOptions | pugi::parse_fragment, pugi::encoding_utf8);
  try {
    if (!parsed) throw LoadFailure{parsed.offset, file_message::NotXml(parsed.description())};
    CheckDepth(scratch, kMaxDepth - 2);
  } catch (LoadFailure& failure) {
    RethrowWithin(failure, within);
  }
}

ParsedText ParseSourceText(std::string text, const std::filesystem::path& path) {
  auto source = std::make_unique<MspdiSource>();
  std::optional<TaskSpans> spans = FindTaskSpans(text);
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
    spans = FindTaskSpans(text);
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
  return ParsedText{std::move(source), std::move(*spans), lines_known};
}

ProjectFileError FailureInFile(const LoadFailure& failure, const ParsedText& parsed,
                               const std::filesystem::path& path) {
  const std::ptrdiff_t offset =
      failure.in_text ? failure.offset : TextOffset(failure.offset, &parsed.spans);
  return ProjectFileError(FileStatus::kMalformed, path,
                          parsed.lines_known ? LineOf(parsed.source->text, offset) : 0,
                          failure.description);
}
}  // namespace lunavant::workbench::detail

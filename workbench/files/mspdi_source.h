// SPDX-License-Identifier: MIT
// The document a project came from, kept with the project (see project_file.h): the file's text,
// and a tree of all of it but the task elements, which stay text as rows and are parsed one at a
// time when read or changed. The tasks take their place in the tree as a processing instruction,
// the marker, which a save replaces with the rows' text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbench/files/file_error.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/task_spans.h"
#include "workbench/files/task_state.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"

namespace lunavant::workbench::detail {

inline constexpr std::int64_t kDefaultMinutesPerDay = 480;

// How a document's text is laid out and encoded; a save writes it the same way.
struct TextForm {
  bool indented = true;  // elements on lines of their own (2007 and later), or all on one line
  pugi::xml_encoding encoding = pugi::encoding_utf8;
  bool byte_order_mark = false;
};

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
  // The early and late dates of the tasks whose schedule, worked out at opening, differs from
  // their elements' (by UID; the project summary row apart). A save compares a task with these
  // in place of its element's, so that it writes what changed since the opening, and a save
  // without an edit gives the file back. Each goes once its row has been read.
  struct OpenedDates {
    std::optional<Moment> early_start, early_finish, late_start, late_finish;
  };
  std::unordered_map<std::int64_t, OpenedDates> opened_dates;
  std::optional<OpenedDates> opened_summary_dates;
  bool had_tables = false;
  // The project finish and the new-task setting as the document has them (a finish the file
  // leaves out is worked out), so that a save writes them only when they changed.
  Moment project_finish = 0;
  bool new_tasks_manual = false;
  std::vector<std::string> notes;  // what the reading took in place of what the file said

  // The Calendars element and the project's CalendarUID, copied: commands write holidays and
  // working time straight into them.
  std::shared_ptr<const Snapshot> TakeSnapshot() const override;
  void RestoreSnapshot(const Snapshot& snapshot) override;
};

// A new document of the 2003 form for a project made in the workbench, with nothing in it yet
// that the project models: the first save writes all of that.
std::unique_ptr<MspdiSource> NewSource(Project& project);

// Parses `text` (a file's, in any encoding) into a source whose tree and text are made and whose
// task rows are found, at `spans`; whether the lines of the source's text are the file's. Fails
// with ProjectFileError.
struct ParsedText {
  std::unique_ptr<MspdiSource> source;
  TaskSpans spans;
  bool lines_known = true;
};
ParsedText ParseSourceText(std::string text, const std::filesystem::path& path);
// A LoadFailure in a source's tree or text as a ProjectFileError with the file's line.
ProjectFileError FailureInFile(const LoadFailure& failure, const ParsedText& parsed,
                               const std::filesystem::path& path);

// The name of the processing instruction that stands for the tasks in the tree: one that `text`
// does not hold, so that a save cannot take anything else for it.
std::string MarkerFor(std::string_view text);
void AddMarker(pugi::xml_node tasks, const std::string& marker);
// The layout after the last row of a Tasks element the workbench made.
std::string AfterNewRows(const TextForm& form);
// A row for an element the workbench made, not yet written: a save writes all it models.
TaskText NewRow(pugi::xml_node element, const TextForm& form);
std::string_view RowText(const MspdiSource& source, const TaskText& row);
// Parses a task element's text into `scratch`. Failures are placed within `element`.
pugi::xml_node ParseElement(pugi::xml_document& scratch, std::string_view element);
// The row's text with `element` in place of its element.
std::string RewrittenRow(std::string_view row_text, const TaskText& row, pugi::xml_node element,
                         const TextForm& form);
// What lies between task elements (layout, comments, whatever else the file put there) stays as
// it is; it must still be well-formed.
void CheckBetweenRows(std::string_view text, std::size_t from, std::size_t to);

// The whole document with the rows in place of the marker, in the document's form.
void SaveDocument(const MspdiSource& source, pugi::xml_writer& writer);

}  // namespace lunavant::workbench::detail

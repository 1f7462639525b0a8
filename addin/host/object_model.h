// SPDX-License-Identifier: MIT
// The host's object model as the add-in sees it: application, projects, task tables, columns and
// tasks. Abstract because the add-in runs inside a host it does not own; the reference host in
// workbench/ implements it for real, in tests too.
//
// Ownership: the host owns every object. References and pointers handed out stay valid while the
// host keeps the object (a project until it closes, a task until it is deleted); the add-in holds
// them only for the length of a call, except the application and the bound project.
// Failures are raised as HostError (see error.h) with the host's number and description.
// Positions are counted from 1, as the host counts them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/value.h"

namespace lunavant::host {

using FieldId = std::int32_t;

class ApplicationEvents;
class ProjectEvents;
class Platform;
class CommandBarCollection;

class Task {
 public:
  virtual ~Task() = default;

  // The project summary row has ID 0 and outline level 0.
  virtual std::int32_t ID() const = 0;
  virtual std::int32_t OutlineLevel() const = 0;
  // Direct subtasks, in outline order.
  virtual std::vector<Task*> Subtasks() const = 0;
  // Tasks this one depends on, and tasks that depend on it.
  virtual std::vector<Task*> PredecessorTasks() const = 0;
  virtual std::vector<Task*> SuccessorTasks() const = 0;
  // The summary task above this one; null for the project summary row and for top-level tasks
  // when the project shows no summary row.
  virtual Task* Parent() const = 0;
  // Dependency texts in the usual form, e.g. "3FS+2d;5SS"; empty when there are none.
  virtual std::string Predecessors() const = 0;
  virtual std::string Successors() const = 0;

  // The field's text as shown: dates in the host's date format, "NA" for a date field without a
  // date. Fails for a field identifier the host does not know.
  virtual std::string GetField(FieldId field) const = 0;
  // Reads the text as the field's type and stores it. Raises ProjectBeforeTaskChange first,
  // synchronously (nested when called from inside a handler); applies nothing when a handler sets
  // Cancel. Fails, changing nothing, on text it cannot read or a date outside the host's range.
  virtual void SetField(FieldId field, const std::string& text) = 0;
};

class Column {
 public:
  virtual ~Column() = default;
  // 0 for a column that shows no field.
  virtual FieldId Field() const = 0;
  // The column's position number in its list.
  virtual std::int32_t Index() const = 0;
};

class ColumnList {
 public:
  virtual ~ColumnList() = default;
  virtual std::int32_t Count() const = 0;
  // Fails with kSubscriptOutOfRange outside 1..Count().
  virtual Column& Item(std::int32_t position) = 0;
  // Inserts a column showing `field`. `insert_position` names the column after which the new one
  // goes, counted from 0 over the columns that follow the first (locked) column: the new column
  // takes position number insert_position + 3, so a column's position number minus 2 puts the new
  // column directly to its right. Fails with a host error unless insert_position + 2 lies in
  // 0..Count().
  virtual void Add(FieldId field, std::int32_t data_alignment, std::int32_t width,
                   const std::string& title, std::int32_t title_alignment,
                   std::int32_t insert_position, bool wrap) = 0;
  // Fails with kSubscriptOutOfRange outside 1..Count().
  virtual void Delete(std::int32_t position) = 0;
};

class Table {
 public:
  virtual ~Table() = default;
  virtual std::string Name() const = 0;
  virtual ColumnList& Columns() = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual std::string Caption() const = 0;
};

class Project {
 public:
  virtual ~Project() = default;

  virtual std::string Name() const = 0;
  // Position among the open projects, from 1; shifts when an earlier project closes.
  virtual std::int32_t Index() const = 0;
  // Name of the table shown in the project's active view.
  virtual std::string CurrentTable() const = 0;
  // The restore flag: whether the project has no unsaved changes.
  virtual bool Saved() const = 0;

  virtual std::int32_t TaskTableCount() const = 0;
  // Fails with kSubscriptOutOfRange outside 1..TaskTableCount().
  virtual Table& TaskTable(std::int32_t position) = 0;
  // Fails with a host error when the project has no task table of that name.
  virtual Table& TaskTable(std::string_view name) = 0;

  virtual std::int32_t TaskCount() const = 0;
  // Null for a blank row. Fails with kSubscriptOutOfRange outside 1..TaskCount().
  virtual Task* TaskAt(std::int32_t position) = 0;

  // The project's own event, Open, goes to the sinks added here. A sink must be removed before
  // it ends.
  virtual void AddEventSink(ProjectEvents& sink) = 0;
  virtual void RemoveEventSink(ProjectEvents& sink) = 0;
};

// A window of the Office shell that has command bars of its own.
class Explorer {
 public:
  virtual ~Explorer() = default;
  virtual CommandBarCollection* CommandBars() = 0;
};

class Application {
 public:
  virtual ~Application() = default;

  // Null when no project is open.
  virtual Project* ActiveProject() = 0;
  // Includes a project whose ProjectBeforeClose is running.
  virtual std::int32_t ProjectCount() const = 0;
  // Read at every use: the user may change it at any time.
  virtual std::string DateSeparator() const = 0;

  // Field name and identifier, both ways; an unknown name or identifier fails with a host error.
  virtual std::string FieldConstantToFieldName(FieldId field) const = 0;
  virtual FieldId FieldNameToFieldConstant(std::string_view name) const = 0;

  // Alias and formula of a custom field: empty text when there is none. Fail for fields that are
  // not custom fields.
  virtual std::string CustomFieldGetName(FieldId field) const = 0;
  virtual void CustomFieldRename(FieldId field, const std::string& alias) = 0;
  virtual std::string CustomFieldGetFormula(FieldId field) const = 0;
  virtual void CustomFieldSetFormula(FieldId field, const std::string& formula) = 0;

  // Schedules the active project and raises ProjectCalculate before it returns.
  virtual void CalculateProject() = 0;
  // Shows the named task table in the active view. A leading "&", as in menu captions, is
  // ignored. Fails when the project has no such table.
  virtual void TableApply(std::string_view name) = 0;
  // Selects, in the active view (a task sheet), the first column that shows the field named
  // `field_name`: the field's own name ("Text5"), as FieldConstantToFieldName gives it, never a
  // column position. Fails with a host error when the view shows no such column.
  virtual void SelectTaskColumn(std::string_view field_name) = 0;
  // Clears the contents of the selected cells of every task; raises ProjectBeforeTaskChange for
  // each cell.
  virtual void EditClearContents() = 0;

  // Application events go to the sinks added here. A sink must be removed before it ends.
  virtual void AddEventSink(ApplicationEvents& sink) = 0;
  virtual void RemoveEventSink(ApplicationEvents& sink) = 0;

  // The host's command bars; null when the host has none.
  virtual CommandBarCollection* CommandBars() = 0;
  // The active shell window, whose command bars stand in when the application has none; null
  // when there is none.
  virtual Explorer* ActiveExplorer() = 0;

  // The platform services of the process the add-in runs in.
  virtual Platform& Services() = 0;
};

}  // namespace lunavant::host

// SPDX-License-Identifier: MIT
// Task tables: a named list of columns, each showing one task field. A new project gets every
// default task table of the host, in the host's order (see task_tables.inc).
//
// Insertion numbering of ColumnList::Add: `insert_position` counts from 0 over the columns that
// follow the first (locked) column, naming the column after which the new one goes; the new
// column takes position number insert_position + 3. The add-in passes a date column's position
// number minus 2, so the new column lands directly to the right of the date column.
//   Entry: ID(1) Indicators(2) Name(3) Duration(4) Start(5) ...
//   Add(..., insert_position = 5 - 2 = 3, ...)  ->  ... Start(5) New(6) Finish(7) ...
// insert_position -2 puts the new column first; Count() - 2 puts it last.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/object_model.h"

namespace lunavant::workbench {

class Column final : public host::Column {
 public:
  Column(host::FieldId field, std::string title, std::int32_t width, std::int32_t data_alignment,
         std::int32_t title_alignment, bool wrap);

  host::FieldId Field() const override { return field_; }
  std::int32_t Index() const override { return index_; }

  // Empty when the column shows its field's name.
  const std::string& Title() const { return title_; }
  std::int32_t Width() const { return width_; }
  // 0 left, 1 center, 2 right.
  std::int32_t DataAlignment() const { return data_alignment_; }
  std::int32_t TitleAlignment() const { return title_alignment_; }
  bool Wrap() const { return wrap_; }

 private:
  friend class ColumnList;
  host::FieldId field_;
  std::string title_;
  std::int32_t width_;
  std::int32_t data_alignment_;
  std::int32_t title_alignment_;
  bool wrap_;
  std::int32_t index_ = 0;
};

class ColumnList final : public host::ColumnList {
 public:
  // `on_change` runs after every added or deleted column (the project marks itself unsaved).
  explicit ColumnList(std::function<void()> on_change = {});

  std::int32_t Count() const override;
  Column& Item(std::int32_t position) override;
  // See the insertion numbering at the top of this file. Also fails with kHostFailure for a field
  // the host does not know (0, a column without a field, is allowed), a negative width or an
  // alignment code outside 0..2; a failed call changes nothing.
  void Add(host::FieldId field, std::int32_t data_alignment, std::int32_t width,
           const std::string& title, std::int32_t title_alignment, std::int32_t insert_position,
           bool wrap) override;
  void Delete(std::int32_t position) override;

  // Appends without checks other than Add's; for the default tables and project files.
  void Append(Column column);
  // The columns as `other` has them, without the change notice (an undo step puts them back).
  void CopyFrom(const ColumnList& other);

 private:
  void Renumber(std::size_t from);

  std::vector<std::unique_ptr<Column>> columns_;
  std::function<void()> on_change_;
};

class Table final : public host::Table {
 public:
  Table(std::string name, std::function<void()> on_change = {});

  std::string Name() const override { return name_; }
  ColumnList& Columns() override { return columns_; }
  const ColumnList& Columns() const { return columns_; }

 private:
  // Only the project renames a table: it keeps the names of its tables distinct. An undo step
  // puts a name back as it was.
  friend class Project;
  friend class EditHistory;
  std::string name_;
  ColumnList columns_;
};

// The host's default task tables, built afresh; `on_change` is given to every column list.
std::vector<std::unique_ptr<Table>> MakeDefaultTaskTables(const std::function<void()>& on_change);

}  // namespace lunavant::workbench

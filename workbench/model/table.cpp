// SPDX-License-Identifier: MIT
#include "workbench/model/table.h"

#include <utility>

#include "addin/host/error.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"

namespace lunavant::workbench {

namespace {

struct DefaultColumn {
  std::string_view table;
  host::FieldId field;
  std::string_view title;
  std::int32_t width;
  std::int32_t data_alignment;
  std::int32_t title_alignment;
};

constexpr DefaultColumn kDefaultColumns[] = {
#include "workbench/model/task_tables.inc"
};

void CheckAlignment(std::int32_t alignment) {
  if (alignment < 0 || alignment > 2) {
    host::Raise(host::kHostFailure, message::BadColumnLayout("alignment", alignment));
  }
}

}  // namespace

Column::Column(host::FieldId field, std::string title, std::int32_t width,
               std::int32_t data_alignment, std::int32_t title_alignment, bool wrap)
    : field_(field),
      title_(std::move(title)),
      width_(width),
      data_alignment_(data_alignment),
      title_alignment_(title_alignment),
      wrap_(wrap) {}

ColumnList::ColumnList(std::function<void()> on_change) : on_change_(std::move(on_change)) {}

std::int32_t ColumnList::Count() const { return static_cast<std::int32_t>(columns_.size()); }

Column& ColumnList::Item(std::int32_t position) {
  if (position < 1 || position > Count()) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("column", position, Count()));
  }
  return *columns_[static_cast<std::size_t>(position - 1)];
}

void ColumnList::Add(host::FieldId field, std::int32_t data_alignment, std::int32_t width,
                     const std::string& title, std::int32_t title_alignment,
                     std::int32_t insert_position, bool wrap) {
  if (insert_position < -2 || insert_position > Count() - 2) {
    host::Raise(host::kHostFailure, message::BadInsertPosition(insert_position, Count()));
  }
  if (field != 0) FieldOrRaise(field);
  if (width < 0) host::Raise(host::kHostFailure, message::BadColumnLayout("width", width));
  CheckAlignment(data_alignment);
  CheckAlignment(title_alignment);
  const auto at = static_cast<std::size_t>(insert_position + 2);
  columns_.insert(
      columns_.begin() + static_cast<std::ptrdiff_t>(at),
      std::make_unique<Column>(field, title, width, data_alignment, title_alignment, wrap));
  Renumber(at);
  if (on_change_) on_change_();
}

void ColumnList::Delete(std::int32_t position) {
  if (position < 1 || position > Count()) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("column", position, Count()));
  }
  const auto at = static_cast<std::size_t>(position - 1);
  columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(at));
  Renumber(at);
  if (on_change_) on_change_();
}

void ColumnList::Append(Column column) {
  columns_.push_back(std::make_unique<Column>(std::move(column)));
  Renumber(columns_.size() - 1);
}

void ColumnList::CopyFrom(const ColumnList& other) {
  if (&other == this) return;
  columns_.clear();
  for (const auto& column : other.columns_) columns_.push_back(std::make_unique<Column>(*column));
}

void ColumnList::Renumber(std::size_t from) {
  for (std::size_t i = from; i < columns_.size(); ++i) {
    columns_[i]->index_ = static_cast<std::int32_t>(i + 1);
  }
}

Table::Table(std::string name, std::function<void()> on_change)
    : name_(std::move(name)), columns_(std::move(on_change)) {}

std::vector<std::unique_ptr<Table>> MakeDefaultTaskTables(const std::function<void()>& on_change) {
  std::vector<std::unique_ptr<Table>> tables;
  for (const DefaultColumn& column : kDefaultColumns) {
    if (tables.empty() || tables.back()->Name() != column.table) {
      tables.push_back(std::make_unique<Table>(std::string(column.table), on_change));
    }
    tables.back()->Columns().Append(Column(column.field, std::string(column.title), column.width,
                                           column.data_alignment, column.title_alignment,
                                           /*wrap=*/false));
  }
  return tables;
}

}  // namespace lunavant::workbench

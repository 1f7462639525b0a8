// SPDX-License-Identifier: MIT
// A project's rows edited as a user edits a task sheet: insert, delete, indent, outdent, unlink.
#include <algorithm>
#include <string>

#include "addin/host/error.h"
#include "workbench/model/messages.h"
#include "workbench/model/project.h"

namespace lunavant::workbench {

namespace {

[[noreturn]] void RaiseNoRow(std::int32_t position) {
  host::Raise(host::kHostFailure, "There is no row " + std::to_string(position) + ".");
}

void DropLinksTo(std::vector<Link>& links, const Task* gone) {
  links.erase(std::remove_if(links.begin(), links.end(),
                             [gone](const Link& link) { return link.task == gone; }),
              links.end());
}

}  // namespace

void Project::RenumberRows() {
  last_outline_level_ = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i]) continue;
    rows_[i]->id_ = static_cast<std::int32_t>(i + 1);
    last_outline_level_ = rows_[i]->outline_level_;
  }
  outline_dirty_ = true;
  MarkChanged();
}

std::pair<std::size_t, std::size_t> Project::BlockOf(const Task& task) const {
  const auto first = static_cast<std::size_t>(task.ID() - 1);
  std::size_t end = first + 1;
  // Subtasks are the rows below with a deeper level, blank rows among them included.
  while (end < rows_.size() && (!rows_[end] || rows_[end]->outline_level_ > task.outline_level_)) {
    if (!rows_[end]) {
      std::size_t next = end;
      while (next < rows_.size() && !rows_[next]) ++next;
      if (next == rows_.size() || rows_[next]->outline_level_ <= task.outline_level_) break;
    }
    ++end;
  }
  return {first, end};
}

Task& Project::InsertTask(std::int32_t position, std::string name, std::int32_t duration_days) {
  const auto count = static_cast<std::int32_t>(rows_.size());
  if (position < 1 || position > count + 1) RaiseNoRow(position);
  if (duration_days < 0) {
    host::Raise(host::kHostFailure,
                message::UnreadableDuration("Duration", std::to_string(duration_days)));
  }
  const auto at = static_cast<std::size_t>(position - 1);
  // The level of the task pushed down, else of the nearest task above.
  std::int32_t level = 1;
  std::size_t below = at;
  while (below < rows_.size() && !rows_[below]) ++below;
  if (below < rows_.size()) {
    level = rows_[below]->outline_level_;
  } else {
    for (std::size_t above = at; above > 0; --above) {
      if (rows_[above - 1]) {
        level = rows_[above - 1]->outline_level_;
        break;
      }
    }
  }
  auto task = std::make_unique<Task>(*this, position, next_unique_id_++, std::move(name),
                                     duration_days * minutes_per_day_, level);
  Task& made = *task;
  if (at < rows_.size() && !rows_[at]) {
    rows_[at] = std::move(task);
  } else {
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), std::move(task));
  }
  made.MoveStartTo(project_start_);
  RenumberRows();
  return made;
}

void Project::DeleteRow(std::int32_t position) {
  if (position < 1 || position > static_cast<std::int32_t>(rows_.size())) RaiseNoRow(position);
  const auto at = static_cast<std::size_t>(position - 1);
  std::size_t end = at + 1;
  if (rows_[at]) end = BlockOf(*rows_[at]).second;
  for (std::size_t i = at; i < end; ++i) {
    Task* gone = rows_[i].get();
    if (gone == nullptr) continue;
    for (const Link& link : gone->predecessors_) DropLinksTo(link.task->successors_, gone);
    for (const Link& link : gone->successors_) DropLinksTo(link.task->predecessors_, gone);
    gone->predecessors_.clear();
    gone->successors_.clear();
    gone->parent_ = nullptr;
    gone->children_.clear();
    removed_rows_.push_back(std::move(rows_[i]));
  }
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at),
              rows_.begin() + static_cast<std::ptrdiff_t>(end));
  // The row now first in the gap may not sit deeper than one level below the row above it.
  std::int32_t above = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (!rows_[i]) continue;
    rows_[i]->outline_level_ = std::min(rows_[i]->outline_level_, above + 1);
    above = rows_[i]->outline_level_;
  }
  RenumberRows();
}

void Project::Indent(Task& task) {
  if (&task.Owner() != this || task.ID() < 1) RaiseNoRow(task.ID());
  std::int32_t above = 0;
  for (auto i = static_cast<std::size_t>(task.ID() - 1); i > 0; --i) {
    if (rows_[i - 1]) {
      above = rows_[i - 1]->outline_level_;
      break;
    }
  }
  if (task.outline_level_ + 1 > above + 1) {
    host::Raise(host::kHostFailure, message::BadOutlineLevel(task.outline_level_ + 1, above + 1));
  }
  const auto [first, end] = BlockOf(task);
  for (std::size_t i = first; i < end; ++i) {
    if (rows_[i]) ++rows_[i]->outline_level_;
  }
  RenumberRows();
}

void Project::Outdent(Task& task) {
  if (&task.Owner() != this || task.ID() < 1) RaiseNoRow(task.ID());
  if (task.outline_level_ <= 1) {
    host::Raise(host::kHostFailure, message::BadOutlineLevel(0, 1));
  }
  const auto [first, end] = BlockOf(task);
  for (std::size_t i = first; i < end; ++i) {
    if (rows_[i]) --rows_[i]->outline_level_;
  }
  RenumberRows();
}

bool Project::RemoveLink(Task& predecessor, Task& successor) {
  const std::size_t before = successor.predecessors_.size();
  DropLinksTo(successor.predecessors_, &predecessor);
  DropLinksTo(predecessor.successors_, &successor);
  if (successor.predecessors_.size() == before) return false;
  MarkChanged();
  return true;
}

}  // namespace lunavant::workbench

namespace lunavant::workbench {

namespace {

using Rows = std::vector<std::unique_ptr<Task>>;
using Before = std::function<bool(const Task*, const Task*)>;

// The end of the block that starts at `first` within [first, end): the task and the rows below
// it with a deeper level, blank rows among them (a blank row is a subtask's when a deeper task
// follows it). A blank row at `first` is a block of its own.
std::size_t BlockEnd(const Rows& rows, std::size_t first, std::size_t end) {
  if (!rows[first]) return first + 1;
  const std::int32_t level = rows[first]->OutlineLevel();
  std::size_t next = first + 1;
  while (next < end) {
    std::size_t task = next;
    while (task < end && !rows[task]) ++task;
    if (task == end || rows[task]->OutlineLevel() <= level) break;
    next = task + 1;
  }
  return next;
}

// Sorts the sibling blocks of [first, end), and within each block its subtasks, recursively.
void SortSiblings(Rows& rows, std::size_t first, std::size_t end, const Before& before) {
  struct Block {
    std::size_t first;
    std::size_t end;
  };
  std::vector<Block> blocks;
  for (std::size_t at = first; at < end;) {
    const std::size_t block_end = BlockEnd(rows, at, end);
    if (block_end - at > 1) SortSiblings(rows, at + 1, block_end, before);
    blocks.push_back({at, block_end});
    at = block_end;
  }
  // Tasks of different levels side by side are no siblings: their order says which is whose
  // subtask, so it stays. The rows refuse such an outline; should one ever come in, a sort must
  // not be what garbles it.
  std::int32_t level = 0;
  for (const Block& block : blocks) {
    if (!rows[block.first]) continue;
    if (level != 0 && rows[block.first]->OutlineLevel() != level) return;
    level = rows[block.first]->OutlineLevel();
  }
  std::stable_sort(blocks.begin(), blocks.end(), [&](const Block& a, const Block& b) {
    return before(rows[a.first].get(), rows[b.first].get());
  });
  Rows sorted;
  sorted.reserve(end - first);
  for (const Block& block : blocks) {
    for (std::size_t i = block.first; i < block.end; ++i) sorted.push_back(std::move(rows[i]));
  }
  std::move(sorted.begin(), sorted.end(), rows.begin() + static_cast<std::ptrdiff_t>(first));
}

}  // namespace

bool Project::SortRows(const std::function<bool(const Task*, const Task*)>& before) {
  std::vector<const Task*> was;
  was.reserve(rows_.size());
  for (const auto& row : rows_) was.push_back(row.get());
  SortSiblings(rows_, 0, rows_.size(), before);
  bool moved = false;
  for (std::size_t i = 0; i < rows_.size() && !moved; ++i) moved = rows_[i].get() != was[i];
  if (moved) RenumberRows();
  return moved;
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// Undo and Redo of a project's edits as a desktop scheduler offers them: one user action (a typed
// cell, a pasted block) is one step, together with everything the add-in's event handlers and
// the recalculation changed because of it. A step keeps the project's task rows and its
// calendars (the working time and what the project's document holds of them) as they were
// before and after the action; Undo puts the rows back as they were before, Redo as they were
// after, the same task objects in the same places, so that a reference the add-in holds stays
// good. Nothing is raised while a step is undone or redone: the add-in's own Hijri fields are
// rows' fields and come back with them.
//
//   EditHistory history(project);
//   history.Record("Paste", [&] { app.UserEdit(task, field::kText1, "01/06/1446"); });
//   history.Undo();                        // Start, Text1 and the successors as they were
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lunavant::workbench {

class Project;
class Task;

class EditHistory {
 public:
  // The project must outlive the history.
  explicit EditHistory(Project& project);
  ~EditHistory();
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // Runs `action` as one step named `name`; the step is kept even when the action throws (it may
  // have changed rows before failing), and the exception goes on. An action that changed nothing
  // leaves no step. A kept step clears what could be redone.
  void Record(std::string name, const std::function<void()>& action);

  // A change to the project made outside the steps since the last one forgets every step:
  // nothing can be undone across it.
  bool CanUndo() const { return Settled() && undo_.size() > 0; }
  bool CanRedo() const { return Settled() && redo_.size() > 0; }
  // The name of the step Undo or Redo would take back or do again; empty when none.
  std::string UndoName() const;
  std::string RedoName() const;
  // False, changing nothing, when there is nothing to undo or redo. The project counts as changed.
  bool Undo();
  bool Redo();
  // Forgets every step, as after a change the history cannot take back.
  void Clear();

  // The steps kept are those whose rows add up to at most this many task copies; the oldest go
  // first, and the newest step is always kept.
  static constexpr std::size_t kTaskCopyBudget = 100000;

  class Checkpoint;

 private:
  struct Step {
    std::string name;
    std::shared_ptr<const Checkpoint> before;
    std::shared_ptr<const Checkpoint> after;
  };
  void Trim();
  void ForgetIfChangedElsewhere();
  bool Settled() const;

  Project& project_;
  std::uint64_t settled_changes_;  // the project's change count when the last step settled
  std::deque<Step> undo_;
  std::deque<Step> redo_;
};

}  // namespace lunavant::workbench

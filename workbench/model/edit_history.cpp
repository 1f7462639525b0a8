// SPDX-License-Identifier: MIT
#include "workbench/model/edit_history.h"

#include <algorithm>
#include <array>
#include <utility>

#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {

// The rows of a project at one moment: which task object stood in each row (null for a blank
// row) and a copy of everything it held, links included; the summary row likewise; and the
// working time, with what its document holds of the calendars.
class EditHistory::Checkpoint {
 public:
  explicit Checkpoint(const Project& project)
      : summary_(*project.summary_),
        next_unique_id_(project.next_unique_id_),
        last_outline_level_(project.last_outline_level_),
        definitions_(DefinitionsOf(project)),
        source_(project.source_ ? project.source_->TakeSnapshot() : nullptr) {
    rows_.reserve(project.rows_.size());
    for (const auto& row : project.rows_) {
      rows_.push_back(Row{row.get(), row ? std::make_unique<Task>(*row) : nullptr});
    }
  }

  // Whether the two differ in what an add-in derives from the project beyond its rows: the
  // tables' columns and the custom fields' aliases and formulas.
  bool DefinitionsDiffer(const Checkpoint& other) const {
    return !(definitions_ == other.definitions_);
  }

  std::size_t TaskCount() const { return rows_.size() + 1; }

  // Puts the rows back. A task object that left the rows since (deleted) is brought back from the
  // project's removed rows, and one that joined since goes there.
  void RestoreInto(Project& project) const {
    std::vector<std::unique_ptr<Task>> pool;
    for (auto& row : project.rows_) {
      if (row) pool.push_back(std::move(row));
    }
    for (auto& row : project.removed_rows_) pool.push_back(std::move(row));
    project.removed_rows_.clear();
    auto take = [&pool](const Task* wanted) -> std::unique_ptr<Task> {
      auto found = std::find_if(pool.begin(), pool.end(), [wanted](const std::unique_ptr<Task>& t) {
        return t.get() == wanted;
      });
      if (found == pool.end()) return nullptr;
      std::unique_ptr<Task> taken = std::move(*found);
      pool.erase(found);
      return taken;
    };
    project.rows_.clear();
    for (const Row& row : rows_) {
      std::unique_ptr<Task> task = row.task == nullptr ? nullptr : take(row.task);
      if (task) *task = *row.state;
      project.rows_.push_back(std::move(task));
    }
    for (auto& left : pool) project.removed_rows_.push_back(std::move(left));
    *project.summary_ = summary_;
    project.next_unique_id_ = next_unique_id_;
    project.last_outline_level_ = last_outline_level_;
    project.outline_dirty_ = true;
    RestoreDefinitions(project);
    project.MarkChanged();
  }

 private:
  struct Row {
    const Task* task;
    std::unique_ptr<Task> state;
  };
  struct TableColumns {
    std::string name;
    std::vector<std::int32_t> fields;  // to compare; `columns` holds the rest
    std::shared_ptr<const ColumnList> columns;
    friend bool operator==(const TableColumns& a, const TableColumns& b) {
      return a.name == b.name && a.fields == b.fields;
    }
  };
  // Everything of the project but its rows that a command changes: the tables, the custom fields,
  // the working time and the scheduling settings. Not the view: which table shows is the user's
  // choice of the moment, and no step takes it back.
  struct Definitions {
    std::vector<TableColumns> tables;
    std::array<std::string, kCustomTextCount> aliases;
    std::array<std::string, kCustomTextCount> formulas;
    ProjectCalendar calendar;
    std::vector<ProjectCalendar> working_calendars;
    std::int64_t minutes_per_day = 0;
    Moment project_start = 0;
    bool schedule_from_finish = false;
    Moment project_finish = 0;
    bool new_tasks_manual = false;
    friend bool operator==(const Definitions& a, const Definitions& b) {
      return a.tables == b.tables && a.aliases == b.aliases && a.formulas == b.formulas;
    }
  };

  static Definitions DefinitionsOf(const Project& project) {
    Definitions made{{},
                     project.aliases_,
                     project.formulas_,
                     project.calendar_,
                     project.working_calendars_,
                     project.minutes_per_day_,
                     project.project_start_,
                     project.schedule_from_finish_,
                     project.project_finish_,
                     project.new_tasks_manual_};
    for (const auto& table : project.tables_) {
      auto columns = std::make_shared<ColumnList>();
      columns->CopyFrom(table->Columns());
      std::vector<std::int32_t> fields;
      for (std::int32_t position = 1; position <= columns->Count(); ++position) {
        fields.push_back(columns->Item(position).Field());
      }
      made.tables.push_back(TableColumns{table->Name(), std::move(fields), std::move(columns)});
    }
    return made;
  }

  void RestoreDefinitions(Project& project) const {
    // The table objects stay, so that a reference to one stays good; only a command that added
    // or took away a table (none does) would leave the count different.
    if (definitions_.tables.size() == project.tables_.size()) {
      for (std::size_t i = 0; i < project.tables_.size(); ++i) {
        project.tables_[i]->name_ = definitions_.tables[i].name;
        project.tables_[i]->Columns().CopyFrom(*definitions_.tables[i].columns);
      }
    }
    project.aliases_ = definitions_.aliases;
    project.formulas_ = definitions_.formulas;
    project.calendar_ = definitions_.calendar;
    project.working_calendars_ = definitions_.working_calendars;
    project.minutes_per_day_ = definitions_.minutes_per_day;
    project.project_start_ = definitions_.project_start;
    project.schedule_from_finish_ = definitions_.schedule_from_finish;
    project.project_finish_ = definitions_.project_finish;
    project.new_tasks_manual_ = definitions_.new_tasks_manual;
    if (source_ && project.source_) project.source_->RestoreSnapshot(*source_);
  }

  std::vector<Row> rows_;
  Task summary_;
  std::int32_t next_unique_id_;
  std::int32_t last_outline_level_;
  Definitions definitions_;
  std::shared_ptr<const ProjectSource::Snapshot> source_;
};

EditHistory::EditHistory(Project& project)
    : project_(project), settled_changes_(project.ChangeCount()) {}

bool EditHistory::Settled() const { return project_.ChangeCount() == settled_changes_; }
EditHistory::~EditHistory() = default;

void EditHistory::Record(std::string name, const std::function<void()>& action) {
  ForgetIfChangedElsewhere();
  auto before = std::make_shared<const Checkpoint>(project_);
  const std::uint64_t changes_before = project_.ChangeCount();
  auto keep = [&] {
    // An action the host or the add-in refused as a whole leaves no step to undo.
    if (project_.ChangeCount() == changes_before) return;
    auto after = std::make_shared<const Checkpoint>(project_);
    const bool changed_definitions = before->DefinitionsDiffer(*after);
    undo_.push_back(
        Step{std::move(name), std::move(before), std::move(after), changed_definitions});
    redo_.clear();
    Trim();
    settled_changes_ = project_.ChangeCount();
  };
  try {
    action();
  } catch (...) {
    keep();
    throw;
  }
  keep();
}

void EditHistory::RunBesideSteps(const std::function<void()>& action) {
  const bool settled = Settled();
  struct Resettle {
    EditHistory& history;
    bool settled;
    ~Resettle() {
      if (settled) history.settled_changes_ = history.project_.ChangeCount();
    }
  } resettle{*this, settled};
  action();
}

std::string EditHistory::UndoName() const {
  return undo_.empty() ? std::string() : undo_.back().name;
}
std::string EditHistory::RedoName() const {
  return redo_.empty() ? std::string() : redo_.back().name;
}

bool EditHistory::Undo() {
  ForgetIfChangedElsewhere();
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  step.before->RestoreInto(project_);
  last_changed_definitions_ = step.changed_definitions;
  redo_.push_back(std::move(step));
  settled_changes_ = project_.ChangeCount();
  return true;
}

bool EditHistory::Redo() {
  ForgetIfChangedElsewhere();
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  step.after->RestoreInto(project_);
  last_changed_definitions_ = step.changed_definitions;
  undo_.push_back(std::move(step));
  settled_changes_ = project_.ChangeCount();
  return true;
}

void EditHistory::ForgetIfChangedElsewhere() {
  // A change made outside the steps (an add-in's command, a new column) is in none of them:
  // putting rows back across it would undo it too, half-way. The steps before it are forgotten.
  if (project_.ChangeCount() != settled_changes_) Clear();
  settled_changes_ = project_.ChangeCount();
}

void EditHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

void EditHistory::Trim() {
  auto copies = [](const Step& step) { return step.before->TaskCount() + step.after->TaskCount(); };
  std::size_t total = 0;
  for (const Step& step : undo_) total += copies(step);
  while (undo_.size() > 1 && total > kTaskCopyBudget) {
    total -= copies(undo_.front());
    undo_.pop_front();
  }
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
#include "workbench/schedule/scheduler.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "addin/host/error.h"
#include "workbench/model/messages.h"
#include "workbench/model/project.h"

namespace lunavant::workbench {

namespace {

// A point of the schedule as working minutes counted by ProjectCalendar::WorkAt.
using Boundary = std::int64_t;
constexpr Boundary kNone = std::numeric_limits<Boundary>::max() / 4;

enum class EdgeKind : std::uint8_t {
  kSummarySpan,    // a summary's start node to its finish node
  kParentToChild,  // a summary's start node to a subtask's start node
  kChildToParent,  // a subtask's finish node to its summary's finish node
  kLink            // a predecessor's finish node to a successor's start node
};

// A lag as the passes apply it: working minutes, or minutes of the clock.
struct Lag {
  std::int64_t minutes = 0;
  bool elapsed = false;
};

struct Edge {
  std::int32_t node;  // the other end
  EdgeKind kind;
  LinkType type;
  Lag lag;
};

// Edges kept per node in one array (compressed rows), for both directions.
struct Adjacency {
  std::vector<std::int32_t> first;  // [0, edges]; node v's edges are first[v]..first[v + 1]
  std::vector<Edge> edges;
};

bool FromFinish(LinkType type) {
  return type == LinkType::kFinishToStart || type == LinkType::kFinishToFinish;
}
bool ToFinish(LinkType type) {
  return type == LinkType::kFinishToFinish || type == LinkType::kStartToFinish;
}

// A percentage lag is a share of the predecessor's duration, counted as that duration counts.
Lag LagOf(const Task& predecessor, const Link& link) {
  switch (link.lag_format) {
    case LagFormat::kElapsed:
      return {link.lag, true};
    case LagFormat::kPercent:
      return {predecessor.DurationMinutes() * link.lag / 100, predecessor.ElapsedDuration()};
    case LagFormat::kWorking:
      break;
  }
  return {link.lag, false};
}

}  // namespace

void Schedule(Project& project) { Scheduler::Run(project); }

// One recalculation: the graph of the project's tasks, its order, the two passes over it, and
// the dates they give placed on the tasks.
class Scheduler::Steps {
 public:
  explicit Steps(Project& project);

  void BuildGraph();
  // Fails with kHostFailure, naming the lowest ID on a cycle, when the graph has one.
  void OrderAndReportCycles();
  // A project scheduled from its start runs the forward pass from the project start and the
  // backward pass from the latest early finish; one scheduled from its finish runs the backward
  // pass from the project finish first, and the forward pass from the earliest late start.
  void RunPasses();
  // Nothing is written unless every date lands in the host's range.
  void CheckHostRange() const;
  void Place();
  // Marks the project changed when a date moved.
  void End();

 private:
  // Every edge, handed to `add` as (from, to, kind, type, lag).
  template <typename Add>
  void ForEachEdge(Add&& add) const;
  // For a summary's start node, es/ef hold the bounds it hands down to its subtasks' starts and
  // finishes; for every finish node, the task's early span.
  void ForwardPass(Boundary start_at);
  // For a summary's finish node, ls/lf hold the bounds it hands down to its subtasks; for every
  // start node, the task's late span.
  void BackwardPass(Boundary finish_at);
  void PlaceSummaryTask(Task& task, std::int32_t i);
  void PlaceTask(Task& task, std::int32_t i, Boundary total_slack);
  // The project summary row spans the top-level tasks.
  void PlaceProjectSummary();

  bool IsSummary(std::int32_t i) const { return finish_node_[i] != i; }
  // A task's own calendar, or null when the passes count on it already.
  const ProjectCalendar* OwnCalendar(std::int32_t v) const {
    if (!combined_ || IsSummary(v)) return nullptr;
    return &project_.CalendarOf(*tasks_[v]);
  }
  // Working minutes of the project's calendar between two counts of the passes: slack and
  // durations are in these.
  std::int64_t ProjectMinutes(Boundary from, Boundary to) const {
    if (!combined_) return to - from;
    return project_calendar_.WorkAt(calendar_->FinishOf(to)) -
           project_calendar_.WorkAt(calendar_->FinishOf(from));
  }
  // Unbounded ends stay unbounded.
  static bool Unbounded(Boundary b) { return b <= -kNone / 2 || b >= kNone / 2; }
  Boundary Later(Boundary at, std::int64_t minutes) const;
  Boundary After(std::int32_t v, Boundary start) const;
  Boundary Before(std::int32_t v, Boundary finish) const;
  Boundary OnOwnStart(std::int32_t v, Boundary start) const;
  Boundary OnOwnFinish(std::int32_t v, Boundary finish) const;
  Boundary Lagged(Boundary at, const Lag& lag, bool at_finish, int sign, std::int32_t node,
                  Boundary start) const;
  Boundary EarlyStart(std::int32_t i) const { return es_[finish_node_[i]]; }
  Boundary EarlyFinish(std::int32_t i) const { return ef_[finish_node_[i]]; }
  template <typename Field, typename Value>
  void Set(Field& field, Value value) {
    if (field != value) {
      field = value;
      changed_ = true;
    }
  }

  Project& project_;
  const ProjectCalendar& project_calendar_;
  std::vector<Task*> tasks_;
  std::int32_t n_ = 0;
  // Node i is task i's start node (and finish node, for a task without subtasks); summary tasks
  // get a second node from n on.
  std::vector<std::int32_t> finish_node_;
  std::vector<std::int32_t> task_of_node_;  // for node n + k, the summary task's index
  std::int32_t nodes_ = 0;
  // When tasks work on calendars of their own, the passes count the working minutes of a
  // calendar that works whenever any task or the project does, and place each task on its own.
  std::optional<ProjectCalendar> combined_;
  const ProjectCalendar* calendar_;  // the combined calendar, or the project's
  Adjacency out_, in_;
  std::vector<std::int32_t> order_;
  bool from_project_finish_;
  Boundary project_start_, project_finish_;
  std::vector<Boundary> es_, ef_, ls_, lf_;
  std::vector<char> finish_side_;
  // A finish that a predecessor's start drives (start-to-finish, no lag or a lead) falls on a
  // working day's start, as the desktop scheduler shows it, not on the end of the working day
  // before; a positive lag, counted in working time, ends at a working day's end.
  std::vector<char> finish_at_start_;
  bool changed_ = false;
};

void Scheduler::Run(Project& project) {
  Steps steps(project);
  steps.BuildGraph();
  steps.OrderAndReportCycles();
  steps.RunPasses();
  steps.CheckHostRange();
  steps.Place();
  steps.End();
}

Scheduler::Steps::Steps(Project& project)
    : project_(project), project_calendar_(project.Calendar()) {
  project.EnsureOutline();
  tasks_.reserve(project.Rows().size());
  for (const auto& row : project.Rows()) {
    if (!row) continue;
    row->schedule_index_ = static_cast<std::int32_t>(tasks_.size());
    tasks_.push_back(row.get());
  }
  n_ = static_cast<std::int32_t>(tasks_.size());
  finish_node_.resize(static_cast<std::size_t>(n_));
  nodes_ = n_;
  for (std::int32_t i = 0; i < n_; ++i) {
    finish_node_[i] = tasks_[i]->children_.empty() ? i : nodes_++;
    if (finish_node_[i] != i) task_of_node_.push_back(i);
  }
  std::vector<const ProjectCalendar*> used = {&project_calendar_};
  std::vector<char> seen(project.WorkingCalendars().size(), 0);
  for (std::int32_t i = 0; i < n_; ++i) {
    const std::int32_t c = tasks_[i]->calendar_;
    if (c < 0 || IsSummary(i) || seen[static_cast<std::size_t>(c)]) continue;
    seen[static_cast<std::size_t>(c)] = 1;
    used.push_back(&project.WorkingCalendars()[static_cast<std::size_t>(c)]);
  }
  if (used.size() > 1) combined_ = UnionOf(used);
  calendar_ = combined_ ? &*combined_ : &project_calendar_;
  from_project_finish_ = project.ScheduleFromFinish();
  project_start_ = calendar_->WorkAt(project.ProjectStart());
  project_finish_ = project_start_;
}

template <typename Add>
void Scheduler::Steps::ForEachEdge(Add&& add) const {
  for (std::int32_t i = 0; i < n_; ++i) {
    const Task& task = *tasks_[i];
    if (IsSummary(i))
      add(i, finish_node_[i], EdgeKind::kSummarySpan, LinkType::kFinishToStart, Lag{});
    // An inactive task drives nothing and counts in no summary.
    for (const Task* child : task.children_) {
      const std::int32_t c = child->schedule_index_;
      add(i, c, EdgeKind::kParentToChild, LinkType::kFinishToStart, Lag{});
      if (!child->active_) continue;
      add(finish_node_[c], finish_node_[i], EdgeKind::kChildToParent, LinkType::kFinishToStart,
          Lag{});
    }
    if (!task.active_) continue;
    for (const Link& link : task.successors_) {
      if (!link.task->active_) continue;
      add(finish_node_[i], link.task->schedule_index_, EdgeKind::kLink, link.type,
          LagOf(task, link));
    }
  }
}

void Scheduler::Steps::BuildGraph() {
  out_.first.assign(static_cast<std::size_t>(nodes_) + 1, 0);
  in_.first.assign(static_cast<std::size_t>(nodes_) + 1, 0);
  ForEachEdge([&](std::int32_t from, std::int32_t to, EdgeKind, LinkType, Lag) {
    ++out_.first[from + 1];
    ++in_.first[to + 1];
  });
  for (std::int32_t v = 0; v < nodes_; ++v) {
    out_.first[v + 1] += out_.first[v];
    in_.first[v + 1] += in_.first[v];
  }
  out_.edges.resize(static_cast<std::size_t>(out_.first[nodes_]));
  in_.edges.resize(static_cast<std::size_t>(in_.first[nodes_]));
  std::vector<std::int32_t> out_fill(out_.first.begin(), out_.first.end() - 1);
  std::vector<std::int32_t> in_fill(in_.first.begin(), in_.first.end() - 1);
  ForEachEdge([&](std::int32_t from, std::int32_t to, EdgeKind kind, LinkType type, Lag lag) {
    out_.edges[out_fill[from]++] = Edge{to, kind, type, lag};
    in_.edges[in_fill[to]++] = Edge{from, kind, type, lag};
  });
}

// Kahn's algorithm: the topological order of the nodes, or a cycle.
void Scheduler::Steps::OrderAndReportCycles() {
  order_.reserve(static_cast<std::size_t>(nodes_));
  std::vector<std::int32_t> waiting(static_cast<std::size_t>(nodes_));
  for (std::int32_t v = 0; v < nodes_; ++v) {
    waiting[v] = in_.first[v + 1] - in_.first[v];
    if (waiting[v] == 0) order_.push_back(v);
  }
  for (std::size_t next = 0; next < order_.size(); ++next) {
    const std::int32_t v = order_[next];
    for (std::int32_t e = out_.first[v]; e < out_.first[v + 1]; ++e) {
      if (--waiting[out_.edges[e].node] == 0) order_.push_back(out_.edges[e].node);
    }
  }
  if (static_cast<std::int32_t>(order_.size()) == nodes_) return;
  // Every node left has a predecessor left: walking back from one must come round a cycle.
  std::vector<std::int32_t> seen_at(static_cast<std::size_t>(nodes_), -1);
  std::int32_t v = 0;
  while (waiting[v] == 0) ++v;
  std::vector<std::int32_t> walk;
  while (seen_at[v] < 0) {
    seen_at[v] = static_cast<std::int32_t>(walk.size());
    walk.push_back(v);
    for (std::int32_t e = in_.first[v]; e < in_.first[v + 1]; ++e) {
      if (waiting[in_.edges[e].node] > 0) {
        v = in_.edges[e].node;
        break;
      }
    }
  }
  const auto task_of = [&](std::int32_t node) {
    return tasks_[node < n_ ? node : task_of_node_[node - n_]]->ID();
  };
  std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
  for (std::size_t k = static_cast<std::size_t>(seen_at[v]); k < walk.size(); ++k) {
    lowest = std::min(lowest, task_of(walk[k]));
  }
  host::Raise(host::kHostFailure, message::CircularLinks(lowest));
}

// A count moved on by working minutes of the project's calendar, in which lags count.
Boundary Scheduler::Steps::Later(Boundary at, std::int64_t minutes) const {
  if (!combined_ || minutes == 0 || Unbounded(at)) return at + minutes;
  const std::int64_t work = project_calendar_.WorkAt(calendar_->FinishOf(at)) + minutes;
  return calendar_->WorkAt(project_calendar_.FinishOf(work));
}

// A task's span in working time, counted on from a start or back from a finish; an elapsed
// duration runs on the clock from the moment work starts (or back from the moment it ends). A
// split task's span holds the working time it stands still as well.
Boundary Scheduler::Steps::After(std::int32_t v, Boundary start) const {
  if (IsSummary(v) || Unbounded(start)) return start;
  const Task& task = *tasks_[v];
  if (task.elapsed_) return calendar_->WorkAt(calendar_->StartOf(start) + task.duration_);
  const std::int64_t span = task.duration_ + task.split_;
  const ProjectCalendar* own = OwnCalendar(v);
  if (own == nullptr) return start + span;
  if (span == 0) return start;
  return calendar_->WorkAt(own->FinishOf(own->WorkAt(calendar_->StartOf(start)) + span));
}

Boundary Scheduler::Steps::Before(std::int32_t v, Boundary finish) const {
  if (IsSummary(v) || Unbounded(finish)) return finish;
  const Task& task = *tasks_[v];
  if (task.elapsed_) return calendar_->WorkAt(calendar_->FinishOf(finish) - task.duration_);
  const std::int64_t span = task.duration_ + task.split_;
  const ProjectCalendar* own = OwnCalendar(v);
  if (own == nullptr) return finish - span;
  if (span == 0) return finish;
  return calendar_->WorkAt(own->StartOf(own->WorkAt(calendar_->FinishOf(finish)) - span));
}

// Work on a task of its own calendar starts when that calendar next works, and ends when it
// last worked; milestones and elapsed tasks stay where the links put them.
Boundary Scheduler::Steps::OnOwnStart(std::int32_t v, Boundary start) const {
  const ProjectCalendar* own = OwnCalendar(v);
  const Task& task = *tasks_[v];
  if (own == nullptr || Unbounded(start) || task.elapsed_ || task.duration_ == 0) return start;
  return calendar_->WorkAt(own->StartOf(own->WorkAt(calendar_->StartOf(start))));
}

Boundary Scheduler::Steps::OnOwnFinish(std::int32_t v, Boundary finish) const {
  const ProjectCalendar* own = OwnCalendar(v);
  const Task& task = *tasks_[v];
  if (own == nullptr || Unbounded(finish) || task.elapsed_ || task.duration_ == 0) return finish;
  return calendar_->WorkAt(own->FinishOf(own->WorkAt(calendar_->FinishOf(finish))));
}

// A lag counted on (or back, `sign` -1) from a link's end `at` at node `node` (whose task starts
// at `start`); an elapsed lag runs on the clock from the moment that end stands for, which for
// an elapsed task's finish is where the clock says, on working time or not.
Boundary Scheduler::Steps::Lagged(Boundary at, const Lag& lag, bool at_finish, int sign,
                                  std::int32_t node, Boundary start) const {
  if (!lag.elapsed || Unbounded(at)) return Later(at, sign * lag.minutes);
  Moment from = at_finish ? calendar_->FinishOf(at) : calendar_->StartOf(at);
  if (at_finish && node < n_ && !IsSummary(node) && tasks_[node]->elapsed_ &&
      tasks_[node]->duration_ > 0 && !Unbounded(start)) {
    from = calendar_->StartOf(start) + tasks_[node]->duration_;
  }
  return calendar_->WorkAt(from + sign * lag.minutes);
}

void Scheduler::Steps::RunPasses() {
  es_.resize(static_cast<std::size_t>(nodes_));
  ef_.resize(static_cast<std::size_t>(nodes_));
  ls_.resize(static_cast<std::size_t>(nodes_));
  lf_.resize(static_cast<std::size_t>(nodes_));
  finish_side_.assign(static_cast<std::size_t>(n_), 0);
  finish_at_start_.assign(static_cast<std::size_t>(n_), 0);
  if (from_project_finish_) {
    project_finish_ = calendar_->WorkAt(project_.ProjectFinish());
    BackwardPass(project_finish_);
    project_start_ = project_finish_;
    for (std::int32_t i = 0; i < n_; ++i) project_start_ = std::min(project_start_, ls_[i]);
    ForwardPass(project_start_);
  } else {
    ForwardPass(project_start_);
    for (std::int32_t i = 0; i < n_; ++i)
      project_finish_ = std::max(project_finish_, EarlyFinish(i));
    BackwardPass(project_finish_);
  }
}

void Scheduler::Steps::ForwardPass(Boundary start_at) {
  for (const std::int32_t v : order_) {
    if (v >= n_) {
      Boundary first = kNone, last = -kNone;
      for (std::int32_t e = in_.first[v]; e < in_.first[v + 1]; ++e) {
        if (in_.edges[e].kind != EdgeKind::kChildToParent) continue;
        first = std::min(first, es_[in_.edges[e].node]);
        last = std::max(last, ef_[in_.edges[e].node]);
      }
      // A summary of inactive tasks only spans nothing from where it starts.
      if (first > last) first = last = calendar_->WorkAt(tasks_[task_of_node_[v - n_]]->start_);
      es_[v] = first;
      ef_[v] = last;
      continue;
    }
    const Task& task = *tasks_[v];
    // A dated constraint takes the place of the project start: a task may start before it.
    const bool dated = task.constraint_date_.has_value();
    const bool constrained_start = dated && task.constraint_ != ConstraintType::kStartNoLaterThan &&
                                   task.constraint_ != ConstraintType::kFinishNoLaterThan;
    Boundary start_bound = IsSummary(v) || constrained_start ? -kNone : start_at;
    Boundary finish_bound = -kNone;
    bool from_finish = false;
    bool start_to_finish = false;
    for (std::int32_t e = in_.first[v]; e < in_.first[v + 1]; ++e) {
      const Edge& edge = in_.edges[e];
      if (edge.kind == EdgeKind::kParentToChild) {
        start_bound = std::max(start_bound, es_[edge.node]);
        finish_bound = std::max(finish_bound, ef_[edge.node]);
      } else if (edge.kind == EdgeKind::kLink) {
        const Boundary at = Lagged(FromFinish(edge.type) ? ef_[edge.node] : es_[edge.node],
                                   edge.lag, FromFinish(edge.type), 1, edge.node, es_[edge.node]);
        Boundary& bound = ToFinish(edge.type) ? finish_bound : start_bound;
        const Boundary as_start = ToFinish(edge.type) ? Before(v, at) : at;
        if (!IsSummary(v) && as_start >= std::max(start_bound, Before(v, finish_bound))) {
          from_finish = FromFinish(edge.type);
          start_to_finish = edge.type == LinkType::kStartToFinish && edge.lag.minutes <= 0;
        }
        bound = std::max(bound, at);
      }
    }
    if (IsSummary(v)) {
      es_[v] = start_bound;
      ef_[v] = finish_bound;
      continue;
    }
    const Boundary linked = std::max(start_bound, Before(v, finish_bound));
    Boundary start = linked;
    const Boundary constraint_at = dated ? calendar_->WorkAt(*task.constraint_date_) : 0;
    switch (task.constraint_) {
      case ConstraintType::kStartNoEarlierThan:
        if (dated && constraint_at > start) {
          start = constraint_at;
          from_finish = false;
        }
        break;
      case ConstraintType::kFinishNoEarlierThan:
        if (dated && Before(v, constraint_at) > start) {
          start = Before(v, constraint_at);
          from_finish = false;
        }
        break;
      case ConstraintType::kMustStartOn:
        if (dated) start = constraint_at, from_finish = false;
        break;
      case ConstraintType::kMustFinishOn:
        if (dated) start = Before(v, constraint_at), from_finish = false;
        break;
      default:
        break;
    }
    // Levelling put the task off from where its links and constraints let it start.
    if (task.leveling_delay_ != 0) {
      start = task.leveling_delay_elapsed_
                  ? calendar_->WorkAt(calendar_->StartOf(start) + task.leveling_delay_)
                  : Later(start, task.leveling_delay_);
      from_finish = false;
    }
    start = OnOwnStart(v, start);
    if (task.actual_start_) {
      start = calendar_->WorkAt(*task.actual_start_);
      from_finish = false;
    }
    const bool has_length = task.duration_ > 0;
    es_[v] = start;
    ef_[v] = After(v, start);
    finish_side_[v] = from_finish && !has_length;
    finish_at_start_[v] = start_to_finish && start == linked && has_length && !task.actual_start_;
    // A manual task (or one whose file dates are kept) is where it stands, and drives its
    // successors from there.
    if (task.KeepsItsDates()) {
      es_[v] = calendar_->WorkAt(task.start_);
      ef_[v] = std::max(es_[v], calendar_->WorkAt(task.finish_));
      finish_side_[v] = 0;
      finish_at_start_[v] = 0;
    }
  }
}

void Scheduler::Steps::BackwardPass(Boundary finish_at) {
  for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
    const std::int32_t v = *it;
    if (v < n_ && IsSummary(v)) {
      Boundary first = kNone, last = -kNone;
      for (std::int32_t e = out_.first[v]; e < out_.first[v + 1]; ++e) {
        if (out_.edges[e].kind != EdgeKind::kParentToChild) continue;
        first = std::min(first, ls_[out_.edges[e].node]);
        last = std::max(last, lf_[out_.edges[e].node]);
      }
      ls_[v] = first;
      lf_[v] = last;
      continue;
    }
    const bool summary_finish = v >= n_;
    const Task* task = summary_finish ? nullptr : tasks_[v];
    Boundary finish_bound = summary_finish ? kNone : finish_at;
    Boundary start_bound = kNone;
    for (std::int32_t e = out_.first[v]; e < out_.first[v + 1]; ++e) {
      const Edge& edge = out_.edges[e];
      if (edge.kind == EdgeKind::kChildToParent) {
        finish_bound = std::min(finish_bound, lf_[edge.node]);
        start_bound = std::min(start_bound, ls_[edge.node]);
      } else if (edge.kind == EdgeKind::kLink) {
        const Boundary at = Lagged(ToFinish(edge.type) ? lf_[edge.node] : ls_[edge.node], edge.lag,
                                   ToFinish(edge.type), -1, edge.node, ls_[edge.node]);
        Boundary& bound = FromFinish(edge.type) ? finish_bound : start_bound;
        bound = std::min(bound, at);
      }
    }
    if (summary_finish) {
      ls_[v] = start_bound;
      lf_[v] = finish_bound;
      continue;
    }
    Boundary finish = std::min(finish_bound, After(v, start_bound));
    if (task->constraint_date_) {
      const Boundary constraint_at = calendar_->WorkAt(*task->constraint_date_);
      switch (task->constraint_) {
        case ConstraintType::kStartNoLaterThan:
        case ConstraintType::kMustStartOn:
          finish = std::min(finish, After(v, constraint_at));
          break;
        case ConstraintType::kFinishNoLaterThan:
        case ConstraintType::kMustFinishOn:
          finish = std::min(finish, constraint_at);
          break;
        default:
          break;
      }
    }
    finish = OnOwnFinish(v, finish);
    lf_[v] = finish;
    ls_[v] = Before(v, finish);
  }
}

void Scheduler::Steps::CheckHostRange() const {
  Boundary earliest = project_start_, latest = project_finish_;
  for (std::int32_t i = 0; i < n_; ++i) {
    earliest = std::min({earliest, es_[finish_node_[i]], ls_[i]});
    latest = std::max({latest, ef_[finish_node_[i]], lf_[i]});
  }
  if (!InHostRange(calendar_->StartOf(earliest)) || !InHostRange(calendar_->FinishOf(latest))) {
    host::Raise(host::kHostFailure, message::ScheduleOutOfRange());
  }
}

// Summaries are written at their finish node, after all their subtasks.
void Scheduler::Steps::Place() {
  for (const std::int32_t v : order_) {
    const bool summary_finish = v >= n_;
    if (!summary_finish && IsSummary(v)) continue;
    const std::int32_t i = summary_finish ? task_of_node_[v - n_] : v;
    Task& task = *tasks_[i];
    const Boundary total_slack = ProjectMinutes(EarlyStart(i), ls_[i]);
    Set(task.total_slack_, total_slack);
    Set(task.critical_, total_slack <= 0);
    if (summary_finish && task.KeepsItsDates()) {
      Set(task.free_slack_, 0);
    } else if (summary_finish) {
      PlaceSummaryTask(task, i);
    } else {
      PlaceTask(task, i, total_slack);
    }
  }
  PlaceProjectSummary();
}

// A summary task spans its active subtasks.
void Scheduler::Steps::PlaceSummaryTask(Task& task, std::int32_t i) {
  Moment first = std::numeric_limits<Moment>::max(), last = std::numeric_limits<Moment>::min();
  Moment late_first = first, late_last = last;
  for (const Task* child : task.children_) {
    if (!child->active_) continue;
    first = std::min(first, child->start_);
    last = std::max(last, child->finish_);
    late_first = std::min(late_first, *child->late_start_);
    late_last = std::max(late_last, *child->late_finish_);
  }
  if (first > last) return;  // inactive subtasks only: the summary stays as it is
  Set(task.start_, first);
  Set(task.finish_, last);
  Set(task.early_start_, std::optional<Moment>(first));
  Set(task.early_finish_, std::optional<Moment>(last));
  Set(task.late_start_, std::optional<Moment>(late_first));
  Set(task.late_finish_, std::optional<Moment>(late_last));
  Set(task.duration_, ProjectMinutes(EarlyStart(i), EarlyFinish(i)));
  Set(task.free_slack_, 0);
}

void Scheduler::Steps::PlaceTask(Task& task, std::int32_t i, Boundary total_slack) {
  const bool milestone = task.duration_ == 0;
  auto start_at = [&](Boundary b) {
    return milestone && finish_side_[i] ? calendar_->FinishOf(b) : calendar_->StartOf(b);
  };
  // An elapsed duration ends where the clock says, on working time or not.
  auto finish_at = [&](Boundary start, Boundary finish) {
    if (milestone) return start_at(finish);
    return task.elapsed_ ? calendar_->StartOf(start) + task.duration_ : calendar_->FinishOf(finish);
  };
  if (task.KeepsItsDates()) {
    Set(task.late_start_, std::optional<Moment>(start_at(ls_[i])));
    Set(task.late_finish_, std::optional<Moment>(finish_at(ls_[i], lf_[i])));
    if (task.manual_) {
      Set(task.early_start_, std::optional<Moment>(task.start_));
      Set(task.early_finish_, std::optional<Moment>(task.finish_));
    }
    Set(task.free_slack_, std::min(total_slack, ProjectMinutes(ef_[i], project_finish_)));
    return;
  }
  Set(task.early_start_, std::optional<Moment>(start_at(es_[i])));
  // Where work resumes after a count, on the task's own calendar.
  auto resumes_at = [&](Boundary b) {
    const ProjectCalendar* own = OwnCalendar(i);
    return own ? own->StartOf(own->WorkAt(calendar_->FinishOf(b))) : calendar_->StartOf(b);
  };
  Set(task.early_finish_,
      std::optional<Moment>(finish_at_start_[i] ? resumes_at(ef_[i]) : finish_at(es_[i], ef_[i])));
  Set(task.late_start_, std::optional<Moment>(start_at(ls_[i])));
  Set(task.late_finish_, std::optional<Moment>(finish_at(ls_[i], lf_[i])));
  Boundary free_slack = ProjectMinutes(ef_[i], project_finish_);
  for (const Link& link : task.successors_) {
    if (!task.active_ || !link.task->active_) continue;
    const std::int32_t s = link.task->schedule_index_;
    const Boundary successor_at = ToFinish(link.type) ? EarlyFinish(s) : EarlyStart(s);
    const Boundary mine = FromFinish(link.type) ? ef_[i] : es_[i];
    free_slack = std::min(free_slack, ProjectMinutes(Lagged(mine, LagOf(task, link),
                                                            FromFinish(link.type), 1, i, es_[i]),
                                                     successor_at));
  }
  free_slack = std::min(free_slack, total_slack);
  // As Late As Possible: as late as the task can go without moving a successor or the project
  // finish, which is its free slack. Scheduled from the finish, every task goes as late as it
  // can: to its late dates.
  const Boundary later_by = from_project_finish_ ? total_slack : free_slack;
  const bool as_late =
      (from_project_finish_ || task.constraint_ == ConstraintType::kAsLateAsPossible) &&
      !task.actual_start_ && later_by > 0;
  if (as_late) {
    // On calendars of their own, late dates are where the backward pass put them.
    const bool at_late_dates = combined_ && from_project_finish_;
    const Boundary late_start = at_late_dates ? ls_[i] : OnOwnStart(i, Later(es_[i], later_by));
    const Boundary late_finish =
        at_late_dates ? lf_[i] : (combined_ ? After(i, late_start) : ef_[i] + later_by);
    Set(task.start_, start_at(late_start));
    Set(task.finish_, finish_at(late_start, late_finish));
    free_slack = 0;
  } else if (milestone && !task.actual_start_ &&
             calendar_->WorkAt(task.start_) == calendar_->WorkAt(*task.early_start_) &&
             task.start_ == task.finish_) {
    // A milestone on non-working time stays where it stands while the schedule puts it at
    // the same point of working time: the desktop scheduler keeps it there too.
  } else {
    Set(task.start_, task.actual_start_ ? *task.actual_start_ : *task.early_start_);
    Set(task.finish_, task.actual_finish_ ? *task.actual_finish_ : *task.early_finish_);
  }
  Set(task.free_slack_, free_slack);
}

void Scheduler::Steps::PlaceProjectSummary() {
  // The project summary row spans the top-level tasks.
  Task& summary = project_.SummaryTask();
  Moment first = calendar_->StartOf(project_start_), last = first;
  Moment late_first = first, late_last = last;
  bool any = false;
  for (const Task* top : summary.children_) {
    if (!top->active_) continue;
    first = any ? std::min(first, top->start_) : top->start_;
    last = any ? std::max(last, top->finish_) : top->finish_;
    late_first = any ? std::min(late_first, *top->late_start_) : *top->late_start_;
    late_last = any ? std::max(late_last, *top->late_finish_) : *top->late_finish_;
    any = true;
  }
  // A project without tasks keeps its summary's dates while they stand at its start, on
  // working time or not.
  if (!any && summary.start_ == summary.finish_ &&
      calendar_->WorkAt(summary.start_) == project_start_) {
    first = last = late_first = late_last = summary.start_;
  }
  Set(summary.start_, first);
  Set(summary.finish_, last);
  Set(summary.early_start_, std::optional<Moment>(first));
  Set(summary.early_finish_, std::optional<Moment>(last));
  Set(summary.late_start_, std::optional<Moment>(late_first));
  Set(summary.late_finish_, std::optional<Moment>(late_last));
  Set(summary.duration_, ProjectMinutes(project_start_, project_finish_));
}

void Scheduler::Steps::End() {
  for (Task* task : tasks_) task->schedule_index_ = -1;
  if (changed_) project_.MarkChanged();
}

}  // namespace lunavant::workbench

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

void Scheduler::Run(Project& project) {
  project.EnsureOutline();
  const ProjectCalendar& project_calendar = project.Calendar();

  std::vector<Task*> tasks;
  tasks.reserve(project.Rows().size());
  for (const auto& row : project.Rows()) {
    if (!row) continue;
    row->schedule_index_ = static_cast<std::int32_t>(tasks.size());
    tasks.push_back(row.get());
  }
  const auto n = static_cast<std::int32_t>(tasks.size());

  // Node i is task i's start node (and finish node, for a task without subtasks); summary tasks
  // get a second node from n on.
  std::vector<std::int32_t> finish_node(static_cast<std::size_t>(n));
  std::vector<std::int32_t> task_of_node;  // for node n + k, the summary task's index
  std::int32_t nodes = n;
  for (std::int32_t i = 0; i < n; ++i) {
    finish_node[i] = tasks[i]->children_.empty() ? i : nodes++;
    if (finish_node[i] != i) task_of_node.push_back(i);
  }
  auto is_summary = [&](std::int32_t i) { return finish_node[i] != i; };

  // When tasks work on calendars of their own, the passes count the working minutes of a
  // calendar that works whenever any task or the project does, and place each task on its own.
  std::optional<ProjectCalendar> combined;
  {
    std::vector<const ProjectCalendar*> used = {&project_calendar};
    std::vector<char> seen(project.WorkingCalendars().size(), 0);
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int32_t c = tasks[i]->calendar_;
      if (c < 0 || is_summary(i) || seen[static_cast<std::size_t>(c)]) continue;
      seen[static_cast<std::size_t>(c)] = 1;
      used.push_back(&project.WorkingCalendars()[static_cast<std::size_t>(c)]);
    }
    if (used.size() > 1) combined = UnionOf(used);
  }
  const ProjectCalendar& calendar = combined ? *combined : project_calendar;
  // A task's own calendar, or null when the passes count on it already.
  const auto own_calendar = [&](std::int32_t v) -> const ProjectCalendar* {
    if (!combined || is_summary(v)) return nullptr;
    return &project.CalendarOf(*tasks[v]);
  };
  // Working minutes of the project's calendar between two counts of the passes: slack and
  // durations are in these.
  const auto project_minutes = [&](Boundary from, Boundary to) -> std::int64_t {
    if (!combined) return to - from;
    return project_calendar.WorkAt(calendar.FinishOf(to)) -
           project_calendar.WorkAt(calendar.FinishOf(from));
  };

  // Every edge, handed to `add` as (from, to, kind, type, lag).
  auto for_each_edge = [&](auto&& add) {
    for (std::int32_t i = 0; i < n; ++i) {
      const Task& task = *tasks[i];
      if (is_summary(i))
        add(i, finish_node[i], EdgeKind::kSummarySpan, LinkType::kFinishToStart, Lag{});
      // An inactive task drives nothing and counts in no summary.
      for (const Task* child : task.children_) {
        const std::int32_t c = child->schedule_index_;
        add(i, c, EdgeKind::kParentToChild, LinkType::kFinishToStart, Lag{});
        if (!child->active_) continue;
        add(finish_node[c], finish_node[i], EdgeKind::kChildToParent, LinkType::kFinishToStart,
            Lag{});
      }
      if (!task.active_) continue;
      for (const Link& link : task.successors_) {
        if (!link.task->active_) continue;
        add(finish_node[i], link.task->schedule_index_, EdgeKind::kLink, link.type,
            LagOf(task, link));
      }
    }
  };
  Adjacency out, in;
  out.first.assign(static_cast<std::size_t>(nodes) + 1, 0);
  in.first.assign(static_cast<std::size_t>(nodes) + 1, 0);
  for_each_edge([&](std::int32_t from, std::int32_t to, EdgeKind, LinkType, Lag) {
    ++out.first[from + 1];
    ++in.first[to + 1];
  });
  for (std::int32_t v = 0; v < nodes; ++v) {
    out.first[v + 1] += out.first[v];
    in.first[v + 1] += in.first[v];
  }
  out.edges.resize(static_cast<std::size_t>(out.first[nodes]));
  in.edges.resize(static_cast<std::size_t>(in.first[nodes]));
  {
    std::vector<std::int32_t> out_fill(out.first.begin(), out.first.end() - 1);
    std::vector<std::int32_t> in_fill(in.first.begin(), in.first.end() - 1);
    for_each_edge(
        [&](std::int32_t from, std::int32_t to, EdgeKind kind, LinkType type, Lag lag) {
          out.edges[out_fill[from]++] = Edge{to, kind, type, lag};
          in.edges[in_fill[to]++] = Edge{from, kind, type, lag};
        });
  }

  // Kahn's algorithm: the topological order of the nodes, or a cycle.
  std::vector<std::int32_t> order;
  order.reserve(static_cast<std::size_t>(nodes));
  {
    std::vector<std::int32_t> waiting(static_cast<std::size_t>(nodes));
    for (std::int32_t v = 0; v < nodes; ++v) {
      waiting[v] = in.first[v + 1] - in.first[v];
      if (waiting[v] == 0) order.push_back(v);
    }
    for (std::size_t next = 0; next < order.size(); ++next) {
      const std::int32_t v = order[next];
      for (std::int32_t e = out.first[v]; e < out.first[v + 1]; ++e) {
        if (--waiting[out.edges[e].node] == 0) order.push_back(out.edges[e].node);
      }
    }
    if (static_cast<std::int32_t>(order.size()) < nodes) {
      // Every node left has a predecessor left: walking back from one must come round a cycle.
      std::vector<std::int32_t> seen_at(static_cast<std::size_t>(nodes), -1);
      std::int32_t v = 0;
      while (waiting[v] == 0) ++v;
      std::vector<std::int32_t> walk;
      while (seen_at[v] < 0) {
        seen_at[v] = static_cast<std::int32_t>(walk.size());
        walk.push_back(v);
        for (std::int32_t e = in.first[v]; e < in.first[v + 1]; ++e) {
          if (waiting[in.edges[e].node] > 0) {
            v = in.edges[e].node;
            break;
          }
        }
      }
      auto task_of = [&](std::int32_t node) {
        return tasks[node < n ? node : task_of_node[node - n]]->ID();
      };
      std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
      for (std::size_t k = static_cast<std::size_t>(seen_at[v]); k < walk.size(); ++k) {
        lowest = std::min(lowest, task_of(walk[k]));
      }
      host::Raise(host::kHostFailure, message::CircularLinks(lowest));
    }
  }

  // A project scheduled from its start runs the forward pass from the project start and the
  // backward pass from the latest early finish; one scheduled from its finish runs the backward
  // pass from the project finish first, and the forward pass from the earliest late start.
  const bool from_project_finish = project.ScheduleFromFinish();
  Boundary project_start = calendar.WorkAt(project.ProjectStart());

  // A task's span in working time, counted on from a start or back from a finish; an elapsed
  // duration runs on the clock from the moment work starts (or back from the moment it ends).
  // Unbounded ends stay unbounded.
  const auto unbounded = [](Boundary b) { return b <= -kNone / 2 || b >= kNone / 2; };
  // A count moved on by working minutes of the project's calendar, in which lags count.
  const auto later = [&](Boundary at, std::int64_t minutes) -> Boundary {
    if (!combined || minutes == 0 || unbounded(at)) return at + minutes;
    const std::int64_t work = project_calendar.WorkAt(calendar.FinishOf(at)) + minutes;
    return calendar.WorkAt(project_calendar.FinishOf(work));
  };
  // A split task's span holds the working time it stands still as well.
  const auto after = [&](std::int32_t v, Boundary start) -> Boundary {
    if (is_summary(v) || unbounded(start)) return start;
    const Task& task = *tasks[v];
    if (task.elapsed_) return calendar.WorkAt(calendar.StartOf(start) + task.duration_);
    const std::int64_t span = task.duration_ + task.split_;
    const ProjectCalendar* own = own_calendar(v);
    if (own == nullptr) return start + span;
    if (span == 0) return start;
    return calendar.WorkAt(own->FinishOf(own->WorkAt(calendar.StartOf(start)) + span));
  };
  const auto before = [&](std::int32_t v, Boundary finish) -> Boundary {
    if (is_summary(v) || unbounded(finish)) return finish;
    const Task& task = *tasks[v];
    if (task.elapsed_) return calendar.WorkAt(calendar.FinishOf(finish) - task.duration_);
    const std::int64_t span = task.duration_ + task.split_;
    const ProjectCalendar* own = own_calendar(v);
    if (own == nullptr) return finish - span;
    if (span == 0) return finish;
    return calendar.WorkAt(own->StartOf(own->WorkAt(calendar.FinishOf(finish)) - span));
  };
  // Work on a task of its own calendar starts when that calendar next works, and ends when it
  // last worked; milestones and elapsed tasks stay where the links put them.
  const auto on_own_start = [&](std::int32_t v, Boundary start) -> Boundary {
    const ProjectCalendar* own = own_calendar(v);
    const Task& task = *tasks[v];
    if (own == nullptr || unbounded(start) || task.elapsed_ || task.duration_ == 0) return start;
    return calendar.WorkAt(own->StartOf(own->WorkAt(calendar.StartOf(start))));
  };
  const auto on_own_finish = [&](std::int32_t v, Boundary finish) -> Boundary {
    const ProjectCalendar* own = own_calendar(v);
    const Task& task = *tasks[v];
    if (own == nullptr || unbounded(finish) || task.elapsed_ || task.duration_ == 0) return finish;
    return calendar.WorkAt(own->FinishOf(own->WorkAt(calendar.FinishOf(finish))));
  };
  // A lag counted on (or back, `sign` -1) from a link's end `at` at node `node` (whose task starts
  // at `start`); an elapsed lag runs on the clock from the moment that end stands for, which for
  // an elapsed task's finish is where the clock says, on working time or not.
  const auto lagged = [&](Boundary at, const Lag& lag, bool at_finish, int sign,
                          std::int32_t node, Boundary start) -> Boundary {
    if (!lag.elapsed || unbounded(at)) return later(at, sign * lag.minutes);
    Moment from = at_finish ? calendar.FinishOf(at) : calendar.StartOf(at);
    if (at_finish && node < n && !is_summary(node) && tasks[node]->elapsed_ &&
        tasks[node]->duration_ > 0 && !unbounded(start)) {
      from = calendar.StartOf(start) + tasks[node]->duration_;
    }
    return calendar.WorkAt(from + sign * lag.minutes);
  };
  Boundary project_finish = project_start;
  // Forward pass. For a summary's start node, es/ef hold the bounds it hands down to its
  // subtasks' starts and finishes; for every finish node, the task's early span.
  std::vector<Boundary> es(static_cast<std::size_t>(nodes)), ef(static_cast<std::size_t>(nodes));
  std::vector<char> finish_side(static_cast<std::size_t>(n), 0);
  // A finish that a predecessor's start drives (start-to-finish, no lag or a lead) falls on a
  // working day's start, as the desktop scheduler shows it, not on the end of the working day
  // before; a positive lag, counted in working time, ends at a working day's end.
  std::vector<char> finish_at_start(static_cast<std::size_t>(n), 0);
  const auto forward_pass = [&](Boundary start_at) {
    for (const std::int32_t v : order) {
      if (v >= n) {
        Boundary first = kNone, last = -kNone;
        for (std::int32_t e = in.first[v]; e < in.first[v + 1]; ++e) {
          if (in.edges[e].kind != EdgeKind::kChildToParent) continue;
          first = std::min(first, es[in.edges[e].node]);
          last = std::max(last, ef[in.edges[e].node]);
        }
        // A summary of inactive tasks only spans nothing from where it starts.
        if (first > last) first = last = calendar.WorkAt(tasks[task_of_node[v - n]]->start_);
        es[v] = first;
        ef[v] = last;
        continue;
      }
      const Task& task = *tasks[v];
      // A dated constraint takes the place of the project start: a task may start before it.
      const bool dated = task.constraint_date_.has_value();
      const bool constrained_start =
          dated && task.constraint_ != ConstraintType::kStartNoLaterThan &&
          task.constraint_ != ConstraintType::kFinishNoLaterThan;
      Boundary start_bound = is_summary(v) || constrained_start ? -kNone : start_at;
      Boundary finish_bound = -kNone;
      bool from_finish = false;
      bool start_to_finish = false;
      for (std::int32_t e = in.first[v]; e < in.first[v + 1]; ++e) {
        const Edge& edge = in.edges[e];
        if (edge.kind == EdgeKind::kParentToChild) {
          start_bound = std::max(start_bound, es[edge.node]);
          finish_bound = std::max(finish_bound, ef[edge.node]);
        } else if (edge.kind == EdgeKind::kLink) {
          const Boundary at =
              lagged(FromFinish(edge.type) ? ef[edge.node] : es[edge.node], edge.lag,
                     FromFinish(edge.type), 1, edge.node, es[edge.node]);
          Boundary& bound = ToFinish(edge.type) ? finish_bound : start_bound;
          const Boundary as_start = ToFinish(edge.type) ? before(v, at) : at;
          if (!is_summary(v) && as_start >= std::max(start_bound, before(v, finish_bound))) {
            from_finish = FromFinish(edge.type);
            start_to_finish = edge.type == LinkType::kStartToFinish && edge.lag.minutes <= 0;
          }
          bound = std::max(bound, at);
        }
      }
      if (is_summary(v)) {
        es[v] = start_bound;
        ef[v] = finish_bound;
        continue;
      }
      const Boundary linked = std::max(start_bound, before(v, finish_bound));
      Boundary start = linked;
      const Boundary constraint_at = dated ? calendar.WorkAt(*task.constraint_date_) : 0;
      switch (task.constraint_) {
        case ConstraintType::kStartNoEarlierThan:
          if (dated && constraint_at > start) {
            start = constraint_at;
            from_finish = false;
          }
          break;
        case ConstraintType::kFinishNoEarlierThan:
          if (dated && before(v, constraint_at) > start) {
            start = before(v, constraint_at);
            from_finish = false;
          }
          break;
        case ConstraintType::kMustStartOn:
          if (dated) start = constraint_at, from_finish = false;
          break;
        case ConstraintType::kMustFinishOn:
          if (dated) start = before(v, constraint_at), from_finish = false;
          break;
        default:
          break;
      }
      // Levelling put the task off from where its links and constraints let it start.
      if (task.leveling_delay_ != 0) {
        start = task.leveling_delay_elapsed_
                    ? calendar.WorkAt(calendar.StartOf(start) + task.leveling_delay_)
                    : later(start, task.leveling_delay_);
        from_finish = false;
      }
      start = on_own_start(v, start);
      if (task.actual_start_) {
        start = calendar.WorkAt(*task.actual_start_);
        from_finish = false;
      }
      const bool has_length = task.duration_ > 0;
      es[v] = start;
      ef[v] = after(v, start);
      finish_side[v] = from_finish && !has_length;
      finish_at_start[v] =
          start_to_finish && start == linked && has_length && !task.actual_start_;
      // A manual task (or one whose file dates are kept) is where it stands, and drives its
      // successors from there.
      if (task.KeepsItsDates()) {
        es[v] = calendar.WorkAt(task.start_);
        ef[v] = std::max(es[v], calendar.WorkAt(task.finish_));
        finish_side[v] = 0;
        finish_at_start[v] = 0;
      }
    }
  };

  // Backward pass. For a summary's finish node, ls/lf hold the bounds it hands down to its
  // subtasks; for every start node, the task's late span.
  std::vector<Boundary> ls(static_cast<std::size_t>(nodes)), lf(static_cast<std::size_t>(nodes));
  const auto backward_pass = [&](Boundary finish_at) {
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      const std::int32_t v = *it;
      if (v < n && is_summary(v)) {
        Boundary first = kNone, last = -kNone;
        for (std::int32_t e = out.first[v]; e < out.first[v + 1]; ++e) {
          if (out.edges[e].kind != EdgeKind::kParentToChild) continue;
          first = std::min(first, ls[out.edges[e].node]);
          last = std::max(last, lf[out.edges[e].node]);
        }
        ls[v] = first;
        lf[v] = last;
        continue;
      }
      const bool summary_finish = v >= n;
      const Task* task = summary_finish ? nullptr : tasks[v];
      Boundary finish_bound = summary_finish ? kNone : finish_at;
      Boundary start_bound = kNone;
      for (std::int32_t e = out.first[v]; e < out.first[v + 1]; ++e) {
        const Edge& edge = out.edges[e];
        if (edge.kind == EdgeKind::kChildToParent) {
          finish_bound = std::min(finish_bound, lf[edge.node]);
          start_bound = std::min(start_bound, ls[edge.node]);
        } else if (edge.kind == EdgeKind::kLink) {
          const Boundary at = lagged(ToFinish(edge.type) ? lf[edge.node] : ls[edge.node],
                                     edge.lag, ToFinish(edge.type), -1, edge.node, ls[edge.node]);
          Boundary& bound = FromFinish(edge.type) ? finish_bound : start_bound;
          bound = std::min(bound, at);
        }
      }
      if (summary_finish) {
        ls[v] = start_bound;
        lf[v] = finish_bound;
        continue;
      }
      Boundary finish = std::min(finish_bound, after(v, start_bound));
      if (task->constraint_date_) {
        const Boundary constraint_at = calendar.WorkAt(*task->constraint_date_);
        switch (task->constraint_) {
          case ConstraintType::kStartNoLaterThan:
          case ConstraintType::kMustStartOn:
            finish = std::min(finish, after(v, constraint_at));
            break;
          case ConstraintType::kFinishNoLaterThan:
          case ConstraintType::kMustFinishOn:
            finish = std::min(finish, constraint_at);
            break;
          default:
            break;
        }
      }
      finish = on_own_finish(v, finish);
      lf[v] = finish;
      ls[v] = before(v, finish);
    }
  };

  if (from_project_finish) {
    project_finish = calendar.WorkAt(project.ProjectFinish());
    backward_pass(project_finish);
    project_start = project_finish;
    for (std::int32_t i = 0; i < n; ++i) project_start = std::min(project_start, ls[i]);
    forward_pass(project_start);
  } else {
    forward_pass(project_start);
    for (std::int32_t i = 0; i < n; ++i)
      project_finish = std::max(project_finish, ef[finish_node[i]]);
    backward_pass(project_finish);
  }

  // Nothing is written unless every date lands in the host's range.
  Boundary earliest = project_start, latest = project_finish;
  for (std::int32_t i = 0; i < n; ++i) {
    earliest = std::min({earliest, es[finish_node[i]], ls[i]});
    latest = std::max({latest, ef[finish_node[i]], lf[i]});
  }
  if (!InHostRange(calendar.StartOf(earliest)) || !InHostRange(calendar.FinishOf(latest))) {
    host::Raise(host::kHostFailure, message::ScheduleOutOfRange());
  }

  bool changed = false;
  auto set = [&changed](auto& field, auto value) {
    if (field != value) {
      field = value;
      changed = true;
    }
  };
  auto early_es = [&](std::int32_t i) { return es[finish_node[i]]; };
  auto early_ef = [&](std::int32_t i) { return ef[finish_node[i]]; };
  // Summaries are written at their finish node, after all their subtasks.
  for (const std::int32_t v : order) {
    const bool summary_finish = v >= n;
    if (!summary_finish && is_summary(v)) continue;
    const std::int32_t i = summary_finish ? task_of_node[v - n] : v;
    Task& task = *tasks[i];
    const Boundary total_slack = project_minutes(early_es(i), ls[i]);
    set(task.total_slack_, total_slack);
    set(task.critical_, total_slack <= 0);
    if (summary_finish && task.KeepsItsDates()) {
      set(task.free_slack_, 0);
      continue;
    }
    if (summary_finish) {
      Moment first = std::numeric_limits<Moment>::max(), last = std::numeric_limits<Moment>::min();
      Moment late_first = first, late_last = last;
      for (const Task* child : task.children_) {
        if (!child->active_) continue;
        first = std::min(first, child->start_);
        last = std::max(last, child->finish_);
        late_first = std::min(late_first, *child->late_start_);
        late_last = std::max(late_last, *child->late_finish_);
      }
      if (first > last) continue;  // inactive subtasks only: the summary stays as it is
      set(task.start_, first);
      set(task.finish_, last);
      set(task.early_start_, std::optional<Moment>(first));
      set(task.early_finish_, std::optional<Moment>(last));
      set(task.late_start_, std::optional<Moment>(late_first));
      set(task.late_finish_, std::optional<Moment>(late_last));
      set(task.duration_, project_minutes(early_es(i), early_ef(i)));
      set(task.free_slack_, 0);
      continue;
    }
    const bool milestone = task.duration_ == 0;
    auto start_at = [&](Boundary b) {
      return milestone && finish_side[i] ? calendar.FinishOf(b) : calendar.StartOf(b);
    };
    // An elapsed duration ends where the clock says, on working time or not.
    auto finish_at = [&](Boundary start, Boundary finish) {
      if (milestone) return start_at(finish);
      return task.elapsed_ ? calendar.StartOf(start) + task.duration_ : calendar.FinishOf(finish);
    };
    if (task.KeepsItsDates()) {
      set(task.late_start_, std::optional<Moment>(start_at(ls[i])));
      set(task.late_finish_, std::optional<Moment>(finish_at(ls[i], lf[i])));
      if (task.manual_) {
        set(task.early_start_, std::optional<Moment>(task.start_));
        set(task.early_finish_, std::optional<Moment>(task.finish_));
      }
      set(task.free_slack_, std::min(total_slack, project_minutes(ef[i], project_finish)));
      continue;
    }
    set(task.early_start_, std::optional<Moment>(start_at(es[i])));
    // Where work resumes after a count, on the task's own calendar.
    auto resumes_at = [&](Boundary b) {
      const ProjectCalendar* own = own_calendar(i);
      return own ? own->StartOf(own->WorkAt(calendar.FinishOf(b))) : calendar.StartOf(b);
    };
    set(task.early_finish_, std::optional<Moment>(finish_at_start[i] ? resumes_at(ef[i])
                                                                     : finish_at(es[i], ef[i])));
    set(task.late_start_, std::optional<Moment>(start_at(ls[i])));
    set(task.late_finish_, std::optional<Moment>(finish_at(ls[i], lf[i])));
    Boundary free_slack = project_minutes(ef[i], project_finish);
    for (const Link& link : task.successors_) {
      if (!task.active_ || !link.task->active_) continue;
      const std::int32_t s = link.task->schedule_index_;
      const Boundary successor_at = ToFinish(link.type) ? early_ef(s) : early_es(s);
      const Boundary mine = FromFinish(link.type) ? ef[i] : es[i];
      free_slack = std::min(
          free_slack,
          project_minutes(lagged(mine, LagOf(task, link), FromFinish(link.type), 1, i, es[i]),
                          successor_at));
    }
    free_slack = std::min(free_slack, total_slack);
    // As Late As Possible: as late as the task can go without moving a successor or the project
    // finish, which is its free slack. Scheduled from the finish, every task goes as late as it
    // can: to its late dates.
    const Boundary later_by = from_project_finish ? total_slack : free_slack;
    const bool as_late =
        (from_project_finish || task.constraint_ == ConstraintType::kAsLateAsPossible) &&
        !task.actual_start_ && later_by > 0;
    if (as_late) {
      // On calendars of their own, late dates are where the backward pass put them.
      const bool at_late_dates = combined && from_project_finish;
      const Boundary late_start = at_late_dates ? ls[i] : on_own_start(i, later(es[i], later_by));
      const Boundary late_finish =
          at_late_dates ? lf[i] : (combined ? after(i, late_start) : ef[i] + later_by);
      set(task.start_, start_at(late_start));
      set(task.finish_, finish_at(late_start, late_finish));
      free_slack = 0;
    } else if (milestone && !task.actual_start_ &&
               calendar.WorkAt(task.start_) == calendar.WorkAt(*task.early_start_) &&
               task.start_ == task.finish_) {
      // A milestone on non-working time stays where it stands while the schedule puts it at
      // the same point of working time: the desktop scheduler keeps it there too.
    } else {
      set(task.start_, task.actual_start_ ? *task.actual_start_ : *task.early_start_);
      set(task.finish_, task.actual_finish_ ? *task.actual_finish_ : *task.early_finish_);
    }
    set(task.free_slack_, free_slack);
  }

  // The project summary row spans the top-level tasks.
  Task& summary = project.SummaryTask();
  Moment first = calendar.StartOf(project_start), last = first;
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
      calendar.WorkAt(summary.start_) == project_start) {
    first = last = late_first = late_last = summary.start_;
  }
  set(summary.start_, first);
  set(summary.finish_, last);
  set(summary.early_start_, std::optional<Moment>(first));
  set(summary.early_finish_, std::optional<Moment>(last));
  set(summary.late_start_, std::optional<Moment>(late_first));
  set(summary.late_finish_, std::optional<Moment>(late_last));
  set(summary.duration_, project_minutes(project_start, project_finish));

  for (Task* task : tasks) task->schedule_index_ = -1;
  if (changed) project.MarkChanged();
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// Project, its Tasks, a Task and its TaskDependencies.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "addin/host/error.h"
#include "windows/automation/objects/host_objects.h"
#include "windows/automation/objects/interface_ids.h"
#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"

namespace lunavant::windows {
namespace {

// TaskDependencies.Add's Type argument (PjTaskLinkType).
workbench::LinkType LinkTypeOf(std::int32_t type) {
  switch (type) {
    case 0:
      return workbench::LinkType::kFinishToFinish;
    case 1:
      return workbench::LinkType::kFinishToStart;
    case 2:
      return workbench::LinkType::kStartToFinish;
    case 3:
      return workbench::LinkType::kStartToStart;
    default:
      host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
  }
}

// A number of the object model's minutes as whole days of the project, the workbench's unit.
std::int32_t WholeDaysOf(double minutes, std::int64_t minutes_per_day) {
  const double days = minutes / static_cast<double>(minutes_per_day);
  if (days != std::floor(days) || std::fabs(days) > 1000000) {
    host::Raise(host::kHostFailure, "The duration must be a whole number of days.");
  }
  return static_cast<std::int32_t>(days);
}

// A date written to a date field: the text the user would type, with the time when it has one.
std::string DateFieldText(workbench::Application& app, const VARIANT& value) {
  if (Arguments::IsText(value)) return Arguments::TextOf(value);
  const workbench::Moment moment = MinutesOfOleDate(Arguments::DateOf(value));
  return app.Regional().DefaultDateTimeText(workbench::DateTimeOf(moment));
}

// A date given as a date, or as text the user's regional settings read; at the calendar's start of
// the day when it has no time of day.
workbench::Moment MomentOfDateValue(workbench::Application& app, const VARIANT& value) {
  if (!Arguments::IsText(value)) return MinutesOfOleDate(Arguments::DateOf(value));
  host::DateTime when = app.Regional().ReadDate(Arguments::TextOf(value));
  if (!when.HasTime()) {
    const std::int32_t minute =
        app.ActiveProject() != nullptr ? app.ActiveProject()->Calendar().DayStartMinute() : 8 * 60;
    when.hour = minute / 60;
    when.minute = minute % 60;
  }
  return workbench::MomentOf(when);
}

// The workbench's text of a whole number of days ("3"), as a user types a duration.
std::string DurationText(const VARIANT& value, std::int64_t minutes_per_day) {
  if (Arguments::IsText(value)) return Arguments::TextOf(value);
  return std::to_string(WholeDaysOf(Arguments::DoubleOf(value), minutes_per_day));
}

class ProjectObject final : public HostObject, private host::ProjectEvents {
 public:
  ProjectObject(std::shared_ptr<Session> session, workbench::Project& project)
      : HostObject(std::move(session), ObjectKind::kProject, &project, kProjectIid,
                   &kProjectEventsIid),
        project_(project) {
    project_.AddEventSink(*this);
  }

 protected:
  ~ProjectObject() override { project_.RemoveEventSink(*this); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (Writes(flags)) {
      if (member != DISPID_PROJECT_PROJECTSTART) NoSuchMember();
      return project_.SetProjectStart(MomentOfDateValue(App(), args.PutValue()));
    }
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_PROJECT_PROJECTSTART:
        return result.Date(OleDateOfMinutes(project_.ProjectStart()));
      case DISPID_PROJECT_NAME:
        return result.Text(project_.Name());
      case DISPID_PROJECT_INDEX:
        return result.Long(project_.Index());
      case DISPID_PROJECT_TASKS:
        return result.Object(TasksOf(shared_session(), project_).get());
      case DISPID_PROJECT_CURRENTTABLE:
        return result.Text(project_.CurrentTable());
      case DISPID_PROJECT_SAVED:
        return result.Bool(project_.Saved());
      case DISPID_PROJECT_TASKTABLES:
        return result.Object(TaskTablesOf(shared_session(), project_).get());
      case DISPID_PROJECT_TASKTABLELIST: {
        std::vector<std::string> names;
        for (std::int32_t i = 1; i <= project_.TaskTableCount(); ++i) {
          names.push_back(project_.TaskTable(i).Name());
        }
        return result.Object(TextListOf(shared_session(), std::move(names)).get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  void Open(host::Project& /*pj*/) override {
    if (!HasSinks()) return;
    VARIANT project;
    VariantInit(&project);
    project.vt = VT_DISPATCH;
    project.pdispVal = this;
    std::array<VARIANT, 1> arguments = {project};
    Fire(DISPID_EVENT_OPEN, arguments);
  }

  workbench::Project& project_;
};

// A project's tasks, or a list of tasks as it stood when asked for (a task's subtasks, its
// predecessors or successors), which cannot be added to.
class TasksObject final : public HostObject {
 public:
  TasksObject(std::shared_ptr<Session> session, workbench::Project& project)
      : HostObject(std::move(session), ObjectKind::kTasks, &project, kTasksIid),
        project_(&project) {}
  TasksObject(std::shared_ptr<Session> session, std::vector<host::Task*> tasks)
      : HostObject(std::move(session), ObjectKind::kTasks, nullptr, kTasksIid),
        list_(std::move(tasks)) {}

 protected:
  ComPtr<IDispatch> ParentObject() override {
    return project_ != nullptr ? ProjectOf(shared_session(), project_) : HostObject::ParentObject();
  }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT,
                             [&] { return Count(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM:
        return result.Object(TaskOf(shared_session(), Item(args.Required(0))).get());
      case DISPID_COLLECTION_ADD: {
        if (project_ == nullptr) NoSuchMember();
        if (args.Find(1) != nullptr) {
          host::Raise(host::kHostFailure, "The workbench adds tasks at the end only.");
        }
        workbench::Task& task = project_->AddTask(args.OptionalText(0).value_or(""));
        return result.Object(TaskOf(shared_session(), &task).get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  std::int32_t Count() const {
    return project_ != nullptr ? project_->TaskCount() : static_cast<std::int32_t>(list_.size());
  }

  // By position from 1 (Nothing for a blank row) or by name.
  host::Task* Item(const VARIANT& index) {
    if (Arguments::IsText(index)) {
      const std::string name = Arguments::TextOf(index);
      for (std::int32_t i = 1; i <= Count(); ++i) {
        auto* task = dynamic_cast<workbench::Task*>(At(i));
        if (task != nullptr && task->Name() == name) return task;
      }
      host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
    }
    const std::int32_t position = Arguments::LongOf(index);
    if (position < 1 || position > Count()) {
      host::Raise(host::kSubscriptOutOfRange,
                  workbench::message::NoSuchItem("task", position, Count()));
    }
    return At(position);
  }

  host::Task* At(std::int32_t position) {
    return project_ != nullptr ? project_->TaskAt(position)
                               : list_[static_cast<std::size_t>(position - 1)];
  }

  workbench::Project* project_ = nullptr;
  std::vector<host::Task*> list_;
};

class TaskDependenciesObject final : public HostObject {
 public:
  TaskDependenciesObject(std::shared_ptr<Session> session, workbench::Task& task)
      : HostObject(std::move(session), ObjectKind::kTaskDependencies, &task, kTaskDependenciesIid),
        task_(task) {}

 protected:
  ComPtr<IDispatch> ParentObject() override { return TaskOf(shared_session(), &task_); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_COLLECTION_COUNT:
        return result.Long(static_cast<std::int32_t>(task_.PredecessorLinks().size() +
                                                     task_.SuccessorLinks().size()));
      case DISPID_COLLECTION_ADD: {
        workbench::Task* from = TaskBehind(Arguments::ObjectOf(args.Required(0)));
        if (from == nullptr) host::Raise(host::kTypeMismatch, "Type mismatch");
        const workbench::LinkType type = LinkTypeOf(args.OptionalLong(1).value_or(1));
        std::int32_t lag_days = 0;
        if (const VARIANT* lag = args.Find(2)) {
          lag_days = Arguments::IsText(*lag)
                         ? LagDaysOfText(Arguments::TextOf(*lag))
                         : WholeDaysOf(Arguments::LongOf(*lag), task_.Owner().MinutesPerDay());
        }
        task_.Owner().AddLink(*from, task_, type, lag_days);
        return;
      }
      default:
        NoSuchMember();
    }
  }

 private:
  // "2", "2d", "-1d", "3 days": whole days.
  static std::int32_t LagDaysOfText(const std::string& text) {
    int days = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%d%n", &days, &used) != 1) {
      host::Raise(host::kHostFailure, "The lag must be a whole number of days.");
    }
    const std::string unit = text.substr(static_cast<std::size_t>(used));
    if (unit.find_first_not_of(" dayDAYs") != std::string::npos) {
      host::Raise(host::kHostFailure, "The lag must be a whole number of days.");
    }
    return days;
  }

  workbench::Task& task_;
};

class TaskObject final : public HostObject {
 public:
  TaskObject(std::shared_ptr<Session> session, workbench::Task& task)
      : HostObject(std::move(session), ObjectKind::kTask, &task, kTaskIid), task_(task) {}

  workbench::Task& Model() const { return task_; }

 protected:
  ComPtr<IDispatch> ParentObject() override { return ProjectOf(shared_session(), &task_.Owner()); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (Writes(flags)) return Write(member, args.PutValue());
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_TASK_PROJECT:
        return result.Text(task_.Owner().Name());
      case DISPID_TASK_NAME:
        return result.Text(task_.Name());
      case DISPID_TASK_ID:
        return result.Long(task_.ID());
      case DISPID_TASK_UNIQUEID:
        return result.Long(task_.UniqueID());
      case DISPID_TASK_START:
        return result.Date(OleDateOfMinutes(task_.Start()));
      case DISPID_TASK_FINISH:
        return result.Date(OleDateOfMinutes(task_.Finish()));
      case DISPID_TASK_DURATION:
        return result.Long(static_cast<std::int32_t>(task_.DurationMinutes()));
      case DISPID_TASK_OUTLINELEVEL:
        return result.Short(static_cast<std::int16_t>(task_.OutlineLevel()));
      case DISPID_TASK_PREDECESSORS:
        return result.Text(task_.Predecessors());
      case DISPID_TASK_SUCCESSORS:
        return result.Text(task_.Successors());
      case DISPID_TASK_GETFIELD:
        return result.Text(task_.GetField(args.Long(0)));
      case DISPID_TASK_SETFIELD:
        return task_.SetField(args.Long(0), args.Text(1));
      case DISPID_TASK_OUTLINECHILDREN:
        return result.Object(TaskListOf(shared_session(), task_.Subtasks()).get());
      case DISPID_TASK_PREDECESSORTASKS:
        return result.Object(TaskListOf(shared_session(), task_.PredecessorTasks()).get());
      case DISPID_TASK_SUCCESSORTASKS:
        return result.Object(TaskListOf(shared_session(), task_.SuccessorTasks()).get());
      case DISPID_TASK_OUTLINEPARENT:
        return result.Object(TaskOf(shared_session(), task_.Parent()).get());
      case DISPID_TASK_TASKDEPENDENCIES:
        return result.Object(
            session()
                .Find<TaskDependenciesObject>(
                    ObjectKind::kTaskDependencies, &task_,
                    [&] { return MakeObject<TaskDependenciesObject>(shared_session(), task_); })
                .get());
      default:
        NoSuchMember();
    }
  }

 private:
  void Write(DISPID member, const VARIANT& value) {
    namespace field = workbench::field;
    switch (member) {
      case DISPID_TASK_NAME:
        return task_.SetField(field::kName, Arguments::TextOf(value));
      case DISPID_TASK_START:
        return task_.SetField(field::kStart, DateFieldText(App(), value));
      case DISPID_TASK_FINISH:
        return task_.SetField(field::kFinish, DateFieldText(App(), value));
      case DISPID_TASK_DURATION:
        return task_.SetField(field::kDuration, DurationText(value, task_.Owner().MinutesPerDay()));
      case DISPID_TASK_PREDECESSORS:
        return task_.SetField(field::kPredecessors, Arguments::TextOf(value));
      case DISPID_TASK_SUCCESSORS:
        return task_.SetField(field::kSuccessors, Arguments::TextOf(value));
      default:
        NoSuchMember();
    }
  }

  workbench::Task& task_;
};

}  // namespace

ComPtr<IDispatch> ProjectOf(const std::shared_ptr<Session>& session, workbench::Project* project) {
  if (project == nullptr) return {};
  return session->Find<ProjectObject>(ObjectKind::kProject, project,
                                      [&] { return MakeObject<ProjectObject>(session, *project); });
}

ComPtr<IDispatch> TasksOf(const std::shared_ptr<Session>& session, workbench::Project& project) {
  return session->Find<TasksObject>(ObjectKind::kTasks, &project,
                                    [&] { return MakeObject<TasksObject>(session, project); });
}

ComPtr<IDispatch> TaskListOf(const std::shared_ptr<Session>& session,
                             std::vector<host::Task*> tasks) {
  return MakeObject<TasksObject>(session, std::move(tasks));
}

ComPtr<IDispatch> TaskOf(const std::shared_ptr<Session>& session, host::Task* task) {
  auto* model = dynamic_cast<workbench::Task*>(task);
  if (model == nullptr) return {};
  return session->Find<TaskObject>(ObjectKind::kTask, model,
                                   [&] { return MakeObject<TaskObject>(session, *model); });
}

workbench::Task* TaskBehind(IDispatch* object) {
  if (object == nullptr) return nullptr;
  // Only the server's own task objects answer for the Task interface.
  IDispatch* task = nullptr;
  if (FAILED(object->QueryInterface(kTaskIid, reinterpret_cast<void**>(&task)))) return nullptr;
  const ComPtr<IDispatch> held = ComPtr<IDispatch>::Adopt(task);
  return &static_cast<TaskObject*>(static_cast<DispatchObject*>(task))->Model();
}

}  // namespace lunavant::windows

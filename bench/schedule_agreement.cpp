// SPDX-License-Identifier: MIT
// How far the workbench's scheduler agrees with the desktop scheduler: opens every sample project
// file, recalculates it, and prints per file how many task starts and finishes differ from the
// dates the file holds, with the likely cause of each difference, then the totals.
//
//   schedule_agreement [--tasks] [samples folder]
//
// --tasks also lists each differing task with the dates the file holds and the recalculated ones.
//
// Tasks whose dates a recalculation keeps as the file has them are counted apart, by why: manual
// scheduling, or what feeds their schedule that the workbench does not model (Task::DatesHeldBy);
// they agree by construction, so a file that agrees only through them says so. Tasks the host
// holds only because its scheduler does not reproduce them are recalculated here all the same:
// they are what this report measures.
//
// A cause is what the file shows about the task that the workbench models least surely or not at
// all (the first that applies, in the order of kCauses): resources and their calendars, splits and
// levelling delays are modelled from what the file says of them, assignment delays and levelling
// itself are not. "other" is a difference nothing in the file explains.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/error.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace {

namespace fs = std::filesystem;
using namespace lunavant::workbench;

// What the file says of one task, by UID.
struct TaskFacts {
  std::set<std::string> causes;
};

std::string_view Text(pugi::xml_node node, const char* name) { return node.child_value(name); }

long long Number(std::string_view text) { return std::atoll(std::string(text).c_str()); }

// Minutes of a PT..H..M..S duration, rough: enough to tell part days.
long long Minutes(std::string_view text) {
  long long h = 0, m = 0;
  std::sscanf(std::string(text).c_str(), "PT%lldH%lldM", &h, &m);
  return h * 60 + m;
}

std::map<long long, TaskFacts> ReadFacts(const fs::path& file, std::string& project_causes) {
  pugi::xml_document doc;
  doc.load_file(file.c_str());
  pugi::xml_node project = doc.document_element();
  // A file's 0 (some programs write it) reads as the default, as the host reads it.
  const long long given = Number(Text(project, "MinutesPerDay"));
  const long long per_day = given > 0 ? given : 480;
  if (Text(project, "ScheduleFromStart") == std::string_view("0"))
    project_causes = "scheduled from finish";
  std::set<long long> with_resources, split, delayed;
  for (pugi::xml_node a : project.child("Assignments").children("Assignment")) {
    if (Number(Text(a, "ResourceUID")) >= 0 && a.child("ResourceUID")) {
      with_resources.insert(Number(Text(a, "TaskUID")));
    }
    if (Number(Text(a, "Delay")) != 0 || Number(Text(a, "LevelingDelay")) != 0)
      delayed.insert(Number(Text(a, "TaskUID")));
    for (pugi::xml_node d : a.children("TimephasedData")) {
      if (Text(d, "Value") == std::string_view("PT0H0M0S"))
        split.insert(Number(Text(a, "TaskUID")));
    }
  }
  const std::string day_start = project.child("DefaultStartTime")
                                    ? std::string(Text(project, "DefaultStartTime"))
                                    : "08:00:00";
  const std::string day_finish = project.child("DefaultFinishTime")
                                     ? std::string(Text(project, "DefaultFinishTime"))
                                     : "17:00:00";
  bool recurring = false;
  for (pugi::xml_node c : project.child("Calendars").children("Calendar")) {
    for (pugi::xml_node e : c.child("Exceptions").children("Exception")) {
      if (Text(e, "Type") != std::string_view("1")) recurring = true;
    }
  }
  std::map<long long, TaskFacts> facts;
  for (pugi::xml_node t : project.child("Tasks").children("Task")) {
    TaskFacts& f = facts[Number(Text(t, "UID"))];
    if (!project_causes.empty()) f.causes.insert(project_causes);
    if (t.child("CalendarUID") && Number(Text(t, "CalendarUID")) >= 0)
      f.causes.insert("task calendar");
    if (with_resources.count(Number(Text(t, "UID")))) f.causes.insert("resources");
    if (delayed.count(Number(Text(t, "UID")))) f.causes.insert("assignment delay");
    if (t.child("ActualStart") || Number(Text(t, "PercentComplete")) > 0)
      f.causes.insert("actuals");
    if (Minutes(Text(t, "Duration")) % per_day != 0) f.causes.insert("part-day duration");
    if (split.count(Number(Text(t, "UID")))) f.causes.insert("split task");
    const long long format = Number(Text(t, "DurationFormat")) % 32;
    if (format % 2 == 0 && format >= 4 && format <= 12) f.causes.insert("elapsed duration");
    const std::string_view start = Text(t, "Start");
    const std::string_view finish = Text(t, "Finish");
    if ((start.size() == 19 && start.substr(11) != day_start) ||
        (finish.size() == 19 && finish.substr(11) != day_finish && finish != start)) {
      f.causes.insert("time of day");
    }
    if (Text(t, "ConstraintType") == std::string_view("1")) f.causes.insert("as late as possible");
    if (Number(Text(t, "LevelingDelay")) != 0) f.causes.insert("levelling delay");
    if (Text(t, "Summary") == std::string_view("1")) f.causes.insert("summary of such tasks");
    if (recurring) f.causes.insert("recurring calendar exceptions");
    for (pugi::xml_node l : t.children("PredecessorLink")) {
      const long long lag_format = Number(Text(l, "LagFormat")) % 32;
      if (lag_format == 19 || lag_format == 20 ||
          (lag_format % 2 == 0 && lag_format >= 4 && lag_format <= 12)) {
        f.causes.insert("elapsed or percent lag");
      }
      if (Number(Text(l, "LinkLag")) % (per_day * 10) != 0) f.causes.insert("part-day lag");
    }
  }
  return facts;
}

constexpr const char* kCauses[] = {"summary of such tasks",
                                   "scheduled from finish",
                                   "assignment delay",
                                   "resources",
                                   "actuals",
                                   "task calendar",
                                   "split task",
                                   "elapsed duration",
                                   "elapsed or percent lag",
                                   "part-day lag",
                                   "part-day duration",
                                   "time of day",
                                   "as late as possible",
                                   "levelling delay",
                                   "recurring calendar exceptions"};

std::string DateText(Moment when) {
  const lunavant::host::DateTime t = DateTimeOf(when);
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute);
  return out;
}

std::string CauseOf(const TaskFacts& facts) {
  for (const char* cause : kCauses) {
    if (facts.causes.count(cause)) return cause;
  }
  return "other";
}

}  // namespace

int main(int argc, char** argv) {
  bool list_tasks = false;
  fs::path folder = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--tasks") {
      list_tasks = true;
    } else {
      folder = argv[i];
    }
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());

  Application app;
  long long total_tasks = 0, total_starts = 0, total_finishes = 0, agreeing_files = 0;
  std::map<std::string, long long> total_causes, total_kept;
  for (const fs::path& file : files) {
    std::unique_ptr<Project> project;
    try {
      project = ReadProjectFile(app, file);
    } catch (const ProjectFileError& error) {
      std::printf("%-52s does not open: %s\n", file.filename().c_str(), error.what());
      continue;
    }
    std::string project_causes;
    const std::map<long long, TaskFacts> facts = ReadFacts(file, project_causes);
    struct Held {
      Task* task;
      Moment start, finish;
    };
    std::vector<Held> held;
    for (const auto& row : project->Rows()) {
      if (row) held.push_back({row.get(), row->Start(), row->Finish()});
    }
    // The scheduler is measured on every task the file's features leave to it: those the host
    // holds only because the scheduler would move them are scheduled here all the same.
    long long unreproduced = 0;
    for (const Held& h : held) {
      if (h.task->DatesHeldBy() == kScheduleNotReproduced) {
        h.task->HoldDates({});
        ++unreproduced;
      }
    }
    try {
      Schedule(*project);
    } catch (const lunavant::host::HostError& error) {
      std::printf("%-52s does not schedule: %s\n", file.filename().c_str(), error.what());
      continue;
    }
    long long starts = 0, finishes = 0;
    std::map<std::string, long long> causes, kept;
    for (const Held& h : held) {
      if (h.task->IsManual()) ++kept["manual"];
      if (!h.task->DatesHeldBy().empty()) ++kept[h.task->DatesHeldBy()];
    }
    if (unreproduced > 0) kept[std::string(kScheduleNotReproduced)] = unreproduced;
    std::string listing;
    for (const Held& h : held) {
      const bool start_differs = h.task->Start() != h.start;
      const bool finish_differs = h.task->Finish() != h.finish;
      starts += start_differs;
      finishes += finish_differs;
      if (start_differs || finish_differs) {
        const auto found = facts.find(h.task->UniqueID());
        const std::string cause = found == facts.end() ? "other" : CauseOf(found->second);
        ++causes[cause];
        if (list_tasks) {
          char line[256];
          std::snprintf(line, sizeof line,
                        "  UID %-5d %-28.28s file %s - %s  recalculated %s - %s  (%s)\n",
                        h.task->UniqueID(), h.task->Name().c_str(), DateText(h.start).c_str(),
                        DateText(h.finish).c_str(), DateText(h.task->Start()).c_str(),
                        DateText(h.task->Finish()).c_str(), cause.c_str());
          listing += line;
        }
      }
    }
    total_tasks += static_cast<long long>(held.size());
    total_starts += starts;
    total_finishes += finishes;
    agreeing_files += starts + finishes == 0;
    std::string cause_text;
    for (const auto& [cause, count] : causes) {
      cause_text += (cause_text.empty() ? "" : ", ") + cause + " " + std::to_string(count);
      total_causes[cause] += count;
    }
    std::string kept_text;
    for (const auto& [why, count] : kept) {
      kept_text += (kept_text.empty() ? "" : ", ") + why + " " + std::to_string(count);
      total_kept[why] += count;
    }
    std::printf("%-52s tasks %4zu  starts differ %4lld  finishes differ %4lld%s%s%s%s\n",
                file.filename().c_str(), held.size(), starts, finishes,
                cause_text.empty() ? "" : "  causes: ", cause_text.c_str(),
                kept_text.empty() ? "" : "  dates kept: ", kept_text.c_str());
    std::fputs(listing.c_str(), stdout);
  }
  std::printf(
      "\nTotal: %zu files (%lld agree fully), %lld tasks, %lld starts and %lld finishes "
      "differ\n",
      files.size(), agreeing_files, total_tasks, total_starts, total_finishes);
  for (const auto& [cause, count] : total_causes) {
    std::printf("  tasks differing by cause: %-32s %lld\n", cause.c_str(), count);
  }
  for (const auto& [why, count] : total_kept) {
    std::printf("  tasks whose file dates are kept: %-25s %lld\n", why.c_str(), count);
  }
  return 0;
}

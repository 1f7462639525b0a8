// SPDX-License-Identifier: MIT
// Project files: MSPDI, the XML interchange format of the desktop scheduler, read into a workbench
// project and written back without loss.
//
// The document a project was read from stays with the project. A save writes into that document
// only what the workbench models and what changed since the file was read or last saved (task
// names, outline levels, dates, durations, manual scheduling, constraints, links, custom field
// values, custom-field aliases and formulas, the project's new-task and scheduling settings), each
// in place or, when new, at its place in the schema's order; every other element, attribute and
// value stays as it was, in its order. The task tables and the current table travel as processing
// instructions before the root element, which MSPDI readers ignore; a file without them gets the
// default tables.
//
// The document is kept as the file's text with a tree of all but the task elements: a task is
// parsed when it is read and when a save finds that it changed, and an unchanged task is written
// back as the file had it, so that a project takes little more memory than its file.
//
//   Project& plan = OpenProjectFile(app, "plan.xml");  // NewProject, Open, WindowActivate
//   ...
//   SaveProjectFile(plan, "plan.xml");                  // atomic; throws ProjectFileError
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/events.h"
#include "workbench/files/file_error.h"

namespace lunavant::workbench {

class Application;
class Project;

// Why a task keeps the dates of its file (Task::DatesHeldBy) when the workbench's scheduler, run
// on what it models of the file, would put it elsewhere: something that feeds its schedule is
// beyond the model.
inline constexpr std::string_view kScheduleNotReproduced = "schedule not reproduced";

// Reads `path` into a project of `app` that is not yet handed to it (see OpenProjectFile). The
// project is named after the file. Fails with ProjectFileError: kNotFound, kUnreadable, or
// kMalformed with the line and what is wrong (not XML, not a project, an unknown date form, a link
// to a missing task, a duplicate UID, ...); then nothing is made. What the reading takes in place
// of a readable but unusable value is listed by ProjectFileNotes. An actual date before the
// project start on a task of 0% complete is a writer's "no date" and is read as none; a task
// that something unmodelled schedules (Active 0, ExternalTask, IsSubproject, an assignment
// Delay), or whose file dates the workbench's scheduler does not reproduce, keeps them
// (Task::DatesHeldBy).
std::unique_ptr<Project> ReadProjectFile(Application& app, const std::filesystem::path& path);
// The same for a document in memory; `path` names it in errors and becomes the project's file.
std::unique_ptr<Project> ReadProjectText(Application& app, std::string_view text,
                                         const std::filesystem::path& path);

// Reads `path` and hands the project to the application as the host does with an opened file:
// NewProject, then the project's Open (heard by `open_sink` when given, and by sinks the
// application's NewProject handlers added), then WindowActivate. Fails as ReadProjectFile, before
// any event.
Project& OpenProjectFile(Application& app, const std::filesystem::path& path,
                         host::ProjectEvents* open_sink = nullptr);

// The document of `project` with the project's current state written in. A project made in the
// workbench gets a new MSPDI document of the 2003 form.
std::string ProjectFileText(Project& project);
// Writes ProjectFileText atomically to `path` (see atomic_file.h), which becomes the project's
// file, and marks the project saved. Raises no event: Application::SaveProject does. On failure
// the file on disk and the project's saved state are unchanged.
void SaveProjectFile(Project& project, const std::filesystem::path& path);
// Whether a save writes a task's value of `field`: the name, the duration and milestone flag, the
// start and finish, the actual dates, the plain baseline's dates, duration, work and cost, the
// constraint, the links and the custom fields a file keeps per task (Text, Start, Finish, Date,
// Number, Flag, Cost and Duration with their number). The host takes edits of other fields too,
// which a save would leave out.
bool ProjectFileKeepsField(host::FieldId field);

// What the reading of the project's file took in place of what the file said (a unit of 0
// read as its default, ...), one sentence each; empty for a project not read from a file.
std::vector<std::string> ProjectFileNotes(const Project& project);

// The file the project was read from or last saved to; empty for a project never saved.
std::filesystem::path ProjectFilePath(const Project& project);

// Lets Application::SaveProject write each project to its file (projects without one are left
// unwritten) and Application::SaveProjectAs to the file named by the new name.
void UseProjectFiles(Application& app);

}  // namespace lunavant::workbench

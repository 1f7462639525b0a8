// SPDX-License-Identifier: MIT
#include "cli/project_commands.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <sstream>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/hijri_check.h"
#include "cli/messages.h"
#include "cli/text_grid.h"
#include "workbench/addins/registry_file.h"
#include "workbench/files/project_file.h"
#include "workbench/model/field_catalog.h"
#include "workbench/ui/scripted_dialogs.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::cli {
namespace {

using workbench::DialogAction;

constexpr std::string_view kIndicatorsField = "Indicators";

Align AlignOf(std::int32_t code) {
  return code == 1 ? Align::kCenter : code == 2 ? Align::kRight : Align::kLeft;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

std::string TableNames(workbench::Project& project) {
  std::vector<std::string> names;
  for (std::int32_t t = 1; t <= project.TaskTableCount(); ++t) {
    names.push_back(project.TaskTable(t).Name());
  }
  return Joined(names);
}

// Makes `table` the active view's table, as the user picks it from the host's table menu.
void ApplyTable(HostSession& session, workbench::Project& project,
                const std::optional<std::string>& table) {
  if (!table) return;
  try {
    project.ApplyTable(*table);
  } catch (const host::HostError&) {
    throw CommandError(kExitUsage,
                       message::NoSuchTable(session.FileName(), *table, TableNames(project)));
  }
}

std::string FieldName(workbench::Application& app, host::FieldId field) {
  if (field == 0) return {};
  try {
    return app.FieldConstantToFieldName(field);
  } catch (const host::HostError&) {
    return {};
  }
}

std::string ColumnTitle(workbench::Application& app, workbench::Project& project,
                        const workbench::Column& column) {
  if (!column.Title().empty()) return column.Title();
  if (column.Field() == 0) return {};
  const int custom = workbench::CustomTextIndex(column.Field());
  if (custom >= 0 && !project.CustomTextAlias(custom).empty()) {
    return project.CustomTextAlias(custom);
  }
  return FieldName(app, column.Field());
}

std::string CellText(const workbench::Task& task, host::FieldId field) {
  if (field == 0) return {};
  try {
    return task.GetField(field);
  } catch (const host::HostError&) {
    return {};
  }
}

bool InRanges(const std::vector<std::pair<std::int32_t, std::int32_t>>& ranges, std::int32_t id) {
  for (const auto& [first, last] : ranges) {
    if (id >= first && id <= last) return true;
  }
  return false;
}

// A changed project goes to its file, to -o, or nowhere with --dry-run.
int Finish(Terminal& terminal, HostSession& session, workbench::Project& project,
           const SaveOptions& save) {
  if (save.dry_run) {
    terminal.err << message::NotSavedDryRun(session.FileName()) << '\n';
    return kExitOk;
  }
  session.Save(project, save.output);
  return kExitOk;
}

// What the dialog offered, so that a user whose answer was refused can choose again.
void ShowOffered(Terminal& terminal, workbench::Application& app, std::string_view caption,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> lists) {
  const workbench::ScriptedDialogs* dialogs = app.ScriptedDialogBoxes();
  if (dialogs == nullptr) return;
  for (const workbench::ShownForm& form : dialogs->Shown()) {
    if (form.spec.caption != caption) continue;
    for (const auto& [control, what] : lists) {
      const auto found = form.lists.find(std::string(control));
      if (found != form.lists.end()) {
        terminal.err << message::Offered(what, Joined(found->second)) << '\n';
      }
    }
  }
}

// Opens the project for a command that acts through the add-in.
workbench::Project& OpenForCommand(HostSession& session, const std::filesystem::path& file,
                                   const std::optional<std::string>& table) {
  session.StartAddIns(AddInNeed::kConnected);
  workbench::Project& project = session.Open(file);
  ApplyTable(session, project, table);
  // A refresh rewrites every task; the busy pointer it shows becomes a progress line over them.
  session.Pointer().SetBusyWork(std::string(message::kRefreshing), project.TaskCount());
  return project;
}

}  // namespace

std::optional<std::vector<std::pair<std::int32_t, std::int32_t>>> ParseTaskRanges(
    const std::string& text) {
  constexpr std::int32_t kLast = std::numeric_limits<std::int32_t>::max();
  std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
  const auto number = [](std::string_view piece, std::int32_t& value) {
    if (piece.empty()) return false;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    return error == std::errc() && end == piece.data() + piece.size() && value >= 0;
  };
  std::string_view rest = text;
  if (rest.empty()) return std::nullopt;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    const std::size_t dash = item.find('-');
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (dash == std::string_view::npos) {
      if (!number(item, first)) return std::nullopt;
      last = first;
    } else {
      const std::string_view from = item.substr(0, dash);
      const std::string_view to = item.substr(dash + 1);
      if (from.empty() && to.empty()) return std::nullopt;
      if (!from.empty() && !number(from, first)) return std::nullopt;
      if (to.empty()) {
        last = kLast;
      } else if (!number(to, last)) {
        return std::nullopt;
      }
      if (last < first) return std::nullopt;
    }
    ranges.emplace_back(first, last);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return ranges;
}

int RunShow(Terminal& terminal, const SessionOptions& options, const ShowOptions& show) {
  std::optional<std::vector<std::pair<std::int32_t, std::int32_t>>> ranges;
  if (show.tasks) {
    ranges = ParseTaskRanges(*show.tasks);
    if (!ranges) throw CommandError(kExitUsage, message::BadTaskRange(*show.tasks));
  }
  HostSession session(terminal, options);
  session.StartAddIns(AddInNeed::kAsRegistered);
  workbench::Project& project = session.Open(show.file);
  ApplyTable(session, project, show.table);
  workbench::Application& app = session.App();
  workbench::Table& table = project.TaskTable(project.CurrentTable());
  workbench::ColumnList& columns = table.Columns();

  // The host draws pictures in the indicators column; a terminal shows it only for the tasks
  // that behave differently (manual, or keeping their file's dates), in words.
  bool any_indicator = false;
  for (const auto& row : project.Rows()) {
    if (row && (!ranges || InRanges(*ranges, row->ID())) && row->KeepsItsDates()) {
      any_indicator = true;
    }
  }
  std::vector<GridColumn> grid_columns;
  std::vector<host::FieldId> fields;
  for (std::int32_t c = 1; c <= columns.Count(); ++c) {
    const workbench::Column& column = columns.Item(c);
    if (!show.json && !any_indicator && FieldName(app, column.Field()) == kIndicatorsField) {
      continue;
    }
    grid_columns.push_back({ColumnTitle(app, project, column), AlignOf(column.DataAlignment()),
                            AlignOf(column.TitleAlignment())});
    fields.push_back(column.Field());
  }

  if (show.json) {
    std::ostream& out = terminal.out;
    out << "{\"file\": " << JsonString(session.FileName().string())
        << ", \"project\": " << JsonString(project.Name())
        << ", \"table\": " << JsonString(table.Name()) << ", \"columns\": [";
    for (std::size_t c = 0; c < fields.size(); ++c) {
      out << (c == 0 ? "" : ", ") << "{\"title\": " << JsonString(grid_columns[c].title)
          << ", \"field\": " << JsonString(FieldName(app, fields[c])) << "}";
    }
    out << "],\n \"tasks\": [";
    bool first = true;
    for (const auto& row : project.Rows()) {
      if (!row || (ranges && !InRanges(*ranges, row->ID()))) continue;
      out << (first ? "\n  " : ",\n  ") << "{\"id\": " << row->ID() << ", \"cells\": [";
      for (std::size_t c = 0; c < fields.size(); ++c) {
        out << (c == 0 ? "" : ", ") << JsonString(CellText(*row, fields[c]));
      }
      out << "], \"manual\": " << (row->IsManual() ? "true" : "false");
      if (!row->DatesHeldBy().empty()) {
        out << ", \"datesKeptFromFileFor\": " << JsonString(row->DatesHeldBy());
      }
      out << "}";
      first = false;
    }
    out << "]}\n";
    return kExitOk;
  }

  TextGrid grid(std::move(grid_columns));
  std::int32_t id = 0;
  for (const auto& row : project.Rows()) {
    ++id;
    if (ranges && !InRanges(*ranges, id)) continue;
    std::vector<std::string> cells;
    for (const host::FieldId field : fields) cells.push_back(row ? CellText(*row, field) : "");
    grid.AddRow(std::move(cells));
  }
  terminal.out << grid.Render();
  return kExitOk;
}

int RunAdd(Terminal& terminal, const SessionOptions& options, const AddOptions& add) {
  HostSession session(terminal, options);
  workbench::Project& project = OpenForCommand(session, add.file, add.table);
  workbench::DialogScript script{std::string(message::kAddDialog), {}};
  if (add.date_field) script.actions.push_back(DialogAction::SetText("GregField", *add.date_field));
  if (add.text_field)
    script.actions.push_back(DialogAction::SetText("HijriField", *add.text_field));
  if (add.title) script.actions.push_back(DialogAction::SetText("HijriTitle", *add.title));
  script.actions.push_back(DialogAction::Press("OKButton"));
  session.App().ScriptedDialogBoxes()->QueueScript(std::move(script));

  const std::int32_t reports = session.Boxes().ReportsShown();
  session.Click(message::kAddButton);
  if (session.Boxes().ReportsShown() > reports || project.Saved()) {
    if (session.Boxes().ReportsShown() > reports) {
      ShowOffered(terminal, session.App(), message::kAddDialog,
                  {{"GregField", "date fields"}, {"HijriField", "text fields"}});
    }
    throw CommandError(kExitRefused, message::NothingAdded(add.file));
  }
  return Finish(terminal, session, project, add.save);
}

int RunRemove(Terminal& terminal, const SessionOptions& options, const RemoveOptions& remove) {
  HostSession session(terminal, options);
  workbench::Project& project = OpenForCommand(session, remove.file, remove.table);
  workbench::DialogScript script{std::string(message::kRemoveDialog), {}};
  if (remove.field) script.actions.push_back(DialogAction::SetText("HijriField", *remove.field));
  script.actions.push_back(DialogAction::Press("OKButton"));
  session.App().ScriptedDialogBoxes()->QueueScript(std::move(script));

  const std::int32_t reports = session.Boxes().ReportsShown();
  session.Click(message::kRemoveButton);
  if (session.Boxes().QuestionRefused()) {
    throw CommandError(kExitRefused, message::NotConfirmed(remove.file));
  }
  if (session.Boxes().ReportsShown() > reports) {
    ShowOffered(terminal, session.App(), message::kRemoveDialog, {{"HijriField", "Hijri fields"}});
  }
  if (session.Boxes().ReportsShown() > reports || project.Saved()) {
    throw CommandError(kExitRefused, message::NothingRemoved(remove.file));
  }
  return Finish(terminal, session, project, remove.save);
}

int RunRefresh(Terminal& terminal, const SessionOptions& options, const RefreshOptions& refresh) {
  HostSession session(terminal, options);
  workbench::Project& project = OpenForCommand(session, refresh.file, refresh.table);
  const std::int32_t reports = session.Boxes().ReportsShown();
  session.Click(message::kRefreshButton);
  if (session.Boxes().ReportsShown() > reports) {
    throw CommandError(kExitRefused, message::CommandFailed(refresh.file, message::kRefreshButton));
  }
  return Finish(terminal, session, project, refresh.save);
}

int RunSet(Terminal& terminal, const SessionOptions& options, const SetOptions& set) {
  HostSession session(terminal, options);
  workbench::Project& project = OpenForCommand(session, set.file, std::nullopt);
  workbench::Application& app = session.App();
  host::FieldId field = 0;
  try {
    field = app.FieldNameToFieldConstant(set.field);
  } catch (const host::HostError&) {
    throw CommandError(kExitUsage, message::NoSuchField(set.field));
  }
  workbench::Task* task = nullptr;
  if (set.task >= 1 && set.task <= project.TaskCount()) task = project.TaskAt(set.task);
  if (task == nullptr) throw CommandError(kExitUsage, message::NoSuchTask(set.file, set.task));

  const std::int32_t reports = session.Boxes().ReportsShown();
  session.WatchEdit(*task, field);
  try {
    app.UserEdit(*task, field, set.text);
  } catch (const host::HostError& e) {
    throw CommandError(kExitRefused,
                       message::EditRejectedByHost(set.file, set.task, set.field, e.what()));
  }
  if (session.Boxes().ReportsShown() > reports) {
    throw CommandError(kExitRefused, message::EditRefused(set.file, set.task, set.field));
  }
  if (session.WatchedEditCancelled()) {
    throw CommandError(kExitRefused, message::EditRefusedSilently(set.file, set.task, set.field));
  }
  // Saved, the edit would be lost without a word; so nothing is saved.
  if (!workbench::ProjectFileKeepsField(field)) {
    throw CommandError(kExitRefused, message::FieldNotKept(set.file, set.task, set.field));
  }
  return Finish(terminal, session, project, set.save);
}

int RunVerify(Terminal& terminal, const SessionOptions& options,
              const std::optional<std::filesystem::path>& file) {
  // No add-in takes part: the check must not share the add-in's reading of dates.
  HostSession session(terminal, options);
  workbench::Project& project = session.Open(file);
  workbench::Application& app = session.App();
  std::unique_ptr<host::Library> converter;
  try {
    converter = app.Libraries().Load("orbelune");
  } catch (const host::HostError& e) {
    throw CommandError(kExitAddIn, message::ConverterMissing(e.what()));
  }

  ProgressLine& progress = session.Progress();
  progress.Start(std::string(message::kVerifying) + " " + session.FileName().string(),
                 static_cast<std::int64_t>(project.Rows().size()));
  HijriCheck check;
  try {
    check = CheckHijriCells(project, *converter, app.DateSeparator(),
                            [&](std::int32_t id) { progress.Update(id); });
  } catch (const host::HostError& e) {
    progress.Finish();
    throw CommandError(kExitAddIn, message::ConverterMissing(e.what()));
  }
  progress.Finish();
  if (const auto calendar = workbench::CalendarVersionOf(*converter, nullptr)) {
    MarkCorrectedCells(check, workbench::ChangedMonths(calendar->text), app.DateSeparator());
  }

  if (check.pairs.empty()) {
    terminal.out << message::NoPairs(session.FileName()) << '\n';
    return kExitOk;
  }
  if (check.problems.empty()) {
    terminal.out << message::VerifyClean(session.FileName(), check.cells,
                                         static_cast<std::int64_t>(check.pairs.size()), check.tasks)
                 << '\n';
    return kExitOk;
  }
  TextGrid grid({{"ID", Align::kRight, Align::kRight},
                 {"Task Name"},
                 {"Field"},
                 {"Stored", Align::kRight, Align::kRight},
                 {"Expected", Align::kRight, Align::kRight},
                 {"Problem"}});
  for (const CellProblem& problem : check.problems) {
    grid.AddRow({std::to_string(problem.task_id), problem.task_name, problem.field, problem.stored,
                 problem.expected, problem.kind});
  }
  const auto corrected =
      std::count_if(check.problems.begin(), check.problems.end(),
                    [](const CellProblem& problem) { return problem.kind == "corrected"; });
  terminal.out << grid.Render()
               << message::VerifyFound(session.FileName(),
                                       static_cast<std::int64_t>(check.problems.size()),
                                       check.cells)
               << '\n';
  if (corrected > 0) terminal.out << message::VerifyCorrected(corrected) << '\n';
  return kExitRefused;
}

int RunRegister(Terminal& terminal, const SessionOptions& options,
                const std::optional<std::filesystem::path>& module) {
  HostSession session(terminal, options);
  const std::filesystem::path path = module ? *module : session.ModulePath();
  try {
    workbench::RegistryFile registry = workbench::RegistryFile::Load(session.RegistryPath());
    workbench::RegisterModule(path, registry);
  } catch (const host::HostError& e) {
    throw CommandError(kExitAddIn, message::ModuleProblem(e.what()));
  }
  terminal.out << message::Registered(std::filesystem::absolute(path).lexically_normal(),
                                      session.RegistryPath())
               << '\n';
  return kExitOk;
}

int RunUnregister(Terminal& terminal, const SessionOptions& options,
                  const std::optional<std::filesystem::path>& module) {
  HostSession session(terminal, options);
  const std::filesystem::path path = module ? *module : session.ModulePath();
  try {
    workbench::RegistryFile registry = workbench::RegistryFile::Load(session.RegistryPath());
    workbench::UnregisterModule(path, registry);
  } catch (const host::HostError& e) {
    throw CommandError(kExitAddIn, message::ModuleProblem(e.what()));
  }
  terminal.out << message::Unregistered(session.RegistryPath()) << '\n';
  return kExitOk;
}

int RunListAddIns(Terminal& terminal, const SessionOptions& options) {
  HostSession session(terminal, options);
  session.StartAddIns(AddInNeed::kAsRegistered);
  if (!session.RegistryRead()) {
    throw CommandError(kExitAddIn, message::RegistryUnusable(session.RegistryPath(), "see above"));
  }
  TextGrid grid({{"Add-in"},
                 {"Name"},
                 {"Load", Align::kRight, Align::kRight},
                 {"Connected"},
                 {"Module"},
                 {"Problem"}});
  for (const workbench::AddInListing& listing : session.Manager().AddIns()) {
    grid.AddRow({listing.prog_id, listing.friendly_name, std::to_string(listing.load_behavior),
                 listing.connected ? "yes" : "no", listing.module.string(), listing.problem});
  }
  terminal.out << grid.Render();
  return kExitOk;
}

int RunConnectAddIn(Terminal& terminal, const SessionOptions& options, const std::string& prog_id,
                    bool connect) {
  {
    HostSession session(terminal, options);
    session.StartAddIns(AddInNeed::kAsRegistered);
    const workbench::AddInListing* listing = session.Manager().Find(prog_id);
    if (listing == nullptr) {
      throw CommandError(kExitAddIn, message::NotListed(prog_id, session.RegistryPath()));
    }
    const std::string key = std::string(workbench::kAddInsKey) + "\\" + listing->prog_id;
    if (connect) {
      if (!session.Manager().Connect(prog_id)) {
        throw CommandError(kExitAddIn, message::ModuleProblem(listing->problem));
      }
    } else {
      session.Manager().Disconnect(prog_id);
    }
    // As the host's add-in dialog does: the choice holds for the next start too.
    try {
      workbench::RegistryFile registry = workbench::RegistryFile::Load(session.RegistryPath());
      registry.SetNumber(key, "LoadBehavior", connect ? 3 : 2);
      registry.Save();
    } catch (const host::HostError& e) {
      throw CommandError(kExitAddIn, message::RegistryUnusable(session.RegistryPath(), e.what()));
    }
  }
  // The listing comes from a fresh start of the host, so it shows what the next command will get.
  return RunListAddIns(terminal, options);
}

}  // namespace lunavant::cli

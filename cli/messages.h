// SPDX-License-Identifier: MIT
// Every message of the command line, in one place. Each error names the file it concerns and
// what to do about it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace lunavant::cli::message {

// The add-in as an installer knows it: its programmatic identifier, and the captions of its
// toolbar and buttons, as the user sees them.
inline constexpr std::string_view kAddInProgId = "Lunavant.Connect";
inline constexpr std::string_view kToolbar = "Lunavant";
inline constexpr std::string_view kAddButton = "Add Hijri";
inline constexpr std::string_view kRemoveButton = "Remove Hijri";
inline constexpr std::string_view kRefreshButton = "Refresh Hijri";
inline constexpr std::string_view kAddDialog = "Add Hijri Field";
inline constexpr std::string_view kRemoveDialog = "Remove Hijri Field";

inline constexpr std::string_view kYesNoPrompt = "Yes or No? [Y/n] ";
inline constexpr std::string_view kYesNoCancelPrompt = "Yes, No or Cancel? [Y/n/c] ";
inline constexpr std::string_view kAnsweredYes = "(answered Yes: --yes)";
inline constexpr std::string_view kQuestionNotAsked =
    "(not answered: standard input is not a terminal; pass --yes to answer Yes)";
inline constexpr std::string_view kUsageHint = "Run 'lunavant --help' for usage.";

inline constexpr std::string_view kOpening = "Opening";
inline constexpr std::string_view kRefreshing = "Refreshing Hijri fields";
inline constexpr std::string_view kVerifying = "Verifying";
inline constexpr std::string_view kSaving = "Saving";

inline std::string Path(const std::filesystem::path& path) { return path.string(); }

inline std::string NotSavedDryRun(const std::filesystem::path& file) {
  return Path(file) + ": not saved (--dry-run)";
}
inline std::string NothingAdded(const std::filesystem::path& file) {
  return Path(file) +
         ": no Hijri field was added; the file is unchanged. Choose a date field of "
         "the current table that has no Hijri field yet (--date) and a free text "
         "field (--text), or pick another table with --table.";
}
inline std::string Offered(std::string_view what, std::string_view entries) {
  return "  " + std::string(what) +
         " offered: " + (entries.empty() ? "(none)" : std::string(entries));
}
inline std::string NothingRemoved(const std::filesystem::path& file) {
  return Path(file) +
         ": no Hijri field was removed; the file is unchanged. Name one of the Hijri "
         "fields of the current table with --field, and confirm (or pass --yes).";
}
inline std::string NotConfirmed(const std::filesystem::path& file) {
  return Path(file) +
         ": the removal was not confirmed; the file is unchanged. Standard input is "
         "not a terminal to answer on: pass --yes to confirm.";
}
inline std::string CommandFailed(const std::filesystem::path& file, std::string_view button) {
  return Path(file) + ": \"" + std::string(button) +
         "\" reported a failure (above); the file is unchanged.";
}
inline std::string EditRefused(const std::filesystem::path& file, std::int32_t task,
                               std::string_view field) {
  return Path(file) + ": the edit of task " + std::to_string(task) + ", field " +
         std::string(field) + " was refused (above); the file is unchanged.";
}
// The add-in refuses some edits without a message: those of a Hijri field whose date it may
// not set.
inline std::string EditRefusedSilently(const std::filesystem::path& file, std::int32_t task,
                                       std::string_view field) {
  return Path(file) + ": the add-in refused the edit of task " + std::to_string(task) + ", field " +
         std::string(field) +
         ": the date paired with it cannot be set here (a summary task's dates follow its "
         "subtasks; early and late dates follow the schedule); the file is unchanged.";
}
inline std::string FieldNotKept(const std::filesystem::path& file, std::int32_t task,
                                std::string_view field) {
  return Path(file) + ": task " + std::to_string(task) + ", field " + std::string(field) +
         ": the field is not kept in the project file; the file is unchanged.";
}
inline std::string EditRejectedByHost(const std::filesystem::path& file, std::int32_t task,
                                      std::string_view field, std::string_view reason) {
  return Path(file) + ": task " + std::to_string(task) + ", field " + std::string(field) + ": " +
         std::string(reason) + " The file is unchanged.";
}
inline std::string NoSuchTask(const std::filesystem::path& file, std::int32_t task) {
  return Path(file) + ": there is no task with ID " + std::to_string(task) +
         "; 'lunavant show' lists the tasks with their IDs.";
}
inline std::string NoSuchField(std::string_view field) {
  return "there is no task field named \"" + std::string(field) +
         "\"; use a field name such as Start, Text1 or the name of a Hijri field (HijriStart).";
}
inline std::string NoSuchTable(const std::filesystem::path& file, std::string_view table,
                               std::string_view tables) {
  return Path(file) + ": there is no task table named \"" + std::string(table) +
         "\"; its task tables are: " + std::string(tables) + ".";
}
inline std::string BadTaskRange(std::string_view range) {
  return "--tasks \"" + std::string(range) +
         "\" is not a list of task IDs and ranges, such as 1-10,15 or 20-.";
}
inline std::string FileProblem(std::string_view what_failed, std::string_view advice) {
  return std::string(what_failed) + " " + std::string(advice);
}
inline constexpr std::string_view kAdviceNotFound = "Check the file name.";
inline constexpr std::string_view kAdviceUnreadable = "Check that it is a file you may read.";
inline constexpr std::string_view kAdviceMalformed =
    "It is not a project file in MSPDI (XML) form; save it as XML from the scheduler.";
inline constexpr std::string_view kAdviceNotSaved =
    "Check the folder's permissions and free space, or save elsewhere with -o.";
inline std::string ButtonUnavailable(std::string_view button) {
  return "the add-in's toolbar has no usable button \"" + std::string(button) +
         "\"; reconnect the add-in with 'lunavant addins disconnect " + std::string(kAddInProgId) +
         "' and 'lunavant addins connect " + std::string(kAddInProgId) + "'.";
}
inline std::string AddInNotConnected(const std::filesystem::path& registry) {
  return "the add-in " + std::string(kAddInProgId) + " is not connected (registry " +
         Path(registry) + "); connect it with 'lunavant addins connect " +
         std::string(kAddInProgId) + "', or register it again with 'lunavant register'.";
}
inline std::string RegistryUnusable(const std::filesystem::path& registry,
                                    std::string_view reason) {
  std::string text(reason);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return "the add-in registry " + Path(registry) + " cannot be used (" + text +
         "). Mend or delete the file; 'lunavant register' writes a new one.";
}
inline std::string ModuleProblem(std::string_view reason) {
  return std::string(reason) +
         " Give the add-in module (liblunavant.so) that came with the lunavant program.";
}
inline std::string Registered(const std::filesystem::path& module,
                              const std::filesystem::path& registry) {
  return "Registered " + Path(module) + " as " + std::string(kAddInProgId) + " in " +
         Path(registry);
}
inline std::string Unregistered(const std::filesystem::path& registry) {
  return "Removed " + std::string(kAddInProgId) + " from " + Path(registry);
}
inline std::string NotListed(std::string_view prog_id, const std::filesystem::path& registry) {
  return "there is no add-in " + std::string(prog_id) + " in " + Path(registry) +
         "; 'lunavant addins' lists them, 'lunavant register' adds this one.";
}
inline std::string ConverterMissing(std::string_view reason) {
  return "the converter library cannot be loaded: " + std::string(reason) +
         " The converter (liborbelune.so) belongs beside the add-in module; install Lunavant"
         " again.";
}
inline constexpr std::string_view kConverterWithoutVersion =
    "the converter library is older than this program and cannot say which Hijri calendar it "
    "has in force: it converts with its built-in table and reads no corrections. Install "
    "Lunavant again.";
inline std::string VerifyClean(const std::filesystem::path& file, std::int64_t cells,
                               std::int64_t pairs, std::int64_t tasks) {
  return Path(file) + ": " + std::to_string(cells) + " Hijri cells (" + std::to_string(pairs) +
         " pairs, " + std::to_string(tasks) + " tasks) match their dates.";
}
inline std::string VerifyFound(const std::filesystem::path& file, std::int64_t bad,
                               std::int64_t cells) {
  return Path(file) + ": " + std::to_string(bad) + " of " + std::to_string(cells) +
         " Hijri cells do not match their dates; 'lunavant refresh " + Path(file) +
         "' rewrites them.";
}
inline std::string VerifyCorrected(std::int64_t corrected) {
  return std::to_string(corrected) + (corrected == 1 ? " of them lies" : " of them lie") +
         " in a month that the Hijri calendar's corrections change (\"corrected\"; 'lunavant "
         "hijri-calendar' lists them).";
}
inline std::string NoPairs(const std::filesystem::path& file) {
  return Path(file) +
         ": no Hijri fields to verify (no task table shows a text field named "
         "after a date field, such as HijriStart).";
}

}  // namespace lunavant::cli::message

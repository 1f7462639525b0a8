// SPDX-License-Identifier: MIT
// Every project file we test against, as a user meets it: opened and saved with no edit, given a
// Hijri pair through the built program, refreshed; no task's Start or Finish may move, since the
// user moved none.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/cli_fixture.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"

namespace lunavant::cli {
namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;

constexpr const char* kSettings = "--short-date dd/MM/yyyy --date-separator / ";

// Each task's Start and Finish by UID, as the file writes them, and the project's own setting.
struct FileDates {
  std::map<std::string, std::pair<std::string, std::string>> tasks;
  std::string schedule_from_start;
};

FileDates DatesOf(const std::string& text) {
  pugi::xml_document doc;
  FileDates dates;
  if (!doc.load_string(text.c_str())) return dates;
  const pugi::xml_node project = doc.document_element();
  dates.schedule_from_start = project.child_value("ScheduleFromStart");
  for (pugi::xml_node task : project.child("Tasks").children("Task")) {
    if (std::string_view(task.child_value("IsNull")) == "1") continue;
    dates.tasks[task.child_value("UID")] = {task.child_value("Start"), task.child_value("Finish")};
  }
  return dates;
}

// The tasks whose dates differ between two readings of a file, one line each.
std::vector<std::string> Moved(const FileDates& before, const FileDates& after) {
  std::vector<std::string> moved;
  for (const auto& [uid, dates] : before.tasks) {
    const auto found = after.tasks.find(uid);
    if (found == after.tasks.end()) {
      moved.push_back("UID " + uid + " is gone");
    } else if (found->second != dates) {
      moved.push_back("UID " + uid + " " + dates.first + " - " + dates.second + " became " +
                      found->second.first + " - " + found->second.second);
    }
  }
  if (before.schedule_from_start != after.schedule_from_start) {
    moved.push_back("ScheduleFromStart " + before.schedule_from_start + " became " +
                    after.schedule_from_start);
  }
  return moved;
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".xml") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class FileInvariants : public test_support::CliTest {
 protected:
  // Runs the built program on the test's folder with its own registry; the exit status.
  int Status(const std::string& arguments) const {
    return Run(std::string(kSettings) + arguments).status;
  }

  // Open and save with no edit, add a pair and save, refresh and save: each file's dates stay.
  void ExpectNoTaskMoves(const std::vector<fs::path>& files) {
    workbench::Application app;
    for (const fs::path& file : files) {
      SCOPED_TRACE(file.filename().string());
      const FileDates original = DatesOf(ReadWholeFile(file));
      ASSERT_FALSE(original.tasks.empty());

      std::unique_ptr<workbench::Project> opened = workbench::ReadProjectFile(app, file);
      EXPECT_EQ(Moved(original, DatesOf(workbench::ProjectFileText(*opened))),
                std::vector<std::string>{})
          << "saved with no edit";

      // The add is refused when every text field is taken, and the file then stays as it is.
      fs::copy_file(file, dir_ / "plan.xml", fs::copy_options::overwrite_existing);
      const int added = Status("add plan.xml");
      EXPECT_TRUE(added == 0 || added == 1) << added;
      EXPECT_EQ(Moved(original, DatesOf(ReadWholeFile(dir_ / "plan.xml"))),
                std::vector<std::string>{})
          << "after a pair was added";
      EXPECT_EQ(Status("refresh plan.xml"), 0);
      EXPECT_EQ(Moved(original, DatesOf(ReadWholeFile(dir_ / "plan.xml"))),
                std::vector<std::string>{})
          << "after a refresh";
    }
  }
};

TEST_F(FileInvariants, NoSampleFileMovesATaskWhenOpenedPairedRefreshedAndSaved) {
  // Given every file the desktop scheduler saved (2002 to 2019), expect each to open, take a
  // Hijri pair and a refresh, and save with every task where the file had it.
  const std::vector<fs::path> files = FilesIn(fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples");
  EXPECT_GE(files.size(), 71u);
  ExpectNoTaskMoves(files);
}

TEST_F(FileInvariants, NoFixtureMovesATaskWhenOpenedPairedRefreshedAndSaved) {
  // Given files with manual tasks driving automatic ones, inactive tasks, a project scheduled
  // from its finish and another program's settings, expect the same.
  const std::vector<fs::path> files =
      FilesIn(fs::path(LUNAVANT_SOURCE_DIR) / "tests" / "data" / "mspdi");
  EXPECT_GE(files.size(), 4u);
  ExpectNoTaskMoves(files);
}

}  // namespace
}  // namespace lunavant::cli

// SPDX-License-Identifier: MIT
// Manually scheduled and inactive tasks of real-form project files, edited as a user edits them:
// a manual task stays where the user put it and still drives its successors; an inactive task
// drives nothing; a save keeps both kinds as the desktop scheduler reads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "tests/support/workbench_fixture.h"
#include "workbench/files/project_file.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = fs::path(LUNAVANT_SOURCE_DIR) / "tests" / "data" / "mspdi";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ManualScheduling : public test_support::WorkbenchTest {
 protected:
  ManualScheduling() {
    app_.SetDateFormat(DateFormat::kWeekdayDateTime);
    UseProjectFiles(app_);
    std::string pattern = (fs::temp_directory_path() / "lunavant-manual-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
  }
  ~ManualScheduling() override { fs::remove_all(folder_); }

  Project& OpenCopy(const std::string& name) {
    fs::copy_file(kFixtures / name, folder_ / name);
    return OpenProjectFile(app_, folder_ / name);
  }
  static std::string Span(Project& pj, std::int32_t id) {
    auto& task = static_cast<Task&>(*pj.TaskAt(id));
    return task.GetField(field::kStart) + " - " + task.GetField(field::kFinish);
  }
  static Task& Row(Project& pj, std::int32_t id) { return static_cast<Task&>(*pj.TaskAt(id)); }

  fs::path folder_;
};

TEST_F(ManualScheduling, AManualTaskStaysWhereTypedAndMovesOnlyWhatItDrives) {
  // Given a manual task placed before its predecessor's finish, a manual milestone on a
  // Saturday and a manual subtask under an automatic summary, expect a longer predecessor to move
  // none of them, and the manual task's successor to stay after it.
  Project& pj = OpenCopy("manual-tasks-project2019.xml");
  ASSERT_TRUE(Row(pj, 2).IsManual());
  EXPECT_EQ(Row(pj, 2).GetField(field::kIndicators), "Manual");
  EXPECT_EQ(Row(pj, 1).GetField(field::kIndicators), "");
  app_.UserEdit(Row(pj, 1), field::kDuration, "5");
  EXPECT_EQ(Span(pj, 1), "Mon 04/03/24 08:00 - Fri 08/03/24 17:00");
  EXPECT_EQ(Span(pj, 2), "Mon 04/03/24 08:00 - Tue 05/03/24 17:00");
  EXPECT_EQ(Span(pj, 3), "Wed 06/03/24 08:00 - Thu 07/03/24 17:00");
  EXPECT_EQ(Span(pj, 4), "Sat 09/03/24 10:00 - Sat 09/03/24 10:00");

  // Typing the manual task's start moves it, its duration kept and no constraint set, and what
  // it drives; the other manual tasks and their successors stay.
  app_.UserEdit(Row(pj, 2), field::kStart, "Mon 11/03/24 08:00");
  EXPECT_EQ(Span(pj, 2), "Mon 11/03/24 08:00 - Tue 12/03/24 17:00");
  EXPECT_EQ(Row(pj, 2).GetField(field::kConstraintType), "As Soon As Possible");
  EXPECT_EQ(Span(pj, 3), "Wed 13/03/24 08:00 - Thu 14/03/24 17:00");
  EXPECT_EQ(Span(pj, 5), "Thu 14/03/24 17:00 - Thu 14/03/24 17:00");
  EXPECT_EQ(Span(pj, 4), "Sat 09/03/24 10:00 - Sat 09/03/24 10:00");
  EXPECT_EQ(Span(pj, 7), "Mon 11/03/24 08:00 - Mon 11/03/24 17:00");
  EXPECT_EQ(Span(pj, 8), "Tue 12/03/24 08:00 - Tue 12/03/24 17:00");

  // A typed finish lengthens the manual subtask; its successor and its summary follow.
  app_.UserEdit(Row(pj, 7), field::kFinish, "Wed 13/03/24 17:00");
  EXPECT_EQ(Row(pj, 7).GetField(field::kDuration), "3 days");
  EXPECT_EQ(Span(pj, 8), "Thu 14/03/24 08:00 - Thu 14/03/24 17:00");
  EXPECT_EQ(Span(pj, 6), "Mon 11/03/24 08:00 - Thu 14/03/24 17:00");
  EXPECT_EQ(pj.SummaryTask().GetField(field::kFinish), "Thu 14/03/24 17:00");

  // The save keeps the task manual, with the dates the desktop scheduler reads back for it.
  ASSERT_TRUE(app_.SaveProject(pj));
  const std::string saved = ReadText(folder_ / "manual-tasks-project2019.xml");
  EXPECT_NE(saved.find("<ManualStart>2024-03-11T08:00:00</ManualStart>"), std::string::npos);
  EXPECT_NE(saved.find("<ManualFinish>2024-03-13T17:00:00</ManualFinish>"), std::string::npos);
  ASSERT_TRUE(app_.CloseProject(pj));
  Project& reopened = OpenProjectFile(app_, folder_ / "manual-tasks-project2019.xml");
  EXPECT_TRUE(Row(reopened, 2).IsManual());
  EXPECT_EQ(Span(reopened, 2), "Mon 11/03/24 08:00 - Tue 12/03/24 17:00");
  app_.CalculateProject();
  EXPECT_EQ(Span(reopened, 2), "Mon 11/03/24 08:00 - Tue 12/03/24 17:00");
  EXPECT_EQ(Span(reopened, 8), "Thu 14/03/24 08:00 - Thu 14/03/24 17:00");
}

TEST_F(ManualScheduling, NewTasksAreAutomaticUnlessTheProjectSaysOtherwise) {
  // Given a file whose projects add manual tasks, one whose projects do not, and a project made
  // in the workbench, expect new tasks to follow each, and the setting and a manual task to be
  // saved so that the file reads back the same.
  Project& manual = OpenCopy("manual-tasks-project2019.xml");
  EXPECT_TRUE(manual.NewTasksAreManual());
  EXPECT_TRUE(manual.AddTask("Added").IsManual());
  Project& automatic = OpenCopy("inactive-tasks-project2016.xml");
  EXPECT_FALSE(automatic.AddTask("Added").IsManual());

  Project& made = test_support::ProjectBuilder(app_, "made").AddTask("A", 2).Build();
  EXPECT_FALSE(made.NewTasksAreManual());
  made.SetNewTasksAreManual(true);
  Task& added = made.AddTask("Placed by hand", 3);
  ASSERT_TRUE(added.IsManual());
  SaveProjectFile(made, folder_ / "made.xml");
  const std::string saved = ReadText(folder_ / "made.xml");
  EXPECT_NE(saved.find("<NewTasksAreManual>1</NewTasksAreManual>"), std::string::npos);
  EXPECT_NE(saved.find("<Manual>1</Manual>"), std::string::npos);
  std::unique_ptr<Project> back = ReadProjectFile(app_, folder_ / "made.xml");
  EXPECT_TRUE(back->NewTasksAreManual());
  EXPECT_FALSE(Row(*back, 1).IsManual());
  EXPECT_TRUE(Row(*back, 2).IsManual());
}

TEST_F(ManualScheduling, AnInactiveTaskDrivesNothingAndKeepsItsDates) {
  // Given an inactive task between two active ones, expect its successor to start with the
  // project as the desktop scheduler put it, and a longer predecessor to move only the active
  // successor; the inactive task keeps the file's dates, and says why.
  Project& pj = OpenCopy("inactive-tasks-project2016.xml");
  EXPECT_FALSE(Row(pj, 2).IsActive());
  EXPECT_EQ(Row(pj, 2).DatesHeldBy(), "inactive task");
  EXPECT_EQ(Row(pj, 2).GetField(field::kIndicators), "File dates");
  app_.UserEdit(Row(pj, 1), field::kDuration, "3");
  EXPECT_EQ(Span(pj, 4), "Thu 07/03/24 08:00 - Thu 07/03/24 17:00");
  EXPECT_EQ(Span(pj, 2), "Wed 06/03/24 08:00 - Tue 12/03/24 17:00");
  EXPECT_EQ(Span(pj, 3), "Mon 04/03/24 08:00 - Mon 04/03/24 17:00");
  // The project spans its active tasks only.
  EXPECT_EQ(pj.SummaryTask().GetField(field::kFinish), "Thu 07/03/24 17:00");

  // Typed dates are the user's: the task is then scheduled as the workbench computes it.
  app_.UserEdit(Row(pj, 2), field::kStart, "Mon 18/03/24 08:00");
  EXPECT_EQ(Row(pj, 2).DatesHeldBy(), "");
  EXPECT_EQ(Span(pj, 2), "Mon 18/03/24 08:00 - Fri 22/03/24 17:00");
  EXPECT_EQ(Span(pj, 3), "Mon 04/03/24 08:00 - Mon 04/03/24 17:00");
}

TEST_F(ManualScheduling, ATaskTheSchedulerDoesNotReproduceKeepsItsFileDates) {
  // Given a file of scheduler results in which a task starts two days after its predecessor for
  // a reason the file does not show, and a file of another program with the same dates but no
  // early dates, expect the first task kept where its file has it, also when its predecessor
  // grows, until its links are typed, and the other program's task scheduled from its link.
  const auto file = [](const std::string& early_dates) {
    return "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
           "<StartDate>2004-03-01T08:00:00</StartDate><Tasks>"
           "<Task><UID>1</UID><Name>A</Name><Start>2004-03-01T08:00:00</Start>"
           "<Finish>2004-03-01T17:00:00</Finish><Duration>PT8H0M0S</Duration>" +
           (early_dates.empty() ? std::string()
                                : "<EarlyStart>2004-03-01T08:00:00</EarlyStart>"
                                  "<EarlyFinish>2004-03-01T17:00:00</EarlyFinish>") +
           "</Task><Task><UID>2</UID><Name>B</Name><Start>2004-03-04T08:00:00</Start>"
           "<Finish>2004-03-04T17:00:00</Finish><Duration>PT8H0M0S</Duration>" +
           early_dates +
           "<PredecessorLink><PredecessorUID>1</PredecessorUID><Type>1</Type></PredecessorLink>"
           "</Task></Tasks></Project>";
  };
  Project& pj = app_.AdoptOpenedProject(
      ReadProjectText(app_,
                      file("<EarlyStart>2004-03-04T08:00:00</EarlyStart>"
                           "<EarlyFinish>2004-03-04T17:00:00</EarlyFinish>"),
                      "results.xml"));
  EXPECT_EQ(Row(pj, 1).DatesHeldBy(), "");
  EXPECT_EQ(Row(pj, 2).DatesHeldBy(), kScheduleNotReproduced);
  app_.CalculateProject();
  EXPECT_EQ(Span(pj, 2), "Thu 04/03/04 08:00 - Thu 04/03/04 17:00");
  app_.UserEdit(Row(pj, 1), field::kDuration, "2");
  EXPECT_EQ(Span(pj, 2), "Thu 04/03/04 08:00 - Thu 04/03/04 17:00");
  // Links typed for the task ask for the schedule they make.
  app_.UserEdit(Row(pj, 2), field::kPredecessors, "1");
  EXPECT_EQ(Row(pj, 2).DatesHeldBy(), "");
  EXPECT_EQ(Span(pj, 2), "Wed 03/03/04 08:00 - Wed 03/03/04 17:00");

  Project& other = app_.AdoptOpenedProject(ReadProjectText(app_, file(""), "other.xml"));
  EXPECT_EQ(Row(other, 2).DatesHeldBy(), "");
  app_.CalculateProject();
  EXPECT_EQ(Span(other, 2), "Tue 02/03/04 08:00 - Tue 02/03/04 17:00");
}

}  // namespace
}  // namespace lunavant::workbench

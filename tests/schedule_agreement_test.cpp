// SPDX-License-Identifier: MIT
// The scheduler against the desktop scheduler's own results: recalculating a sample file moves no
// task, except in the files whose schedules depend on what the workbench does not model.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/files/project_file.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

// Each for a reason the agreement report names: resources and their assignments, split tasks,
// summaries of such tasks.
const std::set<std::string> kKnownDisagreements = {
    "mspdiresource.xml",
    "mspdisplittask.xml",
    "mspditimephased.xml",
    "mspditimephasedsegments.xml",
    "sample.xml",
};

class ScheduleAgreement : public test_support::WorkbenchTest {};

TEST_F(ScheduleAgreement, FilesTheSchedulerAgreesWithKeepAgreeing) {
  // Given every sample outside the known disagreements (links of all four types with lags and
  // leads, constraints, outlines, calendars), expect a recalculation to keep every start and
  // finish the file holds.
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);  // times of day count too
  const fs::path folder = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  int checked_tasks = 0;
  for (const fs::path& file : files) {
    if (kKnownDisagreements.count(file.filename().string())) continue;
    SCOPED_TRACE(file.filename().string());
    std::unique_ptr<Project> pj = ReadProjectFile(app_, file);
    std::vector<std::string> before;
    for (const auto& row : pj->Rows()) {
      if (row)
        before.push_back(app_.FormatDate(row->Start()) + " " + app_.FormatDate(row->Finish()));
    }
    Schedule(*pj);
    std::vector<std::string> after;
    for (const auto& row : pj->Rows()) {
      if (row)
        after.push_back(app_.FormatDate(row->Start()) + " " + app_.FormatDate(row->Finish()));
    }
    EXPECT_EQ(after, before);
    checked_tasks += static_cast<int>(before.size());
  }
  EXPECT_GE(checked_tasks, 900);
}

}  // namespace
}  // namespace lunavant::workbench

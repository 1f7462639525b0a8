// SPDX-License-Identifier: MIT
// The scheduler against the desktop scheduler's own results: recalculating a sample file moves no
// task.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/files/project_file.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

class ScheduleAgreement : public test_support::WorkbenchTest {};

TEST_F(ScheduleAgreement, FilesTheSchedulerAgreesWithKeepAgreeing) {
  // Given every sample (links of all four types with lags and leads, constraints, outlines,
  // calendars, resources on calendars of their own, split tasks), expect a recalculation to keep
  // every start and finish the file holds.
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);  // times of day count too
  const fs::path folder = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  int checked_tasks = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    std::unique_ptr<Project> pj = ReadProjectFile(app_, file);
    // The scheduler itself is under test: no task keeps its dates for want of agreeing.
    for (const auto& row : pj->Rows()) {
      if (row && row->DatesHeldBy() == kScheduleNotReproduced) row->HoldDates({});
    }
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
  EXPECT_GE(checked_tasks, 1200);
}

// The samples a user moves tasks in, read from the shared reference data.
const fs::path kSamples = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";

class ResourceScheduling : public test_support::WorkbenchTest {
 protected:
  ResourceScheduling() { app_.SetDateFormat(DateFormat::kWeekdayDateTime); }

  Task& Named(Project& pj, const std::string& name) {
    for (const auto& row : pj.Rows()) {
      if (row && row->Name() == name) return *row;
    }
    ADD_FAILURE() << "no task " << name;
    return *pj.Rows().front();
  }
  std::string Span(Project& pj, const std::string& name) {
    Task& task = Named(pj, name);
    return task.GetField(field::kStart) + " - " + task.GetField(field::kFinish);
  }
};

TEST_F(ResourceScheduling, TasksMovedByTheUserStayOnTheirResourcesWorkingTime) {
  // Given a night-shift resource's task typed onto a Monday, expect it to start when the shift
  // next works (23:00) and to count its 75 hours on the shift's nights, over two weekends.
  Project& nights = OpenProjectFile(app_, kSamples / "mspditimephased.xml");
  app_.UserEdit(Named(nights, "Task 1 - Night Shift"), field::kStart, "Mon 01/12/08 08:00");
  EXPECT_EQ(Span(nights, "Task 1 - Night Shift"), "Mon 01/12/08 23:00 - Sat 13/12/08 02:00");
  // A task on the project's calendar beside it keeps the file's dates.
  EXPECT_EQ(Span(nights, "Task 1"), "Thu 20/11/08 09:00 - Wed 03/12/08 12:00");

  // Given a task of two day workers and a night worker moved, expect its 48 hours counted
  // whenever any of them works, and its day-shift successor to start where it ends.
  Project& mixed = OpenProjectFile(app_, kSamples / "mspdiresource.xml");
  app_.UserEdit(Named(mixed, "Task A"), field::kStart, "Mon 04/09/06 08:00");
  EXPECT_EQ(Span(mixed, "Task A"), "Mon 04/09/06 08:00 - Thu 07/09/06 08:00");
  EXPECT_EQ(Span(mixed, "Contoured Task"), "Thu 07/09/06 08:00 - Mon 18/09/06 09:08");
}

TEST_F(ResourceScheduling, AMovedSplitTaskKeepsItsPause) {
  // Given a ten-day task that stands still three days after its fourth, moved on a week, expect
  // it to end thirteen working days after its new start, as it did in the file.
  Project& pj = OpenProjectFile(app_, kSamples / "mspdisplittask.xml");
  EXPECT_EQ(Span(pj, "Split Task 1"), "Thu 21/09/06 08:00 - Mon 09/10/06 17:00");
  app_.UserEdit(Named(pj, "Split Task 1"), field::kStart, "Thu 28/09/06 08:00");
  EXPECT_EQ(Span(pj, "Split Task 1"), "Thu 28/09/06 08:00 - Mon 16/10/06 17:00");
  EXPECT_EQ(Named(pj, "Split Task 1").GetField(field::kDuration), "10 days");
}

TEST_F(ResourceScheduling, ATaskCalendarMeetsItsResourcesUnlessItIgnoresThem) {
  // Given two 16-hour tasks on a calendar of mornings, each with a resource whose calendar builds
  // on the standard one with Tuesday 2 March 2004 off, expect the first to work only on the
  // mornings its resource works (Tuesday skipped), and the second, which ignores its resource's
  // calendar, on every morning; the resource's base gives it no afternoons.
  const std::string weekend =
      "<WeekDay><DayType>1</DayType><DayWorking>0</DayWorking></WeekDay>"
      "<WeekDay><DayType>7</DayType><DayWorking>0</DayWorking></WeekDay>";
  const auto weekdays = [](const std::string& times) {
    std::string out;
    for (int day = 2; day <= 6; ++day) {
      out += "<WeekDay><DayType>" + std::to_string(day) +
             "</DayType><DayWorking>1</DayWorking><WorkingTimes>" + times +
             "</WorkingTimes></WeekDay>";
    }
    return out;
  };
  const std::string morning =
      "<WorkingTime><FromTime>08:00:00</FromTime><ToTime>12:00:00</ToTime></WorkingTime>";
  const std::string afternoon =
      "<WorkingTime><FromTime>13:00:00</FromTime><ToTime>17:00:00</ToTime></WorkingTime>";
  const auto task = [](int uid, const char* name, const char* ignore) {
    return "<Task><UID>" + std::to_string(uid) + "</UID><ID>" + std::to_string(uid) +
           "</ID><Name>" + name +
           "</Name><OutlineLevel>1</OutlineLevel><Start>2004-03-01T08:00:00</Start>"
           "<Finish>2004-03-01T08:00:00</Finish><Duration>PT16H0M0S</Duration>"
           "<DurationFormat>7</DurationFormat><CalendarUID>2</CalendarUID>"
           "<IgnoreResourceCalendar>" +
           ignore + "</IgnoreResourceCalendar></Task>";
  };
  const std::string text =
      "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-01T08:00:00</StartDate><CalendarUID>1</CalendarUID><Calendars>"
      "<Calendar><UID>1</UID><Name>Standard</Name><IsBaseCalendar>1</IsBaseCalendar>"
      "<BaseCalendarUID>-1</BaseCalendarUID><WeekDays>" +
      weekend + weekdays(morning + afternoon) + "</WeekDays></Calendar>" +
      "<Calendar><UID>2</UID><Name>Mornings</Name><IsBaseCalendar>1</IsBaseCalendar><WeekDays>" +
      weekend + weekdays(morning) +
      "</WeekDays></Calendar>"
      "<Calendar><UID>3</UID><Name>Fitter</Name><IsBaseCalendar>0</IsBaseCalendar>"
      "<BaseCalendarUID>1</BaseCalendarUID><Exceptions><Exception><TimePeriod>"
      "<FromDate>2004-03-02T00:00:00</FromDate><ToDate>2004-03-02T23:59:00</ToDate></TimePeriod>"
      "<Type>1</Type><DayWorking>0</DayWorking></Exception></Exceptions></Calendar>"
      "</Calendars><Tasks>" +
      task(1, "Meets", "0") + task(2, "Ignores", "1") +
      "</Tasks><Resources><Resource><UID>1</UID><Name>Fitter</Name><Type>1</Type>"
      "<CalendarUID>3</CalendarUID></Resource></Resources><Assignments>"
      "<Assignment><UID>1</UID><TaskUID>1</TaskUID><ResourceUID>1</ResourceUID></Assignment>"
      "<Assignment><UID>2</UID><TaskUID>2</TaskUID><ResourceUID>1</ResourceUID></Assignment>"
      "</Assignments></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "mornings.xml");
  Schedule(*pj);
  EXPECT_EQ(Span(*pj, "Meets"), "Mon 01/03/04 08:00 - Fri 05/03/04 12:00");
  EXPECT_EQ(Span(*pj, "Ignores"), "Mon 01/03/04 08:00 - Thu 04/03/04 12:00");
}

TEST_F(ResourceScheduling, LevellingDelaysPutTasksOffAndTheirSuccessorsWithThem) {
  // Given two tasks after a one-day task that ends on Thursday 4 March 2004, one put off by two
  // days of the clock and one by two working days, expect the first to start on Monday (Sunday
  // rolled on) and the second on Tuesday, with the second's successor after it.
  const auto task = [](int uid, const std::string& rest) {
    return "<Task><UID>" + std::to_string(uid) + "</UID><ID>" + std::to_string(uid) +
           "</ID><Name>T" + std::to_string(uid) +
           "</Name><OutlineLevel>1</OutlineLevel><Start>2004-03-04T08:00:00</Start>"
           "<Finish>2004-03-04T17:00:00</Finish><Duration>PT8H0M0S</Duration>" +
           rest + "</Task>";
  };
  const auto after = [](int uid) {
    return "<PredecessorLink><PredecessorUID>" + std::to_string(uid) +
           "</PredecessorUID><Type>1</Type></PredecessorLink>";
  };
  const std::string text =
      "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-04T08:00:00</StartDate><Tasks>" +
      task(1, "") +
      task(2, "<LevelingDelay>28800</LevelingDelay><LevelingDelayFormat>8</LevelingDelayFormat>" +
                  after(1)) +
      task(3, "<LevelingDelay>9600</LevelingDelay><LevelingDelayFormat>7</LevelingDelayFormat>" +
                  after(1)) +
      task(4, after(3)) + "</Tasks></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "levelled.xml");
  Schedule(*pj);
  EXPECT_EQ(Span(*pj, "T1"), "Thu 04/03/04 08:00 - Thu 04/03/04 17:00");
  EXPECT_EQ(Span(*pj, "T2"), "Mon 08/03/04 08:00 - Mon 08/03/04 17:00");
  EXPECT_EQ(Span(*pj, "T3"), "Tue 09/03/04 08:00 - Tue 09/03/04 17:00");
  EXPECT_EQ(Span(*pj, "T4"), "Wed 10/03/04 08:00 - Wed 10/03/04 17:00");
}

TEST_F(ResourceScheduling, CalendarsThatBuildOnThemselvesCountAsTheProjects) {
  // Given a resource's calendar that builds on a calendar building on it, and a task on a calendar
  // UID no calendar has, expect the file to open and both tasks to work on the project's calendar.
  const auto calendar = [](int uid, int base) {
    return "<Calendar><UID>" + std::to_string(uid) + "</UID><IsBaseCalendar>0</IsBaseCalendar>" +
           "<BaseCalendarUID>" + std::to_string(base) + "</BaseCalendarUID></Calendar>";
  };
  const std::string text =
      "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-01T08:00:00</StartDate><Calendars>" +
      calendar(2, 3) + calendar(3, 2) +
      "</Calendars><Tasks>"
      "<Task><UID>1</UID><Name>Looped</Name><Duration>PT16H0M0S</Duration></Task>"
      "<Task><UID>2</UID><Name>Unknown</Name><Duration>PT8H0M0S</Duration>"
      "<CalendarUID>77</CalendarUID></Task></Tasks>"
      "<Resources><Resource><UID>1</UID><CalendarUID>2</CalendarUID></Resource></Resources>"
      "<Assignments><Assignment><TaskUID>1</TaskUID><ResourceUID>1</ResourceUID></Assignment>"
      "</Assignments></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "looped.xml");
  Schedule(*pj);
  EXPECT_EQ(Span(*pj, "Looped"), "Mon 01/03/04 08:00 - Tue 02/03/04 17:00");
  EXPECT_EQ(Span(*pj, "Unknown"), "Mon 01/03/04 08:00 - Mon 01/03/04 17:00");
}

TEST_F(ResourceScheduling, ScheduledFromItsFinishANightWorkerEndsOnItsLastNight) {
  // Given a project to finish on Friday 5 March 2004 at 17:00 with an 8-hour task of a night
  // worker and one on the project's calendar, expect the night task to end when the night shift
  // last works (Friday 08:00) and to start the night before, the other to fill the Friday.
  std::string nights =
      "<WeekDay><DayType>2</DayType><DayWorking>1</DayWorking><WorkingTimes>"
      "<WorkingTime><FromTime>23:00:00</FromTime><ToTime>00:00:00</ToTime>"
      "</WorkingTime></WorkingTimes></WeekDay>";
  for (int day = 3; day <= 6; ++day) {
    nights += "<WeekDay><DayType>" + std::to_string(day) +
              "</DayType><DayWorking>1</DayWorking><WorkingTimes>"
              "<WorkingTime><FromTime>00:00:00</FromTime><ToTime>03:00:00</ToTime></WorkingTime>"
              "<WorkingTime><FromTime>04:00:00</FromTime><ToTime>08:00:00</ToTime></WorkingTime>"
              "<WorkingTime><FromTime>23:00:00</FromTime><ToTime>00:00:00</ToTime></WorkingTime>"
              "</WorkingTimes></WeekDay>";
  }
  const std::string text =
      "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<ScheduleFromStart>0</ScheduleFromStart><StartDate>2004-03-01T08:00:00</StartDate>"
      "<FinishDate>2004-03-05T17:00:00</FinishDate><Calendars><Calendar><UID>2</UID>"
      "<Name>Night Shift</Name><IsBaseCalendar>1</IsBaseCalendar><WeekDays>" +
      nights +
      "</WeekDays></Calendar></Calendars><Tasks>"
      "<Task><UID>1</UID><Name>Night</Name><Duration>PT8H0M0S</Duration></Task>"
      "<Task><UID>2</UID><Name>Day</Name><Duration>PT8H0M0S</Duration></Task></Tasks>"
      "<Resources><Resource><UID>1</UID><CalendarUID>2</CalendarUID></Resource></Resources>"
      "<Assignments><Assignment><TaskUID>1</TaskUID><ResourceUID>1</ResourceUID></Assignment>"
      "</Assignments></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "nights.xml");
  Schedule(*pj);
  EXPECT_EQ(Span(*pj, "Night"), "Thu 04/03/04 23:00 - Fri 05/03/04 08:00");
  EXPECT_EQ(Span(*pj, "Day"), "Fri 05/03/04 08:00 - Fri 05/03/04 17:00");
}

}  // namespace
}  // namespace lunavant::workbench

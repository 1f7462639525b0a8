// SPDX-License-Identifier: MIT
#include "workbench/schedule/scheduler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/files/project_file.h"
#include "workbench/model/field_catalog.h"

namespace lunavant::workbench {
namespace {

using test_support::ErrorOf;
using test_support::RecordingSink;
using Strings = std::vector<std::string>;

class SchedulerTest : public test_support::WorkbenchTest {
 protected:
  // "Start - Finish" of the task with `id` of the active project.
  std::string Span(std::int32_t id) {
    Task& task = TaskWithId(id);
    return task.GetField(field::kStart) + " - " + task.GetField(field::kFinish);
  }
};

// Given finish-to-start links, one with a lag, over a Monday-to-Friday week, expect the weekend
// skipped. Projects here start on Monday 1 March 2004.
TEST_F(SchedulerTest, FinishToStartSkipsTheWeekend) {
  Plan()
      .AddTask("A", 3)
      .AddTask("B", 4)
      .AddTask("C", 1)
      .Link(1, 2)
      .Link(2, 3, LinkType::kFinishToStart, 1)
      .Build();
  EXPECT_EQ(Span(1), "Mon 01/03/04 - Wed 03/03/04");
  EXPECT_EQ(Span(2), "Thu 04/03/04 - Tue 09/03/04");
  EXPECT_EQ(Span(3), "Thu 11/03/04 - Thu 11/03/04");
}

// Given a Sunday-to-Thursday week, expect Friday and Saturday skipped, and a start typed on a
// Friday rolled on to the Sunday.
TEST_F(SchedulerTest, SundayToThursdayWeek) {
  Plan()
      .WorkingWeek(WorkWeek::SundayToThursday())
      .AddTask("A", 3)
      .AddTask("B", 3)
      .AddTask("C", 1)
      .Link(1, 2)
      .Build();
  EXPECT_EQ(Span(1), "Mon 01/03/04 - Wed 03/03/04");
  EXPECT_EQ(Span(2), "Thu 04/03/04 - Mon 08/03/04");
  TaskWithId(3).SetField(field::kStart, "Fri 05/03/04");
  app_.CalculateProject();
  EXPECT_EQ(Span(3), "Sun 07/03/04 - Sun 07/03/04");
}

// Given start-to-start, finish-to-finish and start-to-finish links with lags and a lead, expect
// each successor placed by the right end of its predecessor.
TEST_F(SchedulerTest, LinkTypesWithLags) {
  Plan()
      .AddTask("A", 5)
      .AddTask("SS+2", 2)
      .AddTask("FF+1", 2)
      .AddTask("SF+3", 1)
      .AddTask("FS-2", 1)
      .Link(1, 2, LinkType::kStartToStart, 2)
      .Link(1, 3, LinkType::kFinishToFinish, 1)
      .Link(1, 4, LinkType::kStartToFinish, 3)
      .Link(1, 5, LinkType::kFinishToStart, -2)
      .Build();
  EXPECT_EQ(Span(1), "Mon 01/03/04 - Fri 05/03/04");
  EXPECT_EQ(Span(2), "Wed 03/03/04 - Thu 04/03/04");
  EXPECT_EQ(Span(3), "Fri 05/03/04 - Mon 08/03/04");
  EXPECT_EQ(Span(4), "Wed 03/03/04 - Wed 03/03/04");
  EXPECT_EQ(Span(5), "Thu 04/03/04 - Thu 04/03/04");
  EXPECT_EQ(TaskWithId(1).Successors(), "2SS+2d;3FF+1d;4SF+3d;5FS-2d");
}

// Given an edit of a task's Start, expect its successors to stay until the recalculation and
// move with it then.
TEST_F(SchedulerTest, MovesSuccessorsAfterStartEdit) {
  Plan().AddTask("A", 2).AddTask("B", 2).AddTask("C", 1).Link(1, 2).Link(2, 3).Build();
  TaskWithId(1).SetField(field::kStart, "Wed 10/03/04");
  EXPECT_EQ(Span(1), "Wed 10/03/04 - Thu 11/03/04");
  EXPECT_EQ(Span(2), "Wed 03/03/04 - Thu 04/03/04");
  app_.CalculateProject();
  EXPECT_EQ(Span(2), "Fri 12/03/04 - Mon 15/03/04");
  EXPECT_EQ(Span(3), "Tue 16/03/04 - Tue 16/03/04");

  // Note: a start typed before the project start holds there, as the desktop scheduler keeps a
  // task whose Start No Earlier Than date precedes the project's; its successor, with no
  // constraint, still waits for the project start.
  TaskWithId(1).SetField(field::kStart, "Wed 25/02/04");
  app_.CalculateProject();
  EXPECT_EQ(Span(1), "Wed 25/02/04 - Thu 26/02/04");
  EXPECT_EQ(Span(2), "Mon 01/03/04 - Tue 02/03/04");
}

// Given a user's edit with automatic calculation, expect the recalculation and its event to
// follow at once.
TEST_F(SchedulerTest, UserEditRecalculates) {
  RecordingSink sink;
  Plan().AddTask("A", 2).AddTask("B", 2).Link(1, 2).Build();
  app_.AddEventSink(sink);
  app_.UserEdit(TaskWithId(1), field::kDuration, "4");
  EXPECT_EQ(sink.log,
            (Strings{"ProjectBeforeTaskChange(1, Duration, 4)", "ProjectCalculate(Plan)"}));
  EXPECT_EQ(Span(2), "Fri 05/03/04 - Mon 08/03/04");
  app_.RemoveEventSink(sink);
}

// Given a summary task, expect it to span its subtasks; a link into it holds back its subtasks,
// and a milestone after it shows on the summary's last day.
TEST_F(SchedulerTest, SummaryTasksSpanTheirSubtasks) {
  Project& pj = Plan()
                    .AddTask("Prep", 2)
                    .AddTask("Phase", 1)
                    .AddTask("Dig", 2, 2)
                    .AddTask("Pour", 3, 2)
                    .AddTask("Handover", 0)
                    .Link(1, 2)
                    .Link(3, 4)
                    .Link(2, 5)
                    .Build();
  EXPECT_EQ(Span(3), "Wed 03/03/04 - Thu 04/03/04");
  EXPECT_EQ(Span(4), "Fri 05/03/04 - Tue 09/03/04");
  EXPECT_EQ(Span(2), "Wed 03/03/04 - Tue 09/03/04");
  EXPECT_EQ(TaskWithId(2).GetField(field::kDuration), "5 days");
  EXPECT_EQ(TaskWithId(5).GetField(field::kMilestone), "Yes");
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  EXPECT_EQ(Span(5), "Tue 09/03/04 17:00 - Tue 09/03/04 17:00");
  EXPECT_EQ(pj.SummaryTask().GetField(field::kFinish), "Tue 09/03/04 17:00");
  EXPECT_EQ(pj.SummaryTask().GetField(field::kDuration), "7 days");
}

// Given a task with room to spare, expect late dates, slack and criticality from the backward
// pass.
TEST_F(SchedulerTest, LateDatesAndSlack) {
  Plan().AddTask("A", 3).AddTask("B", 1).AddTask("C", 1).Link(1, 3).Link(2, 3).Build();
  Task& b = TaskWithId(2);
  EXPECT_EQ(b.GetField(field::kEarlyStart), "Mon 01/03/04");
  EXPECT_EQ(b.GetField(field::kLateStart), "Wed 03/03/04");
  EXPECT_EQ(b.GetField(field::kLateFinish), "Wed 03/03/04");
  EXPECT_EQ(b.GetField(field::kTotalSlack), "2 days");
  EXPECT_EQ(b.GetField(field::kFreeSlack), "2 days");
  EXPECT_EQ(b.GetField(field::kCritical), "No");
  EXPECT_EQ(TaskWithId(1).GetField(field::kCritical), "Yes");
  EXPECT_EQ(TaskWithId(3).GetField(field::kLateStart), "Thu 04/03/04");
}

// Given a task with an actual start, expect it to stay put when its predecessor moves.
TEST_F(SchedulerTest, ActualStartIsKept) {
  Plan()
      .AddTask("A", 2)
      .AddTask("B", 2)
      .Link(1, 2)
      .Field(2, field::kActualStart, "02/03/04")
      .Build();
  TaskWithId(1).SetField(field::kStart, "Mon 08/03/04");
  app_.CalculateProject();
  EXPECT_EQ(Span(2), "Tue 02/03/04 - Wed 03/03/04");
}

// Given holidays on working days and a worked Friday, expect work to skip the holidays and use
// the Friday, and a calendar without exceptions to count as before.
TEST_F(SchedulerTest, CalendarExceptionsMoveWork) {
  workbench::Project& pj = Plan().AddTask("A", 4).AddTask("B", 2).Link(1, 2).Build();
  ProjectCalendar calendar = pj.Calendar();
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 2)), false);  // Tuesday
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 3)), false);  // Wednesday
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 6)), true);   // Saturday
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 9)), true);   // a Tuesday: no exception
  EXPECT_EQ(calendar.ExceptionDays().size(), 3u);
  pj.SetCalendar(calendar);
  app_.CalculateProject();
  EXPECT_EQ(Span(1), "Mon 01/03/04 - Sat 06/03/04");
  EXPECT_EQ(Span(2), "Mon 08/03/04 - Tue 09/03/04");
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 2)), true);
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 3)), true);
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 6)), false);
  EXPECT_TRUE(calendar.ExceptionDays().empty());
  pj.SetCalendar(calendar);
  app_.CalculateProject();
  EXPECT_EQ(Span(2), "Fri 05/03/04 - Mon 08/03/04");
}

// Given a holiday on Friday and a Saturday worked from 09:00 to 11:00 only, expect working time
// to run from Thursday's close into the Saturday's two hours and on to Monday, both ways.
TEST(ProjectCalendarTest, ExceptionHoursCountToTheMinute) {
  ProjectCalendar calendar;
  calendar.SetDayWorking(DayOf(MomentOf(2004, 3, 5)), false);
  calendar.SetDayHours(DayOf(MomentOf(2004, 3, 6)), {{9 * 60, 11 * 60}});
  const std::int64_t thursday_close = calendar.WorkAt(MomentOf(2004, 3, 4, 17));
  EXPECT_EQ(calendar.WorkAt(MomentOf(2004, 3, 5, 10)), thursday_close);
  EXPECT_EQ(calendar.WorkAt(MomentOf(2004, 3, 6, 10)), thursday_close + 60);
  EXPECT_EQ(calendar.WorkAt(MomentOf(2004, 3, 8, 9)), thursday_close + 180);
  EXPECT_EQ(calendar.StartOf(thursday_close), MomentOf(2004, 3, 6, 9));
  EXPECT_EQ(calendar.FinishOf(thursday_close + 120), MomentOf(2004, 3, 6, 11));
  EXPECT_EQ(calendar.StartOf(thursday_close + 120), MomentOf(2004, 3, 8, 8));
  EXPECT_EQ(calendar.FinishOf(thursday_close + 120 + 480), MomentOf(2004, 3, 8, 17));
  EXPECT_EQ(calendar.ExceptionDays().size(), 2u);
  // Set back to what its weekday says, a day is no exception; spans out of order are refused.
  calendar.SetDayHours(DayOf(MomentOf(2004, 3, 5)), calendar.WeekdayHours(5));
  EXPECT_EQ(calendar.ExceptionDays().size(), 1u);
  EXPECT_EQ(ErrorOf([&] {
              calendar.SetDayHours(0, {{600, 700}, {650, 800}});
            }).number,
            host::kHostFailure);
}

// Given an As Late As Possible task before a successor that waits for a longer one, expect it to
// finish just before the successor starts, and a start-to-finish link without lag to end its
// successor at the predecessor's start.
TEST_F(SchedulerTest, AsLateAsPossibleAndStartToFinish) {
  Plan()
      .AddTask("Long", 5)
      .AddTask("Late", 2)
      .AddTask("Join", 1)
      .AddTask("Before join", 1)
      .Link(1, 3)
      .Link(2, 3)
      .Link(3, 4, LinkType::kStartToFinish)
      .Field(2, field::kConstraintType, "As Late As Possible")
      .Build();
  EXPECT_EQ(Span(2), "Thu 04/03/04 - Fri 05/03/04");
  EXPECT_EQ(TaskWithId(2).GetField(field::kFreeSlack), "0 days");
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  EXPECT_EQ(TaskWithId(4).GetField(field::kFinish), "Mon 08/03/04 08:00");
  EXPECT_EQ(TaskWithId(4).GetField(field::kStart), "Fri 05/03/04 08:00");
}

// Given a project scheduled back from Friday 12 March, expect its chain to end that day and each
// task to run as late as it can; a task off the chain also finishes with the project.
TEST_F(SchedulerTest, ScheduledFromTheFinish) {
  workbench::Project& pj =
      Plan().AddTask("A", 2).AddTask("B", 3).AddTask("Alone", 1).Link(1, 2).Build();
  pj.SetScheduleFromFinish(MomentOf(2004, 3, 12, 17, 0));
  app_.CalculateProject();
  EXPECT_EQ(Span(1), "Mon 08/03/04 - Tue 09/03/04");
  EXPECT_EQ(Span(2), "Wed 10/03/04 - Fri 12/03/04");
  EXPECT_EQ(Span(3), "Fri 12/03/04 - Fri 12/03/04");
  EXPECT_EQ(pj.SummaryTask().GetField(field::kStart), "Mon 08/03/04");
  pj.SetScheduleFromStart();
  app_.CalculateProject();
  EXPECT_EQ(Span(1), "Mon 01/03/04 - Tue 02/03/04");
}

// Given links that form a cycle (also through a summary and its own subtask), expect a whole
// message, no event and no date changed.
TEST_F(SchedulerTest, CycleFailsAndChangesNothing) {
  Project& pj =
      Plan().AddTask("A", 1).AddTask("B", 2).AddTask("C", 1).Link(1, 2).Link(2, 3).Build();
  RecordingSink sink;
  app_.AddEventSink(sink);
  TaskWithId(1).SetField(field::kDuration, "5");
  pj.AddLink(TaskWithId(3), TaskWithId(2));
  sink.log.clear();
  EXPECT_EQ(ErrorOf([&] { app_.CalculateProject(); }),
            (host::ErrorRecord{host::kHostFailure,
                               "Task 2 is part of a circular chain of links and outline; the "
                               "project was not rescheduled."}));
  EXPECT_TRUE(sink.log.empty());
  EXPECT_EQ(Span(2), "Tue 02/03/04 - Wed 03/03/04");
  app_.RemoveEventSink(sink);

  Plan("Nested").AddTask("Phase").AddTask("Dig", 1, 2).Build();
  TaskWithId(2).SetField(field::kPredecessors, "1");
  EXPECT_EQ(ErrorOf([&] { app_.CalculateProject(); }).description,
            "Task 1 is part of a circular chain of links and outline; the project was not "
            "rescheduled.");
}

// Given a file whose calendar has a short Friday (08:00 to 12:00), tasks of part days, an
// elapsed duration over a weekend, and lags on the clock and as a share of the predecessor's
// duration, expect each date to the minute, as the desktop scheduler places them.
TEST_F(SchedulerTest, PartDaysElapsedTimeAndShortDaysCountToTheMinute) {
  const std::string hours =
      "<WorkingTimes><WorkingTime><FromTime>08:00:00</FromTime><ToTime>12:00:00</ToTime>"
      "</WorkingTime><WorkingTime><FromTime>13:00:00</FromTime><ToTime>17:00:00</ToTime>"
      "</WorkingTime></WorkingTimes>";
  const std::string morning =
      "<WorkingTimes><WorkingTime><FromTime>08:00:00</FromTime><ToTime>12:00:00</ToTime>"
      "</WorkingTime></WorkingTimes>";
  std::string week;
  for (int day = 1; day <= 7; ++day) {
    const bool working = day >= 2 && day <= 6;
    week += "<WeekDay><DayType>" + std::to_string(day) + "</DayType><DayWorking>" +
            (working ? "1" : "0") + "</DayWorking>" +
            (working ? (day == 6 ? morning : hours) : "") + "</WeekDay>";
  }
  const auto task = [](int uid, const char* duration, int format, const std::string& more) {
    const std::string id = std::to_string(uid);
    return "<Task><UID>" + id + "</UID><ID>" + id + "</ID><Name>T" + id +
           "</Name><OutlineLevel>1</OutlineLevel><Duration>" + duration +
           "</Duration><DurationFormat>" + std::to_string(format) + "</DurationFormat>" + more +
           "</Task>";
  };
  const auto link = [](int predecessor, int type, long lag_tenths, int format) {
    return "<PredecessorLink><PredecessorUID>" + std::to_string(predecessor) +
           "</PredecessorUID><Type>" + std::to_string(type) + "</Type><LinkLag>" +
           std::to_string(lag_tenths) + "</LinkLag><LagFormat>" + std::to_string(format) +
           "</LagFormat></PredecessorLink>";
  };
  const std::string text =
      "<Project xmlns=\"http://schemas.microsoft.com/project\"><StartDate>2004-03-01T08:00:00"
      "</StartDate><MinutesPerDay>480</MinutesPerDay><CalendarUID>1</CalendarUID><Calendars>"
      "<Calendar><UID>1</UID><WeekDays>" +
      week + "</WeekDays></Calendar></Calendars><Tasks>" +
      task(1, "PT4H0M0S", 5, "") +                 // half a day
      task(2, "PT7H30M0S", 5, link(1, 1, 0, 7)) +  // after the lunch hour
      task(3, "PT48H0M0S", 8,                      // two days on the clock from Friday
           "<ConstraintType>4</ConstraintType><ConstraintDate>2004-03-05T08:00:00"
           "</ConstraintDate>") +
      task(4, "PT1H0M0S", 5, link(3, 1, 4800, 7)) +    // a working day after Sunday 08:00
      task(5, "PT8H0M0S", 7, link(1, 1, 28800, 8)) +   // two days on the clock after T1
      task(6, "PT1H0M0S", 5, link(2, 3, 50, 19)) +     // half of T2's duration after its start
      task(7, "PT0H0M0S", 7, link(2, 1, 0, 7)) +       // a milestone at T2's finish
      task(8, "PT12H0M0S", 7, link(3, 0, -1200, 7)) +  // finishing two hours before T3
      task(9, "PT1H0M0S", 5, link(3, 1, 28800, 8)) +   // two days on the clock after Sunday
      "</Tasks></Project>";
  Project& pj = app_.AdoptOpenedProject(ReadProjectText(app_, text, "minutes.xml"));
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  Schedule(pj);
  auto span = [&](int id) {
    return pj.TaskAt(id)->GetField(field::kStart) + " - " + pj.TaskAt(id)->GetField(field::kFinish);
  };
  EXPECT_EQ(span(1), "Mon 01/03/04 08:00 - Mon 01/03/04 12:00");
  EXPECT_EQ(span(2), "Mon 01/03/04 13:00 - Tue 02/03/04 11:30");
  EXPECT_EQ(span(3), "Fri 05/03/04 08:00 - Sun 07/03/04 08:00");
  EXPECT_EQ(span(4), "Tue 09/03/04 08:00 - Tue 09/03/04 09:00");
  EXPECT_EQ(span(5), "Wed 03/03/04 13:00 - Thu 04/03/04 12:00");
  EXPECT_EQ(span(6), "Mon 01/03/04 16:45 - Tue 02/03/04 08:45");
  EXPECT_EQ(span(7), "Tue 02/03/04 11:30 - Tue 02/03/04 11:30");
  // Note: two hours of Friday, the whole Thursday and two hours of Wednesday make up T8's twelve.
  EXPECT_EQ(span(8), "Wed 03/03/04 15:00 - Fri 05/03/04 10:00");
  EXPECT_EQ(span(9), "Tue 09/03/04 08:00 - Tue 09/03/04 09:00");
  EXPECT_EQ(pj.TaskAt(2)->GetField(field::kDuration), "0.94 days");
  EXPECT_EQ(pj.TaskAt(3)->GetField(field::kDuration), "2 edays");
  EXPECT_EQ(pj.TaskAt(5)->GetField(field::kPredecessors), "1FS+2ed");
  EXPECT_EQ(pj.TaskAt(6)->GetField(field::kPredecessors), "2SS+50%");
  EXPECT_EQ(pj.TaskAt(8)->GetField(field::kPredecessors), "3FF-0.25d");

  // Saved and read back, the links keep their kind of lag and the schedule stays to the minute.
  pj.TaskAt(4)->SetField(field::kPredecessors, "3FS+1d");
  std::unique_ptr<Project> again = ReadProjectText(app_, ProjectFileText(pj), "again.xml");
  Schedule(*again);
  for (int id = 1; id <= 9; ++id) {
    SCOPED_TRACE(id);
    EXPECT_EQ(again->TaskAt(id)->GetField(field::kPredecessors),
              pj.TaskAt(id)->GetField(field::kPredecessors));
    EXPECT_EQ(again->TaskAt(id)->Start(), pj.TaskAt(id)->Start());
    EXPECT_EQ(again->TaskAt(id)->Finish(), pj.TaskAt(id)->Finish());
  }

  // A typed duration counts working days: the short Friday and Monday's morning make one.
  pj.TaskAt(3)->SetField(field::kDuration, "1");
  EXPECT_EQ(pj.TaskAt(3)->GetField(field::kDuration), "1 day");
  EXPECT_EQ(span(3), "Fri 05/03/04 08:00 - Mon 08/03/04 12:00");
}

// Given a milestone a file dates on a Saturday morning where its constraint puts it, expect a
// recalculation to keep it there, and a predecessor that pushes it past the weekend to move it
// to where work resumes.
TEST_F(SchedulerTest, AMilestoneOnNonWorkingTimeStaysUntilItIsDrivenElsewhere) {
  const std::string text =
      "<?xml version=\"1.0\"?><Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-01T08:00:00</StartDate><Tasks>"
      "<Task><UID>1</UID><Name>A</Name><Start>2004-03-01T08:00:00</Start>"
      "<Finish>2004-03-01T17:00:00</Finish><Duration>PT8H0M0S</Duration></Task>"
      "<Task><UID>2</UID><Name>Inspection</Name><Start>2004-03-06T10:00:00</Start>"
      "<Finish>2004-03-06T10:00:00</Finish><Duration>PT0H0M0S</Duration>"
      "<ConstraintType>4</ConstraintType><ConstraintDate>2004-03-06T10:00:00</ConstraintDate>"
      "<PredecessorLink><PredecessorUID>1</PredecessorUID><Type>1</Type></PredecessorLink>"
      "</Task></Tasks></Project>";
  Project& pj = app_.AdoptOpenedProject(ReadProjectText(app_, text, "weekend.xml"));
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  app_.CalculateProject();
  EXPECT_EQ(Span(2), "Sat 06/03/04 10:00 - Sat 06/03/04 10:00");
  pj.TaskAt(1)->SetField(field::kDuration, "6");
  app_.CalculateProject();
  EXPECT_EQ(Span(2), "Mon 08/03/04 17:00 - Mon 08/03/04 17:00");
}

// Given a schedule that would run past 31 December 2149, expect a refusal that changes nothing.
TEST_F(SchedulerTest, ScheduleBeyondTheHostsRangeFails) {
  Plan().StartingOn(2149, 12, 1).AddTask("A", 5).AddTask("B", 5).Build();
  TaskWithId(2).SetField(field::kPredecessors, "1FS+30d");
  EXPECT_EQ(ErrorOf([&] { app_.CalculateProject(); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The schedule would end after 31 December 2149; the project was "
                               "not rescheduled."}));
  EXPECT_EQ(Span(2), "Mon 01/12/2149 - Fri 05/12/2149");
}

}  // namespace
}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
// Holiday sets applied to the bundled sample with the add-in connected: named exceptions in the
// calendar, work moved off them by the next recalculation, nothing added a second time, and the
// holidays kept by a saved file.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "addin/events/ms_proj_events.h"
#include "tests/support/addin_fixture.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/files/project_file.h"
#include "workbench/holidays/holiday_dates.h"
#include "workbench/model/edit_history.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant {
namespace {

namespace fs = std::filesystem;
using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture
using workbench::DayOf;
using workbench::DaysFromCivil;
using workbench::PlannedHoliday;

constexpr std::int32_t kStaffMove = 54;

class Holidays : public AddinTest {
 protected:
  Holidays() : hijri_(app_.Libraries()) {
    PinRegionalSettings(kPinnedShortDatePattern, kPinnedDateSeparator);
    add_in_ = std::make_unique<events::MSProjEvents>();
    add_in_->Bind(app_, nullptr);
  }
  ~Holidays() override { add_in_.reset(); }

  workbench::Task& Row(workbench::Project& pj, std::int32_t id) {
    return *static_cast<workbench::Task*>(pj.TaskAt(id));
  }
  std::vector<workbench::DatedHoliday> Saudi(std::int32_t first, std::int32_t last) {
    return workbench::DateHolidays(workbench::LoadHolidaySet("sa"), first, last, hijri_);
  }

  workbench::ConverterHijriCalendar hijri_;
  std::unique_ptr<events::MSProjEvents> add_in_;
};

TEST_F(Holidays, SaudiSetMovesAStaffMoveOffEidAndAddsNothingTheSecondTime) {
  // Given the sample's staff move put just before Eid al-Fitr 1448, expect the Saudi set for
  // 1447-1449 to add each holiday by name, keep the sample's own exceptions, push the move's
  // finish on by the working days Eid takes from it, and add nothing when applied again.
  workbench::Project& pj = workbench::OpenBundledSample(app_);
  workbench::Task& move = Row(pj, kStaffMove);
  move.SetField(workbench::field::kConstraintDate, "07/03/2027");
  app_.CalculateProject();
  const std::int64_t start = DayOf(move.Start());
  const std::int64_t old_finish = DayOf(move.Finish());
  const std::string old_hijri_finish = move.GetField(kText2);
  const workbench::ProjectCalendar before = pj.Calendar();
  const std::vector<workbench::CalendarException> own = workbench::CalendarExceptionsOf(pj);
  ASSERT_FALSE(own.empty());

  const workbench::HolidayPlan plan = workbench::PlanHolidays(pj, Saudi(1447, 1449));
  EXPECT_EQ(plan.calendar, "Standard");
  ASSERT_EQ(plan.holidays.size(), 12u);
  // The sample already keeps 18, 19 and 22 March 2026 off: Eid al-Fitr 1447 takes what is left.
  const PlannedHoliday& fitr_1447 = plan.holidays[2];
  EXPECT_EQ(fitr_1447.holiday.name, "Eid al-Fitr 1447");
  EXPECT_EQ(fitr_1447.status, PlannedHoliday::Status::kAdd);
  EXPECT_EQ(fitr_1447.spans, (std::vector<std::pair<std::int64_t, std::int64_t>>{
                                 {DaysFromCivil(2026, 3, 20), DaysFromCivil(2026, 3, 21)}}));
  // National Day 2025 is one of the sample's own exceptions already.
  EXPECT_EQ(plan.holidays[0].holiday.name, "National Day 2025");
  EXPECT_EQ(plan.holidays[0].status, PlannedHoliday::Status::kCovered);

  workbench::ApplyHolidayPlan(pj, plan);
  app_.CalculateProject();
  EXPECT_FALSE(pj.Saved());

  // The working days the holidays took from the move's old span, and where that many more
  // working days after its old finish fall.
  std::int64_t taken = 0;
  for (std::int64_t d = start; d <= old_finish; ++d) {
    taken += before.IsWorkingDay(d) && !pj.Calendar().IsWorkingDay(d);
  }
  EXPECT_EQ(taken, 3);  // Tuesday to Thursday, 9 to 11 March 2027
  std::int64_t expected_finish = old_finish;
  for (std::int64_t left = taken; left > 0;) {
    if (pj.Calendar().IsWorkingDay(++expected_finish)) --left;
  }
  EXPECT_EQ(DayOf(move.Finish()), expected_finish);
  EXPECT_EQ(DayOf(move.Finish()), DaysFromCivil(2027, 3, 16));
  EXPECT_NE(move.GetField(kText2), old_hijri_finish);  // the add-in followed the new finish

  // The calendar's own exceptions are all still there, and the holidays have their names.
  const std::vector<workbench::CalendarException> after = workbench::CalendarExceptionsOf(pj);
  for (const workbench::CalendarException& e : own) {
    EXPECT_TRUE(std::any_of(after.begin(), after.end(), [&e](const auto& a) {
      return a.name.empty() && a.first_day == e.first_day && a.last_day == e.last_day;
    }));
  }
  EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](const auto& a) {
    return a.name == "Eid al-Fitr 1448" && a.first_day == DaysFromCivil(2027, 3, 9) &&
           a.last_day == DaysFromCivil(2027, 3, 12) && !a.working;
  }));

  const std::string text = workbench::ProjectFileText(pj);
  const workbench::HolidayPlan again = workbench::PlanHolidays(pj, Saudi(1447, 1449));
  EXPECT_EQ(again.AddedCount(), 0u);
  for (const PlannedHoliday& h : again.holidays) {
    EXPECT_NE(h.status, PlannedHoliday::Status::kAdd) << h.holiday.name;
  }
  workbench::ApplyHolidayPlan(pj, again);
  EXPECT_EQ(workbench::ProjectFileText(pj), text);
}

TEST_F(Holidays, HolidaysAddedInOneStepComeOffWithUndoAndBackWithRedo) {
  // Given the Saudi holidays of 1447-1449 added to the sample and the project recalculated as one
  // undo step, expect Undo to give back the calendar, the exceptions of the file's document and
  // every date and Hijri text as they were, and Redo all of it as it was after.
  workbench::Project& pj = workbench::OpenBundledSample(app_);
  workbench::Task& move = Row(pj, kStaffMove);
  move.SetField(workbench::field::kConstraintDate, "07/03/2027");
  app_.CalculateProject();
  const workbench::ProjectCalendar calendar_before = pj.Calendar();
  const std::string text_before = workbench::ProjectFileText(pj);
  const std::string finish_before = move.GetField(kText2);

  const std::size_t to_add = workbench::PlanHolidays(pj, Saudi(1447, 1449)).AddedCount();
  ASSERT_GT(to_add, 0u);
  workbench::EditHistory history(pj);
  history.Record("Holidays", [&] {
    workbench::ApplyHolidayPlan(pj, workbench::PlanHolidays(pj, Saudi(1447, 1449)));
    app_.CalculateProject();
  });
  const workbench::ProjectCalendar calendar_after = pj.Calendar();
  const std::string text_after = workbench::ProjectFileText(pj);
  ASSERT_NE(move.GetField(kText2), finish_before);
  ASSERT_NE(text_after.find("Eid al-Fitr 1448"), std::string::npos);

  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(pj.Calendar(), calendar_before);
  EXPECT_EQ(workbench::ProjectFileText(pj), text_before);
  EXPECT_EQ(move.GetField(kText2), finish_before);
  EXPECT_EQ(workbench::PlanHolidays(pj, Saudi(1447, 1449)).AddedCount(), to_add);

  ASSERT_TRUE(history.Redo());
  EXPECT_EQ(pj.Calendar(), calendar_after);
  EXPECT_EQ(workbench::ProjectFileText(pj), text_after);
  EXPECT_EQ(workbench::PlanHolidays(pj, Saudi(1447, 1449)).AddedCount(), 0u);
}

TEST_F(Holidays, SavedHolidaysReadBackWithTheirNamesAndTheSameSchedule) {
  // Given the sample with the Saudi holidays of 1448 saved to a file, expect the file read back to
  // hold the same named exceptions, the same working time and the same dates.
  std::string pattern = (fs::temp_directory_path() / "lunavant-holidays-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  const fs::path file = folder / "plan.xml";
  workbench::Project& pj = workbench::OpenBundledSample(app_);
  workbench::ApplyHolidayPlan(pj, workbench::PlanHolidays(pj, Saudi(1448, 1448)));
  app_.CalculateProject();
  workbench::SaveProjectFile(pj, file);
  const std::vector<workbench::CalendarException> saved = workbench::CalendarExceptionsOf(pj);

  workbench::Project& back = workbench::OpenProjectFile(app_, file);
  EXPECT_EQ(back.Calendar(), pj.Calendar());
  const std::vector<workbench::CalendarException> read = workbench::CalendarExceptionsOf(back);
  ASSERT_EQ(read.size(), saved.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].name, saved[i].name);
    EXPECT_EQ(read[i].first_day, saved[i].first_day);
    EXPECT_EQ(read[i].last_day, saved[i].last_day);
  }
  EXPECT_EQ(std::count_if(read.begin(), read.end(),
                          [](const auto& e) { return e.name == "Eid al-Adha 1448"; }),
            1);
  app_.CalculateProject();
  for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
    EXPECT_EQ(Row(back, id).Finish(), Row(pj, id).Finish()) << id;
  }
  fs::remove_all(folder);
}

TEST_F(Holidays, ANewProjectTakesHolidaysAndAnUnknownCalendarIsRefused) {
  // Given a project made in the workbench, expect the holidays in its only calendar, and a
  // calendar it does not have refused with the names it has.
  workbench::Project& pj = ProjectBuilder(app_, "Plan")
                               .StartingOn(2026, 5, 24)
                               .WorkingWeek(workbench::WorkWeek::SundayToThursday())
                               .AddTask("Pour", 5)
                               .Build();
  try {
    workbench::PlanHolidays(pj, Saudi(1447, 1447), "Night shift");
    ADD_FAILURE() << "no error";
  } catch (const workbench::HolidayError& e) {
    EXPECT_EQ(std::string(e.what()),
              "The project has no calendar \"Night shift\" (it has: Standard)");
  }
  workbench::ApplyHolidayPlan(pj, workbench::PlanHolidays(pj, Saudi(1447, 1447), "standard"));
  app_.CalculateProject();
  // Eid al-Adha 1447 is 26 to 29 May 2026: Pour works 24, 25, 31 May, 1 and 2 June.
  EXPECT_EQ(DayOf(Row(pj, 1).Finish()), DaysFromCivil(2026, 6, 2));

  // A year's announcement that came after: the holiday stays where it is, and the plan says so.
  workbench::HolidaySet announced = workbench::LoadHolidaySet("sa");
  announced.rules[1].overrides[1447] = {2026, 5, 25, 5};
  const workbench::HolidayPlan later =
      workbench::PlanHolidays(pj, workbench::DateHolidays(announced, 1447, 1447, hijri_));
  EXPECT_EQ(later.AddedCount(), 0u);
  EXPECT_EQ(workbench::PlannedHolidayText(later.holidays[3], false), "in the calendar already");
  announced.rules[1].overrides[1447] = {2026, 6, 1, 2};
  const workbench::HolidayPlan moved =
      workbench::PlanHolidays(pj, workbench::DateHolidays(announced, 1447, 1447, hijri_));
  ASSERT_EQ(moved.holidays[3].holiday.name, "Eid al-Adha 1447");
  EXPECT_EQ(workbench::PlannedHolidayText(moved.holidays[3], false),
            "in the calendar already, on other days: 2026-05-26 to 2026-05-29 (remove that "
            "exception to date it again)");
}

TEST_F(Holidays, HolidaysOfAResourceCalendarMoveTheTasksOfItsResources) {
  // Given a real file whose night-shift task works on its resource's calendar, expect holidays
  // added to that calendar to push the task's finish on at once, and the project's calendar left
  // as it was.
  workbench::Project& pj = workbench::OpenProjectFile(
      app_, fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples" / "mspditimephased.xml");
  workbench::Task* night = nullptr;
  for (const auto& row : pj.Rows()) {
    if (row && row->Name() == "Task 1 - Night Shift") night = row.get();
  }
  ASSERT_NE(night, nullptr);
  app_.CalculateProject();
  const workbench::Moment start = night->Start();
  const workbench::Moment finish = night->Finish();
  const workbench::ProjectCalendar standard = pj.Calendar();
  const workbench::ProjectCalendar shift = pj.CalendarOf(*night);
  const workbench::Moment shutdown_from = workbench::MomentOf(2008, 11, 24);
  const workbench::Moment shutdown_to = workbench::MomentOf(2008, 11, 27);
  const std::int64_t lost = shift.WorkAt(shutdown_to) - shift.WorkAt(shutdown_from);
  ASSERT_GT(lost, 0);
  ASSERT_LT(start, shutdown_from);
  ASSERT_GT(finish, shutdown_to);
  const workbench::HolidaySet shutdown =
      workbench::ParseHolidaySet("Plant shutdown | gregorian 11-24 | 3 days\n", "plant");
  const workbench::HolidayPlan plan = workbench::PlanHolidays(
      pj, workbench::DateHolidays(shutdown, 1429, 1429, hijri_), "night shift");
  EXPECT_EQ(plan.calendar, "Night Shift");
  ASSERT_EQ(plan.AddedCount(), 1u);
  workbench::ApplyHolidayPlan(pj, plan);
  app_.CalculateProject();
  EXPECT_TRUE(pj.Calendar() == standard);
  // The task ends later by the shift's working time the shutdown took.
  const workbench::ProjectCalendar& now = pj.CalendarOf(*night);
  EXPECT_EQ(now.WorkAt(shutdown_to) - now.WorkAt(shutdown_from), 0);
  EXPECT_EQ(night->Start(), start);
  EXPECT_EQ(now.WorkAt(night->Finish()) - now.WorkAt(finish), lost);
}

}  // namespace
}  // namespace lunavant

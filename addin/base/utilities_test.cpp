// SPDX-License-Identifier: MIT
#include "addin/base/utilities.h"

#include <stdexcept>

#include "addin/base/error_style.h"
#include "addin/pairing/catalogues.h"
#include "tests/support/addin_fixture.h"

namespace lunavant::base {
namespace {

class ErrorBox : public test_support::AddinTest {
 protected:
  test_support::FilledCatalogues catalogues_;
};

TEST_F(ErrorBox, ShowsThreeLinesInAnOkBoxAndClearsTheRecord) {
  host::ErrorRecord record{5, "Invalid procedure call or argument"};
  ShowError(record);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].prompt,
            "Application : Lunavant\r\nError Number : 5\r\nError Description : Invalid procedure "
            "call or argument");
  EXPECT_EQ(Shown()[0].title, "Lunavant");
  EXPECT_EQ(Shown()[0].style, host::MsgBoxStyle::kOkExclamation);
  EXPECT_EQ(record, host::ErrorRecord{});
}

TEST_F(ErrorBox, ShowsANegativeNumberWithItsSignAndAnEmptyDescription) {
  host::ErrorRecord record{-2147221504, ""};
  ShowError(record);
  EXPECT_EQ(Shown().at(0).prompt,
            "Application : Lunavant\r\nError Number : -2147221504\r\nError Description : ");
  EXPECT_FALSE(record.failed());
}

TEST_F(ErrorBox, EachErrorStyleReportsAsItSays) {
  // Given three failing steps, expect the report-at-once style to stop at the first and show it,
  // the last-failure style to run all and show only the last, and the skipping style to show none.
  const auto fail = [](std::int32_t number) {
    return [number] { host::Raise(number, "step " + std::to_string(number)); };
  };
  int steps_run = 0;
  EXPECT_FALSE(ReportAtOnce([&] {
    ++steps_run;
    fail(1)();
    ++steps_run;
  }));
  EXPECT_EQ(steps_run, 1);

  LastFailureReport trap;
  for (std::int32_t number : {2, 3, 4}) EXPECT_FALSE(trap.Step(fail(number)));
  EXPECT_TRUE(trap.Step([&] { ++steps_run; }));
  trap.ReportLast();
  trap.ReportLast();  // nothing left to show

  EXPECT_FALSE(SkipFailure(fail(5)));
  EXPECT_FALSE(SkipFailure([] { throw std::runtime_error("not ours"); }));

  EXPECT_EQ(ShownTexts(),
            (std::vector<std::string>{
                "Application : Lunavant\r\nError Number : 1\r\nError Description : step 1",
                "Application : Lunavant\r\nError Number : 4\r\nError Description : step 4"}));
  EXPECT_EQ(steps_run, 2);
}

TEST_F(ErrorBox, TurnsForeignExceptionsIntoAnInternalError) {
  EXPECT_FALSE(ReportAtOnce([] { throw std::logic_error("broken invariant"); }));
  EXPECT_EQ(Shown().at(0).prompt,
            "Application : Lunavant\r\nError Number : 51\r\nError Description : Internal error: "
            "broken invariant");
}

}  // namespace
}  // namespace lunavant::base

// SPDX-License-Identifier: MIT
#include "workbench/ui/command_bars.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "tests/support/error_of.h"
#include "workbench/ui/messages.h"

namespace lunavant::workbench {
namespace {

std::int32_t CountEnabled(CommandBar& bar) {
  std::int32_t enabled = 0;
  for (std::int32_t i = 1; i <= bar.Count(); ++i) enabled += bar.Item(i).Enabled() ? 1 : 0;
  return enabled;
}

using test_support::ErrorOf;

class Clicks final : public host::CommandBarButtonEvents {
 public:
  void Click(host::CommandBarButton& Ctrl, bool& /*CancelDefault*/) override {
    tags.push_back(Ctrl.Tag());
  }
  std::vector<std::string> tags;
};

TEST(CommandBars, BusyDisablesTheHostsOwnBarsOnly) {
  // Given the host busy, expect every "Standard" and "Database" button shown disabled and an
  // add-in's bar untouched; afterwards each button shows its own state again.
  CommandBars bars;
  CommandBar& standard = *bars.Item("standard");
  CommandBar& database = *bars.Item("Database");
  CommandBar& own = bars.Add("Lunavant", host::kBarTop);
  own.Add(host::kControlButton);
  standard.Item(2).SetEnabled(false);
  EXPECT_EQ(CountEnabled(standard), 9);
  {
    CommandBars::BusyScope busy(bars);
    CommandBars::BusyScope nested(bars);
    EXPECT_EQ(CountEnabled(standard), 0);
    EXPECT_EQ(CountEnabled(database), 0);
    EXPECT_EQ(CountEnabled(own), 1);
  }
  EXPECT_EQ(CountEnabled(standard), 9);
  EXPECT_EQ(standard.Count(), 10);
  EXPECT_EQ(database.Count(), 4);
  EXPECT_TRUE(standard.Visible());
  EXPECT_FALSE(database.Visible());
}

TEST(CommandBars, AClickReachesTheSinksOnlyOfAButtonTheUserCanPress) {
  CommandBars bars;
  CommandBar& bar = bars.Add("Lunavant", host::kBarTop);
  CommandBarButton& button = bar.Add(host::kControlButton);
  button.SetTag("Add Hijri");
  Clicks sink;
  button.AddEventSink(sink);
  button.AddEventSink(sink);     // once only
  EXPECT_FALSE(button.Click());  // the bar is hidden
  bar.SetVisible(true);
  EXPECT_TRUE(button.Click());
  button.SetEnabled(false);
  EXPECT_FALSE(button.Click());
  button.SetEnabled(true);
  button.SetVisible(false);
  EXPECT_FALSE(button.Click());
  button.SetVisible(true);
  button.RemoveEventSink(sink);
  EXPECT_TRUE(button.Click());
  EXPECT_EQ(sink.tags, std::vector<std::string>{"Add Hijri"});
}

TEST(CommandBars, DeletedBarsAndButtonsStayButRefuseEveryCall) {
  // Given a bar deleted while a caller still holds it and its button, expect each call on either
  // to fail with the host's message, the name free again, and FindControl and Item to miss it.
  CommandBars bars;
  CommandBar& bar = bars.Add("Lunavant", host::kBarTop);
  CommandBarButton& kept = bar.Add(host::kControlButton);
  CommandBarButton& removed = bar.Add(host::kControlButton);
  removed.SetTag("x");
  removed.Delete();
  EXPECT_EQ(bar.Count(), 1);
  EXPECT_EQ(bar.FindControl("x"), nullptr);
  EXPECT_EQ(ErrorOf([&] { removed.Delete(); }),
            (host::ErrorRecord{host::kHostFailure, std::string(ui_message::kObjectDeleted)}));

  EXPECT_EQ(ErrorOf([&] { bars.Add("LUNAVANT", 1); }).number, host::kHostFailure);
  bar.Delete();
  EXPECT_EQ(bars.Item("Lunavant"), nullptr);
  EXPECT_TRUE(kept.IsDeleted());
  EXPECT_EQ(ErrorOf([&] { static_cast<void>(bar.Visible()); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { kept.SetTag("y"); }).number, host::kHostFailure);
  EXPECT_FALSE(kept.Click());
  EXPECT_EQ(ErrorOf([&] { bar.Controls(); }).number, host::kHostFailure);
  EXPECT_NE(&bars.Add("Lunavant", 1), &bar);
}

TEST(CommandBars, ControlsAreButtonsCountedFromOne) {
  CommandBars bars;
  CommandBar& bar = bars.Add("Lunavant", host::kBarTop);
  EXPECT_EQ(ErrorOf([&] { bar.Controls().Add(2); }).number, host::kInvalidProcedureCall);
  bar.Controls().Add(host::kControlButton);
  EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(0); }).number, host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(2); }).number, host::kSubscriptOutOfRange);
  EXPECT_EQ(bar.Controls().Count(), 1);
}

}  // namespace
}  // namespace lunavant::workbench

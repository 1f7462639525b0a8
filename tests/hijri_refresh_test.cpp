// SPDX-License-Identifier: MIT
// The Hijri fields rewritten after a recalculation, as a user meets it: which tasks a synchronised
// edit reaches, and how many boxes a failing refresh shows.
#include <memory>
#include <string>
#include <vector>

#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/host/error.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/addin_fixture.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant {
namespace {

using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture

class HijriRefresh : public AddinTest {
 protected:
  HijriRefresh() {
    add_in_.Bind(app_, app_.ActiveProject());
    app_.AddEventSink(after_add_in_);
  }
  ~HijriRefresh() override { app_.RemoveEventSink(after_add_in_); }

  // The IDs of the tasks whose Text1 was written, in order.
  std::vector<std::int32_t> Text1Writes() const {
    std::vector<std::int32_t> ids;
    for (const std::string& line : after_add_in_.log) {
      if (line.find(", Text1, ") != std::string::npos) {
        ids.push_back(std::stoi(line.substr(line.find('(') + 1)));
      }
    }
    return ids;
  }

  events::MSProjEvents add_in_;
  RecordingSink after_add_in_;
};

TEST_F(HijriRefresh, AnEditOfASubtaskRewritesItsSummaryThenItselfButNotItsSibling) {
  // Given a summary with two subtasks, expect the edit of the first to rewrite the summary (its
  // parent) and then the edited task; the sibling is no relative of the edited task.
  workbench::Project& pj = Plan()
                               .AddTask("Summary", 1, 1)
                               .AddTask("First", 2, 2)
                               .AddTask("Second", 3, 2)
                               .Column("Entry", kText1, "HijriStart")
                               .Alias(kText1, "HijriStart")
                               .BuildOpened();
  app_.CalculateProject();
  after_add_in_.log.clear();

  app_.UserEdit(*pj.TaskAt(2), kStart, "Mon 15/03/04");

  // The edit's own write of task 2, then the refresh: the parent, then the edited task.
  EXPECT_EQ(Text1Writes(), (std::vector<std::int32_t>{2, 1, 2}));
  EXPECT_EQ(pj.TaskAt(2)->GetField(kText1), "24/01/1425");
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), codec::ToHijriText(pj.TaskAt(1)->GetField(kStart)));
  EXPECT_EQ(add_in_.VisitedTasks.Count(), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(HijriRefresh, AProjectBeyondTheLastSlotIsReportedOncePerRefresh) {
  // Given a paired project at position 101, expect each refresh to show one box, not one per
  // task, and its tasks to keep their text.
  for (int i = 1; i <= 100; ++i) app_.NewProject();
  workbench::Project& pj = Plan("Far")
                               .AddTask("Dig", 2)
                               .AddTask("Pour", 2)
                               .AddTask("Cure", 2)
                               .Column("Entry", kText1, "HijriStart")
                               .Alias(kText1, "HijriStart")
                               .BuildOpened();
  ASSERT_EQ(pj.Index(), 101);

  app_.CalculateProject();
  app_.CalculateProject();

  const std::string out_of_range = ErrorBox(host::kSubscriptOutOfRange, "Subscript out of range");
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{out_of_range, out_of_range}));
  EXPECT_EQ(pj.TaskAt(1)->GetField(kText1), "");
  EXPECT_TRUE(add_in_.SyncEnabled);
}

// A pointer the platform cannot set: every call fails.
class FailingPointer final : public host::MousePointer {
 public:
  void SetMousePointer(std::int32_t) override {
    ++calls;
    host::Raise(host::kInternalError, "Internal error " + std::to_string(calls));
  }
  std::int32_t CurrentMousePointer() const override { return host::kPointerDefault; }
  int calls = 0;
};

TEST(HijriRefreshWithFailingPointer, ShowsOnlyTheLastFailureAndStillRewritesEveryTask) {
  // Given a pointer that cannot be set, expect a refresh that both rewrites everything and follows
  // a synchronised edit to skip the four failing steps, rewrite the tasks, and show one box: the
  // last failure.
  pairing::ResetProcessState();
  codec::detail::UnloadConverter();
  auto pointer = std::make_unique<FailingPointer>();
  FailingPointer& failing = *pointer;
  workbench::FrontEndServices services;
  services.pointer = std::move(pointer);
  services.library_folders.emplace_back(LUNAVANT_CONVERTER_DIR);
  workbench::Application app(std::move(services));
  app.Regional().OverrideShortDatePattern(kPinnedShortDatePattern);
  app.Regional().OverrideDateSeparator(kPinnedDateSeparator);
  host::SetGlobalApplication(&app);
  {
    events::MSProjEvents add_in;
    add_in.Bind(app, nullptr);
    workbench::Project& pj = ProjectBuilder(app, "Plan")
                                 .AddTask("Dig", 2)
                                 .AddTask("Pour", 2)
                                 .Column("Entry", kText1, "HijriStart")
                                 .Alias(kText1, "HijriStart")
                                 .BuildOpened();
    app.SetAutoCalculate(false);
    app.UserEdit(*pj.TaskAt(1), kStart, "Mon 15/03/04");
    pairing::SetForceRefresh(true);
    app.CalculateProject();

    EXPECT_EQ(failing.calls, 4);
    ASSERT_EQ(app.RecordedMessages()->Shown().size(), 1u);
    EXPECT_NE(app.RecordedMessages()->Shown()[0].prompt.find("Internal error 4"),
              std::string::npos);
    EXPECT_EQ(pj.TaskAt(2)->GetField(kText1), codec::ToHijriText(pj.TaskAt(2)->GetField(kStart)));
    EXPECT_TRUE(add_in.SyncEnabled);
    EXPECT_FALSE(add_in.EditSynced);
  }
  host::SetGlobalApplication(nullptr);
  pairing::ResetProcessState();
  codec::detail::UnloadConverter();
}

}  // namespace
}  // namespace lunavant

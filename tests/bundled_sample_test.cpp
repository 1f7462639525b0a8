// SPDX-License-Identifier: MIT
// The bundled sample project with the add-in connected: pairs restored from its aliases, Hijri
// texts the converter agrees with, a schedule the workbench keeps, and a typed Hijri date that
// saves with its consequences only.
#include "workbench/files/bundled_sample.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/addin_fixture.h"
#include "tests/support/xml_compare.h"
#include "workbench/files/project_file.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant {
namespace {

namespace fs = std::filesystem;
using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture

class BundledSample : public AddinTest {
 protected:
  BundledSample() {
    add_in_ = std::make_unique<events::MSProjEvents>();
    add_in_->Bind(app_, nullptr);
  }
  ~BundledSample() override { add_in_.reset(); }

  workbench::Task& Row(workbench::Project& pj, std::int32_t id) {
    return *static_cast<workbench::Task*>(pj.TaskAt(id));
  }
  // Name, Start and Finish of every task, as shown.
  std::vector<std::string> Dates(workbench::Project& pj) {
    std::vector<std::string> out;
    for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
      out.push_back(Row(pj, id).Name() + " " + Row(pj, id).GetField(kStart) + " " +
                    Row(pj, id).GetField(kFinish));
    }
    return out;
  }

  std::unique_ptr<events::MSProjEvents> add_in_;
};

TEST_F(BundledSample, OpensWithItsPairsAndAScheduleTheWorkbenchKeeps) {
  // Given the embedded sample, expect the file in the repository, both pairs restored with their
  // columns beside Start and Finish, each Hijri text the codec's rendering of its date, and a
  // recalculation that moves no task (holidays included: the staff move runs across the Eid
  // al-Fitr of 1447).
  EXPECT_EQ(workbench::BundledSampleText(),
            ReadWholeFile(LUNAVANT_SOURCE_DIR "/samples/riyadh-office-fit-out.xml"));
  workbench::Project& pj = workbench::OpenBundledSample(app_);
  EXPECT_EQ(pj.Name(), "riyadh-office-fit-out.xml");
  ASSERT_EQ(pj.TaskCount(), 60);
  const std::int32_t slot = pj.Index();
  ASSERT_EQ(pairing::HijriToGreg(slot).Count(), 2);
  EXPECT_EQ(pairing::HijriToGreg(slot).Item(std::to_string(kText1)), kStart);
  EXPECT_EQ(pairing::HijriToGreg(slot).Item(std::to_string(kText2)), kFinish);
  host::ColumnList& entry = pj.TaskTable("Entry").Columns();
  EXPECT_EQ(entry.Item(5).Field(), kStart);
  EXPECT_EQ(entry.Item(6).Field(), kText1);
  EXPECT_EQ(entry.Item(7).Field(), kFinish);
  EXPECT_EQ(entry.Item(8).Field(), kText2);

  std::set<std::string> constraint_types;
  int milestones = 0, summaries = 0;
  for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
    workbench::Task& task = Row(pj, id);
    EXPECT_EQ(task.GetField(kText1), codec::ToHijriText(task.GetField(kStart))) << id;
    EXPECT_EQ(task.GetField(kText2), codec::ToHijriText(task.GetField(kFinish))) << id;
    constraint_types.insert(task.GetField(188743697));
    milestones += task.IsMilestone();
    summaries += task.IsSummary();
  }
  EXPECT_EQ(constraint_types.size(), 4u);  // ASAP, MSO, SNET, FNLT
  EXPECT_GE(milestones, 5);
  EXPECT_GE(summaries, 8);
  EXPECT_EQ(Row(pj, 2).GetField(kText1), "02/09/1446");  // Sunday 2 March 2025
  EXPECT_EQ(Row(pj, 54).GetField(kFinish), "Tue 24/03/26");

  const std::vector<std::string> before = Dates(pj);
  app_.CalculateProject();
  EXPECT_EQ(Dates(pj), before);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(BundledSample, ATypedHijriDateSavesWithItsConsequencesOnly) {
  // Given the sample with automatic calculation, expect typing a later Hijri start for the
  // strip-out to move it and its successors, and the save to change only scheduled dates,
  // constraints, durations of summaries and Hijri texts; the document stays valid.
  workbench::UseProjectFiles(app_);
  std::string pattern = (fs::temp_directory_path() / "lunavant-sample-XXXXXX").string();
  const fs::path folder = ::mkdtemp(pattern.data());
  workbench::Project& pj = workbench::OpenBundledSample(app_);
  app_.SaveProjectAs(pj, (folder / "plan.xml").string());
  const std::string before = ReadWholeFile((folder / "plan.xml").string());
  EXPECT_EQ(XmlLeaves(before), XmlLeaves(workbench::BundledSampleText()));

  const std::string successor_start = Row(pj, 26).GetField(kStart);
  app_.UserEdit(Row(pj, 25), kText1, "01/05/1447");  // Thursday 23 October 2025
  EXPECT_EQ(Row(pj, 25).GetField(kStart), "Thu 23/10/25");
  EXPECT_NE(Row(pj, 26).GetField(kStart), successor_start);
  EXPECT_EQ(Row(pj, 26).GetField(kText1), codec::ToHijriText(Row(pj, 26).GetField(kStart)));
  ASSERT_TRUE(app_.SaveProject(pj));

  const XmlChanges changes = CompareXml(before, ReadWholeFile((folder / "plan.xml").string()));
  const std::set<std::string> allowed = {
      "Start",      "Finish",   "EarlyStart",     "EarlyFinish",    "LateStart",
      "LateFinish", "Duration", "ConstraintType", "ConstraintDate", "Value"};
  EXPECT_FALSE(changes.added.empty());
  for (const auto* lines : {&changes.removed, &changes.added}) {
    for (const std::string& line : *lines) {
      ASSERT_EQ(line.rfind("/Project[1]/Tasks[1]/Task[", 0), 0u) << line;
      const std::string path = line.substr(0, line.find('='));
      const std::size_t slash = path.rfind('/');
      const std::string element = path.substr(slash + 1, path.find('[', slash) - slash - 1);
      EXPECT_TRUE(allowed.count(element)) << line;
    }
  }
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    const std::string command = "xmllint --noout --schema '" LUNAVANT_SHARED_DATA
                                "/mspdi/schema/mspdi-2003.xsd' '" +
                                (folder / "plan.xml").string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace lunavant

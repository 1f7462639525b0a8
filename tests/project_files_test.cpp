// SPDX-License-Identifier: MIT
// Real project files through the workbench and the add-in together: pairs that survive a save,
// a close and a reopening, and typed Hijri dates that reach the file and nothing else.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

const fs::path kSamples = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
const fs::path kSchema2003 = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "schema" / "mspdi-2003.xsd";

bool ValidAgainst2003Schema(const fs::path& file) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return true;
  const std::string command = "xmllint --noout --schema '" + kSchema2003.string() + "' '" +
                              file.string() + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

class ProjectFilesScenario : public AddinTest {
 protected:
  ProjectFilesScenario() {
    std::string pattern = (fs::temp_directory_path() / "lunavant-scenario-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    workbench::UseProjectFiles(app_);
    add_in_ = std::make_unique<events::MSProjEvents>();
    add_in_->Bind(app_, nullptr);
  }
  ~ProjectFilesScenario() override {
    add_in_.reset();
    fs::remove_all(folder_);
  }

  workbench::Task& Row(workbench::Project& pj, std::int32_t id) {
    return *static_cast<workbench::Task*>(pj.TaskAt(id));
  }

  // What the Add command leaves behind for a pair: the alias, the column right of the date
  // column in the Entry table, and the pair in the project's slot.
  void PairAsTheAddCommandDoes(workbench::Project& pj, host::FieldId text, host::FieldId date,
                               const std::string& title) {
    app_.CustomFieldRename(text, title);
    host::ColumnList& columns = pj.TaskTable("Entry").Columns();
    std::int32_t date_position = 0;
    for (std::int32_t i = 1; i <= columns.Count(); ++i) {
      if (columns.Item(i).Field() == date) date_position = i;
    }
    ASSERT_GT(date_position, 0);
    columns.Add(text, 2, 12, title, 1, date_position - 2, false);
    pairing::AddPair(text, date, pj.Index());
  }

  fs::path folder_;
  std::unique_ptr<events::MSProjEvents> add_in_;
};

TEST_F(ProjectFilesScenario, PairsSurviveSaveCloseAndReopenAndATypedDateSavesAlone) {
  // Given a 2003 sample with Start and Finish paired and saved, expect the reopened project to
  // have both pairs and their columns back; a Hijri date typed into a task's HijriStart moves its
  // Start, and the next save changes that task's dates, constraint and text values only, in a
  // document that stays valid against the 2003 schema.
  fs::copy_file(kSamples / "task-links-project2003-mspdi.xml", folder_ / "links.xml");
  workbench::Project& opened = workbench::OpenProjectFile(app_, folder_ / "links.xml");
  app_.SetAutoCalculate(false);
  PairAsTheAddCommandDoes(opened, kText1, kStart, "HijriStart");
  PairAsTheAddCommandDoes(opened, kText2, kFinish, "HijriFinish");
  ASSERT_TRUE(app_.SaveProject(opened));
  ASSERT_TRUE(app_.CloseProject(opened));
  EXPECT_EQ(pairing::HijriToGreg(1).Count(), 0);

  workbench::Project& pj = workbench::OpenProjectFile(app_, folder_ / "links.xml");
  const std::int32_t slot = pj.Index();
  ASSERT_EQ(pairing::HijriToGreg(slot).Count(), 2);
  EXPECT_EQ(pairing::HijriToGreg(slot).Item(std::to_string(kText1)), kStart);
  EXPECT_EQ(pairing::HijriToGreg(slot).Item(std::to_string(kText2)), kFinish);
  host::ColumnList& entry = pj.TaskTable("Entry").Columns();
  std::vector<host::FieldId> fields;
  for (std::int32_t i = 1; i <= entry.Count(); ++i) fields.push_back(entry.Item(i).Field());
  EXPECT_EQ(std::count(fields.begin(), fields.end(), kText1), 1);
  EXPECT_EQ(std::find(fields.begin(), fields.end(), kText2) - fields.begin(),
            std::find(fields.begin(), fields.end(), kFinish) - fields.begin() + 1);

  const std::string before = ReadWholeFile((folder_ / "links.xml").string());
  workbench::Task& task = Row(pj, 3);
  const std::string finish_before = task.GetField(kFinish);
  app_.SetAutoCalculate(false);
  app_.UserEdit(task, kText1, "01/03/1425");  // Tuesday 20 April 2004
  EXPECT_EQ(task.GetField(kStart), "Tue 20/04/04");
  EXPECT_NE(task.GetField(kFinish), finish_before);
  EXPECT_TRUE(Shown().empty());
  ASSERT_TRUE(app_.SaveProject(pj));
  EXPECT_TRUE(ValidAgainst2003Schema(folder_ / "links.xml"));

  const XmlChanges changes = CompareXml(before, ReadWholeFile((folder_ / "links.xml").string()));
  const std::string at = "/Project[1]/Tasks[1]/Task[4]/";  // row 3, after the summary row
  std::vector<std::string> touched;
  for (const auto* lines : {&changes.removed, &changes.added}) {
    for (const std::string& line : *lines) {
      ASSERT_EQ(line.rfind(at, 0), 0u) << line;
      const std::string element = line.substr(at.size(), line.find('[', at.size()) - at.size());
      if (std::find(touched.begin(), touched.end(), element) == touched.end()) {
        touched.push_back(element);
      }
    }
  }
  std::sort(touched.begin(), touched.end());
  EXPECT_EQ(touched, (std::vector<std::string>{"ConstraintDate", "ConstraintType",
                                               "ExtendedAttribute", "Finish", "Start"}));
  EXPECT_NE(
      std::find(changes.added.begin(), changes.added.end(), at + "Start[1]=2004-04-20T08:00:00"),
      changes.added.end());

  // The typed text and the moved dates come back with the file.
  ASSERT_TRUE(app_.CloseProject(pj));
  workbench::Project& again = workbench::OpenProjectFile(app_, folder_ / "links.xml");
  EXPECT_EQ(Row(again, 3).GetField(kText1), "01/03/1425");
  EXPECT_EQ(Row(again, 3).GetField(kStart), "Tue 20/04/04");
  app_.UserEdit(Row(again, 3), kText1, "02/03/1425");
  EXPECT_EQ(Row(again, 3).GetField(kStart), "Wed 21/04/04");
}

}  // namespace
}  // namespace lunavant

// SPDX-License-Identifier: MIT
#include "workbench/files/project_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "tests/support/xml_compare.h"
#include "workbench/files/atomic_file.h"
#include "workbench/files/messages.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/task_spans.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;
using test_support::CompareXml;
using test_support::ReadWholeFile;
using test_support::XmlLeaves;

const fs::path kSamples = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
const fs::path kSchema2003 = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "schema" / "mspdi-2003.xsd";

// A fresh folder for one test, removed with it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "lunavant-files-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchFolder() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What xmllint says of a document against the 2003 schema; "valid" when it validates, "skipped"
// when xmllint is not installed.
std::string ValidateAgainst2003Schema(const fs::path& file) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return "skipped";
  const std::string command = "xmllint --noout --schema '" + kSchema2003.string() + "' '" +
                              file.string() + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 ? "valid" : "invalid";
}

std::vector<fs::path> Samples() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kSamples)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

class ProjectFileTest : public test_support::WorkbenchTest {
 protected:
  Task& Row(Project& pj, std::int32_t id) { return *static_cast<Task*>(pj.TaskAt(id)); }

  // The error a reading of `text` raises.
  ProjectFileError ErrorReading(const std::string& text) {
    try {
      ReadProjectText(app_, text, "bad.xml");
    } catch (const ProjectFileError& error) {
      return error;
    }
    ADD_FAILURE() << "no error for " << text.substr(0, 200);
    return ProjectFileError(FileStatus::kMalformed, "", 0, "");
  }
};

TEST_F(ProjectFileTest, EverySampleOpensSavesAndReopensWithNothingLost) {
  // Given every scheduler-written sample, expect a save without an edit to give the same
  // elements, attributes and values in the same order, and the saved file to read back into the
  // same tasks and dates.
  const std::vector<fs::path> samples = Samples();
  ASSERT_GE(samples.size(), 71u);
  ScratchFolder folder;
  for (const fs::path& sample : samples) {
    SCOPED_TRACE(sample.filename().string());
    const std::string original = ReadWholeFile(sample.string());
    std::unique_ptr<Project> first = ReadProjectFile(app_, sample);
    const fs::path saved_path = folder / sample.filename().string();
    SaveProjectFile(*first, saved_path);
    const std::string saved = ReadWholeFile(saved_path.string());
    EXPECT_EQ(XmlLeaves(saved), XmlLeaves(original));

    std::unique_ptr<Project> again = ReadProjectFile(app_, saved_path);
    ASSERT_EQ(again->TaskCount(), first->TaskCount());
    for (std::int32_t id = 1; id <= first->TaskCount(); ++id) {
      Task* a = first->TaskAt(id);
      Task* b = again->TaskAt(id);
      ASSERT_EQ(a == nullptr, b == nullptr);
      if (a == nullptr) continue;
      EXPECT_EQ(b->UniqueID(), a->UniqueID());
      EXPECT_EQ(b->GetField(field::kStart), a->GetField(field::kStart));
      EXPECT_EQ(b->GetField(field::kFinish), a->GetField(field::kFinish));
      EXPECT_EQ(b->Predecessors(), a->Predecessors());
    }
  }
}

TEST_F(ProjectFileTest, EditsLandInPlaceAndNothingElseChanges) {
  // Given sample.xml (UID 19 is row 7), expect a rename, a custom text value, an alias and a new
  // link to change exactly their own elements; the new link and value go where the 2003 schema
  // puts them, so the file stays valid.
  const fs::path sample = kSamples / "sample.xml";
  const std::string original = ReadWholeFile(sample.string());
  std::unique_ptr<Project> pj = ReadProjectFile(app_, sample);
  Task& task = Row(*pj, 7);
  ASSERT_EQ(task.UniqueID(), 19);
  const std::string old_name = task.Name();
  const std::string predecessors = task.Predecessors();
  task.SetField(field::kName, "Renamed");
  task.SetField(CustomTextField(4), "note");  // Text5
  task.SetField(field::kPredecessors, predecessors.empty() ? "1" : predecessors + ";1");
  pj->SetCustomTextAlias(4, "Remarks");
  ScratchFolder folder;
  SaveProjectFile(*pj, folder / "sample.xml");
  const std::string saved = ReadWholeFile((folder / "sample.xml").string());

  const test_support::XmlChanges changes = CompareXml(original, saved);
  const std::string at = "/Project[1]/Tasks[1]/Task[8]";  // row 7, after the summary row
  EXPECT_EQ(changes.removed, std::vector<std::string>{at + "/Name[1]=" + old_name});
  std::vector<std::string> added = changes.added;
  std::sort(added.begin(), added.end());
  const std::string definition = "/Project[1]/ExtendedAttributes[1]/ExtendedAttribute[1]";
  std::vector<std::string> expected = {at + "/Name[1]=Renamed"};
  std::vector<std::string> link_lines;
  for (const std::string& line : added) {
    if (line.find("/PredecessorLink[") != std::string::npos) link_lines.push_back(line);
  }
  EXPECT_EQ(link_lines.size(), 5u);  // PredecessorUID, Type, CrossProject, LinkLag, LagFormat
  EXPECT_NE(std::find(added.begin(), added.end(), at + "/ExtendedAttribute[1]/Value[1]=note"),
            added.end());
  EXPECT_NE(std::find(added.begin(), added.end(), definition + "/Alias[1]=Remarks"), added.end());
  EXPECT_NE(std::find(added.begin(), added.end(), at + "/Name[1]=Renamed"), added.end());
  EXPECT_EQ(added.size(), 1u + 5u + 3u + 3u);  // name, link, value (UID, FieldID, Value),
                                               // definition (FieldID, FieldName, Alias)
  EXPECT_EQ(ValidateAgainst2003Schema(folder / "sample.xml"), "valid");

  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "sample.xml");
  EXPECT_EQ(Row(*again, 7).GetField(CustomTextField(4)), "note");
  EXPECT_EQ(Row(*again, 7).Predecessors(), task.Predecessors());
  EXPECT_EQ(again->CustomTextAlias(4), "Remarks");
}

TEST_F(ProjectFileTest, UnchangedTasksSaveByteForByteAmongWhateverSurroundsThem) {
  // Given a 2019 sample with a comment and an instruction put between its second and third
  // task elements, one of them naming task tags, expect an edit of one task to rewrite that
  // element alone: every other task element, the comment and the instruction come back as the
  // file had them, and the save reads back with the edit.
  std::string text = ReadWholeFile((kSamples / "task-text-project2019-mspdi.xml").string());
  const std::optional<detail::TaskSpans> before = detail::FindTaskSpans(text);
  ASSERT_TRUE(before);
  ASSERT_GE(before->tasks.size(), 4u);
  const std::string between = "<!-- moved: </Task><Task> --><?review </Tasks>?>\n\t\t";
  text.insert(before->tasks[2].element, between);
  ScratchFolder folder;
  WriteText(folder / "plan.xml", text);
  const std::optional<detail::TaskSpans> spans = detail::FindTaskSpans(text);
  ASSERT_TRUE(spans);

  std::unique_ptr<Project> pj = ReadProjectFile(app_, folder / "plan.xml");
  ASSERT_EQ(pj->TaskCount() + 1, static_cast<std::int32_t>(spans->tasks.size()));
  Row(*pj, 3).SetField(field::kName, "Renamed & moved");
  SaveProjectFile(*pj, folder / "plan.xml");
  const std::string saved = ReadWholeFile((folder / "plan.xml").string());

  const std::optional<detail::TaskSpans> after = detail::FindTaskSpans(saved);
  ASSERT_TRUE(after);
  ASSERT_EQ(after->tasks.size(), spans->tasks.size());
  for (std::size_t i = 0; i < spans->tasks.size(); ++i) {
    const auto element = [](const std::string& whole, const detail::TaskSpan& span) {
      return whole.substr(span.element, span.end - span.element);
    };
    SCOPED_TRACE(i);
    if (i == 3) {  // row 3, after the summary row
      EXPECT_NE(element(saved, after->tasks[i]), element(text, spans->tasks[i]));
      EXPECT_NE(element(saved, after->tasks[i]).find("<Name>Renamed &amp; moved</Name>"),
                std::string::npos);
    } else {
      EXPECT_EQ(element(saved, after->tasks[i]), element(text, spans->tasks[i]));
    }
  }
  EXPECT_NE(saved.find(between), std::string::npos);
  const test_support::XmlChanges changes = CompareXml(text, saved);
  EXPECT_EQ(changes.added.size(), 1u);
  EXPECT_EQ(changes.removed.size(), 1u);
  EXPECT_EQ(ReadProjectFile(app_, folder / "plan.xml")->TaskAt(3)->GetField(field::kName),
            "Renamed & moved");
}

TEST_F(ProjectFileTest, CustomNumbersFlagsCostsDurationsAndDatesAreReadAndSaved) {
  // Given the samples whose row n carries its field's n-th value (Number2 = 2, Cost2 = 200
  // hundredths, Duration2 = 16 hours, Date2 = 2 January 2014 10:00, Flag2 = Yes), expect the
  // tasks to show them; and edits of numbers to change, remove and add exactly their own values.
  struct Shown {
    const char* file;
    const char* field;
    std::string second_row;
  };
  for (const Shown& shown : {
           Shown{"task-numbers-project2010-mspdi.xml", "Number2", "2"},
           Shown{"task-flags-project2010-mspdi.xml", "Flag2", "Yes"},
           Shown{"task-costs-project2010-mspdi.xml", "Cost2", "2.00"},
           Shown{"task-durations-project2019-mspdi.xml", "Duration2", "2 days"},
           Shown{"task-dates-project2010-mspdi.xml", "Date2", "Thu 02/01/14"},
       }) {
    SCOPED_TRACE(shown.file);
    std::unique_ptr<Project> pj = ReadProjectFile(app_, kSamples / shown.file);
    EXPECT_EQ(Row(*pj, 2).GetField(FindFieldByName(shown.field)->id), shown.second_row);
  }

  const fs::path sample = kSamples / "task-numbers-project2010-mspdi.xml";
  const std::string original = ReadWholeFile(sample.string());
  std::unique_ptr<Project> pj = ReadProjectFile(app_, sample);
  const host::FieldId number1 = FindFieldByName("Number1")->id;
  const host::FieldId number2 = FindFieldByName("Number2")->id;
  Row(*pj, 1).SetField(number1, "7.25");
  Row(*pj, 2).SetField(number2, "0");
  Row(*pj, 3).SetField(number1, "4");
  ScratchFolder folder;
  SaveProjectFile(*pj, folder / "numbers.xml");
  const test_support::XmlChanges changes =
      CompareXml(original, ReadWholeFile((folder / "numbers.xml").string()));
  const std::string tasks = "/Project[1]/Tasks[1]/";
  EXPECT_EQ(changes.removed,
            (std::vector<std::string>{tasks + "Task[2]/ExtendedAttribute[1]/Value[1]=1",
                                      tasks + "Task[3]/ExtendedAttribute[1]/FieldID[1]=188743768",
                                      tasks + "Task[3]/ExtendedAttribute[1]/Value[1]=2"}));
  std::vector<std::string> added = changes.added;
  std::sort(added.begin(), added.end());
  EXPECT_EQ(added,
            (std::vector<std::string>{tasks + "Task[2]/ExtendedAttribute[1]/Value[1]=7.25",
                                      tasks + "Task[4]/ExtendedAttribute[2]/FieldID[1]=188743767",
                                      tasks + "Task[4]/ExtendedAttribute[2]/Value[1]=4"}));
  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "numbers.xml");
  EXPECT_EQ(Row(*again, 1).GetField(number1), "7.25");
  EXPECT_EQ(Row(*again, 2).GetField(number2), "0");
  EXPECT_EQ(Row(*again, 3).GetField(number1), "4");
}

TEST_F(ProjectFileTest, BaselineDatesAndAmountsAreReadAndEditedOnesAreSaved) {
  // Given a file whose rows 23 and 34 have only a baseline finish or only a baseline start, and
  // whose rows 1, 12 and 45 have a baseline with a cost, a duration or a work alone, expect them
  // read as the file has them, and a baseline start typed into row 1 and a duration into row 12
  // to land in their baselines and to come back on reopening.
  const fs::path sample = kSamples / "task-baselines-project2002-mspdi.xml";
  const std::string original = ReadWholeFile(sample.string());
  std::unique_ptr<Project> pj = ReadProjectFile(app_, sample);
  EXPECT_EQ(Row(*pj, 23).DateValue(field::kBaselineFinish),
            detail::ReadMspdiDate("2014-03-01T09:00:00"));
  EXPECT_EQ(Row(*pj, 23).GetField(field::kBaselineStart), "NA");
  EXPECT_EQ(Row(*pj, 34).DateValue(field::kBaselineStart),
            detail::ReadMspdiDate("2014-04-01T09:00:00"));
  EXPECT_EQ(Row(*pj, 34).GetField(field::kBaselineFinish), "NA");
  // Amounts: a cost in hundredths, a duration and a work in hours of an 8-hour day.
  const host::FieldId baseline_cost = FindFieldByName("Baseline Cost")->id;
  const host::FieldId baseline_duration = FindFieldByName("Baseline Duration")->id;
  EXPECT_EQ(Row(*pj, 1).GetField(baseline_cost), "1.00");
  EXPECT_EQ(Row(*pj, 12).GetField(baseline_duration), "11 days");
  EXPECT_EQ(Row(*pj, 45).GetField(FindFieldByName("Baseline Work")->id), "6.38 days");

  Row(*pj, 12).SetField(baseline_duration, "5");
  Row(*pj, 1).SetField(field::kBaselineStart, "Mon 03/02/14");
  const std::optional<Moment> typed = Row(*pj, 1).DateValue(field::kBaselineStart);
  ASSERT_TRUE(typed.has_value());
  ScratchFolder folder;
  SaveProjectFile(*pj, folder / "baselines.xml");
  const test_support::XmlChanges changes =
      CompareXml(original, ReadWholeFile((folder / "baselines.xml").string()));
  EXPECT_EQ(
      changes.removed,
      std::vector<std::string>{"/Project[1]/Tasks[1]/Task[13]/Baseline[1]/Duration[1]=PT88H0M0S"});
  EXPECT_EQ(changes.added, (std::vector<std::string>{
                               "/Project[1]/Tasks[1]/Task[2]/Baseline[1]/Start[1]=" +
                                   detail::MspdiDateText(*typed),
                               "/Project[1]/Tasks[1]/Task[13]/Baseline[1]/Duration[1]=PT40H0M0S"}));
  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "baselines.xml");
  EXPECT_EQ(Row(*again, 1).DateValue(field::kBaselineStart), typed);
  EXPECT_EQ(Row(*again, 1).GetField(baseline_cost), "1.00");
  EXPECT_EQ(Row(*again, 12).GetField(baseline_duration), "5 days");
}

TEST_F(ProjectFileTest, TablesTravelAsInstructionsAndAFileWithoutThemGetsTheDefaults) {
  // Given a 2003 file without tables, expect the default tables; a column added to Entry and a
  // different current table survive a save and a reading, and the document stays valid.
  const fs::path sample = kSamples / "task-links-project2003-mspdi.xml";
  std::unique_ptr<Project> pj = ReadProjectFile(app_, sample);
  Project& fresh = app_.NewProject();
  ASSERT_EQ(pj->TaskTableCount(), fresh.TaskTableCount());
  EXPECT_EQ(pj->TaskTable("Entry").Columns().Count(), fresh.TaskTable("Entry").Columns().Count());
  EXPECT_EQ(ProjectFileText(*pj).find("<?lunavant"), std::string::npos);

  pj->TaskTable("Entry").Columns().Add(field::kText1, 2, 14, "Title with \"quotes\" & ?>", 1, 3,
                                       true);
  pj->ApplyTable("Export");
  ScratchFolder folder;
  SaveProjectFile(*pj, folder / "links.xml");
  EXPECT_EQ(ValidateAgainst2003Schema(folder / "links.xml"), "valid");

  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "links.xml");
  EXPECT_EQ(again->CurrentTable(), "Export");
  Table& entry = again->TaskTable("Entry");
  ASSERT_EQ(entry.Columns().Count(), fresh.TaskTable("Entry").Columns().Count() + 1);
  const Column& column = entry.Columns().Item(6);
  EXPECT_EQ(column.Field(), field::kText1);
  EXPECT_EQ(column.Title(), "Title with \"quotes\" & ?>");
  EXPECT_EQ(column.Width(), 14);
  EXPECT_EQ(column.DataAlignment(), 2);
  EXPECT_EQ(column.TitleAlignment(), 1);
  EXPECT_TRUE(column.Wrap());
}

TEST_F(ProjectFileTest, AProjectMadeInTheWorkbenchSavesAsAValid2003Document) {
  Project& pj = Plan()
                    .AddTask("Design", 3)
                    .AddTask("Build", 5)
                    .AddBlankRow()
                    .AddTask("Handover", 0)
                    .Link(1, 2)
                    .Link(2, 4, LinkType::kStartToStart, 2)
                    .Field(1, field::kText1, "first")
                    .Alias(field::kText1, "Note")
                    .Build();
  pj.SetScheduleFromFinish(MomentOf(2004, 3, 31, 17, 0));
  ScratchFolder folder;
  SaveProjectFile(pj, folder / "made.xml");
  EXPECT_EQ(ValidateAgainst2003Schema(folder / "made.xml"), "valid");
  EXPECT_TRUE(pj.Saved());

  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "made.xml");
  ASSERT_EQ(again->TaskCount(), 4);
  EXPECT_EQ(again->TaskAt(3), nullptr);
  EXPECT_EQ(Row(*again, 4).Predecessors(), "2SS+2d");
  EXPECT_EQ(Row(*again, 1).GetField(field::kText1), "first");
  EXPECT_EQ(again->CustomTextAlias(0), "Note");
  EXPECT_TRUE(again->ScheduleFromFinish());
  EXPECT_EQ(again->ProjectFinish(), MomentOf(2004, 3, 31, 17, 0));
  for (std::int32_t id : {1, 2, 4}) {
    EXPECT_EQ(Row(*again, id).GetField(field::kStart), Row(pj, id).GetField(field::kStart));
    EXPECT_EQ(Row(*again, id).GetField(field::kFinish), Row(pj, id).GetField(field::kFinish));
  }
}

TEST_F(ProjectFileTest, BadInputIsRefusedWithTheLineAndWhatIsWrong) {
  const std::string head =
      "<?xml version=\"1.0\"?>\n<Project "
      "xmlns=\"http://schemas.microsoft.com/project\">\n<Tasks>\n";
  const std::string task1 =
      "<Task><UID>1</UID><ID>1</ID><Name>A</Name><OutlineLevel>1</OutlineLevel></Task>\n";
  const std::string tail = "</Tasks>\n</Project>\n";
  struct Case {
    std::string text;
    std::int64_t line;
    std::string description;
  };
  std::string deep = "<Project>";
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  for (int i = 0; i < 100000; ++i) deep += "</a>";
  deep += "</Project>";
  const std::vector<Case> cases = {
      {"", 0, std::string(file_message::kEmptyFile)},
      {"just text", 1, file_message::NotXml("No document element found")},
      {head + task1, 4, file_message::NotXml("Start-end tags mismatch")},
      {head + "<Task><UID>1</UID><Name>A &undefined; B</Name>" + tail, 4,
       file_message::NotXml("Start-end tags mismatch")},
      {"<?xml version=\"1.0\"?>\n<Workbook/>", 2, std::string(file_message::kNotAProject)},
      {head + "<Task><UID>1</UID>\n<Start>15/03/2004</Start></Task>\n" + tail, 5,
       file_message::UnknownDateForm("Start", "15/03/2004")},
      {head + "<Task><UID>1</UID><Start>2004-02-30T08:00:00</Start></Task>\n" + tail, 4,
       file_message::UnknownDateForm("Start", "2004-02-30T08:00:00")},
      {head + "<Task><UID>1</UID><Duration>PT8X</Duration></Task>\n" + tail, 4,
       file_message::UnknownDurationForm("Duration", "PT8X")},
      {head + "<Task><UID>1</UID><Duration>PT99999999999999999999H0M0S</Duration></Task>\n" + tail,
       4, file_message::UnknownDurationForm("Duration", "PT99999999999999999999H0M0S")},
      {head + "<Task><UID>1</UID><Duration>PTnanH0M0S</Duration></Task>\n" + tail, 4,
       file_message::UnknownDurationForm("Duration", "PTnanH0M0S")},
      {head + "<Task><UID>2147483647</UID></Task>\n" + tail, 4,
       file_message::BadNumber("UID", "2147483647")},
      {head + task1 + "<Task><UID>1</UID></Task>\n" + tail, 5, file_message::DuplicateUid(1)},
      {head + "<Task><UID>99999999999999999999</UID></Task>\n" + tail, 4,
       file_message::BadNumber("UID", "99999999999999999999")},
      {head + "<Task><Name>no uid</Name></Task>\n" + tail, 4, file_message::MissingUid()},
      {head + task1 + "<Task><UID>2</UID><PredecessorLink>\n<PredecessorUID>7</PredecessorUID>" +
           "</PredecessorLink></Task>\n" + tail,
       6, file_message::LinkToMissingTask(2, 7)},
      {head + "<Task><UID>1</UID><OutlineLevel>3</OutlineLevel></Task>\n" + tail, 4,
       file_message::BadOutlineLevel(1, 3, 1)},
      {"<?lunavant-table name=\"Entry\"?>\n<?lunavant-column field=\"x\"?>\n" + head + tail, 2,
       file_message::BadTableInstruction("lunavant-column field=\"x\"")},
      {deep, 1, std::string(file_message::kNestedTooDeeply)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 160));
    const ProjectFileError error = ErrorReading(c.text);
    EXPECT_EQ(error.Status(), FileStatus::kMalformed);
    EXPECT_EQ(error.Line(), c.line);
    EXPECT_EQ(error.Description(), c.description);
  }
  EXPECT_EQ(app_.ProjectCount(), 0);
}

TEST_F(ProjectFileTest, TasksWithoutDatesArePlacedByTheirDurationAndSavedSo) {
  // Given a file of another program whose tasks lack a start, a finish or both (two working
  // days each, Monday to Friday 08:00-17:00 by default), expect each placed from the date it
  // has or from the project's start on Monday 1 March 2004, and those dates, not 1970, saved.
  const std::string text =
      "<?xml version=\"1.0\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-01T08:00:00</StartDate><Tasks>"
      "<Task><UID>1</UID><Name>Neither</Name><Duration>PT16H0M0S</Duration></Task>"
      "<Task><UID>2</UID><Name>Start only</Name><Start>2004-03-05T08:00:00</Start>"
      "<Duration>PT16H0M0S</Duration></Task>"
      "<Task><UID>3</UID><Name>Finish only</Name><Finish>2004-03-10T17:00:00</Finish>"
      "<Duration>PT16H0M0S</Duration></Task>"
      "</Tasks></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "other.xml");
  const auto dates = [](Task& task) { return std::pair(task.Start(), task.Finish()); };
  EXPECT_EQ(dates(Row(*pj, 1)), std::pair(MomentOf(2004, 3, 1, 8), MomentOf(2004, 3, 2, 17)));
  EXPECT_EQ(dates(Row(*pj, 2)), std::pair(MomentOf(2004, 3, 5, 8), MomentOf(2004, 3, 8, 17)));
  EXPECT_EQ(dates(Row(*pj, 3)), std::pair(MomentOf(2004, 3, 9, 8), MomentOf(2004, 3, 10, 17)));

  const std::string saved = ProjectFileText(*pj);
  EXPECT_NE(saved.find("<Start>2004-03-01T08:00:00</Start>"), std::string::npos);
  EXPECT_NE(saved.find("<Finish>2004-03-08T17:00:00</Finish>"), std::string::npos);
  EXPECT_EQ(saved.find("1970-"), std::string::npos);
}

TEST_F(ProjectFileTest, ASaveWritesTheScheduleOnlyWhereItChangedSinceOpening) {
  // Given a sample whose late dates the schedule at opening works out otherwise than the file
  // says, expect them shown as scheduled, a save after renaming one task to change its name and
  // nothing else, and a second save to give the first one's file back.
  const fs::path sample = kSamples / "assignment-assignments-project2003-mspdi.xml";
  const std::string original = ReadWholeFile(sample.string());
  ASSERT_NE(original.find("<LateStart>2016-01-04T08:00:00</LateStart>"), std::string::npos);
  std::unique_ptr<Project> pj = ReadProjectFile(app_, sample);
  ASSERT_TRUE(Row(*pj, 2).LateStart());
  EXPECT_NE(*Row(*pj, 2).LateStart(), MomentOf(2016, 1, 4, 8));

  Row(*pj, 2).SetField(field::kName, "Renamed");
  ScratchFolder folder;
  SaveProjectFile(*pj, folder / "once.xml");
  const std::string once = ReadWholeFile((folder / "once.xml").string());
  std::string renamed = original;
  renamed.replace(renamed.find("<Name>Task 2</Name>"), 19, "<Name>Renamed</Name>");
  EXPECT_EQ(XmlLeaves(once), XmlLeaves(renamed));
  SaveProjectFile(*pj, folder / "twice.xml");
  EXPECT_EQ(ReadWholeFile((folder / "twice.xml").string()), once);
}

TEST_F(ProjectFileTest, ReadableFilesOfOtherProgramsOpenAndSaveAsTheyCame) {
  // Given another program's file with units of 0, a project summary row of UID 1, dates with a
  // time-zone designator and "no date" actual dates of 2000-01-01 on unstarted tasks, expect it
  // to open with the default units and a note for each, the clock times as written, no actual
  // dates, and a save with no edit to give the file back byte for byte.
  const fs::path file =
      fs::path(LUNAVANT_SOURCE_DIR) / "tests" / "data" / "mspdi" / "other-writer-settings.xml";
  std::unique_ptr<Project> pj = ReadProjectFile(app_, file);
  EXPECT_EQ(ProjectFileNotes(*pj),
            (std::vector<std::string>{file_message::ZeroUnitTakenAsDefault("MinutesPerDay"),
                                      file_message::ZeroUnitTakenAsDefault("MinutesPerWeek"),
                                      file_message::ZeroUnitTakenAsDefault("DaysPerMonth")}));
  EXPECT_EQ(pj->MinutesPerDay(), 480);
  EXPECT_EQ(pj->SummaryTask().UniqueID(), 1);
  EXPECT_EQ(pj->TaskCount(), 2);
  EXPECT_EQ(Row(*pj, 1).Start(), MomentOf(2024, 3, 4, 8));
  EXPECT_FALSE(Row(*pj, 1).ActualStart());
  EXPECT_FALSE(Row(*pj, 2).ActualFinish());
  std::ifstream in(file, std::ios::binary);
  const std::string original((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(ProjectFileText(*pj), original);
  // A recalculation moves nothing: the dates keep their text, the stored "no dates" stay.
  Schedule(*pj);
  EXPECT_EQ(Row(*pj, 2).Finish(), MomentOf(2024, 3, 7, 17));
  const std::string recalculated = ProjectFileText(*pj);
  EXPECT_NE(recalculated.find("<Start>2024-03-06T08:00:00Z</Start>"), std::string::npos);
  EXPECT_NE(recalculated.find("<ActualStart>2000-01-01T00:00:00</ActualStart>"), std::string::npos);

  // An actual date within the project is one; two tasks of UID 0 are one too many.
  const std::string head =
      "<?xml version=\"1.0\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<StartDate>2004-03-01T08:00:00</StartDate><Tasks>\n";
  std::unique_ptr<Project> started =
      ReadProjectText(app_,
                      head +
                          "<Task><UID>1</UID><Name>A</Name><PercentComplete>0</PercentComplete>"
                          "<ActualStart>2004-03-02T08:00:00</ActualStart></Task></Tasks></Project>",
                      "started.xml");
  EXPECT_EQ(Row(*started, 1).ActualStart(), MomentOf(2004, 3, 2, 8));
  const ProjectFileError twice =
      ErrorReading(head +
                   "<Task><UID>0</UID><OutlineLevel>0</OutlineLevel></Task>\n"
                   "<Task><UID>0</UID><OutlineLevel>1</OutlineLevel></Task></Tasks></Project>");
  EXPECT_EQ(twice.Line(), 4);
  EXPECT_EQ(twice.Description(), file_message::DuplicateUid(0));
}

TEST_F(ProjectFileTest, AManualTasksTextPlaceholdersStayUntilAValueIsTypedOverThem) {
  // Given a manual task whose start is a placeholder text without a date, and one whose finish
  // is, expect a recalculation and a save to keep both texts, and a finish typed over the second
  // to replace its text with the date, in ManualFinish as well.
  const std::string text =
      "<?xml version=\"1.0\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<SaveVersion>14</SaveVersion><StartDate>2004-03-01T08:00:00</StartDate><Tasks>"
      "<Task><UID>1</UID><Name>A</Name><Manual>1</Manual><Duration>PT8H0M0S</Duration>"
      "<StartText>after the permit</StartText></Task>"
      "<Task><UID>2</UID><Name>B</Name><Manual>1</Manual><Start>2004-03-03T08:00:00</Start>"
      "<Finish>2004-03-03T17:00:00</Finish><Duration>PT8H0M0S</Duration>"
      "<FinishText>when the landlord agrees</FinishText></Task></Tasks></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "placeholders.xml");
  Schedule(*pj);
  EXPECT_EQ(Row(*pj, 2).Start(), MomentOf(2004, 3, 3, 8));
  std::string saved = ProjectFileText(*pj);
  EXPECT_NE(saved.find("<StartText>after the permit</StartText>"), std::string::npos);
  EXPECT_NE(saved.find("<FinishText>when the landlord agrees</FinishText>"), std::string::npos);
  Row(*pj, 2).SetField(field::kFinish, "04/03/04");
  Schedule(*pj);
  saved = ProjectFileText(*pj);
  EXPECT_NE(saved.find("<StartText>after the permit</StartText>"), std::string::npos);
  EXPECT_EQ(saved.find("<FinishText>"), std::string::npos);
  EXPECT_NE(saved.find("<ManualFinish>2004-03-04T17:00:00</ManualFinish>"), std::string::npos);
}

TEST_F(ProjectFileTest, AProjectScheduledFromItsFinishStaysSoWithoutAFinishDate) {
  // Given a file scheduled from its finish that gives no FinishDate, expect the latest task
  // finish to stand for it, the tasks to keep their dates on a recalculation, and a save to keep
  // the setting and add no finish date.
  const std::string text =
      "<?xml version=\"1.0\"?>\n<Project xmlns=\"http://schemas.microsoft.com/project\">"
      "<ScheduleFromStart>0</ScheduleFromStart><StartDate>2004-03-01T08:00:00</StartDate><Tasks>"
      "<Task><UID>1</UID><Name>A</Name><Start>2004-03-03T08:00:00</Start>"
      "<Finish>2004-03-04T17:00:00</Finish><Duration>PT16H0M0S</Duration></Task>"
      "<Task><UID>2</UID><Name>B</Name><Start>2004-03-05T08:00:00</Start>"
      "<Finish>2004-03-05T17:00:00</Finish><Duration>PT8H0M0S</Duration><PredecessorLink>"
      "<PredecessorUID>1</PredecessorUID><Type>1</Type></PredecessorLink></Task>"
      "</Tasks></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "late.xml");
  EXPECT_TRUE(pj->ScheduleFromFinish());
  EXPECT_EQ(pj->ProjectFinish(), MomentOf(2004, 3, 5, 17));
  Schedule(*pj);
  EXPECT_EQ(Row(*pj, 1).Start(), MomentOf(2004, 3, 3, 8));
  EXPECT_EQ(Row(*pj, 2).Finish(), MomentOf(2004, 3, 5, 17));
  const std::string saved = ProjectFileText(*pj);
  EXPECT_NE(saved.find("<ScheduleFromStart>0</ScheduleFromStart>"), std::string::npos);
  EXPECT_EQ(saved.find("FinishDate"), std::string::npos);
}

TEST_F(ProjectFileTest, CutAndGarbledFilesOpenOrFailCleanly) {
  // Given a 2003 and a 2007 sample cut short at many places and with bytes overwritten, expect
  // each either to open or to fail with a ProjectFileError, never anything else (the sanitizer
  // build watches for the rest).
  for (const char* name : {"sample.xml", "mspdinulltasks.xml"}) {
    const std::string text = ReadWholeFile((kSamples / name).string());
    int opened = 0, refused = 0;
    for (std::size_t i = 1; i < 160; ++i) {
      const std::size_t at = text.size() * i / 160;
      std::string garbled = text;
      garbled[at] = "<>&\"0x\xFF"[i % 7];
      for (const std::string& variant : {text.substr(0, at), garbled}) {
        try {
          ReadProjectText(app_, variant, name);
          ++opened;
        } catch (const ProjectFileError& error) {
          EXPECT_EQ(error.Status(), FileStatus::kMalformed);
          EXPECT_FALSE(error.Description().empty());
          ++refused;
        }
      }
    }
    EXPECT_GT(refused, 159);  // every cut one at least
    EXPECT_GT(opened, 0);     // a changed value inside an element nobody reads is kept
  }
}

TEST_F(ProjectFileTest, EntityTricksExpandNothing) {
  // Note: the parser never reads a DOCTYPE's entities, so neither an external file nor a
  // billion laughs gets in; the undefined references stay as text.
  const std::string text =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE Project [<!ENTITY x SYSTEM \"file:///etc/passwd\">"
      "<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n"
      "<Project><Tasks><Task><UID>1</UID><Name>&x;&b;</Name></Task></Tasks></Project>";
  std::unique_ptr<Project> pj = ReadProjectText(app_, text, "entities.xml");
  EXPECT_EQ(Row(*pj, 1).Name(), "&x;&b;");
}

TEST_F(ProjectFileTest, TruncatedAndMissingFilesAreToldApart) {
  ScratchFolder folder;
  const std::string sample = ReadWholeFile((kSamples / "sample.xml").string());
  WriteText(folder / "cut.xml", sample.substr(0, sample.size() / 2));
  try {
    ReadProjectFile(app_, folder / "cut.xml");
    ADD_FAILURE() << "a truncated file opened";
  } catch (const ProjectFileError& error) {
    EXPECT_EQ(error.Status(), FileStatus::kMalformed);
    EXPECT_EQ(error.Path(), folder / "cut.xml");
    EXPECT_EQ(error.Line(), 2);  // a 2002 file is its declaration and one line
    EXPECT_EQ(std::string(error.what()).rfind((folder / "cut.xml").string() + ":2: ", 0), 0u);
  }
  try {
    ReadProjectFile(app_, folder / "absent.xml");
    ADD_FAILURE() << "a missing file opened";
  } catch (const ProjectFileError& error) {
    EXPECT_EQ(error.Status(), FileStatus::kNotFound);
    EXPECT_EQ(error.Description(), file_message::kNotFound);
  }
  try {
    ReadProjectFile(app_, folder.Path());
    ADD_FAILURE() << "a folder opened";
  } catch (const ProjectFileError& error) {
    EXPECT_EQ(error.Status(), FileStatus::kUnreadable);
    EXPECT_EQ(error.Description(), file_message::Unreadable("Is a directory"));
  }
}

TEST_F(ProjectFileTest, AFailedSaveLeavesTheFileAsItWasAndSaysWhy) {
  // Note: the tests run as root, for whom a read-only folder is writable; a target replaced by a
  // folder, a vanished folder and a kernel file system refuse root too.
  ScratchFolder folder;
  const fs::path target = folder / "plan.xml";
  std::unique_ptr<Project> pj = ReadProjectFile(app_, kSamples / "sample.xml");
  SaveProjectFile(*pj, target);
  const std::string before = ReadWholeFile(target.string());
  Row(*pj, 1).SetField(field::kName, "Changed");

  struct Case {
    fs::path target;
    std::string description;
  };
  fs::create_directory(folder / "taken.xml");
  WriteText(folder / "taken.xml" / "inside", "kept");
  const std::vector<Case> cases = {
      {folder / "taken.xml", file_message::SaveFailed("replacing", "Is a directory")},
      {folder / "gone" / "plan.xml",
       file_message::SaveFailed("creating a temporary file", "No such file or directory")},
      {"/proc/plan.xml", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target.string());
    try {
      SaveProjectFile(*pj, c.target);
      ADD_FAILURE() << "the save succeeded";
    } catch (const ProjectFileError& error) {
      EXPECT_EQ(error.Status(), FileStatus::kNotSaved);
      if (!c.description.empty()) {
        EXPECT_EQ(error.Description(), c.description);
      }
    }
    EXPECT_FALSE(pj->Saved());
  }
  EXPECT_EQ(ReadWholeFile((folder / "taken.xml" / "inside").string()), "kept");
  EXPECT_EQ(ReadWholeFile(target.string()), before);
  // No temporary file is left behind.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"plan.xml", "taken.xml"}));

  SaveProjectFile(*pj, target);  // the same edit saves once the way is clear
  EXPECT_NE(ReadWholeFile(target.string()).find("<Name>Changed</Name>"), std::string::npos);
  EXPECT_TRUE(pj->Saved());
}

TEST_F(ProjectFileTest, AFileInUtf16IsSavedInUtf16) {
  // Given a sample turned into UTF-16 with a byte-order mark, expect the save to keep encoding
  // and mark, so that the file still says what it is, and an edit to come back.
  const std::string utf8 = ReadWholeFile((kSamples / "task-links-project2003-mspdi.xml").string());
  std::string utf16 = "\xFF\xFE";
  for (char c : utf8) utf16.append({c, '\0'});  // the sample is ASCII
  ScratchFolder folder;
  WriteText(folder / "wide.xml", utf16);
  std::unique_ptr<Project> pj = ReadProjectFile(app_, folder / "wide.xml");
  Row(*pj, 1).SetField(field::kName, "Wide");
  SaveProjectFile(*pj, folder / "wide.xml");
  const std::string saved = ReadWholeFile((folder / "wide.xml").string());
  EXPECT_EQ(saved.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  std::unique_ptr<Project> again = ReadProjectFile(app_, folder / "wide.xml");
  EXPECT_EQ(Row(*again, 1).Name(), "Wide");
  EXPECT_EQ(again->TaskCount(), pj->TaskCount());
}

TEST_F(ProjectFileTest, RecurringCalendarExceptionsBecomeHolidaysAndWorkedDays) {
  // Given the scheduler's recurring exceptions of every kind (each one's last day is the end of
  // its period in the file), expect exactly those days off, and a recurring worked Saturday.
  for (const char* name : {"calendar-recurring-exceptions-project2007-mspdi.xml",
                           "calendar-recurring-exceptions-project2016-mspdi.xml"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<Project> pj = ReadProjectFile(app_, kSamples / name);
    const ProjectCalendar& calendar = pj->Calendar();
    const auto working = [&calendar](int y, int m, int d) {
      return calendar.IsWorkingDay(DaysFromCivil(y, m, d));
    };
    const int holidays[][3] = {
        {2000, 1, 3}, {2000, 2, 4}, {2000, 2, 10}, {2001, 1, 15}, {2001, 2, 13}, {2001, 8, 3},
        {2002, 3, 4}, {2002, 5, 6}, {2002, 10, 8}, {2005, 1, 28}, {2003, 5, 1},  {2005, 2, 4},
        {2007, 3, 6}, {2008, 4, 9}, {2009, 5, 21}, {2007, 2, 1},  {2009, 4, 3}};
    for (const auto& [y, m, d] : holidays)
      EXPECT_FALSE(working(y, m, d)) << y << "-" << m << "-" << d;
    EXPECT_TRUE(working(2010, 3, 6));   // the first Saturday of March, worked
    EXPECT_TRUE(working(2000, 2, 2));   // between two days of every third day
    EXPECT_TRUE(working(2001, 1, 22));  // after the third Monday of three
    EXPECT_TRUE(working(2002, 3, 11));  // a second Monday
  }
}

TEST(AtomicFile, AWriterThatFailsHalfwayLeavesTheOldFile) {
  // Given content that fails after half of it is written (as a full disk would), expect the old
  // file untouched and no temporary file left; then a whole write replaces it.
  ScratchFolder folder;
  const fs::path target = folder / "plan.xml";
  WriteText(target, "old");
  EXPECT_THROW(WriteFileAtomically(target,
                                   [](const ChunkSink& sink) {
                                     sink(std::string(1 << 19, 'x'));
                                     throw std::runtime_error("No space left on device");
                                   }),
               std::runtime_error);
  EXPECT_EQ(ReadWholeFile(target.string()), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
  WriteFileAtomically(target, std::string_view("new"));
  EXPECT_EQ(ReadWholeFile(target.string()), "new");
}

TEST(AtomicFile, ASaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
  // Given plan.xml, a link to a link to projects/real.xml, expect a save through plan.xml to
  // replace real.xml, with both links left as they were and no temporary file anywhere.
  ScratchFolder folder;
  fs::create_directory(folder / "projects");
  WriteText(folder / "projects" / "real.xml", "old");
  fs::create_symlink("projects/real.xml", folder / "middle.xml");
  fs::create_symlink("middle.xml", folder / "plan.xml");
  WriteFileAtomically(folder / "plan.xml", std::string_view("new"));
  EXPECT_EQ(ReadWholeFile((folder / "projects" / "real.xml").string()), "new");
  EXPECT_TRUE(fs::is_symlink(folder / "plan.xml"));
  EXPECT_EQ(fs::read_symlink(folder / "plan.xml"), "middle.xml");
  EXPECT_TRUE(fs::is_symlink(folder / "middle.xml"));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 3);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "projects"), fs::directory_iterator()),
            1);
}

}  // namespace
}  // namespace lunavant::workbench

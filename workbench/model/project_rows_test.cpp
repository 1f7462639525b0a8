// SPDX-License-Identifier: MIT
// Rows edited as a user edits a task sheet, in the model and through a save and a reopening.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/project_file.h"
#include "workbench/model/edit_history.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/task_sort.h"

namespace lunavant::workbench {
namespace {

std::vector<std::string> Names(Project& pj) {
  std::vector<std::string> names;
  for (std::int32_t i = 1; i <= static_cast<std::int32_t>(pj.Rows().size()); ++i) {
    const Task* task = pj.TaskAt(i);
    names.push_back(task == nullptr ? "-"
                                    : task->Name() + "@" + std::to_string(task->OutlineLevel()));
  }
  return names;
}

class ProjectRowsTest : public test_support::WorkbenchTest {};

// Given a phase of two tasks, a blank row and a milestone, expect insertion, indenting,
// outdenting and deletion to keep IDs by place, the outline well formed and links to deleted
// tasks gone; refused moves to change nothing; Undo to bring a deleted phase back whole.
TEST_F(ProjectRowsTest, InsertIndentOutdentAndDeleteKeepTheOutlineWellFormed) {
  Project& pj = Plan()
                    .AddTask("Phase", 1, 1)
                    .AddTask("Dig", 3, 2)
                    .AddTask("Pour", 2, 2)
                    .AddBlankRow()
                    .AddTask("Done", 0, 1)
                    .Link(2, 3)
                    .Link(3, 5)
                    .Build();
  Task& inserted = pj.InsertTask(3, "Survey");
  EXPECT_EQ(Names(pj),
            (std::vector<std::string>{"Phase@1", "Dig@2", "Survey@2", "Pour@2", "-", "Done@1"}));
  EXPECT_EQ(inserted.ID(), 3);
  EXPECT_EQ(pj.TaskAt(6)->Predecessors(), "4");
  // Typing into a blank row makes it a task.
  pj.InsertTask(5, "Cure", 4);
  EXPECT_EQ(pj.Rows().size(), 6u);
  EXPECT_EQ(pj.TaskAt(5)->Name(), "Cure");
  EXPECT_EQ(pj.TaskAt(5)->OutlineLevel(), 1);

  EXPECT_THROW(pj.Indent(*pj.TaskAt(1)), host::HostError);  // nothing above it
  EXPECT_THROW(pj.Indent(*pj.TaskAt(2)), host::HostError);  // two levels below Phase
  pj.Indent(*pj.TaskAt(3));                                 // Survey under Dig
  EXPECT_TRUE(pj.TaskAt(2)->IsSummary());
  pj.Outdent(*pj.TaskAt(2));  // Dig out of Phase, Survey with it
  EXPECT_EQ(Names(pj), (std::vector<std::string>{"Phase@1", "Dig@1", "Survey@2", "Pour@2", "Cure@1",
                                                 "Done@1"}));
  EXPECT_THROW(pj.Outdent(*pj.TaskAt(1)), host::HostError);
  EXPECT_TRUE(pj.RemoveLink(*pj.TaskAt(2), *pj.TaskAt(4)));
  EXPECT_FALSE(pj.RemoveLink(*pj.TaskAt(2), *pj.TaskAt(4)));

  EditHistory history(pj);
  Task* pour = pj.TaskAt(4);
  history.Record("Delete Task", [&] {
    pj.DeleteRow(2);  // Dig with Survey and Pour
    app_.CalculateProject();
  });
  EXPECT_EQ(Names(pj), (std::vector<std::string>{"Phase@1", "Cure@1", "Done@1"}));
  EXPECT_EQ(pj.TaskAt(3)->Predecessors(), "");
  history.Undo();
  EXPECT_EQ(pj.TaskAt(4), pour);
  EXPECT_EQ(pj.TaskAt(6)->Predecessors(), "4");
  EXPECT_EQ(Names(pj), (std::vector<std::string>{"Phase@1", "Dig@1", "Survey@2", "Pour@2", "Cure@1",
                                                 "Done@1"}));
  EXPECT_THROW(pj.DeleteRow(7), host::HostError);
  EXPECT_THROW(pj.InsertTask(0, "x"), host::HostError);
}

// Given the bundled sample opened from its file, expect a task inserted among the rows, a task
// deleted and one indented to be saved in their places with IDs by place, the deleted task's
// element and the links to it gone, and everything else read back as it was.
TEST_F(ProjectRowsTest, RowsInsertedAndDeletedInAnOpenedFileSaveInTheirPlaces) {
  std::string pattern = (std::filesystem::temp_directory_path() / "lunavant-rows-XXXXXX").string();
  const std::filesystem::path folder = ::mkdtemp(pattern.data());
  const std::filesystem::path file = folder / "plan.xml";
  {
    Project& sample = OpenBundledSample(app_);
    SaveProjectFile(sample, file);
  }
  Project& pj = OpenProjectFile(app_, file);
  const std::size_t rows = pj.Rows().size();
  const std::string kept_name = pj.TaskAt(4)->Name();
  const std::string deleted = pj.TaskAt(3)->Name();
  const std::string successor_links = pj.TaskAt(4)->Predecessors();
  ASSERT_EQ(successor_links, "3FS+2d");
  pj.InsertTask(2, "Site visit", 2);
  pj.DeleteRow(4);           // the task that was row 3
  pj.Indent(*pj.TaskAt(3));  // Contract signed under the site visit
  app_.CalculateProject();
  const std::vector<std::string> names = Names(pj);
  SaveProjectFile(pj, file);
  app_.CloseProject(pj);

  Project& back = OpenProjectFile(app_, file);
  EXPECT_EQ(Names(back), names);
  EXPECT_EQ(back.Rows().size(), rows);
  EXPECT_EQ(back.TaskAt(2)->Name(), "Site visit");
  EXPECT_TRUE(back.TaskAt(2)->IsSummary());
  EXPECT_EQ(back.TaskAt(4)->Name(), kept_name);
  EXPECT_EQ(back.TaskAt(4)->Predecessors(), "");
  for (std::int32_t i = 1; i <= static_cast<std::int32_t>(back.Rows().size()); ++i) {
    if (back.TaskAt(i) != nullptr) {
      EXPECT_NE(back.TaskAt(i)->Name(), deleted);
    }
  }
  EXPECT_EQ(back.TaskAt(40)->GetField(field::kStart), pj.TaskAt(40)->GetField(field::kStart));
  std::filesystem::remove_all(folder);
}

// Given a phase of a 10-day and a 9-day task, a blank row, a milestone and a 2-day task, expect a
// sort by Duration to go by value, not text (9 before 10), with the outline kept and the blank
// row last; by Task Name with letter case aside; a field no task has a value in (Actual Start)
// to move nothing and mark nothing changed; Undo of a sort to put every row and ID back.
TEST_F(ProjectRowsTest, SortingKeepsTheOutlineAndPutsBlankRowsAndMissingValuesLast) {
  Project& pj = Plan()
                    .AddTask("Phase", 1, 1)
                    .AddTask("dig", 10, 2)
                    .AddTask("Pour", 9, 2)
                    .AddBlankRow()
                    .AddTask("Done", 0, 1)
                    .AddTask("Clean up", 2, 1)
                    .Build();
  app_.CalculateProject();
  EditHistory history(pj);
  const SortKey by_duration[] = {{field::kDuration, true}};
  history.Record("Sort", [&] { EXPECT_TRUE(SortTasks(pj, by_duration, "/")); });
  EXPECT_EQ(Names(pj),
            (std::vector<std::string>{"Done@1", "Clean up@1", "Phase@1", "Pour@2", "dig@2", "-"}));
  EXPECT_EQ(pj.TaskAt(4)->ID(), 4);
  EXPECT_TRUE(pj.TaskAt(3)->IsSummary());

  const SortKey by_name[] = {{field::kName, true}};
  EXPECT_TRUE(SortTasks(pj, by_name, "/"));
  EXPECT_EQ(Names(pj),
            (std::vector<std::string>{"Clean up@1", "Done@1", "Phase@1", "dig@2", "Pour@2", "-"}));
  const std::uint64_t changes = pj.ChangeCount();
  const SortKey by_actual_start[] = {{field::kActualStart, false}};
  EXPECT_FALSE(SortTasks(pj, by_actual_start, "/"));
  EXPECT_EQ(pj.ChangeCount(), changes);
  // Note: the flat order leaves the outline aside and the blank row out.
  const SortKey by_duration_down[] = {{field::kDuration, false}};
  std::vector<std::string> flat;
  for (std::int32_t position : FlatOrder(pj, by_duration_down, "/")) {
    flat.push_back(pj.TaskAt(position)->Name());
  }
  EXPECT_EQ(flat, (std::vector<std::string>{"Phase", "dig", "Pour", "Clean up", "Done"}));

  const std::vector<std::string> by_name_order = Names(pj);
  EditHistory later(pj);
  later.Record("Sort", [&] { SortTasks(pj, by_duration, "/"); });
  EXPECT_EQ(pj.TaskAt(1)->Name(), "Done");
  ASSERT_TRUE(later.Undo());
  EXPECT_EQ(Names(pj), by_name_order);
  EXPECT_EQ(pj.TaskAt(4)->ID(), 4);
  EXPECT_EQ(pj.TaskAt(4)->Name(), "dig");
}

// Given the sample opened from its file, expect a sort by Start, latest first, with the outline
// kept to save and read back in its new order with every link between the same tasks, every date
// as it was and every subtask under the same summary.
TEST_F(ProjectRowsTest, ASortedSampleSavesAndReadsBackWithItsLinksAndDates) {
  std::string pattern = (std::filesystem::temp_directory_path() / "lunavant-sort-XXXXXX").string();
  const std::filesystem::path folder = ::mkdtemp(pattern.data());
  const std::filesystem::path file = folder / "plan.xml";
  SaveProjectFile(OpenBundledSample(app_), file);
  Project& pj = OpenProjectFile(app_, file);
  app_.CalculateProject();
  // Each task by name: its start, its summary's name and its predecessors' names.
  auto described = [](Project& project) {
    std::map<std::string, std::string> tasks;
    for (const auto& row : project.Rows()) {
      if (!row) continue;
      std::string text = row->GetField(field::kStart) + " under ";
      const auto* parent = static_cast<const Task*>(row->Parent());
      text += parent == nullptr ? "-" : parent->Name();
      for (const Link& link : row->PredecessorLinks()) text += " after " + link.task->Name();
      tasks[row->Name()] = text;
    }
    return tasks;
  };
  const auto before = described(pj);
  const std::vector<std::string> order = Names(pj);
  const SortKey latest_first[] = {{field::kStart, false}};
  ASSERT_TRUE(SortTasks(pj, latest_first, app_.DateSeparator()));
  EXPECT_NE(Names(pj), order);
  const std::vector<std::string> sorted = Names(pj);
  SaveProjectFile(pj, file);
  app_.CloseProject(pj);

  Project& back = OpenProjectFile(app_, file);
  app_.CalculateProject();
  EXPECT_EQ(Names(back), sorted);
  EXPECT_EQ(described(back), before);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace lunavant::workbench

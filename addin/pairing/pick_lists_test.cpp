// SPDX-License-Identifier: MIT
#include "addin/pairing/pick_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addin/host/field_ids.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/addin_fixture.h"
#include "workbench/model/field_catalog.h"
#include "workbench/platform/list_box.h"

namespace lunavant::pairing {
namespace {

using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture
using namespace host::field;             // NOLINT(google-build-using-namespace)
using Strings = std::vector<std::string>;

// "Text<n>" for each n of [from, to].
Strings TextNames(int from, int to) {
  Strings names;
  for (int n = from; n <= to; ++n) names.push_back("Text" + std::to_string(n));
  return names;
}

Strings Without(Strings names, const Strings& left_out) {
  std::erase_if(names, [&](const std::string& name) {
    return std::find(left_out.begin(), left_out.end(), name) != left_out.end();
  });
  return names;
}

class PickListsTest : public AddinTest {
 protected:
  PickListsTest() { InitCatalogues(); }
};

// Add dialog ------------------------------------------------------------------------------------

TEST_F(PickListsTest, DateListOffersTheUnpairedDateColumnsOfTheTable) {
  // Given Entry showing Start and Finish, plus a second Finish and Early Start, with Start paired,
  // expect the names of the other date columns in table order, after what the list held.
  workbench::Project& pj =
      Plan().AddTask("Dig").Column("Entry", kFinish).Column("Entry", kEarlyStart).Build();
  AddPair(kText1, kStart, pj.Index());
  workbench::ListBox dates;
  dates.Append("held");
  FillGregFieldList(dates, "Entry", pj.Index());
  EXPECT_EQ(dates.Entries(), (Strings{"held", "Finish", "Finish", "Early Start"}));

  workbench::ListBox none;
  FillGregFieldList(none, "Work", pj.Index());
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(ErrorOf([&] { FillGregFieldList(none, "Entry", 101); }).number,
            host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { FillGregFieldList(none, "Gantt", 1); }).number, host::kHostFailure);
}

TEST_F(PickListsTest, TextListOffersOnlyFreeTextFieldsOutsideTablesOtherThanExport) {
  // Given a new project, expect all thirty text fields in catalogue order: Text1..Text10 are shown
  // only by Export. Then expect an alias, a formula, a pair, a column of Schedule, or a column of
  // Entry besides Export to keep a field off the list, while a column added to Export does not.
  workbench::Project& pj = Plan().AddTask("Dig").Build();
  workbench::ListBox fresh;
  FillHijriFieldList(fresh, pj.Index());
  EXPECT_EQ(fresh.Entries(), TextNames(1, 30));

  app_.CustomFieldRename(kText3, "Cost centre");
  app_.CustomFieldSetFormula(kText4, "[Name]");
  AddPair(kText5, kStart, pj.Index());
  pj.TaskTable("Schedule").Columns().Add(kText6, 0, 10, "", 0, 0, false);
  pj.TaskTable("Export").Columns().Add(kText11, 0, 10, "", 0, 0, false);
  pj.TaskTable("Export").Columns().Add(kText12, 0, 10, "", 0, 0, false);
  pj.TaskTable("Entry").Columns().Add(kText12, 0, 10, "", 0, 0, false);
  workbench::ListBox texts;
  FillHijriFieldList(texts, pj.Index());
  EXPECT_EQ(texts.Entries(),
            Without(TextNames(1, 30), {"Text3", "Text4", "Text5", "Text6", "Text12"}));
}

TEST_F(PickListsTest, TextListLeavesOutTextFieldsThatHoldTheUsersValues) {
  // Given Text3 holding a note on the second task (a blank row between) and Text4 holding only
  // an empty text, expect Text3 off the list, so that no Hijri column writes over the notes.
  workbench::Project& pj = Plan()
                               .AddTask("Dig")
                               .AddBlankRow()
                               .AddTask("Pour")
                               .Field(3, kText3, "Cost centre 12")
                               .Field(1, kText4, "")
                               .Build();
  workbench::ListBox texts;
  FillHijriFieldList(texts, pj.Index());
  EXPECT_EQ(texts.Entries(), Without(TextNames(1, 30), {"Text3"}));
}

TEST_F(PickListsTest, OnlyATableNamedExactlyExportLeavesItsFieldsFree) {
  // Given the Export table renamed "export", expect its text fields, Text1..Text10, in use.
  workbench::Project& pj = Plan().AddTask("Dig").Build();
  pj.RenameTaskTable("Export", "export");
  workbench::ListBox texts;
  FillHijriFieldList(texts, pj.Index());
  EXPECT_EQ(texts.Entries(), TextNames(11, 30));
}

TEST_F(PickListsTest, AddChoiceGivesIdentifiersAndTheColumnTitle) {
  // Given the picked names, expect their identifiers; an empty title becomes "Hijri" and the
  // host's name of the date field, blank included; a typed title stays; an unknown name fails.
  Plan().AddTask("Dig").Build();
  host::FieldId hijri = 0;
  host::FieldId greg = 0;
  std::string title;
  ChosenGregField() = "Finish";
  ChosenHijriField() = "Text2";
  ResolveAddChoice(hijri, greg, title);
  EXPECT_EQ(hijri, kText2);
  EXPECT_EQ(greg, kFinish);
  EXPECT_EQ(title, "HijriFinish");

  ChosenGregField() = "constraint date";
  ResolveAddChoice(hijri, greg, title);
  EXPECT_EQ(greg, 188743698);
  EXPECT_EQ(title, "HijriConstraint Date");

  ChosenHijriTitle() = "Hijri F";
  ResolveAddChoice(hijri, greg, title);
  EXPECT_EQ(title, "Hijri F");

  ChosenHijriField() = "Txt2";
  EXPECT_EQ(ErrorOf([&] { ResolveAddChoice(hijri, greg, title); }),
            (host::ErrorRecord{host::kHostFailure, "\"Txt2\" is not the name of a task field."}));
}

// Remove dialog ---------------------------------------------------------------------------------

class RemoveListTest : public PickListsTest {
 protected:
  // Entry shows, after its own columns: Text1 "HijriStart" twice, Text2 "HIJRISTART", Text3
  // renamed "My dates", Text4 without alias (all four paired), and Text5 "HijriLateStart" unpaired.
  RemoveListTest() {
    workbench::Project& pj = Plan()
                                 .AddTask("Dig")
                                 .Column("Entry", kText1)
                                 .Column("Entry", kText1)
                                 .Column("Entry", kText2)
                                 .Column("Entry", kText3)
                                 .Column("Entry", kText4)
                                 .Column("Entry", kText5)
                                 .Alias(kText1, "HijriStart")
                                 .Alias(kText2, "HIJRISTART")
                                 .Alias(kText3, "My dates")
                                 .Alias(kText5, "HijriLateStart")
                                 .Build();
    slot_ = pj.Index();
    AddPair(kText1, kStart, slot_);
    AddPair(kText2, kEarlyStart, slot_);
    AddPair(kText3, kFinish, slot_);
    AddPair(kText4, kBaselineStart, slot_);
    FillAssignedHijriList(list_, names_, "Entry", slot_);
  }

  workbench::ListBox list_;
  FieldMap names_;
  ProjectSlot slot_ = 0;
};

TEST_F(RemoveListTest, ListsEachShownNameOnceAndMapsItIgnoringLetterCase) {
  // Expect each paired column once under its shown name, both spellings of "HijriStart" listed,
  // and the map keeping only the first of them.
  EXPECT_EQ(list_.Entries(), (Strings{"HijriStart", "HIJRISTART", "My dates", "Text4"}));
  EXPECT_EQ(names_.Count(), 3);
  EXPECT_EQ(names_.Item("HIJRISTART"), kText1);
  EXPECT_EQ(names_.Item("My dates"), kText3);
  EXPECT_EQ(names_.Item("Text4"), kText4);
}

TEST_F(RemoveListTest, ChoiceResolvesTheListedFieldItNames) {
  // Expect "HijriStart", "HIJRISTART" (Text2's spelling, which the map could not keep), "my
  // dates" (a renamed alias, in other letter case) and "text4" to give their pairs; "hijristart"
  // (two listed fields) and "HijriLateStart" (not listed) to leave the caller's zeros.
  struct Case {
    const char* name;
    host::FieldId hijri;
    host::FieldId greg;
  };
  for (const Case& c :
       {Case{"HijriStart", kText1, kStart}, Case{"my dates", kText3, kFinish},
        Case{"text4", kText4, kBaselineStart}, Case{"HIJRISTART", kText2, kEarlyStart},
        Case{"hijristart", 0, 0}, Case{"HijriLateStart", 0, 0}}) {
    host::FieldId hijri = 0;
    host::FieldId greg = 0;
    std::string picked;
    ChosenHijriField() = c.name;
    ResolveRemoveChoice(list_, names_, slot_, hijri, greg, picked);
    EXPECT_EQ(hijri, c.hijri) << c.name;
    EXPECT_EQ(greg, c.greg) << c.name;
    EXPECT_EQ(picked, c.name);
  }

  // Note: a listed field whose pair went meanwhile fails, and leaves both identifiers zero.
  RemovePair(kText4, kBaselineStart, slot_);
  host::FieldId hijri = 0;
  host::FieldId greg = 0;
  std::string picked;
  ChosenHijriField() = "Text4";
  EXPECT_EQ(ErrorOf([&] { ResolveRemoveChoice(list_, names_, slot_, hijri, greg, picked); }).number,
            host::kInvalidProcedureCall);
  EXPECT_EQ(hijri, 0);
}

}  // namespace
}  // namespace lunavant::pairing

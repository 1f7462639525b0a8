// SPDX-License-Identifier: MIT
#include "addin/pairing/pair_registry.h"

#include <gtest/gtest.h>

#include "addin/base/utilities.h"
#include "addin/host/field_ids.h"

namespace lunavant::pairing {
namespace {

using namespace host::field;  // NOLINT(google-build-using-namespace): fields by name

class PairRegistry : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }
};

TEST_F(PairRegistry, AddingTwiceKeepsOneEntryPerDirection) {
  AddPair(kText1, kStart, 1);
  AddPair(kText1, kStart, 1);
  ASSERT_EQ(HijriToGreg(1).Count(), 1);
  ASSERT_EQ(GregToHijri(1).Count(), 1);
  EXPECT_EQ(HijriToGreg(1).Item("188743731"), kStart);
  EXPECT_EQ(GregToHijri(1).Item("188743715"), kText1);
}

TEST_F(PairRegistry, ASecondTextFieldForOneDateFieldEntersOnlyOneDirection) {
  // Given Text1-Start, expect Text2-Start to enter HijriToGreg only: Start still gives Text1.
  AddPair(kText1, kStart, 1);
  AddPair(kText2, kStart, 1);
  EXPECT_EQ(HijriToGreg(1).Item(base::KeyText(kText2)), kStart);
  EXPECT_EQ(GregToHijri(1).Count(), 1);
  EXPECT_EQ(GregToHijri(1).Item(base::KeyText(kStart)), kText1);
}

TEST_F(PairRegistry, RemovesPresentEntriesAndPassesOverAbsentOnes) {
  AddPair(kText1, kStart, 3);
  AddPair(kText2, kFinish, 3);
  RemovePair(kText1, kFinish, 3);  // Note: a mismatched pair removes each key it finds.
  EXPECT_FALSE(base::CollectionHasKey(base::KeyText(kText1), HijriToGreg(3)));
  EXPECT_FALSE(base::CollectionHasKey(base::KeyText(kFinish), GregToHijri(3)));
  EXPECT_TRUE(base::CollectionHasKey(base::KeyText(kText2), HijriToGreg(3)));
  EXPECT_TRUE(base::CollectionHasKey(base::KeyText(kStart), GregToHijri(3)));
  RemovePair(kText1, kFinish, 3);
  EXPECT_EQ(HijriToGreg(3).Count(), 1);
}

TEST_F(PairRegistry, SlotsAreIndependentAndBoundedByZeroAndOneHundred) {
  // Given slots 0 and 100, expect both to work and the same fields to pair differently in each;
  // slots -1 and 101 fail with 9 before any map changes.
  AddPair(kText1, kStart, 0);
  AddPair(kText1, kFinish, 100);
  EXPECT_EQ(HijriToGreg(0).Item(base::KeyText(kText1)), kStart);
  EXPECT_EQ(HijriToGreg(100).Item(base::KeyText(kText1)), kFinish);
  for (std::int64_t bad_slot : {std::int64_t{-1}, std::int64_t{101}}) {
    try {
      AddPair(kText2, kStart, static_cast<ProjectSlot>(bad_slot));
      FAIL() << "slot " << bad_slot;
    } catch (const host::HostError& e) {
      EXPECT_EQ(e.record().number, host::kSubscriptOutOfRange);
    }
    EXPECT_THROW(ClearSlot(bad_slot), host::HostError);
  }
  EXPECT_EQ(HijriToGreg(0).Count(), 1);
  EXPECT_EQ(HijriToGreg(100).Count(), 1);
}

TEST_F(PairRegistry, ClearSlotEmptiesBothMapsOfThatSlotOnly) {
  AddPair(kText1, kStart, 2);
  AddPair(kText2, kFinish, 2);
  AddPair(kText1, kStart, 5);
  ClearSlot(std::int16_t{2});
  EXPECT_EQ(HijriToGreg(2).Count(), 0);
  EXPECT_EQ(GregToHijri(2).Count(), 0);
  EXPECT_EQ(GregToHijri(5).Count(), 1);
  ClearSlot(7);  // never used: two empty maps, no failure
  EXPECT_EQ(HijriToGreg(7).Count(), 0);
}

TEST_F(PairRegistry, ResetGivesTheStateOfAFreshProcess) {
  AddPair(kText1, kStart, 4);
  SetForceRefresh(true);
  ChosenHijriTitle() = "typed";
  ResetProcessState();
  EXPECT_EQ(HijriToGreg(4).Count(), 0);
  EXPECT_FALSE(ForceRefresh());
  EXPECT_EQ(ChosenHijriTitle(), "");
}

}  // namespace
}  // namespace lunavant::pairing

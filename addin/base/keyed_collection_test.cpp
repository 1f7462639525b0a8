// SPDX-License-Identifier: MIT
#include "addin/base/keyed_collection.h"

#include <gtest/gtest.h>

#include "addin/base/utilities.h"

namespace lunavant::base {
namespace {

std::int32_t ErrorNumberOf(auto&& call) {
  try {
    call();
  } catch (const host::HostError& e) {
    return e.record().number;
  }
  return 0;
}

TEST(KeyedCollection, MatchesKeysWithoutRegardToLetterCase) {
  // Given an item under "HijriStart", expect every spelling of the key to find it and to count as
  // present, while a different key is absent.
  KeyedCollection<std::int32_t> index;
  index.Add(188743715, "HijriStart");
  EXPECT_EQ(index.Item("hijristart"), 188743715);
  EXPECT_EQ(index.Item("HIJRISTART"), 188743715);
  EXPECT_TRUE(CollectionHasKey("hIjRiStArT", index));
  EXPECT_FALSE(CollectionHasKey("HijriStar", index));
}

TEST(KeyedCollection, RefusesDuplicateKeysAndAbsentKeys) {
  // Given a key already present in another letter case, expect the add to fail with 457 and leave
  // the collection as it was; fetching or removing an absent key fails with 5.
  KeyedCollection<std::string> names;
  names.Add("Sun", "0");
  names.Add("Mon", "day");
  EXPECT_EQ(ErrorNumberOf([&] { names.Add("Tue", "DAY"); }), host::kKeyAlreadyAssociated);
  EXPECT_EQ(names.Count(), 2);
  EXPECT_EQ(names.Item("day"), "Mon");
  EXPECT_EQ(ErrorNumberOf([&] { names.Item("7"); }), host::kInvalidProcedureCall);
  EXPECT_EQ(ErrorNumberOf([&] { names.Remove("7"); }), host::kInvalidProcedureCall);
  EXPECT_EQ(names.Count(), 2);
}

TEST(KeyedCollection, KeepsInsertionOrderAndRemovesByPositionFromOne) {
  // Given four entries, one without a key, expect positions 1..4 in insertion order, removal by
  // position and by key to close the gap, and positions 0 and Count()+1 to fail with 9.
  KeyedCollection<std::int32_t> items;
  items.Add(10, "a");
  items.Add(20);
  items.Add(30, "c");
  items.Add(40, "d");
  EXPECT_EQ(items.Item(1), 10);
  EXPECT_EQ(items.Item(2), 20);
  EXPECT_EQ(items.Item(4), 40);
  EXPECT_EQ(ErrorNumberOf([&] { items.Item(0); }), host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { items.Item(5); }), host::kSubscriptOutOfRange);

  items.Remove(2);
  EXPECT_EQ(items.Item(2), 30);
  items.Remove("C");
  EXPECT_EQ(items.Count(), 2);
  EXPECT_EQ(items.Item(2), 40);
  EXPECT_FALSE(CollectionHasKey("c", items));
  // Note: a removed key may be added again.
  items.Add(50, "c");
  EXPECT_EQ(items.Item(3), 50);
}

TEST(KeyedCollection, FindsAnEmptyTextItemAsPresent) {
  // Given a key whose item is the empty text, expect CollectionHasKey to call it present.
  KeyedCollection<std::string> names;
  EXPECT_FALSE(CollectionHasKey("x", names));
  names.Add("", "x");
  EXPECT_TRUE(CollectionHasKey("x", names));
}

TEST(ArrayContains, ComparesWholeElementsExactly) {
  // Given number and text lists, expect a number and its decimal text to be the same member, no
  // partial match inside an element, and letter case to matter.
  const std::vector<std::int32_t> numbers = {188743715, 188743698};
  EXPECT_TRUE(ArrayContains(188743698, numbers));
  EXPECT_TRUE(ArrayContains("188743715", numbers));
  EXPECT_FALSE(ArrayContains(18874371, numbers));
  EXPECT_FALSE(ArrayContains("8743715", numbers));

  const std::vector<std::string> titles = {"HijriStart", "HijriFinish"};
  EXPECT_TRUE(ArrayContains("HijriStart", titles));
  EXPECT_FALSE(ArrayContains("hijristart", titles));
  EXPECT_FALSE(ArrayContains("Hijri", titles));
  EXPECT_FALSE(ArrayContains("", titles));
  EXPECT_TRUE(ArrayContains(188743715, std::vector<std::string>{"188743715"}));
}

TEST(ArrayContains, FindsTheEmptyTextOnlyWhereAnElementIsEmptyOrTheListIs) {
  // Note: the empty text is found in a list with an empty element, and in an empty list.
  EXPECT_TRUE(ArrayContains("", std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(ArrayContains("", std::vector<std::string>{}));
  EXPECT_FALSE(ArrayContains("a", std::vector<std::string>{}));
}

}  // namespace
}  // namespace lunavant::base

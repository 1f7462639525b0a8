// SPDX-License-Identifier: MIT
#include "cli/text_grid.h"

#include <gtest/gtest.h>

#include "cli/project_commands.h"

namespace lunavant::cli {
namespace {

TEST(DisplayWidth, CountsTheColumnsATerminalDraws) {
  EXPECT_EQ(DisplayWidth(""), 0);
  EXPECT_EQ(DisplayWidth("02/09/1446"), 10);
  // Arabic letters take one column each; their vowel marks none.
  EXPECT_EQ(DisplayWidth("عقد"), 3);
  EXPECT_EQ(DisplayWidth("عَقْد"), 3);
  // East Asian wide characters and emoji take two.
  EXPECT_EQ(DisplayWidth("启动会议"), 8);
  EXPECT_EQ(DisplayWidth("A😀"), 3);
  // Direction isolates and a joiner take none.
  EXPECT_EQ(DisplayWidth("\u2068x\u2069\u200d"), 1);
  // Note: broken UTF-8 counts one column per stray byte, as a terminal draws a replacement.
  EXPECT_EQ(DisplayWidth("\xC3(\xE2\x82"), 4);
  EXPECT_EQ(DisplayWidth("\xED\xA0\x80"), 3);  // a surrogate is malformed too
}

TEST(TextGrid, AlignsCellsByDisplayWidth) {
  TextGrid grid(
      {{"ID", Align::kRight, Align::kRight}, {"Name"}, {"Hijri", Align::kCenter, Align::kCenter}});
  grid.AddRow({"1", "启动", "02/09/1446"});
  grid.AddRow({"12", "عقد\nجديد", "NA"});
  grid.AddRow({"3"});
  EXPECT_EQ(grid.Render(),
            "ID  Name        Hijri\n"
            "--  --------  ----------\n"
            " 1  启动      02/09/1446\n"
            "12  \u2068عقد جديد\u2069      NA\n"
            " 3\n");
}

TEST(TextGrid, WritesJsonStrings) {
  EXPECT_EQ(JsonString("a\"b\\c\n\x01ع"), "\"a\\\"b\\\\c\\n\\u0001ع\"");
  // A byte that is not UTF-8 would make the document unreadable.
  EXPECT_EQ(JsonString("a\xFF\uFFFD"), "\"a\\ufffd\uFFFD\"");
}

TEST(TaskRanges, ReadsIdsAndRanges) {
  using Ranges = std::vector<std::pair<std::int32_t, std::int32_t>>;
  EXPECT_EQ(ParseTaskRanges("5"), (Ranges{{5, 5}}));
  EXPECT_EQ(ParseTaskRanges("1-3,8,20-"), (Ranges{{1, 3}, {8, 8}, {20, 2147483647}}));
  EXPECT_EQ(ParseTaskRanges("-4"), (Ranges{{0, 4}}));
  for (const char* bad : {"", "-", "3-1", "1,,2", "x", "1-2-3", "+1", " 1"}) {
    EXPECT_FALSE(ParseTaskRanges(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace lunavant::cli

// SPDX-License-Identifier: MIT
#include "workbench/files/task_spans.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lunavant::workbench::detail {
namespace {

std::vector<std::string> ElementsOf(const std::string& text, const TaskSpans& spans) {
  std::vector<std::string> out;
  for (const TaskSpan& span : spans.tasks) {
    out.push_back(text.substr(span.element, span.end - span.element));
  }
  return out;
}

TEST(TaskSpans, FindsTheRootsTasksThroughMarkupThatLooksLikeTags) {
  // Given task elements behind a document type declaration with an internal subset, comments,
  // CDATA, processing instructions and quoted '>' that all mention Task tags, and a Tasks
  // element elsewhere in the tree, expect exactly the root's task elements, and rows that begin
  // where the previous one ended.
  const std::string text =
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE Project [<!ENTITY t \"<Tasks>]>\"><!-- ]> <Tasks> -->]>\n"
      "<Project a=\"<Tasks>\">\n"
      "  <Resources><Resource><Tasks><Task/></Tasks></Resource></Resources>\n"
      "  <Tasks>\n"
      "    <Task><UID>0</UID><Name><![CDATA[</Task></Tasks>]]></Name></Task>\n"
      "    <!-- <Task> </Tasks> -->\n"
      "    <?note </Task>?>\n"
      "    <Task note='a>b'><UID>1</UID><Task><UID>9</UID></Task></Task>\n"
      "    <Task/>\n"
      "  </Tasks >\n"
      "  <Tasks><Task><UID>5</UID></Task></Tasks>\n"
      "</Project>\n";
  const std::optional<TaskSpans> spans = FindTaskSpans(text);
  ASSERT_TRUE(spans);
  ASSERT_TRUE(spans->has_tasks);
  EXPECT_EQ(ElementsOf(text, *spans),
            (std::vector<std::string>{
                "<Task><UID>0</UID><Name><![CDATA[</Task></Tasks>]]></Name></Task>",
                "<Task note='a>b'><UID>1</UID><Task><UID>9</UID></Task></Task>", "<Task/>"}));
  EXPECT_EQ(text.substr(spans->tasks[1].begin, spans->tasks[1].element - spans->tasks[1].begin),
            "\n    <!-- <Task> </Tasks> -->\n    <?note </Task>?>\n    ");
  EXPECT_EQ(spans->tasks[0].begin, spans->content_begin);
  EXPECT_EQ(text.substr(spans->tasks[2].end, spans->content_end - spans->tasks[2].end), "\n  ");
  EXPECT_EQ(text.substr(spans->content_end, 9), "</Tasks >");
}

TEST(TaskSpans, ADocumentWithoutTasksOrWithAnEmptyTasksElement) {
  const std::string none = "<Project><Name>x</Name></Project>";
  ASSERT_TRUE(FindTaskSpans(none));
  EXPECT_FALSE(FindTaskSpans(none)->has_tasks);

  const std::string empty = "<Project><Tasks/><Name>x</Name></Project>";
  const std::optional<TaskSpans> spans = FindTaskSpans(empty);
  ASSERT_TRUE(spans);
  EXPECT_TRUE(spans->has_tasks);
  EXPECT_EQ(spans->content_begin, spans->content_end);
  EXPECT_EQ(empty.substr(spans->content_begin), "<Name>x</Name></Project>");
  EXPECT_TRUE(spans->tasks.empty());
}

TEST(TaskSpans, APlainTaskEndsAtItsFirstCloseTagAndTheRestAreFollowedTagByTag) {
  // Given plain task elements, one with tags inside that do not nest, and task elements whose
  // content holds a quote, a comment or a Task of its own, expect each ended where its own
  // </Task> stands.
  // Note: the tags that do not nest are the reading parser's to report, with their place.
  const std::string text =
      "<Project><Tasks>"
      "<Task><UID>1</UID><TaskMode>x</TaskMode></Task >"
      "<Task><UID>2</Name></Task>"
      "<Task><Name a='</Task>'>Client's</Name></Task>"
      "<Task><!-- </Task> --><UID>4</UID></Task>"
      "<Task><Task><UID>5</UID></Task></Task>"
      "</Tasks></Project>";
  const std::optional<TaskSpans> spans = FindTaskSpans(text);
  ASSERT_TRUE(spans);
  EXPECT_EQ(
      ElementsOf(text, *spans),
      (std::vector<std::string>{
          "<Task><UID>1</UID><TaskMode>x</TaskMode></Task >", "<Task><UID>2</Name></Task>",
          "<Task><Name a='</Task>'>Client's</Name></Task>",
          "<Task><!-- </Task> --><UID>4</UID></Task>", "<Task><Task><UID>5</UID></Task></Task>"}));
}

TEST(TaskSpans, MarkupThatCannotBeFollowedGivesNothing) {
  for (const std::string text : {
           "<Project><Tasks><Task><UID>1</UID></Tasks></Project>",   // tags that do not nest
           "<Project><Tasks><Task><!-- open",                        // a comment left open
           "<Project><Tasks><Task a=\"1></Task></Tasks></Project>",  // a value left open
           "<Project><Tasks><Task><UID>1</UID></Task>",              // cut short
           "<Project><Tasks>< Task/></Tasks></Project>",             // no name
       }) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(FindTaskSpans(text));
  }
}

}  // namespace
}  // namespace lunavant::workbench::detail

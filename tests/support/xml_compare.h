// SPDX-License-Identifier: MIT
// Comparing XML documents element by element: each document becomes the list of its leaves, one
// line per text value and attribute with the path of elements to it, in document order.
//
//   EXPECT_EQ(XmlLeaves(saved), XmlLeaves(original));            // nothing lost, nothing moved
//   XmlChanges changes = CompareXml(original, saved);           // what an edit changed
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lunavant::test_support {

// "/Project/Tasks/Task[3]/Start=2004-03-15T08:00:00"; [n] counts elements of that name among
// their siblings from 1. Processing instructions show as "/?target=value". Whitespace-only text
// is left out. A document that is not well-formed gives one line "malformed: <description>".
std::vector<std::string> XmlLeaves(std::string_view document);

// The lines only the first document has, and those only the second has, each in document order.
struct XmlChanges {
  std::vector<std::string> removed;
  std::vector<std::string> added;
};
XmlChanges CompareXml(std::string_view before, std::string_view after);

// The whole file as text; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace lunavant::test_support

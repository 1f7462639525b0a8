// SPDX-License-Identifier: MIT
// Where the task elements of an MSPDI document lie in its text, found without building a tree.
//
// Tasks are most of a project file. Keeping each as the span of the file's text it came from,
// rather than as parsed nodes, lets the workbench hold a large project in little more than the
// file's own size, and write an unchanged task back byte for byte.
//
// The scan follows the markup (comments, CDATA sections, processing instructions, the document
// type declaration, quoted attribute values) as far as the end of the root's first Tasks element
// and checks that its tags nest; whether what lies between is well-formed XML is for the parser
// that reads each piece to say. A task element of plain content (no comment, CDATA section,
// processing instruction, quote or Task element inside) ends at its first </Task> without its
// tags being followed: most task elements are plain, and their parser checks them anyway.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace lunavant::workbench::detail {

struct TaskSpan {
  std::size_t begin;    // where the row's text starts: right after the previous task element
  std::size_t element;  // the '<' of its <Task>
  std::size_t end;      // just past its </Task>
};

struct TaskSpans {
  // Whether the root element has a Tasks child, and the text between its tags. A Tasks element
  // written as an empty-element tag has no content: content_begin == content_end.
  bool has_tasks = false;
  std::size_t content_begin = 0;
  std::size_t content_end = 0;
  std::vector<TaskSpan> tasks;  // the Task children, in order
};

// Nullopt when the markup cannot be followed to the end of the Tasks element: a construct left
// open, tags that do not nest, text that is not markup where markup must be. `text` is UTF-8.
std::optional<TaskSpans> FindTaskSpans(std::string_view text);

}  // namespace lunavant::workbench::detail

// SPDX-License-Identifier: MIT
// Reading and writing the elements of an MSPDI document's tree: failures placed in the file,
// values read strictly, children set in the schema's order. Shared by the readers and the saver
// of project files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <span>
#include <string>
#include <string_view>

#include "workbench/schedule/calendar.h"

namespace lunavant::workbench::detail {

// Deeper than any project file nests (Project/Assignments/Assignment/TimephasedData/... is 5).
inline constexpr int kMaxDepth = 64;

// Text-only elements, most of a project file, keep their text in the element itself.
inline constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration |
                                          pugi::parse_pi | pugi::parse_comments |
                                          pugi::parse_doctype | pugi::parse_embed_pcdata;

// A failure with its place in the document, turned into a line once the text is at hand.
struct LoadFailure {
  std::ptrdiff_t offset;
  std::string description;
  bool in_text = false;  // the offset is in the file's text, not in the tree without the tasks
};

// A failure inside a piece of the text that starts at `within`, placed in the whole text.
// Rethrows the failure being handled.
[[noreturn]] void RethrowWithin(LoadFailure& failure, std::ptrdiff_t within);

[[noreturn]] void Fail(pugi::xml_node at, std::string description);

inline std::string_view TextOf(pugi::xml_node node) { return node.child_value(); }

// An element's value, or a LoadFailure at the element.
std::int64_t WholeNumber(pugi::xml_node node, std::int64_t low, std::int64_t high);
Moment DateOf(pugi::xml_node node);
std::int64_t DurationOf(pugi::xml_node node);

// Fails when the tree nests deeper than `deepest`.
void CheckDepth(const pugi::xml_document& doc, int deepest = kMaxDepth);

// Schema order: inserts `name` before the first child that the schema puts after it; a kind that
// repeats goes after the last of its kind.
pugi::xml_node InsertOrdered(pugi::xml_node parent, std::string_view name,
                             std::span<const std::string_view> order);
void SetChild(pugi::xml_node parent, std::string_view name, const std::string& value,
              std::span<const std::string_view> order);

struct StringWriter final : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

}  // namespace lunavant::workbench::detail

// SPDX-License-Identifier: MIT
#include "tests/support/xml_compare.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <sstream>
#include <utility>

namespace lunavant::test_support {

std::vector<std::string> XmlLeaves(std::string_view document) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(document.data(), document.size(), pugi::parse_default | pugi::parse_pi);
  if (!parsed) return {std::string("malformed: ") + parsed.description()};
  std::vector<std::string> out;
  // An explicit stack: a test document may nest deeper than a recursion should go.
  std::vector<std::pair<pugi::xml_node, std::string>> stack{{doc, ""}};
  while (!stack.empty()) {
    auto [node, path] = std::move(stack.back());
    stack.pop_back();
    std::map<std::string, int> seen;
    std::vector<std::pair<pugi::xml_node, std::string>> children;
    for (pugi::xml_node child : node.children()) {
      if (child.type() == pugi::node_pi) {
        out.push_back(path + "/?" + child.name() + "=" + child.value());
      } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
        const std::string_view text = child.value();
        if (text.find_first_not_of(" \t\r\n") != std::string_view::npos) {
          out.push_back(path + "=" + std::string(text));
        }
      } else if (child.type() == pugi::node_element) {
        const std::string name = child.name();
        const std::string child_path = path + "/" + name + "[" + std::to_string(++seen[name]) + "]";
        for (pugi::xml_attribute a : child.attributes()) {
          out.push_back(child_path + "@" + a.name() + "=" + a.value());
        }
        children.emplace_back(child, child_path);
      }
    }
    // Children are visited in document order: pushed last first.
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(*it);
  }
  return out;
}

XmlChanges CompareXml(std::string_view before, std::string_view after) {
  const std::vector<std::string> a = XmlLeaves(before);
  const std::vector<std::string> b = XmlLeaves(after);
  std::multiset<std::string> in_a(a.begin(), a.end()), in_b(b.begin(), b.end());
  XmlChanges changes;
  for (const std::string& line : a) {
    const auto found = in_b.find(line);
    if (found == in_b.end()) {
      changes.removed.push_back(line);
    } else {
      in_b.erase(found);
    }
  }
  for (const std::string& line : b) {
    const auto found = in_a.find(line);
    if (found == in_a.end()) {
      changes.added.push_back(line);
    } else {
      in_a.erase(found);
    }
  }
  return changes;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace lunavant::test_support

// SPDX-License-Identifier: MIT
#include "workbench/files/mspdi_tree.h"

#include <algorithm>
#include <utility>

#include "workbench/files/messages.h"
#include "workbench/files/mspdi_values.h"

namespace lunavant::workbench::detail {

void RethrowWithin(LoadFailure& failure, std::ptrdiff_t within) {
  if (failure.offset >= 0 && !failure.in_text) failure.offset += within;
  failure.in_text = true;
  throw;
}

void Fail(pugi::xml_node at, std::string description) {
  throw LoadFailure{at ? at.offset_debug() : -1, std::move(description)};
}

std::int64_t WholeNumber(pugi::xml_node node, std::int64_t low, std::int64_t high) {
  const auto value = ReadWholeNumber(TextOf(node), low, high);
  if (!value) Fail(node, file_message::BadNumber(node.name(), TextOf(node)));
  return *value;
}

Moment DateOf(pugi::xml_node node) {
  const auto value = ReadMspdiDate(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDateForm(node.name(), TextOf(node)));
  return *value;
}

std::int64_t DurationOf(pugi::xml_node node) {
  const auto value = ReadMspdiDuration(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDurationForm(node.name(), TextOf(node)));
  return *value;
}

void CheckDepth(const pugi::xml_document& doc, int deepest) {
  struct Walker : pugi::xml_tree_walker {
    explicit Walker(int deepest) : limit(deepest) {}
    int limit;
    pugi::xml_node too_deep;
    bool for_each(pugi::xml_node& node) override {
      if (depth() < limit) return true;
      too_deep = node;
      return false;
    }
  } walker(deepest);
  const_cast<pugi::xml_document&>(doc).traverse(walker);
  if (walker.too_deep) Fail(walker.too_deep, std::string(file_message::kNestedTooDeeply));
}

pugi::xml_node InsertOrdered(pugi::xml_node parent, std::string_view name,
                             std::span<const std::string_view> order) {
  const auto rank = [&order](std::string_view n) -> std::ptrdiff_t {
    const auto at = std::find(order.begin(), order.end(), n);
    return at == order.end() ? -1 : at - order.begin();
  };
  const std::ptrdiff_t mine = rank(name);
  pugi::xml_node last_same;
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && name == c.name()) last_same = c;
  }
  const std::string owned(name);
  if (last_same) return parent.insert_child_after(owned.c_str(), last_same);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::ptrdiff_t theirs = rank(c.name());
    if (mine >= 0 && theirs > mine) return parent.insert_child_before(owned.c_str(), c);
  }
  return parent.append_child(owned.c_str());
}

void SetChild(pugi::xml_node parent, std::string_view name, const std::string& value,
              std::span<const std::string_view> order) {
  pugi::xml_node child = parent.child(std::string(name).c_str());
  if (!child) child = InsertOrdered(parent, name, order);
  child.text().set(value.c_str());
}

}  // namespace lunavant::workbench::detail

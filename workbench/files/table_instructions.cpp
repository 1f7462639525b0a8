// SPDX-License-Identifier: MIT
#include "workbench/files/table_instructions.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "addin/host/object_model.h"
#include "workbench/files/messages.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/table.h"

namespace lunavant::workbench::detail {

namespace {

constexpr const char* kTablePi = "lunavant-table";
constexpr const char* kColumnPi = "lunavant-column";
constexpr const char* kCurrentTablePi = "lunavant-current-table";

std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    if (text.front() != '&') {
      out += text.front();
      text.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (const auto& [entity, c] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                    {"&quot;", '"'},
                                    {"&lt;", '<'},
                                    {"&gt;", '>'}}) {
      if (text.substr(0, entity.size()) == entity) {
        out += c;
        text.remove_prefix(entity.size());
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

// `key="value" key="value"` into pairs; nullopt when the text has another form.
std::optional<Pairs> ReadPairs(std::string_view text) {
  Pairs pairs;
  while (true) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return pairs;
    const std::size_t equals = text.find("=\"");
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    const std::size_t close = text.find('"', equals + 2);
    if (close == std::string_view::npos) return std::nullopt;
    auto value = Unescape(text.substr(equals + 2, close - equals - 2));
    if (!value) return std::nullopt;
    pairs.emplace_back(std::string(text.substr(0, equals)), std::move(*value));
    text.remove_prefix(close + 1);
  }
}

struct Instruction {
  std::string target;
  std::string value;
};

std::vector<Instruction> TableInstructions(Project& project) {
  std::vector<Instruction> out;
  for (std::int32_t t = 1; t <= project.TaskTableCount(); ++t) {
    Table& table = project.TaskTable(t);
    out.push_back({kTablePi, "name=\"" + Escape(table.Name()) + "\""});
    for (std::int32_t c = 1; c <= table.Columns().Count(); ++c) {
      const Column& column = table.Columns().Item(c);
      out.push_back({kColumnPi, "field=\"" + std::to_string(column.Field()) + "\" title=\"" +
                                    Escape(column.Title()) + "\" width=\"" +
                                    std::to_string(column.Width()) + "\" align=\"" +
                                    std::to_string(column.DataAlignment()) + "\" title-align=\"" +
                                    std::to_string(column.TitleAlignment()) + "\" wrap=\"" +
                                    (column.Wrap() ? "1" : "0") + "\""});
    }
  }
  out.push_back({kCurrentTablePi, "name=\"" + Escape(project.CurrentTable()) + "\""});
  return out;
}

std::string Joined(const std::vector<Instruction>& instructions) {
  std::string out;
  for (const Instruction& i : instructions)
    out.append(i.target).append(" ").append(i.value) += '\n';
  return out;
}

std::string InstructionText(pugi::xml_node node) {
  return std::string(node.name()).append(" ").append(node.value());
}

bool IsTablePi(pugi::xml_node node) {
  if (node.type() != pugi::node_pi) return false;
  const std::string_view name = node.name();
  return name == kTablePi || name == kColumnPi || name == kCurrentTablePi;
}

std::int32_t NumberPair(const Pairs& pairs, std::string_view key, pugi::xml_node at,
                        std::int64_t low, std::int64_t high) {
  for (const auto& [k, v] : pairs) {
    if (k == key) {
      const auto value = ReadWholeNumber(v, low, high);
      if (!value) break;
      return static_cast<std::int32_t>(*value);
    }
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

std::string TextPair(const Pairs& pairs, std::string_view key, pugi::xml_node at) {
  for (const auto& [k, v] : pairs) {
    if (k == key) return v;
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

}  // namespace

std::string TablesText(Project& project) { return Joined(TableInstructions(project)); }

std::string DefaultTablesText(Application& app) {
  Project fresh(app, "");
  return TablesText(fresh);
}

bool ReadTables(const pugi::xml_document& doc, Project& project) {
  bool had_tables = false;
  std::vector<std::unique_ptr<Table>> tables;
  std::optional<std::string> current;
  Project* owner = &project;
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (!IsTablePi(node)) continue;
    had_tables = true;
    const auto pairs = ReadPairs(node.value());
    if (!pairs) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
    const std::string_view target = node.name();
    if (target == kTablePi) {
      tables.push_back(std::make_unique<Table>(TextPair(*pairs, "name", node),
                                               [owner] { owner->MarkChanged(); }));
    } else if (target == kColumnPi) {
      if (tables.empty()) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      const host::FieldId field = NumberPair(*pairs, "field", node, 0, kMaxUid);
      if (field != 0 && FindField(field) == nullptr) {
        Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      }
      tables.back()->Columns().Append(Column(
          field, TextPair(*pairs, "title", node), NumberPair(*pairs, "width", node, 0, 1000),
          NumberPair(*pairs, "align", node, 0, 2), NumberPair(*pairs, "title-align", node, 0, 2),
          NumberPair(*pairs, "wrap", node, 0, 1) != 0));
    } else {
      current = TextPair(*pairs, "name", node);
    }
  }
  project.LoadTables(std::move(tables), current);
  return had_tables;
}

void WriteTables(pugi::xml_document& doc, pugi::xml_node root, Project& project) {
  for (pugi::xml_node node = doc.first_child(); node;) {
    pugi::xml_node next = node.next_sibling();
    if (IsTablePi(node)) doc.remove_child(node);
    node = next;
  }
  for (const Instruction& i : TableInstructions(project)) {
    pugi::xml_node pi = doc.insert_child_before(pugi::node_pi, root);
    pi.set_name(i.target.c_str());
    pi.set_value(i.value.c_str());
  }
}

}  // namespace lunavant::workbench::detail

// SPDX-License-Identifier: MIT
#include "windows/automation/tests/scenario.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace lunavant::windows::testing {
namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// "head = tail": the words before the " = " and the text after it.
bool SplitAtEquals(const std::string& line, std::string& head, std::string& tail) {
  const std::size_t at = line.find(" = ");
  if (at == std::string::npos) return false;
  head = line.substr(0, at);
  tail = line.substr(at + 3);
  return true;
}

int LinkTypeOf(const std::string& name) {
  if (name == "FF") return 0;
  if (name == "FS") return 1;
  if (name == "SF") return 2;
  if (name == "SS") return 3;
  return -1;
}

}  // namespace

std::string ScenarioLocale(std::string_view scenario) {
  std::istringstream lines{std::string(scenario)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string verb, locale;
    if (words >> verb >> locale && verb == "locale") return locale;
  }
  return {};
}

std::vector<std::string> RunScenario(std::string_view scenario, ScenarioHost& host) {
  std::vector<std::string> problems;
  std::istringstream lines{std::string(scenario)};
  std::string raw;
  int number = 0;
  while (std::getline(lines, raw)) {
    ++number;
    const std::string line = Trimmed(raw);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = "line " + std::to_string(number) + " (" + line + "): ";
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    std::string head, tail;
    const bool has_value = SplitAtEquals(line, head, tail);
    std::istringstream head_words(head);
    std::string skip;
    head_words >> skip;
    int id = 0;
    std::string field;
    if (verb == "locale") continue;
    try {
      if (verb == "new") {
        host.NewProject();
      } else if (verb == "project-start") {
        int year = 0, month = 0, day = 0, hour = 0, minute = 0;
        std::string when = line.substr(verb.size());
        if (std::sscanf(when.c_str(), " %d-%d-%d %d:%d", &year, &month, &day, &hour, &minute) !=
            5) {
          problems.push_back(where + "unreadable date");
          continue;
        }
        host.SetProjectStart(year, month, day, hour, minute);
      } else if (verb == "task" && has_value) {
        host.AddTask(Trimmed(head.substr(verb.size())), tail);
      } else if (verb == "link") {
        int from = 0, to = 0, lag = 0;
        std::string arrow, type;
        if (!(words >> from >> arrow >> to >> type >> lag) || arrow != "->" ||
            LinkTypeOf(type) < 0) {
          problems.push_back(where + "unreadable link");
          continue;
        }
        host.Link(from, to, LinkTypeOf(type), lag);
      } else if ((verb == "set" || verb == "edit" || verb == "expect") && has_value &&
                 (head_words >> id) &&
                 !(field = Trimmed(head.substr(static_cast<std::size_t>(head_words.tellg()))))
                      .empty()) {
        if (verb == "set") host.SetField(id, field, tail);
        if (verb == "edit") host.UserEdit(id, field, tail);
        if (verb == "expect") {
          const std::string actual = host.GetField(id, field);
          if (actual != tail) {
            problems.push_back(where + "got \"" + actual + "\"");
          }
        }
      } else if (verb == "calculate") {
        host.Calculate();
      } else if (verb == "close") {
        host.Close();
      } else {
        problems.push_back(where + "unknown step");
      }
    } catch (const std::exception& error) {
      problems.push_back(where + "failed: " + error.what());
    }
  }
  return problems;
}

}  // namespace lunavant::windows::testing

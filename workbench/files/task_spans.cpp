// SPDX-License-Identifier: MIT
#include "workbench/files/task_spans.h"

#include <string>

namespace lunavant::workbench::detail {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsName(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>';
}

// Just past the first `close` at or after `from`; kNone when there is none.
std::size_t Past(std::string_view text, std::size_t from, std::string_view close) {
  const std::size_t at = text.find(close, from);
  return at == kNone ? kNone : at + close.size();
}

struct TagEnd {
  std::size_t end;  // just past the '>'
  bool empty;       // an empty-element tag, <Name/>
};

// The end of a start tag whose name ends at `from`; a '>' inside a quoted value is the value's.
std::optional<TagEnd> StartTagEnd(std::string_view text, std::size_t from) {
  char quote = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '<') {
      return std::nullopt;
    } else if (c == '>') {
      return TagEnd{i + 1, text[i - 1] == '/'};
    }
  }
  return std::nullopt;
}

// Just past a <!DOCTYPE ...> starting at `from`, its internal subset included.
std::size_t DoctypeEnd(std::string_view text, std::size_t from) {
  char quote = 0;
  bool subset = false;
  for (std::size_t i = from + 2; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (subset && text.substr(i, 4) == "<!--") {
      i = Past(text, i + 4, "-->");
      if (i == kNone) return kNone;
      --i;
    } else if (subset && text.substr(i, 2) == "<?") {
      i = Past(text, i + 2, "?>");
      if (i == kNone) return kNone;
      --i;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      subset = true;
    } else if (c == ']') {
      subset = false;
    } else if (c == '>' && !subset) {
      return i + 1;
    }
  }
  return kNone;
}

std::string_view TrimmedRight(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t' || name.back() == '\r' ||
                           name.back() == '\n')) {
    name.remove_suffix(1);
  }
  return name;
}

// Just past the end of a task element whose content starts at `from`, when that content is
// plain: no comment, CDATA section, processing instruction or quote (a quoted value may hold
// "</Task>") and no Task element of its own before the first "</Task>". The tags inside are not
// followed; the parser that reads the element checks them. kNone when the content is not plain,
// and the scan follows it tag by tag.
std::size_t PlainTaskEnd(std::string_view text, std::size_t from) {
  for (std::size_t lt = text.find('<', from); lt != kNone; lt = text.find('<', lt + 1)) {
    const std::string_view rest = text.substr(lt + 1);
    if (rest.starts_with('!') || rest.starts_with('?')) return kNone;
    const bool closes = rest.starts_with('/');
    const std::string_view name = rest.substr(closes ? 1 : 0);
    if (!name.starts_with("Task")) continue;
    if (name.size() == 4) return kNone;
    if (!EndsName(name[4])) continue;             // <TaskMode> and the like
    if (!closes || name[4] == '/') return kNone;  // a Task inside the task
    std::size_t gt = lt + 6;
    while (gt < text.size() && IsBlank(text[gt])) ++gt;
    if (gt == text.size() || text[gt] != '>') return kNone;
    const std::string_view content = text.substr(from, lt - from);
    if (content.find('"') != kNone || content.find('\'') != kNone) return kNone;
    return gt + 1;
  }
  return kNone;
}

}  // namespace

std::optional<TaskSpans> FindTaskSpans(std::string_view text) {
  TaskSpans spans;
  std::vector<std::string_view> open;  // the elements open at this point, outermost first
  bool inside_tasks = false;
  bool inside_task = false;
  std::size_t row_begin = 0;
  std::size_t row_element = 0;
  std::size_t i = 0;
  for (;;) {
    const std::size_t lt = text.find('<', i);
    if (lt == kNone) return open.empty() && !inside_tasks ? std::optional(spans) : std::nullopt;
    const std::string_view rest = text.substr(lt);
    if (rest.starts_with("<!--")) {
      i = Past(text, lt + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      i = Past(text, lt + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      i = Past(text, lt + 2, "?>");
    } else if (rest.starts_with("<!")) {
      i = DoctypeEnd(text, lt);
    } else if (rest.starts_with("</")) {
      const std::size_t close = text.find('>', lt);
      if (close == kNone) return std::nullopt;
      const std::string_view name = TrimmedRight(text.substr(lt + 2, close - lt - 2));
      if (open.empty() || open.back() != name) return std::nullopt;
      open.pop_back();
      i = close + 1;
      if (inside_task && open.size() == 2) {
        spans.tasks.push_back({row_begin, row_element, i});
        inside_task = false;
        row_begin = i;
      } else if (inside_tasks && open.size() == 1) {
        spans.content_end = lt;
        return spans;
      }
    } else {
      std::size_t name_end = lt + 1;
      while (name_end < text.size() && !EndsName(text[name_end])) ++name_end;
      const std::string_view name = text.substr(lt + 1, name_end - lt - 1);
      if (name.empty()) return std::nullopt;
      const std::optional<TagEnd> tag = StartTagEnd(text, name_end);
      if (!tag) return std::nullopt;
      i = tag->end;
      if (open.size() == 1 && !spans.has_tasks && name == "Tasks") {
        spans.has_tasks = true;
        spans.content_begin = spans.content_end = row_begin = tag->end;
        if (tag->empty) return spans;
        inside_tasks = true;
      } else if (inside_tasks && open.size() == 2 && name == "Task") {
        if (tag->empty) {
          spans.tasks.push_back({row_begin, lt, tag->end});
          row_begin = tag->end;
          continue;
        }
        if (const std::size_t end = PlainTaskEnd(text, tag->end); end != kNone) {
          spans.tasks.push_back({row_begin, lt, end});
          row_begin = i = end;
          continue;
        }
        inside_task = true;
        row_element = lt;
      }
      if (!tag->empty) open.push_back(name);
    }
    if (i == kNone) return std::nullopt;
  }
}

}  // namespace lunavant::workbench::detail

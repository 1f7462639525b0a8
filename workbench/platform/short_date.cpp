// SPDX-License-Identifier: MIT
#include "workbench/platform/short_date.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "workbench/platform/date_writing.h"

namespace lunavant::workbench {
namespace {

// What a pattern is made of. kWord stands for anything written as letters that is not a date
// field (a weekday, an era, a quoted word, a field with no counterpart): it can be no separator.
enum class Kind { kDay, kMonth, kMonthName, kYear, kWord, kText };

struct Token {
  Kind kind;
  std::size_t width = 0;  // day 1 or 2, month 1 or 2, year 2 or 4
  std::string text;       // kText only
};

class Tokens {
 public:
  void Field(Kind kind, std::size_t width = 0) { tokens_.push_back({kind, width, {}}); }
  void Text(std::string_view text) {
    if (text.empty()) return;
    if (!tokens_.empty() && tokens_.back().kind == Kind::kText) {
      tokens_.back().text += text;
    } else {
      tokens_.push_back({Kind::kText, 0, std::string(text)});
    }
  }
  const std::vector<Token>& All() const { return tokens_; }

 private:
  std::vector<Token> tokens_;
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Marks that only steer the direction of text (LRM, RLM, ALM, embeddings, isolates): CLDR puts
// them between the fields of right-to-left locales, and a user never types them.
constexpr std::array<std::string_view, 12> kBidiMarks = {"\u200e", "\u200f", "\u061c", "\u202a",
                                                         "\u202b", "\u202c", "\u202d", "\u202e",
                                                         "\u2066", "\u2067", "\u2068", "\u2069"};
// Blanks that may stand between fields: space, no-break space, narrow no-break space, thin space.
constexpr std::array<std::string_view, 4> kBlanks = {" ", "\u00a0", "\u202f", "\u2009"};

// The length of the mark or blank from `set` that `text` starts with at `pos`; 0 for none.
template <std::size_t N>
std::size_t StartsWithOneOf(std::string_view text, std::size_t pos,
                            const std::array<std::string_view, N>& set) {
  for (std::string_view item : set) {
    if (text.substr(pos, item.size()) == item) return item.size();
  }
  return 0;
}

std::string WithoutBidiMarks(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t mark = StartsWithOneOf(text, pos, kBidiMarks);
    if (mark != 0) {
      pos += mark;
      continue;
    }
    out += text[pos++];
  }
  return out;
}

// The gap's punctuation with blanks around it dropped, if it can serve as the date separator.
std::optional<std::string> SeparatorOfGap(std::string_view gap) {
  std::size_t begin = 0;
  for (std::size_t blank;
       begin < gap.size() && (blank = StartsWithOneOf(gap, begin, kBlanks)) != 0;)
    begin += blank;
  std::size_t end = gap.size();
  while (end > begin) {
    std::size_t blank = 0;
    for (std::string_view item : kBlanks) {
      if (end - begin >= item.size() && gap.substr(end - item.size(), item.size()) == item) {
        blank = item.size();
        break;
      }
    }
    if (blank == 0) break;
    end -= blank;
  }
  const std::string_view separator = gap.substr(begin, end - begin);
  if (separator.empty()) return std::nullopt;
  for (const char c : separator) {
    const auto byte = static_cast<unsigned char>(c);
    // Letters, digits, blanks inside, a colon or a quote would make the written date read as
    // something else (a word, a number, two pieces, a time, quoted text).
    if (byte <= 0x20 || byte >= 0x7f || IsAsciiLetter(c) || IsDigit(c) || c == ':' || c == '\'' ||
        c == '"') {
      return std::nullopt;
    }
  }
  return std::string(separator);
}

ShortDate Reduce(const Tokens& tokens) {
  const std::vector<Token>& all = tokens.All();
  if (all.empty()) return {std::string(kCShortDatePattern), "/"};
  const Token* day = nullptr;
  const Token* month = nullptr;
  const Token* year = nullptr;
  std::vector<std::size_t> fields;  // positions in `all` of the three fields, in order
  for (std::size_t i = 0; i < all.size(); ++i) {
    const Token& token = all[i];
    const Token** slot = nullptr;
    if (token.kind == Kind::kDay) slot = &day;
    if (token.kind == Kind::kMonth || token.kind == Kind::kMonthName) slot = &month;
    if (token.kind == Kind::kYear) slot = &year;
    if (slot == nullptr || *slot != nullptr) continue;
    *slot = &token;
    fields.push_back(i);
  }
  if (fields.size() != 3) return {std::string(kCShortDatePattern), "/"};
  // A year between day and month is an order no reader of dates knows.
  if (all[fields[1]].kind == Kind::kYear) return {std::string(kCShortDatePattern), "/"};

  std::string separator = "/";
  for (std::size_t gap = 0; gap < 2; ++gap) {
    // Punctuation next to a month name belongs to the words ("5 March, 2004").
    std::string text;
    bool usable =
        all[fields[gap]].kind != Kind::kMonthName && all[fields[gap + 1]].kind != Kind::kMonthName;
    for (std::size_t i = fields[gap] + 1; i < fields[gap + 1]; ++i) {
      if (all[i].kind != Kind::kText) usable = false;
      text += all[i].text;
    }
    std::optional<std::string> found = usable ? SeparatorOfGap(text) : std::nullopt;
    if (found) {
      separator = std::move(*found);
      break;
    }
  }

  ShortDate result{"", separator};
  for (std::size_t n = 0; n < 3; ++n) {
    const Token& field = all[fields[n]];
    if (n > 0) result.pattern += separator;
    switch (field.kind) {
      case Kind::kDay:
        result.pattern += field.width == 1 ? "d" : "dd";
        break;
      case Kind::kMonth:
        result.pattern += field.width == 1 ? "M" : "MM";
        break;
      case Kind::kMonthName:
        result.pattern += "MM";
        break;
      default:
        result.pattern += field.width <= 2 ? "yy" : "yyyy";
        break;
    }
  }
  return result;
}

}  // namespace

ShortDate ShortDateOfStrftime(std::string_view d_fmt) {
  if (d_fmt.empty()) return {"", "/"};
  const std::string format = WithoutBidiMarks(d_fmt);
  Tokens tokens;
  for (std::size_t pos = 0; pos < format.size(); ++pos) {
    if (format[pos] != '%') {
      if (IsAsciiLetter(format[pos])) {
        tokens.Field(Kind::kWord);
      } else {
        tokens.Text(std::string_view(format).substr(pos, 1));
      }
      continue;
    }
    // Flags, widths and the E and O modifiers are read and dropped, except that "%-d" and "%-m"
    // write no leading zero.
    bool no_padding = false;
    ++pos;
    while (pos < format.size() &&
           std::string_view("_-0^#").find(format[pos]) != std::string_view::npos) {
      no_padding = no_padding || format[pos] == '-';
      ++pos;
    }
    while (pos < format.size() && IsDigit(format[pos])) ++pos;
    if (pos < format.size() && (format[pos] == 'E' || format[pos] == 'O')) ++pos;
    if (pos >= format.size()) break;
    switch (format[pos]) {
      case 'd':
        tokens.Field(Kind::kDay, no_padding ? 1 : 2);
        break;
      case 'e':
        tokens.Field(Kind::kDay, 1);
        break;
      case 'm':
        tokens.Field(Kind::kMonth, no_padding ? 1 : 2);
        break;
      case 'y':
        tokens.Field(Kind::kYear, 2);
        break;
      case 'Y':
        tokens.Field(Kind::kYear, 4);
        break;
      case 'D':
        tokens.Field(Kind::kMonth, 2);
        tokens.Text("/");
        tokens.Field(Kind::kDay, 2);
        tokens.Text("/");
        tokens.Field(Kind::kYear, 2);
        break;
      case 'F':
        tokens.Field(Kind::kYear, 4);
        tokens.Text("-");
        tokens.Field(Kind::kMonth, 2);
        tokens.Text("-");
        tokens.Field(Kind::kDay, 2);
        break;
      case 'b':
      case 'h':
      case 'B':
        tokens.Field(Kind::kMonthName);
        break;
      case 'n':
      case 't':
        tokens.Text(" ");
        break;
      case '%':
        tokens.Text("%");
        break;
      default:  // a weekday or a field with no counterpart
        tokens.Field(Kind::kWord);
        break;
    }
  }
  return Reduce(tokens);
}

ShortDate ShortDateOfCldr(std::string_view pattern) {
  if (pattern.empty()) return {"", "/"};
  const std::string text = WithoutBidiMarks(pattern);
  Tokens tokens;
  for (std::size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    if (c == '\'') {
      // '' is a quote; 'text' is literal text, which counts as a word when it holds letters.
      std::size_t end = pos + 1;
      std::string quoted;
      if (end < text.size() && text[end] == '\'') {
        tokens.Text("'");
        pos = end + 1;
        continue;
      }
      while (end < text.size()) {
        if (text[end] == '\'') {
          if (end + 1 < text.size() && text[end + 1] == '\'') {
            quoted += '\'';
            end += 2;
            continue;
          }
          break;
        }
        quoted += text[end++];
      }
      bool word = false;
      for (const char q : quoted) {
        word = word || IsAsciiLetter(q) || static_cast<unsigned char>(q) >= 0x80;
      }
      if (word) {
        tokens.Field(Kind::kWord);
      } else {
        tokens.Text(quoted);
      }
      pos = end + 1;
      continue;
    }
    if (!IsAsciiLetter(c)) {
      tokens.Text(std::string_view(text).substr(pos, 1));
      ++pos;
      continue;
    }
    std::size_t run = 1;
    while (pos + run < text.size() && text[pos + run] == c) ++run;
    switch (c) {
      case 'd':
        tokens.Field(Kind::kDay, run == 1 ? 1 : 2);
        break;
      case 'M':
      case 'L':
        tokens.Field(run >= 3 ? Kind::kMonthName : Kind::kMonth, run);
        break;
      case 'y':
      case 'u':
      case 'Y':
      case 'U':
      case 'r':
        tokens.Field(Kind::kYear, run == 2 ? 2 : 4);
        break;
      default:  // weekday (E, c, e), era (G) and the rest
        tokens.Field(Kind::kWord);
        break;
    }
    pos += run;
  }
  return Reduce(tokens);
}

ShortDate ShortDateOfWindows(std::string_view format) {
  // Rewritten into CLDR's letters; quoted text passes as it stands, its quotes mean the same.
  std::string cldr;
  for (std::size_t pos = 0; pos < format.size();) {
    const char c = format[pos];
    if (c == '\'') {
      const std::size_t close = format.find('\'', pos + 1);
      const std::size_t end = close == std::string_view::npos ? format.size() : close + 1;
      cldr += format.substr(pos, end - pos);
      pos = end;
      continue;
    }
    std::size_t run = 1;
    while (pos + run < format.size() && format[pos + run] == c) ++run;
    if (c == 'd' && run >= 3) {
      cldr += "EEEE";
    } else if (c == 'g') {
      cldr += 'G';
    } else if (c == 'y' && run == 1) {
      cldr += "yy";
    } else {
      cldr += format.substr(pos, run);
    }
    pos += run;
  }
  return ShortDateOfCldr(cldr);
}

}  // namespace lunavant::workbench

// SPDX-License-Identifier: MIT
#include "cli/text_grid.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace lunavant::cli {
namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// Combining marks, joiners, direction marks and other format characters: drawn on the character
// before them, or not at all.
constexpr std::array kZeroWidth = std::to_array<Range>({
    {0x0300, 0x036F},   {0x0483, 0x0489},   {0x0591, 0x05BD},   {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5},   {0x05C7, 0x05C7},   {0x0600, 0x0605},   {0x0610, 0x061A}, {0x061C, 0x061C},
    {0x064B, 0x065F},   {0x0670, 0x0670},   {0x06D6, 0x06DD},   {0x06DF, 0x06E4}, {0x06E7, 0x06E8},
    {0x06EA, 0x06ED},   {0x070F, 0x070F},   {0x0711, 0x0711},   {0x0730, 0x074A}, {0x07A6, 0x07B0},
    {0x07EB, 0x07F3},   {0x0816, 0x082D},   {0x0859, 0x085B},   {0x0890, 0x0891}, {0x0898, 0x089F},
    {0x08CA, 0x0902},   {0x093A, 0x093A},   {0x093C, 0x093C},   {0x0941, 0x0948}, {0x094D, 0x094D},
    {0x0951, 0x0957},   {0x0962, 0x0963},   {0x0E31, 0x0E31},   {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E},
    {0x1AB0, 0x1AFF},   {0x1DC0, 0x1DFF},   {0x200B, 0x200F},   {0x202A, 0x202E}, {0x2060, 0x2064},
    {0x2066, 0x206F},   {0x20D0, 0x20FF},   {0xFE00, 0xFE0F},   {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
    {0x1F3FB, 0x1F3FF}, {0xE0001, 0xE007F}, {0xE0100, 0xE01EF},
});

// East Asian wide and fullwidth characters, and emoji shown as pictures.
constexpr std::array kDoubleWidth = std::to_array<Range>({
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F320},
    {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C}, {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA},
    {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4}, {0x1F3F8, 0x1F43E},
    {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E},
    {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4},
    {0x1F5FB, 0x1F64F}, {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2},
    {0x1F6D5, 0x1F6D7}, {0x1F6DC, 0x1F6DF}, {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC},
    {0x1F7E0, 0x1F7EB}, {0x1F7F0, 0x1F7F0}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945},
    {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
});

// Strong right-to-left letters: Hebrew, Arabic, Syriac, Thaana, N'Ko, Samaritan, Mandaic and
// their presentation forms.
constexpr std::array kRightToLeft = std::to_array<Range>({
    {0x05D0, 0x05F4},   {0x0608, 0x0608},   {0x060B, 0x060B}, {0x060D, 0x060D}, {0x061B, 0x064A},
    {0x066D, 0x066F},   {0x0671, 0x06D5},   {0x06E5, 0x06E6}, {0x06EE, 0x06EF}, {0x06FA, 0x070D},
    {0x0710, 0x0710},   {0x0712, 0x072F},   {0x074D, 0x07A5}, {0x07B1, 0x07B1}, {0x07C0, 0x07EA},
    {0x0800, 0x0815},   {0x0840, 0x0858},   {0x0860, 0x08C9}, {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFC},
    {0x10800, 0x10FFF}, {0x1E800, 0x1EFFF},
});

template <std::size_t N>
bool InRanges(const std::array<Range, N>& ranges, char32_t c) {
  const auto at = std::upper_bound(ranges.begin(), ranges.end(), c,
                                   [](char32_t value, const Range& r) { return value < r.first; });
  return at != ranges.begin() && c <= std::prev(at)->last;
}

// Decodes one character at `text[i]`, advancing `i`; a malformed sequence gives U+FFFD and moves
// on by one byte.
char32_t NextCharacter(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    c = lead & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + length > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are malformed too.
  const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
  if (overlong || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
    ++i;
    return 0xFFFD;
  }
  i += length;
  return c;
}

// Every table starts past ASCII, so these need no look-up.
static_assert(kZeroWidth.front().first >= 0x80 && kDoubleWidth.front().first >= 0x80 &&
              kRightToLeft.front().first >= 0x80);
int AsciiWidth(unsigned char c) { return c >= 0x20 && c != 0x7F ? 1 : 0; }

int CharacterWidth(char32_t c) {
  if (c < 0x80) return AsciiWidth(static_cast<unsigned char>(c));
  if (c < 0xA0) return 0;
  if (InRanges(kZeroWidth, c)) return 0;
  if (InRanges(kDoubleWidth, c)) return 2;
  return 1;
}

std::string CleanCell(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  if (HasRightToLeftLetter(out)) out = "\u2068" + out + "\u2069";
  return out;
}

void AppendPadded(std::string& line, const std::string& text, std::int64_t width, Align align) {
  const std::int64_t gap = std::max<std::int64_t>(0, width - DisplayWidth(text));
  const std::int64_t before = align == Align::kRight ? gap : align == Align::kCenter ? gap / 2 : 0;
  line.append(static_cast<std::size_t>(before), ' ');
  line += text;
  line.append(static_cast<std::size_t>(gap - before), ' ');
}

void TrimEnd(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

}  // namespace

std::int64_t DisplayWidth(std::string_view text) {
  std::int64_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      width += AsciiWidth(c);
      ++i;
    } else {
      width += CharacterWidth(NextCharacter(text, i));
    }
  }
  return width;
}

bool HasRightToLeftLetter(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
    } else if (InRanges(kRightToLeft, NextCharacter(text, i))) {
      return true;
    }
  }
  return false;
}

void TextGrid::AddRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  for (std::string& cell : cells) cell = CleanCell(cell);
  rows_.push_back(std::move(cells));
}

std::string TextGrid::Render() const {
  std::vector<std::int64_t> widths(columns_.size(), 0);
  std::vector<std::string> titles;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    titles.push_back(CleanCell(columns_[c].title));
    widths[c] = DisplayWidth(titles[c]);
  }
  for (const auto& row : rows_) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  std::string out;
  std::string line;
  const auto emit = [&](const std::vector<std::string>& cells, bool titles_row) {
    line.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (c > 0) line += "  ";
      AppendPadded(line, cells[c], widths[c],
                   titles_row ? columns_[c].title_align : columns_[c].align);
    }
    TrimEnd(line);
    out += line;
    out += '\n';
  };
  emit(titles, true);
  std::vector<std::string> rules;
  for (const std::int64_t width : widths) rules.emplace_back(static_cast<std::size_t>(width), '-');
  emit(rules, false);
  for (const auto& row : rows_) emit(row, false);
  return out;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t c = NextCharacter(text, i);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || (c == 0xFFFD && text.substr(start, i - start) != "\uFFFD")) {
          // Control characters, and bytes that are not UTF-8, which JSON cannot carry as they are.
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out.append(text.substr(start, i - start));
        }
    }
  }
  return out + "\"";
}

}  // namespace lunavant::cli

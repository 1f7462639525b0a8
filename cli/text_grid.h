// SPDX-License-Identifier: MIT
// Text laid out for a terminal: the columns a text takes on screen, and a grid of cells whose
// columns line up whatever script the cells are written in.
//
//   TextGrid grid({{"ID", Align::kRight}, {"Task Name", Align::kLeft}});
//   grid.AddRow({"1", "اجتماع الانطلاق"});
//   std::cout << grid.Render();
//
// Widths come from the program's own table of Unicode ranges (combining marks and format
// characters take none, East Asian wide and fullwidth characters and emoji take two), so the
// layout does not depend on the locale the program happens to run in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lunavant::cli {

// Columns a text takes in a terminal. A byte that is not part of well-formed UTF-8 counts as one
// column, as terminals show it as one replacement character.
std::int64_t DisplayWidth(std::string_view text);

// Whether the text holds a letter of a right-to-left script (Hebrew, Arabic, Syriac, Thaana, ...).
bool HasRightToLeftLetter(std::string_view text);

enum class Align { kLeft, kCenter, kRight };

struct GridColumn {
  std::string title;
  Align align = Align::kLeft;
  Align title_align = Align::kLeft;
};

class TextGrid {
 public:
  explicit TextGrid(std::vector<GridColumn> columns) : columns_(std::move(columns)) {}

  // A row with fewer cells than columns is filled with empty cells; extra cells are dropped.
  void AddRow(std::vector<std::string> cells);

  // Titles, a rule under each title, then the rows; columns two blanks apart, no blanks at the
  // ends of lines. Line breaks and tabs inside a cell become blanks. A cell holding right-to-left
  // letters is isolated (U+2068 ... U+2069), so that a terminal that reorders text keeps it
  // inside its column.
  std::string Render() const;

 private:
  std::vector<GridColumn> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace lunavant::cli

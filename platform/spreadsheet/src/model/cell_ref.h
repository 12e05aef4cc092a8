// Cell positions and rectangles of the worksheet grid, and their A1 address text.
// Rows and columns are 0-based inside the model; addresses are 1-based ("A1" = row 0, col 0).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sheet {

constexpr int kMaxRows = 1048576;  // the Open XML grid; BIFF8 holds 65,536
constexpr int kMaxCols = 16384;    // BIFF8 holds 256

struct CellRect {
  int r1 = 0, c1 = 0, r2 = 0, c2 = 0;  // inclusive
  int Rows() const { return r2 - r1 + 1; }
  int Cols() const { return c2 - c1 + 1; }
  long long Count() const { return (long long)Rows() * Cols(); }
  bool Contains(int r, int c) const { return r >= r1 && r <= r2 && c >= c1 && c <= c2; }
  bool Overlaps(const CellRect& o) const {
    return r1 <= o.r2 && o.r1 <= r2 && c1 <= o.c2 && o.c1 <= c2;
  }
  bool WholeColumns() const { return r1 == 0 && r2 == kMaxRows - 1; }
  bool WholeRows() const { return c1 == 0 && c2 == kMaxCols - 1; }
  friend bool operator==(const CellRect&, const CellRect&) = default;
};

inline CellRect SingleCell(int r, int c) { return {r, c, r, c}; }
inline CellRect WholeSheet() { return {0, 0, kMaxRows - 1, kMaxCols - 1}; }

// "A" -> 0, "XFD" -> 16383; nullopt for anything else.
std::optional<int> ParseColumnLetters(std::u16string_view letters);
std::u16string ColumnLetters(int col);
// Parses "A1", "$A$1", "A1:D4", "A:C", "3:5" (one area, case-insensitive, either corner
// order). nullopt for anything else or a position outside the grid.
std::optional<CellRect> ParseAddress(std::u16string_view text);
// "$A$1" or "$A$1:$D$4" (absolute parts as asked); whole rows/columns as "$1:$3", "$A:$C".
std::u16string FormatAddress(const CellRect& r, bool rowAbsolute = true, bool colAbsolute = true);

}  // namespace sheet

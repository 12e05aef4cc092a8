// Text pieces of the Open XML parts: the model's UTF-16 text as escaped UTF-8, numbers as the
// shortest text that reads back as the same double, and A1 cell names.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace sheet {

// Appends `text` as UTF-8 fit for XML content and attribute values: &, <, > and " become
// entities; characters XML cannot hold (controls other than tab and line feed, carriage return,
// U+FFFE, U+FFFF) become Excel's _xHHHH_ escapes, and a literal "_xHHHH_" keeps its
// underscore as _x005F_; a lone surrogate becomes U+FFFD.
void AppendXmlText(std::u16string_view text, std::string& out);

// Writes `v` at `p` (room for 24 characters) as the shortest round-trip text; returns the end.
inline char* PutNumber(char* p, double v) { return std::to_chars(p, p + 24, v).ptr; }
inline char* PutUnsigned(char* p, std::uint64_t v) { return std::to_chars(p, p + 20, v).ptr; }
inline char* PutText(char* p, std::string_view s) {
  for (char c : s) *p++ = c;
  return p;
}

// "A" for column 0 ... "XFD" for 16383.
std::string ColumnName(int col);
// "B3" for row 2, column 1.
std::string CellName(int row, int col);
// "A1:D4", or one cell's name when the rectangle is a single cell.
std::string RangeName(int r1, int c1, int r2, int c2);
// The text of a number, shortest round trip.
std::string NumberText(double v);

}  // namespace sheet

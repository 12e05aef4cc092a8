// Breaking memo text into display lines, as the memo-line functions see it.
//
// A line ends at a hard return (CR LF, or a lone LF), or, when wrapping, where the next
// character would pass the line width: after the last blank of the line, or right at the width
// when a word is longer than a line. A soft return (byte 141 before LF, left by memo editors at
// their wrap points) is dropped. Tabs advance to the next multiple of the tab size. Without
// wrapping a line is cut at the width and the rest up to the hard return is skipped.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct PvMemoLayout {
  size_t width = 79;  // columns per line
  size_t tab = 4;     // columns per tab stop
  bool wrap = true;
};

// One display line: bytes [start, end) of the text hold what it shows (soft returns inside are
// skipped when showing it), `next` is where the following line starts.
struct PvMemoLine {
  size_t start = 0, end = 0, next = 0;
};

// Every line of the text in order; an empty text has none.
std::vector<PvMemoLine> pv_memoLines(const char* text, size_t len, const PvMemoLayout& layout);

// The line as shown: tabs expanded, soft returns dropped, padded with blanks to the width.
std::string pv_memoLineText(const char* text, const PvMemoLine& line, const PvMemoLayout& layout);

// The column of byte `pos` (line.start <= pos <= line.end) within its line, counting from 0.
size_t pv_memoColumnOf(const char* text, const PvMemoLine& line, size_t pos,
                       const PvMemoLayout& layout);

// The byte of the line at column `column` (0-based), or the line's end when it is shorter.
size_t pv_memoByteAt(const char* text, const PvMemoLine& line, size_t column,
                     const PvMemoLayout& layout);

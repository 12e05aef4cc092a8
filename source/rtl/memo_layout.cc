// Breaking memo text into display lines: hard and soft returns, tabs and word wrap.
#include "memo_layout.h"

namespace {

constexpr char kSoftReturn = static_cast<char>(141);

// Length of the line end at byte i: 2 for CR LF and for a soft return, 1 for a lone LF, else 0.
size_t lineEndAt(const char* s, size_t len, size_t i) {
  if (s[i] == '\n') return 1;
  if ((s[i] == '\r' || s[i] == kSoftReturn) && i + 1 < len && s[i + 1] == '\n') return 2;
  return 0;
}

bool isSoftReturn(const char* s, size_t len, size_t i) {
  return s[i] == kSoftReturn && lineEndAt(s, len, i) == 2;
}

// Columns taken by byte c at column col.
size_t widthOf(char c, size_t col, const PvMemoLayout& layout) {
  return c == '\t' ? layout.tab - col % layout.tab : 1;
}

// After a line cut without wrapping: the byte after the next hard return.
size_t skipToHardEnd(const char* s, size_t len, size_t i) {
  for (; i < len; ++i) {
    size_t eol = lineEndAt(s, len, i);
    if (eol && !isSoftReturn(s, len, i)) return i + eol;
  }
  return len;
}

PvMemoLine nextLine(const char* s, size_t len, size_t start, const PvMemoLayout& layout) {
  size_t col = 0, afterBlank = 0;
  for (size_t i = start; i < len;) {
    size_t eol = lineEndAt(s, len, i);
    if (eol && isSoftReturn(s, len, i)) {
      i += eol;
      continue;
    }
    if (eol) return {start, i, i + eol};
    size_t w = widthOf(s[i], col, layout);
    if (col + w > layout.width) {
      if (!layout.wrap) return {start, i, skipToHardEnd(s, len, i)};
      if (s[i] == ' ' || s[i] == '\t') return {start, i, i + 1};  // the blank is the break
      if (afterBlank) return {start, afterBlank, afterBlank};
      if (i == start) return {start, i + 1, i + 1};  // a tab wider than the line
      return {start, i, i};
    }
    if (s[i] == ' ' || s[i] == '\t') afterBlank = i + 1;
    col += w;
    ++i;
  }
  return {start, len, len};
}

}  // namespace

std::vector<PvMemoLine> pv_memoLines(const char* text, size_t len, const PvMemoLayout& layout) {
  std::vector<PvMemoLine> lines;
  for (size_t pos = 0; pos < len;) {
    lines.push_back(nextLine(text, len, pos, layout));
    pos = lines.back().next;
  }
  return lines;
}

std::string pv_memoLineText(const char* text, const PvMemoLine& line, const PvMemoLayout& layout) {
  std::string out;
  for (size_t i = line.start; i < line.end; ++i) {
    if (isSoftReturn(text, line.end + 1, i)) {
      ++i;
      continue;
    }
    if (text[i] == '\t') out.append(widthOf('\t', out.size(), layout), ' ');
    else out += text[i];
  }
  if (out.size() < layout.width) out.append(layout.width - out.size(), ' ');
  return out;
}

size_t pv_memoColumnOf(const char* text, const PvMemoLine& line, size_t pos,
                       const PvMemoLayout& layout) {
  size_t col = 0;
  for (size_t i = line.start; i < pos && i < line.end; ++i) {
    if (isSoftReturn(text, line.end + 1, i)) ++i;
    else col += widthOf(text[i], col, layout);
  }
  return col;
}

size_t pv_memoByteAt(const char* text, const PvMemoLine& line, size_t column,
                     const PvMemoLayout& layout) {
  size_t col = 0, i = line.start;
  while (i < line.end) {
    if (isSoftReturn(text, line.end + 1, i)) {
      i += 2;
      continue;
    }
    size_t w = widthOf(text[i], col, layout);
    if (col + w > column) break;
    col += w;
    ++i;
  }
  return i;
}

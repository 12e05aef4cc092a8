// A1 address parsing and formatting.
#include "cell_ref.h"

#include <utility>

namespace sheet {
namespace {

char16_t Upper(char16_t c) { return c >= 'a' && c <= 'z' ? char16_t(c - 32) : c; }
bool IsLetter(char16_t c) { c = Upper(c); return c >= 'A' && c <= 'Z'; }
bool IsDigit(char16_t c) { return c >= '0' && c <= '9'; }

// One corner: optional column part, optional row part; -1 for a missing part.
struct Corner {
  int row = -1, col = -1;
};

std::optional<Corner> ParseCorner(std::u16string_view s) {
  Corner out;
  std::size_t i = 0;
  if (i < s.size() && s[i] == '$') ++i;
  std::size_t start = i;
  while (i < s.size() && IsLetter(s[i])) ++i;
  if (i > start) {
    auto col = ParseColumnLetters(s.substr(start, i - start));
    if (!col) return std::nullopt;
    out.col = *col;
  } else if (start > 0) {
    // "$" must be followed by letters or digits of a row: allow "$3" only.
    if (i >= s.size() || !IsDigit(s[i])) return std::nullopt;
  }
  if (i < s.size() && s[i] == '$') ++i;
  start = i;
  long long row = 0;
  while (i < s.size() && IsDigit(s[i])) {
    row = row * 10 + (s[i] - '0');
    if (row > kMaxRows) return std::nullopt;
    ++i;
  }
  if (i != s.size()) return std::nullopt;
  if (i > start) {
    if (row < 1) return std::nullopt;
    out.row = int(row - 1);
  }
  if (out.row < 0 && out.col < 0) return std::nullopt;
  return out;
}

}  // namespace

std::optional<int> ParseColumnLetters(std::u16string_view letters) {
  if (letters.empty() || letters.size() > 3) return std::nullopt;
  int col = 0;
  for (char16_t c : letters) {
    if (!IsLetter(c)) return std::nullopt;
    col = col * 26 + (Upper(c) - 'A' + 1);
  }
  if (col > kMaxCols) return std::nullopt;
  return col - 1;
}

std::u16string ColumnLetters(int col) {
  std::u16string out;
  for (int n = col + 1; n > 0; n = (n - 1) / 26) out.insert(out.begin(), char16_t('A' + (n - 1) % 26));
  return out;
}

std::optional<CellRect> ParseAddress(std::u16string_view text) {
  auto colon = text.find(':');
  auto a = ParseCorner(text.substr(0, colon));
  if (!a) return std::nullopt;
  Corner b = *a;
  if (colon != std::u16string_view::npos) {
    auto second = ParseCorner(text.substr(colon + 1));
    if (!second) return std::nullopt;
    b = *second;
  }
  bool aCell = a->row >= 0 && a->col >= 0, bCell = b.row >= 0 && b.col >= 0;
  CellRect r;
  if (aCell && bCell) {
    r = {a->row, a->col, b.row, b.col};
  } else if (colon == std::u16string_view::npos) {
    return std::nullopt;  // "A" or "3" alone is not an address
  } else if (a->row < 0 && b.row < 0 && a->col >= 0 && b.col >= 0) {
    r = {0, a->col, kMaxRows - 1, b.col};
  } else if (a->col < 0 && b.col < 0 && a->row >= 0 && b.row >= 0) {
    r = {a->row, 0, b.row, kMaxCols - 1};
  } else {
    return std::nullopt;
  }
  if (r.r1 > r.r2) std::swap(r.r1, r.r2);
  if (r.c1 > r.c2) std::swap(r.c1, r.c2);
  return r;
}

std::u16string FormatAddress(const CellRect& r, bool rowAbsolute, bool colAbsolute) {
  std::u16string rowMark = rowAbsolute ? u"$" : u"", colMark = colAbsolute ? u"$" : u"";
  auto row = [&](int n) {
    std::u16string s = rowMark;
    for (char c : std::to_string(n + 1)) s.push_back(char16_t(c));
    return s;
  };
  auto col = [&](int n) { return colMark + ColumnLetters(n); };
  if (r.WholeColumns() && !r.WholeRows()) return col(r.c1) + u":" + col(r.c2);
  if (r.WholeRows()) return row(r.r1) + u":" + row(r.r2);
  std::u16string first = col(r.c1) + row(r.r1);
  if (r.r1 == r.r2 && r.c1 == r.c2) return first;
  return first + u":" + col(r.c2) + row(r.r2);
}

}  // namespace sheet

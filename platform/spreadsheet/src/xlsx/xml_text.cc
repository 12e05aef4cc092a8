// Escaping of cell text for XML and the names of cells and ranges.
#include "xml_text.h"

namespace sheet {
namespace {

bool IsHex(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// "_xHHHH_" starting at i.
bool LooksEscaped(std::u16string_view t, std::size_t i) {
  if (i + 7 > t.size() || t[i + 1] != u'x' || t[i + 6] != u'_') return false;
  for (std::size_t k = i + 2; k < i + 6; ++k)
    if (!IsHex(t[k])) return false;
  return true;
}

void PutEscape(char32_t cp, std::string& out) {
  static const char kHex[] = "0123456789ABCDEF";
  char buf[7] = {'_', 'x', kHex[(cp >> 12) & 15], kHex[(cp >> 8) & 15], kHex[(cp >> 4) & 15], kHex[cp & 15], '_'};
  out.append(buf, 7);
}

void PutUtf8(char32_t cp, std::string& out) {
  if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
  }
  out.push_back(char(0x80 | (cp & 0x3F)));
}

// Characters other than plain printable ASCII and the XML-safe layout characters.
bool Special(char16_t c) {
  return c >= 0x7F || (c < 0x20 && c != u'\t' && c != u'\n') || c == u'&' || c == u'<' || c == u'>' ||
         c == u'"' || c == u'_';
}

}  // namespace

void AppendXmlText(std::u16string_view t, std::string& out) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    char16_t c = t[i];
    if (!Special(c)) {
      out.push_back(char(c));
      continue;
    }
    switch (c) {
      case u'&': out += "&amp;"; continue;
      case u'<': out += "&lt;"; continue;
      case u'>': out += "&gt;"; continue;
      case u'"': out += "&quot;"; continue;
      case u'_':
        out += LooksEscaped(t, i) ? "_x005F_" : "_";
        continue;
      default: break;
    }
    char32_t cp = c;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] < 0xE000)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (t[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      cp = 0xFFFD;
    if (cp < 0x20 || cp == 0xFFFE || cp == 0xFFFF) PutEscape(cp, out);
    else if (cp < 0x80) out.push_back(char(cp));
    else PutUtf8(cp, out);
  }
}

std::string ColumnName(int col) {
  std::string name;
  for (int c = col + 1; c > 0; c = (c - 1) / 26) name.insert(name.begin(), char('A' + (c - 1) % 26));
  return name;
}

std::string CellName(int row, int col) { return ColumnName(col) + std::to_string(row + 1); }

std::string RangeName(int r1, int c1, int r2, int c2) {
  std::string first = CellName(r1, c1);
  return r1 == r2 && c1 == c2 ? first : first + ":" + CellName(r2, c2);
}

std::string NumberText(double v) {
  char buf[24];
  return std::string(buf, PutNumber(buf, v));
}

}  // namespace sheet

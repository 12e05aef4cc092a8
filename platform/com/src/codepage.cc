// Code page 1252 and UTF-8 <-> UTF-16 conversions.
#include <array>
#include <string>

#include "com/bstr.h"

namespace com {
namespace {

// Code page 1252 bytes 0x80–0x9F; the five unassigned bytes map to the C1 control of the same
// value, as Windows does. All other bytes equal their code point.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte's code point, so converting a byte is one load.
constexpr std::array<char16_t, 256> kFrom1252 = [] {
  std::array<char16_t, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = b >= 0x80 && b <= 0x9F ? kHigh1252[b - 0x80] : char16_t(b);
  return table;
}();

char16_t From1252(unsigned char b) { return kFrom1252[b]; }

// -1 when the code point has no byte in code page 1252.
int To1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == c) return 0x80 + i;
  return -1;
}

bool Is1252(UINT cp) { return cp == CP_ACP || cp == CP_WINDOWS_1252; }

}  // namespace

std::u16string Utf8ToWide(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 7);
    bool ok = extra >= 0;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= s.size()) { ok = false; break; }
      auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok || cp > 0x10FFFF) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += extra + 1;
  }
  return out;
}

void AppendUtf8(std::u16string_view w, std::string& out) {
  // Plain ASCII, the usual case, is copied in one tight loop.
  std::size_t at = out.size(), i = 0;
  out.resize(at + w.size());
  char* ascii = out.data() + at;
  for (; i < w.size() && w[i] < 0x80; ++i) ascii[i] = char(w[i]);
  out.resize(at + i);
  for (; i < w.size(); ++i) {
    char32_t cp = w[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < w.size() && w[i + 1] >= 0xDC00 &&
        w[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (w[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;  // lone surrogate
    }
    if (cp < 0x80) {
      out.push_back(char(cp));
    } else if (cp < 0x800) {
      out.push_back(char(0xC0 | (cp >> 6)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(char(0xE0 | (cp >> 12)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (cp >> 18)));
      out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
}

std::string WideToUtf8(std::u16string_view w) {
  std::string out;
  out.reserve(w.size());
  AppendUtf8(w, out);
  return out;
}

std::u16string AnsiToWide(std::string_view ansi) {
  std::u16string out(ansi.size(), u'\0');
  for (std::size_t i = 0; i < ansi.size(); ++i) out[i] = From1252(static_cast<unsigned char>(ansi[i]));
  return out;
}

std::string WideToAnsi(std::u16string_view wide) {
  std::string out(wide.size(), '\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    int b = To1252(wide[i]);
    out[i] = b < 0 ? '?' : char(b);
  }
  return out;
}

int MultiByteToWideChar(UINT cp, DWORD, const char* multi, int cbMulti, OLECHAR* wide,
                        int cchWide) {
  if (!multi || cbMulti < -1 || cchWide < 0 || (cchWide > 0 && !wide)) return 0;
  std::size_t n = cbMulti == -1 ? std::char_traits<char>::length(multi) + 1 : std::size_t(cbMulti);
  std::string_view in(multi, n);
  if (Is1252(cp) && cchWide > 0) {  // one unit per byte: straight into the caller's buffer
    if (n > std::size_t(cchWide)) return 0;
    for (std::size_t i = 0; i < n; ++i) wide[i] = From1252(static_cast<unsigned char>(in[i]));
    return static_cast<int>(n);
  }
  std::u16string out;
  if (Is1252(cp)) out = AnsiToWide(in);
  else if (cp == CP_UTF8) out = Utf8ToWide(in);
  else return 0;
  if (cchWide == 0) return static_cast<int>(out.size());
  if (out.size() > std::size_t(cchWide)) return 0;
  std::char_traits<char16_t>::copy(wide, out.data(), out.size());
  return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT cp, DWORD, const OLECHAR* wide, int cchWide, char* multi,
                        int cbMulti, const char* defaultChar, int* usedDefault) {
  if (!wide || cchWide < -1 || cbMulti < 0 || (cbMulti > 0 && !multi)) return 0;
  std::size_t n =
      cchWide == -1 ? std::char_traits<char16_t>::length(wide) + 1 : std::size_t(cchWide);
  std::u16string_view in(wide, n);
  std::string out;
  if (usedDefault) *usedDefault = 0;
  if (Is1252(cp)) {
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      int b = To1252(in[i]);
      if (b < 0 && usedDefault) *usedDefault = 1;
      out[i] = b < 0 ? (defaultChar ? *defaultChar : '?') : char(b);
    }
  } else if (cp == CP_UTF8) {
    out = WideToUtf8(in);
  } else {
    return 0;
  }
  if (cbMulti == 0) return static_cast<int>(out.size());
  if (out.size() > std::size_t(cbMulti)) return 0;
  out.copy(multi, out.size());
  return static_cast<int>(out.size());
}

}  // namespace com

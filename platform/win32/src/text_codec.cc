// Code page 1252 conversions.
#include "win32/text_codec.h"

namespace pv::win32 {

namespace {

// Code page 1252 in 0x80..0x9F; the undefined positions keep their C1 control value.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t toUnicode(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c; }

char toAnsi(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<char>(u);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

void appendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

}  // namespace

std::u16string ansiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += toUnicode(static_cast<unsigned char>(c));
  return out;
}

std::string utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += toAnsi(c);
  return out;
}

std::string ansiToUtf8(std::string_view ansi) {
  std::string out;
  for (char c : ansi) appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string utf8ToAnsi(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t u = n == 3 ? c & 0x07 : n == 2 ? c & 0x0F : c & 0x1F;
    bool valid = n > 0 && i + static_cast<size_t>(n) < s.size();
    for (int k = 1; valid && k <= n; ++k) {
      if (i + static_cast<size_t>(k) >= s.size() || (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0xC0) != 0x80)
        valid = false;
      else
        u = (u << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
    }
    if (valid) {
      out += toAnsi(u);
      i += static_cast<size_t>(n) + 1;
    } else {
      out += static_cast<char>(c);
      i += 1;
    }
  }
  return out;
}

}  // namespace pv::win32

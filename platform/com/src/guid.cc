// GUID text form "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}": parsing and formatting.
#include <cstdio>

#include "com/registry.h"
#include "guid_internal.h"

namespace com {
namespace {

int HexDigit(char16_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[pos]; false on a non-digit.
bool ReadHex(std::u16string_view text, std::size_t pos, int digits, std::uint64_t* out) {
  *out = 0;
  for (int i = 0; i < digits; ++i) {
    int d = HexDigit(text[pos + i]);
    if (d < 0) return false;
    *out = (*out << 4) | std::uint64_t(d);
  }
  return true;
}

}  // namespace

bool ParseGuid(std::u16string_view text, GUID* out) {
  if (text.size() != 38 || text[0] != '{' || text[37] != '}') return false;
  for (std::size_t dash : {9u, 14u, 19u, 24u})
    if (text[dash] != '-') return false;
  std::uint64_t v;
  if (!ReadHex(text, 1, 8, &v)) return false;
  out->Data1 = std::uint32_t(v);
  if (!ReadHex(text, 10, 4, &v)) return false;
  out->Data2 = std::uint16_t(v);
  if (!ReadHex(text, 15, 4, &v)) return false;
  out->Data3 = std::uint16_t(v);
  const std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!ReadHex(text, bytePos[i], 2, &v)) return false;
    out->Data4[i] = std::uint8_t(v);
  }
  return true;
}

std::u16string GuidToString(REFCLSID g) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                unsigned(g.Data1), unsigned(g.Data2), unsigned(g.Data3), g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return std::u16string(buf, buf + 38);
}

int StringFromGUID2(REFCLSID guid, OLECHAR* out, int cch) {
  if (!out || cch < 39) return 0;
  std::u16string s = GuidToString(guid);
  s.copy(out, s.size());
  out[38] = 0;
  return 39;
}

}  // namespace com

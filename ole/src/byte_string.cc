// Byte-array strings (layout in byte_string.h).
#include "byte_string.h"

#include <cstring>

namespace ole {
namespace {
constexpr unsigned char kMarker[4] = {0x7A, 0x7B, 0x7C, 0x7D};
constexpr std::size_t kTrailer = 6;  // marker, type, NUL (after the terminator)
}  // namespace

void PutByteString(PV_ITEM dest, const std::uint8_t* bytes, std::size_t n, com::VARTYPE vt) {
  pv_itemClear(dest);
  char* text = pv_itemReSizeString(dest, static_cast<PV_SIZE>(n + 1 + kTrailer));
  if (n) std::memcpy(text, bytes, n);
  text[n] = 0;
  std::memcpy(text + n + 1, kMarker, sizeof kMarker);
  text[n + 5] = static_cast<char>(vt);
  text[n + 6] = 0;
  dest->item.asString.length = static_cast<uint32_t>(n);
}

com::VARTYPE ByteStringType(PV_ITEM value) {
  if (!PV_IS_STRING(value)) return 0;
  const auto& s = value->item.asString;
  if (s.allocated < s.length + 1 + kTrailer + 1) return 0;
  const char* tail = s.value + s.length + 1;
  if (std::memcmp(tail, kMarker, sizeof kMarker) != 0) return 0;
  auto vt = static_cast<com::VARTYPE>(static_cast<unsigned char>(tail[4]));
  return (vt == com::VT_I1 || vt == com::VT_UI1) ? vt : 0;
}

}  // namespace ole

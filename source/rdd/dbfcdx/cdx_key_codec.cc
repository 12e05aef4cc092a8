// Values to key bytes and back.
#include "cdx_key_codec.h"

#include <cstring>

namespace pv::cdx {

std::array<uint8_t, 8> cdxKeyFromDouble(double v) {
  if (v == 0.0) v = 0.0;  // -0 becomes +0
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  bits = (bits & 0x8000000000000000ull) ? ~bits : (bits | 0x8000000000000000ull);
  std::array<uint8_t, 8> out;
  for (int i = 0; i < 8; ++i) out[i] = uint8_t(bits >> (56 - 8 * i));
  return out;
}

double cdxKeyToDouble(const uint8_t* key8) {
  uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits = (bits << 8) | key8[i];
  bits = (bits & 0x8000000000000000ull) ? (bits & ~0x8000000000000000ull) : ~bits;
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

std::string cdxKeyFromChars(std::string_view bytes, int keyLen, bool pad, uint8_t fill) {
  std::string out(bytes.substr(0, size_t(keyLen)));
  if (pad && int(out.size()) < keyLen) out.append(size_t(keyLen) - out.size(), char(fill));
  return out;
}

std::array<uint8_t, 4> cdxKeyFromInt32(int32_t v) {
  uint32_t u = uint32_t(v) ^ 0x80000000u;
  return {uint8_t(u >> 24), uint8_t(u >> 16), uint8_t(u >> 8), uint8_t(u)};
}

int32_t cdxKeyToInt32(const uint8_t* key4) {
  uint32_t u = (uint32_t(key4[0]) << 24) | (uint32_t(key4[1]) << 16) | (uint32_t(key4[2]) << 8) |
               uint32_t(key4[3]);
  return int32_t(u ^ 0x80000000u);
}

CdxCollation cdxBuildCollation(const std::function<int(uint8_t, uint8_t)>& compare) {
  std::array<uint8_t, 256> order;
  for (int i = 0; i < 256; ++i) order[i] = uint8_t(i);
  int end = 255;
  while (end > 0) {
    int lastSwap = 0;
    for (int i = 0; i < end; ++i) {
      if (compare(order[i], order[i + 1]) > 0) {
        std::swap(order[i], order[i + 1]);
        lastSwap = i;
      }
    }
    end = lastSwap;
  }
  CdxCollation ranks;
  for (int i = 0; i < 256; ++i) ranks[order[i]] = uint8_t(i);
  return ranks;
}

}  // namespace pv::cdx

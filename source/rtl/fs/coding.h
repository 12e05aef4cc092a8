// Fixed-width integer encoding for on-disk formats.
//
// DBF headers, descriptors and binary fields are little-endian; FPT memo headers and block
// headers are big-endian. Decode* read from a raw pointer, Encode* write to one; callers check
// the bounds before (every caller works on a buffer whose size it has already verified). No other
// code assembles multi-byte integers from bytes.
#pragma once

#include <cstdint>
#include <cstring>

namespace pv {

inline uint16_t DecodeLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t DecodeLE24(const uint8_t* p) { return uint32_t(p[0] | (p[1] << 8) | (p[2] << 16)); }
inline uint32_t DecodeLE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t DecodeLE64(const uint8_t* p) {
  return uint64_t(DecodeLE32(p)) | (uint64_t(DecodeLE32(p + 4)) << 32);
}
inline uint16_t DecodeBE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t DecodeBE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

inline void EncodeLE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void EncodeLE24(uint8_t* p, uint32_t v) {
  EncodeLE16(p, uint16_t(v));
  p[2] = uint8_t(v >> 16);
}
inline void EncodeLE32(uint8_t* p, uint32_t v) {
  EncodeLE16(p, uint16_t(v));
  EncodeLE16(p + 2, uint16_t(v >> 16));
}
inline void EncodeLE64(uint8_t* p, uint64_t v) {
  EncodeLE32(p, uint32_t(v));
  EncodeLE32(p + 4, uint32_t(v >> 32));
}
inline void EncodeBE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void EncodeBE32(uint8_t* p, uint32_t v) {
  EncodeBE16(p, uint16_t(v >> 16));
  EncodeBE16(p + 2, uint16_t(v));
}

// IEEE doubles are stored little-endian (the host order on every target we build for).
inline double DecodeLEDouble(const uint8_t* p) {
  uint64_t bits = DecodeLE64(p);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}
inline void EncodeLEDouble(uint8_t* p, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  EncodeLE64(p, bits);
}

}  // namespace pv

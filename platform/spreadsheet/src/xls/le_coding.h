// Little-endian encoding helpers for the binary file formats. Every fixed-length number is
// stored least-significant byte first. Put* appends to a byte string; Encode* overwrites
// bytes at an offset that already exists.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace sheet {

inline void PutU8(std::string& out, std::uint8_t v) { out.push_back(char(v)); }
inline void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
inline void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, std::uint16_t(v & 0xFFFF));
  PutU16(out, std::uint16_t(v >> 16));
}
inline void PutF64(std::string& out, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  PutU32(out, std::uint32_t(bits));
  PutU32(out, std::uint32_t(bits >> 32));
}
inline void EncodeU16(std::string& out, std::size_t at, std::uint16_t v) {
  out[at] = char(v & 0xFF);
  out[at + 1] = char(v >> 8);
}
inline void EncodeU32(std::string& out, std::size_t at, std::uint32_t v) {
  EncodeU16(out, at, std::uint16_t(v & 0xFFFF));
  EncodeU16(out, at + 2, std::uint16_t(v >> 16));
}
inline std::uint16_t DecodeU16(const std::string& in, std::size_t at) {
  return std::uint16_t(std::uint8_t(in[at]) | std::uint8_t(in[at + 1]) << 8);
}
inline std::uint32_t DecodeU32(const std::string& in, std::size_t at) {
  return DecodeU16(in, at) | std::uint32_t(DecodeU16(in, at + 2)) << 16;
}

}  // namespace sheet

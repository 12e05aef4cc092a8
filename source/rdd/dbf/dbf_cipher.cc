// The table-encryption routine: a keyed XOR stream over bytes 1…end of each record.
#include "dbf/dbf_cipher.h"

#include <cstring>

#include "fs/coding.h"

namespace pv::dbf {
namespace {

uint64_t Mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

void XorStream(const uint8_t key[kKeySize], uint8_t* rec, size_t length) {
  uint64_t k = DecodeLE64(key);
  for (size_t i = 1; i < length; i += 8) {
    uint64_t s = Mix(k + ((i - 1) / 8 + 1) * 0x9E3779B97F4A7C15ull);
    for (size_t j = i; j < i + 8 && j < length; ++j, s >>= 8) rec[j] ^= uint8_t(s);
  }
}

}  // namespace

void KeyFromPassword(std::string_view password, uint8_t key[kKeySize]) {
  std::memset(key, 0, kKeySize);
  std::memcpy(key, password.data(), std::min(password.size(), kKeySize));
}

void EncipherRecord(const uint8_t key[kKeySize], uint8_t* rec, size_t length) {
  if (length == 0) return;
  rec[0] = rec[0] == '*' ? 'D' : 'E';
  XorStream(key, rec, length);
}

void DecipherRecord(const uint8_t key[kKeySize], uint8_t* rec, size_t length) {
  if (length == 0) return;
  rec[0] = rec[0] == 'D' ? '*' : ' ';
  XorStream(key, rec, length);
}

}  // namespace pv::dbf

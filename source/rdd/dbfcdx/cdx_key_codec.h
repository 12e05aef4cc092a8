// Values to key bytes and back: the order-preserving double (numbers and dates), character
// keys cut and padded with the fill character, logical "T"/"F", and the encodings of Visual
// FoxPro files (4-byte integers with the sign bit flipped, the leading null-flag byte).
// Also the collation table that ranks the bytes of a code page for character keys.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pv::cdx {

inline constexpr uint8_t kFillChar = 0x20;   // fill of character keys
inline constexpr uint8_t kFillOther = 0x00;  // fill of every other key type
inline constexpr uint8_t kNullFlagPresent = 0x80;

// The fill character of a key type ('C' blank, others zero).
inline uint8_t cdxFillFor(char keyType) { return keyType == 'C' ? kFillChar : kFillOther; }

// 8 bytes that compare as unsigned bytes in numeric order; -0 encodes as +0.
std::array<uint8_t, 8> cdxKeyFromDouble(double v);
double cdxKeyToDouble(const uint8_t* key8);

// Dates are keyed by their Julian day number as a double (an empty date is day 0).
inline std::array<uint8_t, 8> cdxKeyFromJulian(int64_t day) { return cdxKeyFromDouble(double(day)); }
inline int64_t cdxKeyToJulian(const uint8_t* key8) { return int64_t(cdxKeyToDouble(key8)); }

inline uint8_t cdxKeyFromLogical(bool v) { return v ? 'T' : 'F'; }
inline bool cdxKeyToLogical(uint8_t b) { return b == 'T'; }

// Character key: the bytes cut to keyLen and, with pad, padded with the fill up to it.
std::string cdxKeyFromChars(std::string_view bytes, int keyLen, bool pad = true,
                            uint8_t fill = kFillChar);

// Visual FoxPro integer-field key: big-endian with the sign bit flipped.
std::array<uint8_t, 4> cdxKeyFromInt32(int32_t v);
int32_t cdxKeyToInt32(const uint8_t* key4);

// 256 ranks, one per byte value, for comparing character keys under a code page's order.
using CdxCollation = std::array<uint8_t, 256>;

// Builds the ranks by bubble-sorting the bytes 0..255 with less(a, b) < 0 meaning a sorts
// before b; each pass stops at the previous pass's last exchange.
CdxCollation cdxBuildCollation(const std::function<int(uint8_t, uint8_t)>& compare);

}  // namespace pv::cdx

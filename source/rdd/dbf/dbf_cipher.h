// The table-encryption routine of encrypted tables (version bytes 0x06, 0x86, 0xF6, 0xE6).
//
// Byte 0 of a stored record is 'D' (deleted) or 'E' (not deleted) instead of '*' / ' '. Bytes
// 1…end are XORed with a keystream: for the 8-byte group g of the record (bytes 1–8 are group 0),
// splitmix64(key as a little-endian 64-bit number + (g + 1) × 0x9E3779B97F4A7C15), taken
// least-significant byte first. The stream depends only on the key and the byte's place in the
// record, so enciphering twice gives the bytes back and records can be copied between tables
// with the same key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pv::dbf {

inline constexpr size_t kKeySize = 8;

// The key of a password: its first 8 bytes, zero-padded.
void KeyFromPassword(std::string_view password, uint8_t key[kKeySize]);
// Plain record → stored form.
void EncipherRecord(const uint8_t key[kKeySize], uint8_t* rec, size_t length);
// Stored form → plain record.
void DecipherRecord(const uint8_t key[kKeySize], uint8_t* rec, size_t length);

}  // namespace pv::dbf

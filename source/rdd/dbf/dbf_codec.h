// Field values in record bytes: reading and writing each field type as plain C++ values.
//
// The runtime turns these into its values; this layer knows only bytes, numbers, Julian day
// numbers and milliseconds. `rec` always points at a whole record (byte 0 is the deleted flag)
// and `f` is one of the table's fields, so every access stays inside the record. `nulls` is the
// table's _NullFlags field, or nullptr when it has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf_field.h"

namespace pv::dbf {

struct DateTime {
  int32_t julian = 0;  // Julian day number, 0 for an empty value
  int32_t millis = 0;  // milliseconds since midnight
  bool operator==(const DateTime&) const = default;
};

// Julian day number of a Gregorian date; 0 when the date is not valid.
int32_t JulianFromYmd(int year, int month, int day);
// The Gregorian date of a Julian day number (all 0 for 0).
void YmdFromJulian(int32_t julian, int* year, int* month, int* day);

// The text of C fields, and of V/Q fields of the extended format (cut to the stored length).
std::string_view GetText(const Field& f, const uint8_t* rec, const Field* nulls);
// Whether a nullable field holds null.
bool IsNull(const Field& f, const uint8_t* rec, const Field* nulls);
// The number held by N, F, I, B, Y, Z, +, ^ and V of length 4; false for other types.
bool GetNumber(const Field& f, const uint8_t* rec, double* out);
// Exact 64-bit integer of I, +, ^ and Y fields (Y unscaled).
int64_t GetInteger(const Field& f, const uint8_t* rec);
// L: true for 'T', 't', 'Y', 'y'.
bool GetLogical(const Field& f, const uint8_t* rec);
// The Julian day of D fields (8, 3, 4 bytes) and V fields of length 3; 0 when empty.
int32_t GetDate(const Field& f, const uint8_t* rec);
// T (length 8), @ and = fields.
DateTime GetDateTime(const Field& f, const uint8_t* rec);
// T of length 4 as "hh:mm:ss.fff".
std::string GetTimeOfDay(const Field& f, const uint8_t* rec);
// The memo block number of M, P, W, G (and memo-backed V); 10-byte references must be digits
// after leading blanks, else kCorrupt.
Status GetMemoBlock(const Field& f, const uint8_t* rec, uint32_t* block);
// The SMT form of a 10-byte reference: 16-bit value type, 32-bit length, 32-bit block.
void GetSmtReference(const Field& f, const uint8_t* rec, uint16_t* type, uint32_t* length,
                     uint32_t* block);

// C: copies min(text, length) bytes and pads with blanks. V/Q (extended): stores the length in
// the last byte and sets the length bit when shorter. Other types: kDataType (1020).
Status PutText(const Field& f, uint8_t* rec, std::string_view text, const Field* nulls);
// N/F: right-aligned text with the field's decimals ('*' fill and kDataWidth 1021 when it does
// not fit); I: scaled by 10^decimals and range-checked by length (1021); B and V of length 4.
Status PutNumber(const Field& f, uint8_t* rec, double value);
// Sets the 64-bit value of I, +, ^ and Y fields as is (auto-increment and row versions).
void PutInteger(const Field& f, uint8_t* rec, int64_t value);
Status PutLogical(const Field& f, uint8_t* rec, bool value);
// D (8, 3, 4 bytes), V of length 3, and T/@ (with time 0).
Status PutDate(const Field& f, uint8_t* rec, int32_t julian);
// T (length 8), @ and = ; D takes the date part.
Status PutDateTime(const Field& f, uint8_t* rec, DateTime value);
Status PutMemoBlock(const Field& f, uint8_t* rec, uint32_t block);
void PutSmtReference(const Field& f, uint8_t* rec, uint16_t type, uint32_t length, uint32_t block);
void SetNull(const Field& f, uint8_t* rec, const Field* nulls, bool null);

// Fills `rec` (record_length bytes) as a blank record of `fields`.
void BlankRecord(const std::vector<Field>& fields, uint8_t* rec, size_t record_length);

// The text N/F fields hold for `value`: right-aligned in `width` with `decimals`, rounded half
// away from zero; false when it does not fit.
bool FormatNumber(double value, int width, int decimals, std::string* out);
// The number of an N/F text: leading blanks, sign, digits, point, digits; stops at anything else.
double ParseNumber(const uint8_t* p, size_t n);

}  // namespace pv::dbf

// The DBF table file format: every byte of the header, the field descriptors and the records.
//
// All multi-byte integers are little-endian (fs/coding.h). Sizes are in bytes.
//
// FILE
//
//   +-------------+------------------+------------+---------------------------+------+
//   | header (32) | descriptors 32×n | terminator | records, record length each | 0x1A |
//   +-------------+------------------+------------+---------------------------+------+
//   0             32                 32+32n       header length               end
//
// The records start at the header length stored in the header, not where the descriptors end:
// files of other programs keep more bytes there (see BACKLINK). The byte 0x1A after the last
// record marks the end of the file; a partial record at the end (that byte, or a torn append)
// is not counted — the record count of an open table comes from the file size.
//
// HEADER (32 bytes)
//
//   OFFSET  SIZE  DESCRIPTION
//      0      1   version byte (VERSION BYTES below)
//      1      1   year of the last update − 1900, modulo 256
//      2      1   month of the last update (1–12)
//      3      1   day of the last update (1–31)
//      4      4   record count (written on every header write; ignored when opening)
//      8      2   header length: offset of the first record
//     10      2   record length, the deleted flag included
//     12     16   reserved; kept as read, 0 in new files
//     28      1   table flags: 0x01 a structural (production) index exists;
//                 0x02 (extended format) the table has an FPT memo file;
//                 0x04 (files of other programs) the table belongs to a database container
//     29      1   code page mark of other programs (0x01 = 437, 0x02 = 850, 0x03 = 1252);
//                 kept as read, 0 in new files
//     30      2   reserved; kept as read, 0 in new files
//
// VERSION BYTES
//
//   BYTE  FORMAT                                   MEMO FILE              ENCRYPTED
//   0x03  DBF (table type 1)                       none                   no
//   0x83  DBF                                      DBT (memo type 1)      no
//   0xF5  DBF                                      FPT (memo type 2)      no
//   0xE5  DBF                                      SMT (memo type 3)      no
//   0x06  DBF                                      none                   yes
//   0x86  DBF                                      DBT                    yes
//   0xF6  DBF                                      FPT                    yes
//   0xE6  DBF                                      SMT                    yes
//   0x30  extended (table type 2)                  FPT when flag 0x02     no
//   0x31  extended, with auto-increment fields     FPT when flag 0x02     no
//   0x32  extended, with variable-length fields    FPT when flag 0x02     no  (read only as made
//                                                                              by other programs)
//   Any other byte: the file is not a table (corruption).
//
// FIELD DESCRIPTOR (32 bytes at 32 + 32 × (field number − 1))
//
//   OFFSET  SIZE  DESCRIPTION
//      0     11   field name, NUL-padded; byte 10 is taken as NUL, so at most 10 characters
//     11      1   type letter (FIELD TYPES)
//     12      4   extended format: offset of the field in the record; 0 in the DBF format
//     16      1   length, low byte
//     17      1   decimals; for C and Q the high byte of the length
//     18      1   extended format: flags 0x01 system (hidden), 0x02 nullable, 0x04 binary,
//                 0x08 auto-increment; 0 in the DBF format
//     19      4   next auto-increment value (1 at creation for +, ^ and flagged fields)
//     23      1   auto-increment step
//     24      8   reserved; a ^ field keeps its 64-bit row-version counter here
//
// TERMINATOR
//
//   A byte 0x0D where the next descriptor would start ends the list.
//   DBF format:       0x0D 0x00, header length = 32 + 32n + 2, then the records (or 0x1A)
//   extended format:  0x0D,      header length = 32 + 32n + 1, then the records (or 0x1A)
//
// BACKLINK (extended-format files of other programs)
//
//   Tables written by Visual FoxPro keep 263 more bytes after the terminator, counted in the
//   header length (32 + 32n + 1 + 263): the file name of the database container the table
//   belongs to, NUL-padded, or all NUL for a free table. They are read and kept as they are.
//
// NULL FLAGS (extended format)
//
//   A system field "_NullFlags" (type letter '0', flags 0x05), always the last descriptor,
//   holds one bit per nullable field and one per variable-length field (V/Q), numbered from
//   bit 0 of its first byte upward in field order. A field that is both takes two bits: first
//   the length bit, then the null bit. A set null bit means the value is null. A set length bit
//   means the value is shorter than the field; its length is then the field's last byte.
//
// FIELD TYPES (letter → internal code, allowed lengths, record storage)
//
//   LETTER    CODE  LENGTH                      STORAGE
//   C           1   1–65535 (bytes 16 and 17)   text, blank-padded, in the table's code page
//   L           2   1 (forced)                  'T' or 'F' ('Y'/'y'/'t' read as true), blank empty
//   D           3   8, 3 or 4                   8: "YYYYMMDD" (blanks empty); 3: 24-bit and
//                                               4: 32-bit Julian day number
//   N           4   1–255                       right-aligned decimal text, blank-padded
//   F           5   1–255                       as N
//   I, 2, 4     6   1, 2, 3, 4, 8 (others: 4)   signed integer; '2' and '4' mean lengths 2 and 4;
//                                               with decimals d the value is the integer / 10^d
//   B, 8        7   8 (required)                IEEE double
//   T           8   8                           32-bit Julian day, then 32-bit milliseconds
//   T          21   4                           milliseconds since midnight
//   @           9   8 (required)                as T of length 8
//   =          10   8 (required)                as T of length 8; set on every update
//   ^          11   8 (required)                64-bit row version; set on every update
//   +          12   4 (required)                32-bit auto-increment value
//   Y          13   1–4 or 8 (others: 8)        signed integer scaled by 10^decimals
//   Z          14   8                           IEEE double
//   Q          15   1–255 (bytes 16 and 17)     variable-length bytes (NULL FLAGS)
//   V (ext.)   15   1–255                       as Q, the value is text
//   M          16   10 or 4                     memo block: 10 right-aligned digits (blanks: none)
//                                               or a 32-bit block number; the memo file holds it
//   V (DBF)    17   3, 4, ≥6 (1, 2, 5: 6)       3: date as year×512 + month×32 + day, most
//                                               significant byte first; 4: 32-bit integer;
//                                               ≥6: memo-backed
//   P, W, G   18–20 10 or 4                     as M, binary
//   0           –   bits / 8 rounded up         only "_NullFlags"
//
// RECORD
//
//   OFFSET           SIZE        DESCRIPTION
//      0               1         deleted flag: '*' deleted, ' ' not deleted
//      1             len(f1)     field 1
//      1+len(f1)     len(f2)     field 2, and so on in descriptor order
//   Bytes after the last field up to the record length are kept as read.
#pragma once

#include <cstdint>

namespace pv::dbf {

inline constexpr int kHeaderSize = 32;
inline constexpr int kDescriptorSize = 32;
inline constexpr int kBacklinkSize = 263;
inline constexpr uint8_t kTerminator = 0x0D;
inline constexpr uint8_t kEofByte = 0x1A;
inline constexpr uint8_t kDeletedFlag = '*';
inline constexpr uint8_t kLiveFlag = ' ';
inline constexpr int kMaxNameLength = 10;

// Header offsets.
enum HeaderOffset : int {
  kHdrVersion = 0,
  kHdrYear = 1,
  kHdrMonth = 2,
  kHdrDay = 3,
  kHdrRecordCount = 4,
  kHdrHeaderLength = 8,
  kHdrRecordLength = 10,
  kHdrFlags = 28,
  kHdrCodePage = 29,
};

// Header byte 28.
enum TableFlag : uint8_t {
  kFlagStructuralIndex = 0x01,
  kFlagHasMemo = 0x02,
  kFlagDatabaseContainer = 0x04,
};

// Descriptor offsets.
enum DescriptorOffset : int {
  kDescName = 0,
  kDescType = 11,
  kDescFieldOffset = 12,
  kDescLength = 16,
  kDescDecimals = 17,
  kDescFlags = 18,
  kDescAutoIncNext = 19,
  kDescAutoIncStep = 23,
  kDescRowVersion = 24,
};

// Descriptor byte 18.
enum FieldFlag : uint8_t {
  kFieldSystem = 0x01,
  kFieldNullable = 0x02,
  kFieldBinary = 0x04,
  kFieldAutoInc = 0x08,
};

// Internal field type codes (FIELD TYPES); kNullFlags has no code of its own.
enum class FieldType : uint8_t {
  kNullFlags = 0,
  kChar = 1,
  kLogical = 2,
  kDate = 3,
  kNumeric = 4,
  kFloat = 5,
  kInteger = 6,
  kDouble = 7,
  kDateTime = 8,
  kTimeStamp = 9,
  kModTime = 10,
  kRowVersion = 11,
  kAutoInc = 12,
  kCurrency = 13,
  kCurrencyDouble = 14,
  kVarLength = 15,
  kMemo = 16,
  kAny = 17,
  kImage = 18,
  kBlob = 19,
  kOle = 20,
  kTimeOfDay = 21,
};

// Table types and memo types.
enum TableType : int { kTableDbf = 1, kTableExtended = 2 };
enum MemoType : int { kMemoNone = 0, kMemoDbt = 1, kMemoFpt = 2, kMemoSmt = 3 };

// The letter DBFIELDINFO reports for a type code ("U" for anything else).
char TypeLetter(FieldType type);

// Whether fields of this type keep a memo block reference.
inline bool IsMemoType(FieldType t) {
  return t == FieldType::kMemo || t == FieldType::kImage || t == FieldType::kBlob ||
         t == FieldType::kOle;
}

}  // namespace pv::dbf

// Memo files: the FPT, DBT and SMT layouts, byte by byte.
//
// A memo file is an array of fixed-size blocks of B bytes; block n starts at byte n × B. The
// header covers the first blocks, so the first usable block is ceil(header size / B). Records of
// the table keep only a block number (0: no memo); see dbf/dbf_format.h for the field forms.
//
// BYTE ORDER: FPT headers and block headers are big-endian; DBT and SMT are little-endian.
//
// HEADER (512 bytes; 1024 for FPT versions 3 and 4)
//
//   OFFSET  SIZE  FPT                                   DBT / SMT
//      0      4   next free block (end of used blocks)  next free block
//      4      4   bytes 4–5 zero, 6–7 block size         block size (DBT always uses 512)
//      8      8   signature: "SIxMemo" (version 2),      SMT: "SIxMemo"; DBT: "Quarvel"
//                 "Made by CLIP" (12 bytes, version 4),
//                 else "Quarvel", NUL-padded
//     18      2   version 2: free-list entry count 0–82  SMT: free-list entry count 0–82
//     20    492   version 2: free-list entries           SMT: free-list entries
//                 (6 bytes each: 16-bit size in blocks, 32-bit first block)
//    504     11   versions 3, 4: "FlexFile3" 0x03 0x00
//    524      4   versions 3, 4: byte offset of a second copy of the free-list block (0: none)
//    528      4   versions 3, 4: byte offset of the free-list block (0: none)
//    532      4   versions 3, 4: update counter, increased on every free-list write
//    536      4   versions 3, 4: lock area
//    540      2   versions 3, 4: block size, used when bytes 6–7 hold 0 (and always in BLOB
//                 files, which write it here too)
//
// Version detection on open: "SIxMemo" at 8 → 2; "Made by CLIP" at 8 → 4; "FlexFile3" at 504
// → 3; anything else → 1. The fields at 504–541 are big-endian like the rest of an FPT header.
//
// FPT MEMO BLOCK
//
//   OFFSET  SIZE  DESCRIPTION
//      0      4   value type: 0 binary (picture), 1 text, 2 object; typed values of versions
//                 2 and 3: 1002 array, 1006 NIL, 1007 true, 1008 false, 1009 date (32-bit
//                 Julian day), 1010–1016 numbers (signed byte, unsigned byte, 16-bit, unsigned
//                 16-bit, 32-bit, unsigned 32-bit, double), 1017 the number 0
//      4      4   data length in bytes
//      8      n   data; the memo takes ceil((n + 8) / B) blocks. Version 3 writes 0xAF at the
//                 last byte of the last block when the data ends inside it.
//
// FREE-LIST BLOCK (FPT versions 3 and 4)
//
//   OFFSET  SIZE  DESCRIPTION
//      0      4   type 1000
//      4      4   data length (1010 for a new block)
//      8      2   entry count
//     10    8×k   entries: 32-bit first block, 32-bit size in blocks; capacity
//                 (data length − 2) / 8 = 126 for a new block
//
//   A freed run of these versions starts with a block header of type 1001 and the length
//   run × B − 8.
//
// DBT MEMO BLOCK: the text, then 0x1A 0x1A; its length is found by scanning for the first 0x1A;
// it takes floor(n / B) + 1 blocks (the second 0x1A is dropped when it would not fit).
//
// SMT MEMO BLOCK: the data only; the record keeps type and length; ceil(n / B) blocks.
//
// FREE LIST (while a value is written): runs (first block, size in blocks) sorted by size,
// smallest first. Version 1 and DBT files keep none on disk.
#pragma once

#include <cstdint>

namespace pv::memo {

inline constexpr uint32_t kSmallHeader = 512;
inline constexpr uint32_t kFlexHeader = 1024;
inline constexpr uint32_t kBlockHeader = 8;

enum HeaderOffset : uint32_t {
  kHdrNextFree = 0,
  kHdrBlockSize = 4,       // DBT/SMT: 32-bit; FPT: 16-bit at 6
  kHdrFptBlockSize = 6,
  kHdrSignature = 8,
  kHdrFreeCount = 18,
  kHdrFreeEntries = 20,
  kHdrFlexSignature = 504,
  kHdrFlexCopy = 524,
  kHdrFlexList = 528,
  kHdrFlexCounter = 532,
  kHdrFlexLock = 536,
  kHdrFlexBlockSize = 540,
};

inline constexpr int kHeaderFreeCapacity = 82;
inline constexpr uint32_t kFreeEntrySize = 6;
inline constexpr uint32_t kFlexEntrySize = 8;
inline constexpr uint32_t kFlexListData = 1010;

inline constexpr char kSixSignature[] = "SIxMemo";
inline constexpr char kOwnSignature[] = "Quarvel";
inline constexpr char kClipSignature[] = "Made by CLIP";  // 12 bytes, no NUL
inline constexpr char kFlexSignature[] = "FlexFile3\x03";  // followed by 0x00

// Value types of FPT blocks.
enum BlockType : uint32_t {
  kTypeBinary = 0,
  kTypeText = 1,
  kTypeObject = 2,
  kTypeArray = 1002,
  kTypeNil = 1006,
  kTypeTrue = 1007,
  kTypeFalse = 1008,
  kTypeDate = 1009,
  kTypeInt8 = 1010,
  kTypeUInt8 = 1011,
  kTypeInt16 = 1012,
  kTypeUInt16 = 1013,
  kTypeInt32 = 1014,
  kTypeUInt32 = 1015,
  kTypeDouble = 1016,
  kTypeZero = 1017,
  kTypeFreeList = 1000,
  kTypeFreeRun = 1001,
};

}  // namespace pv::memo

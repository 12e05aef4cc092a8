// The CDX compound index file: every byte of it, and the little helpers that read and write
// its multi-byte numbers. Nothing else in the index engine memcpy's integers.
//
// A CDX file holds any number of index orders ("tags") over one table. Each tag is a B+ tree
// of fixed 512-byte pages; one more tag, the tag directory, maps tag names to the offsets of
// their headers. Numbers are little-endian unless marked BIG-ENDIAN. Every page reference is
// the absolute byte offset of the page (a multiple of 512); 0xFFFFFFFF means "no page".
//
// FILE GEOMETRY
//   offset 0      the directory's tag header (pages 0 and 1)
//   offset 1024   in a freshly created file: the directory's root leaf
//   offset 1536   in a freshly created file: the first tag's header (pages 3 and 4)
//   offset 2560+  in a freshly created file: the first tag's tree pages
//   A file of 1024 bytes or less is not an index (opening reports it as corrupt).
//
// TAG HEADER (1024 bytes = two consecutive pages)
//   OFFSET SIZE DESCRIPTION
//      0     4  root: offset of the root page of the tag's tree
//      4     4  free list head: directory header only; offset of the first free page, 0 = none
//      8     4  version: directory header only; change counter, BIG-ENDIAN
//     12     2  key length in bytes, 1..240
//     14     1  options (below)
//     15     1  signature, written as 1
//     16   486  reserved, zero
//    502     2  descending: 1 descending, 0 ascending
//    504     2  FOR position: offset of the FOR text in the expression pool
//    506     2  FOR length, including its zero byte; 1 when there is no FOR condition
//    508     2  key position in the pool, written as 0 (readers take the key from pool start)
//    510     2  key text length, including its zero byte
//    512   512  expression pool: key text, 0, FOR text, 0, zero up to the end
//   Written: key position 0, key length K+1, FOR position K+1, FOR length F+1 (F = 0 if none).
//
// OPTIONS BYTE (offset 14)
//   0x01 unique: one key per distinct value
//   0x02 temporary order (never set by this system). Visual FoxPro sets it on keys with a
//        leading null-flag byte (keys over nullable fields); such tags are read as written.
//   0x04 custom: not maintained when records change. Visual FoxPro sets it on candidate keys.
//   0x08 a FOR condition is present
//   0x10 unused, kept as read
//   0x20 compact format, always set
//   0x40 compound file, always set
//   0x80 this header is the tag directory
//   New tags start as 0x60, the directory as 0xE0. Writing a header rebuilds bits 0..3 from
//   the tag's settings and keeps bits 4..7.
//
// THE DIRECTORY
//   Header at 0, key length 10, character keys: the tag names, upper case, blank padded. The
//   record number of each directory key is the offset of that tag's header. Empty key text
//   (key length 1, FOR position 1, FOR length 1), options 0xE0. Ascending by name.
//
// PAGE HEADER (first 12 bytes of every tree page)
//      0     2  attributes: bit 0 root, bit 1 leaf (root leaf 3, interior non-root 0)
//      2     2  key count
//      4     4  left sibling on the same level, 0xFFFFFFFF at the left end
//      8     4  right sibling on the same level, 0xFFFFFFFF at the right end
//
// INTERIOR PAGE (bytes 12..511)
//   key count entries of (key length + 8) bytes from offset 12:
//     key bytes (fill padded) | record number (4, BIG-ENDIAN) | child offset (4, BIG-ENDIAN)
//   Entry i holds the greatest key (and its record) of child i's subtree. At most
//   500 / (key length + 8) entries: 27 for key length 10, 31 for 8, 2 for 240. Rest zero.
//
// LEAF PAGE (compressed)
//     12     2  free space: bytes of the key area used neither by entries nor key data
//     14     4  record mask = (1 << record bits) - 1
//     18     1  duplicate mask = (1 << duplicate bits) - 1
//     19     1  trailing mask = (1 << trailing bits) - 1
//     20     1  record bits
//     21     1  duplicate bits
//     22     1  trailing bits
//     23     1  entry size in bytes
//     24   488  key area: entries upward from 24, key data downward from 511
//   Entry: an unsigned little-endian integer E of entry size * 8 bits:
//     bits 0 .. recbits-1                 record number
//     next dupbits bits                   duplicate count (bytes shared with the previous key)
//     top trlbits bits                    trailing count (fill bytes ending the key)
//   Key data: for each key the key length - dup - trl middle bytes, the first key's ending at
//   offset 511, each further key's just below. Between the last entry and the lowest key data
//   all bytes are zero; free space = 488 - count * entry size - key data bytes >= 0.
//   Fresh widths: b = significant bits of the key length (10 -> 4, 8 -> 4, 1 -> 1, 240 -> 8),
//   entry size 3, dup bits = trl bits = b, record bits 24 - 2b, free space 488. Widening
//   (while a record exceeds the mask): mask = mask * 256 + 255, entry size + 1, record bits + 8.
//   Worked example, key length 10: bits 0-15 record, 16-19 duplicate, 20-23 trailing; a page
//   holding a record above 65535 has 4-byte entries with 24 record bits.
//
// FREE PAGE
//      0     4  offset of the next free page, 0 ends the list; the rest of the page is zero.
//   Every page of a removed or replaced tag (its two header pages and its tree) joins the
//   list. A new page is taken from the list head; a new tag header takes the lowest two
//   adjacent free pages; either comes from the end of the file when the list has none.
//   Every page below the file end is the directory's, a tag's or on the free list; a page
//   that is none of these is lost space (a fault the checker reports and its repair mends).
//
// KEY BYTES
//   Character: the bytes (table code page), cut to the key length, blank padded. Fill 0x20.
//   Numeric, date: 8 bytes, the order-preserving double: the IEEE-754 bytes most significant
//   first; zero and positive values (-0 becomes +0) get the top bit set, negative values have
//   all 64 bits inverted. Dates are their Julian day number (empty date = 0). Fill 0x00.
//   Logical: 1 byte, "T" or "F". Fill 0x00.
//   Visual FoxPro files also hold: integer fields as 4 bytes big-endian with the sign bit
//   flipped (1 -> 80 00 00 01), and on nullable fields one leading byte (0x80 value present,
//   0x00 null; a null key is all zero).
//   Order: ascending (key bytes, record number); descending tags are stored the same way.
//   Character keys compare by collation rank when the code page defines one, else unsigned.
//
// COLLATION (in memory, not stored): 256 ranks, one per byte value. The bytes 0..255 are
//   bubble-sorted with the code page's character comparison (each pass ends at the previous
//   pass's last exchange); a byte's rank is the index it ends at.
//
// OTHER WRITERS
//   Leaves may use narrower widths than a fresh leaf here (entry size 1 or 2, e.g. 2 record
//   bits with 3-bit counts for key length 4); they are read as their header says, and given
//   fresh widths when edited if their count fields cannot hold the key length. Page
//   attribute bits above bit 1 are ignored. The gap between entries and key data may hold
//   old bytes.
#pragma once

#include <cstdint>
#include <cstring>

namespace pv::cdx {

inline constexpr uint32_t kPageSize = 512;
inline constexpr uint32_t kHeaderSize = 1024;
inline constexpr uint32_t kNoPage = 0xFFFFFFFFu;
inline constexpr int kMaxKeyLen = 240;
inline constexpr int kPageHeaderLen = 12;
inline constexpr int kIntAreaLen = 500;      // interior entry area, bytes 12..511
inline constexpr int kLeafHeaderLen = 24;
inline constexpr int kLeafAreaLen = 488;     // leaf key area, bytes 24..511
inline constexpr int kDirKeyLen = 10;
inline constexpr int kMaxTagNameLen = 10;
inline constexpr int kMaxExprLen = 255;

// Page attribute bits.
inline constexpr uint8_t kAttrRoot = 0x01;
inline constexpr uint8_t kAttrLeaf = 0x02;

// Tag header field offsets.
inline constexpr int kHdrRoot = 0;
inline constexpr int kHdrFreeList = 4;
inline constexpr int kHdrVersion = 8;
inline constexpr int kHdrKeyLen = 12;
inline constexpr int kHdrOptions = 14;
inline constexpr int kHdrSignature = 15;
inline constexpr int kHdrDescending = 502;
inline constexpr int kHdrForPos = 504;
inline constexpr int kHdrForLen = 506;
inline constexpr int kHdrKeyPos = 508;
inline constexpr int kHdrKeyTextLen = 510;
inline constexpr int kHdrPool = 512;
inline constexpr int kHdrPoolLen = 512;

// Options byte bits.
inline constexpr uint8_t kOptUnique = 0x01;
inline constexpr uint8_t kOptTemporary = 0x02;
inline constexpr uint8_t kOptCustom = 0x04;
inline constexpr uint8_t kOptFor = 0x08;
inline constexpr uint8_t kOptCompact = 0x20;
inline constexpr uint8_t kOptCompound = 0x40;
inline constexpr uint8_t kOptDirectory = 0x80;
inline constexpr uint8_t kOptNewTag = 0x60;
inline constexpr uint8_t kOptNewDirectory = 0xE0;

// Leaf header field offsets.
inline constexpr int kLeafFree = 12;
inline constexpr int kLeafRecMask = 14;
inline constexpr int kLeafDupMask = 18;
inline constexpr int kLeafTrlMask = 19;
inline constexpr int kLeafRecBits = 20;
inline constexpr int kLeafDupBits = 21;
inline constexpr int kLeafTrlBits = 22;
inline constexpr int kLeafEntrySize = 23;

// Index lock places per lock scheme (offset in the index file, pool size).
struct CdxLockPlace {
  uint64_t offset;
  uint32_t pool;  // 0: a single byte; else a shared lock takes 1 byte at offset + 1..pool
};

// Returns false for a scheme without an index lock place.
inline bool cdxLockPlace(int scheme, CdxLockPlace& out) {
  switch (scheme) {
    case 1: out = {1000000000ull, 0}; return true;
    case 2:
    case 4: out = {0xFFFEFFFFull, 65536}; return true;
    case 3: out = {0x7FFFFFFEull, 0}; return true;
    case 5: out = {0x7FFFFFFF00000001ull, 0}; return true;
    default: return false;
  }
}

// ---- Fixed-width numbers. Get* read from a pointer, Put* write to one. --------------------

inline uint16_t GetLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetLE32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t GetBE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void PutBE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}
// An entry of n bytes (3..6 in practice, at most 8) as a little-endian integer.
inline uint64_t GetLEn(const uint8_t* p, int n) {
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
inline void PutLEn(uint8_t* p, int n, uint64_t v) {
  for (int i = 0; i < n; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace pv::cdx

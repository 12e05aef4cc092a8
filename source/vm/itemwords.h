// Numbers written and copied in 8-byte words, for the hot paths of the machine and the sends.
#pragma once

#include <cstdint>
#include <cstring>

#include "item.h"

// The helpers of the machine's loop are inlined into it in optimised builds only: unoptimised
// builds keep each inlined copy's locals out of the loop's frame, which recursion multiplies.
#ifdef __OPTIMIZE__
#define PV_HOT [[gnu::always_inline]]
#else
#define PV_HOT
#endif

// Numbers are written and copied in 8-byte words. A value is often copied by the operation
// right after the one that computed it; a copy that reads the bytes in the pieces they were
// written in takes them straight from the pending writes, where a wider read waits for them to
// reach the cache first.
inline void pv_itemPutWords(PvItem* p, uint32_t type, uint64_t w0, uint64_t w1) {
  p->type = type;
  auto* bytes = reinterpret_cast<unsigned char*>(&p->item);
  std::memcpy(bytes, &w0, 8);
  std::memcpy(bytes + 8, &w1, 8);
}

inline uint64_t pv_itemPairWord(int32_t low, int32_t high) {
  return static_cast<uint32_t>(low) | (static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32);
}

inline bool pv_itemIsNumber(const PvItem* p) { return (p->type & ~PV_IT_NUMERIC) == 0 && p->type; }

// Copies a number (integer, long or double) onto an item that owns nothing.
inline void pv_itemCopyNumber(PvItem* dest, const PvItem* src) {
  uint64_t w0, w1;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&src->item);
  std::memcpy(&w0, bytes, 8);
  std::memcpy(&w1, bytes + 8, 8);
  asm("" : "+r"(w0), "+r"(w1));  // two reads, as written: never one wider read
  pv_itemPutWords(dest, src->type, w0, w1);
}

// pv_itemMove and pv_itemCopy with numbers copied in words.
PV_HOT inline void pv_itemMoveWords(PvItem* dest, PvItem* src) {
  if (pv_itemIsNumber(src) && !(dest->type & PV_IT_COMPLEX)) {
    pv_itemCopyNumber(dest, src);
    src->type = PV_IT_NIL;
  } else {
    pv_itemMove(dest, src);
  }
}

PV_HOT inline void pv_itemCopyWords(PvItem* dest, PvItem* src) {
  if (pv_itemIsNumber(src) && !(dest->type & PV_IT_COMPLEX)) pv_itemCopyNumber(dest, src);
  else pv_itemCopy(dest, src);
}

// The header in front of every collector block, shared by the collector and the inline copy
// and clear of items (which raise and lower its holder count without a call).
//
// Layout (64-bit build, 32 bytes; the block's body follows it, 8-aligned):
//   offset 0   prev      previous block of the circular list the block sits in
//   offset 8   next      next block of that list
//   offset 16  funcs     the kind's clear and mark functions
//   offset 24  refCount  holders of the block
//   offset 28  locks     lock count (locked blocks sit in the list of roots)
//   offset 30  flags     mark and dead bits
#pragma once

#include <cstdint>

struct PvGcFuncs;

struct PvGcHeader {
  PvGcHeader* prev;
  PvGcHeader* next;
  const PvGcFuncs* funcs;
  uint32_t refCount;
  uint16_t locks;
  uint16_t flags;
};

inline PvGcHeader* pv_gcHeader(void* block) { return static_cast<PvGcHeader*>(block) - 1; }

// The collector of shared blocks: arrays, hashes, code blocks and collectable pointers.
//
// Every block carries a header in front of it: the kind's function table, a reference count,
// a lock count and mark flags, and the links of the circular list it sits in (the unlocked list
// of collection candidates, or the locked list of roots). Reference counts free most blocks as
// soon as their last holder goes; `pv_gcCollectAll` frees what only cycles keep alive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "item.h"

struct PvGcFuncs {
  void (*clear)(void* block);  // release what the block holds (not the block itself)
  void (*mark)(void* block);   // mark what the block refers to (nullptr: nothing)
};

void* pv_gcAlloc(size_t size, const PvGcFuncs* funcs);  // reference count 1, unlocked
void pv_gcIncRef(void* block);
// Lowers the count; at zero the block is cleared and freed (a block the running collection has
// found dead is left for the collector). Lowering a zero count is internal error 9027.
void pv_gcDecRef(void* block);
uint32_t pv_gcRefCount(void* block);
void pv_gcLock(void* block);    // move to the locked list (a root)
void pv_gcUnlock(void* block);
const PvGcFuncs* pv_gcFunc(void* block);
bool pv_gcIsDead(void* block);  // found dead by a running collection

// Marking, for the mark functions of block kinds and the root markers.
void pv_gcMark(void* block);
void pv_gcItemMark(PV_ITEM item);
// Root markers are called at every collection (the stack, statics, memvars, classes).
void pv_gcRegisterRoots(void (*markRoots)());

void pv_gcCollect();                 // a collection if enough new blocks were allocated
void pv_gcCollectAll(bool force);
size_t pv_gcBlockCount();            // live blocks, for tests

// The collector: block headers, reference counts, the locked and unlocked lists, and the
// mark-and-sweep pass that frees blocks kept alive only by cycles.
//
// Mark bits: a block is marked by setting its mark bit to the current cycle's value, so
// nothing needs clearing between cycles; the meaning of the bit flips after each collection.
#include "gc.h"

#include <vector>

#include "errint.h"
#include "gcheader.h"

namespace {

enum : uint16_t {
  kMarkBit = 0x0001,
  kDeadBit = 0x0002,   // found unreachable by the running collection
};

using GcHeader = PvGcHeader;

GcHeader* g_unlocked = nullptr;
GcHeader* g_locked = nullptr;
uint16_t g_markValue = kMarkBit;
size_t g_newBlocks = 0;
size_t g_blockCount = 0;
bool g_collecting = false;
std::vector<void (*)()> g_rootMarkers;

GcHeader* header(void* block) { return static_cast<GcHeader*>(block) - 1; }
void* body(GcHeader* h) { return h + 1; }

void link(GcHeader*& list, GcHeader* h) {
  if (list) {
    h->next = list;
    h->prev = list->prev;
    list->prev->next = h;
    list->prev = h;
  } else {
    h->next = h->prev = h;
  }
  list = h;
}

void unlink(GcHeader*& list, GcHeader* h) {
  h->prev->next = h->next;
  h->next->prev = h->prev;
  if (list == h) list = (h->next == h) ? nullptr : h->next;
}

bool isMarked(GcHeader* h) { return (h->flags & kMarkBit) == g_markValue; }

void freeBlock(GcHeader* h) {
  unlink(h->locks ? g_locked : g_unlocked, h);
  --g_blockCount;
  pv_xfree(h);
}

// Sweep: clear every unlocked, unmarked block (flagged dead first so that releases between dead
// blocks do not free them), then free them all.
void sweep() {
  std::vector<GcHeader*> dead;
  if (GcHeader* h = g_unlocked) {
    do {
      if (!isMarked(h)) {
        h->flags |= kDeadBit;
        dead.push_back(h);
      }
      h = h->next;
    } while (h != g_unlocked);
  }
  for (GcHeader* h : dead) {
    ++h->refCount;  // keep it alive through its own clear
    if (h->funcs->clear) h->funcs->clear(body(h));
  }
  for (GcHeader* h : dead) freeBlock(h);
}

}  // namespace

void* pv_gcAlloc(size_t size, const PvGcFuncs* funcs) {
  auto* h = static_cast<GcHeader*>(pv_xgrab(sizeof(GcHeader) + size));
  h->funcs = funcs;
  h->refCount = 1;
  h->locks = 0;
  h->flags = static_cast<uint16_t>(g_markValue ^ kMarkBit);  // unmarked in this cycle
  link(g_unlocked, h);
  ++g_newBlocks;
  ++g_blockCount;
  return body(h);
}

void pv_gcIncRef(void* block) { ++header(block)->refCount; }

void pv_gcDecRef(void* block) {
  GcHeader* h = header(block);
  if (h->refCount == 0) pv_errInternal(9027, "Premature Pointer Release detected: '%s'", "", "");
  if (--h->refCount > 0 || (h->flags & kDeadBit)) return;
  ++h->refCount;
  if (h->funcs->clear) h->funcs->clear(block);
  if (--h->refCount == 0) freeBlock(h);
}

uint32_t pv_gcRefCount(void* block) { return header(block)->refCount; }

void pv_gcLock(void* block) {
  GcHeader* h = header(block);
  if (h->locks++ == 0) {
    unlink(g_unlocked, h);
    link(g_locked, h);
  }
}

void pv_gcUnlock(void* block) {
  GcHeader* h = header(block);
  if (h->locks > 0 && --h->locks == 0) {
    unlink(g_locked, h);
    link(g_unlocked, h);
  }
}

const PvGcFuncs* pv_gcFunc(void* block) { return header(block)->funcs; }
bool pv_gcIsDead(void* block) { return (header(block)->flags & kDeadBit) != 0; }

void pv_gcMark(void* block) {
  GcHeader* h = header(block);
  if (isMarked(h)) return;
  h->flags ^= kMarkBit;
  if (h->funcs->mark) h->funcs->mark(block);
}

void pv_gcRegisterRoots(void (*markRoots)()) { g_rootMarkers.push_back(markRoots); }

void pv_gcCollect() { pv_gcCollectAll(false); }

void pv_gcCollectAll(bool force) {
  if (g_collecting || !g_unlocked || (!force && g_newBlocks < 64)) return;
  g_collecting = true;
  g_newBlocks = 0;
  for (auto marker : g_rootMarkers) marker();
  if (GcHeader* h = g_locked) {
    do {
      if (!isMarked(h)) {
        h->flags ^= kMarkBit;
        if (h->funcs->mark) h->funcs->mark(body(h));
      }
      h = h->next;
    } while (h != g_locked);
  }
  sweep();
  g_markValue ^= kMarkBit;
  g_collecting = false;
}

size_t pv_gcBlockCount() { return g_blockCount; }

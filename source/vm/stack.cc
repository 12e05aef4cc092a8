// The evaluation stack: a vector of pointers to items, frames and the return slot. Neither the
// items nor the vector ever move: the vector is reserved once at its largest size (address space
// only; pages are used as the stack reaches them), so the machine may keep pointers into it for
// the life of a frame, and references to items stay valid while the stack grows.
#include <sys/mman.h>

#include <cstring>
#include <vector>

#include "errint.h"
#include "gc.h"
#include "memvar.h"
#include "stackdef.h"
#include "vm.h"

PvStack pv_stack;

namespace {

PvStack& g_stack = pv_stack;

constexpr PV_SIZE kMaxSlots = PV_SIZE{1} << 23;  // 64 MB of address space for the vector

// The blocks of items, kept where leak checkers look (the vector itself is mapped memory).
std::vector<PvItem*>& itemBlocks() {
  static auto* blocks = new std::vector<PvItem*>();
  return *blocks;
}

PvItem** reserveVector() {
  void* p = mmap(nullptr, kMaxSlots * sizeof(PvItem*), PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) pv_errInternal(9006, nullptr, nullptr, nullptr);
  return static_cast<PvItem**>(p);
}

}  // namespace

void pv_stackGrow() {
  PV_SIZE add = g_stack.size < 64 ? 64 : g_stack.size;
  if (g_stack.size + add > kMaxSlots) add = kMaxSlots - g_stack.size;
  if (add == 0) pv_errInternal(9006, nullptr, nullptr, nullptr);
  if (!g_stack.items) g_stack.items = reserveVector();
  auto* block = static_cast<PvItem*>(pv_xgrab(add * sizeof(PvItem)));
  itemBlocks().push_back(block);
  for (PV_SIZE i = 0; i < add; ++i) {
    block[i].type = PV_IT_NIL;
    g_stack.items[g_stack.size + i] = &block[i];
  }
  g_stack.size += add;
}

namespace {

void markStack() {
  for (PV_SIZE i = 0; i < g_stack.top; ++i) pv_gcItemMark(g_stack.items[i]);
  pv_gcItemMark(&g_stack.ret);
}

struct Registrar {
  Registrar() { pv_gcRegisterRoots(markStack); }
} g_registrar;

}  // namespace

void pv_stackInit() {
  if (!g_stack.items) pv_stackGrow();
  if (g_stack.top == 0) {  // the root frame: a NIL symbol slot and a NIL self
    g_stack.top = 2;
    g_stack.base = 0;
    pv_itemPutSymbol(g_stack.items[0], nullptr);
    g_stack.items[0]->item.asSymbol.state = &g_stack.rootState;
  }
}

void pv_stackFree() {
  pv_stackRemove(0);
  pv_itemClear(&g_stack.ret);
  g_stack.base = 0;
}

PV_ITEM pv_stackAllocItem() {
  if (g_stack.items == nullptr) pv_stackInit();
  if (g_stack.top == g_stack.size) pv_stackGrow();
  return g_stack.items[g_stack.top++];
}

void pv_stackPop() {
  if (g_stack.top <= 0) pv_errInternal(9019, nullptr, nullptr, nullptr);
  PvItem* p = g_stack.items[--g_stack.top];
  if (PV_IS_COMPLEX(p)) pv_itemClear(p);
  else p->type = PV_IT_NIL;
}

void pv_stackPopReturn() {
  if (g_stack.top <= 0) pv_errInternal(9019, nullptr, nullptr, nullptr);
  pv_itemMove(&g_stack.ret, g_stack.items[--g_stack.top]);
}

void pv_stackDec() {
  if (g_stack.top <= 0) pv_errInternal(9019, nullptr, nullptr, nullptr);
  --g_stack.top;
}

void pv_stackRemove(PV_SIZE untilTop) {
  while (g_stack.top > untilTop) pv_stackPopFast();
}

PvItem*** pv_stackItemsBase() { return &g_stack.items; }

PV_ITEM pv_stackFrameSymbolItem(int level) {
  PV_SIZE base = g_stack.base;
  while (level-- > 0) {
    if (base == 0) return nullptr;
    base = g_stack.items[base]->item.asSymbol.state->prevBase;
  }
  return base == 0 ? nullptr : g_stack.items[base];
}

int pv_stackFrameCount() {
  int n = 0;
  while (pv_stackFrameSymbolItem(n)) ++n;
  return n;
}

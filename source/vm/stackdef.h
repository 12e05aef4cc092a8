// The evaluation stack's record, for the machine's inline access. Other code uses vm.h.
#pragma once

#include "dynsym.h"
#include "errint.h"
#include "item.h"
#include "memvar.h"
#include "vm.h"


void pv_stackGrow();

[[gnu::always_inline]] inline PvItem* pv_stackTop(int offset) { return pv_stack.items[pv_stack.top + offset]; }

[[gnu::always_inline]] inline PvItem* pv_stackPushSlot() {
  if (pv_stack.top == pv_stack.size) pv_stackGrow();
  return pv_stack.items[pv_stack.top++];
}

// Pops the top slot; what it held must already be released or moved out.
inline void pv_stackDrop() { --pv_stack.top; }

[[gnu::always_inline]] inline void pv_stackPopFast() {
  PvItem* p = pv_stack.items[--pv_stack.top];
  if (PV_IS_COMPLEX(p)) pv_itemClear(p);
  else p->type = PV_IT_NIL;
}

inline PvItem* pv_stackLocal(int n) { return pv_stack.items[pv_stack.base + 1 + n]; }

// The slot of local n of the running frame (n < 0: a detached local of the running block;
// parameters passed beyond the declared ones shift the locals that follow them).
PV_ITEM pv_vmLocalSlotSlow(int n);
inline PvItem* pv_vmLocalSlotFast(int n) {
  PvItem* sym = pv_stack.items[pv_stack.base];
  if (n > 0 && (n <= sym->item.asSymbol.paramdeclcnt ||
                sym->item.asSymbol.paramcnt <= sym->item.asSymbol.paramdeclcnt))
    return pv_stackLocal(n);
  return pv_vmLocalSlotSlow(n);
}

// The symbol whose function a call of `symbol` runs: a public name runs what its dynamic
// symbol holds (a function registered later under the same name), unless that has none.
inline PvSymbol* pv_vmCallee(PvSymbol* symbol) {
  PvSymbol* exec = symbol;
  if (symbol->dynsym && (symbol->scope & PV_FS_PUBLIC)) exec = symbol->dynsym->symbol;
  if (exec->value.func == nullptr && exec != symbol && symbol->value.func) exec = symbol;
  return exec;
}

// Makes the slot at top - argc - 2 (the callee's symbol) the base of a new call.
inline void pv_stackNewFrame(PvStackState* state, uint16_t argc) {
  PV_SIZE base = pv_stack.top - argc - 2;
  PvItem* sym = pv_stack.items[base];
  if (!PV_IS_SYMBOL(sym)) pv_errInternal(9015, nullptr, "pv_stackNewFrame()", nullptr);
  PvStackState* caller = pv_stack.items[pv_stack.base]->item.asSymbol.state;
  state->prevBase = pv_stack.base;
  state->privateBase = pv_memvarGetPrivatesBase();
  state->statics = caller ? caller->statics : nullptr;
  state->module = nullptr;
  state->line = state->baseLine = 0;
  state->moduleName = nullptr;
  state->withObjectBase = state->recoverBase = state->classHandle = 0;
  sym->item.asSymbol.state = state;
  sym->item.asSymbol.paramcnt = argc;
  sym->item.asSymbol.paramdeclcnt = argc;
  pv_stack.base = base;
}

// Ends the running call: its slots are released, its privates too, and the caller's base
// is restored.
inline void pv_stackOldFrame(PvStackState* state) {
  PV_SIZE top = pv_stack.top;
  while (top > pv_stack.base) {
    PvItem* p = pv_stack.items[--top];
    if (!PV_IS_COMPLEX(p)) {
      p->type = PV_IT_NIL;
      continue;
    }
    pv_stack.top = top + 1;  // releasing may run code that uses the stack above it
    pv_stackPopFast();
    top = pv_stack.top;
  }
  pv_stack.top = top;
  pv_memvarSetPrivatesBase(state->privateBase);
  pv_stack.base = state->prevBase;
}

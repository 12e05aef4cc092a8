// Variables for the machine: locals, detached locals, statics, fields and memory variables.
#include "vmvars.h"

#include <cctype>
#include <cstring>

#include "array.h"
#include "codeblock.h"
#include "dynsym.h"
#include "errors.h"
#include "gc.h"
#include "hooks.h"
#include "memvar.h"
#include "stackdef.h"

namespace {

// Defaults while no table engine is linked in: no fields, work area 1.
bool noFieldGet(PvDynSym*, PV_ITEM) { return false; }
bool noFieldPut(PvDynSym*, PV_ITEM) { return false; }
int areaOne() { return 1; }
void selectNothing(int) {}
int noAlias(PV_ITEM) {
  pv_errRT_BASE(PV_EG_NOALIAS, 1002, nullptr, "", 0);
  return 0;
}
const PvAreaHooks kNoAreas = {noFieldGet, noFieldPut, areaOne, selectNothing, noAlias};

const PvAreaHooks* g_areas = &kNoAreas;
const PvMacroHooks* g_macros = nullptr;

bool isMemvarAlias(PV_ITEM alias) {
  const char* name = nullptr;
  if (PV_IS_SYMBOL(alias)) name = pv_itemGetSymbol(alias)->name;
  else if (PV_IS_STRING(alias)) name = pv_itemGetCPtr(alias);
  if (!name) return false;
  char up[8] = {0};
  for (int i = 0; i < 7 && name[i]; ++i) up[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  return !std::strcmp(up, "M") || !std::strcmp(up, "MEMVAR");
}

}  // namespace

void pv_vmSetMacroHooks(const PvMacroHooks* hooks) { g_macros = hooks; }
void pv_vmSetAreaHooks(const PvAreaHooks* hooks) { g_areas = hooks ? hooks : &kNoAreas; }
const PvMacroHooks* pv_vmMacroHooks() { return g_macros; }
const PvAreaHooks* pv_vmAreaHooks() { return g_areas; }

PV_ITEM pv_vmLocalSlotSlow(int n) {
  if (n < 0) {
    PvCodeBlock* cb = pv_stackSelfItem()->item.asBlock.value;
    return &cb->locals[-n - 1];
  }
  PvItem* sym = pv_stack.items[pv_stack.base];
  int extra = sym->item.asSymbol.paramcnt - sym->item.asSymbol.paramdeclcnt;
  if (n > sym->item.asSymbol.paramdeclcnt && extra > 0) n += extra;
  return pv_stackLocal(n);
}

void pv_vmElementRef(PV_ITEM dest, PV_ITEM array, PV_SIZE index) {
  PvBaseArray* base = array->item.asArray.value;
  pv_gcIncRef(base);
  pv_itemClear(dest);
  dest->type = PV_IT_BYREF;
  dest->item.asRefer.array = base;
  dest->item.asRefer.extValue = nullptr;
  dest->item.asRefer.offset = index - 1;
}

PV_ITEM pv_vmLocalSlot(int n) { return pv_vmLocalSlotFast(n); }

PV_ITEM pv_vmDetachLocal(int n) {
  PV_ITEM slot = pv_vmLocalSlot(n);
  if (PV_IS_BYREF(slot)) return slot;
  PvItem holder = {PV_IT_NIL, {}};
  pv_arrayNew(&holder, 1);
  pv_itemMove(pv_arrayGetItemPtr(&holder, 1), slot);
  pv_vmElementRef(slot, &holder, 1);
  pv_itemClear(&holder);
  return slot;
}

PV_ITEM pv_vmStatics() { return pv_stackBaseState()->statics; }

void pv_vmPushField(PvDynSym* name) {
  PvItem* slot = pv_stackPushSlot();
  PV_ITEM error = nullptr;
  while (!g_areas->fieldGet(name, slot) &&
         pv_errLaunchNoVar(pv_dynsymName(name), &error) == PV_ERR_RETRY) {
  }
  if (error) pv_errRelease(error);
}

void pv_vmPopField(PvDynSym* name) {
  if (!g_areas->fieldPut(name, pv_stackTop(-1)))
    pv_errRT_BASE(PV_EG_NOVAR, 1003, nullptr, pv_dynsymName(name), 0);
  pv_stackPopFast();
}

void pv_vmPushVariable(PvDynSym* name) {
  PvItem* slot = pv_stackPushSlot();
  if (g_areas->fieldGet(name, slot)) return;
  pv_stackDrop();
  pv_memvarPushValue(name);
}

void pv_vmPopVariable(PvDynSym* name) {
  PvItem* value = pv_stackTop(-1);
  if (g_areas->fieldPut(name, value)) {
    pv_stackPopFast();
    return;
  }
  pv_memvarSetValue(name, pv_itemUnRef(value));
  pv_stackPopFast();
}

// Runs `action` with the area named by the alias on the stack top selected; the alias is popped.
template <typename F>
static void inAliasArea(F action) {
  PvItem* alias = pv_itemUnRef(pv_stackTop(-1));
  int area = g_areas->areaOf(alias);
  pv_stackPopFast();
  if (!area) return;
  int previous = g_areas->currentArea();
  g_areas->selectArea(area);
  action();
  g_areas->selectArea(previous);
}

void pv_vmPushAliasedField(PvDynSym* name) {
  PV_SIZE top = pv_stack.top;
  inAliasArea([&] { pv_vmPushField(name); });
  if (pv_stack.top == top - 1) pv_vmPushNil();  // no area: the value is NIL
}

void pv_vmPopAliasedField(PvDynSym* name) {
  PvItem value = {PV_IT_NIL, {}};
  pv_itemMove(&value, pv_stackTop(-2));
  pv_itemMove(pv_stackTop(-2), pv_stackTop(-1));
  pv_stackDrop();  // now: alias on top
  inAliasArea([&] {
    if (!g_areas->fieldPut(name, &value))
      pv_errRT_BASE(PV_EG_NOVAR, 1003, nullptr, pv_dynsymName(name), 0);
  });
  pv_itemClear(&value);
}

void pv_vmPushAliasedVar(PvDynSym* name) {
  if (isMemvarAlias(pv_itemUnRef(pv_stackTop(-1)))) {
    pv_stackPopFast();
    pv_memvarPushValue(name);
    return;
  }
  pv_vmPushAliasedField(name);
}

void pv_vmPopAliasedVar(PvDynSym* name) {
  if (isMemvarAlias(pv_itemUnRef(pv_stackTop(-1)))) {
    pv_stackPopFast();
    pv_memvarSetValue(name, pv_itemUnRef(pv_stackTop(-1)));
    pv_stackPopFast();
    return;
  }
  pv_vmPopAliasedField(name);
}

void pv_vmPopAlias() {
  int area = g_areas->areaOf(pv_itemUnRef(pv_stackTop(-1)));
  pv_stackPopFast();
  if (area) g_areas->selectArea(area);
}

void pv_vmPushAlias() { pv_itemPutNI(pv_stackPushSlot(), g_areas->currentArea()); }

void pv_vmSwapAlias() {
  int area = pv_itemGetNI(pv_stackTop(-2));
  g_areas->selectArea(area);
  pv_itemMove(pv_stackTop(-2), pv_stackTop(-1));
  pv_stackDrop();
}

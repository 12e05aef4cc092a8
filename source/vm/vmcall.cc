// Calls, sends, code-block evaluation, the push interface for native code and the quit/break
// requests.
#include <cstdarg>

#include "array.h"
#include "classes.h"
#include "codeblock.h"
#include "dynsym.h"
#include "errors.h"
#include "gc.h"
#include "memvar.h"
#include "stackdef.h"
#include "vm.h"

namespace {

PvItem g_breakValue = {PV_IT_NIL, {}};

}  // namespace

// Evaluates the code block in the self slot of the running frame with the frame's parameters.
void pv_vmEvalFrameBlock() {
  PV_ITEM self = pv_stackSelfItem();
  if (!PV_IS_BLOCK(self)) {
    pv_errRT_BASE(PV_EG_NOMETHOD, 1004, "Class: 'NIL' has no exported method", "EVAL", 0);
    return;
  }
  PvCodeBlock* cb = self->item.asBlock.value;
  for (int i = pv_stackBaseItem()->item.asSymbol.paramcnt; i < cb->paramCount; ++i)
    pv_stackPushSlot();  // missing parameters
  PvStackState* st = pv_stackBaseState();
  st->statics = cb->statics;
  st->line = cb->defLine;
  pv_vmExecute(cb->pcode, cb->symbols, cb->rewritable);
}

namespace {

PvSymbol g_evalSymbol = {"__EVAL", PV_FS_PUBLIC | PV_FS_LOCAL, {pv_vmEvalFrameBlock}, nullptr};

void markBreakValue() { pv_gcItemMark(&g_breakValue); }

struct Registrar {
  Registrar() {
    pv_vmProcessSymbols(&g_evalSymbol, 1, "vm", 9, 0);
    pv_gcRegisterRoots(markBreakValue);
  }
} g_registrar;

void undefinedFunction(PvSymbol* symbol, uint16_t argc) {
  PV_ITEM args = pv_itemNew(nullptr);
  pv_arrayNew(args, argc);
  for (uint16_t i = 1; i <= argc; ++i) pv_arraySet(args, i, pv_stackItemFromBase(i));
  PV_ITEM subst = pv_errRT_BASE_SubstArray(PV_EG_NOFUNC, 1001, nullptr, symbol->name, args);
  pv_itemRelease(args);
  if (subst) {
    pv_itemMove(pv_stackReturnItem(), subst);
    pv_itemRelease(subst);
  }
}

}  // namespace

PvSymbol* pv_symEval = &g_evalSymbol;

// ---- requests ---------------------------------------------------------------------------------
uint16_t pv_vmRequestFlags = 0;

void pv_vmRequestQuit() { pv_vmRequestFlags |= PV_QUIT_REQUESTED; }
void pv_vmRequestEndProc() { pv_vmRequestFlags |= PV_ENDPROC_REQUESTED; }
void pv_vmRequestBreak(PV_ITEM value) {
  if (value) pv_itemCopy(&g_breakValue, value);
  else pv_itemClear(&g_breakValue);
  pv_vmRequestFlags |= PV_BREAK_REQUESTED;
}
void pv_vmRequestCancel() { pv_vmRequestFlags &= PV_QUIT_REQUESTED; }
void pv_vmRequestReset() { pv_vmRequestFlags = 0; }
PV_ITEM pv_vmBreakValue() { return &g_breakValue; }

// ---- pushing ----------------------------------------------------------------------------------
void pv_vmPushSymbol(PvSymbol* symbol) { pv_itemPutSymbol(pv_stackAllocItem(), symbol); }
void pv_vmPushDynSym(PvDynSym* dynsym) { pv_vmPushSymbol(dynsym->symbol); }
void pv_vmPushNil() { pv_stackAllocItem(); }
void pv_vmPush(PV_ITEM item) { pv_itemCopy(pv_stackAllocItem(), item); }
void pv_vmPushString(const char* text, PV_SIZE len) { pv_itemPutCL(pv_stackAllocItem(), text, len); }
void pv_vmPushNumber(double value, int decimals) {
  if (decimals) pv_itemPutNDDec(pv_stackAllocItem(), value, decimals);
  else pv_itemPutNLen(pv_stackAllocItem(), value, 0, 0);
}
void pv_vmPushInteger(int value) { pv_itemPutNI(pv_stackAllocItem(), value); }
void pv_vmPushLong(long long value) { pv_itemPutNInt(pv_stackAllocItem(), value); }
void pv_vmPushLogical(bool value) { pv_itemPutL(pv_stackAllocItem(), value); }
void pv_vmPushDate(long julian) { pv_itemPutDL(pv_stackAllocItem(), julian); }
void pv_vmPushPointer(void* value) { pv_itemPutPtr(pv_stackAllocItem(), value); }

namespace {
PvItem* refRead(void* v) { return static_cast<PvItem*>(v); }
void refCopy(PvItem*) {}
void refClear(void*) {}
const PvRefExtFuncs kNativeRef = {refRead, refRead, refCopy, refClear, nullptr};
}  // namespace

void pv_vmPushItemRef(PV_ITEM item) {
  PV_ITEM ref = pv_stackAllocItem();
  ref->type = PV_IT_BYREF;
  ref->item.asRefer.ext = &kNativeRef;
  ref->item.asRefer.extValue = item;
  ref->item.asRefer.offset = -1;
}

// ---- calls ------------------------------------------------------------------------------------
void pv_vmProcCall(PvSymbol* symbol) {
  PvSymbol* exec = pv_vmCallee(symbol);
  if (!exec->value.func && pv_dynsymFunction(symbol->name)) exec = pv_vmCallee(symbol);
  if (exec->scope & PV_FS_PCODEFUNC) {
    pv_vmExecuteProc(exec->value.pcode);
  } else if (exec->value.func) {
    exec->value.func();
  } else {
    undefinedFunction(symbol, static_cast<uint16_t>(pv_pcount()));
  }
}

void pv_vmFunction(uint16_t argc) {
  pv_vmDo(argc);
  pv_itemMove(pv_stackPushSlot(), &pv_stack.ret);
}

void pv_vmSend(uint16_t argc) {
  pv_itemClear(pv_stackReturnItem());
  pv_clsDispatch(argc);
}

PV_ITEM pv_vmEvalBlock(PV_ITEM block) {
  pv_vmPushSymbol(pv_symEval);
  pv_vmPush(block);
  pv_vmDo(0);
  return pv_stackReturnItem();
}

PV_ITEM pv_vmEvalBlockV(PV_ITEM block, int argc, ...) {
  pv_vmPushSymbol(pv_symEval);
  pv_vmPush(block);
  va_list ap;
  va_start(ap, argc);
  for (int i = 0; i < argc; ++i) pv_vmPush(va_arg(ap, PV_ITEM));
  va_end(ap);
  pv_vmDo(static_cast<uint16_t>(argc));
  return pv_stackReturnItem();
}

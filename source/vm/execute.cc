// The bytecode interpreter: one dispatch switch over the opcodes of pcode.h, with the frame's
// sequence records, WITH OBJECT stack and FOR EACH enumerators.
//
// Unwinding: after every operation that can run other code (calls, sends, operators that may
// raise), a pending request (quit, break, end-procedure) is handled: a break goes to the
// innermost sequence or TRY record of this frame; without one the frame ends and its caller
// handles the request. FINALLY code runs before an unwind leaves its TRY.
#include <bit>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "array.h"
#include "classes.h"
#include "codeblock.h"
#include "dynsym.h"
#include "errint.h"
#include "errors.h"
#include "hash.h"
#include "hooks.h"
#include "itemwords.h"
#include "memvar.h"
#include "pcode.h"
#include "pvregex.h"
#include "quicken.h"
#include "set.h"
#include "stackdef.h"
#include "vmops.h"
#include "vmvars.h"

using namespace pv;

namespace {

// ---- operand decoding (little-endian) ----------------------------------------------------------
inline uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t s16(const uint8_t* p) { return static_cast<int16_t>(u16(p)); }
inline int32_t s24(const uint8_t* p) {
  int32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
  return (v & 0x800000) ? v - 0x1000000 : v;
}
inline int32_t s32(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline int64_t s64(const uint8_t* p) {
  int64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
inline double f64(const uint8_t* p) {
  double v;
  std::memcpy(&v, p, 8);
  return v;
}
template <typename T>
inline T* ptrOperand(const uint8_t* p) {
  T* v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Length of a NUL-terminated operand including its NUL. The debug names of a procedure's
// prologue are passed at every call, so their lengths are remembered by address.
size_t cstrSize(const uint8_t* p) {
  struct Entry {
    const uint8_t* at;
    size_t size;
  };
  static Entry cache[256];
  Entry& e = cache[(reinterpret_cast<uintptr_t>(p) >> 2) & 255];
  if (e.at != p) e = {p, std::strlen(reinterpret_cast<const char*>(p)) + 1};
  return e.size;
}

enum class RecKind { Seq, Try, Finally };

struct Record {
  RecKind kind;
  const uint8_t* target;   // recovery, catch or finally address
  PV_SIZE stackTop;
  size_t withDepth, enumDepth;
};

enum class Pending { None, Break, Return, Quit, EndProc };

struct PendingState {
  Pending kind = Pending::None;
  PvItem value = {PV_IT_NIL, {}};
};

struct Enumerator {
  PvItem ref;        // the loop variable
  PvItem container;
  PV_SIZE index;
};

int g_tryDepth = 0;  // TRY records active anywhere: errors break instead of calling the handler

// What a frame needs only when it uses sequences, WITH OBJECT or FOR EACH: allocated on first
// use, so plain calls pay nothing for it.
struct Extras {
  std::vector<Record> records;
  std::vector<PvItem> with;
  std::vector<Enumerator> enums;
  std::vector<PendingState> pendings;
  PendingState entering;         // what an unwind into FINALLY carries

  ~Extras() {
    for (auto& r : records)
      if (r.kind == RecKind::Try) --g_tryDepth;
    cutWith(0);
    cutEnums(0);
    for (auto& p : pendings) pv_itemClear(&p.value);
    pv_itemClear(&entering.value);
  }
  void cutWith(size_t depth) {
    while (with.size() > depth) {
      pv_itemClear(&with.back());
      with.pop_back();
    }
  }
  void cutEnums(size_t depth) {
    while (enums.size() > depth) {
      pv_itemClear(&enums.back().ref);
      pv_itemClear(&enums.back().container);
      enums.pop_back();
    }
  }
  void popRecord() {
    if (records.back().kind == RecKind::Try) --g_tryDepth;
    records.pop_back();
  }
  void restoreTo(const Record& r) {
    pv_stackRemove(r.stackTop);
    cutWith(r.withDepth);
    cutEnums(r.enumDepth);
  }
};

struct Frame {
  const uint8_t* code;
  PvSymbol* symbols;
  bool staticText;               // literal texts may point into the bytecode
  std::unique_ptr<Extras> extras;
  PvItem** locals;               // locals[n] is local n's slot; nullptr when arguments beyond
                                 // the declared parameters shift the locals
  bool rewritable;               // the code is the machine's own copy (see quicken.h)

  Extras& x() {
    if (!extras) extras = std::make_unique<Extras>();
    return *extras;
  }
};

// The running frame's local slots (the stack's vector never moves), or nullptr when more
// arguments were passed than the `declared` parameters, which shifts the locals after them.
inline PvItem** frameLocals(int declared) {
  return pv_stackBaseItem()->item.asSymbol.paramcnt <= declared ? &pv_stack.items[pv_stack.base + 1] : nullptr;
}

PvDynSym* dynsymOf(PvSymbol* symbols, uint16_t index) {
  PvSymbol* s = &symbols[index];
  return s->dynsym ? s->dynsym : pv_dynsymGet(s->name);
}

void pushText(Frame& f, const uint8_t* p, uint16_t len) {
  PV_SIZE n = len ? len - 1 : 0;  // the stored length counts the terminating NUL
  const char* text = reinterpret_cast<const char*>(p);
  if (f.staticText) pv_itemPutCLStatic(pv_stackPushSlot(), text, n);
  else pv_itemPutCL(pv_stackPushSlot(), text, n);
}

// Finds the innermost record that runs FINALLY code (a TRY without CATCH, or a finally record).
int finallyRecord(const Frame& f) {
  if (!f.extras) return -1;
  const auto& records = f.extras->records;
  for (size_t i = records.size(); i-- > 0;)
    if (records[i].kind == RecKind::Finally ||
        (records[i].kind == RecKind::Try && *records[i].target == PV_P_FINALLY))
      return static_cast<int>(i);
  return -1;
}

// Jumps into the FINALLY code of record `index`, carrying `kind`. Returns the new pc.
const uint8_t* enterFinally(Frame& f, int index, Pending kind, PV_ITEM value) {
  Extras& x = f.x();
  Record r = x.records[static_cast<size_t>(index)];
  while (static_cast<int>(x.records.size()) > index) x.popRecord();
  x.restoreTo(r);
  x.entering.kind = kind;
  if (value) pv_itemCopy(&x.entering.value, value);
  return r.target;
}

// Handles a pending request; returns the pc to continue at, or nullptr to leave the frame.
const uint8_t* unwind(Frame& f) {
  uint16_t req = pv_vmRequestQuery();
  if (req & PV_BREAK_REQUESTED) {
    if (!f.extras || f.extras->records.empty()) return nullptr;
    Record& r = f.extras->records.back();
    if (r.kind == RecKind::Seq || (r.kind == RecKind::Try && *r.target != PV_P_FINALLY)) {
      f.extras->restoreTo(r);
      pv_vmRequestCancel();
      return r.target;  // SEQRECOVER / TRYRECOVER take the record and the value
    }
    PvItem value = {PV_IT_NIL, {}};
    pv_itemCopy(&value, pv_vmBreakValue());
    pv_vmRequestCancel();
    const uint8_t* pc = enterFinally(f, static_cast<int>(f.extras->records.size()) - 1, Pending::Break, &value);
    pv_itemClear(&value);
    return pc;
  }
  int index = finallyRecord(f);
  if (index < 0) return nullptr;
  Pending kind = (req & PV_QUIT_REQUESTED) ? Pending::Quit : Pending::EndProc;
  pv_vmRequestReset();
  return enterFinally(f, index, kind, nullptr);
}

// ENDFINALLY: resumes what the FINALLY code interrupted. Returns false to leave the frame.
bool resumePending(Frame& f) {
  if (!f.extras || f.extras->pendings.empty()) return true;
  PendingState p = f.extras->pendings.back();
  f.extras->pendings.pop_back();
  switch (p.kind) {
    case Pending::None: return true;
    case Pending::Break:
      pv_vmRequestBreak(&p.value);
      pv_itemClear(&p.value);
      return true;
    case Pending::Return:
      pv_itemMove(pv_stackReturnItem(), &p.value);
      return false;
    case Pending::Quit: pv_vmRequestQuit(); return true;
    case Pending::EndProc: pv_vmRequestEndProc(); return true;
  }
  return true;
}

void makeBlock(Frame& f, const uint8_t* pc, bool isShort, bool macro) {
  uint32_t size;
  uint16_t params = 0, count = 0;
  const uint8_t* code;
  std::vector<PvItem> locals;
  if (isShort) {
    size = pc[1];
    code = pc + 2;
  } else {
    size = u16(pc + 1);
    params = u16(pc + 3);
    count = u16(pc + 5);
    code = pc + 7 + 2 * count;
    locals.assign(count, PvItem{PV_IT_NIL, {}});
    for (uint16_t i = 0; i < count; ++i)
      pv_itemCopy(&locals[i], pv_vmDetachLocal(s16(pc + 7 + 2 * i)));
  }
  uint32_t codeSize = size - static_cast<uint32_t>(code - pc);
  PvItem* slot = pv_stackPushSlot();
  PvCodeBlock* cb = pv_codeblockNew(slot, code, codeSize, f.symbols, params, locals.data(), count, macro);
  cb->rewritable = f.rewritable && !macro;
  cb->statics = pv_stackBaseState()->statics;
  cb->defLine = pv_stackBaseState()->line;
  cb->defProc = pv_stackBaseItem()->item.asSymbol.value;
  cb->defModuleName = pv_stackBaseState()->moduleName;
  if (PV_IS_BLOCK(pv_stackSelfItem())) {  // a block made inside a block: its maker's maker
    cb->defProc = pv_stackSelfItem()->item.asBlock.value->defProc;
    cb->defModuleName = pv_stackSelfItem()->item.asBlock.value->defModuleName;
  }
  for (auto& l : locals) pv_itemClear(&l);
}

// Opens the slots of the parameters not passed and of the locals (free slots are NIL).
inline void doFrame(int locals, int params) {
  PvItem* sym = pv_stack.items[pv_stack.base];
  int passed = sym->item.asSymbol.paramcnt;
  sym->item.asSymbol.paramdeclcnt = static_cast<uint16_t>(params);
  PV_SIZE open = static_cast<PV_SIZE>(locals + (passed < params ? params - passed : 0));
  while (pv_stack.top + open > pv_stack.size) pv_stackGrow();
  pv_stack.top += open;
}

// Reads the prologue of a procedure once: FRAME or LARGEFRAME, then any SFRAME, MODULENAME
// and LOCALNAME operations, which only record what every call sets up the same way.
void readPrologue(PvPcodeFunc* proc) {
  const uint8_t* pc = proc->pcode;
  if (*pc == PV_P_FRAME) {
    proc->locals = pc[1];
    proc->params = pc[2];
    pc += 3;
  } else if (*pc == PV_P_LARGEFRAME) {
    proc->locals = u16(pc + 1);
    proc->params = pc[3];
    pc += 4;
  } else {
    return;  // no prologue: every call runs the code from its start
  }
  for (;;) {
    if (*pc == PV_P_SFRAME) {
      proc->staticsInit = u16(pc + 1);
      pc += 3;
    } else if (*pc == PV_P_MODULENAME) {
      proc->moduleName = reinterpret_cast<const char*>(pc + 1);
      pc += 1 + std::strlen(proc->moduleName) + 1;
    } else if (*pc == PV_P_LOCALNAME) {
      pc += 3 + std::strlen(reinterpret_cast<const char*>(pc + 3)) + 1;
    } else {
      break;
    }
  }
  proc->body = pc;
  if (proc->size > static_cast<uint32_t>(pc - proc->pcode)) {
    proc->body = pv_quickenCopy(proc->pcode, proc->size) + (pc - proc->pcode);
    proc->rewritable = true;
  }
}

void arrayGen(uint16_t n) {
  PvItem array = {PV_IT_NIL, {}};
  pv_arrayNew(&array, n);
  for (uint16_t i = 0; i < n; ++i)
    pv_itemMove(pv_arrayGetItemPtr(&array, i + 1), pv_itemUnRef(pv_stackTop(-n + i)));
  for (uint16_t i = 0; i < n; ++i) pv_stackPopFast();
  pv_itemMove(pv_stackPushSlot(), &array);
}

void arrayDim(PV_ITEM dest, PV_ITEM const* sizes, int n) {
  PV_SIZE len = pv_itemGetNInt(pv_itemUnRef(sizes[0]));
  pv_arrayNew(dest, len < 0 ? 0 : len);
  if (n > 1)
    for (PV_SIZE i = 1; i <= len; ++i) arrayDim(pv_arrayGetItemPtr(dest, i), sizes + 1, n - 1);
}

// ARRAYDIM: replaces the top n sizes by the multi-dimensional array they describe.
void arrayDimFromStack(uint16_t n) {
  PvItem array = {PV_IT_NIL, {}};
  std::vector<PV_ITEM> sizes(n);
  for (uint16_t i = 0; i < n; ++i) sizes[i] = pv_stackTop(-n + i);
  if (n) arrayDim(&array, sizes.data(), n);
  for (uint16_t i = 0; i < n; ++i) pv_stackPopFast();
  pv_itemMove(pv_stackPushSlot(), &array);
}

void hashGen(uint16_t n) {
  PvItem hash = {PV_IT_NIL, {}};
  pv_hashNew(&hash);
  pv_hashPreallocate(&hash, n);
  for (uint16_t i = 0; i < n; ++i) {
    PV_ITEM key = pv_itemUnRef(pv_stackTop(-2 * n + 2 * i));
    if (!pv_hashIsKey(key)) {
      pv_errRT_BASE(PV_EG_BOUND, 1133, nullptr, "{=>}", 1, key);
      continue;
    }
    pv_hashAdd(&hash, key, pv_itemUnRef(pv_stackTop(-2 * n + 2 * i + 1)));
  }
  for (uint16_t i = 0; i < 2 * n; ++i) pv_stackPopFast();
  pv_itemMove(pv_stackPushSlot(), &hash);
}

// Index of an array access: false when the index is not a number.
bool arrayIndex(PV_ITEM index, PV_SIZE* out) {
  if (!PV_IS_NUMERIC(index) && !PV_IS_DATE(index)) return false;
  *out = pv_itemGetNInt(index);
  return true;
}

// The element array[index] of a plain array and an integer index inside it; nullptr for every
// other case (objects, hashes, other indexes, out of range: the general paths decide).
PV_HOT inline PvItem* plainElement(const PvItem* array, const PvItem* index) {
  if (array->type != PV_IT_ARRAY || index->type != PV_IT_INTEGER) return nullptr;
  PvBaseArray* base = array->item.asArray.value;
  uint32_t i = static_cast<uint32_t>(index->item.asInteger.value) - 1u;
  if (base->uiClass || i >= static_cast<uint64_t>(base->len)) return nullptr;
  return &base->items[i];
}

// The element a read (flag PV_HASH_AUTOADD_ACCESS) or an assignment (PV_HASH_AUTOADD_ASSIGN)
// of array[index] reaches in a plain array or a hash; nullptr where the general paths decide
// (objects, other kinds, a missing key or index: they raise the error).
PV_HOT inline PvItem* fastElement(PvItem* array, PvItem* index, int addFlag) {
  if (PvItem* e = plainElement(array, index)) return e;
  if (array->type != PV_IT_HASH) return nullptr;
  return pv_hashGetItemPtr(array, index, (pv_hashGetFlags(array) & addFlag) != 0);
}

// Replaces the array in `slot` by a copy of its element `e`. The element is copied before the
// array is let go, which may be its last holder.
PV_HOT inline void replaceByElement(PvItem* slot, PvItem* e) {
  PvItem value = {PV_IT_NIL, {}};
  pv_itemCopy(&value, e);
  PvGcHeader* header = pv_itemGcHeader(slot);
  if (header->refCount > 1) {
    --header->refCount;
    slot->type = value.type;
    slot->item = value.item;
  } else {
    pv_itemMove(slot, &value);
  }
}

// array[index] for a plain array held on the stack and an integer index inside it: the element
// replaces the two operands. false for every other case.
PV_HOT inline bool fastArrayPush() {
  PvItem* array = pv_stackTop(-2);
  PvItem* index = pv_stackTop(-1);
  PvItem* e = fastElement(array, index, PV_HASH_AUTOADD_ACCESS);
  if (!e) return false;
  replaceByElement(array, e);
  pv_stackPopFast();
  return true;
}

// array[index] := value for a plain array and an integer index inside it: the value (a stack
// slot) moves into the element. false (nothing changed) for every other case.
PV_HOT inline bool storeElement(PvItem* value, PvItem* array, PvItem* index) {
  if (value->type & PV_IT_BYREF) return false;
  PvItem* e = fastElement(array, index, PV_HASH_AUTOADD_ASSIGN);
  if (!e) return false;
  pv_itemMove(e, value);
  e->type &= ~PV_IT_MEMOFLAG;
  return true;
}

// Ends an assignment stored by storeElement: pops the array on the top and the emptied value.
inline void dropStored() {
  pv_stackPopFast();
  pv_stackDrop();
}

// ARRAYPOP (value array index) for what storeElement takes.
PV_HOT inline bool fastArrayPop() {
  if (!storeElement(pv_stackTop(-3), pv_stackTop(-2), pv_stackTop(-1))) return false;
  pv_stackPopFast();
  dropStored();
  return true;
}

// Replaces the result of a failed operation by the error handler's substitute, if any.
void substitute(PV_ITEM result, PV_ITEM s) {
  if (!s) return;
  pv_itemMove(result, s);
  pv_itemRelease(s);
}

void arrayPush() {
  PvItem* array = pv_itemUnRef(pv_stackTop(-2));
  PvItem* index = pv_itemUnRef(pv_stackTop(-1));
  PvItem result = {PV_IT_NIL, {}};
  PV_SIZE i;
  if (PV_IS_ARRAY(array) && PV_IS_OBJECT(array) && pv_objHasOperator(array, PV_OO_OP_ARRAYINDEX)) {
    PvItem obj = {PV_IT_NIL, {}}, idx = {PV_IT_NIL, {}};
    pv_itemCopy(&obj, array);
    pv_itemCopy(&idx, index);
    pv_objOperatorCall(PV_OO_OP_ARRAYINDEX, &result, &obj, &idx, nullptr);
    pv_itemClear(&obj);
    pv_itemClear(&idx);
  } else if (PV_IS_HASH(array) || (PV_IS_ARRAY(array) && arrayIndex(index, &i))) {
    PV_ITEM e = PV_IS_HASH(array)
                    ? pv_hashGetItemPtr(array, index, (pv_hashGetFlags(array) & PV_HASH_AUTOADD_ACCESS) != 0)
                    : pv_arrayGetItemPtr(array, i);
    if (e) pv_itemCopy(&result, e);
    else substitute(&result, pv_errRT_BASE_Subst(PV_EG_BOUND, 1132, nullptr, "array access", 2, array, index));
  } else {
    substitute(&result, pv_errRT_BASE_Subst(PV_EG_ARG, 1068, nullptr, "array access", 2, array, index));
  }
  pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &result);
}

// The element an assignment writes (nullptr after raising the error).
PV_ITEM elementForWrite(PV_ITEM array, PV_ITEM index) {
  PV_SIZE i;
  if (PV_IS_ARRAY(array) && arrayIndex(index, &i)) {
    if (PV_ITEM e = pv_arrayGetItemPtr(array, i)) return e;
    pv_errRT_BASE(PV_EG_BOUND, 1133, nullptr, "array assign", 2, array, index);
    return nullptr;
  }
  if (PV_IS_HASH(array)) {
    PV_ITEM e = pv_hashGetItemPtr(array, index, (pv_hashGetFlags(array) & PV_HASH_AUTOADD_ASSIGN) != 0);
    if (!e) pv_errRT_BASE(PV_EG_BOUND, 1133, nullptr, "array assign", 2, array, index);
    return e;
  }
  pv_errRT_BASE(PV_EG_ARG, 1069, nullptr, "array assign", 2, array, index);
  return nullptr;
}

// value array index -> ; with `add`, array[index] += value.
void arrayPop(bool add) {
  PvItem* value = pv_itemUnRef(pv_stackTop(-3));
  PvItem* array = pv_itemUnRef(pv_stackTop(-2));
  PvItem* index = pv_itemUnRef(pv_stackTop(-1));
  if (PV_ITEM e = elementForWrite(array, index)) {
    if (add) pv_opAddTo(e, value);
    else if (e != value) pv_itemCopy(e, value);
    e->type &= ~PV_IT_MEMOFLAG;
  }
  pv_stackPopFast();
  pv_stackPopFast();
  pv_stackPopFast();
}

void arrayPushRef() {
  PvItem* array = pv_itemUnRef(pv_stackTop(-2));
  PvItem* index = pv_itemUnRef(pv_stackTop(-1));
  PvItem ref = {PV_IT_NIL, {}};
  PV_SIZE i;
  if (PV_IS_ARRAY(array) && arrayIndex(index, &i) && i >= 1 && i <= pv_arrayLen(array))
    pv_vmElementRef(&ref, array, i);
  else
    pv_errRT_BASE(PV_EG_BOUND, 1132, nullptr, "array access", 2, array, index);
  pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &ref);
}

// SWITCHCASE: compares the value under the top with n; pushes the match.
void switchCase(int32_t n) {
  PvItem* v = pv_itemUnRef(pv_stackTop(-1));
  bool match = false;
  if (PV_IS_NUMERIC(v)) {
    match = pv_itemGetND(v) == n;
  } else if (PV_IS_STRING(v) && pv_itemGetCLen(v) == 1) {
    match = static_cast<unsigned char>(pv_itemGetCPtr(v)[0]) == n;
  } else if (PV_ITEM s = pv_errRT_BASE_Subst(PV_EG_ARG, 1604, nullptr, "SWITCH", 1, v)) {
    match = PV_IS_LOGICAL(s) && pv_itemGetL(s);
    pv_itemRelease(s);
  }
  pv_itemPutL(pv_stackPushSlot(), match);
}

// FOR EACH: the values to enumerate (an object overloading FOR EACH is asked once).
bool enumContainer(PV_ITEM src, PV_ITEM dest) {
  src = pv_itemUnRef(src);
  if (PV_IS_OBJECT(src) && pv_objHasOperator(src, PV_OO_OP_FOREACH)) {
    pv_itemCopy(dest, pv_objSendMsg(src, "__OPFOREACH", 0));
    return true;
  }
  if (PV_IS_ARRAY(src) || PV_IS_STRING(src) || PV_IS_HASH(src)) {
    pv_itemCopy(dest, src);
    return true;
  }
  pv_errRT_BASE(PV_EG_ARG, 1068, nullptr, "FOR EACH", 1, src);
  return false;
}

void forEachStart(Frame& f) {
  Enumerator e{{PV_IT_NIL, {}}, {PV_IT_NIL, {}}, 0};
  pv_itemMove(&e.ref, pv_stackTop(-2));
  PvItem container = {PV_IT_NIL, {}};
  pv_itemMove(&container, pv_stackTop(-1));
  pv_stackPopFast();
  pv_stackPopFast();
  if (!enumContainer(&container, &e.container)) pv_itemClear(&e.container);
  pv_itemClear(&container);
  f.x().enums.push_back(e);
}

bool forEachNext(Frame& f) {
  Enumerator& e = f.x().enums.back();
  PV_ITEM c = &e.container;
  PV_SIZE len = PV_IS_STRING(c) ? pv_itemGetCLen(c) : PV_IS_HASH(c) ? pv_hashLen(c) : pv_arrayLen(c);
  if (++e.index > len) return false;
  PV_ITEM var = pv_itemUnRefWrite(&e.ref);
  if (PV_IS_STRING(c)) pv_itemPutCL(var, pv_itemGetCPtr(c) + e.index - 1, 1);
  else if (PV_IS_HASH(c)) pv_itemCopy(var, pv_hashGetValueAt(c, e.index));
  else pv_itemCopy(var, pv_arrayGetItemPtr(c, e.index));
  return true;
}

void macroPush(const char* operation) {
  PvItem* text = pv_itemUnRef(pv_stackTop(-1));
  const PvMacroHooks* hooks = pv_vmMacroHooks();
  if (!PV_IS_STRING(text)) {
    PV_ITEM s = pv_errRT_BASE_Subst(PV_EG_ARG, 1065, nullptr, "&", 1, text);
    pv_stackPopFast();
    if (s) pv_itemMove(pv_stackPushSlot(), s), pv_itemRelease(s);
    else pv_stackPushSlot();
    return;
  }
  PvMacro* m = hooks ? hooks->compile(pv_itemGetCPtr(text), pv_itemGetCLen(text)) : nullptr;
  if (!m) {
    PV_ITEM s = pv_errRT_BASE_Subst(PV_EG_SYNTAX, 1449, nullptr, operation, 1, text);
    pv_stackPopFast();
    if (s) pv_itemMove(pv_stackPushSlot(), s), pv_itemRelease(s);
    else pv_stackPushSlot();
    return;
  }
  pv_stackPopFast();
  hooks->run(m);
  hooks->remove(m);
}

// Text of the stack top as an upper-case name (for macro symbols and references).
PvDynSym* macroName(const char* operation) {
  PvItem* text = pv_itemUnRef(pv_stackTop(-1));
  PvDynSym* d = nullptr;
  if (PV_IS_STRING(text)) d = pv_dynsymGet(pv_itemGetCPtr(text));
  else pv_errRT_BASE(PV_EG_ARG, 1065, nullptr, operation, 1, text);
  pv_stackPopFast();
  return d;
}

void regexOp(bool whole) {
  PvItem* text = pv_itemUnRef(pv_stackTop(-2));
  PvItem* pattern = pv_itemUnRef(pv_stackTop(-1));
  PvItem result = {PV_IT_NIL, {}};
  if (PV_IS_STRING(text) && PV_IS_STRING(pattern)) {
    int r = pv_regexMatch(pv_itemGetCPtr(pattern), pv_itemGetCLen(pattern), pv_itemGetCPtr(text),
                          pv_itemGetCLen(text), whole);
    if (r < 0) pv_errRT_BASE(PV_EG_ARG, 1089, "Invalid regular expression", whole ? "LIKE" : "HAS", 1, pattern);
    pv_itemPutL(&result, r > 0);
  } else {
    pv_errRT_BASE(PV_EG_ARG, 1089, nullptr, whole ? "LIKE" : "HAS", 2, text, pattern);
  }
  pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &result);
}

void ivarRef() {
  PvItem* object = pv_itemUnRef(pv_stackTop(-1));
  PvSymbol* msg = pv_itemGetSymbol(pv_stackTop(-2));
  PvItem ref = {PV_IT_NIL, {}};
  if (PV_IS_OBJECT(object) && msg) {
    // The index of the instance variable is what its read message answers from: find it by
    // probing each slot's read message.
    PV_SIZE n = pv_arrayLen(object);
    PvItem probe = {PV_IT_NIL, {}};
    for (PV_SIZE i = 1; i <= n && PV_IS_NIL(&ref); ++i) {
      PV_ITEM e = pv_arrayGetItemPtr(object, i);
      PvItem saved = {PV_IT_NIL, {}};
      pv_itemMove(&saved, e);
      pv_itemPutNI(e, -123456789);
      pv_itemCopy(&probe, pv_objSendSymbol(object, msg, 0));
      pv_itemMove(e, &saved);
      if (PV_IS_NUMERIC(&probe) && pv_itemGetNI(&probe) == -123456789) pv_vmElementRef(&ref, object, i);
    }
    pv_itemClear(&probe);
  }
  if (PV_IS_NIL(&ref)) pv_errRT_BASE(PV_EG_NOVARMETHOD, 1005, nullptr, msg ? msg->name : "", 1, object);
  pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &ref);
}

// The display width of an integer value (wider for large negative values).
inline int32_t intWidth(int32_t v) { return v < -999999999 ? 20 : 10; }

inline void putInt(PvItem* p, int32_t v) { pv_itemPutWords(p, PV_IT_INTEGER, pv_itemPairWord(intWidth(v), v), 0); }

inline void putDouble(PvItem* p, double v, int decimals) {
  pv_itemPutWords(p, PV_IT_DOUBLE, std::bit_cast<uint64_t>(v), pv_itemPairWord(0, decimals));
}

// The slot of local n of the running frame: at its plain place when no arguments beyond the
// declared parameters shifted the locals.
PV_HOT inline PvItem* localSlot(const Frame& f, int n) {
  return (n > 0 && f.locals) ? f.locals[n] : pv_vmLocalSlotFast(n);
}

PV_HOT inline void localAssign(const Frame& f, int n, PvItem* value) {
  PV_ITEM dest = localSlot(f, n);
  if (PV_IS_BYREF(dest)) dest = pv_itemUnRefWrite(dest);
  pv_itemMoveWords(dest, value);
}


inline void pushSymbol(PvSymbol* s) {
  PvItem* p = pv_stackPushSlot();
  p->type = PV_IT_SYMBOL;
  p->item.asSymbol = {s, nullptr, 0, 0};
}

// The send that ends a read of an instance variable starting at MESSAGE n, the receiver pushed
// by PUSHSELF or PUSHLOCALNEAR and then SENDSHORT 0; null for any other sequence.
inline const uint8_t* dataReadSend(const uint8_t* next) {
  const uint8_t* send = next + 1 + pv_isPushLocalNear(next[0]);
  bool receiver = next[0] == PV_P_PUSHSELF || pv_isPushLocalNear(next[0]);
  return receiver && send[0] == PV_P_SENDSHORT && send[1] == 0 ? send : nullptr;
}

// Answers such a read from the object's slot in one step and returns the opcode after the send;
// null when the send takes the general path. Kept out of the machine's loop.
[[gnu::noinline]] const uint8_t* readData(const Frame& f, PvSymbol* message, const uint8_t* next,
                                          const uint8_t* send) {
  PvItem* object = next[0] == PV_P_PUSHSELF ? pv_stackSelfItem() : localSlot(f, static_cast<int8_t>(next[1]));
  return pv_clsPushData(object, message) ? send + 2 : nullptr;
}

// Fast paths of the commonest operators for integers and doubles held directly on the stack.
// They give exactly what the general operators give: an integer result while it fits 32 bits
// (otherwise the general path widens it), else a double with the decimals the operator keeps
// and the default width of its value. false: the operands are of other kinds.
inline bool plainNumber(const PvItem* p) { return p->type == PV_IT_INTEGER || p->type == PV_IT_DOUBLE; }
inline double numValue(const PvItem* p) {
  return p->type == PV_IT_INTEGER ? p->item.asInteger.value : p->item.asDouble.value;
}
inline int numDecimals(const PvItem* p) { return p->type == PV_IT_DOUBLE ? p->item.asDouble.decimal : 0; }

// Replaces the two operands on the top by the result already written into the lower one.
inline void dropRight(PvItem* right) {
  pv_stackDrop();
  right->type = PV_IT_NIL;
}

enum class Arith { Plus, Minus, Mult };

// An integer result: 32-bit while it fits, else 64-bit, each with its default width.
inline void setInt64(PvItem* a, int64_t r) {
  if (r >= INT32_MIN && r <= INT32_MAX)
    putInt(a, static_cast<int32_t>(r));
  else
    pv_itemPutWords(a, PV_IT_LONG, static_cast<uint64_t>(r), (r >= -999999999LL && r <= 9999999999LL) ? 10 : 20);
}

inline int64_t intValue(const PvItem* p) {
  return p->type == PV_IT_INTEGER ? p->item.asInteger.value : p->item.asLong.value;
}

// The result of a <op> b for plain numbers, written to `out` (which may be `a`); false (`out`
// unchanged) for other operands or when two integers overflow 64 bits.
template <Arith kind>
PV_HOT inline bool arithOf(const PvItem* a, const PvItem* b, PvItem* out) {
  if (a->type == PV_IT_INTEGER && b->type == PV_IT_INTEGER) {
    int64_t x = a->item.asInteger.value, y = b->item.asInteger.value;
    setInt64(out, kind == Arith::Plus ? x + y : kind == Arith::Minus ? x - y : x * y);
  } else if (a->type == PV_IT_DOUBLE && b->type == PV_IT_DOUBLE) {
    double x = a->item.asDouble.value, y = b->item.asDouble.value;
    int da = a->item.asDouble.decimal, db = b->item.asDouble.decimal;
    if (kind == Arith::Mult) putDouble(out, x * y, da + db);
    else putDouble(out, kind == Arith::Plus ? x + y : x - y, da > db ? da : db);
  } else if ((a->type == PV_IT_LONG || a->type == PV_IT_INTEGER) &&
             (b->type == PV_IT_LONG || b->type == PV_IT_INTEGER)) {
    int64_t x = intValue(a), y = intValue(b), r;
    bool over = kind == Arith::Plus    ? __builtin_add_overflow(x, y, &r)
                : kind == Arith::Minus ? __builtin_sub_overflow(x, y, &r)
                                       : __builtin_mul_overflow(x, y, &r);
    if (over) return false;
    setInt64(out, r);
  } else if (plainNumber(a) && plainNumber(b)) {
    double x = numValue(a), y = numValue(b);
    int da = numDecimals(a), db = numDecimals(b);
    if (kind == Arith::Mult) putDouble(out, x * y, da + db);
    else putDouble(out, kind == Arith::Plus ? x + y : x - y, da > db ? da : db);
  } else {
    return false;
  }
  return true;
}

// a := a <op> b for plain numbers; false (a unchanged) for other operands.
PV_HOT inline bool arithInto(Arith kind, PvItem* a, const PvItem* b) {
  switch (kind) {
    case Arith::Plus: return arithOf<Arith::Plus>(a, b, a);
    case Arith::Minus: return arithOf<Arith::Minus>(a, b, a);
    default: return arithOf<Arith::Mult>(a, b, a);
  }
}

PV_HOT inline bool fastArith(Arith kind) {
  PvItem* b = pv_stackTop(-1);
  if (!arithInto(kind, pv_stackTop(-2), b)) return false;
  dropRight(b);
  return true;
}

// Division without a zero divisor: an integer when both are integers that divide exactly.
inline bool fastDivide() {
  PvItem* a = pv_stackTop(-2);
  PvItem* b = pv_stackTop(-1);
  if (!plainNumber(a) || !plainNumber(b) || numValue(b) == 0.0) return false;
  if (a->type == PV_IT_INTEGER && b->type == PV_IT_INTEGER && b->item.asInteger.value != -1 &&
      a->item.asInteger.value % b->item.asInteger.value == 0) {
    putInt(a, a->item.asInteger.value / b->item.asInteger.value);
  } else {
    putDouble(a, numValue(a) / numValue(b), pv_setDecimals());
  }
  dropRight(b);
  return true;
}

// The order (-1, 0, 1) of two plain numbers: two integers as integers, any mix with a double
// as doubles. false for other operands.
PV_HOT inline bool numOrder(const PvItem* a, const PvItem* b, int* order) {
  if (a->type == PV_IT_INTEGER && b->type == PV_IT_INTEGER) {
    int32_t x = a->item.asInteger.value, y = b->item.asInteger.value;
    *order = x < y ? -1 : x > y ? 1 : 0;
  } else if ((a->type == PV_IT_LONG || a->type == PV_IT_INTEGER) &&
             (b->type == PV_IT_LONG || b->type == PV_IT_INTEGER)) {
    int64_t x = intValue(a), y = intValue(b);
    *order = x < y ? -1 : x > y ? 1 : 0;
  } else if (plainNumber(a) && plainNumber(b)) {
    double x = numValue(a), y = numValue(b);
    *order = x < y ? -1 : x > y ? 1 : 0;
  } else {
    return false;
  }
  return true;
}

// Comparison of the two operands on the top: their order, and both dropped; false (nothing
// dropped) for operands other than plain numbers.
inline bool fastOrder(int* order) {
  PvItem* a = pv_stackTop(-2);
  PvItem* b = pv_stackTop(-1);
  if (!numOrder(a, b, order)) return false;
  a->type = PV_IT_NIL;
  dropRight(b);
  pv_stackDrop();
  return true;
}

// A logical result about to be pushed at `pc`: when the operation there is a conditional jump
// (or the `DUPLICATE, JUMP.. , POP` of a short-circuit .AND./.OR.), it is done at once without
// the push. Returns the next pc; the value is pushed only where the code needs it on the stack.
PV_HOT inline const uint8_t* branchOn(const uint8_t* pc, bool v) {
  switch (*pc) {
    case PV_P_JUMPFALSENEAR: return v ? pc + 2 : pc + static_cast<int8_t>(pc[1]);
    case PV_P_JUMPFALSE: return v ? pc + 3 : pc + s16(pc + 1);
    case PV_P_JUMPFALSEFAR: return v ? pc + 4 : pc + s24(pc + 1);
    case PV_P_JUMPTRUENEAR: return v ? pc + static_cast<int8_t>(pc[1]) : pc + 2;
    case PV_P_JUMPTRUE: return v ? pc + s16(pc + 1) : pc + 3;
    case PV_P_JUMPTRUEFAR: return v ? pc + s24(pc + 1) : pc + 4;
    case PV_P_DUPLICATE:
      if (pc[1] == PV_P_JUMPFALSENEAR && pc[3] == PV_P_POP) {
        if (v) return pc + 4;
        pv_itemPutL(pv_stackPushSlot(), false);
        return pc + 1 + static_cast<int8_t>(pc[2]);
      }
      if (pc[1] == PV_P_JUMPTRUENEAR && pc[3] == PV_P_POP) {
        if (!v) return pc + 4;
        pv_itemPutL(pv_stackPushSlot(), true);
        return pc + 1 + static_cast<int8_t>(pc[2]);
      }
      break;
    default: break;
  }
  pv_itemPutL(pv_stackPushSlot(), v);
  return pc;
}

// An integer literal operation at p: its value, p moved past it.
PV_HOT inline bool intLiteral(const uint8_t*& p, int32_t* v) {
  switch (*p) {
    case PV_P_ZERO: *v = 0; p += 1; return true;
    case PV_P_ONE: *v = 1; p += 1; return true;
    case PV_P_PUSHBYTE: *v = static_cast<int8_t>(p[1]); p += 2; return true;
    case PV_P_PUSHINT: *v = s16(p + 1); p += 3; return true;
    case PV_P_PUSHLONG: *v = s32(p + 1); p += 5; return true;
    default: return false;
  }
}

// The end of a FOR loop at p when it is an integer: a literal, or a near local holding one; p
// moved past it.
inline bool intEnd(const Frame& f, const uint8_t*& p, int32_t* v) {
  if (!pv_isPushLocalNear(*p)) return intLiteral(p, v);
  const PvItem* end = pv_itemUnRef(localSlot(f, static_cast<int8_t>(p[1])));
  if (end->type != PV_IT_INTEGER) return false;
  *v = end->item.asInteger.value;
  p += 2;
  return true;
}

// The test of a FOR loop right after its counter (local n, now `counter`) was stepped:
// `PUSHLOCALNEAR n, <end>, <step>, FORTEST, JUMPTRUE..` with an integer end (intEnd) and an
// integer literal step runs at once. Returns the next pc, or nullptr when the code there is
// anything else.
inline const uint8_t* fusedForTest(const Frame& f, const uint8_t* pc, int n, int32_t counter) {
  if (!pv_isPushLocalNear(pc[0]) || static_cast<int8_t>(pc[1]) != n) return nullptr;
  const uint8_t* p = pc + 2;
  int32_t end, step;
  if (!intEnd(f, p, &end) || !intLiteral(p, &step) || *p != PV_P_FORTEST) return nullptr;
  ++p;
  if (*p != PV_P_JUMPTRUENEAR && *p != PV_P_JUMPTRUE && *p != PV_P_JUMPTRUEFAR) return nullptr;
  return branchOn(p, step >= 0 ? counter <= end : counter >= end);
}

// Whether the order of two operands satisfies the comparison operator `op`.
inline bool orderMeets(uint8_t op, int r) {
  switch (op) {
    case PV_P_LESS: return r < 0;
    case PV_P_LESSEQUAL: return r <= 0;
    case PV_P_GREATER: return r > 0;
    case PV_P_GREATEREQUAL: return r >= 0;
    case PV_P_NOTEQUAL: return r != 0;
    default: return r == 0;
  }
}

// The kind of the arithmetic operator `op` (plus, minus, multiply); false for other opcodes.
inline bool arithOp(uint8_t op, Arith* kind) {
  switch (op) {
    case PV_P_PLUS: *kind = Arith::Plus; return true;
    case PV_P_MINUS: *kind = Arith::Minus; return true;
    case PV_P_MULT: *kind = Arith::Mult; return true;
    default: return false;
  }
}

// The comparison at `next` of the stack top with `b` when both are plain numbers: the top is
// dropped and the jump after the comparison taken. nullptr (nothing changed) for other operands.
PV_HOT inline const uint8_t* compareWithTop(const PvItem* b, const uint8_t* next) {
  PvItem* a = pv_stackTop(-1);
  int r;
  if (!numOrder(a, b, &r)) return nullptr;
  a->type = PV_IT_NIL;
  pv_stackDrop();
  return branchOn(next + 1, orderMeets(*next, r));
}

// A simple operand `b` (a local or a literal) about to be pushed as the right operand of the
// operator at `next`: when it and the stack top are plain numbers (or a plain array and an
// index inside it), the operator is applied at once, without the push, exactly as its own fast
// path would (a comparison goes on to the jump that takes it). Returns the pc after the
// operator, or nullptr to push `b` as usual.
PV_HOT inline const uint8_t* fuseOperand(PvItem* b, const uint8_t* next) {
  Arith kind;
  if (arithOp(*next, &kind)) return arithInto(kind, pv_stackTop(-1), b) ? next + 1 : nullptr;
  if (pv_isComparisonOp(*next)) return compareWithTop(b, next);
  if (*next == PV_P_ARRAYPUSH) {
    PvItem* array = pv_stackTop(-1);
    PvItem* e = fastElement(array, b, PV_HASH_AUTOADD_ACCESS);
    if (!e) return nullptr;
    replaceByElement(array, e);
    return next + 1;
  }
  if (*next == PV_P_ARRAYPOP && storeElement(pv_stackTop(-2), pv_stackTop(-1), b)) {
    dropStored();
    return next + 1;
  }
  return nullptr;
}

// The simple operand (a local or a literal) whose push is the operation at p: its item (a
// literal's made in *scratch) and p moved past it; nullptr for any other operation.
PV_HOT inline const PvItem* simpleOperand(const Frame& f, const uint8_t*& p, PvItem* scratch) {
  int32_t v;
  if (pv_isPushLocalNear(*p)) {
    PvItem* local = localSlot(f, static_cast<int8_t>(p[1]));
    p += 2;
    return pv_itemUnRef(local);
  }
  if (!intLiteral(p, &v)) return nullptr;
  putInt(scratch, v);
  return scratch;
}

// A local `a` about to be pushed, followed by a simple operand and the arithmetic operator at
// the end of it: with plain numbers, the result is pushed at once (and stored straight into the
// local a POPLOCALNEAR after it names). Returns the next pc, or nullptr (nothing pushed).
template <Arith kind>
PV_HOT inline const uint8_t* pairArithOf(const Frame& f, const PvItem* a, const uint8_t* next);

// The same with a comparison: both taken and the jump after it done at once.
PV_HOT inline const uint8_t* pairCompareOf(const Frame& f, const PvItem* a, const uint8_t* next) {
  const uint8_t* p = next;
  PvItem scratch;
  const PvItem* b = simpleOperand(f, p, &scratch);
  int r;
  if (b && numOrder(a, b, &r)) return branchOn(p + 1, orderMeets(*p, r));
  return nullptr;
}

// A number `a` (a local) about to be pushed, followed by a simple operand and an arithmetic or
// comparison operator: with a number for that operand too, the operator is applied at once.
// Returns the next pc, or nullptr to push `a` as usual.
PV_HOT inline const uint8_t* fusePair(const Frame& f, const PvItem* a, const uint8_t* next) {
  const uint8_t* p = next;
  PvItem scratch;
  if (!simpleOperand(f, p, &scratch)) return nullptr;
  switch (*p) {
    case PV_P_PLUS: return pairArithOf<Arith::Plus>(f, a, next);
    case PV_P_MINUS: return pairArithOf<Arith::Minus>(f, a, next);
    case PV_P_MULT: return pairArithOf<Arith::Mult>(f, a, next);
    default: return pv_isComparisonOp(*p) ? pairCompareOf(f, a, next) : nullptr;
  }
}

// An integer literal's item (the default width of its value).
inline PvItem intItem(int32_t v) {
  PvItem p;
  putInt(&p, v);
  return p;
}

// Pushes a local, literal or other simple operand, or applies the operator after it at once
// (fuseOperand). Returns the next pc.
PV_HOT inline const uint8_t* pushOperand(PvItem v, const uint8_t* next) {
  if (const uint8_t* after = fuseOperand(&v, next)) return after;
  pv_itemCopyWords(pv_stackPushSlot(), &v);
  return next;
}

PV_HOT inline const uint8_t* pushLocal(const Frame& f, PvItem* local, const uint8_t* next) {
  local = pv_itemUnRef(local);
  if (const uint8_t* after = fuseOperand(local, next)) return after;
  if (pv_itemIsNumber(local))
    if (const uint8_t* after = fusePair(f, local, next)) return after;
  pv_itemCopyWords(pv_stackPushSlot(), local);
  return next;
}

// The substitutes for PUSHLOCALNEAR (quicken.h), each given the pc of its operation. They return
// the next pc: past the operations they took at once, or past the push alone.
PV_HOT inline PvItem* nearLocal(const Frame& f, const uint8_t* pc) {
  int n = pc[1];  // 1..127: only pushes of such locals are replaced
  return pv_itemUnRef(f.locals ? f.locals[n] : pv_vmLocalSlotFast(n));
}

// The slot of local n (a POPLOCALNEAR operand) when it neither owns anything nor refers to
// another variable, so a value can be written into it without running other code; else nullptr.
PV_HOT inline PvItem* emptyLocal(const Frame& f, uint8_t n) {
  PvItem* dest = localSlot(f, static_cast<int8_t>(n));
  return (dest->type & (PV_IT_COMPLEX | PV_IT_BYREF)) ? nullptr : dest;
}

PV_HOT inline const uint8_t* pushPlain(PvItem* local, const uint8_t* pc) {
  pv_itemCopyWords(pv_stackPushSlot(), local);
  return pc + 2;
}

// A number just computed on the stack top, about to be popped into a local by the operation at
// `next`: stored there at once when the local holds nothing that needs releasing. Returns the pc
// after the pop, or `next` to let the pop run.
PV_HOT inline const uint8_t* popNumberInto(const Frame& f, const uint8_t* next) {
  if (*next != PV_P_POPLOCALNEAR) return next;
  PvItem* dest = emptyLocal(f, next[1]);
  if (!dest) return next;
  PvItem* top = pv_stackTop(-1);
  pv_itemCopyNumber(dest, top);
  top->type = PV_IT_NIL;
  pv_stackDrop();
  return next + 2;
}

// The local as the right operand of the arithmetic operator after it.
template <Arith kind>
PV_HOT inline const uint8_t* localArith(const Frame& f, const uint8_t* pc) {
  PvItem* b = nearLocal(f, pc);
  PvItem* a = pv_stackTop(-1);
  if (arithOf<kind>(a, b, a)) return popNumberInto(f, pc + 3);
  return pushPlain(b, pc);
}

// The local plus the ADDINT after it, pushed as one integer when it stays one.
PV_HOT inline const uint8_t* localAddInt(const Frame& f, const uint8_t* pc) {
  PvItem* a = nearLocal(f, pc);
  int32_t r;
  if (a->type != PV_IT_INTEGER || __builtin_add_overflow(a->item.asInteger.value, s16(pc + 3), &r))
    return pushPlain(a, pc);
  putInt(pv_stackPushSlot(), r);
  return pc + 5;
}

// The local copied into the local the POPLOCALNEAR after it names, at once for a number.
PV_HOT inline const uint8_t* localCopy(const Frame& f, const uint8_t* pc) {
  PvItem* src = nearLocal(f, pc);
  PvItem* dest = emptyLocal(f, pc[3]);
  if (!dest || !pv_itemIsNumber(src)) return pushPlain(src, pc);
  pv_itemCopyNumber(dest, src);
  return pc + 4;
}

// The local as the right operand of the comparison after it.
PV_HOT inline const uint8_t* localCompare(const Frame& f, const uint8_t* pc) {
  PvItem* b = nearLocal(f, pc);
  if (const uint8_t* after = compareWithTop(b, pc + 2)) return after;
  return pushPlain(b, pc);
}

// The local as the index of an element read or store after it.
PV_HOT inline const uint8_t* localOperand(const Frame& f, const uint8_t* pc) {
  PvItem* b = nearLocal(f, pc);
  if (const uint8_t* after = fuseOperand(b, pc + 2)) return after;
  return pushPlain(b, pc);
}

template <Arith kind>
PV_HOT inline const uint8_t* pairArithOf(const Frame& f, const PvItem* a, const uint8_t* next) {
  const uint8_t* p = next;
  PvItem scratch;
  const PvItem* b = simpleOperand(f, p, &scratch);
  PvItem* slot = pv_stackPushSlot();
  if (b && arithOf<kind>(a, b, slot)) return popNumberInto(f, p + 1);
  pv_stackDrop();  // the slot is still NIL
  return nullptr;
}

// The local, a simple operand and the arithmetic operator on both.
template <Arith kind>
PV_HOT inline const uint8_t* pairArith(const Frame& f, const uint8_t* pc) {
  PvItem* a = nearLocal(f, pc);
  if (const uint8_t* after = pairArithOf<kind>(f, a, pc + 2)) return after;
  return pushPlain(a, pc);
}

// The local, a simple operand and the comparison on both.
PV_HOT inline const uint8_t* pairCompare(const Frame& f, const uint8_t* pc) {
  PvItem* a = nearLocal(f, pc);
  if (const uint8_t* after = pairCompareOf(f, a, pc + 2)) return after;
  return pushPlain(a, pc);
}

// A function's result, in the return slot: moved at once into the local a POPLOCALNEAR at
// `next` names when that local holds nothing to release (releasing could run code that uses the
// return slot) and no request stops the code first; else pushed. Returns the next pc.
PV_HOT inline const uint8_t* takeResult(const Frame& f, const uint8_t* next) {
  if (*next == PV_P_POPLOCALNEAR && !pv_vmRequestQuery()) {
    if (PvItem* dest = emptyLocal(f, next[1])) {
      pv_itemMoveWords(dest, &pv_stack.ret);
      return next + 2;
    }
  }
  pv_itemMoveWords(pv_stackPushSlot(), &pv_stack.ret);
  return next;
}

// Pops a logical condition; the slow path raises the error for anything else.
inline bool popCondition() {
  PvItem* c = pv_stackTop(-1);
  if (c->type == PV_IT_LOGICAL) {
    pv_stackDrop();
    c->type = PV_IT_NIL;
    return c->item.asLogical.value != 0;
  }
  return pv_opPopLogical("IF");
}

}  // namespace

bool pv_vmTryActive() { return g_tryDepth > 0; }

namespace {

// Recursion is bounded by the native stack it uses: past the limit a call raises "BASE" 8/1211
// (operation too complex) instead of overrunning the stack.
constexpr uintptr_t kStackLimit = 3u << 20;
constexpr uintptr_t kHandlerRoom = 1u << 20;  // for the error handler of the overflow itself
uintptr_t g_stackOrigin = 0;
uintptr_t g_stackFloor = UINTPTR_MAX;  // frames above it are within the limit (set at the first run)
bool g_overflowing = false;

void run(const uint8_t* pcode, PvSymbol* symbols, bool rewritable);

bool recursionTooDeepSlow(uintptr_t here) {
  if (!g_stackOrigin || here > g_stackOrigin) {
    g_stackOrigin = here;
    g_stackFloor = here > kStackLimit ? here - kStackLimit : 0;
  }
  return g_stackOrigin - here > kStackLimit + (g_overflowing ? kHandlerRoom : 0);
}

inline bool recursionTooDeep() {
  auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  return here < g_stackFloor && recursionTooDeepSlow(here);
}

}  // namespace

// Labels and the jump of the threaded dispatch in pv_vmExecute.
#define OP(code) op_##code:
#define NEXT                 \
  do {                       \
    op = pc;                 \
    goto* kOps[*pc];         \
  } while (0)

namespace {

// Sets up the frame a known prologue describes and runs the body.
PV_HOT inline void enterBody(PvPcodeFunc* proc) {
  doFrame(proc->locals, proc->params);
  PvStackState* state = pv_stackBaseState();
  if (proc->staticsInit >= 0) {
    PvPcodeFunc* init = proc->symbols[proc->staticsInit].value.pcode;
    state->statics = init ? init->statics : nullptr;
  }
  if (proc->moduleName) state->moduleName = proc->moduleName;
  run(proc->body, proc->symbols, proc->rewritable);
}

}  // namespace

void pv_vmExecuteProc(PvPcodeFunc* proc) {
  if (!proc->body) readPrologue(proc);
  if (proc->body) enterBody(proc);
  else run(proc->pcode, proc->symbols, false);
}

void pv_vmExecute(const uint8_t* pcode, PvSymbol* symbols, bool rewritable) {
  run(pcode, symbols, rewritable);
}

namespace {

// Bytecode procedures already run once start at their body here, and native functions are
// called at once, past the general call path.
PV_HOT inline void runFrame(PvSymbol* symbol) {
  PvSymbol* exec = pv_vmCallee(symbol);
  if (exec->scope & PV_FS_PCODEFUNC) {
    if (exec->value.pcode->body) enterBody(exec->value.pcode);
    else pv_vmProcCall(symbol);
  } else if (exec->value.func) {
    exec->value.func();
  } else {
    pv_vmProcCall(symbol);
  }
}

}  // namespace

void pv_vmDo(uint16_t argc) {
  PvStackState state;
  pv_stackNewFrame(&state, argc);
  pv_itemClear(&pv_stack.ret);
  runFrame(pv_stackBaseItem()->item.asSymbol.value);
  pv_stackOldFrame(&state);
}

void pv_vmRunFrame(PvSymbol* symbol) { runFrame(symbol); }

namespace {

void run(const uint8_t* pcode, PvSymbol* symbols, bool rewritable) {
  if (recursionTooDeep()) {
    if (g_overflowing) pv_errInternal(9022, nullptr, nullptr, nullptr);
    g_overflowing = true;
    PvSymbol* self = pv_stackBaseItem()->item.asSymbol.value;
    pv_errRT_BASE(PV_EG_COMPLEXITY, 1211, "Recursion too deep", self ? self->name : "", 0);
    g_overflowing = false;
    return;
  }
  Frame f{pcode, symbols, symbols != nullptr, nullptr,
          frameLocals(pv_stackBaseItem()->item.asSymbol.paramdeclcnt), rewritable};
  PvStackState* state = pv_stackBaseState();
  // Threaded dispatch: every operation ends by jumping straight to the next one's code.
  static_assert(PV_Q_END == 192, "the table below lists every operation and 256 - PV_Q_END BAD rows");
  static const void* const kOps[256] = {
    &&op_PV_P_AND, &&op_PV_P_ARRAYPUSH, &&op_PV_P_ARRAYPOP, &&op_PV_P_ARRAYDIM, &&op_PV_P_ARRAYGEN,
    &&op_PV_P_EQUAL, &&op_PV_P_ENDBLOCK, &&op_PV_P_ENDPROC, &&op_PV_P_EXACTLYEQUAL,
    &&op_PV_P_FALSE, &&op_PV_P_FORTEST, &&op_PV_P_FUNCTION, &&op_PV_P_FUNCTIONSHORT,
    &&op_PV_P_FRAME, &&op_PV_P_FUNCPTR, &&op_PV_P_GREATER, &&op_PV_P_GREATEREQUAL, &&op_PV_P_DEC,
    &&op_PV_P_DIVIDE, &&op_PV_P_DO, &&op_PV_P_DOSHORT, &&op_PV_P_DUPLICATE, &&op_PV_P_DUPLTWO,
    &&op_PV_P_INC, &&op_PV_P_INSTRING, &&op_PV_P_JUMPNEAR, &&op_PV_P_JUMP, &&op_PV_P_JUMPFAR,
    &&op_PV_P_JUMPFALSENEAR, &&op_PV_P_JUMPFALSE, &&op_PV_P_JUMPFALSEFAR, &&op_PV_P_JUMPTRUENEAR,
    &&op_PV_P_JUMPTRUE, &&op_PV_P_JUMPTRUEFAR, &&op_PV_P_LESSEQUAL, &&op_PV_P_LESS, &&op_PV_P_LINE,
    &&op_PV_P_LOCALNAME, &&op_PV_P_MACROPOP, &&op_PV_P_MACROPOPALIASED, &&op_PV_P_MACROPUSH,
    &&op_PV_P_MACROPUSHARG, &&op_PV_P_MACROPUSHLIST, &&op_PV_P_MACROPUSHINDEX,
    &&op_PV_P_MACROPUSHPARE, &&op_PV_P_MACROPUSHALIASED, &&op_PV_P_MACROSYMBOL,
    &&op_PV_P_MACROTEXT, &&op_PV_P_MESSAGE, &&op_PV_P_MINUS, &&op_PV_P_MODULUS,
    &&op_PV_P_MODULENAME, &&op_PV_P_MMESSAGE, &&op_PV_P_MPOPALIASEDFIELD, &&op_PV_P_MPOPALIASEDVAR,
    &&op_PV_P_MPOPFIELD, &&op_PV_P_MPOPMEMVAR, &&op_PV_P_MPUSHALIASEDFIELD,
    &&op_PV_P_MPUSHALIASEDVAR, &&op_PV_P_MPUSHBLOCK, &&op_PV_P_MPUSHFIELD, &&op_PV_P_MPUSHMEMVAR,
    &&op_PV_P_MPUSHMEMVARREF, &&op_PV_P_MPUSHSYM, &&op_PV_P_MPUSHVARIABLE, &&op_PV_P_MULT,
    &&op_PV_P_NEGATE, &&op_PV_P_NOOP, &&op_PV_P_NOT, &&op_PV_P_NOTEQUAL, &&op_PV_P_OR,
    &&op_PV_P_PARAMETER, &&op_PV_P_PLUS, &&op_PV_P_POP, &&op_PV_P_POPALIAS,
    &&op_PV_P_POPALIASEDFIELD, &&op_PV_P_POPALIASEDFIELDNEAR, &&op_PV_P_POPALIASEDVAR,
    &&op_PV_P_POPFIELD, &&op_PV_P_POPLOCAL, &&op_PV_P_POPLOCALNEAR, &&op_PV_P_POPMEMVAR,
    &&op_PV_P_POPSTATIC, &&op_PV_P_POPVARIABLE, &&op_PV_P_POWER, &&op_PV_P_PUSHALIAS,
    &&op_PV_P_PUSHALIASEDFIELD, &&op_PV_P_PUSHALIASEDFIELDNEAR, &&op_PV_P_PUSHALIASEDVAR,
    &&op_PV_P_PUSHBLOCK, &&op_PV_P_PUSHBLOCKSHORT, &&op_PV_P_PUSHFIELD, &&op_PV_P_PUSHBYTE,
    &&op_PV_P_PUSHINT, &&op_PV_P_PUSHLOCAL, &&op_PV_P_PUSHLOCALNEAR, &&op_PV_P_PUSHLOCALREF,
    &&op_PV_P_PUSHLONG, &&op_PV_P_PUSHMEMVAR, &&op_PV_P_PUSHMEMVARREF, &&op_PV_P_PUSHNIL,
    &&op_PV_P_PUSHDOUBLE, &&op_PV_P_PUSHSELF, &&op_PV_P_PUSHSTATIC, &&op_PV_P_PUSHSTATICREF,
    &&op_PV_P_PUSHSTR, &&op_PV_P_PUSHSTRSHORT, &&op_PV_P_PUSHSYM, &&op_PV_P_PUSHSYMNEAR,
    &&op_PV_P_PUSHVARIABLE, &&op_PV_P_RETVALUE, &&op_PV_P_SEND, &&op_PV_P_SENDSHORT,
    &&op_PV_P_SEQBEGIN, &&op_PV_P_SEQEND, &&op_PV_P_SEQRECOVER, &&op_PV_P_SFRAME,
    &&op_PV_P_STATICS, &&op_PV_P_STATICNAME, &&op_PV_P_SWAPALIAS, &&op_PV_P_TRUE, &&op_PV_P_ZERO,
    &&op_PV_P_ONE, &&op_PV_P_MACROLIST, &&op_PV_P_MACROLISTEND, &&op_PV_P_LOCALADDINT,
    &&op_PV_P_LOCALSETINT, &&op_PV_P_LOCALSETSTR, &&op_PV_P_ADDINT, &&op_PV_P_LEFT,
    &&op_PV_P_RIGHT, &&op_PV_P_SUBSTR, &&op_PV_P_PUSHSTRMACRO, &&op_PV_P_BASELINE,
    &&op_PV_P_LINEOFFSET, &&op_PV_P_WITHOBJECTSTART, &&op_PV_P_SENDWITH, &&op_PV_P_SENDWITHSHORT,
    &&op_PV_P_WITHOBJECTEND, &&op_PV_P_FOREACH, &&op_PV_P_ENUMERATE, &&op_PV_P_ENUMEND,
    &&op_PV_P_PUSHGLOBAL, &&op_PV_P_POPGLOBAL, &&op_PV_P_PUSHGLOBALREF, &&op_PV_P_ENUMINDEX,
    &&op_PV_P_SWITCHCASE, &&op_PV_P_LIKE, &&op_PV_P_MATCH, &&op_PV_P_PUSHMACROREF,
    &&op_PV_P_IVARREF, &&op_PV_P_CLASSSETMODULE, &&op_PV_P_BITAND, &&op_PV_P_BITOR,
    &&op_PV_P_BITXOR, &&op_PV_P_BITSHIFTR, &&op_PV_P_BITSHIFTL, &&op_PV_P_LARGEFRAME,
    &&op_PV_P_PUSHWITH, &&op_PV_P_PUSHLONGLONG, &&op_PV_P_PUSHSTRHIDDEN,
    &&op_PV_P_LOCALSETSTRHIDDEN, &&op_PV_P_TRYBEGIN, &&op_PV_P_TRYEND, &&op_PV_P_TRYRECOVER,
    &&op_PV_P_FINALLY, &&op_PV_P_ENDFINALLY, &&op_PV_P_LOCALADD, &&op_PV_P_ARRAYPUSHREF,
    &&op_PV_P_ARRAYPOPPLUS, &&op_PV_P_PUSHDATETIME, &&op_PV_P_PUSHDATE, &&op_PV_P_HASHGEN,
    &&op_PV_P_LOCALINC, &&op_PV_P_LOCALDEC, &&op_PV_P_LOCALINCPUSH, &&op_PV_P_LOCALDECPUSH,
    // the machine's substitutes (quicken.h)
    &&op_PV_Q_LOCALPUSH, &&op_PV_Q_LOCALCOPY, &&op_PV_Q_LOCALADDINT,
    &&op_PV_Q_LOCALPLUS, &&op_PV_Q_LOCALMINUS, &&op_PV_Q_LOCALMULT,
    &&op_PV_Q_LOCALCOMPARE, &&op_PV_Q_LOCALOPERAND, &&op_PV_Q_PAIRPLUS, &&op_PV_Q_PAIRMINUS,
    &&op_PV_Q_PAIRMULT, &&op_PV_Q_PAIRCOMPARE, &&op_PV_Q_DOUBLE, &&op_PV_Q_DOUBLEPUSH,
    &&op_PV_Q_SYMNIL,
    // every byte past the last opcode (the count of these rows follows PV_Q_END)
#define BAD &&op_PV_P_LAST_PCODE
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD, BAD,
    BAD,
#undef BAD
  };
  const uint8_t* pc = pcode;
  const uint8_t* op = pc;
  NEXT;
  {
      // ---- frames, lines, names --------------------------------------------------------------
      OP(PV_P_FRAME)
        doFrame(pc[1], pc[2]);
        f.locals = frameLocals(pc[2]);
        pc += 3;
        NEXT;
      OP(PV_P_LARGEFRAME)
        doFrame(u16(pc + 1), pc[3]);
        f.locals = frameLocals(pc[3]);
        pc += 4;
        NEXT;
      OP(PV_P_SFRAME) {
        PvPcodeFunc* init = symbols[u16(pc + 1)].value.pcode;
        state->statics = init ? init->statics : nullptr;
        pc += 3;
        NEXT;
      }
      OP(PV_P_STATICS) {
        PvPcodeFunc* init = symbols[u16(pc + 1)].value.pcode;
        if (!init->statics) {
          init->statics = pv_itemNew(nullptr);
          pv_arrayNew(init->statics, u16(pc + 3));
        }
        state->statics = init->statics;
        pc += 5;
        NEXT;
      }
      OP(PV_P_LINE) state->line = u16(pc + 1); pc += 3; NEXT;
      OP(PV_P_BASELINE) state->line = u16(pc + 1); state->baseLine = state->line; pc += 3; NEXT;
      OP(PV_P_LINEOFFSET) state->line = state->baseLine + pc[1]; pc += 2; NEXT;
      OP(PV_P_MODULENAME)
        state->moduleName = reinterpret_cast<const char*>(pc + 1);
        pc += 1 + cstrSize(pc + 1);
        NEXT;
      OP(PV_P_LOCALNAME) pc += 3 + cstrSize(pc + 3); NEXT;
      OP(PV_P_STATICNAME) pc += 4 + std::strlen(reinterpret_cast<const char*>(pc + 4)) + 1; NEXT;
      OP(PV_P_NOOP) pc += 1; NEXT;
      OP(PV_P_PARAMETER) {
        PvDynSym* name = dynsymOf(symbols, u16(pc + 1));
        int n = pc[3];
        PV_ITEM value = n <= pv_pcount() ? pv_itemUnRef(pv_stackItemFromBase(n)) : nullptr;
        pv_memvarCreatePrivate(name, value);
        pc += 4;
        NEXT;
      }

      // ---- literals ---------------------------------------------------------------------------
      OP(PV_P_PUSHNIL) pv_stackPushSlot(); pc += 1; NEXT;
      OP(PV_P_TRUE) pv_itemPutL(pv_stackPushSlot(), true); pc += 1; NEXT;
      OP(PV_P_FALSE) pv_itemPutL(pv_stackPushSlot(), false); pc += 1; NEXT;
      OP(PV_P_ZERO) pc = pushOperand(intItem(0), pc + 1); NEXT;
      OP(PV_P_ONE) pc = pushOperand(intItem(1), pc + 1); NEXT;
      OP(PV_P_PUSHBYTE) pc = pushOperand(intItem(static_cast<int8_t>(pc[1])), pc + 2); NEXT;
      OP(PV_P_PUSHINT) pc = pushOperand(intItem(s16(pc + 1)), pc + 3); NEXT;
      OP(PV_P_PUSHLONG) pc = pushOperand(intItem(s32(pc + 1)), pc + 5); NEXT;
      OP(PV_P_PUSHLONGLONG) pv_itemPutNInt(pv_stackPushSlot(), s64(pc + 1)); pc += 9; NEXT;
      OP(PV_P_PUSHDOUBLE) {
        int width = pc[9] - (pc[10] ? pc[10] + 1 : 0);
        width = width > 0 && width < 100 ? width : 0;
        if (f.rewritable) {
          auto* code = const_cast<uint8_t*>(pc);
          code[9] = static_cast<uint8_t>(width);
          code[0] = pv_quickTakesOperand(pc[11]) ? PV_Q_DOUBLE : PV_Q_DOUBLEPUSH;
          NEXT;
        }
        PvItem v;
        pv_itemPutWords(&v, PV_IT_DOUBLE, std::bit_cast<uint64_t>(f64(pc + 1)), pv_itemPairWord(width, pc[10]));
        pc = pushOperand(v, pc + 11);
        NEXT;
      }
      OP(PV_Q_DOUBLE) {
        PvItem v;
        pv_itemPutWords(&v, PV_IT_DOUBLE, std::bit_cast<uint64_t>(f64(pc + 1)), pv_itemPairWord(pc[9], pc[10]));
        pc = pushOperand(v, pc + 11);
        NEXT;
      }
      OP(PV_Q_DOUBLEPUSH)
        pv_itemPutWords(pv_stackPushSlot(), PV_IT_DOUBLE, std::bit_cast<uint64_t>(f64(pc + 1)),
                        pv_itemPairWord(pc[9], pc[10]));
        pc += 11;
        NEXT;
      OP(PV_P_PUSHDATE) pv_itemPutDL(pv_stackPushSlot(), s32(pc + 1)); pc += 5; NEXT;
      OP(PV_P_PUSHDATETIME) pv_itemPutDTL(pv_stackPushSlot(), s32(pc + 1), s32(pc + 5)); pc += 9; NEXT;
      OP(PV_P_PUSHSTRSHORT) pushText(f, pc + 2, pc[1]); pc += 2 + pc[1]; NEXT;
      OP(PV_P_PUSHSTR)
      OP(PV_P_PUSHSTRMACRO) pushText(f, pc + 3, u16(pc + 1)); pc += 3 + u16(pc + 1); NEXT;
      OP(PV_P_PUSHBLOCKSHORT) makeBlock(f, pc, true, !f.staticText); pc += pc[1]; NEXT;
      OP(PV_P_PUSHBLOCK) makeBlock(f, pc, false, !f.staticText); pc += u16(pc + 1); NEXT;
      OP(PV_P_MPUSHBLOCK) makeBlock(f, pc, false, true); pc += u16(pc + 1); NEXT;
      OP(PV_P_FUNCPTR) {
        PvSymbol* s = pv_itemGetSymbol(pv_stackTop(-1));
        if (s && s->dynsym && !(s->value.func)) s = s->dynsym->symbol;
        pv_itemPutPtr(pv_stackTop(-1), s);
        pc += 1;
        NEXT;
      }

      // ---- locals, statics, memory variables, fields ----------------------------------------
      OP(PV_P_PUSHLOCALNEAR)
        if (f.rewritable && static_cast<int8_t>(pc[1]) > 0) {
          *const_cast<uint8_t*>(pc) = pv_quickLocalOp(pc + 2);
          NEXT;
        }
        pc = pushLocal(f, localSlot(f, static_cast<int8_t>(pc[1])), pc + 2);
        NEXT;
      OP(PV_Q_LOCALPUSH) pc = pushPlain(nearLocal(f, pc), pc); NEXT;
      OP(PV_Q_LOCALCOPY) pc = localCopy(f, pc); NEXT;
      OP(PV_Q_LOCALADDINT) pc = localAddInt(f, pc); NEXT;
      OP(PV_Q_LOCALPLUS) pc = localArith<Arith::Plus>(f, pc); NEXT;
      OP(PV_Q_LOCALMINUS) pc = localArith<Arith::Minus>(f, pc); NEXT;
      OP(PV_Q_LOCALMULT) pc = localArith<Arith::Mult>(f, pc); NEXT;
      OP(PV_Q_LOCALCOMPARE) pc = localCompare(f, pc); NEXT;
      OP(PV_Q_LOCALOPERAND) pc = localOperand(f, pc); NEXT;
      OP(PV_Q_PAIRPLUS) pc = pairArith<Arith::Plus>(f, pc); NEXT;
      OP(PV_Q_PAIRMINUS) pc = pairArith<Arith::Minus>(f, pc); NEXT;
      OP(PV_Q_PAIRMULT) pc = pairArith<Arith::Mult>(f, pc); NEXT;
      OP(PV_Q_PAIRCOMPARE) pc = pairCompare(f, pc); NEXT;
      OP(PV_P_PUSHLOCAL) pc = pushLocal(f, localSlot(f, s16(pc + 1)), pc + 3); NEXT;
      OP(PV_P_POPLOCALNEAR) localAssign(f, static_cast<int8_t>(pc[1]), pv_stackTop(-1)); pv_stackDrop(); pc += 2; NEXT;
      OP(PV_P_POPLOCAL) localAssign(f, s16(pc + 1), pv_stackTop(-1)); pv_stackDrop(); pc += 3; NEXT;
      OP(PV_P_PUSHLOCALREF) pv_itemCopy(pv_stackPushSlot(), pv_vmDetachLocal(s16(pc + 1))); pc += 3; NEXT;
      OP(PV_P_PUSHSTATIC) pv_itemCopyWords(pv_stackPushSlot(), pv_itemUnRef(pv_arrayGetItemPtr(state->statics, u16(pc + 1)))); pc += 3; NEXT;
      OP(PV_P_POPSTATIC) {
        PV_ITEM dest = pv_itemUnRefWrite(pv_arrayGetItemPtr(state->statics, u16(pc + 1)));
        pv_itemMoveWords(dest, pv_stackTop(-1));
        pv_stackDrop();
        pc += 3;
        NEXT;
      }
      OP(PV_P_PUSHSTATICREF) pv_vmElementRef(pv_stackPushSlot(), state->statics, u16(pc + 1)); pc += 3; NEXT;
      OP(PV_P_PUSHMEMVAR) pv_memvarPushValue(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_POPMEMVAR) pv_memvarSetValue(dynsymOf(symbols, u16(pc + 1)), pv_itemUnRef(pv_stackTop(-1))); pv_stackPopFast(); pc += 3; NEXT;
      OP(PV_P_PUSHMEMVARREF) pv_memvarPushRef(dynsymOf(symbols, u16(pc + 1))); pc += 3; NEXT;
      OP(PV_P_PUSHFIELD) pv_vmPushField(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_POPFIELD) pv_vmPopField(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_PUSHVARIABLE) pv_vmPushVariable(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_POPVARIABLE) pv_vmPopVariable(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_PUSHALIASEDFIELD) pv_vmPushAliasedField(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_PUSHALIASEDFIELDNEAR) pv_vmPushAliasedField(dynsymOf(symbols, pc[1])); pc += 2; goto checkRequest;
      OP(PV_P_POPALIASEDFIELD) pv_vmPopAliasedField(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_POPALIASEDFIELDNEAR) pv_vmPopAliasedField(dynsymOf(symbols, pc[1])); pc += 2; goto checkRequest;
      OP(PV_P_PUSHALIASEDVAR) pv_vmPushAliasedVar(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_POPALIASEDVAR) pv_vmPopAliasedVar(dynsymOf(symbols, u16(pc + 1))); pc += 3; goto checkRequest;
      OP(PV_P_PUSHALIAS) pv_vmPushAlias(); pc += 1; NEXT;
      OP(PV_P_POPALIAS) pv_vmPopAlias(); pc += 1; goto checkRequest;
      OP(PV_P_SWAPALIAS) pv_vmSwapAlias(); pc += 1; NEXT;
      OP(PV_P_PUSHSELF) pv_itemCopy(pv_stackPushSlot(), pv_stackSelfItem()); pc += 1; NEXT;
      OP(PV_P_MPUSHFIELD) pv_vmPushField(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPOPFIELD) pv_vmPopField(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPUSHMEMVAR) pv_memvarPushValue(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPOPMEMVAR) pv_memvarSetValue(ptrOperand<PvDynSym>(pc + 1), pv_itemUnRef(pv_stackTop(-1))); pv_stackPopFast(); pc += 1 + sizeof(void*); NEXT;
      OP(PV_P_MPUSHMEMVARREF) pv_memvarPushRef(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); NEXT;
      OP(PV_P_MPUSHVARIABLE) pv_vmPushVariable(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPUSHALIASEDFIELD) pv_vmPushAliasedField(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPOPALIASEDFIELD) pv_vmPopAliasedField(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPUSHALIASEDVAR) pv_vmPushAliasedVar(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPOPALIASEDVAR) pv_vmPopAliasedVar(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); goto checkRequest;
      OP(PV_P_MPUSHSYM) pv_vmPushDynSym(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); NEXT;
      OP(PV_P_MMESSAGE) pv_vmPushDynSym(ptrOperand<PvDynSym>(pc + 1)); pc += 1 + sizeof(void*); NEXT;
      OP(PV_P_PUSHGLOBAL)
      OP(PV_P_POPGLOBAL)
      OP(PV_P_PUSHGLOBALREF)
      OP(PV_P_SUBSTR)
      OP(PV_P_PUSHSTRHIDDEN)
      OP(PV_P_LOCALSETSTRHIDDEN)
      OP(PV_P_LAST_PCODE)
        pv_errInternal(9014, nullptr, nullptr, nullptr);

      // ---- local shortcuts --------------------------------------------------------------------
      OP(PV_P_LOCALADDINT) {
        PvItem* slot = localSlot(f, static_cast<int8_t>(pc[1]));
        int32_t r;
        if (slot->type == PV_IT_INTEGER && !__builtin_add_overflow(slot->item.asInteger.value, s16(pc + 2), &r)) {
          putInt(slot, r);
          const uint8_t* next = fusedForTest(f, pc + 4, static_cast<int8_t>(pc[1]), r);
          pc = next ? next : pc + 4;
          NEXT;
        }
        if (slot->type == PV_IT_DOUBLE) {
          putDouble(slot, slot->item.asDouble.value + s16(pc + 2), slot->item.asDouble.decimal);
          pc += 4;
          NEXT;
        }
        pv_itemCopy(pv_stackPushSlot(), pv_itemUnRef(localSlot(f, static_cast<int8_t>(pc[1]))));
        pv_opAddInt(s16(pc + 2));
        localAssign(f, static_cast<int8_t>(pc[1]), pv_stackTop(-1));
        pv_stackDrop();
        pc += 4;
        goto checkRequest;
      }
      OP(PV_P_LOCALSETINT) {
        PvItem v = {PV_IT_NIL, {}};
        pv_itemPutNI(&v, s16(pc + 2));
        localAssign(f, static_cast<int8_t>(pc[1]), &v);
        pc += 4;
        NEXT;
      }
      OP(PV_P_LOCALSETSTR) {
        PvItem v = {PV_IT_NIL, {}};
        uint16_t len = u16(pc + 2);
        pv_itemPutCL(&v, reinterpret_cast<const char*>(pc + 4), len ? len - 1 : 0);
        localAssign(f, static_cast<int8_t>(pc[1]), &v);
        pc += 4 + len;
        NEXT;
      }
      OP(PV_P_LOCALADD) {
        PV_ITEM dest = localSlot(f, static_cast<int8_t>(pc[1]));
        if (PV_IS_BYREF(dest)) dest = pv_itemUnRefWrite(dest);
        if (arithInto(Arith::Plus, dest, pv_stackTop(-1))) {
          pv_stackPopFast();
          pc += 2;
          NEXT;
        }
        PvItem value = {PV_IT_NIL, {}};
        pv_itemMove(&value, pv_stackTop(-1));
        pv_stackDrop();
        pv_opAddTo(dest, &value);
        pv_itemClear(&value);
        pc += 2;
        goto checkRequest;
      }
      OP(PV_P_LOCALINC)
      OP(PV_P_LOCALDEC)
      OP(PV_P_LOCALINCPUSH)
      OP(PV_P_LOCALDECPUSH) {
        int n = static_cast<int8_t>(pc[1]);
        bool inc = *pc == PV_P_LOCALINC || *pc == PV_P_LOCALINCPUSH;
        PV_ITEM slot = pv_itemUnRef(localSlot(f, n));
        if (PV_IS_INTEGER(slot) && slot->item.asInteger.value != (inc ? INT32_MAX : INT32_MIN)) {
          putInt(slot, slot->item.asInteger.value + (inc ? 1 : -1));
        } else {
          pv_itemCopy(pv_stackPushSlot(), slot);
          if (inc) pv_opInc();
          else pv_opDec();
          localAssign(f, n, pv_stackTop(-1));
          pv_stackDrop();
        }
        if (*pc == PV_P_LOCALINCPUSH || *pc == PV_P_LOCALDECPUSH)
          pv_itemCopy(pv_stackPushSlot(), pv_itemUnRef(localSlot(f, n)));
        pc += 2;
        goto checkRequest;
      }

      // ---- calls and messages -----------------------------------------------------------------
      OP(PV_P_PUSHSYM)
      OP(PV_P_MESSAGE) {
        PvSymbol* message = &symbols[u16(pc + 1)];
        const uint8_t* send = dataReadSend(pc + 3);
        const uint8_t* after = send ? readData(f, message, pc + 3, send) : nullptr;
        if (after) pc = after;
        else pushSymbol(message), pc += 3;
        NEXT;
      }
      OP(PV_P_PUSHSYMNEAR)
        if (f.rewritable && pc[2] == PV_P_PUSHNIL) {
          *const_cast<uint8_t*>(pc) = PV_Q_SYMNIL;
          NEXT;
        }
        pushSymbol(&symbols[pc[1]]);
        pc += 2;
        NEXT;
      OP(PV_Q_SYMNIL) pushSymbol(&symbols[pc[1]]); pv_stackPushSlot(); pc += 3; NEXT;
      OP(PV_P_FUNCTION) pv_vmDo(u16(pc + 1)); pc = takeResult(f, pc + 3); goto checkRequest;
      OP(PV_P_FUNCTIONSHORT) pv_vmDo(pc[1]); pc = takeResult(f, pc + 2); goto checkRequest;
      OP(PV_P_DO) pv_vmDo(u16(pc + 1)); pc += 3; goto checkRequest;
      OP(PV_P_DOSHORT) pv_vmDo(pc[1]); pc += 2; goto checkRequest;
      OP(PV_P_SEND) pv_clsSend(u16(pc + 1)); pc += 3; goto checkRequest;
      OP(PV_P_SENDSHORT) pv_clsSend(pc[1]); pc += 2; goto checkRequest;
      OP(PV_P_SENDWITH)
      OP(PV_P_SENDWITHSHORT) {
        uint16_t argc = *pc == PV_P_SENDWITH ? u16(pc + 1) : pc[1];
        PvItem* slot = pv_stackPushSlot();  // open the receiver's slot below the arguments
        for (int i = 0; i < argc; ++i) pv_itemSwap(pv_stackTop(-1 - i), pv_stackTop(-2 - i));
        (void)slot;
        if (f.extras && !f.extras->with.empty()) pv_itemCopy(pv_stackTop(-1 - argc), &f.extras->with.back());
        pv_clsSend(argc);
        pc += *pc == PV_P_SENDWITH ? 3 : 2;
        goto checkRequest;
      }
      OP(PV_P_RETVALUE)
        pv_itemMoveWords(&pv_stack.ret, pv_stackTop(-1));
        pv_stackDrop();
        if (pc[1] == PV_P_ENDPROC && !f.extras) return;  // the end, with nothing to run first
        pc += 1;
        NEXT;
      OP(PV_P_ENDBLOCK) pv_itemMoveWords(&pv_stack.ret, pv_stackTop(-1)); pv_stackDrop(); return;
      OP(PV_P_ENDPROC) {
        int index = finallyRecord(f);
        if (index < 0) return;
        PvItem ret = {PV_IT_NIL, {}};
        pv_itemCopy(&ret, pv_stackReturnItem());
        pc = enterFinally(f, index, Pending::Return, &ret);
        pv_itemClear(&ret);
        NEXT;
      }

      // ---- operators --------------------------------------------------------------------------
      OP(PV_P_PLUS)
        if (fastArith(Arith::Plus)) { pc = popNumberInto(f, pc + 1); NEXT; }
        pv_opPlus(); pc += 1; goto checkRequest;
      OP(PV_P_MINUS)
        if (fastArith(Arith::Minus)) { pc = popNumberInto(f, pc + 1); NEXT; }
        pv_opMinus(); pc += 1; goto checkRequest;
      OP(PV_P_MULT)
        if (fastArith(Arith::Mult)) { pc = popNumberInto(f, pc + 1); NEXT; }
        pv_opMult(); pc += 1; goto checkRequest;
      OP(PV_P_DIVIDE)
        if (fastDivide()) { pc += 1; NEXT; }
        pv_opDivide(); pc += 1; goto checkRequest;
      OP(PV_P_MODULUS) pv_opModulus(); pc += 1; goto checkRequest;
      OP(PV_P_POWER) pv_opPower(); pc += 1; goto checkRequest;
      OP(PV_P_NEGATE) pv_opNegate(); pc += 1; goto checkRequest;
      OP(PV_P_INC) pv_opInc(); pc += 1; goto checkRequest;
      OP(PV_P_DEC) pv_opDec(); pc += 1; goto checkRequest;
      OP(PV_P_ADDINT) {
        PvItem* a = pv_stackTop(-1);
        int32_t r;
        if (a->type == PV_IT_INTEGER && !__builtin_add_overflow(a->item.asInteger.value, s16(pc + 1), &r)) {
          putInt(a, r);
          pc += 3;
          NEXT;
        }
        if (a->type == PV_IT_DOUBLE) {
          putDouble(a, a->item.asDouble.value + s16(pc + 1), a->item.asDouble.decimal);
          pc += 3;
          NEXT;
        }
        pv_opAddInt(s16(pc + 1));
        pc += 3;
        goto checkRequest;
      }
      OP(PV_P_EQUAL)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r == 0); NEXT; }
        pv_opEqual(false); pc += 1; goto checkRequest;
      OP(PV_P_EXACTLYEQUAL)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r == 0); NEXT; }
        pv_opEqual(true); pc += 1; goto checkRequest;
      OP(PV_P_NOTEQUAL)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r != 0); NEXT; }
        pv_opNotEqual(); pc += 1; goto checkRequest;
      OP(PV_P_LESS)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r < 0); NEXT; }
        pv_opLess(); pc += 1; goto checkRequest;
      OP(PV_P_LESSEQUAL)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r <= 0); NEXT; }
        pv_opLessEqual(); pc += 1; goto checkRequest;
      OP(PV_P_GREATER)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r > 0); NEXT; }
        pv_opGreater(); pc += 1; goto checkRequest;
      OP(PV_P_GREATEREQUAL)
        if (int r; fastOrder(&r)) { pc = branchOn(pc + 1, r >= 0); NEXT; }
        pv_opGreaterEqual(); pc += 1; goto checkRequest;
      OP(PV_P_INSTRING) pv_opInstring(); pc += 1; goto checkRequest;
      OP(PV_P_AND) pv_opAnd(); pc += 1; goto checkRequest;
      OP(PV_P_OR) pv_opOr(); pc += 1; goto checkRequest;
      OP(PV_P_NOT) pv_opNot(); pc += 1; goto checkRequest;
      OP(PV_P_BITAND) pv_opBit(0); pc += 1; goto checkRequest;
      OP(PV_P_BITOR) pv_opBit(1); pc += 1; goto checkRequest;
      OP(PV_P_BITXOR) pv_opBit(2); pc += 1; goto checkRequest;
      OP(PV_P_BITSHIFTR) pv_opBit(3); pc += 1; goto checkRequest;
      OP(PV_P_BITSHIFTL) pv_opBit(4); pc += 1; goto checkRequest;
      OP(PV_P_LEFT) pv_opLeft(u16(pc + 1)); pc += 3; goto checkRequest;
      OP(PV_P_RIGHT) pv_opRight(u16(pc + 1)); pc += 3; goto checkRequest;
      OP(PV_P_LIKE) regexOp(true); pc += 1; goto checkRequest;
      OP(PV_P_MATCH) regexOp(false); pc += 1; goto checkRequest;
      OP(PV_P_FORTEST) {
        PvItem* counter = pv_stackTop(-3);
        PvItem* end = pv_stackTop(-2);
        PvItem* step = pv_stackTop(-1);
        if (counter->type == PV_IT_INTEGER && end->type == PV_IT_INTEGER && step->type == PV_IT_INTEGER) {
          bool more = step->item.asInteger.value >= 0 ? counter->item.asInteger.value <= end->item.asInteger.value
                                                      : counter->item.asInteger.value >= end->item.asInteger.value;
          pv_stackDrop();
          pv_stackDrop();
          pv_stackDrop();
          counter->type = end->type = step->type = PV_IT_NIL;
          pc = branchOn(pc + 1, more);
          NEXT;
        }
        bool more = pv_opForTest();  // reads the operands before the result's slot is pushed
        pv_itemPutL(pv_stackPushSlot(), more);
        pc += 1;
        goto checkRequest;
      }

      // ---- stack ------------------------------------------------------------------------------
      OP(PV_P_POP) pv_stackPopFast(); pc += 1; NEXT;
      OP(PV_P_DUPLICATE) {
        PvItem* top = pv_stackTop(-1);
        pv_itemCopyWords(pv_stackPushSlot(), top);
        pc += 1;
        NEXT;
      }
      OP(PV_P_DUPLTWO) {
        PvItem* a = pv_stackTop(-2);
        PvItem* b = pv_stackTop(-1);
        pv_itemCopyWords(pv_stackPushSlot(), a);
        pv_itemCopyWords(pv_stackPushSlot(), b);
        pc += 1;
        NEXT;
      }

      // ---- arrays and hashes ------------------------------------------------------------------
      OP(PV_P_ARRAYGEN) arrayGen(u16(pc + 1)); pc += 3; NEXT;
      OP(PV_P_ARRAYDIM) arrayDimFromStack(u16(pc + 1)); pc += 3; NEXT;
      OP(PV_P_HASHGEN) hashGen(u16(pc + 1)); pc += 3; goto checkRequest;
      OP(PV_P_ARRAYPUSH)
        if (fastArrayPush()) { pc += 1; NEXT; }
        arrayPush(); pc += 1; goto checkRequest;
      OP(PV_P_ARRAYPUSHREF) arrayPushRef(); pc += 1; goto checkRequest;
      OP(PV_P_ARRAYPOP)
        if (fastArrayPop()) { pc += 1; NEXT; }
        arrayPop(false); pc += 1; goto checkRequest;
      OP(PV_P_ARRAYPOPPLUS) arrayPop(true); pc += 1; goto checkRequest;

      // ---- jumps ------------------------------------------------------------------------------
      OP(PV_P_JUMPNEAR) pc = op + static_cast<int8_t>(pc[1]); NEXT;
      OP(PV_P_JUMP) pc = op + s16(pc + 1); NEXT;
      OP(PV_P_JUMPFAR) pc = op + s24(pc + 1); NEXT;
      OP(PV_P_JUMPFALSENEAR) pc = popCondition() ? pc + 2 : op + static_cast<int8_t>(pc[1]); goto checkRequest;
      OP(PV_P_JUMPFALSE) pc = popCondition() ? pc + 3 : op + s16(pc + 1); goto checkRequest;
      OP(PV_P_JUMPFALSEFAR) pc = popCondition() ? pc + 4 : op + s24(pc + 1); goto checkRequest;
      OP(PV_P_JUMPTRUENEAR) pc = popCondition() ? op + static_cast<int8_t>(pc[1]) : pc + 2; goto checkRequest;
      OP(PV_P_JUMPTRUE) pc = popCondition() ? op + s16(pc + 1) : pc + 3; goto checkRequest;
      OP(PV_P_JUMPTRUEFAR) pc = popCondition() ? op + s24(pc + 1) : pc + 4; goto checkRequest;
      OP(PV_P_SWITCHCASE) switchCase(s32(pc + 1)); pc += 5; goto checkRequest;

      // ---- protected sequences ----------------------------------------------------------------
      OP(PV_P_SEQBEGIN)
        f.x().records.push_back({RecKind::Seq, op + s24(pc + 1), pv_stack.top, f.x().with.size(), f.x().enums.size()});
        pc += 4;
        NEXT;
      OP(PV_P_SEQEND)
        if (!f.x().records.empty()) f.x().popRecord();
        pc = op + s24(pc + 1);
        NEXT;
      OP(PV_P_SEQRECOVER)
      OP(PV_P_TRYRECOVER) {
        if (!f.x().records.empty()) f.x().popRecord();
        if (*pc == PV_P_TRYRECOVER && s24(pc + 1) != 0)
          f.x().records.push_back({RecKind::Finally, op + s24(pc + 1), pv_stack.top, f.x().with.size(), f.x().enums.size()});
        pv_itemMove(pv_stackPushSlot(), pv_vmBreakValue());
        pc += *pc == PV_P_TRYRECOVER ? 4 : 1;
        NEXT;
      }
      OP(PV_P_TRYBEGIN)
        f.x().records.push_back({RecKind::Try, op + s24(pc + 1), pv_stack.top, f.x().with.size(), f.x().enums.size()});
        ++g_tryDepth;
        pc += 4;
        NEXT;
      OP(PV_P_TRYEND)
        if (!f.x().records.empty()) f.x().popRecord();
        pc = op + s24(pc + 1);
        NEXT;
      OP(PV_P_FINALLY) {
        if (!f.x().records.empty() && f.x().records.back().target == op &&
            f.x().records.back().kind != RecKind::Seq)
          f.x().popRecord();
        PendingState p;
        p.kind = f.x().entering.kind;
        pv_itemMove(&p.value, &f.x().entering.value);
        f.x().entering.kind = Pending::None;
        f.x().pendings.push_back(p);
        pc += 1;
        NEXT;
      }
      OP(PV_P_ENDFINALLY)
        pc += 1;
        if (!resumePending(f)) return;
        goto checkRequest;

      // ---- WITH OBJECT and FOR EACH -----------------------------------------------------------
      OP(PV_P_WITHOBJECTSTART)
        f.x().with.push_back(PvItem{PV_IT_NIL, {}});
        pv_itemMove(&f.x().with.back(), pv_itemUnRef(pv_stackTop(-1)));
        pv_stackPopFast();
        pc += 1;
        NEXT;
      OP(PV_P_WITHOBJECTEND) f.x().cutWith(f.x().with.empty() ? 0 : f.x().with.size() - 1); pc += 1; NEXT;
      OP(PV_P_PUSHWITH) {
        PvItem* slot = pv_stackPushSlot();
        if (!f.x().with.empty()) pv_itemCopy(slot, &f.x().with.back());
        pc += 1;
        NEXT;
      }
      OP(PV_P_FOREACH) forEachStart(f); pc += 1; goto checkRequest;
      OP(PV_P_ENUMERATE) pv_itemPutL(pv_stackPushSlot(), !f.x().enums.empty() && forEachNext(f)); pc += 1; NEXT;
      OP(PV_P_ENUMEND) f.x().cutEnums(f.x().enums.empty() ? 0 : f.x().enums.size() - 1); pc += 1; NEXT;
      OP(PV_P_ENUMINDEX) pv_itemPutNInt(pv_stackPushSlot(), f.x().enums.empty() ? 0 : f.x().enums.back().index); pc += 1; NEXT;
      OP(PV_P_IVARREF) ivarRef(); pc += 1; goto checkRequest;
      OP(PV_P_CLASSSETMODULE) pv_stackPopFast(); pc += 1; NEXT;

      // ---- macros -----------------------------------------------------------------------------
      OP(PV_P_MACROPUSH)
      OP(PV_P_MACROPUSHARG)
      OP(PV_P_MACROPUSHLIST)
      OP(PV_P_MACROPUSHINDEX)
      OP(PV_P_MACROPUSHPARE)
      OP(PV_P_MACROPUSHALIASED) macroPush("&"); pc += 2; goto checkRequest;
      OP(PV_P_MACROPOP)
      OP(PV_P_MACROPOPALIASED) {
        if (PvDynSym* d = macroName("&")) pv_vmPopVariable(d);
        else pv_stackPopFast();
        pc += 2;
        goto checkRequest;
      }
      OP(PV_P_MACROSYMBOL) {
        PvDynSym* d = macroName("&");
        pv_itemPutSymbol(pv_stackPushSlot(), d ? d->symbol : pv_dynsymGet("__NOFUNC")->symbol);
        pc += 1;
        goto checkRequest;
      }
      OP(PV_P_PUSHMACROREF) {
        if (PvDynSym* d = macroName("@")) pv_memvarPushRef(d);
        else pv_stackPushSlot();
        pc += 1;
        goto checkRequest;
      }
      OP(PV_P_MACROTEXT)
      OP(PV_P_MACROLIST)
      OP(PV_P_MACROLISTEND) pc += 1; NEXT;
  }
checkRequest:
  if (pv_vmRequestQuery()) {
    pc = unwind(f);
    if (!pc) return;
  }
  NEXT;
}

}  // namespace

#undef OP
#undef NEXT

// The item: the fixed-size, dynamically typed value every part of the runtime handles.
//
// Layout (64-bit build, 32 bytes):
//   offset 0  uint32 type    exactly one base type bit, plus the flag bits below
//   offset 8  payload        union, by type:
//     integer   int32 width; int32 value
//     long long int64 value; int32 width
//     double    f64 value; int32 width (0: the default for the value); int32 decimals
//     date      int32 julian day (0 = empty date); int32 milliseconds of the day (0 = plain date)
//     logical   int32 value (0 false, non-zero true)
//     string    uint32 length; uint32 allocated (0 = static text, not owned);
//               char* bytes (NUL after the last byte); uint32* holder count (owned text only)
//     array     PvBaseArray*  (an object when the base carries a class handle)
//     hash      PvBaseHash*
//     block     PvCodeBlock*
//     pointer   void*; int32 collectable (non-zero: a collector block the item holds)
//     symbol    PvSymbol*; PvStackState* frame state; uint16 parameter counts
//     byref     see PvRef below
//
// Items are touched only through the pv_item* functions; an item whose type has any of the
// PV_IT_COMPLEX bits owns something and must be cleared (pv_itemClear) before reuse.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gcheader.h"
#include "symbol.h"

// Type bits.
enum : uint32_t {
  PV_IT_NIL = 0x00000,
  PV_IT_POINTER = 0x00001,
  PV_IT_INTEGER = 0x00002,
  PV_IT_HASH = 0x00004,
  PV_IT_LONG = 0x00008,
  PV_IT_DOUBLE = 0x00010,
  PV_IT_DATE = 0x00020,
  PV_IT_LOGICAL = 0x00080,
  PV_IT_SYMBOL = 0x00100,
  PV_IT_ALIAS = 0x00200,
  PV_IT_STRING = 0x00400,
  PV_IT_MEMOFLAG = 0x00800,
  PV_IT_MEMO = PV_IT_STRING | PV_IT_MEMOFLAG,
  PV_IT_BLOCK = 0x01000,
  PV_IT_BYREF = 0x02000,
  PV_IT_MEMVAR = 0x04000,
  PV_IT_ARRAY = 0x08000,
  PV_IT_OBJECT = PV_IT_ARRAY,
  PV_IT_NUMERIC = PV_IT_INTEGER | PV_IT_LONG | PV_IT_DOUBLE,
  PV_IT_NUMINT = PV_IT_INTEGER | PV_IT_LONG,
  PV_IT_COMPLEX = 0x0F405,  // owns something outside the item
  PV_IT_ANY = 0xFFFFFFFF,
};

struct PvBaseArray;
struct PvBaseHash;
struct PvCodeBlock;
struct PvStackState;
struct PvMemvar;
struct PvItem;

// Extended references (negative index kind): resolved through callbacks.
struct PvRefExtFuncs {
  PvItem* (*read)(void* value);
  PvItem* (*write)(void* value);
  void (*copy)(PvItem* dest);
  void (*clear)(void* value);
  void (*mark)(void* value);
};

// The four kinds of by-reference items.
//   memvar   type PV_IT_BYREF|PV_IT_MEMVAR, memvar: the variable's value entry
//   local    array == nullptr, itemsBase = address of the stack's item-pointer vector,
//            offset = slot number (a local or a static of a module statics array: array set)
//   element  array = the array base (its holder count raised), offset = 0-based index
//   extended offset < 0, ext/extValue describe it
struct PvRef {
  union {
    PvBaseArray* array;
    PvMemvar* memvar;
    const PvRefExtFuncs* ext;
  };
  union {
    PvItem*** itemsBase;
    void* extValue;
  };
  int64_t offset;
};

struct PvItem {
  uint32_t type;
  union {
    struct { int32_t width; int32_t value; } asInteger;
    struct { int64_t value; int32_t width; } asLong;
    struct { double value; int32_t width; int32_t decimal; } asDouble;
    struct { int32_t julian; int32_t time; } asDateTime;
    struct { int32_t value; } asLogical;
    struct { uint32_t length; uint32_t allocated; char* value; uint32_t* holders; } asString;
    struct { PvBaseArray* value; uint16_t superCls; } asArray;  // superCls: seen as a parent
    struct { PvBaseHash* value; } asHash;
    struct { PvCodeBlock* value; } asBlock;
    struct { void* value; int32_t collect; } asPointer;
    struct { PvSymbol* value; PvStackState* state; uint16_t paramcnt; uint16_t paramdeclcnt; } asSymbol;
    PvRef asRefer;
  } item;
};

using PV_ITEM = PvItem*;
using PV_SIZE = int64_t;  // element counts and string lengths at the interface

// ---- type tests -------------------------------------------------------------------------------
inline bool PV_IS_NIL(const PvItem* p) { return p->type == PV_IT_NIL; }
inline bool PV_IS_STRING(const PvItem* p) { return (p->type & PV_IT_STRING) != 0; }
inline bool PV_IS_MEMO(const PvItem* p) { return (p->type & PV_IT_MEMOFLAG) != 0; }
inline bool PV_IS_NUMERIC(const PvItem* p) { return (p->type & PV_IT_NUMERIC) != 0; }
inline bool PV_IS_NUMINT(const PvItem* p) { return (p->type & PV_IT_NUMINT) != 0; }
inline bool PV_IS_INTEGER(const PvItem* p) { return (p->type & PV_IT_INTEGER) != 0; }
inline bool PV_IS_LONG(const PvItem* p) { return (p->type & PV_IT_LONG) != 0; }
inline bool PV_IS_DOUBLE(const PvItem* p) { return (p->type & PV_IT_DOUBLE) != 0; }
inline bool PV_IS_DATE(const PvItem* p) { return (p->type & PV_IT_DATE) != 0; }
inline bool PV_IS_LOGICAL(const PvItem* p) { return (p->type & PV_IT_LOGICAL) != 0; }
inline bool PV_IS_ARRAY(const PvItem* p) { return (p->type & PV_IT_ARRAY) != 0; }
inline bool PV_IS_HASH(const PvItem* p) { return (p->type & PV_IT_HASH) != 0; }
inline bool PV_IS_BLOCK(const PvItem* p) { return (p->type & PV_IT_BLOCK) != 0; }
inline bool PV_IS_POINTER(const PvItem* p) { return (p->type & PV_IT_POINTER) != 0; }
inline bool PV_IS_SYMBOL(const PvItem* p) { return (p->type & PV_IT_SYMBOL) != 0; }
inline bool PV_IS_BYREF(const PvItem* p) { return (p->type & PV_IT_BYREF) != 0; }
inline bool PV_IS_MEMVAR(const PvItem* p) { return (p->type & PV_IT_MEMVAR) != 0; }
inline bool PV_IS_COMPLEX(const PvItem* p) { return (p->type & PV_IT_COMPLEX) != 0; }
bool PV_IS_OBJECT(const PvItem* p);  // an array that carries a class

// ---- lifetime ---------------------------------------------------------------------------------
PV_ITEM pv_itemNew(PV_ITEM copyFrom);       // a grip item (kept alive until pv_itemRelease)
bool pv_itemRelease(PV_ITEM item);
void pv_itemSwap(PV_ITEM a, PV_ITEM b);
// The general paths of the inline operations below (items that own something).
void pv_itemClearComplex(PV_ITEM item);
void pv_itemCopyComplex(PV_ITEM dest, PV_ITEM src);
void pv_itemMoveComplex(PV_ITEM dest, PV_ITEM src);
PV_ITEM pv_itemUnRefChain(PV_ITEM item);

// Arrays, hashes and code blocks: items holding a collector block in their first payload word.
constexpr uint32_t PV_IT_GCBLOCK = PV_IT_ARRAY | PV_IT_HASH | PV_IT_BLOCK;
inline PvGcHeader* pv_itemGcHeader(const PvItem* item) { return pv_gcHeader(item->item.asArray.value); }

// Releases what the item owns and makes it NIL. A block with other holders left only loses
// one holder, inline; the last holder goes through the general path.
[[gnu::always_inline]] inline void pv_itemClear(PV_ITEM item) {
  if ((item->type & PV_IT_GCBLOCK) && pv_itemGcHeader(item)->refCount > 1) {
    --pv_itemGcHeader(item)->refCount;
    item->type = PV_IT_NIL;
  } else if (item->type & PV_IT_COMPLEX) {
    pv_itemClearComplex(item);
  } else {
    item->type = PV_IT_NIL;
  }
}
// Clears dest, copies the whole item and raises the holder count of what is shared. Copying
// an item onto itself is internal error 9020.
[[gnu::always_inline]] inline void pv_itemCopy(PV_ITEM dest, PV_ITEM src) {
  if (!((dest->type | src->type) & PV_IT_COMPLEX) && dest != src) {
    dest->type = src->type;
    dest->item = src->item;
  } else if (!(dest->type & PV_IT_COMPLEX) && (src->type & PV_IT_GCBLOCK) && dest != src) {
    dest->type = src->type;
    dest->item = src->item;
    ++pv_itemGcHeader(dest)->refCount;
  } else {
    pv_itemCopyComplex(dest, src);
  }
}
// dest := src; src becomes NIL.
[[gnu::always_inline]] inline void pv_itemMove(PV_ITEM dest, PV_ITEM src) {
  if ((dest->type & PV_IT_COMPLEX) || dest == src) {
    pv_itemMoveComplex(dest, src);
  } else {
    dest->type = src->type;
    dest->item = src->item;
    src->type = PV_IT_NIL;
  }
}
PV_ITEM pv_itemClone(PV_ITEM item);         // new grip item; deep copy of arrays and hashes
void pv_itemCloneTo(PV_ITEM dest, PV_ITEM src);
// Follows by-reference items to the referenced item.
[[gnu::always_inline]] inline PV_ITEM pv_itemUnRef(PV_ITEM item) {
  return (item->type & PV_IT_BYREF) ? pv_itemUnRefChain(item) : item;
}
PV_ITEM pv_itemUnRefOnce(PV_ITEM item);
PV_ITEM pv_itemUnRefWrite(PV_ITEM item);    // like pv_itemUnRef, for an assignment

// ---- strings ----------------------------------------------------------------------------------
PV_ITEM pv_itemPutC(PV_ITEM item, const char* text);
PV_ITEM pv_itemPutCL(PV_ITEM item, const char* text, PV_SIZE len);
PV_ITEM pv_itemPutCPtr(PV_ITEM item, char* text, PV_SIZE len);  // adopts a pv_xgrab buffer
PV_ITEM pv_itemPutCStatic(PV_ITEM item, const char* text);
PV_ITEM pv_itemPutCLStatic(PV_ITEM item, const char* text, PV_SIZE len);
const char* pv_itemGetCPtr(PV_ITEM item);
PV_SIZE pv_itemGetCLen(PV_ITEM item);
char* pv_itemGetC(PV_ITEM item);            // a fresh NUL-terminated copy; free with pv_xfree
PV_SIZE pv_itemCopyC(PV_ITEM item, char* buffer, PV_SIZE max);
bool pv_itemSetCMemo(PV_ITEM item);
PV_ITEM pv_itemUnShareString(PV_ITEM item);  // a private, writable buffer
PV_ITEM pv_itemUnShare(PV_ITEM item);
char* pv_itemLockWriteCPtr(PV_ITEM item, PV_SIZE* len);  // writable bytes of a string item
// Makes the item an owned string of `len` bytes and returns its writable buffer.
char* pv_itemReSizeString(PV_ITEM item, PV_SIZE len);

// ---- numbers ----------------------------------------------------------------------------------
PV_ITEM pv_itemPutNI(PV_ITEM item, int value);
PV_ITEM pv_itemPutNL(PV_ITEM item, long value);
PV_ITEM pv_itemPutNLL(PV_ITEM item, long long value);
PV_ITEM pv_itemPutND(PV_ITEM item, double value);
PV_ITEM pv_itemPutNDDec(PV_ITEM item, double value, int decimals);
PV_ITEM pv_itemPutNLen(PV_ITEM item, double value, int width, int decimals);
PV_ITEM pv_itemPutNDLen(PV_ITEM item, double value, int width, int decimals);
PV_ITEM pv_itemPutNILen(PV_ITEM item, int value, int width);
PV_ITEM pv_itemPutNLLLen(PV_ITEM item, long long value, int width);
PV_ITEM pv_itemPutNInt(PV_ITEM item, int64_t value);
PV_ITEM pv_itemPutNIntLen(PV_ITEM item, int64_t value, int width);
PV_ITEM pv_itemPutNumType(PV_ITEM item, double value, int decimals, int type1, int type2);
int pv_itemGetNI(PV_ITEM item);
long pv_itemGetNL(PV_ITEM item);
long long pv_itemGetNLL(PV_ITEM item);
int64_t pv_itemGetNInt(PV_ITEM item);
double pv_itemGetND(PV_ITEM item);
double pv_itemGetNDDec(PV_ITEM item, int* decimals);  // 9018 for non-number/date/string
void pv_itemGetNLen(PV_ITEM item, int* width, int* decimals);
int pv_itemDefaultWidth(PV_ITEM item);      // the width rules for a value without one
// The default display width of a double: 10 inside -999,999,999 ... 1e10, else 20 (also for
// infinities and not-a-number).
inline int pv_itemDoubleWidth(double v) { return (v > -999999999.0 && v < 1e10) ? 10 : 20; }
// Makes a non-owning item a double with the default width (the operators' result form). The
// width is stored as 0, "the default for the value", and worked out only when asked
// (pv_itemGetNLen), so arithmetic does not pay for it on every result.
[[gnu::always_inline]] inline void pv_itemSetDouble(PV_ITEM item, double value, int decimals) {
  item->type = PV_IT_DOUBLE;
  item->item.asDouble.value = value;
  item->item.asDouble.width = 0;
  item->item.asDouble.decimal = decimals;
}

// ---- dates and times --------------------------------------------------------------------------
PV_ITEM pv_itemPutDS(PV_ITEM item, const char* dateString);   // "YYYYMMDD"
char* pv_itemGetDS(PV_ITEM item, char* buffer9);
PV_ITEM pv_itemPutDL(PV_ITEM item, long julian);
long pv_itemGetDL(PV_ITEM item);
PV_ITEM pv_itemPutD(PV_ITEM item, int year, int month, int day);
void pv_itemGetD(PV_ITEM item, int* year, int* month, int* day);
PV_ITEM pv_itemPutDTS(PV_ITEM item, const char* dateTimeString);
char* pv_itemGetDTS(PV_ITEM item, char* buffer19);
PV_ITEM pv_itemPutDTL(PV_ITEM item, long julian, long milliseconds);
bool pv_itemGetDTL(PV_ITEM item, long* julian, long* milliseconds);
PV_ITEM pv_itemPutDT(PV_ITEM item, int year, int month, int day, int hour, int minute,
                     double seconds);
void pv_itemGetDT(PV_ITEM item, int* year, int* month, int* day, int* hour, int* minute,
                  double* seconds);
long pv_itemGetT(PV_ITEM item);

// ---- logical, pointer, symbol, misc ------------------------------------------------------------
PV_ITEM pv_itemPutL(PV_ITEM item, bool value);
bool pv_itemGetL(PV_ITEM item);
PV_ITEM pv_itemPutNil(PV_ITEM item);
PV_ITEM pv_itemPutPtr(PV_ITEM item, void* value);
PV_ITEM pv_itemPutPtrGC(PV_ITEM item, void* gcBlock);
void* pv_itemGetPtr(PV_ITEM item);
void* pv_itemGetPtrGC(PV_ITEM item, const struct PvGcFuncs* funcs);
PV_ITEM pv_itemPutSymbol(PV_ITEM item, PvSymbol* symbol);
PvSymbol* pv_itemGetSymbol(PV_ITEM item);
uint32_t pv_itemType(PV_ITEM item);
const char* pv_itemTypeStr(PV_ITEM item);
PV_SIZE pv_itemSize(PV_ITEM item);

// ---- text conversion --------------------------------------------------------------------------
// STR: a new string (caller frees with pv_xfree) or nullptr when the width comes out 0.
char* pv_itemStr(PV_ITEM number, PV_ITEM width, PV_ITEM decimals);
bool pv_itemStrBuf(char* buffer, PV_ITEM number, int size, int decimals);
// Text of any value; *freeReq tells whether the caller must pv_xfree the result.
char* pv_itemString(PV_ITEM item, PV_SIZE* len, bool* freeReq);
char* pv_itemPadConv(PV_ITEM item, PV_SIZE* len, bool* freeReq);
PV_ITEM pv_itemValToStr(PV_ITEM item);

// ---- comparison -------------------------------------------------------------------------------
int pv_itemStrCmp(PV_ITEM first, PV_ITEM second, bool forceExact);
int pv_itemStrCmpBytes(const char* a, PV_SIZE lenA, const char* b, PV_SIZE lenB, bool forceExact);

// ---- memory -----------------------------------------------------------------------------------
void* pv_xgrab(size_t size);           // 9006 when out of memory
void* pv_xrealloc(void* p, size_t size);
void pv_xfree(void* p);
size_t pv_xquery_used();                // bytes in use
size_t pv_xquery_peak();                // highest bytes in use

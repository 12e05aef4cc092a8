// Item lifetime: grips, clearing, copying, moving, cloning and following references.
#include "item.h"

#include <cstring>

#include "array.h"
#include "codeblock.h"
#include "errint.h"
#include "errors.h"
#include "gc.h"
#include "hash.h"
#include "memvar.h"

namespace {

// A grip: a locked collector block holding one item, for items made by native code.
void gripClear(void* block) { pv_itemClear(static_cast<PvItem*>(block)); }
void gripMark(void* block) { pv_gcItemMark(static_cast<PvItem*>(block)); }
const PvGcFuncs kGripFuncs = {gripClear, gripMark};

void releaseString(PvItem* item) {
  auto& s = item->item.asString;
  if (s.allocated == 0) return;
  if (*s.holders == 0) pv_errInternal(9027, "Premature String Release detected: '%s'", s.value, nullptr);
  if (--*s.holders == 0) pv_xfree(s.holders);
}

}  // namespace

bool PV_IS_OBJECT(const PvItem* p) {
  return (p->type & PV_IT_ARRAY) && p->item.asArray.value->uiClass != 0;
}

PV_ITEM pv_itemNew(PV_ITEM copyFrom) {
  auto* item = static_cast<PvItem*>(pv_gcAlloc(sizeof(PvItem), &kGripFuncs));
  item->type = PV_IT_NIL;
  pv_gcLock(item);
  if (copyFrom) pv_itemCopy(item, copyFrom);
  return item;
}

bool pv_itemRelease(PV_ITEM item) {
  if (!item) return false;
  pv_gcUnlock(item);
  pv_gcDecRef(item);
  return true;
}

void pv_itemClearComplex(PV_ITEM item) {
  uint32_t type = item->type;
  item->type = PV_IT_NIL;
  if (!(type & PV_IT_COMPLEX)) return;
  if (type & PV_IT_STRING) {
    PvItem tmp;
    tmp.type = type;
    tmp.item = item->item;
    releaseString(&tmp);
  } else if (type & PV_IT_ARRAY) {
    pv_gcDecRef(item->item.asArray.value);
  } else if (type & PV_IT_HASH) {
    pv_gcDecRef(item->item.asHash.value);
  } else if (type & PV_IT_BLOCK) {
    pv_gcDecRef(item->item.asBlock.value);
  } else if (type & PV_IT_BYREF) {
    const PvRef& r = item->item.asRefer;
    if (type & PV_IT_MEMVAR) {
      pv_memvarValueDecRef(r.memvar);
    } else if (r.offset < 0) {
      r.ext->clear(r.extValue);
    } else if (r.array) {
      pv_gcDecRef(r.array);
    }
  } else if (type & PV_IT_POINTER) {
    if (item->item.asPointer.collect) pv_gcDecRef(item->item.asPointer.value);
  }
}

// Raises the holder count of whatever `item` shares (it has just been copied bit for bit).
static void addHolder(PV_ITEM item) {
  uint32_t type = item->type;
  if (!(type & PV_IT_COMPLEX)) return;
  if (type & PV_IT_STRING) {
    if (item->item.asString.allocated) ++*item->item.asString.holders;
  } else if (type & PV_IT_ARRAY) {
    pv_gcIncRef(item->item.asArray.value);
  } else if (type & PV_IT_HASH) {
    pv_gcIncRef(item->item.asHash.value);
  } else if (type & PV_IT_BLOCK) {
    pv_gcIncRef(item->item.asBlock.value);
  } else if (type & PV_IT_BYREF) {
    const PvRef& r = item->item.asRefer;
    if (type & PV_IT_MEMVAR) {
      pv_memvarValueIncRef(r.memvar);
    } else if (r.offset < 0) {
      r.ext->copy(item);
    } else if (r.array) {
      pv_gcIncRef(r.array);
    }
  } else if (type & PV_IT_POINTER) {
    if (item->item.asPointer.collect) pv_gcIncRef(item->item.asPointer.value);
  }
}

void pv_itemCopyComplex(PV_ITEM dest, PV_ITEM src) {
  if (dest == src) pv_errInternal(9020, nullptr, "pv_itemCopy()", nullptr);
  if (PV_IS_COMPLEX(dest)) pv_itemClear(dest);
  dest->type = src->type;
  dest->item = src->item;
  addHolder(dest);
}

void pv_itemMoveComplex(PV_ITEM dest, PV_ITEM src) {
  if (dest == src) pv_errInternal(9020, nullptr, "pv_itemMove()", nullptr);
  if (PV_IS_COMPLEX(dest)) pv_itemClear(dest);
  dest->type = src->type;
  dest->item = src->item;
  src->type = PV_IT_NIL;
}

void pv_itemSwap(PV_ITEM a, PV_ITEM b) {
  PvItem tmp = *a;
  *a = *b;
  *b = tmp;
}

void pv_itemCloneTo(PV_ITEM dest, PV_ITEM src) {
  if (PV_IS_ARRAY(src) && !PV_IS_OBJECT(src)) {
    PV_ITEM clone = pv_arrayClone(src);
    pv_itemMove(dest, clone);
    pv_itemRelease(clone);
  } else if (PV_IS_HASH(src)) {
    PV_ITEM clone = pv_hashClone(src);
    pv_itemMove(dest, clone);
    pv_itemRelease(clone);
  } else {
    pv_itemCopy(dest, src);
  }
}

PV_ITEM pv_itemClone(PV_ITEM item) {
  PV_ITEM result = pv_itemNew(nullptr);
  pv_itemCloneTo(result, item);
  return result;
}

PV_ITEM pv_itemUnRefOnce(PV_ITEM item) {
  if (!PV_IS_BYREF(item)) return item;
  const PvRef& r = item->item.asRefer;
  if (item->type & PV_IT_MEMVAR) return pv_memvarValueItem(r.memvar);
  if (r.offset < 0) return r.ext->read(r.extValue);
  if (r.array) {
    if (r.offset >= r.array->len) {
      pv_errBaseArrayAccess();
      return pv_arrayScratchNil();
    }
    return r.array->items + r.offset;
  }
  return (*r.itemsBase)[r.offset];
}

PV_ITEM pv_itemUnRefChain(PV_ITEM item) {
  while (PV_IS_BYREF(item)) item = pv_itemUnRefOnce(item);
  return item;
}

PV_ITEM pv_itemUnRefWrite(PV_ITEM item) {
  while (PV_IS_BYREF(item)) {
    const PvRef& r = item->item.asRefer;
    if (!(item->type & PV_IT_MEMVAR) && r.offset < 0) return r.ext->write(r.extValue);
    item = pv_itemUnRefOnce(item);
  }
  return item;
}

PV_ITEM pv_itemPutNil(PV_ITEM item) {
  if (!item) return pv_itemNew(nullptr);
  pv_itemClear(item);
  return item;
}

uint32_t pv_itemType(PV_ITEM item) { return item ? item->type : PV_IT_NIL; }

const char* pv_itemTypeStr(PV_ITEM item) {
  if (!item) return "U";
  uint32_t t = item->type;
  if (t & PV_IT_ARRAY) return PV_IS_OBJECT(item) ? "O" : "A";
  if (t & PV_IT_MEMOFLAG) return "M";
  if (t & PV_IT_STRING) return "C";
  if (t & PV_IT_NUMERIC) return "N";
  if (t & PV_IT_DATE) return "D";
  if (t & PV_IT_LOGICAL) return "L";
  if (t & PV_IT_BLOCK) return "B";
  if (t & PV_IT_HASH) return "H";
  if (t & PV_IT_POINTER) return "P";
  return "U";
}

PV_SIZE pv_itemSize(PV_ITEM item) {
  if (!item) return 0;
  if (PV_IS_STRING(item)) return item->item.asString.length;
  if (PV_IS_ARRAY(item)) return item->item.asArray.value->len;
  if (PV_IS_HASH(item)) return pv_hashLen(item);
  return 0;
}

PV_ITEM pv_itemPutL(PV_ITEM item, bool value) {
  if (!item) item = pv_itemNew(nullptr);
  else if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  item->type = PV_IT_LOGICAL;
  item->item.asLogical.value = value ? 1 : 0;
  return item;
}

bool pv_itemGetL(PV_ITEM item) {
  if (!item) return false;
  switch (item->type & ~PV_IT_MEMOFLAG) {
    case PV_IT_LOGICAL: return item->item.asLogical.value != 0;
    case PV_IT_INTEGER: return item->item.asInteger.value != 0;
    case PV_IT_LONG: return item->item.asLong.value != 0;
    case PV_IT_DOUBLE: return item->item.asDouble.value != 0.0;
    case PV_IT_STRING:
      return item->item.asString.length == 1 && item->item.asString.value[0] != 0;
    default: return false;
  }
}

PV_ITEM pv_itemPutPtr(PV_ITEM item, void* value) {
  if (!item) item = pv_itemNew(nullptr);
  else if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  item->type = PV_IT_POINTER;
  item->item.asPointer.value = value;
  item->item.asPointer.collect = 0;
  return item;
}

PV_ITEM pv_itemPutPtrGC(PV_ITEM item, void* gcBlock) {
  if (!item) item = pv_itemNew(nullptr);
  else if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  item->type = PV_IT_POINTER;
  item->item.asPointer.value = gcBlock;
  item->item.asPointer.collect = 1;
  return item;
}

void* pv_itemGetPtr(PV_ITEM item) {
  return (item && PV_IS_POINTER(item)) ? item->item.asPointer.value : nullptr;
}

void* pv_itemGetPtrGC(PV_ITEM item, const PvGcFuncs* funcs) {
  if (item && PV_IS_POINTER(item) && item->item.asPointer.collect &&
      pv_gcFunc(item->item.asPointer.value) == funcs)
    return item->item.asPointer.value;
  return nullptr;
}

PV_ITEM pv_itemPutSymbol(PV_ITEM item, PvSymbol* symbol) {
  if (!item) item = pv_itemNew(nullptr);
  else if (PV_IS_COMPLEX(item)) pv_itemClear(item);
  item->type = PV_IT_SYMBOL;
  item->item.asSymbol.value = symbol;
  item->item.asSymbol.state = nullptr;
  item->item.asSymbol.paramcnt = 0;
  item->item.asSymbol.paramdeclcnt = 0;
  return item;
}

PvSymbol* pv_itemGetSymbol(PV_ITEM item) {
  return (item && PV_IS_SYMBOL(item)) ? item->item.asSymbol.value : nullptr;
}

void pv_gcItemMark(PV_ITEM item) {
  uint32_t type = item->type;
  if (type & PV_IT_ARRAY) pv_gcMark(item->item.asArray.value);
  else if (type & PV_IT_HASH) pv_gcMark(item->item.asHash.value);
  else if (type & PV_IT_BLOCK) pv_gcMark(item->item.asBlock.value);
  else if (type & PV_IT_POINTER) {
    if (item->item.asPointer.collect) pv_gcMark(item->item.asPointer.value);
  } else if (type & PV_IT_BYREF) {
    const PvRef& r = item->item.asRefer;
    if (type & PV_IT_MEMVAR) pv_memvarValueMark(r.memvar);
    else if (r.offset < 0) { if (r.ext->mark) r.ext->mark(r.extValue); }
    else if (r.array) pv_gcMark(r.array);
  }
}

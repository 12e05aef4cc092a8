// Arrays and objects: shared bases with an allocation step, element access, insertion,
// deletion, scanning, evaluation, copying, cloning and sorting.
#include "array.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "classes.h"
#include "compare.h"
#include "errint.h"
#include "gc.h"
#include "vm.h"

namespace {

// The elements an array is made with sit in its own block, right after the base; an array that
// grows past them moves its elements to a separate allocation.
PvItem* inlineItems(PvBaseArray* base) { return reinterpret_cast<PvItem*>(base + 1); }
bool ownsItems(PvBaseArray* base) { return base->items && base->items != inlineItems(base); }

void arrayClear(void* block) {
  auto* base = static_cast<PvBaseArray*>(block);
  if (base->uiClass) pv_clsDestruct(base);
  PvItem* items = base->items;
  PV_SIZE len = base->len;
  bool owned = ownsItems(base);
  base->items = nullptr;
  base->len = base->allocated = 0;
  for (PV_SIZE i = 0; i < len; ++i)
    if (PV_IS_COMPLEX(&items[i])) pv_itemClear(&items[i]);
  if (owned) pv_xfree(items);
}

void arrayMark(void* block) {
  auto* base = static_cast<PvBaseArray*>(block);
  for (PV_SIZE i = 0; i < base->len; ++i) pv_gcItemMark(&base->items[i]);
}

PvBaseArray* baseOf(PV_ITEM array) {
  return (array && PV_IS_ARRAY(array)) ? array->item.asArray.value : nullptr;
}

// Sets the length. Growing past the allocation reserves the step as spare room, except for an
// `exact` allocation (arrays made with a known length take just that).
void resize(PvBaseArray* base, PV_SIZE len, bool exact = false) {
  if (len > base->allocated) {
    if (!exact) base->step = static_cast<int32_t>(std::clamp<PV_SIZE>(len >> 1, base->step, INT32_MAX));
    PV_SIZE alloc = exact ? len : len + base->step;
    if (ownsItems(base)) {
      base->items = static_cast<PvItem*>(pv_xrealloc(base->items, alloc * sizeof(PvItem)));
    } else {
      auto* items = static_cast<PvItem*>(pv_xgrab(alloc * sizeof(PvItem)));
      if (base->len) std::memcpy(static_cast<void*>(items), base->items, base->len * sizeof(PvItem));
      base->items = items;
    }
    base->allocated = alloc;
  }
  for (PV_SIZE i = base->len; i < len; ++i) base->items[i].type = PV_IT_NIL;
  for (PV_SIZE i = len; i < base->len; ++i)
    if (PV_IS_COMPLEX(&base->items[i])) pv_itemClear(&base->items[i]);
  base->len = len;
  if (len == 0 && ownsItems(base)) {
    pv_xfree(base->items);
    base->items = nullptr;
    base->allocated = 0;
  } else if (ownsItems(base) && base->allocated - len >= 2 * base->step && base->step > 0) {
    base->allocated = len + base->step;
    base->items = static_cast<PvItem*>(pv_xrealloc(base->items, base->allocated * sizeof(PvItem)));
  }
}

// Stores a copy of `value` into `dest`, dropping the memo flag as array elements do.
void storeElement(PvItem* dest, PV_ITEM value) {
  pv_itemCopy(dest, value);
  dest->type &= ~PV_IT_MEMOFLAG;
}

PvItem g_scratchNil = {PV_IT_NIL, {}};

}  // namespace

const PvGcFuncs pv_arrayGcFuncs = {arrayClear, arrayMark};

PV_ITEM pv_arrayScratchNil() {
  pv_itemClear(&g_scratchNil);
  return &g_scratchNil;
}

PvBaseArray* pv_arrayBaseNew(PV_SIZE len) {
  void* block = pv_gcAlloc(sizeof(PvBaseArray) + static_cast<size_t>(len) * sizeof(PvItem), &pv_arrayGcFuncs);
  auto* base = static_cast<PvBaseArray*>(block);
  base->items = len > 0 ? inlineItems(base) : nullptr;
  base->len = base->allocated = len;
  base->step = 16;
  base->uiClass = base->uiPrevCls = 0;
  for (PV_SIZE i = 0; i < len; ++i) base->items[i].type = PV_IT_NIL;
  return base;
}

bool pv_arrayNew(PV_ITEM item, PV_SIZE len) {
  if (len < 0) return false;
  PvBaseArray* base = pv_arrayBaseNew(len);
  pv_itemClear(item);
  item->type = PV_IT_ARRAY;
  item->item.asArray.value = base;
  item->item.asArray.superCls = 0;
  return true;
}

PV_SIZE pv_arrayLen(PV_ITEM array) {
  PvBaseArray* b = baseOf(array);
  return b ? b->len : 0;
}

bool pv_arrayIsObject(PV_ITEM array) { return array && PV_IS_OBJECT(array); }

bool pv_arraySize(PV_ITEM array, PV_SIZE len) {
  PvBaseArray* b = baseOf(array);
  if (!b || len < 0) return false;
  resize(b, len);
  return true;
}

PV_ITEM pv_arrayGetItemPtr(PV_ITEM array, PV_SIZE index) {
  PvBaseArray* b = baseOf(array);
  if (!b || index < 1 || index > b->len) return nullptr;
  return &b->items[index - 1];
}

bool pv_arrayGet(PV_ITEM array, PV_SIZE index, PV_ITEM dest) {
  PV_ITEM e = pv_arrayGetItemPtr(array, index);
  if (!e) {
    pv_itemClear(dest);
    return false;
  }
  pv_itemCopy(dest, e);
  return true;
}

bool pv_arraySet(PV_ITEM array, PV_SIZE index, PV_ITEM value) {
  PV_ITEM e = pv_arrayGetItemPtr(array, index);
  if (!e) return false;
  if (e != value) storeElement(e, value);
  return true;
}

bool pv_arraySetForward(PV_ITEM array, PV_SIZE index, PV_ITEM value) {
  PV_ITEM e = pv_arrayGetItemPtr(array, index);
  if (!e) {
    pv_itemClear(value);
    return false;
  }
  pv_itemMove(e, value);
  e->type &= ~PV_IT_MEMOFLAG;
  return true;
}

bool pv_arrayAdd(PV_ITEM array, PV_ITEM value) {
  PvBaseArray* b = baseOf(array);
  if (!b) return false;
  PvItem tmp = {PV_IT_NIL, {}};
  pv_itemCopy(&tmp, value);  // value may live inside this array
  resize(b, b->len + 1);
  pv_itemMove(&b->items[b->len - 1], &tmp);
  b->items[b->len - 1].type &= ~PV_IT_MEMOFLAG;
  return true;
}

bool pv_arrayAddForward(PV_ITEM array, PV_ITEM value) {
  PvBaseArray* b = baseOf(array);
  if (!b) return false;
  resize(b, b->len + 1);
  pv_itemMove(&b->items[b->len - 1], value);
  b->items[b->len - 1].type &= ~PV_IT_MEMOFLAG;
  return true;
}

bool pv_arrayIns(PV_ITEM array, PV_SIZE index) {
  PvBaseArray* b = baseOf(array);
  if (!b || index < 1 || index > b->len) return false;
  pv_itemClear(&b->items[b->len - 1]);
  std::memmove(&b->items[index], &b->items[index - 1], (b->len - index) * sizeof(PvItem));
  b->items[index - 1].type = PV_IT_NIL;
  return true;
}

bool pv_arrayDel(PV_ITEM array, PV_SIZE index) {
  PvBaseArray* b = baseOf(array);
  if (!b || index < 1 || index > b->len) return false;
  pv_itemClear(&b->items[index - 1]);
  std::memmove(&b->items[index - 1], &b->items[index], (b->len - index) * sizeof(PvItem));
  b->items[b->len - 1].type = PV_IT_NIL;
  return true;
}

bool pv_arrayLast(PV_ITEM array, PV_ITEM dest) { return pv_arrayGet(array, pv_arrayLen(array), dest); }

// Normalises start/count to the array; false when nothing is to be done.
static bool range(PvBaseArray* b, PV_SIZE* start, PV_SIZE* count) {
  if (!b) return false;
  if (*start < 1) *start = 1;
  if (*start > b->len) return false;
  PV_SIZE avail = b->len - *start + 1;
  if (*count < 0 || *count > avail) *count = avail;
  return *count > 0;
}

bool pv_arrayFill(PV_ITEM array, PV_ITEM value, PV_SIZE start, PV_SIZE count) {
  PvBaseArray* b = baseOf(array);
  if (!b) return false;
  if (range(b, &start, &count))
    for (PV_SIZE i = start - 1; i < start - 1 + count; ++i) storeElement(&b->items[i], value);
  return true;
}

static bool scanMatch(PV_ITEM e, PV_ITEM value, bool exact) {
  if (PV_IS_STRING(value) && PV_IS_STRING(e)) return pv_itemStrCmp(e, value, exact) == 0;
  if (PV_IS_NIL(value)) return PV_IS_NIL(e);
  if (PV_IS_ARRAY(value) && PV_IS_ARRAY(e)) return value->item.asArray.value == e->item.asArray.value;
  if (PV_IS_HASH(value) && PV_IS_HASH(e)) return value->item.asHash.value == e->item.asHash.value;
  if (PV_IS_BLOCK(value) && PV_IS_BLOCK(e)) return value->item.asBlock.value == e->item.asBlock.value;
  if (PV_IS_POINTER(value) && PV_IS_POINTER(e)) return pv_itemGetPtr(value) == pv_itemGetPtr(e);
  int r;
  if ((PV_IS_NUMERIC(value) && PV_IS_NUMERIC(e)) || (PV_IS_DATE(value) && PV_IS_DATE(e)) ||
      (PV_IS_LOGICAL(value) && PV_IS_LOGICAL(e)))
    return pv_itemRelCompare(e, value, true, &r) && r == 0;
  return false;
}

PV_SIZE pv_arrayScan(PV_ITEM array, PV_ITEM value, PV_SIZE start, PV_SIZE count, bool exact) {
  PvBaseArray* b = baseOf(array);
  if (!range(b, &start, &count)) return 0;
  bool isBlock = PV_IS_BLOCK(value);
  pv_gcIncRef(b);
  PV_SIZE found = 0;
  for (PV_SIZE i = start; i < start + count && i <= b->len; ++i) {
    if (isBlock) {
      PvItem idx = {PV_IT_NIL, {}};
      pv_itemPutNInt(&idx, i);
      PV_ITEM r = pv_vmEvalBlockV(value, 2, &b->items[i - 1], &idx);
      if (pv_vmRequestQuery()) break;
      if (PV_IS_LOGICAL(r) && pv_itemGetL(r)) found = i;
    } else if (scanMatch(&b->items[i - 1], value, exact)) {
      found = i;
    }
    if (found) break;
  }
  pv_gcDecRef(b);
  return found;
}

bool pv_arrayEval(PV_ITEM array, PV_ITEM block, PV_SIZE start, PV_SIZE count) {
  PvBaseArray* b = baseOf(array);
  if (!b || !PV_IS_BLOCK(block)) return false;
  if (!range(b, &start, &count)) return true;
  pv_gcIncRef(b);
  for (PV_SIZE i = start; i < start + count && i <= b->len; ++i) {
    PvItem idx = {PV_IT_NIL, {}};
    pv_itemPutNInt(&idx, i);
    pv_vmEvalBlockV(block, 2, &b->items[i - 1], &idx);
    if (pv_vmRequestQuery()) break;
  }
  pv_gcDecRef(b);
  return true;
}

bool pv_arrayCopy(PV_ITEM src, PV_ITEM dest, PV_SIZE start, PV_SIZE count, PV_SIZE target) {
  PvBaseArray* s = baseOf(src);
  PvBaseArray* d = baseOf(dest);
  if (!s || !d) return false;
  if (!range(s, &start, &count)) return true;
  if (target < 1) target = 1;
  for (PV_SIZE i = 0; i < count && target + i <= d->len; ++i)
    if (&d->items[target - 1 + i] != &s->items[start - 1 + i])
      storeElement(&d->items[target - 1 + i], &s->items[start - 1 + i]);
  return true;
}

// Clones nested arrays once each, so shared sub-arrays stay shared and cycles terminate.
static void cloneInto(PV_ITEM dest, PV_ITEM src, std::unordered_map<PvBaseArray*, PvBaseArray*>& done) {
  PvBaseArray* s = src->item.asArray.value;
  auto it = done.find(s);
  if (it != done.end()) {
    pv_itemClear(dest);
    dest->type = PV_IT_ARRAY;
    dest->item.asArray.value = it->second;
    dest->item.asArray.superCls = 0;
    pv_gcIncRef(it->second);
    return;
  }
  pv_arrayNew(dest, s->len);
  PvBaseArray* d = dest->item.asArray.value;
  d->uiClass = s->uiClass;
  done[s] = d;
  for (PV_SIZE i = 0; i < s->len; ++i) {
    PvItem* e = &s->items[i];
    if (PV_IS_ARRAY(e) && !PV_IS_OBJECT(e)) cloneInto(&d->items[i], e, done);
    else pv_itemCloneTo(&d->items[i], e);
  }
}

PV_ITEM pv_arrayClone(PV_ITEM array) {
  PV_ITEM result = pv_itemNew(nullptr);
  if (array && PV_IS_ARRAY(array)) {
    std::unordered_map<PvBaseArray*, PvBaseArray*> done;
    cloneInto(result, array, done);
  }
  return result;
}

// An in-place quicksort that stays inside the range whatever the comparison answers (a
// comparison block need not be consistent); equal elements keep no particular order.
template <typename Less>
static void quickSort(PvItem* a, PV_SIZE n, Less less) {
  while (n > 12) {
    PvItem pivot = a[n / 2];  // a bit copy: the value stays held by its element
    PV_SIZE i = 0, j = n - 1;
    for (;;) {
      while (i < n && less(a[i], pivot)) ++i;
      while (j > 0 && less(pivot, a[j])) --j;
      if (i >= j) break;
      std::swap(a[i], a[j]);
      ++i;
      --j;
    }
    PV_SIZE split = j < 0 ? 0 : j;  // left [0, split], right [split + 1, n)
    if (split >= n - 1) split = n - 2;
    PV_SIZE left = split + 1;
    if (left < n - left) {
      quickSort(a, left, less);
      a += left;
      n -= left;
    } else {
      quickSort(a + left, n - left, less);
      n = left;
    }
  }
  for (PV_SIZE i = 1; i < n; ++i)
    for (PV_SIZE k = i; k > 0 && less(a[k], a[k - 1]); --k) std::swap(a[k], a[k - 1]);
}

// The order without a block. Ranges of one kind (integers, numbers, strings) sort with a
// comparison made for that kind; mixed ranges take the general rules.
static void sortWithoutBlock(PvItem* a, PV_SIZE n) {
  // NIL has no type bit of its own: it is marked so that a range with NILs takes the general rules.
  constexpr uint32_t kNilMark = 0x80000000u;
  uint32_t any = 0;
  for (PV_SIZE i = 0; i < n; ++i) any |= a[i].type == PV_IT_NIL ? kNilMark : a[i].type & ~PV_IT_MEMOFLAG;
  if (any == PV_IT_INTEGER) {
    quickSort(a, n, [](PvItem& x, PvItem& y) { return x.item.asInteger.value < y.item.asInteger.value; });
  } else if ((any & ~PV_IT_NUMERIC) == 0 && (any & PV_IT_NUMERIC)) {
    quickSort(a, n, [](PvItem& x, PvItem& y) {
      if ((x.type & PV_IT_NUMINT) && (y.type & PV_IT_NUMINT)) return pv_itemGetNInt(&x) < pv_itemGetNInt(&y);
      return pv_itemGetND(&x) < pv_itemGetND(&y);
    });
  } else if (any == PV_IT_STRING) {
    quickSort(a, n, [](PvItem& x, PvItem& y) {
      return pv_itemStrCmpBytes(x.item.asString.value, x.item.asString.length, y.item.asString.value,
                                y.item.asString.length, false) < 0;
    });
  } else {
    quickSort(a, n, [](PvItem& x, PvItem& y) { return pv_itemSortLess(&x, &y); });
  }
}

bool pv_arraySort(PV_ITEM array, PV_SIZE start, PV_SIZE count, PV_ITEM block) {
  PvBaseArray* b = baseOf(array);
  if (!b) return false;
  if (!range(b, &start, &count)) return true;
  if (!block || !PV_IS_BLOCK(block)) {
    sortWithoutBlock(b->items + start - 1, count);
    return true;
  }
  // The block may change the array, so the elements are sorted in a copy of their own.
  std::vector<PvItem> copy(count, PvItem{PV_IT_NIL, {}});
  for (PV_SIZE i = 0; i < count; ++i) pv_itemCopy(&copy[i], &b->items[start - 1 + i]);
  pv_gcIncRef(b);
  bool stop = false;
  quickSort(copy.data(), count, [&](PvItem& x, PvItem& y) {
    if (stop) return false;
    PV_ITEM r = pv_vmEvalBlockV(block, 2, &x, &y);
    stop = pv_vmRequestQuery() != 0;
    return PV_IS_LOGICAL(r) && pv_itemGetL(r);
  });
  for (PV_SIZE i = 0; i < count; ++i) {
    if (!stop && start - 1 + i < b->len) pv_itemMove(&b->items[start - 1 + i], &copy[i]);
    else pv_itemClear(&copy[i]);
  }
  pv_gcDecRef(b);
  return true;
}

uint32_t pv_arrayGetType(PV_ITEM a, PV_SIZE i) { return pv_itemType(pv_arrayGetItemPtr(a, i)); }
int pv_arrayGetNI(PV_ITEM a, PV_SIZE i) { return pv_itemGetNI(pv_arrayGetItemPtr(a, i)); }
long pv_arrayGetNL(PV_ITEM a, PV_SIZE i) { return pv_itemGetNL(pv_arrayGetItemPtr(a, i)); }
double pv_arrayGetND(PV_ITEM a, PV_SIZE i) { return pv_itemGetND(pv_arrayGetItemPtr(a, i)); }
bool pv_arrayGetL(PV_ITEM a, PV_SIZE i) { return pv_itemGetL(pv_arrayGetItemPtr(a, i)); }
const char* pv_arrayGetCPtr(PV_ITEM a, PV_SIZE i) { return pv_itemGetCPtr(pv_arrayGetItemPtr(a, i)); }
PV_SIZE pv_arrayGetCLen(PV_ITEM a, PV_SIZE i) { return pv_itemGetCLen(pv_arrayGetItemPtr(a, i)); }
char* pv_arrayGetC(PV_ITEM a, PV_SIZE i) { return pv_itemGetC(pv_arrayGetItemPtr(a, i)); }
char* pv_arrayGetDS(PV_ITEM a, PV_SIZE i, char* buf) { return pv_itemGetDS(pv_arrayGetItemPtr(a, i), buf); }

bool pv_arraySetC(PV_ITEM a, PV_SIZE i, const char* text) {
  PV_ITEM e = pv_arrayGetItemPtr(a, i);
  if (e) pv_itemPutC(e, text);
  return e != nullptr;
}

bool pv_arraySetNI(PV_ITEM a, PV_SIZE i, int value) {
  PV_ITEM e = pv_arrayGetItemPtr(a, i);
  if (e) pv_itemPutNI(e, value);
  return e != nullptr;
}

bool pv_arraySetL(PV_ITEM a, PV_SIZE i, bool value) {
  PV_ITEM e = pv_arrayGetItemPtr(a, i);
  if (e) pv_itemPutL(e, value);
  return e != nullptr;
}

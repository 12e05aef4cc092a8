// Comparison of values: strings under SET EXACT, the relational rules and the array sort order.
#include <cstring>

#include "compare.h"
#include "array.h"
#include "set.h"

int pv_itemStrCmpBytes(const char* a, PV_SIZE lenA, const char* b, PV_SIZE lenB, bool forceExact) {
  bool exact = forceExact || pv_setExact();
  if (pv_setExact() && !forceExact) {  // trailing blanks of the longer string are ignored
    if (lenA > lenB) {
      while (lenA > lenB && a[lenA - 1] == ' ') --lenA;
    } else {
      while (lenB > lenA && b[lenB - 1] == ' ') --lenB;
    }
  }
  PV_SIZE common = lenA < lenB ? lenA : lenB;
  int r = common ? std::memcmp(a, b, common) : 0;
  if (r) return r < 0 ? -1 : 1;
  if (lenA == lenB) return 0;
  if (exact) return lenA < lenB ? -1 : 1;
  return lenB <= lenA ? 0 : -1;  // the second is a prefix of the first: equal
}

int pv_itemStrCmp(PV_ITEM first, PV_ITEM second, bool forceExact) {
  return pv_itemStrCmpBytes(pv_itemGetCPtr(first), pv_itemGetCLen(first), pv_itemGetCPtr(second),
                            pv_itemGetCLen(second), forceExact);
}

static bool isOneByte(PV_ITEM p) { return PV_IS_STRING(p) && pv_itemGetCLen(p) == 1; }

static bool isNumberLike(PV_ITEM p) { return PV_IS_NUMERIC(p) || PV_IS_DATE(p) || isOneByte(p); }

template <typename T>
static int sign(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

bool pv_itemRelCompare(PV_ITEM a, PV_ITEM b, bool forceExact, int* result) {
  if (PV_IS_STRING(a) && PV_IS_STRING(b)) {
    *result = pv_itemStrCmp(a, b, forceExact);
    return true;
  }
  if (PV_IS_NUMINT(a) && PV_IS_NUMINT(b)) {
    *result = sign(pv_itemGetNInt(a), pv_itemGetNInt(b));
    return true;
  }
  if (PV_IS_DATE(a) && PV_IS_DATE(b)) {
    int r = sign(a->item.asDateTime.julian, b->item.asDateTime.julian);
    *result = r ? r : sign(a->item.asDateTime.time, b->item.asDateTime.time);
    return true;
  }
  if (isNumberLike(a) && isNumberLike(b)) {
    *result = sign(pv_itemGetND(a), pv_itemGetND(b));
    return true;
  }
  if (PV_IS_LOGICAL(a) && PV_IS_LOGICAL(b)) {
    *result = sign(pv_itemGetL(a) ? 1 : 0, pv_itemGetL(b) ? 1 : 0);
    return true;
  }
  return false;
}

static int typeRank(PV_ITEM p) {
  if (PV_IS_ARRAY(p)) return 1;
  if (PV_IS_BLOCK(p)) return 2;
  if (PV_IS_STRING(p)) return 3;
  if (PV_IS_LOGICAL(p)) return 4;
  if (PV_IS_DATE(p)) return 5;
  if (PV_IS_NUMERIC(p)) return 6;
  return 7;
}

bool pv_itemSortLess(PV_ITEM a, PV_ITEM b) {
  int r;
  if (PV_IS_STRING(a) && PV_IS_STRING(b)) return pv_itemStrCmp(a, b, false) < 0;
  if (pv_itemRelCompare(a, b, false, &r)) return r < 0;
  return typeRank(a) < typeRank(b);
}

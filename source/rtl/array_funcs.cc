// Array functions: AADD, ASIZE, ADEL, AINS, AFILL, ASCAN, ASORT, AEVAL, ACOPY, ACLONE, ARRAY,
// ATAIL.
#include <algorithm>
#include <vector>

#include "array.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// The most elements ASIZE and ARRAY make (larger requests are argument errors, not a crash
// for want of memory).
constexpr long long kMaxElements = 0xFFFFFFF;

// An optional start (default 1) or count (default -1: to the end).
PV_SIZE optional(int n, PV_SIZE fallback) {
  return pv_ispar(n, PV_IT_NUMERIC) ? static_cast<PV_SIZE>(pv_parnll(n)) : fallback;
}

// AADD( aArray, xValue ): appends and returns xValue.
void PV_FUN_AADD() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY), v = pv_param(2, PV_IT_ANY);
  if (!a || !v) return pv_rtlArgError(PV_SUB_AADD, "AADD");
  pv_arrayAdd(a, v);
  pv_itemReturn(v);
}

// ASIZE( aArray, nLength ): grows with NILs or cuts; returns the array.
void PV_FUN_ASIZE() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a || !pv_ispar(2, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_ASIZE, "ASIZE");
  long long n = pv_parnll(2);
  if (n > kMaxElements) return pv_rtlArgError(PV_SUB_ASIZE, "ASIZE");
  pv_arraySize(a, n < 0 ? 0 : n);
  pv_itemReturn(a);
}

// ADEL( aArray, [nPos] ) and AINS( aArray, [nPos] ) keep the length: ADEL shifts the rest left
// and leaves NIL at the end, AINS shifts right, dropping the last element, and leaves NIL at nPos.
void shiftElements(bool insert, uint32_t subcode, const char* name) {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a || !pv_rtlOptional(2, PV_IT_NUMERIC)) return pv_rtlArgError(subcode, name);
  PV_SIZE pos = optional(2, 1);
  if (insert) pv_arrayIns(a, pos);
  else pv_arrayDel(a, pos);
  pv_itemReturn(a);
}

void PV_FUN_ADEL() { shiftElements(false, PV_SUB_ADEL, "ADEL"); }
void PV_FUN_AINS() { shiftElements(true, PV_SUB_AINS, "AINS"); }

// AFILL( aArray, xValue, [nStart], [nCount] ): stores xValue into the elements from nStart on
// (all when nCount is absent) without growing the array; returns the array.
void PV_FUN_AFILL() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_AFILL, "AFILL");
  pv_arrayFill(a, pv_paramError(2), optional(3, 1), optional(4, -1));
  pv_itemReturn(a);
}

// ASCAN( aArray, xValue|bBlock, [nStart], [nCount] ): the first matching position or 0. Values
// compare with the rules of "=" (strings under SET EXACT); a block is called with the element
// and its position and matches when it returns true.
void PV_FUN_ASCAN() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_ASCAN, "ASCAN");
  pv_retnint(pv_arrayScan(a, pv_paramError(2), optional(3, 1), optional(4, -1), false));
}

// ASORT( aArray, [nStart], [nCount], [bOrder] ): sorts in place and returns the array.
void PV_FUN_ASORT() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  PV_ITEM block = pv_param(4, PV_IT_BLOCK);
  if (!a || !pv_rtlOptional(2, PV_IT_NUMERIC) || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_BLOCK))
    return pv_rtlArgError(PV_SUB_ASORT, "ASORT");
  pv_arraySort(a, optional(2, 1), optional(3, -1), block);
  pv_itemReturn(a);
}

// AEVAL( aArray, bBlock, [nStart], [nCount] ): calls the block with each element and its
// position; returns the array.
void PV_FUN_AEVAL() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY), block = pv_param(2, PV_IT_BLOCK);
  if (!a || !block || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_AEVAL, "AEVAL");
  pv_arrayEval(a, block, optional(3, 1), optional(4, -1));
  pv_itemReturn(a);
}

// ACOPY( aSource, aTarget, [nStart], [nCount], [nTargetPos] ): copies elements (nested
// arrays by reference) without growing the target; returns the target.
void PV_FUN_ACOPY() {
  PV_ITEM src = pv_param(1, PV_IT_ARRAY), dst = pv_param(2, PV_IT_ARRAY);
  if (!src || !dst || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_NUMERIC) || !pv_rtlOptional(5, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_ACOPY, "ACOPY");
  pv_arrayCopy(src, dst, optional(3, 1), optional(4, -1), optional(5, 1));
  pv_itemReturn(dst);
}

// ACLONE( aArray ): a deep copy (nested arrays cloned once each).
void PV_FUN_ACLONE() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a) return pv_rtlArgError(PV_SUB_ACLONE, "ACLONE");
  pv_itemReturnRelease(pv_arrayClone(a));
}

// Fills `item` with an array of dims[0] elements, each an array of the next dimensions.
void buildArray(PV_ITEM item, const PV_SIZE* dims, int count) {
  pv_arrayNew(item, dims[0]);
  if (count > 1)
    for (PV_SIZE i = 1; i <= dims[0]; ++i) buildArray(pv_arrayGetItemPtr(item, i), dims + 1, count - 1);
}

// ARRAY( nDim1, [nDim2, ...] ): a (nested) array of NILs.
void PV_FUN_ARRAY() {
  int n = pv_pcount();
  if (n < 1) return pv_rtlArgError(PV_SUB_ARRAY, "ARRAY");
  std::vector<PV_SIZE> dims;
  long long total = 1;
  for (int i = 1; i <= n; ++i) {
    long long d = pv_parnll(i);
    if (!pv_ispar(i, PV_IT_NUMERIC) || d < 0 || d > kMaxElements || (total *= std::max(d, 1LL)) > kMaxElements)
      return pv_rtlArgError(PV_SUB_ARRAY, "ARRAY");
    dims.push_back(static_cast<PV_SIZE>(d));
  }
  buildArray(pv_stackReturnItem(), dims.data(), n);
}

// ATAIL( aArray ): the last element, NIL for an empty array.
void PV_FUN_ATAIL() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a) return pv_rtlArgError(PV_SUB_ATAIL, "ATAIL");
  if (!pv_arrayLast(a, pv_stackReturnItem())) pv_ret();
}

PvSymbol s_symbols[] = {
    pv_native("AADD", PV_FUN_AADD),   pv_native("ASIZE", PV_FUN_ASIZE),
    pv_native("ADEL", PV_FUN_ADEL),   pv_native("AINS", PV_FUN_AINS),
    pv_native("ASCAN", PV_FUN_ASCAN), pv_native("ASORT", PV_FUN_ASORT),
    pv_native("AEVAL", PV_FUN_AEVAL), pv_native("ACOPY", PV_FUN_ACOPY),
    pv_native("ACLONE", PV_FUN_ACLONE), pv_native("ARRAY", PV_FUN_ARRAY),
    pv_native("ATAIL", PV_FUN_ATAIL), pv_native("AFILL", PV_FUN_AFILL),
};
PvModuleRegistrar s_module("rtl/array_funcs", s_symbols);

}  // namespace

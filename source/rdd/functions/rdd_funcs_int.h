// Helpers shared by the files of the table engine's language functions. Internal.
#pragma once

#include "array.h"
#include "errors.h"
#include "rddapi.h"
#include "vm.h"

// The current area, or nullptr after raising "Workarea not in use" for `function`.
inline PvArea* RddAreaOrError(const char* function) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, function);
  return a;
}

inline bool RddFlag(int slot, bool without_area) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return without_area;
  PvRddArgs x;
  pv_rddCall(a, slot, &x);
  return x.flag;
}

// The scope given in parameters first .. first+4: for block, while block, next count, record
// number, rest flag (the order every scoped table function takes them in).
inline PvScope RddScopeParams(int first) {
  PvScope s;
  s.forBlock = pv_param(first, PV_IT_BLOCK);
  s.whileBlock = pv_param(first + 1, PV_IT_BLOCK);
  s.next = pv_param(first + 2, PV_IT_NUMERIC) ? pv_parnl(first + 2) : 0;
  s.record = pv_param(first + 3, PV_IT_NUMERIC);
  s.rest = pv_parl(first + 4);
  return s;
}

// The structure row of field `i` (1-based) of `a`: { name, type, length, decimals, flags }.
inline void RddFieldRow(PvArea* a, long i, PV_ITEM row) {
  PvItem code = {PV_IT_NIL, {}};
  pv_arrayNew(row, 5);
  for (int c = 1; c <= 5; ++c) {
    PvRddArgs x;
    x.number = i;
    x.item = pv_arrayGetItemPtr(row, c);
    x.item2 = pv_itemPutNI(&code, c);
    pv_rddCall(a, PV_RDD_FIELDINFO, &x);
  }
}

inline long RddNumber(int slot) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return 0;
  PvRddArgs x;
  pv_rddCall(a, slot, &x);
  return x.number;
}

inline void RddMove(const char* function, int slot, long n = 0) {
  if (PvArea* a = RddAreaOrError(function)) pv_rddCallN(a, slot, n);
  pv_ret();
}


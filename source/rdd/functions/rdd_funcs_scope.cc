// Language functions of the table engine: filters, DBEVAL, LOCATE and relations.
#include <cstring>

#include "array.h"
#include "dynsym.h"
#include "errint.h"
#include "errors.h"
#include "rdd_funcs_int.h"
#include "rddapi.h"
#include "registrar.h"
#include "set.h"
#include "vm.h"

namespace {

// ---- filters, evaluation and locate ------------------------------------------------------------

void PV_FUN_DBSETFILTER() {
  if (PvArea* a = RddAreaOrError("DBSETFILTER")) {
    PvRddArgs x;
    x.item = pv_param(1, PV_IT_BLOCK);
    x.item2 = pv_param(2, PV_IT_STRING);
    pv_rddCall(a, PV_RDD_SETFILTER, &x);
  }
  pv_ret();
}

void PV_FUN_DBCLEARFILTER() {
  if (PvArea* a = RddAreaOrError("DBCLEARFILTER")) pv_rddCall(a, PV_RDD_CLEARFILTER);
  pv_ret();
}

void PV_FUN_DBFILTER() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  pv_retc(a ? a->filterText.c_str() : "");
}

void PV_FUN_DBEVAL() {
  PvArea* a = RddAreaOrError("DBEVAL");
  PV_ITEM block = pv_param(1, PV_IT_BLOCK);
  if (a && block) {
    PvScope scope = RddScopeParams(2);
    PvRddArgs x;
    x.item = block;
    x.ptr = &scope;
    pv_rddCall(a, PV_RDD_DBEVAL, &x);
  } else if (a) {
    pv_errRT_DBCMD(PV_EG_ARG, 2019, nullptr, "DBEVAL");
  }
  pv_ret();
}

void PV_FUN___DBLOCATE() {
  if (PvArea* a = RddAreaOrError("__DBLOCATE")) {
    PvScope scope = RddScopeParams(1);
    PvRddArgs x;
    x.ptr = &scope;
    pv_rddCall(a, PV_RDD_SETLOCATE, &x);
    pv_rddCall(a, PV_RDD_LOCATE, &x);
  }
  pv_ret();
}

void PV_FUN___DBCONTINUE() {
  if (PvArea* a = RddAreaOrError("__DBCONTINUE")) {
    PvRddArgs x;
    x.flag = true;
    pv_rddCall(a, PV_RDD_LOCATE, &x);
  }
  pv_ret();
}

// ---- relations --------------------------------------------------------------------------------

// DBSETRELATION(alias or area, key block, key text, scoped)
void PV_FUN_DBSETRELATION() {
  PvArea* a = RddAreaOrError("DBSETRELATION");
  if (!a) return pv_ret();
  int child = 0;
  if (const char* alias = pv_parc(1)) {
    if (pv_rddGetAliasNumber(alias, &child) != PV_SUCCESS) {
      pv_errRT_BASE_Ext1(PV_EG_NOALIAS, 1002, nullptr, alias, 0, 0, 0);
      return pv_ret();
    }
  } else {
    child = pv_parni(1);
  }
  PvRddArgs x;
  x.number = child;
  x.item = pv_param(2, PV_IT_BLOCK);
  x.item2 = pv_param(3, PV_IT_STRING);
  x.flag = pv_parl(4);
  if (pv_rddCall(a, PV_RDD_SETREL, &x) != PV_SUCCESS) {
    pv_errRT_DBCMD(PV_EG_ARG, 1006, nullptr, "DBSETRELATION");
  }
  pv_ret();
}

void PV_FUN_DBCLEARRELATION() {
  if (PvArea* a = RddAreaOrError("DBCLEARRELATION")) pv_rddCall(a, PV_RDD_CLEARREL);
  pv_ret();
}

void PV_FUN_DBRSELECT() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return pv_retni(0);
  PvRddArgs x;
  x.number = pv_param(1, PV_IT_NUMERIC) ? pv_parnl(1) : 1;
  pv_rddCall(a, PV_RDD_RELAREA, &x);
  pv_retni(int(x.number));
}

void PV_FUN_DBRELATION() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem text = {PV_IT_NIL, {}};
  pv_itemPutC(&text, "");
  if (a) {
    PvRddArgs x;
    x.number = pv_param(1, PV_IT_NUMERIC) ? pv_parnl(1) : 1;
    x.item = &text;
    pv_rddCall(a, PV_RDD_RELTEXT, &x);
  }
  pv_itemReturn(&text);
  pv_itemClear(&text);
}

PvSymbol s_symbols[] = {
    pv_native("DBSETFILTER", PV_FUN_DBSETFILTER),
    pv_native("DBCLEARFILTER", PV_FUN_DBCLEARFILTER),
    pv_native("DBFILTER", PV_FUN_DBFILTER),
    pv_native("DBEVAL", PV_FUN_DBEVAL),
    pv_native("__DBLOCATE", PV_FUN___DBLOCATE),
    pv_native("__DBCONTINUE", PV_FUN___DBCONTINUE),
    pv_native("DBSETRELATION", PV_FUN_DBSETRELATION),
    pv_native("DBCLEARRELATION", PV_FUN_DBCLEARRELATION),
    pv_native("DBRSELECT", PV_FUN_DBRSELECT),
    pv_native("DBRELATION", PV_FUN_DBRELATION),
};
PvModuleRegistrar s_module("rdd/scope", s_symbols);

}  // namespace

// Language functions of orders and indexes: ORDCREATE and ORDCONDSET, the order list
// (ORDLISTADD, ORDLISTCLEAR, ORDLISTREBUILD, ORDDESTROY, ORDSETFOCUS, DBSETORDER), the
// logical position (ORDKEYNO, ORDKEYCOUNT, ORDKEYGOTO, ORDKEYRELPOS), DBSEEK, ORDSCOPE, the
// order information functions and DBORDERINFO, their compatibility forms, and CDXCHECK.
#include <cstdlib>

#include "array.h"
#include "errors.h"
#include "rdd_cdx.h"
#include "registrar.h"
#include "set.h"
#include "vm.h"

namespace {

PvArea* AreaOrError(const char* function) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, function);
  return a;
}

// Calls an order slot with order argument `orderArg` and bag argument `bagArg` (0: none) and
// returns the result item's value.
void OrderCall(const char* function, int slot, long code, int orderArg, int bagArg,
               PV_ITEM newValue = nullptr) {
  PvArea* a = AreaOrError(function);
  if (!a) return pv_ret();
  PvItem result = {PV_IT_NIL, {}};
  PvOrderInfo oi;
  oi.order = orderArg ? pv_param(orderArg, PV_IT_NUMERIC | PV_IT_STRING) : nullptr;
  oi.bag = bagArg ? pv_param(bagArg, PV_IT_NUMERIC | PV_IT_STRING) : nullptr;
  oi.newValue = newValue;
  oi.result = &result;
  PvRddArgs x;
  x.number = code;
  x.ptr = &oi;
  pv_rddCall(a, slot, &x);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

void Info(const char* function, long code, int orderArg = 1, int bagArg = 2) {
  OrderCall(function, PV_RDD_ORDINFO, code, orderArg, bagArg);
}

void PV_FUN_ORDCREATE() {
  PvArea* a = AreaOrError("ORDCREATE");
  if (!a) return pv_retl(false);
  const char* bag = pv_parc(1);
  const char* tag = pv_parc(2);
  if (((!bag || !*bag) && (!tag || !*tag)) || !pv_parc(3)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1006, nullptr, "ORDCREATE");
    return pv_retl(false);
  }
  PvOrderInfo oi;
  oi.bagName = bag ? bag : "";
  oi.tagName = tag ? tag : "";
  oi.keyText = pv_parc(3);
  oi.keyBlock = pv_param(4, PV_IT_BLOCK);
  oi.unique = pv_param(5, PV_IT_LOGICAL) ? pv_parl(5) : pv_setUnique();
  PvRddArgs x;
  x.ptr = &oi;
  pv_retl(pv_rddCall(a, PV_RDD_ORDCREATE, &x) == PV_SUCCESS);
}

// ORDCONDSET(cFor, bFor, lAll, bWhile, bEval, nStep, nStart, nNext, nRecord, lRest, lDescend,
//            lAdditive, lCurrent, lCustom, lNoOptimize, lTemporary)
void PV_FUN_ORDCONDSET() {
  PvArea* a = AreaOrError("ORDCONDSET");
  if (!a) return pv_retl(false);
  PvCdxCondition c;
  c.forText = pv_parc(1) ? pv_parc(1) : "";
  PvItem block = {PV_IT_NIL, {}};
  if (PV_ITEM b = pv_param(2, PV_IT_BLOCK)) pv_itemCopy(&block, b), c.forBlock = &block;
  c.all = pv_parl(3);
  c.descending = pv_parl(11);
  c.additive = pv_parl(12);
  c.custom = pv_parl(14);
  c.temporary = pv_parl(16);
  PvRddArgs x;
  x.ptr = &c;
  bool ok = pv_rddCall(a, PV_RDD_ORDSETCOND, &x) == PV_SUCCESS;
  if (PvCdxArea* cdx = pv_cdxArea(a); cdx && cdx->condition && cdx->condition->forBlock)
    cdx->condition->forBlock = pv_itemNew(&block);  // the pending condition keeps the block
  pv_itemClear(&block);
  pv_retl(ok);
}

void BagCall(const char* function, int slot) {
  PvArea* a = AreaOrError(function);
  if (!a) return pv_retl(false);
  PvOrderInfo oi;
  oi.bagName = pv_parc(1) ? pv_parc(1) : "";
  PvRddArgs x;
  x.ptr = &oi;
  pv_retl(pv_rddCall(a, slot, &x) == PV_SUCCESS);
}

void PV_FUN_ORDLISTADD() {
  pv_rddSetNetErr(false);
  BagCall("ORDLISTADD", PV_RDD_ORDLSTADD);
}
void PV_FUN_ORDLISTCLEAR() { BagCall("ORDLISTCLEAR", PV_RDD_ORDLSTCLEAR); }
void PV_FUN_ORDLISTREBUILD() { BagCall("ORDLISTREBUILD", PV_RDD_ORDLSTREBUILD); }

void PV_FUN_ORDDESTROY() { OrderCall("ORDDESTROY", PV_RDD_ORDDESTROY, 0, 1, 2); }
void PV_FUN_ORDSETFOCUS() { OrderCall("ORDSETFOCUS", PV_RDD_ORDLSTFOCUS, 0, 1, 2); }

void PV_FUN_DBSETORDER() {
  PvArea* a = AreaOrError("DBSETORDER");
  if (!a) return pv_ret();
  PvItem order = {PV_IT_NIL, {}}, result = {PV_IT_NIL, {}};
  if (const char* text = pv_parc(1); text && std::atol(text) != 0) pv_itemPutNL(&order, std::atol(text));
  else if (PV_ITEM o = pv_param(1, PV_IT_NUMERIC | PV_IT_STRING)) pv_itemCopy(&order, o);
  else pv_itemPutNL(&order, 0);
  PvOrderInfo oi;
  oi.order = &order;
  oi.result = &result;
  PvRddArgs x;
  x.ptr = &oi;
  pv_rddCall(a, PV_RDD_ORDLSTFOCUS, &x);
  pv_itemClear(&order);
  pv_itemClear(&result);
  pv_ret();
}

void PV_FUN_ORDKEYNO() { Info("ORDKEYNO", 3); }
void PV_FUN_ORDKEYCOUNT() { Info("ORDKEYCOUNT", 26); }
void PV_FUN_ORDKEYGOTO() {
  OrderCall("ORDKEYGOTO", PV_RDD_ORDINFO, 3, 0, 0, pv_param(1, PV_IT_NUMERIC));
}
void PV_FUN_ORDKEYRELPOS() {
  OrderCall("ORDKEYRELPOS", PV_RDD_ORDINFO, 130, 0, 0, pv_param(1, PV_IT_NUMERIC));
}
void PV_FUN_ORDNAME() { Info("ORDNAME", 5); }
void PV_FUN_ORDNUMBER() { Info("ORDNUMBER", 6); }
void PV_FUN_ORDKEY() { Info("ORDKEY", 2); }
void PV_FUN_ORDFOR() { Info("ORDFOR", 1); }
void PV_FUN_ORDBAGNAME() { Info("ORDBAGNAME", 7); }
void PV_FUN_ORDBAGEXT() { Info("ORDBAGEXT", 8); }
void PV_FUN_ORDDESCEND() { Info("ORDDESCEND", 43); }
void PV_FUN_ORDISUNIQUE() { Info("ORDISUNIQUE", 20); }
void PV_FUN_ORDCOUNT() { Info("ORDCOUNT", 9, 0, 1); }
void PV_FUN_INDEXORD() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return pv_retni(0);
  Info("INDEXORD", 6, 0, 0);
}
// INDEXKEY( [nOrder] ): the key of that order; 0 or none names the controlling order.
void PV_FUN_INDEXKEY() {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  Info("INDEXKEY", 2, n && pv_itemGetNL(n) == 0 ? 0 : 1, 0);
}
void PV_FUN_INDEXEXT() { Info("INDEXEXT", 8, 0, 0); }

// ORDSCOPE(which, [value]): 0 top, 1 bottom; returns the previous scope value. Without a value
// argument the scope is read; a NIL value clears it.
void PV_FUN_ORDSCOPE() {
  int which = pv_parni(1) == 1 ? 1 : 0;
  if (pv_pcount() < 2) return OrderCall("ORDSCOPE", PV_RDD_ORDINFO, 39 + which, 0, 0);
  PV_ITEM v = pv_param(2, PV_IT_ANY);
  if (!v || PV_IS_NIL(v)) return OrderCall("ORDSCOPE", PV_RDD_ORDINFO, 41 + which, 0, 0);
  OrderCall("ORDSCOPE", PV_RDD_ORDINFO, 39 + which, 0, 0, v);
}

// DBORDERINFO(code, [bag], [order], [new value])
void PV_FUN_DBORDERINFO() {
  if (!pv_param(1, PV_IT_NUMERIC)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1003, nullptr, "DBORDERINFO");
    return pv_ret();
  }
  OrderCall("DBORDERINFO", PV_RDD_ORDINFO, pv_parnl(1), 3, 2, pv_param(4, PV_IT_ANY));
}

// DBSEEK(value, [soft], [last])
void PV_FUN_DBSEEK() {
  PvArea* a = AreaOrError("DBSEEK");
  if (!a) return pv_retl(false);
  PV_ITEM v = pv_param(1, PV_IT_ANY);
  if (!v || PV_IS_NIL(v)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1001, nullptr, "DBSEEK");
    return pv_retl(false);
  }
  PvRddArgs x;
  x.item = v;
  x.flag = pv_param(2, PV_IT_LOGICAL) ? pv_parl(2) : pv_setSoftSeek();
  x.number = pv_parl(3) ? 1 : 0;
  if (pv_rddCall(a, PV_RDD_SEEK, &x) != PV_SUCCESS) return pv_retl(false);
  pv_retl(a->found);
}

void PV_FUN_DBCLEARINDEX() { BagCall("DBCLEARINDEX", PV_RDD_ORDLSTCLEAR); }
void PV_FUN_DBSETINDEX() { BagCall("DBSETINDEX", PV_RDD_ORDLSTADD); }
void PV_FUN_DBREINDEX() { BagCall("DBREINDEX", PV_RDD_ORDLSTREBUILD); }

// CDXCHECK(): checks every index file of the current area against its table; returns "" when
// all is well, else the first fault's text.
void PV_FUN_CDXCHECK() {
  PvArea* a = AreaOrError("CDXCHECK");
  if (!a) return pv_retc("");
  std::string fault = pv_cdxCheckArea(a, nullptr);
  pv_retc(fault.c_str());
}

PvSymbol s_symbols[] = {
    pv_native("ORDCREATE", PV_FUN_ORDCREATE),       pv_native("ORDCONDSET", PV_FUN_ORDCONDSET),
    pv_native("ORDLISTADD", PV_FUN_ORDLISTADD),     pv_native("ORDLISTCLEAR", PV_FUN_ORDLISTCLEAR),
    pv_native("ORDLISTREBUILD", PV_FUN_ORDLISTREBUILD),
    pv_native("ORDDESTROY", PV_FUN_ORDDESTROY),     pv_native("ORDSETFOCUS", PV_FUN_ORDSETFOCUS),
    pv_native("DBSETORDER", PV_FUN_DBSETORDER),     pv_native("ORDKEYNO", PV_FUN_ORDKEYNO),
    pv_native("ORDKEYCOUNT", PV_FUN_ORDKEYCOUNT),   pv_native("ORDKEYGOTO", PV_FUN_ORDKEYGOTO),
    pv_native("ORDKEYRELPOS", PV_FUN_ORDKEYRELPOS), pv_native("ORDNAME", PV_FUN_ORDNAME),
    pv_native("ORDNUMBER", PV_FUN_ORDNUMBER),       pv_native("ORDKEY", PV_FUN_ORDKEY),
    pv_native("ORDFOR", PV_FUN_ORDFOR),             pv_native("ORDBAGNAME", PV_FUN_ORDBAGNAME),
    pv_native("ORDBAGEXT", PV_FUN_ORDBAGEXT),       pv_native("ORDCOUNT", PV_FUN_ORDCOUNT),
    pv_native("ORDDESCEND", PV_FUN_ORDDESCEND),     pv_native("ORDISUNIQUE", PV_FUN_ORDISUNIQUE),
    pv_native("INDEXORD", PV_FUN_INDEXORD),         pv_native("INDEXKEY", PV_FUN_INDEXKEY),
    pv_native("INDEXEXT", PV_FUN_INDEXEXT),         pv_native("ORDSCOPE", PV_FUN_ORDSCOPE),
    pv_native("DBORDERINFO", PV_FUN_DBORDERINFO),   pv_native("DBSEEK", PV_FUN_DBSEEK),
    pv_native("DBCLEARINDEX", PV_FUN_DBCLEARINDEX), pv_native("DBSETINDEX", PV_FUN_DBSETINDEX),
    pv_native("DBREINDEX", PV_FUN_DBREINDEX),       pv_native("CDXCHECK", PV_FUN_CDXCHECK),
};

// Registers DBFCDX after its parents (the table and memo drivers register the same way; a
// second registration of a driver changes nothing).
struct Startup {
  Startup() {
    pv_dbfRegisterDriver();
    pv_fptRegisterDriver();
    pv_rddRegister("DBF", 1);
    pv_rddRegister("DBFFPT", 1);
    pv_cdxRegisterDriver();
    pv_rddRegister("DBFCDX", 1);
  }
};

PvModuleRegistrar s_module("rdd/orders", s_symbols);
Startup s_startup;

}  // namespace

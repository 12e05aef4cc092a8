// Language functions of the table engine: navigation, flags, fields, records, commits, locks.
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

// ---- navigation and flags ---------------------------------------------------------------------

void PV_FUN_DBGOTOP() { RddMove("DBGOTOP", PV_RDD_GOTOP); }
void PV_FUN_DBGOBOTTOM() { RddMove("DBGOBOTTOM", PV_RDD_GOBOTTOM); }
void PV_FUN_DBSKIP() { RddMove("DBSKIP", PV_RDD_SKIP, pv_param(1, PV_IT_NUMERIC) ? pv_parnl(1) : 1); }

void PV_FUN_DBGOTO() {
  PvArea* a = RddAreaOrError("DBGOTO");
  if (!a) return pv_ret();
  if (pv_pcount() < 1) {
    pv_errRT_DBCMD(PV_EG_ARG, 1003, nullptr, "DBGOTO");
    return pv_ret();
  }
  PvRddArgs x;
  x.item = pv_paramError(1);
  pv_rddCall(a, PV_RDD_GOTOID, &x);
  pv_ret();
}

void PV_FUN_BOF() { pv_retl(RddFlag(PV_RDD_BOF, true)); }
void PV_FUN_EOF() { pv_retl(RddFlag(PV_RDD_EOF, true)); }
void PV_FUN_FOUND() { pv_retl(RddFlag(PV_RDD_FOUND, false)); }
void PV_FUN_DELETED() { pv_retl(RddFlag(PV_RDD_DELETED, false)); }
void PV_FUN_RECNO() { pv_retnl(RddNumber(PV_RDD_RECNO)); }
void PV_FUN_RECCOUNT() { pv_retnl(RddNumber(PV_RDD_RECCOUNT)); }
void PV_FUN_LASTREC() { pv_retnl(RddNumber(PV_RDD_RECCOUNT)); }
void PV_FUN_FCOUNT() { pv_retnl(RddNumber(PV_RDD_FIELDCOUNT)); }

// ---- fields -----------------------------------------------------------------------------------

void PV_FUN_FIELDGET() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long n = pv_parnl(1);
  PvItem value = {PV_IT_NIL, {}};
  if (a && n > 0) {
    PvRddArgs x;
    x.number = n;
    x.item = &value;
    pv_rddCall(a, PV_RDD_GETVALUE, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_FIELDPUT() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long n = pv_parnl(1);
  PV_ITEM value = pv_paramError(2);
  if (!a || n <= 0 || PV_IS_NIL(value)) return pv_ret();
  PvRddArgs x;
  x.number = n;
  x.item = value;
  if (pv_rddCall(a, PV_RDD_PUTVALUE, &x) == PV_SUCCESS) {
    pv_itemReturn(value);
  } else {
    pv_ret();
  }
}

void PV_FUN_FIELDPOS() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  const char* name = pv_parc(1);
  pv_retni(a && name ? pv_rddFieldIndex(a, name) : 0);
}

void PV_FUN_FIELDNAME() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem name = {PV_IT_NIL, {}};
  pv_itemPutC(&name, "");
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(1);
    x.item = &name;
    pv_rddCall(a, PV_RDD_FIELDNAME, &x);
  }
  pv_itemReturn(&name);
  pv_itemClear(&name);
}

void PV_FUN_DBSTRUCT() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem list = {PV_IT_NIL, {}};
  pv_arrayNew(&list, 0);
  for (size_t i = 1; a && i <= a->fields.size(); ++i) {
    PvItem field = {PV_IT_NIL, {}};
    RddFieldRow(a, long(i), &field);
    pv_arrayAddForward(&list, &field);
  }
  pv_itemReturn(&list);
  pv_itemClear(&list);
}

// ---- records, commits and locks ---------------------------------------------------------------

void PV_FUN_DBAPPEND() {
  PvArea* a = RddAreaOrError("DBAPPEND");
  pv_rddSetNetErr(false);
  if (!a) return pv_retl(false);
  PvRddArgs x;
  x.flag = pv_param(1, PV_IT_LOGICAL) ? pv_parl(1) : true;
  pv_retl(pv_rddCall(a, PV_RDD_APPEND, &x) == PV_SUCCESS);
}

void PV_FUN_DBDELETE() { RddMove("DBDELETE", PV_RDD_DELETE); }
void PV_FUN_DBRECALL() { RddMove("DBRECALL", PV_RDD_RECALL); }
void PV_FUN_DBCOMMIT() { RddMove("DBCOMMIT", PV_RDD_FLUSH); }
void PV_FUN_DBCOMMITALL() {
  pv_rddFlushAll();
  pv_ret();
}

void PV_FUN_DBUNLOCK() {
  if (PvArea* a = RddAreaOrError("DBUNLOCK")) {
    PvRddArgs x;
    pv_rddCall(a, PV_RDD_UNLOCK, &x);
  }
  pv_ret();
}
void PV_FUN_DBUNLOCKALL() {
  pv_rddUnLockAll();
  pv_ret();
}

bool LockWith(const char* function, long method, PV_ITEM record) {
  PvArea* a = RddAreaOrError(function);
  if (!a) return false;
  PvRddArgs x;
  x.number = method;
  x.item = record;
  pv_rddCall(a, PV_RDD_LOCK, &x);
  return x.flag;
}

void PV_FUN_RLOCK() { pv_retl(LockWith("RLOCK", 1, nullptr)); }
void PV_FUN_FLOCK() { pv_retl(LockWith("FLOCK", 3, nullptr)); }
void PV_FUN_DBRLOCK() {
  PV_ITEM rec = pv_param(1, PV_IT_NUMERIC);
  pv_retl(LockWith("DBRLOCK", rec ? 2 : 1, rec));
}

void PV_FUN___DBPACK() { RddMove("__DBPACK", PV_RDD_PACK); }
void PV_FUN___DBZAP() { RddMove("__DBZAP", PV_RDD_ZAP); }

void InfoReturn(long code, PV_ITEM extra = nullptr) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = code;
    x.item = &value;
    x.item2 = extra;
    pv_rddCall(a, PV_RDD_INFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_HEADER() {
  if (!pv_rddGetCurrentWorkAreaPointer()) return pv_retni(0);
  InfoReturn(3);
}
void PV_FUN_LUPDATE() { InfoReturn(4); }
// DBINFO(code, new value or parameter)
void PV_FUN_DBINFO() { InfoReturn(pv_parnl(1), pv_paramError(2)); }

PvSymbol s_symbols[] = {
    pv_native("DBGOTOP", PV_FUN_DBGOTOP),
    pv_native("DBGOBOTTOM", PV_FUN_DBGOBOTTOM),
    pv_native("DBSKIP", PV_FUN_DBSKIP),
    pv_native("DBGOTO", PV_FUN_DBGOTO),
    pv_native("BOF", PV_FUN_BOF),
    pv_native("EOF", PV_FUN_EOF),
    pv_native("FOUND", PV_FUN_FOUND),
    pv_native("DELETED", PV_FUN_DELETED),
    pv_native("RECNO", PV_FUN_RECNO),
    pv_native("RECCOUNT", PV_FUN_RECCOUNT),
    pv_native("LASTREC", PV_FUN_LASTREC),
    pv_native("FCOUNT", PV_FUN_FCOUNT),
    pv_native("FIELDGET", PV_FUN_FIELDGET),
    pv_native("FIELDPUT", PV_FUN_FIELDPUT),
    pv_native("FIELDPOS", PV_FUN_FIELDPOS),
    pv_native("FIELDNAME", PV_FUN_FIELDNAME),
    pv_native("DBSTRUCT", PV_FUN_DBSTRUCT),
    pv_native("DBAPPEND", PV_FUN_DBAPPEND),
    pv_native("DBDELETE", PV_FUN_DBDELETE),
    pv_native("DBRECALL", PV_FUN_DBRECALL),
    pv_native("DBCOMMIT", PV_FUN_DBCOMMIT),
    pv_native("DBCOMMITALL", PV_FUN_DBCOMMITALL),
    pv_native("DBUNLOCK", PV_FUN_DBUNLOCK),
    pv_native("DBUNLOCKALL", PV_FUN_DBUNLOCKALL),
    pv_native("RLOCK", PV_FUN_RLOCK),
    pv_native("FLOCK", PV_FUN_FLOCK),
    pv_native("DBRLOCK", PV_FUN_DBRLOCK),
    pv_native("__DBPACK", PV_FUN___DBPACK),
    pv_native("__DBZAP", PV_FUN___DBZAP),
    pv_native("HEADER", PV_FUN_HEADER),
    pv_native("LUPDATE", PV_FUN_LUPDATE),
    pv_native("DBINFO", PV_FUN_DBINFO),
};
PvModuleRegistrar s_module("rdd/records", s_symbols);

}  // namespace

// Language functions of the table engine: the table's name, structure and record size, the
// record locks held (DBRLOCKLIST, DBRUNLOCK), field attributes by position and DBCREATEINDEX.
#include <algorithm>
#include <initializer_list>

#include "array.h"
#include "dynsym.h"
#include "errors.h"
#include "rdd_funcs_int.h"
#include "rddapi.h"
#include "registrar.h"
#include "vm.h"

namespace {

// Table information `code` of the current area into `dest`; false without an area.
bool TableInfo(long code, PV_ITEM dest) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return false;
  PvRddArgs x;
  x.number = code;
  x.item = dest;
  return pv_rddCall(a, PV_RDD_INFO, &x) == PV_SUCCESS;
}

// Field information `code` of field n (1-based) of the current area into `dest`.
bool FieldInfo(long n, int code, PV_ITEM dest) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a || n < 1 || size_t(n) > a->fields.size()) return false;
  PvItem which = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.number = n;
  x.item = dest;
  x.item2 = pv_itemPutNI(&which, code);
  return pv_rddCall(a, PV_RDD_FIELDINFO, &x) == PV_SUCCESS;
}

// Calls the language function `name` with `args` (NIL for a null pointer); its result becomes
// the running function's.
void ForwardTo(const char* name, std::initializer_list<PV_ITEM> args) {
  PvDynSym* function = pv_dynsymFind(name);
  if (!function) return pv_ret();
  pv_vmPushDynSym(function);
  pv_vmPushNil();
  for (PV_ITEM a : args) {
    if (a) pv_vmPush(a);
    else pv_vmPushNil();
  }
  pv_vmDo(static_cast<uint16_t>(args.size()));
}

// DBF(): the alias of the current area, "" when none (ALIAS() of the current area).
void PV_FUN_DBF() { ForwardTo("ALIAS", {}); }

// RECSIZE(): the length of a record in bytes, 0 without a table.
void PV_FUN_RECSIZE() {
  PvItem size = {PV_IT_NIL, {}};
  pv_retnl(TableInfo(7, &size) ? pv_itemGetNL(&size) : 0);
  pv_itemClear(&size);
}

// DBRLOCKLIST(): the numbers of the records this program holds locked in the current area.
void PV_FUN_DBRLOCKLIST() {
  PvItem list = {PV_IT_NIL, {}};
  if (!TableInfo(8, &list) || !PV_IS_ARRAY(&list)) pv_arrayNew(&list, 0);
  pv_itemReturn(&list);
  pv_itemClear(&list);
}

// DBRUNLOCK( [nRecord] ): releases the lock of one record, or every record lock of the area.
void PV_FUN_DBRUNLOCK() {
  PvArea* a = RddAreaOrError("DBRUNLOCK");
  if (!a) return pv_ret();
  PV_ITEM record = pv_param(1, PV_IT_ANY);
  if (record && !PV_IS_NIL(record) && !PV_IS_NUMERIC(record)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1001, nullptr, "DBRUNLOCK");
    return pv_ret();
  }
  PvRddArgs x;
  x.item = record && PV_IS_NUMERIC(record) ? record : nullptr;
  pv_rddCall(a, PV_RDD_UNLOCK, &x);
  pv_ret();
}

// AFIELDS( [aNames], [aTypes], [aLengths], [aDecimals] ): fills the given arrays with the
// fields' attributes, as far as the shortest of them reaches; returns how many were filled.
void PV_FUN_AFIELDS() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long count = a ? long(a->fields.size()) : 0;
  bool any = false;
  for (int p = 1; p <= 4; ++p) {
    if (PV_ITEM arr = pv_param(p, PV_IT_ARRAY)) {
      count = std::min(count, long(pv_arrayLen(arr)));
      any = true;
    }
  }
  if (!any) return pv_retni(0);
  for (long n = 1; n <= count; ++n)
    for (int p = 1; p <= 4; ++p)
      if (PV_ITEM arr = pv_param(p, PV_IT_ARRAY)) FieldInfo(n, p, pv_arrayGetItemPtr(arr, n));
  pv_retnl(count);
}

// The attribute `code` of field n, or `fallback` when there is no such field.
void FieldAttribute(int code, PV_ITEM fallback) {
  PvItem value = {PV_IT_NIL, {}};
  pv_itemReturn(FieldInfo(pv_parnl(1), code, &value) ? &value : fallback);
  pv_itemClear(&value);
}

// FIELDTYPE( nField ): the type letter of a field, "" when there is none.
void PV_FUN_FIELDTYPE() {
  PvItem none = {PV_IT_NIL, {}};
  FieldAttribute(2, pv_itemPutC(&none, ""));
}
// FIELDLEN( nField ): the length of a field, 0 when there is none.
void PV_FUN_FIELDLEN() {
  PvItem none = {PV_IT_NIL, {}};
  FieldAttribute(3, pv_itemPutNI(&none, 0));
}
// FIELDDEC( nField ): the decimals of a field, 0 when there is none.
void PV_FUN_FIELDDEC() {
  PvItem none = {PV_IT_NIL, {}};
  FieldAttribute(4, pv_itemPutNI(&none, 0));
}

// DBCREATEINDEX( cFile, cKey, [bKey], [lUnique] ): creates an index in its own bag, as
// ORDCREATE( cFile, NIL, cKey, bKey, lUnique ) does.
void PV_FUN_DBCREATEINDEX() {
  ForwardTo("ORDCREATE", {pv_paramError(1), nullptr, pv_paramError(2), pv_paramError(3), pv_paramError(4)});
}

PvSymbol s_symbols[] = {
    pv_native("DBF", PV_FUN_DBF),
    pv_native("RECSIZE", PV_FUN_RECSIZE),
    pv_native("DBRLOCKLIST", PV_FUN_DBRLOCKLIST),
    pv_native("DBRUNLOCK", PV_FUN_DBRUNLOCK),
    pv_native("AFIELDS", PV_FUN_AFIELDS),
    pv_native("FIELDTYPE", PV_FUN_FIELDTYPE),
    pv_native("FIELDLEN", PV_FUN_FIELDLEN),
    pv_native("FIELDDEC", PV_FUN_FIELDDEC),
    pv_native("DBCREATEINDEX", PV_FUN_DBCREATEINDEX),
};
PvModuleRegistrar s_module("rdd/tables", s_symbols);

}  // namespace

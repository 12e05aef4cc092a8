// Language functions of the table engine: work areas, aliases, drivers and NETERR.
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

// ---- work areas -------------------------------------------------------------------------------

void PV_FUN_DBUSEAREA() {
  bool shared = pv_param(5, PV_IT_LOGICAL) ? pv_parl(5) : !pv_setExclusive();
  if (pv_parl(1)) pv_rddSelectFirstAvailable();  // a new area, else the current one
  uint16_t area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  pv_retl(pv_rddOpenTable(pv_parc(3), pv_parc(2), area, pv_parc(4), shared, pv_parl(6)) ==
          PV_SUCCESS);
}

void PV_FUN_DBCREATE() {
  PV_ITEM structure = pv_param(2, PV_IT_ARRAY);
  bool valid = structure != nullptr;
  for (PV_SIZE i = 1; valid && i <= pv_arrayLen(structure); ++i) {
    PV_ITEM e = pv_arrayGetItemPtr(structure, i);
    valid = PV_IS_ARRAY(e) && pv_arrayLen(e) >= 4 && (pv_arrayGetType(e, 1) & PV_IT_STRING) &&
            (pv_arrayGetType(e, 2) & PV_IT_STRING) && (pv_arrayGetType(e, 3) & PV_IT_NUMERIC) &&
            (pv_arrayGetType(e, 4) & PV_IT_NUMERIC);
  }
  if (!valid || !pv_parc(1)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "DBCREATE");
    pv_retl(false);
    return;
  }
  PV_ITEM keep = pv_param(4, PV_IT_LOGICAL);
  uint16_t area = 0;
  if (keep && pv_itemGetL(keep)) {
    pv_rddSelectFirstAvailable();
    area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  } else if (keep) {
    area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  }
  pv_retl(pv_rddCreateTable(pv_parc(1), pv_parc(3), area, pv_parc(5), keep != nullptr,
                            structure) == PV_SUCCESS);
}

void PV_FUN_DBSELECTAREA() {
  if (const char* alias = pv_parc(1)) {
    pv_rddSelectWorkAreaAlias(alias);
    if (pv_rddGetCurrentWorkAreaNumber() == 65535) pv_rddSelectFirstAvailable();
  } else {
    int n = pv_parni(1);
    if (n < 1 || n > 65534) {
      pv_rddSelectFirstAvailable();
    } else {
      pv_rddSelectWorkAreaNumber(n);
    }
  }
  pv_ret();
}

void PV_FUN_SELECT() {
  const char* alias = pv_parc(1);
  if (!alias) {
    pv_retni(pv_rddGetCurrentWorkAreaNumber());
    return;
  }
  int area = 0;
  pv_retni(pv_rddVerifyAliasName(alias) && pv_rddGetAliasNumber(alias, &area) == PV_SUCCESS ? area : 0);
}

void PV_FUN_ALIAS() {
  PvArea* a = pv_rddGetWorkAreaPointer(pv_parni(1));
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutC(&result, "");
  if (a) {
    PvRddArgs x;
    x.item = &result;
    pv_rddCall(a, PV_RDD_ALIAS, &x);
  }
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

void PV_FUN_USED() { pv_retl(pv_rddGetCurrentWorkAreaPointer() != nullptr); }
void PV_FUN_DBCLOSEAREA() {
  pv_rddReleaseCurrentArea();
  pv_ret();
}
void PV_FUN_DBCLOSEALL() {
  pv_rddCloseAll();
  pv_ret();
}

void PV_FUN_RDDSETDEFAULT() {
  std::string old = pv_rddDefaultDrv(nullptr);
  if (const char* name = pv_parc(1)) {
    if (*name && !pv_rddDefaultDrv(name)) pv_errRT_DBCMD(PV_EG_ARG, 1015, nullptr, "RDDSETDEFAULT");
  }
  pv_retc(old.c_str());
}
void PV_FUN_DBSETDRIVER() { PV_FUN_RDDSETDEFAULT(); }

void PV_FUN_RDDLIST() {
  std::vector<std::string> names = pv_rddList(uint16_t(pv_parni(1)));
  PvItem list = {PV_IT_NIL, {}}, name = {PV_IT_NIL, {}};
  pv_arrayNew(&list, 0);
  for (const std::string& n : names) pv_arrayAdd(&list, pv_itemPutC(&name, n.c_str()));
  pv_itemReturn(&list);
  pv_itemClear(&list);
  pv_itemClear(&name);
}

void PV_FUN_RDDNAME() {
  PvArea* a = RddAreaOrError("RDDNAME");
  if (!a) return pv_retc("");
  PvItem name = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.item = &name;
  pv_rddCall(a, PV_RDD_SYSNAME, &x);
  pv_itemReturn(&name);
  pv_itemClear(&name);
}

void PV_FUN_NETERR() {
  bool old = pv_rddGetNetErr();
  if (pv_param(1, PV_IT_LOGICAL)) pv_rddSetNetErr(pv_parl(1));
  pv_retl(old);
}

PvSymbol s_symbols[] = {
    pv_native("DBUSEAREA", PV_FUN_DBUSEAREA),
    pv_native("DBCREATE", PV_FUN_DBCREATE),
    pv_native("DBSELECTAREA", PV_FUN_DBSELECTAREA),
    pv_native("SELECT", PV_FUN_SELECT),
    pv_native("ALIAS", PV_FUN_ALIAS),
    pv_native("USED", PV_FUN_USED),
    pv_native("DBCLOSEAREA", PV_FUN_DBCLOSEAREA),
    pv_native("DBCLOSEALL", PV_FUN_DBCLOSEALL),
    pv_native("RDDSETDEFAULT", PV_FUN_RDDSETDEFAULT),
    pv_native("DBSETDRIVER", PV_FUN_DBSETDRIVER),
    pv_native("RDDLIST", PV_FUN_RDDLIST),
    pv_native("RDDNAME", PV_FUN_RDDNAME),
    pv_native("NETERR", PV_FUN_NETERR),
};
PvModuleRegistrar s_module("rdd/areas", s_symbols);

}  // namespace

// Field access by name from compiled code (the machine's area hooks), and the registration of
// the drivers when the program is loaded.
#include "dynsym.h"
#include "errors.h"
#include "hooks.h"
#include "rdd_dbf.h"
#include "rddapi.h"
#include "start.h"
#include "vm.h"

namespace {

// ---- field access by name from compiled code --------------------------------------------------

bool FieldGet(PvDynSym* name, PV_ITEM dest) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return false;
  for (size_t i = 0; i < a->fields.size(); ++i) {
    if (a->fields[i].symbol != name) continue;
    PvRddArgs x;
    x.number = long(i + 1);
    x.item = dest;
    pv_rddCall(a, PV_RDD_GETVALUE, &x);
    return true;
  }
  return false;
}

bool FieldPut(PvDynSym* name, PV_ITEM value) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return false;
  for (size_t i = 0; i < a->fields.size(); ++i) {
    if (a->fields[i].symbol != name) continue;
    PvRddArgs x;
    x.number = long(i + 1);
    x.item = pv_itemUnRef(value);
    pv_rddCall(a, PV_RDD_PUTVALUE, &x);
    return true;
  }
  return false;
}

int CurrentArea() { return pv_rddGetCurrentWorkAreaNumber(); }
void SelectArea(int area) { pv_rddSelectWorkAreaNumber(area); }

int AreaOf(PV_ITEM alias) {
  if (PV_IS_NUMERIC(alias)) return pv_itemGetNI(alias);
  if (PV_IS_SYMBOL(alias)) {  // compiled aliases: the name's binding, without a lookup
    PvSymbol* sym = pv_itemGetSymbol(alias);
    if (sym->dynsym && sym->dynsym->area) return int(sym->dynsym->area);
  }
  const char* text = PV_IS_SYMBOL(alias)   ? pv_itemGetSymbol(alias)->name
                     : PV_IS_STRING(alias) ? pv_itemGetCPtr(alias)
                                           : nullptr;
  if (!text) return 0;
  int area = 0;
  while (pv_rddGetAliasNumber(text, &area) != PV_SUCCESS) {
    if (pv_errRT_BASE_Ext1(PV_EG_NOALIAS, 1002, nullptr, text, 0, PV_ERR_FLAG_RETRY, 0) !=
        PV_ERR_RETRY) {
      return 0;
    }
  }
  return area;
}

const PvAreaHooks kHooks = {FieldGet, FieldPut, CurrentArea, SelectArea, AreaOf};

// Registers the drivers and the hooks when the program is loaded.
struct Startup {
  Startup() {
    pv_dbfRegisterDriver();
    pv_fptRegisterDriver();
    pv_blobRegisterDriver();
    pv_rddRegister("DBF", 1);
    pv_rddRegister("DBFFPT", 1);
    pv_rddRegister("DBFBLOB", 1);
    pv_vmSetAreaHooks(&kHooks);
    pv_vmSetShutdownHook(pv_rddShutDown);  // closes every area: pending writes reach the files
  }
};

Startup s_startup;

}  // namespace

// Field access by name from compiled code (the machine's area hooks), and the registration of
// the drivers when the program is loaded.
#include <cstring>

#include "dynsym.h"
#include "errors.h"
#include "hooks.h"
#include "rdd_dbf.h"
#include "rddapi.h"
#include "start.h"
#include "vm.h"

namespace {

// ---- field access by name from compiled code --------------------------------------------------

// The field a name stands for in the area (1-based; 0 when none): its symbol, or a longer
// name whose first 10 characters name it.
long FieldOf(PvArea* a, PvDynSym* name) {
  for (size_t i = 0; i < a->fields.size(); ++i)
    if (a->fields[i].symbol == name) return long(i + 1);
  const char* text = pv_dynsymName(name);
  return std::strlen(text) > kMaxFieldNameLen ? pv_rddFieldIndex(a, text) : 0;
}

// Reads (slot PV_RDD_GETVALUE) or writes (PV_RDD_PUTVALUE) the named field of the current
// area; false when there is no such field.
bool FieldAccess(PvDynSym* name, PV_ITEM item, int slot) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long n = a ? FieldOf(a, name) : 0;
  if (n == 0) return false;
  PvRddArgs x;
  x.number = n;
  x.item = item;
  pv_rddCall(a, slot, &x);
  return true;
}

bool FieldGet(PvDynSym* name, PV_ITEM dest) { return FieldAccess(name, dest, PV_RDD_GETVALUE); }
bool FieldPut(PvDynSym* name, PV_ITEM value) {
  return FieldAccess(name, pv_itemUnRef(value), PV_RDD_PUTVALUE);
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

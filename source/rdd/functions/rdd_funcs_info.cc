// Language functions of the table engine: table, record, field and driver information.
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

// ---- information ------------------------------------------------------------------------------

void PV_FUN_DBFIELDINFO() {
  PvArea* a = RddAreaOrError("DBFIELDINFO");
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(2);
    x.item = &value;
    x.item2 = pv_paramError(1);
    pv_rddCall(a, PV_RDD_FIELDINFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_DBRECORDINFO() {
  PvArea* a = RddAreaOrError("DBRECORDINFO");
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(1);
    x.item = pv_param(2, PV_IT_NUMERIC);
    x.item2 = &value;
    pv_rddCall(a, PV_RDD_RECINFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

// exists / drop through the driver (given or default) with the table name.
bool TableFileOp(int slot) {
  const char* file = pv_parc(1);
  const char* driver = pv_parc(2) && *pv_parc(2) ? pv_parc(2) : pv_rddDefaultDrv(nullptr);
  std::string upper(driver ? driver : "");
  for (char& c : upper) c = char(std::toupper(uint8_t(c)));
  PvRddNode* node = pv_rddFindNode(upper.c_str());
  if (!file || !node) return false;
  PvItem name = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.node = node;
  x.item = pv_itemPutC(&name, file);
  node->table.slot[slot](nullptr, &x);
  pv_itemClear(&name);
  return x.flag;
}

void PV_FUN_DBEXISTS() { pv_retl(TableFileOp(PV_RDD_EXISTS)); }
void PV_FUN_DBDROP() { pv_retl(TableFileOp(PV_RDD_DROP)); }

void FieldFile(const char* function, int slot, bool append) {
  PvArea* a = RddAreaOrError(function);
  PV_ITEM file = pv_param(2, PV_IT_STRING);
  if (!a || !file) return pv_retl(false);
  PvRddArgs x;
  x.number = pv_parnl(1);
  x.item = file;
  x.flag = append;
  pv_retl(pv_rddCall(a, slot, &x) == PV_SUCCESS);
}

void PV_FUN_DBFILEGET() { FieldFile("DBFILEGET", PV_RDD_GETVALUEFILE, pv_parni(3) == 1); }
void PV_FUN_DBFILEPUT() { FieldFile("DBFILEPUT", PV_RDD_PUTVALUEFILE, false); }

// RDDINFO(code, new value, driver): driver-level information of the given or default driver.
void PV_FUN_RDDINFO() {
  const char* driver = pv_parc(3) && *pv_parc(3) ? pv_parc(3) : pv_rddDefaultDrv(nullptr);
  std::string upper(driver ? driver : "");
  for (char& c : upper) c = char(std::toupper(uint8_t(c)));
  PvRddNode* node = pv_rddFindNode(upper.c_str());
  PvItem value = {PV_IT_NIL, {}};
  if (node) {
    PvRddArgs x;
    x.node = node;
    x.number = pv_parnl(1);
    x.item = &value;
    x.item2 = pv_paramError(2);
    node->table.slot[PV_RDD_RDDINFO](nullptr, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_RDDREGISTER() {
  int r = pv_rddRegister(pv_parc(1) ? pv_parc(1) : "", uint16_t(pv_parni(2)));
  if (r > 1) pv_errInternal(9004, nullptr, nullptr, nullptr);
  pv_retni(r);
}

PvSymbol s_symbols[] = {
    pv_native("DBFIELDINFO", PV_FUN_DBFIELDINFO),
    pv_native("DBRECORDINFO", PV_FUN_DBRECORDINFO),
    pv_native("DBEXISTS", PV_FUN_DBEXISTS),
    pv_native("DBDROP", PV_FUN_DBDROP),
    pv_native("DBFILEGET", PV_FUN_DBFILEGET),
    pv_native("DBFILEPUT", PV_FUN_DBFILEPUT),
    pv_native("RDDINFO", PV_FUN_RDDINFO),
    pv_native("RDDREGISTER", PV_FUN_RDDREGISTER),
};
PvModuleRegistrar s_module("rdd/info", s_symbols);

}  // namespace

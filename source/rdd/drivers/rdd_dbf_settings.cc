// The DBF driver: driver-level settings (rddInfo) and table information (info).
#include <cstring>

#include "array.h"
#include "dbf/dbf_cipher.h"
#include "rdd_dbf_int.h"
#include "set.h"

namespace dbfdrv {

// Table information 140 (encrypt under the password in `x->item2`) and 141 (decrypt, under that
// password when one is given, else under the table's key): every record is rewritten, then the
// header. Exclusive, writable use of a table without a memo file only; answers whether it was
// done.
int Recipher(PvDbfArea* a, PvRddArgs* x) {
  bool encrypt = x->number == 140;
  const char* password = x->item2 && PV_IS_STRING(x->item2) ? pv_itemGetCPtr(x->item2) : nullptr;
  bool done = false;
  if (a->table->memoType() == kMemoNone && (password && *password ? true : !encrypt) &&
      pv_rddCall(a, PV_RDD_GOCOLD) == PV_SUCCESS) {
    uint8_t key[kKeySize];
    if (password && *password) KeyFromPassword(password, key);
    if (!encrypt && password && *password) a->table->setKey(key);
    Status st = a->table->recipher(encrypt ? key : nullptr);
    std::memset(key, 0, sizeof key);
    if (st.subcode() == kSubRead || st.subcode() == kSubWrite) pv_dbfRaise(a, st, nullptr);
    done = st.ok();
    a->valid = false;
    if (!a->positioned) Phantom(a);
  }
  pv_itemPutL(x->item, done);
  return PV_SUCCESS;
}

int Info(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (!a->table) return pv_rddDefaultInfo(area, x);
  switch (x->number) {
    case 1: case 2: pv_itemPutL(x->item, true); return PV_SUCCESS;
    case 3: pv_itemPutNL(x->item, long(a->table->headerLength())); return PV_SUCCESS;
    case 4: {
      int y, m, d;
      a->table->lastUpdate(&y, &m, &d);
      pv_itemPutDL(x->item, JulianFromYmd(y, m, d));
      return PV_SUCCESS;
    }
    case 7: pv_itemPutNL(x->item, long(a->table->recordLength())); return PV_SUCCESS;
    case 9: pv_itemPutC(x->item, ".dbf"); return PV_SUCCESS;
    case 10: pv_itemPutC(x->item, a->table->fileName().c_str()); return PV_SUCCESS;
    case 20: pv_itemPutL(x->item, a->table->fileLocked()); return PV_SUCCESS;
    case 31: pv_itemPutNL(x->item, long(a->table->lockedRecords().size())); return PV_SUCCESS;
    case 36: pv_itemPutL(x->item, a->table->shared()); return PV_SUCCESS;
    case 132: pv_itemPutL(x->item, a->table->encrypted()); return PV_SUCCESS;
    case 140: case 141: return Recipher(a, x);
    case 8: {
      pv_arrayNew(x->item, 0);
      PvItem n = {PV_IT_NIL, {}};
      for (uint32_t r : a->table->lockedRecords()) {
        pv_itemPutNL(&n, long(r));
        pv_arrayAdd(x->item, &n);
      }
      pv_itemClear(&n);
      return PV_SUCCESS;
    }
    default: return pv_rddDefaultInfo(area, x);
  }
}

PvDbfSettings* SettingsOf(PvRddNode* node) {
  return static_cast<PvDbfSettings*>(node->settings.get());
}

PvDbfSettings* SettingsOf(PvArea* a) { return SettingsOf(pv_rddGetNode(a->driverNum)); }

int Init(PvArea*, PvRddArgs* x) {
  x->node->settings = std::make_shared<PvDbfSettings>();
  return PV_SUCCESS;
}

int Exit(PvArea*, PvRddArgs* x) {
  x->node->settings.reset();
  return PV_SUCCESS;
}

// Returns a text setting and takes a new value from `update` when it is a string.
void TextSetting(std::string* setting, PV_ITEM result, PV_ITEM update, bool one_shot) {
  pv_itemPutC(result, setting->c_str());
  if (one_shot) setting->clear();
  if (update && PV_IS_STRING(update)) *setting = pv_itemGetCPtr(update);
}

// rddInfo of the DBF driver (called with the driver record): 1, 2, 10 always true; 5 table
// extension; 13 table type; 16 lock scheme; 19 trigger; 40 / 41 the one-shot pending trigger and
// password; 42 password; 44 dirty read. Other codes are the defaults.
int RddInfo(PvArea* area, PvRddArgs* x) {
  PvDbfSettings* s = SettingsOf(x->node);
  PV_ITEM update = x->item2 && !PV_IS_NIL(x->item2) ? x->item2 : nullptr;
  switch (x->number) {
    case 1: case 2: case 10: pv_itemPutL(x->item, true); return PV_SUCCESS;
    case 5: {
      pv_itemPutC(x->item, s->tableExt.c_str());
      const char* ext = update && PV_IS_STRING(update) ? pv_itemGetCPtr(update) : nullptr;
      if (ext && ext[0] == '.' && ext[1]) s->tableExt = std::string(ext).substr(0, 10);
      return PV_SUCCESS;
    }
    case 13:
      pv_itemPutNI(x->item, s->tableType);
      if (update && PV_IS_NUMERIC(update) && (pv_itemGetNI(update) == 1 || pv_itemGetNI(update) == 2)) {
        s->tableType = pv_itemGetNI(update);
      }
      return PV_SUCCESS;
    case 16:
      pv_itemPutNI(x->item, s->lockScheme ? s->lockScheme : pv_setDBFLockScheme());
      if (update && PV_IS_NUMERIC(update) && pv_itemGetNI(update) >= 1 && pv_itemGetNI(update) <= 5) {
        s->lockScheme = pv_itemGetNI(update);
      }
      return PV_SUCCESS;
    case 19: TextSetting(&s->trigger, x->item, update, false); return PV_SUCCESS;
    case 40: TextSetting(&s->pendingTrigger, x->item, update, true); return PV_SUCCESS;
    case 41: TextSetting(&s->pendingPassword, x->item, update, true); return PV_SUCCESS;
    case 42: TextSetting(&s->password, x->item, update, false); return PV_SUCCESS;
    case 44:
      pv_itemPutL(x->item, s->dirtyRead);
      if (update && PV_IS_LOGICAL(update)) s->dirtyRead = pv_itemGetL(update);
      return PV_SUCCESS;
    default: return pv_rddGetNode(DriverNumber())->super.slot[PV_RDD_RDDINFO](area, x);
  }
}

}  // namespace dbfdrv

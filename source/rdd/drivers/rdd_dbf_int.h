// Internal to the DBF driver (rdd_dbf*.cc): shared helpers and the methods its table lists.
#pragma once

#include <string>

#include "dbf/dbf_codec.h"
#include "dynsym.h"
#include "errors.h"
#include "rdd_dbf.h"
#include "vm.h"

namespace dbfdrv {

using namespace pv;
using namespace pv::dbf;

inline PvDbfArea* Dbf(PvArea* a) { return static_cast<PvDbfArea*>(a); }

// Trigger events.
enum TriggerEvent : int {
  kPreUse = 1, kPostUse, kUpdate, kAppend, kDelete, kRecall, kPack, kZap, kPut, kGet, kPreClose,
  kPostClose
};

// Calls the area's trigger as trigger(event, area, field, @value); its logical result decides
// whether the operation goes on (true without a trigger, or while a quit or break is pending).
inline bool Trigger(PvDbfArea* a, int event, long field = 0, PV_ITEM value = nullptr) {
  if (!a->trigger || pv_vmRequestQuery()) return true;
  PvItem nil = {PV_IT_NIL, {}};
  pv_vmPushDynSym(a->trigger);
  pv_vmPushNil();
  pv_vmPushInteger(event);
  pv_vmPushInteger(a->areaNum);
  pv_vmPushInteger(int(field));
  pv_vmPushItemRef(value ? value : &nil);
  pv_vmDo(4);
  PV_ITEM r = pv_stackReturnItem();
  return !PV_IS_LOGICAL(r) || pv_itemGetL(r);
}

// Runs `op` until it succeeds or the error handler stops retrying; failure raises its error.
template <typename Op>
int WithRetry(PvArea* a, const char* operation, Op op) {
  for (;;) {
    Status st = op();
    if (st.ok()) return PV_SUCCESS;
    if (pv_dbfRaise(a, st, operation) != PV_ERR_RETRY) return PV_FAILURE;
  }
}

// Raises `st` and answers success when the handler chose default (the put succeeds then).
inline int RaiseDefaultOk(PvArea* a, const Status& st, const char* operation) {
  return pv_dbfRaise(a, st, operation) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
}

inline Status ReadIfNeeded(PvDbfArea* a) {
  if (a->valid) return Status::Ok();
  Status st = a->table->readRecord(a->recno, a->record.data());
  if (st.ok()) a->valid = true;
  return st;
}

// The driver number of "DBF", for calls to the methods it inherited.
uint16_t& DriverNumber();

// rdd_dbf.cc: navigation, records, locks
void Phantom(PvDbfArea* a);
DateTime Now();
Status Stamp(PvDbfArea* a);
int GoCold(PvArea* area, PvRddArgs*);
int GoHot(PvArea* area, PvRddArgs*);
int GoTo(PvArea* area, PvRddArgs* x);
int GoToId(PvArea* a, PvRddArgs* x);
int GoTop(PvArea* a, PvRddArgs*);
int GoBottom(PvArea* area, PvRddArgs*);
int SkipRaw(PvArea* area, PvRddArgs* x);
int Deleted(PvArea* area, PvRddArgs* x);
int SetDeletedFlag(PvArea* area, uint8_t flag);
int Delete(PvArea* a, PvRddArgs*);
int Recall(PvArea* a, PvRddArgs*);
int Append(PvArea* area, PvRddArgs* x);
int RecCount(PvArea* area, PvRddArgs* x);
int RecNo(PvArea* a, PvRddArgs* x);
int RecId(PvArea* a, PvRddArgs* x);
int Flush(PvArea* area, PvRddArgs*);
int Lock(PvArea* area, PvRddArgs* x);
int Unlock(PvArea* area, PvRddArgs* x);
int Pack(PvArea* area, PvRddArgs*);
int Zap(PvArea* area, PvRddArgs*);
int RecordInfo(PvArea* area, PvRddArgs* x);
// rdd_dbf_sort.cc: sort (__DBARRANGE) and whole-record writes
int Sort(PvArea* area, PvRddArgs* x);
int PutRecord(PvArea* area, PvRddArgs* x);
// rdd_dbf_values.cc: field values
const Field* FieldOf(PvDbfArea* a, long n);
void PutNumberItem(PV_ITEM item, double v, const Field& f, int width);
int GetValue(PvArea* area, PvRddArgs* x);
int GetFieldValue(PvArea* area, PvRddArgs* x);
int GetValueLength(PvArea* a, PvRddArgs* x);
Status PutItem(PvDbfArea* a, const Field& f, PV_ITEM v);
int PutValue(PvArea* area, PvRddArgs* x);
int GetValueFile(PvArea* area, PvRddArgs* x);
int PutValueFile(PvArea* area, PvRddArgs* x);
// rdd_dbf_open.cc: open, create, close
std::string WithExtension(const std::string& file, const std::string& ext = ".dbf");
std::string TakePassword(PvDbfSettings* s);
void SetKey(DbfTable* table, const std::string& password);
int Attach(PvDbfArea* a, PvRddArgs* x);
int Open(PvArea* area, PvRddArgs* x);
int CreateFields(PvArea* area, PvRddArgs* x);
int Create(PvArea* area, PvRddArgs* x);
int Close(PvArea* area, PvRddArgs* x);
int Exists(PvArea*, PvRddArgs* x);
int Drop(PvArea*, PvRddArgs* x);
int CreateMemoFile(PvArea* a, PvRddArgs*);
int OpenMemoFile(PvArea* a, PvRddArgs*);
// rdd_dbf_settings.cc: settings and information
int Info(PvArea* area, PvRddArgs* x);
PvDbfSettings* SettingsOf(PvRddNode* node);
PvDbfSettings* SettingsOf(PvArea* a);
int Init(PvArea*, PvRddArgs* x);
int Exit(PvArea*, PvRddArgs* x);
void TextSetting(std::string* setting, PV_ITEM result, PV_ITEM update, bool one_shot);
int RddInfo(PvArea* area, PvRddArgs* x);

}  // namespace dbfdrv

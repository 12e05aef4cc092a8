// The DBF driver: open and create, navigation, field values as items, append, delete,
// locks, flush, pack and zap, over the table-file layer.
#include "rdd_dbf.h"

#include <cstring>
#include <ctime>

#include "array.h"
#include "dbf/dbf_cipher.h"
#include "dbf/dbf_codec.h"
#include "dynsym.h"
#include "errors.h"
#include "vm.h"
#include "fs/error_map.h"
#include "fs/posix_file.h"
#include "set.h"

using namespace pv;
using namespace pv::dbf;

namespace {

PvDbfArea* Dbf(PvArea* a) { return static_cast<PvDbfArea*>(a); }

// Trigger events.
enum TriggerEvent : int {
  kPreUse = 1, kPostUse, kUpdate, kAppend, kDelete, kRecall, kPack, kZap, kPut, kGet, kPreClose,
  kPostClose
};

// Calls the area's trigger as trigger(event, area, field, @value); its logical result decides
// whether the operation goes on (true without a trigger, or while a quit or break is pending).
bool Trigger(PvDbfArea* a, int event, long field = 0, PV_ITEM value = nullptr) {
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
int RaiseDefaultOk(PvArea* a, const Status& st, const char* operation) {
  return pv_dbfRaise(a, st, operation) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
}

Status ReadIfNeeded(PvDbfArea* a) {
  if (a->valid) return Status::Ok();
  Status st = a->table->readRecord(a->recno, a->record.data());
  if (st.ok()) a->valid = true;
  return st;
}

void Phantom(PvDbfArea* a) {
  a->recno = a->table->recordCount() + 1;
  a->table->blankRecord(a->record.data());
  a->valid = true;
  a->positioned = false;
  a->bof = a->eof = true;
}

// The current local date and time as a Julian day and milliseconds.
DateTime Now() {
  timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  tm local;
  ::localtime_r(&ts.tv_sec, &local);
  int32_t ms = int32_t(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 +
                       ts.tv_nsec / 1000000);
  return {JulianFromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday), ms};
}

// Sets the @ and = fields to now and the ^ fields to their next row version.
Status Stamp(PvDbfArea* a) {
  for (const Field& f : a->table->fields()) {
    if (f.type == FieldType::kTimeStamp || f.type == FieldType::kModTime) {
      PutDateTime(f, a->record.data(), Now());
    } else if (f.type == FieldType::kRowVersion) {
      uint64_t version = 0;
      Status st = a->table->nextRowVersion(f, &version);
      if (!st.ok()) return st;
      PutInteger(f, a->record.data(), int64_t(version));
    }
  }
  return Status::Ok();
}

int GoCold(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (!a->hot) return PV_SUCCESS;
  if (!Trigger(a, kUpdate)) return PV_FAILURE;
  Status st = a->hasStamps ? Stamp(a) : Status::Ok();
  if (st.ok()) st = a->table->writeRecord(a->recno, a->record.data());
  a->hot = a->appended = false;
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  return PV_SUCCESS;
}

int GoHot(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  Status st;
  if (a->table->readOnly()) {
    st = Status::Make(StatusKind::kReadOnly, "table is read-only", a->fileName).sub(kSubReadOnly);
  } else if (a->table->shared() && !a->table->fileLocked() && !a->table->recordLocked(a->recno)) {
    st = Status::Make(StatusKind::kLockRequired, "lock required", a->fileName).sub(kSubLockRequired);
  }
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  a->hot = true;
  return PV_SUCCESS;
}

int GoTo(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  long n = x->number;
  if (a->table->shared() && n > long(a->table->recordCount())) a->table->refreshRecordCount();
  a->found = false;
  if (n < 1 || n > long(a->table->recordCount())) {
    Phantom(a);
    return a->relations.empty() ? PV_SUCCESS : pv_rddCall(a, PV_RDD_SYNCCHILDREN);
  }
  a->recno = uint32_t(n);
  a->valid = false;
  a->positioned = true;
  a->bof = a->eof = false;
  return a->relations.empty() ? PV_SUCCESS : pv_rddCall(a, PV_RDD_SYNCCHILDREN);
}

int GoToId(PvArea* a, PvRddArgs* x) {
  if (!x->item || !PV_IS_NUMERIC(x->item)) {
    Status st = Status::Make(StatusKind::kDataType, "record number expected", Dbf(a)->fileName)
                    .sub(kSubDataType);
    return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  }
  return pv_rddCallN(a, PV_RDD_GOTO, pv_itemGetNL(x->item));
}

int GoTop(PvArea* a, PvRddArgs*) {
  if (pv_rddCallN(a, PV_RDD_GOTO, 1) != PV_SUCCESS) return PV_FAILURE;
  a->top = true, a->bottom = false;
  return pv_rddCallN(a, PV_RDD_SKIPFILTER, 1);
}

int GoBottom(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  if (a->table->shared()) a->table->refreshRecordCount();
  if (pv_rddCallN(a, PV_RDD_GOTO, long(a->table->recordCount())) != PV_SUCCESS) return PV_FAILURE;
  a->top = false, a->bottom = true;
  return pv_rddCallN(a, PV_RDD_SKIPFILTER, -1);
}

int SkipRaw(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  long n = x->number;
  if (n == 0) {  // re-read the current record
    if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
    if (a->positioned) a->valid = false;
    return PV_SUCCESS;
  }
  if (n > 0) {
    if (!a->positioned) return PV_SUCCESS;  // already at EOF
    int r = pv_rddCallN(a, PV_RDD_GOTO, long(a->recno) + n);
    a->bof = false;
    return r;
  }
  long target = (a->positioned ? long(a->recno) : long(a->table->recordCount()) + 1) + n;
  if (target < 1) {
    int r = pv_rddCallN(a, PV_RDD_GOTO, 1);
    a->bof = true;
    return r;
  }
  return pv_rddCallN(a, PV_RDD_GOTO, target);
}

int Deleted(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  x->flag = a->record[0] == kDeletedFlag;
  return PV_SUCCESS;
}

int SetDeletedFlag(PvArea* area, uint8_t flag) {
  PvDbfArea* a = Dbf(area);
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  if (!a->positioned) return PV_SUCCESS;
  if (!a->hot && pv_rddCall(a, PV_RDD_GOHOT) != PV_SUCCESS) return PV_FAILURE;
  a->record[0] = flag;
  return PV_SUCCESS;
}

int Delete(PvArea* a, PvRddArgs*) {
  return Trigger(Dbf(a), kDelete) ? SetDeletedFlag(a, kDeletedFlag) : PV_FAILURE;
}
int Recall(PvArea* a, PvRddArgs*) {
  return Trigger(Dbf(a), kRecall) ? SetDeletedFlag(a, kLiveFlag) : PV_FAILURE;
}

// ---- field values -----------------------------------------------------------------------------

const Field* FieldOf(PvDbfArea* a, long n) {
  if (n < 1 || size_t(n) > a->fields.size()) return nullptr;
  return &a->table->fields()[size_t(n - 1)];
}

void PutNumberItem(PV_ITEM item, double v, const Field& f, int width) {
  if (f.decimals == 0 && v == double(int64_t(v)) && v > -1e18 && v < 1e18) {
    pv_itemPutNIntLen(item, int64_t(v), width);
  } else {
    pv_itemPutNDLen(item, v, width, f.decimals);
  }
}

int GetFieldValue(PvArea* area, PvRddArgs* x);

// getValue: the field's value, then the trigger's get event (a false result fails the read).
int GetValue(PvArea* area, PvRddArgs* x) {
  if (GetFieldValue(area, x) != PV_SUCCESS) return PV_FAILURE;
  return Trigger(Dbf(area), kGet, x->number, x->item) ? PV_SUCCESS : PV_FAILURE;
}

int GetFieldValue(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = FieldOf(a, x->number);
  if (!f) return PV_FAILURE;
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  const uint8_t* rec = a->record.data();
  double num = 0;
  switch (f->type) {
    case FieldType::kChar:
    case FieldType::kVarLength: {
      std::string_view text = GetText(*f, rec, a->table->nullFlags());
      pv_itemPutCL(x->item, text.data(), PV_SIZE(text.size()));
      return PV_SUCCESS;
    }
    case FieldType::kLogical: pv_itemPutL(x->item, GetLogical(*f, rec)); return PV_SUCCESS;
    case FieldType::kDate: pv_itemPutDL(x->item, GetDate(*f, rec)); return PV_SUCCESS;
    case FieldType::kDateTime:
    case FieldType::kTimeStamp:
    case FieldType::kModTime: {
      DateTime dt = GetDateTime(*f, rec);
      pv_itemPutDTL(x->item, dt.julian, dt.millis);
      return PV_SUCCESS;
    }
    case FieldType::kTimeOfDay: pv_itemPutC(x->item, GetTimeOfDay(*f, rec).c_str()); return PV_SUCCESS;
    case FieldType::kAny:
      if (f->length == 3) {
        pv_itemPutDL(x->item, GetDate(*f, rec));
        return PV_SUCCESS;
      }
      break;
    default: break;
  }
  if (GetNumber(*f, rec, &num)) {
    bool text_width = f->type == FieldType::kNumeric || f->type == FieldType::kFloat;
    PutNumberItem(x->item, num, *f, text_width ? f->length : 20);
    return PV_SUCCESS;
  }
  st = Status::Make(StatusKind::kDataType, "data type error", a->fileName).sub(kSubDataType, kCanDefault);
  return RaiseDefaultOk(a, st, f->name.c_str());
}

int GetValueLength(PvArea* a, PvRddArgs* x) {
  const Field* f = FieldOf(Dbf(a), x->number);
  if (!f) return PV_FAILURE;
  x->number = f->length;
  return PV_SUCCESS;
}

Status PutItem(PvDbfArea* a, const Field& f, PV_ITEM v) {
  uint8_t* rec = a->record.data();
  if (PV_IS_STRING(v)) {
    if (f.type != FieldType::kChar) return PutText(f, rec, {}, nullptr);  // the type error
    return PutText(f, rec, std::string_view(pv_itemGetCPtr(v), size_t(pv_itemGetCLen(v))),
                   a->table->nullFlags());
  }
  if (PV_IS_DATE(v)) {
    long julian = 0, ms = 0;
    pv_itemGetDTL(v, &julian, &ms);
    return PutDateTime(f, rec, {int32_t(julian), int32_t(ms)});
  }
  if (PV_IS_NUMERIC(v)) return PutNumber(f, rec, pv_itemGetND(v));
  if (PV_IS_LOGICAL(v)) return PutLogical(f, rec, pv_itemGetL(v));
  return Status::Make(StatusKind::kDataType, "data type error", a->fileName).sub(kSubDataType, kCanDefault);
}

int PutValue(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = FieldOf(a, x->number);
  if (!f || !Trigger(a, kPut, x->number, x->item)) return PV_FAILURE;
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  if (!a->positioned) return PV_SUCCESS;  // the phantom record takes nothing
  if (!a->hot && pv_rddCall(a, PV_RDD_GOHOT) != PV_SUCCESS) return PV_FAILURE;
  st = PutItem(a, *f, x->item);
  if (st.ok()) return PV_SUCCESS;
  st.sub(st.subcode(), kCanDefault);
  return RaiseDefaultOk(a, st, f->name.c_str());
}

// ---- records ----------------------------------------------------------------------------------

int Append(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  if (!Trigger(a, kAppend)) return PV_FAILURE;
  if (x->flag) a->table->unlockAllRecords();
  a->table->blankRecord(a->record.data());
  uint32_t n = 0;
  Status st = a->table->append(a->record.data(), &n);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  a->recno = n;
  a->valid = a->positioned = a->hot = a->appended = true;
  a->bof = a->eof = a->found = false;
  return PV_SUCCESS;
}

int RecCount(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (a->table->shared()) a->table->refreshRecordCount();
  x->number = long(a->table->recordCount());
  return PV_SUCCESS;
}

int RecNo(PvArea* a, PvRddArgs* x) { return x->number = long(Dbf(a)->recno), PV_SUCCESS; }

int RecId(PvArea* a, PvRddArgs* x) {
  pv_itemPutNL(x->item, long(Dbf(a)->recno));
  return PV_SUCCESS;
}

int Flush(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  Status st = a->table->flush(pv_setHardCommit());
  return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
}

// lock(method, record): 1 exclusive record lock, 2 one more record lock, 3 the file.
int Lock(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  long method = x->number;
  uint32_t rec = x->item && PV_IS_NUMERIC(x->item) ? uint32_t(pv_itemGetNL(x->item)) : 0;
  if (rec == 0) rec = a->recno;
  Status st;
  if (method == 3) {
    st = a->table->lockFile();
  } else {
    if (method == 1) a->table->unlockAllRecords();
    st = a->table->lockRecord(rec);
  }
  x->flag = st.ok();
  if (st.ok() && (method == 3 || rec == a->recno) && a->positioned) a->valid = false;
  return PV_SUCCESS;
}

int Unlock(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  uint32_t rec = x->item && PV_IS_NUMERIC(x->item) ? uint32_t(pv_itemGetNL(x->item)) : 0;
  if (rec == 0) {
    a->table->unlockAllRecords();
  } else {
    a->table->unlockRecord(rec);
  }
  a->table->unlockFile();
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

int Pack(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (!Trigger(a, kPack)) return PV_FAILURE;
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  Status st = a->table->pack();
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  return pv_rddCallN(a, PV_RDD_GOTO, 1);
}

int Zap(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (!Trigger(a, kZap)) return PV_FAILURE;
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  Status st = a->table->zap();
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  return pv_rddCallN(a, PV_RDD_GOTO, 0);
}

// ---- open, create, close ----------------------------------------------------------------------

std::string WithExtension(const std::string& file, const std::string& ext = ".dbf") {
  size_t slash = file.find_last_of("/\\");
  size_t dot = file.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return file + ext;
  return file;
}

PvDbfSettings* SettingsOf(PvArea* a);
PvDbfSettings* SettingsOf(PvRddNode* node);
uint16_t g_driver = 0;  // this driver's number, for calls to the default methods

// The password for the table being opened or created: the one-shot pending password first,
// else the driver's password; "" when there is none.
std::string TakePassword(PvDbfSettings* s) {
  std::string pw = !s->pendingPassword.empty() ? s->pendingPassword : s->password;
  s->pendingPassword.clear();
  return pw;
}

void SetKey(DbfTable* table, const std::string& password) {
  if (password.empty() || !table->encrypted()) return;
  uint8_t key[kKeySize];
  KeyFromPassword(password, key);
  table->setKey(key);
  std::memset(key, 0, sizeof key);
}

// Registers the table's fields with the area and positions it at the top.
int Attach(PvDbfArea* a, PvRddArgs* x) {
  a->record.assign(a->table->recordLength(), ' ');
  for (const Field& f : a->table->fields()) {
    a->hasStamps |= f.type == FieldType::kTimeStamp || f.type == FieldType::kModTime ||
                    f.type == FieldType::kRowVersion;
    PvField pf;
    pf.name = f.name;
    pf.type = int(f.type);
    pf.length = f.length;
    pf.decimals = f.decimals;
    pf.flags = f.flags;
    pf.step = f.step;
    PvRddArgs add;
    add.ptr = &pf;
    if (f.type != FieldType::kNullFlags) pv_rddCall(a, PV_RDD_ADDFIELD, &add);
  }
  if (pv_rddDefaultOpen(a, x) != PV_SUCCESS) return PV_FAILURE;
  return pv_rddCall(a, PV_RDD_GOTOP);
}

int Open(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  PvDbfSettings* settings = SettingsOf(a);
  a->fileName = WithExtension(info->file, settings->tableExt);
  std::string trigger = !settings->pendingTrigger.empty() ? settings->pendingTrigger : settings->trigger;
  settings->pendingTrigger.clear();
  a->trigger = trigger.empty() ? nullptr : pv_dynsymFindName(trigger.c_str());
  if (a->trigger && !pv_dynsymIsFunction(a->trigger)) a->trigger = nullptr;
  PvItem name = {PV_IT_NIL, {}};
  pv_itemPutC(&name, a->fileName.c_str());
  bool go_on = Trigger(a, kPreUse, 0, &name);
  pv_itemClear(&name);
  if (!go_on) return PV_FAILURE;
  OpenOptions options{info->shared, info->readOnly,
                      settings->lockScheme ? settings->lockScheme : pv_setDBFLockScheme()};
  std::string password = TakePassword(settings);
  int r = WithRetry(a, nullptr, [&] { return DbfTable::Open(a->fileName, options, &a->table); });
  if (r != PV_SUCCESS) return PV_FAILURE;
  SetKey(a->table.get(), password);
  if (a->table->memoType() != kMemoNone && pv_rddCall(a, PV_RDD_OPENMEMFILE, x) != PV_SUCCESS) {
    a->table.reset();
    return PV_FAILURE;
  }
  if (Attach(a, x) != PV_SUCCESS) return PV_FAILURE;
  Trigger(a, kPostUse);
  return PV_SUCCESS;
}

int CreateFields(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  a->pendingFields.clear();
  for (PV_SIZE i = 1; i <= pv_arrayLen(x->item); ++i) {
    PV_ITEM e = pv_arrayGetItemPtr(x->item, i);
    FieldSpec spec{pv_arrayGetCPtr(e, 1) ? pv_arrayGetCPtr(e, 1) : "",
                   pv_arrayGetCPtr(e, 2) ? pv_arrayGetCPtr(e, 2) : "", pv_arrayGetNI(e, 3),
                   pv_arrayGetNI(e, 4), uint8_t(pv_arrayLen(e) >= 5 ? pv_arrayGetNI(e, 5) : 0)};
    Field check;
    if (!FieldFromSpec(spec, false, &check).ok()) {
      pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "DBCREATE");
      return PV_FAILURE;
    }
    a->pendingFields.push_back(spec);
  }
  return PV_SUCCESS;
}

int Create(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  PvDbfSettings* settings = SettingsOf(a);
  a->fileName = WithExtension(info->file, settings->tableExt);
  CreateOptions options;
  options.table_type = settings->tableType;
  options.lock_scheme = settings->lockScheme ? settings->lockScheme : pv_setDBFLockScheme();
  bool memo_fields = false;
  for (const FieldSpec& f : a->pendingFields) {
    char c = char(std::toupper(uint8_t(f.type.empty() ? ' ' : f.type[0])));
    memo_fields |= c == 'M' || c == 'P' || c == 'W' || c == 'G';
  }
  if (memo_fields) {  // the memo driver answers its memo type
    PvItem type = {PV_IT_NIL, {}};
    PvRddArgs q;
    q.number = 133;
    q.item = &type;
    if (pv_rddCall(a, PV_RDD_INFO, &q) == PV_SUCCESS) options.memo_type = pv_itemGetNI(&type);
  }
  std::string password = TakePassword(settings);
  options.encrypted = !password.empty() && options.table_type == kTableDbf;
  int r = WithRetry(a, nullptr, [&] {
    return DbfTable::Create(a->fileName, a->pendingFields, options, &a->table);
  });
  if (r != PV_SUCCESS) return PV_FAILURE;
  SetKey(a->table.get(), password);
  if (memo_fields && pv_rddCall(a, PV_RDD_CREATEMEMFILE, x) != PV_SUCCESS) {
    a->table.reset();
    return PV_FAILURE;
  }
  return Attach(a, x);
}

int Close(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (!Trigger(a, kPreClose)) return PV_FAILURE;
  int result = PV_SUCCESS;
  if (a->table) {
    if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) result = PV_FAILURE;
    Status st = a->table->readOnly() ? Status::Ok() : a->table->flush(pv_setHardCommit());
    Status closed = a->table->close();
    if (st.ok()) st = closed;
    if (!st.ok()) {
      pv_dbfRaise(a, st, nullptr);
      result = PV_FAILURE;
    }
    a->table.reset();
  }
  a->memo.reset();
  pv_rddDefaultClose(a, x);
  Trigger(a, kPostClose);
  a->trigger = nullptr;
  return result;
}

// recordInfo(code, record): 1 deleted, 2 locked, 3 record length, 4 record number, 5 hot; code 1
// visits another record and comes back.
int RecordInfo(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  uint32_t rec = x->item && PV_IS_NUMERIC(x->item) ? uint32_t(pv_itemGetNL(x->item)) : 0;
  if (rec == 0) rec = a->recno;
  switch (x->number) {
    case 1: {
      uint32_t saved = a->recno;
      if (rec != saved && pv_rddCallN(a, PV_RDD_GOTO, long(rec)) != PV_SUCCESS) return PV_FAILURE;
      PvRddArgs d;
      pv_rddCall(a, PV_RDD_DELETED, &d);
      if (rec != saved) pv_rddCallN(a, PV_RDD_GOTO, long(saved));
      pv_itemPutL(x->item2, d.flag);
      return PV_SUCCESS;
    }
    case 2:
      pv_itemPutL(x->item2, !a->table->shared() || a->table->fileLocked() || a->table->recordLocked(rec));
      return PV_SUCCESS;
    case 3: pv_itemPutNL(x->item2, long(a->table->recordLength())); return PV_SUCCESS;
    case 4: pv_itemPutNL(x->item2, long(rec)); return PV_SUCCESS;
    case 5: pv_itemPutL(x->item2, rec == a->recno && a->hot); return PV_SUCCESS;
    case 6: pv_itemPutL(x->item2, a->table->encrypted()); return PV_SUCCESS;
    case 7: {  // the raw record bytes, as the area holds them
      std::vector<uint8_t> raw(a->table->recordLength());
      Status st = rec == a->recno && a->valid ? Status::Ok() : a->table->readRecord(rec, raw.data());
      if (rec == a->recno && a->valid) raw = a->record;
      if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
      pv_itemPutCL(x->item2, reinterpret_cast<const char*>(raw.data()), PV_SIZE(raw.size()));
      return PV_SUCCESS;
    }
    default: return PV_FAILURE;
  }
}

// getValueFile(field, file, mode): writes the bytes of a C field at the end of the file (mode 1
// appends to an existing file, any other mode creates or empties it first).
int GetValueFile(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = FieldOf(a, x->number);
  Status st = ReadIfNeeded(a);
  if (st.ok() && (!f || f->type != FieldType::kChar)) {
    st = Status::Make(StatusKind::kDataType, "data type error", a->fileName).sub(kSubDataType);
  }
  if (st.ok()) {
    std::string_view bytes(reinterpret_cast<const char*>(a->record.data()) + f->offset, f->length);
    st = WriteFileBytes(pv_itemGetCPtr(x->item), bytes, x->flag);
  }
  return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
}

// putValueFile(field, file): reads up to the field length from the file into a C field.
int PutValueFile(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = FieldOf(a, x->number);
  std::string bytes;
  Status st = ReadIfNeeded(a);
  if (st.ok() && (!f || f->type != FieldType::kChar)) {
    st = Status::Make(StatusKind::kDataType, "data type error", a->fileName).sub(kSubDataType);
  }
  if (st.ok()) st = ReadFileBytes(pv_itemGetCPtr(x->item), f->length, &bytes);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  if (!a->positioned) return PV_SUCCESS;
  if (!a->hot && pv_rddCall(a, PV_RDD_GOHOT) != PV_SUCCESS) return PV_FAILURE;
  PutText(*f, a->record.data(), bytes, nullptr);
  return PV_SUCCESS;
}

// exists / drop (called with the driver record): `item` names the table.
int Exists(PvArea*, PvRddArgs* x) {
  x->flag = FileExists(WithExtension(pv_itemGetCPtr(x->item), SettingsOf(x->node)->tableExt));
  return PV_SUCCESS;
}

int Drop(PvArea*, PvRddArgs* x) {
  std::string table = WithExtension(pv_itemGetCPtr(x->item), SettingsOf(x->node)->tableExt);
  x->flag = DeleteFile(table).ok();
  if (x->flag) {
    std::string base = table.substr(0, table.rfind('.'));
    for (const char* ext : {".fpt", ".dbt", ".smt", ".cdx"}) DeleteFile(base + ext);
  }
  return PV_SUCCESS;
}

// The plain driver keeps no memo files.
int CreateMemoFile(PvArea* a, PvRddArgs*) {
  pv_rddRaise(a, 20, kSubDataType, Dbf(a)->fileName.c_str(), 0, 0, nullptr);  // "Create error"

  return PV_FAILURE;
}

int OpenMemoFile(PvArea* a, PvRddArgs*) {
  Status st = Status::Make(StatusKind::kNotSupported, "no memo driver", Dbf(a)->fileName)
                  .sub(kSubOpen, kCanDefault);
  return pv_dbfRaise(a, st, nullptr) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
}

PvDbfSettings* SettingsOf(PvRddNode* node) { return static_cast<PvDbfSettings*>(node->settings); }

PvDbfSettings* SettingsOf(PvArea* a) { return SettingsOf(pv_rddGetNode(a->driverNum)); }

int Init(PvArea*, PvRddArgs* x) {
  x->node->settings = new PvDbfSettings();
  return PV_SUCCESS;
}

int Exit(PvArea*, PvRddArgs* x) {
  delete SettingsOf(x->node);
  x->node->settings = nullptr;
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
    default: return pv_rddGetNode(g_driver)->super.slot[PV_RDD_RDDINFO](area, x);
  }
}

int TableFunction(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t number,
                  PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  g_driver = number;
  PvRddFuncs own = {};
  own.slot[PV_RDD_GOBOTTOM] = GoBottom;
  own.slot[PV_RDD_GOTO] = GoTo;
  own.slot[PV_RDD_GOTOID] = GoToId;
  own.slot[PV_RDD_GOTOP] = GoTop;
  own.slot[PV_RDD_SKIPRAW] = SkipRaw;
  own.slot[PV_RDD_APPEND] = Append;
  own.slot[PV_RDD_CREATEFIELDS] = CreateFields;
  own.slot[PV_RDD_DELETE] = Delete;
  own.slot[PV_RDD_DELETED] = Deleted;
  own.slot[PV_RDD_FLUSH] = Flush;
  own.slot[PV_RDD_GETVALUE] = GetValue;
  own.slot[PV_RDD_GETVALUELEN] = GetValueLength;
  own.slot[PV_RDD_GOCOLD] = GoCold;
  own.slot[PV_RDD_GOHOT] = GoHot;
  own.slot[PV_RDD_PUTVALUE] = PutValue;
  own.slot[PV_RDD_RECALL] = Recall;
  own.slot[PV_RDD_RECCOUNT] = RecCount;
  own.slot[PV_RDD_RECNO] = RecNo;
  own.slot[PV_RDD_RECID] = RecId;
  own.slot[PV_RDD_CLOSE] = Close;
  own.slot[PV_RDD_CREATE] = Create;
  own.slot[PV_RDD_INFO] = Info;
  own.slot[PV_RDD_OPEN] = Open;
  own.slot[PV_RDD_PACK] = Pack;
  own.slot[PV_RDD_ZAP] = Zap;
  own.slot[PV_RDD_LOCK] = Lock;
  own.slot[PV_RDD_UNLOCK] = Unlock;
  own.slot[PV_RDD_CREATEMEMFILE] = CreateMemoFile;
  own.slot[PV_RDD_RECINFO] = RecordInfo;
  own.slot[PV_RDD_GETVALUEFILE] = GetValueFile;
  own.slot[PV_RDD_PUTVALUEFILE] = PutValueFile;
  own.slot[PV_RDD_EXISTS] = Exists;
  own.slot[PV_RDD_INIT] = Init;
  own.slot[PV_RDD_EXIT] = Exit;
  own.slot[PV_RDD_RDDINFO] = RddInfo;
  own.slot[PV_RDD_DROP] = Drop;
  own.slot[PV_RDD_OPENMEMFILE] = OpenMemoFile;
  node->makeArea = [] { return std::unique_ptr<PvArea>(new PvDbfArea()); };
  return pv_rddInherit(table, &own, super, "");
}

}  // namespace

Status WriteFileBytes(const std::string& path, std::string_view bytes, bool append) {
  FilePtr file;
  Status st = append ? OpenFile(path, Access::kReadWrite, Share::kDenyNone, &file)
                     : CreateFile(path, Share::kDenyNone, &file);
  if (!st.ok()) return std::move(st.sub(append ? kSubOpen : kSubCreate, kCanDefault));
  uint64_t end = 0;
  st = file->size(&end);
  if (st.ok()) st = file->writeAt(end, bytes.data(), bytes.size());
  return st.ok() ? st : std::move(st.sub(kSubWrite));
}

Status ReadFileBytes(const std::string& path, size_t limit, std::string* out) {
  FilePtr file;
  Status st = OpenFile(path, Access::kRead, Share::kDenyNone, &file);
  if (!st.ok()) return std::move(st.sub(kSubOpen, kCanDefault));
  uint64_t size = 0;
  st = file->size(&size);
  if (!st.ok()) return std::move(st.sub(kSubRead));
  out->resize(size_t(std::min<uint64_t>(size, limit)));
  st = file->readExact(0, out->data(), out->size(), "short read");
  return st.ok() ? st : std::move(st.sub(kSubRead));
}

bool pv_dbfLockIdxGetData(PvArea* area, uint64_t* offset, uint64_t* pool) {
  PvDbfArea* a = Dbf(area);
  return a->table && IndexLockPlace(a->table->lockScheme(), offset, pool);
}

Status pv_dbfLockIdxFile(PvArea* area, FileHandle* index, IndexLock* lock, LockType type,
                         bool wait) {
  PvDbfArea* a = Dbf(area);
  if (!a->table) return Status::BadArgument("no table");
  Status st = lock->init(a->table->lockScheme());
  return st.ok() ? lock->lock(index, type, wait) : st;
}

Status pv_dbfUnlockIdxFile(FileHandle* index, IndexLock* lock) { return lock->unlock(index); }

uint16_t pv_dbfRaise(PvArea* area, const Status& st, const char* operation) {
  GeneralError g = GeneralErrorFor(st.subcode(), false);
  uint16_t flags = (st.canRetry() ? PV_ERR_FLAG_RETRY : 0) | (st.canDefault() ? PV_ERR_FLAG_DEFAULT : 0);
  int sub = st.subcode() ? st.subcode() : 1001;
  return pv_rddRaise(area, g.gencode, uint32_t(sub), st.file().c_str(), uint32_t(st.osCode()), flags,
                     operation);
}

void pv_dbfRegisterDriver() { pv_rddRegisterFuncTable("DBF", TableFunction); }

// The DBF driver: navigation, the hot/cold record protocol, appending, deleting, locks, flush,
// pack and zap, over the table-file layer; its method table and registration.
#include <cstring>
#include <ctime>

#include "dbfFPT/memo_pack.h"
#include "fs/error_map.h"
#include "rdd_dbf_int.h"
#include "set.h"

namespace dbfdrv {

uint16_t& DriverNumber() {
  static uint16_t number = 0;
  return number;
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

// The raw record bytes of the current record (deciphered), followed, with `memos`, by the
// contents of its memo fields read through the method table (none without a memo file).
int RecordBytes(PvDbfArea* a, bool raw, bool memos, PV_ITEM out) {
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  std::string bytes;
  if (raw) bytes.assign(a->record.begin(), a->record.end());
  PvItem value = {PV_IT_NIL, {}};
  for (size_t i = 0; memos && i < a->fields.size(); ++i) {
    if (!a->memo || !pv::memo::IsMemoField(a->table->fields()[i])) continue;
    PvRddArgs get;
    get.number = long(i + 1);
    get.item = &value;
    if (pv_rddCall(a, PV_RDD_GETVALUE, &get) != PV_SUCCESS) return pv_itemClear(&value), PV_FAILURE;
    if (PV_IS_STRING(&value)) bytes.append(pv_itemGetCPtr(&value), size_t(pv_itemGetCLen(&value)));
  }
  pv_itemClear(&value);
  pv_itemPutCL(out, bytes.data(), PV_SIZE(bytes.size()));
  return PV_SUCCESS;
}

// recordInfo(code, record): 1 deleted, 2 locked, 3 record length, 4 record number, 5 hot,
// 6 encrypted, 7 the raw record, 8 its memo contents joined, 9 both; for codes 1 and 7–9 another
// record is visited and the area then returns to the current one.
int RecordInfo(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  uint32_t rec = x->item && PV_IS_NUMERIC(x->item) ? uint32_t(pv_itemGetNL(x->item)) : 0;
  if (rec == 0) rec = a->recno;
  switch (x->number) {
    case 2:
      pv_itemPutL(x->item2, !a->table->shared() || a->table->fileLocked() || a->table->recordLocked(rec));
      return PV_SUCCESS;
    case 3: pv_itemPutNL(x->item2, long(a->table->recordLength())); return PV_SUCCESS;
    case 4: pv_itemPutNL(x->item2, long(rec)); return PV_SUCCESS;
    case 5: pv_itemPutL(x->item2, rec == a->recno && a->hot); return PV_SUCCESS;
    case 6: pv_itemPutL(x->item2, a->table->encrypted()); return PV_SUCCESS;
    case 1: case 7: case 8: case 9: break;
    default: return PV_FAILURE;
  }
  uint32_t saved = a->recno;
  if (rec != saved && pv_rddCallN(a, PV_RDD_GOTO, long(rec)) != PV_SUCCESS) return PV_FAILURE;
  int r = PV_SUCCESS;
  if (x->number == 1) {
    PvRddArgs d;
    r = pv_rddCall(a, PV_RDD_DELETED, &d);
    pv_itemPutL(x->item2, d.flag);
  } else {
    r = RecordBytes(a, x->number != 8, x->number != 7, x->item2);
  }
  if (rec != saved) pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  return r;
}

int TableFunction(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t number,
                  PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  DriverNumber() = number;
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
  own.slot[PV_RDD_SORT] = Sort;
  own.slot[PV_RDD_PUTREC] = PutRecord;
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



}  // namespace dbfdrv

using namespace dbfdrv;

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

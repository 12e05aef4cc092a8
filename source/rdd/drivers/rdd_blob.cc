// The DBFBLOB driver: a memo file alone (".dbv", FPT version 3, the block size also at offset
// 540) in a work area, without a table file. Values are stored, read and freed through table
// information requests:
//
//   201 BLOB put:  DBINFO(201, xValue)  → the block number of the new value (0 for "")
//   202 BLOB get:  DBINFO(202, nBlock)  → the value stored there
//   203 BLOB free: DBINFO(203, nBlock)  → whether its blocks were freed
//
// Strings, numbers, dates, logicals and NIL are stored with their types (FPT version 3). Every
// record-level method is unsupported here (error 30): the area has no records.
#include "dbfFPT/memo_typed.h"
#include "fs/posix_file.h"
#include "rdd_dbf_int.h"
#include "set.h"

namespace blobdrv {

using namespace dbfdrv;
using namespace pv::memo;

uint16_t g_driver = 0;

enum : long { kBlobPut = 201, kBlobGet = 202, kBlobFree = 203 };

PvRddNode* Node() { return pv_rddGetNode(g_driver); }

// The memo file's name: the given name with the driver's memo extension when it has none.
std::string BlobFile(const std::string& name) {
  return WithExtension(name, pv_fptMemoExtension(Node(), kMemoFpt, true));
}

std::string BlobPath(PvRddArgs* x) { return BlobFile(static_cast<PvOpenInfo*>(x->ptr)->file); }

// Binds the alias and leaves the area at its (only) phantom position.
int Ready(PvDbfArea* a, PvRddArgs* x) {
  a->bof = a->eof = true;
  if (pv_rddDefaultOpen(a, x) == PV_SUCCESS) return PV_SUCCESS;
  a->memo.reset();
  return PV_FAILURE;
}

int Open(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  a->fileName = BlobPath(x);
  MemoOpenOptions options{kMemoFpt, info->shared, info->readOnly, true};
  int r = WithRetry(a, nullptr, [&] { return MemoFile::Open(a->fileName, options, &a->memo); });
  return r == PV_SUCCESS ? Ready(a, x) : PV_FAILURE;
}

int Create(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  a->fileName = BlobPath(x);
  MemoCreateOptions options;
  options.block_size = pv_fptBlockSize(Node(), kMemoFpt);
  options.blob = true;
  int r = WithRetry(a, nullptr, [&] { return MemoFile::Create(a->fileName, options, &a->memo); });
  return r == PV_SUCCESS ? Ready(a, x) : PV_FAILURE;
}

int DataTypeError(PvDbfArea* a, const char* what) {
  Status st = Status::Make(StatusKind::kDataType, what, a->fileName).sub(kSubDataType);
  return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
}

// Stores x->item2 as a new value and answers its block number.
int Put(PvDbfArea* a, PvRddArgs* x) {
  TypedValue v;
  PvItem nil = {PV_IT_NIL, {}};
  if (!pv_fptItemToTyped(x->item2 ? x->item2 : &nil, false, &v)) {
    return DataTypeError(a, "data type error");
  }
  uint32_t block = 0;
  Status st = a->memo->write(0, 0, EncodeTyped(v), &block);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  pv_itemPutNL(x->item, long(block));
  return PV_SUCCESS;
}

// Reads the value at `block` (get), or frees its blocks (free: false for a block that is already
// free).
int GetOrFree(PvDbfArea* a, PvRddArgs* x, uint32_t block) {
  MemoValue stored;
  Status st = a->memo->read(block, 0, &stored);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  if (x->number == kBlobGet) return pv_fptTypedToItem(DecodeTyped(stored), x->item), PV_SUCCESS;
  bool in_use = block != 0 && stored.type != kTypeFreeRun && stored.type != kTypeFreeList;
  uint32_t none = 0;
  if (in_use) st = a->memo->write(block, 0, MemoValue{kTypeText, ""}, &none);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  pv_itemPutL(x->item, in_use);
  return PV_SUCCESS;
}

int Info(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  long block = x->item2 && PV_IS_NUMERIC(x->item2) ? pv_itemGetNL(x->item2) : -1;
  switch (x->number) {
    case 10: pv_itemPutC(x->item, a->fileName.c_str()); return PV_SUCCESS;
    case 37:
      pv_itemPutC(x->item, pv_fptMemoExtension(Node(), kMemoFpt, true).c_str());
      return PV_SUCCESS;
    case 39: pv_itemPutNL(x->item, a->memo ? long(a->memo->blockSize()) : 0); return PV_SUCCESS;
    case 133: pv_itemPutNI(x->item, kMemoFpt); return PV_SUCCESS;
    case 135: pv_itemPutNI(x->item, 3); return PV_SUCCESS;
    default: break;
  }
  if (!a->memo || x->number < kBlobPut || x->number > kBlobFree) return pv_rddDefaultInfo(area, x);
  if (x->number == kBlobPut) return Put(a, x);
  if (block < 0 || block > long(UINT32_MAX)) return DataTypeError(a, "block number expected");
  return GetOrFree(a, x, uint32_t(block));
}

int RddInfo(PvArea* area, PvRddArgs* x) {
  return pv_fptRddInfo(area, x, true, Node()->super.slot[PV_RDD_RDDINFO]);
}

// The memo file is written at every put; only a hard commit is left to do.
int Flush(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  if (!a->memo || !pv_setHardCommit()) return PV_SUCCESS;
  Status st = a->memo->file()->commit();
  return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
}

// exists / drop (called with the driver record): `item` names the BLOB file.
int Exists(PvArea*, PvRddArgs* x) {
  x->flag = FileExists(BlobFile(pv_itemGetCPtr(x->item)));
  return PV_SUCCESS;
}

int Drop(PvArea*, PvRddArgs* x) {
  x->flag = DeleteFile(BlobFile(pv_itemGetCPtr(x->item))).ok();
  return PV_SUCCESS;
}

int NoRecords(PvArea* a, PvRddArgs* x) { return pv_rddUnsupported(a, x); }
int Zero(PvArea*, PvRddArgs* x) { return x->number = 0, PV_SUCCESS; }
int ZeroItem(PvArea*, PvRddArgs* x) { return pv_itemPutNL(x->item, 0), PV_SUCCESS; }
int NoWork(PvArea*, PvRddArgs*) { return PV_SUCCESS; }

int TableFunction(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t number,
                  PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  g_driver = number;
  PvRddFuncs own = {};
  // Everything that reaches records or a table file.
  for (int slot : {PV_RDD_GOBOTTOM, PV_RDD_GOTO, PV_RDD_GOTOID, PV_RDD_GOTOP, PV_RDD_SKIP,
                   PV_RDD_SKIPRAW, PV_RDD_APPEND, PV_RDD_DELETE, PV_RDD_DELETED, PV_RDD_GETVALUE,
                   PV_RDD_GETVALUELEN, PV_RDD_GOHOT, PV_RDD_PUTREC, PV_RDD_PUTVALUE, PV_RDD_RECALL,
                   PV_RDD_RECINFO, PV_RDD_PACK, PV_RDD_SORT, PV_RDD_ZAP, PV_RDD_LOCK,
                   PV_RDD_GETVALUEFILE, PV_RDD_PUTVALUEFILE, PV_RDD_CREATEMEMFILE,
                   PV_RDD_OPENMEMFILE, PV_RDD_DBEVAL, PV_RDD_LOCATE, PV_RDD_TRANS}) {
    own.slot[slot] = NoRecords;
  }
  own.slot[PV_RDD_GOCOLD] = NoWork;
  own.slot[PV_RDD_UNLOCK] = NoWork;
  own.slot[PV_RDD_RECCOUNT] = Zero;
  own.slot[PV_RDD_RECNO] = Zero;
  own.slot[PV_RDD_RECID] = ZeroItem;
  own.slot[PV_RDD_FLUSH] = Flush;
  own.slot[PV_RDD_OPEN] = Open;
  own.slot[PV_RDD_CREATE] = Create;
  own.slot[PV_RDD_INFO] = Info;
  own.slot[PV_RDD_RDDINFO] = RddInfo;
  own.slot[PV_RDD_EXISTS] = Exists;
  own.slot[PV_RDD_DROP] = Drop;
  node->makeArea = [] { return std::unique_ptr<PvArea>(new PvDbfArea()); };
  return pv_rddInherit(table, &own, super, "DBF");
}

}  // namespace blobdrv

void pv_blobRegisterDriver() { pv_rddRegisterFuncTable("DBFBLOB", blobdrv::TableFunction); }

// The DBFFPT driver: DBF with memo files (FPT, DBT, SMT). Memo fields keep a block reference in
// the record and their value in the memo file; every other operation is the DBF driver's.
#include <algorithm>
#include <cstring>

#include "dbf/dbf_codec.h"
#include "dbfFPT/memo_pack.h"
#include "dbfFPT/memo_typed.h"
#include "errors.h"
#include "rdd_dbf.h"
#include "set.h"

using namespace pv;
using namespace pv::dbf;
using namespace pv::memo;

namespace {

uint16_t g_driver = 0;  // this driver's number, for calls to its parent (DBF)

PvDbfArea* Dbf(PvArea* a) { return static_cast<PvDbfArea*>(a); }

int Super(PvArea* a, int slot, PvRddArgs* x) {
  return pv_rddGetNode(g_driver)->super.slot[slot](a, x);
}

const Field* MemoField(PvDbfArea* a, long n) {
  if (!a->memo || n < 1 || size_t(n) > a->fields.size()) return nullptr;
  const Field& f = a->table->fields()[size_t(n - 1)];
  return IsMemoField(f) ? &f : nullptr;
}

PvDbfSettings* Settings(PvRddNode* node) { return static_cast<PvDbfSettings*>(node->settings.get()); }

std::string MemoPath(PvDbfArea* a) {
  std::string base = a->fileName;
  size_t dot = base.rfind('.'), slash = base.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
  return base + pv_fptMemoExtension(pv_rddGetNode(a->driverNum), a->table->memoType(), false);
}

// The block reference (and, in SMT files, type and length) of memo field `f`.
Status Reference(PvDbfArea* a, const Field& f, uint32_t* block, uint32_t* length) {
  *length = 0;
  if (a->table->memoType() == kMemoSmt && f.length == 10) {
    uint16_t type = 0;
    GetSmtReference(f, a->record.data(), &type, length, block);
    if (type == 0x2020) *block = 0;
    return Status::Ok();
  }
  return GetMemoBlock(f, a->record.data(), block);
}

Status ReadRecord(PvDbfArea* a) {
  if (a->valid) return Status::Ok();
  Status st = a->table->readRecord(a->recno, a->record.data());
  if (st.ok()) a->valid = true;
  return st;
}

// The stored memo of field `f` in the current record.
Status ReadMemo(PvDbfArea* a, const Field& f, MemoValue* stored) {
  uint32_t block = 0, length = 0;
  Status st = ReadRecord(a);
  if (st.ok()) st = Reference(a, f, &block, &length);
  if (st.ok()) st = a->memo->read(block, length, stored);
  return st;
}

int GetValue(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = MemoField(a, x->number);
  if (!f) return Super(area, PV_RDD_GETVALUE, x);
  MemoValue stored;
  Status st = ReadMemo(a, *f, &stored);
  if (!st.ok()) return pv_dbfRaise(a, st, f->name.c_str()), PV_FAILURE;
  pv_fptTypedToItem(DecodeTyped(stored), x->item);
  return PV_SUCCESS;
}

int GetValueLength(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = MemoField(a, x->number);
  if (!f) return Super(area, PV_RDD_GETVALUELEN, x);
  uint32_t block = 0, length = 0, result = 0;
  Status st = ReadRecord(a);
  if (st.ok()) st = Reference(a, *f, &block, &length);
  if (st.ok()) st = a->memo->length(block, length, &result);
  if (!st.ok()) return pv_dbfRaise(a, st, f->name.c_str()), PV_FAILURE;
  x->number = long(result);
  return PV_SUCCESS;
}

// Notes that the hot record now refers to `new_block` instead of `block`.
void ReplacedMemo(PvDbfArea* a, uint32_t block, uint32_t length, uint32_t new_block) {
  if (new_block != 0) a->memosWritten.push_back(new_block);
  if (block == 0) return;
  auto written = std::find(a->memosWritten.begin(), a->memosWritten.end(), block);
  if (written == a->memosWritten.end()) {
    a->memosToFree.emplace_back(block, length);
  } else {
    a->memosWritten.erase(written);
    a->memo->release(block, length);
  }
}

int PutValue(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = MemoField(a, x->number);
  if (!f) return Super(area, PV_RDD_PUTVALUE, x);
  Status st = ReadRecord(a);
  if (!st.ok()) return pv_dbfRaise(a, st, f->name.c_str()), PV_FAILURE;
  if (!a->positioned) return PV_SUCCESS;
  if (!a->hot && pv_rddCall(a, PV_RDD_GOHOT) != PV_SUCCESS) return PV_FAILURE;
  TypedValue value;
  if (!pv_fptItemToTyped(x->item, f->type != FieldType::kMemo, &value)) {
    st = Status::Make(StatusKind::kDataType, "data type error", a->fileName).sub(kSubDataType, kCanDefault);
    return pv_dbfRaise(a, st, f->name.c_str()) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
  }
  MemoValue stored = EncodeTyped(value);
  uint32_t block = 0, length = 0, new_block = 0;
  st = Reference(a, *f, &block, &length);
  if (st.ok()) st = a->memo->write(0, 0, stored, &new_block);
  if (st.ok()) ReplacedMemo(a, block, length, new_block);
  if (!st.ok()) {
    if (st.subcode() == kSubDataType) st.sub(kSubDataType, kCanDefault);
    return pv_dbfRaise(a, st, f->name.c_str()) == PV_ERR_DEFAULT ? PV_SUCCESS : PV_FAILURE;
  }
  if (a->table->memoType() == kMemoSmt && f->length == 10) {
    PutSmtReference(*f, a->record.data(), uint16_t(stored.type), uint32_t(stored.data.size()),
                    new_block);
  } else {
    PutMemoBlock(*f, a->record.data(), new_block);
  }
  return PV_SUCCESS;
}

// Writes the hot record, then frees the memo values it no longer refers to. When the record
// cannot be written they stay allocated: the stored record may still refer to them.
int GoCold(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  int r = Super(area, PV_RDD_GOCOLD, x);
  if (r == PV_SUCCESS) {
    for (auto [block, length] : a->memosToFree) a->memo->release(block, length);
  }
  a->memosToFree.clear();
  a->memosWritten.clear();
  return r;
}

int GetValueFile(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = MemoField(a, x->number);
  if (!f) return Super(area, PV_RDD_GETVALUEFILE, x);
  MemoValue stored;
  Status st = ReadMemo(a, *f, &stored);
  if (st.ok()) st = WriteFileBytes(pv_itemGetCPtr(x->item), stored.data, x->flag);
  return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
}

int PutValueFile(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const Field* f = MemoField(a, x->number);
  if (!f) return Super(area, PV_RDD_PUTVALUEFILE, x);
  std::string bytes;
  Status st = ReadFileBytes(pv_itemGetCPtr(x->item), 256u << 20, &bytes);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  PvItem value = {PV_IT_NIL, {}};
  pv_itemPutCL(&value, bytes.data(), PV_SIZE(bytes.size()));
  PvRddArgs put;
  put.number = x->number;
  put.item = &value;
  int r = pv_rddCall(a, PV_RDD_PUTVALUE, &put);
  pv_itemClear(&value);
  return r;
}

int OpenMemoFile(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  MemoOpenOptions options{a->table->memoType(), a->table->shared(), a->table->readOnly(), false};
  std::string path = MemoPath(a);
  for (;;) {
    Status st = MemoFile::Open(path, options, &a->memo);
    if (st.ok()) return PV_SUCCESS;
    if (pv_dbfRaise(a, st, nullptr) != PV_ERR_RETRY) return PV_FAILURE;
  }
}

int CreateMemoFile(PvArea* area, PvRddArgs*) {
  PvDbfArea* a = Dbf(area);
  MemoCreateOptions options;
  options.memo_type = a->table->memoType();
  options.block_size = pv_fptBlockSize(pv_rddGetNode(a->driverNum), options.memo_type);
  options.version = Settings(pv_rddGetNode(a->driverNum))->memoVersion;
  std::string path = MemoPath(a);
  for (;;) {
    Status st = MemoFile::Create(path, options, &a->memo);
    if (st.ok()) return PV_SUCCESS;
    if (pv_dbfRaise(a, st, nullptr) != PV_ERR_RETRY) return PV_FAILURE;
  }
}

int Pack(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (!a->memo) return Super(area, PV_RDD_PACK, x);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  Status st = PackWithMemo(*a->table, *a->memo);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), PV_FAILURE;
  return pv_rddCallN(a, PV_RDD_GOTO, 1);
}

int Zap(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (Super(area, PV_RDD_ZAP, x) != PV_SUCCESS) return PV_FAILURE;
  a->memosToFree.clear();
  a->memosWritten.clear();
  if (!a->memo) return PV_SUCCESS;
  Status st = a->memo->zap();
  return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
}

int Info(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  PvRddNode* node = pv_rddGetNode(a->driverNum);
  switch (x->number) {
    case 133:  // memo type: the table's, or the driver's for a table being created
      pv_itemPutNI(x->item, a->table ? a->table->memoType() : Settings(node)->memoType);
      return PV_SUCCESS;
    case 37: {
      int type = a->table ? a->table->memoType() : Settings(node)->memoType;
      pv_itemPutC(x->item, pv_fptMemoExtension(node, type, false).c_str());
      return PV_SUCCESS;
    }
    case 39: pv_itemPutNL(x->item, a->memo ? long(a->memo->blockSize()) : 0); return PV_SUCCESS;
    case 135:
      pv_itemPutNI(x->item, a->memo ? a->memo->version() : Settings(node)->memoVersion);
      return PV_SUCCESS;
    default: return Super(area, PV_RDD_INFO, x);
  }
}

int RddInfo(PvArea* area, PvRddArgs* x) {
  return pv_fptRddInfo(area, x, false, pv_rddGetNode(g_driver)->super.slot[PV_RDD_RDDINFO]);
}

int TableFunction(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t number,
                  PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  g_driver = number;
  PvRddFuncs own = {};
  own.slot[PV_RDD_GETVALUE] = GetValue;
  own.slot[PV_RDD_GETVALUELEN] = GetValueLength;
  own.slot[PV_RDD_PUTVALUE] = PutValue;
  own.slot[PV_RDD_GOCOLD] = GoCold;
  own.slot[PV_RDD_OPENMEMFILE] = OpenMemoFile;
  own.slot[PV_RDD_GETVALUEFILE] = GetValueFile;
  own.slot[PV_RDD_PUTVALUEFILE] = PutValueFile;
  own.slot[PV_RDD_CREATEMEMFILE] = CreateMemoFile;
  own.slot[PV_RDD_PACK] = Pack;
  own.slot[PV_RDD_ZAP] = Zap;
  own.slot[PV_RDD_INFO] = Info;
  own.slot[PV_RDD_RDDINFO] = RddInfo;
  node->makeArea = [] { return std::unique_ptr<PvArea>(new PvDbfArea()); };
  return pv_rddInherit(table, &own, super, "DBF");
}

}  // namespace

std::string pv_fptMemoExtension(PvRddNode* node, int memo_type, bool blob) {
  PvDbfSettings* s = Settings(node);
  if (!s->memoExt.empty()) return s->memoExt;
  if (blob) return ".dbv";
  if (memo_type == kMemoDbt) return ".dbt";
  if (memo_type == kMemoSmt) return ".smt";
  PvItem v = {PV_IT_NIL, {}};
  pv_setGetSet(PV_SET_MFILEEXT, nullptr, nullptr, &v);
  std::string ext = PV_IS_STRING(&v) ? pv_itemGetCPtr(&v) : "";
  pv_itemClear(&v);
  return ext.empty() ? ".fpt" : ext;
}

uint32_t pv_fptBlockSize(PvRddNode* node, int memo_type) {
  if (uint32_t size = Settings(node)->memoBlockSize) return size;
  PvItem v = {PV_IT_NIL, {}};
  pv_setGetSet(PV_SET_MBLOCKSIZE, nullptr, nullptr, &v);
  long size = PV_IS_NUMERIC(&v) ? pv_itemGetNL(&v) : 0;
  pv_itemClear(&v);
  if (size >= 1 && size <= 65535) return uint32_t(size);
  return memo_type == kMemoDbt ? 512 : memo_type == kMemoSmt ? 32 : 64;
}

int pv_fptRddInfo(PvArea* area, PvRddArgs* x, bool blob, PvRddMethod parent) {
  PvDbfSettings* s = Settings(x->node);
  PV_ITEM update = x->item2 && !PV_IS_NIL(x->item2) ? x->item2 : nullptr;
  long n = update && PV_IS_NUMERIC(update) ? pv_itemGetNL(update) : 0;
  switch (x->number) {
    case 6: {
      pv_itemPutC(x->item, pv_fptMemoExtension(x->node, s->memoType, blob).c_str());
      const char* ext = update && PV_IS_STRING(update) ? pv_itemGetCPtr(update) : nullptr;
      if (ext && ext[0] == '.') s->memoExt = std::string(ext).substr(0, 10);
      return PV_SUCCESS;
    }
    case 14:
      pv_itemPutNI(x->item, blob ? kMemoFpt : s->memoType);
      if (!blob && n >= 1 && n <= 3) s->memoType = int(n);
      return PV_SUCCESS;
    case 32:
      pv_itemPutNL(x->item, long(pv_fptBlockSize(x->node, blob ? kMemoFpt : s->memoType)));
      if (n >= 1 && n <= 65535) s->memoBlockSize = uint32_t(n);
      return PV_SUCCESS;
    case 33:
      pv_itemPutNI(x->item, blob ? 3 : s->memoVersion);
      if (!blob && n >= 1 && n <= 4) s->memoVersion = int(n);
      return PV_SUCCESS;
    case 34: pv_itemPutNI(x->item, 0); return PV_SUCCESS;
    case 35: pv_itemPutL(x->item, false); return PV_SUCCESS;
    case 36: pv_itemPutL(x->item, true); return PV_SUCCESS;
    case 37: pv_itemPutL(x->item, blob); return PV_SUCCESS;
    default: return parent(area, x);
  }
}

void pv_fptTypedToItem(const TypedValue& v, PV_ITEM item) {
  switch (v.kind) {
    case TypedValue::kText:
      pv_itemPutCL(item, v.bytes.data(), PV_SIZE(v.bytes.size()));
      pv_itemSetCMemo(item);
      break;
    case TypedValue::kBinary: pv_itemPutCL(item, v.bytes.data(), PV_SIZE(v.bytes.size())); break;
    case TypedValue::kNumber: pv_itemPutND(item, v.number); break;
    case TypedValue::kDate: pv_itemPutDL(item, v.julian); break;
    case TypedValue::kLogical: pv_itemPutL(item, v.logical); break;
    case TypedValue::kNil: pv_itemClear(item); break;
  }
}

bool pv_fptItemToTyped(PV_ITEM item, bool binary, TypedValue* v) {
  if (PV_IS_STRING(item)) {
    v->kind = binary ? TypedValue::kBinary : TypedValue::kText;
    v->bytes.assign(pv_itemGetCPtr(item), size_t(pv_itemGetCLen(item)));
  } else if (PV_IS_NUMERIC(item)) {
    v->kind = TypedValue::kNumber, v->number = pv_itemGetND(item);
  } else if (PV_IS_DATE(item)) {
    v->kind = TypedValue::kDate, v->julian = int32_t(pv_itemGetDL(item));
  } else if (PV_IS_LOGICAL(item)) {
    v->kind = TypedValue::kLogical, v->logical = pv_itemGetL(item);
  } else if (PV_IS_NIL(item)) {
    v->kind = TypedValue::kNil;
  } else {
    return false;
  }
  return true;
}

void pv_fptRegisterDriver() { pv_rddRegisterFuncTable("DBFFPT", TableFunction); }

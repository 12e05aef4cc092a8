// The DBF driver: field values as items, and field bytes to and from files.
#include <cstring>

#include "fs/posix_file.h"
#include "rdd_dbf_int.h"

namespace dbfdrv {

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
    PutNumberItem(x->item, num, *f, text_width ? f->length : 0);  // binary fields: default widths
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
  if (PV_IS_STRING(v)) {  // character and variable-length fields; others give the type error
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

}  // namespace dbfdrv

using namespace pv;

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

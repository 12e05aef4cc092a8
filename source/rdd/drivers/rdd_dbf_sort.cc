// The DBF driver's sort (__DBARRANGE): the records of a scope collected as record images with
// their keys, put in key order, and written into the target area.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "rdd_dbf_int.h"

namespace dbfdrv {
namespace {

// One key value: text compares byte by byte, everything else as a number.
struct KeyValue {
  bool isText = false;
  std::string text;
  double number = 0;
};

// A collected record: its number, its image as the area held it, and its keys.
struct Collected {
  uint32_t recno = 0;
  std::vector<uint8_t> image;
  std::vector<KeyValue> keys;
};

KeyValue KeyOf(PV_ITEM v, bool no_case) {
  KeyValue k;
  if (PV_IS_STRING(v)) {
    k.isText = true;
    k.text.assign(pv_itemGetCPtr(v), size_t(pv_itemGetCLen(v)));
    if (no_case) {
      for (char& c : k.text) c = char(std::toupper(uint8_t(c)));
    }
  } else if (PV_IS_DATE(v)) {
    long julian = 0, millis = 0;
    pv_itemGetDTL(v, &julian, &millis);
    k.number = double(julian) + double(millis) / 86400000.0;
  } else if (PV_IS_LOGICAL(v)) {
    k.number = pv_itemGetL(v) ? 1 : 0;
  } else if (PV_IS_NUMERIC(v)) {
    k.number = pv_itemGetND(v);
  }
  return k;
}

int Compare(const KeyValue& x, const KeyValue& y) {
  if (x.isText || y.isText) return x.text.compare(y.text) < 0 ? -1 : x.text == y.text ? 0 : 1;
  return x.number < y.number ? -1 : x.number > y.number ? 1 : 0;
}

bool Before(const Collected& x, const Collected& y, const std::vector<PvSortKey>& keys) {
  for (size_t i = 0; i < keys.size(); ++i) {
    int c = Compare(x.keys[i], y.keys[i]);
    if (c != 0) return keys[i].descending ? c > 0 : c < 0;
  }
  return false;
}

// Reads the keys of the current record and keeps its image.
bool CollectCurrent(PvDbfArea* a, const std::vector<PvSortKey>& keys, std::vector<Collected>* out) {
  Status st = ReadIfNeeded(a);
  if (!st.ok()) return pv_dbfRaise(a, st, nullptr), false;
  Collected c;
  c.recno = a->recno;
  c.image = a->record;
  PvItem value = {PV_IT_NIL, {}};
  for (const PvSortKey& k : keys) {
    PvRddArgs get;
    get.number = k.field;
    get.item = &value;
    if (pv_rddCall(a, PV_RDD_GETVALUE, &get) != PV_SUCCESS) return pv_itemClear(&value), false;
    c.keys.push_back(KeyOf(&value, k.noCase));
  }
  pv_itemClear(&value);
  out->push_back(std::move(c));
  return true;
}

// Whether the images can be written as they are: every field copied to the same place of a
// target with the same layout that accepts whole records, and no memo file behind the source.
bool WholeRecords(PvDbfArea* a, const PvSortInfo& s) {
  size_t n = a->fields.size();
  if (a->memo || s.fields.size() != n || s.target->fields.size() != n) return false;
  for (size_t i = 0; i < s.fields.size(); ++i) {
    const PvField& f = a->fields[i];
    const PvField& g = s.target->fields[i];
    if (s.fields[i].first != i + 1 || s.fields[i].second != i + 1 || f.type != g.type ||
        f.length != g.length || f.decimals != g.decimals) {
      return false;
    }
  }
  PvItem answer = {PV_IT_NIL, {}};
  PvRddArgs info;
  info.number = 2;
  info.item = &answer;
  bool whole = pv_rddCall(s.target, PV_RDD_INFO, &info) == PV_SUCCESS && PV_IS_LOGICAL(&answer) &&
               pv_itemGetL(&answer);
  info.number = 7;  // record length
  whole = whole && pv_rddCall(s.target, PV_RDD_INFO, &info) == PV_SUCCESS &&
          pv_itemGetNL(&answer) == long(a->record.size());
  pv_itemClear(&answer);
  return whole;
}

// Copies the fields of source record `c` one by one, and its deleted flag.
bool CopyFields(PvDbfArea* a, const PvSortInfo& s, const Collected& c) {
  if (pv_rddCallN(a, PV_RDD_GOTO, long(c.recno)) != PV_SUCCESS) return false;
  PvItem value = {PV_IT_NIL, {}};
  bool ok = true;
  for (auto [from, to] : s.fields) {
    PvRddArgs get, put;
    get.number = from, get.item = &value;
    put.number = to, put.item = &value;
    ok = ok && pv_rddCall(a, PV_RDD_GETVALUE, &get) == PV_SUCCESS &&
         pv_rddCall(s.target, PV_RDD_PUTVALUE, &put) == PV_SUCCESS;
  }
  pv_itemClear(&value);
  return ok && (c.image[0] != kDeletedFlag || pv_rddCall(s.target, PV_RDD_DELETE) == PV_SUCCESS);
}

// The sort routine: appends the collected records to the target in key order.
int WriteSorted(PvDbfArea* a, const PvSortInfo& s, std::vector<Collected>* records) {
  std::stable_sort(records->begin(), records->end(),
                   [&](const Collected& x, const Collected& y) { return Before(x, y, s.keys); });
  bool whole = WholeRecords(a, s);
  for (const Collected& c : *records) {
    PvRddArgs append;
    append.flag = true;
    if (pv_rddCall(s.target, PV_RDD_APPEND, &append) != PV_SUCCESS) return PV_FAILURE;
    PvRddArgs put;
    put.ptr = const_cast<uint8_t*>(c.image.data());
    if (whole ? pv_rddCall(s.target, PV_RDD_PUTREC, &put) != PV_SUCCESS : !CopyFields(a, s, c)) {
      return PV_FAILURE;
    }
  }
  return pv_rddCall(s.target, PV_RDD_GOCOLD);
}

}  // namespace

// sort: collects the records of the scope that pass the for-block and hands them to the sort
// routine; the source area then returns to the record it was on.
int Sort(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  const PvSortInfo& s = *static_cast<const PvSortInfo*>(x->ptr);
  if (!s.target || pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  uint32_t saved = a->recno;
  std::vector<Collected> records;
  bool ok = true;
  int r = pv_rddWalkScope(a, s.scope, true,
                          [&] { return ok = CollectCurrent(a, s.keys, &records); });
  r = r == PV_SUCCESS && ok ? WriteSorted(a, s, &records) : PV_FAILURE;
  pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  return r;
}

// putRecord: with a source (`ptr`, one record image) replaces the buffer of the current record
// (goHot first; nothing happens at EOF); without one writes the buffer at its record position.
int PutRecord(PvArea* area, PvRddArgs* x) {
  PvDbfArea* a = Dbf(area);
  if (!x->ptr) {
    Status st = a->table->writeRecord(a->recno, a->record.data());
    return st.ok() ? PV_SUCCESS : (pv_dbfRaise(a, st, nullptr), PV_FAILURE);
  }
  if (!a->positioned) return PV_SUCCESS;
  if (!a->hot && pv_rddCall(a, PV_RDD_GOHOT) != PV_SUCCESS) return PV_FAILURE;
  std::memcpy(a->record.data(), x->ptr, a->record.size());
  a->valid = true;
  return PV_SUCCESS;
}

}  // namespace dbfdrv

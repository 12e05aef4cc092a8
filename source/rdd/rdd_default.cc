// The default work-area methods every driver inherits.
#include <cstring>

#include "array.h"
#include "dynsym.h"
#include "errors.h"
#include "rddapi.h"
#include "set.h"
#include "vm.h"

namespace {

const char* DriverName(PvArea* area) {
  PvRddNode* node = area ? pv_rddGetNode(area->driverNum) : nullptr;
  return node ? node->name.c_str() : "???DRIVER";
}

int Bof(PvArea* a, PvRddArgs* x) { return x->flag = a->bof, PV_SUCCESS; }
int Eof(PvArea* a, PvRddArgs* x) { return x->flag = a->eof, PV_SUCCESS; }
int Found(PvArea* a, PvRddArgs* x) { return x->flag = a->found, PV_SUCCESS; }

// Whether the current record passes SET DELETED and the filter.
bool Visible(PvArea* a) {
  if (pv_setDeleted()) {
    PvRddArgs d;
    pv_rddCall(a, PV_RDD_DELETED, &d);
    if (d.flag) return false;
  }
  if (a->filterBlock) {
    PV_ITEM r = pv_vmEvalBlock(a->filterBlock);
    if (PV_IS_LOGICAL(r) && !pv_itemGetL(r)) return false;
  }
  return true;
}

int SkipFilter(PvArea* a, PvRddArgs* x) {
  if (!pv_setDeleted() && !a->filterBlock) return PV_SUCCESS;
  long dir = x->number < 0 ? -1 : 1;
  while (!a->bof && !a->eof && !Visible(a)) {
    if (pv_rddCallN(a, PV_RDD_SKIPRAW, dir) != PV_SUCCESS) return PV_FAILURE;
  }
  if (dir < 0 && a->bof) {  // nothing visible before: stay on the first visible record
    pv_rddCall(a, PV_RDD_GOTOP);
    a->bof = true;
  }
  return PV_SUCCESS;
}

int FieldCount(PvArea* a, PvRddArgs* x) { return x->number = long(a->fields.size()), PV_SUCCESS; }

int FieldName(PvArea* a, PvRddArgs* x) {
  if (x->number < 1 || size_t(x->number) > a->fields.size()) return PV_FAILURE;
  pv_itemPutC(x->item, a->fields[size_t(x->number - 1)].name.c_str());
  return PV_SUCCESS;
}

int FieldInfo(PvArea* a, PvRddArgs* x) {
  static const char kLetters[] = "?CLDNFIBT@=^+YZQMVPWGT";
  if (x->number < 1 || size_t(x->number) > a->fields.size()) return PV_FAILURE;
  const PvField& f = a->fields[size_t(x->number - 1)];
  switch (pv_itemGetNI(x->item2)) {
    case 1: pv_itemPutC(x->item, f.name.c_str()); return PV_SUCCESS;
    case 2: {
      char letter[2] = {f.type >= 1 && f.type <= 21 ? kLetters[f.type] : 'U', 0};
      pv_itemPutC(x->item, letter);
      return PV_SUCCESS;
    }
    case 3: pv_itemPutNI(x->item, f.length); return PV_SUCCESS;
    case 4: pv_itemPutNI(x->item, f.decimals); return PV_SUCCESS;
    case 5: pv_itemPutNI(x->item, f.flags); return PV_SUCCESS;
    case 6: pv_itemPutNI(x->item, f.step); return PV_SUCCESS;
    default: return PV_FAILURE;
  }
}

int Alias(PvArea* a, PvRddArgs* x) {
  pv_itemPutC(x->item, a->alias ? pv_dynsymName(a->alias) : "");
  return PV_SUCCESS;
}

int ClearFilter(PvArea* a, PvRddArgs*) {
  if (a->filterBlock) pv_itemRelease(a->filterBlock);
  a->filterBlock = nullptr;
  a->filterText.clear();
  return PV_SUCCESS;
}

int SetFilter(PvArea* a, PvRddArgs* x) {
  ClearFilter(a, x);
  if (x->item && PV_IS_BLOCK(x->item)) a->filterBlock = pv_itemNew(x->item);
  if (x->item2 && PV_IS_STRING(x->item2)) a->filterText = pv_itemGetCPtr(x->item2);
  return PV_SUCCESS;
}

int FilterText(PvArea* a, PvRddArgs* x) {
  pv_itemPutC(x->item, a->filterText.c_str());
  return PV_SUCCESS;
}

bool Holds(PV_ITEM block) {
  if (!block) return true;
  PV_ITEM r = pv_vmEvalBlock(block);
  return !PV_IS_LOGICAL(r) || pv_itemGetL(r);
}

bool AtEof(PvArea* a) {
  PvRddArgs x;
  pv_rddCall(a, PV_RDD_EOF, &x);
  return x.flag;
}

int DbEval(PvArea* a, PvRddArgs* x) {
  PV_ITEM block = x->item;
  return pv_rddWalkScope(a, *static_cast<PvScope*>(x->ptr), true, [&] {
    pv_vmEvalBlock(block);
    return true;
  });
}

void ClearLocate(PvArea* a) {
  if (a->locateFor) pv_itemRelease(a->locateFor);
  if (a->locateWhile) pv_itemRelease(a->locateWhile);
  a->locateFor = a->locateWhile = nullptr;
}

int SetLocate(PvArea* a, PvRddArgs* x) {
  auto* s = static_cast<PvScope*>(x->ptr);
  ClearLocate(a);
  if (s->forBlock) a->locateFor = pv_itemNew(s->forBlock);
  if (s->whileBlock) a->locateWhile = pv_itemNew(s->whileBlock);
  return PV_SUCCESS;
}

// Locate stops at the first record of the scope for which the for-condition holds; continue
// starts one record further and ignores the scope.
int Locate(PvArea* a, PvRddArgs* x) {
  PvScope s;
  s.forBlock = a->locateFor;
  if (x->flag) {
    s.rest = true;
    if (pv_rddCallN(a, PV_RDD_SKIP, 1) != PV_SUCCESS) return PV_FAILURE;
  } else {
    s = *static_cast<PvScope*>(x->ptr);
    s.forBlock = a->locateFor;
    s.whileBlock = a->locateWhile;
  }
  a->found = false;
  int r = pv_rddWalkScope(a, s, !x->flag, [&] {
    a->found = true;
    return false;
  });
  return r;
}

// rddInfo defaults: codes tied to run-time settings read and set those settings.
int RddInfo(PvArea*, PvRddArgs* x) {
  static const struct { long code; int setting; } kSettings[] = {
      {6, PV_SET_MFILEEXT},  {16, PV_SET_DBFLOCKSCHEME}, {22, PV_SET_STRICTREAD},
      {24, PV_SET_OPTIMIZE}, {25, PV_SET_FORCEOPT},      {26, PV_SET_AUTOPEN},
      {27, PV_SET_AUTORDER}, {28, PV_SET_AUTOSHARE},     {32, PV_SET_MBLOCKSIZE}};
  for (const auto& s : kSettings) {
    if (s.code != x->number) continue;
    PV_ITEM value = x->item2 && !PV_IS_NIL(x->item2) ? x->item2 : nullptr;
    pv_setGetSet(s.setting, value, nullptr, x->item);
    return PV_SUCCESS;
  }
  long c = x->number;
  if ((c >= 12 && c <= 14) || c == 33) return pv_itemPutNI(x->item, 0), PV_SUCCESS;
  if ((c >= 3 && c <= 5) || (c >= 7 && c <= 9) || c == 19 || c == 40) {
    pv_itemPutC(x->item, "");
    return PV_FAILURE;
  }
  if (c == 0 || c == 23 || (c >= 34 && c <= 36) || c == 38 || c == 39 || c > 40) return PV_FAILURE;
  pv_itemPutL(x->item, false);
  return PV_SUCCESS;
}

void FreeRelation(PvRelation* r) {
  PvArea* child = pv_rddGetWorkAreaPointer(r->child);
  if (child) --child->parentCount;
  if (r->key) pv_itemRelease(r->key);
  r->key = nullptr;
}

int SetRelation(PvArea* a, PvRddArgs* x) {
  PvArea* child = pv_rddGetWorkAreaPointer(int(x->number));
  if (!child || child == a || !x->item || !PV_IS_BLOCK(x->item)) return PV_FAILURE;
  PvRelation r;
  r.child = child->areaNum;
  r.key = pv_itemNew(x->item);
  r.text = x->item2 && PV_IS_STRING(x->item2) ? pv_itemGetCPtr(x->item2) : "";
  r.scoped = x->flag;
  ++child->parentCount;
  a->relations.push_back(r);
  // The relation stays set when positioning the child fails: that error is raised already.
  pv_rddCall(a, PV_RDD_SYNCCHILDREN);
  return PV_SUCCESS;
}

int ClearRelations(PvArea* a, PvRddArgs*) {
  for (PvRelation& r : a->relations) FreeRelation(&r);
  a->relations.clear();
  return PV_SUCCESS;
}

int RelationArea(PvArea* a, PvRddArgs* x) {
  x->number = x->number >= 1 && size_t(x->number) <= a->relations.size()
                  ? a->relations[size_t(x->number - 1)].child : 0;
  return PV_SUCCESS;
}

int RelationText(PvArea* a, PvRddArgs* x) {
  bool valid = x->number >= 1 && size_t(x->number) <= a->relations.size();
  pv_itemPutC(x->item, valid ? a->relations[size_t(x->number - 1)].text.c_str() : "");
  return PV_SUCCESS;
}

// The controlling order number of an area: 0 when it has none or its driver has no orders.
int ControllingOrder(PvArea* area) {
  const PvRddFuncs& t = *area->table;
  if (t.slot[PV_RDD_ORDINFO] == pv_rddUnsupported || t.slot[PV_RDD_SEEK] == pv_rddUnsupported)
    return 0;
  PvItem result = {PV_IT_NIL, {}};
  PvOrderInfo oi;
  oi.result = &result;
  PvRddArgs x;
  x.number = 6;  // the order number
  x.ptr = &oi;
  int n = pv_rddCall(area, PV_RDD_ORDINFO, &x) == PV_SUCCESS && PV_IS_NUMERIC(&result)
              ? pv_itemGetNI(&result) : 0;
  pv_itemClear(&result);
  return n;
}

// relationEval: the key evaluated with the parent selected; a child with a controlling order
// seeks it there (not found: end of file), any other child goes to that record (goToId); the
// child goes to the phantom record when the parent is at EOF.
int RelationEval(PvArea* a, PvRddArgs* x) {
  auto* r = static_cast<PvRelation*>(x->ptr);
  PvArea* child = pv_rddGetWorkAreaPointer(r->child);
  if (!child) return PV_FAILURE;
  PvRddArgs eof;
  pv_rddCall(a, PV_RDD_EOF, &eof);
  if (eof.flag) return pv_rddCallN(child, PV_RDD_GOTO, 0);
  int saved = pv_rddGetCurrentWorkAreaNumber();
  pv_rddSelectWorkAreaNumber(a->areaNum);
  PvItem key = {PV_IT_NIL, {}};
  pv_itemCopy(&key, pv_vmEvalBlock(r->key));
  pv_rddSelectWorkAreaNumber(saved);
  PvRddArgs go;
  go.item = &key;
  int result = ControllingOrder(child) > 0 ? pv_rddCall(child, PV_RDD_SEEK, &go)
                                           : pv_rddCall(child, PV_RDD_GOTOID, &go);
  pv_itemClear(&key);
  return result;
}

int SyncChildren(PvArea* a, PvRddArgs*) {
  for (PvRelation& r : a->relations) {
    PvRddArgs x;
    x.ptr = &r;
    if (pv_rddCall(a, PV_RDD_RELEVAL, &x) != PV_SUCCESS) return PV_FAILURE;
  }
  return PV_SUCCESS;
}

// Removes the relations of `parent` whose child is the area in `data`.
int DropRelationsTo(PvArea* parent, void* data) {
  uint16_t child = *static_cast<uint16_t*>(data);
  auto& rel = parent->relations;
  for (auto it = rel.begin(); it != rel.end();) {
    if (it->child == child) {
      FreeRelation(&*it);
      it = rel.erase(it);
    } else {
      ++it;
    }
  }
  return PV_SUCCESS;
}

int NewArea(PvArea*, PvRddArgs*) { return PV_SUCCESS; }
int Release(PvArea* a, PvRddArgs*) {
  pv_itemClear(&a->result);
  return PV_SUCCESS;
}
int StructSize(PvArea*, PvRddArgs* x) { return x->number = long(sizeof(PvArea)), PV_SUCCESS; }
int SysName(PvArea* a, PvRddArgs* x) {
  pv_itemPutC(x->item, DriverName(a));
  return PV_SUCCESS;
}
int SetFieldExtent(PvArea* a, PvRddArgs* x) {
  a->fieldExtent = uint16_t(x->number);
  a->fields.reserve(size_t(x->number));
  return PV_SUCCESS;
}
int Nothing(PvArea*, PvRddArgs*) { return PV_SUCCESS; }

int Error(PvArea* a, PvRddArgs* x) {
  PV_ITEM e = static_cast<PV_ITEM>(x->ptr);
  pv_errPutSeverity(e, PV_ERR_SEVERITY_ERROR);
  pv_errPutSubSystem(e, DriverName(a));
  x->number = pv_errLaunch(e);
  return PV_SUCCESS;
}

PvRddFuncs MakeDefaults() {
  PvRddFuncs t;
  for (PvRddMethod& m : t.slot) m = pv_rddUnsupported;
  t.slot[PV_RDD_BOF] = Bof;
  t.slot[PV_RDD_EOF] = Eof;
  t.slot[PV_RDD_FOUND] = Found;
  t.slot[PV_RDD_SKIP] = pv_rddDefaultSkip;
  t.slot[PV_RDD_SKIPFILTER] = SkipFilter;
  t.slot[PV_RDD_ADDFIELD] = pv_rddDefaultAddField;
  t.slot[PV_RDD_CREATEFIELDS] = pv_rddDefaultCreateFields;
  t.slot[PV_RDD_FIELDCOUNT] = FieldCount;
  t.slot[PV_RDD_FIELDINFO] = FieldInfo;
  t.slot[PV_RDD_FIELDNAME] = FieldName;
  t.slot[PV_RDD_SETFIELDEXTENT] = SetFieldExtent;
  t.slot[PV_RDD_ALIAS] = Alias;
  t.slot[PV_RDD_CLOSE] = pv_rddDefaultClose;
  t.slot[PV_RDD_INFO] = pv_rddDefaultInfo;
  t.slot[PV_RDD_NEWAREA] = NewArea;
  t.slot[PV_RDD_OPEN] = pv_rddDefaultOpen;
  t.slot[PV_RDD_RELEASE] = Release;
  t.slot[PV_RDD_STRUCTSIZE] = StructSize;
  t.slot[PV_RDD_SYSNAME] = SysName;
  t.slot[PV_RDD_CLEARFILTER] = ClearFilter;
  t.slot[PV_RDD_FILTERTEXT] = FilterText;
  t.slot[PV_RDD_SETFILTER] = SetFilter;
  t.slot[PV_RDD_ERROR] = Error;
  t.slot[PV_RDD_DBEVAL] = DbEval;
  t.slot[PV_RDD_SETREL] = SetRelation;
  t.slot[PV_RDD_CLEARREL] = ClearRelations;
  t.slot[PV_RDD_RELAREA] = RelationArea;
  t.slot[PV_RDD_RELTEXT] = RelationText;
  t.slot[PV_RDD_RELEVAL] = RelationEval;
  t.slot[PV_RDD_SYNCCHILDREN] = SyncChildren;
  t.slot[PV_RDD_SETLOCATE] = SetLocate;
  t.slot[PV_RDD_LOCATE] = Locate;
  t.slot[PV_RDD_INIT] = Nothing;
  t.slot[PV_RDD_RDDINFO] = RddInfo;
  t.slot[PV_RDD_EXIT] = Nothing;
  return t;
}

}  // namespace

const PvRddFuncs* pv_rddDefaultMethods() {
  static const PvRddFuncs defaults = MakeDefaults();
  return &defaults;
}

int pv_rddWalkScope(PvArea* a, const PvScope& s, bool from_top,
                    const std::function<bool()>& visit) {
  if (s.record) {
    PvRddArgs x;
    x.item = s.record;
    if (pv_rddCall(a, PV_RDD_GOTOID, &x) != PV_SUCCESS) return PV_FAILURE;
  } else if (from_top && !s.whileBlock && !s.rest && s.next == 0) {
    if (pv_rddCall(a, PV_RDD_GOTOP) != PV_SUCCESS) return PV_FAILURE;
  }
  for (long count = 0; !AtEof(a); ) {
    if (!Holds(s.whileBlock)) break;
    if (Holds(s.forBlock) && !visit()) break;
    if (s.record || (s.next > 0 && ++count >= s.next)) break;
    if (pv_rddCallN(a, PV_RDD_SKIP, 1) != PV_SUCCESS) return PV_FAILURE;
  }
  return PV_SUCCESS;
}

int pv_rddUnsupported(PvArea* a, PvRddArgs*) {
  PV_ITEM e = pv_errRT_New(PV_ERR_SEVERITY_ERROR, DriverName(a), PV_EG_UNSUPPORTED, 0, nullptr,
                           nullptr, 0, 0);
  if (a) {
    PvRddArgs x;
    x.ptr = e;
    pv_rddCall(a, PV_RDD_ERROR, &x);
  }
  pv_errRelease(e);
  return PV_FAILURE;
}

int pv_rddDefaultSkip(PvArea* a, PvRddArgs* x) {
  long n = x->number;
  if (n == 0) return pv_rddCallN(a, PV_RDD_SKIPRAW, 0);
  long dir = n > 0 ? 1 : -1;
  for (long i = 0; i < (n > 0 ? n : -n); ++i) {
    if (pv_rddCallN(a, PV_RDD_SKIPRAW, dir) != PV_SUCCESS) return PV_FAILURE;
    if (pv_rddCallN(a, PV_RDD_SKIPFILTER, dir) != PV_SUCCESS) return PV_FAILURE;
    if (a->bof || a->eof) break;
  }
  if (dir < 0) a->eof = false;
  else a->bof = false;
  return PV_SUCCESS;
}

int pv_rddDefaultClose(PvArea* a, PvRddArgs* x) {
  ClearFilter(a, x);
  ClearLocate(a);
  ClearRelations(a, x);
  if (a->parentCount > 0) pv_rddIterateWorkAreas(DropRelationsTo, &a->areaNum);
  if (a->alias) a->alias->area = 0;
  a->alias = nullptr;
  return PV_SUCCESS;
}

int pv_rddDefaultOpen(PvArea* a, PvRddArgs* x) {
  auto* info = static_cast<PvOpenInfo*>(x->ptr);
  if (!a->alias && info && !info->alias.empty()) {
    if (pv_rddAllocWorkAreaAlias(info->alias.c_str(), a->areaNum) != PV_SUCCESS) {
      pv_rddCall(a, PV_RDD_CLOSE);
      return PV_FAILURE;
    }
  }
  return PV_SUCCESS;
}

int pv_rddDefaultInfo(PvArea* a, PvRddArgs* x) {
  switch (x->number) {
    case 1: case 2: case 20: case 36: case 150: pv_itemPutL(x->item, false); return PV_SUCCESS;
    case 3: case 7: case 31: pv_itemPutNI(x->item, 0); return PV_SUCCESS;
    case 4: pv_itemPutDL(x->item, 0); return PV_SUCCESS;
    case 8: pv_arrayNew(x->item, 0); return PV_SUCCESS;
    case 26: pv_itemPutL(x->item, a->bof); return PV_SUCCESS;
    case 27: pv_itemPutL(x->item, a->eof); return PV_SUCCESS;
    case 28: pv_itemPutC(x->item, a->filterText.c_str()); return PV_SUCCESS;
    case 29: pv_itemPutL(x->item, a->found); return PV_SUCCESS;
    case 30: pv_itemPutNI(x->item, int(a->fields.size())); return PV_SUCCESS;
    case 33: return Alias(a, x);
    case 101: case 102: pv_itemPutC(x->item, ""); return PV_SUCCESS;
    case 5: case 6: case 134: pv_itemPutC(x->item, ""); return PV_FAILURE;
    default: return PV_FAILURE;
  }
}

int pv_rddDefaultAddField(PvArea* a, PvRddArgs* x) {
  PvField f = *static_cast<PvField*>(x->ptr);
  size_t start = f.name.find_first_not_of(" \t\r\n");
  f.name = start == std::string::npos ? "" : f.name.substr(start);
  while (!f.name.empty() && f.name.back() == ' ') f.name.pop_back();
  for (char& c : f.name) c = char(std::toupper(uint8_t(c)));
  if (f.name.empty()) return PV_FAILURE;
  f.symbol = pv_dynsymGet(f.name.c_str());
  a->fields.push_back(std::move(f));
  return PV_SUCCESS;
}

int pv_rddDefaultCreateFields(PvArea*, PvRddArgs*) {
  return PV_SUCCESS;  // the DBF driver builds its fields from the structure (rdd_dbf.cc)
}

uint16_t pv_rddRaise(PvArea* area, uint32_t gencode, uint32_t subcode, const char* file,
                     uint32_t oscode, uint16_t flags, const char* operation) {
  PV_ITEM e = pv_errRT_New(PV_ERR_SEVERITY_ERROR, DriverName(area), gencode, subcode, nullptr,
                           operation, oscode, flags);
  if (file && *file) pv_errPutFileName(e, file);
  uint16_t verdict;
  if (area) {
    PvRddArgs x;
    x.ptr = e;
    pv_rddCall(area, PV_RDD_ERROR, &x);
    verdict = uint16_t(x.number);
  } else {
    verdict = pv_errLaunch(e);
  }
  pv_errRelease(e);
  return verdict;
}

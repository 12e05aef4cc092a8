// The DBFCDX driver's order slots: order create, list add, list clear, focus, rebuild,
// destroy, order information and the pending order condition.
#include <unistd.h>

#include <cctype>

#include "cdx_nav.h"
#include "errors.h"
#include "rdd_cdx.h"
#include "rdd_cdx_bags.h"
#include "rdd_cdx_driver.h"
#include "rdd_cdx_file.h"
#include "rdd_cdx_keys.h"
#include "set.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

PvCdxArea* Cdx(PvArea* a) { return static_cast<PvCdxArea*>(a); }
PvOrderInfo* Info(PvRddArgs* x) { return static_cast<PvOrderInfo*>(x->ptr); }

std::string Upper(std::string s) {
  for (auto& c : s) c = char(std::toupper(uint8_t(c)));
  return s;
}

bool HasExtension(const std::string& path) {
  size_t dot = path.rfind('.'), slash = path.find_last_of("/\\");
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

// The bag a name or number stands for (null: none given or none matching).
PvCdxBag* BagOf(PvCdxArea* a, PV_ITEM bag) {
  if (!bag) return nullptr;
  if (PV_IS_NUMERIC(bag)) {
    long n = pv_itemGetNL(bag);
    return n >= 1 && size_t(n) <= a->bags.size() ? a->bags[size_t(n - 1)].get() : nullptr;
  }
  if (!PV_IS_STRING(bag) || pv_itemGetCLen(bag) == 0) return nullptr;
  std::string name = pv_itemGetCPtr(bag);
  for (auto& b : a->bags) {
    bool same = HasExtension(name) || name.find('/') != std::string::npos
                    ? Upper(b->path).ends_with(Upper(name))
                    : pv_cdxBaseName(b->path) == pv_cdxBaseName(name);
    if (same) return b.get();
  }
  return nullptr;
}

// The order number an order argument names: a number, a tag name (within the bag when one is
// given), or the controlling order when absent. 0 when nothing matches.
int OrderOf(PvCdxArea* a, PvOrderInfo* oi) {
  PV_ITEM o = oi ? oi->order : nullptr;
  if (!o || PV_IS_NIL(o)) return a->order;
  if (PV_IS_NUMERIC(o)) {
    long n = pv_itemGetNL(o);
    return n >= 0 && n <= pv_cdxOrderCount(a) ? int(n) : 0;
  }
  if (!PV_IS_STRING(o)) return 0;
  std::string name = cdxTagNameNormal(pv_itemGetCPtr(o));
  PvCdxBag* only = BagOf(a, oi->bag);
  for (auto& bag : a->bags) {
    if (only && bag.get() != only) continue;
    if (CdxTag* t = cdxIndexFindTag(*bag->index, name)) return pv_cdxTagNumber(a, t);
  }
  return 0;
}

// ---- creating ---------------------------------------------------------------------------------

// Key type and length from the phantom record; raises and fails for unusable values.
bool KeyShape(PvCdxArea* a, PvCdxTagExec& exec, CdxKeyInfo& info, int& keyLen) {
  PvItem v = {PV_IT_NIL, {}};
  pv_cdxExprEval(a, exec.key, &v);
  bool ok = pv_cdxKeyTypeOf(&v, &info.type, &keyLen);
  pv_itemClear(&v);
  if (!ok || keyLen == 0) {
    pv_rddRaise(a, ok ? PV_EG_DATAWIDTH : PV_EG_DATATYPE, 1026, nullptr, 0, 0, nullptr);
    return false;
  }
  if (!exec.hasCond) return true;
  pv_cdxExprEval(a, exec.cond, &v);
  ok = PV_IS_LOGICAL(&v);
  pv_itemClear(&v);
  if (!ok) pv_rddRaise(a, PV_EG_DATATYPE, 1053, nullptr, 0, 0, nullptr);
  return ok;
}

// Opens the bag for a new tag, creating the file when missing (or when it is to be replaced).
CdxStatus OpenForCreate(PvCdxArea* a, const std::string& path, bool replace,
                        std::unique_ptr<PvCdxBag>& out) {
  std::string existing = pv_cdxFindFile(path);
  if (!replace && !existing.empty()) {
    CdxStatus st = pv_cdxOpenBag(a, existing, out);
    if (st.ok() || st.code != kCdxOpenCorrupt) return st;
  }
  out = std::make_unique<PvCdxBag>();
  out->path = existing.empty() ? path : existing;
  std::unique_ptr<CdxPageFile> file;
  CdxStatus st = pv_cdxOpenPageFile(out->path, true, a->table->shared(), false, file);
  if (!st.ok()) return st;
  CdxOpenOptions opt = pv_cdxOpenOptions(a, out.get());
  return cdxIndexCreate(std::move(file), pv_cdxBaseName(out->path), opt, out->index);
}

// Records 1..count read for the build: each is made current and its key taken.
CdxKeyFn BuildKeys(PvCdxArea* a, PvCdxBag& bag, CdxTag*& building) {
  return [a, &bag, &building](uint32_t rec, CdxKey& out) {
    pv_rddCallN(a, PV_RDD_GOTO, long(rec));
    return pv_cdxCurrentKey(a, bag, *building, out);
  };
}

// Fills a new tag: the executables go to a placeholder tag while the engine builds it.
CdxStatus BuildTag(PvCdxArea* a, PvCdxBag& bag, const CdxTagSpec& spec, PvCdxTagExec exec,
                   CdxTag** out) {
  if (CdxTag* old = cdxIndexFindTag(*bag.index, spec.name)) pv_cdxForgetTag(bag, old);
  CdxTag shape;
  shape.keyType = spec.key.type;
  shape.nullFlag = spec.key.nullFlag;
  shape.keyLen = spec.keyLen;
  bag.exec[&shape] = exec;
  CdxTag* building = &shape;
  PvRddArgs count;
  pv_rddCall(a, PV_RDD_RECCOUNT, &count);
  uint32_t records = spec.custom ? 0 : uint32_t(count.number);
  CdxStatus st = cdxIndexAddTag(*bag.index, spec, records, BuildKeys(a, bag, building), out);
  bag.exec.erase(&shape);
  if (st.ok()) bag.exec[*out] = exec;
  else pv_cdxExprFree(exec.key), pv_cdxExprFree(exec.cond);
  return st;
}

// Compiles the key and the pending FOR condition and fixes the key's type and length on the
// phantom record (the record position is kept). The condition is used up. False after a
// failure (raised where the rules say so).
bool PrepareTag(PvCdxArea* a, PvOrderInfo* oi, PvCdxCondition* cond, CdxTagSpec& spec,
                PvCdxTagExec& exec) {
  bool ok = pv_cdxExprCompile(a, oi->keyText, oi->keyBlock, exec.key);
  if (ok && cond && (!cond->forText.empty() || cond->forBlock)) {
    ok = pv_cdxExprCompile(a, cond->forText, cond->forBlock, exec.cond);
    exec.hasCond = ok;
  }
  pv_cdxDropCondition(a);
  if (cond) cond->forBlock = nullptr;
  if (ok) {
    uint32_t saved = a->positioned ? a->recno : 0;
    pv_rddCallN(a, PV_RDD_GOTO, 0);
    ok = KeyShape(a, exec, spec.key, spec.keyLen);
    pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  }
  if (!ok) pv_cdxExprFree(exec.key), pv_cdxExprFree(exec.cond);
  return ok;
}

// The open file of that path: with replace it is closed and forgotten (null then).
PvCdxBag* OpenBagOf(PvCdxArea* a, const std::string& path, bool replace) {
  std::string found = pv_cdxFindFile(path);
  for (size_t i = 0; i < a->bags.size(); ++i) {
    if (found != a->bags[i]->path) continue;
    if (!replace) return a->bags[i].get();
    pv_cdxCloseBag(*a->bags[i]);
    a->bags.erase(a->bags.begin() + long(i));
    if (i == 0) a->production = false;
    a->order = 0;
    break;
  }
  return nullptr;
}

// A file opened for a new tag joins the order list: first as the production index (whose
// flag then goes into the table header), last otherwise.
void JoinOrderList(PvCdxArea* a, std::unique_ptr<PvCdxBag> bag, bool production) {
  if (!production || a->production) return a->bags.push_back(std::move(bag));
  a->bags.insert(a->bags.begin(), std::move(bag));
  a->production = true;
  if (!a->table->readOnly() && !(a->table->tableFlags() & 0x01) && pv_setAutOpen())
    a->table->setTableFlags(uint8_t(a->table->tableFlags() | 0x01));
}

int OrderCreate(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  std::unique_ptr<PvCdxCondition> cond;
  if (a->condition) cond = std::make_unique<PvCdxCondition>(*a->condition);
  CdxTagSpec spec;
  PvCdxTagExec exec;
  if (!PrepareTag(a, oi, cond.get(), spec, exec)) return PV_FAILURE;
  // Bag and tag names.
  bool noBag = oi->bagName.empty();
  std::string path = noBag ? pv_cdxProductionPath(a) : oi->bagName;
  if (!noBag && !HasExtension(path)) path += ".cdx";
  bool production = noBag || (pv_cdxBaseName(path) == pv_cdxBaseName(a->fileName) &&
                              Upper(path).ends_with(".CDX"));
  spec.name = cdxTagNameNormal(oi->tagName);
  bool replaceFile = spec.name.empty();
  if (replaceFile) spec.name = pv_cdxBaseName(path);
  std::string keyText = oi->keyText;
  while (!keyText.empty() && keyText.back() == ' ') keyText.pop_back();
  spec.keyExpr = keyText.substr(0, 255);
  spec.forExpr = cond ? cond->forText : "";
  spec.unique = oi->unique;
  spec.descending = cond && cond->descending;
  spec.custom = cond && cond->custom;
  if (!cond || (cond->all && !cond->additive)) pv_cdxCloseAllBags(a, true);
  // The file: already open, or opened (created) now.
  PvCdxBag* bag = OpenBagOf(a, path, replaceFile);
  std::unique_ptr<PvCdxBag> fresh;
  if (!bag) {
    CdxStatus st = OpenForCreate(a, path, replaceFile, fresh);
    if (!st.ok()) {
      pv_cdxExprFree(exec.key), pv_cdxExprFree(exec.cond);
      if (fresh) pv_cdxCloseBag(*fresh);
      pv_rddRaise(a, PV_EG_CREATE, 1006, path.c_str(), 0, PV_ERR_FLAG_DEFAULT, nullptr);
      return PV_FAILURE;
    }
    bag = fresh.get();
  }
  CdxTag* tag = nullptr;
  CdxStatus st = BuildTag(a, *bag, spec, exec, &tag);
  if (!st.ok()) {
    if (fresh) pv_cdxCloseBag(*fresh);
    return pv_cdxRaise(a, st);
  }
  if (cond && !cond->all && !cond->additive) {  // close the others, keeping this file
    for (size_t i = a->bags.size(); i-- > 0;) {
      if (a->bags[i].get() == bag || (i == 0 && a->production && pv_setAutOpen())) continue;
      pv_cdxCloseBag(*a->bags[i]);
      a->bags.erase(a->bags.begin() + long(i));
    }
  }
  if (fresh) JoinOrderList(a, std::move(fresh), production);
  a->order = pv_cdxTagNumber(a, tag);
  return pv_rddCall(a, PV_RDD_GOTOP);
}

// ---- the order list ---------------------------------------------------------------------------

int OrderListAdd(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  std::string path = oi->bagName;
  if (!HasExtension(path)) path += ".cdx";
  std::string found = pv_cdxFindFile(path);
  for (auto& b : a->bags)
    if (b->path == found) {
      if (a->order == 0 && !b->index->tags.empty()) a->order = pv_cdxTagNumber(a, b->index->tags[0].get());
      return PV_SUCCESS;
    }
  if (found.empty()) {
    pv_rddRaise(a, PV_EG_OPEN, 1003, path.c_str(), 2, PV_ERR_FLAG_DEFAULT, nullptr);
    return PV_FAILURE;
  }
  std::unique_ptr<PvCdxBag> bag;
  CdxStatus st = pv_cdxOpenBag(a, found, bag);
  if (!st.ok()) {
    pv_rddRaise(a, PV_EG_CORRUPTION, 1012, found.c_str(), 0, PV_ERR_FLAG_DEFAULT, nullptr);
    return PV_FAILURE;
  }
  bool production = a->bags.empty() && pv_cdxBaseName(found) == pv_cdxBaseName(a->fileName);
  a->bags.push_back(std::move(bag));
  if (production) a->production = true;
  if (a->order == 0 && !a->bags.back()->index->tags.empty()) {
    a->order = pv_cdxTagNumber(a, a->bags.back()->index->tags[0].get());
    return pv_rddCall(a, PV_RDD_GOTOP);
  }
  return PV_SUCCESS;
}

int OrderListClear(PvArea* area, PvRddArgs*) {
  PvCdxArea* a = Cdx(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  pv_cdxCloseAllBags(a, true);
  return PV_SUCCESS;
}

// Focus: result = the previous controlling tag's name; an order argument changes it.
int OrderListFocus(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  CdxTag* t = pv_cdxAreaTag(a, a->order);
  if (oi->result) pv_itemPutC(oi->result, t ? t->name.c_str() : "");
  if (oi->order && !PV_IS_NIL(oi->order)) {
    if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
    a->order = OrderOf(a, oi);
  }
  return PV_SUCCESS;
}

// Empties an index file and builds every tag again from its stored settings, in its order.
CdxStatus RebuildBag(PvCdxArea* a, PvCdxBag& bag) {
  std::vector<std::pair<CdxTagSpec, PvCdxTagExec>> tags;
  for (auto& t : bag.index->tags) {
    CdxTagSpec s;
    s.name = t->name, s.keyExpr = t->keyExpr, s.forExpr = t->forExpr;
    s.key.type = t->keyType, s.key.nullFlag = t->nullFlag, s.key.collation = t->collation;
    s.keyLen = t->keyLen, s.unique = t->unique, s.descending = !t->ascending;
    s.custom = t->custom;
    tags.emplace_back(s, bag.exec[t.get()]);
  }
  bag.exec.clear();
  std::unique_ptr<CdxPageFile> file;
  CdxStatus st = cdxIndexClose(bag.index);
  if (st.ok()) st = pv_cdxOpenPageFile(bag.path, true, false, false, file);
  if (st.ok()) st = cdxIndexCreate(std::move(file), pv_cdxBaseName(bag.path),
                                   pv_cdxOpenOptions(a, &bag), bag.index);
  for (auto& [spec, exec] : tags) {
    CdxTag* tag = nullptr;
    if (st.ok()) st = BuildTag(a, bag, spec, exec, &tag);
    else pv_cdxExprFree(exec.key), pv_cdxExprFree(exec.cond);
  }
  return st;
}

int OrderListRebuild(PvArea* area, PvRddArgs*) {
  PvCdxArea* a = Cdx(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  if (a->table->shared()) {
    pv_rddRaise(a, PV_EG_SHARED, 1023, nullptr, 0, 0, nullptr);
    return PV_FAILURE;
  }
  if (a->table->readOnly()) {
    pv_rddRaise(a, PV_EG_READONLY, 1025, nullptr, 0, 0, nullptr);
    return PV_FAILURE;
  }
  for (size_t i = 0; i < a->bags.size(); ++i) {
    CdxStatus st = RebuildBag(a, *a->bags[i]);
    if (st.ok()) continue;
    // A file that could not be rebuilt leaves the order list.
    pv_cdxCloseBag(*a->bags[i]);
    a->bags.erase(a->bags.begin() + long(i));
    if (i == 0) a->production = false;
    a->order = 0;
    return pv_cdxRaise(a, st);
  }
  pv_cdxDropCondition(a);
  return pv_rddCall(a, PV_RDD_GOTOP);
}

int OrderDestroy(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  int n = oi->order && !PV_IS_NIL(oi->order) ? OrderOf(a, oi) : 0;
  PvCdxBag* bag = nullptr;
  CdxTag* t = pv_cdxAreaTag(a, n, &bag);
  if (!t || bag->index->readOnly) return PV_SUCCESS;
  pv_cdxForgetTag(*bag, t);
  CdxStatus st = cdxIndexDeleteTag(*bag->index, t->name);
  if (!st.ok()) return pv_cdxRaise(a, st);
  if (bag->index->tags.empty()) {
    size_t i = 0;
    while (a->bags[i].get() != bag) ++i;
    std::string path = bag->path;
    pv_cdxCloseBag(*bag);
    ::unlink(path.c_str());
    if (i == 0 && a->production) {
      a->production = false;
      if (!a->table->readOnly() && (a->table->tableFlags() & 0x01) && pv_setAutOpen())
        a->table->setTableFlags(uint8_t(a->table->tableFlags() & ~0x01));
    }
    a->bags.erase(a->bags.begin() + long(i));
  }
  if (a->order == n) a->order = 0;
  else if (a->order > n) --a->order;
  return PV_SUCCESS;
}

// ---- order information ----------------------------------------------------------------------

// Keeps the tag's cursor on the area's record before a position question.
void SyncForInfo(PvCdxArea* a, PvCdxBag& bag, CdxTag& t) {
  if (!a->positioned) {
    t.cur.rec = 0;
    return;
  }
  if (!t.reposition && t.cur.rec == a->recno) return;
  CdxKey key;
  if (!pv_cdxCurrentKey(a, bag, t, key)) {
    t.cur.rec = 0;
    return;
  }
  bool on = false;
  cdxTagGoKey(t, key, &on);
  if (!on) t.cur.rec = 0;
}

// A scope value as key bytes of the tag (prefix); false for a value of another type.
bool ScopeKey(PV_ITEM v, const CdxTag& t, CdxKey& key) {
  PvItem value = {PV_IT_NIL, {}};
  pv_itemCopy(&value, v);
  if (PV_IS_BLOCK(&value)) pv_itemCopy(&value, pv_vmEvalBlock(v));
  bool ok = pv_cdxKeyFromItem(&value, t.keyType, t.keyLen, false, key);
  pv_itemClear(&value);
  return ok;
}

void ScopeValue(const CdxTag& t, int which, PV_ITEM out) {
  if (!t.hasScope[which]) return pv_itemClear(out);
  const CdxKey& k = t.scope[which];
  if (t.keyType == 'C') pv_itemPutCL(out, reinterpret_cast<const char*>(k.val), PV_SIZE(k.len));
  else if (t.keyType == 'N' && k.len == 8) pv_itemPutND(out, cdxKeyToDouble(k.val));
  else if (t.keyType == 'D' && k.len == 8) pv_itemPutDL(out, long(cdxKeyToJulian(k.val)));
  else if (t.keyType == 'L' && k.len == 1) pv_itemPutL(out, cdxKeyToLogical(k.val[0]));
  else pv_itemClear(out);
}

int OrderInfoNoTag(PvCdxArea* a, long code, PvOrderInfo* oi) {
  PV_ITEM r = oi->result;
  switch (code) {
    case 3: case 51: {
      if (oi->newValue && PV_IS_NUMERIC(oi->newValue)) {
        pv_rddCallN(a, PV_RDD_GOTO, pv_itemGetNL(oi->newValue));
        pv_itemPutL(r, a->positioned);
      } else {
        pv_itemPutNL(r, a->positioned ? long(a->recno) : 0);
      }
      return PV_SUCCESS;
    }
    case 26: case 52: {
      PvRddArgs c;
      pv_rddCall(a, PV_RDD_RECCOUNT, &c);
      pv_itemPutNL(r, c.number);
      return PV_SUCCESS;
    }
    case 130: pv_itemPutND(r, 0.0); return PV_SUCCESS;
    case 8: pv_itemPutC(r, ".cdx"); return PV_SUCCESS;
    case 1: case 2: case 5: case 7: pv_itemPutC(r, ""); return PV_SUCCESS;
    case 6: pv_itemPutNI(r, 0); return PV_SUCCESS;
    case 9: pv_itemPutNI(r, pv_cdxOrderCount(a)); return PV_SUCCESS;
    default: pv_itemClear(r); return PV_SUCCESS;
  }
}

CdxStatus KeyPosition(PvCdxArea* a, PvCdxBag& bag, CdxTag& t, PvOrderInfo* oi) {
  if (oi->newValue && PV_IS_NUMERIC(oi->newValue)) {  // go to key n
    CdxStatus st = cdxTagKeyGoto(t, uint32_t(std::max(0L, pv_itemGetNL(oi->newValue))));
    if (st.ok()) pv_rddCallN(a, PV_RDD_GOTO, t.cur.rec ? long(t.cur.rec) : 0);
    pv_itemPutL(oi->result, a->positioned);
    return st;
  }
  SyncForInfo(a, bag, t);
  uint32_t n = 0;
  CdxStatus st = t.cur.rec ? cdxTagKeyNo(t, n) : CdxStatus{};
  pv_itemPutNL(oi->result, long(n));
  return st;
}

// Whether the area hides records (filter or SET DELETED): logical positions then count only
// the records a walk shows.
bool Filtered(PvCdxArea* a) { return a->filterBlock || pv_setDeleted(); }

// Logical key count (the records a walk of the order shows) or, with position, the logical
// key number of the current record (0 when it is not shown). The record is restored.
long LogicalCount(PvCdxArea* a, bool position) {
  uint32_t saved = a->positioned ? a->recno : 0;
  long n = 0;
  if (position) {
    if (!saved) return 0;
    pv_rddCallN(a, PV_RDD_SKIPFILTER, 1);  // stays when the record is shown
    if (a->recno == saved) {
      while (!a->bof) ++n, pv_rddCallN(a, PV_RDD_SKIP, -1);
    }
  } else {
    pv_rddCall(a, PV_RDD_GOTOP);
    while (a->positioned) ++n, pv_rddCallN(a, PV_RDD_SKIP, 1);
  }
  pv_rddCallN(a, PV_RDD_GOTO, long(saved));
  return n;
}

int OrderInfo(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  long code = x->number;
  if (code == 8) return pv_itemPutC(oi->result, ".cdx"), PV_SUCCESS;
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  int n = OrderOf(a, oi);
  PvCdxBag* bag = nullptr;
  CdxTag* t = pv_cdxAreaTag(a, n, &bag);
  if (!t) return OrderInfoNoTag(a, code, oi);
  PV_ITEM r = oi->result;
  CdxStatus st;
  switch (code) {
    case 1: pv_itemPutC(r, t->forExpr.c_str()); break;
    case 2: pv_itemPutC(r, t->keyExpr.c_str()); break;
    case 3:
      if (Filtered(a) && !(oi->newValue && PV_IS_NUMERIC(oi->newValue))) {
        pv_itemPutNL(r, LogicalCount(a, true));
        break;
      }
      [[fallthrough]];
    case 51: st = KeyPosition(a, *bag, *t, oi); break;
    case 5: pv_itemPutC(r, t->name.c_str()); break;
    case 6: pv_itemPutNI(r, n); break;
    case 7: pv_itemPutC(r, pv_cdxBaseName(bag->path).c_str()); break;
    case 9: pv_itemPutNI(r, int(bag->index->tags.size())); break;
    case 20: pv_itemPutL(r, t->unique); break;
    case 26:
      if (Filtered(a)) {
        pv_itemPutNL(r, LogicalCount(a, false));
        break;
      }
      [[fallthrough]];
    case 52: {
      uint32_t count = 0;
      st = cdxTagKeyCount(*t, count);
      pv_itemPutNL(r, long(count));
      break;
    }
    case 130: {
      if (oi->newValue && PV_IS_NUMERIC(oi->newValue)) {
        st = cdxTagSetRelPos(*t, pv_itemGetND(oi->newValue));
        if (st.ok()) pv_rddCallN(a, PV_RDD_GOTO, t->cur.rec ? long(t->cur.rec) : 0);
      }
      SyncForInfo(a, *bag, *t);
      double pos = 0;
      if (st.ok()) st = cdxTagRelPos(*t, pos);
      pv_itemPutND(r, pos);
      break;
    }
    case 39: case 40: {  // top / bottom scope: read, and set with a new value
      int which = int(code - 39);
      ScopeValue(*t, which, r);
      CdxKey key;
      if (oi->newValue && !PV_IS_NIL(oi->newValue) && ScopeKey(oi->newValue, *t, key))
        cdxTagSetScope(*t, which, key.val, key.len);
      break;
    }
    case 41: case 42:
      ScopeValue(*t, int(code - 41), r);
      cdxTagClearScope(*t, int(code - 41));
      break;
    case 43: pv_itemPutL(r, !t->userAscending); break;
    default: pv_itemClear(r); break;
  }
  return st.ok() ? PV_SUCCESS : pv_cdxRaise(a, st);
}

// The pending condition of the next order create: ptr = PvCdxCondition (moved in).
int OrderCondition(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  auto* c = static_cast<PvCdxCondition*>(x->ptr);
  pv_cdxDropCondition(a);
  if (c) a->condition = std::make_unique<PvCdxCondition>(*c);
  return PV_SUCCESS;
}

}  // namespace

void pv_cdxCloseAllBags(PvCdxArea* a, bool keepProduction) {
  bool keep = keepProduction && a->production && pv_setAutOpen() && !a->bags.empty();
  CdxTag* current = pv_cdxAreaTag(a, a->order);
  for (size_t i = keep ? 1 : 0; i < a->bags.size(); ++i) pv_cdxCloseBag(*a->bags[i]);
  a->bags.resize(keep ? 1 : 0);
  if (!keep) a->production = false;
  int n = keep && current ? pv_cdxTagNumber(a, current) : 0;
  a->order = n;
}

void pv_cdxDropCondition(PvCdxArea* a) {
  if (a->condition && a->condition->forBlock) pv_itemRelease(a->condition->forBlock);
  a->condition.reset();
}

void pv_cdxOrderSlots(PvRddFuncs& own) {
  own.slot[PV_RDD_ORDCREATE] = OrderCreate;
  own.slot[PV_RDD_ORDLSTADD] = OrderListAdd;
  own.slot[PV_RDD_ORDLSTCLEAR] = OrderListClear;
  own.slot[PV_RDD_ORDLSTFOCUS] = OrderListFocus;
  own.slot[PV_RDD_ORDLSTREBUILD] = OrderListRebuild;
  own.slot[PV_RDD_ORDDESTROY] = OrderDestroy;
  own.slot[PV_RDD_ORDINFO] = OrderInfo;
  own.slot[PV_RDD_ORDSETCOND] = OrderCondition;
}

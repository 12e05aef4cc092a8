// The DBFCDX driver's order slots: order create, list add, list clear, focus, rebuild,
// destroy and the pending order condition (order information is in rdd_cdx_info.cc).
#include <unistd.h>

#include <cctype>

#include "errors.h"
#include "rdd_cdx.h"
#include "rdd_cdx_bags.h"
#include "rdd_cdx_driver.h"
#include "rdd_cdx_file.h"
#include "rdd_cdx_keys.h"
#include "set.h"

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

}  // namespace

int pv_cdxOrderOf(PvCdxArea* a, PvOrderInfo* oi) {
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

namespace {

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
  // The build holds the index's write lock while it reads the records (see setScanReadAhead).
  a->table->setScanReadAhead(true);
  CdxStatus st = cdxIndexAddTag(*bag.index, spec, records, BuildKeys(a, bag, building), out);
  a->table->setScanReadAhead(false);
  bag.exec.erase(&shape);
  if (st.ok()) bag.exec[*out] = exec;
  else pv_cdxExecFree(exec);
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
  pv_cdxRefreshShared(a);
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
    return pv_cdxRaiseOpen(a, st, found);
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
    a->order = pv_cdxOrderOf(a, oi);
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
    else pv_cdxExecFree(exec);
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
  pv_cdxRefreshShared(a);
  int n = oi->order && !PV_IS_NIL(oi->order) ? pv_cdxOrderOf(a, oi) : 0;
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
  own.slot[PV_RDD_ORDINFO] = pv_cdxOrderInfo;
  own.slot[PV_RDD_ORDSETCOND] = OrderCondition;
}

// The DBFCDX driver's order information slot: key number and count (raw and logical), key
// go-to, relative position, scopes, and the names, expressions and numbers of orders.
#include "cdx_nav.h"
#include "rdd_cdx.h"
#include "rdd_cdx_bags.h"
#include "rdd_cdx_driver.h"
#include "rdd_cdx_keys.h"
#include "set.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

PvCdxArea* Cdx(PvArea* a) { return static_cast<PvCdxArea*>(a); }
PvOrderInfo* Info(PvRddArgs* x) { return static_cast<PvOrderInfo*>(x->ptr); }

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

// Keeps (or forgets) the code block a scope was given as.
void SetScopeBlock(PvCdxTagExec& exec, int which, PV_ITEM block) {
  if (exec.scopeBlock[which]) pv_itemRelease(exec.scopeBlock[which]);
  exec.scopeBlock[which] = block ? pv_itemNew(block) : nullptr;
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

// Goes to the n-th record a walk of the order shows (end of file when there is none).
bool LogicalGoto(PvCdxArea* a, long n) {
  if (n < 1) return pv_rddCallN(a, PV_RDD_GOTO, 0), false;
  pv_rddCall(a, PV_RDD_GOTOP);
  if (n > 1 && a->positioned) pv_rddCallN(a, PV_RDD_SKIP, n - 1);
  return a->positioned;
}

}  // namespace

void pv_cdxRefreshScopes(PvCdxBag& bag, CdxTag& tag) {
  auto it = bag.exec.find(&tag);
  if (it == bag.exec.end()) return;
  for (int which = 0; which < 2; ++which) {
    CdxKey key;
    if (it->second.scopeBlock[which] && ScopeKey(it->second.scopeBlock[which], tag, key))
      cdxTagSetScope(tag, which, key.val, key.len);
  }
}

int pv_cdxOrderInfo(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  PvOrderInfo* oi = Info(x);
  long code = x->number;
  if (code == 8) return pv_itemPutC(oi->result, ".cdx"), PV_SUCCESS;
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  pv_cdxRefreshShared(a);
  int n = pv_cdxOrderOf(a, oi);
  PvCdxBag* bag = nullptr;
  CdxTag* t = pv_cdxAreaTag(a, n, &bag);
  if (!t) return OrderInfoNoTag(a, code, oi);
  PV_ITEM r = oi->result;
  CdxStatus st;
  if (code != 39 && code != 40) pv_cdxRefreshScopes(*bag, *t);
  switch (code) {
    case 1: pv_itemPutC(r, t->forExpr.c_str()); break;
    case 2: pv_itemPutC(r, t->keyExpr.c_str()); break;
    case 3:
      if (Filtered(a) && oi->newValue && PV_IS_NUMERIC(oi->newValue)) {
        pv_itemPutL(r, LogicalGoto(a, pv_itemGetNL(oi->newValue)));
        break;
      }
      if (Filtered(a)) {
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
      if (oi->newValue && !PV_IS_NIL(oi->newValue) && ScopeKey(oi->newValue, *t, key)) {
        cdxTagSetScope(*t, which, key.val, key.len);
        SetScopeBlock(bag->exec[t], which, PV_IS_BLOCK(oi->newValue) ? oi->newValue : nullptr);
      }
      break;
    }
    case 41: case 42:
      ScopeValue(*t, int(code - 41), r);
      cdxTagClearScope(*t, int(code - 41));
      SetScopeBlock(bag->exec[t], int(code - 41), nullptr);
      break;
    case 43: pv_itemPutL(r, !t->userAscending); break;
    default: pv_itemClear(r); break;
  }
  return st.ok() ? PV_SUCCESS : pv_cdxRaise(a, st);
}


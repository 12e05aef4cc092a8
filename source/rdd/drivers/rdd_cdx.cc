// The DBFCDX driver's method table: movement through the controlling order (top, bottom,
// skip, seek), key maintenance when a record goes cold, opening the production index with the
// table, closing, flushing, and pack and zap followed by a rebuild. The order slots are in
// rdd_cdx_orders.cc.
#include <cstring>

#include "cdx_maint.h"
#include "cdx_nav.h"
#include "errors.h"
#include "rdd_cdx.h"
#include "rdd_cdx_bags.h"
#include "rdd_cdx_driver.h"
#include "rdd_cdx_keys.h"
#include "rdd_cdx_move.h"
#include "set.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

uint16_t g_driver = 0;

int Super(PvArea* a, int slot, PvRddArgs* x) {
  return pv_rddGetNode(g_driver)->super.slot[slot](a, x);
}

PvCdxArea* Cdx(PvArea* a) { return static_cast<PvCdxArea*>(a); }

// Places the area on the cursor's record (end of file when there is none).
int GoToCursor(PvCdxArea* a, const CdxTag& t) {
  return pv_rddCallN(a, PV_RDD_GOTO, t.cur.rec ? long(t.cur.rec) : 0);
}

// Puts the cursor on the area's record (by its key taken for the movement, when given).
// Returns 1 when it stands on it, 0 when the record has no key there (the cursor stands on the
// next key in key order), -1 at end of file. A read without the lock that needs it is told
// in needsLock (when given).
int SyncCursor(PvCdxArea* a, PvCdxBag& bag, CdxTag& t, const CdxKey* taken = nullptr,
               CdxStatus* needsLock = nullptr) {
  if (!a->positioned) return -1;
  if (!pv_cdxCursorOff(a, t)) return 1;
  CdxKey key = taken ? *taken : pv_cdxCursorKey(a, bag, t);
  bool onKey = false;
  CdxStatus st = cdxTagGoKey(t, key, &onKey);
  if (needsLock && st.code == kCdxNeedsLock) *needsLock = st;
  return st.ok() && onKey ? 1 : 0;
}

int RaiseCdx(PvArea* a, const CdxStatus& st) {
  pv_rddRaise(a, st.code == kCdxOpenCorrupt ? PV_EG_CORRUPTION : PV_EG_WRITE, uint32_t(st.code),
              Cdx(a)->fileName.c_str(), 0, 0, st.text.c_str());
  return PV_FAILURE;
}

// Goes to the first (bottom false) or last key of the controlling order.
int GoEdge(PvArea* area, PvRddArgs* x, bool bottom) {
  PvCdxArea* a = Cdx(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  PvCdxMove m;
  if (!pv_cdxBeginMove(a, m, false))
    return Super(area, bottom ? PV_RDD_GOBOTTOM : PV_RDD_GOTOP, x);
  CdxStatus st = pv_cdxRunMove(a, m, false, [&] {
    return bottom ? cdxTagGoBottom(*m.tag) : cdxTagGoTop(*m.tag);
  });
  m.release();
  if (!st.ok()) return RaiseCdx(a, st);
  if (GoToCursor(a, *m.tag) != PV_SUCCESS) return PV_FAILURE;
  a->top = !bottom, a->bottom = bottom;
  return pv_rddCallN(a, PV_RDD_SKIPFILTER, bottom ? -1 : 1);
}

int GoTop(PvArea* area, PvRddArgs* x) { return GoEdge(area, x, false); }
int GoBottom(PvArea* area, PvRddArgs* x) { return GoEdge(area, x, true); }

// Where a skip leaves the area: at end of file, or on the cursor's record (bof: the skip
// backward ran out of the order).
struct Landing {
  bool eof = false;
  bool bof = false;
};

// Moves the cursor n keys (walking order) from the area's record, under the movement's hold.
CdxStatus StepCursor(PvCdxArea* a, PvCdxMove& m, long n, Landing& land) {
  CdxTag& t = *m.tag;
  CdxStatus st;
  int sync = SyncCursor(a, *m.bag, t, m.keyTaken ? &m.key : nullptr, &st);
  if (!st.ok()) return st;
  long steps = n;
  if (sync < 0) {  // at end of file: forward stays, backward lands on the last key
    if (n > 0) return land.eof = true, st;
    st = cdxTagGoBottom(t);
    steps = n + 1;
  } else if (sync == 0) {  // the cursor is on the key after the record's place (key order)
    bool walkingNext = t.userAscending;
    if (t.cur.rec == 0) {  // nothing after it in key order
      if (walkingNext) {
        if (n > 0) return land.eof = true, st;
        st = cdxTagGoBottom(t);
        steps = n + 1;
      } else {
        st = cdxTagGoTop(t);
        if (n < 0) return land.bof = true, st;
        steps = n - 1;
      }
    } else if (walkingNext) {
      steps = n > 0 ? n - 1 : n;
    } else {
      steps = n > 0 ? n : n + 1;
    }
  }
  if (st.ok() && steps != 0) st = cdxTagSkip(t, steps);
  if (!st.ok() || n > 0) return st;
  land.bof = t.topOfOrder;
  if (t.cur.rec == 0) st = cdxTagGoTop(t), land.bof = true;
  return st;
}

int SkipRaw(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  long n = x->number;
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  PvCdxMove m;
  m.steps = n;
  if (!pv_cdxBeginMove(a, m, n != 0) || n == 0) {
    m.release();
    return Super(area, PV_RDD_SKIPRAW, x);
  }
  Landing land;
  CdxStatus st = pv_cdxRunMove(a, m, true, [&] {
    land = {};
    return StepCursor(a, m, n, land);
  });
  m.release();
  if (!st.ok()) return RaiseCdx(a, st);
  if (land.eof) return pv_rddCallN(a, PV_RDD_GOTO, 0);
  int r = GoToCursor(a, *m.tag);
  a->bof = land.bof;
  return r;
}

// Seek value bytes: prefixes without fill characters, with the null-flag byte when the tag
// has one. False for a value of another type than the tag's.
bool SeekKey(PV_ITEM v, const CdxTag& t, CdxKey& key) {
  if (!t.nullFlag) return pv_cdxKeyFromItem(v, t.keyType, t.keyLen, false, key);
  CdxKey inner;
  if (!pv_cdxKeyFromItem(v, t.keyType, t.keyLen - 1, false, inner)) return false;
  uint8_t buf[kMaxKeyLen + 1];
  buf[0] = kNullFlagPresent;
  std::memcpy(buf + 1, inner.val, inner.len);
  key.set(buf, inner.len + 1, 0);
  return true;
}

// seek: item = value, flag = soft, number = 1 for find-last; out: found flag of the area.
int Seek(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  if (pv_rddCall(a, PV_RDD_GOCOLD) != PV_SUCCESS) return PV_FAILURE;
  PvCdxMove m;
  if (!pv_cdxBeginMove(a, m, false)) {
    pv_rddRaise(a, PV_EG_NOORDER, 1201, nullptr, 0, PV_ERR_FLAG_DEFAULT, nullptr);
    return PV_FAILURE;
  }
  a->top = a->bottom = a->eof = false;
  bool soft = x->flag, last = x->number == 1;
  CdxKey key;
  bool found = false;
  CdxStatus st = pv_cdxRunMove(a, m, false, [&] {
    CdxTag& t = *m.tag;
    if (SeekKey(x->item, t, key)) return cdxTagSeek(t, key.val, key.len, soft, last, &found);
    t.cur.rec = 0;  // a value of another type finds nothing
    return CdxStatus();
  });
  CdxTag* t = m.tag;
  m.release();
  if (!st.ok()) return RaiseCdx(a, st);
  if (GoToCursor(a, *t) != PV_SUCCESS) return PV_FAILURE;
  if (a->positioned) {
    uint32_t rec = a->recno;
    if (pv_rddCallN(a, PV_RDD_SKIPFILTER, last ? -1 : 1) != PV_SUCCESS) return PV_FAILURE;
    if (found && a->recno != rec) {
      // The filter's steps may have loaded the file again: the order is looked up anew.
      PvCdxBag* bag = nullptr;
      t = pv_cdxAreaTag(a, a->order, &bag);
      found = t && a->positioned && SyncCursor(a, *bag, *t) == 1 && t->cur.len >= key.len &&
              std::memcmp(t->cur.val, key.val, key.len) == 0;
    }
    if (!found && !soft && a->positioned) pv_rddCallN(a, PV_RDD_GOTO, 0);
  }
  a->found = found;
  a->bof = false;
  return PV_SUCCESS;
}

// ---- key maintenance ------------------------------------------------------------------------

// The key of the current record in a tag (rec 0 where it has none).
CdxKey RecordKey(PvCdxArea* a, PvCdxBag& bag, CdxTag& tag) {
  CdxKey k;
  if (!pv_cdxCurrentKey(a, bag, tag, k)) k.rec = 0;
  return k;
}

// Takes what key maintenance needs when the record goes hot: its keys (none for an appended
// record) and, in a shared table, its bytes as they are in the file.
void RememberHot(PvCdxArea* a) {
  a->hotKeys.clear();
  for (auto& bag : a->bags) {
    bag->loadedWhileHot = false;
    if (a->appended) continue;
    for (auto& tag : bag->index->tags)
      a->hotKeys.push_back({bag.get(), tag->name, RecordKey(a, *bag, *tag)});
  }
  if (a->table->shared()) a->hotRecord = a->record;
}

int GoHot(PvArea* area, PvRddArgs* x) {
  if (Super(area, PV_RDD_GOHOT, x) != PV_SUCCESS) return PV_FAILURE;
  RememberHot(Cdx(area));
  return PV_SUCCESS;
}

int Append(PvArea* area, PvRddArgs* x) {
  if (Super(area, PV_RDD_APPEND, x) != PV_SUCCESS) return PV_FAILURE;
  RememberHot(Cdx(area));
  return PV_SUCCESS;
}

bool SameKey(const CdxKey& x, const CdxKey& y) {
  return x.rec == y.rec && x.len == y.len && std::memcmp(x.val, y.val, x.len) == 0;
}

const CdxKey* HotKey(PvCdxArea* a, const PvCdxBag* bag, const std::string& tag) {
  for (auto& h : a->hotKeys)
    if (h.bag == bag && h.tag == tag) return &h.key;
  return nullptr;
}

// The key a tag gives the record as it was when it went hot: the key expression reads the
// former bytes as the valid record buffer for the time of the call.
CdxKey FormerKey(PvCdxArea* a, PvCdxBag& bag, CdxTag& tag) {
  struct Swap {
    PvCdxArea* a;
    bool valid;
    explicit Swap(PvCdxArea* area) : a(area), valid(area->valid) {
      a->record.swap(a->hotRecord);
      a->valid = true;
    }
    ~Swap() {
      a->record.swap(a->hotRecord);
      a->valid = valid;
    }
  } former(a);
  return RecordKey(a, bag, tag);
}

// A tag whose entry for the record changes: the entries the record may have there now and
// its new key (rec 0: none).
struct KeyChange {
  CdxTag* tag;
  std::vector<CdxKey> old;
  CdxKey now;
};

// The entries the record may have in a tag: its key when it went hot; in a file loaded again
// since, also the key of the record's former bytes under the tag's current expression (another
// handle may have built or rebuilt the tag from them). Deleting a candidate that is not there
// changes nothing, and any entry of this record number is the record's own.
std::vector<CdxKey> FormerEntries(PvCdxArea* a, PvCdxBag& bag, CdxTag& tag, bool appended) {
  std::vector<CdxKey> out;
  const CdxKey* hot = appended ? nullptr : HotKey(a, &bag, tag.name);
  if (hot && hot->rec) out.push_back(*hot);
  if (bag.loadedWhileHot && a->hotRecord.size() == a->record.size()) {
    CdxKey former = FormerKey(a, bag, tag);
    if (former.rec && (out.empty() || !SameKey(former, out[0]))) out.push_back(former);
  }
  return out;
}

std::vector<KeyChange> KeyChanges(PvCdxArea* a, PvCdxBag& bag, bool appended) {
  std::vector<KeyChange> out;
  for (auto& tag : bag.index->tags) {
    if (tag->custom) continue;  // custom tags: keys by hand
    KeyChange c{tag.get(), FormerEntries(a, bag, *tag, appended), RecordKey(a, bag, *tag)};
    bool unchanged = c.old.empty() ? c.now.rec == 0 : c.old.size() == 1 && SameKey(c.old[0], c.now);
    if (!unchanged) out.push_back(std::move(c));
  }
  return out;
}

// Replaces the record's old keys by its new ones in one file, under its write lock. A shared
// file whose tags another handle changed is loaded again first.
CdxStatus UpdateBagKeys(PvCdxArea* a, size_t bagIndex, bool appended) {
  std::vector<KeyChange> changes = KeyChanges(a, *a->bags[bagIndex], appended);
  if (changes.empty() && !a->table->shared()) return {};
  CdxStatus st = pv_cdxIndexLockWrite(*a->bags[bagIndex]->index);
  if (!st.ok()) return st;
  if (!pv_cdxDirectoryCurrent(*a->bags[bagIndex])) {
    pv_cdxIndexUnLockWrite(*a->bags[bagIndex]->index);
    st = pv_cdxReloadBag(a, bagIndex);
    if (!st.ok()) return st;
    a->bags[bagIndex]->loadedWhileHot = true;  // the record went cold just before
    changes = KeyChanges(a, *a->bags[bagIndex], appended);
    st = pv_cdxIndexLockWrite(*a->bags[bagIndex]->index);
    if (!st.ok()) return st;
  }
  for (auto& c : changes) {
    for (const CdxKey& old : c.old)
      if (st.ok()) st = cdxTagKeyDelete(*c.tag, old);
    if (st.ok() && c.now.rec) st = cdxTagKeyAdd(*c.tag, c.now);
  }
  CdxStatus u = pv_cdxIndexUnLockWrite(*a->bags[bagIndex]->index);
  return st.ok() ? u : st;
}

CdxStatus UpdateKeys(PvCdxArea* a, bool appended) {
  CdxStatus st;
  for (size_t i = 0; i < a->bags.size() && st.ok(); ++i) st = UpdateBagKeys(a, i, appended);
  a->hotKeys.clear();
  return st;
}

int GoCold(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  if (!a->hot) return Super(area, PV_RDD_GOCOLD, x);
  bool appended = a->appended;
  if (Super(area, PV_RDD_GOCOLD, x) != PV_SUCCESS) return PV_FAILURE;
  if (a->bags.empty()) return PV_SUCCESS;
  CdxStatus st = UpdateKeys(a, appended);
  return st.ok() ? PV_SUCCESS : RaiseCdx(a, st);
}

// ---- open, close, flush, pack, zap -----------------------------------------------------------

int Open(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  if (Super(area, PV_RDD_OPEN, x) != PV_SUCCESS) return PV_FAILURE;
  if (!pv_setAutOpen()) return PV_SUCCESS;
  std::string path = pv_cdxFindFile(pv_cdxProductionPath(a));
  if (path.empty()) return PV_SUCCESS;
  std::unique_ptr<PvCdxBag> bag;
  CdxStatus st = pv_cdxOpenBag(a, path, bag);
  if (!st.ok()) {
    if (pv_vmRequestQuery() != 0) return PV_SUCCESS;  // a break out of a key expression
    pv_cdxRaiseOpen(a, st, path);
    return PV_SUCCESS;  // the table stays open without its index
  }
  a->bags.insert(a->bags.begin(), std::move(bag));
  a->production = true;
  int order = pv_setAutOrder();
  a->order = order >= 0 && order <= pv_cdxOrderCount(a) ? order : 0;
  return pv_rddCall(a, PV_RDD_GOTOP);
}

int Close(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  int r = pv_rddCall(a, PV_RDD_GOCOLD);
  pv_cdxCloseAllBags(a, false);
  pv_cdxDropCondition(a);
  return Super(area, PV_RDD_CLOSE, x) == PV_SUCCESS ? r : PV_FAILURE;
}

int Flush(PvArea* area, PvRddArgs* x) {
  PvCdxArea* a = Cdx(area);
  if (Super(area, PV_RDD_FLUSH, x) != PV_SUCCESS) return PV_FAILURE;
  for (auto& bag : a->bags) {
    CdxStatus st = cdxIndexFlush(*bag->index);
    if (!st.ok()) return RaiseCdx(a, st);
  }
  return PV_SUCCESS;
}

int Pack(PvArea* area, PvRddArgs* x) {
  if (Super(area, PV_RDD_PACK, x) != PV_SUCCESS) return PV_FAILURE;
  if (Cdx(area)->bags.empty()) return PV_SUCCESS;
  return pv_rddCall(area, PV_RDD_ORDLSTREBUILD);
}

int Zap(PvArea* area, PvRddArgs* x) {
  if (Super(area, PV_RDD_ZAP, x) != PV_SUCCESS) return PV_FAILURE;
  if (Cdx(area)->bags.empty()) return PV_SUCCESS;
  return pv_rddCall(area, PV_RDD_ORDLSTREBUILD);
}

int TableFunction(uint16_t* count, PvRddFuncs* table, PvRddFuncs* super, uint16_t number,
                  PvRddNode* node) {
  *count = PV_RDD_SLOTS;
  g_driver = number;
  PvRddFuncs own = {};
  own.slot[PV_RDD_GOTOP] = GoTop;
  own.slot[PV_RDD_GOBOTTOM] = GoBottom;
  own.slot[PV_RDD_SKIPRAW] = SkipRaw;
  own.slot[PV_RDD_SEEK] = Seek;
  own.slot[PV_RDD_GOHOT] = GoHot;
  own.slot[PV_RDD_APPEND] = Append;
  own.slot[PV_RDD_GOCOLD] = GoCold;
  own.slot[PV_RDD_OPEN] = Open;
  own.slot[PV_RDD_CLOSE] = Close;
  own.slot[PV_RDD_FLUSH] = Flush;
  own.slot[PV_RDD_PACK] = Pack;
  own.slot[PV_RDD_ZAP] = Zap;
  pv_cdxOrderSlots(own);
  node->makeArea = [] { return std::unique_ptr<PvArea>(new PvCdxArea()); };
  return pv_rddInherit(table, &own, super, "DBFFPT");
}

}  // namespace

PvCdxArea* pv_cdxArea(PvArea* area) {
  PvRddNode* node = pv_rddFindNode("DBFCDX");
  return area && node && area->table == &node->table ? Cdx(area) : nullptr;
}

int pv_cdxRaise(PvArea* area, const CdxStatus& st) { return RaiseCdx(area, st); }

void pv_cdxRefreshShared(PvCdxArea* a) {
  for (size_t i = 0; i < a->bags.size(); ++i) {
    if (pv_cdxDirectoryCurrent(*a->bags[i])) continue;
    CdxStatus st = pv_cdxReloadBag(a, i);
    if (!st.ok()) RaiseCdx(a, st), --i;  // the file left the list
  }
}

int pv_cdxRaiseOpen(PvArea* area, const CdxStatus& st, const std::string& path) {
  bool corrupt = st.code == kCdxOpenCorrupt || st.code == kCdxCorrupt;
  pv_rddRaise(area, corrupt ? PV_EG_CORRUPTION : PV_EG_OPEN, corrupt ? 1012 : 1003, path.c_str(),
              0, PV_ERR_FLAG_DEFAULT, nullptr);
  return PV_FAILURE;
}

void pv_cdxRegisterDriver() { pv_rddRegisterFuncTable("DBFCDX", TableFunction); }

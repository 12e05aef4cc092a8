// Navigation of one tag: tree-order steps along the leaf level, walking order (descending
// tags walk right to left, the unique flag steps over equal keys), scopes, and the positional
// operations (key number, count, go-to, relative position) with the raw position cache.
#include <algorithm>
#include <cstdlib>

#include "cdx_internal.h"
#include "cdx_nav.h"

namespace pv::cdx {

namespace {

[[noreturn]] void corruptSibling(const CdxPage& from, uint32_t to) {
  cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.",
          cdxFormat("\r\nPage=%lx, sibling=%lx", (unsigned long)from.page, (unsigned long)to));
}

bool asc(const CdxTag& t) { return t.userAscending; }

bool sameBytes(const CdxTag& t, const CdxKey& a, const CdxKey& b) {
  return std::memcmp(a.val, b.val, size_t(t.keyLen)) == 0;
}

bool hasScope(const CdxTag& t, int w) { return t.hasScope[w] && t.scope[w].len > 0; }
bool anyScope(const CdxTag& t) { return hasScope(t, 0) || hasScope(t, 1); }

int scopeCompare(const CdxTag& t, int w, const CdxKey& k) {
  return cdxKeyCompare(t, t.scope[w].val, t.scope[w].len, k.val, t.keyLen, false);
}
bool inTop(const CdxTag& t, const CdxKey& k) {
  if (!hasScope(t, 0)) return true;
  int c = scopeCompare(t, 0, k);
  return asc(t) ? c <= 0 : c >= 0;
}
bool inBottom(const CdxTag& t, const CdxKey& k) {
  if (!hasScope(t, 1)) return true;
  int c = scopeCompare(t, 1, k);
  return asc(t) ? c >= 0 : c <= 0;
}
bool inScopes(const CdxTag& t) { return t.cur.rec && inTop(t, t.cur) && inBottom(t, t.cur); }

// ---- Tree order ----------------------------------------------------------------------------

void descendEdge(CdxTag& t, bool last) {
  t.path.clear();
  tagLoadRoot(t);
  CdxPage* p = t.root;
  for (int d = 0;; ++d) {
    if (d >= kMaxDepth) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
    t.path.push_back(p);
    if (p->keyCount == 0) {
      if (!p->isLeaf() || d > 0) cdxFail(kCdxCorrupt, "pv_cdxPageGetChild: index corrupted.");
      p->curKey = 0;
      break;
    }
    p->curKey = last ? p->keyCount - 1 : 0;
    if (p->isLeaf()) break;
    p = pageChild(*p, p->curKey);
  }
  tagTakeLeafKey(t);
}

// One key forward or backward in key order along the leaf level; false (cursor unchanged)
// at the end. Sibling links and key order are checked when crossing leaves.
bool treeStep(CdxTag& t, bool forward) {
  if (t.path.empty() || t.cur.rec == 0) return false;
  CdxPage* leaf = t.path.back();
  int i = leaf->curKey + (forward ? 1 : -1);
  if (i >= 0 && i < leaf->keyCount) {
    leaf->curKey = i;
    tagTakeLeafKey(t);
    return true;
  }
  uint32_t next = forward ? leaf->right : leaf->left;
  if (next == kNoPage) return false;
  CdxKey edge(pv_cdxPageGetKeyVal(*leaf, forward ? leaf->keyCount - 1 : 0), t.keyLen,
              pv_cdxPageGetKeyRec(*leaf, forward ? leaf->keyCount - 1 : 0));
  CdxPage* sib = pageGet(t, next);
  if (!sib->isLeaf() || sib->keyCount == 0 || (forward ? sib->left : sib->right) != leaf->page)
    corruptSibling(*leaf, next);
  sib->curKey = forward ? 0 : sib->keyCount - 1;
  t.path.back() = sib;
  tagTakeLeafKey(t);
  int order = cdxKeyRecCompare(t, t.cur.val, t.cur.rec, edge.val, edge.rec);
  if (forward ? order <= 0 : order >= 0) corruptSibling(*leaf, next);
  return true;
}

// ---- Walking order -------------------------------------------------------------------------

// Steps back (walking order) to the first key of the current key's value.
void backToGroupStart(CdxTag& t) {
  CdxKey k = t.cur;
  while (treeStep(t, !asc(t))) {
    if (!sameBytes(t, t.cur, k)) {
      treeStep(t, asc(t));
      return;
    }
  }
}

void walkEdge(CdxTag& t, bool bottom) {
  descendEdge(t, asc(t) ? bottom : !bottom);
  if (bottom && t.userUnique && t.cur.rec) backToGroupStart(t);
}

bool walkStep(CdxTag& t, bool forward) {
  bool treeForward = forward == asc(t);
  if (!t.userUnique) return treeStep(t, treeForward);
  CdxKey k = t.cur;
  do {
    if (!treeStep(t, treeForward)) return false;
  } while (sameBytes(t, t.cur, k));
  if (!forward) backToGroupStart(t);
  return true;
}

void invalidatePos(CdxTag& t) { t.cacheBits &= ~kCacheRawPos; }
void setPos(CdxTag& t, uint32_t pos) {
  t.rawPos = pos;
  t.rawPosRec = t.cur.rec;
  t.cacheBits |= kCacheRawPos;
}

void setNone(CdxTag& t) {
  t.cur.rec = 0;
  invalidatePos(t);
}

// Finds a scope key with its rule; false when no key lies on the inner side of it.
bool seekScope(CdxTag& t, int w) {
  bool lower = (w == 0) == asc(t);
  uint32_t rule = lower ? kFindFirst : kFindLast;
  int k = tagSeek(t, t.scope[w].val, t.scope[w].len, rule);
  if (rule == kFindLast && k < 0) return false;
  tagTakeLeafKey(t);
  return t.cur.rec != 0;
}

// ---- Tag-level movements -------------------------------------------------------------------

void tagFirst(CdxTag& t) {
  t.topOfOrder = t.endOfOrder = false;
  t.reposition = false;
  if (hasScope(t, 0)) {
    if (!seekScope(t, 0)) t.cur.rec = 0;
  } else {
    walkEdge(t, false);
  }
  if (t.cur.rec && inBottom(t, t.cur)) {
    setPos(t, 1);
    return;
  }
  setNone(t);
  t.topOfOrder = t.endOfOrder = true;
}

void tagLast(CdxTag& t) {
  t.topOfOrder = t.endOfOrder = false;
  t.reposition = false;
  if (hasScope(t, 1)) {
    if (!seekScope(t, 1)) t.cur.rec = 0;
    if (t.cur.rec && t.userUnique) backToGroupStart(t);
  } else {
    walkEdge(t, true);
  }
  if (t.cur.rec && inTop(t, t.cur)) {
    if (t.cacheBits & kCacheRawCount)
      setPos(t, t.rawCount);
    else
      invalidatePos(t);
    return;
  }
  setNone(t);
  t.topOfOrder = t.endOfOrder = true;
}

void tagNext(CdxTag& t) {
  if (t.cur.rec == 0) {
    t.endOfOrder = true;
    return;
  }
  bool posValid = (t.cacheBits & kCacheRawPos) && t.rawPosRec == t.cur.rec;
  bool stepped = false;
  if (!inTop(t, t.cur)) {
    tagFirst(t);
  } else if (walkStep(t, true)) {
    stepped = true;
  } else {
    t.cur.rec = 0;
  }
  if (!inScopes(t)) {
    setNone(t);
    t.endOfOrder = true;
    return;
  }
  if (stepped) {
    if (posValid)
      setPos(t, t.rawPos + 1);
    else
      invalidatePos(t);
  }
}

void tagPrev(CdxTag& t) {
  if (t.cur.rec == 0) {
    tagLast(t);
    return;
  }
  bool posValid = (t.cacheBits & kCacheRawPos) && t.rawPosRec == t.cur.rec;
  bool ok;
  if (!inBottom(t, t.cur)) {
    tagLast(t);
    ok = t.cur.rec != 0;
  } else {
    ok = walkStep(t, false);
    if (ok && posValid && t.rawPos > 1)
      setPos(t, t.rawPos - 1);
    else
      invalidatePos(t);
  }
  if (!ok || !inScopes(t)) {
    tagFirst(t);
    t.topOfOrder = true;
  }
}

// Re-finds the current key after the tree changed; true when the cursor is on it.
bool resync(CdxTag& t) {
  if (t.cur.rec == 0) return false;
  if (!t.reposition && !t.path.empty()) return true;
  CdxKey k = t.cur;
  int r = tagSeek(t, k.val, t.keyLen, k.rec);
  t.reposition = false;
  tagTakeLeafKey(t);
  return r == 0 && t.cur.rec == k.rec;
}

uint32_t chainCount(CdxTag& t, uint32_t off, bool right) {
  uint64_t limit = indexPageSpan(*t.index) + 1;
  uint32_t sum = 0;
  for (uint64_t steps = 0; off != kNoPage; ++steps) {
    if (steps > limit) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
    uint16_t count;
    uint32_t next;
    if (CdxPage* p = pagePeek(t, off)) {
      if (!p->isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
      count = uint16_t(p->keyCount);
      next = right ? p->right : p->left;
    } else {
      uint8_t h[kPageHeaderLen];
      if (off % kPageSize || off < kHeaderSize)
        cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
      pv_cdxIndexPageRead(*t.index, off, h, sizeof h);
      if (!(h[0] & kAttrLeaf)) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
      count = GetLE16(h + 2);
      next = GetLE32(h + (right ? 8 : 4));
    }
    sum += count;
    off = next;
  }
  return sum;
}

void restoreCursor(CdxTag& t, const CdxKey& saved) {
  if (saved.rec) {
    tagSeek(t, saved.val, t.keyLen, saved.rec);
    tagTakeLeafKey(t);
  } else {
    t.cur.rec = 0;
  }
}

// Position of the path's leaf key within the whole tree, 0..1.
double pathPos(const CdxTag& t) {
  double pos = 0.5;
  for (size_t d = t.path.size(); d-- > 0;) {
    const CdxPage* p = t.path[d];
    if (p->keyCount == 0) return 0;
    pos = (pos + p->curKey) / p->keyCount;
  }
  return pos;
}

// Positions of the scope ends in tree order (lower, upper).
void scopeSpan(CdxTag& t, double& lower, double& upper) {
  lower = 0;
  upper = 1;
  int lw = asc(t) ? 0 : 1;
  if (hasScope(t, lw)) {
    int k = tagSeek(t, t.scope[lw].val, t.scope[lw].len, kFindFirst);
    lower = k > 0 ? 1.0 : pathPos(t);
  }
  if (hasScope(t, 1 - lw)) {
    int k = tagSeek(t, t.scope[1 - lw].val, t.scope[1 - lw].len, kFindLast);
    upper = k < 0 ? 0.0 : pathPos(t);
  }
}

// Runs a cursor operation under the read lock; a fault drops the cursor and the buffers
// (changes held in them are written first, when that still works).
template <class Fn>
CdxStatus withRead(CdxTag& t, Fn&& fn) {
  return cdxGuard([&] {
    try {
      indexUnderReadLock(*t.index, [&] {
        if (!t.isDirectory()) requireTagsCurrent(*t.index);
        fn();
      });
    } catch (const CdxFault& f) {
      if (f.status.code == kCdxNeedsLock) throw;  // the caller puts the cursor back
      if (indexHoldsChanges(*t.index)) (void)cdxGuard([&] { tagWriteChanged(t); });
      tagDiscardBuffers(t);
      t.cur.rec = 0;
      throw;
    }
  });
}

}  // namespace

// ---- Public operations ---------------------------------------------------------------------

static_assert(kMaxDepth <= kCursorMarkDepth);

void cdxTagMark(const CdxTag& t, CdxCursorMark& m) {
  m.cur = t.cur;
  m.depth = int(std::min(t.path.size(), size_t(kCursorMarkDepth)));
  for (int d = 0; d < m.depth; ++d) m.pathPage[d] = t.path[d], m.pathKey[d] = t.path[d]->curKey;
  m.topOfOrder = t.topOfOrder, m.endOfOrder = t.endOfOrder, m.reposition = t.reposition;
  m.cacheBits = t.cacheBits, m.rawCount = t.rawCount, m.rawPos = t.rawPos;
  m.rawPosRec = t.rawPosRec;
}

void cdxTagRestore(CdxTag& t, const CdxCursorMark& m) {
  t.cur = m.cur;
  t.path.assign(m.pathPage, m.pathPage + m.depth);
  for (int d = 0; d < m.depth; ++d) m.pathPage[d]->curKey = m.pathKey[d];
  t.topOfOrder = m.topOfOrder, t.endOfOrder = m.endOfOrder, t.reposition = m.reposition;
  t.cacheBits = m.cacheBits, t.rawCount = m.rawCount, t.rawPos = m.rawPos;
  t.rawPosRec = m.rawPosRec;
}

bool cdxTagStepHeld(CdxTag& t, long n) {
  if (t.reposition || t.path.empty() || t.cur.rec == 0 || t.userUnique || n == 0) return false;
  const CdxPage* leaf = t.path.back();
  bool forward = (n > 0) == asc(t);
  long i = leaf->curKey + (forward ? std::labs(n) : -std::labs(n));
  if (i >= 0 && i < leaf->keyCount) return true;
  if (std::labs(n) != 1) return false;
  uint32_t next = forward ? leaf->right : leaf->left;
  return next == kNoPage || pagePeek(t, next) != nullptr;
}

CdxStatus cdxTagGoTop(CdxTag& t) { return withRead(t, [&] { tagFirst(t); }); }
CdxStatus cdxTagGoBottom(CdxTag& t) { return withRead(t, [&] { tagLast(t); }); }

CdxStatus cdxTagSkip(CdxTag& t, long n) {
  return withRead(t, [&] {
    t.topOfOrder = t.endOfOrder = false;
    bool hadKey = t.cur.rec != 0;
    bool onKey = resync(t);
    long steps = n;
    if (hadKey && !onKey && t.cur.rec) {
      // The key under the cursor is gone; the cursor stands on its successor in key order.
      if (n > 0) steps = asc(t) ? n - 1 : n;
      else steps = asc(t) ? n : n + 1;
    }
    for (long i = 0; i < steps && !t.endOfOrder; ++i) tagNext(t);
    for (long i = 0; i > steps && !t.topOfOrder; --i) tagPrev(t);
    if (steps == 0 && t.cur.rec && !inScopes(t)) setNone(t);
    if (t.cur.rec == 0 && n > 0) t.endOfOrder = true;
  });
}

CdxStatus cdxTagSeek(CdxTag& t, const void* key, int len, bool soft, bool last, bool* found) {
  bool hit = false;
  CdxStatus s = withRead(t, [&] {
    t.topOfOrder = t.endOfOrder = false;
    t.reposition = false;
    const auto* k8 = static_cast<const uint8_t*>(key);
    len = std::clamp(len, 0, t.keyLen);
    bool desc = !asc(t);
    uint32_t rule = (t.userUnique ? desc : (last != desc)) ? kFindLast : kFindFirst;
    int k = tagSeek(t, k8, len, rule);
    if (rule == kFindLast) {
      if (k < 0)
        t.cur.rec = 0;
      else
        tagTakeLeafKey(t);
      k = -k;
    } else {
      tagTakeLeafKey(t);
    }
    invalidatePos(t);
    bool exact = k == 0 && t.cur.rec != 0;
    if (t.cur.rec && (exact || soft) && inBottom(t, t.cur)) {
      if (!inTop(t, t.cur)) tagFirst(t);
    } else {
      t.cur.rec = 0;
    }
    hit = exact && t.cur.rec && cdxKeyCompare(t, k8, len, t.cur.val, t.keyLen, false) == 0;
    if (!hit && !soft) t.cur.rec = 0;
    if (t.cur.rec == 0) t.endOfOrder = true;
  });
  if (found) *found = s.ok() && hit;
  return s;
}

CdxStatus cdxTagGoKey(CdxTag& t, const CdxKey& key, bool* onKey) {
  bool on = false;
  CdxStatus s = withRead(t, [&] {
    t.topOfOrder = t.endOfOrder = false;
    int r = tagSeek(t, key.val, key.len, key.rec ? key.rec : kFindFirst);
    t.reposition = false;
    tagTakeLeafKey(t);
    on = r == 0 && t.cur.rec == key.rec;
    invalidatePos(t);
    if (t.cur.rec == 0) t.endOfOrder = true;
  });
  if (onKey) *onKey = s.ok() && on;
  return s;
}

CdxStatus cdxTagKeyNo(CdxTag& t, uint32_t& out) {
  out = 0;
  return withRead(t, [&] {
    if (t.cur.rec == 0) return;
    if ((t.cacheBits & kCacheRawPos) && t.rawPosRec == t.cur.rec && !t.reposition) {
      out = t.rawPos;
      return;
    }
    if (!resync(t)) return;
    uint32_t n;
    if (anyScope(t) || t.userUnique) {
      CdxKey saved = t.cur;
      n = 1;
      for (;;) {
        tagPrev(t);
        if (t.topOfOrder) break;
        ++n;
      }
      restoreCursor(t, saved);
    } else {
      CdxPage* leaf = t.path.back();
      n = asc(t) ? uint32_t(leaf->curKey + 1) + chainCount(t, leaf->left, false)
                 : uint32_t(leaf->keyCount - leaf->curKey) + chainCount(t, leaf->right, true);
    }
    out = n;
    setPos(t, n);
  });
}

CdxStatus cdxTagKeyCount(CdxTag& t, uint32_t& out) {
  out = 0;
  return withRead(t, [&] {
    if (t.cacheBits & kCacheRawCount) {
      out = t.rawCount;
      return;
    }
    uint32_t n = 0;
    CdxKey saved = t.cur;
    unsigned bits = t.cacheBits;
    uint32_t pos = t.rawPos, posRec = t.rawPosRec;
    if (anyScope(t) || t.userUnique) {
      for (tagFirst(t); t.cur.rec; tagNext(t)) ++n;
    } else {
      descendEdge(t, false);
      CdxPage* leaf = t.path.back();
      n = uint32_t(leaf->keyCount) + chainCount(t, leaf->right, true);
    }
    restoreCursor(t, saved);
    t.cacheBits = bits | kCacheRawCount;
    t.rawPos = pos;
    t.rawPosRec = posRec;
    t.rawCount = n;
    out = n;
  });
}

CdxStatus cdxTagKeyGoto(CdxTag& t, uint32_t n) {
  return withRead(t, [&] {
    t.topOfOrder = t.endOfOrder = false;
    if (n == 0) {
      setNone(t);
      t.endOfOrder = true;
      return;
    }
    if (anyScope(t) || t.userUnique) {
      tagFirst(t);
      for (uint32_t i = 1; i < n && t.cur.rec; ++i) tagNext(t);
    } else {
      walkEdge(t, false);
      CdxPage* leaf = t.path.back();
      uint32_t left = n;
      uint64_t limit = indexPageSpan(*t.index) + 1;
      for (uint64_t steps = 0; t.cur.rec && left > uint32_t(leaf->keyCount); ++steps) {
        left -= uint32_t(leaf->keyCount);
        uint32_t next = asc(t) ? leaf->right : leaf->left;
        if (next == kNoPage || steps > limit) {
          t.cur.rec = 0;
          break;
        }
        CdxPage* sib = pageGet(t, next);
        if (!sib->isLeaf() || sib->keyCount == 0) corruptSibling(*leaf, next);
        t.path.back() = leaf = sib;
      }
      if (t.cur.rec) {
        leaf->curKey = asc(t) ? int(left) - 1 : leaf->keyCount - int(left);
        tagTakeLeafKey(t);
      }
    }
    if (t.cur.rec) {
      setPos(t, n);
    } else {
      setNone(t);
      t.endOfOrder = true;
    }
  });
}

CdxStatus cdxTagRelPos(CdxTag& t, double& out) {
  out = 1.0;
  return withRead(t, [&] {
    if (t.cur.rec == 0) return;
    CdxKey saved = t.cur;
    double lower, upper;
    scopeSpan(t, lower, upper);
    restoreCursor(t, saved);
    double p = pathPos(t);
    double span = upper - lower;
    double x = anyScope(t) ? (span > 1e-13 ? (p - lower) / span : 0.5) : p;
    if (!asc(t)) x = 1 - x;
    out = std::clamp(x, 0.0, 1.0);
  });
}

CdxStatus cdxTagSetRelPos(CdxTag& t, double x) {
  return withRead(t, [&] {
    if (x >= 1) return tagLast(t);
    if (x <= 0) return tagFirst(t);
    t.topOfOrder = t.endOfOrder = false;
    double lower, upper;
    scopeSpan(t, lower, upper);
    double xt = lower + (asc(t) ? x : 1 - x) * (upper - lower);
    t.path.clear();
    tagLoadRoot(t);
    CdxPage* p = t.root;
    for (int d = 0;; ++d) {
      if (d >= kMaxDepth) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
      t.path.push_back(p);
      if (p->keyCount == 0) {
        t.cur.rec = 0;
        break;
      }
      int idx = std::min(int(p->keyCount * xt), p->keyCount - 1);
      xt = std::clamp(xt * p->keyCount - idx, 0.0, 1.0);
      p->curKey = idx;
      if (p->isLeaf()) {
        tagTakeLeafKey(t);
        break;
      }
      p = pageChild(*p, idx);
    }
    invalidatePos(t);
    if (t.cur.rec == 0 || !inTop(t, t.cur)) {
      tagFirst(t);
    } else if (!inBottom(t, t.cur)) {
      tagLast(t);
    }
  });
}

void cdxTagSetScope(CdxTag& t, int which, const void* key, int len) {
  if (which < 0 || which > 1) return;
  len = std::clamp(len, 0, t.keyLen);
  bool lower = (which == 0) == t.userAscending;
  t.hasScope[which] = true;
  t.scope[which].set(key, len, lower ? kFindFirst : kFindLast);
  t.cacheBits = 0;
}

void cdxTagClearScope(CdxTag& t, int which) {
  if (which < 0 || which > 1) return;
  t.hasScope[which] = false;
  t.cacheBits = 0;
}

void cdxTagSetUserOrder(CdxTag& t, bool ascending, bool unique) {
  t.userAscending = ascending;
  t.userUnique = unique;
  t.cacheBits = 0;
}

}  // namespace pv::cdx

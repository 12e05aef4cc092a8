// The tree search: from the root down to a leaf by bisection on each page, checking on the
// way that every interior entry equals its child's last key and record. Sets the tag's path
// and the current index of every page on it.
#include "cdx_internal.h"

namespace pv::cdx {

namespace {

// Compares the search key with key i of the page under a record rule: equal keys compare by
// record number for a specific record; under find-last an equal key counts as smaller.
int compareAt(CdxTag& t, CdxPage& p, int i, const uint8_t* key, int len, uint32_t rule) {
  int k = cdxKeyCompare(t, key, len, pv_cdxPageGetKeyVal(p, i), t.keyLen, false);
  if (k != 0 || rule == kFindFirst) return k;
  if (rule == kFindLast) return 1;
  uint32_t r = pv_cdxPageGetKeyRec(p, i);
  return r < rule ? 1 : (r > rule ? -1 : 0);
}

std::string printable(const uint8_t* k, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(k[i] >= 32 && k[i] < 127 ? char(k[i]) : '.');
  return s;
}

void checkParentKey(CdxPage& parent, int i, CdxPage& child) {
  CdxTag& t = *parent.tag;
  const uint8_t* pk = pv_cdxPageGetKeyVal(parent, i);
  uint32_t pr = pv_cdxPageGetKeyRec(parent, i);
  int last = child.keyCount - 1;
  if (last >= 0 && pv_cdxPageGetKeyRec(child, last) == pr &&
      std::memcmp(pv_cdxPageGetKeyVal(child, last), pk, size_t(t.keyLen)) == 0)
    return;
  std::string detail = cdxFormat("\r\nkeyLen=%d", t.keyLen) +
                       cdxFormat("\r\nparent=%lx, iKey=%d, rec=%ld", (unsigned long)parent.page,
                                 i, (long)pr) +
                       cdxFormat("\r\n child=%lx, iKey=%d, rec=%ld", (unsigned long)child.page,
                                 last, last >= 0 ? (long)pv_cdxPageGetKeyRec(child, last) : 0L) +
                       "\r\nparent val=[" + printable(pk, t.keyLen) + "]";
  if (last >= 0) detail += "\r\n child val=[" + printable(pv_cdxPageGetKeyVal(child, last), t.keyLen) + "]";
  cdxFail(kCdxCorrupt, "pv_cdxPageSeekKey: wrong parent key.", detail);
}

int seekPage(CdxTag& t, CdxPage& p, const uint8_t* key, int len, uint32_t rule, int depth) {
  if (depth >= kMaxDepth) cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.");
  t.path.resize(size_t(depth));
  t.path.push_back(&p);
  if (p.keyCount == 0) {
    p.curKey = 0;
    return rule == kFindLast ? -1 : 1;
  }
  int lo = 0, hi = p.keyCount - 1, k = 0, lastMid = -1;
  // A leaf is decoded when first searched (its last key is needed for the parent check
  // anyway) and bisected from then on.
  if (p.isLeaf()) pv_cdxPageLeafDecode(p);
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    k = compareAt(t, p, mid, key, len, rule);
    lastMid = mid;
    if (k <= 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  p.curKey = lo;
  if (!p.isLeaf()) {
    // The child is searched first and then checked against its entry.
    CdxPage* c = pageChild(p, lo);
    k = seekPage(t, *c, key, len, rule, depth + 1);
    checkParentKey(p, lo, *c);
    if (rule == kFindLast && k < 0 && lo > 0) {
      p.curKey = lo - 1;
      c = pageChild(p, lo - 1);
      k = seekPage(t, *c, key, len, rule, depth + 1);
      checkParentKey(p, lo - 1, *c);
    }
    return k;
  }
  if (rule == kFindLast) {
    k = cdxKeyCompare(t, key, len, pv_cdxPageGetKeyVal(p, lo), t.keyLen, false);
    if (k < 0 && lo > 0) {
      --lo;
      k = cdxKeyCompare(t, key, len, pv_cdxPageGetKeyVal(p, lo), t.keyLen, false);
    }
    p.curKey = lo;
    return k;
  }
  if (lastMid != lo) k = compareAt(t, p, lo, key, len, rule);
  if (k > 0) p.curKey = lo + 1;
  return k;
}

}  // namespace

int tagSeek(CdxTag& t, const uint8_t* key, int len, uint32_t rule) {
  t.path.clear();
  tagLoadRoot(t);
  return seekPage(t, *t.root, key, len, rule, 0);
}

void tagTakeLeafKey(CdxTag& t) {
  CdxPage* leaf = t.path.empty() ? nullptr : t.path.back();
  if (!leaf || leaf->curKey < 0 || leaf->curKey >= leaf->keyCount) {
    t.cur.rec = 0;
    return;
  }
  t.cur.set(pv_cdxPageGetKeyVal(*leaf, leaf->curKey), t.keyLen,
            pv_cdxPageGetKeyRec(*leaf, leaf->curKey));
}

void CdxKey::set(const void* bytes, int n, uint32_t r) {
  if (n > kMaxKeyLen) n = kMaxKeyLen;
  if (n < 0) n = 0;
  std::memcpy(val, bytes, size_t(n));
  val[n] = 0;
  len = uint16_t(n);
  rec = r;
}

}  // namespace pv::cdx

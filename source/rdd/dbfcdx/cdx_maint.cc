// Key maintenance: leaf insertion and deletion on the decoded form, then level by level
// upward: the parent's entry follows its child's last key, children are rebalanced (leaves
// by fitting their keys greedily into as few pages as hold them, interior pages by spreading
// entries evenly), and the root splits in place (its offset never changes) or becomes an
// empty leaf.
#include <algorithm>

#include "cdx_internal.h"
#include "cdx_maint.h"

namespace pv::cdx {

namespace {

// Page operation result flags, passed from a page to its parent.
constexpr int PAGE_LASTKEY_CHANGED = 1;
constexpr int PAGE_OVERFLOW = 2;
constexpr int PAGE_EMPTIED = 4;
constexpr int PAGE_HAS_ROOM = 8;

bool isFull(const CdxPage& p) { return p.freeSpace >= 0 && p.freeSpace < p.entrySize; }

void padKey(const CdxTag& t, const CdxKey& in, uint8_t* out) {
  int n = std::min<int>(in.len, t.keyLen);
  std::memcpy(out, in.val, size_t(n));
  std::memset(out + n, t.fill, size_t(t.keyLen - n));
}

// ---- Leaf insertion and deletion -----------------------------------------------------------

int leafAddKey(CdxPage& p, const uint8_t* key, uint32_t rec) {
  CdxTag& t = *p.tag;
  if (!p.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageLeafAddKey: page is not a leaf.");
  int c = p.curKey;
  if (c < 0 || c > p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageLeafAddKey: wrong iKey index.");
  pv_cdxPageLeafDecode(p);
  leafNormalizeWidths(p);
  const int el = decEntryLen(t);
  p.decoded.insert(p.decoded.begin() + long(c) * el, size_t(el), 0);
  uint8_t* e = decKey(p, c);
  std::memcpy(e, key, size_t(t.keyLen));
  PutLE32(e + t.keyLen, rec);
  int trl = trailingFill(e, t.keyLen, t.fill);
  int dup = c > 0 ? commonPrefix(decKey(p, c - 1), e, t.keyLen - trl) : 0;
  decSetCounts(p, c, dup, trl);
  ++p.keyCount;
  int need = t.keyLen - trl - dup + p.entrySize;
  if (c + 1 < p.keyCount) {
    int ntrl = decTrl(p, c + 1), odup = decDup(p, c + 1);
    int ndup = commonPrefix(e, decKey(p, c + 1), t.keyLen - ntrl);
    decSetCounts(p, c + 1, ndup, ntrl);
    need += odup - ndup;
  }
  need += leafWidenFor(p, rec) * p.keyCount;
  p.freeSpace -= need;
  p.changed = true;
  int flags = 0;
  if (p.freeSpace < 0) flags |= PAGE_OVERFLOW;
  if (c == p.keyCount - 1) flags |= PAGE_LASTKEY_CHANGED;
  if (p.freeSpace >= p.entrySize && p.left != kNoPage && p.right != kNoPage) flags |= PAGE_HAS_ROOM;
  return flags;
}

int leafDelKey(CdxPage& p) {
  CdxTag& t = *p.tag;
  if (!p.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageLeafDelKey: page is not a leaf.");
  int c = p.curKey;
  if (c < 0 || c >= p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageLeafDelKey: wrong iKey index.");
  pv_cdxPageLeafDecode(p);
  leafNormalizeWidths(p);
  const int el = decEntryLen(t);
  int freed = p.entrySize + t.keyLen - decDup(p, c) - decTrl(p, c);
  if (c + 1 < p.keyCount) {
    int ntrl = decTrl(p, c + 1), odup = decDup(p, c + 1);
    int ndup = c > 0 ? commonPrefix(decKey(p, c - 1), decKey(p, c + 1), t.keyLen - ntrl) : 0;
    decSetCounts(p, c + 1, ndup, ntrl);
    freed -= odup - ndup;
  }
  p.decoded.erase(p.decoded.begin() + long(c) * el, p.decoded.begin() + long(c + 1) * el);
  --p.keyCount;
  p.freeSpace += freed;
  p.changed = true;
  if (p.keyCount == 0) return PAGE_EMPTIED | PAGE_LASTKEY_CHANGED;
  int flags = 0;
  if (p.freeSpace < 0) flags |= PAGE_OVERFLOW;
  if (c == p.keyCount) flags |= PAGE_LASTKEY_CHANGED;
  if (p.freeSpace >= p.entrySize) flags |= PAGE_HAS_ROOM;
  return flags;
}

// ---- Shared helpers of both balancers ------------------------------------------------------

struct LastEntry {
  std::vector<uint8_t> key;
  uint32_t rec = 0;
  int count = 0;
};

LastEntry lastEntryOf(CdxPage& p) {
  LastEntry e;
  e.count = p.keyCount;
  if (p.keyCount > 0) {
    const uint8_t* k = pv_cdxPageGetKeyVal(p, p.keyCount - 1);
    e.key.assign(k, k + p.tag->keyLen);
    e.rec = pv_cdxPageGetKeyRec(p, p.keyCount - 1);
  }
  return e;
}

bool lastEntryChanged(CdxPage& p, const LastEntry& before) {
  if (p.keyCount == 0) return before.count != 0;
  LastEntry now = lastEntryOf(p);
  return now.rec != before.rec || now.key != before.key;
}

// Sets (or inserts) the parent's entry i for child c: c's last key and record.
void setParentEntry(CdxPage& parent, int i, CdxPage& c, bool insert) {
  const uint8_t* k = pv_cdxPageGetKeyVal(c, c.keyCount - 1);
  uint8_t key[kMaxKeyLen];
  std::memcpy(key, k, size_t(parent.tag->keyLen));
  pv_cdxPageIntSetKey(parent, i, insert, key, pv_cdxPageGetKeyRec(c, c.keyCount - 1), c.page);
}

// Loads the window of children first..first+n-1 and checks that they are linked.
std::vector<CdxPage*> loadWindow(CdxPage& parent, int first, int n, bool leaves,
                                 const char* what) {
  std::vector<CdxPage*> w;
  for (int i = 0; i < n; ++i) {
    CdxPage* c = pageChild(parent, first + i);
    if (c->isLeaf() != leaves) cdxFail(kCdxCorrupt, what);
    if (!w.empty() && (w.back()->right != c->page || c->left != w.back()->page))
      cdxFail(kCdxCorrupt, what,
              cdxFormat("\r\nchilds[%d]->Page=%lx, childs[%d]->Right=%lx, childs[%d]->Page=%lx, "
                        "childs[%d]->Left=%lx",
                        i - 1, (unsigned long)w.back()->page, i - 1, (unsigned long)w.back()->right,
                        i, (unsigned long)c->page, i, (unsigned long)c->left));
    w.push_back(c);
  }
  return w;
}

// A new page linked in right after p.
CdxPage* linkNewAfter(CdxTag& t, CdxPage* p, uint8_t attr) {
  CdxPage* np = pageNew(t, attr);
  np->left = p->page;
  np->right = p->right;
  if (p->right != kNoPage) {
    CdxPage* r = pageGet(t, p->right);
    r->left = np->page;
    r->changed = true;
  }
  p->right = np->page;
  p->changed = true;
  return np;
}

// Takes p out of its level's list and returns it to the free list.
void unlinkAndFree(CdxTag& t, CdxPage* p) {
  if (p->left != kNoPage) {
    CdxPage* l = pageGet(t, p->left);
    l->right = p->right;
    l->changed = true;
  }
  if (p->right != kNoPage) {
    CdxPage* r = pageGet(t, p->right);
    r->left = p->left;
    r->changed = true;
  }
  pageFree(t, p);
}

// ---- Leaf balance --------------------------------------------------------------------------

// Appends the decoded keys of p to run, fixing the first key's duplicate count against the
// key before it.
void gatherLeaf(CdxTag& t, CdxPage* p, std::vector<uint8_t>& run) {
  pv_cdxPageLeafDecode(*p);
  const int el = decEntryLen(t);
  size_t at = run.size();
  run.insert(run.end(), p->decoded.begin(), p->decoded.begin() + long(p->keyCount) * el);
  if (at > 0 && p->keyCount > 0) {
    uint8_t* e = run.data() + at;
    int trl = e[t.keyLen + 5];
    e[t.keyLen + 4] = uint8_t(commonPrefix(e - el, e, t.keyLen - trl));
  }
}

// Puts run[from, from + n) into p, whose widths leafFit has just set.
void leafTake(CdxPage* p, const std::vector<uint8_t>& run, int from, int n) {
  const int el = decEntryLen(*p->tag);
  p->decoded.assign(run.begin() + long(from) * el, run.begin() + long(from + n) * el);
  p->hasDecoded = true;
  p->keyCount = n;
  p->changed = true;
}

int pv_cdxPageKeyLeafBalance(CdxPage& parent, int childFlags) {
  CdxTag& t = *parent.tag;
  const char* kErr = "pv_cdxPageKeyLeafBalance: index corrupted.";
  int c = parent.curKey, n = parent.keyCount, r = 0;
  int first = c > 0 ? c - 1 : 0;
  int last = std::min(c + 1, n - 1);
  if (c == 0 && parent.left != kNoPage) r |= PAGE_HAS_ROOM;
  if (c + 1 >= n && parent.right != kNoPage) r |= PAGE_HAS_ROOM;
  bool must = childFlags & (PAGE_OVERFLOW | PAGE_EMPTIED);
  if (!must && (last - first + 1 < 2 || !(childFlags & PAGE_HAS_ROOM))) return r;
  std::vector<CdxPage*> win = loadWindow(parent, first, last - first + 1, true, kErr);
  while (win.size() > 1 && isFull(*win.front())) {
    win.erase(win.begin());
    ++first;
  }
  while (win.size() > 1 && isFull(*win.back()) && !(childFlags & PAGE_OVERFLOW)) win.pop_back();
  // Refitting pays only when the free space of the window could empty one page even though
  // each page may end with up to one key's worth unused and its first key loses its prefix.
  int totalFree = 0, slack = 0;
  for (CdxPage* p : win) {
    if (p->freeSpace >= p->entrySize) totalFree += p->freeSpace;
    slack += t.keyLen + p->entrySize;
  }
  if (!must && !(win.size() >= 2 && totalFree >= kLeafAreaLen + slack)) return r;

  LastEntry before = lastEntryOf(parent);
  const int el = decEntryLen(t);
  std::vector<uint8_t> run;
  for (CdxPage* p : win) gatherLeaf(t, p, run);
  int total = int(run.size() / size_t(el)), pos = 0;
  // An overflow inside the order shares the keys evenly among the window's pages (each keeps
  // room for the next inserts there); elsewhere they are packed into as few pages as hold them.
  bool share = (childFlags & PAGE_OVERFLOW) && win.back()->right != kNoPage;
  for (size_t i = 0; i < win.size(); ++i) {
    CdxPage* p = win[i];
    // A page that ends up with the same keys keeps its "changed" state (no needless write).
    int oldCount = p->keyCount, oldFree = p->freeSpace;
    uint32_t oldFirst = p->keyCount ? decRec(*p, 0) : 0;
    bool wasChanged = p->changed;
    int pagesLeft = int(win.size() - i);
    int upTo = share ? pos + (total - pos + pagesLeft - 1) / pagesLeft : total;
    int take = pos < total ? leafFit(*p, run, pos, upTo) : (leafReset(*p), 0);
    bool same = take > 0 && take == oldCount && p->freeSpace == oldFree &&
                GetLE32(run.data() + size_t(pos) * el + t.keyLen) == oldFirst;
    leafTake(p, run, pos, take);
    if (same) p->changed = wasChanged;
    pos += take;
  }
  int inParent = int(win.size());
  // Keys left over: the right sibling may take them in front of its own keys (its last key,
  // and so its parent entry, stays the same) when half of it stays free; otherwise new leaves
  // follow the last page. Inside the order the last page shares its keys evenly with the new
  // ones, so that the next inserts at the same place do not overflow again at once; at the
  // end of the order (appends) pages are filled.
  if (pos < total && win.back()->right != kNoPage) {
    CdxPage* sib = pageGet(t, win.back()->right);
    if (!sib->isLeaf() || sib->left != win.back()->page) cdxFail(kCdxCorrupt, kErr);
    std::vector<uint8_t> tail(run.begin() + long(pos) * el, run.end());
    gatherLeaf(t, sib, tail);
    CdxPage probe;
    probe.tag = &t;
    probe.attr = kAttrLeaf;
    int tailCount = int(tail.size() / size_t(el));
    if (leafFit(probe, tail, 0, tailCount) == tailCount && probe.freeSpace >= kLeafAreaLen / 2) {
      leafFit(*sib, tail, 0, tailCount);
      leafTake(sib, tail, 0, tailCount);
      pos = total;
    }
  }
  if (pos < total && win.back()->right != kNoPage) {
    CdxPage* last = win.back();
    int lastStart = pos - last->keyCount;
    int take = leafFit(*last, run, lastStart, lastStart + (total - lastStart + 1) / 2);
    leafTake(last, run, lastStart, take);
    pos = lastStart + take;
  }
  while (pos < total) {
    CdxPage* np = linkNewAfter(t, win.back(), kAttrLeaf);
    int take = leafFit(*np, run, pos, total);
    leafTake(np, run, pos, take);
    pos += take;
    win.push_back(np);
    r |= PAGE_HAS_ROOM;
  }
  int idx = first;
  for (size_t k = 0; k < win.size(); ++k) {
    CdxPage* p = win[k];
    bool isNew = int(k) >= inParent;
    if (p->keyCount > 0) {
      setParentEntry(parent, idx++, *p, isNew);
    } else {
      pv_cdxPageIntDelKey(parent, idx);
      unlinkAndFree(t, p);
      r |= PAGE_HAS_ROOM;
    }
  }
  if (lastEntryChanged(parent, before)) r |= PAGE_LASTKEY_CHANGED;
  if (parent.keyCount > t.maxIntKeys) r |= PAGE_OVERFLOW;
  return r;
}

// ---- Interior balance ----------------------------------------------------------------------

int pv_cdxPageKeyIntBalance(CdxPage& parent, int childFlags) {
  CdxTag& t = *parent.tag;
  const char* kErr = "pv_cdxPageKeyIntBalance: index corrupted.";
  if (!(childFlags & (PAGE_OVERFLOW | PAGE_EMPTIED | PAGE_HAS_ROOM))) return 0;
  bool must = childFlags & (PAGE_OVERFLOW | PAGE_EMPTIED);
  int c = parent.curKey, n = parent.keyCount, r = 0, max = t.maxIntKeys;
  int first = (n <= 3 || c <= 1) ? 0 : (c + 1 < n ? c - 1 : n - 3);
  int wn = std::min(3, n - first);
  if (wn < 3) r |= PAGE_HAS_ROOM;
  if (!must && wn == 1) return r;
  std::vector<CdxPage*> win = loadWindow(parent, first, wn, false, kErr);
  int total = 0, largest = 0, smallest = 1 << 30;
  for (CdxPage* p : win) {
    total += p->keyCount;
    largest = std::max(largest, p->keyCount);
    smallest = std::min(smallest, p->keyCount);
  }
  int pages = (total + max - 1) / max;
  int spread = std::max(int(win.size()) - pages, largest - smallest - max / 2 + 1);
  int inParent = int(win.size()), joined = 0;
  if (total > 0 && (spread > 1 || must)) {
    CdxPage* only = win.size() == 1 ? win[0] : nullptr;
    if (only && only->keyCount > max && only->right != kNoPage) {
      CdxPage* sib = pageGet(t, only->right);
      if (sib->isLeaf() || sib->left != only->page) cdxFail(kCdxCorrupt, kErr);
      if (total + sib->keyCount <= 2 * max) {  // the two share the entries; no third page
        win.push_back(sib);
        total += sib->keyCount;
        pages = 2;
        joined = 1;
      }
    } else {
      auto balanced = [&](const CdxPage* p) {
        int lo = std::max(total / std::max(pages, 1), 2), hi = (total + pages - 1) / std::max(pages, 1);
        return p->keyCount >= lo && p->keyCount <= hi;
      };
      while (win.size() > 1 && pages > 1 && balanced(win.back())) {
        total -= win.back()->keyCount;
        --pages;
        win.pop_back();
        --inParent;
      }
      while (win.size() > 1 && pages > 1 && balanced(win.front())) {
        total -= win.front()->keyCount;
        --pages;
        win.erase(win.begin());
        --inParent;
        ++first;
      }
    }
  }
  if (!must && (win.size() <= 1 || spread <= 1)) return r;

  LastEntry before = lastEntryOf(parent);
  const int el = t.keyLen + 8;
  std::vector<uint8_t> entries;
  for (CdxPage* p : win)
    entries.insert(entries.end(), p->image + kPageHeaderLen,
                   p->image + kPageHeaderLen + size_t(p->keyCount) * el);
  total = int(entries.size() / size_t(el));
  pages = (total + max - 1) / max;
  while (int(win.size()) < pages) {
    win.push_back(linkNewAfter(t, win.back(), 0));
    r |= PAGE_HAS_ROOM;
  }
  while (int(win.size()) > pages && int(win.size()) <= inParent) {
    unlinkAndFree(t, win.back());
    pv_cdxPageIntDelKey(parent, first + int(win.size()) - 1);
    win.pop_back();
    --inParent;
    r |= PAGE_HAS_ROOM;
  }
  int done = 0;
  for (int j = 0; j < int(win.size()); ++j) {
    CdxPage* p = win[size_t(j)];
    int take = (total - done + (pages - j) - 1) / (pages - j);
    if (take > max) cdxFail(kCdxCorrupt, "pv_cdxPageKeyIntBalance: iNodeKeys calculated wrong!.");
    std::memcpy(p->image + kPageHeaderLen, entries.data() + size_t(done) * el, size_t(take) * el);
    std::memset(p->image + kPageHeaderLen + size_t(take) * el, 0,
                size_t(CdxPage::kImageLen - kPageHeaderLen) - size_t(take) * el);
    p->keyCount = take;
    p->changed = true;
    done += take;
    // Pages of the window have their parent entries; a joined right sibling keeps its last
    // entry (and its entry in its own parent); new pages get entries after the window.
    if (j < inParent)
      setParentEntry(parent, first + j, *p, false);
    else if (j >= inParent + joined)
      setParentEntry(parent, first + j - joined, *p, true);
  }
  if (lastEntryChanged(parent, before)) r |= PAGE_LASTKEY_CHANGED;
  if (parent.keyCount > max) r |= PAGE_OVERFLOW;
  return r;
}

// ---- Levels and the root -------------------------------------------------------------------

int updateLevel(CdxPage& parent, CdxPage& child, int flags) {
  int r = 0;
  if (flags & PAGE_LASTKEY_CHANGED) {
    if (child.keyCount > 0) {
      setParentEntry(parent, parent.curKey, child, false);
      if (parent.curKey == parent.keyCount - 1) r |= PAGE_LASTKEY_CHANGED;
    } else {
      flags |= PAGE_EMPTIED;
    }
  }
  r |= child.isLeaf() ? pv_cdxPageKeyLeafBalance(parent, flags)
                      : pv_cdxPageKeyIntBalance(parent, flags);
  return r;
}

// The root overflowed: its contents move to a new page, and a new root with one entry for
// it takes the root's offset; balancing the new root then spreads the old contents.
void rootSplit(CdxTag& t) {
  CdxPage* old = t.root;
  uint32_t moved = pv_cdxIndexGetAvailPage(*t.index, false);
  pageRenumber(t, *old, moved);
  old->attr = uint8_t(old->attr & ~kAttrRoot);
  old->changed = true;
  CdxPage* root = pageAdopt(t, t.rootOffset, kAttrRoot);
  t.root = root;
  setParentEntry(*root, 0, *old, true);
  root->curKey = 0;
  int flags = old->isLeaf() ? pv_cdxPageKeyLeafBalance(*root, PAGE_OVERFLOW)
                            : pv_cdxPageKeyIntBalance(*root, PAGE_OVERFLOW);
  if (flags & PAGE_OVERFLOW) rootSplit(t);
}

void finishRoot(CdxTag& t, int flags) {
  CdxPage* root = t.root;
  if (root->isLeaf()) {
    if (root->freeSpace < 0) rootSplit(t);
  } else if (root->keyCount == 0) {
    root->attr = kAttrRoot | kAttrLeaf;
    leafReset(*root);
    root->changed = true;
  } else if ((flags & PAGE_OVERFLOW) || root->keyCount > t.maxIntKeys) {
    rootSplit(t);
  }
}

void propagate(CdxTag& t, int flags) {
  std::vector<CdxPage*> path = t.path;
  for (int d = int(path.size()) - 2; d >= 0; --d)
    flags = updateLevel(*path[size_t(d)], *path[size_t(d) + 1], flags);
  finishRoot(t, flags);
}

void afterChange(CdxTag& t) {
  t.cacheBits = 0;
  t.reposition = true;
  t.path.clear();
}

}  // namespace

bool keyAdd(CdxTag& t, const CdxKey& key) {
  uint8_t k[kMaxKeyLen];
  padKey(t, key, k);
  int r = tagSeek(t, k, t.keyLen, t.unique ? kFindFirst : key.rec);
  if (r == 0) {
    afterChange(t);
    return false;
  }
  int flags = leafAddKey(*t.path.back(), k, key.rec);
  propagate(t, flags);
  afterChange(t);
  t.cur.set(k, t.keyLen, key.rec);  // on the new key; the path is found again when used
  return true;
}

bool keyDelete(CdxTag& t, const CdxKey& key) {
  uint8_t k[kMaxKeyLen];
  padKey(t, key, k);
  int r = tagSeek(t, k, t.keyLen, key.rec);
  CdxPage* leaf = t.path.back();
  if (r != 0 || leaf->curKey >= leaf->keyCount) {
    afterChange(t);
    return false;
  }
  int flags = leafDelKey(*leaf);
  propagate(t, flags);
  afterChange(t);
  t.cur.rec = 0;
  return true;
}

CdxStatus cdxTagKeyAdd(CdxTag& t, const CdxKey& key, bool* added) {
  bool done = false;
  CdxStatus s = cdxGuard([&] { indexUnderWriteLock(*t.index, [&] {
      if (!t.isDirectory()) requireTagsCurrent(*t.index);
      done = keyAdd(t, key);
    }, true); });
  if (added) *added = s.ok() && done;
  return s;
}

CdxStatus cdxTagKeyDelete(CdxTag& t, const CdxKey& key, bool* removed) {
  bool done = false;
  CdxStatus s = cdxGuard([&] { indexUnderWriteLock(*t.index, [&] {
      if (!t.isDirectory()) requireTagsCurrent(*t.index);
      done = keyDelete(t, key);
    }, true); });
  if (removed) *removed = s.ok() && done;
  return s;
}

}  // namespace pv::cdx

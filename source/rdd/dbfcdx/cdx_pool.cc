// The page buffer pool of a tag: buffers are found by offset (a hash index), read and parsed
// on a miss, allocated for new pages, written when changed, trimmed to the most recently
// used idle buffers after each unlock, and discarded when another process changed the file.
#include <algorithm>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

// Released buffers are kept for reuse (their memory only; they hold no page).
constexpr size_t kSpareBuffers = 16;

std::unique_ptr<CdxPage> makeBuffer(CdxTag& t, uint32_t off) {
  std::unique_ptr<CdxPage> p;
  if (t.spare.empty()) {
    p = std::make_unique<CdxPage>();
  } else {
    p = std::move(t.spare.back());
    t.spare.pop_back();
    p->left = p->right = kNoPage;
    p->attr = 0;
    p->keyCount = p->curKey = 0;
    p->changed = p->hasDecoded = false;
    p->decoded.clear();
    p->cacheNext = 0;
  }
  p->tag = &t;
  p->page = off;
  return p;
}

CdxPage* addToPool(CdxTag& t, std::unique_ptr<CdxPage> p) {
  p->poolPos = t.pool.size();
  p->lastUse = ++t.useClock;
  t.poolIndex[p->page] = p.get();
  t.pool.push_back(std::move(p));
  return t.pool.back().get();
}

// Takes buffer i out of the pool (the last one fills its place), keeping its memory.
void dropBuffer(CdxTag& t, size_t i) {
  t.poolIndex.erase(t.pool[i]->page);
  std::unique_ptr<CdxPage> gone = std::move(t.pool[i]);
  if (i + 1 < t.pool.size()) {
    t.pool[i] = std::move(t.pool.back());
    t.pool[i]->poolPos = i;
  }
  t.pool.pop_back();
  if (t.spare.size() < kSpareBuffers) t.spare.push_back(std::move(gone));
}

void dropBuffer(CdxTag& t, const CdxPage* p) {
  if (p->poolPos < t.pool.size() && t.pool[p->poolPos].get() == p) dropBuffer(t, p->poolPos);
}

bool onPath(const CdxTag& t, const CdxPage* p) {
  return p == t.root || std::find(t.path.begin(), t.path.end(), p) != t.path.end();
}

}  // namespace

CdxPage* pagePeek(CdxTag& t, uint32_t off) {
  auto it = t.poolIndex.find(off);
  return it == t.poolIndex.end() ? nullptr : it->second;
}

CdxPage* pageGet(CdxTag& t, uint32_t off) {
  if (CdxPage* p = pagePeek(t, off)) {
    p->lastUse = ++t.useClock;
    return p;
  }
  if (off % kPageSize || off < kHeaderSize || off == kNoPage)
    cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.",
            cdxFormat("\r\nPage=0x%lx", (unsigned long)off));
  auto p = makeBuffer(t, off);
  pv_cdxIndexPageRead(*t.index, off, p->image, kPageSize);
  pageParse(*p);
  return addToPool(t, std::move(p));
}

CdxPage* pageNew(CdxTag& t, uint8_t attr) {
  return pageAdopt(t, pv_cdxIndexGetAvailPage(*t.index, false), attr);
}

CdxPage* pageAdopt(CdxTag& t, uint32_t off, uint8_t attr) {
  if (CdxPage* old = pagePeek(t, off)) dropBuffer(t, old);
  auto p = makeBuffer(t, off);
  std::memset(p->image, 0, sizeof p->image);
  p->attr = attr;
  p->changed = true;
  if (p->isLeaf()) leafReset(*p);
  return addToPool(t, std::move(p));
}

void pageRenumber(CdxTag& t, CdxPage& p, uint32_t off) {
  t.poolIndex.erase(p.page);
  p.page = off;
  t.poolIndex[off] = &p;
}

void pageFree(CdxTag& t, CdxPage* p) {
  pv_cdxIndexPutAvailPage(*t.index, p->page, false);
  std::erase(t.path, p);
  if (t.root == p) t.root = nullptr;
  dropBuffer(t, p);
}

void pageRelease(CdxTag& t, CdxPage* p) {
  if (p->changed) pv_cdxPageStore(*p);
  std::erase(t.path, p);
  if (t.root == p) t.root = nullptr;
  dropBuffer(t, p);
}

void tagLoadRoot(CdxTag& t) {
  if (!t.root) t.root = pageGet(t, t.rootOffset);
}

void tagWriteChanged(CdxTag& t) {
  for (auto& p : t.pool)
    if (p->changed) pv_cdxPageStore(*p);
}

void tagTrimPool(CdxTag& t, size_t keep) {
  // A quarter more than keep may gather before a trim, so that a full pool is not sorted
  // again at every unlock.
  if (t.pool.size() <= keep + keep / 4 + t.path.size() + 1) return;
  std::vector<CdxPage*> idle;
  for (auto& p : t.pool)
    if (!onPath(t, p.get())) idle.push_back(p.get());
  if (idle.size() <= keep) return;
  auto cut = idle.end() - long(keep);
  std::nth_element(idle.begin(), cut, idle.end(),
                   [](const CdxPage* a, const CdxPage* b) { return a->lastUse < b->lastUse; });
  for (auto it = idle.begin(); it != cut; ++it) {
    if ((*it)->changed) pv_cdxPageStore(**it);
    dropBuffer(t, *it);
  }
}

void tagDiscardBuffers(CdxTag& t) {
  t.path.clear();
  t.root = nullptr;
  t.pool.clear();
  t.poolIndex.clear();
  t.reposition = true;
  t.cacheBits = 0;
}

CdxPage* pageChild(CdxPage& parent, int i) {
  if (parent.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageGetChild: index corrupted.");
  return pageGet(*parent.tag, pv_cdxPageGetKeyPage(parent, i));
}

}  // namespace pv::cdx

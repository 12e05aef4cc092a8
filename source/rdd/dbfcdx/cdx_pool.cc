// The page buffer pool of a tag: buffers are found by offset (the most recently requested
// first), read and parsed on a miss, allocated for new pages, written when changed, trimmed
// to a few idle buffers after each unlock, and discarded when another process changed the file.
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

// Takes buffer i out of the pool, keeping its memory for reuse.
void dropBuffer(CdxTag& t, size_t i) {
  if (t.spare.size() < kSpareBuffers) t.spare.push_back(std::move(t.pool[i]));
  t.pool.erase(t.pool.begin() + long(i));
}

void dropBuffer(CdxTag& t, const CdxPage* p) {
  for (size_t i = 0; i < t.pool.size(); ++i)
    if (t.pool[i].get() == p) return dropBuffer(t, i);
}

bool onPath(const CdxTag& t, const CdxPage* p) {
  return p == t.root || std::find(t.path.begin(), t.path.end(), p) != t.path.end();
}

}  // namespace

CdxPage* pagePeek(CdxTag& t, uint32_t off) {
  for (auto& p : t.pool)
    if (p->page == off) return p.get();
  return nullptr;
}

CdxPage* pageGet(CdxTag& t, uint32_t off) {
  for (size_t i = 0; i < t.pool.size(); ++i) {
    if (t.pool[i]->page != off) continue;
    if (i > 0) std::rotate(t.pool.begin(), t.pool.begin() + long(i), t.pool.begin() + long(i) + 1);
    return t.pool.front().get();
  }
  if (off % kPageSize || off < kHeaderSize || off == kNoPage)
    cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.",
            cdxFormat("\r\nPage=0x%lx", (unsigned long)off));
  auto p = makeBuffer(t, off);
  pv_cdxIndexPageRead(*t.index, off, p->image, kPageSize);
  pageParse(*p);
  t.pool.insert(t.pool.begin(), std::move(p));
  return t.pool.front().get();
}

CdxPage* pageNew(CdxTag& t, uint8_t attr) {
  return pageAdopt(t, pv_cdxIndexGetAvailPage(*t.index, false), attr);
}

CdxPage* pageAdopt(CdxTag& t, uint32_t off, uint8_t attr) {
  auto p = makeBuffer(t, off);
  std::memset(p->image, 0, sizeof p->image);
  p->attr = attr;
  p->changed = true;
  if (p->isLeaf()) leafReset(*p);
  t.pool.insert(t.pool.begin(), std::move(p));
  return t.pool.front().get();
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
  size_t idle = 0;
  for (size_t i = 0; i < t.pool.size();) {
    CdxPage* p = t.pool[i].get();
    if (onPath(t, p) || ++idle <= keep) {
      ++i;
      continue;
    }
    if (p->changed) pv_cdxPageStore(*p);
    dropBuffer(t, i);
  }
}

void tagDiscardBuffers(CdxTag& t) {
  t.path.clear();
  t.root = nullptr;
  t.pool.clear();
  t.reposition = true;
  t.cacheBits = 0;
}

CdxPage* pageChild(CdxPage& parent, int i) {
  if (parent.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageGetChild: index corrupted.");
  return pageGet(*parent.tag, pv_cdxPageGetKeyPage(parent, i));
}

}  // namespace pv::cdx

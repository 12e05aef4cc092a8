// The page buffer pool of a tag: buffers are found by offset (the most recently requested
// first), read and parsed on a miss, allocated for new pages, written when changed, trimmed
// to a few idle buffers after each unlock, and discarded when another process changed the file.
#include <algorithm>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

std::unique_ptr<CdxPage> makeBuffer(CdxTag& t, uint32_t off) {
  auto p = std::make_unique<CdxPage>();
  p->tag = &t;
  p->page = off;
  return p;
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
  std::erase_if(t.pool, [p](const std::unique_ptr<CdxPage>& q) { return q.get() == p; });
}

void pageRelease(CdxTag& t, CdxPage* p) {
  if (p->changed) pv_cdxPageStore(*p);
  std::erase(t.path, p);
  if (t.root == p) t.root = nullptr;
  std::erase_if(t.pool, [p](const std::unique_ptr<CdxPage>& q) { return q.get() == p; });
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
    t.pool.erase(t.pool.begin() + long(i));
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

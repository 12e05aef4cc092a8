// Opening, creating and closing CDX files, and adding and removing tags: the directory (a tag
// of tag names whose record numbers are header offsets), the tag list in header order, and
// starting a file anew when its last tag goes.
#include <algorithm>
#include <unordered_set>

#include "cdx_internal.h"
#include "cdx_maint.h"
#include "cdx_nav.h"

namespace pv::cdx {

namespace {

std::unique_ptr<CdxIndex> makeIndex(std::unique_ptr<CdxPageFile> file, const std::string& base,
                                    const CdxOpenOptions& opt) {
  auto x = std::make_unique<CdxIndex>();
  x->name = cdxTagNameNormal(base);
  // No other handle changes a file in exclusive use: its pages may stay in memory.
  x->file = opt.shared ? std::move(file) : std::make_unique<CdxCachedFile>(std::move(file));
  x->shared = opt.shared;
  x->mayReadUnlocked = opt.shared && x->file->readsCurrentWithoutLock();
  x->readOnly = opt.readOnly;
  x->holdKeyChanges = opt.holdKeyChanges;
  x->lockScheme = opt.lockScheme;
  x->resolver = opt.resolver;
  return x;
}

CdxKey dirKey(const CdxTag& t) {
  std::string k = cdxKeyFromChars(t.name, kDirKeyLen);
  return CdxKey(k.data(), kDirKeyLen, t.headerOffset);
}

// A new, empty file: the directory's header at the first free offset (0), its root leaf after.
void startFile(CdxIndex& x) {
  if (!x.file->truncate(0).ok()) cdxFail(kCdxWriteFailed, "Write in index page failed.");
  indexDropPending(x);
  x.tags.clear();
  x.freeHead = 0;
  x.nextAvail = 0;
  CdxTagSpec spec;
  spec.name = x.name;
  spec.keyLen = kDirKeyLen;
  x.directory = tagMake(x, spec);
  x.directory->name = x.name;
  x.directory->options = kOptNewDirectory;
  x.directory->headerOffset = pv_cdxIndexGetAvailPage(x, true);
  pv_cdxTagDoIndex(*x.directory, 0, {});
  x.tagsVerified = true;
}

// The tag name a directory key holds.
std::string dirKeyName(const CdxKey& k) {
  std::string name(reinterpret_cast<const char*>(k.val), k.len);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  return name;
}

// Whether the directory lists exactly the loaded tags, each at its offset with the header it
// was loaded with.
bool listedTagsMatch(CdxIndex& x) {
  CdxTag& d = *x.directory;
  size_t listed = 0;
  CdxStatus s = cdxTagGoTop(d);
  for (; s.ok() && d.cur.rec; s = cdxTagSkip(d, 1), ++listed) {
    CdxTag* t = cdxIndexFindTag(x, dirKeyName(d.cur));
    if (!t || t->headerOffset != d.cur.rec || !tagHeaderMatches(*t)) return false;
  }
  if (!s.ok()) throw CdxFault{s};
  return listed == x.tags.size();
}

}  // namespace

void requireTagsCurrent(CdxIndex& x) {
  if (!x.shared || x.tagsVerified) return;
  x.tagsVerified = listedTagsMatch(x);
  if (!x.tagsVerified)
    cdxFail(kCdxTagsChanged, "Index tags changed by another handle; open the index again.");
}

namespace {

// Orders are numbered in header order, the same for every handle of the file.
void sortByHeader(CdxIndex& x) {
  std::sort(x.tags.begin(), x.tags.end(),
            [](const auto& a, const auto& b) { return a->headerOffset < b->headerOffset; });
}

// Reads the directory and every tag it names.
void loadIndex(CdxIndex& x) {
  uint8_t words[8];
  pv_cdxIndexPageRead(x, kHdrFreeList, words, 8);
  x.freeHead = GetLE32(words);
  x.version = GetBE32(words + 4);
  x.freeHeadSeen = x.freeHead;
  x.directory = tagHeaderRead(x, 0, x.name);
  if (!x.directory || x.directory->keyType != 'C')
    cdxFail(kCdxOpenCorrupt, "Corruption detected", "\r\ninvalid directory header");
  x.directory->options = kOptNewDirectory;
  CdxTag& d = *x.directory;
  std::unordered_set<uint32_t> seen;
  CdxStatus s = cdxTagGoTop(d);
  while (s.ok() && d.cur.rec) {
    std::string name = dirKeyName(d.cur);
    std::unique_ptr<CdxTag> t;
    if (d.cur.rec != 0 && seen.insert(d.cur.rec).second) t = tagHeaderRead(x, d.cur.rec, name);
    if (!t || t->isDirectory())
      cdxFail(kCdxOpenCorrupt, "Corruption detected", "\r\ninvalid tag " + name);
    x.tags.push_back(std::move(t));
    s = cdxTagSkip(d, 1);
  }
  if (!s.ok()) throw CdxFault{s};
  sortByHeader(x);
  x.tagsVerified = true;
}

// Collects the pages of a tag's tree (each once; a loop or a page outside the file ends it).
void collectPages(CdxTag& t, uint32_t off, int depth, std::vector<uint32_t>& out,
                  std::unordered_set<uint32_t>& seen) {
  if (depth >= kMaxDepth || !seen.insert(off).second) return;
  out.push_back(off);
  CdxPage* p = pageGet(t, off);
  if (p->isLeaf()) return;
  std::vector<uint32_t> kids;
  for (int i = 0; i < p->keyCount; ++i) kids.push_back(pv_cdxPageGetKeyPage(*p, i));
  for (uint32_t k : kids) collectPages(t, k, depth + 1, out, seen);
}

void deleteTagRaw(CdxIndex& x, size_t i) {
  CdxTag& t = *x.tags[i];
  keyDelete(*x.directory, dirKey(t));
  std::vector<uint32_t> pages;
  std::unordered_set<uint32_t> seen;
  collectPages(t, t.rootOffset, 0, pages, seen);
  tagDiscardBuffers(t);
  for (uint32_t p : pages) pv_cdxIndexPutAvailPage(x, p, false);
  pv_cdxIndexPutAvailPage(x, t.headerOffset, true);
  x.tags.erase(x.tags.begin() + long(i));
}

// Writes what key upkeep left in the buffers of a file in exclusive use.
CdxStatus writeKept(CdxIndex& x) {
  if (!indexHoldsChanges(x)) return {};
  return cdxGuard([&] {
    indexWriteAll(x);
    x.changed = false;
  });
}

template <class Fn>
CdxStatus underWriteLock(CdxIndex& x, Fn&& fn) {
  return cdxGuard([&] { indexUnderWriteLock(x, fn); });
}

}  // namespace

CdxStatus cdxIndexOpen(std::unique_ptr<CdxPageFile> file, const std::string& baseName,
                       const CdxOpenOptions& opt, std::unique_ptr<CdxIndex>& out) {
  if (file->size() <= kHeaderSize)
    return CdxStatus::Error(kCdxOpenCorrupt, "Corruption detected", "\r\nindex file too short");
  auto x = makeIndex(std::move(file), baseName, opt);
  CdxStatus s = cdxGuard([&] { indexUnderReadLock(*x, [&] { loadIndex(*x); }); });
  if (s.ok()) out = std::move(x);
  return s;
}

CdxStatus cdxIndexCreate(std::unique_ptr<CdxPageFile> file, const std::string& baseName,
                         const CdxOpenOptions& opt, std::unique_ptr<CdxIndex>& out) {
  auto x = makeIndex(std::move(file), baseName, opt);
  x->directory = std::make_unique<CdxTag>();  // placeholder until the file is started
  x->directory->index = x.get();
  CdxStatus s = underWriteLock(*x, [&] { startFile(*x); });
  if (s.ok()) out = std::move(x);
  return s;
}

CdxTag* cdxIndexFindTag(CdxIndex& x, const std::string& name) {
  std::string n = cdxTagNameNormal(name);
  for (auto& t : x.tags)
    if (t->name == n) return t.get();
  return nullptr;
}

CdxStatus cdxIndexAddTag(CdxIndex& x, const CdxTagSpec& spec, uint32_t recCount,
                         const CdxKeyFn& keyOf, CdxTag** tagOut) {
  if (!cdxKeyLengthFits(spec.key.type, spec.keyLen, spec.key.nullFlag) || cdxTagNameNormal(spec.name).empty())
    return CdxStatus::Error(kCdxBadArgument, "invalid tag definition");
  CdxTag* made = nullptr;
  CdxStatus s = underWriteLock(x, [&] {
    requireTagsCurrent(x);
    std::string name = cdxTagNameNormal(spec.name);
    for (size_t i = 0; i < x.tags.size(); ++i)
      if (x.tags[i]->name == name) {
        deleteTagRaw(x, i);
        if (x.tags.empty()) startFile(x);
        break;
      }
    auto t = tagMake(x, spec);
    t->headerOffset = pv_cdxIndexGetAvailPage(x, true);
    pv_cdxTagDoIndex(*t, spec.custom ? 0 : recCount, keyOf);
    made = t.get();
    x.tags.push_back(std::move(t));
    sortByHeader(x);
    keyAdd(*x.directory, dirKey(*made));
  });
  if (tagOut) *tagOut = s.ok() ? made : nullptr;
  return s;
}

CdxStatus cdxIndexDeleteTag(CdxIndex& x, const std::string& name, bool* found) {
  bool hit = false;
  CdxStatus s = underWriteLock(x, [&] {
    requireTagsCurrent(x);
    std::string n = cdxTagNameNormal(name);
    for (size_t i = 0; i < x.tags.size(); ++i)
      if (x.tags[i]->name == n) {
        deleteTagRaw(x, i);
        hit = true;
        return;
      }
  });
  if (found) *found = s.ok() && hit;
  return s;
}

CdxStatus cdxIndexTagsCurrent(CdxIndex& x, bool& current) {
  current = true;
  if (!x.shared) return {};
  return cdxGuard([&] {
    indexUnderReadLock(x, [&] {
      if (!x.tagsVerified) x.tagsVerified = current = listedTagsMatch(x);
    });
  });
}

CdxStatus cdxIndexClose(std::unique_ptr<CdxIndex>& x) {
  if (!x) return {};
  if (x->readLocks || x->writeLocks)
    return CdxStatus::Error(kCdxStillLocked, "pv_cdxIndexFree: index file still locked.");
  CdxStatus s = writeKept(*x);
  x.reset();
  return s;
}

CdxStatus cdxIndexFlush(CdxIndex& x) {
  CdxStatus s = writeKept(x);
  if (!s.ok() || !x.flushNeeded) return s;
  x.flushNeeded = false;
  return x.file->sync();
}

}  // namespace pv::cdx

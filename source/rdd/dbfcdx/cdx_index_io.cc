// Index file input and output: page reads and writes with their lock checks, the free list
// (pages taken and returned, pending frees written at unlock), the change check through the
// version word, and the counted read and write locks at the lock scheme's place.
#include <random>
#include <unordered_map>
#include <unordered_set>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

uint32_t roundUpPage(uint64_t size) {
  uint64_t r = (size + kPageSize - 1) / kPageSize * kPageSize;
  return r >= kNoPage ? kNoPage - kPageSize + 1 : uint32_t(r);
}

void requireWritable(CdxIndex& x, const char* fn) {
  if (x.readOnly) cdxFail(kCdxReadOnly, std::string(fn) + " on readonly database.");
}

void takeFileLock(CdxIndex& x, bool exclusive) {
  CdxLockPlace place{};
  if (!cdxLockPlace(x.lockScheme, place))
    cdxFail(kCdxLockRefused, "Lock Failure: the lock scheme has no index lock place");
  uint64_t off = place.offset, len = 1;
  if (place.pool && exclusive) {
    len = uint64_t(place.pool) + 1;
  } else if (place.pool) {
    static std::minstd_rand rng{std::random_device{}()};
    off += 1 + rng() % place.pool;
  }
  CdxStatus s = x.file->lock(off, len, !exclusive, true);
  if (!s.ok()) cdxFail(kCdxLockRefused, "Lock Failure", s.text);
  x.lockPos = off;
}

void releaseFileLock(CdxIndex& x, bool exclusive, const char* fn) {
  CdxLockPlace place{};
  cdxLockPlace(x.lockScheme, place);
  uint64_t len = (place.pool && exclusive) ? uint64_t(place.pool) + 1 : 1;
  CdxStatus s = x.file->unlock(x.lockPos, len);
  if (!s.ok()) cdxFail(kCdxUnlockError, std::string(fn) + ": unlock error.");
}

void writeHeaderWords(CdxIndex& x, bool withVersion) {
  uint8_t b[8];
  PutLE32(b, x.freeHead);
  PutBE32(b + 4, x.version);
  CdxStatus s = x.file->write(kHdrFreeList, b, withVersion ? 8 : 4);
  if (!s.ok())
    cdxFail(kCdxWriteFailed, withVersion ? "Write in index page failed (ver)"
                                         : "Write in index page failed (ver.ex)");
}

// Idle page buffers kept per tag: a few, or many (some 30 MB) in exclusive use, where no other
// handle changes the file: a large table's seeks then mostly find decoded leaves.
constexpr size_t kIdlePages = 8;
constexpr size_t kIdlePagesExclusive = 8192;

void trimAllPools(CdxIndex& x, size_t keep) {
  if (x.directory) tagTrimPool(*x.directory, keep);
  for (auto& t : x.tags) tagTrimPool(*t, keep);
}

}  // namespace

// ---- Pages ---------------------------------------------------------------------------------

void pv_cdxIndexPageRead(CdxIndex& x, uint32_t off, void* buf, size_t len) {
  if (x.shared && x.readLocks == 0 && x.writeLocks == 0)
    cdxFail(kCdxReadNotLocked, "pv_cdxIndexPageRead on not locked index file.");
  if (x.readingUnlocked) cdxFail(kCdxNeedsLock, "pv_cdxIndexPageRead: page not held.");
  if (!x.file->read(off, buf, len).ok())
    cdxFail(kCdxReadFailed, "pv_cdxIndexPageRead: Read index page failed.",
            cdxFormat("\r\nPage=0x%lx", (unsigned long)off));
}

void pv_cdxIndexPageWrite(CdxIndex& x, uint32_t off, const void* buf, size_t len) {
  requireWritable(x, "pv_cdxIndexPageWrite");
  if (x.shared && x.writeLocks == 0)
    cdxFail(kCdxNotLocked, "pv_cdxIndexPageWrite on not locked index file.");
  if (!x.file->write(off, buf, len).ok()) cdxFail(kCdxWriteFailed, "Write in index page failed.");
  x.changed = true;
}

// ---- Free pages ----------------------------------------------------------------------------

namespace {

// The entry of a page freed since the last flush, or null.
CdxIndex::PendingFree* pendingEntry(CdxIndex& x, uint32_t page) {
  for (auto it = x.pending.rbegin(); it != x.pending.rend(); ++it)
    if (it->page == page) return &*it;
  return nullptr;
}

// The page after free page h: from the pending list, else from the page itself.
uint32_t freeNext(CdxIndex& x, uint32_t h) {
  if (const auto* e = pendingEntry(x, h)) return e->next;
  if (h % kPageSize || h < kHeaderSize || uint64_t(h) + kPageSize > x.file->size())
    cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.",
            cdxFormat("\r\nfree list page=%lx", (unsigned long)h));
  uint8_t b[4];
  if (!x.file->read(h, b, 4).ok())
    cdxFail(kCdxReadFailed, "pv_cdxIndexGetAvailPage: Read index page failed.");
  return GetLE32(b);
}

// Links free page `page` to `next`; written at the next flush.
void setFreeNext(CdxIndex& x, uint32_t page, uint32_t next) {
  if (auto* e = pendingEntry(x, page)) *e = {page, next, false};
  else x.pending.push_back({page, next, false});
}

// A page taken off the free list is no longer written as a free page.
void forgetPending(CdxIndex& x, uint32_t page) {
  if (!x.pending.empty() && x.pending.back().page == page) return x.pending.pop_back();
  std::erase_if(x.pending, [page](const CdxIndex::PendingFree& e) { return e.page == page; });
}

// Takes the lowest two adjacent free pages off the list (for a tag header); kNoPage when the
// list holds no such pair. The pages before them on the list are linked past them.
uint32_t takeFreePair(CdxIndex& x) {
  std::vector<uint32_t> chain = cdxFreeListPages(x);
  std::unordered_set<uint32_t> isFree(chain.begin(), chain.end());
  uint32_t pair = kNoPage;
  for (uint32_t p : chain)
    if (p < pair && isFree.count(p + kPageSize)) pair = p;
  if (pair == kNoPage) return kNoPage;
  std::vector<uint32_t> rest;
  std::unordered_map<uint32_t, uint32_t> oldNext;
  for (size_t i = 0; i < chain.size(); ++i) {
    oldNext[chain[i]] = i + 1 < chain.size() ? chain[i + 1] : 0;
    if (chain[i] != pair && chain[i] != pair + kPageSize) rest.push_back(chain[i]);
  }
  for (size_t i = 0; i < rest.size(); ++i) {
    uint32_t next = i + 1 < rest.size() ? rest[i + 1] : 0;
    if (oldNext[rest[i]] != next) setFreeNext(x, rest[i], next);
  }
  x.freeHead = rest.empty() ? 0 : rest.front();
  forgetPending(x, pair);
  forgetPending(x, pair + kPageSize);
  return pair;
}

// One page (or a header's two) from the end of the file.
uint32_t takeFromEnd(CdxIndex& x, bool header) {
  if (x.nextAvail == kNoPage) x.nextAvail = roundUpPage(x.file->size());
  uint32_t off = x.nextAvail;
  uint32_t step = header ? kHeaderSize : kPageSize;
  if (off > kNoPage - step) cdxFail(kCdxWriteFailed, "Write in index page failed.(1)");
  x.nextAvail = off + step;
  if (header) {
    static const uint8_t zeros[kHeaderSize] = {};
    if (!x.file->write(off, zeros, kHeaderSize).ok())
      cdxFail(kCdxWriteFailed, "Write in index page failed.(2)");
    x.changed = true;
  }
  return off;
}

}  // namespace

uint64_t indexPageSpan(CdxIndex& x) {
  uint64_t end = x.file->size();
  if (x.nextAvail != kNoPage) end = std::max<uint64_t>(end, x.nextAvail);
  return end / kPageSize;
}

std::vector<uint32_t> cdxFreeListPages(CdxIndex& x) {
  std::vector<uint32_t> chain;
  std::unordered_set<uint32_t> seen;
  for (uint32_t h = x.freeHead; h != 0 && h != kNoPage; h = freeNext(x, h)) {
    if (!seen.insert(h).second)
      cdxFail(kCdxCorrupt, "pv_cdxErrInternal: data integrity error.",
              cdxFormat("\r\nfree list loops at page=%lx", (unsigned long)h));
    chain.push_back(h);
  }
  return chain;
}

uint32_t pv_cdxIndexGetAvailPage(CdxIndex& x, bool header) {
  requireWritable(x, "pv_cdxIndexGetAvailPage");
  if (x.writeLocks == 0)
    cdxFail(kCdxNotLocked, "pv_cdxIndexGetAvailPage on not locked index file.");
  bool listEmpty = x.freeHead == 0 || x.freeHead == kNoPage;
  if (header) {
    uint32_t pair = listEmpty ? kNoPage : takeFreePair(x);
    return pair != kNoPage ? pair : takeFromEnd(x, true);
  }
  if (listEmpty) return takeFromEnd(x, false);
  uint32_t h = x.freeHead;
  x.freeHead = freeNext(x, h);
  forgetPending(x, h);
  return h;
}

void pv_cdxIndexPutAvailPage(CdxIndex& x, uint32_t off, bool header) {
  requireWritable(x, "pv_cdxIndexPutAvailPage");
  if (x.writeLocks == 0)
    cdxFail(kCdxNotLocked, "pv_cdxIndexPutAvailPage on not locked index file.");
  for (int i = 0; i < (header ? 2 : 1); ++i) {
    uint32_t page = off + uint32_t(i) * kPageSize;
    x.pending.push_back({page, x.freeHead, false});
    x.freeHead = page;
  }
}

void indexFlushPending(CdxIndex& x) {
  uint8_t b[kPageSize] = {};
  for (auto it = x.pending.rbegin(); it != x.pending.rend(); ++it) {
    if (it->written) continue;
    PutLE32(b, it->next);
    pv_cdxIndexPageWrite(x, it->page, b, kPageSize);
    it->written = true;
  }
  x.pending.clear();
}

void indexDropPending(CdxIndex& x) { x.pending.clear(); }

// ---- Change detection ----------------------------------------------------------------------

void indexDiscardBuffers(CdxIndex& x) {
  if (x.directory) tagDiscardBuffers(*x.directory);
  for (auto& t : x.tags) tagDiscardBuffers(*t);
}

void indexWriteChanged(CdxIndex& x) {
  auto one = [](CdxTag& t) {
    tagWriteChanged(t);
    if (t.headerChanged) tagHeaderWrite(t);
  };
  if (x.directory) one(*x.directory);
  for (auto& t : x.tags) one(*t);
}

void indexWriteAll(CdxIndex& x) {
  indexWriteChanged(x);
  indexFlushPending(x);
  if (!x.shared && x.freeHead != x.freeHeadSeen) {
    writeHeaderWords(x, false);
    x.freeHeadSeen = x.freeHead;
  }
  if (x.changed) x.flushNeeded = true;
}

void pv_cdxIndexCheckVersion(CdxIndex& x) {
  uint8_t b[8] = {};
  if (!x.file->read(kHdrFreeList, b, 8).ok() && !(x.writeLocks > 0 && x.file->size() == 0))
    cdxFail(kCdxVersionRead, "pv_cdxIndexCheckVersion: Read error on index heading page.");
  uint32_t head = GetLE32(b), ver = GetBE32(b + 4);
  if (!x.shared) {
    x.freeHeadSeen = x.freeHead;
    return;
  }
  if (head == x.freeHead && ver == x.version) return;
  x.freeHead = head;
  x.version = ver;
  x.nextAvail = kNoPage;
  x.tagsVerified = false;
  indexDiscardBuffers(x);
  indexDropPending(x);
}

// ---- Locks ---------------------------------------------------------------------------------

void lockReadRaw(CdxIndex& x) {
  if (x.readLocks > 0 || x.writeLocks > 0 || !x.shared) {
    ++x.readLocks;
    return;
  }
  if (x.readLocked) cdxFail(kCdxLockFailure, "pv_cdxIndexLockRead: lock failure (*)");
  takeFileLock(x, false);
  x.readLocked = true;
  ++x.readLocks;
  try {
    pv_cdxIndexCheckVersion(x);
  } catch (const CdxFault&) {
    x.readLocked = false;
    --x.readLocks;
    releaseFileLock(x, false, "pv_cdxIndexLockRead");
    throw;
  }
}

void unlockReadRaw(CdxIndex& x) {
  if (x.readLocks <= 0) cdxFail(kCdxUnlockCount, "pv_cdxIndexUnLockRead: bad count of locks.");
  --x.readLocks;
  if (x.readLocks > 0 || x.writeLocks > 0) return;
  trimAllPools(x, x.shared ? kIdlePages : kIdlePagesExclusive);
  if (x.readingUnlocked) {
    x.readingUnlocked = false;
  } else if (x.shared) {
    if (!x.readLocked) cdxFail(kCdxUnlockError, "pv_cdxIndexUnLockRead: unlock error (*)");
    x.readLocked = false;
    releaseFileLock(x, false, "pv_cdxIndexUnLockRead");
  }
}

void readUnlockedRaw(CdxIndex& x, bool& started) {
  started = false;
  if (!x.mayReadUnlocked || x.readLocks > 0 || x.writeLocks > 0 || !x.pending.empty()) return;
  uint8_t b[8];
  if (!x.file->read(kHdrFreeList, b, 8).ok()) return;
  if (GetLE32(b) != x.freeHead || GetBE32(b + 4) != x.version || !x.tagsVerified) return;
  x.readingUnlocked = started = true;
  ++x.readLocks;
}

void lockWriteRaw(CdxIndex& x) {
  if (x.readOnly) cdxFail(kCdxReadOnly, "pv_cdxIndexLockWrite: readonly index.");
  if (x.readLocks > 0) cdxFail(kCdxLockCount, "pv_cdxIndexLockWrite: writeLock after readLock.");
  if (x.writeLocks > 0) {
    ++x.writeLocks;
    return;
  }
  if (x.writeLocks < 0) cdxFail(kCdxLockCount, "pv_cdxIndexLockWrite: bad count of locks.");
  if (x.shared) {
    if (x.writeLocked) cdxFail(kCdxLockFailure, "pv_cdxIndexLockWrite: lock failure (*)");
    takeFileLock(x, true);
    x.writeLocked = true;
  }
  ++x.writeLocks;
  try {
    if (x.shared || x.nextAvail == kNoPage) pv_cdxIndexCheckVersion(x);
  } catch (const CdxFault&) {
    --x.writeLocks;
    if (x.shared) {
      x.writeLocked = false;
      releaseFileLock(x, true, "pv_cdxIndexLockWrite");
    }
    throw;
  }
}

void unlockWriteRaw(CdxIndex& x) {
  if (x.writeLocks > 1) {
    --x.writeLocks;
    return;
  }
  if (x.writeLocks <= 0) cdxFail(kCdxUnlockCount, "pv_cdxIndexUnLockWrite: bad count of locks.");
  if (x.readLocks > 0)
    cdxFail(kCdxLockCount, "pv_cdxIndexUnLockWrite: writeUnLock before readUnLock.");
  // Whatever happens while writing, the lock is released and the count drops.
  struct Release {
    CdxIndex& x;
    ~Release() {
      x.writeLocks = 0;
      if (x.shared && x.writeLocked) {
        x.writeLocked = false;
        CdxLockPlace place{};
        cdxLockPlace(x.lockScheme, place);
        x.file->unlock(x.lockPos, place.pool ? uint64_t(place.pool) + 1 : 1);
      }
      x.changed = false;
    }
  } release{x};
  if (indexHoldsChanges(x)) {
    // The changes stay in the buffers (written at flush, close, before another kind of
    // change, or when the pool trim lets a changed page go).
    trimAllPools(x, kIdlePagesExclusive);
    if (x.changed) x.flushNeeded = true;
    return;
  }
  if (!x.shared) {
    indexWriteAll(x);
    trimAllPools(x, kIdlePages);
    return;
  }
  indexWriteChanged(x);
  indexFlushPending(x);
  trimAllPools(x, kIdlePages);
  if (x.changed) {
    ++x.version;
    writeHeaderWords(x, true);
    x.flushNeeded = true;
  }
}

// After a failed change nothing of it stays in memory: buffers and pending frees are
// dropped, and the free-list head is read again from the file.
void indexForgetChanges(CdxIndex& x) {
  indexDiscardBuffers(x);
  indexDropPending(x);
  uint8_t b[4];
  if (x.file->read(kHdrFreeList, b, 4).ok()) x.freeHead = GetLE32(b);
  x.freeHeadSeen = x.freeHead;
  x.nextAvail = kNoPage;
}

void indexUnderReadLock(CdxIndex& x, const std::function<void()>& fn) {
  lockReadRaw(x);
  try {
    fn();
  } catch (const CdxFault&) {
    try {
      unlockReadRaw(x);
    } catch (const CdxFault&) {
    }
    throw;
  }
  unlockReadRaw(x);
}

void indexUnderWriteLock(CdxIndex& x, const std::function<void()>& fn, bool keepChanges) {
  lockWriteRaw(x);
  bool inFn = true;
  try {
    fn();
    if (!keepChanges && indexHoldsChanges(x)) indexWriteAll(x);
    inFn = false;
    unlockWriteRaw(x);
  } catch (const CdxFault&) {
    indexForgetChanges(x);
    if (inFn) {
      try {
        unlockWriteRaw(x);
      } catch (const CdxFault&) {
      }
    }
    throw;
  }
}

// ---- Public lock entry points --------------------------------------------------------------

CdxStatus cdxIndexReadUnlocked(CdxIndex& x, bool& started) {
  return cdxGuard([&] { readUnlockedRaw(x, started); });
}
CdxStatus pv_cdxIndexLockRead(CdxIndex& x) { return cdxGuard([&] { lockReadRaw(x); }); }
CdxStatus pv_cdxIndexUnLockRead(CdxIndex& x) { return cdxGuard([&] { unlockReadRaw(x); }); }
CdxStatus pv_cdxIndexLockWrite(CdxIndex& x) { return cdxGuard([&] { lockWriteRaw(x); }); }
CdxStatus pv_cdxIndexUnLockWrite(CdxIndex& x) {
  return cdxGuard([&] {
    try {
      unlockWriteRaw(x);
    } catch (const CdxFault& f) {
      if (f.status.code != kCdxUnlockCount && f.status.code != kCdxLockCount) indexForgetChanges(x);
      throw;
    }
  });
}

}  // namespace pv::cdx

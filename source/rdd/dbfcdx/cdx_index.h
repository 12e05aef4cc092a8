// The records of an open CDX file (CdxIndex), its tags (CdxTag), page buffers (CdxPage) and
// keys (CdxKey), and the public operations of the index engine: open, create, add and delete
// tags, lock, flush, close. Navigation is in cdx_nav.h, key maintenance in cdx_maint.h.
//
// The engine works over raw keys: byte strings of the tag's key length plus a record number.
// The caller turns record values into keys (cdx_key_codec.h) and tells the engine the key type
// of each tag it opens (CdxKeyResolver), since that needs the table.
//
// LOCK STATES of one index file (counted; nested calls only count):
//
//   unlocked --lockRead--> read-locked --unlockRead(last)--> unlocked
//   unlocked --lockWrite--> write-locked --unlockWrite(last)--> unlocked
//   unlocked --cdxIndexReadUnlocked--> read-locked without the file lock (held pages only)
//   Taking the file lock of a shared file runs the change check: a different free-list head
//   or version word in the directory header discards every cached page of every tag.
//   On a shared file the last write unlock writes changed pages and headers and the pending
//   free pages, and increments the version word; so does every write unlock of an exclusive
//   file, unless it holds key changes (CdxOpenOptions): then key upkeep leaves its
//   changes in the page buffers: they are written by cdxIndexFlush and cdxIndexClose, before
//   the unlock of any other change (tags added or deleted, repairs), and page by page when
//   the pool trim lets a changed buffer go. Every unlock trims each tag's pool to its most
//   recently used idle pages: 8 on a shared file, up to 8192 in exclusive use.
//   A write lock is refused while a read lock is held.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cdx_format.h"
#include "cdx_key_codec.h"
#include "cdx_page_file.h"
#include "cdx_status.h"

namespace pv::cdx {

struct CdxTag;
struct CdxIndex;

// A key value: bytes (zero-terminated copy), length, record number (0 = no key).
struct CdxKey {
  uint8_t val[kMaxKeyLen + 1] = {};
  uint16_t len = 0;
  uint32_t rec = 0;

  CdxKey() = default;
  CdxKey(const void* bytes, int n, uint32_t r) { set(bytes, n, r); }
  void set(const void* bytes, int n, uint32_t r);
  std::string bytes() const { return std::string(reinterpret_cast<const char*>(val), len); }
};

// Record rules of a tree search.
inline constexpr uint32_t kFindFirst = 0;           // the first key >= the value
inline constexpr uint32_t kFindLast = 0xFFFFFFFFu;  // the last key <= the value

// A page buffer: one page of a tag's tree, parsed, with its decode cache.
struct CdxPage {
  static constexpr int kImageLen = kPageSize + 4 * (kMaxKeyLen + 8);  // room for overflow

  uint32_t page = 0;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  uint8_t attr = 0;
  int keyCount = 0;
  int curKey = 0;
  bool changed = false;
  // Leaf widths.
  uint32_t recMask = 0;
  int entrySize = 0;
  int recBits = 0, dupBits = 0, trlBits = 0;
  uint8_t dupMask = 0, trlMask = 0;
  int freeSpace = 0;
  uint8_t image[kImageLen] = {};
  // One-key decode cache: keys 0..cacheNext-1 were walked; cacheKey holds key cacheNext-1.
  int cacheNext = 0;
  int cacheDataPos = kPageSize;
  int cachePrevLen = 0;
  uint8_t cacheKey[kMaxKeyLen] = {};
  // Decoded-key array (leaf editing): per key, key bytes, record (4, LE), dup (1), trl (1).
  std::vector<uint8_t> decoded;
  bool hasDecoded = false;
  CdxTag* tag = nullptr;
  // Pool bookkeeping: position in the tag's pool, last use.
  size_t poolPos = 0;
  uint64_t lastUse = 0;

  bool isLeaf() const { return attr & kAttrLeaf; }
  bool isRoot() const { return attr & kAttrRoot; }
};

// What the table side knows about a tag's key: its type ('C', 'N', 'D', 'L', or 'I' for the
// 4-byte integer keys of Visual FoxPro files), whether it starts with a null-flag byte, and
// the collation of a character key (null: compare bytes).
// When a file is loaded, temporary and custom come in as the header's bits 0x02 and 0x04; the
// resolver may clear them for files whose writer gives those bits another meaning.
struct CdxKeyInfo {
  char type = 'C';
  bool nullFlag = false;
  const CdxCollation* collation = nullptr;
  bool temporary = false;
  bool custom = false;
};

// Called for each tag when a file is loaded. Returns false when the key or FOR expression
// cannot be used (the tag is invalid and the file does not open).
using CdxKeyResolver = std::function<bool(const std::string& tagName, const std::string& keyExpr,
                                          const std::string& forExpr, int keyLen,
                                          CdxKeyInfo& info)>;

// Position cache bits.
inline constexpr unsigned kCacheRawCount = 0x40;
inline constexpr unsigned kCacheRawPos = 0x80;

struct CdxTag {
  std::string name;       // upper case, at most 10 characters
  std::string keyExpr;
  std::string forExpr;
  char keyType = 'C';
  bool nullFlag = false;
  int keyLen = 0;
  uint8_t fill = kFillChar;
  uint8_t options = kOptNewTag;
  uint8_t keepBits = 0;  // option bits 1..2 kept as read (another writer's meaning)
  bool ascending = true;
  bool unique = false;
  bool temporary = false;
  bool custom = false;
  bool userAscending = true;
  bool userUnique = false;
  bool headerChanged = false;
  bool topOfOrder = false;
  bool endOfOrder = false;
  bool reposition = false;
  unsigned cacheBits = 0;
  uint32_t rawCount = 0;
  uint32_t rawPos = 0;
  uint32_t rawPosRec = 0;
  uint32_t headerOffset = 0;
  uint32_t rootOffset = 0;
  int maxIntKeys = 0;
  const CdxCollation* collation = nullptr;
  CdxIndex* index = nullptr;
  CdxPage* root = nullptr;
  std::vector<CdxPage*> path;  // root .. leaf of the cursor
  CdxKey cur;                  // current key; rec 0 = none
  // Scopes, as prefix keys: top (index 0) and bottom (index 1) in walking order.
  bool hasScope[2] = {false, false};
  CdxKey scope[2];
  // Page buffer pool (any order), found by page offset; useClock orders the uses.
  std::vector<std::unique_ptr<CdxPage>> pool;
  std::unordered_map<uint32_t, CdxPage*> poolIndex;
  uint64_t useClock = 0;
  std::vector<std::unique_ptr<CdxPage>> spare;  // released buffers kept for reuse

  bool isDirectory() const { return options & kOptDirectory; }
};

struct CdxOpenOptions {
  bool shared = false;
  bool readOnly = false;
  int lockScheme = 3;
  CdxKeyResolver resolver;  // null: every tag is a character tag compared by bytes
  // Exclusive use: key upkeep keeps its changes in the page buffers until cdxIndexFlush or
  // cdxIndexClose (see LOCK STATES); otherwise every write unlock writes them.
  bool holdKeyChanges = false;
};

// Settings of a tag to be created.
struct CdxTagSpec {
  std::string name;
  std::string keyExpr;
  std::string forExpr;
  CdxKeyInfo key;
  int keyLen = 0;
  bool unique = false;
  bool descending = false;
  bool custom = false;
  bool temporary = false;
};

// Gives the key of record rec (1..count) in out, or returns false when the record has no key
// in the tag (its FOR condition is false). out.len must equal the tag's key length or less
// (shorter keys are padded with the fill character).
using CdxKeyFn = std::function<bool(uint32_t rec, CdxKey& out)>;

struct CdxIndex {
  struct PendingFree {
    uint32_t page;
    uint32_t next;
    bool written;
  };

  std::string name;  // base name, upper case, at most 10 characters
  std::unique_ptr<CdxPageFile> file;
  std::unique_ptr<CdxTag> directory;
  std::vector<std::unique_ptr<CdxTag>> tags;  // in header order; order numbers follow it
  bool shared = false;
  bool readOnly = false;
  bool holdKeyChanges = false;  // exclusive use only
  int lockScheme = 3;
  CdxKeyResolver resolver;
  uint32_t nextAvail = kNoPage;  // next never-used offset; kNoPage until taken from the size
  uint32_t freeHead = 0;
  std::vector<PendingFree> pending;  // most recent last
  int writeLocks = 0;
  int readLocks = 0;
  uint64_t lockPos = 0;
  bool writeLocked = false;
  bool readLocked = false;
  bool changed = false;
  uint32_t version = 0;
  uint32_t freeHeadSeen = 0;
  bool flushNeeded = false;
  bool tagsVerified = false;  // the loaded tags matched the directory since the last change seen
  bool mayReadUnlocked = false;  // shared, on a file system where that is sound
  bool readingUnlocked = false;  // the counted read lock is a read without the lock
};

// Opens an existing CDX file: loads the directory and every tag. A file of 1024 bytes or less,
// or one with an invalid tag, gives kCdxOpenCorrupt.
CdxStatus cdxIndexOpen(std::unique_ptr<CdxPageFile> file, const std::string& baseName,
                       const CdxOpenOptions& opt, std::unique_ptr<CdxIndex>& out);
// Starts a new, empty CDX file (the file is truncated): directory header at 0, its root leaf
// at 1024. Written at once.
CdxStatus cdxIndexCreate(std::unique_ptr<CdxPageFile> file, const std::string& baseName,
                         const CdxOpenOptions& opt, std::unique_ptr<CdxIndex>& out);
// Creates a tag, replacing one of the same name, and fills it from records 1..recCount
// through keyOf (external merge sort, bottom-up build with full pages). A file left without
// tags by the replacement is started anew. tagOut (may be null) receives the new tag.
CdxStatus cdxIndexAddTag(CdxIndex& index, const CdxTagSpec& spec, uint32_t recCount,
                         const CdxKeyFn& keyOf, CdxTag** tagOut = nullptr);
// Removes a tag by name: its header and tree pages return to the free list (another handle of a
// shared file notices the change through the directory before it uses its tags again).
// Returns false in found when no such tag exists.
CdxStatus cdxIndexDeleteTag(CdxIndex& index, const std::string& name, bool* found = nullptr);
// Whether the directory of a shared file still lists exactly the loaded tags, each with the
// header (settings and root) it was loaded with; always true for an exclusive file. Checked
// under the read lock, and read from the file only after another handle changed it.
CdxStatus cdxIndexTagsCurrent(CdxIndex& index, bool& current);
// Finds a tag by name (case-insensitive, 10 characters significant); null when none.
CdxTag* cdxIndexFindTag(CdxIndex& index, const std::string& name);
// Whether a key of this type ('C', 'N', 'D', 'L', 'I') may have this length (with the
// null-flag byte when nullFlag): character 1..240, numeric and date 8, logical 1, integer 4.
bool cdxKeyLengthFits(char type, int keyLen, bool nullFlag);
// A tag name as stored: trimmed, upper case, at most 10 characters.
std::string cdxTagNameNormal(const std::string& name);
// Closes the file, writing the changes kept in memory first: refused (kCdxStillLocked) while
// a lock is counted. The handle is gone even when that last write fails.
CdxStatus cdxIndexClose(std::unique_ptr<CdxIndex>& index);
// Writes the changes kept in memory, then commits the file to disk when something was
// written since the last commit. A failed write keeps the changes for the next try.
CdxStatus cdxIndexFlush(CdxIndex& index);

// A read of a shared file without its lock, counted as a read lock and ended by
// pv_cdxIndexUnLockRead: started (started true) only when the change words (free-list head
// and version) read without the lock equal those the pages in memory were read under, on a
// local file system, with no lock counted.
//
// Why that is sound: a writer writes its pages while it holds the write lock and changes the
// version word before it releases it; its change counts as made only then. Equal words thus
// mean that no change was finished before this read began (a finished write is seen by every
// later read of a local file), so the pages in memory are the file as it is, or as it was
// before a change still being written, which is what a reader taking the lock just before
// that writer would see. A torn read of the words differs from those held and takes the
// lock. Pages not in memory may be half written: reading one from the file fails with
// kCdxNeedsLock, and the caller restores its cursor (cdxTagMark/cdxTagRestore) and runs the
// read again under the lock.
CdxStatus cdxIndexReadUnlocked(CdxIndex& index, bool& started);

// Counted locks (see LOCK STATES above).
CdxStatus pv_cdxIndexLockRead(CdxIndex& index);
CdxStatus pv_cdxIndexUnLockRead(CdxIndex& index);
CdxStatus pv_cdxIndexLockWrite(CdxIndex& index);
CdxStatus pv_cdxIndexUnLockWrite(CdxIndex& index);

}  // namespace pv::cdx

// Functions shared by the engine's own files. They raise CdxFault on failure; public entry
// points catch it (cdxGuard). Not for use outside source/rdd/dbfcdx/.
#pragma once

#include "cdx_index.h"

namespace pv::cdx {

// ---- Page codec (cdx_page.cc) --------------------------------------------------------------

// Parses the image of a page just read; checks every count and width against the page size.
void pageParse(CdxPage& p);
// Key i of a page: a pointer to keyLen bytes (interior: into the image; leaf: the cache or
// the decoded array). pv_cdxPageGetKeyVal.
const uint8_t* pv_cdxPageGetKeyVal(CdxPage& p, int i);
uint32_t pv_cdxPageGetKeyRec(CdxPage& p, int i);
uint32_t pv_cdxPageGetKeyPage(CdxPage& p, int i);
// Fills p.decoded from the image.
void pv_cdxPageLeafDecode(CdxPage& p);
// Writes the decoded array (count keys) into the image.
void pv_cdxPageLeafEncode(CdxPage& p, int count);
// Fresh widths for the tag's key length; key count 0, free space 488.
void leafReset(CdxPage& p);
// Gives a decoded leaf fresh widths when its duplicate or trailing fields are too narrow for
// the key length (pages of other writers).
void leafNormalizeWidths(CdxPage& p);
// Widens a leaf until rec fits the record mask; returns the number of steps.
int leafWidenFor(CdxPage& p, uint32_t rec);
// Takes the longest prefix of keys[from..to) (decoded entries) that fits a fresh leaf; fixes
// the first key's duplicate count to 0 in the array. Returns the count taken and leaves the
// page's widths and free space for it.
int leafFit(CdxPage& p, std::vector<uint8_t>& keys, int from, int to);
void pv_cdxPageIntSetKey(CdxPage& p, int i, bool insert, const uint8_t* key, uint32_t rec,
                         uint32_t child);
void pv_cdxPageIntDelKey(CdxPage& p, int i);
// Serialises the page header (and leaf body) into the image.
void pageSerialize(CdxPage& p);
// Writes a changed page to the file.
void pv_cdxPageStore(CdxPage& p);
// Decoded-entry accessors.
inline int decEntryLen(const CdxTag& t) { return t.keyLen + 6; }
uint8_t* decKey(CdxPage& p, int i);
uint32_t decRec(const CdxPage& p, int i);
int decDup(const CdxPage& p, int i);
int decTrl(const CdxPage& p, int i);
void decSetCounts(CdxPage& p, int i, int dup, int trl);
// Number of fill bytes ending key (bounded by keyLen).
int trailingFill(const uint8_t* key, int keyLen, uint8_t fill);
int commonPrefix(const uint8_t* a, const uint8_t* b, int n);

// ---- Keys (cdx_compare.cc) -----------------------------------------------------------------

// Compares a search key (a, alen) with a tree key (b, blen): collation ranks for character
// tags, unsigned bytes otherwise; a shorter search key is equal (prefix) unless exact.
int cdxKeyCompare(const CdxTag& t, const uint8_t* a, int alen, const uint8_t* b, int blen,
                  bool exact);
// Full order of (key, record) for sorting and checking.
int cdxKeyRecCompare(const CdxTag& t, const uint8_t* a, uint32_t ra, const uint8_t* b,
                     uint32_t rb);

// ---- Index file I/O, free pages, version (cdx_index_io.cc) --------------------------------

void pv_cdxIndexPageRead(CdxIndex& x, uint32_t off, void* buf, size_t len);
void pv_cdxIndexPageWrite(CdxIndex& x, uint32_t off, const void* buf, size_t len);
// Pages the file spans, counting pages taken from its end whose buffers are not written yet.
uint64_t indexPageSpan(CdxIndex& x);
// A page (header: two adjacent pages) from the free list, else from the end of the file.
uint32_t pv_cdxIndexGetAvailPage(CdxIndex& x, bool header);
void pv_cdxIndexPutAvailPage(CdxIndex& x, uint32_t off, bool header);
// The pages of the free list in list order (pending frees included); a loop is a fault.
std::vector<uint32_t> cdxFreeListPages(CdxIndex& x);
void indexFlushPending(CdxIndex& x);
void indexDropPending(CdxIndex& x);
void pv_cdxIndexCheckVersion(CdxIndex& x);
// Drops every page buffer of every tag of the file without writing.
void indexDiscardBuffers(CdxIndex& x);
// Writes every changed page and header of the file.
void indexWriteChanged(CdxIndex& x);
// Whether key upkeep keeps its changes in memory (exclusive use, asked for at open).
inline bool indexHoldsChanges(const CdxIndex& x) {
  return x.holdKeyChanges && !x.shared && !x.readOnly;
}
// Writes everything kept in memory: changed pages and headers, pending free pages and, in
// exclusive use, the free-list head; a commit is then due.
void indexWriteAll(CdxIndex& x);
// Runs fn under the write lock. On a fault (in fn or while writing at unlock) nothing of the
// change stays in memory: buffers and pending frees are dropped and the free-list head is
// read again from the file, and the lock is released. When the file holds key changes,
// everything kept in memory is written before the unlock unless keepChanges (key upkeep).
void indexUnderWriteLock(CdxIndex& x, const std::function<void()>& fn, bool keepChanges = false);
// Runs fn under the read lock, released whatever happens.
void indexUnderReadLock(CdxIndex& x, const std::function<void()>& fn);
void indexForgetChanges(CdxIndex& x);
void lockReadRaw(CdxIndex& x);
void unlockReadRaw(CdxIndex& x);
void lockWriteRaw(CdxIndex& x);
void unlockWriteRaw(CdxIndex& x);

// ---- Page pool (cdx_pool.cc) ---------------------------------------------------------------

// The buffer of page off, from the pool (moved to the front) or read and parsed.
CdxPage* pageGet(CdxTag& t, uint32_t off);
// A buffer already in the pool, or null (does not reorder).
CdxPage* pagePeek(CdxTag& t, uint32_t off);
// A new page allocated in the file (attributes given), in the pool.
CdxPage* pageNew(CdxTag& t, uint8_t attr);
// A fresh buffer for page off (attributes given, nothing read), in the pool.
CdxPage* pageAdopt(CdxTag& t, uint32_t off, uint8_t attr);
// Gives a buffer in the pool another page offset (its contents move there).
void pageRenumber(CdxTag& t, CdxPage& p, uint32_t off);
// Writes a page when changed and drops its buffer (the page stays in use).
void pageRelease(CdxTag& t, CdxPage* p);
// Returns a page to the free list and drops its buffer.
void pageFree(CdxTag& t, CdxPage* p);
// Loads the root buffer when missing.
void tagLoadRoot(CdxTag& t);
// Writes the changed buffers of the tag.
void tagWriteChanged(CdxTag& t);
// Keeps keep idle buffers (not root, not on the path), releasing the least recently used,
// once more than a quarter above keep have gathered.
void tagTrimPool(CdxTag& t, size_t keep);
// Drops every buffer without writing; the cursor must be re-found.
void tagDiscardBuffers(CdxTag& t);
// The child buffer of interior entry i.
CdxPage* pageChild(CdxPage& parent, int i);

// ---- Tags of a shared file (cdx_index.cc) ---------------------------------------------------

// Under a lock of a shared file that another handle changed: checks once that the loaded tags
// are still the directory's; fails with kCdxTagsChanged when they are not.
void requireTagsCurrent(CdxIndex& x);

// ---- Tag header (cdx_tag_header.cc) --------------------------------------------------------

// The stored settings of a tag header.
struct TagHeaderFields {
  uint32_t root = 0;
  int keyLen = 0;
  uint8_t options = 0;
  bool ascending = true;
  std::string keyExpr, forExpr;
};
// Reads the header at off and checks its numbers against the file; false when invalid.
bool tagHeaderParse(CdxIndex& x, uint32_t off, TagHeaderFields& out);
// Whether the header at the tag's offset still holds the tag's settings and root.
bool tagHeaderMatches(CdxTag& t);
// Reads and validates the header at off; null when the tag is invalid.
std::unique_ptr<CdxTag> tagHeaderRead(CdxIndex& x, uint32_t off, const std::string& name);
void tagHeaderWrite(CdxTag& t);
// A tag record in memory for a new tag (no pages yet).
std::unique_ptr<CdxTag> tagMake(CdxIndex& x, const CdxTagSpec& spec);

// ---- Tree search and cursor (cdx_seek.cc) --------------------------------------------------

// Searches from the root; sets the path and each page's current index (pv_cdxPageSeekKey).
int tagSeek(CdxTag& t, const uint8_t* key, int len, uint32_t rule);
// Takes the current key from the path's leaf; rec 0 when past the end.
void tagTakeLeafKey(CdxTag& t);

// ---- Sort and build (cdx_sort.cc) ----------------------------------------------------------

// Fills a new tag from records 1..count; the tag's root is set.
void pv_cdxTagDoIndex(CdxTag& t, uint32_t count, const CdxKeyFn& keyOf);
// The memory a sort run of keys takes (32 MB); answers the previous size. Tests make it small
// to send keys through several runs and the merge.
size_t cdxSortRunBytes(size_t bytes);

// ---- Maintenance (cdx_maint.cc) ------------------------------------------------------------

bool keyAdd(CdxTag& t, const CdxKey& key);
bool keyDelete(CdxTag& t, const CdxKey& key);

// Depth limit of a tree (also stops loops in a damaged file).
inline constexpr int kMaxDepth = 64;

}  // namespace pv::cdx

// Navigation of one tag: the cursor (a path of page buffers from the root to the current key)
// and every movement in walking order — top, bottom, skip, seek — with scopes, descending
// walking and the unique flag, plus key number, key count, key go-to and relative position.
//
// The cursor's current key is tag.cur; tag.cur.rec == 0 means "no key" (past the end). After a
// backward skip runs out, the cursor stands on the first key and tag.topOfOrder is set. Each
// operation takes the index read lock itself.
#pragma once

#include "cdx_index.h"

namespace pv::cdx {

// A cursor's state, taken before a read without the lock (cdxIndexReadUnlocked) so that it
// can be put back when that read needs the lock: the key, the path with each page's key
// position, the order flags and the position cache. No page buffer is dropped while such a
// read runs, so the path stays valid.
inline constexpr int kCursorMarkDepth = 64;
struct CdxCursorMark {
  CdxKey cur;
  int depth = 0;
  CdxPage* pathPage[kCursorMarkDepth];  // the first depth entries are set
  int pathKey[kCursorMarkDepth];
  bool topOfOrder = false, endOfOrder = false, reposition = false;
  unsigned cacheBits = 0;
  uint32_t rawCount = 0, rawPos = 0, rawPosRec = 0;
};
void cdxTagMark(const CdxTag& t, CdxCursorMark& m);
void cdxTagRestore(CdxTag& t, const CdxCursorMark& m);
// Whether a skip of n keys looks makeable from the pages in memory: the cursor stands on its
// key (not unique-walking) and the key n steps away lies in its leaf, or one step away in a
// neighbour leaf held in memory. A hint for choosing a read without the lock.
bool cdxTagStepHeld(CdxTag& t, long n);

CdxStatus cdxTagGoTop(CdxTag& t);
CdxStatus cdxTagGoBottom(CdxTag& t);
// Moves n keys in walking order (negative: backward).
CdxStatus cdxTagSkip(CdxTag& t, long n);
// Seeks a value (len bytes, a prefix for character keys; not padded). soft stays on the next
// key when there is no match; last finds the last matching key. found tells whether a key
// matching the value was found; without soft a miss leaves the cursor past the end.
CdxStatus cdxTagSeek(CdxTag& t, const void* key, int len, bool soft, bool last, bool* found);
// Places the cursor on (key, record). onKey tells whether that entry exists; otherwise the
// cursor stands on the next entry in key order.
CdxStatus cdxTagGoKey(CdxTag& t, const CdxKey& key, bool* onKey);
// Logical position of the current key (1-based in walking order, within scopes); 0 if none.
CdxStatus cdxTagKeyNo(CdxTag& t, uint32_t& out);
// Number of keys within scopes (with the unique flag: distinct values).
CdxStatus cdxTagKeyCount(CdxTag& t, uint32_t& out);
// Goes to the n-th key in walking order; past the end (or n = 0) leaves no current key.
CdxStatus cdxTagKeyGoto(CdxTag& t, uint32_t n);
// Relative position 0..1 of the cursor within the scopes; 0.5 for a zero scope span.
CdxStatus cdxTagRelPos(CdxTag& t, double& out);
CdxStatus cdxTagSetRelPos(CdxTag& t, double x);
// Scopes in walking order: which = 0 top, 1 bottom. An empty key removes nothing.
void cdxTagSetScope(CdxTag& t, int which, const void* key, int len);
void cdxTagClearScope(CdxTag& t, int which);
// The user's walking direction and unique flag.
void cdxTagSetUserOrder(CdxTag& t, bool ascending, bool unique);

}  // namespace pv::cdx

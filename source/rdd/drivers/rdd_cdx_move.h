// The read hold of one movement through the controlling order of a DBFCDX area: the file's
// read lock taken once for the check for replaced tags, the cursor's re-sync and the steps, or
// no lock at all while the file is unchanged and the pages the movement needs are in memory.
#pragma once

#include "cdx_nav.h"
#include "rdd_cdx.h"

// What a movement needs, gathered before it runs: the controlling order and its file, the
// record's key when the cursor must be placed on the record again, and the read lock of the
// file while it is held.
//
// On a shared file that lock costs one round trip (lock, read of the change counter,
// unlock) however many engine calls the movement makes; the nested calls only count it. First
// a skip whose keys look held in memory tries without it (cdxIndexReadUnlocked: one read of the
// change counter), and runs again under the lock when it needs a page from the file after all
// (pv_cdxRunMove).
//
// Lock order: a writer takes the table's record (or file) lock first and the index write
// lock second. A movement therefore never waits for a table lock, or runs user code (key,
// FOR and scope expressions, which may do anything), while the hold is taken: scopes and the
// record's key are evaluated before it, and the area is positioned on the cursor's record
// (which may move related areas) after it is released.
struct PvCdxMove {
  PvCdxBag* bag = nullptr;
  pv::cdx::CdxTag* tag = nullptr;
  pv::cdx::CdxKey key;  // the record's key (rec 0 and no bytes: it has none)
  bool keyTaken = false;
  pv::cdx::CdxIndex* held = nullptr;
  long steps = 0;           // a skip's count: it may run without the lock (else 0: locked)
  bool unlocked = false;    // held is a read without the lock
  bool lockedOnly = false;  // take the lock (the read without it needed a page)

  PvCdxMove() = default;
  PvCdxMove(const PvCdxMove&) = delete;
  PvCdxMove& operator=(const PvCdxMove&) = delete;
  ~PvCdxMove() { release(); }
  void release();
};

// Prepares a movement: finds the controlling order, loads its file again when another handle
// replaced its tags, evaluates scopes given as code blocks and (with needKey) the record's
// key where the cursor is not known to stand on the record, and takes the read lock. False in
// natural order (every file is then checked for replaced tags as before any movement). When
// the lock cannot be had, or the file keeps changing, the movement runs without the hold and
// each engine call locks (and reports a failure) by itself.
bool pv_cdxBeginMove(PvCdxArea* a, PvCdxMove& m, bool needKey);
// Runs the engine part of a prepared movement (fn returns its status); when it ran without the
// lock and needed a page from the file, the cursor is put back and fn runs again under the lock
// (prepared anew: the file may have changed meanwhile).
template <class Fn>
pv::cdx::CdxStatus pv_cdxRunMove(PvCdxArea* a, PvCdxMove& m, bool needKey, Fn&& fn) {
  if (!m.unlocked) return fn();
  pv::cdx::CdxCursorMark mark;
  pv::cdx::cdxTagMark(*m.tag, mark);
  pv::cdx::CdxStatus st = fn();
  if (st.code != pv::cdx::kCdxNeedsLock) return st;
  pv::cdx::cdxTagRestore(*m.tag, mark);
  m.release();
  m.lockedOnly = true;
  if (!pv_cdxBeginMove(a, m, needKey))
    return pv::cdx::CdxStatus::Error(pv::cdx::kCdxTagsChanged,
                                     "Index tags changed by another handle; open the index again.");
  return fn();
}

// Whether the cursor must be placed on the area's record again before it moves from there.
bool pv_cdxCursorOff(const PvCdxArea* a, const pv::cdx::CdxTag& t);
// The key of the area's record in the tag; a key with no bytes when the record has none.
pv::cdx::CdxKey pv_cdxCursorKey(PvCdxArea* a, PvCdxBag& bag, pv::cdx::CdxTag& t);

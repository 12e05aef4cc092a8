// The read hold of a movement through the controlling order (see rdd_cdx_move.h).
#include "rdd_cdx_move.h"

#include "rdd_cdx_bags.h"
#include "rdd_cdx_driver.h"

using namespace pv::cdx;

namespace {

// Rounds of "file changed under us" before the movement goes on without the hold.
constexpr int kHoldRounds = 4;

size_t BagIndex(const PvCdxArea* a, const PvCdxBag* bag) {
  size_t i = 0;
  while (i < a->bags.size() && a->bags[i].get() != bag) ++i;
  return i;
}

// Loads the bag again; a failure is raised and the file leaves the area.
void Reload(PvCdxArea* a, PvCdxBag* bag) {
  CdxStatus st = pv_cdxReloadBag(a, BagIndex(a, bag));
  if (!st.ok()) pv_cdxRaise(a, st);
}

}  // namespace

void PvCdxMove::release() {
  if (held) (void)pv_cdxIndexUnLockRead(*held);
  held = nullptr;
  unlocked = false;
}

namespace {

// Takes the hold on the file: a read without the lock when that may be, else the read lock.
bool Hold(PvCdxMove& m) {
  CdxIndex& x = *m.bag->index;
  bool started = false;
  bool tryUnlocked = m.steps != 0 && !m.lockedOnly && cdxTagStepHeld(*m.tag, m.steps);
  if (tryUnlocked && cdxIndexReadUnlocked(x, started).ok() && started) {
    m.held = &x;
    m.unlocked = true;
    return true;
  }
  if (!pv_cdxIndexLockRead(x).ok()) return false;
  m.held = &x;
  return true;
}

}  // namespace

bool pv_cdxCursorOff(const PvCdxArea* a, const CdxTag& t) {
  return a->positioned && (t.reposition || t.cur.rec != a->recno);
}

CdxKey pv_cdxCursorKey(PvCdxArea* a, PvCdxBag& bag, CdxTag& t) {
  CdxKey key;
  if (!pv_cdxCurrentKey(a, bag, t, key)) {
    key = {};
    key.rec = a->recno;
    key.len = 0;
  }
  return key;
}

bool pv_cdxBeginMove(PvCdxArea* a, PvCdxMove& m, bool needKey) {
  for (int round = 0; round < kHoldRounds; ++round) {
    m.tag = pv_cdxAreaTag(a, a->order, &m.bag);
    if (!m.tag) {
      pv_cdxRefreshShared(a);
      m.tag = pv_cdxAreaTag(a, a->order, &m.bag);
      if (!m.tag) return false;
    }
    pv_cdxRefreshScopes(*m.bag, *m.tag);
    if (needKey && !m.keyTaken && pv_cdxCursorOff(a, *m.tag)) {
      m.key = pv_cdxCursorKey(a, *m.bag, *m.tag);
      m.keyTaken = true;
    }
    // The lock runs the change check: pages of a changed file are dropped here.
    if (!Hold(m)) return true;
    if (!pv_cdxDirectoryCurrent(*m.bag)) {
      m.release();
      m.keyTaken = false;
      Reload(a, m.bag);
      continue;
    }
    if (!needKey || m.keyTaken || !pv_cdxCursorOff(a, *m.tag)) return true;
    m.release();  // the file changed: the record's key is evaluated outside the lock
  }
  m.tag = pv_cdxAreaTag(a, a->order, &m.bag);
  return m.tag != nullptr;
}

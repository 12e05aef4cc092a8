// Key maintenance of one tag: adding and deleting (key, record) entries with leaf insertion
// and deletion, leaf and interior balancing, root split and shrink. Each call takes the
// index write lock itself; callers adding many keys may hold pv_cdxIndexLockWrite around
// them so that pages are written once at the end. When a call (or the outer unlock) fails,
// every change made since the outer lock was taken is dropped from memory; what reached the
// file before the failure stays (a write failure midway can leave some pages written).
#pragma once

#include "cdx_index.h"

namespace pv::cdx {

// Adds (key, key.rec). added is false when the entry exists already (a unique tag: when the
// key value exists). Keys shorter than the key length are padded with the fill character.
CdxStatus cdxTagKeyAdd(CdxTag& t, const CdxKey& key, bool* added = nullptr);
// Removes (key, key.rec); removed is false when there is no such entry.
CdxStatus cdxTagKeyDelete(CdxTag& t, const CdxKey& key, bool* removed = nullptr);

}  // namespace pv::cdx

// The shared base of a hash, visible so that reads of a hash used like an array (keys 1..n)
// and its options compile inline; everything else about it lives in hash.cc. Included by
// hash.h after its declarations.
#pragma once

#include <cstdint>

#include "hashpairs.h"

struct PvHashSide;  // the index, the key order and the default value (hash.cc)

struct PvBaseHash {
  PvHashPairs pairs;               // in insertion order (with PV_HASH_KEEPORDER: iteration
                                   // order); values only while the hash is dense
  PvHashSide* side = nullptr;      // made when first needed
  uint32_t sorted = 0;
  uint32_t holes = 0;              // removed pairs still taking a position
  int flags = PV_HASH_AUTOADD_ASSIGN;
  bool dense = true;               // the keys are the integers 1..n: key k is at k - 1
};

inline int pv_hashGetFlags(PV_ITEM hash) {
  return (hash && PV_IS_HASH(hash)) ? hash->item.asHash.value->flags : 0;
}

inline PV_ITEM pv_hashGetItemPtr(PV_ITEM hash, PV_ITEM key, bool autoAdd) {
  if (hash && PV_IS_HASH(hash) && key->type == PV_IT_INTEGER) {
    PvBaseHash* h = hash->item.asHash.value;
    size_t i = static_cast<uint32_t>(key->item.asInteger.value) - 1u;
    if (h->dense && i < h->pairs.size()) return &h->pairs.value(i);
  }
  return pv_hashLocate(hash, key, autoAdd);
}

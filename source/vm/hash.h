// Hashes: a shared base of key/value pairs iterated in key order (or in insertion order with
// PV_HASH_KEEPORDER) and found through a hashed index.
#pragma once

#include "item.h"

enum : int {
  PV_HASH_AUTOADD_ACCESS = 0x01,   // reading a missing key adds it
  PV_HASH_AUTOADD_ASSIGN = 0x02,   // assigning a missing key adds it
  PV_HASH_BINARY = 0x04,           // keys compare as bytes
  PV_HASH_IGNORECASE = 0x08,       // case-match off
  PV_HASH_KEEPORDER = 0x10,        // iteration in insertion order
};

struct PvBaseHash;

bool pv_hashNew(PV_ITEM item);
void pv_hashPreallocate(PV_ITEM hash, PV_SIZE pairs);   // room for that many pairs
PV_SIZE pv_hashLen(PV_ITEM hash);
bool pv_hashAdd(PV_ITEM hash, PV_ITEM key, PV_ITEM value);   // add or replace
bool pv_hashSet(PV_ITEM hash, PV_ITEM key, PV_ITEM value);   // same as add
inline PV_ITEM pv_hashGetItemPtr(PV_ITEM hash, PV_ITEM key, bool autoAdd);  // nullptr when missing
PV_ITEM pv_hashLocate(PV_ITEM hash, PV_ITEM key, bool autoAdd);  // the same, out of line
bool pv_hashGet(PV_ITEM hash, PV_ITEM key, PV_ITEM dest);
bool pv_hashScan(PV_ITEM hash, PV_ITEM key, PV_SIZE* position);  // 1-based position
bool pv_hashRemove(PV_ITEM hash, PV_ITEM key);
PV_ITEM pv_hashGetKeyAt(PV_ITEM hash, PV_SIZE position);     // in iteration order
PV_ITEM pv_hashGetValueAt(PV_ITEM hash, PV_SIZE position);
bool pv_hashDelAt(PV_ITEM hash, PV_SIZE position);
PV_ITEM pv_hashClone(PV_ITEM hash);                          // a new grip item
bool pv_hashMerge(PV_ITEM dest, PV_ITEM src);
void pv_hashClear(PV_ITEM hash);
inline int pv_hashGetFlags(PV_ITEM hash);
void pv_hashSetFlags(PV_ITEM hash, int flags);
void pv_hashClearFlags(PV_ITEM hash, int flags);
PV_ITEM pv_hashGetDefault(PV_ITEM hash);
void pv_hashSetDefault(PV_ITEM hash, PV_ITEM value);
bool pv_hashIsKey(PV_ITEM key);   // strings, numbers, dates and pointers may be keys

extern const PvGcFuncs pv_hashGcFuncs;

#include "hashbase.h"  // the inline functions

// Hashes: parallel key and value vectors in key order, found by bisection, with the case-match,
// auto-add and insertion-order options.
#include "hash.h"

#include <cctype>
#include <cstring>
#include <new>
#include <vector>

#include "gc.h"

struct PvBaseHash {
  std::vector<PvItem> keys;
  std::vector<PvItem> values;
  std::vector<PV_SIZE> order;  // insertion order (positions in keys) when PV_HASH_KEEPORDER
  int flags;
  PvItem defaultValue;
};

namespace {

void hashClear(void* block) {
  auto* h = static_cast<PvBaseHash*>(block);
  std::vector<PvItem> keys, values;
  keys.swap(h->keys);
  values.swap(h->values);
  for (auto& k : keys) pv_itemClear(&k);
  for (auto& v : values) pv_itemClear(&v);
  pv_itemClear(&h->defaultValue);
  h->~PvBaseHash();
}

void hashMark(void* block) {
  auto* h = static_cast<PvBaseHash*>(block);
  for (auto& v : h->values) pv_gcItemMark(&v);
  pv_gcItemMark(&h->defaultValue);
}

PvBaseHash* baseOf(PV_ITEM hash) {
  return (hash && PV_IS_HASH(hash)) ? hash->item.asHash.value : nullptr;
}

int keyRank(PV_ITEM k) {
  if (PV_IS_NUMERIC(k)) return 1;
  if (PV_IS_DATE(k)) return 2;
  if (PV_IS_STRING(k)) return 3;
  return 4;
}

int compareOtherKeys(PV_ITEM a, PV_ITEM b, bool ignoreCase);

// Key order: numbers, then dates, then texts, then pointers; integer keys compare inline.
inline int compareKeys(PV_ITEM a, PV_ITEM b, bool ignoreCase) {
  if (a->type == PV_IT_INTEGER && b->type == PV_IT_INTEGER) {
    int32_t x = a->item.asInteger.value, y = b->item.asInteger.value;
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  return compareOtherKeys(a, b, ignoreCase);
}

int compareOtherKeys(PV_ITEM a, PV_ITEM b, bool ignoreCase) {
  int ra = keyRank(a), rb = keyRank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  switch (ra) {
    case 1: {
      if (PV_IS_NUMINT(a) && PV_IS_NUMINT(b)) {
        int64_t x = pv_itemGetNInt(a), y = pv_itemGetNInt(b);
        return x < y ? -1 : (x > y ? 1 : 0);
      }
      double x = pv_itemGetND(a), y = pv_itemGetND(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 2: {
      double x = pv_itemGetND(a), y = pv_itemGetND(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 3: {
      const auto* x = reinterpret_cast<const unsigned char*>(pv_itemGetCPtr(a));
      const auto* y = reinterpret_cast<const unsigned char*>(pv_itemGetCPtr(b));
      PV_SIZE lx = pv_itemGetCLen(a), ly = pv_itemGetCLen(b);
      PV_SIZE n = lx < ly ? lx : ly;
      for (PV_SIZE i = 0; i < n; ++i) {
        int cx = ignoreCase ? std::toupper(x[i]) : x[i];
        int cy = ignoreCase ? std::toupper(y[i]) : y[i];
        if (cx != cy) return cx < cy ? -1 : 1;
      }
      return lx == ly ? 0 : (lx < ly ? -1 : 1);
    }
    default: {
      void* x = pv_itemGetPtr(a);
      void* y = pv_itemGetPtr(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
  }
}

// Bisection: true when found; *pos is the position or the insertion point.
bool find(PvBaseHash* h, PV_ITEM key, PV_SIZE* pos) {
  PV_SIZE lo = 0, hi = static_cast<PV_SIZE>(h->keys.size());
  bool ignoreCase = (h->flags & PV_HASH_IGNORECASE) != 0;
  // Keys 1..n held in order sit at their own position: check it first.
  if (key->type == PV_IT_INTEGER && key->item.asInteger.value >= 1 && key->item.asInteger.value <= hi) {
    PV_SIZE guess = key->item.asInteger.value - 1;
    if (compareKeys(&h->keys[guess], key, ignoreCase) == 0) {
      *pos = guess;
      return true;
    }
  }
  // Keys added in ascending order land at the end: check it next.
  if (hi > 0) {
    int c = compareKeys(&h->keys[hi - 1], key, ignoreCase);
    if (c < 0) { *pos = hi; return false; }
    if (c == 0) { *pos = hi - 1; return true; }
  }
  while (lo < hi) {
    PV_SIZE mid = (lo + hi) / 2;
    int c = compareKeys(&h->keys[mid], key, ignoreCase);
    if (c == 0) { *pos = mid; return true; }
    if (c < 0) lo = mid + 1;
    else hi = mid;
  }
  *pos = lo;
  return false;
}

PV_SIZE insertAt(PvBaseHash* h, PV_SIZE pos, PV_ITEM key) {
  PvItem k = {PV_IT_NIL, {}};
  pv_itemCopy(&k, key);
  k.type &= ~PV_IT_MEMOFLAG;
  h->keys.insert(h->keys.begin() + pos, k);
  h->values.insert(h->values.begin() + pos, PvItem{PV_IT_NIL, {}});
  if (h->flags & PV_HASH_KEEPORDER) {
    for (auto& o : h->order)
      if (o >= pos) ++o;
    h->order.push_back(pos);
  }
  return pos;
}

void removeAt(PvBaseHash* h, PV_SIZE pos) {
  pv_itemClear(&h->keys[pos]);
  pv_itemClear(&h->values[pos]);
  h->keys.erase(h->keys.begin() + pos);
  h->values.erase(h->values.begin() + pos);
  if (h->flags & PV_HASH_KEEPORDER) {
    std::vector<PV_SIZE> order;
    for (auto o : h->order)
      if (o != pos) order.push_back(o > pos ? o - 1 : o);
    h->order.swap(order);
  }
}

// Position in keys of the n-th pair in iteration order (1-based n); -1 when out of range.
PV_SIZE iterPos(PvBaseHash* h, PV_SIZE n) {
  if (!h || n < 1 || n > static_cast<PV_SIZE>(h->keys.size())) return -1;
  return (h->flags & PV_HASH_KEEPORDER) ? h->order[n - 1] : n - 1;
}

}  // namespace

const PvGcFuncs pv_hashGcFuncs = {hashClear, hashMark};

bool pv_hashIsKey(PV_ITEM key) {
  return key && (PV_IS_STRING(key) || PV_IS_NUMERIC(key) || PV_IS_DATE(key) || PV_IS_POINTER(key));
}

bool pv_hashNew(PV_ITEM item) {
  void* block = pv_gcAlloc(sizeof(PvBaseHash), &pv_hashGcFuncs);
  auto* h = new (block) PvBaseHash();
  h->keys.reserve(16);
  h->values.reserve(16);
  h->flags = PV_HASH_AUTOADD_ASSIGN;
  h->defaultValue.type = PV_IT_NIL;
  pv_itemClear(item);
  item->type = PV_IT_HASH;
  item->item.asHash.value = h;
  return true;
}

PV_SIZE pv_hashLen(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  return h ? static_cast<PV_SIZE>(h->keys.size()) : 0;
}

bool pv_hashAdd(PV_ITEM hash, PV_ITEM key, PV_ITEM value) {
  PvBaseHash* h = baseOf(hash);
  if (!h || !pv_hashIsKey(key)) return false;
  PV_SIZE pos;
  if (!find(h, key, &pos)) insertAt(h, pos, key);
  pv_itemCopy(&h->values[pos], value);
  h->values[pos].type &= ~PV_IT_MEMOFLAG;
  return true;
}

bool pv_hashSet(PV_ITEM hash, PV_ITEM key, PV_ITEM value) { return pv_hashAdd(hash, key, value); }

PV_ITEM pv_hashGetItemPtr(PV_ITEM hash, PV_ITEM key, bool autoAdd) {
  PvBaseHash* h = baseOf(hash);
  if (!h || !pv_hashIsKey(key)) return nullptr;
  PV_SIZE pos;
  if (find(h, key, &pos)) return &h->values[pos];
  if (!autoAdd) return nullptr;
  insertAt(h, pos, key);
  pv_itemCloneTo(&h->values[pos], &h->defaultValue);
  return &h->values[pos];
}

bool pv_hashGet(PV_ITEM hash, PV_ITEM key, PV_ITEM dest) {
  PV_ITEM v = pv_hashGetItemPtr(hash, key, false);
  if (!v) {
    pv_itemClear(dest);
    return false;
  }
  pv_itemCopy(dest, v);
  return true;
}

bool pv_hashScan(PV_ITEM hash, PV_ITEM key, PV_SIZE* position) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE pos = 0;
  bool found = h && pv_hashIsKey(key) && find(h, key, &pos);
  if (found && (h->flags & PV_HASH_KEEPORDER)) {
    for (size_t i = 0; i < h->order.size(); ++i)
      if (h->order[i] == pos) pos = static_cast<PV_SIZE>(i);
  }
  if (position) *position = found ? pos + 1 : 0;
  return found;
}

bool pv_hashRemove(PV_ITEM hash, PV_ITEM key) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE pos;
  if (!h || !pv_hashIsKey(key) || !find(h, key, &pos)) return false;
  removeAt(h, pos);
  return true;
}

PV_ITEM pv_hashGetKeyAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE p = iterPos(h, n);
  return p < 0 ? nullptr : &h->keys[p];
}

PV_ITEM pv_hashGetValueAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE p = iterPos(h, n);
  return p < 0 ? nullptr : &h->values[p];
}

bool pv_hashDelAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE p = iterPos(h, n);
  if (p < 0) return false;
  removeAt(h, p);
  return true;
}

PV_ITEM pv_hashClone(PV_ITEM hash) {
  PV_ITEM result = pv_itemNew(nullptr);
  PvBaseHash* h = baseOf(hash);
  if (!h) return result;
  pv_hashNew(result);
  PvBaseHash* d = result->item.asHash.value;
  d->flags = h->flags;
  d->order = h->order;
  pv_itemCopy(&d->defaultValue, &h->defaultValue);
  d->keys.resize(h->keys.size(), PvItem{PV_IT_NIL, {}});
  d->values.resize(h->values.size(), PvItem{PV_IT_NIL, {}});
  for (size_t i = 0; i < h->keys.size(); ++i) {
    pv_itemCopy(&d->keys[i], &h->keys[i]);
    pv_itemCloneTo(&d->values[i], &h->values[i]);
  }
  return result;
}

bool pv_hashMerge(PV_ITEM dest, PV_ITEM src) {
  PvBaseHash* s = baseOf(src);
  if (!s || !baseOf(dest)) return false;
  for (PV_SIZE n = 1; n <= static_cast<PV_SIZE>(s->keys.size()); ++n)
    pv_hashAdd(dest, pv_hashGetKeyAt(src, n), pv_hashGetValueAt(src, n));
  return true;
}

void pv_hashClear(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  while (h && !h->keys.empty()) removeAt(h, static_cast<PV_SIZE>(h->keys.size()) - 1);
}

int pv_hashGetFlags(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  return h ? h->flags : 0;
}

void pv_hashSetFlags(PV_ITEM hash, int flags) {
  PvBaseHash* h = baseOf(hash);
  if (!h) return;
  if ((flags & PV_HASH_KEEPORDER) && !(h->flags & PV_HASH_KEEPORDER)) {
    h->order.clear();
    for (size_t i = 0; i < h->keys.size(); ++i) h->order.push_back(static_cast<PV_SIZE>(i));
  }
  h->flags |= flags;
}

void pv_hashClearFlags(PV_ITEM hash, int flags) {
  PvBaseHash* h = baseOf(hash);
  if (!h) return;
  h->flags &= ~flags;
  if (flags & PV_HASH_KEEPORDER) h->order.clear();
}

PV_ITEM pv_hashGetDefault(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  return h ? &h->defaultValue : nullptr;
}

void pv_hashSetDefault(PV_ITEM hash, PV_ITEM value) {
  PvBaseHash* h = baseOf(hash);
  if (h) pv_itemCopy(&h->defaultValue, value);
}

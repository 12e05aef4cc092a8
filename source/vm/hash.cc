// Hashes: keys and values in insertion order in one block of pairs, found through an
// open-addressing index of their positions, with the key order (numbers, dates, texts,
// pointers) worked out lazily for iteration and positions, and the case-match, auto-add and
// insertion-order options. A hash whose keys are the integers 1..n added in order (used like
// an array) has no key items (the value of key k is value k) until an operation needs them or
// another key comes.
//
// Removing a pair leaves a hole (a NIL key) and marks its index slot as a grave, so a removal
// costs no more than a lookup; the holes are squeezed out when they come to half the pairs
// and before anything counts positions (iteration, key order, positions).
//
// Keys that equal each other as keys (the integer 3 and the double 3.0; "a" and "A" with
// case-match off) hash alike, so the index finds them as the key comparison does.
#include "hash.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "gc.h"

namespace {

// Hashes of up to this many pairs are searched without an index.
constexpr size_t kScanLimit = 8;

}  // namespace

// What only some hashes need, kept apart so that a small hash is only its pairs and a few words.
struct PvHashSide {
  std::vector<uint32_t> slots;     // open addressing: position + 1 of a key, 0 empty
  std::vector<uint32_t> order;     // positions in key order of the first `sorted` pairs;
                                   // empty: those pairs are themselves in key order
  PvItem defaultValue = {PV_IT_NIL, {}};
};

namespace {

// Lets go of every item the hash holds; the pairs are left empty.
void releaseItems(PvBaseHash* h) {
  PvHashPairs pairs;
  pairs.swap(h->pairs);
  for (size_t i = 0; i < pairs.size(); ++i) {
    if (!h->dense) pv_itemClear(&pairs.key(i));
    pv_itemClear(&pairs.value(i));
  }
}

void hashClear(void* block) {
  auto* h = static_cast<PvBaseHash*>(block);
  releaseItems(h);
  if (h->side) {
    pv_itemClear(&h->side->defaultValue);
    delete h->side;
  }
  h->~PvBaseHash();
}

void hashMark(void* block) {
  auto* h = static_cast<PvBaseHash*>(block);
  for (size_t i = 0; i < h->pairs.size(); ++i) pv_gcItemMark(&h->pairs.value(i));
  if (h->side) pv_gcItemMark(&h->side->defaultValue);
}

PvHashSide& side(PvBaseHash* h) {
  if (!h->side) h->side = new PvHashSide();
  return *h->side;
}

bool indexed(const PvBaseHash* h) { return h->side && !h->side->slots.empty(); }

bool ordered(const PvBaseHash* h) { return h->side && !h->side->order.empty(); }

PvBaseHash* baseOf(PV_ITEM hash) {
  return (hash && PV_IS_HASH(hash)) ? hash->item.asHash.value : nullptr;
}

bool ignoresCase(const PvBaseHash* h) { return (h->flags & PV_HASH_IGNORECASE) != 0; }

size_t pairCount(const PvBaseHash* h) { return h->pairs.size() - h->holes; }

// An index slot: 0 empty, kGrave a removed pair's, otherwise the pair's position + 1.
constexpr uint32_t kGrave = UINT32_MAX;

bool isHole(const PvItem& key) { return key.type == PV_IT_NIL; }

PV_ITEM valueAt(PvBaseHash* h, PV_SIZE pos) { return &h->pairs.value(static_cast<size_t>(pos)); }

int keyRank(PV_ITEM k) {
  if (PV_IS_NUMERIC(k)) return 1;
  if (PV_IS_DATE(k)) return 2;
  if (PV_IS_STRING(k)) return 3;
  return 4;
}

int compareOtherKeys(PV_ITEM a, PV_ITEM b, bool ignoreCase);

// Not-a-number keys come after every other number and equal each other: the key order stays
// a total order.
int compareDoubles(double x, double y) {
  if (std::isnan(x) || std::isnan(y)) return std::isnan(x) - std::isnan(y);
  return x < y ? -1 : (x > y ? 1 : 0);
}

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
      return compareDoubles(pv_itemGetND(a), pv_itemGetND(b));
    }
    case 2: {
      double x = pv_itemGetND(a), y = pv_itemGetND(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 3: {
      const auto* x = reinterpret_cast<const unsigned char*>(a->item.asString.value);
      const auto* y = reinterpret_cast<const unsigned char*>(b->item.asString.value);
      uint32_t lx = a->item.asString.length, ly = b->item.asString.length;
      uint32_t n = lx < ly ? lx : ly;
      if (!ignoreCase) {
        int c = std::memcmp(x, y, n);
        if (c) return c < 0 ? -1 : 1;
      }
      for (uint32_t i = 0; ignoreCase && i < n; ++i) {
        int cx = std::toupper(x[i]), cy = std::toupper(y[i]);
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

bool sameText(const PvItem* a, const PvItem* b, bool ignoreCase) {
  uint32_t n = a->item.asString.length;
  if (n != b->item.asString.length) return false;
  const char* x = a->item.asString.value;
  const char* y = b->item.asString.value;
  if (!ignoreCase) return std::memcmp(x, y, n) == 0;
  for (uint32_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(x[i])) != std::toupper(static_cast<unsigned char>(y[i]))) return false;
  return true;
}

// Whether a stored key (or hole) and a key equal each other as keys.
inline bool sameKey(const PvItem* stored, PV_ITEM key, bool ignoreCase) {
  uint32_t s = stored->type, k = key->type;
  if (s == PV_IT_INTEGER && k == PV_IT_INTEGER) return stored->item.asInteger.value == key->item.asInteger.value;
  if ((s & PV_IT_STRING) && (k & PV_IT_STRING)) return sameText(stored, key, ignoreCase);
  if (s == PV_IT_NIL || ((s | k) & PV_IT_STRING)) return false;
  return compareOtherKeys(const_cast<PV_ITEM>(stored), key, ignoreCase) == 0;
}

inline uint64_t mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  return x;
}

uint64_t doubleHash(double d, uint64_t rank) {
  if (d == 0.0) d = 0.0;  // -0.0 equals 0.0
  if (std::isnan(d)) d = std::numeric_limits<double>::quiet_NaN();
  return mix(std::bit_cast<uint64_t>(d) ^ rank);
}

// Numbers hash by value: integers exactly representable as doubles by their value, the others
// (integers beyond 2^53 compare with doubles as the double they round to) by their double.
constexpr int64_t kExactInteger = int64_t{1} << 53;

// An integer is its own hash: keys that follow each other land in neighbouring slots (the
// index is taken modulo a prime, so strides of any power of two spread too).
inline uint64_t integerHash(int64_t v) {
  if (v > kExactInteger || v < -kExactInteger) return doubleHash(static_cast<double>(v), 1);
  return static_cast<uint64_t>(v);
}

uint64_t numberHash(double d) {
  if (std::trunc(d) == d && std::fabs(d) <= static_cast<double>(kExactInteger))
    return integerHash(static_cast<int64_t>(d));
  return doubleHash(d, 1);
}

uint64_t textHash(PV_ITEM k, bool ignoreCase) {
  const auto* p = reinterpret_cast<const unsigned char*>(pv_itemGetCPtr(k));
  uint64_t x = 0xcbf29ce484222325ULL;
  for (PV_SIZE i = 0, n = pv_itemGetCLen(k); i < n; ++i) {
    x ^= ignoreCase ? static_cast<unsigned char>(std::toupper(p[i])) : p[i];
    x *= 0x100000001b3ULL;
  }
  return mix(x);
}

uint64_t keyHash(PV_ITEM k, bool ignoreCase) {
  if (k->type == PV_IT_INTEGER) return integerHash(k->item.asInteger.value);
  switch (keyRank(k)) {
    case 1: return PV_IS_NUMINT(k) ? integerHash(pv_itemGetNInt(k)) : numberHash(pv_itemGetND(k));
    case 2: return doubleHash(pv_itemGetND(k), 2);
    case 3: return textHash(k, ignoreCase);
    default: return mix(reinterpret_cast<uintptr_t>(pv_itemGetPtr(k)));
  }
}

// The largest prime below a power of two (size >= 4): the modulus of an index of that size.
uint64_t primeBelow(size_t size) {
  static uint64_t primes[64] = {};
  uint64_t& p = primes[std::countr_zero(size)];
  for (uint64_t c = size - 1; !p; c -= 2) {
    bool prime = true;
    for (uint64_t d = 3; d * d <= c && prime; d += 2) prime = c % d != 0;
    if (prime) p = c;
  }
  return p;
}

// The first slot a key's hash probes.
inline size_t homeSlot(const PvBaseHash* h, uint64_t hash) { return hash % primeBelow(h->side->slots.size()); }

// Rebuilds the index for the pairs there are (none for small or dense hashes).
void reindex(PvBaseHash* h) {
  if (h->side) h->side->slots.clear();
  if (h->dense || h->pairs.size() <= kScanLimit) return;
  size_t size = std::bit_ceil(h->pairs.size() * 2);
  auto& slots = side(h).slots;
  slots.assign(size, 0);
  bool ic = ignoresCase(h);
  for (size_t i = 0; i < h->pairs.size(); ++i) {
    if (isHole(h->pairs.key(i))) continue;
    size_t s = homeSlot(h, keyHash(&h->pairs.key(i), ic));
    while (slots[s]) s = (s + 1) & (size - 1);
    slots[s] = static_cast<uint32_t>(i + 1);
  }
}

// Position of the key 1..n of a dense hash, or -1.
PV_SIZE findDense(PvBaseHash* h, PV_ITEM key) {
  auto n = static_cast<int64_t>(h->pairs.size());
  int64_t k;
  if (key->type == PV_IT_INTEGER) {
    k = key->item.asInteger.value;
  } else if (PV_IS_NUMINT(key)) {
    k = pv_itemGetNInt(key);
  } else if (PV_IS_DOUBLE(key)) {
    double d = pv_itemGetND(key);
    k = (d >= 1 && d <= static_cast<double>(n) && std::trunc(d) == d) ? static_cast<int64_t>(d) : 0;
  } else {
    return -1;
  }
  return (k >= 1 && k <= n) ? k - 1 : -1;
}

// Position of the key in a hash with an index, or -1.
[[gnu::noinline]] PV_SIZE findIndexed(PvBaseHash* h, PV_ITEM key) {
  bool ic = ignoresCase(h);
  const auto& slots = h->side->slots;
  size_t mask = slots.size() - 1;
  for (size_t s = homeSlot(h, keyHash(key, ic));; s = (s + 1) & mask) {
    uint32_t at = slots[s];
    if (!at) return -1;
    if (at != kGrave && sameKey(&h->pairs.key(at - 1), key, ic)) return at - 1;
  }
}

// Position of the key, or -1.
PV_SIZE find(PvBaseHash* h, PV_ITEM key) {
  if (h->dense) return findDense(h, key);
  if (indexed(h)) return findIndexed(h, key);
  bool ic = ignoresCase(h);
  for (size_t i = 0; i < h->pairs.size(); ++i)
    if (sameKey(&h->pairs.key(i), key, ic)) return static_cast<PV_SIZE>(i);
  return -1;
}

// Takes the pair just added into the index, which grows with the pairs.
void indexLast(PvBaseHash* h) {
  size_t n = h->pairs.size();
  size_t have = indexed(h) ? h->side->slots.size() : 0;
  if (n > kScanLimit && n * 2 > have) {
    reindex(h);
  } else if (have) {
    auto& slots = h->side->slots;
    size_t s = homeSlot(h, keyHash(&h->pairs.key(n - 1), ignoresCase(h)));
    while (slots[s]) s = (s + 1) & (have - 1);
    slots[s] = static_cast<uint32_t>(n);
  }
}

// Gives a dense hash its key items: from then on it is a hash like any other. The values stay
// where they are.
void makeKeys(PvBaseHash* h) {
  if (!h->dense) return;
  size_t n = h->pairs.size();
  for (size_t i = 0; i < n; ++i) {
    PvItem& k = h->pairs.key(i);
    k.type = PV_IT_INTEGER;
    k.item.asInteger.value = static_cast<int32_t>(i + 1);
    k.item.asInteger.width = 10;
  }
  h->dense = false;
  if (h->side) h->side->order.clear();
  h->sorted = static_cast<uint32_t>(n);
  reindex(h);
}

// The key a dense hash takes next: the integer n + 1 with its default width.
bool nextDenseKey(const PvBaseHash* h, PV_ITEM key) {
  return key->type == PV_IT_INTEGER && key->item.asInteger.width == 10 &&
         key->item.asInteger.value == static_cast<int64_t>(h->pairs.size()) + 1;
}

// Adds the key with a NIL value; returns its position.
PV_SIZE append(PvBaseHash* h, PV_ITEM key) {
  if (h->dense && nextDenseKey(h, key)) return static_cast<PV_SIZE>(h->pairs.push(false));
  makeKeys(h);
  size_t n = h->pairs.push(true);
  PvItem& k = h->pairs.key(n);
  pv_itemCopy(&k, key);
  k.type &= ~PV_IT_MEMOFLAG;
  // Keys arriving in ascending order keep the pairs themselves in key order.
  if (h->sorted == n && !ordered(h) &&
      (n == 0 || (!isHole(h->pairs.key(n - 1)) && compareKeys(&h->pairs.key(n - 1), &k, ignoresCase(h)) < 0)))
    h->sorted = static_cast<uint32_t>(n + 1);
  indexLast(h);
  return static_cast<PV_SIZE>(n);
}

// Brings the key order up to date: the pairs added since are sorted and merged in.
void sortKeys(PvBaseHash* h) {
  size_t n = h->pairs.size();
  if (h->sorted == n) return;
  auto& order = side(h).order;
  if (order.empty()) {
    order.resize(h->sorted);
    for (size_t i = 0; i < h->sorted; ++i) order[i] = static_cast<uint32_t>(i);
  }
  for (size_t i = h->sorted; i < n; ++i) order.push_back(static_cast<uint32_t>(i));
  bool ic = ignoresCase(h);
  auto less = [h, ic](uint32_t a, uint32_t b) { return compareKeys(&h->pairs.key(a), &h->pairs.key(b), ic) < 0; };
  auto middle = order.begin() + static_cast<std::ptrdiff_t>(h->sorted);
  std::sort(middle, order.end(), less);
  std::inplace_merge(order.begin(), middle, order.end(), less);
  h->sorted = static_cast<uint32_t>(n);
}

// Forgets the key order (the comparison changed).
void resetKeyOrder(PvBaseHash* h) {
  if (h->side) h->side->order.clear();
  h->sorted = 0;
}

// Squeezes the holes out: the pairs after a hole move down (bit for bit), and the key order
// and the index follow.
void compact(PvBaseHash* h) {
  if (!h->holes) return;
  size_t n = h->pairs.size(), live = 0, liveSorted = 0;
  std::vector<uint32_t> moved(ordered(h) ? n : 0, kGrave);  // new position of each old one
  for (size_t i = 0; i < n; ++i) {
    if (isHole(h->pairs.key(i))) continue;
    if (!moved.empty()) moved[i] = static_cast<uint32_t>(live);
    if (i < h->sorted) ++liveSorted;
    h->pairs.key(live) = h->pairs.key(i);
    h->pairs.value(live) = h->pairs.value(i);
    ++live;
  }
  h->pairs.truncate(live);
  if (!moved.empty()) {
    auto& order = h->side->order;
    for (auto& o : order) o = moved[o];
    std::erase(order, kGrave);
  }
  h->sorted = static_cast<uint32_t>(liveSorted);
  h->holes = 0;
  reindex(h);
}

// Marks the index slot of the pair at `pos` as a grave.
void unindex(PvBaseHash* h, size_t pos) {
  if (!indexed(h)) return;
  auto& slots = h->side->slots;
  size_t mask = slots.size() - 1;
  size_t s = homeSlot(h, keyHash(&h->pairs.key(pos), ignoresCase(h)));
  while (slots[s] != pos + 1) s = (s + 1) & mask;
  slots[s] = kGrave;
}

// Removes the pair at `pos`, leaving a hole. Its key and value are let go last: a destructor
// they run finds the hash already without them.
void removeAt(PvBaseHash* h, size_t pos) {
  PvItem key = {PV_IT_NIL, {}}, value = h->pairs.value(pos);
  if (h->dense && pos + 1 == h->pairs.size()) {
    h->pairs.pop();
  } else {
    makeKeys(h);
    unindex(h, pos);
    key = h->pairs.key(pos);
    h->pairs.key(pos).type = PV_IT_NIL;
    h->pairs.value(pos).type = PV_IT_NIL;
    if (++h->holes * 2 > h->pairs.size()) compact(h);
  }
  pv_itemClear(&key);
  pv_itemClear(&value);
}

// Storage position of the n-th pair in iteration order (1-based n); -1 when out of range.
PV_SIZE iterPos(PvBaseHash* h, PV_SIZE n) {
  if (!h || n < 1 || n > static_cast<PV_SIZE>(pairCount(h))) return -1;
  compact(h);
  if (h->dense || (h->flags & PV_HASH_KEEPORDER)) return n - 1;
  sortKeys(h);
  return ordered(h) ? h->side->order[static_cast<size_t>(n - 1)] : n - 1;
}

// 1-based position in iteration order of the pair at `pos` (of a hash without holes): the keys
// before it among the sorted pairs found by bisection, plus those among the pairs added since,
// counted one by one until they are many enough to be worth merging in. So asking for the
// position between inserts costs no sort each time.
PV_SIZE iterNumber(PvBaseHash* h, PV_SIZE pos) {
  if (h->dense || (h->flags & PV_HASH_KEEPORDER)) return pos + 1;
  size_t n = h->pairs.size(), added = n - h->sorted;
  if (added > 16 && added * added > n) sortKeys(h);
  bool ic = ignoresCase(h);
  PV_ITEM key = &h->pairs.key(static_cast<size_t>(pos));
  auto keyBefore = [h, ic, key](uint32_t o) { return compareKeys(&h->pairs.key(o), key, ic) < 0; };
  size_t before = 0;
  if (ordered(h)) {
    const auto& order = h->side->order;
    before = std::partition_point(order.begin(), order.end(), keyBefore) - order.begin();
  } else {
    size_t hi = h->sorted;  // the sorted pairs are themselves in key order
    while (before < hi) {
      size_t mid = (before + hi) / 2;
      if (keyBefore(static_cast<uint32_t>(mid))) before = mid + 1;
      else hi = mid;
    }
  }
  for (size_t i = h->sorted; i < h->pairs.size(); ++i) before += keyBefore(static_cast<uint32_t>(i));
  return static_cast<PV_SIZE>(before) + 1;
}

// Puts the pairs themselves in key order (the iteration order they keep from then on).
void arrangeInKeyOrder(PvBaseHash* h) {
  if (h->dense) return;
  compact(h);
  sortKeys(h);
  if (!ordered(h)) return;
  PvHashPairs pairs;  // the items move over bit for bit
  pairs.reserve(h->pairs.size(), true);
  for (uint32_t o : h->side->order) {
    size_t i = pairs.push(true);
    pairs.key(i) = h->pairs.key(o);
    pairs.value(i) = h->pairs.value(o);
  }
  h->pairs.swap(pairs);
  resetKeyOrder(h);
  h->sorted = static_cast<uint32_t>(h->pairs.size());
  reindex(h);
}

}  // namespace

const PvGcFuncs pv_hashGcFuncs = {hashClear, hashMark};

bool pv_hashIsKey(PV_ITEM key) {
  return key && (PV_IS_STRING(key) || PV_IS_NUMERIC(key) || PV_IS_DATE(key) || PV_IS_POINTER(key));
}

bool pv_hashNew(PV_ITEM item) {
  void* block = pv_gcAlloc(sizeof(PvBaseHash), &pv_hashGcFuncs);
  auto* h = new (block) PvBaseHash();
  pv_itemClear(item);
  item->type = PV_IT_HASH;
  item->item.asHash.value = h;
  return true;
}

void pv_hashPreallocate(PV_ITEM hash, PV_SIZE pairs) {
  PvBaseHash* h = baseOf(hash);
  if (!h || pairs <= 0) return;
  h->pairs.reserve(static_cast<size_t>(pairs), !h->dense);
}

PV_SIZE pv_hashLen(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  return h ? static_cast<PV_SIZE>(pairCount(h)) : 0;
}

bool pv_hashAdd(PV_ITEM hash, PV_ITEM key, PV_ITEM value) {
  PvBaseHash* h = baseOf(hash);
  if (!h || !pv_hashIsKey(key)) return false;
  PV_SIZE pos = find(h, key);
  if (pos < 0) pos = append(h, key);
  PV_ITEM v = valueAt(h, pos);
  pv_itemCopy(v, value);
  v->type &= ~PV_IT_MEMOFLAG;
  return true;
}

bool pv_hashSet(PV_ITEM hash, PV_ITEM key, PV_ITEM value) { return pv_hashAdd(hash, key, value); }

PV_ITEM pv_hashLocate(PV_ITEM hash, PV_ITEM key, bool autoAdd) {
  PvBaseHash* h = baseOf(hash);
  if (!h || !pv_hashIsKey(key)) return nullptr;
  // the next key of a hash used like an array is known to be missing
  PV_SIZE pos = (autoAdd && h->dense && nextDenseKey(h, key)) ? -1 : find(h, key);
  if (pos >= 0) return valueAt(h, pos);
  if (!autoAdd) return nullptr;
  PV_ITEM v = valueAt(h, append(h, key));
  if (h->side && !PV_IS_NIL(&h->side->defaultValue)) pv_itemCloneTo(v, &h->side->defaultValue);
  return v;
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
  if (h && position) compact(h);
  PV_SIZE pos = (h && pv_hashIsKey(key)) ? find(h, key) : -1;
  if (position) *position = pos >= 0 ? iterNumber(h, pos) : 0;
  return pos >= 0;
}

bool pv_hashRemove(PV_ITEM hash, PV_ITEM key) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE pos = (h && pv_hashIsKey(key)) ? find(h, key) : -1;
  if (pos < 0) return false;
  removeAt(h, static_cast<size_t>(pos));
  return true;
}

PV_ITEM pv_hashGetKeyAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  if (h) makeKeys(h);
  PV_SIZE p = iterPos(h, n);
  return p < 0 ? nullptr : &h->pairs.key(static_cast<size_t>(p));
}

PV_ITEM pv_hashGetValueAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE p = iterPos(h, n);
  return p < 0 ? nullptr : valueAt(h, p);
}

bool pv_hashDelAt(PV_ITEM hash, PV_SIZE n) {
  PvBaseHash* h = baseOf(hash);
  PV_SIZE p = iterPos(h, n);
  if (p < 0) return false;
  removeAt(h, static_cast<size_t>(p));
  return true;
}

PV_ITEM pv_hashClone(PV_ITEM hash) {
  PV_ITEM result = pv_itemNew(nullptr);
  PvBaseHash* h = baseOf(hash);
  if (!h) return result;
  compact(h);
  pv_hashNew(result);
  PvBaseHash* d = result->item.asHash.value;
  d->flags = h->flags;
  d->sorted = h->sorted;
  d->dense = h->dense;
  if (h->side) {
    d->side = new PvHashSide{h->side->slots, h->side->order, {PV_IT_NIL, {}}};
    pv_itemCopy(&d->side->defaultValue, &h->side->defaultValue);
  }
  size_t n = h->pairs.size();
  d->pairs.reserve(n, !h->dense);
  for (size_t i = 0; i < n; ++i) {
    d->pairs.push(!h->dense);
    if (!h->dense) pv_itemCopy(&d->pairs.key(i), &h->pairs.key(i));
    pv_itemCloneTo(&d->pairs.value(i), &h->pairs.value(i));
  }
  return result;
}

bool pv_hashMerge(PV_ITEM dest, PV_ITEM src) {
  PvBaseHash* s = baseOf(src);
  if (!s || !baseOf(dest)) return false;
  PvItem key = {PV_IT_NIL, {}};
  for (PV_SIZE n = 1; n <= static_cast<PV_SIZE>(pairCount(s)); ++n) {
    if (s->dense) pv_itemPutNI(&key, static_cast<int>(n));
    else pv_itemCopy(&key, pv_hashGetKeyAt(src, n));
    pv_hashAdd(dest, &key, pv_hashGetValueAt(src, n));
  }
  pv_itemClear(&key);
  return true;
}

void pv_hashClear(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  if (!h) return;
  releaseItems(h);
  if (h->side) h->side->slots.clear();
  h->dense = true;
  h->holes = 0;
  resetKeyOrder(h);
}

void pv_hashSetFlags(PV_ITEM hash, int flags) {
  PvBaseHash* h = baseOf(hash);
  if (!h) return;
  if ((flags & PV_HASH_KEEPORDER) && !(h->flags & PV_HASH_KEEPORDER)) arrangeInKeyOrder(h);
  bool caseChange = (flags & PV_HASH_IGNORECASE) && !ignoresCase(h);
  h->flags |= flags;
  if (caseChange) {
    resetKeyOrder(h);
    reindex(h);
  }
}

void pv_hashClearFlags(PV_ITEM hash, int flags) {
  PvBaseHash* h = baseOf(hash);
  if (!h) return;
  bool caseChange = (flags & PV_HASH_IGNORECASE) && ignoresCase(h);
  if (flags & PV_HASH_KEEPORDER) resetKeyOrder(h);
  h->flags &= ~flags;
  if (caseChange) {
    resetKeyOrder(h);
    reindex(h);
  }
}

PV_ITEM pv_hashGetDefault(PV_ITEM hash) {
  PvBaseHash* h = baseOf(hash);
  return h ? &side(h).defaultValue : nullptr;
}

void pv_hashSetDefault(PV_ITEM hash, PV_ITEM value) {
  PvBaseHash* h = baseOf(hash);
  if (h) pv_itemCopy(&side(h).defaultValue, value);
}

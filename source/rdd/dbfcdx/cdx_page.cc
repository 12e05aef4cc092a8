// The page codec: parsing page images, reading leaf keys through the one-key cache, decoding
// and encoding compressed leaves, fitting keys into fresh leaves, interior entry edits, and
// storing pages.
#include <algorithm>
#include <bit>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

const char* const kIntegrity = "pv_cdxErrInternal: data integrity error.";

uint32_t lowMask(int bits) { return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }

[[noreturn]] void corruptPage(const CdxPage& p) {
  cdxFail(kCdxCorrupt, kIntegrity, cdxFormat("\r\npPage->Page=%lx", (unsigned long)p.page));
}

void parseLeafHeader(CdxPage& p) {
  const uint8_t* im = p.image;
  p.freeSpace = GetLE16(im + kLeafFree);
  p.recMask = GetLE32(im + kLeafRecMask);
  p.dupMask = im[kLeafDupMask];
  p.trlMask = im[kLeafTrlMask];
  p.recBits = im[kLeafRecBits];
  p.dupBits = im[kLeafDupBits];
  p.trlBits = im[kLeafTrlBits];
  p.entrySize = im[kLeafEntrySize];
  bool ok = p.entrySize >= 1 && p.entrySize <= 8 && p.dupBits <= 8 && p.trlBits <= 8 &&
            p.recBits + p.dupBits + p.trlBits == p.entrySize * 8 &&
            p.dupMask == lowMask(p.dupBits) && p.trlMask == lowMask(p.trlBits) &&
            p.recMask == lowMask(p.recBits) && p.keyCount * p.entrySize <= kLeafAreaLen &&
            p.freeSpace <= kLeafAreaLen;
  if (!ok) corruptPage(p);
}

// Copies a few bytes: a plain loop for the short runs typical of compressed keys, a block
// copy for longer ones.
inline void copyBytes(uint8_t* dst, const uint8_t* src, int n) {
  if (n >= 16) {
    std::memcpy(dst, src, size_t(n));
    return;
  }
  for (int j = 0; j < n; ++j) dst[j] = src[j];
}

// Word-wise copies and fills for decoding: they write up to kWordSlack - 1 bytes past n
// (and read as far past the source; a leaf's key data ends inside the page image).
constexpr size_t kWordSlack = 8;
inline void copyWords(uint8_t* dst, const uint8_t* src, int n) {
  for (int j = 0; j < n; j += 8) {
    uint64_t w;
    std::memcpy(&w, src + j, 8);
    std::memcpy(dst + j, &w, 8);
  }
}
inline void fillWords(uint8_t* dst, uint8_t fill, int n) {
  const uint64_t w = 0x0101010101010101ull * fill;
  for (int j = 0; j < n; j += 8) std::memcpy(dst + j, &w, 8);
}

// The entry of key i as an integer (entries are read 8 bytes at a time; the image has room
// past the key area).
uint64_t leafEntry(const CdxPage& p, int i) {
  uint64_t e;
  std::memcpy(&e, p.image + kLeafHeaderLen + i * p.entrySize, 8);
  return p.entrySize < 8 ? e & ((uint64_t(1) << (8 * p.entrySize)) - 1) : e;
}

// Advances the decode cache by one key; returns its duplicate and trailing counts.
void leafStep(CdxPage& p, int& dup, int& trl) {
  const CdxTag& t = *p.tag;
  int k = p.cacheNext;
  uint64_t e = leafEntry(p, k);
  dup = k == 0 ? 0 : int((e >> p.recBits) & p.dupMask);
  trl = int((e >> (p.recBits + p.dupBits)) & p.trlMask);
  int n = t.keyLen - dup - trl;
  if (n < 0)
    cdxFail(kCdxCorrupt, "pv_cdxPageGetKeyVal: index corrupted.",
            cdxFormat("\r\npPage->Page=%lx, iLen=%d, iDup=%d, iTrl=%d", (unsigned long)p.page,
                      t.keyLen, dup, trl));
  if (n > 0) {
    p.cacheDataPos -= n;
    if (p.cacheDataPos < kLeafHeaderLen + p.keyCount * p.entrySize) corruptPage(p);
    copyBytes(p.cacheKey + dup, p.image + p.cacheDataPos, n);
  }
  int end = t.keyLen - trl;
  for (int j = end; j < p.cachePrevLen; ++j) p.cacheKey[j] = t.fill;
  p.cachePrevLen = end;
  ++p.cacheNext;
}

void cacheRestart(CdxPage& p) {
  p.cacheNext = 0;
  p.cacheDataPos = kPageSize;
  p.cachePrevLen = p.tag->keyLen;
}

uint8_t* intEntry(CdxPage& p, int i) { return p.image + kPageHeaderLen + i * (p.tag->keyLen + 8); }

int intCapacity(const CdxPage& p) {
  return (CdxPage::kImageLen - kPageHeaderLen) / (p.tag->keyLen + 8);
}

}  // namespace

// ---- Decoded entries -----------------------------------------------------------------------

uint8_t* decKey(CdxPage& p, int i) { return p.decoded.data() + size_t(i) * decEntryLen(*p.tag); }
uint32_t decRec(const CdxPage& p, int i) {
  return GetLE32(p.decoded.data() + size_t(i) * decEntryLen(*p.tag) + p.tag->keyLen);
}
int decDup(const CdxPage& p, int i) {
  return p.decoded[size_t(i) * decEntryLen(*p.tag) + p.tag->keyLen + 4];
}
int decTrl(const CdxPage& p, int i) {
  return p.decoded[size_t(i) * decEntryLen(*p.tag) + p.tag->keyLen + 5];
}
void decSetCounts(CdxPage& p, int i, int dup, int trl) {
  uint8_t* e = p.decoded.data() + size_t(i) * decEntryLen(*p.tag) + p.tag->keyLen;
  e[4] = uint8_t(dup);
  e[5] = uint8_t(trl);
}

int trailingFill(const uint8_t* key, int keyLen, uint8_t fill) {
  int n = 0;
  while (n < keyLen && key[keyLen - 1 - n] == fill) ++n;
  return n;
}

int commonPrefix(const uint8_t* a, const uint8_t* b, int n) {
  int i = 0;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// ---- Parsing and reading -------------------------------------------------------------------

void pageParse(CdxPage& p) {
  const uint8_t* im = p.image;
  p.attr = im[0];
  p.keyCount = GetLE16(im + 2);
  p.left = GetLE32(im + 4);
  p.right = GetLE32(im + 8);
  p.curKey = 0;
  p.hasDecoded = false;
  p.decoded.clear();
  if (p.isLeaf()) {
    parseLeafHeader(p);
  } else if (p.keyCount > p.tag->maxIntKeys) {
    corruptPage(p);
  }
  cacheRestart(p);
}

const uint8_t* pv_cdxPageGetKeyVal(CdxPage& p, int i) {
  if (i < 0 || i >= p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageGetKeyVal: wrong iKey index.");
  if (!p.isLeaf()) return intEntry(p, i);
  if (p.hasDecoded) return decKey(p, i);
  if (i < p.cacheNext - 1) cacheRestart(p);
  int dup, trl;
  while (p.cacheNext <= i) leafStep(p, dup, trl);
  return p.cacheKey;
}

uint32_t pv_cdxPageGetKeyRec(CdxPage& p, int i) {
  if (i < 0 || i >= p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageGetKeyRec: wrong iKey index.");
  if (!p.isLeaf()) return GetBE32(intEntry(p, i) + p.tag->keyLen);
  if (p.hasDecoded) return decRec(p, i);
  return uint32_t(leafEntry(p, i) & p.recMask);
}

uint32_t pv_cdxPageGetKeyPage(CdxPage& p, int i) {
  if (p.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageGetKeyPage: page is a leaf.");
  if (i < 0 || i >= p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageGetKeyPage: wrong iKey index.");
  return GetBE32(intEntry(p, i) + p.tag->keyLen + 4);
}

// ---- Leaf decode and encode ----------------------------------------------------------------

void pv_cdxPageLeafDecode(CdxPage& p) {
  if (!p.isLeaf())
    cdxFail(kCdxCorrupt, "pv_cdxPageLeafDecode: page is not a leaf.",
            cdxFormat("\r\npPage->Page=%lx", (unsigned long)p.page));
  if (p.hasDecoded) return;
  const CdxTag& t = *p.tag;
  const int kl = t.keyLen, el = decEntryLen(t);
  // Keys are assembled a word at a time; the array ends with room for the last word.
  p.decoded.resize(size_t(p.keyCount) * el + kWordSlack);
  const int entriesEnd = kLeafHeaderLen + p.keyCount * p.entrySize;
  int data = kPageSize;
  const int shiftTrl = p.recBits + p.dupBits;
  uint8_t* d = p.decoded.data();
  for (int i = 0; i < p.keyCount; ++i, d += el) {
    uint64_t e = leafEntry(p, i);
    int dup = i == 0 ? 0 : int((e >> p.recBits) & p.dupMask);
    int trl = int((e >> shiftTrl) & p.trlMask);
    int n = kl - dup - trl;
    if (n < 0)
      cdxFail(kCdxCorrupt, "pv_cdxPageLeafDecode: index corrupted.",
              cdxFormat("\r\npPage->Page=%lx, iLen=%d, iDup=%d, iTrl=%d", (unsigned long)p.page,
                        kl, dup, trl));
    data -= n;
    if (data < entriesEnd) corruptPage(p);
    // In this order each step overwrites what the one before wrote past its end.
    if (dup > 0) copyWords(d, d - el, dup);
    copyWords(d + dup, p.image + data, n);
    fillWords(d + kl - trl, t.fill, trl);
    PutLE32(d + kl, uint32_t(e & p.recMask));
    d[kl + 4] = uint8_t(dup);
    d[kl + 5] = uint8_t(trl);
  }
  cacheRestart(p);
  p.hasDecoded = true;
}

void pv_cdxPageLeafEncode(CdxPage& p, int count) {
  if (!p.isLeaf())
    cdxFail(kCdxCorrupt, "pv_cdxPageLeafEncode: page is not a leaf.",
            cdxFormat("\r\npPage->Page=%lx. left=%lx, right=%lx", (unsigned long)p.page,
                      (unsigned long)p.left, (unsigned long)p.right));
  const CdxTag& t = *p.tag;
  int pos = kLeafHeaderLen, data = kPageSize;
  for (int i = 0; i < count; ++i) {
    int dup = decDup(p, i), trl = decTrl(p, i), n = t.keyLen - dup - trl;
    uint32_t rec = decRec(p, i);
    if (n < 0 || rec > p.recMask)
      cdxFail(kCdxCorrupt, "pv_cdxPageLeafEncode: index corrupted.",
              cdxFormat("\r\npPage->Page=0x%lx, iKey=%d, iNum=%d, iDup=%d, iTrl=%d",
                        (unsigned long)p.page, i, count, dup, trl));
    uint64_t e = uint64_t(rec) | (uint64_t(dup) << p.recBits) |
                 (uint64_t(trl) << (p.recBits + p.dupBits));
    PutLEn(p.image + pos, p.entrySize, e);
    pos += p.entrySize;
    data -= n;
    if (data < pos) break;
    std::memcpy(p.image + data, decKey(p, i) + dup, size_t(n));
  }
  int gap = data - pos;
  if (gap != p.freeSpace || p.freeSpace < 0)
    cdxFail(kCdxCorrupt, "pv_cdxPageLeafEncode: FreeSpace calculated wrong!.",
            cdxFormat("\r\nPage=0x%lx, calc=%d, iFree=%d, req=%d, keys=%d, keyLen=%d\r\n",
                      (unsigned long)p.page, gap, p.freeSpace, 0, count, t.keyLen));
  std::memset(p.image + pos, 0, size_t(gap));
  p.keyCount = count;
  p.changed = true;
  cacheRestart(p);
}

// ---- Leaf widths and fitting ---------------------------------------------------------------

void leafReset(CdxPage& p) {
  int b = std::bit_width(unsigned(p.tag->keyLen));
  p.entrySize = 3;
  p.dupBits = p.trlBits = b;
  p.recBits = 24 - 2 * b;
  p.dupMask = p.trlMask = uint8_t(lowMask(b));
  p.recMask = lowMask(p.recBits);
  p.freeSpace = kLeafAreaLen;
  p.keyCount = 0;
  p.decoded.clear();
  p.hasDecoded = true;
  cacheRestart(p);
}

void leafNormalizeWidths(CdxPage& p) {
  const CdxTag& t = *p.tag;
  if (p.dupMask >= t.keyLen && p.trlMask >= t.keyLen) return;
  // Another writer's widths that cannot hold every count of this key length: fresh widths.
  uint32_t maxRec = 0;
  int data = 0;
  for (int i = 0; i < p.keyCount; ++i) {
    maxRec = std::max(maxRec, decRec(p, i));
    data += t.keyLen - decDup(p, i) - decTrl(p, i);
  }
  int n = p.keyCount;
  std::vector<uint8_t> keep = std::move(p.decoded);
  leafReset(p);
  p.decoded = std::move(keep);
  leafWidenFor(p, maxRec);
  p.keyCount = n;
  p.freeSpace = kLeafAreaLen - n * p.entrySize - data;
  p.changed = true;
}

static void leafWiden(CdxPage& p) {
  if (p.entrySize >= 8) cdxFail(kCdxCorrupt, kIntegrity);
  p.recMask = uint32_t(std::min<uint64_t>(uint64_t(p.recMask) * 256 + 255, 0xFFFFFFFFu));
  p.entrySize += 1;
  p.recBits += 8;
}

int leafWidenFor(CdxPage& p, uint32_t rec) {
  int steps = 0;
  while (rec > p.recMask) {
    leafWiden(p);
    ++steps;
  }
  return steps;
}

int leafFit(CdxPage& p, std::vector<uint8_t>& keys, int from, int to) {
  const CdxTag& t = *p.tag;
  const int el = decEntryLen(t);
  leafReset(p);
  int j = 0;
  for (; from + j < to; ++j) {
    uint8_t* e = keys.data() + size_t(from + j) * el;
    if (j == 0) e[t.keyLen + 4] = 0;
    int dup = e[t.keyLen + 4], trl = e[t.keyLen + 5];
    int need = t.keyLen + p.entrySize - trl - dup;
    uint32_t rec = GetLE32(e + t.keyLen);
    if (rec > p.recMask) {
      uint32_t mask = p.recMask;
      int size = p.entrySize, bits = p.recBits;
      int steps = leafWidenFor(p, rec);
      need += steps * (j + 1);
      if (need > p.freeSpace) {  // not kept: this key starts the next page
        p.recMask = mask;
        p.entrySize = size;
        p.recBits = bits;
        break;
      }
    }
    if (need > p.freeSpace) break;
    p.freeSpace -= need;
    p.keyCount = j + 1;
  }
  return j;
}

// ---- Interior entries ----------------------------------------------------------------------

void pv_cdxPageIntSetKey(CdxPage& p, int i, bool insert, const uint8_t* key, uint32_t rec,
                         uint32_t child) {
  const CdxTag& t = *p.tag;
  if (p.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageIntSetKey: page is a leaf!");
  if (i < 0 || i > p.keyCount || (!insert && i == p.keyCount))
    cdxFail(kCdxCorrupt, "pv_cdxPageIntSetKey: wrong iKey index.");
  const int el = t.keyLen + 8;
  if (insert) {
    if (p.keyCount >= intCapacity(p)) cdxFail(kCdxCorrupt, "pv_cdxPageStore: number of keys exceed!.");
    uint8_t* e = intEntry(p, i);
    std::memmove(e + el, e, size_t(p.keyCount - i) * el);
    ++p.keyCount;
  }
  uint8_t* e = intEntry(p, i);
  if (key)
    std::memcpy(e, key, size_t(t.keyLen));
  else if (insert)
    std::memset(e, t.fill, size_t(t.keyLen));
  if (rec || insert) PutBE32(e + t.keyLen, rec);
  PutBE32(e + t.keyLen + 4, child);
  p.changed = true;
}

void pv_cdxPageIntDelKey(CdxPage& p, int i) {
  const CdxTag& t = *p.tag;
  if (p.isLeaf()) cdxFail(kCdxCorrupt, "pv_cdxPageIntDelKey: page is a leaf!");
  if (i < 0 || i >= p.keyCount) cdxFail(kCdxCorrupt, "pv_cdxPageIntDelKey: wrong iKey index.");
  const int el = t.keyLen + 8;
  uint8_t* e = intEntry(p, i);
  std::memmove(e, e + el, size_t(p.keyCount - i - 1) * el);
  --p.keyCount;
  std::memset(intEntry(p, p.keyCount), 0, size_t(el));
  p.changed = true;
}

// ---- Storing -------------------------------------------------------------------------------

void pageSerialize(CdxPage& p) {
  uint8_t* im = p.image;
  if (p.isLeaf() && p.hasDecoded) pv_cdxPageLeafEncode(p, p.keyCount);
  PutLE16(im, p.attr);
  PutLE16(im + 2, uint16_t(p.keyCount));
  PutLE32(im + 4, p.left);
  PutLE32(im + 8, p.right);
  if (p.isLeaf()) {
    PutLE16(im + kLeafFree, uint16_t(p.freeSpace));
    PutLE32(im + kLeafRecMask, p.recMask);
    im[kLeafDupMask] = p.dupMask;
    im[kLeafTrlMask] = p.trlMask;
    im[kLeafRecBits] = uint8_t(p.recBits);
    im[kLeafDupBits] = uint8_t(p.dupBits);
    im[kLeafTrlBits] = uint8_t(p.trlBits);
    im[kLeafEntrySize] = uint8_t(p.entrySize);
  } else {
    int used = kPageHeaderLen + p.keyCount * (p.tag->keyLen + 8);
    std::memset(im + used, 0, size_t(std::max(0, int(kPageSize) - used)));
  }
}

void pv_cdxPageStore(CdxPage& p) {
  if (p.page == 0 || p.page == kNoPage) cdxFail(kCdxCorrupt, "pv_cdxPageStore: Page number wrong!.");
  if (p.isLeaf() && p.freeSpace < 0)
    cdxFail(kCdxCorrupt, "pv_cdxPageStore: FreeSpace calculated wrong!.");
  if (!p.isLeaf() && p.keyCount > p.tag->maxIntKeys)
    cdxFail(kCdxCorrupt, "pv_cdxPageStore: number of keys exceed!.");
  pageSerialize(p);
  pv_cdxIndexPageWrite(*p.tag->index, p.page, p.image, kPageSize);
  p.changed = false;
}

}  // namespace pv::cdx

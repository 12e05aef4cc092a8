// Building a tag: the keys of all records go through an external merge sort (runs of about
// 32 MB sorted in memory and written to a temporary file, then merged; a million keys of up to
// 30 bytes sort in one run, without the file), and the sorted keys
// fill the tree bottom-up with full pages: leaves left to right, each full page passing its
// last key up to the level above.
#include <algorithm>
#include <cmath>
#include <new>
#include <queue>

#include "cdx_internal.h"

namespace pv::cdx {
namespace {

size_t g_runBytes = size_t(32) << 20;  // the memory of one sort run (cdxSortRunBytes)

// ---- Bottom-up tree builder ----------------------------------------------------------------

class TreeBuilder {
 public:
  TreeBuilder(CdxTag& t, uint32_t maxRec) : t_(t), maxRec_(maxRec) {}

  void add(const uint8_t* key, uint32_t rec) {
    const int kl = t_.keyLen;
    int trl = trailingFill(key, kl, t_.fill);
    CdxPage* p = level_[0];
    int dup = p && p->keyCount > 0 ? commonPrefix(prev_, key, kl - trl) : 0;
    if (!p || p->freeSpace + dup + trl - kl - p->entrySize < 0) {
      p = newLeaf();
      dup = 0;
    }
    int n = kl - dup - trl;
    dataPos_ -= n;
    std::memcpy(p->image + dataPos_, key + dup, size_t(n));
    uint64_t e = uint64_t(rec) | (uint64_t(dup) << p->recBits) |
                 (uint64_t(trl) << (p->recBits + p->dupBits));
    PutLEn(p->image + kLeafHeaderLen + p->keyCount * p->entrySize, p->entrySize, e);
    p->freeSpace -= n + p->entrySize;
    ++p->keyCount;
    std::memcpy(prev_, key, size_t(kl));
    prevRec_ = rec;
  }

  // Closes every level; the top page becomes the root.
  void finish() {
    if (!level_[0]) newLeaf();
    for (int k = 0; k < kMaxDepth && level_[k]; ++k) {
      CdxPage* p = level_[k];
      if (k + 1 < kMaxDepth && level_[k + 1]) {
        passUp(k, p);
      } else {
        p->attr |= kAttrRoot;
        t_.rootOffset = p->page;
      }
      pageRelease(t_, p);
    }
  }

 private:
  CdxPage* newLeaf() {
    CdxPage* np = pageNew(t_, kAttrLeaf);
    np->hasDecoded = false;  // filled straight into the image
    leafWidenFor(*np, maxRec_);
    link(0, np);
    dataPos_ = kPageSize;
    return np;
  }

  // Makes np the page being filled at level k, closing the previous one.
  void link(int k, CdxPage* np) {
    CdxPage* prev = level_[k];
    level_[k] = np;
    if (!prev) return;
    prev->right = np->page;
    np->left = prev->page;
    passUp(k, prev);
    pageRelease(t_, prev);
  }

  // Adds page p's last key (with its record and p's offset) to level k + 1.
  void passUp(int k, CdxPage* p) {
    uint8_t key[kMaxKeyLen];
    uint32_t rec;
    if (k == 0) {
      std::memcpy(key, prev_, size_t(t_.keyLen));
      rec = prevRec_;
    } else {
      std::memcpy(key, pv_cdxPageGetKeyVal(*p, p->keyCount - 1), size_t(t_.keyLen));
      rec = pv_cdxPageGetKeyRec(*p, p->keyCount - 1);
    }
    if (k + 1 >= kMaxDepth) cdxFail(kCdxSortFailed, "pv_cdxSortOut: memory structure corrupted.");
    CdxPage* up = level_[k + 1];
    if (!up || up->keyCount >= t_.maxIntKeys) {
      up = pageNew(t_, 0);
      link(k + 1, up);
    }
    pv_cdxPageIntSetKey(*up, up->keyCount, true, key, rec, p->page);
  }

  CdxTag& t_;
  uint32_t maxRec_;
  CdxPage* level_[kMaxDepth] = {};
  int dataPos_ = kPageSize;
  uint8_t prev_[kMaxKeyLen] = {};
  uint32_t prevRec_ = 0;
};

// ---- External merge sort -------------------------------------------------------------------

class CdxSortInfo {
 public:
  CdxSortInfo(CdxTag& t, uint32_t count) : t_(t), el_(t.keyLen + 4) { size(count); }

  void add(const CdxKey& k, uint32_t rec) {
    if (inRun_ == runKeys_) writeRun();
    uint8_t* e = pool_.data() + size_t(inRun_) * el_;
    int n = std::min<int>(k.len, t_.keyLen);
    std::memcpy(e, k.val, size_t(n));
    std::memset(e + n, t_.fill, size_t(t_.keyLen - n));
    PutLE32(e + t_.keyLen, rec);
    ++inRun_;
    ++total_;
  }

  // Merges the runs and feeds the builder (a unique tag keeps the first entry of each value).
  void out(TreeBuilder& b) {
    uint8_t last[kMaxKeyLen];
    bool haveLast = false;
    auto emit = [&](const uint8_t* e) {
      if (t_.unique) {
        if (haveLast && cdxKeyCompare(t_, e, t_.keyLen, last, t_.keyLen, true) == 0) return;
        std::memcpy(last, e, size_t(t_.keyLen));
        haveLast = true;
      }
      b.add(e, GetLE32(e + t_.keyLen));
    };
    if (runs_.empty()) {
      for (uint32_t i : sortedOrder(inRun_)) emit(pool_.data() + size_t(i) * el_);
      return;
    }
    if (inRun_) writeRun();
    merge(emit);
  }

 private:
  struct Run {
    uint64_t off;     // file offset of the next unread key
    uint32_t left;    // keys not yet read from the file
    uint32_t inBuf;   // keys in the buffer
    uint32_t cur;     // current key in the buffer
    uint8_t* buf;
  };

  void size(uint32_t n) {
    uint32_t m = uint32_t(std::ceil(std::sqrt(double(std::max<uint32_t>(n, 1)))));
    uint64_t r = m;
    while (r < g_runBytes / el_) r *= 2;
    r = std::min<uint64_t>(r, std::max<uint32_t>(n, 1));
    for (;;) {
      try {
        pool_.resize(size_t(2 * r) * el_);
        break;
      } catch (const std::bad_alloc&) {
        if (r / 2 < m) throw;
        r /= 2;
      }
    }
    runKeys_ = uint32_t(r);
  }

  bool less(const uint8_t* a, const uint8_t* b) const {
    int k = cdxKeyCompare(t_, a, t_.keyLen, b, t_.keyLen, true);
    if (k) return k < 0;
    return GetLE32(a + t_.keyLen) < GetLE32(b + t_.keyLen);
  }

  std::vector<uint32_t> sortedOrder(uint32_t n) const {
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i) order[i] = i;
    const uint8_t* base = pool_.data();
    const size_t el = size_t(el_);
    if (!t_.collation) {
      sortBytewise(order);
    } else {
      std::sort(order.begin(), order.end(),
                [&](uint32_t a, uint32_t b) { return less(base + a * el, base + b * el); });
    }
    return order;
  }

  // Keys compared byte by byte, then by record: the keys are sorted by eight bytes at a time read
  // as one big-endian number, each group of equal words by the next eight bytes, and keys equal
  // in every byte by record; most comparisons never touch the pool.
  void sortBytewise(std::vector<uint32_t>& order) const {
    std::vector<Slot> slots(order.size());
    for (size_t i = 0; i < slots.size(); ++i) slots[i] = {0, order[i]};
    sortFrom(slots.data(), slots.data() + slots.size(), 0);
    for (size_t i = 0; i < slots.size(); ++i) order[i] = slots[i].index;
  }

  struct Slot {
    uint64_t word;  // eight key bytes from the offset being sorted, big-endian
    uint32_t index;
  };

  // Sorts [first, last), whose keys agree in their first `from` bytes.
  void sortFrom(Slot* first, Slot* last, size_t from) const {
    const uint8_t* base = pool_.data();
    const size_t el = size_t(el_), kl = size_t(t_.keyLen);
    if (from >= kl) {
      std::sort(first, last, [&](const Slot& a, const Slot& b) {
        return GetLE32(base + a.index * el + kl) < GetLE32(base + b.index * el + kl);
      });
      return;
    }
    const size_t len = std::min<size_t>(kl - from, 8);
    for (Slot* s = first; s != last; ++s) {
      const uint8_t* p = base + s->index * el + from;
      uint64_t word = 0;
      for (size_t b = 0; b < 8; ++b) word = word << 8 | (b < len ? p[b] : 0);
      s->word = word;
    }
    std::sort(first, last, [](const Slot& a, const Slot& b) { return a.word < b.word; });
    for (Slot* group = first; group != last;) {
      Slot* end = group + 1;
      while (end != last && end->word == group->word) ++end;
      if (end - group > 1) sortFrom(group, end, from + len);
      group = end;
    }
  }

  // Sorts the current run and appends it to the temporary file.
  void writeRun() {
    std::vector<uint32_t> order = sortedOrder(inRun_);
    uint8_t* scratch = pool_.data() + size_t(runKeys_) * el_;
    for (uint32_t i = 0; i < inRun_; ++i)
      std::memcpy(scratch + size_t(i) * el_, pool_.data() + size_t(order[i]) * el_, size_t(el_));
    if (!tmp_) {
      std::unique_ptr<CdxPosixFile> f;
      if (!CdxPosixFile::temporary(f).ok())
        cdxFail(kCdxSortFailed, "pv_cdxSortWritePage: Can't create temporary file.");
      tmp_ = std::move(f);
    }
    size_t bytes = size_t(inRun_) * el_;
    if (!tmp_->write(tmpEnd_, scratch, bytes).ok())
      cdxFail(kCdxSortFailed, "pv_cdxSortWritePage: Write error in temporary file.");
    runs_.push_back({tmpEnd_, inRun_, 0, 0, nullptr});
    tmpEnd_ += bytes;
    inRun_ = 0;
  }

  // Refills a run's buffer; false when the run is used up.
  bool refill(Run& r) {
    if (r.cur < r.inBuf) return true;
    if (r.left == 0) return false;
    uint32_t n = std::min(bufKeys_, r.left);
    if (!tmp_->read(r.off, r.buf, size_t(n) * el_).ok())
      cdxFail(kCdxSortFailed, "pv_cdxSortGetPageKey: Read error from temporary file.");
    r.off += uint64_t(n) * el_;
    r.left -= n;
    r.inBuf = n;
    r.cur = 0;
    return true;
  }

  template <class Emit>
  void merge(Emit& emit) {
    // The pool is shared evenly by the runs' read buffers.
    bufKeys_ = std::max<uint32_t>(uint32_t((2 * uint64_t(runKeys_)) / runs_.size()), 1);
    for (size_t i = 0; i < runs_.size(); ++i)
      runs_[i].buf = pool_.data() + i * bufKeys_ * size_t(el_);
    auto key = [&](size_t i) { return runs_[i].buf + size_t(runs_[i].cur) * el_; };
    auto after = [&](size_t a, size_t b) { return less(key(b), key(a)); };
    std::priority_queue<size_t, std::vector<size_t>, decltype(after)> heap(after);
    for (size_t i = 0; i < runs_.size(); ++i)
      if (refill(runs_[i])) heap.push(i);
    uint64_t taken = 0;
    while (!heap.empty()) {
      size_t i = heap.top();
      heap.pop();
      emit(key(i));
      ++taken;
      ++runs_[i].cur;
      if (refill(runs_[i])) heap.push(i);
    }
    if (taken != total_) cdxFail(kCdxSortFailed, "pv_cdxSortOut: memory structure corrupted.");
  }

  CdxTag& t_;
  int el_;
  uint32_t runKeys_ = 0;
  std::vector<uint8_t> pool_;
  uint32_t inRun_ = 0;
  uint64_t total_ = 0;
  std::unique_ptr<CdxPosixFile> tmp_;
  uint64_t tmpEnd_ = 0;
  std::vector<Run> runs_;
  uint32_t bufKeys_ = 0;
};

}  // namespace

void pv_cdxTagDoIndex(CdxTag& t, uint32_t count, const CdxKeyFn& keyOf) {
  TreeBuilder builder(t, std::max<uint32_t>(count, 1));
  if (count > 0 && keyOf) {
    CdxSortInfo sort(t, count);
    CdxKey k;
    for (uint32_t rec = 1; rec <= count; ++rec) {
      k.len = 0;
      if (keyOf(rec, k)) sort.add(k, rec);
    }
    sort.out(builder);
  }
  builder.finish();
  t.root = nullptr;
  t.path.clear();
  t.reposition = true;
  t.cacheBits = 0;
}

size_t cdxSortRunBytes(size_t bytes) {
  size_t was = g_runBytes;
  g_runBytes = bytes;
  return was;
}

}  // namespace pv::cdx

// The structure checker: walks every tag level by level from its root, reading each page
// from the file, and then the free list.
#include "cdx_check.h"

#include <unordered_set>

#include "cdx_internal.h"

namespace pv::cdx {

namespace {

class Checker {
 public:
  Checker(CdxIndex& x, CdxCheckReport& rep, const CdxCheckOptions& opt)
      : x_(x), rep_(rep), opt_(opt), pages_(x.file->size() / kPageSize) {}

  void run() {
    markHeader(0, "directory");
    for (auto& t : x_.tags) markHeader(t->headerOffset, t->name);
    checkTag(*x_.directory);
    for (auto& t : x_.tags) checkTag(*t);
    checkFreeList();
    rep_.unaccountedPages = pages_ > seen_.size() ? pages_ - seen_.size() : 0;
  }

  // Fails when pages belong to no tag and are not on the free list.
  void requireNoLostPages() {
    if (rep_.unaccountedPages == 0) return;
    cdxFail(kCdxCorrupt, cdxFormat("%llu pages belong to no tag and are not on the free list "
                                   "(space lost)", (unsigned long long)rep_.unaccountedPages));
  }

  // The pages that run() found in no tree, header or free list.
  std::vector<uint32_t> lostPages() const {
    std::vector<uint32_t> out;
    for (uint64_t i = 0; i < pages_; ++i)
      if (!seen_.count(uint32_t(i * kPageSize))) out.push_back(uint32_t(i * kPageSize));
    return out;
  }

 private:
  [[noreturn]] void fault(const CdxTag& t, uint32_t page, const std::string& what) {
    cdxFail(kCdxCorrupt, "tag " + (t.name.empty() ? std::string("?") : t.name) +
                             cdxFormat(", page 0x%lx: ", (unsigned long)page) + what);
  }

  void mark(const CdxTag& t, uint32_t page) {
    if (page % kPageSize || page == kNoPage || page / kPageSize >= pages_)
      fault(t, page, "page offset outside the file or not on a page boundary");
    if (!seen_.insert(page).second) fault(t, page, "page reached twice");
  }

  void markHeader(uint32_t off, const std::string& name) {
    CdxTag dummy;
    dummy.name = name;
    mark(dummy, off);
    mark(dummy, off + kPageSize);
  }

  std::unique_ptr<CdxPage> load(CdxTag& t, uint32_t off) {
    auto p = std::make_unique<CdxPage>();
    p->tag = &t;
    p->page = off;
    pv_cdxIndexPageRead(x_, off, p->image, kPageSize);
    pageParse(*p);
    return p;
  }

  void checkLeaf(CdxTag& t, CdxPage& p) {
    pv_cdxPageLeafDecode(p);
    int data = 0;
    for (int i = 0; i < p.keyCount; ++i) data += t.keyLen - decDup(p, i) - decTrl(p, i);
    int expect = kLeafAreaLen - p.keyCount * p.entrySize - data;
    if (expect != p.freeSpace)
      fault(t, p.page, cdxFormat("free space %d, computed %d", p.freeSpace, expect));
    int gapStart = kLeafHeaderLen + p.keyCount * p.entrySize;
    for (int i = gapStart; opt_.strictGap && i < gapStart + p.freeSpace; ++i)
      if (p.image[i]) fault(t, p.page, "non-zero byte between entries and key data");
    for (int i = 0; i < p.keyCount; ++i) {
      uint32_t rec = decRec(p, i);
      const uint8_t* k = decKey(p, i);
      if (rec == 0) fault(t, p.page, "record number 0");
      if (havePrev_) {
        int c = cdxKeyRecCompare(t, prev_.val, prev_.rec, k, rec);
        bool sameKey = cdxKeyCompare(t, prev_.val, t.keyLen, k, t.keyLen, true) == 0;
        if (c >= 0) fault(t, p.page, cdxFormat("key %d out of order", i));
        if (t.unique && sameKey) fault(t, p.page, cdxFormat("key %d repeats a unique value", i));
      }
      prev_.set(k, t.keyLen, rec);
      havePrev_ = true;
      ++keys_;
      if (recCheck_) noteRecord(t, p.page, k, rec);
    }
  }

  // Checks one level's list of pages; returns the next level's page offsets.
  std::vector<uint32_t> checkLevel(CdxTag& t, const std::vector<uint32_t>& level, bool top,
                                   bool& leaves) {
    std::vector<uint32_t> next;
    uint32_t prevPage = kNoPage;
    for (size_t i = 0; i < level.size(); ++i) {
      mark(t, level[i]);
      auto p = load(t, level[i]);
      if (i == 0) leaves = p->isLeaf();
      if (p->isLeaf() != leaves) fault(t, p->page, "leaf and interior pages on one level");
      if (p->isRoot() != top) fault(t, p->page, top ? "root page without root bit" : "root bit below the root");
      if (p->left != prevPage) fault(t, p->page, "left sibling link wrong");
      uint32_t right = i + 1 < level.size() ? level[i + 1] : kNoPage;
      if (p->right != right) fault(t, p->page, "right sibling link wrong");
      if (p->keyCount == 0 && !top) fault(t, p->page, "empty page below the root");
      prevPage = p->page;
      if (leaves) {
        checkLeaf(t, *p);
        continue;
      }
      for (int k = 0; k < p->keyCount; ++k) {
        uint32_t child = pv_cdxPageGetKeyPage(*p, k);
        if (child % kPageSize || child / kPageSize >= pages_)
          fault(t, p->page, "child offset outside the file");
        auto c = load(t, child);
        if (c->keyCount == 0) fault(t, child, "empty child page");
        int last = c->keyCount - 1;
        if (pv_cdxPageGetKeyRec(*c, last) != pv_cdxPageGetKeyRec(*p, k) ||
            std::memcmp(pv_cdxPageGetKeyVal(*c, last), pv_cdxPageGetKeyVal(*p, k),
                        size_t(t.keyLen)) != 0)
          fault(t, p->page, cdxFormat("entry %d differs from its child's last key", k));
        next.push_back(child);
      }
    }
    return next;
  }

  void checkTag(CdxTag& t) {
    havePrev_ = false;
    keys_ = 0;
    recCheck_ = opt_.keyOf && !t.isDirectory() && t.forExpr.empty() && !t.custom;
    if (recCheck_) {
      recKeys_.assign(size_t(opt_.recCount + 1) * size_t(t.keyLen), 0);
      recHas_.assign(size_t(opt_.recCount) + 1, 0);
    }
    std::vector<uint32_t> level{t.rootOffset};
    int depth = 0;
    uint64_t pagesBefore = seen_.size();
    for (bool top = true; !level.empty(); top = false) {
      if (++depth > kMaxDepth) fault(t, level[0], "tree deeper than 64 levels");
      bool leaves = false;
      std::vector<uint32_t> next = checkLevel(t, level, top, leaves);
      if (leaves) break;
      level = std::move(next);
    }
    if (t.isDirectory()) checkDirectory(t);
    if (recCheck_) checkRecords(t);
    uint64_t pages = seen_.size() - pagesBefore;
    rep_.treePages += pages;
    rep_.lines.push_back(cdxFormat("tag %-10s %8llu keys %6llu pages depth %d: ok", t.name.c_str(),
                                   (unsigned long long)keys_, (unsigned long long)pages, depth));
  }

  void checkDirectory(CdxTag& d) {
    if (keys_ != x_.tags.size())
      fault(d, d.rootOffset, cdxFormat("directory holds %llu names for %zu tags",
                                       (unsigned long long)keys_, x_.tags.size()));
  }

  void noteRecord(const CdxTag& t, uint32_t page, const uint8_t* key, uint32_t rec) {
    if (rec > opt_.recCount) fault(t, page, cdxFormat("key for record %u beyond the table", rec));
    if (recHas_[rec]) fault(t, page, cdxFormat("record %u has two keys", rec));
    recHas_[rec] = 1;
    std::memcpy(recKeys_.data() + size_t(rec) * t.keyLen, key, size_t(t.keyLen));
  }

  void checkRecords(CdxTag& t) {
    CdxKey want;
    uint8_t padded[kMaxKeyLen];
    for (uint32_t r = 1; r <= opt_.recCount; ++r) {
      want.len = 0;
      bool has = opt_.keyOf(t, r, want);
      if (t.unique) continue;  // a unique tag holds one record per value only
      if (!has) {
        if (recHas_[r]) fault(t, t.rootOffset, cdxFormat("record %u has a key but should not", r));
        continue;
      }
      std::memcpy(padded, want.val, want.len);
      std::memset(padded + want.len, t.fill, size_t(t.keyLen - want.len));
      if (!recHas_[r] ||
          std::memcmp(recKeys_.data() + size_t(r) * t.keyLen, padded, size_t(t.keyLen)) != 0)
        fault(t, t.rootOffset, cdxFormat("record %u: key differs from the record's value", r));
    }
  }

  void checkFreeList() {
    CdxTag fl;
    fl.name = "free list";
    uint32_t off = x_.freeHead;
    uint64_t n = 0;
    while (off != 0 && off != kNoPage) {
      mark(fl, off);
      uint8_t b[4];
      pv_cdxIndexPageRead(x_, off, b, 4);
      off = GetLE32(b);
      ++n;
    }
    rep_.freePages = n;
    rep_.lines.push_back(cdxFormat("free list %llu pages: ok", (unsigned long long)n));
  }

  CdxIndex& x_;
  CdxCheckReport& rep_;
  const CdxCheckOptions& opt_;
  uint64_t pages_;
  std::unordered_set<uint32_t> seen_;
  CdxKey prev_;
  bool havePrev_ = false;
  uint64_t keys_ = 0;
  bool recCheck_ = false;
  std::vector<uint8_t> recKeys_;  // key of each record, by record number
  std::vector<uint8_t> recHas_;
};

}  // namespace

CdxStatus cdxCheckIndex(CdxIndex& index, CdxCheckReport& report, const CdxCheckOptions& opt) {
  return cdxGuard([&] {
    if (indexHoldsChanges(index)) indexWriteAll(index);  // the checker reads the file
    indexUnderReadLock(index, [&] {
      Checker c(index, report, opt);
      c.run();
      c.requireNoLostPages();
    });
  });
}

CdxStatus cdxReclaimLostPages(CdxIndex& index, CdxCheckReport& report, uint64_t& reclaimed) {
  reclaimed = 0;
  return cdxGuard([&] {
    indexUnderWriteLock(index, [&] {
      const CdxCheckOptions structureOnly;
      Checker c(index, report, structureOnly);
      c.run();
      for (uint32_t page : c.lostPages()) pv_cdxIndexPutAvailPage(index, page, false);
      reclaimed = report.unaccountedPages;
    });
  });
}

}  // namespace pv::cdx

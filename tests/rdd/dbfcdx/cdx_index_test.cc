// Whole files: tags replaced and rebuilt (the application's three tags at every start, with
// their headers and pages reused), tags deleted, free pages, lost pages and their repair,
// reopening, shared use by two handles with the version word, stale-buffer discard and tags
// replaced behind a handle's back, lock misuse, read-only files, failed writes.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

std::vector<std::string> values(int n, int salt) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(std::to_string((i * 7919 + salt) % 100003));
  return v;
}

CdxStatus reopen(MemIndex& m, std::unique_ptr<CdxIndex>& out, CdxOpenOptions opt = {}) {
  return cdxIndexOpen(std::make_unique<CdxMemFile>(m.bytes()), "TEST", opt, out);
}

TEST(CdxIndexFile, RebuildingThreeTagsReusesPagesOnExclusiveFile) {
  MemIndex m;
  auto a = values(3000, 1), b = values(3000, 2), c = values(3000, 3);
  buildTag(*m.index, charSpec("excel1", 10, "STR(ID_NR)"), a);
  buildTag(*m.index, charSpec("excel2", 30, "LOWER(CUSTOMER) + INVOICE"), b);
  buildTag(*m.index, charSpec("excel3", 20, "LOWER(PRODUCT)"), c);
  size_t size = m.bytes().size();
  for (int round = 0; round < 3; ++round) {
    buildTag(*m.index, charSpec("excel1", 10, "STR(ID_NR)"), a);
    buildTag(*m.index, charSpec("excel2", 30, "LOWER(CUSTOMER) + INVOICE"), b);
    buildTag(*m.index, charSpec("excel3", 20, "LOWER(PRODUCT)"), c);
    expectValid(*m.index);
  }
  // Headers and tree pages of the replaced tags are reused: the file keeps its size.
  EXPECT_EQ(m.bytes().size(), size);
  ASSERT_EQ(m.index->tags.size(), 3u);
  EXPECT_EQ(m.index->tags[0]->name, "EXCEL1");
  EXPECT_EQ(m.index->tags[2]->name, "EXCEL3");
  std::unique_ptr<CdxIndex> r;
  ASSERT_TRUE(reopen(m, r).ok());
  ASSERT_EQ(r->tags.size(), 3u);
  EXPECT_EQ(walk(*cdxIndexFindTag(*r, "excel2")).size(), 3000u);
  // Reopened, tags are listed by header offset.
  for (size_t i = 1; i < r->tags.size(); ++i)
    EXPECT_LT(r->tags[i - 1]->headerOffset, r->tags[i]->headerOffset);
  expectValid(*r);
}

// Runs of 1 MB of long keys: several runs go through the temporary file and are merged; a
// unique tag keeps the lowest record of each value across runs.
TEST(CdxIndexFile, MultiRunSortAndUniqueMerge) {
  struct RunBytes {
    size_t was = cdxSortRunBytes(1 << 20);
    ~RunBytes() { cdxSortRunBytes(was); }
  } small;
  MemIndex m;
  const int n = 20000;
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(std::to_string((i * 7919) % 5000));  // each value 4 times
  CdxTagSpec s = charSpec("long", 240);
  CdxTag* t = buildTag(*m.index, s, v);
  auto got = walk(*t);
  ASSERT_EQ(got.size(), size_t(n));
  for (size_t i = 1; i < got.size(); ++i)
    ASSERT_TRUE(got[i - 1] < got[i]) << i;
  s.name = "uniq";
  s.unique = true;
  CdxTag* u = buildTag(*m.index, s, v);
  got = walk(*u);
  ASSERT_EQ(got.size(), 5000u);
  std::map<std::string, uint32_t> first;
  for (int i = n; i > 0; --i) first[v[size_t(i - 1)]] = uint32_t(i);
  for (const auto& [key, rec] : got) ASSERT_EQ(rec, first[key.substr(0, key.find(' '))]) << key;
  expectValid(*m.index);
}

// The in-memory sort orders keys byte by byte as unsigned bytes, then by record: keys shorter
// than eight bytes, keys whose first eight bytes agree and differ later, bytes above 0x7F.
TEST(CdxIndexFile, SortOrdersBytesUnsignedThenRecords) {
  const char alphabet[] = {'\x01', ' ', 'a', '\x7f', '\x80', '\xff'};
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) % 6; };
  for (int keyLen : {3, 8, 12}) {
    MemIndex m;
    std::vector<std::string> v;
    for (int i = 0; i < 3000; ++i) {
      std::string k(size_t(keyLen), ' ');
      for (int b = 0; b < keyLen; ++b) k[size_t(b)] = b < keyLen - 3 && keyLen > 8 ? 'a' : alphabet[next()];
      v.push_back(k);
    }
    std::vector<std::pair<std::string, uint32_t>> expected;
    for (size_t i = 0; i < v.size(); ++i) expected.emplace_back(v[i], uint32_t(i + 1));
    std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
      int k = std::memcmp(a.first.data(), b.first.data(), a.first.size());
      return k ? k < 0 : a.second < b.second;
    });
    CdxTag* t = buildTag(*m.index, charSpec("k" + std::to_string(keyLen), keyLen), v);
    auto got = walk(*t);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i].second, expected[i].second) << keyLen << " at " << i;
    expectValid(*m.index);
  }
}

TEST(CdxIndexFile, ReplacingTheOnlyTagStartsTheFileAnew) {
  MemIndex m;
  buildTag(*m.index, charSpec("only", 10), values(500, 1));
  buildTag(*m.index, charSpec("only", 10), values(10, 2));
  EXPECT_EQ(m.index->tags[0]->headerOffset, 1536u);
  EXPECT_EQ(m.index->tags[0]->rootOffset, 2560u);
  EXPECT_EQ(m.bytes().size(), 3072u);
}

TEST(CdxIndexFile, DeleteTagFreesItsPages) {
  MemIndex m;
  buildTag(*m.index, charSpec("a", 10), values(2000, 1));
  buildTag(*m.index, charSpec("b", 10), values(2000, 2));
  bool found = false;
  ASSERT_TRUE(cdxIndexDeleteTag(*m.index, "A", &found).ok());
  EXPECT_TRUE(found);
  CdxCheckReport rep;
  ASSERT_TRUE(cdxCheckIndex(*m.index, rep).ok());
  EXPECT_GT(rep.freePages, 20u);
  EXPECT_EQ(rep.unaccountedPages, 0u);
  ASSERT_TRUE(cdxIndexDeleteTag(*m.index, "nope", &found).ok());
  EXPECT_FALSE(found);
  std::unique_ptr<CdxIndex> r;
  ASSERT_TRUE(reopen(m, r).ok());
  ASSERT_EQ(r->tags.size(), 1u);
  EXPECT_EQ(r->tags[0]->name, "B");
}

// A new tag header takes two adjacent free pages; tree pages come from the list head.
TEST(CdxIndexFile, DeletedTagsHeaderAndPagesAreTakenByTheNextTag) {
  MemIndex m;
  buildTag(*m.index, charSpec("a", 10), values(2000, 1));
  buildTag(*m.index, charSpec("b", 10), values(2000, 2));
  uint32_t headerA = m.index->tags[0]->headerOffset;
  size_t size = m.bytes().size();
  ASSERT_TRUE(cdxIndexDeleteTag(*m.index, "A").ok());
  CdxTag* c = buildTag(*m.index, charSpec("c", 10), values(2000, 1));
  EXPECT_EQ(m.bytes().size(), size);
  EXPECT_LE(c->headerOffset, headerA + kPageSize);
  CdxCheckReport rep;
  ASSERT_TRUE(cdxCheckIndex(*m.index, rep).ok());
  EXPECT_EQ(rep.freePages, 0u);
  std::unique_ptr<CdxIndex> r;
  ASSERT_TRUE(reopen(m, r).ok());
  EXPECT_EQ(walk(*cdxIndexFindTag(*r, "c")).size(), 2000u);
  EXPECT_EQ(walk(*cdxIndexFindTag(*r, "b")).size(), 2000u);
}

// Pages in no tree, header or free list are lost space: the checker reports them and the
// repair puts them on the free list, where the next tag finds them.
TEST(CdxIndexFile, LostPagesAreAFaultAndTheRepairGivesThemBack) {
  MemIndex m;
  buildTag(*m.index, charSpec("a", 10), values(2000, 1));
  std::vector<uint8_t> bytes = m.bytes();
  bytes.resize(bytes.size() + 3 * kPageSize);  // three pages nobody owns
  std::unique_ptr<CdxIndex> x;
  ASSERT_TRUE(cdxIndexOpen(std::make_unique<CdxMemFile>(bytes), "TEST", {}, x).ok());
  CdxCheckReport rep;
  CdxStatus s = cdxCheckIndex(*x, rep);
  EXPECT_EQ(s.code, kCdxCorrupt);
  EXPECT_NE(s.text.find("3 pages belong to no tag and are not on the free list"),
            std::string::npos) << s.text;
  uint64_t reclaimed = 0;
  CdxCheckReport fixed;
  s = cdxReclaimLostPages(*x, fixed, reclaimed);
  ASSERT_TRUE(s.ok()) << s.toString() << s.detail;
  EXPECT_EQ(reclaimed, 3u);
  CdxCheckReport after;
  ASSERT_TRUE(cdxCheckIndex(*x, after).ok());
  EXPECT_EQ(after.freePages, 3u);
  EXPECT_EQ(after.unaccountedPages, 0u);
}

// A file whose structure is damaged is not repaired: nothing is freed.
TEST(CdxIndexFile, RepairRefusesADamagedFile) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("a", 10), values(2000, 1));
  std::vector<uint8_t> bytes = m.bytes();
  bytes.resize(bytes.size() + kPageSize);
  PutLE32(bytes.data() + t->rootOffset + 4, 0x12345600u);  // root's left sibling link
  std::unique_ptr<CdxIndex> x;
  ASSERT_TRUE(cdxIndexOpen(std::make_unique<CdxMemFile>(bytes), "TEST", {}, x).ok());
  CdxCheckReport rep;
  uint64_t reclaimed = 0;
  EXPECT_EQ(cdxReclaimLostPages(*x, rep, reclaimed).code, kCdxCorrupt);
  EXPECT_EQ(reclaimed, 0u);
  EXPECT_EQ(x->freeHead, 0u);
}

TEST(CdxIndexFile, TooShortFileDoesNotOpen) {
  std::unique_ptr<CdxIndex> x;
  CdxStatus s = cdxIndexOpen(std::make_unique<CdxMemFile>(std::vector<uint8_t>(1024)), "T", {}, x);
  EXPECT_EQ(s.code, kCdxOpenCorrupt);
  EXPECT_EQ(x, nullptr);
}

TEST(CdxIndexFile, ReadOnlyRefusesWrites) {
  MemIndex m;
  buildTag(*m.index, charSpec("a", 10), values(10, 1));
  std::unique_ptr<CdxIndex> r;
  CdxOpenOptions opt;
  opt.readOnly = true;
  ASSERT_TRUE(reopen(m, r, opt).ok());
  CdxStatus s = cdxTagKeyAdd(*r->tags[0], charKey("x", 11));
  EXPECT_EQ(s.code, kCdxReadOnly);
  EXPECT_EQ(s.text, "pv_cdxIndexLockWrite: readonly index.");
  EXPECT_EQ(walk(*r->tags[0]).size(), 10u);
}

TEST(CdxIndexFile, LockMisuseIsReported) {
  MemIndex m;
  ASSERT_TRUE(pv_cdxIndexLockRead(*m.index).ok());
  EXPECT_EQ(pv_cdxIndexLockWrite(*m.index).code, kCdxLockCount);
  EXPECT_EQ(cdxIndexClose(m.index).code, kCdxStillLocked);
  ASSERT_TRUE(pv_cdxIndexUnLockRead(*m.index).ok());
  EXPECT_EQ(pv_cdxIndexUnLockRead(*m.index).code, kCdxUnlockCount);
  EXPECT_EQ(pv_cdxIndexUnLockWrite(*m.index).code, kCdxUnlockCount);
  EXPECT_TRUE(cdxIndexClose(m.index).ok());
}

TEST(CdxIndexFile, FailedWriteLeavesTheFileAsItWas) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("a", 10), values(3000, 1));
  std::vector<uint8_t> before = m.bytes();
  m.mem->failWriteNumber(m.mem->writes() + 1);
  CdxStatus s = cdxTagKeyAdd(*t, charKey("0", 5000));
  EXPECT_EQ(s.code, kCdxWriteFailed);
  EXPECT_EQ(m.bytes(), before);
  m.mem->failWriteNumber(0);
  EXPECT_EQ(walk(*t).size(), 3000u);
  expectValid(*m.index);
  // A batch under one outer write lock fails at its unlock after one page reached the file:
  // the failure is reported, the lock is gone, memory holds nothing of the batch, the torn
  // tree reads as corrupt (never a crash), and rebuilding the tag repairs the file.
  ASSERT_TRUE(pv_cdxIndexLockWrite(*m.index).ok());
  for (uint32_t r = 6000; r < 6500; ++r) ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(std::to_string(r), r)).ok());
  m.mem->failWriteNumber(m.mem->writes() + 2);
  EXPECT_EQ(pv_cdxIndexUnLockWrite(*m.index).code, kCdxWriteFailed);
  m.mem->failWriteNumber(0);
  EXPECT_EQ(m.index->writeLocks, 0);
  EXPECT_TRUE(t->pool.empty());
  CdxStatus walkStatus = cdxTagGoTop(*t);
  while (walkStatus.ok() && t->cur.rec) walkStatus = cdxTagSkip(*t, 1);
  EXPECT_TRUE(walkStatus.ok() || walkStatus.code == kCdxCorrupt);
  t = buildTag(*m.index, charSpec("a", 10), values(3000, 1));
  EXPECT_EQ(walk(*t).size(), 3000u);
  expectValid(*m.index);
}

// A file holding key changes keeps them in memory while keys come and go; a flush writes
// them (another reader of the bytes then sees every key). A failed write at the flush keeps
// them in memory for the next try.
TEST(CdxIndexFile, HeldKeyChangesReachTheFileAtFlushAndClose) {
  CdxOpenOptions opt;
  opt.holdKeyChanges = true;
  MemIndex m("TEST", opt);
  CdxTag* t = buildTag(*m.index, charSpec("a", 10), values(3000, 1));
  std::vector<uint8_t> before = m.bytes();
  for (uint32_t r = 3001; r <= 6000; ++r) ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(std::to_string(r), r)).ok());
  ASSERT_TRUE(cdxTagKeyDelete(*t, charKey(values(3000, 1)[0], 1)).ok());
  EXPECT_EQ(walk(*t).size(), 5999u);
  uint32_t count = 0, no = 0;
  ASSERT_TRUE(cdxTagKeyCount(*t, count).ok());
  EXPECT_EQ(count, 5999u);
  ASSERT_TRUE(cdxTagSeek(*t, "5999", 4, true, false, nullptr).ok());
  ASSERT_TRUE(cdxTagKeyNo(*t, no).ok());
  EXPECT_GT(no, 0u);
  m.mem->failWriteNumber(m.mem->writes() + 1);
  EXPECT_EQ(cdxIndexFlush(*m.index).code, kCdxWriteFailed);
  m.mem->failWriteNumber(0);
  ASSERT_TRUE(cdxIndexFlush(*m.index).ok());
  std::unique_ptr<CdxIndex> r;
  ASSERT_TRUE(reopen(m, r).ok());
  EXPECT_EQ(walk(*r->tags[0]).size(), 5999u);
  expectValid(*r);
}

TEST(CdxIndexFile, HeldKeyChangesReachTheFileAtClose) {
  char path[] = "/tmp/cdxheldXXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::unique_ptr<CdxPosixFile> f;
  ASSERT_TRUE(CdxPosixFile::open(path, true, false, f).ok());
  CdxOpenOptions opt;
  opt.holdKeyChanges = true;
  std::unique_ptr<CdxIndex> x;
  ASSERT_TRUE(cdxIndexCreate(std::move(f), "T", opt, x).ok());
  CdxTag* t = buildTag(*x, charSpec("a", 10), values(100, 1));
  for (uint32_t k = 101; k <= 3000; ++k) ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(std::to_string(k), k)).ok());
  ASSERT_TRUE(cdxIndexClose(x).ok());
  ASSERT_TRUE(CdxPosixFile::open(path, false, true, f).ok());
  ASSERT_TRUE(cdxIndexOpen(std::move(f), "T", {}, x).ok());
  EXPECT_EQ(walk(*x->tags[0]).size(), 3000u);
  expectValid(*x);
  x.reset();
  unlink(path);
}

// Two handles on one file, as two processes would have.
class SharedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/cdxsharedXXXXXX";
    int fd = mkstemp(tmpl);
    ASSERT_GE(fd, 0);
    close(fd);
    path_ = tmpl;
  }
  void TearDown() override { unlink(path_.c_str()); }

  std::unique_ptr<CdxIndex> open(bool create) {
    std::unique_ptr<CdxPosixFile> f;
    EXPECT_TRUE(CdxPosixFile::open(path_, true, false, f).ok());
    CdxOpenOptions opt;
    opt.shared = true;
    std::unique_ptr<CdxIndex> x;
    CdxStatus s = create ? cdxIndexCreate(std::move(f), "T", opt, x) : cdxIndexOpen(std::move(f), "T", opt, x);
    EXPECT_TRUE(s.ok()) << s.toString();
    return x;
  }

  std::string path_;
};

TEST_F(SharedFile, VersionWordTellsTheOtherHandleToDropItsPages) {
  auto a = open(true);
  buildTag(*a, charSpec("k", 10), values(2000, 1));
  auto b = open(false);
  CdxTag* ta = a->tags[0].get();
  CdxTag* tb = b->tags[0].get();
  EXPECT_EQ(walk(*tb).size(), 2000u);
  uint32_t v0 = b->version;
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(cdxTagKeyAdd(*ta, charKey("A" + std::to_string(i), 3000 + i)).ok());
  EXPECT_EQ(a->version, v0 + 300);  // one increment per write-unlock that changed the file
  auto got = walk(*tb);             // b's cached pages are stale and get dropped
  EXPECT_EQ(got.size(), 2300u);
  EXPECT_EQ(b->version, a->version);
  ASSERT_TRUE(cdxTagSeek(*tb, "A299", 4, false, false, nullptr).ok());
  EXPECT_EQ(tb->cur.rec, 3299u);
  expectValid(*b);
}

// The application's start, a hundred times, in shared use: the replaced tags' headers and
// pages are reused, so the file keeps the size it had after the first start.
TEST_F(SharedFile, HundredStartsKeepTheFileSize) {
  auto a = open(true);
  auto v1 = values(2000, 1), v2 = values(2000, 2), v3 = values(2000, 3);
  uint64_t first = 0;
  for (int start = 0; start < 100; ++start) {
    buildTag(*a, charSpec("excel1", 10, "STR(ID_NR)"), v1);
    buildTag(*a, charSpec("excel2", 30, "LOWER(CUSTOMER) + INVOICE"), v2);
    buildTag(*a, charSpec("excel3", 20, "LOWER(PRODUCT)"), v3);
    if (start == 0) first = a->file->size();
  }
  EXPECT_EQ(a->file->size(), first);
  auto b = open(false);
  ASSERT_EQ(b->tags.size(), 3u);
  EXPECT_EQ(walk(*b->tags[1]).size(), 2000u);
  expectValid(*b);
}

// A tag replaced by another handle is noticed before the next movement or key change of the
// stale handle: its pages may belong to another tag by now.
TEST_F(SharedFile, TagReplacedByAnotherHandleIsNoticed) {
  auto a = open(true);
  buildTag(*a, charSpec("k", 10), values(2000, 1));
  buildTag(*a, charSpec("m", 10), values(2000, 2));
  auto b = open(false);
  CdxTag* tb = b->tags[0].get();
  EXPECT_EQ(walk(*tb).size(), 2000u);
  bool current = false;
  ASSERT_TRUE(cdxIndexTagsCurrent(*b, current).ok());
  EXPECT_TRUE(current);
  buildTag(*a, charSpec("k", 10), values(500, 3));  // same name, new pages
  ASSERT_TRUE(cdxIndexTagsCurrent(*b, current).ok());
  EXPECT_FALSE(current);
  EXPECT_EQ(cdxTagGoTop(*tb).code, kCdxTagsChanged);
  EXPECT_EQ(cdxTagSkip(*tb, 1).code, kCdxTagsChanged);
  EXPECT_EQ(cdxTagKeyAdd(*tb, charKey("x", 9)).code, kCdxTagsChanged);
  EXPECT_EQ(cdxIndexDeleteTag(*b, "m").code, kCdxTagsChanged);
  auto c = open(false);  // loaded again, the handle sees the new tag
  EXPECT_EQ(walk(*cdxIndexFindTag(*c, "k")).size(), 500u);
  ASSERT_TRUE(cdxIndexTagsCurrent(*c, current).ok());
  EXPECT_TRUE(current);
  expectValid(*c);
}

TEST_F(SharedFile, ReadsOfASharedFileNeedALock) {
  auto a = open(true);
  buildTag(*a, charSpec("k", 10), values(10, 1));
  CdxTag& t = *a->tags[0];
  uint8_t buf[512];
  CdxStatus s = cdxGuard([&] { pv_cdxIndexPageRead(*a, t.rootOffset, buf, 512); });
  EXPECT_EQ(s.code, kCdxReadNotLocked);
  s = cdxGuard([&] { pv_cdxIndexPageWrite(*a, t.rootOffset, buf, 512); });
  EXPECT_EQ(s.code, kCdxNotLocked);
}

}  // namespace
}  // namespace pv::cdx::test

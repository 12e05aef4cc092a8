// The index lock at the lock scheme's place: scheme 3 (the default) locks one byte at
// 0x7FFFFFFE, shared to read and exclusive to write; schemes 2 and 4 read-lock one random
// byte of a 65536-byte pool above 0xFFFEFFFF and write-lock the whole range; scheme 1 and 5
// use their single bytes; a scheme without a place refuses the lock. Locks nest by count,
// and the file is committed by flush only after something was written. A read without the
// lock starts only while the file's change words equal those held, and serves held pages only.
#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

struct LockCall {
  bool lock;
  uint64_t off, len;
  bool shared;
};

class RecordingFile : public CdxMemFile {
 public:
  CdxStatus lock(uint64_t off, uint64_t len, bool shared, bool) override {
    calls.push_back({true, off, len, shared});
    return {};
  }
  CdxStatus unlock(uint64_t off, uint64_t len) override {
    calls.push_back({false, off, len, false});
    return {};
  }
  CdxStatus sync() override {
    ++syncs;
    return {};
  }
  std::vector<LockCall> calls;
  int syncs = 0;
};

struct Shared {
  std::unique_ptr<CdxIndex> index;
  RecordingFile* file;
  CdxTag* tag;
  explicit Shared(int scheme) {
    auto f = std::make_unique<RecordingFile>();
    file = f.get();
    CdxOpenOptions opt;
    opt.shared = true;
    opt.lockScheme = scheme;
    EXPECT_TRUE(cdxIndexCreate(std::move(f), "T", opt, index).ok());
    tag = buildTag(*index, charSpec("k", 10), {"a", "b", "c"});
    file->calls.clear();
  }
};

TEST(CdxLocks, SchemeThreeIsOneByteAt7FFFFFFE) {
  Shared s(3);
  ASSERT_TRUE(cdxTagGoTop(*s.tag).ok());
  ASSERT_EQ(s.file->calls.size(), 2u);
  EXPECT_TRUE(s.file->calls[0].lock);
  EXPECT_EQ(s.file->calls[0].off, 0x7FFFFFFEu);
  EXPECT_EQ(s.file->calls[0].len, 1u);
  EXPECT_TRUE(s.file->calls[0].shared);
  EXPECT_FALSE(s.file->calls[1].lock);
  s.file->calls.clear();
  ASSERT_TRUE(cdxTagKeyAdd(*s.tag, charKey("d", 4)).ok());
  ASSERT_EQ(s.file->calls.size(), 2u);
  EXPECT_FALSE(s.file->calls[0].shared);
  EXPECT_EQ(s.file->calls[0].off, 0x7FFFFFFEu);
}

TEST(CdxLocks, PoolSchemesReadOneRandomByteAndWriteTheRange) {
  for (int scheme : {2, 4}) {
    Shared s(scheme);
    ASSERT_TRUE(cdxTagGoTop(*s.tag).ok());
    ASSERT_EQ(s.file->calls.size(), 2u);
    const LockCall& r = s.file->calls[0];
    EXPECT_TRUE(r.shared);
    EXPECT_GT(r.off, 0xFFFEFFFFu);
    EXPECT_LE(r.off, 0xFFFEFFFFu + 65536);
    EXPECT_EQ(r.len, 1u);
    EXPECT_EQ(s.file->calls[1].off, r.off);  // the same byte is released
    s.file->calls.clear();
    ASSERT_TRUE(cdxTagKeyAdd(*s.tag, charKey("d", 4)).ok());
    EXPECT_EQ(s.file->calls[0].off, 0xFFFEFFFFu);
    EXPECT_EQ(s.file->calls[0].len, 65537u);
    EXPECT_EQ(s.file->calls[1].len, 65537u);
  }
}

TEST(CdxLocks, SchemesOneAndFiveAndNone) {
  Shared one(1);
  ASSERT_TRUE(cdxTagGoTop(*one.tag).ok());
  EXPECT_EQ(one.file->calls[0].off, 1000000000u);
  Shared five(5);
  ASSERT_TRUE(cdxTagGoTop(*five.tag).ok());
  EXPECT_EQ(five.file->calls[0].off, 0x7FFFFFFF00000001ull);
  five.index->lockScheme = 9;
  EXPECT_EQ(cdxTagGoTop(*five.tag).code, kCdxLockRefused);
  EXPECT_EQ(five.index->readLocks, 0);
}

TEST(CdxLocks, NestedLocksTakeTheFileLockOnceAndFlushCommits) {
  Shared s(3);
  ASSERT_TRUE(pv_cdxIndexLockWrite(*s.index).ok());
  for (uint32_t r = 10; r < 20; ++r) ASSERT_TRUE(cdxTagKeyAdd(*s.tag, charKey(std::to_string(r), r)).ok());
  uint32_t version = s.index->version;
  ASSERT_TRUE(pv_cdxIndexUnLockWrite(*s.index).ok());
  EXPECT_EQ(s.file->calls.size(), 2u);
  EXPECT_EQ(s.index->version, version + 1);  // one change of the version word per unlock
  EXPECT_EQ(GetBE32(s.file->bytes().data() + 8), s.index->version);
  EXPECT_TRUE(cdxIndexFlush(*s.index).ok());
  EXPECT_EQ(s.file->syncs, 1);
  EXPECT_TRUE(cdxIndexFlush(*s.index).ok());
  EXPECT_EQ(s.file->syncs, 1);  // nothing written since
}

TEST(CdxLocks, ReadWithoutTheLockUsesHeldPagesOfAnUnchangedFileOnly) {
  Shared s(3);
  std::vector<std::string> values;
  for (int i = 0; i < 600; ++i) values.push_back(pad("k" + std::to_string(100000 + i), 10));
  CdxTag* t = buildTag(*s.index, charSpec("wide", 10), values);
  ASSERT_TRUE(cdxTagGoTop(*t).ok());  // under the lock: root and first leaf read
  s.file->calls.clear();
  bool started = false;
  ASSERT_TRUE(cdxIndexReadUnlocked(*s.index, started).ok());
  ASSERT_TRUE(started);
  EXPECT_EQ(pv_cdxIndexLockWrite(*s.index).code, kCdxLockCount);  // counted as a read lock
  ASSERT_TRUE(cdxTagSkip(*t, 1).ok());  // within the leaf held
  EXPECT_EQ(t->cur.rec, 2u);
  CdxCursorMark mark;
  cdxTagMark(*t, mark);
  EXPECT_EQ(cdxTagSkip(*t, 400).code, kCdxNeedsLock);  // the leaves after it are not held
  cdxTagRestore(*t, mark);
  ASSERT_TRUE(pv_cdxIndexUnLockRead(*s.index).ok());
  EXPECT_TRUE(s.file->calls.empty());  // no lock taken or released
  ASSERT_TRUE(cdxTagSkip(*t, 400).ok());  // under the lock, from where the mark put it
  EXPECT_EQ(t->cur.rec, 402u);
  EXPECT_EQ(s.file->calls.size(), 2u);
  // Another handle's change (new version word) or a lock counted: the lock is needed.
  std::vector<uint8_t> bytes = s.file->bytes();
  uint8_t v[4];
  PutBE32(v, GetBE32(bytes.data() + 8) + 1);
  ASSERT_TRUE(s.file->write(8, v, 4).ok());
  ASSERT_TRUE(cdxIndexReadUnlocked(*s.index, started).ok());
  EXPECT_FALSE(started);
  ASSERT_TRUE(cdxTagSkip(*t, 1).ok());  // the lock's check takes the new version
  EXPECT_EQ(t->cur.rec, 403u);
  ASSERT_TRUE(pv_cdxIndexLockRead(*s.index).ok());
  ASSERT_TRUE(cdxIndexReadUnlocked(*s.index, started).ok());
  EXPECT_FALSE(started);
  ASSERT_TRUE(pv_cdxIndexUnLockRead(*s.index).ok());
  ASSERT_TRUE(cdxIndexReadUnlocked(*s.index, started).ok());
  EXPECT_TRUE(started);
  ASSERT_TRUE(pv_cdxIndexUnLockRead(*s.index).ok());
}

TEST(CdxLocks, NoReadWithoutTheLockInExclusiveUse) {
  std::unique_ptr<CdxIndex> x;
  ASSERT_TRUE(cdxIndexCreate(std::make_unique<CdxMemFile>(), "T", {}, x).ok());
  bool started = true;
  ASSERT_TRUE(cdxIndexReadUnlocked(*x, started).ok());
  EXPECT_FALSE(started);
}

}  // namespace
}  // namespace pv::cdx::test

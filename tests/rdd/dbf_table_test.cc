// DbfTable: record access, appending, header writes, pack, zap, locks and injected failures.
#include <gtest/gtest.h>

#include <cstring>

#include "dbf/dbf_cipher.h"
#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"
#include "fs/fault_file.h"
#include "fs/posix_file.h"
#include "test_util.h"

namespace pv::dbf {
namespace {

const std::vector<FieldSpec> kFields = {{"NAME", "C", 6, 0, 0}, {"QTY", "N", 5, 0, 0}};

class DbfTableTest : public ::testing::Test {
 protected:
  std::string path() const { return dir_.file("t.dbf"); }
  // Creates t.dbf with `n` records "rec<i>" / i and closes it.
  void makeTable(int n, const std::vector<FieldSpec>& fields = kFields) {
    std::unique_ptr<DbfTable> t;
    ASSERT_TRUE(DbfTable::Create(path(), fields, {}, &t).ok());
    for (int i = 1; i <= n; ++i) appendRow(*t, i);
    ASSERT_TRUE(t->close().ok());
  }
  static void appendRow(DbfTable& t, int i) {
    std::vector<uint8_t> rec(t.recordLength());
    t.blankRecord(rec.data());
    ASSERT_TRUE(PutText(t.fields()[0], rec.data(), "rec" + std::to_string(i), nullptr).ok());
    ASSERT_TRUE(PutNumber(t.fields()[1], rec.data(), i).ok());
    uint32_t n = 0;
    Status st = t.append(rec.data(), &n);
    ASSERT_TRUE(st.ok()) << st.toString();
  }
  static double qty(DbfTable& t, uint32_t recno) {
    std::vector<uint8_t> rec(t.recordLength());
    EXPECT_TRUE(t.readRecord(recno, rec.data()).ok());
    double v = -1;
    GetNumber(t.fields()[1], rec.data(), &v);
    return v;
  }
  std::unique_ptr<DbfTable> open(OpenOptions o = {}) {
    std::unique_ptr<DbfTable> t;
    Status st = DbfTable::Open(path(), o, &t);
    EXPECT_TRUE(st.ok()) << st.toString();
    return t;
  }
  test::ScratchDir dir_;
};

TEST_F(DbfTableTest, RecordCountComesFromWholeRecordsOnly) {
  makeTable(3);
  std::vector<uint8_t> bytes = test::ReadBytes(path());
  bytes[4] = 10;  // the header claims ten records
  bytes.pop_back();  // drop the 0x1A
  bytes.insert(bytes.end(), {' ', 'h', 'a', 'l', 'f'});  // a torn fourth record
  test::WriteBytes(path(), bytes);
  auto t = open();
  EXPECT_EQ(t->recordCount(), 3u);
  EXPECT_EQ(qty(*t, 3), 3);
  std::vector<uint8_t> rec(t->recordLength());
  EXPECT_EQ(t->readRecord(0, rec.data()).kind(), StatusKind::kBadArgument);
  EXPECT_EQ(t->readRecord(4, rec.data()).kind(), StatusKind::kBadArgument);
}

TEST_F(DbfTableTest, WritesReadBackThroughTheReadAheadWindow) {
  makeTable(500);
  auto t = open();
  EXPECT_EQ(qty(*t, 1), 1);  // fills the window
  std::vector<uint8_t> rec(t->recordLength());
  ASSERT_TRUE(t->readRecord(250, rec.data()).ok());
  ASSERT_TRUE(PutNumber(t->fields()[1], rec.data(), 4242).ok());
  ASSERT_TRUE(t->writeRecord(250, rec.data()).ok());
  EXPECT_EQ(qty(*t, 250), 4242);
  EXPECT_EQ(qty(*t, 500), 500);
  t.reset();
  EXPECT_EQ(qty(*open(), 250), 4242);
}

// Shared use reads ahead only under the file lock, and never serves a record another handle
// wrote before the read began.
TEST_F(DbfTableTest, SharedReadAheadOnlyUnderTheFileLock) {
  makeTable(500);
  auto a = open({.shared = true});
  auto b = open({.shared = true});
  auto put = [&](DbfTable& t, uint32_t recno, int v) {
    std::vector<uint8_t> rec(t.recordLength());
    ASSERT_TRUE(t.readRecord(recno, rec.data()).ok());
    ASSERT_TRUE(PutNumber(t.fields()[1], rec.data(), v).ok());
    ASSERT_TRUE(t.lockRecord(recno).ok());
    ASSERT_TRUE(t.writeRecord(recno, rec.data()).ok());
    ASSERT_TRUE(t.unlockRecord(recno).ok());
  };
  for (uint32_t r = 1; r <= 3; ++r) EXPECT_EQ(qty(*a, r), r);  // a walk without locks
  put(*b, 2, 222);
  EXPECT_EQ(qty(*a, 2), 222);
  ASSERT_TRUE(a->lockFile().ok());
  for (uint32_t r = 1; r <= 10; ++r) EXPECT_EQ(qty(*a, r), r == 2 ? 222 : r);  // window filled
  EXPECT_EQ(b->lockRecord(5).kind(), StatusKind::kLockRefused);
  std::vector<uint8_t> rec(a->recordLength());
  ASSERT_TRUE(a->readRecord(6, rec.data()).ok());
  ASSERT_TRUE(PutNumber(a->fields()[1], rec.data(), 666).ok());
  ASSERT_TRUE(a->writeRecord(6, rec.data()).ok());
  EXPECT_EQ(qty(*a, 6), 666);  // our own write goes through the window
  EXPECT_EQ(qty(*b, 6), 666);
  ASSERT_TRUE(a->unlockFile().ok());
  put(*b, 5, 555);
  EXPECT_EQ(qty(*a, 5), 555);  // the window went with the lock
  ASSERT_TRUE(a->lockFile().ok());
  EXPECT_EQ(qty(*a, 4), 4);
  ASSERT_TRUE(a->unlockFile().ok());
  put(*b, 4, 444);
  put(*b, 7, 777);
  ASSERT_TRUE(a->lockFile().ok());  // taking the lock again starts a new window
  EXPECT_EQ(qty(*a, 4), 444);
  EXPECT_EQ(qty(*a, 7), 777);
  ASSERT_TRUE(a->unlockFile().ok());
}

// A scan (an index build) reads ahead in shared use: a record changed after the window was
// filled is served as it was until the scan ends.
TEST_F(DbfTableTest, SharedScanReadsAheadUntilItEnds) {
  makeTable(300);
  auto a = open({.shared = true});
  auto b = open({.shared = true});
  std::vector<uint8_t> rec(b->recordLength());
  auto putB = [&](uint32_t recno, int v) {
    ASSERT_TRUE(b->readRecord(recno, rec.data()).ok());
    ASSERT_TRUE(PutNumber(b->fields()[1], rec.data(), v).ok());
    ASSERT_TRUE(b->lockRecord(recno).ok());
    ASSERT_TRUE(b->writeRecord(recno, rec.data()).ok());
    ASSERT_TRUE(b->unlockRecord(recno).ok());
  };
  a->setScanReadAhead(true);
  EXPECT_EQ(qty(*a, 1), 1);
  putB(2, 202);
  EXPECT_EQ(qty(*a, 2), 2);  // from the window
  a->setScanReadAhead(false);
  EXPECT_EQ(qty(*a, 2), 202);
  EXPECT_EQ(qty(*a, 3), 3);
  putB(4, 404);
  EXPECT_EQ(qty(*a, 4), 404);  // no window outside the scan
}

TEST_F(DbfTableTest, ExclusiveHeaderIsWrittenAtFlush) {
  makeTable(0);
  auto t = open();
  appendRow(*t, 1);
  appendRow(*t, 2);
  EXPECT_EQ(test::ReadBytes(path())[4], 0);  // count not yet written
  ASSERT_TRUE(t->flush(true).ok());
  EXPECT_EQ(test::ReadBytes(path())[4], 2);
}

TEST_F(DbfTableTest, AutoIncrementAndRowVersion) {
  makeTable(0, {{"ID", "+", 4, 0, 0}, {"VER", "^", 8, 0, 0}, {"X", "C", 1, 0, 0}});
  auto t = open();
  std::vector<uint8_t> rec(t->recordLength());
  for (int i = 0; i < 3; ++i) {
    t->blankRecord(rec.data());
    uint32_t n;
    ASSERT_TRUE(t->append(rec.data(), &n).ok());
    EXPECT_EQ(GetInteger(t->fields()[0], rec.data()), i + 1);
  }
  uint64_t v1 = 0, v2 = 0;
  ASSERT_TRUE(t->nextRowVersion(t->fields()[1], &v1).ok());
  ASSERT_TRUE(t->nextRowVersion(t->fields()[1], &v2).ok());
  EXPECT_EQ(v2, v1 + 1);
  ASSERT_TRUE(t->zap().ok());
  t->blankRecord(rec.data());
  uint32_t n;
  ASSERT_TRUE(t->append(rec.data(), &n).ok());
  EXPECT_EQ(GetInteger(t->fields()[0], rec.data()), 0);  // zap resets the counter to 0
  t.reset();
  auto again = open();  // the counters live in the file
  ASSERT_TRUE(again->nextRowVersion(again->fields()[1], &v1).ok());
  EXPECT_EQ(v1, v2 + 1);
}

TEST_F(DbfTableTest, PackKeepsLiveRecordsInOrderAndCutsTheFile) {
  makeTable(7);
  auto t = open();
  std::vector<uint8_t> rec(t->recordLength());
  for (uint32_t n : {2u, 3u, 6u}) {
    ASSERT_TRUE(t->readRecord(n, rec.data()).ok());
    rec[0] = '*';
    ASSERT_TRUE(t->writeRecord(n, rec.data()).ok());
  }
  std::vector<uint32_t> calls;
  ASSERT_TRUE(t->pack({}, [&](uint32_t done) { calls.push_back(done); }, 3).ok());
  EXPECT_EQ(calls, (std::vector<uint32_t>{3, 6, 7}));
  EXPECT_EQ(t->recordCount(), 4u);
  std::vector<double> got;
  for (uint32_t n = 1; n <= 4; ++n) got.push_back(qty(*t, n));
  EXPECT_EQ(got, (std::vector<double>{1, 4, 5, 7}));
  t.reset();
  std::vector<uint8_t> bytes = test::ReadBytes(path());
  EXPECT_EQ(bytes.size(), 32u + 64 + 2 + 4 * 12 + 1);
  EXPECT_EQ(bytes.back(), 0x1A);
  EXPECT_EQ(bytes[4], 4);
}

TEST_F(DbfTableTest, PackAndZapNeedExclusiveWritableUse) {
  makeTable(2);
  auto shared = open({.shared = true});
  EXPECT_EQ(shared->pack().subcode(), 1023);
  EXPECT_EQ(shared->zap().subcode(), 1023);
  shared.reset();
  auto ro = open({.read_only = true});
  EXPECT_EQ(ro->pack().subcode(), 1025);
  std::vector<uint8_t> rec(ro->recordLength());
  ASSERT_TRUE(ro->readRecord(1, rec.data()).ok());
  EXPECT_EQ(ro->writeRecord(1, rec.data()).subcode(), 1025);
  uint32_t n;
  EXPECT_EQ(ro->append(rec.data(), &n).subcode(), 1025);
  ro.reset();
  auto t = open();
  ASSERT_TRUE(t->zap().ok());
  EXPECT_EQ(t->recordCount(), 0u);
  t.reset();
  EXPECT_EQ(test::ReadBytes(path()).size(), 32u + 64 + 2 + 1);
}

TEST_F(DbfTableTest, SharedHandlesSeeAppendsAndRespectRecordLocks) {
  makeTable(2);
  auto a = open({.shared = true});
  auto b = open({.shared = true});
  appendRow(*a, 3);  // leaves record 3 locked by a
  EXPECT_TRUE(a->recordLocked(3));
  EXPECT_EQ(test::ReadBytes(path())[4], 3);  // shared appends write the header at once
  ASSERT_TRUE(b->refreshRecordCount().ok());
  EXPECT_EQ(b->recordCount(), 3u);
  EXPECT_EQ(qty(*b, 3), 3);
  EXPECT_EQ(b->lockRecord(3).kind(), StatusKind::kLockRefused);
  EXPECT_EQ(b->lockFile().kind(), StatusKind::kLockRefused);
  EXPECT_TRUE(b->lockRecord(1).ok());
  ASSERT_TRUE(a->unlockRecord(3).ok());
  EXPECT_TRUE(b->lockRecord(3).ok());
  EXPECT_EQ(b->lockedRecords(), (std::vector<uint32_t>{1, 3}));
  ASSERT_TRUE(b->unlockAllRecords().ok());
  ASSERT_TRUE(b->lockFile().ok());
  EXPECT_EQ(a->lockRecord(1).kind(), StatusKind::kLockRefused);
  EXPECT_TRUE(b->lockRecord(2).ok());  // always granted under the file lock
  ASSERT_TRUE(b->unlockFile().ok());
  EXPECT_TRUE(a->lockRecord(1).ok());
  // An exclusive open is refused while shared handles exist.
  std::unique_ptr<DbfTable> excl;
  Status st = DbfTable::Open(path(), {}, &excl);
  EXPECT_EQ(st.subcode(), 1001);
  EXPECT_EQ(st.osCode(), 32);
  EXPECT_TRUE(st.canRetry() && st.canDefault());
}

TEST_F(DbfTableTest, AppendLockRefusedIsError1024) {
  makeTable(1);
  auto a = open({.shared = true});
  FilePtr raw;
  ASSERT_TRUE(OpenFile(path(), Access::kReadWrite, Share::kDenyNone, &raw).ok());
  // Another handle holds the lock of the record an append would create (scheme 1).
  ASSERT_TRUE(raw->lock(1000000000ull + 2, 1, LockType::kExclusive, false).ok());
  std::vector<uint8_t> rec(a->recordLength());
  a->blankRecord(rec.data());
  uint32_t n = 0;
  Status st = a->append(rec.data(), &n);
  EXPECT_EQ(st.subcode(), 1024);
  EXPECT_TRUE(st.canDefault());
  EXPECT_FALSE(a->headerLocked());
  EXPECT_EQ(a->recordCount(), 1u);
}

// Shared use writes each append at once (record, then header): the third write is the fifth
// record, which fails; the four committed records stay intact, a torn fifth is not counted.
TEST_F(DbfTableTest, FailedSharedAppendKeepsCommittedRecords) {
  makeTable(3);
  for (bool torn : {false, true}) {
    FilePtr raw;
    ASSERT_TRUE(OpenFile(path(), Access::kReadWrite, Share::kDenyNone, &raw).ok());
    auto faulty = std::make_unique<FaultFile>(std::move(raw),
                                              FaultPlan{.fail_write_at = 3, .torn_write = torn});
    std::unique_ptr<DbfTable> t;
    ASSERT_TRUE(DbfTable::OpenHandle(std::move(faulty), {.shared = true}, &t).ok());
    appendRow(*t, 4);
    std::vector<uint8_t> rec(t->recordLength());
    t->blankRecord(rec.data());
    uint32_t n = 0;
    Status st = t->append(rec.data(), &n);
    EXPECT_EQ(st.subcode(), 1011);
    EXPECT_EQ(st.osCode(), 112);
    EXPECT_EQ(t->recordCount(), 4u);
    EXPECT_FALSE(t->headerLocked());
    t.reset();
    auto again = open();
    EXPECT_EQ(again->recordCount(), 4u);
    for (uint32_t i = 1; i <= 4; ++i) EXPECT_EQ(qty(*again, i), i);
    ASSERT_TRUE(again->zap().ok());
    for (int i = 1; i <= 3; ++i) appendRow(*again, i);
  }
}

// Exclusive use collects appends and writes them at flush: a failed flush is reported there, and
// the records that did not reach the file are no longer counted.
TEST_F(DbfTableTest, FailedExclusiveFlushKeepsCommittedRecords) {
  makeTable(3);
  FilePtr raw;
  ASSERT_TRUE(OpenFile(path(), Access::kReadWrite, Share::kExclusive, &raw).ok());
  auto faulty = std::make_unique<FaultFile>(std::move(raw), FaultPlan{.fail_write_at = 3});
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::OpenHandle(std::move(faulty), {}, &t).ok());
  appendRow(*t, 4);
  ASSERT_TRUE(t->flush(false).ok());  // writes 1 (records) and 2 (header)
  appendRow(*t, 5);
  appendRow(*t, 6);
  EXPECT_EQ(qty(*t, 6), 6);  // read back before it reaches the file
  Status st = t->flush(false);
  EXPECT_EQ(st.subcode(), 1011);
  EXPECT_EQ(t->recordCount(), 4u);
  t.reset();
  auto again = open();
  EXPECT_EQ(again->recordCount(), 4u);
  for (uint32_t i = 1; i <= 4; ++i) EXPECT_EQ(qty(*again, i), i);
}

TEST_F(DbfTableTest, ExtendedTablesKeepTheBacklink) {
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Create(path(), {{"A", "C", 2, 0, 0}}, {.table_type = kTableExtended}, &t).ok());
  t.reset();
  // Rewrite as another program would: 263 backlink bytes after the terminator.
  std::vector<uint8_t> bytes = test::ReadBytes(path());
  std::vector<uint8_t> link(263, 0);
  std::memcpy(link.data(), "..\\sales.dbc", 12);
  bytes.insert(bytes.begin() + 65, link.begin(), link.end());
  bytes[8] = uint8_t((65 + 263) & 0xFF), bytes[9] = uint8_t((65 + 263) >> 8);
  test::WriteBytes(path(), bytes);
  auto again = open();
  ASSERT_EQ(again->backlink().size(), 263u);
  EXPECT_EQ(again->backlink().substr(0, 12), "..\\sales.dbc");
  std::vector<uint8_t> rec(again->recordLength(), ' ');
  uint32_t n = 0;
  ASSERT_TRUE(again->append(rec.data(), &n).ok());
  again.reset();
  EXPECT_EQ(test::ReadBytes(path()).size(), 65u + 263 + 3 + 1);
}

TEST_F(DbfTableTest, EncryptedTablesStoreEncipheredRecords) {
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Create(path(), kFields, {.encrypted = true}, &t).ok());
  EXPECT_EQ(t->versionByte(), 0x06);
  uint8_t key[kKeySize];
  KeyFromPassword("secret", key);
  t->setKey(key);
  for (int i = 1; i <= 3; ++i) appendRow(*t, i);
  std::vector<uint8_t> rec(t->recordLength());
  ASSERT_TRUE(t->readRecord(2, rec.data()).ok());
  rec[0] = '*';
  ASSERT_TRUE(t->writeRecord(2, rec.data()).ok());
  ASSERT_TRUE(t->close().ok());
  std::vector<uint8_t> bytes = test::ReadBytes(path());
  std::string body(bytes.begin() + 32 + 64 + 2, bytes.end());
  EXPECT_EQ(body.find("rec1"), std::string::npos);
  EXPECT_EQ(body[0], 'E');
  EXPECT_EQ(body[12], 'D');
  auto raw = open();
  ASSERT_TRUE(raw->readRecord(1, rec.data()).ok());
  EXPECT_EQ(rec[0], 'E');  // without a key records pass as stored
  raw->setKey(key);
  EXPECT_EQ(qty(*raw, 3), 3);
  ASSERT_TRUE(raw->pack().ok());  // sees the deleted flag through the cipher
  EXPECT_EQ(raw->recordCount(), 2u);
  EXPECT_EQ(qty(*raw, 2), 3);
}

// Encrypting a plain table in place gives the same bytes as a table created encrypted under the
// same key; deciphering gives the original file back.
TEST_F(DbfTableTest, RecipherRewritesEveryRecordAndTheVersionByte) {
  makeTable(3);
  std::vector<uint8_t> plain = test::ReadBytes(path());
  uint8_t key[kKeySize];
  KeyFromPassword("sesame", key);
  {
    auto t = open();
    EXPECT_EQ(t->recipher(nullptr).kind(), StatusKind::kBadArgument);  // not encrypted
    t->setUpdateDate(2026, 1, 2);
    ASSERT_TRUE(t->recipher(key).ok());
    EXPECT_TRUE(t->encrypted());
    EXPECT_EQ(t->recipher(key).kind(), StatusKind::kBadArgument);  // already encrypted
    EXPECT_EQ(qty(*t, 3), 3);
    ASSERT_TRUE(t->close().ok());
  }
  std::vector<uint8_t> enciphered = test::ReadBytes(path());
  ASSERT_EQ(enciphered.size(), plain.size());
  EXPECT_EQ(enciphered[0], 0x06);
  const size_t first = 32 + 64 + 2, length = 1 + 6 + 5;
  for (size_t r = 0; r < 3; ++r) {
    std::vector<uint8_t> rec(plain.begin() + long(first + r * length),
                             plain.begin() + long(first + (r + 1) * length));
    EncipherRecord(key, rec.data(), length);
    EXPECT_TRUE(std::equal(rec.begin(), rec.end(), enciphered.begin() + long(first + r * length)));
  }
  {
    auto shared = open({.shared = true});
    EXPECT_EQ(shared->recipher(nullptr).subcode(), kSubExclusiveRequired);
  }
  {
    auto t = open();
    EXPECT_EQ(t->recipher(nullptr).kind(), StatusKind::kBadArgument);  // no key
    t->setKey(key);
    t->setUpdateDate(1900 + plain[1], plain[2], plain[3]);
    ASSERT_TRUE(t->recipher(nullptr).ok());
    ASSERT_TRUE(t->close().ok());
  }
  EXPECT_EQ(test::ReadBytes(path()), plain);
}

TEST(DbfLockPlaceTest, SchemesPutLocksWhereDocumented) {
  LockPlace p;
  ASSERT_TRUE(TableLockPlace(0, false, &p));
  EXPECT_EQ(RecordLockRange(p, 5, 100, 10).offset, 1000000005ull);
  EXPECT_EQ(FileLockRange(p).offset, 1000000001ull);
  EXPECT_EQ(FileLockRange(p).length, 1000000000ull);
  EXPECT_EQ(HeaderLockRange(p).offset, 1000000000ull);
  ASSERT_TRUE(TableLockPlace(3, true, &p));
  EXPECT_EQ(RecordLockRange(p, 5, 100, 10).offset, 0x7FFFFFFEull - 5);
  EXPECT_EQ(FileLockRange(p).offset, 0x7FFFFFFEull - 0x07FFFFFFull);
  ASSERT_TRUE(TableLockPlace(3, false, &p));
  EXPECT_EQ(RecordLockRange(p, 5, 100, 10).offset, 0x40000000ull + 100 + 40);
  ASSERT_TRUE(TableLockPlace(4, false, &p));
  EXPECT_EQ(RecordLockRange(p, 1, 0, 0).offset, 4000000001ull);
  EXPECT_EQ(FileLockRange(p).length, 294967295ull);
  ASSERT_TRUE(TableLockPlace(5, false, &p));
  EXPECT_EQ(RecordLockRange(p, 1, 0, 0).offset, 0x7FFFFFFF00000002ull);
  EXPECT_FALSE(TableLockPlace(6, false, &p));
  uint64_t off, pool;
  ASSERT_TRUE(IndexLockPlace(2, &off, &pool));
  EXPECT_EQ(off, 0xFFFEFFFFull);
  EXPECT_EQ(pool, 65536u);
  EXPECT_FALSE(IndexLockPlace(7, &off, &pool));
}

TEST(DbfLockPlaceTest, IndexLocksShareReadersAndExcludeWriters) {
  test::ScratchDir dir;
  FilePtr a, b;
  ASSERT_TRUE(CreateFile(dir.file("i.cdx"), Share::kDenyNone, &a).ok());
  ASSERT_TRUE(OpenFile(dir.file("i.cdx"), Access::kReadWrite, Share::kDenyNone, &b).ok());
  IndexLock la, lb;
  ASSERT_TRUE(la.init(2).ok());
  ASSERT_TRUE(lb.init(2).ok());
  ASSERT_TRUE(la.lock(a.get(), LockType::kShared, false).ok());
  EXPECT_TRUE(lb.lock(b.get(), LockType::kShared, false).ok());
  ASSERT_TRUE(lb.unlock(b.get()).ok());
  EXPECT_FALSE(lb.lock(b.get(), LockType::kExclusive, false).ok());
  ASSERT_TRUE(la.unlock(a.get()).ok());
  EXPECT_TRUE(lb.lock(b.get(), LockType::kExclusive, false).ok());
  EXPECT_FALSE(la.lock(a.get(), LockType::kShared, false).ok());
}

}  // namespace
}  // namespace pv::dbf

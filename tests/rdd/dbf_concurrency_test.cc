// Shared use between processes: appenders under the append and record locks, readers that never
// find a record left torn, and share-mode conflicts between processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>

#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"
#include "test_util.h"

namespace pv::dbf {
namespace {

constexpr int kWriters = 4;
constexpr int kPerWriter = 5000;

// Fields: WRITER N(2), SEQ N(6), FILL C(40) (the SEQ's last digit repeated), CHECK N(9).
const std::vector<FieldSpec> kFields = {
    {"WRITER", "N", 2, 0, 0}, {"SEQ", "N", 6, 0, 0}, {"FILL", "C", 40, 0, 0}, {"CHECK", "N", 9, 0, 0}};

double Num(const DbfTable& t, int i, const uint8_t* rec) {
  double v = 0;
  GetNumber(t.fields()[size_t(i)], rec, &v);
  return v;
}

// A record is either still blank (appended, fields not yet written) or complete.
enum class Shape { kBlank, kComplete, kTorn };

Shape Classify(const DbfTable& t, const uint8_t* rec) {
  if (std::all_of(rec, rec + t.recordLength(), [](uint8_t c) { return c == ' '; })) {
    return Shape::kBlank;
  }
  int writer = int(Num(t, 0, rec)), seq = int(Num(t, 1, rec));
  std::string fill(GetText(t.fields()[2], rec, nullptr));
  bool ok = writer >= 1 && writer <= kWriters && seq >= 1 && seq <= kPerWriter &&
            fill == std::string(40, char('0' + seq % 10)) && Num(t, 3, rec) == writer * 100000 + seq;
  return ok ? Shape::kComplete : Shape::kTorn;
}

int Writer(const std::string& path, int writer) {
  std::unique_ptr<DbfTable> t;
  if (!DbfTable::Open(path, {.shared = true}, &t).ok()) return 2;
  std::vector<uint8_t> rec(t->recordLength());
  for (int seq = 1; seq <= kPerWriter; ++seq) {
    t->blankRecord(rec.data());
    uint32_t n = 0;
    if (!t->append(rec.data(), &n).ok()) return 3;  // leaves record n locked
    PutNumber(t->fields()[0], rec.data(), writer);
    PutNumber(t->fields()[1], rec.data(), seq);
    PutText(t->fields()[2], rec.data(), std::string(40, char('0' + seq % 10)), nullptr);
    PutNumber(t->fields()[3], rec.data(), writer * 100000 + seq);
    if (!t->recordLocked(n) || !t->writeRecord(n, rec.data()).ok()) return 4;
    if (!t->unlockRecord(n).ok()) return 5;
  }
  return t->close().ok() ? 0 : 6;
}

// Reads record n until it is blank or complete. The kernel copies a buffered write into the
// page cache while lock-free readers may copy it out, so a read can catch a write half done; a
// record that stays torn is a fault (a writer that wrote it piecemeal and stopped, or garbage).
bool ReadSettled(DbfTable& t, uint32_t n, uint8_t* rec) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (!t.readRecord(n, rec).ok()) return false;
    if (Classify(t, rec) != Shape::kTorn) return true;
    ::usleep(1000);
  }
  return false;
}

int Reader(const std::string& path) {
  std::unique_ptr<DbfTable> t;
  if (!DbfTable::Open(path, {.shared = true, .read_only = true}, &t).ok()) return 2;
  std::vector<uint8_t> rec(t->recordLength());
  for (int pass = 0; pass < 400; ++pass) {
    if (!t->refreshRecordCount().ok()) return 3;
    uint32_t count = t->recordCount();
    for (uint32_t n = count > 200 ? count - 200 : 1; n <= count; ++n) {
      if (!ReadSettled(*t, n, rec.data())) return 5;
    }
    if (count == kWriters * kPerWriter) break;
  }
  return 0;
}

pid_t Spawn(const std::function<int()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(DbfConcurrencyTest, FourProcessesAppendTwentyThousandCompleteRecords) {
  test::ScratchDir dir;
  std::string path = dir.file("SHARED.DBF");
  {
    std::unique_ptr<DbfTable> t;
    ASSERT_TRUE(DbfTable::Create(path, kFields, {}, &t).ok());
  }
  std::vector<pid_t> pids;
  for (int w = 1; w <= kWriters; ++w) pids.push_back(Spawn([&, w] { return Writer(path, w); }));
  pid_t reader = Spawn([&] { return Reader(path); });
  for (pid_t pid : pids) EXPECT_EQ(ExitCode(pid), 0);
  EXPECT_EQ(ExitCode(reader), 0) << "a reader found a record that stayed torn";

  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Open(path, {.read_only = true}, &t).ok());
  ASSERT_EQ(t->recordCount(), uint32_t(kWriters * kPerWriter));
  EXPECT_EQ(test::ReadBytes(path).size(),
            t->headerLength() + size_t(kWriters * kPerWriter) * t->recordLength() + 1);
  std::set<std::pair<int, int>> seen;
  std::vector<uint8_t> rec(t->recordLength());
  for (uint32_t n = 1; n <= t->recordCount(); ++n) {
    ASSERT_TRUE(t->readRecord(n, rec.data()).ok());
    ASSERT_EQ(Classify(*t, rec.data()), Shape::kComplete) << "record " << n;
    seen.insert({int(Num(*t, 0, rec.data())), int(Num(*t, 1, rec.data()))});
  }
  EXPECT_EQ(seen.size(), size_t(kWriters * kPerWriter));
}

// Runs `first` in a child that holds the table open until the parent has tried `second`.
void ExpectConflict(const std::string& path, OpenOptions held, OpenOptions tried) {
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  pid_t child = Spawn([&] {
    std::unique_ptr<DbfTable> t;
    char c = DbfTable::Open(path, held, &t).ok() ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    (void)!::read(done[0], &c, 1);
    return 0;
  });
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Open(path, tried, &t);
  EXPECT_EQ(st.subcode(), 1001);
  EXPECT_EQ(st.osCode(), 32);
  EXPECT_TRUE(st.canDefault());
  (void)!::write(done[1], "x", 1);
  EXPECT_EQ(ExitCode(child), 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
  EXPECT_TRUE(DbfTable::Open(path, tried, &t).ok());  // free once the other process is gone
}

TEST(DbfConcurrencyTest, ExclusiveAndSharedOpensExcludeEachOtherAcrossProcesses) {
  test::ScratchDir dir;
  std::string path = dir.file("T.DBF");
  {
    std::unique_ptr<DbfTable> t;
    ASSERT_TRUE(DbfTable::Create(path, kFields, {}, &t).ok());
  }
  ExpectConflict(path, {.shared = true}, {.shared = false});
  ExpectConflict(path, {.shared = false}, {.shared = true});
  ExpectConflict(path, {.shared = false}, {.shared = true, .read_only = true});
}

}  // namespace
}  // namespace pv::dbf

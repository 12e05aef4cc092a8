// Processes sharing one CDX file: four writers each add 2,500 keys (and change some of them)
// under the write lock while two readers walk the order; every reader step must move forward
// in key order, and at the end the file passes the checker and holds every key.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

std::unique_ptr<CdxIndex> openShared(const std::string& path) {
  std::unique_ptr<CdxPosixFile> f;
  if (!CdxPosixFile::open(path, false, false, f).ok()) return nullptr;
  CdxOpenOptions opt;
  opt.shared = true;
  std::unique_ptr<CdxIndex> x;
  if (!cdxIndexOpen(std::move(f), "T", opt, x).ok()) return nullptr;
  return x;
}

std::string keyOf(int writer, int i, int version) {
  char b[16];
  std::snprintf(b, sizeof b, "%04d%d%04d", (i * 7919 + writer * 31) % 10000, version, writer);
  return b;
}

int writer(const std::string& path, int id, int count) {
  auto x = openShared(path);
  if (!x) return 2;
  CdxTag& t = *x->tags[0];
  for (int i = 0; i < count; ++i) {
    uint32_t rec = uint32_t(id * 10000 + i + 1);
    bool added = false;
    if (!cdxTagKeyAdd(t, charKey(keyOf(id, i, 0), rec), &added).ok() || !added) return 3;
    if (i % 10 == 5) {  // the record's key changes: the old key leaves, the new one enters
      uint32_t old = uint32_t(id * 10000 + i - 4);
      bool removed = false;
      if (!pv_cdxIndexLockWrite(*x).ok()) return 4;
      bool ok = cdxTagKeyDelete(t, charKey(keyOf(id, i - 5, 0), old), &removed).ok() && removed &&
                cdxTagKeyAdd(t, charKey(keyOf(id, i - 5, 1), old), &added).ok() && added;
      if (!pv_cdxIndexUnLockWrite(*x).ok() || !ok) return 5;
    }
  }
  return 0;
}

int reader(const std::string& path, int rounds) {
  auto x = openShared(path);
  if (!x) return 2;
  CdxTag& t = *x->tags[0];
  for (int r = 0; r < rounds; ++r) {
    if (!cdxTagGoTop(t).ok()) return 3;
    CdxKey prev;
    while (t.cur.rec) {
      if (prev.rec && cdxKeyRecCompare(t, prev.val, prev.rec, t.cur.val, t.cur.rec) >= 0) return 4;
      prev = t.cur;
      if (!cdxTagSkip(t, 1).ok()) return 5;
    }
  }
  return 0;
}

TEST(CdxProcesses, FourWritersTwoReaders) {
  char tmpl[] = "/tmp/cdxprocXXXXXX";
  int fd = mkstemp(tmpl);
  ASSERT_GE(fd, 0);
  close(fd);
  std::string path = tmpl;
  {
    std::unique_ptr<CdxPosixFile> f;
    ASSERT_TRUE(CdxPosixFile::open(path, true, false, f).ok());
    CdxOpenOptions opt;
    opt.shared = true;
    std::unique_ptr<CdxIndex> x;
    ASSERT_TRUE(cdxIndexCreate(std::move(f), "T", opt, x).ok());
    buildTag(*x, charSpec("k", 10), {});
  }
  const int perWriter = 2500;
  std::vector<pid_t> kids;
  for (int i = 0; i < 6; ++i) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(i < 4 ? writer(path, i + 1, perWriter) : reader(path, 10));
    kids.push_back(pid);
  }
  for (size_t i = 0; i < kids.size(); ++i) {
    int status = 0;
    waitpid(kids[i], &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "process " << i << " status " << status;
  }
  auto x = openShared(path);
  ASSERT_NE(x, nullptr);
  expectValid(*x);
  uint32_t count = 0;
  ASSERT_TRUE(cdxTagKeyCount(*x->tags[0], count).ok());
  EXPECT_EQ(count, uint32_t(4 * perWriter));
  auto keys = walk(*x->tags[0]);
  ASSERT_EQ(keys.size(), size_t(4 * perWriter));
  unlink(path.c_str());
}

}  // namespace
}  // namespace pv::cdx::test

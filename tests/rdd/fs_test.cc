// File layer: path resolution, Windows error codes, emulated share modes, byte-range locks,
// fault injection.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fs/coding.h"
#include "fs/error_map.h"
#include "fs/fault_file.h"
#include "fs/os_error.h"
#include "fs/path_resolve.h"
#include "fs/posix_file.h"

namespace pv {
namespace {

class FsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/pvfs-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  void touch(const std::string& rel, const std::string& text = "x") {
    std::ofstream(dir_ + "/" + rel) << text;
  }
  std::string dir_;
};

TEST_F(FsTest, ResolvesBackslashesAndLetterCase) {
  std::filesystem::create_directory(dir_ + "/Data");
  touch("Data/product.dbf");
  EXPECT_EQ(ResolvePath(dir_ + "\\DATA\\PRODUCT.DBF"), dir_ + "/Data/product.dbf");
  EXPECT_EQ(ResolvePath(dir_ + "/data/Product.Dbf"), dir_ + "/Data/product.dbf");
  // A file that does not exist keeps its written name, in the resolved folder.
  EXPECT_EQ(ResolvePath(dir_ + "\\data\\NEW.DBF"), dir_ + "/Data/NEW.DBF");
  EXPECT_TRUE(FileExists(dir_ + "\\DATA\\PRODUCT.DBF"));
  FilePtr f;
  EXPECT_TRUE(OpenFile(dir_ + "\\DATA\\PRODUCT.DBF", Access::kRead, Share::kDenyNone, &f).ok());
}

TEST_F(FsTest, ReportsWindowsCodes) {
  FilePtr f;
  Status st = OpenFile(dir_ + "/missing.dbf", Access::kRead, Share::kDenyNone, &f);
  EXPECT_EQ(st.kind(), StatusKind::kNotFound);
  EXPECT_EQ(st.osCode(), 2);
  EXPECT_NE(st.toString().find("missing.dbf"), std::string::npos);
  st = OpenFile(dir_ + "/nofolder/x.dbf", Access::kRead, Share::kDenyNone, &f);
  EXPECT_EQ(st.osCode(), 3);
  touch("ro.dbf");
  ::chmod((dir_ + "/ro.dbf").c_str(), 0444);
  if (::geteuid() != 0) {
    st = OpenFile(dir_ + "/ro.dbf", Access::kReadWrite, Share::kDenyNone, &f);
    EXPECT_EQ(st.osCode(), 5);
  }
  st = CreateFile(dir_ + "/new.dbf", Share::kExclusive, &f, false);
  ASSERT_TRUE(st.ok());
  FilePtr g;
  st = CreateFile(dir_ + "/new.dbf", Share::kExclusive, &g, true);
  EXPECT_EQ(st.osCode(), 80);
  EXPECT_EQ(OsCodeFromErrno(ENOSPC), 112);
  EXPECT_EQ(OsCodeFromErrno(EACCES), 5);
}

TEST_F(FsTest, ExclusiveOpenConflictsWithAnyOtherOpen) {
  touch("t.dbf");
  std::string p = dir_ + "/t.dbf";
  FilePtr shared1, shared2, excl;
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kDenyNone, &shared1).ok());
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kDenyNone, &shared2).ok());
  Status st = OpenFile(p, Access::kReadWrite, Share::kExclusive, &excl);
  EXPECT_EQ(st.kind(), StatusKind::kLockRefused);
  EXPECT_EQ(st.osCode(), 32);
  shared1.reset();
  shared2.reset();
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kExclusive, &excl).ok());
  st = OpenFile(p, Access::kRead, Share::kDenyNone, &shared1);
  EXPECT_EQ(st.osCode(), 32);
  // Creating over a file open elsewhere is refused and does not cut it.
  st = CreateFile(p, Share::kExclusive, &shared2);
  EXPECT_EQ(st.osCode(), 32);
}

TEST_F(FsTest, DenyWriteAllowsReadersOnly) {
  touch("t.dbf");
  std::string p = dir_ + "/t.dbf";
  FilePtr a, b, c;
  ASSERT_TRUE(OpenFile(p, Access::kRead, Share::kDenyWrite, &a).ok());
  EXPECT_TRUE(OpenFile(p, Access::kRead, Share::kDenyNone, &b).ok());
  EXPECT_EQ(OpenFile(p, Access::kReadWrite, Share::kDenyNone, &c).osCode(), 32);
}

TEST_F(FsTest, ShareModesHoldAcrossProcesses) {
  touch("t.dbf");
  std::string p = dir_ + "/t.dbf";
  FilePtr excl;
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kExclusive, &excl).ok());
  pid_t pid = ::fork();
  if (pid == 0) {
    FilePtr f;
    Status st = OpenFile(p, Access::kReadWrite, Share::kDenyNone, &f);
    ::_exit(st.osCode() == 32 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(FsTest, ReadsWritesAndCuts) {
  FilePtr f;
  ASSERT_TRUE(CreateFile(dir_ + "/d.bin", Share::kExclusive, &f).ok());
  ASSERT_TRUE(f->writeAt(10, "abc", 3).ok());
  uint64_t size = 0;
  ASSERT_TRUE(f->size(&size).ok());
  EXPECT_EQ(size, 13u);
  char buf[8] = {};
  size_t got = 0;
  ASSERT_TRUE(f->readAt(11, buf, 8, &got).ok());
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(std::string(buf, 2), "bc");
  EXPECT_EQ(f->readExact(11, buf, 8, "short").kind(), StatusKind::kIoError);
  ASSERT_TRUE(f->truncate(5).ok());
  ASSERT_TRUE(f->size(&size).ok());
  EXPECT_EQ(size, 5u);
  EXPECT_TRUE(f->commit().ok());
  FilePtr ro;
  f.reset();
  ASSERT_TRUE(OpenFile(dir_ + "/d.bin", Access::kRead, Share::kDenyNone, &ro).ok());
  EXPECT_EQ(ro->writeAt(0, "x", 1).kind(), StatusKind::kReadOnly);
}

TEST_F(FsTest, ByteRangeLocksBelongToTheHandle) {
  touch("t.dbf");
  std::string p = dir_ + "/t.dbf";
  FilePtr a, b;
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kDenyNone, &a).ok());
  ASSERT_TRUE(OpenFile(p, Access::kReadWrite, Share::kDenyNone, &b).ok());
  const uint64_t far = 4000000000ull + 17;
  ASSERT_TRUE(a->lock(far, 1, LockType::kExclusive, false).ok());
  Status st = b->lock(far, 1, LockType::kExclusive, false);
  EXPECT_EQ(st.kind(), StatusKind::kLockRefused);
  EXPECT_EQ(st.osCode(), 33);
  EXPECT_TRUE(b->lock(far + 1, 1, LockType::kExclusive, false).ok());
  // Shared locks share; an exclusive one waits for them.
  ASSERT_TRUE(a->lock(100, 1, LockType::kShared, false).ok());
  EXPECT_TRUE(b->lock(100, 1, LockType::kShared, false).ok());
  EXPECT_FALSE(b->lock(100, 2, LockType::kExclusive, false).ok());
  ASSERT_TRUE(a->unlock(far, 1).ok());
  EXPECT_TRUE(b->lock(far, 1, LockType::kExclusive, false).ok());
  // Closing a handle frees its locks.
  b.reset();
  EXPECT_TRUE(a->lock(far, 2, LockType::kExclusive, false).ok());
  EXPECT_EQ(a->lock(0x7FFFFFFFFFFFFFFFull, 2, LockType::kExclusive, false).kind(),
            StatusKind::kBadArgument);
}

TEST_F(FsTest, FaultFileFailsTheChosenWriteAndLock) {
  FilePtr real;
  ASSERT_TRUE(CreateFile(dir_ + "/f.bin", Share::kExclusive, &real).ok());
  FaultFile f(std::move(real), FaultPlan{.fail_write_at = 2, .fail_lock_at = 1, .torn_write = true});
  EXPECT_TRUE(f.writeAt(0, "aaaa", 4).ok());
  Status st = f.writeAt(4, "bbbb", 4);
  EXPECT_EQ(st.kind(), StatusKind::kIoError);
  EXPECT_EQ(st.osCode(), 112);
  EXPECT_TRUE(f.writeAt(8, "cc", 2).ok());  // not sticky
  uint64_t size = 0;
  ASSERT_TRUE(f.size(&size).ok());
  EXPECT_EQ(size, 10u);  // half of the failed write reached the file
  EXPECT_EQ(f.lock(1000, 1, LockType::kExclusive, false).osCode(), 33);
  EXPECT_TRUE(f.lock(1000, 1, LockType::kExclusive, false).ok());
}

TEST_F(FsTest, TempFilesRenameAndDelete) {
  std::string path;
  FilePtr t;
  ASSERT_TRUE(CreateTempFile(dir_, "pv", ".tmp", &path, &t).ok());
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(path.substr(path.size() - 4), ".tmp");
  t.reset();
  ASSERT_TRUE(RenameFile(path, dir_ + "/renamed.tmp").ok());
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(DeleteFile(dir_ + "/RENAMED.TMP").ok());
  EXPECT_EQ(DeleteFile(dir_ + "/renamed.tmp").osCode(), 2);
}

TEST(ErrorMapTest, SubcodesGiveTheirGeneralCodes) {
  EXPECT_EQ(GeneralErrorFor(kSubCorrupt).gencode, 32u);
  EXPECT_STREQ(GeneralErrorFor(kSubCorrupt).description, "Corruption detected");
  EXPECT_EQ(GeneralErrorFor(kSubWrite).gencode, 24u);
  EXPECT_EQ(GeneralErrorFor(kSubAppendLock).gencode, 40u);
  EXPECT_EQ(GeneralErrorFor(kSubMemoType, true).gencode, 20u);
  EXPECT_EQ(GeneralErrorFor(kSubMemoType, false).gencode, 21u);
  EXPECT_EQ(GeneralErrorFor(4711).gencode, 30u);
}

TEST(CodingTest, LittleAndBigEndianBytes) {
  uint8_t b[8];
  EncodeLE32(b, 0x11223344u);
  EXPECT_EQ(b[0], 0x44);
  EXPECT_EQ(DecodeLE32(b), 0x11223344u);
  EncodeBE32(b, 0x11223344u);
  EXPECT_EQ(b[0], 0x11);
  EXPECT_EQ(DecodeBE32(b), 0x11223344u);
  EncodeLE24(b, 0xABCDEF);
  EXPECT_EQ(DecodeLE24(b), 0xABCDEFu);
  EncodeLEDouble(b, 1.5);
  EXPECT_EQ(b[7], 0x3F);
  EXPECT_EQ(DecodeLEDouble(b), 1.5);
}

}  // namespace
}  // namespace pv

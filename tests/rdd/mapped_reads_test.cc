// Reads served from a mapping of the file (shared tables and indexes on a local file system):
// what another handle writes is seen at once, a file grown past the mapping and one cut shorter
// under it read like with pread — the cut one with a short read, not a fault.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fs/posix_file.h"

namespace pv {
namespace {

class MappedReadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/pvmap-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    if (!OnLocalFileSystem(dir_)) GTEST_SKIP() << "temporary folder is not on a local file system";
    path_ = dir_ + "/table.dbf";
    ASSERT_TRUE(CreateFile(path_, Share::kDenyNone, &writer_).ok());
    ASSERT_TRUE(writer_->writeAt(0, Bytes(100000, 'a').data(), 100000).ok());
    ASSERT_TRUE(OpenFile(path_, Access::kReadWrite, Share::kDenyNone, &reader_).ok());
    reader_->mapForReads();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static std::vector<char> Bytes(size_t n, char c) { return std::vector<char>(n, c); }
  std::string Read(uint64_t offset, size_t n, size_t* got) {
    std::string out(n, '\0');
    EXPECT_TRUE(reader_->readAt(offset, out.data(), n, got).ok());
    out.resize(*got);
    return out;
  }

  std::string dir_, path_;
  FilePtr writer_, reader_;
};

TEST_F(MappedReadsTest, SeesWritesOfAnotherHandleAtOnce) {
  size_t got = 0;
  EXPECT_EQ(Read(500, 4, &got), "aaaa");
  ASSERT_TRUE(writer_->writeAt(500, "WXYZ", 4).ok());
  EXPECT_EQ(Read(498, 8, &got), "aaWXYZaa");
  ASSERT_TRUE(reader_->writeAt(502, "12", 2).ok());  // its own writes too
  EXPECT_EQ(Read(500, 4, &got), "WX12");
}

TEST_F(MappedReadsTest, ReadsPastTheMappingWhenTheFileGrows) {
  size_t got = 0;
  EXPECT_EQ(Read(99998, 4, &got), "aa");  // short at the end, as pread
  // Small growth is read from the file, large growth maps it again; both read the same.
  ASSERT_TRUE(writer_->writeAt(100000, "bbbb", 4).ok());
  EXPECT_EQ(Read(99998, 6, &got), "aabbbb");
  ASSERT_TRUE(writer_->writeAt(400000, "cc", 2).ok());
  EXPECT_EQ(Read(399999, 4, &got), std::string("\0cc", 3));
  EXPECT_EQ(Read(100002, 4, &got), std::string("bb\0\0", 4));
  ASSERT_TRUE(writer_->writeAt(400001, "d", 1).ok());
  EXPECT_EQ(Read(400000, 2, &got), "cd");
}

TEST_F(MappedReadsTest, FileCutUnderTheMappingGivesShortReads) {
  size_t got = 0;
  EXPECT_EQ(Read(90000, 4, &got), "aaaa");
  ASSERT_TRUE(writer_->truncate(10).ok());  // another process cuts the file
  EXPECT_EQ(Read(90000, 4, &got), "");
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(Read(8, 4, &got), "aa");
  // Written again, the file reads in full.
  ASSERT_TRUE(writer_->writeAt(0, Bytes(300000, 'e').data(), 300000).ok());
  EXPECT_EQ(Read(90000, 3, &got), "eee");
  EXPECT_EQ(Read(299999, 2, &got), "e");
}

}  // namespace
}  // namespace pv

// File functions through the file layer: whole files, handles, listings, separators and case.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "array.h"
#include "rtl_call.h"

namespace {

class FileTest : public RtlFolderTest {
 protected:
  void put(const std::string& name, const std::string& bytes) {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
};

TEST_F(FileTest, MemoWriteAndReadWithTheEofByte) {
  EXPECT_TRUE(logical("MEMOWRIT", {path("report.log"), std::string("a\r\nb\0c", 6)}));
  EXPECT_EQ(slurp("report.log"), std::string("a\r\nb\0c\x1A", 7));
  EXPECT_EQ(str("MEMOREAD", {path("report.log")}), std::string("a\r\nb\0c", 6));
  EXPECT_TRUE(logical("MEMOWRIT", {path("raw.txt"), "xy", false}));
  EXPECT_EQ(slurp("raw.txt"), "xy");
  EXPECT_EQ(num("FERROR"), 0);
  EXPECT_EQ(str("MEMOREAD", {path("missing.txt")}), "");
  EXPECT_EQ(num("FERROR"), 2);
  EXPECT_FALSE(logical("MEMOWRIT", {path("no/such/folder/x.txt"), "x"}));
  EXPECT_EQ(num("FERROR"), 3);
  expectArgError("MEMOWRIT", 2037, {path("x"), 5});
  expectArgError("MEMOREAD", 2038, {5});
}

TEST_F(FileTest, NamesUseEitherSeparatorAndAnyCase) {
  put("PRODUCT.DBF", "x");
  std::string backslashed = dir_ + "\\product.dbf";
  EXPECT_TRUE(logical("FILE", {backslashed}));
  EXPECT_TRUE(logical("FILE", {dir_ + "/Product.Dbf"}));
  EXPECT_TRUE(logical("FILE", {dir_ + "/*.dbf"}));
  EXPECT_TRUE(logical("FILE", {dir_ + "/PROD??T.*"}));
  EXPECT_FALSE(logical("FILE", {dir_ + "/*.cdx"}));
  EXPECT_FALSE(logical("FILE", {dir_}));
  EXPECT_FALSE(logical("FILE", {""}));
  expectArgError("FILE", 2033, {1});
}

TEST_F(FileTest, EraseAndRenameReportWindowsCodes) {
  put("a.txt", "1");
  put("b.txt", "2");
  EXPECT_EQ(num("FRENAME", {path("A.TXT"), path("c.txt")}), 0);
  EXPECT_EQ(slurp("c.txt"), "1");
  EXPECT_EQ(num("FRENAME", {path("c.txt"), path("b.txt")}), -1);
  EXPECT_EQ(num("FERROR"), 80);
  EXPECT_EQ(num("FERASE", {path("C.txt")}), 0);
  EXPECT_EQ(num("FERASE", {path("c.txt")}), -1);
  EXPECT_EQ(num("FERROR"), 2);
  expectArgError("FERASE", 2034, {nullptr});
  expectArgError("FRENAME", 2035, {path("b.txt")});
}

TEST_F(FileTest, DirectoryListsNamesSizesAndAttributes) {
  put("one.log", "12345");
  put("two.LOG", "");
  put("other.txt", "x");
  put(".hidden.log", "x");
  ::mkdir(path("sub.log").c_str(), 0755);
  PvItem list = {PV_IT_NIL, {}};
  pv_itemCopy(&list, call("DIRECTORY", {dir_ + "\\*.log"}));
  ASSERT_EQ(pv_arrayLen(&list), 2);
  std::string names;
  for (PV_SIZE i = 1; i <= 2; ++i) {
    PV_ITEM row = pv_arrayGetItemPtr(&list, i);
    ASSERT_EQ(pv_arrayLen(row), 5);
    std::string name = pv_arrayGetCPtr(row, 1);
    names += name + ";";
    EXPECT_EQ(pv_arrayGetND(row, 2), name == "one.log" ? 5 : 0);
    EXPECT_EQ(pv_arrayGetType(row, 3), static_cast<uint32_t>(PV_IT_DATE));
    EXPECT_EQ(std::string(pv_arrayGetCPtr(row, 4)).size(), 8u);
    EXPECT_STREQ(pv_arrayGetCPtr(row, 5), "A");
  }
  EXPECT_TRUE(names == "one.log;two.LOG;" || names == "two.LOG;one.log;") << names;
  pv_itemCopy(&list, call("DIRECTORY", {dir_ + "/*.*", "DH"}));
  EXPECT_EQ(pv_arrayLen(&list), 5);
  pv_itemCopy(&list, call("DIRECTORY", {dir_ + "/nothing*"}));
  EXPECT_EQ(pv_arrayLen(&list), 0);
  pv_itemClear(&list);
  expectArgError("DIRECTORY", 2036, {5});
}

TEST_F(FileTest, HandlesReadWriteSeekAndClose) {
  PV_SIZE h = static_cast<PV_SIZE>(num("FCREATE", {path("data.bin")}));
  ASSERT_GE(h, 0);
  int handle = static_cast<int>(h);
  EXPECT_EQ(num("FWRITE", {handle, "Hello, World"}), 12);
  EXPECT_EQ(num("FWRITE", {handle, "!!!", 1}), 1);
  EXPECT_EQ(num("FSEEK", {handle, 0, 1}), 13);
  EXPECT_EQ(num("FSEEK", {handle, -6, 2}), 7);
  PvItem buffer = {PV_IT_NIL, {}};
  pv_itemPutC(&buffer, "..........");
  EXPECT_EQ(num("FREAD", {handle, Arg::Ref(&buffer), 3}), 3);
  EXPECT_STREQ(pv_itemGetCPtr(&buffer), "Wor.......");
  EXPECT_EQ(num("FREAD", {handle, Arg::Ref(&buffer), 100}), 3);  // the rest of the file
  EXPECT_STREQ(pv_itemGetCPtr(&buffer), "ld!.......");
  EXPECT_EQ(num("FSEEK", {handle, -1, 0}), 13);
  EXPECT_EQ(num("FERROR"), 131);
  EXPECT_TRUE(logical("FCLOSE", {handle}));
  EXPECT_FALSE(logical("FCLOSE", {handle}));
  EXPECT_EQ(num("FERROR"), 6);
  EXPECT_EQ(num("FWRITE", {handle, "x"}), 0);
  pv_itemClear(&buffer);

  put("strings.bin", std::string("abc\0def", 7));
  handle = static_cast<int>(num("FOPEN", {path("STRINGS.BIN")}));
  ASSERT_GE(handle, 0);
  EXPECT_EQ(str("FREADSTR", {handle, 10}), "abc");
  EXPECT_EQ(str("FREADSTR", {handle, 2}), "de");
  EXPECT_EQ(str("FREADSTR", {handle, 2e9}), "f");
  EXPECT_EQ(num("FWRITE", {handle, "x"}), 0);  // opened for reading
  EXPECT_EQ(num("FERROR"), 5);
  EXPECT_TRUE(logical("FCLOSE", {handle}));

  EXPECT_EQ(num("FOPEN", {path("missing.bin")}), -1);
  EXPECT_EQ(num("FERROR"), 2);
  expectArgError("FOPEN", 2021, {5});
  expectArgError("FCREATE", 2028, {});
  expectArgError("FREAD", 2029, {1, 5, 1});
  expectArgError("FWRITE", 2030, {1, 2});
  expectArgError("FSEEK", 2031, {1});
  expectArgError("FCLOSE", 2032, {"1"});
}

TEST_F(FileTest, ExclusiveOpenRefusesASecondOpen) {
  put("lock.dbf", "x");
  int first = static_cast<int>(num("FOPEN", {path("lock.dbf"), 0x12}));
  ASSERT_GE(first, 0);
  EXPECT_EQ(num("FOPEN", {path("lock.dbf"), 0x40}), -1);
  EXPECT_EQ(num("FERROR"), 32);
  EXPECT_TRUE(logical("FCLOSE", {first}));
  int second = static_cast<int>(num("FOPEN", {path("lock.dbf"), 0x42}));
  EXPECT_GE(second, 0);
  EXPECT_TRUE(logical("FCLOSE", {second}));
}

}  // namespace

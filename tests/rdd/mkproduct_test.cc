// mkproduct: byte-identical to the reference script, and its tables read back as documented.
#include <gtest/gtest.h>

#include <set>

#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"
#include "product_generator.h"
#include "test_util.h"

namespace pv::tools {
namespace {

const char kScript[] = PV_SOURCE_DIR "/tools/mkproduct/make_product_dbf.py";

TEST(MkproductTest, MatchesTheReferenceScriptByteForByte) {
  test::ScratchDir dir;
  struct Case { uint32_t n; uint64_t seed; uint8_t mark; } cases[] = {
      {0, 20240101, 0}, {1, 20240101, 0}, {7, 3, 2}, {2000, 20240101, 0}, {5003, 99, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    std::string ours = dir.file("ours.dbf"), theirs = dir.file("theirs.dbf"), error;
    ASSERT_TRUE(WriteProductTable(ours, {c.n, c.seed, c.mark}, &error)) << error;
    test::RunCommand("/usr/bin/python3 " + std::string(kScript) + " " + theirs + " " +
                     std::to_string(c.n) + " --seed " + std::to_string(c.seed) + " --ldid " +
                     std::to_string(c.mark));
    std::vector<uint8_t> expected = test::ReadBytes(theirs);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(test::ReadBytes(ours) == expected);
  }
}

TEST(MkproductTest, SamplesHoldTheCasesTheApplicationNeeds) {
  for (const char* name : {"PRODUCT.DBF", "product1.dbf"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<dbf::DbfTable> t;
    Status st = dbf::DbfTable::Open(std::string(PV_SOURCE_DIR) + "/samples/" + name,
                                    {.read_only = true}, &t);
    ASSERT_TRUE(st.ok()) << st.toString();
    ASSERT_EQ(t->fields().size(), 6u);
    EXPECT_GE(t->recordCount(), 200u);
    std::set<std::string> customers, products;
    bool blank_product = false;
    std::vector<uint8_t> rec(t->recordLength());
    for (uint32_t n = 1; n <= t->recordCount(); ++n) {
      ASSERT_TRUE(t->readRecord(n, rec.data()).ok());
      customers.insert(std::string(dbf::GetText(t->fields()[1], rec.data(), nullptr)));
      std::string product(dbf::GetText(t->fields()[2], rec.data(), nullptr));
      products.insert(product);
      blank_product |= product == std::string(20, ' ');
      EXPECT_GT(dbf::GetDate(t->fields()[5], rec.data()), 0);
    }
    std::set<std::string> folded;
    bool umlaut = false;
    for (std::string c : customers) {
      umlaut |= c.find_first_of("\x84\x94\x81\x8E\x99\x9A\xE1") != std::string::npos;
      for (char& ch : c) ch = char(std::toupper(uint8_t(ch)));
      folded.insert(c);
    }
    EXPECT_LT(folded.size(), customers.size()) << "no names that differ only in case";
    EXPECT_TRUE(umlaut);
    EXPECT_TRUE(blank_product);
    for (int i = 1; i <= 10; ++i) {
      char p[21];
      std::snprintf(p, sizeof p, "Program %02d          ", i);
      EXPECT_TRUE(products.count(p)) << p;
    }
  }
}

}  // namespace
}  // namespace pv::tools

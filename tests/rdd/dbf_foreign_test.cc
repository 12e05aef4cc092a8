// Tables made by other programs (Visual FoxPro): every value read here equals what
// python3-dbfread reads from the same file.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "dbf/dbf_codec.h"
#include "dbf/dbf_table.h"
#include "dbfFPT/memo_file.h"
#include "test_util.h"

namespace pv::dbf {
namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  char b[3];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%02x", c);
    out += b;
  }
  return out;
}

std::string RStrip(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return std::string(s);
}

std::string DateText(int32_t julian) {
  if (julian <= 0) return "";
  int y, m, d;
  YmdFromJulian(julian, &y, &m, &d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

// The value of field `f` in the form dump_dbfread.py prints.
std::string Canon(DbfTable& t, memo::MemoFile* memo, const Field& f, const uint8_t* rec) {
  double num = 0;
  char buf[64];
  switch (f.type) {
    case FieldType::kChar:
    case FieldType::kVarLength: return Hex(RStrip(GetText(f, rec, t.nullFlags())));
    case FieldType::kLogical:
      if (rec[f.offset] == ' ' || rec[f.offset] == '?') return "";
      return GetLogical(f, rec) ? "T" : "F";
    case FieldType::kDate: return DateText(GetDate(f, rec));
    case FieldType::kDateTime: {
      DateTime dt = GetDateTime(f, rec);
      if (dt.julian <= 0) return "";
      std::snprintf(buf, sizeof buf, "T%02d:%02d:%02d.%03d", dt.millis / 3600000,
                    dt.millis / 60000 % 60, dt.millis / 1000 % 60, dt.millis % 1000);
      return DateText(dt.julian) + buf;
    }
    case FieldType::kMemo:
    case FieldType::kImage:
    case FieldType::kBlob:
    case FieldType::kOle: {
      uint32_t block = 0;
      EXPECT_TRUE(GetMemoBlock(f, rec, &block).ok());
      if (block == 0 || !memo) return "";
      memo::MemoValue v;
      Status st = memo->read(block, 0, &v);
      EXPECT_TRUE(st.ok()) << st.toString();
      return Hex(v.data);
    }
    default:
      if (!GetNumber(f, rec, &num)) return "?";
      std::snprintf(buf, sizeof buf, "%.6f", num);
      return buf;
  }
}

// Compares one table with dbfread; V fields keep their length byte in dbfread's values, so
// ours must be a prefix there.
void CompareWithDbfread(const std::string& path, int expect_records) {
  SCOPED_TRACE(path);
  std::unique_ptr<DbfTable> t;
  Status st = DbfTable::Open(path, {.read_only = true}, &t);
  ASSERT_TRUE(st.ok()) << st.toString();
  std::unique_ptr<memo::MemoFile> memo;
  if (t->memoType() != kMemoNone) {
    std::string memo_path = path.substr(0, path.rfind('.')) + ".fpt";
    st = memo::MemoFile::Open(memo_path, {.memo_type = t->memoType(), .read_only = true}, &memo);
    ASSERT_TRUE(st.ok()) << st.toString();
  }
  std::istringstream theirs(test::RunCommand("/usr/bin/python3 " PV_RDD_TESTDATA
                                             "/dump_dbfread.py '" + path + "'"));
  std::vector<uint8_t> rec(t->recordLength());
  int live = 0, values = 0;
  for (uint32_t n = 1; n <= t->recordCount(); ++n) {
    ASSERT_TRUE(t->readRecord(n, rec.data()).ok());
    if (rec[0] == kDeletedFlag) continue;
    ++live;
    for (const Field& f : t->fields()) {
      if (f.system()) continue;
      std::string line;
      ASSERT_TRUE(std::getline(theirs, line)) << "dbfread gave fewer values";
      std::string prefix = std::to_string(live) + "|" + f.name + "|";
      ASSERT_EQ(line.substr(0, prefix.size()), prefix);
      std::string their = line.substr(prefix.size()), ours = Canon(*t, memo.get(), f, rec.data());
      if (f.type == FieldType::kVarLength && their != ours) {
        EXPECT_EQ(their.substr(0, ours.size()), ours) << prefix;
        EXPECT_TRUE(IsNull(f, rec.data(), t->nullFlags()) ||
                    rec[f.offset + f.length - 1] == GetText(f, rec.data(), t->nullFlags()).size())
            << prefix;
      } else {
        EXPECT_EQ(their, ours) << prefix;
      }
      ++values;
    }
  }
  std::string extra;
  EXPECT_FALSE(std::getline(theirs, extra)) << "dbfread gave more values: " << extra;
  EXPECT_EQ(live, expect_records);
  EXPECT_GT(values, 0);
}

class ForeignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::ForeignDataDir();
    if (dir_.empty()) GTEST_SKIP() << "foreign test data not found";
  }
  std::string dir_;
};

TEST_F(ForeignTest, VisualFoxProTablesReadAsDbfreadReadsThem) {
  CompareWithDbfread(dir_ + "/infused_dbf/calls.dbf", 16);
  CompareWithDbfread(dir_ + "/infused_dbf/setup.dbf", 3);
  CompareWithDbfread(dir_ + "/Valentin-Kaiser_go-dbase/employees.dbf", 3);
  CompareWithDbfread(dir_ + "/tombrothers_VfpEntityFrameworkProvider2/orderdetails.dbf", 2155);
}

TEST_F(ForeignTest, VariableLengthTablesWithBacklink) {
  CompareWithDbfread(dir_ + "/tombrothers_VfpEntityFrameworkProvider2/orders.dbf", 830);
  CompareWithDbfread(dir_ + "/tombrothers_VfpEntityFrameworkProvider2/employees.DBF", 9);
  std::unique_ptr<DbfTable> t;
  ASSERT_TRUE(DbfTable::Open(dir_ + "/tombrothers_VfpEntityFrameworkProvider2/ORDERS.DBF",
                             {.read_only = true}, &t).ok());
  EXPECT_EQ(t->versionByte(), 0x32);
  EXPECT_EQ(t->tableType(), kTableExtended);
  EXPECT_EQ(t->backlink().size(), 263u);
  EXPECT_EQ(t->backlink().substr(0, 14), std::string_view("northwind.dbc\0", 14));
  std::vector<uint8_t> rec(t->recordLength());
  ASSERT_TRUE(t->readRecord(1, rec.data()).ok());
  const Field& region = t->fields()[size_t(t->fieldIndex("shipregion"))];
  EXPECT_TRUE(IsNull(region, rec.data(), t->nullFlags()));
  const Field& name = t->fields()[size_t(t->fieldIndex("SHIPNAME"))];
  EXPECT_EQ(GetText(name, rec.data(), t->nullFlags()), "Vins et alcools Chevalier");
}

}  // namespace
}  // namespace pv::dbf

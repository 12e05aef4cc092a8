// Index files written by Visual FoxPro (testdata/foreign): every tag opens, passes the
// structure checker, holds exactly the key of each record (computed here independently from
// the table's bytes: integer keys with the sign bit flipped, the null-flag byte, dates as
// Julian days, UPPER and STR), walks in the order of sorting the table by that key, and finds
// each record's key by seek.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "cdx_key_codec.h"
#include "cdx_table_keys.h"
#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

// Tables and indexes written by other programs (tests/data/foreign, with their sources).
const std::string kForeign = std::string(CDX_TEST_DIR) + "/../../data/foreign/";

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

int64_t julianDay(int y, int m, int d) {
  int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

// The value of one record's field as key bytes (without the null-flag byte), or "null".
struct Table {
  CdxDbfInfo info;
  std::vector<uint8_t> bytes;

  const uint8_t* record(uint32_t r) const { return bytes.data() + info.headerLen + size_t(r - 1) * info.recLen; }

  bool bit(uint32_t r, int b) const {
    if (b < 0 || info.nullFlagsField < 0) return false;
    const CdxDbfField& nf = info.fields[size_t(info.nullFlagsField)];
    return (record(r)[nf.offset + size_t(b / 8)] >> (b % 8)) & 1;
  }

  bool fieldKey(const CdxDbfField& f, uint32_t r, std::string& out) const {
    if (bit(r, f.nullBit)) return false;
    const uint8_t* p = record(r) + f.offset;
    switch (f.type) {
      case 'I': {
        auto k = cdxKeyFromInt32(int32_t(GetLE32(p)));
        out.assign(k.begin(), k.end());
        break;
      }
      case 'D': {
        std::string s(reinterpret_cast<const char*>(p), 8);
        int64_t day = s == "        " ? 0 : julianDay(std::stoi(s.substr(0, 4)), std::stoi(s.substr(4, 2)), std::stoi(s.substr(6, 2)));
        auto k = cdxKeyFromJulian(day);
        out.assign(k.begin(), k.end());
        break;
      }
      case 'V': {
        int len = bit(r, f.varBit) ? p[f.len - 1] : f.len;
        out.assign(reinterpret_cast<const char*>(p), size_t(len));
        break;
      }
      default:
        out.assign(reinterpret_cast<const char*>(p), f.len);
    }
    return true;
  }
};

// Evaluates the key expressions these files use.
bool expectedKey(const Table& tb, const CdxTag& t, uint32_t r, CdxKey& out) {
  std::string e;
  for (char c : t.keyExpr) e.push_back(char(std::toupper(uint8_t(c))));
  std::string key;
  bool present = true;
  if (e.rfind("STR(", 0) == 0) {  // STR(a)+STR(b)
    for (size_t at = 0; (at = e.find("STR(", at)) != std::string::npos; at += 4) {
      std::string name = e.substr(at + 4, e.find(')', at) - at - 4);
      std::string v;
      tb.fieldKey(*tb.info.field(name), r, v);
      std::string n = std::to_string(cdxKeyToInt32(reinterpret_cast<const uint8_t*>(v.data())));
      key += std::string(10 - n.size(), ' ') + n;
    }
  } else {
    bool up = e.rfind("UPPER(", 0) == 0;
    std::string name = up ? e.substr(6, e.size() - 7) : e;
    const CdxDbfField* f = tb.info.field(name);
    EXPECT_NE(f, nullptr) << name;
    if (!f) return false;
    present = tb.fieldKey(*f, r, key);
    if (up)
      for (auto& c : key) c = char(std::toupper(uint8_t(c)));
  }
  int valueLen = t.keyLen - (t.nullFlag ? 1 : 0);
  key.resize(size_t(valueLen), char(t.fill));
  if (t.nullFlag) key = present ? std::string(1, char(kNullFlagPresent)) + key : std::string(size_t(t.keyLen), '\0');
  out.set(key.data(), t.keyLen, r);
  return true;
}

// Opens another program's index over its table and checks every tag against the records;
// lostPages pages the other program left unused are reported and then given back.
void checkForeign(const std::string& dir, const std::string& table, const std::string& cdx,
                  size_t tagCount, uint64_t lostPages = 0) {
  SCOPED_TRACE(dir + cdx);
  if (!std::ifstream(kForeign + dir + "/" + cdx).good()) GTEST_SKIP() << "no test data at " << kForeign;
  Table tb;
  tb.bytes = readFile(kForeign + dir + "/" + table);
  ASSERT_TRUE(cdxReadDbfInfo(tb.bytes, tb.info));
  CdxOpenOptions opt;
  opt.resolver = cdxTableKeyResolver(tb.info);
  std::unique_ptr<CdxIndex> x;
  CdxStatus s = cdxIndexOpen(std::make_unique<CdxMemFile>(readFile(kForeign + dir + "/" + cdx)),
                             table, opt, x);
  ASSERT_TRUE(s.ok()) << s.toString() << s.detail;
  ASSERT_EQ(x->tags.size(), tagCount);
  CdxCheckOptions copt;
  copt.recCount = tb.info.recCount;
  copt.keyOf = [&](const CdxTag& t, uint32_t r, CdxKey& k) { return expectedKey(tb, t, r, k); };
  CdxCheckReport rep;
  s = cdxCheckIndex(*x, rep, copt);
  EXPECT_EQ(rep.unaccountedPages, lostPages);
  if (lostPages) {  // the other program left pages in no tag and not on its free list
    EXPECT_NE(s.text.find("space lost"), std::string::npos) << s.toString();
    uint64_t reclaimed = 0;
    ASSERT_TRUE(cdxReclaimLostPages(*x, rep, reclaimed).ok());
    EXPECT_EQ(reclaimed, lostPages);
    rep = {};
    s = cdxCheckIndex(*x, rep, copt);
    EXPECT_EQ(rep.freePages, lostPages);
  }
  ASSERT_TRUE(s.ok()) << s.toString();
  for (auto& tp : x->tags) {
    CdxTag& t = *tp;
    SCOPED_TRACE(t.name);
    EXPECT_FALSE(t.custom);
    std::vector<std::pair<std::string, uint32_t>> sorted;
    for (uint32_t r = 1; r <= tb.info.recCount; ++r) {
      CdxKey k;
      expectedKey(tb, t, r, k);
      sorted.emplace_back(k.bytes(), r);
    }
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(walk(t), sorted);
    uint32_t count = 0;
    ASSERT_TRUE(cdxTagKeyCount(t, count).ok());
    EXPECT_EQ(count, tb.info.recCount);
    for (size_t i = 0; i < sorted.size(); i += 1 + sorted.size() / 50) {
      bool found = false;
      const auto& [k, r] = sorted[i];
      ASSERT_TRUE(cdxTagSeek(t, k.data(), int(k.size()), false, false, &found).ok());
      EXPECT_TRUE(found);
      EXPECT_EQ(t.cur.bytes(), k);
    }
  }
}

TEST(CdxForeign, GoDbaseEmployees) { checkForeign("Valentin-Kaiser_go-dbase", "employees.dbf", "employees.CDX", 5); }
TEST(CdxForeign, InfusedCalls) { checkForeign("infused_dbf", "calls.dbf", "calls.CDX", 2, 3); }
TEST(CdxForeign, InfusedSetup) { checkForeign("infused_dbf", "setup.dbf", "setup.CDX", 1); }
TEST(CdxForeign, VfpEmployeesNullableKeys) {
  checkForeign("tombrothers_VfpEntityFrameworkProvider2", "employees.DBF", "employees.cdx", 4, 12);
}
TEST(CdxForeign, VfpOrderDetails) {
  checkForeign("tombrothers_VfpEntityFrameworkProvider2", "orderdetails.dbf", "orderdetails.cdx", 3);
}
TEST(CdxForeign, VfpOrdersDatesAndNulls) {
  checkForeign("tombrothers_VfpEntityFrameworkProvider2", "orders.dbf", "orders.cdx", 6, 26);
}

// A foreign file is maintained in its own encodings: keys added and removed keep it valid.
TEST(CdxForeign, MaintainingAFoxProIndex) {
  std::string dir = kForeign + "tombrothers_VfpEntityFrameworkProvider2/";
  if (!std::ifstream(dir + "orders.cdx").good()) GTEST_SKIP() << "no test data at " << kForeign;
  CdxDbfInfo info;
  ASSERT_TRUE(cdxReadDbfInfo(readFile(dir + "orders.dbf"), info));
  CdxOpenOptions opt;
  opt.resolver = cdxTableKeyResolver(info);
  std::unique_ptr<CdxIndex> x;
  auto* mem = new CdxMemFile(readFile(dir + "orders.cdx"));
  ASSERT_TRUE(cdxIndexOpen(std::unique_ptr<CdxPageFile>(mem), "orders", opt, x).ok());
  CdxTag* t = cdxIndexFindTag(*x, "EMPLOYEEID");
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->nullFlag);
  EXPECT_EQ(t->fill, 0);
  for (uint32_t r = 831; r < 1500; ++r) {
    auto v = cdxKeyFromInt32(int32_t(r % 9));
    std::string k = std::string(1, char(0x80)) + std::string(v.begin(), v.end());
    ASSERT_TRUE(cdxTagKeyAdd(*t, CdxKey(k.data(), 5, r)).ok());
  }
  CdxCheckReport rep;
  uint64_t reclaimed = 0;  // the pages the other program left unused
  ASSERT_TRUE(cdxReclaimLostPages(*x, rep, reclaimed).ok());
  EXPECT_EQ(reclaimed, 26u);
  expectValid(*x);
  uint32_t count = 0;
  ASSERT_TRUE(cdxTagKeyCount(*t, count).ok());
  EXPECT_EQ(count, 1499u);
  // The header keeps Visual FoxPro's option bits.
  EXPECT_EQ(mem->bytes()[t->headerOffset + 14], 0x62);
}

}  // namespace
}  // namespace pv::cdx::test

// The bytes of the file: a fresh file's geometry, tag headers, leaf widths and compression
// (the worked examples: key length 10, 70,000 records, blank and equal keys), and the key
// encodings (order-preserving double, -0, logical, Visual FoxPro integers).
#include <cstring>

#include "cdx_format.h"
#include "cdx_key_codec.h"
#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t o) { return GetLE32(b.data() + o); }
uint16_t le16(const std::vector<uint8_t>& b, size_t o) { return GetLE16(b.data() + o); }

TEST(CdxFormat, FreshFileGeometryByteExact) {
  MemIndex m("PRODUCT");
  buildTag(*m.index, charSpec("excel1", 10, "STR(ID_NR)"), {"         3", "         1", "         2"});
  const auto& b = m.bytes();
  ASSERT_EQ(b.size(), 3072u);
  // Directory header at 0.
  EXPECT_EQ(le32(b, 0), 1024u);  // root
  EXPECT_EQ(le32(b, 4), 0u);     // free list
  EXPECT_EQ(le32(b, 8), 0u);     // version
  EXPECT_EQ(le16(b, 12), 10u);
  EXPECT_EQ(b[14], 0xE0);
  EXPECT_EQ(b[15], 1);
  for (size_t i = 16; i < 502; ++i) ASSERT_EQ(b[i], 0) << i;
  EXPECT_EQ(le16(b, 502), 0u);
  EXPECT_EQ(le16(b, 504), 1u);
  EXPECT_EQ(le16(b, 506), 1u);
  EXPECT_EQ(le16(b, 508), 0u);
  EXPECT_EQ(le16(b, 510), 1u);
  for (size_t i = 512; i < 1024; ++i) ASSERT_EQ(b[i], 0) << i;
  // The directory's root leaf at 1024: one key "EXCEL1    " -> header 1536.
  EXPECT_EQ(le16(b, 1024), 3u);
  EXPECT_EQ(le16(b, 1026), 1u);
  EXPECT_EQ(le32(b, 1028), kNoPage);
  EXPECT_EQ(le32(b, 1032), kNoPage);
  EXPECT_EQ(le16(b, 1036), 488u - 3 - 6);
  EXPECT_EQ(le32(b, 1038), 0xFFFFu);
  EXPECT_EQ(b[1042], 0x0F);
  EXPECT_EQ(b[1043], 0x0F);
  EXPECT_EQ(b[1044], 16);
  EXPECT_EQ(b[1045], 4);
  EXPECT_EQ(b[1046], 4);
  EXPECT_EQ(b[1047], 3);
  // Entry: record 1536 (0x0600), duplicate 0, trailing 4 -> 00 06 40.
  EXPECT_EQ(b[1048], 0x00);
  EXPECT_EQ(b[1049], 0x06);
  EXPECT_EQ(b[1050], 0x40);
  EXPECT_EQ(std::string(b.begin() + 1530, b.begin() + 1536), "EXCEL1");
  for (size_t i = 1051; i < 1530; ++i) ASSERT_EQ(b[i], 0) << i;
  // Tag header at 1536.
  EXPECT_EQ(le32(b, 1536), 2560u);
  EXPECT_EQ(le32(b, 1540), 0u);
  EXPECT_EQ(le32(b, 1544), 0u);
  EXPECT_EQ(le16(b, 1548), 10u);
  EXPECT_EQ(b[1550], 0x60);
  EXPECT_EQ(b[1551], 1);
  EXPECT_EQ(le16(b, 1536 + 502), 0u);
  EXPECT_EQ(le16(b, 1536 + 504), 11u);
  EXPECT_EQ(le16(b, 1536 + 506), 1u);
  EXPECT_EQ(le16(b, 1536 + 508), 0u);
  EXPECT_EQ(le16(b, 1536 + 510), 11u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[2048])), "STR(ID_NR)");
  // Its tree: one root leaf at 2560 with the three keys in order.
  EXPECT_EQ(le16(b, 2560), 3u);
  EXPECT_EQ(le16(b, 2562), 3u);
  CdxTag* t = cdxIndexFindTag(*m.index, "EXCEL1");
  ASSERT_NE(t, nullptr);
  auto keys = walk(*t);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].second, 2u);
  EXPECT_EQ(keys[1].second, 3u);
  EXPECT_EQ(keys[2].second, 1u);
  expectValid(*m.index);
}

TEST(CdxFormat, HeaderTextsAndOptions) {
  MemIndex m;
  CdxTagSpec s = charSpec("cust", 20, "LOWER(CUSTOMER) + INVOICE ");
  s.forExpr = "ID > 3";
  s.unique = true;
  s.descending = true;
  buildTag(*m.index, s, {"a"});
  const auto& b = m.bytes();
  size_t h = 1536;
  EXPECT_EQ(b[h + 14], 0x60 | 0x01 | 0x08);
  EXPECT_EQ(le16(b, h + 502), 1u);
  std::string key = "LOWER(CUSTOMER) + INVOICE";  // trailing blank dropped
  EXPECT_EQ(le16(b, h + 510), key.size() + 1);
  EXPECT_EQ(le16(b, h + 504), key.size() + 1);
  EXPECT_EQ(le16(b, h + 506), 7u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[h + 512])), key);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[h + 512 + key.size() + 1])), "ID > 3");
}

TEST(CdxFormat, EmptyTableGivesEmptyRootLeaf) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("E", 10), {});
  const auto& b = m.bytes();
  EXPECT_EQ(le16(b, t->rootOffset), 3u);
  EXPECT_EQ(le16(b, t->rootOffset + 2), 0u);
  EXPECT_EQ(le16(b, t->rootOffset + 12), 488u);
  EXPECT_TRUE(walk(*t).empty());
}

// Entry fields of leaf page `page`: (record, duplicate, trailing) of key i.
struct Entry {
  uint32_t rec;
  int dup, trl;
};
Entry entryAt(const std::vector<uint8_t>& b, uint32_t page, int i) {
  const uint8_t* p = b.data() + page;
  int es = p[23], rb = p[20], db = p[21];
  uint64_t e = GetLEn(p + 24 + i * es, es);
  return {uint32_t(e & GetLE32(p + 14)), int((e >> rb) & p[18]), int((e >> (rb + db)) & p[19])};
}

TEST(CdxFormat, KeyLength10WidthsBlankAndEqualKeys) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("K", 10), {"          ", "abc", "abc", "abd"});
  const auto& b = m.bytes();
  uint32_t leaf = t->rootOffset;
  const uint8_t* p = b.data() + leaf;
  EXPECT_EQ(p[23], 3);               // entry size
  EXPECT_EQ(p[20], 16);              // record bits 0..15
  EXPECT_EQ(p[21], 4);               // duplicate bits 16..19
  EXPECT_EQ(p[22], 4);               // trailing bits 20..23
  Entry blank = entryAt(b, leaf, 0);  // all blanks: no key bytes, trailing = key length
  EXPECT_EQ(blank.rec, 1u);
  EXPECT_EQ(blank.trl, 10);
  EXPECT_EQ(blank.dup, 0);
  Entry first = entryAt(b, leaf, 1);
  EXPECT_EQ(first.rec, 2u);
  EXPECT_EQ(first.trl, 7);
  Entry equal = entryAt(b, leaf, 2);  // an equal key stores no bytes
  EXPECT_EQ(equal.rec, 3u);
  EXPECT_EQ(equal.dup, 3);
  EXPECT_EQ(equal.trl, 7);
  Entry next = entryAt(b, leaf, 3);
  EXPECT_EQ(next.dup, 2);
  EXPECT_EQ(le16(b, leaf + 12), 488 - 4 * 3 - (0 + 3 + 0 + 1));
  // Key data from the end: "abc" then "d".
  EXPECT_EQ(std::string(b.begin() + leaf + 509, b.begin() + leaf + 512), "abc");
  EXPECT_EQ(b[leaf + 508], 'd');
}

TEST(CdxFormat, SeventyThousandRecordsWiden) {
  const uint32_t n = 70000;
  std::vector<std::string> vals(n);
  for (uint32_t i = 0; i < n; ++i) vals[i] = std::to_string(1000000 + i);
  MemIndex built;
  CdxTag* t = buildTag(*built.index, charSpec("K", 10), vals);
  expectValid(*built.index);
  // A built tag: every leaf shares one width, wide enough for the highest record.
  const auto& b = built.bytes();
  for (uint32_t off = 2560; off < b.size(); off += 512)
    if (b[off] & kAttrLeaf) {
      ASSERT_EQ(b[off + 23], 4) << off;
    }
  EXPECT_EQ(walk(*t).size(), n);

  // Added one by one: only leaves holding a record above 65535 have 4-byte entries.
  MemIndex added;
  CdxTag* u = buildTag(*added.index, charSpec("K", 10), {});
  ASSERT_TRUE(pv_cdxIndexLockWrite(*added.index).ok());
  for (uint32_t r = 1; r <= n; ++r) ASSERT_TRUE(cdxTagKeyAdd(*u, charKey(vals[r - 1], r)).ok());
  ASSERT_TRUE(pv_cdxIndexUnLockWrite(*added.index).ok());
  expectValid(*added.index);
  const auto& c = added.bytes();
  int narrow = 0, wide = 0;
  for (uint32_t off = 2560; off < c.size(); off += 512) {
    if (!(c[off] & kAttrLeaf)) continue;
    uint32_t maxRec = 0;
    for (int i = 0; i < GetLE16(c.data() + off + 2); ++i) maxRec = std::max(maxRec, entryAt(c, off, i).rec);
    ASSERT_EQ(c[off + 23], maxRec > 65535 ? 4 : 3) << off;
    ASSERT_EQ(c[off + 20], maxRec > 65535 ? 24 : 16) << off;
    (maxRec > 65535 ? wide : narrow)++;
  }
  EXPECT_GT(narrow, 0);
  EXPECT_GT(wide, 0);
  uint32_t count = 0;
  ASSERT_TRUE(cdxTagKeyCount(*u, count).ok());
  EXPECT_EQ(count, n);
}

TEST(CdxFormat, OrderPreservingDouble) {
  auto hex = [](double v) {
    auto k = cdxKeyFromDouble(v);
    char s[17];
    for (int i = 0; i < 8; ++i) snprintf(s + 2 * i, 3, "%02X", k[i]);
    return std::string(s);
  };
  EXPECT_EQ(hex(0.0), "8000000000000000");
  EXPECT_EQ(hex(-0.0), "8000000000000000");
  EXPECT_EQ(hex(1.0), "BFF0000000000000");
  EXPECT_EQ(hex(-1.0), "400FFFFFFFFFFFFF");
  EXPECT_EQ(hex(100.0), "C059000000000000");
  double vals[] = {-1e300, -100.5, -1, -1e-300, 0, 1e-300, 1, 2.5, 100, 1e300};
  for (size_t i = 0; i + 1 < std::size(vals); ++i) {
    auto a = cdxKeyFromDouble(vals[i]), b = cdxKeyFromDouble(vals[i + 1]);
    EXPECT_LT(std::memcmp(a.data(), b.data(), 8), 0) << vals[i];
    EXPECT_EQ(cdxKeyToDouble(a.data()), vals[i]);
  }
  EXPECT_EQ(cdxKeyToJulian(cdxKeyFromJulian(2451545).data()), 2451545);
  EXPECT_EQ(cdxKeyFromLogical(true), 'T');
  EXPECT_FALSE(cdxKeyToLogical('F'));
}

TEST(CdxFormat, FoxProIntegerKeys) {
  auto k = cdxKeyFromInt32(1);
  EXPECT_EQ(k[0], 0x80);
  EXPECT_EQ(k[3], 0x01);
  EXPECT_EQ(cdxKeyToInt32(cdxKeyFromInt32(-5).data()), -5);
  auto a = cdxKeyFromInt32(-1), b = cdxKeyFromInt32(0);
  EXPECT_LT(std::memcmp(a.data(), b.data(), 4), 0);
}

TEST(CdxFormat, CollationRanksFollowTheCompare) {
  // Case-blind order with upper case first: A a B b ...
  auto cmp = [](uint8_t x, uint8_t y) {
    auto key = [](uint8_t c) { return std::isalpha(c) ? std::tolower(c) * 2 + (std::islower(c) ? 1 : 0) : c * 2; };
    return key(x) - key(y);
  };
  CdxCollation c = cdxBuildCollation(cmp);
  EXPECT_LT(c['A'], c['a']);
  EXPECT_LT(c['a'], c['B']);
  EXPECT_LT(c['0'], c['A']);
}

}  // namespace
}  // namespace pv::cdx::test

namespace pv::cdx::test {
namespace {

TEST(CdxFormat, InsertIntoFullLeavesAddsOneLeafAndOneParentEntry) {
  MemIndex m;
  std::vector<std::string> v;
  for (int i = 0; i < 400; ++i) v.push_back(std::to_string(100000 + i * 10));
  CdxTag* t = buildTag(*m.index, charSpec("K", 10), v);
  const auto& b = m.bytes();
  uint32_t root = t->rootOffset;
  ASSERT_EQ(b[root], kAttrRoot);  // an interior root over full leaves
  int entries = GetLE16(b.data() + root + 2);
  size_t size = b.size();
  std::vector<uint8_t> header(b.begin() + t->headerOffset, b.begin() + t->headerOffset + 1024);
  ASSERT_TRUE(cdxTagKeyAdd(*t, charKey("100005", 401)).ok());  // into the first, full leaf
  EXPECT_EQ(m.bytes().size(), size + kPageSize);
  EXPECT_EQ(GetLE16(m.bytes().data() + root + 2), entries + 1);
  EXPECT_EQ(t->rootOffset, root);
  expectValid(*m.index);
  // Growing from one leaf to several levels: the root keeps its offset, the header its bytes.
  for (uint32_t r = 402; r < 3000; ++r) ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(std::to_string(r * 7), r)).ok());
  EXPECT_EQ(t->rootOffset, root);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), m.bytes().begin() + t->headerOffset));
  // Deleting every key leaves an empty root leaf.
  for (uint32_t r = 402; r < 3000; ++r) ASSERT_TRUE(cdxTagKeyDelete(*t, charKey(std::to_string(r * 7), r)).ok());
  for (uint32_t r = 1; r <= 400; ++r) ASSERT_TRUE(cdxTagKeyDelete(*t, charKey(v[r - 1], r)).ok());
  ASSERT_TRUE(cdxTagKeyDelete(*t, charKey("100005", 401)).ok());
  EXPECT_EQ(m.bytes()[root], kAttrRoot | kAttrLeaf);
  EXPECT_EQ(GetLE16(m.bytes().data() + root + 2), 0);
  CdxCheckReport rep;
  ASSERT_TRUE(cdxCheckIndex(*m.index, rep).ok());
  EXPECT_EQ(rep.unaccountedPages, 0u);
  EXPECT_GT(rep.freePages, 5u);
}

}  // namespace
}  // namespace pv::cdx::test

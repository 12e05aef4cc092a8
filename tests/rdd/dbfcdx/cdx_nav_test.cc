// Navigation: seeks (prefix, soft, find-last, misses), skips across leaves, top and bottom,
// unique, descending and scoped tags, key number, key count, key go-to and relative position.
#include <algorithm>

#include "cdx_key_codec.h"
#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

std::vector<std::string> numbered(int n, int width = 6) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) {
    std::string s = std::to_string(i * 2);
    v.push_back(std::string(size_t(width) - s.size(), '0') + s);
  }
  return v;
}

uint32_t keyNo(CdxTag& t) {
  uint32_t n = 0;
  EXPECT_TRUE(cdxTagKeyNo(t, n).ok());
  return n;
}
uint32_t keyCount(CdxTag& t) {
  uint32_t n = 0;
  EXPECT_TRUE(cdxTagKeyCount(t, n).ok());
  return n;
}
bool seek(CdxTag& t, const std::string& v, bool soft = false, bool last = false) {
  bool found = false;
  EXPECT_TRUE(cdxTagSeek(t, v.data(), int(v.size()), soft, last, &found).ok());
  return found;
}

TEST(CdxNav, SeekPrefixSoftAndMiss) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("C", 8), {"abc", "abd", "b", "ab", "c"});
  EXPECT_TRUE(seek(*t, "ab"));
  EXPECT_EQ(t->cur.rec, 4u);  // "ab      " is the first key starting with "ab"
  EXPECT_TRUE(seek(*t, "abd"));
  EXPECT_EQ(t->cur.rec, 2u);
  EXPECT_FALSE(seek(*t, "abz"));
  EXPECT_EQ(t->cur.rec, 0u);  // a plain miss ends past the end
  EXPECT_FALSE(seek(*t, "abz", true));
  EXPECT_EQ(t->cur.rec, 3u);  // soft: the next greater key
  EXPECT_FALSE(seek(*t, "d", true));
  EXPECT_EQ(t->cur.rec, 0u);
  EXPECT_TRUE(seek(*t, "ab", false, true));
  EXPECT_EQ(t->cur.rec, 2u);  // find-last: the last key starting with "ab"
}

TEST(CdxNav, SkipAcrossLeavesTopBottomAndEnds) {
  MemIndex m;
  auto vals = numbered(3000);
  CdxTag* t = buildTag(*m.index, charSpec("N", 6), vals);
  ASSERT_TRUE(cdxTagGoTop(*t).ok());
  EXPECT_EQ(t->cur.rec, 1u);
  ASSERT_TRUE(cdxTagSkip(*t, -1).ok());
  EXPECT_TRUE(t->topOfOrder);
  EXPECT_EQ(t->cur.rec, 1u);  // stays on the first key
  ASSERT_TRUE(cdxTagSkip(*t, 2500).ok());
  EXPECT_EQ(t->cur.rec, 2501u);
  EXPECT_EQ(keyNo(*t), 2501u);
  ASSERT_TRUE(cdxTagGoBottom(*t).ok());
  EXPECT_EQ(t->cur.rec, 3000u);
  ASSERT_TRUE(cdxTagSkip(*t, 1).ok());
  EXPECT_EQ(t->cur.rec, 0u);
  EXPECT_TRUE(t->endOfOrder);
  ASSERT_TRUE(cdxTagSkip(*t, -1).ok());
  EXPECT_EQ(t->cur.rec, 3000u);  // back from the end lands on the last key
  ASSERT_TRUE(cdxTagSkip(*t, -2999).ok());
  EXPECT_EQ(t->cur.rec, 1u);
  EXPECT_EQ(keyCount(*t), 3000u);
}

TEST(CdxNav, KeyGotoKeyNoAndRelativePosition) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("N", 6), numbered(5000));
  for (uint32_t n : {1u, 2u, 77u, 1234u, 4999u, 5000u}) {
    ASSERT_TRUE(cdxTagKeyGoto(*t, n).ok());
    EXPECT_EQ(t->cur.rec, n);
    t->cacheBits = 0;
    EXPECT_EQ(keyNo(*t), n);
  }
  ASSERT_TRUE(cdxTagKeyGoto(*t, 5001).ok());
  EXPECT_EQ(t->cur.rec, 0u);
  ASSERT_TRUE(cdxTagKeyGoto(*t, 0).ok());
  EXPECT_EQ(t->cur.rec, 0u);
  // Relative positions follow the tree's shape: they grow with the key number, and going to
  // a position reports that position again.
  double prev = -1;
  for (uint32_t n = 1; n <= 5000; n += 250) {
    ASSERT_TRUE(cdxTagKeyGoto(*t, n).ok());
    double x = 0;
    ASSERT_TRUE(cdxTagRelPos(*t, x).ok());
    EXPECT_GT(x, prev);
    prev = x;
  }
  for (double want : {0.1, 0.25, 0.5, 0.9}) {
    ASSERT_TRUE(cdxTagSetRelPos(*t, want).ok());
    double x = 0;
    ASSERT_TRUE(cdxTagRelPos(*t, x).ok());
    EXPECT_NEAR(x, want, 0.02);
  }
  ASSERT_TRUE(cdxTagSetRelPos(*t, 1.0).ok());
  EXPECT_EQ(t->cur.rec, 5000u);
  ASSERT_TRUE(cdxTagSetRelPos(*t, 0.0).ok());
  EXPECT_EQ(t->cur.rec, 1u);
}

TEST(CdxNav, DescendingTagWalksBackward) {
  MemIndex m;
  CdxTagSpec s = charSpec("D", 6);
  s.descending = true;
  CdxTag* t = buildTag(*m.index, s, numbered(1000));
  auto got = walk(*t);
  ASSERT_EQ(got.size(), 1000u);
  EXPECT_EQ(got.front().second, 1000u);
  EXPECT_EQ(got.back().second, 1u);
  ASSERT_TRUE(cdxTagGoTop(*t).ok());
  t->cacheBits = 0;
  EXPECT_EQ(keyNo(*t), 1u);
  ASSERT_TRUE(cdxTagKeyGoto(*t, 10).ok());
  EXPECT_EQ(t->cur.rec, 991u);
  // A soft seek in a descending tag stands on the next key in walking order (smaller).
  EXPECT_FALSE(seek(*t, "000011", true));
  EXPECT_EQ(t->cur.rec, 6u);  // "000010"
  EXPECT_TRUE(seek(*t, "000010"));
  EXPECT_EQ(t->cur.rec, 6u);
}

TEST(CdxNav, UniqueBuildKeepsLowestRecord) {
  MemIndex m;
  CdxTagSpec s;
  s.name = "U";
  s.keyExpr = "N";
  s.keyLen = 8;
  s.key.type = 'N';
  s.unique = true;
  std::vector<double> v = {5, 3, 5};
  CdxTag* t = nullptr;
  ASSERT_TRUE(cdxIndexAddTag(*m.index, s, 3,
                             [&](uint32_t r, CdxKey& k) {
                               auto b = cdxKeyFromDouble(v[r - 1]);
                               k.set(b.data(), 8, r);
                               return true;
                             },
                             &t)
                  .ok());
  auto got = walk(*t);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].second, 2u);  // 3
  EXPECT_EQ(got[1].second, 1u);  // 5, lowest record
  auto five = cdxKeyFromDouble(5);
  bool added = true;
  ASSERT_TRUE(cdxTagKeyAdd(*t, CdxKey(five.data(), 8, 9), &added).ok());
  EXPECT_FALSE(added);  // a unique tag keeps its first record per value
  expectValid(*m.index);
}

TEST(CdxNav, UserUniqueFlagStepsOverEqualKeys) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("C", 4), {"b", "a", "b", "c", "a", "c"});
  cdxTagSetUserOrder(*t, true, true);
  auto got = walk(*t);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].second, 2u);
  EXPECT_EQ(got[1].second, 1u);
  EXPECT_EQ(got[2].second, 4u);
  ASSERT_TRUE(cdxTagGoBottom(*t).ok());
  EXPECT_EQ(t->cur.rec, 4u);  // bottom, then back to the first key of that value
  ASSERT_TRUE(cdxTagSkip(*t, -1).ok());
  EXPECT_EQ(t->cur.rec, 1u);
  EXPECT_EQ(keyCount(*t), 3u);
}

TEST(CdxNav, ScopesBoundWalkCountAndSeek) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("N", 6), numbered(1000));  // "000000".."001998"
  cdxTagSetScope(*t, 0, "0001", 4);
  cdxTagSetScope(*t, 1, "0002", 4);
  auto got = walk(*t);
  ASSERT_EQ(got.size(), 100u);  // 000100 .. 000298
  EXPECT_EQ(got.front().first, "000100");
  EXPECT_EQ(got.back().first, "000298");
  EXPECT_EQ(keyCount(*t), 100u);
  ASSERT_TRUE(cdxTagGoBottom(*t).ok());
  EXPECT_EQ(t->cur.bytes(), "000298");
  EXPECT_EQ(keyNo(*t), 100u);
  EXPECT_FALSE(seek(*t, "0005"));
  EXPECT_EQ(t->cur.rec, 0u);  // outside the bottom scope
  EXPECT_FALSE(seek(*t, "00000", true));
  EXPECT_EQ(t->cur.bytes(), "000100");  // before the top scope: the first key in scope
  ASSERT_TRUE(cdxTagKeyGoto(*t, 3).ok());
  EXPECT_EQ(t->cur.bytes(), "000104");
  double x;
  ASSERT_TRUE(cdxTagRelPos(*t, x).ok());
  EXPECT_NEAR(x, 0.02, 0.02);
  cdxTagClearScope(*t, 0);
  cdxTagClearScope(*t, 1);
  EXPECT_EQ(keyCount(*t), 1000u);
  // Descending: the top scope is the upper bound.
  CdxTagSpec s = charSpec("D", 6);
  s.descending = true;
  CdxTag* d = buildTag(*m.index, s, numbered(1000));
  cdxTagSetScope(*d, 0, "0002", 4);
  cdxTagSetScope(*d, 1, "0001", 4);
  got = walk(*d);
  ASSERT_EQ(got.size(), 100u);
  EXPECT_EQ(got.front().first, "000298");
  EXPECT_EQ(got.back().first, "000100");
}

TEST(CdxNav, CursorFollowsAfterItsKeyChanges) {
  MemIndex m;
  CdxTag* t = buildTag(*m.index, charSpec("N", 6), numbered(100));
  ASSERT_TRUE(cdxTagKeyGoto(*t, 50).ok());  // record 50, "000098"
  CdxKey cur = t->cur;
  ASSERT_TRUE(cdxTagKeyDelete(*t, cur).ok());
  ASSERT_TRUE(cdxTagKeyAdd(*t, charKey("000051", 50)).ok());
  // The cursor stands on the record's new place; the next skip starts from there.
  ASSERT_TRUE(cdxTagSkip(*t, 1).ok());
  EXPECT_EQ(t->cur.bytes(), "000052");
  expectValid(*m.index);
}

}  // namespace
}  // namespace pv::cdx::test

// Random inserts, deletes, key changes, seeks and skips on one tag, checked against a
// std::multimap model of the same (key, record) entries, with the structure checker after
// every batch: crosses leaf and interior splits, merges, root split and shrink, free-page
// reuse, and key lengths from 4 to 240 (interior fan-out 41 down to 2); also with the key
// changes held in memory between flushes.
#include <map>
#include <random>

#include "cdx_test_util.h"

namespace pv::cdx::test {
namespace {

class Model {
 public:
  Model(int keyLen, uint32_t seed) : keyLen_(keyLen), rng_(seed) {}

  std::string randomKey() {
    // Few distinct prefixes and lengths, so keys share prefixes, repeat and end in blanks.
    static const char* const stems[] = {"", "a", "ab", "abc", "b", "ba", "zz", "m"};
    std::string k = stems[rng_() % 8];
    int extra = int(rng_() % std::max(2, keyLen_ / 2));
    for (int i = 0; i < extra && int(k.size()) < keyLen_; ++i) k.push_back(char('a' + rng_() % 4));
    return pad(k, size_t(keyLen_));
  }

  int keyLen_;
  std::mt19937 rng_;
  std::multimap<std::pair<std::string, uint32_t>, int> entries;
  std::map<uint32_t, std::string> byRec;
  uint32_t nextRec = 1;
};

void compareWalk(CdxTag& t, const Model& m) {
  auto got = walk(t);
  ASSERT_EQ(got.size(), m.entries.size());
  size_t i = 0;
  for (const auto& [k, v] : m.entries) {
    ASSERT_EQ(got[i].first, k.first) << i;
    ASSERT_EQ(got[i].second, k.second) << i;
    ++i;
  }
  uint32_t count = 0;
  ASSERT_TRUE(cdxTagKeyCount(t, count).ok());
  ASSERT_EQ(count, m.entries.size());
}

// hold: the file keeps key changes in memory until a flush (the driver's exclusive use).
void runModel(int keyLen, int ops, uint32_t seed, bool hold = false) {
  CdxOpenOptions opt;
  opt.holdKeyChanges = hold;
  MemIndex mi("TEST", opt);
  Model m(keyLen, seed);
  CdxTag* t = buildTag(*mi.index, charSpec("M", keyLen), {});
  ASSERT_NE(t, nullptr);
  auto insert = [&] {
    std::string k = m.randomKey();
    uint32_t r = m.nextRec++;
    bool added = false;
    ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(k, r), &added).ok());
    ASSERT_TRUE(added);
    m.entries.insert({{k, r}, 0});
    m.byRec[r] = k;
  };
  auto erase = [&] {
    if (m.byRec.empty()) return;
    auto it = m.byRec.lower_bound(m.rng_() % m.nextRec);
    if (it == m.byRec.end()) it = m.byRec.begin();
    bool removed = false;
    ASSERT_TRUE(cdxTagKeyDelete(*t, charKey(it->second, it->first), &removed).ok());
    ASSERT_TRUE(removed);
    m.entries.erase(m.entries.find({it->second, it->first}));
    m.byRec.erase(it);
  };
  auto seek = [&] {
    std::string k = m.randomKey();
    std::string prefix = k.substr(0, 1 + m.rng_() % 3);
    bool found = false;
    ASSERT_TRUE(cdxTagSeek(*t, prefix.data(), int(prefix.size()), true, false, &found).ok());
    auto it = m.entries.lower_bound({prefix, 0});
    if (it == m.entries.end()) {
      ASSERT_EQ(t->cur.rec, 0u);
      return;
    }
    ASSERT_EQ(t->cur.rec, it->first.second);
    ASSERT_EQ(found, it->first.first.compare(0, prefix.size(), prefix) == 0);
    // Walk a few keys forward and back from there.
    long n = long(m.rng_() % 7) - 3;
    ASSERT_TRUE(cdxTagSkip(*t, n).ok());
    auto pos = std::distance(m.entries.begin(), it) + n;
    if (pos >= long(m.entries.size())) {
      ASSERT_EQ(t->cur.rec, 0u);
    } else {
      if (pos < 0) {
        pos = 0;
        ASSERT_TRUE(t->topOfOrder);
      }
      ASSERT_EQ(t->cur.rec, std::next(m.entries.begin(), pos)->first.second);
      uint32_t no = 0;
      ASSERT_TRUE(cdxTagKeyNo(*t, no).ok());
      ASSERT_EQ(no, uint32_t(pos + 1));
    }
  };
  for (int op = 0; op < ops; ++op) {
    int phase = op < ops * 4 / 10 ? 0 : op < ops * 7 / 10 ? 1 : 2;  // grow, churn, shrink
    int dice = int(m.rng_() % 10);
    if (phase == 0 ? dice < 8 : phase == 1 ? dice < 4 : dice < 2)
      insert();
    else if (dice < 9)
      erase();
    else
      seek();
    if (::testing::Test::HasFatalFailure()) return;
    if (op % 1000 == 999) {
      expectValid(*mi.index);
      compareWalk(*t, m);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
  while (!m.byRec.empty()) {
    erase();
    if (::testing::Test::HasFatalFailure()) return;
  }
  expectValid(*mi.index);
  compareWalk(*t, m);
  // Everything deleted: an empty root leaf, and the freed pages come back before the file grows.
  size_t sizeEmpty = mi.bytes().size();
  for (int i = 0; i < 200; ++i) insert();
  EXPECT_EQ(mi.bytes().size(), sizeEmpty);
  expectValid(*mi.index);
  compareWalk(*t, m);
}

// A unique tag under random adds and deletes: one entry per value, the first record added.
TEST(CdxModel, UniqueTag) {
  MemIndex mi;
  CdxTagSpec spec = charSpec("U", 6);
  spec.unique = true;
  CdxTag* t = buildTag(*mi.index, spec, {});
  std::map<std::string, uint32_t> model;
  std::mt19937 rng(9);
  for (uint32_t r = 1; r <= 6000; ++r) {
    std::string k = pad(std::to_string(rng() % 3000), 6);
    if (rng() % 4 == 0 && !model.empty()) {
      auto it = model.lower_bound(k);
      if (it == model.end()) it = model.begin();
      bool removed = false;
      ASSERT_TRUE(cdxTagKeyDelete(*t, charKey(it->first, it->second), &removed).ok());
      ASSERT_TRUE(removed);
      model.erase(it);
      continue;
    }
    bool added = false;
    ASSERT_TRUE(cdxTagKeyAdd(*t, charKey(k, r), &added).ok());
    ASSERT_EQ(added, model.emplace(k, r).second);
  }
  expectValid(*mi.index);
  auto got = walk(*t);
  ASSERT_EQ(got.size(), model.size());
  size_t i = 0;
  for (const auto& [k, r] : model) {
    ASSERT_EQ(got[i].first, k);
    ASSERT_EQ(got[i++].second, r);
  }
}

TEST(CdxModel, KeyLength4) { runModel(4, 8000, 1); }
TEST(CdxModel, KeyLength20) { runModel(20, 12000, 2); }
TEST(CdxModel, KeyLength100) { runModel(100, 6000, 3); }
TEST(CdxModel, KeyLength240DeepTree) { runModel(240, 5000, 4); }
TEST(CdxModel, KeyLength20HeldChanges) { runModel(20, 12000, 5, true); }
TEST(CdxModel, KeyLength240HeldChanges) { runModel(240, 5000, 6, true); }

}  // namespace
}  // namespace pv::cdx::test

// PointerCounts against std::map under random adds and removes, with pointers chosen so many
// share a home slot (aligned addresses in a small range) and the removal shifts are exercised.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "pointer_counts.h"

namespace {

const void* Pointer(int n) { return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0x10000 + 16 * n)); }

TEST(PointerCounts, CountsLikeAnOrderedMap) {
  ole::PointerCounts counts;
  std::map<const void*, std::uint64_t> model;
  std::mt19937 random(7);
  for (int step = 0; step < 200000; ++step) {
    const void* p = Pointer(static_cast<int>(random() % 500));
    if (random() % 3 == 0) {
      counts.Add(p);
      ++model[p];
    } else {
      auto it = model.find(p);
      EXPECT_EQ(counts.Remove(p), it != model.end());
      if (it != model.end() && --it->second == 0) model.erase(it);
    }
    ASSERT_EQ(counts.Size(), model.size());
  }
  for (int n = 0; n < 500; ++n) {
    auto it = model.find(Pointer(n));
    std::uint64_t* c = counts.Find(Pointer(n));
    ASSERT_EQ(c != nullptr, it != model.end()) << n;
    if (c) {
      EXPECT_EQ(*c, it->second);
    }
  }
}

TEST(PointerCounts, RefusesWhatItDoesNotHold) {
  ole::PointerCounts counts;
  EXPECT_FALSE(counts.Remove(Pointer(1)));
  EXPECT_EQ(counts.Find(Pointer(1)), nullptr);
  EXPECT_EQ(counts.Find(nullptr), nullptr);
  counts.Add(nullptr);
  EXPECT_EQ(counts.Size(), 0u);
  counts.Add(Pointer(1));
  counts.Add(Pointer(1));
  EXPECT_TRUE(counts.Remove(Pointer(1)));
  EXPECT_TRUE(counts.Remove(Pointer(1)));
  EXPECT_FALSE(counts.Remove(Pointer(1)));
}

}  // namespace

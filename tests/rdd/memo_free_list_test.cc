// FreeList: release, merge, capacity and allocation rules, and a random run against a model.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "dbfFPT/memo_free_list.h"

namespace pv::memo {
namespace {

using Runs = std::vector<FreeRun>;

TEST(FreeListTest, ReleasedTailMovesTheEndBack) {
  FreeList l(100, 10);
  l.release(90, 10);
  EXPECT_EQ(l.nextFree(), 90u);
  EXPECT_TRUE(l.runs().empty());
  l.release(50, 5);
  l.release(85, 5);
  EXPECT_EQ(l.nextFree(), 85u);
  l.release(55, 30);  // joins 50..55 and reaches the end: everything from 50 is free
  EXPECT_EQ(l.nextFree(), 50u);
  EXPECT_TRUE(l.runs().empty());
}

TEST(FreeListTest, NeighboursMergeAndListStaysSortedBySize) {
  FreeList l(100, 10);
  l.release(10, 2);
  l.release(20, 5);
  l.release(30, 1);
  EXPECT_EQ(l.runs(), (Runs{{30, 1}, {10, 2}, {20, 5}}));
  l.release(12, 8);  // touches 10..12 and 20..25
  EXPECT_EQ(l.runs(), (Runs{{30, 1}, {10, 15}}));
}

TEST(FreeListTest, FullListReplacesOnlyASmallerEntry) {
  FreeList l(100, 2);
  l.release(10, 3);
  l.release(20, 4);
  l.release(30, 2);  // smaller than the smallest: stays unreferenced
  EXPECT_EQ(l.runs(), (Runs{{10, 3}, {20, 4}}));
  l.release(40, 6);  // replaces {10, 3}
  EXPECT_EQ(l.runs(), (Runs{{20, 4}, {40, 6}}));
}

TEST(FreeListTest, AllocationTakesTheSmallestRunThatFits) {
  FreeList l(100, 10);
  l.release(10, 3);
  l.release(20, 6);
  EXPECT_EQ(l.allocate(4), 20u);
  EXPECT_EQ(l.runs(), (Runs{{24, 2}, {10, 3}}));
  EXPECT_EQ(l.allocate(3), 10u);
  EXPECT_EQ(l.allocate(7), 100u);
  EXPECT_EQ(l.nextFree(), 107u);
}

TEST(FreeListTest, LoadSkipsRunsThatCannotBeTrusted) {
  FreeList l(100, 10);
  l.load({2, 3}, 8);     // inside the header
  l.load({95, 10}, 8);   // past the end
  l.load({20, 5}, 8);
  l.load({22, 5}, 8);    // overlaps
  l.load({40, 0}, 8);    // empty
  EXPECT_EQ(l.runs(), (Runs{{20, 5}}));
}

// Random allocations and releases never hand out a block twice and never lose one (with room
// in the list).
TEST(FreeListTest, RandomRunAgainstAModel) {
  std::mt19937 rng(7);
  FreeList l(16, 1000);
  std::map<uint32_t, uint32_t> live;  // block -> count
  for (int step = 0; step < 5000; ++step) {
    if (live.empty() || rng() % 3) {
      uint32_t count = 1 + rng() % 5;
      uint32_t block = l.allocate(count);
      for (auto& [b, c] : live) ASSERT_TRUE(block + count <= b || b + c <= block) << step;
      live[block] = count;
    } else {
      auto it = std::next(live.begin(), long(rng() % live.size()));
      l.release(it->first, it->second);
      live.erase(it);
    }
    uint64_t free_blocks = 0, used = 0;
    for (const FreeRun& r : l.runs()) free_blocks += r.count;
    for (auto& [b, c] : live) used += c;
    ASSERT_EQ(free_blocks + used, l.nextFree() - 16u) << step;
  }
}

}  // namespace
}  // namespace pv::memo

// Recycled: a deleted object's block serves the next object of its class; blocks of another
// size (a larger derived class) go to the global allocator.
#include <gtest/gtest.h>

#include <vector>

#include "automation/recycled.h"

namespace {

struct Cellish : sheet::Recycled<Cellish> {
  virtual ~Cellish() = default;
  int value[6] = {};
};

struct Larger final : Cellish {
  double more[8] = {};
};

TEST(Recycled, ADeletedBlockServesTheNextObject) {
  auto* first = new Cellish;
  void* block = first;
  delete first;
  auto* second = new Cellish;
  EXPECT_EQ(static_cast<void*>(second), block);
  EXPECT_EQ(second->value[5], 0);  // constructed afresh
  delete second;
}

TEST(Recycled, ObjectsOfAnotherSizeAndManyAtOnceStayApart) {
  std::vector<Cellish*> live;
  for (int i = 0; i < 10000; ++i) {
    Cellish* c = i % 3 ? new Cellish : new Larger;
    c->value[0] = i;
    live.push_back(c);
  }
  for (int i = 0; i < 10000; ++i) EXPECT_EQ(live[i]->value[0], i);
  for (Cellish* c : live) delete c;
}

}  // namespace

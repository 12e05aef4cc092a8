// The collector: reference counts, cycles, locked blocks and grips.
#include <gtest/gtest.h>

#include "array.h"
#include "gc.h"
#include "hash.h"
#include "item.h"

namespace {

TEST(Collector, CyclesAreFreed) {
  size_t before = pv_gcBlockCount();
  {
    PvItem a = {PV_IT_NIL, {}}, b = {PV_IT_NIL, {}};
    pv_arrayNew(&a, 1);
    pv_arrayNew(&b, 1);
    pv_arraySet(&a, 1, &b);  // a -> b -> a
    pv_arraySet(&b, 1, &a);
    pv_arrayNew(pv_arrayGetItemPtr(&a, 1), 0);  // replaced, then restored
    pv_arraySet(&a, 1, &b);
    PvItem self = {PV_IT_NIL, {}};
    pv_arrayNew(&self, 1);
    pv_arraySet(&self, 1, &self);  // an array holding itself
    PvItem h = {PV_IT_NIL, {}}, key = {PV_IT_NIL, {}};
    pv_hashNew(&h);
    pv_itemPutC(&key, "me");
    pv_hashAdd(&h, &key, &h);
    pv_itemClear(&a);
    pv_itemClear(&b);
    pv_itemClear(&self);
    pv_itemClear(&h);
    pv_itemClear(&key);
  }
  EXPECT_GT(pv_gcBlockCount(), before);
  pv_gcCollectAll(true);
  EXPECT_EQ(pv_gcBlockCount(), before);
}

TEST(Collector, ReachableFromGripsSurvive) {
  PV_ITEM grip = pv_itemNew(nullptr);
  pv_arrayNew(grip, 1);
  PvItem inner = {PV_IT_NIL, {}};
  pv_arrayNew(&inner, 1);
  pv_arraySet(&inner, 1, grip);  // cycle through a grip: kept
  pv_arraySet(grip, 1, &inner);
  pv_itemClear(&inner);
  pv_gcCollectAll(true);
  ASSERT_TRUE(PV_IS_ARRAY(pv_arrayGetItemPtr(grip, 1)));
  EXPECT_EQ(pv_arrayLen(pv_arrayGetItemPtr(grip, 1)), 1);
  size_t before = pv_gcBlockCount();
  pv_itemRelease(grip);  // now only the cycle holds them
  pv_gcCollectAll(true);
  EXPECT_EQ(pv_gcBlockCount(), before - 3);  // grip, outer, inner
}

TEST(Collector, NonForcedCollectionWaitsForNewBlocks) {
  PvItem a = {PV_IT_NIL, {}};
  pv_gcCollectAll(true);
  pv_arrayNew(&a, 1);
  pv_arraySet(&a, 1, &a);
  pv_itemClear(&a);
  size_t count = pv_gcBlockCount();
  pv_gcCollect();  // fewer than 64 new blocks: nothing happens
  EXPECT_EQ(pv_gcBlockCount(), count);
  pv_gcCollectAll(true);
  EXPECT_EQ(pv_gcBlockCount(), count - 1);
}

TEST(Collector, CloneKeepsSharedSubArraysShared) {
  PvItem a = {PV_IT_NIL, {}}, sub = {PV_IT_NIL, {}};
  pv_arrayNew(&a, 2);
  pv_arrayNew(&sub, 0);
  pv_arraySet(&a, 1, &sub);
  pv_arraySet(&a, 2, &sub);
  PV_ITEM c = pv_arrayClone(&a);
  EXPECT_NE(pv_arrayGetItemPtr(c, 1)->item.asArray.value, sub.item.asArray.value);
  EXPECT_EQ(pv_arrayGetItemPtr(c, 1)->item.asArray.value, pv_arrayGetItemPtr(c, 2)->item.asArray.value);
  pv_itemRelease(c);
  pv_itemClear(&a);
  pv_itemClear(&sub);
}

}  // namespace

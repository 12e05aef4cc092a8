// Strings, arrays and hashes: ownership, sharing, buffer reuse, element access, sorting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "array.h"
#include "compare.h"
#include "hash.h"
#include "item.h"
#include "set.h"

namespace {

struct Items {  // plain items cleared at the end of a test
  PvItem a = {PV_IT_NIL, {}}, b = {PV_IT_NIL, {}}, c = {PV_IT_NIL, {}};
  ~Items() {
    pv_itemClear(&a);
    pv_itemClear(&b);
    pv_itemClear(&c);
  }
};

TEST(Strings, ShortStringsAreStaticAndLongOnesShared) {
  Items t;
  pv_itemPutCL(&t.a, "x", 1);
  EXPECT_EQ(t.a.item.asString.allocated, 0u);
  pv_itemPutC(&t.a, "");
  EXPECT_EQ(t.a.item.asString.allocated, 0u);
  pv_itemPutC(&t.a, "hello world");
  pv_itemCopy(&t.b, &t.a);
  EXPECT_EQ(t.a.item.asString.value, t.b.item.asString.value);
  EXPECT_EQ(*t.a.item.asString.holders, 2u);
  pv_itemUnShareString(&t.b);
  EXPECT_NE(t.a.item.asString.value, t.b.item.asString.value);
  EXPECT_EQ(*t.a.item.asString.holders, 1u);
}

TEST(Strings, PutCLReusesASingleHolderBuffer) {
  Items t;
  pv_itemPutC(&t.a, "abcdefgh");
  char* buffer = t.a.item.asString.value;
  pv_itemPutCL(&t.a, "xyz", 3);  // fits: same buffer
  EXPECT_EQ(t.a.item.asString.value, buffer);
  EXPECT_STREQ(pv_itemGetCPtr(&t.a), "xyz");
  pv_itemPutCL(&t.a, t.a.item.asString.value, 2);  // the buffer itself: only cut
  EXPECT_STREQ(pv_itemGetCPtr(&t.a), "xy");
  pv_itemPutC(&t.a, "abcdefgh");
  pv_itemPutCL(&t.a, t.a.item.asString.value + 2, 4);  // inside the buffer: copied first
  EXPECT_STREQ(pv_itemGetCPtr(&t.a), "cdef");
  pv_itemPutCL(&t.a, "0123456789abcdefghij", 20);  // does not fit: grows
  EXPECT_GE(t.a.item.asString.allocated, 21u);
  EXPECT_EQ(pv_itemGetCLen(&t.a), 20);
}

TEST(Strings, NulBytesAndMemoFlag) {
  Items t;
  pv_itemPutCL(&t.a, "a\0b", 3);
  EXPECT_EQ(pv_itemGetCLen(&t.a), 3);
  EXPECT_EQ(pv_itemGetCPtr(&t.a)[3], 0);
  pv_itemSetCMemo(&t.a);
  EXPECT_STREQ(pv_itemTypeStr(&t.a), "M");
  pv_arrayNew(&t.b, 1);
  pv_arraySet(&t.b, 1, &t.a);
  EXPECT_STREQ(pv_itemTypeStr(pv_arrayGetItemPtr(&t.b, 1)), "C");
}

TEST(Compare, ExactOnAndOff) {
  Items t;
  auto cmp = [&](const char* x, const char* y, bool force) {
    pv_itemPutC(&t.a, x);
    pv_itemPutC(&t.b, y);
    return pv_itemStrCmp(&t.a, &t.b, force);
  };
  EXPECT_EQ(cmp("ABC", "AB", false), 0);
  EXPECT_EQ(cmp("AB", "ABC", false), -1);
  EXPECT_EQ(cmp("ABC", "", false), 0);
  EXPECT_EQ(cmp("ABC", "AB", true), 1);
  PvItem on = {PV_IT_NIL, {}}, old = {PV_IT_NIL, {}};
  pv_itemPutL(&on, true);
  pv_setGetSet(PV_SET_EXACT, &on, nullptr, &old);
  EXPECT_EQ(cmp("ABC", "AB", false), 1);
  EXPECT_EQ(cmp("AB", "ABC", false), -1);
  EXPECT_EQ(cmp("AB ", "AB", false), 0);
  EXPECT_EQ(cmp("AB ", "AB", true), 1);
  pv_setGetSet(PV_SET_EXACT, &old, nullptr, &on);
}

TEST(Compare, RelationalRules) {
  Items t;
  int r;
  pv_itemPutNI(&t.a, 3);
  pv_itemPutND(&t.b, 3.5);
  ASSERT_TRUE(pv_itemRelCompare(&t.a, &t.b, false, &r));
  EXPECT_EQ(r, -1);
  pv_itemPutC(&t.a, "A");  // one-byte string compares as its code
  pv_itemPutNI(&t.b, 65);
  ASSERT_TRUE(pv_itemRelCompare(&t.a, &t.b, false, &r));
  EXPECT_EQ(r, 0);
  pv_itemPutL(&t.a, false);
  pv_itemPutL(&t.b, true);
  ASSERT_TRUE(pv_itemRelCompare(&t.a, &t.b, false, &r));
  EXPECT_EQ(r, -1);
  pv_arrayNew(&t.a, 0);
  EXPECT_FALSE(pv_itemRelCompare(&t.a, &t.b, false, &r));
}

TEST(Arrays, AccessOutsideTheRange) {
  Items t;
  pv_arrayNew(&t.a, 3);
  pv_itemPutNI(&t.b, 7);
  EXPECT_FALSE(pv_arraySet(&t.a, 0, &t.b));
  EXPECT_FALSE(pv_arraySet(&t.a, 4, &t.b));
  EXPECT_TRUE(pv_arraySet(&t.a, 3, &t.b));
  pv_itemPutC(&t.c, "x");
  EXPECT_FALSE(pv_arrayGet(&t.a, 4, &t.c));
  EXPECT_TRUE(PV_IS_NIL(&t.c));
  EXPECT_EQ(pv_arrayGetNI(&t.a, 3), 7);
}

TEST(Arrays, StepAllocationAndShrink) {
  Items t;
  pv_arrayNew(&t.a, 0);
  for (int i = 1; i <= 1000; ++i) {
    pv_itemPutNI(&t.b, i);
    pv_arrayAdd(&t.a, &t.b);
  }
  PvBaseArray* base = t.a.item.asArray.value;
  EXPECT_EQ(base->len, 1000);
  EXPECT_GE(base->allocated, 1000);
  pv_arraySize(&t.a, 999);  // small shrink keeps the allocation
  EXPECT_EQ(base->allocated - base->len < 2 * base->step || base->allocated >= 1000, true);
  pv_arraySize(&t.a, 0);
  EXPECT_EQ(base->allocated, 0);
}

TEST(Arrays, KnownLengthsAllocateExactlyAndGrowingAddsTheStep) {
  Items t;
  pv_arrayNew(&t.a, 2);
  PvBaseArray* base = t.a.item.asArray.value;
  EXPECT_EQ(base->allocated, 2);
  pv_arraySetNI(&t.a, 1, 5);
  PV_ITEM clone = pv_arrayClone(&t.a);
  EXPECT_EQ(clone->item.asArray.value->allocated, 2);
  EXPECT_EQ(pv_arrayGetNI(clone, 1), 5);
  pv_itemRelease(clone);
  pv_arrayAdd(&t.a, &t.b);  // growing past the allocation reserves the step
  EXPECT_EQ(base->len, 3);
  EXPECT_EQ(base->allocated, 3 + base->step);
  for (int i = 0; i < 40; ++i) pv_arrayAdd(&t.a, &t.b);
  EXPECT_EQ(base->len, 43);
  EXPECT_GE(base->allocated, 43);
}

TEST(Arrays, InsertDeleteScan) {
  Items t;
  pv_arrayNew(&t.a, 3);
  for (int i = 1; i <= 3; ++i) pv_arraySetNI(&t.a, i, i * 10);
  pv_arrayIns(&t.a, 2);
  EXPECT_TRUE(PV_IS_NIL(pv_arrayGetItemPtr(&t.a, 2)));
  EXPECT_EQ(pv_arrayGetNI(&t.a, 3), 20);
  pv_arrayDel(&t.a, 1);
  EXPECT_EQ(pv_arrayGetNI(&t.a, 2), 20);
  EXPECT_TRUE(PV_IS_NIL(pv_arrayGetItemPtr(&t.a, 3)));
  pv_itemPutNI(&t.b, 20);
  EXPECT_EQ(pv_arrayScan(&t.a, &t.b, 1, -1, false), 2);
}

TEST(Arrays, SortOrderAcrossTypes) {
  Items t;
  pv_arrayNew(&t.a, 6);
  pv_itemPutNI(pv_arrayGetItemPtr(&t.a, 1), 5);
  pv_itemPutC(pv_arrayGetItemPtr(&t.a, 2), "bb");
  pv_itemPutL(pv_arrayGetItemPtr(&t.a, 3), true);
  pv_itemPutND(pv_arrayGetItemPtr(&t.a, 4), 1.5);
  pv_arrayNew(pv_arrayGetItemPtr(&t.a, 5), 0);
  pv_itemPutC(pv_arrayGetItemPtr(&t.a, 6), "aa");
  pv_arraySort(&t.a, 1, -1, nullptr);
  // arrays, strings, logicals, numbers (one-byte strings would compare as their codes)
  EXPECT_TRUE(PV_IS_ARRAY(pv_arrayGetItemPtr(&t.a, 1)));
  EXPECT_STREQ(pv_arrayGetCPtr(&t.a, 2), "aa");
  EXPECT_STREQ(pv_arrayGetCPtr(&t.a, 3), "bb");
  EXPECT_TRUE(PV_IS_LOGICAL(pv_arrayGetItemPtr(&t.a, 4)));
  EXPECT_DOUBLE_EQ(pv_arrayGetND(&t.a, 5), 1.5);
  EXPECT_EQ(pv_arrayGetNI(&t.a, 6), 5);
}

TEST(Arrays, SortManyNumbers) {
  Items t;
  pv_arrayNew(&t.a, 10000);
  unsigned x = 12345;
  for (int i = 1; i <= 10000; ++i) {
    x = x * 1103515245u + 12345u;
    pv_itemPutNI(pv_arrayGetItemPtr(&t.a, i), static_cast<int>(x % 1000));
  }
  pv_arraySort(&t.a, 1, -1, nullptr);
  for (int i = 2; i <= 10000; ++i) ASSERT_LE(pv_arrayGetNI(&t.a, i - 1), pv_arrayGetNI(&t.a, i));
}

TEST(Hashes, SortedKeysCaseMatchAndOrder) {
  Items t;
  pv_hashNew(&t.a);
  const char* keys[] = {"pear", "Apple", "fig"};
  for (int i = 0; i < 3; ++i) {
    pv_itemPutC(&t.b, keys[i]);
    pv_itemPutNI(&t.c, i);
    pv_hashAdd(&t.a, &t.b, &t.c);
  }
  EXPECT_EQ(pv_hashLen(&t.a), 3);
  EXPECT_STREQ(pv_itemGetCPtr(pv_hashGetKeyAt(&t.a, 1)), "Apple");
  pv_itemPutC(&t.b, "APPLE");
  EXPECT_EQ(pv_hashGetItemPtr(&t.a, &t.b, false), nullptr);
  pv_hashSetFlags(&t.a, PV_HASH_KEEPORDER);
  EXPECT_STREQ(pv_itemGetCPtr(pv_hashGetKeyAt(&t.a, 1)), "Apple");
  pv_itemPutC(&t.b, "kiwi");
  pv_hashAdd(&t.a, &t.b, &t.c);
  EXPECT_STREQ(pv_itemGetCPtr(pv_hashGetKeyAt(&t.a, 4)), "kiwi");
  pv_itemPutC(&t.b, "fig");
  EXPECT_TRUE(pv_hashRemove(&t.a, &t.b));
  EXPECT_EQ(pv_hashLen(&t.a), 3);
  EXPECT_STREQ(pv_itemGetCPtr(pv_hashGetKeyAt(&t.a, 3)), "kiwi");
}

// Numbers of every kind are one key when their values are equal, with the index in use (more
// than a few keys, not 1..n in order); a NaN key sorts after the other numbers.
TEST(Hashes, NumberKeysOfEveryKind) {
  Items t;
  pv_hashNew(&t.a);
  for (int i = 40; i > 0; --i) {
    pv_itemPutNI(&t.b, i * 3);
    pv_itemPutNI(&t.c, i);
    pv_hashAdd(&t.a, &t.b, &t.c);
  }
  pv_itemPutND(&t.b, 30.0);
  ASSERT_NE(pv_hashGetItemPtr(&t.a, &t.b, false), nullptr);
  EXPECT_EQ(pv_itemGetNI(pv_hashGetItemPtr(&t.a, &t.b, false)), 10);
  pv_itemPutNLL(&t.b, 1LL << 40);
  pv_hashAdd(&t.a, &t.b, &t.c);
  pv_itemPutND(&t.b, static_cast<double>(1LL << 40));
  EXPECT_NE(pv_hashGetItemPtr(&t.a, &t.b, false), nullptr);
  pv_itemPutNLL(&t.b, (1LL << 60) + 1);
  pv_hashAdd(&t.a, &t.b, &t.c);
  pv_itemPutND(&t.b, static_cast<double>(1LL << 60));
  EXPECT_NE(pv_hashGetItemPtr(&t.a, &t.b, false), nullptr);
  pv_itemPutND(&t.b, 30.5);
  EXPECT_EQ(pv_hashGetItemPtr(&t.a, &t.b, false), nullptr);
  pv_itemPutND(&t.b, std::nan(""));
  pv_hashAdd(&t.a, &t.b, &t.c);
  EXPECT_EQ(pv_hashLen(&t.a), 43);
  PV_SIZE position = 0;
  pv_itemPutNI(&t.b, 3);
  EXPECT_TRUE(pv_hashScan(&t.a, &t.b, &position));
  EXPECT_EQ(position, 1);
  pv_itemPutND(&t.b, std::nan(""));
  EXPECT_TRUE(pv_hashScan(&t.a, &t.b, &position));
  EXPECT_EQ(position, 43);
  EXPECT_TRUE(std::isnan(pv_itemGetND(pv_hashGetKeyAt(&t.a, 43))));
}

// A hash used like an array (keys 1..n in order) keeps its values in place when it is asked for
// its keys or gets another key, so an element found before stays valid.
TEST(Hashes, ArrayLikeHashKeepsItsValuesInPlace) {
  Items t;
  pv_hashNew(&t.a);
  for (int i = 1; i <= 20; ++i) {
    pv_itemPutNI(&t.b, i);
    pv_itemPutNI(&t.c, i * 10);
    pv_hashAdd(&t.a, &t.b, &t.c);
  }
  pv_itemPutNI(&t.b, 7);
  PV_ITEM seven = pv_hashGetItemPtr(&t.a, &t.b, false);
  ASSERT_NE(seven, nullptr);
  EXPECT_EQ(pv_itemGetNI(pv_hashGetKeyAt(&t.a, 20)), 20);
  EXPECT_EQ(pv_hashGetItemPtr(&t.a, &t.b, false), seven);
  EXPECT_EQ(pv_itemGetNI(seven), 70);
  pv_itemPutC(&t.b, "seven");
  pv_hashAdd(&t.a, &t.b, &t.c);
  EXPECT_EQ(pv_hashLen(&t.a), 21);
  EXPECT_STREQ(pv_itemGetCPtr(pv_hashGetKeyAt(&t.a, 21)), "seven");
  pv_itemPutND(&t.b, 7.0);
  EXPECT_EQ(pv_itemGetNI(pv_hashGetItemPtr(&t.a, &t.b, false)), 70);
}

}  // namespace

// Array and hash functions. (Code-block arguments need the bytecode machine: ASCAN, ASORT and
// AEVAL with blocks are checked by the script tests.)
#include "array.h"
#include "hash.h"
#include "rtl_call.h"
#include "set.h"

namespace {

class ArrayTest : public RtlTest {
 protected:
  void TearDown() override {
    pv_itemClear(&a_);
    RtlTest::TearDown();
  }
  // a_ := { values... } of integers.
  PV_ITEM ints(std::initializer_list<int> values) {
    pv_arrayNew(&a_, 0);
    for (int v : values) {
      PvItem it = {PV_IT_NIL, {}};
      pv_itemPutNI(&it, v);
      pv_arrayAdd(&a_, &it);
    }
    return &a_;
  }
  std::string show(PV_ITEM a) {
    std::string s;
    for (PV_SIZE i = 1; i <= pv_arrayLen(a); ++i) {
      PV_ITEM e = pv_arrayGetItemPtr(a, i);
      s += PV_IS_NIL(e) ? "U" : PV_IS_STRING(e) ? std::string(pv_itemGetCPtr(e)) : std::to_string(pv_itemGetNI(e));
      if (i < pv_arrayLen(a)) s += ",";
    }
    return s;
  }
  PvItem a_ = {PV_IT_NIL, {}};
};

TEST_F(ArrayTest, AddSizeAndTail) {
  ints({1, 2});
  EXPECT_EQ(num("AADD", {&a_, 3}), 3);
  EXPECT_EQ(show(&a_), "1,2,3");
  EXPECT_EQ(num("ATAIL", {&a_}), 3);
  call("ASIZE", {&a_, 5});
  EXPECT_EQ(show(&a_), "1,2,3,U,U");
  call("ASIZE", {&a_, -1});
  EXPECT_EQ(pv_arrayLen(&a_), 0);
  EXPECT_TRUE(PV_IS_NIL(call("ATAIL", {&a_})));
  expectArgError("AADD", 1123, {5, 1});
  expectArgError("ASIZE", 2023, {&a_});
  expectArgError("ATAIL", 2027, {"x"});
}

TEST_F(ArrayTest, DelAndInsKeepTheLength) {
  ints({1, 2, 3, 4});
  call("ADEL", {&a_, 2});
  EXPECT_EQ(show(&a_), "1,3,4,U");
  call("AINS", {&a_, 1});
  EXPECT_EQ(show(&a_), "U,1,3,4");
  call("AINS", {&a_, 4});
  EXPECT_EQ(show(&a_), "U,1,3,U");
  call("ADEL", {&a_, 9});
  EXPECT_EQ(show(&a_), "U,1,3,U");
  expectArgError("ADEL", 2024, {nullptr, 1});
  expectArgError("AINS", 2025, {&a_, "1"});
}

TEST_F(ArrayTest, ScanHonoursExactAndRange) {
  pv_arrayNew(&a_, 0);
  for (const char* s : {"ABC", "AB", "X"}) {
    PvItem it = {PV_IT_NIL, {}};
    pv_itemPutC(&it, s);
    pv_arrayAdd(&a_, &it);
    pv_itemClear(&it);
  }
  EXPECT_EQ(num("ASCAN", {&a_, "AB"}), 1);  // "ABC" = "AB" with EXACT off
  PvItem on = {PV_IT_NIL, {}}, old = {PV_IT_NIL, {}};
  pv_itemPutL(&on, true);
  pv_setGetSet(PV_SET_EXACT, &on, nullptr, &old);
  EXPECT_EQ(num("ASCAN", {&a_, "AB"}), 2);
  EXPECT_EQ(num("ASCAN", {&a_, "AB "}), 2);
  pv_setGetSet(PV_SET_EXACT, &old, nullptr, &on);
  EXPECT_EQ(num("ASCAN", {&a_, "AB", 2}), 2);
  EXPECT_EQ(num("ASCAN", {&a_, "X", 1, 2}), 0);
  EXPECT_EQ(num("ASCAN", {&a_, 5}), 0);
  EXPECT_EQ(num("ASCAN", {&a_, "X", nullptr, nullptr}), 3);
  expectArgError("ASCAN", 2018, {"x", "x"});
}

TEST_F(ArrayTest, SortOrdersAndRanges) {
  ints({5, 3, 9, 1, 7});
  call("ASORT", {&a_, nullptr, nullptr, nullptr});
  EXPECT_EQ(show(&a_), "1,3,5,7,9");
  ints({5, 3, 9, 1, 7});
  call("ASORT", {&a_, 2, 3});
  EXPECT_EQ(show(&a_), "5,1,3,9,7");
  pv_arrayNew(&a_, 0);
  for (const char* s : {"b", "B", "a", "ab"}) {
    PvItem it = {PV_IT_NIL, {}};
    pv_itemPutC(&it, s);
    pv_arrayAdd(&a_, &it);
    pv_itemClear(&it);
  }
  EXPECT_TRUE(PV_IS_ARRAY(call("ASORT", {&a_})));
  EXPECT_EQ(show(&a_), "B,a,ab,b");
  expectArgError("ASORT", 2019, {&a_, 1, 2, 3});
}

TEST_F(ArrayTest, CopyCloneAndArray) {
  ints({1, 2, 3, 4});
  PvItem target = {PV_IT_NIL, {}};
  pv_arrayNew(&target, 3);
  call("ACOPY", {&a_, &target, 2});
  EXPECT_EQ(show(&target), "2,3,4");
  pv_arrayNew(&target, 3);
  call("ACOPY", {&a_, &target, 1, 2, 2});
  EXPECT_EQ(show(&target), "U,1,2");
  PV_ITEM nested = call("ARRAY", {2, 3});
  ASSERT_EQ(pv_arrayLen(nested), 2);
  EXPECT_EQ(pv_arrayLen(pv_arrayGetItemPtr(nested, 2)), 3);
  pv_itemCopy(&target, nested);
  PV_ITEM clone = call("ACLONE", {&target});
  EXPECT_NE(pv_arrayGetItemPtr(clone, 1)->item.asArray.value,
            pv_arrayGetItemPtr(&target, 1)->item.asArray.value);
  EXPECT_EQ(pv_arrayLen(pv_arrayGetItemPtr(clone, 1)), 3);
  pv_itemClear(&target);
  expectArgError("ARRAY", 1131, {-1});
  expectArgError("ARRAY", 1131, {});
  expectArgError("ARRAY", 1131, {100000, 100000});
  expectArgError("ASIZE", 2023, {&a_, 1e12});
  EXPECT_EQ(pv_arrayLen(&a_), 4);
  expectArgError("ACOPY", 2020, {&a_, 5});
  expectArgError("ACLONE", 2026, {5});
  expectArgError("AEVAL", 2017, {&a_, 5});
}

TEST_F(ArrayTest, HashFunctions) {
  PvItem h = {PV_IT_NIL, {}};
  pv_itemCopy(&h, call("PV_HASH", {"b", 2, "a", 1}));
  EXPECT_EQ(num("LEN", {&h}), 2);
  EXPECT_EQ(num("PV_HGET", {&h, "a"}), 1);
  EXPECT_TRUE(logical("PV_HHASKEY", {&h, "b"}));
  EXPECT_FALSE(logical("PV_HHASKEY", {&h, "c"}));
  EXPECT_EQ(num("PV_HGETDEF", {&h, "c", 9}), 9);
  call("PV_HSET", {&h, "c", 3});
  EXPECT_EQ(show(call("PV_HKEYS", {&h})), "a,b,c");
  EXPECT_EQ(show(call("PV_HVALUES", {&h})), "1,2,3");
  EXPECT_EQ(num("PV_HPOS", {&h, "b"}), 2);
  EXPECT_EQ(str("PV_HKEYAT", {&h, 3}), "c");
  EXPECT_EQ(num("PV_HVALUEAT", {&h, 1}), 1);
  call("PV_HDEL", {&h, "a"});
  EXPECT_EQ(show(call("PV_HKEYS", {&h})), "b,c");
  PvItem other = {PV_IT_NIL, {}};
  pv_itemCopy(&other, call("PV_HCLONE", {&h}));
  call("PV_HSET", {&other, "z", 26});
  EXPECT_EQ(num("LEN", {&h}), 2);
  call("PV_HMERGE", {&h, &other});
  EXPECT_EQ(show(call("PV_HKEYS", {&h})), "b,c,z");
  EXPECT_TRUE(logical("PV_HCASEMATCH", {&h, false}));
  EXPECT_EQ(num("PV_HGET", {&h, "Z"}), 26);
  EXPECT_FALSE(logical("PV_HCASEMATCH", {&h}));
  call("PV_HCLEAR", {&h});
  EXPECT_EQ(num("LEN", {&h}), 0);
  expectArgError("PV_HGET", 1139, {&h, "missing"}, PV_EG_BOUND);
  expectArgError("PV_HGET", 1138, {5, "a"});
  expectArgError("PV_HSET", 1139, {&h, nullptr, 1});
  expectArgError("PV_HASH", 1138, {"a"});
  expectArgError("PV_HKEYAT", 1139, {&h, 1}, PV_EG_BOUND);
  pv_itemClear(&h);
  pv_itemClear(&other);
}

}  // namespace

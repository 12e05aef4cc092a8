// Number and conversion functions: INT, ROUND, ABS, MAX, MIN, MOD, STR, VAL, VALTYPE, EMPTY.
#include <cmath>

#include "array.h"
#include "rtl_call.h"
#include "set.h"

namespace {

class NumberTest : public RtlTest {};

TEST_F(NumberTest, IntTruncatesTowardZero) {
  EXPECT_EQ(num("INT", {3.7}), 3);
  EXPECT_EQ(num("INT", {-3.7}), -3);
  EXPECT_EQ(num("INT", {12}), 12);
  EXPECT_EQ(str("STR", {call("INT", {-3.7})}), "        -3");
  expectArgError("INT", 1090, {"3"});
}

TEST_F(NumberTest, RoundGoesHalfAwayFromZero) {
  EXPECT_EQ(num("ROUND", {2.5, 0}), 3);
  EXPECT_EQ(num("ROUND", {-2.5, 0}), -3);
  EXPECT_EQ(num("ROUND", {2.675, 2}), 2.68);
  EXPECT_EQ(num("ROUND", {1.005, 2}), 1.01);
  EXPECT_EQ(num("ROUND", {-0.125, 2}), -0.13);
  EXPECT_EQ(num("ROUND", {1234.5, -2}), 1200);
  EXPECT_EQ(num("ROUND", {1250, -2}), 1300);
  EXPECT_EQ(num("ROUND", {7, 2}), 7);
  EXPECT_EQ(num("ROUND", {1.5, 400}), 1.5);
  EXPECT_EQ(num("ROUND", {1e300, 2}), 1e300);
  EXPECT_EQ(num("ROUND", {1e300, -2}), 1e300);
  EXPECT_EQ(num("ROUND", {123.0, -400}), 0);
  EXPECT_EQ(num("ROUND", {123.0, 1e12}), 123);
  EXPECT_EQ(str("STR", {call("ROUND", {2.675, 2})}), "         2.68");
  expectArgError("ROUND", 1094, {2.5});
}

TEST_F(NumberTest, AbsKeepsTheRepresentation) {
  EXPECT_EQ(num("ABS", {-5}), 5);
  EXPECT_TRUE(PV_IS_INTEGER(call("ABS", {-5})));
  EXPECT_EQ(num("ABS", {-2.25}), 2.25);
  EXPECT_EQ(num("ABS", {static_cast<long long>(-2147483648LL)}), 2147483648.0);
  expectArgError("ABS", 1089, {"x"});
}

TEST_F(NumberTest, MaxAndMinCompareNumbersDatesAndLogicals) {
  EXPECT_EQ(num("MAX", {3, 4.5}), 4.5);
  EXPECT_EQ(num("MIN", {3, 4.5}), 3);
  PvItem d1 = {PV_IT_NIL, {}}, d2 = {PV_IT_NIL, {}};
  pv_itemPutD(&d1, 2024, 1, 1);
  pv_itemPutD(&d2, 2023, 12, 31);
  EXPECT_EQ(pv_itemGetDL(call("MAX", {&d1, &d2})), pv_itemGetDL(&d1));
  EXPECT_EQ(pv_itemGetDL(call("MIN", {&d1, &d2})), pv_itemGetDL(&d2));
  EXPECT_TRUE(logical("MAX", {false, true}));
  expectArgError("MAX", 1093, {1, "2"});
  expectArgError("MIN", 1092, {&d1, 5});
}

TEST_F(NumberTest, ModTakesTheSignOfTheDivisor) {
  EXPECT_EQ(num("MOD", {7, 3}), 1);
  EXPECT_EQ(num("MOD", {-7, 3}), 2);
  EXPECT_EQ(num("MOD", {7, -3}), -2);
  EXPECT_EQ(num("MOD", {-7, -3}), -1);
  EXPECT_EQ(num("MOD", {6, 3}), 0);
  EXPECT_DOUBLE_EQ(num("MOD", {7.5, 2}), 1.5);
  EXPECT_DOUBLE_EQ(num("MOD", {-7.5, 2}), 0.5);
  expectArgError("MOD", 1085, {7, "3"});
  expectArgError("MOD", 1341, {7, 0}, PV_EG_ZERODIV);
}

TEST_F(NumberTest, StrUsesWidthAndDecimals) {
  EXPECT_EQ(str("STR", {12}), "        12");
  EXPECT_EQ(str("STR", {1.5, 5, 0}), "    2");
  EXPECT_EQ(str("STR", {-0.5, 4, 1}), "-0.5");
  EXPECT_EQ(str("STR", {123456, 3}), "***");
  EXPECT_EQ(str("STR", {3.14159, 8, 3}), "   3.142");
  expectArgError("STR", 1099, {"12"});
  expectArgError("STR", 1099, {12, "5"});
}

TEST_F(NumberTest, ValReadsTheLeadingNumber) {
  EXPECT_EQ(num("VAL", {"123"}), 123);
  EXPECT_EQ(num("VAL", {"  -12.50xyz"}), -12.5);
  EXPECT_EQ(num("VAL", {"abc"}), 0);
  EXPECT_EQ(num("VAL", {"+7"}), 7);
  EXPECT_EQ(num("VAL", {"2.675"}), 2.675);
  EXPECT_EQ(str("STR", {call("VAL", {"12.50"})}), "        12.50");
  expectArgError("VAL", 1098, {12});
}

TEST_F(NumberTest, ValTypeNamesEveryType) {
  EXPECT_EQ(str("VALTYPE", {"x"}), "C");
  EXPECT_EQ(str("VALTYPE", {1}), "N");
  EXPECT_EQ(str("VALTYPE", {true}), "L");
  EXPECT_EQ(str("VALTYPE", {nullptr}), "U");
  EXPECT_EQ(str("VALTYPE", {}), "U");
  PvItem a = {PV_IT_NIL, {}};
  pv_arrayNew(&a, 2);
  EXPECT_EQ(str("VALTYPE", {&a}), "A");
  EXPECT_TRUE(logical("EMPTY", {&a}) == false);
  pv_arraySize(&a, 0);
  EXPECT_TRUE(logical("EMPTY", {&a}));
  pv_itemClear(&a);
}

TEST_F(NumberTest, EmptyKnowsEachTypesEmptyValue) {
  EXPECT_TRUE(logical("EMPTY", {nullptr}));
  EXPECT_TRUE(logical("EMPTY", {" \t\r\n"}));
  EXPECT_FALSE(logical("EMPTY", {"  x"}));
  EXPECT_TRUE(logical("EMPTY", {0}));
  EXPECT_TRUE(logical("EMPTY", {0.0}));
  EXPECT_FALSE(logical("EMPTY", {0.01}));
  EXPECT_TRUE(logical("EMPTY", {false}));
  EXPECT_FALSE(logical("EMPTY", {true}));
  PvItem d = {PV_IT_NIL, {}};
  pv_itemPutDL(&d, 0);
  EXPECT_TRUE(logical("EMPTY", {&d}));
  pv_itemPutD(&d, 2024, 2, 29);
  EXPECT_FALSE(logical("EMPTY", {&d}));
}

}  // namespace

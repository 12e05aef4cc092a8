// STR and its digit walk and rounding, the text of any value.
#include <gtest/gtest.h>

#include <string>

#include "item.h"
#include "set.h"

namespace {

std::string str(double value, int width, int decimals) {
  PvItem v = {PV_IT_NIL, {}}, w = {PV_IT_NIL, {}}, d = {PV_IT_NIL, {}};
  pv_itemPutND(&v, value);
  pv_itemPutNI(&w, width);
  pv_itemPutNI(&d, decimals);
  char* text = pv_itemStr(&v, width ? &w : nullptr, decimals >= 0 ? &d : nullptr);
  std::string out = text ? text : "";
  if (text) pv_xfree(text);
  return out;
}

std::string strInt(long long value, int width) {
  PvItem v = {PV_IT_NIL, {}}, w = {PV_IT_NIL, {}};
  pv_itemPutNInt(&v, value);
  pv_itemPutNI(&w, width);
  char* text = pv_itemStr(&v, &w, nullptr);
  std::string out = text ? text : "";
  if (text) pv_xfree(text);
  return out;
}

TEST(Str, ExamplesOfTheRoundingWalk) {
  EXPECT_EQ(str(1.5, 5, 0), "    2");
  EXPECT_EQ(str(-0.5, 4, 1), "-0.5");
  EXPECT_EQ(strInt(123456, 3), "***");
}

TEST(Str, HardValues) {
  EXPECT_EQ(str(0.5, 3, 0), "  1");
  EXPECT_EQ(str(2.675, 6, 2), "  2.68");   // binary value just below ...675
  EXPECT_EQ(str(1.005, 6, 2), "  1.01");
  EXPECT_EQ(str(-0.0001, 8, 4), " -0.0001");
  EXPECT_EQ(str(1e15, 20, 0), "    1000000000000000");
  EXPECT_EQ(str(123.456, 5, 1), "123.5");
  EXPECT_EQ(str(99.96, 5, 1), "100.0");
  EXPECT_EQ(str(999.96, 5, 1), "*****");   // the carry runs off the field
  EXPECT_EQ(str(-12.5, 3, 0), "-13");
  EXPECT_EQ(str(0.0, 4, 0), "   0");
}

TEST(Str, DefaultWidthsAndDecimals) {
  PvItem v = {PV_IT_NIL, {}};
  pv_itemPutNI(&v, 42);
  char* t = pv_itemStr(&v, nullptr, nullptr);
  EXPECT_STREQ(t, "        42");
  pv_xfree(t);
  pv_itemPutND(&v, 3.14159);  // SET DECIMALS 2
  t = pv_itemStr(&v, nullptr, nullptr);
  EXPECT_STREQ(t, "         3.14");
  pv_xfree(t);
  pv_itemPutNLen(&v, 1e10, 0, 0);
  EXPECT_EQ(v.type, PV_IT_LONG);
  int w, d;
  pv_itemGetNLen(&v, &w, &d);
  EXPECT_EQ(w, 20);
  pv_itemPutNLen(&v, 1.5, 0, 0);
  EXPECT_EQ(v.type, PV_IT_INTEGER);
  EXPECT_EQ(pv_itemGetNI(&v), 1);
}

TEST(Str, OverflowOfAnyOtherType) {
  PvItem v = {PV_IT_NIL, {}};
  char buffer[8];
  pv_itemPutL(&v, true);
  EXPECT_FALSE(pv_itemStrBuf(buffer, &v, 4, 0));
  EXPECT_STREQ(buffer, "****");
}

TEST(ItemString, TextOfEveryType) {
  PvItem v = {PV_IT_NIL, {}};
  PV_SIZE len;
  bool freeReq;
  EXPECT_STREQ(pv_itemString(&v, &len, &freeReq), "NIL");
  pv_itemPutL(&v, false);
  EXPECT_STREQ(pv_itemString(&v, &len, &freeReq), "F");
  EXPECT_EQ(len, 1);
  pv_itemPutD(&v, 2024, 3, 9);
  char* t = pv_itemString(&v, &len, &freeReq);
  EXPECT_STREQ(t, "03/09/24");
  EXPECT_TRUE(freeReq);
  pv_xfree(t);
}

}  // namespace

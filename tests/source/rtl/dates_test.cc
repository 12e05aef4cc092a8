// Date functions and TRANSFORM.
#include "dates.h"
#include "rtl_call.h"
#include "set.h"

namespace {

class DateTest : public RtlTest {
 protected:
  void SetUp() override {
    RtlTest::SetUp();
    setDateFormat("mm/dd/yy");
    setEpoch(1900);
  }
  void TearDown() override {
    setDateFormat("mm/dd/yy");
    setEpoch(1900);
    RtlTest::TearDown();
  }
  void setDateFormat(const char* f) { setting(PV_SET_DATEFORMAT, f); }
  void setEpoch(int e) { setting(PV_SET_EPOCH, e); }
  void setting(int n, Arg v) {
    PvItem old = {PV_IT_NIL, {}};
    pv_setGetSet(n, &v.item, nullptr, &old);
    pv_itemClear(&old);
  }
  PvItem date(int y, int m, int d) {
    PvItem it = {PV_IT_NIL, {}};
    pv_itemPutD(&it, y, m, d);
    return it;
  }
};

TEST_F(DateTest, DtocFollowsTheDateFormat) {
  PvItem d = date(2024, 3, 9);
  EXPECT_EQ(str("DTOC", {&d}), "03/09/24");
  setDateFormat("dd.mm.yyyy");
  EXPECT_EQ(str("DTOC", {&d}), "09.03.2024");
  PvItem empty = {PV_IT_NIL, {}};
  pv_itemPutDL(&empty, 0);
  EXPECT_EQ(str("DTOC", {&empty}), "  .  .    ");
  expectArgError("DTOC", 1118, {"20240309"});
}

TEST_F(DateTest, CtodUsesTheEpochForTwoDigitYears) {
  setDateFormat("dd.mm.yy");
  setEpoch(2000);
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"09.03.24"})), pv_dateEncode(2024, 3, 9));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"09.03.99"})), pv_dateEncode(2099, 3, 9));
  setEpoch(1950);
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"09.03.49"})), pv_dateEncode(2049, 3, 9));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"09.03.50"})), pv_dateEncode(1950, 3, 9));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"31.02.24"})), 0);
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"9.3.24"})), pv_dateEncode(2024, 3, 9));
  setDateFormat("dd.mm.yyyy");
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"1.2.2024"})), pv_dateEncode(2024, 2, 1));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"01.02.0024"})), pv_dateEncode(24, 2, 1));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"  .  .    "})), 0);
  setDateFormat("mm/dd/yyyy");
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"12/31/1999"})), pv_dateEncode(1999, 12, 31));
  setDateFormat("yyyy-mm-dd");
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {"2024-03-09"})), pv_dateEncode(2024, 3, 9));
  EXPECT_EQ(pv_itemGetDL(call("CTOD", {""})), 0);
  EXPECT_TRUE(PV_IS_DATE(call("CTOD", {""})));
  expectArgError("CTOD", 1119, {5});
}

TEST_F(DateTest, DtosAndStodRoundTrip) {
  PvItem d = date(1999, 12, 31);
  EXPECT_EQ(str("DTOS", {&d}), "19991231");
  EXPECT_EQ(pv_itemGetDL(call("STOD", {"19991231"})), pv_itemGetDL(&d));
  EXPECT_EQ(pv_itemGetDL(call("STOD", {"1999123"})), 0);
  EXPECT_EQ(pv_itemGetDL(call("STOD", {})), 0);
  PvItem empty = {PV_IT_NIL, {}};
  pv_itemPutDL(&empty, 0);
  EXPECT_EQ(str("DTOS", {&empty}), "        ");
  expectArgError("DTOS", 1120, {"x"});
  expectArgError("STOD", 1134, {19991231});
}

TEST_F(DateTest, PartsAndNames) {
  PvItem d = date(2024, 2, 29);  // a Thursday
  EXPECT_EQ(num("YEAR", {&d}), 2024);
  EXPECT_EQ(num("MONTH", {&d}), 2);
  EXPECT_EQ(num("DAY", {&d}), 29);
  EXPECT_EQ(num("DOW", {&d}), 5);
  EXPECT_EQ(str("CMONTH", {&d}), "February");
  EXPECT_EQ(str("CDOW", {&d}), "Thursday");
  PvItem empty = {PV_IT_NIL, {}};
  pv_itemPutDL(&empty, 0);
  EXPECT_EQ(num("YEAR", {&empty}), 0);
  EXPECT_EQ(num("DOW", {&empty}), 0);
  EXPECT_EQ(str("CMONTH", {&empty}), "");
  EXPECT_EQ(str("CDOW", {&empty}), "");
  expectArgError("YEAR", 1112, {2024});
  expectArgError("MONTH", 1113, {nullptr});
  expectArgError("DAY", 1114, {"x"});
  expectArgError("DOW", 1115, {1});
  expectArgError("CMONTH", 1116, {1});
  expectArgError("CDOW", 1117, {1});
}

TEST_F(DateTest, ClockFunctions) {
  EXPECT_EQ(pv_itemGetDL(call("DATE")), pv_dateToday());
  std::string t = str("TIME");
  ASSERT_EQ(t.size(), 8u);
  EXPECT_EQ(t[2], ':');
  EXPECT_EQ(t[5], ':');
  double s = num("SECONDS");
  EXPECT_GE(s, 0);
  EXPECT_LT(s, 86400);
}

TEST_F(DateTest, TransformNumbersWithTemplates) {
  EXPECT_EQ(str("TRANSFORM", {1234567, "9,999,999 bytes"}), "1,234,567 bytes");
  EXPECT_EQ(str("TRANSFORM", {12345, "9,999,999 bytes"}), "   12,345 bytes");
  EXPECT_EQ(str("TRANSFORM", {0, "9,999,999 bytes"}), "        0 bytes");
  EXPECT_EQ(str("TRANSFORM", {42, "9999999"}), "     42");
  EXPECT_EQ(str("TRANSFORM", {12345678, "9999999"}), "*******");
  EXPECT_EQ(str("TRANSFORM", {-42, "9999"}), " -42");
  EXPECT_EQ(str("TRANSFORM", {-4200, "9999"}), "****");
  EXPECT_EQ(str("TRANSFORM", {2.675, "999.99"}), "  2.68");
  EXPECT_EQ(str("TRANSFORM", {0.5, "9.99"}), "0.50");
  EXPECT_EQ(str("TRANSFORM", {1234.5, "@E 9,999.99"}), "1.234,50");
  EXPECT_EQ(str("TRANSFORM", {0, "@Z 9999"}), "    ");
  EXPECT_EQ(str("TRANSFORM", {-5, "@( 999"}), " (5)");
  EXPECT_EQ(str("TRANSFORM", {5, "@C 9"}), "5 CR");
  EXPECT_EQ(str("TRANSFORM", {-5, "@X 9"}), "5 DB");
  EXPECT_EQ(str("TRANSFORM", {42, "@B 9999"}), "42  ");
  EXPECT_EQ(str("TRANSFORM", {42, "**999"}), "***42");
  EXPECT_EQ(str("TRANSFORM", {42, ""}), "        42");
  EXPECT_EQ(str("TRANSFORM", {42, nullptr}), "        42");
}

TEST_F(DateTest, TransformTextDatesAndLogicals) {
  EXPECT_EQ(str("TRANSFORM", {"abc", "@!"}), "ABC");
  EXPECT_EQ(str("TRANSFORM", {"abcdef", "!!X"}), "ABc");
  EXPECT_EQ(str("TRANSFORM", {"1234567", "@R 999-9999"}), "123-4567");
  EXPECT_EQ(str("TRANSFORM", {"ab", "XXXX"}), "ab  ");
  PvItem d = date(2024, 3, 9);
  EXPECT_EQ(str("TRANSFORM", {&d, ""}), "03/09/24");
  EXPECT_EQ(str("TRANSFORM", {&d, "@E"}), "09/03/24");
  EXPECT_EQ(str("TRANSFORM", {true, ""}), "T");
  EXPECT_EQ(str("TRANSFORM", {false, "Y"}), "N");
  expectArgError("TRANSFORM", 1122, {nullptr, ""});
  expectArgError("TRANSFORM", 1122, {1, 5});
}

}  // namespace

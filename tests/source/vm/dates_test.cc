// Julian day encoding, date strings and time texts.
#include <gtest/gtest.h>

#include "dates.h"
#include "item.h"

namespace {

TEST(Dates, JulianRoundTripOverEveryDay) {
  long previous = 0;
  for (int y = 0; y <= 9999; ++y)
    for (int m = 1; m <= 12; ++m)
      for (int d = 1; d <= pv_dateDaysInMonth(y, m); ++d) {
        long j = pv_dateEncode(y, m, d);
        if (y > 0 || m > 1 || d > 1) {
          ASSERT_EQ(j, previous + 1) << y << "-" << m << "-" << d;
        }
        previous = j;
        if (j < PV_JULIAN_MIN) continue;
        int yy, mm, dd;
        pv_dateDecode(j, &yy, &mm, &dd);
        ASSERT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d);
      }
}

TEST(Dates, InvalidDaysAndSmallNumbers) {
  EXPECT_EQ(pv_dateEncode(1900, 2, 29), 0);
  EXPECT_NE(pv_dateEncode(2000, 2, 29), 0);
  EXPECT_EQ(pv_dateEncode(2023, 4, 31), 0);
  EXPECT_EQ(pv_dateEncode(2000, 1, 1), 2451545);
  int y, m, d;
  pv_dateDecode(1721059, &y, &m, &d);
  EXPECT_EQ(y + m + d, 0);
  EXPECT_NE(pv_dateEncode(0, 1, 1), 0);
}

TEST(Dates, DateStrings) {
  char buf[9];
  EXPECT_STREQ(pv_dateDecStr(buf, 0), "        ");
  EXPECT_STREQ(pv_dateDecStr(buf, pv_dateEncode(2024, 2, 29)), "20240229");
  EXPECT_STREQ(pv_dateDecStr(buf, 100), "00000000");
  EXPECT_EQ(pv_dateEncStr("2024022"), 0);
  EXPECT_EQ(pv_dateEncStr("20240229"), pv_dateEncode(2024, 2, 29));
  EXPECT_EQ(pv_dateDOW(2451545), 7);  // 2000-01-01 was a Saturday
}

TEST(Dates, TimesAndDateTimes) {
  EXPECT_EQ(pv_timeEncode(24, 0, 0), 0);
  EXPECT_EQ(pv_timeEncode(12, 30, 15.25), (12 * 3600 + 30 * 60 + 15) * 1000L + 250);
  char buf[20];
  EXPECT_STREQ(pv_datetimeDecStr(buf, pv_dateEncode(2024, 1, 2), pv_timeEncode(3, 4, 5.006)),
               "20240102030405.006");
  long j, ms;
  EXPECT_TRUE(pv_datetimeEncStr("20240102030405.006", &j, &ms));
  EXPECT_EQ(j, pv_dateEncode(2024, 1, 2));
  EXPECT_EQ(ms, pv_timeEncode(3, 4, 5.006));
  EXPECT_DOUBLE_EQ(pv_datetimePack(10, 43200000), 10.5);
}

TEST(Dates, Pictures) {
  char buf[16];
  long j = pv_dateEncode(2024, 3, 9);
  EXPECT_STREQ(pv_dateFormat(buf, j, "dd.mm.yyyy"), "09.03.2024");
  EXPECT_STREQ(pv_dateFormat(buf, 0, "dd.mm.yyyy"), "  .  .    ");
  EXPECT_EQ(pv_dateUnformat("09.03.24", "dd.mm.yy", 2000), j);
  EXPECT_EQ(pv_dateUnformat("09.03.95", "dd.mm.yy", 1950), pv_dateEncode(1995, 3, 9));
}

}  // namespace

// Date and time encodings.
#include "dates.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

bool pv_dateIsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int pv_dateDaysInMonth(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12) return 0;
  return (m == 2 && pv_dateIsLeap(y)) ? 29 : days[m - 1];
}

long pv_dateEncode(int y, int m, int d) {
  if (y < 0 || y > 9999 || m < 1 || m > 12 || d < 1 || d > pv_dateDaysInMonth(y, m)) return 0;
  long a = m < 3 ? 1 : 0;
  return ((y + 4800 - a) * 1461L) / 4 + ((m + 12 * a - 2) * 367L) / 12 -
         (3 * ((y + 4900 - a) / 100)) / 4 + d - 32075;
}

void pv_dateDecode(long julian, int* year, int* month, int* day) {
  if (julian < PV_JULIAN_MIN) {
    *year = *month = *day = 0;
    return;
  }
  long long l = julian + 68569LL;
  long long n = (4 * l) / 146097;
  l -= (146097 * n + 3) / 4;
  long long i = (4000 * (l + 1)) / 1461001;
  l = l - (1461 * i) / 4 + 31;
  long long j = (80 * l) / 2447;
  *day = static_cast<int>(l - (2447 * j) / 80);
  l = j / 11;
  *month = static_cast<int>(j + 2 - 12 * l);
  *year = static_cast<int>(100 * (n - 49) + i + l);
}

// Writes `count` decimal digits of `value` (zero-padded, most significant first).
static void putDigits(char* p, int count, long value) {
  for (int i = count - 1; i >= 0; --i, value /= 10) p[i] = static_cast<char>('0' + value % 10);
}

char* pv_dateStrPut(char* buffer, int y, int m, int d) {
  putDigits(buffer, 4, y % 10000);
  putDigits(buffer + 4, 2, m % 100);
  putDigits(buffer + 6, 2, d % 100);
  buffer[8] = 0;
  return buffer;
}

static int digits(const char* p, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) v = v * 10 + (std::isdigit(static_cast<unsigned char>(p[i])) ? p[i] - '0' : 0);
  return v;
}

void pv_dateStrGet(const char* text, int* y, int* m, int* d) {
  *y = digits(text, 4);
  *m = digits(text + 4, 2);
  *d = digits(text + 6, 2);
}

char* pv_dateDecStr(char* buffer, long julian) {
  if (julian == 0) {
    std::memcpy(buffer, "        ", 9);
    return buffer;
  }
  int y, m, d;
  pv_dateDecode(julian, &y, &m, &d);
  if (y <= 0 || m <= 0 || d <= 0) {
    std::memcpy(buffer, "00000000", 9);
    return buffer;
  }
  return pv_dateStrPut(buffer, y, m, d);
}

long pv_dateEncStr(const char* text) {
  if (!text || std::strlen(text) != 8) return 0;
  int y, m, d;
  pv_dateStrGet(text, &y, &m, &d);
  return pv_dateEncode(y, m, d);
}

long pv_timeEncode(int hour, int minute, double seconds) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || seconds < 0 || seconds >= 60)
    return 0;
  return (hour * 3600L + minute * 60L) * 1000L + std::lround(seconds * 1000.0 - 0.4999);
}

void pv_timeDecode(long ms, int* hour, int* minute, double* seconds) {
  if (ms < 0 || ms >= PV_MILLISECS_PER_DAY) ms = 0;
  *hour = static_cast<int>(ms / 3600000L);
  *minute = static_cast<int>((ms / 60000L) % 60);
  *seconds = static_cast<double>(ms % 60000L) / 1000.0;
}

char* pv_timeStr(char* buffer, long ms) {
  int h, mi;
  double s;
  pv_timeDecode(ms, &h, &mi, &s);
  long msec = ms % 60000L;
  putDigits(buffer, 2, h);
  putDigits(buffer + 2, 2, mi);
  putDigits(buffer + 4, 2, msec / 1000);
  buffer[6] = '.';
  putDigits(buffer + 7, 3, msec % 1000);
  buffer[10] = 0;
  (void)s;
  return buffer;
}

char* pv_datetimeDecStr(char* buffer, long julian, long ms) {
  pv_dateDecStr(buffer, julian);
  pv_timeStr(buffer + 8, ms);
  return buffer;
}

bool pv_datetimeEncStr(const char* text, long* julian, long* ms) {
  size_t len = text ? std::strlen(text) : 0;
  char date[9] = {0};
  std::memcpy(date, text, len < 8 ? len : 8);
  *julian = len >= 8 ? pv_dateEncStr(date) : 0;
  *ms = 0;
  if (len >= 14) {
    double sec = digits(text + 12, 2);
    if (len >= 18 && text[14] == '.') sec += digits(text + 15, 3) / 1000.0;
    *ms = pv_timeEncode(digits(text + 8, 2), digits(text + 10, 2), sec);
  }
  return *julian != 0 || *ms != 0;
}

double pv_datetimePack(long julian, long ms) {
  return julian + static_cast<double>(ms) / PV_MILLISECS_PER_DAY;
}

double pv_datetimePackInSec(long julian, long ms) {
  return julian * 86400.0 + static_cast<double>(ms) / 1000.0;
}

int pv_dateDOW(long julian) { return julian ? static_cast<int>((julian + 1) % 7) + 1 : 0; }

long pv_dateToday() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return pv_dateEncode(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

long pv_timeNowMillis() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  long ms = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return (tm.tm_hour * 3600L + tm.tm_min * 60L + tm.tm_sec) * 1000L + ms;
}

char* pv_dateFormat(char* buffer, long julian, const char* picture) {
  int y = 0, m = 0, d = 0;
  if (julian) pv_dateDecode(julian, &y, &m, &d);
  size_t n = std::strlen(picture);
  size_t i = 0;
  while (i < n) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(picture[i])));
    size_t run = 1;
    while (i + run < n && std::toupper(static_cast<unsigned char>(picture[i + run])) == c) ++run;
    int value = c == 'Y' ? y : c == 'M' ? m : c == 'D' ? d : -1;
    if (value < 0) {
      std::memcpy(buffer + i, picture + i, run);
    } else {
      for (size_t k = 0; k < run; ++k) {
        buffer[i + run - 1 - k] = julian ? static_cast<char>('0' + value % 10) : ' ';
        value /= 10;
      }
    }
    i += run;
  }
  buffer[n] = 0;
  return buffer;
}

long pv_dateUnformat(const char* text, const char* picture, int epoch) {
  std::string order;  // the picture's D, M and Y letters in their order
  for (const char* p = picture; *p; ++p) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if ((c == 'D' || c == 'M' || c == 'Y') && order.find(c) == std::string::npos) order += c;
  }
  int day = 0, month = 0, year = 0, yearDigits = 0;
  const char* t = text;
  for (char part : order) {  // the runs of digits are day, month and year in that order
    while (*t && !std::isdigit(static_cast<unsigned char>(*t))) ++t;
    int value = 0, digits = 0;
    for (; std::isdigit(static_cast<unsigned char>(*t)); ++t, ++digits)
      if (digits < 9) value = value * 10 + (*t - '0');
    if (part == 'D') day = value;
    else if (part == 'M') month = value;
    else year = value, yearDigits = digits;
  }
  if (day == 0 && month == 0 && year == 0) return 0;
  if (yearDigits <= 2) {  // within the hundred years from the epoch on
    year += epoch / 100 * 100;
    if (year < epoch) year += 100;
  }
  return pv_dateEncode(year, month, day);
}

// Date and time encodings: Julian day numbers, the YYYYMMDD date string, milliseconds of the
// day and the storage texts of times and date-times.
#pragma once

#include "item.h"

inline constexpr long PV_MILLISECS_PER_DAY = 86400000L;
inline constexpr long PV_JULIAN_MIN = 1721060L;  // below: year, month and day decode as 0

long pv_dateEncode(int year, int month, int day);    // 0 for an invalid date
void pv_dateDecode(long julian, int* year, int* month, int* day);
// "YYYYMMDD" from parts (buffer of 9): digits zero-padded.
char* pv_dateStrPut(char* buffer, int year, int month, int day);
void pv_dateStrGet(const char* text, int* year, int* month, int* day);
char* pv_dateDecStr(char* buffer9, long julian);     // blanks for 0, "00000000" for bad parts
long pv_dateEncStr(const char* text);                 // 0 unless eight characters

long pv_timeEncode(int hour, int minute, double seconds);  // 0 when out of range
void pv_timeDecode(long milliseconds, int* hour, int* minute, double* seconds);
char* pv_timeStr(char* buffer11, long milliseconds);      // "hhmmss.fff" (ten characters)
char* pv_datetimeDecStr(char* buffer19, long julian, long milliseconds);
bool pv_datetimeEncStr(const char* text, long* julian, long* milliseconds);
double pv_datetimePack(long julian, long milliseconds);   // day + fraction of the day
double pv_datetimePackInSec(long julian, long milliseconds);

int pv_dateDOW(long julian);                               // 1 = Sunday .. 7, 0 for empty
bool pv_dateIsLeap(int year);
int pv_dateDaysInMonth(int year, int month);
long pv_dateToday();
long pv_timeNowMillis();
// Formats `julian` with a picture such as "DD.MM.YYYY" or "mm/dd/yy" (letters D, M, Y in any
// case); an empty date gives the picture with blanks for the letters.
char* pv_dateFormat(char* buffer, long julian, const char* picture);
// Reads a date written in the order of the picture's D, M and Y letters, whatever separates the
// runs of digits ("1.2.2024" and "01.02.24" under "dd.mm.yyyy"); a year of one or two digits
// lies within the hundred years from `epoch` on. 0 when the text is empty or no valid date.
long pv_dateUnformat(const char* text, const char* picture, int epoch);

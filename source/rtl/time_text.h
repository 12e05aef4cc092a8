// The "hh:mm:ss" text of a time of day, shared by TIME and DIRECTORY.
#pragma once

#include <string>

// Milliseconds since midnight as "hh:mm:ss" (out-of-range values wrap into the day).
inline std::string pv_rtlTimeText(long millis) {
  unsigned long s = static_cast<unsigned long>(millis) / 1000 % 86400;
  char out[9] = {char('0' + s / 36000), char('0' + s / 3600 % 10), ':',
                 char('0' + s % 3600 / 600), char('0' + s % 600 / 60), ':',
                 char('0' + s % 60 / 10), char('0' + s % 10), 0};
  return out;
}

// Date and time functions: DTOC, CTOD, DTOS, STOD, DATE, TIME, SECONDS, YEAR, MONTH, DAY,
// DOW, CMONTH and CDOW.
#include <cstdio>
#include <cstring>
#include <string>

#include "dates.h"
#include "registrar.h"
#include "rtl_args.h"
#include "set.h"
#include "time_text.h"
#include "vm.h"

namespace {

// English names of the national-language table.
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// DTOC( dDate ): the date in the SET DATEFORMAT picture (blanks for the empty date).
void PV_FUN_DTOC() {
  PV_ITEM d = pv_param(1, PV_IT_DATE);
  if (!d) return pv_rtlArgError(PV_SUB_DTOC, "DTOC");
  const char* picture = pv_setDateFormat();
  std::string out(std::strlen(picture) + 1, '\0');
  pv_dateFormat(out.data(), pv_itemGetDL(d), picture);
  pv_retclen(out.data(), static_cast<PV_SIZE>(out.size() - 1));
}

// CTOD( cDate ): text in the order of SET DATEFORMAT, two-digit years by SET EPOCH; the empty
// date when the text is no valid date.
void PV_FUN_CTOD() {
  const char* text = pv_parc(1);
  if (!text) return pv_rtlArgError(PV_SUB_CTOD, "CTOD");
  pv_retdl(pv_dateUnformat(text, pv_setDateFormat(), pv_setEpoch()));
}

// DTOS( dDate ): the date as "YYYYMMDD", blanks for an empty date.
void PV_FUN_DTOS() {
  PV_ITEM d = pv_param(1, PV_IT_DATE);
  if (!d) return pv_rtlArgError(PV_SUB_DTOS, "DTOS");
  char buffer[9];
  pv_retc(pv_itemGetDS(d, buffer));
}

// STOD( [cYYYYMMDD] ): the empty date for a missing, short or invalid text.
void PV_FUN_STOD() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!pv_rtlOptional(1, PV_IT_STRING)) return pv_rtlArgError(PV_SUB_STOD, "STOD");
  pv_retdl(text && pv_itemGetCLen(text) == 8 ? pv_dateEncStr(pv_itemGetCPtr(text)) : 0);
}

// DATE(): today.
void PV_FUN_DATE() { pv_retdl(pv_dateToday()); }

// TIME(): "hh:mm:ss" of the current time of day.
void PV_FUN_TIME() { pv_retc(pv_rtlTimeText(pv_timeNowMillis()).c_str()); }

// SECONDS(): seconds since midnight with hundredths.
void PV_FUN_SECONDS() { pv_retndlen(static_cast<double>(pv_timeNowMillis() / 10) / 100.0, 0, 2); }

// The date parameter's parts, or an argument error (false).
bool dateParts(uint32_t subcode, const char* name, long* julian, int* y, int* m, int* d) {
  PV_ITEM item = pv_param(1, PV_IT_DATE);
  if (!item) {
    pv_rtlArgError(subcode, name);
    return false;
  }
  *julian = pv_itemGetDL(item);
  pv_dateDecode(*julian, y, m, d);
  return true;
}

// YEAR( dDate ): the year, 0 for an empty date.
void PV_FUN_YEAR() {
  long j;
  int y, m, d;
  if (dateParts(PV_SUB_YEAR, "YEAR", &j, &y, &m, &d)) pv_itemPutNILen(pv_stackReturnItem(), y, 5);
}

// MONTH( dDate ): the month, 0 for an empty date.
void PV_FUN_MONTH() {
  long j;
  int y, m, d;
  if (dateParts(PV_SUB_MONTH, "MONTH", &j, &y, &m, &d)) pv_itemPutNILen(pv_stackReturnItem(), m, 3);
}

// DAY( dDate ): the day of the month, 0 for an empty date.
void PV_FUN_DAY() {
  long j;
  int y, m, d;
  if (dateParts(PV_SUB_DAY, "DAY", &j, &y, &m, &d)) pv_itemPutNILen(pv_stackReturnItem(), d, 3);
}

// DOW( dDate ): 1 for Sunday ... 7 for Saturday, 0 for the empty date.
void PV_FUN_DOW() {
  long j;
  int y, m, d;
  if (dateParts(PV_SUB_DOW, "DOW", &j, &y, &m, &d)) pv_itemPutNILen(pv_stackReturnItem(), pv_dateDOW(j), 3);
}

// CMONTH( dDate ): the name of the month.
void PV_FUN_CMONTH() {
  long j;
  int y, m, d;
  if (dateParts(PV_SUB_CMONTH, "CMONTH", &j, &y, &m, &d)) pv_retc(m >= 1 && m <= 12 ? kMonths[m - 1] : "");
}

// CDOW( dDate ): the name of the day of the week.
void PV_FUN_CDOW() {
  long j;
  int y, m, d;
  if (!dateParts(PV_SUB_CDOW, "CDOW", &j, &y, &m, &d)) return;
  int dow = pv_dateDOW(j);
  pv_retc(dow >= 1 && dow <= 7 ? kDays[dow - 1] : "");
}

PvSymbol s_symbols[] = {
    pv_native("DTOC", PV_FUN_DTOC),     pv_native("CTOD", PV_FUN_CTOD),
    pv_native("DTOS", PV_FUN_DTOS),     pv_native("STOD", PV_FUN_STOD),
    pv_native("DATE", PV_FUN_DATE),     pv_native("TIME", PV_FUN_TIME),
    pv_native("SECONDS", PV_FUN_SECONDS), pv_native("YEAR", PV_FUN_YEAR),
    pv_native("MONTH", PV_FUN_MONTH),   pv_native("DAY", PV_FUN_DAY),
    pv_native("DOW", PV_FUN_DOW),       pv_native("CMONTH", PV_FUN_CMONTH),
    pv_native("CDOW", PV_FUN_CDOW),
};
PvModuleRegistrar s_module("rtl/date_funcs", s_symbols);

}  // namespace

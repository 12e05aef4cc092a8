// Argument errors of the language functions. A function called with arguments it cannot take
// raises the "BASE" error of its own subcode, with its parameters as the error's arguments;
// when the error handler substitutes a value, that value becomes the function's result.
#pragma once

#include <cstdint>

// Subcodes of the argument errors, one per function (kept in one place so none is reused).
enum PvRtlSubcode : uint32_t {
  PV_SUB_MOD = 1085, PV_SUB_ABS = 1089, PV_SUB_INT = 1090, PV_SUB_MIN = 1092, PV_SUB_MAX = 1093,
  PV_SUB_ROUND = 1094, PV_SUB_VAL = 1098, PV_SUB_STR = 1099, PV_SUB_RTRIM = 1100,
  PV_SUB_LTRIM = 1101, PV_SUB_UPPER = 1102, PV_SUB_LOWER = 1103, PV_SUB_CHR = 1104,
  PV_SUB_SPACE = 1105, PV_SUB_REPLICATE = 1106, PV_SUB_ASC = 1107, PV_SUB_AT = 1108,
  PV_SUB_SUBSTR = 1110, PV_SUB_LEN = 1111, PV_SUB_YEAR = 1112, PV_SUB_MONTH = 1113,
  PV_SUB_DAY = 1114, PV_SUB_DOW = 1115, PV_SUB_CMONTH = 1116, PV_SUB_CDOW = 1117,
  PV_SUB_DTOC = 1118, PV_SUB_CTOD = 1119, PV_SUB_DTOS = 1120, PV_SUB_TRANSFORM = 1122,
  PV_SUB_AADD = 1123, PV_SUB_LEFT = 1124, PV_SUB_RIGHT = 1125, PV_SUB_STRTRAN = 1126,
  PV_SUB_STUFF = 1127, PV_SUB_RAT = 1128, PV_SUB_PADR = 1129, PV_SUB_PADL = 1130,
  PV_SUB_ARRAY = 1131, PV_SUB_PADC = 1133, PV_SUB_STOD = 1134, PV_SUB_BIN2 = 1135,
  PV_SUB_TOBIN = 1136, PV_SUB_CODEPAGE = 1137, PV_SUB_HASH = 1138, PV_SUB_HASHKEY = 1139,
  PV_SUB_AEVAL = 2017, PV_SUB_ASCAN = 2018, PV_SUB_ASORT = 2019, PV_SUB_ACOPY = 2020,
  PV_SUB_FOPEN = 2021, PV_SUB_ALLTRIM = 2022, PV_SUB_ASIZE = 2023, PV_SUB_ADEL = 2024,
  PV_SUB_AINS = 2025, PV_SUB_ACLONE = 2026, PV_SUB_ATAIL = 2027, PV_SUB_FCREATE = 2028,
  PV_SUB_FREAD = 2029, PV_SUB_FWRITE = 2030, PV_SUB_FSEEK = 2031, PV_SUB_FCLOSE = 2032,
  PV_SUB_FILE = 2033, PV_SUB_FERASE = 2034, PV_SUB_FRENAME = 2035, PV_SUB_DIRECTORY = 2036,
  PV_SUB_MEMOWRIT = 2037, PV_SUB_MEMOREAD = 2038, PV_SUB_FREADSTR = 2039,
  PV_SUB_WORD = 1091, PV_SUB_LOG = 1095, PV_SUB_EXP = 1096, PV_SUB_SQRT = 1097,
  PV_SUB_STRZERO = 1140, PV_SUB_SOUNDEX = 1141, PV_SUB_DESCEND = 1142, PV_SUB_HARDCR = 1143,
  PV_SUB_MEMOTRAN = 1144, PV_SUB_MEMOLINE = 1145, PV_SUB_MLCOUNT = 1146, PV_SUB_MLPOS = 1147,
  PV_SUB_MLCTOPOS = 1148, PV_SUB_MPOSTOLC = 1149, PV_SUB_TYPE = 1121, PV_SUB_GETENV = 1151,
  PV_SUB_MEMVARBLOCK = 1152, PV_SUB_FIELDBLOCK = 1153, PV_SUB_FIELDWBLOCK = 1154,
  PV_SUB_AFILL = 2040, PV_SUB_ADIR = 2041, PV_SUB_DISKSPACE = 2042, PV_SUB_CURDIR = 2043,
  PV_SUB_DIRCHANGE = 2044, PV_SUB_MAKEDIR = 2045, PV_SUB_DIRREMOVE = 2046,
  PV_SUB_STROVERFLOW = 1234, PV_SUB_ZERODIV = 1341,
};

// Whether parameter n is absent, NIL or of a type in `mask`: the test of an optional argument.
bool pv_rtlOptional(int n, uint32_t mask);

// Raises BASE 1 "Argument error" for `operation` with the running function's parameters; a
// substituted value becomes the function's result, otherwise the result is NIL.
void pv_rtlArgError(uint32_t subcode, const char* operation);

// The same with another generic code (3 string overflow, 5 zero divisor, ...).
void pv_rtlError(uint32_t gencode, uint32_t subcode, const char* operation);

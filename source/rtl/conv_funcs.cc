// Conversion and type functions: STR, STRZERO, VAL, VALTYPE, EMPTY, WORD and DESCEND.
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>

#include "array.h"
#include "hash.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// The widest text STR and STRZERO make; a larger width or number of decimals is an argument
// error rather than a request for gigabytes of blanks.
constexpr double kMaxNumberText = 65535;

// Whether STR's arguments (n, [nWidth], [nDecimals]) have their types and sizes.
bool strArguments() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return false;
  for (int i = 2; i <= 3; ++i)
    if (!pv_rtlOptional(i, PV_IT_NUMERIC) || (pv_ispar(i, PV_IT_NUMERIC) && std::fabs(pv_parnd(i)) > kMaxNumberText))
      return false;
  return true;
}

// STR( n, [nWidth], [nDecimals] ): the number as text, right-aligned in the width.
void PV_FUN_STR() {
  if (!strArguments()) return pv_rtlArgError(PV_SUB_STR, "STR");
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  char* text = pv_itemStr(n, pv_param(2, PV_IT_NUMERIC), pv_param(3, PV_IT_NUMERIC));
  if (!text) return pv_retc("");
  pv_itemPutCPtr(pv_stackReturnItem(), text, static_cast<PV_SIZE>(std::strlen(text)));
}

// STRZERO( n, [nWidth], [nDecimals] ): STR with leading zeros; a minus sign goes first.
void PV_FUN_STRZERO() {
  if (!strArguments()) return pv_rtlArgError(PV_SUB_STRZERO, "STRZERO");
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  char* text = pv_itemStr(n, pv_param(2, PV_IT_NUMERIC), pv_param(3, PV_IT_NUMERIC));
  if (!text) return pv_retc("");
  std::string s = text;
  pv_xfree(text);
  size_t digits = s.find_first_not_of(' ');
  if (digits != std::string::npos && s[digits] != '*') {
    bool negative = s[digits] == '-';
    if (negative) s[digits] = '0';
    for (size_t i = 0; i < digits; ++i) s[i] = '0';
    if (negative) s[0] = '-';
  }
  pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
}

// VAL( cText ): leading blanks, an optional sign, digits, an optional point and decimals; the
// first other character ends the number. The decimals are those written in the text.
void PV_FUN_VAL() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text) return pv_rtlArgError(PV_SUB_VAL, "VAL");
  const char* p = pv_itemGetCPtr(text);
  PV_SIZE len = pv_itemGetCLen(text), i = 0;
  while (i < len && (p[i] == ' ' || p[i] == '\t')) ++i;
  std::string digits;
  if (i < len && (p[i] == '-' || p[i] == '+')) digits += p[i++];
  for (; i < len && p[i] >= '0' && p[i] <= '9'; ++i) digits += p[i];
  bool isInteger = true;
  int decimals = 0;
  if (i < len && p[i] == '.') {
    isInteger = false;
    digits += p[i++];
    for (; i < len && p[i] >= '0' && p[i] <= '9'; ++i, ++decimals) digits += p[i];
  }
  double value = std::strtod(digits.c_str(), nullptr);
  if (isInteger && std::fabs(value) < 9.2e18) return pv_retnint(static_cast<int64_t>(value));
  pv_retndlen(value, 0, decimals);
}

// VALTYPE( x ): the type letter of a value.
void PV_FUN_VALTYPE() { pv_retc(pv_itemTypeStr(pv_paramError(1))); }

// EMPTY( x ): NIL, blank text, zero, the empty date, false, an empty array or hash.
bool isEmpty(PV_ITEM x) {
  if (PV_IS_STRING(x)) {
    const char* p = pv_itemGetCPtr(x);
    for (PV_SIZE i = 0; i < pv_itemGetCLen(x); ++i)
      if (p[i] != ' ' && p[i] != '\t' && p[i] != '\r' && p[i] != '\n') return false;
    return true;
  }
  if (PV_IS_NUMERIC(x)) return pv_itemGetND(x) == 0;
  if (PV_IS_DATE(x)) return pv_itemGetDL(x) == 0 && pv_itemGetT(x) == 0;
  if (PV_IS_LOGICAL(x)) return !pv_itemGetL(x);
  if (PV_IS_ARRAY(x)) return pv_arrayLen(x) == 0;
  if (PV_IS_HASH(x)) return pv_hashLen(x) == 0;
  if (PV_IS_POINTER(x)) return pv_itemGetPtr(x) == nullptr;
  return PV_IS_NIL(x);
}

void PV_FUN_EMPTY() { pv_retl(isEmpty(pv_paramError(1))); }

// WORD( n ): the number as a 32-bit integer (for calls of external code).
void PV_FUN_WORD() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_WORD, "WORD");
  pv_retni(pv_parni(1));
}

// DESCEND( x ): a value that sorts in the opposite order of x, for descending index keys: the
// complement of each byte of a text, the negated number, minus the day number of a date (a
// number), the opposite logical. NIL stays NIL.
void PV_FUN_DESCEND() {
  PV_ITEM x = pv_param(1, PV_IT_ANY);
  if (!x || PV_IS_NIL(x)) return pv_ret();
  if (PV_IS_STRING(x)) {
    std::string s(pv_itemGetCPtr(x), pv_itemGetCLen(x));
    for (char& c : s) c = static_cast<char>(256 - static_cast<unsigned char>(c));
    return pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
  }
  int width, decimals;
  pv_itemGetNLen(x, &width, &decimals);
  if (PV_IS_NUMINT(x) && pv_itemGetNLL(x) != INT64_MIN) return pv_retnint(-pv_itemGetNLL(x));
  if (PV_IS_NUMERIC(x)) return pv_retndlen(-pv_itemGetND(x), width, decimals);
  if (PV_IS_DATE(x) && pv_itemGetT(x) == 0) return pv_retnint(-static_cast<int64_t>(pv_itemGetDL(x)));
  if (PV_IS_DATE(x)) return pv_retnd(-pv_itemGetND(x));
  if (PV_IS_LOGICAL(x)) return pv_retl(!pv_itemGetL(x));
  pv_rtlArgError(PV_SUB_DESCEND, "DESCEND");
}

PvSymbol s_symbols[] = {
    pv_native("STR", PV_FUN_STR),
    pv_native("VAL", PV_FUN_VAL),
    pv_native("VALTYPE", PV_FUN_VALTYPE),
    pv_native("EMPTY", PV_FUN_EMPTY),
    pv_native("STRZERO", PV_FUN_STRZERO),
    pv_native("WORD", PV_FUN_WORD),
    pv_native("DESCEND", PV_FUN_DESCEND),
};
PvModuleRegistrar s_module("rtl/conv_funcs", s_symbols);

}  // namespace

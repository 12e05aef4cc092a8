// Conversion and type functions: STR, VAL, VALTYPE and EMPTY.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "array.h"
#include "hash.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// STR( n, [nWidth], [nDecimals] )
void PV_FUN_STR() {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  if (!n || !pv_rtlOptional(2, PV_IT_NUMERIC) || !pv_rtlOptional(3, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_STR, "STR");
  char* text = pv_itemStr(n, pv_param(2, PV_IT_NUMERIC), pv_param(3, PV_IT_NUMERIC));
  if (!text) return pv_retc("");
  pv_itemPutCPtr(pv_stackReturnItem(), text, static_cast<PV_SIZE>(std::strlen(text)));
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

PvSymbol s_symbols[] = {
    pv_native("STR", PV_FUN_STR),
    pv_native("VAL", PV_FUN_VAL),
    pv_native("VALTYPE", PV_FUN_VALTYPE),
    pv_native("EMPTY", PV_FUN_EMPTY),
};
PvModuleRegistrar s_module("rtl/conv_funcs", s_symbols);

}  // namespace

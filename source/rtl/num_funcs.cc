// Number functions: INT, ROUND, ABS, MAX, MIN and MOD.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

#include "compare.h"
#include "num_round.h"
#include "errors.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

double pv_rtlRound(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  double scale = std::pow(10.0, std::abs(decimals));
  if (!std::isfinite(scale)) return decimals >= 0 ? value : 0.0;
  double scaled = decimals >= 0 ? value * scale : value / scale;
  // From 2^53 on a double holds no fraction: nothing is left to round.
  if (!(std::fabs(scaled) < 9007199254740992.0)) return value;
  char text[40];
  std::snprintf(text, sizeof text, "%.15e", scaled);
  double r = std::round(std::strtod(text, nullptr));
  return decimals >= 0 ? r / scale : r * scale;
}

namespace {

int decimalsOf(PV_ITEM n) {
  int width, decimals;
  pv_itemGetNLen(n, &width, &decimals);
  return decimals;
}

// INT( n ): the integer part, with the number's width and no decimals.
void PV_FUN_INT() {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  if (!n) return pv_rtlArgError(PV_SUB_INT, "INT");
  if (PV_IS_NUMINT(n)) return pv_itemReturn(n);
  int width, decimals;
  pv_itemGetNLen(n, &width, &decimals);
  pv_retnlen(std::trunc(pv_itemGetND(n)), width, 0);
}

// ROUND( n, nDecimals ): half away from zero; negative decimals round to tens, hundreds, ...
void PV_FUN_ROUND() {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  if (!n || !pv_ispar(2, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_ROUND, "ROUND");
  // Decimals beyond a double's precision change nothing; the result shows at most 15.
  int decimals = static_cast<int>(std::clamp(pv_parnll(2), -400LL, 400LL));
  if (PV_IS_NUMINT(n) && decimals >= 0) return pv_itemReturn(n);
  pv_retnlen(pv_rtlRound(pv_itemGetND(n), decimals), 0, std::clamp(decimals, 0, 15));
}

// ABS( n ): integers stay integers (the smallest one widens), doubles keep width and decimals.
void PV_FUN_ABS() {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  if (!n) return pv_rtlArgError(PV_SUB_ABS, "ABS");
  int width, decimals;
  pv_itemGetNLen(n, &width, &decimals);
  if (PV_IS_NUMINT(n)) {
    long long v = pv_itemGetNLL(n);
    if (v >= 0) return pv_itemReturn(n);
    if (v != INT64_MIN) return pv_itemPutNIntLen(pv_stackReturnItem(), -v, width), void();
  }
  pv_retndlen(std::fabs(pv_itemGetND(n)), width, decimals);
}

// MAX/MIN of two numbers, two dates or two logicals: the chosen argument itself.
void extreme(bool wantMax, uint32_t subcode, const char* name) {
  PV_ITEM a = pv_param(1, PV_IT_ANY), b = pv_param(2, PV_IT_ANY);
  const uint32_t kinds[] = {PV_IT_NUMERIC, PV_IT_DATE, PV_IT_LOGICAL};
  bool same = false;
  for (uint32_t k : kinds) same = same || (a && b && (a->type & k) && (b->type & k));
  int order = 0;
  if (!same || !pv_itemRelCompare(a, b, false, &order)) return pv_rtlArgError(subcode, name);
  pv_itemReturn(wantMax ? (order >= 0 ? a : b) : (order <= 0 ? a : b));
}

// MAX( x1, x2 ): the larger of two numbers, dates or logicals.
void PV_FUN_MAX() { extreme(true, PV_SUB_MAX, "MAX"); }
// MIN( x1, x2 ): the smaller of two numbers, dates or logicals.
void PV_FUN_MIN() { extreme(false, PV_SUB_MIN, "MIN"); }

// MOD( n, nDivisor ): the remainder with the sign of the divisor; a zero divisor is the
// substitutable error "Zero divisor".
void PV_FUN_MOD() {
  PV_ITEM a = pv_param(1, PV_IT_NUMERIC), b = pv_param(2, PV_IT_NUMERIC);
  if (!a || !b) return pv_rtlArgError(PV_SUB_MOD, "MOD");
  double x = pv_itemGetND(a), y = pv_itemGetND(b);
  if (y == 0) return pv_rtlError(PV_EG_ZERODIV, PV_SUB_ZERODIV, "MOD");
  if (PV_IS_NUMINT(a) && PV_IS_NUMINT(b) && pv_itemGetNLL(b) != -1) {
    long long r = pv_itemGetNLL(a) % pv_itemGetNLL(b);
    if (r != 0 && (r < 0) != (pv_itemGetNLL(b) < 0)) r += pv_itemGetNLL(b);
    return pv_retnint(r);
  }
  double r = std::fmod(x, y);
  if (r != 0 && (r < 0) != (y < 0)) r += y;
  int decimals = std::max(decimalsOf(a), decimalsOf(b));
  pv_itemPutNDDec(pv_stackReturnItem(), r, decimals);
}

PvSymbol s_symbols[] = {
    pv_native("INT", PV_FUN_INT), pv_native("ROUND", PV_FUN_ROUND), pv_native("ABS", PV_FUN_ABS),
    pv_native("MAX", PV_FUN_MAX), pv_native("MIN", PV_FUN_MIN),     pv_native("MOD", PV_FUN_MOD),
};
PvModuleRegistrar s_module("rtl/num_funcs", s_symbols);

}  // namespace

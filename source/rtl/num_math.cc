// Exponential, logarithm and square root: EXP, LOG and SQRT. Results carry SET DECIMALS
// decimals; values beyond a double (EXP of large numbers, LOG of 0 or less) are infinite and
// show as a row of asterisks.
#include <cmath>
#include <limits>

#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// Calls `fn` on the numeric first argument, or raises the function's argument error.
void unary(double (*fn)(double), uint32_t subcode, const char* name) {
  PV_ITEM n = pv_param(1, PV_IT_NUMERIC);
  if (!n) return pv_rtlArgError(subcode, name);
  pv_retnd(fn(pv_itemGetND(n)));
}

// EXP( n ): e raised to n.
double expOf(double x) { return std::exp(x); }

// LOG( n ): the natural logarithm; minus infinity for 0 and for negative numbers.
double logOf(double x) { return x > 0 ? std::log(x) : -std::numeric_limits<double>::infinity(); }

// SQRT( n ): the square root; 0 for negative numbers.
double sqrtOf(double x) { return x > 0 ? std::sqrt(x) : 0.0; }

void PV_FUN_EXP() { unary(expOf, PV_SUB_EXP, "EXP"); }
void PV_FUN_LOG() { unary(logOf, PV_SUB_LOG, "LOG"); }
void PV_FUN_SQRT() { unary(sqrtOf, PV_SUB_SQRT, "SQRT"); }

PvSymbol s_symbols[] = {
    pv_native("EXP", PV_FUN_EXP),
    pv_native("LOG", PV_FUN_LOG),
    pv_native("SQRT", PV_FUN_SQRT),
};
PvModuleRegistrar s_module("rtl/num_math", s_symbols);

}  // namespace

// Argument errors of the language functions.
#include "rtl_args.h"

#include "errors.h"
#include "vm.h"

bool pv_rtlOptional(int n, uint32_t mask) {
  PV_ITEM p = pv_param(n, PV_IT_ANY);
  return !p || PV_IS_NIL(p) || (p->type & mask) != 0;
}

void pv_rtlError(uint32_t gencode, uint32_t subcode, const char* operation) {
  PV_ITEM subst = pv_errRT_BASE_Subst(gencode, subcode, nullptr, operation, -1);
  if (subst) pv_itemReturnRelease(subst);
  else pv_ret();
}

void pv_rtlArgError(uint32_t subcode, const char* operation) {
  pv_rtlError(PV_EG_ARG, subcode, operation);
}

// Figures about the runtime for the error report: NSTATICS() (the number of static variables of
// every linked module).
#include "array.h"
#include "dynsym.h"
#include "registrar.h"
#include "vm.h"

namespace {

void PV_FUN_NSTATICS() {
  PV_SIZE count = 0;
  for (PvModule* m = pv_moduleFirst(); m; m = m->next)
    if (m->statics) count += pv_arrayLen(m->statics);
  pv_retnint(static_cast<int64_t>(count));
}

PvSymbol s_symbols[] = {
    pv_native("NSTATICS", PV_FUN_NSTATICS),
};
PvModuleRegistrar s_module("app/runtime_info", s_symbols);

}  // namespace

// Figures about the runtime for the error report: VERSION() (the runtime's name and bytecode
// version) and NSTATICS() (the number of static variables of every linked module).
#include <string>

#include "array.h"
#include "dynsym.h"
#include "pcode.h"
#include "registrar.h"
#include "vm.h"

namespace {

void PV_FUN_VERSION() {
  std::string text = "xlforms runtime 1.0 (bytecode " + std::to_string(pv::kPcodeVersion) + ")";
  pv_retc(text.c_str());
}

void PV_FUN_NSTATICS() {
  PV_SIZE count = 0;
  for (PvModule* m = pv_moduleFirst(); m; m = m->next)
    if (m->statics) count += pv_arrayLen(m->statics);
  pv_retnint(static_cast<int64_t>(count));
}

PvSymbol s_symbols[] = {
    pv_native("VERSION", PV_FUN_VERSION),
    pv_native("NSTATICS", PV_FUN_NSTATICS),
};
PvModuleRegistrar s_module("app/runtime_info", s_symbols);

}  // namespace

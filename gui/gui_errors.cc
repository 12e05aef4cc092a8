// _GXGENERROR( n, cOperation ): the GUI errors, made as error objects and launched to the
// current error block. CanDefault is set exactly when the severity is below 3.
#include <iterator>

#include "gui_natives.h"
#include "rtl/rtl_args.h"
#include "vm/errors.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace {

struct GuiError {
  const char* description;
  uint16_t severity;
  const char* subsystem;
  uint32_t gencode;
  uint32_t subcode;
};

constexpr GuiError kErrors[] = {
    {"Non defined Id", 3, "Vistrel", 0, 1},
    {"Duplicated Id", 3, "Vistrel", 0, 2},
    {"Cannot create Dialog Box", 3, "Vistrel", 0, 3},
    {"Memory Low", 1, "BASE", PV_EG_MEM, 5300},
    {"GPF occurred", 3, "Vistrel", 0, 5},
    {"Cannot create window or control", 3, "Vistrel", 0, 6},
};

// Returns the error block's verdict: .T. retry, .F. default (or any other answer: NIL).
void PV_FUN__GXGENERROR() {
  int n = pv_parni(1);
  if (n < 1 || n > static_cast<int>(std::size(kErrors))) return pv_rtlArgError(0, "_GXGENERROR");
  const GuiError& e = kErrors[n - 1];
  const char* operation = pv_parc(2) ? pv_parc(2) : "";
  uint16_t flags = e.severity < 3 ? PV_ERR_FLAG_DEFAULT : 0;
  PV_ITEM error = pv_errRT_New(e.severity, e.subsystem, e.gencode, e.subcode, e.description, operation, 0, flags);
  uint16_t verdict = pv_errLaunch(error);
  pv_errRelease(error);
  if (verdict == PV_ERR_RETRY) return pv_retl(true);
  if (verdict == PV_ERR_DEFAULT) return pv_retl(false);
  pv_ret();
}

PvSymbol s_symbols[] = {pv_native("_GXGENERROR", PV_FUN__GXGENERROR)};
PvModuleRegistrar s_module("gui/errors", s_symbols);

}  // namespace

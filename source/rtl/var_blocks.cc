// Get/set blocks of variables: FIELDBLOCK, FIELDWBLOCK and MEMVARBLOCK. Each block returns the
// variable's value when called without an argument and assigns its argument otherwise.
#include <string>

#include "dynsym.h"
#include "macro_eval.h"
#include "memvar.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// Returns the get/set block of the variable `target` (an aliased name).
void returnGetSetBlock(const std::string& target) {
  PvItem block = {PV_IT_NIL, {}};
  pv_rtlEvalText("{|x| IIF(x == NIL, " + target + ", " + target + " := x)}", &block);
  pv_itemReturn(&block);
  pv_itemClear(&block);
}

// The field name in parameter 1, or "" after raising the argument error.
std::string fieldName(uint32_t subcode, const char* function) {
  const char* name = pv_parc(1);
  if (!name || !pv_rtlIsPlainName(name)) {
    pv_rtlArgError(subcode, function);
    return "";
  }
  return pv_rtlUpperTrim(name);
}

// FIELDBLOCK( cField ): the get/set block of a field of the area current when it runs.
void PV_FUN_FIELDBLOCK() {
  std::string name = fieldName(PV_SUB_FIELDBLOCK, "FIELDBLOCK");
  if (!name.empty()) returnGetSetBlock("FIELD->" + name);
}

// FIELDWBLOCK( cField, nArea ): the get/set block of a field of work area nArea.
void PV_FUN_FIELDWBLOCK() {
  long long area = pv_parnll(2);
  if (!pv_ispar(2, PV_IT_NUMERIC) || area < 1 || area > 65534) return pv_rtlArgError(PV_SUB_FIELDWBLOCK, "FIELDWBLOCK");
  std::string name = fieldName(PV_SUB_FIELDWBLOCK, "FIELDWBLOCK");
  if (name.empty()) return;
  std::string alias = "(";  // appended piece by piece: g++ 12 -O3 warns wrongly on "(" + ...
  alias += std::to_string(area);
  alias += ")->";
  returnGetSetBlock(alias + name);
}

// MEMVARBLOCK( cName ): the get/set block of a memory variable; NIL when no variable of that
// name exists.
void PV_FUN_MEMVARBLOCK() {
  const char* name = pv_parc(1);
  if (!name) return pv_rtlArgError(PV_SUB_MEMVARBLOCK, "MEMVARBLOCK");
  std::string upper = pv_rtlUpperTrim(name);
  PvDynSym* symbol = pv_rtlIsPlainName(upper) ? pv_dynsymFind(upper.c_str()) : nullptr;
  if (!symbol || !pv_memvarGetValue(symbol)) return pv_ret();
  returnGetSetBlock("M->" + upper);
}

PvSymbol s_symbols[] = {
    pv_native("FIELDBLOCK", PV_FUN_FIELDBLOCK),
    pv_native("FIELDWBLOCK", PV_FUN_FIELDWBLOCK),
    pv_native("MEMVARBLOCK", PV_FUN_MEMVARBLOCK),
};
PvModuleRegistrar s_module("rtl/var_blocks", s_symbols);

}  // namespace

// Bit operations on numbers for the library's styles and flags: NOR( n1, n2, ... ) ors all its
// arguments, NAND( n1, n2 ) ands two, LAND( n1, n2 ) tells whether they share a bit.
#include "gui_natives.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace {

uint32_t bits(int n) { return static_cast<uint32_t>(pv_parnll(n)); }

void PV_FUN_NOR() {
  uint32_t v = 0;
  for (int i = 1; i <= pv_pcount(); ++i) v |= bits(i);
  pv_retnll(v);
}

void PV_FUN_NAND() { pv_retnll(bits(1) & bits(2)); }
void PV_FUN_LAND() { pv_retl((bits(1) & bits(2)) != 0); }

PvSymbol s_symbols[] = {
    pv_native("NOR", PV_FUN_NOR),
    pv_native("NAND", PV_FUN_NAND),
    pv_native("LAND", PV_FUN_LAND),
};
PvModuleRegistrar s_module("gui/bits", s_symbols);

}  // namespace

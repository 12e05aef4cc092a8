// Registration of native functions: a file of language functions lists them in a symbol table
// and registers it as a module when the program is loaded.
//
//   static PvSymbol s_symbols[] = {pv_native("LEN", PV_FUN_LEN), ...};
//   static PvModuleRegistrar s_module("rtl/strings", s_symbols);
#pragma once

#include <cstddef>

#include "pcode.h"
#include "symbol.h"

constexpr PvSymbol pv_native(const char* name, PvFunc func) {
  return PvSymbol{name, PV_FS_PUBLIC | PV_FS_LOCAL, {func}, nullptr};
}

struct PvModuleRegistrar {
  template <size_t N>
  PvModuleRegistrar(const char* module, PvSymbol (&symbols)[N]) {
    pv_vmProcessSymbols(symbols, static_cast<uint16_t>(N), module, pv::kPcodeVersion, 0);
  }
};

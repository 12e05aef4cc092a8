// Writes a compiled module as C++ source: the bytecode arrays, the PvPcodeFunc records, the
// PvSymbol table, and a static initialiser that registers the table with pv_vmProcessSymbols
// (bytecode version 9), as every compiled module does.
#pragma once

#include <string>

#include "compiler/compiled_module.h"

namespace pv {

std::string writeModuleCpp(const CompiledModule& module);

}  // namespace pv

// Registers a module compiled in memory, as a compiled module's generated C++ source would.
#pragma once

#include "compiler/compiled_module.h"

struct PvModule;

// Builds the symbol table and bytecode records of `module` (kept until the process ends) and
// registers them with the runtime. Returns the runtime's module record.
PvModule* pv_loadCompiledModule(const pv::CompiledModule& module);

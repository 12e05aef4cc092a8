// Registers a module compiled in memory (pvrun, tests) with the runtime exactly as a module
// compiled by pvc and linked in registers itself: same symbol table, same bytecode records.
#pragma once

#include "compiler/compiled_module.h"

struct PvModule;

// Copies the module's names and bytecode into storage kept until the process ends and calls
// pv_vmProcessSymbols (bytecode version 9). Returns the runtime's module record.
PvModule* pv_compilerRegisterModule(const pv::CompiledModule& module);

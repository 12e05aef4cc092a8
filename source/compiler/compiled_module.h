// The compiler's result for one module: its symbol table and each procedure's bytecode. pvc
// writes it out as C++; an in-process runner registers it directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pv {

struct ModuleSymbol {
  std::string name;    // upper-case
  uint32_t scope = 0;  // PV_FS_* bits
  int proc = -1;       // index into CompiledModule::procs for the module's own procedures
};

struct CompiledProc {
  std::string name;           // symbol name
  int symbol = -1;            // index into CompiledModule::symbols
  std::vector<uint8_t> code;  // bytecode, ending with ENDPROC
};

struct CompiledModule {
  std::string name;  // the source file name as given, e.g. "app/main.prg"
  std::vector<ModuleSymbol> symbols;
  std::vector<CompiledProc> procs;
};

}  // namespace pv

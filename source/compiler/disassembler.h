// The disassembler: bytecode to a readable listing, one instruction per line, code block bodies
// indented under their PUSHBLOCK. Used by `pvc --list` and by the golden tests.
//
//   0000  FRAME 1 0
//   0003  PUSHSYMNEAR 2 (QOUT)
//   0009  JUMPFALSENEAR +5 (-> 000E)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compiled_module.h"

namespace pv {

// Lists `code`; symbol operands are shown with their names when `symbols` is given. Bytes that
// do not decode (unknown opcode, operands past the end) end the listing with a note.
std::string disassemble(const std::vector<uint8_t>& code,
                        const std::vector<ModuleSymbol>* symbols = nullptr);

// The symbol table (index, name, scope bits) and every procedure's listing.
std::string listModule(const CompiledModule& module);

}  // namespace pv

// The bytecode interpreter entry. Until the interpreter is linked in, every opcode is the
// internal error "Unsupported VM opcode".
#include "errint.h"
#include "vm.h"

void pv_vmExecute(const uint8_t*, PvSymbol*) { pv_errInternal(9014, nullptr, nullptr, nullptr); }

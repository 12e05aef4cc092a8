// The runtime's macro interface: text compiled at run time (the & operator, index key and FOR
// expressions) and run on the machine. Names are bound through the runtime's dynamic symbols.
//
// Example:
//   PvMacro* key = pv_macroCompile("LOWER(CUSTOMER) + INVOICE");
//   if (key) { pv_macroRun(key); /* value on the stack top */ pv_macroDelete(key); }
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum : uint8_t {
  PV_MACRO_OK = 0x01,         // compiled without error
  PV_MACRO_ALLOCATED = 0x80,  // the record was allocated by the compiler (freed by delete)
};

// A compiled expression: its text, status bits and bytecode (see macro_compiler.h for its shape).
struct PvMacro {
  std::string text;
  uint8_t status = 0;
  std::vector<uint8_t> pcode;
};

// Compiles `text` for its value. Null when the text does not compile (no error is raised).
PvMacro* pv_macroCompile(const char* text);
// The same for assignment (the value on the stack is stored into the variable the text names)
// and for a reference to that variable. Null when the text does not name a variable.
PvMacro* pv_macroCompileAssign(const char* text);
PvMacro* pv_macroCompileReference(const char* text);
// Runs the macro code in the running frame: a value macro leaves its value on the stack.
void pv_macroRun(PvMacro* macro);
// Frees the record (a null pointer is ignored).
void pv_macroDelete(PvMacro* macro);

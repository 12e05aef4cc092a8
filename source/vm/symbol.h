// Module symbols and their scope bits: the table every compiled module contributes.
//
// A module's table is an array of PvSymbol in this order of fields: name, scope, function,
// dynamic symbol. The compiler emits such tables; `pv_vmProcessSymbols` registers them and links
// every public name into the global, name-sorted table of dynamic symbols.
#pragma once

#include <cstdint>

struct PvDynSym;
struct PvSymbol;

// A native function: takes its parameters from the evaluation stack (pv_param*) and leaves its
// result in the return slot (pv_ret*).
using PvFunc = void (*)();

// The record a bytecode procedure's symbol points to (scope PV_FS_PCODEFUNC).
struct PvItem;
struct PvPcodeFunc {
  const uint8_t* pcode;    // the procedure's bytecode
  PvSymbol* symbols;       // the module's symbol table; filled at registration
  PvItem* statics;         // of a static initialiser: the module statics array (made at run time)
  uint32_t size = 0;       // bytes of `pcode` (0: not known; the machine then runs it as it is)
  // What the machine learns from the prologue (frame, statics frame, names) at the first call,
  // so that later calls start at the body: null `body` until then.
  const uint8_t* body = nullptr;
  bool rewritable = false;   // `body` lies in the machine's own copy of the bytecode
  const char* moduleName = nullptr;
  uint16_t locals = 0;
  uint16_t params = 0;
  int32_t staticsInit = -1;  // symbol index of the statics initialiser, or -1
};

// Scope bits (16 significant bits of a 32-bit word).
enum : uint32_t {
  PV_FS_PUBLIC = 0x0001,     // callable or resolvable by name from anywhere
  PV_FS_STATIC = 0x0002,     // visible in its module only
  PV_FS_FIRST = 0x0004,      // candidate for the main procedure
  PV_FS_INIT = 0x0008,       // INIT procedure
  PV_FS_EXIT = 0x0010,       // EXIT procedure
  PV_FS_INITEXIT = 0x0018,   // both: the module's static-variable initialiser
  PV_FS_MESSAGE = 0x0040,    // with PV_FS_MEMVAR and PV_FS_PUBLIC (0x00C1): a message,
  PV_FS_MEMVAR = 0x0080,     //   field or memory variable name rather than a function
  PV_FS_MESSAGENAME = 0x00C1,
  PV_FS_PCODEFUNC = 0x0100,  // function is a PvPcodeFunc record, not native code
  PV_FS_LOCAL = 0x0200,      // the module itself defines the function
  PV_FS_DYNCODE = 0x0400,    // the module was loaded at run time
  PV_FS_DEFERRED = 0x0800,   // take the function from a registered symbol of the same name
};

struct PvSymbol {
  const char* name;          // upper-case, NUL-terminated
  uint32_t scope;            // PV_FS_* bits
  union {
    PvFunc func;             // native function, or null
    PvPcodeFunc* pcode;      // with PV_FS_PCODEFUNC
  } value;
  PvDynSym* dynsym;          // filled during registration
};

struct PvModule;

// Registers a linked module. `version` must be kPcodeVersion (9), else internal error 9000.
// Returns the module record. Each compiled module calls this from a static initialiser.
PvModule* pv_vmProcessSymbols(PvSymbol* symbols, uint16_t count, const char* moduleName,
                              uint32_t version, uint32_t reserved);
// The same for code loaded at run time: the table is copied and PV_FS_DYNCODE added to each symbol.
PvModule* pv_vmProcessDllSymbols(PvSymbol* symbols, uint16_t count, const char* moduleName,
                                 uint32_t version);

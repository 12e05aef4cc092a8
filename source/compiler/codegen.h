// The code generator: syntax tree to bytecode and the module's symbol table.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "compiler/assembler.h"
#include "compiler/ast.h"
#include "compiler/compiled_module.h"

namespace pv {

struct CodegenOptions {
  bool markFirst = true;       // give the first procedure the "first" scope bit
  bool lineNumbers = true;     // LINE/BASELINE/LINEOFFSET per statement
  bool debugNames = true;      // MODULENAME, LOCALNAME, STATICNAME
};

// Compiles a parsed module. Errors (undeclared methods, constants in SWITCH, EXIT outside a loop,
// ...) go to `diags`; the result is complete only when no error was reported.
CompiledModule generateModule(ModuleAst& ast, const std::string& moduleName,
                              const CodegenOptions& options, Diagnostics& diags);

// The class function of a class declaration as a procedure of the same module, built from calls
// of the class-building class (parser-level rewrite; codegen_class.cc).
Procedure classFunction(ClassDecl& cls, const std::string& staticName, Diagnostics& diags,
                        const std::set<std::string>& methodBodies);

}  // namespace pv

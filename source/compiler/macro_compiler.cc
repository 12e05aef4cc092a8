// The macro compiler: the module compiler's parser and code generator in macro mode.
#include "compiler/macro_compiler.h"

#include "compiler/codegen_internal.h"
#include "compiler/compiler.h"
#include "compiler/parser.h"

namespace pv {

bool Generator::runMacro(const Expr& e, MacroMode mode, const MacroSymbolFn& symbols,
                         std::vector<uint8_t>& out) {
  Procedure macro;
  macro.name = "(macro)";
  current_ = &macro;
  macroSymbols_ = &symbols;
  switch (mode) {
    case MacroMode::Value: push(e); break;
    case MacroMode::Reference: pushRef(e); break;
    case MacroMode::Assign:
      if (!Parser::isAssignable(e) || e.kind == ExprKind::Send)
        error(e.pos, "the macro text is not a variable");
      else
        store(e);
      break;
  }
  proc_.op(PV_P_ENDPROC);
  std::string message;
  if (!diags_.hasErrors() && !proc_.assemble(out, message)) error(e.pos, message);
  macroSymbols_ = nullptr;
  current_ = nullptr;
  return !diags_.hasErrors();
}

bool compileMacro(const std::string& text, MacroMode mode, const MacroSymbolFn& symbols,
                  std::vector<uint8_t>& code, std::string* error) {
  code.clear();
  Diagnostics diags;
  ExprPtr e = parseExpression(text, diags);
  CodegenOptions options;
  options.lineNumbers = false;
  options.debugNames = false;
  if (e) {
    Generator gen("(macro)", options, diags);
    if (!gen.runMacro(*e, mode, symbols, code)) code.clear();
  }
  if (diags.hasErrors() && error) *error = diags.list().empty() ? "" : diags.list()[0].message;
  return !diags.hasErrors();
}

}  // namespace pv

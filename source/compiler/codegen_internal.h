// Internals of the code generator, shared by codegen*.cc.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "compiler/codegen.h"
#include "compiler/macro_compiler.h"
#include "compiler/token.h"

namespace pv {

// The module's symbol list being built: one entry per name, except that a STATIC function's
// name used also as a message or variable gets a second, public entry for that use.
class SymbolTableBuilder {
 public:
  int define(const std::string& name, uint32_t scope);  // the module's own procedure
  int function(const std::string& name);               // a called function
  int name(const std::string& name);                   // message, field, memvar, alias
  std::vector<ModuleSymbol>& symbols() { return symbols_; }

 private:
  std::vector<ModuleSymbol> symbols_;
  std::map<std::string, int> byName_;
  std::map<std::string, int> nameUse_;  // second entries for static functions
};

// What a name denotes where it is used.
struct Resolved {
  enum Kind { Local, Static, Field, AliasedField, Memvar, Variable, SelfValue } kind = Variable;
  int index = 0;      // local number or static number
  std::string alias;  // AliasedField (FIELD x IN alias)
};

struct LoopFrame {
  enum Kind { Loop, Switch, With, ForEach, Sequence } kind;
  int continueLabel = -1;
  int exitLabel = -1;
};

// One code block being compiled inside a procedure.
struct BlockScope {
  std::vector<std::string> params;  // upper-case
  std::vector<int16_t> detached;    // local numbers in the enclosing scope
  Assembler code;
};

class Generator {
 public:
  Generator(const std::string& moduleName, const CodegenOptions& options, Diagnostics& diags)
      : moduleName_(moduleName), options_(options), diags_(diags) {}
  CompiledModule run(ModuleAst& ast);
  // Macro code: one expression with dynamic-symbol pointers (macro.cc).
  bool runMacro(const Expr& e, MacroMode mode, const MacroSymbolFn& symbols,
                std::vector<uint8_t>& out);

 private:
  struct StaticVar {
    std::string name;  // upper-case
    std::string proc;  // owning procedure, empty for file-wide
    int index;
    const VarDecl* decl;
  };

  // codegen.cc
  void declareProcedures(ModuleAst& ast);
  void collectStatics(ModuleAst& ast);
  void collectStaticsIn(const Block& body, const std::string& proc);
  void compileProcedure(const Procedure& proc, int procIndex);
  void compileStaticInit(int procIndex);
  Assembler prologue(const Procedure& proc);
  void finish(const Assembler& code, int procIndex, const SourcePos& pos);
  void error(const SourcePos& pos, const std::string& message) { diags_.error(pos, message); }

  // names (codegen_expr.cc)
  Resolved resolve(const std::string& upper);
  int localIn(size_t scope, const std::string& upper);
  int addLocal(const std::string& upper);
  int staticNumber(const std::string& upper);
  Assembler& code() { return blocks_.empty() ? proc_ : blocks_.back().code; }

  // expressions (codegen_expr.cc)
  void push(const Expr& e);
  void pushDiscard(const Expr& e);
  void pushNumber(const Expr& e);
  void pushInt(int64_t v);
  void pushString(const std::string& s, const SourcePos& pos);
  void pushSymbol(int sym);
  void pushName(const Expr& e);
  void pushAliased(const Expr& e);
  void pushAliasValue(const Expr& e);
  void pushAliasedExpr(const Expr& e);
  void pushCall(const Expr& e, bool discard);
  void pushSend(const Expr& e);
  void pushReceiver(const Expr* receiver);
  void pushArgs(const Expr& e, size_t first);
  void pushBlock(const Expr& e);
  void pushBinary(const Expr& e);
  void pushRef(const Expr& e);
  void pushMacroText(const Expr& e);
  void pushSelf();
  void pushLocal(int local);
  bool isField(const std::string& alias) const;
  void message(const std::string& upper);
  void store(const Expr& target);  // value on the stack -> target
  void assign(const Expr& e, bool keep);
  void incDec(const Expr& e, bool keep);
  void callOp(Pcode shortOp, Pcode longOp, size_t argc);
  void localOp(Pcode nearOp, Pcode wideOp, int local);
  void symOp(Pcode op, int sym);
  void nameOp(Pcode op, const std::string& upperName);
  void pushFunction(const std::string& upperName);
  void pushAliasSymbol(const std::string& upperAlias);
  void putPointer(const std::string& upperName);

  // statements (codegen_stmt.cc)
  void statements(const Block& body);
  void statement(const Stmt& s);
  void line(const SourcePos& pos);
  void ifStmt(const Stmt& s);
  void whileStmt(const Stmt& s);
  void forStmt(const Stmt& s);
  void forEachStmt(const Stmt& s);
  void switchStmt(const Stmt& s);
  void sequenceStmt(const Stmt& s);
  void tryStmt(const Stmt& s);
  void withStmt(const Stmt& s);
  void exitLoop(const Stmt& s);
  void declare(const Stmt& s);
  void memvarDecl(const Stmt& s, const char* creator);
  void branch(const Expr& cond, bool jumpIf, int label);

  std::string moduleName_;
  const CodegenOptions& options_;
  Diagnostics& diags_;
  CompiledModule mod_;
  SymbolTableBuilder syms_;
  std::vector<StaticVar> statics_;
  std::map<std::string, std::string> fileFields_;  // name -> alias ("" current area)
  std::set<std::string> fileMemvars_;
  int initSymbol_ = -1;
  const MacroSymbolFn* macroSymbols_ = nullptr;  // set while compiling macro code

  // the procedure being compiled
  const Procedure* current_ = nullptr;
  Assembler proc_;
  std::vector<std::string> locals_;  // params then locals, upper-case; local n = locals_[n-1]
  std::map<std::string, std::string> fields_;
  std::set<std::string> memvars_;
  std::vector<BlockScope> blocks_;
  std::vector<LoopFrame> loops_;
  bool usesStatics_ = false;
  int selfLocal_ = 0;
  std::vector<std::string> forEachVars_;  // innermost last; "" when not a plain name
  int baseLine_ = -1;
  int lastLine_ = -1;
};

}  // namespace pv

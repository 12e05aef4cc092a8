// The syntax tree the parser builds and the code generator walks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/diagnostics.h"

namespace pv {

enum class ExprKind : uint8_t {
  Nil, Number, String, Date, Logical, Self,
  Name,         // text: the name as written
  Aliased,      // text: name; alias in `alias` (ident) or kids[0] (expression)
  AliasedExpr,  // alias->( list ): alias in `alias` or kids[0]; kids.back() the expression
  Macro,        // &name (text) or &( expr ) (kids[0])
  Call,         // kids[0] callee (Name or Macro), kids[1..] arguments (null = omitted)
  Send,         // kids[0] receiver (null: the WITH OBJECT object), text: message, kids[1..] args
  MacroSend,    // kids[0] receiver, kids[1] message text expression, kids[2..] args
  Index,        // kids[0] array, kids[1] index
  Array,        // { a, b, ... }
  Hash,         // { k => v, ... }: kids alternate key, value
  Block,        // params, kids[0..] the expression list
  IIf,          // kids: condition, then, else
  List,         // ( a, b, ... ): value of the last
  Unary,        // op: "-", "+", "!"; kids[0]
  Binary,       // op; kids[0], kids[1]
  Assign,       // op: ":=", "+=", ...; kids[0] target, kids[1] value
  PreInc, PreDec, PostInc, PostDec,  // kids[0] target
  Ref,          // @x: kids[0]
  FuncRef,      // @name(): text
  Super,        // Super (as a receiver): parent of Self
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind;
  SourcePos pos;
  std::string text;
  std::string op;
  std::string alias;  // upper-cased alias word for Aliased/AliasedExpr
  bool isInt = true;
  int64_t ival = 0;
  double dval = 0;
  uint8_t width = 0, decimals = 0;
  std::vector<ExprPtr> kids;
  std::vector<std::string> params;  // code block parameters
  explicit Expr(ExprKind k, SourcePos p = {}) : kind(k), pos(p) {}
};

enum class StmtKind : uint8_t {
  Expr,        // expr
  Return,      // expr (optional)
  If,          // conds[i] / blocks[i]; blocks.back() else when blocks.size() > conds.size()
  While,       // conds[0], blocks[0]
  For,         // expr: counter target; exprs: start, end, step(optional); blocks[0]
  ForEach,     // expr: variable; exprs[0] container; blocks[0]
  Case,        // conds / blocks like If
  Switch,      // expr; exprs: case constants; blocks per case (+ otherwise); exits per block
  Sequence,    // blocks[0] body, blocks[1] recover (optional); expr: USING target
  Try,         // blocks[0] body, [1] catch, [2] finally; expr: catch variable; flags
  With,        // expr; blocks[0]
  Exit, Loop,
  Local,       // decls
  Static,      // decls
  Private, Public,  // decls
  Parameters,  // decls (names)
  Memvar, Field,    // declarations (names; Field: alias in text)
  Request,          // REQUEST/EXTERNAL names: functions the module refers to
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

// One declared variable: name, optional array dimensions (`x[3,4]`) and initial value.
struct VarDecl {
  std::string name;
  SourcePos pos;
  std::vector<ExprPtr> dims;
  ExprPtr init;
};

struct Stmt {
  StmtKind kind;
  SourcePos pos;
  ExprPtr expr;
  std::vector<ExprPtr> conds;
  std::vector<ExprPtr> exprs;
  std::vector<Block> blocks;
  std::vector<VarDecl> decls;
  std::string text;
  bool hasRecover = false, hasCatch = false, hasFinally = false, hasOtherwise = false;
  explicit Stmt(StmtKind k, SourcePos p = {}) : kind(k), pos(p) {}
};

enum class ProcKind : uint8_t { Function, StaticFunction, Init, Exit, Method };

struct Procedure {
  std::string name;     // upper-case symbol name (methods: CLASS_METHOD)
  std::string display;  // name as written, for messages
  ProcKind kind = ProcKind::Function;
  SourcePos pos;
  std::vector<std::string> params;
  Block body;
  bool isMethod = false;
  std::string className;  // methods: the class, upper-case
};

// A message declared in a CLASS ... ENDCLASS block.
struct ClassMember {
  enum Kind : uint8_t { Data, ClassData, Method, Inline, Virtual, ErrorHandler, Destructor,
                        Operator } kind;
  std::string name;  // as written (operators: the operator text)
  SourcePos pos;
  ExprPtr init;      // DATA ... INIT
  std::string type;  // AS type
  std::vector<std::string> params;
  ExprPtr inlineExpr;
  bool constructor = false;
};

struct ClassDecl {
  std::string name;  // as written
  SourcePos pos;
  std::vector<std::string> parents;
  std::vector<ClassMember> members;
  bool isStatic = false;
};

// A deep copy of an expression tree.
ExprPtr cloneExpr(const Expr& e);

struct ModuleAst {
  std::vector<Procedure> procs;
  std::vector<ClassDecl> classes;
  std::vector<VarDecl> fileStatics;  // STATIC declarations outside procedures
  std::vector<std::string> fileMemvars, fileRequests;
  std::vector<std::pair<std::string, std::string>> fileFields;  // name, alias ("" current area)
};

}  // namespace pv

// The parser: tokens to the syntax tree of a module or of a single expression.
//
// Statements are line-oriented: each starts at the beginning of a (logical) line and ends at its
// end. A statement keyword may be shortened to four letters. A syntax error is reported with
// its place and the parser goes on at the next line, so that one run lists all errors.
#pragma once

#include <deque>
#include <initializer_list>
#include <string>

#include "compiler/ast.h"
#include "compiler/preprocessor.h"

namespace pv {

class Parser {
 public:
  static constexpr int kMaxDepth = 256;  // nesting of expressions and statements

  Parser(Preprocessor& pp, Diagnostics& diags) : pp_(pp), diags_(diags) {}

  // A whole source file. `implicitName` names the procedure that holds statements written
  // before the first FUNCTION or PROCEDURE (usually the file's base name).
  ModuleAst parseModule(const std::string& implicitName);
  // One expression filling the whole input (macro and key expressions). Null on error.
  ExprPtr parseExpressionOnly();
  // Whether an expression can be assigned to (variable, aliased name, element, macro, send
  // without arguments).
  static bool isAssignable(const Expr& e) { return isLvalue(e); }

 private:
  struct Error {};  // thrown to abandon the current statement; already reported

  // tokens
  const Token& peek(size_t ahead = 0);
  Token take();
  bool accept(const char* op);
  void expect(const char* op, const char* what);
  std::string expectIdent(const char* what);
  bool atEol() { return peek().kind == Tok::Eol || peek().kind == Tok::End; }
  void expectEol();
  void skipLine();
  [[noreturn]] void fail(const SourcePos& pos, const std::string& message);
  [[noreturn]] void failHere(const std::string& message);
  static bool kw(const Token& t, const char* word);
  bool kwAt(size_t ahead, const char* word) { return kw(peek(ahead), word); }

  // expressions (parser_expr.cc)
  ExprPtr expr();
  ExprPtr assignment();
  ExprPtr binary(int level);
  ExprPtr prefix();
  ExprPtr postfix(ExprPtr e);
  ExprPtr primary();
  ExprPtr braces(const Token& open);
  ExprPtr block(const Token& open);
  ExprPtr parenthesised(const Token& open);
  ExprPtr aliased(ExprPtr left, const Token& arrow);
  void arguments(Expr& call, const char* close);
  static bool isLvalue(const Expr& e);
  void checkLvalue(const Expr& e, const char* what);
  ExprPtr statementExpr();

  // statements (parser_stmt.cc)
  void topLevel(ModuleAst& mod, const std::string& implicitName);
  bool startsProcedure(size_t ahead = 0);
  void procedure(ModuleAst& mod);
  void methodBody(ModuleAst& mod);
  std::vector<std::string> paramList(bool parenRequired);
  Block statements(std::initializer_list<const char*> stops);
  bool atStop(std::initializer_list<const char*> stops);
  StmtPtr statement();
  StmtPtr keywordStatement(const Token& first);
  StmtPtr ifStmt(const Token& first);
  StmtPtr whileStmt(const Token& first);
  StmtPtr forStmt(const Token& first);
  StmtPtr caseStmt(const Token& first);
  StmtPtr switchStmt(const Token& first);
  StmtPtr sequenceStmt(const Token& first);
  StmtPtr tryStmt(const Token& first);
  StmtPtr withStmt(const Token& first);
  StmtPtr declStmt(StmtKind kind, const Token& first);
  StmtPtr doStmt(const Token& first);
  void endOf(const char* what, const Token& opener, std::initializer_list<const char*> words);

  StmtPtr callStmt(const SourcePos& pos, const char* fn, std::vector<ExprPtr> args);

  // classes (parser_class.cc)
  void classDecl(ModuleAst& mod);
  void classMember(ClassDecl& cls);

  Preprocessor& pp_;
  Diagnostics& diags_;
  std::deque<Token> ahead_;
  Token last_;
  int depth_ = 0;
  std::string currentClass_;  // for METHOD bodies without CLASS
  int withDepth_ = 0;

  friend struct DepthGuard;
};

// Counts nesting while parsing; past Parser::kMaxDepth the statement is abandoned with an error,
// so that no input can exhaust the stack.
struct DepthGuard {
  Parser& p;
  DepthGuard(Parser& parser, const SourcePos& pos) : p(parser) {
    if (++p.depth_ > Parser::kMaxDepth) {
      --p.depth_;
      p.fail(pos, "nesting too deep");
    }
  }
  ~DepthGuard() { --p.depth_; }
};

// Helpers to build nodes (parser_expr.cc).
ExprPtr makeCall(const SourcePos& pos, const std::string& fn, std::vector<ExprPtr> args);
ExprPtr makeString(const SourcePos& pos, const std::string& text);
ExprPtr makeLogical(const SourcePos& pos, bool value);

}  // namespace pv

// The parser: procedures and statements.
#include <cstdint>
#include <cstring>

#include "compiler/parser.h"

namespace pv {

namespace {

// Tokens after a leading word that make the line an expression rather than a statement.
bool followsAsExpression(const Token& t) {
  static const char* const kOps[] = {":=", "+=", "-=", "*=", "/=", "%=", "^=", "**=",
                                     "++", "--", ":",  "[",  "->", "=",  "("};
  if (t.kind != Tok::Op) return false;
  if (t.text == ":" && t.spaceBefore) return false;  // `IF :x` inside WITH OBJECT
  for (const char* op : kOps)
    if (t.text == op) return true;
  return false;
}

// Statement words that may be followed directly by "(" (their expression in parentheses).
bool takesParenthesis(const Token& t) {
  static const char* const kWords[] = {"IF",     "ELSEIF", "WHILE", "CASE",
                                       "RETURN", "SWITCH", "WITH"};
  for (const char* w : kWords)
    if (t.upper == w || (t.upper.size() >= 4 && std::strncmp(w, t.upper.c_str(), t.upper.size()) == 0))
      return true;
  return false;
}

}  // namespace

ModuleAst Parser::parseModule(const std::string& implicitName) {
  ModuleAst mod;
  topLevel(mod, implicitName);
  return mod;
}

void Parser::topLevel(ModuleAst& mod, const std::string& implicitName) {
  size_t implicit = SIZE_MAX;  // index of the procedure holding statements before the first one
  while (peek().kind != Tok::End) {
    if (peek().kind == Tok::Eol) {
      take();
      continue;
    }
    try {
      if (startsProcedure()) {
        procedure(mod);
        continue;
      }
      bool declarationWord = !followsAsExpression(peek(1)) && peek(1).kind == Tok::Ident;
      bool started = implicit != SIZE_MAX;
      if (!started && declarationWord && kwAt(0, "STATIC")) {
        StmtPtr s = declStmt(StmtKind::Static, take());
        for (VarDecl& d : s->decls) mod.fileStatics.push_back(std::move(d));
        continue;
      }
      if (!started && declarationWord && (kwAt(0, "REQUEST") || kwAt(0, "EXTERNAL"))) {
        StmtPtr s = declStmt(StmtKind::Request, take());
        for (VarDecl& d : s->decls) mod.fileRequests.push_back(d.name);
        continue;
      }
      if (!started && declarationWord && (kwAt(0, "MEMVAR") || kwAt(0, "FIELD"))) {
        bool memvar = kwAt(0, "MEMVAR");
        StmtPtr s = declStmt(memvar ? StmtKind::Memvar : StmtKind::Field, take());
        for (VarDecl& d : s->decls) {
          if (memvar)
            mod.fileMemvars.push_back(d.name);
          else
            mod.fileFields.emplace_back(d.name, s->text);
        }
        continue;
      }
      if (!started) {
        implicit = mod.procs.size();
        mod.procs.emplace_back();
        mod.procs.back().name = implicitName;
        mod.procs.back().display = implicitName;
        mod.procs.back().pos = peek().pos;
      }
      Block body = statements({});
      for (StmtPtr& s : body) mod.procs[implicit].body.push_back(std::move(s));
      if (!atEol() && !startsProcedure()) {
        Token t = take();
        diags_.error(t.pos, "'" + t.text + "' without an opening statement");
        skipLine();
      }
    } catch (const Error&) {
      skipLine();
    }
  }
}

bool Parser::startsProcedure(size_t ahead) {
  const Token& t = peek(ahead);
  if (t.kind != Tok::Ident || followsAsExpression(peek(ahead + 1))) return false;
  if (kw(t, "FUNCTION") || kw(t, "PROCEDURE")) return peek(ahead + 1).kind == Tok::Ident;
  if (kw(t, "STATIC") || kw(t, "INIT") || t.upper == "EXIT")
    return kw(peek(ahead + 1), "FUNCTION") || kw(peek(ahead + 1), "PROCEDURE");
  if (kw(t, "METHOD") || t.upper == "CLASS" || t.upper == "CREATE")
    return peek(ahead + 1).kind == Tok::Ident;
  return false;
}

std::vector<std::string> Parser::paramList(bool parenRequired) {
  std::vector<std::string> params;
  if (!accept("(")) {
    if (parenRequired) failHere("expected '('");
    return params;
  }
  if (accept(")")) return params;
  do {
    params.push_back(expectIdent("a parameter name"));
    if (kwAt(0, "AS")) {  // type annotations are accepted and ignored
      take();
      while (peek().kind == Tok::Ident) take();
    }
  } while (accept(","));
  expect(")", "after the parameters");
  return params;
}

void Parser::procedure(ModuleAst& mod) {
  Token first = peek();
  if (first.upper == "CLASS" || first.upper == "CREATE") {
    classDecl(mod);
    return;
  }
  if (kw(first, "METHOD")) {
    methodBody(mod);
    return;
  }
  take();
  Procedure proc;
  proc.pos = first.pos;
  if (kw(first, "STATIC")) {
    proc.kind = ProcKind::StaticFunction;
    take();
  } else if (kw(first, "INIT")) {
    proc.kind = ProcKind::Init;
    take();
  } else if (first.upper == "EXIT") {
    proc.kind = ProcKind::Exit;
    take();
  }
  proc.display = expectIdent("a procedure name");
  proc.name = last_.upper;
  proc.params = paramList(false);
  expectEol();
  proc.body = statements({});
  mod.procs.push_back(std::move(proc));
}

void Parser::methodBody(ModuleAst& mod) {
  Token first = take();
  Procedure proc;
  proc.pos = first.pos;
  proc.kind = ProcKind::Method;
  proc.isMethod = true;
  proc.display = expectIdent("a method name");
  std::string method = last_.upper;
  proc.params = paramList(false);
  if (kwAt(0, "CLASS")) {
    take();
    expectIdent("a class name");
    proc.className = last_.upper;
  } else if (currentClass_.empty()) {
    fail(first.pos, "METHOD " + proc.display + " outside a class (add CLASS name)");
  } else {
    proc.className = currentClass_;
  }
  while (!atEol()) take();  // CONSTRUCTOR and the like repeat the declaration
  expectEol();
  proc.name = proc.className + "_" + method;
  proc.display = proc.className + ":" + proc.display;
  proc.body = statements({});
  mod.procs.push_back(std::move(proc));
}

bool Parser::atStop(std::initializer_list<const char*> stops) {
  const Token& t = peek();
  if (t.kind != Tok::Ident || followsAsExpression(peek(1))) return false;
  for (const char* w : stops)
    if (std::strcmp(w, "END") == 0 ? t.upper == "END" : kw(t, w)) return true;
  return false;
}

Block Parser::statements(std::initializer_list<const char*> stops) {
  Block body;
  for (;;) {
    while (peek().kind == Tok::Eol) take();
    if (peek().kind == Tok::End || atStop(stops) || startsProcedure()) return body;
    if (stops.size() == 0 && peek().kind == Tok::Ident && peek().upper == "ENDCLASS") return body;
    Token first = peek();
    try {
      if (StmtPtr s = statement()) body.push_back(std::move(s));
    } catch (const Error&) {
      if (first.unmatchedCommand)
        diags_.error(first.pos, "no form of the command " + first.upper +
                                    " matches this statement (see std.ch or pvc -P)");
      skipLine();
    }
  }
}

StmtPtr Parser::statement() {
  const Token& first = peek();
  DepthGuard guard(*this, first.pos);
  // `RETURN ++n`, `RETURN :Cargo`: after RETURN and a blank these begin the returned value.
  bool returnOperand = first.upper == "RETURN" && peek(1).spaceBefore &&
                       (peek(1).is("++") || peek(1).is("--") || peek(1).is(":"));
  bool word = first.kind == Tok::Ident &&
              (!followsAsExpression(peek(1)) || returnOperand ||
               (peek(1).is("(") && takesParenthesis(first)));
  if (word) {
    Token t = first;
    if (StmtPtr s = keywordStatement(t)) return s;
  }
  if (first.is("?") || first.is("??")) {
    Token q = take();
    auto args = std::vector<ExprPtr>();
    if (!atEol()) do {
        args.push_back(expr());
      } while (accept(","));
    expectEol();
    return callStmt(q.pos, q.text == "?" ? "QOUT" : "QQOUT", std::move(args));
  }
  auto s = std::make_unique<Stmt>(StmtKind::Expr, first.pos);
  s->expr = statementExpr();
  expectEol();
  return s;
}

StmtPtr Parser::keywordStatement(const Token& first) {
  const std::string& w = first.upper;
  if (kw(first, "IF")) return ifStmt(take());
  if (w == "DO" && kwAt(1, "WHILE")) {
    take();
    return whileStmt(take());
  }
  if (kw(first, "WHILE")) return whileStmt(take());
  if (w == "DO" && kwAt(1, "CASE")) {
    take();
    return caseStmt(take());
  }
  if (w == "DO" && peek(1).kind == Tok::Ident) return doStmt(take());
  if (w == "FOR") return forStmt(take());
  if (kw(first, "SWITCH")) return switchStmt(take());
  if (kw(first, "BEGIN") && kwAt(1, "SEQUENCE")) {
    take();
    return sequenceStmt(take());
  }
  if (w == "TRY") return tryStmt(take());
  if (w == "WITH" && kwAt(1, "OBJECT")) {
    take();
    return withStmt(take());
  }
  if (w == "EXIT" || w == "LOOP") {
    Token t = take();
    expectEol();
    return std::make_unique<Stmt>(w == "EXIT" ? StmtKind::Exit : StmtKind::Loop, t.pos);
  }
  if (kw(first, "RETURN")) {
    Token t = take();
    auto s = std::make_unique<Stmt>(StmtKind::Return, t.pos);
    if (!atEol()) s->expr = expr();
    expectEol();
    return s;
  }
  if (kw(first, "LOCAL")) return declStmt(StmtKind::Local, take());
  if (kw(first, "STATIC")) return declStmt(StmtKind::Static, take());
  if (kw(first, "PRIVATE")) return declStmt(StmtKind::Private, take());
  if (kw(first, "PUBLIC")) return declStmt(StmtKind::Public, take());
  if (kw(first, "PARAMETERS")) return declStmt(StmtKind::Parameters, take());
  if (kw(first, "MEMVAR")) return declStmt(StmtKind::Memvar, take());
  if ((kw(first, "REQUEST") || kw(first, "EXTERNAL")) && peek(1).kind == Tok::Ident)
    return declStmt(StmtKind::Request, take());
  if (kw(first, "FIELD") && peek(1).kind == Tok::Ident) return declStmt(StmtKind::Field, take());
  static const char* const kClosers[] = {"ENDIF", "ENDDO", "ENDCASE", "NEXT", "ELSE", "ELSEIF",
                                         "OTHERWISE", "RECOVER", "CATCH", "FINALLY",
                                         "ENDSWITCH", "ENDWITH", "ENDFOR", "ENDWHILE",
                                         "ENDSEQUENCE", "ENDTRY", "ENDCLASS"};
  for (const char* c : kClosers)
    if (kw(first, c)) fail(first.pos, first.text + " without a matching opening statement");
  if (w == "END" || w == "CASE") fail(first.pos, first.text + " without a matching opening statement");
  return nullptr;  // the commands of the language are rules of the preprocessor (std.ch)
}

StmtPtr Parser::callStmt(const SourcePos& pos, const char* fn, std::vector<ExprPtr> args) {
  auto s = std::make_unique<Stmt>(StmtKind::Expr, pos);
  s->expr = makeCall(pos, fn, std::move(args));
  return s;
}

void Parser::endOf(const char* what, const Token& opener,
                   std::initializer_list<const char*> words) {
  if (!atStop(words)) {
    diags_.error(opener.pos, std::string(what) + " without " + *words.begin());
    return;
  }
  Token end = take();
  if (end.upper == "END" || end.upper == "NEXT")
    while (!atEol()) take();  // END IF, END SEQUENCE, NEXT i ...
  expectEol();
}

StmtPtr Parser::ifStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::If, first.pos);
  s->conds.push_back(expr());
  expectEol();
  s->blocks.push_back(statements({"ELSEIF", "ELSE", "ENDIF", "END"}));
  while (kwAt(0, "ELSEIF")) {
    take();
    s->conds.push_back(expr());
    expectEol();
    s->blocks.push_back(statements({"ELSEIF", "ELSE", "ENDIF", "END"}));
  }
  if (kwAt(0, "ELSE")) {
    take();
    expectEol();
    s->blocks.push_back(statements({"ELSEIF", "ELSE", "ENDIF", "END"}));
    if (kwAt(0, "ELSEIF") || kwAt(0, "ELSE")) fail(peek().pos, peek().text + " after ELSE");
  }
  endOf("IF", first, {"ENDIF", "END"});
  return s;
}

StmtPtr Parser::whileStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::While, first.pos);
  s->conds.push_back(expr());
  expectEol();
  s->blocks.push_back(statements({"ENDDO", "END", "ENDWHILE"}));
  endOf("DO WHILE", first, {"ENDDO", "END", "ENDWHILE"});
  return s;
}

StmtPtr Parser::forStmt(const Token& first) {
  if (peek().isIdent("EACH") && peek(1).kind == Tok::Ident) {
    take();
    auto s = std::make_unique<Stmt>(StmtKind::ForEach, first.pos);
    s->expr = postfix(primary());
    checkLvalue(*s->expr, "FOR EACH");
    if (!kwAt(0, "IN")) failHere("expected IN");
    take();
    s->exprs.push_back(expr());
    if (kwAt(0, "DESCEND")) fail(peek().pos, "FOR EACH ... DESCEND is not supported");
    expectEol();
    s->blocks.push_back(statements({"NEXT", "END", "ENDFOR"}));
    endOf("FOR EACH", first, {"NEXT", "END", "ENDFOR"});
    return s;
  }
  auto s = std::make_unique<Stmt>(StmtKind::For, first.pos);
  ExprPtr init = expr();
  if (!(init->kind == ExprKind::Assign && init->op == ":=") &&
      !(init->kind == ExprKind::Binary && init->op == "="))
    fail(init->pos, "FOR needs counter := start");
  checkLvalue(*init->kids[0], "FOR");
  s->expr = std::move(init->kids[0]);
  s->exprs.push_back(std::move(init->kids[1]));
  if (!kwAt(0, "TO")) failHere("expected TO");
  take();
  s->exprs.push_back(expr());
  if (kwAt(0, "STEP")) {
    take();
    s->exprs.push_back(expr());
  }
  expectEol();
  s->blocks.push_back(statements({"NEXT", "END", "ENDFOR"}));
  endOf("FOR", first, {"NEXT", "END", "ENDFOR"});
  return s;
}

StmtPtr Parser::caseStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Case, first.pos);
  expectEol();
  while (peek().kind == Tok::Eol) take();
  while (atStop({"CASE"})) {
    take();
    s->conds.push_back(expr());
    expectEol();
    s->blocks.push_back(statements({"CASE", "OTHERWISE", "ENDCASE", "END"}));
  }
  if (atStop({"OTHERWISE"})) {
    take();
    expectEol();
    s->blocks.push_back(statements({"CASE", "OTHERWISE", "ENDCASE", "END"}));
    if (atStop({"CASE", "OTHERWISE"})) fail(peek().pos, peek().text + " after OTHERWISE");
  }
  endOf("DO CASE", first, {"ENDCASE", "END"});
  return s;
}

StmtPtr Parser::switchStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Switch, first.pos);
  s->expr = expr();
  expectEol();
  while (peek().kind == Tok::Eol) take();
  while (atStop({"CASE"})) {
    take();
    s->exprs.push_back(expr());
    expectEol();
    s->blocks.push_back(statements({"CASE", "OTHERWISE", "ENDSWITCH", "END"}));
  }
  if (atStop({"OTHERWISE"})) {
    take();
    expectEol();
    s->hasOtherwise = true;
    s->blocks.push_back(statements({"CASE", "OTHERWISE", "ENDSWITCH", "END"}));
    if (atStop({"CASE", "OTHERWISE"})) fail(peek().pos, peek().text + " after OTHERWISE");
  }
  endOf("SWITCH", first, {"ENDSWITCH", "END"});
  return s;
}

StmtPtr Parser::sequenceStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Sequence, first.pos);
  expectEol();
  s->blocks.push_back(statements({"RECOVER", "END", "ENDSEQUENCE"}));
  if (atStop({"RECOVER"})) {
    take();
    s->hasRecover = true;
    if (kwAt(0, "USING")) {
      take();
      s->expr = postfix(primary());
      checkLvalue(*s->expr, "RECOVER USING");
    }
    expectEol();
    s->blocks.push_back(statements({"RECOVER", "END", "ENDSEQUENCE"}));
  }
  endOf("BEGIN SEQUENCE", first, {"END", "ENDSEQUENCE"});
  return s;
}

StmtPtr Parser::tryStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Try, first.pos);
  expectEol();
  s->blocks.push_back(statements({"CATCH", "FINALLY", "END", "ENDTRY"}));
  s->blocks.emplace_back();
  s->blocks.emplace_back();
  if (atStop({"CATCH"})) {
    take();
    s->hasCatch = true;
    if (!atEol()) {
      s->expr = postfix(primary());
      checkLvalue(*s->expr, "CATCH");
    }
    expectEol();
    s->blocks[1] = statements({"CATCH", "FINALLY", "END", "ENDTRY"});
  }
  if (atStop({"FINALLY"})) {
    take();
    s->hasFinally = true;
    expectEol();
    s->blocks[2] = statements({"CATCH", "FINALLY", "END", "ENDTRY"});
  }
  if (!s->hasCatch && !s->hasFinally) diags_.error(first.pos, "TRY without CATCH or FINALLY");
  endOf("TRY", first, {"END", "ENDTRY"});
  return s;
}

StmtPtr Parser::withStmt(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::With, first.pos);
  s->expr = expr();
  expectEol();
  ++withDepth_;
  s->blocks.push_back(statements({"END", "ENDWITH"}));
  --withDepth_;
  endOf("WITH OBJECT", first, {"END", "ENDWITH"});
  return s;
}

StmtPtr Parser::declStmt(StmtKind kind, const Token& first) {
  auto s = std::make_unique<Stmt>(kind, first.pos);
  bool simple = kind == StmtKind::Parameters || kind == StmtKind::Memvar ||
                kind == StmtKind::Field || kind == StmtKind::Request;
  do {
    VarDecl d;
    d.pos = peek().pos;
    d.name = expectIdent("a variable name");
    if (!simple && accept("[")) {
      do {
        d.dims.push_back(expr());
      } while (accept(","));
      expect("]", "after the array dimensions");
    }
    if (!simple && (peek().is(":=") || peek().is("="))) {
      take();
      d.init = expr();
    }
    if (kwAt(0, "AS")) {
      take();
      while (peek().kind == Tok::Ident) take();
    }
    s->decls.push_back(std::move(d));
  } while (accept(","));
  if (kind == StmtKind::Field && kwAt(0, "IN")) {
    take();
    s->text = expectIdent("an alias after IN");
  }
  expectEol();
  return s;
}

StmtPtr Parser::doStmt(const Token& first) {
  // DO proc [WITH args]: variables are passed by reference.
  auto call = std::make_unique<Expr>(ExprKind::Call, first.pos);
  auto name = std::make_unique<Expr>(ExprKind::Name, peek().pos);
  name->text = expectIdent("a procedure name");
  call->kids.push_back(std::move(name));
  if (kwAt(0, "WITH")) {
    take();
    do {
      ExprPtr arg = expr();
      if (arg->kind == ExprKind::Name) {
        auto ref = std::make_unique<Expr>(ExprKind::Ref, arg->pos);
        ref->kids.push_back(std::move(arg));
        arg = std::move(ref);
      }
      call->kids.push_back(std::move(arg));
    } while (accept(","));
  }
  expectEol();
  auto s = std::make_unique<Stmt>(StmtKind::Expr, first.pos);
  s->expr = std::move(call);
  s->text = "DO";
  return s;
}

}  // namespace pv

// The parser: table and setting commands, translated to calls of the runtime's functions.
//
//   USE [file] [ALIAS a] [NEW] [SHARED|EXCLUSIVE] [READONLY] [VIA drv]
//                                  DBUSEAREA(lNew, drv, file, a, lShared, lReadOnly); USE alone:
//                                  DBCLOSEAREA()
//   SELECT x                       DBSELECTAREA(x)          (a bare name is the alias text)
//   GO TOP | GO BOTTOM | GO n      DBGOTOP() | DBGOBOTTOM() | DBGOTO(n)
//   SKIP [n]                       DBSKIP([n])
//   SEEK x [SOFTSEEK] [LAST]       DBSEEK(x, .T. or NIL, lLast)
//   APPEND BLANK                   DBAPPEND()
//   REPLACE f WITH v [, ...]       FIELD->f := v ...
//   DELETE | RECALL | PACK | ZAP   DBDELETE() | DBRECALL() | __DBPACK() | __DBZAP()
//   INDEX ON k TAG t [TO b] [FOR c] [UNIQUE] [DESCENDING]
//                                  [ORDCONDSET(cFor, bFor, 8 x NIL, lDescend)]
//                                  ORDCREATE(b, t, "k", {|| k }, lUnique)
//   SET ORDER TO [n | TAG t]       DBSETORDER(n) | ORDSETFOCUS(t)
//   SET INDEX TO [a, ...]          DBCLEARINDEX(), ORDLISTADD(a) ...
//   SET <switch> ON|OFF|(x)        SET(n, "ON"|"OFF"|x);  SET CENTURY ...: __SETCENTURY(...)
//   SET DATE FORMAT [TO] x | SET DECIMALS TO n | SET EPOCH TO n | SET DEFAULT TO x |
//   SET PATH TO x                  SET(4 | 3 | 5 | 7 | 6, x)
//   CLOSE [ALL | DATABASES | INDEXES | alias]
//                                  DBCLOSEAREA() | DBCLOSEALL() | DBCLEARINDEX() |
//                                  alias->(DBCLOSEAREA())
//   COMMIT | UNLOCK [ALL]          DBCOMMITALL() | DBUNLOCK() | DBUNLOCKALL()
//   QUIT | CANCEL                  __QUIT()
//   BREAK [x]                      BREAK(x)
//   RELEASE a, ...                 __MVXRELEASE("a") ...
#include <cstring>

#include "compiler/parser.h"

namespace pv {

namespace {

ExprPtr nil(const SourcePos& pos) { return std::make_unique<Expr>(ExprKind::Nil, pos); }

ExprPtr number(const SourcePos& pos, int64_t n) {
  auto e = std::make_unique<Expr>(ExprKind::Number, pos);
  e->ival = n;
  e->dval = static_cast<double>(n);
  return e;
}

struct SetSwitch {
  const char* word;
  int number;
};
const SetSwitch kSwitches[] = {{"EXACT", 1},      {"FIXED", 2},    {"EXCLUSIVE", 8},
                               {"SOFTSEEK", 9},   {"UNIQUE", 10},  {"DELETED", 11},
                               {"CONSOLE", 17},   {"BELL", 26},    {"CONFIRM", 27},
                               {"ESCAPE", 28},    {"SCOREBOARD", 32}, {"WRAP", 35}};

}  // namespace

StmtPtr Parser::callStmt(const SourcePos& pos, const char* fn, std::vector<ExprPtr> args) {
  auto s = std::make_unique<Stmt>(StmtKind::Expr, pos);
  s->expr = makeCall(pos, fn, std::move(args));
  return s;
}

// A file, alias or tag operand: (expr), a string, or a bare name (possibly NAME.EXT) as text.
ExprPtr Parser::nameOrExpr() {
  const Token& t = peek();
  if (t.is("(")) {
    Token open = take();
    return parenthesised(open);
  }
  if (t.kind == Tok::Ident) {
    Token first = take();
    std::string name = first.text;
    while (peek().is(".") && peek(1).kind == Tok::Ident && !peek().spaceBefore) {
      take();
      name += '.';
      name += take().text;
    }
    return makeString(first.pos, name);
  }
  return expr();
}

// Commands that are a call without arguments, written as one or two words.
struct SimpleCommand {
  const char* word;
  const char* second;  // required second word, or null
  const char* function;
};
const SimpleCommand kSimpleCommands[] = {
    {"APPEND", "BLANK", "DBAPPEND"}, {"DELETE", nullptr, "DBDELETE"},
    {"RECALL", nullptr, "DBRECALL"}, {"PACK", nullptr, "__DBPACK"},
    {"ZAP", nullptr, "__DBZAP"},     {"COMMIT", nullptr, "DBCOMMITALL"},
    {"QUIT", nullptr, "__QUIT"},     {"CANCEL", nullptr, "__QUIT"},
    {"UNLOCK", "ALL", "DBUNLOCKALL"}, {"UNLOCK", nullptr, "DBUNLOCK"},
    {"CLOSE", "ALL", "DBCLOSEALL"},  {"CLOSE", "DATABASES", "DBCLOSEALL"},
    {"CLOSE", "INDEXES", "DBCLEARINDEX"}, {"CLOSE", nullptr, "DBCLOSEAREA"}};

StmtPtr Parser::command(const Token& first) {
  const std::string& w = first.upper;
  for (const SimpleCommand& c : kSimpleCommands) {
    bool words = c.second ? kw(first, c.word) && kwAt(1, c.second) && peek(2).kind == Tok::Eol
                          : kw(first, c.word) && peek(1).kind == Tok::Eol;
    if (!words) continue;
    take();
    if (c.second) take();
    expectEol();
    return callStmt(first.pos, c.function, {});
  }
  if (w == "USE") return useCmd(take());
  if (kw(first, "SELECT")) return oneArgument(take(), "DBSELECTAREA", true);
  if (w == "GO" || kw(first, "GOTO")) return goCmd(take());
  if (w == "SKIP") return oneArgument(take(), "DBSKIP", false);
  if (w == "SEEK") return seekCmd(take());
  if (kw(first, "REPLACE")) return replaceCmd(take());
  if (kw(first, "INDEX") && kwAt(1, "ON")) return indexCmd(take());
  if (w == "SET") return setCmd(take());
  if (kw(first, "CLOSE") && peek(1).kind == Tok::Ident) return closeAliasCmd(take());
  if (kw(first, "BREAK")) return oneArgument(take(), "BREAK", false);
  if (kw(first, "RELEASE") && peek(1).kind == Tok::Ident) return releaseCmd(take());
  return nullptr;
}

// SELECT x, SKIP [n], BREAK [x]: a call with the operand, if any. `nameAllowed`: a bare name is
// the alias text.
StmtPtr Parser::oneArgument(const Token& first, const char* fn, bool nameAllowed) {
  std::vector<ExprPtr> args;
  if (peek().is("(") && peek(1).is(")")) {  // `BREAK()`: the call without an operand
    take();
    take();
  } else if (!atEol()) {
    args.push_back(nameAllowed && peek().kind != Tok::Number ? nameOrExpr() : expr());
  }
  if (nameAllowed && args.empty()) failHere("expected a work area");
  expectEol();
  return callStmt(first.pos, fn, std::move(args));
}

StmtPtr Parser::goCmd(const Token& first) {
  if (kwAt(0, "TOP") || kwAt(0, "BOTTOM")) {
    bool top = kwAt(0, "TOP");
    take();
    expectEol();
    return callStmt(first.pos, top ? "DBGOTOP" : "DBGOBOTTOM", {});
  }
  return oneArgument(first, "DBGOTO", false);
}

StmtPtr Parser::seekCmd(const Token& first) {
  std::vector<ExprPtr> args;
  args.push_back(expr());
  bool soft = false, last = false;
  while (!atEol()) {
    if (kwAt(0, "SOFTSEEK"))
      soft = true;
    else if (kwAt(0, "LAST"))
      last = true;
    else
      failHere("expected SOFTSEEK or LAST");
    take();
  }
  expectEol();
  args.push_back(soft ? makeLogical(first.pos, true) : nil(first.pos));
  args.push_back(makeLogical(first.pos, last));
  return callStmt(first.pos, "DBSEEK", std::move(args));
}

StmtPtr Parser::closeAliasCmd(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Expr, first.pos);
  auto e = std::make_unique<Expr>(ExprKind::AliasedExpr, first.pos);
  e->alias = upperName(expectIdent("ALL, DATABASES, INDEXES or an alias"));
  e->kids.push_back(makeCall(first.pos, "DBCLOSEAREA", {}));
  s->expr = std::move(e);
  expectEol();
  return s;
}

StmtPtr Parser::releaseCmd(const Token& first) {
  auto s = std::make_unique<Stmt>(StmtKind::Expr, first.pos);
  auto list = std::make_unique<Expr>(ExprKind::List, first.pos);
  do {
    std::vector<ExprPtr> args;
    SourcePos at = peek().pos;
    args.push_back(makeString(at, expectIdent("a variable name")));
    list->kids.push_back(makeCall(first.pos, "__MVXRELEASE", std::move(args)));
  } while (accept(","));
  expectEol();
  s->expr = std::move(list);
  return s;
}

StmtPtr Parser::useCmd(const Token& first) {
  const SourcePos pos = first.pos;
  if (atEol()) {
    take();
    return callStmt(pos, "DBCLOSEAREA", {});
  }
  ExprPtr file = nameOrExpr(), alias = nil(pos), driver = nil(pos), shared = nil(pos);
  bool isNew = false, readOnly = false;
  while (!atEol()) {
    if (kwAt(0, "ALIAS")) {
      take();
      alias = nameOrExpr();
    } else if (kwAt(0, "VIA")) {
      take();
      driver = peek().kind == Tok::Ident ? nameOrExpr() : expr();
    } else if (kwAt(0, "NEW")) {
      take();
      isNew = true;
    } else if (kwAt(0, "SHARED") || kwAt(0, "EXCLUSIVE")) {
      shared = makeLogical(pos, kwAt(0, "SHARED"));
      take();
    } else if (kwAt(0, "READONLY")) {
      take();
      readOnly = true;
    } else {
      failHere("expected ALIAS, NEW, SHARED, EXCLUSIVE, READONLY or VIA");
    }
  }
  expectEol();
  std::vector<ExprPtr> args;
  args.push_back(makeLogical(pos, isNew));
  args.push_back(std::move(driver));
  args.push_back(std::move(file));
  args.push_back(std::move(alias));
  args.push_back(std::move(shared));
  args.push_back(makeLogical(pos, readOnly));
  return callStmt(pos, "DBUSEAREA", std::move(args));
}

StmtPtr Parser::replaceCmd(const Token& first) {
  auto list = std::make_unique<Expr>(ExprKind::List, first.pos);
  do {
    ExprPtr target = postfix(primary());
    if (target->kind == ExprKind::Name) {
      auto field = std::make_unique<Expr>(ExprKind::Aliased, target->pos);
      field->alias = "FIELD";
      field->text = target->text;
      target = std::move(field);
    }
    if (target->kind != ExprKind::Aliased) fail(target->pos, "REPLACE needs a field name");
    if (!kwAt(0, "WITH")) failHere("expected WITH");
    Token with = take();
    auto assign = std::make_unique<Expr>(ExprKind::Assign, with.pos);
    assign->op = ":=";
    assign->kids.push_back(std::move(target));
    assign->kids.push_back(expr());
    list->kids.push_back(std::move(assign));
  } while (accept(","));
  expectEol();
  auto s = std::make_unique<Stmt>(StmtKind::Expr, first.pos);
  s->expr = std::move(list);
  return s;
}

StmtPtr Parser::indexCmd(const Token& first) {
  const SourcePos pos = first.pos;
  take();  // ON
  Token keyStart = peek();
  ExprPtr key = expr();
  std::string keyText = pp_.textBetween(keyStart, last_);
  ExprPtr tag = nil(pos), bag = nil(pos), forBlock, forText;
  bool unique = false, descending = false;
  while (!atEol()) {
    if (kwAt(0, "TAG")) {
      take();
      tag = nameOrExpr();
    } else if (kwAt(0, "TO")) {
      take();
      bag = nameOrExpr();
    } else if (kwAt(0, "FOR")) {
      take();
      Token forStart = peek();
      auto block = std::make_unique<Expr>(ExprKind::Block, forStart.pos);
      block->kids.push_back(expr());
      forText = makeString(forStart.pos, pp_.textBetween(forStart, last_));
      forBlock = std::move(block);
    } else if (kwAt(0, "UNIQUE")) {
      take();
      unique = true;
    } else if (kwAt(0, "DESCENDING")) {
      take();
      descending = true;
    } else if (kwAt(0, "ADDITIVE")) {
      take();
    } else {
      failHere("expected TAG, TO, FOR, UNIQUE or DESCENDING");
    }
  }
  expectEol();
  auto list = std::make_unique<Expr>(ExprKind::List, pos);
  if (forBlock || descending) {
    std::vector<ExprPtr> cond;
    cond.push_back(forText ? std::move(forText) : nil(pos));
    cond.push_back(forBlock ? std::move(forBlock) : nil(pos));
    for (int i = 0; i < 8; ++i) cond.push_back(nil(pos));
    cond.push_back(makeLogical(pos, descending));
    list->kids.push_back(makeCall(pos, "ORDCONDSET", std::move(cond)));
  }
  auto keyBlock = std::make_unique<Expr>(ExprKind::Block, key->pos);
  keyBlock->kids.push_back(std::move(key));
  std::vector<ExprPtr> args;
  args.push_back(std::move(bag));
  args.push_back(std::move(tag));
  args.push_back(makeString(pos, keyText));
  args.push_back(std::move(keyBlock));
  args.push_back(makeLogical(pos, unique));
  list->kids.push_back(makeCall(pos, "ORDCREATE", std::move(args)));
  auto s = std::make_unique<Stmt>(StmtKind::Expr, pos);
  s->expr = std::move(list);
  return s;
}

StmtPtr Parser::setCmd(const Token& first) {
  const SourcePos pos = first.pos;
  auto setCall = [&](int n, ExprPtr value) {
    std::vector<ExprPtr> args;
    args.push_back(number(pos, n));
    args.push_back(std::move(value));
    expectEol();
    return callStmt(pos, "SET", std::move(args));
  };
  auto onOff = [&]() -> ExprPtr {
    if (kwAt(0, "ON") || kwAt(0, "OFF")) {
      bool on = kwAt(0, "ON");
      take();
      return makeString(pos, on ? "ON" : "OFF");
    }
    if (peek().is("(")) {
      Token open = take();
      return parenthesised(open);
    }
    failHere("expected ON, OFF or (expression)");
  };
  auto to = [&]() {
    if (!kwAt(0, "TO")) failHere("expected TO");
    take();
  };
  if (kwAt(0, "ORDER")) {
    take();
    to();
    if (kwAt(0, "TAG")) {
      take();
      std::vector<ExprPtr> args;
      args.push_back(nameOrExpr());
      expectEol();
      return callStmt(pos, "ORDSETFOCUS", std::move(args));
    }
    std::vector<ExprPtr> args;
    args.push_back(atEol() ? number(pos, 0) : expr());
    expectEol();
    return callStmt(pos, "DBSETORDER", std::move(args));
  }
  if (kwAt(0, "INDEX")) {
    take();
    to();
    auto list = std::make_unique<Expr>(ExprKind::List, pos);
    list->kids.push_back(makeCall(pos, "DBCLEARINDEX", {}));
    if (!atEol()) do {
        std::vector<ExprPtr> args;
        args.push_back(nameOrExpr());
        list->kids.push_back(makeCall(pos, "ORDLISTADD", std::move(args)));
      } while (accept(","));
    expectEol();
    auto s = std::make_unique<Stmt>(StmtKind::Expr, pos);
    s->expr = std::move(list);
    return s;
  }
  if (kwAt(0, "CENTURY")) {
    take();
    std::vector<ExprPtr> args;
    args.push_back(onOff());
    expectEol();
    return callStmt(pos, "__SETCENTURY", std::move(args));
  }
  for (const SetSwitch& sw : kSwitches) {
    if (!kwAt(0, sw.word)) continue;
    take();
    return setCall(sw.number, onOff());
  }
  if (kwAt(0, "DATE")) {
    take();
    if (kwAt(0, "FORMAT")) take();
    if (kwAt(0, "TO")) take();
    return setCall(4, expr());
  }
  static const SetSwitch kValues[] = {{"DECIMALS", 3}, {"EPOCH", 5}, {"PATH", 6}, {"DEFAULT", 7}};
  for (const SetSwitch& v : kValues) {
    if (!kwAt(0, v.word)) continue;
    take();
    to();
    return setCall(v.number, expr());
  }
  failHere("unknown SET command");
}

}  // namespace pv

// The parser: token handling and expressions.
//
// expr       -> assignment
// assignment -> binary(0) [ (":=" | "+=" | "-=" | "*=" | "/=" | "%=" | "^=" | "**=") assignment ]
// binary(n)  -> binary(n+1) { op(n) binary(n+1) }     n: .OR. / .AND. / relational /
//               & | ^^ / << >> / + - / * / % / ^ **   (all left-associative)
// prefix     -> ("++" | "--" | "-" | "+" | "!" | ".NOT." | "@") prefix | postfix
// postfix    -> primary { "(" args ")" | "[" expr {"," expr} "]" | ":" name ["(" args ")"]
//                         | "->" (name | "(" list ")") | "++" | "--" }
#include <cstring>

#include "compiler/parser.h"

namespace pv {


ExprPtr makeString(const SourcePos& pos, const std::string& text) {
  auto e = std::make_unique<Expr>(ExprKind::String, pos);
  e->text = text;
  return e;
}

ExprPtr makeLogical(const SourcePos& pos, bool value) {
  auto e = std::make_unique<Expr>(ExprKind::Logical, pos);
  e->ival = value ? 1 : 0;
  return e;
}

ExprPtr makeCall(const SourcePos& pos, const std::string& fn, std::vector<ExprPtr> args) {
  auto call = std::make_unique<Expr>(ExprKind::Call, pos);
  auto name = std::make_unique<Expr>(ExprKind::Name, pos);
  name->text = fn;
  call->kids.push_back(std::move(name));
  for (ExprPtr& a : args) call->kids.push_back(std::move(a));
  return call;
}

ExprPtr cloneExpr(const Expr& e) {
  auto copy = std::make_unique<Expr>(e.kind, e.pos);
  copy->text = e.text;
  copy->op = e.op;
  copy->alias = e.alias;
  copy->isInt = e.isInt;
  copy->ival = e.ival;
  copy->dval = e.dval;
  copy->width = e.width;
  copy->decimals = e.decimals;
  copy->params = e.params;
  for (const ExprPtr& k : e.kids) copy->kids.push_back(k ? cloneExpr(*k) : nullptr);
  return copy;
}

const Token& Parser::peek(size_t ahead) {
  while (ahead_.size() <= ahead) ahead_.push_back(pp_.next());
  return ahead_[ahead];
}

Token Parser::take() {
  peek();
  last_ = ahead_.front();
  if (last_.kind != Tok::End) ahead_.pop_front();
  return last_;
}

bool Parser::accept(const char* op) {
  if (!peek().is(op)) return false;
  take();
  return true;
}

void Parser::fail(const SourcePos& pos, const std::string& message) {
  diags_.error(pos, message);
  throw Error{};
}

void Parser::failHere(const std::string& message) {
  const Token& t = peek();
  std::string found = t.kind == Tok::Eol || t.kind == Tok::End ? "end of line"
                      : t.kind == Tok::String                  ? "a string"
                                                               : "'" + t.text + "'";
  fail(t.pos, message + ", found " + found);
}

void Parser::expect(const char* op, const char* what) {
  if (!accept(op)) failHere(std::string("expected '") + op + "' " + what);
}

std::string Parser::expectIdent(const char* what) {
  if (peek().kind != Tok::Ident) failHere(std::string("expected ") + what);
  return take().text;
}

void Parser::expectEol() {
  if (!atEol()) failHere("expected end of statement");
  take();
}

void Parser::skipLine() {
  while (!atEol()) take();
  take();
}

bool Parser::kw(const Token& t, const char* word) {
  if (t.kind != Tok::Ident) return false;
  if (t.upper == word) return true;
  // Whole keywords that are also the start of longer ones never stand for those.
  static const char* const kWhole[] = {"ELSE", "EXIT", "CASE", "NEXT", "LOOP", "CLASS", "INIT"};
  for (const char* w : kWhole)
    if (t.upper == w) return false;
  return t.upper.size() >= 4 && t.upper.size() < std::strlen(word) &&
         std::strncmp(word, t.upper.c_str(), t.upper.size()) == 0;
}

ExprPtr Parser::parseExpressionOnly() {
  try {
    while (peek().kind == Tok::Eol) take();
    ExprPtr e = expr();
    while (peek().kind == Tok::Eol) take();
    if (peek().kind != Tok::End) failHere("unexpected text after the expression");
    return e;
  } catch (const Error&) {
    return nullptr;
  }
}

ExprPtr Parser::expr() { return assignment(); }

bool Parser::isLvalue(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Name:
    case ExprKind::Aliased:
    case ExprKind::Index:
    case ExprKind::Macro:
      return true;
    case ExprKind::Send:
      return e.kids.size() == 1;
    default:
      return false;
  }
}

void Parser::checkLvalue(const Expr& e, const char* what) {
  if (!isLvalue(e)) fail(e.pos, std::string("invalid target of ") + what);
}

ExprPtr Parser::assignment() {
  ExprPtr left = binary(0);
  static const char* const kAssign[] = {":=", "+=", "-=", "*=", "/=", "%=", "^=", "**="};
  for (const char* op : kAssign) {
    if (!peek().is(op)) continue;
    Token t = take();
    checkLvalue(*left, op);
    auto e = std::make_unique<Expr>(ExprKind::Assign, t.pos);
    e->op = std::strcmp(op, "**=") == 0 ? "^=" : op;
    e->kids.push_back(std::move(left));
    e->kids.push_back(assignment());
    return e;
  }
  return left;
}

namespace {

const std::vector<std::vector<const char*>> kLevels = {
    {".OR."},
    {".AND."},
    {"=", "==", "!=", "<>", "#", "<", "<=", ">", ">=", "$"},
    {"&", "|", "^^"},
    {"<<", ">>"},
    {"+", "-"},
    {"*", "/", "%"},
    {"^", "**"},
};

}  // namespace

ExprPtr Parser::binary(int level) {
  if (level == static_cast<int>(kLevels.size())) return prefix();
  ExprPtr left = binary(level + 1);
  for (;;) {
    const Token& t = peek();
    const char* found = nullptr;
    if (t.kind == Tok::Op)
      for (const char* op : kLevels[level])
        if (t.text == op) found = op;
    if (!found) return left;
    Token opTok = take();
    auto e = std::make_unique<Expr>(ExprKind::Binary, opTok.pos);
    e->op = std::strcmp(found, "**") == 0 ? "^" : std::strcmp(found, "<>") == 0 || std::strcmp(found, "#") == 0 ? "!=" : found;
    e->kids.push_back(std::move(left));
    e->kids.push_back(binary(level + 1));
    left = std::move(e);
  }
}

ExprPtr Parser::prefix() {
  const Token& t = peek();
  DepthGuard guard(*this, t.pos);
  if (t.is("++") || t.is("--")) {
    Token op = take();
    ExprPtr target = prefix();
    checkLvalue(*target, op.text.c_str());
    auto e = std::make_unique<Expr>(op.text == "++" ? ExprKind::PreInc : ExprKind::PreDec, op.pos);
    e->kids.push_back(std::move(target));
    return e;
  }
  if (t.is("-") || t.is("+") || t.is("!") || t.is(".NOT.")) {
    Token op = take();
    ExprPtr operand = prefix();
    if (op.text == "+") return operand;
    if (op.text == "-" && operand->kind == ExprKind::Number) {  // fold negative literals
      if (operand->isInt && operand->ival != INT64_MIN) operand->ival = -operand->ival;
      operand->dval = -operand->dval;
      if (!operand->isInt && operand->width < 255) ++operand->width;  // room for the sign
      operand->pos = op.pos;
      return operand;
    }
    auto e = std::make_unique<Expr>(ExprKind::Unary, op.pos);
    e->op.push_back(op.text == "-" ? '-' : '!');
    e->kids.push_back(std::move(operand));
    return e;
  }
  if (t.is("@")) {
    Token at = take();
    ExprPtr target = prefix();
    if (target->kind == ExprKind::Call && target->kids.size() == 1 &&
        target->kids[0]->kind == ExprKind::Name) {
      auto e = std::make_unique<Expr>(ExprKind::FuncRef, at.pos);
      e->text = target->kids[0]->text;
      return e;
    }
    checkLvalue(*target, "@");
    auto e = std::make_unique<Expr>(ExprKind::Ref, at.pos);
    e->kids.push_back(std::move(target));
    return e;
  }
  return postfix(primary());
}

void Parser::arguments(Expr& call, const char* close) {
  if (accept(close)) return;
  for (;;) {
    if (peek().is(",") || peek().is(close)) {
      call.kids.push_back(nullptr);  // omitted argument
    } else {
      call.kids.push_back(expr());
    }
    if (accept(close)) return;
    if (!accept(",")) failHere(std::string("expected ',' or '") + close + "' after an argument");
  }
}

ExprPtr Parser::postfix(ExprPtr e) {
  for (;;) {
    const Token& t = peek();
    if (t.is("(") && (e->kind == ExprKind::Name || e->kind == ExprKind::Macro)) {
      Token open = take();
      auto call = std::make_unique<Expr>(ExprKind::Call, e->pos);
      call->kids.push_back(std::move(e));
      arguments(*call, ")");
      e = std::move(call);
    } else if (t.is("[")) {
      take();
      do {
        auto idx = std::make_unique<Expr>(ExprKind::Index, e->pos);
        idx->kids.push_back(std::move(e));
        idx->kids.push_back(expr());
        e = std::move(idx);
      } while (accept(","));
      expect("]", "after the index");
    } else if (t.is(":")) {
      Token colon = take();
      auto send = std::make_unique<Expr>(ExprKind::Send, colon.pos);
      send->kids.push_back(std::move(e));
      send->text = expectIdent("a message name after ':'");
      if (accept("(")) arguments(*send, ")");
      e = std::move(send);
    } else if (t.is("->")) {
      Token arrow = take();
      e = aliased(std::move(e), arrow);
    } else if (t.is("++") || t.is("--")) {
      if (!isLvalue(*e)) return e;
      Token op = take();
      auto inc = std::make_unique<Expr>(op.text == "++" ? ExprKind::PostInc : ExprKind::PostDec,
                                        op.pos);
      inc->kids.push_back(std::move(e));
      return inc;
    } else {
      return e;
    }
  }
}

ExprPtr Parser::aliased(ExprPtr left, const Token& arrow) {
  auto e = std::make_unique<Expr>(ExprKind::Aliased, arrow.pos);
  if (left->kind == ExprKind::Aliased && left->kids.empty() &&
      (left->alias == "FIELD" || left->alias == "_FIELD")) {
    e->alias = upperName(left->text);  // FIELD->alias->name (REPLACE alias->name WITH ...)
  } else if (left->kind == ExprKind::Name) {
    e->alias = upperName(left->text);
  } else if (left->kind == ExprKind::List || left->kind == ExprKind::Number ||
             left->kind == ExprKind::Macro || left->kind == ExprKind::String ||
             left->kind == ExprKind::Call || left->kind == ExprKind::Binary) {
    e->kids.push_back(std::move(left));
  } else {
    fail(arrow.pos, "invalid alias before '->'");
  }
  if (peek().is("(")) {
    Token open = take();
    e->kind = ExprKind::AliasedExpr;
    e->kids.push_back(parenthesised(open));
    return e;
  }
  e->text = expectIdent("a name after '->'");
  return e;
}

ExprPtr Parser::parenthesised(const Token& open) {
  auto list = std::make_unique<Expr>(ExprKind::List, open.pos);
  do {
    list->kids.push_back(expr());
  } while (accept(","));
  expect(")", "to close '('");
  return list;
}

ExprPtr Parser::primary() {
  if (atEol()) failHere("expression expected");
  Token t = take();
  switch (t.kind) {
    case Tok::Number: {
      auto e = std::make_unique<Expr>(ExprKind::Number, t.pos);
      e->isInt = t.isInt;
      e->ival = t.ival;
      e->dval = t.isInt ? static_cast<double>(t.ival) : t.dval;
      e->width = t.width;
      e->decimals = t.decimals;
      return e;
    }
    case Tok::String:
      return makeString(t.pos, t.text);
    case Tok::Date: {
      auto e = std::make_unique<Expr>(ExprKind::Date, t.pos);
      e->ival = t.ival;
      return e;
    }
    case Tok::Logical:
      return makeLogical(t.pos, t.ival != 0);
    case Tok::Ident: {
      if (t.upper == "NIL") return std::make_unique<Expr>(ExprKind::Nil, t.pos);
      if (t.upper == "SELF") return std::make_unique<Expr>(ExprKind::Self, t.pos);
      if (t.upper == "SUPER" && peek().is(":")) return std::make_unique<Expr>(ExprKind::Super, t.pos);
      if ((t.upper == "IIF" || t.upper == "IF") && peek().is("(")) {
        take();
        auto e = std::make_unique<Expr>(ExprKind::IIf, t.pos);
        arguments(*e, ")");
        if (e->kids.size() != 3) fail(t.pos, "IIF needs three arguments");
        for (ExprPtr& k : e->kids)
          if (!k) k = std::make_unique<Expr>(ExprKind::Nil, t.pos);
        return e;
      }
      auto e = std::make_unique<Expr>(ExprKind::Name, t.pos);
      e->text = t.text;
      return e;
    }
    case Tok::Op:
      break;
    default:
      fail(t.pos, "expression expected");
  }
  if (t.text == "(") return parenthesised(t);
  if (t.text == "{") return braces(t);
  if (t.text == "&") {
    auto e = std::make_unique<Expr>(ExprKind::Macro, t.pos);
    if (peek().kind == Tok::Ident && !peek().spaceBefore) {
      e->text = take().text;
    } else if (peek().is("(")) {
      Token open = take();
      e->kids.push_back(parenthesised(open));
    } else {
      fail(t.pos, "name or '(' expected after '&'");
    }
    return e;
  }
  if (t.text == "::") {
    auto send = std::make_unique<Expr>(ExprKind::Send, t.pos);
    send->kids.push_back(std::make_unique<Expr>(ExprKind::Self, t.pos));
    send->text = expectIdent("a message name after '::'");
    if (accept("(")) arguments(*send, ")");
    return send;
  }
  if (t.text == ":" && withDepth_ > 0) {
    auto send = std::make_unique<Expr>(ExprKind::Send, t.pos);
    send->kids.push_back(nullptr);
    send->text = expectIdent("a message name after ':'");
    if (accept("(")) arguments(*send, ")");
    return send;
  }
  fail(t.pos, t.text == ":" ? "':' outside WITH OBJECT" : "expression expected, found '" + t.text + "'");
}

ExprPtr Parser::braces(const Token& open) {
  if (peek().is("|")) return block(open);
  if (accept("}")) return std::make_unique<Expr>(ExprKind::Array, open.pos);
  if (peek().is("=>")) {
    take();
    expect("}", "to close an empty hash");
    return std::make_unique<Expr>(ExprKind::Hash, open.pos);
  }
  auto e = std::make_unique<Expr>(ExprKind::Array, open.pos);
  ExprPtr first = expr();
  if (accept("=>")) {
    e->kind = ExprKind::Hash;
    e->kids.push_back(std::move(first));
    e->kids.push_back(expr());
    while (accept(",")) {
      e->kids.push_back(expr());
      expect("=>", "between hash key and value");
      e->kids.push_back(expr());
    }
    expect("}", "to close the hash");
    return e;
  }
  e->kids.push_back(std::move(first));
  while (accept(",")) {
    if (peek().is(",") || peek().is("}"))
      e->kids.push_back(std::make_unique<Expr>(ExprKind::Nil, peek().pos));
    else
      e->kids.push_back(expr());
  }
  expect("}", "to close the array");
  return e;
}

ExprPtr Parser::block(const Token& open) {
  take();  // "|"
  auto e = std::make_unique<Expr>(ExprKind::Block, open.pos);
  if (!accept("|")) {
    do {
      e->params.push_back(expectIdent("a code block parameter"));
    } while (accept(","));
    expect("|", "after the code block parameters");
  }
  if (peek().is("}")) {
    e->kids.push_back(std::make_unique<Expr>(ExprKind::Nil, open.pos));
  } else {
    do {
      e->kids.push_back(expr());
    } while (accept(","));
  }
  expect("}", "to close the code block");
  return e;
}

// An expression statement: a top-level "=" assigns, as in `x = 5`.
ExprPtr Parser::statementExpr() {
  ExprPtr e = expr();
  if (e->kind == ExprKind::Binary && e->op == "=" && isLvalue(*e->kids[0])) {
    e->kind = ExprKind::Assign;
    e->op = ":=";
  }
  return e;
}

}  // namespace pv

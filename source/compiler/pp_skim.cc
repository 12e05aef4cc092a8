// Finding where an expression ends in a statement's tokens (for the match markers of rules), and
// turning tokens back into text (for the stringify result markers).
#include <cstring>

#include "compiler/pp_rules.h"

namespace pv {

namespace {

bool isOneOf(const Token& t, std::initializer_list<const char*> ops) {
  if (t.kind != Tok::Op) return false;
  for (const char* op : ops)
    if (t.text == op) return true;
  return false;
}

bool isBinary(const Token& t) {
  return isOneOf(t, {".OR.", ".AND.", "=", "==", "!=", "<>", "#", "<", "<=", ">", ">=", "$", "&",
                     "|", "^^", "<<", ">>", "+", "-", "*", "/", "%", "^", "**", ":=", "+=",
                     "-=", "*=", "/=", "%=", "^=", "**="});
}

bool isPrefix(const Token& t) { return isOneOf(t, {"++", "--", "-", "+", "!", ".NOT.", "@"}); }

// The index after the bracket closing the one at `i`, or `end` when it is not closed.
size_t skipBalanced(const std::vector<Token>& toks, size_t i, size_t end) {
  int depth = 0;
  for (; i < end; ++i) {
    if (isOneOf(toks[i], {"(", "[", "{"})) ++depth;
    if (isOneOf(toks[i], {")", "]", "}"}) && --depth == 0) return i + 1;
  }
  return end;
}

// An operand with its prefix operators and postfix parts; returns `i` when there is none.
size_t skimOperand(const std::vector<Token>& toks, size_t i, size_t end) {
  size_t start = i;
  while (i < end && isPrefix(toks[i])) ++i;
  if (i >= end) return start;
  const Token& t = toks[i];
  if (t.kind == Tok::Number || t.kind == Tok::String || t.kind == Tok::Date ||
      t.kind == Tok::Logical || t.kind == Tok::Ident) {
    ++i;
  } else if (isOneOf(t, {"(", "{"})) {
    if (t.is("(") && i + 1 < end && toks[i + 1].is(")")) return start;  // "()" is no operand
    i = skipBalanced(toks, i, end);
  } else if (t.is("&")) {
    ++i;
    if (i < end && toks[i].is("(")) {
      i = skipBalanced(toks, i, end);
    } else if (i < end && toks[i].kind == Tok::Ident) {
      ++i;
      if (i < end && toks[i].is(".") && !toks[i].spaceBefore) ++i;  // &name.
    } else {
      return start;
    }
  } else if (t.is("::") && i + 1 < end && toks[i + 1].kind == Tok::Ident) {
    i += 2;
  } else {
    return start;
  }
  for (;;) {
    if (i >= end) return i;
    const Token& p = toks[i];
    if (isOneOf(p, {"(", "["})) {
      i = skipBalanced(toks, i, end);
    } else if ((p.is(":") || p.is("->")) && i + 1 < end &&
               (toks[i + 1].kind == Tok::Ident || toks[i + 1].is("("))) {
      i = toks[i + 1].is("(") ? skipBalanced(toks, i + 1, end) : i + 2;
    } else if (isOneOf(p, {"++", "--"})) {
      ++i;
    } else {
      return i;
    }
  }
}

bool wordy(const Token& t) {
  return t.kind == Tok::Ident || t.kind == Tok::Number || t.kind == Tok::Date ||
         t.kind == Tok::Logical || (t.kind == Tok::Op && t.text.size() > 2 && t.text[0] == '.');
}

std::string quoted(const std::string& s) {
  if (s.find('"') == std::string::npos) return "\"" + s + "\"";
  if (s.find('\'') == std::string::npos) return "'" + s + "'";
  return "[" + s + "]";
}

}  // namespace

size_t skimExpression(const std::vector<Token>& toks, size_t from, size_t end) {
  size_t i = skimOperand(toks, from, end);
  if (i == from) return from;
  while (i < end && isBinary(toks[i])) {
    size_t next = skimOperand(toks, i + 1, end);
    if (next == i + 1) return i;  // a trailing operator is not part of the expression
    i = next;
  }
  return i;
}

std::string tokensText(const std::vector<Token>& toks) {
  std::string text;
  for (size_t i = 0; i < toks.size(); ++i) {
    const Token& t = toks[i];
    if (t.kind == Tok::Eol) {
      text += " ;";
      continue;
    }
    if (i > 0 && (t.spaceBefore || (wordy(t) && wordy(toks[i - 1])))) text += ' ';
    text += t.kind == Tok::String ? quoted(t.text) : t.text;
  }
  return text;
}

}  // namespace pv

// The lexer: turns one source text into tokens. It knows comments, line continuations with ';'
// at the end of a line, the three string delimiters, dot-operators and date literals.
#pragma once

#include <string>

#include "compiler/token.h"

namespace pv {

class Lexer {
 public:
  // `text` must outlive the lexer. Errors (unterminated strings, stray bytes) go to `diags`.
  Lexer(const std::string& text, int file, Diagnostics& diags);

  Token next();
  // The rest of the current line from the current position, raw (used for #error-like
  // directives and to skip a line); the line end itself is not consumed.
  std::string restOfLine();
  // Rule mode, for the definitions of commands and translations: '[' is always a bracket (an
  // optional clause, never a string), '\\' is a token (the escape of a rule), and a ';' between
  // statements of a result does not start a new source line.
  void setRuleMode(bool on) { ruleMode_ = on; }

 private:
  char peek(size_t ahead = 0) const;
  void skipBlanksAndComments();
  bool atContinuation() const;
  Token make(Tok kind, size_t start);
  Token lexNumber(size_t start);
  Token lexString(size_t start, char close);
  Token lexIdent(size_t start);
  Token lexDot(size_t start);
  Token lexOp(size_t start);
  void error(const std::string& message);

  const std::string& src_;
  int file_;
  Diagnostics& diags_;
  size_t pos_ = 0;
  int line_ = 1;
  size_t lineStart_ = 0;
  bool bol_ = true;
  bool space_ = false;
  bool ruleMode_ = false;
  Tok lastKind_ = Tok::Eol;
  std::string lastText_;
};

// Julian day number of a calendar date, or -1 if the date does not exist.
int64_t julianDay(int year, int month, int day);

}  // namespace pv

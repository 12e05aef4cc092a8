// Tokens of the language, as the lexer makes them and the preprocessor passes them on.
#pragma once

#include <cctype>
#include <cstdint>
#include <string>

#include "compiler/diagnostics.h"

namespace pv {

enum class Tok : uint8_t {
  End,      // end of input
  Eol,      // end of a statement: a line end or a ';' that is not a continuation
  Ident,    // name; `upper` holds it upper-cased
  Number,   // numeric literal
  String,   // text literal; `text` holds the value without delimiters
  Date,     // 0dYYYYMMDD; `ival` holds the Julian day (0 for an empty date)
  Logical,  // .T. .F. .Y. .N.; `ival` 1 or 0
  Op,       // operator or punctuation; `text` holds it (".AND." etc. upper-cased)
};

// Names are case-insensitive: symbols, keywords and aliases are compared upper-cased.
inline std::string upperName(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct Token {
  Tok kind = Tok::End;
  std::string text;   // the token as written (string value for strings)
  std::string upper;  // identifiers and dot-operators, upper-cased
  SourcePos pos;
  uint32_t offset = 0;  // byte offset of the token in its file
  uint32_t length = 0;  // bytes of source the token spans
  bool bol = false;     // first token of a source line
  bool spaceBefore = false;
  bool unmatchedCommand = false;  // begins a statement that no command of its keyword matched
  // Numbers: integer or double value, with the display width and decimals the literal implies.
  bool isInt = true;
  int64_t ival = 0;
  double dval = 0;
  uint8_t width = 0;
  uint8_t decimals = 0;

  bool is(const char* op) const { return kind == Tok::Op && text == op; }
  bool isIdent(const char* name) const { return kind == Tok::Ident && upper == name; }
};

}  // namespace pv

// The definitions a header leaves behind (commands, translations and #define macros) kept as
// bytes: the standard header std.ch is read once, when the compiler is built, and every
// compilation restores its definitions from the bytes instead of lexing and parsing it again.
//
// Layout. An integer is an unsigned LEB128 varint (7 bits a byte, low bits first, the high bit
// set on every byte but the last); a signed one is zigzag-coded first ((n << 1) ^ (n >> 63)).
// A string is its byte count (integer) followed by its bytes. A list is its count (integer)
// followed by its elements.
//   header       the 4 bytes "PVPP", then 1 byte: the layout version (1)
//   rules        list of Rule: every rule list of the set, each from its oldest rule to its
//                newest, so that adding them in turn rebuilds the set
//   macros       list of Macro
// Rule:          1 byte flags (1 a command, 2 an x form: whole keywords only); markers (list of
//                string); key (string); signature (string); pattern (list of PatternItem);
//                result (list of ResultItem)
// PatternItem:   1 byte type (0 literal, 1 marker, 2 optional clause); Token; marker (signed);
//                1 byte MatchKind; words (list of string); group (list of PatternItem)
// ResultItem:    1 byte type (as above); Token; marker (signed); 1 byte ResultKind; group (list
//                of ResultItem)
// Macro:         name (string); 1 byte flags (1 function-like); params (list of string); body
//                (list of Token)
// Token:         1 byte Tok kind; 1 byte flags (1 first of its line, 2 blank before it, 4 begins
//                an unmatched command, 8 an integer number); text (string); upper (string);
//                line, column, offset, length (integers); then for Number, Date and Logical
//                tokens ival (signed), and for Number tokens dval (8 bytes, the IEEE 754 double
//                little-endian), 1 byte width and 1 byte decimals. Tokens carry no file: they
//                are given the one the definitions are restored into.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/pp_rules.h"

namespace pv {

// A #define macro: object-like, or function-like with its parameter names.
struct MacroDefinition {
  bool functionLike = false;
  std::vector<std::string> params;
  std::vector<Token> body;
};
using MacroTable = std::map<std::string, MacroDefinition>;

std::string saveDefinitions(const RuleSet& rules, const MacroTable& macros);

// Adds the rules and macros of `bytes` (a macro replaces one of the same name), their tokens
// placed in `file`. False, with nothing added, when the bytes are not a whole snapshot of this
// layout.
bool loadDefinitions(std::string_view bytes, int file, RuleSet& rules, MacroTable& macros);

// The snapshot of the built-in std.ch, made at build time; empty in the tool that makes it.
std::string_view builtInStdSnapshot();

}  // namespace pv

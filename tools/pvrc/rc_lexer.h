// Tokens of a resource script: names, numbers, quoted texts and punctuation, with line numbers;
// comments are skipped and preprocessor lines are handed over whole.
#pragma once

#include <string>
#include <vector>

namespace pv::rc {

struct Token {
  enum Kind { Name, Number, Text, Punct, Directive, End };
  Kind kind = End;
  std::string text;  // names, punctuation, directive lines; quoted text decoded to code page 1252
  long value = 0;    // numbers
  int line = 0;
};

// Splits a script into tokens. Returns false with `error` set ("line N: ...") on a bad token.
bool tokenize(const std::string& source, std::vector<Token>& out, std::string& error);

}  // namespace pv::rc

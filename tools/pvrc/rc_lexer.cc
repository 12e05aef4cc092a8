// The resource script tokenizer. Quoted texts follow the resource compiler's rules: "" is a
// quote, and \n, \t, \\ and \" are escapes. The script may be UTF-8 or code page 1252.
#include "rc_lexer.h"

#include <cctype>
#include <cstdlib>

#include "win32/text_codec.h"

namespace pv::rc {

namespace {

bool nameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '#'; }
bool namePart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#' || c == '.'; }

}  // namespace

bool tokenize(const std::string& raw, std::vector<Token>& out, std::string& error) {
  std::string s = raw;
  int line = 1;
  size_t i = 0;
  bool lineStart = true;
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
  };
  while (i < s.size()) {
    char c = s[i];
    if (c == '\n') {
      ++line, ++i, lineStart = true;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
      while (i < s.size() && s[i] != '\n') ++i;
      continue;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      size_t end = s.find("*/", i + 2);
      if (end == std::string::npos) return fail("comment not closed");
      for (size_t k = i; k < end; ++k) line += s[k] == '\n';
      i = end + 2;
      continue;
    }
    Token t;
    t.line = line;
    if (c == '#' && lineStart) {
      size_t end = s.find('\n', i);
      if (end == std::string::npos) end = s.size();
      t.kind = Token::Directive;
      t.text = s.substr(i, end - i);
      i = end;
    } else if (c == '"') {
      t.kind = Token::Text;
      std::string utf8;
      ++i;
      for (;;) {
        if (i >= s.size() || s[i] == '\n') return fail("text not closed");
        if (s[i] == '"') {
          if (i + 1 < s.size() && s[i + 1] == '"') {
            utf8 += '"', i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (s[i] == '\\' && i + 1 < s.size()) {
          char e = s[i + 1];
          utf8 += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'a' ? '\b' : e;
          i += 2;
          continue;
        }
        utf8 += s[i++];
      }
      t.text = pv::win32::utf8ToAnsi(utf8);
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      t.kind = Token::Number;
      char* end = nullptr;
      t.value = std::strtol(s.c_str() + i, &end, 0);
      i = static_cast<size_t>(end - s.c_str());
      while (i < s.size() && (s[i] == 'L' || s[i] == 'l' || s[i] == 'U' || s[i] == 'u')) ++i;
      if (i < s.size() && namePart(s[i])) return fail("bad number");
    } else if (nameStart(c)) {
      t.kind = Token::Name;
      while (i < s.size() && namePart(s[i])) t.text += s[i++];
    } else if (c == ',' || c == '|' || c == '+' || c == '-' || c == '(' || c == ')' || c == '{' || c == '}' ||
               c == '~' || c == '&') {
      t.kind = Token::Punct;
      t.text = std::string(1, c);
      ++i;
    } else {
      return fail(std::string("unexpected character '") + c + "'");
    }
    lineStart = false;
    out.push_back(t);
  }
  Token end;
  end.line = line;
  out.push_back(end);
  return true;
}

}  // namespace pv::rc

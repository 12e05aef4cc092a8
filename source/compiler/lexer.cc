// The lexer.
#include "compiler/lexer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pv {

namespace {

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }


// Operators, longest first so that the first match is the longest.
const char* const kOperators[] = {
    "**=", ":=", "=>", "+=", "-=", "*=", "/=", "%=", "^=", "==", "!=", "<>", "<=", ">=", "<<", ">>",
    "->", "??", "++", "--", "**", "^^", "::", "+", "-", "*", "/", "%", "^", "=", "<", ">", "#",
    "$",  "?", "!",  "&",  "|",  "@",  "(",  ")",  "[",  "]",  "{",  "}",  ",",  ":", "."};

const char* const kDotWords[] = {"AND", "OR", "NOT", "T", "F", "Y", "N"};

}  // namespace

int64_t julianDay(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return -1;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int limit = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  if (day > limit) return -1;
  // Fliegel and Van Flandern's conversion from the Gregorian calendar.
  int64_t a = (14 - month) / 12;
  int64_t y = year + 4800 - a;
  int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

Lexer::Lexer(const std::string& text, int file, Diagnostics& diags)
    : src_(text), file_(file), diags_(diags) {
  if (src_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = lineStart_ = 3;  // UTF-8 byte-order mark
}

char Lexer::peek(size_t ahead) const {
  return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0';
}

void Lexer::error(const std::string& message) {
  diags_.error({file_, line_, static_cast<int>(pos_ - lineStart_) + 1}, message);
}

std::string Lexer::restOfLine() {
  size_t start = pos_;
  while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
  return src_.substr(start, pos_ - start);
}

// True when only blanks or a line comment follow on this line (a ';' there continues the line).
bool Lexer::atContinuation() const {
  size_t p = pos_ + 1;
  while (p < src_.size() && (src_[p] == ' ' || src_[p] == '\t' || src_[p] == '\r')) ++p;
  if (p >= src_.size() || src_[p] == '\n') return true;
  if (p + 1 < src_.size() && ((src_[p] == '/' && src_[p + 1] == '/') ||
                              (src_[p] == '&' && src_[p + 1] == '&')))
    return true;
  return false;
}

void Lexer::skipBlanksAndComments() {
  for (;;) {
    char c = peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\x1A') {  // 1A: DOS end mark
      ++pos_;
      space_ = true;
    } else if ((c == '/' && peek(1) == '/') || (c == '&' && peek(1) == '&') ||
               (c == '*' && bol_) ||
               (bol_ && std::strchr("nN", c) && upperName(src_.substr(pos_, 4)) == "NOTE" &&
                !isIdentChar(peek(4)))) {
      while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
    } else if (c == '/' && peek(1) == '*') {
      SourcePos start{file_, line_, static_cast<int>(pos_ - lineStart_) + 1};
      pos_ += 2;
      while (pos_ < src_.size() && !(src_[pos_] == '*' && peek(1) == '/')) {
        if (src_[pos_] == '\n') {
          ++line_;
          lineStart_ = pos_ + 1;
        }
        ++pos_;
      }
      if (pos_ >= src_.size()) {
        diags_.error(start, "unterminated comment");
      } else {
        pos_ += 2;
      }
      space_ = true;
    } else {
      return;
    }
  }
}

Token Lexer::make(Tok kind, size_t start) {
  Token t;
  t.kind = kind;
  t.pos = {file_, line_, static_cast<int>(start - lineStart_) + 1};
  t.offset = static_cast<uint32_t>(start);
  t.length = static_cast<uint32_t>(pos_ - start);
  t.bol = bol_;
  t.spaceBefore = space_;
  if (kind != Tok::String) t.text = src_.substr(start, pos_ - start);
  return t;
}

Token Lexer::next() {
  for (;;) {
    skipBlanksAndComments();
    size_t start = pos_;
    if (pos_ >= src_.size()) {
      Token t = make(lastKind_ == Tok::Eol ? Tok::End : Tok::Eol, start);
      lastKind_ = Tok::Eol;
      bol_ = true;
      return t;
    }
    char c = src_[pos_];
    if (c == '\n' || (c == ';' && !atContinuation())) {
      ++pos_;
      Token t = make(Tok::Eol, start);
      if (c == '\n') {
        ++line_;
        lineStart_ = pos_;
      }
      bool repeat = lastKind_ == Tok::Eol;
      lastKind_ = Tok::Eol;
      bol_ = c == '\n' || bol_;
      space_ = false;
      if (c == ';' && !ruleMode_) bol_ = true;  // a statement after ';' starts like a new line
      if (repeat) continue;
      return t;
    }
    if (c == ';') {  // continuation: the statement goes on on the next line
      while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
      if (pos_ < src_.size()) {
        ++pos_;
        ++line_;
        lineStart_ = pos_;
      }
      space_ = true;
      continue;
    }
    Token t;
    if (isDigit(c) || (c == '.' && isDigit(peek(1)))) {
      t = lexNumber(start);
    } else if (c == '"' || c == '\'') {
      t = lexString(start, c);
    } else if (c == '[' && !ruleMode_ && lastKind_ != Tok::Ident && lastKind_ != Tok::Number &&
               lastKind_ != Tok::String && lastKind_ != Tok::Date && lastKind_ != Tok::Logical &&
               !(lastKind_ == Tok::Op && (lastText_ == ")" || lastText_ == "]" ||
                                          lastText_ == "}"))) {
      t = lexString(start, ']');
    } else if (isIdentStart(c)) {
      t = lexIdent(start);
    } else if (c == '.') {
      t = lexDot(start);
    } else if (c == '\\' && ruleMode_) {
      ++pos_;
      t = make(Tok::Op, start);
    } else {
      t = lexOp(start);
      if (t.kind == Tok::End) continue;  // a stray byte, already reported
    }
    bol_ = false;
    space_ = false;
    lastKind_ = t.kind;
    lastText_ = t.text;
    return t;
  }
}

Token Lexer::lexNumber(size_t start) {
  if (src_[pos_] == '0' && (peek(1) == 'x' || peek(1) == 'X') && std::isxdigit(peek(2))) {
    pos_ += 2;
    uint64_t v = 0;
    bool overflow = false;
    while (std::isxdigit(static_cast<unsigned char>(peek()))) {
      if (v >> 60) overflow = true;
      char h = peek();
      v = v * 16 + (isDigit(h) ? h - '0' : (std::toupper(h) - 'A' + 10));
      ++pos_;
    }
    Token t = make(Tok::Number, start);
    if (overflow) error("hexadecimal number too large");
    t.ival = static_cast<int64_t>(v);
    return t;
  }
  if (src_[pos_] == '0' && (peek(1) == 'd' || peek(1) == 'D') && isDigit(peek(2))) {
    pos_ += 2;
    size_t digits = pos_;
    while (isDigit(peek())) ++pos_;
    Token t = make(Tok::Date, start);
    std::string d = src_.substr(digits, pos_ - digits);
    if (d.size() != 8) {
      diags_.error(t.pos, "date literal needs eight digits (0dYYYYMMDD)");
      return t;
    }
    int y = std::stoi(d.substr(0, 4)), m = std::stoi(d.substr(4, 2)), dd = std::stoi(d.substr(6));
    if (y == 0 && m == 0 && dd == 0) {
      t.ival = 0;
    } else {
      t.ival = julianDay(y, m, dd);
      if (t.ival < 0) {
        diags_.error(t.pos, "invalid date literal " + t.text);
        t.ival = 0;
      }
    }
    return t;
  }
  size_t intDigits = 0, decimals = 0;
  while (isDigit(peek())) ++pos_, ++intDigits;
  if (peek() == '.' && isDigit(peek(1))) {
    ++pos_;
    while (isDigit(peek())) ++pos_, ++decimals;
  }
  Token t = make(Tok::Number, start);
  std::string digits = src_.substr(start, pos_ - start);
  t.dval = std::strtod(digits.c_str(), nullptr);
  if (decimals == 0 && intDigits <= 18) {
    t.isInt = true;
    t.ival = std::stoll(digits);
  } else {
    t.isInt = false;
    t.decimals = static_cast<uint8_t>(decimals > 99 ? 99 : decimals);
    size_t width = (intDigits ? intDigits : 1) + 1 + decimals;
    t.width = static_cast<uint8_t>(width > 255 ? 255 : width);
  }
  return t;
}

Token Lexer::lexString(size_t start, char close) {
  ++pos_;
  size_t from = pos_;
  while (pos_ < src_.size() && src_[pos_] != close && src_[pos_] != '\n') ++pos_;
  std::string value = src_.substr(from, pos_ - from);
  if (pos_ < src_.size() && src_[pos_] == close) {
    ++pos_;
  } else {
    Token t = make(Tok::String, start);
    diags_.error(t.pos, "unterminated string");
  }
  Token t = make(Tok::String, start);
  t.text = std::move(value);
  return t;
}

Token Lexer::lexIdent(size_t start) {
  while (isIdentChar(peek())) ++pos_;
  Token t = make(Tok::Ident, start);
  t.upper = upperName(t.text);
  return t;
}

Token Lexer::lexDot(size_t start) {
  for (const char* word : kDotWords) {
    size_t n = std::strlen(word);
    if (upperName(src_.substr(pos_ + 1, n)) != word || peek(n + 1) != '.') continue;
    pos_ += n + 2;
    bool logical = n == 1;
    Token t = make(logical ? Tok::Logical : Tok::Op, start);
    t.upper = upperName(t.text);
    if (logical) {
      t.ival = (word[0] == 'T' || word[0] == 'Y') ? 1 : 0;
    } else {
      t.text = t.upper;
    }
    return t;
  }
  ++pos_;
  return make(Tok::Op, start);
}

Token Lexer::lexOp(size_t start) {
  for (const char* op : kOperators) {
    size_t n = std::strlen(op);
    if (src_.compare(pos_, n, op) == 0) {
      pos_ += n;
      return make(Tok::Op, start);
    }
  }
  unsigned char bad = static_cast<unsigned char>(src_[pos_]);
  char buf[48];
  std::snprintf(buf, sizeof buf, "unexpected character 0x%02X", bad);
  error(buf);
  ++pos_;
  return Token{};
}

}  // namespace pv

// The resource script parser.
#include "rc_parser.h"

#include <strings.h>

#include <fstream>
#include <map>
#include <sstream>

#include "rc_lexer.h"
#include "win32/constants.h"

namespace pv::rc {

using pv::win32::DialogItem;
using pv::win32::DialogTemplate;

namespace {

const std::map<std::string, long>& win32Names() {
  static const std::map<std::string, long> names = [] {
    std::map<std::string, long> m;
#define PV_W32_CONST(name, value) m[#name] = static_cast<long>(value);
#include "win32/constant_list.inc"
#undef PV_W32_CONST
    return m;
  }();
  return names;
}

struct ControlKind {
  const char* keyword;
  const char* className;
  DWORD style;
  bool hasText;
};

const ControlKind kControls[] = {
    {"PUSHBUTTON", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"LTEXT", "STATIC", SS_LEFT | WS_GROUP, true},
    {"CTEXT", "STATIC", SS_CENTER | WS_GROUP, true},
    {"RTEXT", "STATIC", SS_RIGHT | WS_GROUP, true},
    {"GROUPBOX", "BUTTON", BS_GROUPBOX, true},
    {"CHECKBOX", "BUTTON", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"RADIOBUTTON", "BUTTON", BS_RADIOBUTTON, true},
    {"AUTORADIOBUTTON", "BUTTON", BS_AUTORADIOBUTTON, true},
    {"LISTBOX", "LISTBOX", LBS_NOTIFY | WS_BORDER, false},
    {"EDITTEXT", "EDIT", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"COMBOBOX", "COMBOBOX", CBS_SIMPLE | WS_TABSTOP, false},
    {"SCROLLBAR", "SCROLLBAR", SBS_HORZ, false},
};

class Parser {
 public:
  Parser(std::vector<Token> tokens, std::map<std::string, long>& defines)
      : t_(std::move(tokens)), defines_(defines) {}

  bool run(std::vector<DialogResource>& out, std::string& error) {
    try {
      while (peek().kind != Token::End) statement(out);
    } catch (const std::string& e) {
      error = e;
      return false;
    }
    return true;
  }

 private:
  const Token& peek(size_t ahead = 0) const { return t_[std::min(at_ + ahead, t_.size() - 1)]; }
  const Token& next() {
    const Token& tok = peek();
    if (at_ < t_.size() - 1) ++at_;
    return tok;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw "line " + std::to_string(peek().line) + ": " + what;
  }
  bool isName(const char* word, size_t ahead = 0) const {
    return peek(ahead).kind == Token::Name && strcasecmp(peek(ahead).text.c_str(), word) == 0;
  }
  bool accept(const char* punct) {
    if (peek().kind == Token::Punct && peek().text == punct) {
      next();
      return true;
    }
    return false;
  }
  void comma() {
    if (!accept(",")) fail("',' expected");
  }
  bool optionalComma() {
    if (peek().kind == Token::Punct && peek().text == ",") {
      next();
      return true;
    }
    return false;
  }
  std::string text() {
    if (peek().kind != Token::Text) fail("quoted text expected");
    return next().text;
  }

  long term(DWORD* removed) {
    if (isName("NOT")) {
      next();
      long v = term(nullptr);
      if (removed) *removed |= static_cast<DWORD>(v);
      return 0;
    }
    if (accept("(")) {
      long v = expression(removed);
      if (!accept(")")) fail("')' expected");
      return v;
    }
    if (accept("-")) return -term(nullptr);
    if (accept("~")) return ~term(nullptr);
    const Token& tok = next();
    if (tok.kind == Token::Number) return tok.value;
    if (tok.kind == Token::Name) {
      if (auto d = defines_.find(tok.text); d != defines_.end()) return d->second;
      auto& names = win32Names();
      if (auto n = names.find(tok.text); n != names.end()) return n->second;
      throw "line " + std::to_string(tok.line) + ": unknown name " + tok.text;
    }
    throw "line " + std::to_string(tok.line) + ": value expected";
  }

  // An expression; bits named after NOT go to `removed` instead of the value.
  long expression(DWORD* removed = nullptr) {
    long v = term(removed);
    for (;;) {
      if (accept("|")) v |= term(removed);
      else if (accept("+")) v += term(removed);
      else if (accept("-")) v -= term(removed);
      else if (accept("&")) v &= term(removed);
      else return v;
    }
  }

  short coordinate() { return static_cast<short>(expression()); }

  void statement(std::vector<DialogResource>& out) {
    if (isName("LANGUAGE")) {
      language_ = languageClause();
      return;
    }
    const Token& nameTok = next();
    if (nameTok.kind != Token::Name && nameTok.kind != Token::Number) fail("resource name expected");
    if (!isName("DIALOG") && !isName("DIALOGEX"))
      throw "line " + std::to_string(nameTok.line) + ": only DIALOG and DIALOGEX resources are supported";
    DialogResource r;
    if (nameTok.kind == Token::Number) {
      r.id = static_cast<WORD>(nameTok.value);
    } else if (auto d = defines_.find(nameTok.text); d != defines_.end()) {
      r.id = static_cast<WORD>(d->second);
    } else {
      r.name = nameTok.text;
    }
    dialog(r);
    out.push_back(r);
  }

  WORD languageClause() {
    next();
    long primary = expression();
    comma();
    long sub = expression();
    return static_cast<WORD>(MAKELANGID(primary, sub));
  }

  void dialog(DialogResource& r) {
    DialogTemplate& d = r.dialog;
    d.extended = isName("DIALOGEX");
    next();
    static const char* memory[] = {"DISCARDABLE", "MOVEABLE", "PURE", "IMPURE", "PRELOAD", "LOADONCALL", "FIXED", "SHARED", "NONSHARED"};
    for (bool more = true; more;) {
      more = false;
      for (const char* m : memory)
        if (isName(m)) next(), more = true;
    }
    d.x = coordinate(), comma(), d.y = coordinate(), comma(), d.cx = coordinate(), comma(), d.cy = coordinate();
    if (d.extended && optionalComma()) d.helpId = static_cast<DWORD>(expression());
    DWORD style = WS_POPUP | WS_BORDER | WS_SYSMENU, removed = 0;
    bool caption = false, font = false;
    r.language = language_;
    for (;;) {
      if (isName("STYLE")) {
        next();
        style = static_cast<DWORD>(expression(&removed));
      } else if (isName("EXSTYLE")) {
        next();
        d.exStyle = static_cast<DWORD>(expression());
      } else if (isName("CAPTION")) {
        next();
        d.title = text();
        caption = true;
      } else if (isName("FONT")) {
        next();
        d.pointSize = static_cast<WORD>(expression());
        comma();
        d.face = text();
        if (optionalComma()) d.weight = static_cast<WORD>(expression());
        if (optionalComma()) d.italic = static_cast<BYTE>(expression());
        if (optionalComma()) d.charset = static_cast<BYTE>(expression());
        font = true;
      } else if (isName("CLASS")) {
        next();
        d.className = text();
      } else if (isName("MENU")) {
        next();
        const Token& m = next();
        if (m.kind == Token::Number) d.menuOrdinal = static_cast<WORD>(m.value);
        else d.menu = m.text;
      } else if (isName("LANGUAGE")) {
        r.language = languageClause();
      } else if (isName("CHARACTERISTICS") || isName("VERSION")) {
        next();
        expression();
      } else {
        break;
      }
    }
    if (caption) style |= WS_CAPTION;
    if (font) style |= DS_SETFONT;
    d.style = style & ~removed;
    if (!isName("BEGIN") && !accept("{")) fail("BEGIN expected");
    if (isName("BEGIN")) next();
    while (!isName("END") && !accept("}")) {
      if (peek().kind == Token::End) fail("END expected");
      d.items.push_back(control(d.extended));
    }
    if (isName("END")) next();
  }

  DialogItem control(bool extended) {
    DialogItem item;
    DWORD removed = 0;
    if (isName("CONTROL")) {
      next();
      item.title = peek().kind == Token::Text ? text() : std::to_string(expression());
      comma();
      item.id = static_cast<DWORD>(expression());
      comma();
      item.className = peek().kind == Token::Text ? text() : next().text;
      comma();
      item.style = static_cast<DWORD>(expression(&removed));
      comma();
      position(item);
    } else {
      const ControlKind* kind = nullptr;
      for (const ControlKind& k : kControls)
        if (isName(k.keyword)) kind = &k;
      if (!kind) fail("control statement expected, found '" + peek().text + "'");
      next();
      if (kind->hasText) {
        item.title = text();
        comma();
      }
      item.id = static_cast<DWORD>(expression());
      comma();
      position(item);
      item.className = kind->className;
      item.style = kind->style;
      if (optionalComma()) item.style |= static_cast<DWORD>(expression(&removed));
    }
    if (optionalComma()) item.exStyle = static_cast<DWORD>(expression());
    if (extended && optionalComma()) item.helpId = static_cast<DWORD>(expression());
    item.style = (item.style | WS_CHILD | WS_VISIBLE) & ~removed;
    if (!extended) item.id &= 0xFFFF;
    return item;
  }

  void position(DialogItem& item) {
    item.x = coordinate(), comma(), item.y = coordinate(), comma(), item.cx = coordinate(), comma();
    item.cy = coordinate();
  }

  std::vector<Token> t_;
  size_t at_ = 0;
  std::map<std::string, long>& defines_;
  WORD language_ = 0;
};

// Handles #define and #include lines; other directives (#if and the like) are ignored.
bool directive(const std::string& line, const std::string& folder, std::map<std::string, long>& defines,
               std::string& error, int depth);

bool collectDefines(const std::string& source, const std::string& folder, std::map<std::string, long>& defines,
                    std::string& error, int depth) {
  std::istringstream in(source);
  std::string line;
  while (std::getline(in, line)) {
    size_t start = line.find_first_not_of(" \t");
    if (start != std::string::npos && line[start] == '#' &&
        !directive(line.substr(start), folder, defines, error, depth))
      return false;
  }
  return true;
}

bool directive(const std::string& line, const std::string& folder, std::map<std::string, long>& defines,
               std::string& error, int depth) {
  std::istringstream in(line.substr(1));
  std::string word;
  in >> word;
  if (word == "define") {
    std::string name, rest;
    in >> name;
    std::getline(in, rest);
    std::vector<Token> tokens;
    std::string ignored;
    if (!tokenize(rest, tokens, ignored) || tokens.size() < 2) return true;  // not a number: not used by dialogs
    long value = 0;
    bool negative = false;
    size_t i = 0;
    if (tokens[i].kind == Token::Punct && tokens[i].text == "(") ++i;
    if (tokens[i].kind == Token::Punct && tokens[i].text == "-") negative = true, ++i;
    if (tokens[i].kind == Token::Number) value = tokens[i].value;
    else if (tokens[i].kind == Token::Name && defines.count(tokens[i].text)) value = defines[tokens[i].text];
    else return true;
    defines[name] = negative ? -value : value;
  } else if (word == "include") {
    std::string file;
    std::getline(in, file);
    size_t q1 = file.find('"'), q2 = file.rfind('"');
    if (q1 == std::string::npos || q2 <= q1) return true;  // <system header>
    std::ifstream f(folder + "/" + file.substr(q1 + 1, q2 - q1 - 1));
    if (!f) return true;
    if (depth > 8) {
      error = "#include nested too deeply";
      return false;
    }
    std::stringstream content;
    content << f.rdbuf();
    return collectDefines(content.str(), folder, defines, error, depth + 1);
  }
  return true;
}

}  // namespace

bool parseScript(const std::string& source, const std::string& folder, std::vector<DialogResource>& out,
                 std::string& error) {
  std::vector<Token> tokens;
  if (!tokenize(source, tokens, error)) return false;
  std::map<std::string, long> defines;
  std::vector<Token> code;
  for (const Token& t : tokens) {
    if (t.kind != Token::Directive) {
      code.push_back(t);
      continue;
    }
    std::string e;
    if (!directive(t.text, folder, defines, e, 0)) {
      error = "line " + std::to_string(t.line) + ": " + e;
      return false;
    }
  }
  return Parser(code, defines).run(out, error);
}

}  // namespace pv::rc

// The preprocessor. It works a logical line at a time: a line that starts with '#' is a
// directive; any other line is dropped inside a false conditional and otherwise has its macros
// expanded (function-like macro arguments therefore stay on one logical line).
#include "compiler/preprocessor.h"

#include "compiler/builtin_headers.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace pv {

namespace {

std::string dirOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string joinPath(const std::string& dir, std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  if (!name.empty() && name[0] == '/') return name;
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

}  // namespace

bool readFileFromDisk(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buf;
  buf << in.rdbuf();
  text = buf.str();
  return true;
}

Preprocessor::Preprocessor(Diagnostics& diags, std::vector<std::string> includePaths,
                           FileReader reader)
    : diags_(diags), includePaths_(std::move(includePaths)), reader_(std::move(reader)) {}

void Preprocessor::start(const std::string& name, std::string text) {
  int file = addText(name, std::move(text));
  inputs_.push_back({std::make_unique<Lexer>(texts_.back(), file, diags_), file, dirOf(name), 0});
}

void Preprocessor::define(const std::string& name, const std::string& value) {
  Diagnostics scratch;
  int file = scratch.addFile("-D");
  Lexer lex(value, file, scratch);
  Macro m;
  for (Token t = lex.next(); t.kind != Tok::End && t.kind != Tok::Eol; t = lex.next())
    m.body.push_back(t);
  macros_[name] = std::move(m);
}

std::string Preprocessor::textBetween(const Token& first, const Token& last) const {
  auto it = textOf_.find(first.pos.file);
  if (it == textOf_.end() || first.pos.file != last.pos.file || last.offset < first.offset)
    return first.text;
  const std::string& src = *it->second;
  size_t end = static_cast<size_t>(last.offset) + last.length;
  if (end > src.size()) return first.text;
  return src.substr(first.offset, end - first.offset);
}

// The next token of the innermost input; at the end of an included file, the includer goes on.
Token Preprocessor::raw() {
  while (!inputs_.empty()) {
    Token t = inputs_.back().lexer->next();
    if (t.kind != Tok::End) return t;
    if (conds_.size() > inputs_.back().condDepth) {
      diags_.error(conds_.back().pos, "#ifdef without #endif");
      conds_.resize(inputs_.back().condDepth);
    }
    if (inputs_.size() == 1) return t;
    inputs_.pop_back();
  }
  return Token{};
}

// The tokens of a directive after its '#'. A rule's result may hold several statements, so a
// rule directive goes on past a ';' to the end of its (logical) line.
std::vector<Token> Preprocessor::restOfDirective(bool rule) {
  std::vector<Token> line;
  for (Token t = raw(); t.kind != Tok::End; t = raw()) {
    if (t.kind == Tok::Eol && !(rule && t.text == ";")) break;
    line.push_back(t);
  }
  return line;
}

Token Preprocessor::next() {
  while (pending_.empty()) {
    Token first = raw();
    if (first.kind == Tok::End) return first;
    if (first.is("#") && first.bol) {
      directive(first);
      continue;
    }
    std::vector<Token> line{first};
    while (line.back().kind != Tok::Eol && line.back().kind != Tok::End) line.push_back(raw());
    if (skipping()) continue;
    Token eol = line.back();
    line.pop_back();
    process(std::move(line), eol);
  }
  Token t = pending_.front();
  pending_.pop_front();
  return t;
}

void Preprocessor::expandDefines(std::vector<Token>& toks, size_t& budget) {
  bool any = false;
  for (const Token& t : toks) any = any || (t.kind == Tok::Ident && macros_.count(t.text));
  if (!any) return;
  std::deque<Token> line(toks.begin(), toks.end());
  std::vector<Token> out;
  std::set<std::string> active;
  expandAll(line, out, active, budget, nullptr);
  toks = std::move(out);
}

// Moves `source` to `out`, expanding macros. Inside the expansion of `within`, each token costs
// one of `budget`; when it runs out the rest is dropped with an error.
void Preprocessor::expandAll(std::deque<Token>& source, std::vector<Token>& out,
                             std::set<std::string>& active, size_t& budget, const Token* within) {
  while (!source.empty()) {
    if (within && budget == 0) {
      if (!cutReported_)
        diags_.error(within->pos, "macro expansion of " + within->text + " is too large");
      cutReported_ = true;
      return;
    }
    if (within) --budget;
    Token t = source.front();
    source.pop_front();
    if (t.kind == Tok::Ident && macros_.count(t.text)) {
      expand(t, out, active, source, false, budget);
    } else {
      out.push_back(t);
    }
  }
}

Token Preprocessor::pull(std::deque<Token>& source, bool) {
  Token t = source.front();
  source.pop_front();
  return t;
}

// Arguments of a function-like macro use: balanced parentheses, split at top-level commas.
bool Preprocessor::collectArgs(std::deque<Token>& source, bool fromRaw,
                               std::vector<std::vector<Token>>& args, const Token& at) {
  pull(source, fromRaw);  // "("
  int depth = 0;
  args.emplace_back();
  while (!source.empty()) {
    Token t = pull(source, fromRaw);
    if (t.kind == Tok::Eol || t.kind == Tok::End) break;
    if (t.is("(") || t.is("[") || t.is("{")) ++depth;
    if (t.is(")") || t.is("]") || t.is("}")) {
      if (depth == 0 && t.is(")")) return true;
      --depth;
    }
    if (depth == 0 && t.is(",")) {
      args.emplace_back();
      continue;
    }
    args.back().push_back(t);
  }
  diags_.error(at.pos, "missing ')' in use of macro " + at.text);
  return false;
}

void Preprocessor::expand(const Token& name, std::vector<Token>& out,
                          std::set<std::string>& active, std::deque<Token>& source, bool fromRaw,
                          size_t& budget) {
  const Macro& m = macros_.at(name.text);
  if (active.count(name.text) || active.size() > 256) {
    out.push_back(name);
    return;
  }
  std::vector<std::vector<Token>> args;
  if (m.functionLike) {
    if (source.empty() || !source.front().is("(")) {
      out.push_back(name);
      return;
    }
    if (!collectArgs(source, fromRaw, args, name)) return;
    if (args.size() == 1 && args[0].empty() && m.params.empty()) args.clear();
    if (args.size() != m.params.size()) {
      diags_.error(name.pos, "macro " + name.text + " expects " +
                                 std::to_string(m.params.size()) + " argument(s)");
      return;
    }
  }
  std::deque<Token> body;
  for (const Token& b : m.body) {
    size_t param = m.params.size();
    if (b.kind == Tok::Ident)
      for (size_t i = 0; i < m.params.size(); ++i)
        if (m.params[i] == b.text) param = i;
    if (param < m.params.size()) {
      body.insert(body.end(), args[param].begin(), args[param].end());
    } else {
      Token copy = b;
      copy.pos = name.pos;
      copy.offset = name.offset;
      copy.length = name.length;
      copy.bol = false;
      body.push_back(copy);
    }
  }
  active.insert(name.text);
  expandAll(body, out, active, budget, &name);
  active.erase(name.text);
}

void Preprocessor::directive(const Token& hash) {
  Token name = raw();
  if (name.kind != Tok::Ident) {
    if (!skipping()) diags_.error(hash.pos, "directive name expected after '#'");
    if (name.kind != Tok::Eol && name.kind != Tok::End) restOfDirective(false);
    return;
  }
  bool rule = isRuleDirective(name.upper);
  if (rule) inputs_.back().lexer->setRuleMode(true);
  std::vector<Token> line{name};
  for (Token& t : restOfDirective(rule)) line.push_back(std::move(t));
  if (rule && !inputs_.empty()) inputs_.back().lexer->setRuleMode(false);
  const std::string& word = line[0].upper;
  if (word == "IFDEF" || word == "IFNDEF") {
    bool defined = line.size() > 1 && line[1].kind == Tok::Ident && macros_.count(line[1].text);
    if (!skipping() && (line.size() != 2 || line[1].kind != Tok::Ident))
      diags_.error(line[0].pos, "#" + line[0].text + " needs one macro name");
    bool parent = !skipping();
    conds_.push_back({parent && (word == "IFDEF" ? defined : !defined), parent, false, hash.pos});
    return;
  }
  if (word == "ELSE" || word == "ENDIF") {
    if (conds_.size() <= inputs_.back().condDepth) {
      diags_.error(hash.pos, "#" + line[0].text + " without #ifdef");
      return;
    }
    if (word == "ENDIF") {
      conds_.pop_back();
    } else if (conds_.back().sawElse) {
      diags_.error(hash.pos, "second #else for one #ifdef");
    } else {
      conds_.back().sawElse = true;
      conds_.back().active = conds_.back().parentActive && !conds_.back().active;
    }
    return;
  }
  if (skipping()) return;
  if (word == "DEFINE") {
    doDefine(line, hash);
  } else if (word == "UNDEF") {
    if (line.size() != 2 || line[1].kind != Tok::Ident)
      diags_.error(line[0].pos, "#undef needs one macro name");
    else
      macros_.erase(line[1].text);
  } else if (word == "INCLUDE") {
    doInclude(line, hash);
  } else if (word == "ERROR") {
    std::string text;
    for (size_t i = 1; i < line.size(); ++i) text += (i > 1 ? " " : "") + line[i].text;
    diags_.error(hash.pos, "#error " + text);
  } else if (word == "PRAGMA" || word == "STDOUT" || word == "WARNING") {
    // no effect on the generated code
  } else if (!ruleDirective(word, line)) {
    diags_.error(line[0].pos, "unknown directive #" + line[0].text);
  }
}

void Preprocessor::doDefine(const std::vector<Token>& line, const Token& hash) {
  if (line.size() < 2 || line[1].kind != Tok::Ident) {
    diags_.error(hash.pos, "#define needs a macro name");
    return;
  }
  Macro m;
  size_t i = 2;
  if (i < line.size() && line[i].is("(") && !line[i].spaceBefore) {
    m.functionLike = true;
    ++i;
    bool closed = false;
    while (i < line.size()) {
      const Token& t = line[i++];
      if (t.is(")")) {
        closed = true;
        break;
      }
      if (t.is(",")) continue;
      if (t.kind != Tok::Ident) break;
      m.params.push_back(t.text);
    }
    if (!closed) {
      diags_.error(line[1].pos, "bad parameter list in #define " + line[1].text);
      return;
    }
  }
  m.body.assign(line.begin() + static_cast<long>(i), line.end());
  macros_[line[1].text] = std::move(m);
}

void Preprocessor::doInclude(const std::vector<Token>& line, const Token& hash) {
  if (line.size() != 2 || line[1].kind != Tok::String) {
    diags_.error(hash.pos, "#include needs a quoted file name");
    return;
  }
  if (inputs_.size() >= static_cast<size_t>(kMaxIncludeDepth)) {
    diags_.error(hash.pos, "#include nested too deeply");
    return;
  }
  openInclude(line[1].text, line[1]);
}

void Preprocessor::includeFirst(const std::string& name) { openInclude(name, Token{}); }

bool Preprocessor::openInclude(const std::string& name, const Token& at) {
  std::vector<std::string> candidates{joinPath(inputs_.back().dir, name)};
  for (const std::string& dir : includePaths_) candidates.push_back(joinPath(dir, name));
  std::string text;
  std::string found;
  for (const std::string& path : candidates)
    if (reader_(path, text)) {
      found = path;
      break;
    }
  const char* builtIn = nullptr;
  if (found.empty()) {
    builtIn = builtInHeader(name);
    if (!builtIn) {
      diags_.error(at.pos, "cannot open include file \"" + name + "\"");
      return false;
    }
    text = builtIn;
    found = "<" + name + ">";
  }
  int file = addText(found, std::move(text));
  // The built-in std.ch holds only definitions: they are restored from the build's snapshot.
  if (builtIn && builtIn == builtInHeader("std.ch") &&
      loadDefinitions(builtInStdSnapshot(), file, rules_, macros_))
    return true;
  inputs_.push_back(
      {std::make_unique<Lexer>(texts_.back(), file, diags_), file, dirOf(found), conds_.size()});
  return true;
}

int Preprocessor::addText(const std::string& name, std::string text) {
  int file = diags_.addFile(name);
  texts_.push_back(std::move(text));
  textOf_[file] = &texts_.back();
  return file;
}

}  // namespace pv

// The preprocessor: #define (object-like and function-like), #undef, #include, #ifdef, #ifndef,
// #else, #endif and #error, and the user-defined commands and translations (#command,
// #xcommand, #translate, #xtranslate and their #un... forms; see pp_rules.h), between the lexer
// and the parser. Macro names are case-sensitive. Include files are looked for beside the
// including file, then in the include folders, then among the headers built into the compiler.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "compiler/lexer.h"
#include "compiler/pp_rules.h"
#include "compiler/pp_snapshot.h"

namespace pv {

// Reads a file into `text`; false when it cannot be read.
using FileReader = std::function<bool(const std::string& path, std::string& text)>;
bool readFileFromDisk(const std::string& path, std::string& text);

class Preprocessor {
 public:
  static constexpr int kMaxIncludeDepth = 16;
  static constexpr size_t kMaxExpansion = 20000;  // tokens one line's macros may produce
  static constexpr size_t kMaxTotalExpansion = 4000000;  // tokens all macros of a file may produce
  static constexpr int kMaxRewrites = 1000;        // rules applied to one statement
  static constexpr size_t kMaxStatements = 1000;   // statements one line's rules may make
  static constexpr size_t kMaxRuleWork = 200000;   // tokens the rules of one line may look at
  static constexpr size_t kMaxRuleText = 4 << 20;   // bytes of token text they may look at

  Preprocessor(Diagnostics& diags, std::vector<std::string> includePaths,
               FileReader reader = readFileFromDisk);

  // Starts reading the main source. `name` is the file name used in messages.
  void start(const std::string& name, std::string text);
  // Defines an object-like macro (as a command-line -D would).
  void define(const std::string& name, const std::string& value);
  // Reads an include file before the rest of the main source (the standard header).
  void includeFirst(const std::string& name);

  // The next token after directives and macro expansion; Tok::End at the end of the main file.
  Token next();

  // The source text a token range spans (both tokens from the same file), as written.
  std::string textBetween(const Token& first, const Token& last) const;

  // The commands, translations and macros defined so far, as bytes (pp_snapshot.h).
  std::string definitions() const { return saveDefinitions(rules_, macros_); }

 private:
  using Macro = MacroDefinition;
  struct Input {
    std::unique_ptr<Lexer> lexer;
    int file;
    std::string dir;
    size_t condDepth;  // conditional stack size when the file was entered
  };
  struct Cond {
    bool active;      // this branch is taken
    bool parentActive;
    bool sawElse;
    SourcePos pos;
  };

  struct Statement {
    std::vector<Token> toks;
    int rewrites;
  };

  Token raw();
  std::vector<Token> restOfDirective(bool rule);
  void directive(const Token& hash);
  bool ruleDirective(const std::string& word, const std::vector<Token>& line);
  void process(std::vector<Token> line, const Token& eol);
  // What the rules of one line have looked at so far: tokens, and bytes of their text (a
  // stringifying rule can double a line's text at every pass while its tokens stay few).
  struct RuleWork {
    size_t tokens = 0;
    size_t bytes = 0;
  };
  bool rewrite(Statement& s, std::deque<Statement>& queue, const Token& at, size_t& budget,
               RuleWork& work);
  bool applyTranslation(std::vector<Token>& toks, size_t& budget);
  bool applyCommand(std::vector<Token>& toks, size_t& budget);
  void expandDefines(std::vector<Token>& toks, size_t& budget);
  void expandAll(std::deque<Token>& source, std::vector<Token>& out, std::set<std::string>& active,
                 size_t& budget, const Token* within);
  bool openInclude(const std::string& name, const Token& at);
  int addText(const std::string& name, std::string text);
  void doDefine(const std::vector<Token>& line, const Token& hash);
  void doInclude(const std::vector<Token>& line, const Token& hash);
  bool skipping() const { return !conds_.empty() && !conds_.back().active; }
  void expand(const Token& name, std::vector<Token>& out, std::set<std::string>& active,
              std::deque<Token>& source, bool fromRaw, size_t& budget);
  bool collectArgs(std::deque<Token>& source, bool fromRaw, std::vector<std::vector<Token>>& args,
                   const Token& at);
  Token pull(std::deque<Token>& source, bool fromRaw);

  Diagnostics& diags_;
  std::vector<std::string> includePaths_;
  FileReader reader_;
  std::deque<std::string> texts_;  // every file's text, by file index; kept alive for lexers
  std::map<int, const std::string*> textOf_;
  std::vector<Input> inputs_;
  std::vector<Cond> conds_;
  MacroTable macros_;
  RuleSet rules_;
  std::deque<Token> pending_;
  bool cutReported_ = false;
  size_t totalBudget_ = kMaxTotalExpansion;
};

}  // namespace pv

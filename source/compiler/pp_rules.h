// User-defined commands and translations (#command, #xcommand, #translate, #xtranslate): the
// rules, how their definitions are read, and how a statement is matched and rewritten.
//
// A rule is "pattern => result". The pattern is a sequence of keywords, other literal tokens,
// match markers and optional clauses in brackets:
//   <x>            an expression                <x,...>     a comma-separated list of them
//   <x: A, B>      one of the words listed      <*x*>       everything to the end of the line
//   <(x)>          an expression in parentheses or a run of tokens without blanks (file names)
//   [ ... ]        an optional clause; neighbouring clauses may come in any order, repeatedly
// The result is a sequence of tokens with result markers and optional clauses:
//   <x>            the matched tokens           #<x>        the matched text as a string
//   <"x">          each expression as a string  <(x)>       as a string unless in parentheses
//   <{x}>          each expression as a block   <.x.>       .T. when matched, else .F.
//   [ ... ]        written once per match of the markers inside it; left out when none matched
// '\' before a token takes it literally; ';' in a result separates statements.
// #command and #translate accept keywords shortened to four letters; the x forms only whole.
// A command must match a whole statement from its start; a translation matches anywhere.
#pragma once

#include <bitset>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "compiler/token.h"

namespace pv {

enum class MatchKind : uint8_t { Regular, List, Restricted, Wild, Extended };
enum class ResultKind : uint8_t { Regular, Dumb, Normal, Smart, Blockify, Logify };

struct PatternItem {
  enum Type : uint8_t { Literal, Marker, Optional } type = Literal;
  Token token;                     // Literal
  int marker = -1;                 // Marker: index into Rule::markers
  MatchKind kind = MatchKind::Regular;
  std::vector<std::string> words;  // Restricted: the accepted words, upper-cased ("&": a macro)
  std::vector<PatternItem> group;  // Optional
};

struct ResultItem {
  enum Type : uint8_t { Literal, Marker, Optional } type = ResultItem::Literal;
  Token token;                    // Literal; for a marker its first token
  int marker = -1;                // Marker
  ResultKind kind = ResultKind::Regular;
  std::vector<ResultItem> group;  // Optional
};

struct Rule {
  bool command = false;  // matches whole statements
  bool exact = false;    // x form: keywords must be written whole
  std::vector<std::string> markers;  // marker names, upper-cased
  std::vector<PatternItem> pattern;
  std::vector<ResultItem> result;
  std::string key;        // lookup key of the first pattern token; empty when it is a marker
  std::string signature;  // the pattern as text, to find the rule again for #uncommand
};

// Reads "pattern => result" from the tokens of a directive (after its name). False, with the
// error reported at its place, when the definition is malformed.
bool parseRule(const std::vector<Token>& line, size_t from, bool command, bool exact, Rule& rule,
               Diagnostics& diags);

// Whether a directive name (upper-cased) defines or removes a command or translation.
bool isRuleDirective(const std::string& word);

// The pattern of a definition (the tokens before "=>") as text, to compare with others.
std::string ruleSignature(const std::vector<Token>& line, size_t from);

// The key under which a token finds the rules that may start with it: keywords by their first
// four letters, other tokens by their text.
std::string ruleKey(const Token& t);

// What one marker matched, once per occurrence: the tokens of each list element.
struct Capture {
  std::vector<std::vector<Token>> parts;
};
using Captures = std::vector<std::vector<Capture>>;  // per marker, per occurrence

// Matches `rule` against tokens [from, end). Returns the end of the match, or SIZE_MAX.
size_t matchRule(const Rule& rule, const std::vector<Token>& toks, size_t from, size_t end,
                 Captures& captures);

// Whether `t` is the keyword a rule begins with.
bool startsWithKeyword(const Rule& rule, const Token& t);

// The result of `rule` for what was matched. Tokens the rule writes itself take the place `at`.
std::vector<Token> buildResult(const Rule& rule, const Captures& captures, const Token& at);

// The end of the expression starting at `from` (== from when there is none).
size_t skimExpression(const std::vector<Token>& toks, size_t from, size_t end);

// Tokens back to source text, blanks where the source had them.
std::string tokensText(const std::vector<Token>& toks);

// The rules in force, newest first within each key.
class RuleSet {
 public:
  void add(Rule rule);
  // Removes the newest rule of that kind with the same pattern; false when there is none.
  bool remove(bool command, const std::string& signature);
  // Candidates for a statement or position starting with `t`, newest first.
  const std::vector<std::shared_ptr<const Rule>>* candidates(bool command, const Token& t) const;
  // Translations that start with a marker (tried at every position), newest first.
  const std::vector<std::shared_ptr<const Rule>>& openTranslates() const { return open_; }
  bool empty() const { return count_ == 0; }
  // Every rule, each list from its oldest rule to its newest: adding them in this order to an
  // empty set rebuilds this one.
  std::vector<const Rule*> oldestFirst() const;

 private:
  using List = std::vector<std::shared_ptr<const Rule>>;
  std::unordered_map<std::string, List> commands_, translates_;
  std::bitset<256> commandStarts_, translateStarts_;  // first bytes of the keys, a quick filter
  List open_;
  size_t count_ = 0;
};

}  // namespace pv

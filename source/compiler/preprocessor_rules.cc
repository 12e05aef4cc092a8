// The preprocessor's side of commands and translations: reading their directives, and rewriting
// each statement until no rule applies any more.
#include <algorithm>

#include "compiler/preprocessor.h"

namespace pv {

namespace {

struct RuleDirective {
  const char* word;
  bool command;
  bool exact;
  bool remove;
};
const RuleDirective kRuleDirectives[] = {
    {"COMMAND", true, false, false},     {"XCOMMAND", true, true, false},
    {"TRANSLATE", false, false, false},  {"XTRANSLATE", false, true, false},
    {"UNCOMMAND", true, false, true},    {"XUNCOMMAND", true, true, true},
    {"UNTRANSLATE", false, false, true}, {"XUNTRANSLATE", false, true, true}};

const RuleDirective* findRuleDirective(const std::string& word) {
  for (const RuleDirective& d : kRuleDirectives)
    if (word == d.word) return &d;
  return nullptr;
}

}  // namespace

bool isRuleDirective(const std::string& word) { return findRuleDirective(word) != nullptr; }

bool Preprocessor::ruleDirective(const std::string& word, const std::vector<Token>& line) {
  const RuleDirective* d = findRuleDirective(word);
  if (!d) return false;
  if (line.size() < 2) {
    diags_.error(line[0].pos, "#" + line[0].text + " needs a pattern");
  } else if (d->remove) {
    rules_.remove(d->command, ruleSignature(line, 1));
  } else {
    Rule rule;
    if (parseRule(line, 1, d->command, d->exact, rule, diags_)) rules_.add(std::move(rule));
  }
  return true;
}

// Rewrites one logical line and queues its statements, each followed by a copy of `eol`.
void Preprocessor::process(std::vector<Token> line, const Token& eol) {
  size_t budget = std::min(kMaxExpansion, totalBudget_);
  size_t lineBudget = budget;
  cutReported_ = false;
  const Token at = line.empty() ? eol : line.front();
  RuleWork work;
  std::deque<Statement> queue;
  queue.push_back({std::move(line), 0});
  for (size_t made = 0; !queue.empty(); ++made) {
    if (made == kMaxStatements) {
      diags_.error(at.pos, "expansion of this line makes too many statements");
      break;
    }
    Statement s = std::move(queue.front());
    queue.pop_front();
    if (!rewrite(s, queue, at, budget, work) || s.toks.empty()) continue;
    s.toks.front().bol = true;
    pending_.insert(pending_.end(), s.toks.begin(), s.toks.end());
    pending_.push_back(eol);
  }
  if (pending_.empty() && eol.kind == Tok::End) pending_.push_back(eol);
  totalBudget_ -= lineBudget - budget;
}

// Applies defines and rules to `s` until nothing changes. False when `s` was split into several
// statements (queued in its place) or given up.
bool Preprocessor::rewrite(Statement& s, std::deque<Statement>& queue, const Token& at,
                           size_t& budget, RuleWork& work) {
  for (;;) {
    expandDefines(s.toks, budget);
    if (rules_.empty() || s.toks.empty()) return true;
    work.tokens += s.toks.size();
    for (const Token& t : s.toks) work.bytes += t.text.size();
    if (!applyTranslation(s.toks, budget) && !applyCommand(s.toks, budget)) return true;
    if (++s.rewrites > kMaxRewrites) {
      diags_.error(at.pos, "endless expansion: the commands and translations of this line were "
                           "applied more than " + std::to_string(kMaxRewrites) + " times");
      return false;
    }
    if (budget == 0 || work.tokens > kMaxRuleWork || work.bytes > kMaxRuleText) {
      if (!cutReported_)
        diags_.error(at.pos, "endless expansion: the commands and translations of this line "
                             "make it too large");
      cutReported_ = true;
      return false;
    }
    auto sep = std::find_if(s.toks.begin(), s.toks.end(),
                            [](const Token& t) { return t.kind == Tok::Eol; });
    if (sep == s.toks.end()) continue;
    std::vector<Statement> parts(1, Statement{{}, s.rewrites});
    for (Token& t : s.toks) {
      if (t.kind == Tok::Eol)
        parts.push_back({{}, s.rewrites});
      else
        parts.back().toks.push_back(std::move(t));
    }
    for (auto it = parts.rbegin(); it != parts.rend(); ++it)
      if (!it->toks.empty()) queue.push_front(std::move(*it));
    return false;
  }
}

namespace {

// Replaces toks[from, to) by `with`, charging the growth to `budget`. The tokens both share are
// assigned in place, so that the rest of the line moves once.
void splice(std::vector<Token>& toks, size_t from, size_t to, std::vector<Token> with,
            size_t& budget) {
  size_t growth = with.size() > to - from ? with.size() - (to - from) : 0;
  budget = growth >= budget ? 0 : budget - growth;
  if (!with.empty()) with.front().spaceBefore = toks[from].spaceBefore;
  size_t common = std::min(with.size(), to - from);
  std::move(with.begin(), with.begin() + static_cast<long>(common),
            toks.begin() + static_cast<long>(from));
  auto at = toks.begin() + static_cast<long>(from + common);
  if (with.size() > common)
    toks.insert(at, std::make_move_iterator(with.begin() + static_cast<long>(common)),
                std::make_move_iterator(with.end()));
  else
    toks.erase(at, toks.begin() + static_cast<long>(to));
}

}  // namespace

// The first translation that matches anywhere in the statement, applied once.
bool Preprocessor::applyTranslation(std::vector<Token>& toks, size_t& budget) {
  Captures caps;
  for (size_t i = 0; i < toks.size(); ++i) {
    const auto* keyed = rules_.candidates(false, toks[i]);
    for (const auto* list : {keyed, &rules_.openTranslates()}) {
      if (!list) continue;
      for (const auto& rule : *list) {
        size_t end = matchRule(*rule, toks, i, toks.size(), caps);
        if (end == SIZE_MAX || end == i) continue;
        splice(toks, i, end, buildResult(*rule, caps, toks[i]), budget);
        return true;
      }
    }
  }
  return false;
}

// The newest command that matches the whole statement, applied.
bool Preprocessor::applyCommand(std::vector<Token>& toks, size_t& budget) {
  const auto* list = rules_.candidates(true, toks.front());
  if (!list) return false;
  // A word directly followed by '(' is a call, as in a command's own result: Show(x).
  if (toks.size() > 1 && toks[1].is("(") && !toks[1].spaceBefore) return false;
  Captures caps;
  for (const auto& rule : *list) {
    if (matchRule(*rule, toks, 0, toks.size(), caps) != toks.size()) {
      if (startsWithKeyword(*rule, toks.front())) toks.front().unmatchedCommand = true;
      continue;
    }
    splice(toks, 0, toks.size(), buildResult(*rule, caps, toks.front()), budget);
    return true;
  }
  return false;
}

}  // namespace pv

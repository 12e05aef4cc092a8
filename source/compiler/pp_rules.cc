// Reading rule definitions ("pattern => result") and the set of rules in force.
#include "compiler/pp_rules.h"

#include <algorithm>

namespace pv {

namespace {

struct RuleError {
  SourcePos pos;
  std::string message;
};

[[noreturn]] void failAt(const Token& t, const std::string& message) { throw RuleError{t.pos, message}; }

class DefinitionReader {
 public:
  DefinitionReader(const std::vector<Token>& toks, size_t end, Rule& rule)
      : toks_(toks), end_(end), rule_(rule) {}

  // Pattern items from `i` up to the closing ']' of the group `open` started, or the end.
  size_t pattern(size_t i, std::vector<PatternItem>& out, int depth, const Token* open = nullptr) {
    while (i < end_) {
      const Token& t = toks_[i];
      if (t.is("]")) {
        if (depth == 0) failAt(t, "']' without '[' in rule");
        return i + 1;
      }
      if (t.is("[")) {
        if (depth >= kMaxNesting) failAt(t, "optional clauses nested too deeply");
        PatternItem group;
        group.type = PatternItem::Optional;
        size_t next = pattern(i + 1, group.group, depth + 1, &t);
        if (group.group.empty()) failAt(t, "empty optional clause in rule");
        out.push_back(std::move(group));
        i = next;
        continue;
      }
      if (t.is("<")) {
        i = marker(i, out);
        continue;
      }
      if (t.kind == Tok::Eol) failAt(t, "';' in the pattern of a rule");
      if (t.is("<>")) failAt(t, "match marker without a name");
      PatternItem lit;
      if (t.is("\\")) {
        if (++i >= end_) failAt(t, "nothing after '\\' in rule");
      }
      lit.token = toks_[i++];
      out.push_back(std::move(lit));
    }
    if (open) failAt(*open, "'[' without ']' in rule");
    return i;
  }

  // Result items, with markers looked up among the pattern's.
  size_t result(size_t i, std::vector<ResultItem>& out, int depth, const Token* open = nullptr) {
    while (i < toks_.size()) {
      const Token& t = toks_[i];
      if (t.is("]")) {
        if (depth == 0) failAt(t, "']' without '[' in rule result");
        return i + 1;
      }
      if (t.is("[")) {
        if (depth >= kMaxNesting) failAt(t, "optional clauses nested too deeply");
        ResultItem group;
        group.type = ResultItem::Optional;
        i = result(i + 1, group.group, depth + 1, &t);
        out.push_back(std::move(group));
        continue;
      }
      if (size_t next = resultMarker(i, out); next != i) {
        i = next;
        continue;
      }
      if (t.is("\\")) {
        if (++i >= toks_.size()) failAt(t, "nothing after '\\' in rule");
      }
      ResultItem lit;
      lit.token = toks_[i++];
      out.push_back(std::move(lit));
    }
    if (open) failAt(*open, "'[' without ']' in rule result");
    return i;
  }

 private:
  static constexpr int kMaxNesting = 32;

  const Token& at(size_t i) {
    if (i >= end_) failAt(toks_[end_ - 1], "unfinished match marker in rule");
    return toks_[i];
  }

  int declare(const Token& name) {
    if (name.kind != Tok::Ident) failAt(name, "match marker without a name");
    std::string upper = name.upper;
    if (std::find(rule_.markers.begin(), rule_.markers.end(), upper) != rule_.markers.end())
      failAt(name, "match marker <" + name.text + "> declared twice");
    rule_.markers.push_back(upper);
    return static_cast<int>(rule_.markers.size()) - 1;
  }

  void close(size_t i, const char* what) {
    if (!at(i).is(">")) failAt(at(i), std::string("expected '>' to close ") + what);
  }

  // A match marker starting at the '<' at `i`; returns the index after its '>'.
  size_t marker(size_t i, std::vector<PatternItem>& out) {
    PatternItem m;
    m.type = PatternItem::Marker;
    const Token& open = toks_[i];
    const Token& first = at(i + 1);
    if (first.is("(") || first.is("*")) {
      m.kind = first.is("(") ? MatchKind::Extended : MatchKind::Wild;
      m.marker = declare(at(i + 2));
      if (!at(i + 3).is(first.is("(") ? ")" : "*")) failAt(at(i + 3), "malformed match marker");
      close(i + 4, "the match marker");
      out.push_back(std::move(m));
      return i + 5;
    }
    if (first.kind != Tok::Ident) failAt(open, "match marker without a name");
    m.marker = declare(first);
    size_t j = i + 2;
    if (at(j).is(",")) {
      if (!at(j + 1).is(".") || !at(j + 2).is(".") || !at(j + 3).is("."))
        failAt(at(j), "expected '...' in list match marker");
      m.kind = MatchKind::List;
      j += 4;
    } else if (at(j).is(":")) {
      m.kind = MatchKind::Restricted;
      do {
        const Token& w = at(++j);
        if (w.kind != Tok::Ident && !w.is("&")) failAt(w, "expected a word in restricted marker");
        m.words.push_back(w.kind == Tok::Ident ? w.upper : "&");
        ++j;
      } while (at(j).is(","));
    }
    close(j, "the match marker");
    out.push_back(std::move(m));
    return j + 1;
  }

  int lookup(const Token& name) {
    if (name.kind != Tok::Ident && name.kind != Tok::Logical) return -1;
    std::string upper = name.kind == Tok::Logical ? name.upper.substr(1, 1) : name.upper;
    auto it = std::find(rule_.markers.begin(), rule_.markers.end(), upper);
    return it == rule_.markers.end() ? -1 : static_cast<int>(it - rule_.markers.begin());
  }

  const Token* tokenAt(size_t i) const { return i < toks_.size() ? &toks_[i] : nullptr; }
  bool isOp(size_t i, const char* op) const { return tokenAt(i) && tokenAt(i)->is(op); }

  // A result marker at `i`: returns the index after it, or `i` when there is none.
  size_t resultMarker(size_t i, std::vector<ResultItem>& out) {
    ResultItem m;
    m.type = ResultItem::Marker;
    size_t next = i;
    if (isOp(i, "#") && isOp(i + 1, "<") && tokenAt(i + 2) && isOp(i + 3, ">")) {
      m.kind = ResultKind::Dumb;
      m.marker = lookup(*tokenAt(i + 2));
      next = i + 4;
    } else if (isOp(i, "<") && tokenAt(i + 1) && tokenAt(i + 1)->kind == Tok::String &&
               isOp(i + 2, ">")) {
      Token name = *tokenAt(i + 1);
      name.kind = Tok::Ident;
      name.upper = upperName(name.text);
      m.kind = ResultKind::Normal;
      m.marker = lookup(name);
      next = i + 3;
    } else if (isOp(i, "<") && tokenAt(i + 1) && tokenAt(i + 1)->kind == Tok::Logical &&
               isOp(i + 2, ">")) {
      m.kind = ResultKind::Logify;  // <.t.> reads as the logical .T.
      m.marker = lookup(*tokenAt(i + 1));
      next = i + 3;
    } else if (isOp(i, "<") && tokenAt(i + 1) && tokenAt(i + 1)->kind == Tok::Ident &&
               isOp(i + 2, ">")) {
      m.kind = ResultKind::Regular;
      m.marker = lookup(*tokenAt(i + 1));
      if (m.marker < 0) failAt(*tokenAt(i + 1), "unknown match marker <" + tokenAt(i + 1)->text + ">");
      next = i + 3;
    } else if (isOp(i, "<") && isOp(i + 4, ">") && tokenAt(i + 2)) {
      static const struct { const char* open; const char* close; ResultKind kind; } kForms[] = {
          {"(", ")", ResultKind::Smart}, {"{", "}", ResultKind::Blockify},
          {".", ".", ResultKind::Logify}};
      for (const auto& f : kForms)
        if (isOp(i + 1, f.open) && isOp(i + 3, f.close)) {
          m.kind = f.kind;
          m.marker = lookup(*tokenAt(i + 2));
          next = i + 5;
        }
    }
    if (next == i) return i;
    if (m.marker < 0) failAt(toks_[i], "result marker names no match marker");
    m.token = toks_[i];  // its blank before goes to what replaces it
    out.push_back(std::move(m));
    return next;
  }

  const std::vector<Token>& toks_;
  size_t end_;
  Rule& rule_;
};

}  // namespace

std::string ruleSignature(const std::vector<Token>& line, size_t from) {
  std::string s;
  for (size_t i = from; i < line.size() && !line[i].is("=>"); ++i) {
    s += line[i].kind == Tok::Ident ? line[i].upper : line[i].text;
    s += ' ';
  }
  return s;
}

std::string ruleKey(const Token& t) {
  if (t.kind == Tok::Ident) return t.upper.substr(0, 4);
  return t.text;
}

bool parseRule(const std::vector<Token>& line, size_t from, bool command, bool exact, Rule& rule,
               Diagnostics& diags) {
  rule.command = command;
  rule.exact = exact;
  size_t arrow = from;
  while (arrow < line.size() && !(line[arrow].is("=>") && !(arrow > from && line[arrow - 1].is("\\"))))
    ++arrow;
  const Token& place = from < line.size() ? line[from] : line.empty() ? Token{} : line.back();
  if (arrow == line.size()) {
    diags.error(place.pos, "expected '=>' in rule");
    return false;
  }
  if (arrow == from) {
    diags.error(place.pos, "rule without a pattern");
    return false;
  }
  try {
    DefinitionReader reader(line, arrow, rule);
    reader.pattern(from, rule.pattern, 0);
    reader.result(arrow + 1, rule.result, 0);
  } catch (const RuleError& e) {
    diags.error(e.pos, e.message);
    return false;
  }
  const PatternItem& head = rule.pattern.front();
  if (head.type == PatternItem::Literal) {
    rule.key = ruleKey(head.token);
  } else if (command || head.type == PatternItem::Optional) {
    diags.error(place.pos, command ? "a command must begin with a keyword"
                                   : "a translation cannot begin with an optional clause");
    return false;
  }
  rule.signature = ruleSignature(line, from);
  return true;
}

void RuleSet::add(Rule rule) {
  auto shared = std::make_shared<const Rule>(std::move(rule));
  if (!shared->key.empty())
    (shared->command ? commandStarts_ : translateStarts_).set(static_cast<uint8_t>(shared->key[0]));
  List& list = shared->key.empty() ? open_
                                   : (shared->command ? commands_ : translates_)[shared->key];
  list.insert(list.begin(), std::move(shared));
  ++count_;
}

bool RuleSet::remove(bool command, const std::string& signature) {
  auto drop = [&](List& list) {
    for (auto it = list.begin(); it != list.end(); ++it)
      if ((*it)->command == command && (*it)->signature == signature) {
        list.erase(it);
        --count_;
        return true;
      }
    return false;
  };
  if (!command && drop(open_)) return true;
  for (auto& entry : command ? commands_ : translates_)
    if (drop(entry.second)) return true;
  return false;
}

std::vector<const Rule*> RuleSet::oldestFirst() const {
  std::vector<const Rule*> out;
  auto take = [&](const List& list) {
    for (auto it = list.rbegin(); it != list.rend(); ++it) out.push_back(it->get());
  };
  take(open_);
  for (const auto* map : {&commands_, &translates_})
    for (const auto& entry : *map) take(entry.second);
  return out;
}

const std::vector<std::shared_ptr<const Rule>>* RuleSet::candidates(bool command,
                                                                    const Token& t) const {
  const auto& map = command ? commands_ : translates_;
  const std::string& text = t.kind == Tok::Ident ? t.upper : t.text;
  if (text.empty() || !(command ? commandStarts_ : translateStarts_)[static_cast<uint8_t>(text[0])])
    return nullptr;
  auto it = map.find(ruleKey(t));
  return it == map.end() || it->second.empty() ? nullptr : &it->second;
}

}  // namespace pv

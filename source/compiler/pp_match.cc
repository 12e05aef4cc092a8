// Matching a rule's pattern against a statement's tokens. Matching is greedy and does not back
// up: a marker takes the longest expression it can, and a run of optional clauses is tried
// again and again (in any order, those that begin with a word first) until none matches.
#include <algorithm>
#include <cstdint>

#include "compiler/pp_rules.h"

namespace pv {

namespace {

constexpr size_t kNoMatch = SIZE_MAX;

// A keyword of the pattern against a word of the input: whole, or (outside the x forms) cut to
// four letters or more.
bool keywordMatches(const Token& in, const std::string& word, bool exact) {
  if (in.kind != Tok::Ident) return false;
  if (in.upper == word) return true;
  return !exact && in.upper.size() >= 4 && in.upper.size() < word.size() &&
         word.compare(0, in.upper.size(), in.upper) == 0;
}

bool literalMatches(const Token& in, const Token& lit, bool exact) {
  if (lit.kind == Tok::Ident) return keywordMatches(in, lit.upper, exact);
  return in.kind == lit.kind && in.text == lit.text;
}

// Whether an optional clause begins with a keyword or a restricted marker (a choice of words),
// so that it is tried before the clauses that begin with an expression.
bool startsWithWord(const PatternItem& group) {
  const PatternItem& first = group.group.front();
  return first.type == PatternItem::Literal ||
         (first.type == PatternItem::Marker && first.kind == MatchKind::Restricted);
}

class Matcher {
 public:
  Matcher(const Rule& rule, const std::vector<Token>& toks, size_t end, Captures& caps)
      : rule_(rule), toks_(toks), end_(end), caps_(caps) {
    caps_.assign(rule.markers.size(), {});
  }

  size_t sequence(const std::vector<PatternItem>& items, size_t pos) {
    for (size_t k = 0; k < items.size();) {
      if (items[k].type != PatternItem::Optional) {
        pos = single(items[k], pos);
        if (pos == kNoMatch) return kNoMatch;
        ++k;
        continue;
      }
      size_t run = k;
      while (run < items.size() && items[run].type == PatternItem::Optional) ++run;
      pos = optionals(items, k, run, pos);
      k = run;
    }
    return pos;
  }

 private:
  // The optional clauses items[from, to) at `pos`, in any order and repeatedly.
  size_t optionals(const std::vector<PatternItem>& items, size_t from, size_t to, size_t pos) {
    std::vector<const PatternItem*> order;
    for (size_t j = from; j < to; ++j)
      if (startsWithWord(items[j])) order.push_back(&items[j]);
    for (size_t j = from; j < to; ++j)
      if (!startsWithWord(items[j])) order.push_back(&items[j]);
    for (bool progress = true; progress && pos < end_;) {
      progress = false;
      for (const PatternItem* group : order) {
        std::vector<size_t> saved = sizes();
        size_t next = sequence(group->group, pos);
        if (next != kNoMatch && next > pos) {
          pos = next;
          progress = true;
          break;
        }
        restore(saved);
      }
    }
    return pos;
  }

  std::vector<size_t> sizes() const {
    std::vector<size_t> s;
    s.reserve(caps_.size());
    for (const auto& c : caps_) s.push_back(c.size());
    return s;
  }
  void restore(const std::vector<size_t>& s) {
    for (size_t m = 0; m < caps_.size(); ++m) caps_[m].resize(s[m]);
  }

  size_t single(const PatternItem& item, size_t pos) {
    if (item.type == PatternItem::Literal)
      return pos < end_ && literalMatches(toks_[pos], item.token, rule_.exact) ? pos + 1 : kNoMatch;
    size_t next = markerEnd(item, pos);
    if (next == kNoMatch) return kNoMatch;
    Capture c;
    if (item.kind == MatchKind::List) {
      for (size_t i = pos; i < next;) {
        size_t e = skimExpression(toks_, i, next);
        c.parts.emplace_back(toks_.begin() + static_cast<long>(i), toks_.begin() + static_cast<long>(e));
        i = e + 1;  // past the comma
      }
    } else {
      c.parts.emplace_back(toks_.begin() + static_cast<long>(pos), toks_.begin() + static_cast<long>(next));
    }
    caps_[static_cast<size_t>(item.marker)].push_back(std::move(c));
    return next;
  }

  // Where the text a marker matches at `pos` ends, or kNoMatch.
  size_t markerEnd(const PatternItem& item, size_t pos) {
    switch (item.kind) {
      case MatchKind::Wild:
        return end_;
      case MatchKind::Regular: {
        size_t e = skimExpression(toks_, pos, end_);
        return e == pos ? kNoMatch : e;
      }
      case MatchKind::List: {
        size_t e = skimExpression(toks_, pos, end_);
        if (e == pos) return kNoMatch;
        while (e + 1 < end_ && toks_[e].is(",")) {
          size_t more = skimExpression(toks_, e + 1, end_);
          if (more == e + 1) break;
          e = more;
        }
        return e;
      }
      case MatchKind::Restricted:
        return restricted(item, pos);
      case MatchKind::Extended:
        return extended(pos);
    }
    return kNoMatch;
  }

  size_t restricted(const PatternItem& item, size_t pos) {
    if (pos >= end_) return kNoMatch;
    for (const std::string& w : item.words) {
      if (w == "&") {
        if (toks_[pos].is("&") && pos + 1 < end_ && toks_[pos + 1].kind == Tok::Ident) return pos + 2;
      } else if (keywordMatches(toks_[pos], w, rule_.exact)) {
        return pos + 1;
      }
    }
    return kNoMatch;
  }

  // A parenthesised expression, or a run of tokens without blanks between them (a file name).
  size_t extended(size_t pos) {
    if (pos >= end_ || toks_[pos].kind == Tok::Eol) return kNoMatch;
    if (toks_[pos].is("(")) {
      size_t e = skimExpression(toks_, pos, end_);
      return e == pos ? kNoMatch : e;
    }
    if (toks_[pos].is(",")) return kNoMatch;
    size_t e = pos + 1;
    while (e < end_ && !toks_[e].spaceBefore && !toks_[e].is(",")) ++e;
    return e;
  }

  const Rule& rule_;
  const std::vector<Token>& toks_;
  size_t end_;
  Captures& caps_;
};

}  // namespace

bool startsWithKeyword(const Rule& rule, const Token& t) {
  const PatternItem& head = rule.pattern.front();
  return head.type == PatternItem::Literal && literalMatches(t, head.token, rule.exact);
}

size_t matchRule(const Rule& rule, const std::vector<Token>& toks, size_t from, size_t end,
                 Captures& captures) {
  Matcher m(rule, toks, end, captures);
  return m.sequence(rule.pattern, from);
}

}  // namespace pv

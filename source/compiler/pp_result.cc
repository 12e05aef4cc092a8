// Writing a rule's result for what its pattern matched.
#include "compiler/pp_rules.h"

namespace pv {

namespace {

class Builder {
 public:
  Builder(const Captures& caps, const Token& at) : caps_(caps), at_(at) {}

  // `occurrence`: which match of the markers to use inside a repeated clause (-1: the first).
  void items(const std::vector<ResultItem>& list, int occurrence) {
    for (const ResultItem& item : list) {
      if (item.type == ResultItem::Literal) {
        Token t = item.token;
        place(t);
        out_.push_back(std::move(t));
      } else if (item.type == ResultItem::Marker) {
        size_t first = out_.size();
        marker(item, capture(item.marker, occurrence));
        if (out_.size() > first) out_[first].spaceBefore = item.token.spaceBefore;
      } else if (occurrence >= 0) {
        if (occurrences(item.group) > static_cast<size_t>(occurrence)) items(item.group, occurrence);
      } else {
        size_t n = occurrences(item.group);
        for (size_t k = 0; k < n; ++k) items(item.group, static_cast<int>(k));
      }
    }
  }

  std::vector<Token> take() { return std::move(out_); }

 private:
  void place(Token& t) const {
    t.pos = at_.pos;
    t.offset = at_.offset;
    t.length = at_.length;
    t.bol = false;
  }

  Token made(Tok kind, const std::string& text) const {
    Token t;
    t.kind = kind;
    t.text = text;
    t.upper = kind == Tok::Ident ? upperName(text) : text;
    t.spaceBefore = true;
    place(t);
    return t;
  }
  Token op(const char* text, bool space = false) const {
    Token t = made(Tok::Op, text);
    t.spaceBefore = space;
    return t;
  }

  // How often the markers inside a clause matched (the most of any of them).
  size_t occurrences(const std::vector<ResultItem>& list) const {
    size_t n = 0;
    for (const ResultItem& item : list) {
      if (item.type == ResultItem::Marker)
        n = std::max(n, caps_[static_cast<size_t>(item.marker)].size());
      else if (item.type == ResultItem::Optional)
        n = std::max(n, occurrences(item.group));
    }
    return n;
  }

  const Capture* capture(int marker, int occurrence) const {
    const auto& list = caps_[static_cast<size_t>(marker)];
    size_t k = occurrence < 0 ? 0 : static_cast<size_t>(occurrence);
    return k < list.size() ? &list[k] : nullptr;
  }

  void append(const std::vector<Token>& toks) { out_.insert(out_.end(), toks.begin(), toks.end()); }

  void marker(const ResultItem& item, const Capture* c) {
    if (item.kind == ResultKind::Logify) {
      Token t = made(Tok::Logical, c ? ".T." : ".F.");
      t.upper = t.text;
      t.ival = c ? 1 : 0;
      out_.push_back(std::move(t));
      return;
    }
    if (item.kind == ResultKind::Dumb) {
      std::string text;
      for (size_t k = 0; c && k < c->parts.size(); ++k)
        text += (k ? ", " : "") + tokensText(c->parts[k]);
      out_.push_back(made(Tok::String, text));
      return;
    }
    if (!c) return;
    for (size_t k = 0; k < c->parts.size(); ++k) {
      if (k) out_.push_back(op(","));
      part(item.kind, c->parts[k]);
    }
  }

  void part(ResultKind kind, const std::vector<Token>& p) {
    if (p.empty()) return;
    bool literal = p.size() == 1 && p[0].kind == Tok::String;  // already a string
    bool number = p.size() == 1 && p[0].kind == Tok::Number;   // SELECT 2: an area, no name
    if ((literal && kind == ResultKind::Normal) ||
        ((literal || number) && kind == ResultKind::Smart)) {
      append(p);
      return;
    }
    switch (kind) {
      case ResultKind::Regular:
        append(p);
        return;
      case ResultKind::Normal:
        out_.push_back(made(Tok::String, tokensText(p)));
        return;
      case ResultKind::Smart:
        if (p[0].is("(")) {
          append(p);
        } else if (p[0].is("&") && p.size() >= 2 && p.size() <= 3) {
          out_.push_back(p[1]);  // &name: the variable that holds the text
        } else {
          out_.push_back(made(Tok::String, tokensText(p)));
        }
        return;
      case ResultKind::Blockify:
        if (p.size() > 1 && p[0].is("{") && p[1].is("|")) {
          append(p);
          return;
        }
        out_.push_back(op("{", true));
        out_.push_back(op("|"));
        out_.push_back(op("|"));
        append(p);
        out_.push_back(op("}", true));
        return;
      default:
        return;
    }
  }

  const Captures& caps_;
  const Token& at_;
  std::vector<Token> out_;
};

}  // namespace

std::vector<Token> buildResult(const Rule& rule, const Captures& captures, const Token& at) {
  Builder b(captures, at);
  b.items(rule.result, -1);
  return b.take();
}

}  // namespace pv

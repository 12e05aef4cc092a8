// Saving and restoring the definitions of a header as bytes (layout in pp_snapshot.h).
#include "compiler/pp_snapshot.h"

#include <cstring>
#include <type_traits>

namespace pv {

namespace {

constexpr char kMagic[] = "PVPP";
constexpr uint8_t kLayoutVersion = 1;

enum TokenFlags : uint8_t { kBol = 1, kSpaceBefore = 2, kUnmatchedCommand = 4, kIsInt = 8 };

bool hasIval(Tok kind) { return kind == Tok::Number || kind == Tok::Date || kind == Tok::Logical; }

class Writer {
 public:
  std::string out;

  void byte(uint8_t b) { out += static_cast<char>(b); }
  void number(uint64_t n) {
    for (; n >= 0x80; n >>= 7) byte(static_cast<uint8_t>(n | 0x80));
    byte(static_cast<uint8_t>(n));
  }
  void signedNumber(int64_t n) {
    number((static_cast<uint64_t>(n) << 1) ^ static_cast<uint64_t>(n >> 63));
  }
  void text(const std::string& s) {
    number(s.size());
    out += s;
  }
  void texts(const std::vector<std::string>& list) {
    number(list.size());
    for (const std::string& s : list) text(s);
  }
  void token(const Token& t) {
    byte(static_cast<uint8_t>(t.kind));
    byte(static_cast<uint8_t>((t.bol ? kBol : 0) | (t.spaceBefore ? kSpaceBefore : 0) |
                              (t.unmatchedCommand ? kUnmatchedCommand : 0) | (t.isInt ? kIsInt : 0)));
    text(t.text);
    text(t.upper);
    number(static_cast<uint64_t>(t.pos.line));
    number(static_cast<uint64_t>(t.pos.col));
    number(t.offset);
    number(t.length);
    if (hasIval(t.kind)) signedNumber(t.ival);
    if (t.kind != Tok::Number) return;
    uint64_t bits;
    std::memcpy(&bits, &t.dval, sizeof bits);
    for (int i = 0; i < 8; ++i) byte(static_cast<uint8_t>(bits >> (8 * i)));
    byte(t.width);
    byte(t.decimals);
  }
  template <class Item>
  void items(const std::vector<Item>& list) {
    number(list.size());
    for (const Item& item : list) this->item(item);
  }
  template <class Item>
  void item(const Item& i) {
    byte(static_cast<uint8_t>(i.type));
    token(i.token);
    signedNumber(i.marker);
    byte(static_cast<uint8_t>(i.kind));
    if constexpr (std::is_same_v<Item, PatternItem>) texts(i.words);
    items(i.group);
  }
  void rule(const Rule& r) {
    byte(static_cast<uint8_t>((r.command ? 1 : 0) | (r.exact ? 2 : 0)));
    texts(r.markers);
    text(r.key);
    text(r.signature);
    items(r.pattern);
    items(r.result);
  }
};

// Reads what Writer wrote; a read past the end (or a count larger than the bytes left) clears
// `ok` and yields zeros from then on.
class Reader {
 public:
  Reader(std::string_view bytes, int file) : in_(bytes), file_(file) {}
  bool ok = true;

  bool atEnd() const { return at_ == in_.size(); }
  uint8_t byte() {
    if (at_ >= in_.size()) ok = false;
    return ok ? static_cast<uint8_t>(in_[at_++]) : 0;
  }
  uint64_t number() {
    uint64_t n = 0;
    for (int shift = 0; ok && shift < 64; shift += 7) {
      uint8_t b = byte();
      n |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return n;
    }
    ok = false;
    return 0;
  }
  int64_t signedNumber() {
    uint64_t n = number();
    return static_cast<int64_t>(n >> 1) ^ -static_cast<int64_t>(n & 1);
  }
  size_t count() {
    uint64_t n = number();
    if (n > in_.size() - at_) ok = false;
    return ok ? static_cast<size_t>(n) : 0;
  }
  std::string text() {
    size_t n = count();
    std::string s(in_.substr(at_, n));
    at_ += n;
    return s;
  }
  std::vector<std::string> texts() {
    std::vector<std::string> list(count());
    for (std::string& s : list) s = text();
    return list;
  }
  Token token() {
    Token t;
    t.kind = static_cast<Tok>(byte());
    uint8_t flags = byte();
    t.bol = flags & kBol;
    t.spaceBefore = flags & kSpaceBefore;
    t.unmatchedCommand = flags & kUnmatchedCommand;
    t.isInt = flags & kIsInt;
    t.text = text();
    t.upper = text();
    t.pos = {file_, static_cast<int>(number()), static_cast<int>(number())};
    t.offset = static_cast<uint32_t>(number());
    t.length = static_cast<uint32_t>(number());
    if (hasIval(t.kind)) t.ival = signedNumber();
    if (t.kind != Tok::Number) return t;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(byte()) << (8 * i);
    std::memcpy(&t.dval, &bits, sizeof bits);
    t.width = byte();
    t.decimals = byte();
    return t;
  }
  template <class Item>
  std::vector<Item> items() {
    std::vector<Item> list(count());
    for (Item& i : list) item(i);
    return list;
  }
  template <class Item>
  void item(Item& i) {
    i.type = static_cast<decltype(i.type)>(byte());
    i.token = token();
    i.marker = static_cast<int>(signedNumber());
    i.kind = static_cast<decltype(i.kind)>(byte());
    if constexpr (std::is_same_v<Item, PatternItem>) i.words = texts();
    i.group = items<Item>();
  }
  Rule rule() {
    Rule r;
    uint8_t flags = byte();
    r.command = flags & 1;
    r.exact = flags & 2;
    r.markers = texts();
    r.key = text();
    r.signature = text();
    r.pattern = items<PatternItem>();
    r.result = items<ResultItem>();
    return r;
  }

 private:
  std::string_view in_;
  size_t at_ = 0;
  int file_;
};

}  // namespace

std::string saveDefinitions(const RuleSet& rules, const MacroTable& macros) {
  Writer w;
  w.out.append(kMagic, 4);
  w.byte(kLayoutVersion);
  std::vector<const Rule*> list = rules.oldestFirst();
  w.number(list.size());
  for (const Rule* r : list) w.rule(*r);
  w.number(macros.size());
  for (const auto& [name, m] : macros) {
    w.text(name);
    w.byte(m.functionLike ? 1 : 0);
    w.texts(m.params);
    w.number(m.body.size());
    for (const Token& t : m.body) w.token(t);
  }
  return w.out;
}

bool loadDefinitions(std::string_view bytes, int file, RuleSet& rules, MacroTable& macros) {
  if (bytes.size() < 5 || bytes.substr(0, 4) != kMagic ||
      static_cast<uint8_t>(bytes[4]) != kLayoutVersion)
    return false;
  Reader r(bytes.substr(5), file);
  std::vector<Rule> newRules(r.count());
  for (Rule& rule : newRules) rule = r.rule();
  std::vector<std::pair<std::string, MacroDefinition>> newMacros(r.count());
  for (auto& [name, m] : newMacros) {
    name = r.text();
    m.functionLike = r.byte() & 1;
    m.params = r.texts();
    m.body.resize(r.count());
    for (Token& t : m.body) t = r.token();
  }
  if (!r.ok || !r.atEnd()) return false;
  for (Rule& rule : newRules) rules.add(std::move(rule));
  for (auto& [name, m] : newMacros) macros[name] = std::move(m);
  return true;
}

}  // namespace pv

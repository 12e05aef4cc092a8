// The invoice table generator: names, invoice groups and records, drawn in a fixed order.
#include "product_generator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "dbf/dbf_codec.h"
#include "fs/coding.h"

namespace pv::tools {
namespace {

// splitmix64: small, fast, and the same sequence as the reference script.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next64() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t below(uint64_t n) { return next64() % n; }
  bool chance(int percent) { return below(1000) < uint64_t(percent) * 10; }
  template <typename T>
  const T& pick(const std::vector<T>& v) { return v[below(v.size())]; }

 private:
  uint64_t state_;
};

// The few non-ASCII letters of the name lists, UTF-8 to code page 850.
std::string Cp850(const std::string& utf8) {
  static const struct { const char* u; char c; } kMap[] = {
      {"ä", '\x84'}, {"ö", '\x94'}, {"ü", '\x81'}, {"Ä", '\x8E'}, {"Ö", '\x99'}, {"Ü", '\x9A'}, {"ß", '\xE1'}};
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    bool mapped = false;
    for (const auto& m : kMap) {
      if (utf8.compare(i, 2, m.u) == 0) {
        out += m.c, i += 2, mapped = true;
        break;
      }
    }
    if (!mapped) out += utf8[i++];
  }
  return out;
}

std::vector<std::string> Cp850List(std::initializer_list<const char*> names) {
  std::vector<std::string> out;
  for (const char* n : names) out.push_back(Cp850(n));
  return out;
}

const std::vector<std::string> kFirst = Cp850List(
    {"Hans", "Jürgen", "Anna", "Björn", "Käthe", "Peter", "Sabine", "Uwe", "Günter", "Maria", "Klaus",
     "Jörg", "Monika", "Dieter", "Ute", "Frank", "Heike", "Ralf", "Birgit", "Stefan", "Doris", "Horst",
     "Renate", "Bernd"});
const std::vector<std::string> kLast = Cp850List(
    {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker", "Schulz",
     "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf", "Schröder", "Neumann",
     "Schwarz", "Zimmermann", "Braun", "Krüger", "Hofmann", "Hartmann", "Lange", "Schmitt", "Werner",
     "Krause", "Meier", "Lehmann", "Schmid", "Schulze", "Maier", "Köhler", "Herrmann", "König",
     "Walter", "Mayer", "Huber", "Kaiser", "Fuchs", "Peters", "Lang", "Scholz", "Möller", "Weiß",
     "Jung", "Hahn", "Schubert", "Vogel", "Friedrich", "Keller", "Günther", "Frank", "Berger",
     "Winkler", "Roth", "Beck", "Lorenz", "Baumann"});
const std::vector<std::string> kSuffix = Cp850List(
    {"GmbH", "AG", "KG", "OHG", "& Söhne", "e.K.", "GbR", "Bau", "Büro", "Elektro", "Gärtnerei",
     "Bäckerei", "Möbel", "Straßenbau", "Technik", "Handel", "Druck", "Verlag", "Apotheke", "Küchen"});
const std::vector<std::string> kOther = Cp850List(
    {"Wartung", "Schulung 1 Tag", "Update-Service", "Hotline", "Zubehör", "Porto",
     "Installation vor Ort", "Lizenz Netzwerk"});

// Upper case keeping the byte length: 'ß' stays as it is.
std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = char(c - 32);
    else if (c == '\x84') c = '\x8E';
    else if (c == '\x94') c = '\x99';
    else if (c == '\x81') c = '\x9A';
  }
  return s;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
    else if (c == '\x8E') c = '\x84';
    else if (c == '\x99') c = '\x94';
    else if (c == '\x9A') c = '\x81';
  }
  return s;
}

std::vector<std::string> MakeCustomers(Rng& rng, size_t count) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  while (names.size() < count) {
    std::string name;
    if (!names.empty() && rng.chance(3)) {
      const std::string& base = rng.pick(names);
      name = rng.chance(60) ? Upper(base) : Lower(base);
    } else {
      uint64_t kind = rng.below(3);
      const std::string& last = rng.pick(kLast);
      const std::string& suffix = rng.pick(kSuffix);
      if (kind == 0) name = last + " " + suffix;
      else if (kind == 1) name = rng.pick(kFirst) + " " + last + " " + suffix;
      else name = last + ", " + rng.pick(kFirst);
      if (rng.chance(15)) name = Upper(name);
    }
    std::string base = name = name.substr(0, 30);
    for (int n = 2; seen.count(name); ++n) {  // a branch number makes it distinct
      std::string digits = std::to_string(n);
      name = base.substr(0, 30 - 1 - digits.size()) + " " + digits;
    }
    seen.insert(name);
    names.push_back(name);
  }
  return names;
}

struct Group {
  uint32_t id;
  size_t customer;
  std::string invoice;
  int32_t day;  // Julian day
  uint32_t size;
};

std::vector<Group> MakeGroups(Rng& rng, uint32_t records) {
  const int32_t from = dbf::JulianFromYmd(2015, 1, 1);
  const int32_t span = dbf::JulianFromYmd(2024, 12, 31) - from + 1;
  std::vector<Group> groups;
  uint32_t next_id = 10001;
  for (uint32_t left = records; left > 0;) {
    uint32_t size = std::min<uint32_t>(uint32_t(1 + rng.below(6)), left);
    int32_t day = from + int32_t(rng.below(uint64_t(span)));
    int y, m, d;
    dbf::YmdFromJulian(day, &y, &m, &d);
    char invoice[16];
    std::snprintf(invoice, sizeof invoice, "R%02d%07u", y % 100, unsigned((groups.size() + 1) % 10000000));
    groups.push_back({next_id, 0, invoice, day, size});
    next_id += uint32_t(1 + rng.below(3));  // gaps, as after deletions
    left -= size;
  }
  for (size_t i = 0; i + 1 < groups.size(); ++i) {
    if (rng.chance(5)) std::swap(groups[i], groups[i + 1]);
  }
  return groups;
}

std::string Pad(std::string s, size_t width) {
  s.resize(width, ' ');
  return s;
}

std::string ValueText(int64_t cents) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", cents < 0 ? "-" : "",
                (long long)(std::llabs(cents) / 100), (long long)(std::llabs(cents) % 100));
  std::string s = buf;
  return std::string(s.size() < 10 ? 10 - s.size() : 0, ' ') + s;
}

std::string Header(const ProductOptions& o) {
  static const struct { const char* name; char type; uint8_t len, dec; } kFields[] = {
      {"ID_NR", 'N', 8, 0}, {"CUSTOMER", 'C', 30, 0}, {"PRODUCT", 'C', 20, 0},
      {"INVOICE", 'C', 10, 0}, {"VALUE", 'N', 10, 2}, {"INV_DATE", 'D', 8, 0}};
  std::string h(32 + 32 * 6 + 1, '\0');
  auto* p = reinterpret_cast<uint8_t*>(h.data());
  p[0] = 0x03, p[1] = 124, p[2] = 1, p[3] = 1;  // last update fixed at 2024-01-01
  EncodeLE32(p + 4, o.records);
  EncodeLE16(p + 8, uint16_t(h.size()));
  EncodeLE16(p + 10, 1 + 8 + 30 + 20 + 10 + 10 + 8);
  p[29] = o.code_page_mark;
  for (int i = 0; i < 6; ++i) {
    uint8_t* d = p + 32 + 32 * i;
    std::memcpy(d, kFields[i].name, std::strlen(kFields[i].name));
    d[11] = uint8_t(kFields[i].type), d[16] = kFields[i].len, d[17] = kFields[i].dec;
  }
  h.back() = '\r';
  return h;
}

}  // namespace

bool WriteProductTable(const std::string& path, const ProductOptions& o, std::string* error) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!f) {
    *error = "cannot create " + path;
    return false;
  }
  Rng rng(o.seed);
  std::vector<std::string> customers = MakeCustomers(rng, std::max<size_t>(1, o.records / 5));
  std::vector<Group> groups = MakeGroups(rng, o.records);
  std::vector<size_t> order(customers.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  for (size_t i = order.size() - 1; i > 0; --i) std::swap(order[i], order[rng.below(i + 1)]);
  for (size_t g = 0; g < groups.size(); ++g) {
    groups[g].customer = g < order.size() ? order[g] : size_t(rng.below(customers.size()));
  }
  std::string out = Header(o);
  for (const Group& g : groups) {
    char id[16];
    std::snprintf(id, sizeof id, "%8u", g.id);
    int y, m, d;
    dbf::YmdFromJulian(g.day, &y, &m, &d);
    char date[16];
    std::snprintf(date, sizeof date, "%04d%02d%02d", y, m, d);
    std::string head = std::string(" ") + id + Pad(customers[g.customer], 30);
    std::string tail = Pad(g.invoice, 10);
    for (uint32_t line = 0; line < g.size; ++line) {
      uint64_t r = rng.below(100);
      std::string product;
      if (r < 85) {
        int n = int(rng.below(10)) + 1;
        product = (n < 10 ? "Program 0" : "Program ") + std::to_string(n);
      } else if (r < 95) {
        product = rng.pick(kOther);
      }
      int64_t cents = 50 + int64_t(rng.below(2500000));
      if (rng.chance(2)) cents = -cents;  // a credit line
      out += head + Pad(product, 20) + tail + ValueText(cents) + date;
      if (out.size() >= (1u << 20) && std::fwrite(out.data(), 1, out.size(), f.get()) != out.size()) {
        *error = "cannot write " + path;
        return false;
      }
      if (out.size() >= (1u << 20)) out.clear();
    }
  }
  out += '\x1A';
  if (std::fwrite(out.data(), 1, out.size(), f.get()) != out.size() || std::fflush(f.get()) != 0) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace pv::tools

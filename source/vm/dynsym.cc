// The global table of dynamic symbols: one vector of pointers kept sorted by name, searched by
// bisection; the last search position is the insertion point.
#include "dynsym.h"

#include <cctype>
#include <cstring>
#include <deque>

#include "item.h"

namespace {

struct Table {
  std::vector<PvDynSym*> sorted;
  std::deque<PvDynSym> storage;       // stable addresses
  std::deque<std::string> names;      // own copies for free-standing symbols
  std::deque<PvSymbol> freeSymbols;   // pv_symbolNew
  size_t lastPos = 0;
  bool (*resolver)(const char*) = nullptr;
  bool resolving = false;
};

Table& table() {
  static Table t;
  return t;
}

PvDynSym* search(const char* name) {
  Table& t = table();
  size_t lo = 0, hi = t.sorted.size();
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int c = std::strcmp(t.sorted[mid]->symbol->name, name);
    if (c == 0) {
      t.lastPos = mid;
      return t.sorted[mid];
    }
    if (c < 0) lo = mid + 1;
    else hi = mid;
  }
  t.lastPos = lo;
  return nullptr;
}

PvDynSym* insert(PvSymbol* symbol) {
  Table& t = table();
  t.storage.push_back(PvDynSym{symbol, 0, 0, {0, 0, 0, 0}, nullptr});
  PvDynSym* d = &t.storage.back();
  t.sorted.insert(t.sorted.begin() + static_cast<long>(t.lastPos), d);
  return d;
}

// Upper-cases at most 63 characters, stopping at NUL, blank or tab.
std::string upperName(const char* text) {
  std::string out;
  for (const char* p = text; *p && *p != ' ' && *p != '\t' && out.size() < 63; ++p)
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  return out;
}

}  // namespace

PvDynSym* pv_dynsymFind(const char* name) { return search(name); }

PvDynSym* pv_dynsymFindName(const char* text) { return search(upperName(text).c_str()); }

PvDynSym* pv_dynsymFunction(const char* name) {
  Table& t = table();
  PvDynSym* d = search(name);
  if (d && d->symbol->value.func) return d;
  if (!t.resolver || t.resolving) return nullptr;
  t.resolving = true;
  bool registered = t.resolver(name);
  t.resolving = false;
  d = registered ? search(name) : nullptr;
  return d && d->symbol->value.func ? d : nullptr;
}

PvDynSym* pv_dynsymFunctionName(const char* text) { return pv_dynsymFunction(upperName(text).c_str()); }

void pv_dynsymSetResolver(bool (*resolver)(const char*)) { table().resolver = resolver; }

PvSymbol* pv_symbolNew(const char* name) {
  Table& t = table();
  t.names.emplace_back(name);
  t.freeSymbols.push_back(PvSymbol{t.names.back().c_str(), 0, {nullptr}, nullptr});
  return &t.freeSymbols.back();
}

PvDynSym* pv_dynsymGet(const char* text) {
  std::string name = upperName(text);
  if (PvDynSym* d = search(name.c_str())) return d;
  PvSymbol* s = pv_symbolNew(name.c_str());
  s->scope = PV_FS_PUBLIC;
  PvDynSym* d = insert(s);
  s->dynsym = d;
  return d;
}

PvDynSym* pv_dynsymNew(PvSymbol* symbol, PvModule* module) {
  PvDynSym* d = search(symbol->name);
  if (d) {
    bool hasFunc = symbol->value.func != nullptr;
    if (symbol->scope & PV_FS_LOCAL) {
      d->symbol = symbol;
      d->module = module;
    } else if (hasFunc && !d->symbol->value.func) {
      d->symbol = symbol;
    }
  } else {
    d = insert(symbol);
    if (symbol->scope & PV_FS_LOCAL) d->module = module;
  }
  symbol->dynsym = d;
  return d;
}

const char* pv_dynsymName(PvDynSym* d) { return d ? d->symbol->name : ""; }
PvSymbol* pv_dynsymSymbol(PvDynSym* d) { return d ? d->symbol : nullptr; }
bool pv_dynsymIsFunction(PvDynSym* d) { return d && d->symbol->value.func != nullptr; }
int pv_dynsymCount() { return static_cast<int>(table().sorted.size()); }
PvDynSym* pv_dynsymAt(int i) { return table().sorted[static_cast<size_t>(i)]; }

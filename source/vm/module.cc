// Registration of module symbol tables: the module list, the main-procedure candidate and the
// linking of public names into the dynamic-symbol table.
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include "dynsym.h"
#include "errint.h"
#include "pcode.h"

namespace {

struct Registry {
  std::deque<PvModule> modules;
  PvModule* first = nullptr;
  PvModule* last = nullptr;
  PvSymbol* mainCandidate = nullptr;
  std::deque<std::unique_ptr<PvSymbol[]>> copiedTables;
  std::deque<std::string> copiedNames;
};

Registry& registry() {
  static Registry r;
  return r;
}

PvModule* registerTable(PvSymbol* symbols, uint16_t count, const char* name, bool dynamic) {
  Registry& r = registry();
  r.modules.push_back(PvModule{symbols, count, nullptr, 0, name ? name : "", dynamic, true,
                               false, nullptr, nullptr});
  PvModule* m = &r.modules.back();
  if (r.last) r.last->next = m;
  else r.first = m;
  r.last = m;
  for (uint16_t i = 0; i < count; ++i) {
    PvSymbol* s = &symbols[i];
    if (dynamic) s->scope |= PV_FS_DYNCODE;
    m->allScopes |= s->scope;
    if ((s->scope & PV_FS_PCODEFUNC) && s->value.pcode) s->value.pcode->symbols = symbols;
    if (!r.mainCandidate && !dynamic && (s->scope & PV_FS_FIRST) && !(s->scope & PV_FS_INITEXIT))
      r.mainCandidate = s;
    if (s->scope & PV_FS_MESSAGENAME) {
      PvDynSym* d = pv_dynsymFind(s->name);
      if (!dynamic && d && (s->scope & PV_FS_LOCAL) && (d->symbol->scope & PV_FS_LOCAL) &&
          d->symbol != s) {
        s->dynsym = d;  // the first registered local definition keeps the name
      } else {
        pv_dynsymNew(s, m);
      }
    }
    if ((s->scope & PV_FS_INITEXIT) == PV_FS_INITEXIT) m->initPending = true;
  }
  return m;
}

void checkVersion(const char* name, uint32_t version) {
  if (version != static_cast<uint32_t>(pv::kPcodeVersion)) {
    std::string v = std::to_string(version);
    pv_errInternal(9000,
                   "'%s' was compiled by older version, PCODE version %s is no longer supported - "
                   "Please recompile.\n",
                   name, v.c_str());
  }
}

}  // namespace

PvModule* pv_vmProcessSymbols(PvSymbol* symbols, uint16_t count, const char* name,
                              uint32_t version, uint32_t) {
  checkVersion(name, version);
  return registerTable(symbols, count, name, false);
}

PvModule* pv_vmProcessDllSymbols(PvSymbol* symbols, uint16_t count, const char* name,
                                 uint32_t version) {
  checkVersion(name, version);
  Registry& r = registry();
  auto copy = std::make_unique<PvSymbol[]>(count);
  for (uint16_t i = 0; i < count; ++i) {
    r.copiedNames.emplace_back(symbols[i].name);
    copy[i] = symbols[i];
    copy[i].name = r.copiedNames.back().c_str();
    copy[i].dynsym = nullptr;
  }
  PvSymbol* table = copy.get();
  r.copiedTables.push_back(std::move(copy));
  return registerTable(table, count, name, true);
}

PvModule* pv_moduleFirst() { return registry().first; }
PvSymbol* pv_vmMainCandidate() { return registry().mainCandidate; }

PvModule* pv_moduleOfSymbol(const PvSymbol* symbol) {
  for (PvModule* m = registry().first; m; m = m->next)
    if (symbol >= m->symbols && symbol < m->symbols + m->count) return m;
  return nullptr;
}

void pv_moduleReleaseAll() {
  Registry& r = registry();
  for (PvModule* m = r.first; m; m = m->next) {
    if (!m->copied) continue;
    for (uint16_t i = 0; i < m->count; ++i) {  // names into freed tables are cleared
      PvDynSym* d = m->symbols[i].dynsym;
      if (d && d->symbol == &m->symbols[i]) {
        d->symbol = pv_symbolNew(m->symbols[i].name);
        d->symbol->scope = PV_FS_PUBLIC;
        d->symbol->dynsym = d;
        d->module = nullptr;
      }
    }
    m->active = false;
  }
}

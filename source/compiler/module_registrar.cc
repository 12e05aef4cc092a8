// Registers a module compiled in memory with the runtime.
#include "compiler/module_registrar.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "vm/pcode.h"
#include "vm/symbol.h"

namespace {

// What a registered module's table points into; never freed (the runtime keeps pointers).
struct Storage {
  std::string name;
  std::deque<std::string> names;
  std::deque<std::vector<uint8_t>> code;
  std::deque<PvPcodeFunc> funcs;
  std::vector<PvSymbol> symbols;
};

std::deque<Storage>& storage() {
  static std::deque<Storage> all;
  return all;
}

}  // namespace

PvModule* pv_compilerRegisterModule(const pv::CompiledModule& module) {
  Storage& s = storage().emplace_back();
  s.name = module.name;
  std::vector<PvPcodeFunc*> funcOf(module.procs.size());
  for (size_t i = 0; i < module.procs.size(); ++i) {
    s.code.push_back(module.procs[i].code);
    funcOf[i] = &s.funcs.emplace_back(PvPcodeFunc{s.code.back().data(), nullptr, nullptr,
                                                           static_cast<uint32_t>(s.code.back().size())});
  }
  s.symbols.reserve(module.symbols.size());
  for (const pv::ModuleSymbol& m : module.symbols) {
    PvSymbol sym{};
    sym.name = s.names.emplace_back(m.name).c_str();
    sym.scope = m.scope;
    if (m.proc >= 0 && static_cast<size_t>(m.proc) < funcOf.size()) sym.value.pcode = funcOf[m.proc];
    s.symbols.push_back(sym);
  }
  return pv_vmProcessSymbols(s.symbols.data(), static_cast<uint16_t>(s.symbols.size()),
                             s.name.c_str(), pv::kPcodeVersion, 0);
}

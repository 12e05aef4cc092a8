// Registration of modules compiled in memory: the compiled form is copied into storage that
// lives as long as the process, laid out as generated modules lay it out.
#include "module_loader.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "vm/pcode.h"
#include "vm/symbol.h"

namespace {

struct LoadedModule {
  pv::CompiledModule source;            // names and bytecode live here
  std::vector<PvPcodeFunc> functions;
  std::vector<PvSymbol> symbols;
};

std::deque<std::unique_ptr<LoadedModule>>& loaded() {
  static std::deque<std::unique_ptr<LoadedModule>> modules;
  return modules;
}

}  // namespace

PvModule* pv_loadCompiledModule(const pv::CompiledModule& module) {
  auto m = std::make_unique<LoadedModule>();
  m->source = module;
  m->functions.reserve(m->source.procs.size());
  for (const auto& proc : m->source.procs)
    m->functions.push_back(PvPcodeFunc{proc.code.data(), nullptr, nullptr});
  for (const auto& s : m->source.symbols) {
    PvSymbol sym{s.name.c_str(), s.scope, {nullptr}, nullptr};
    if (s.proc >= 0) sym.value.pcode = &m->functions[static_cast<size_t>(s.proc)];
    m->symbols.push_back(sym);
  }
  LoadedModule* raw = m.get();
  loaded().push_back(std::move(m));
  return pv_vmProcessSymbols(raw->symbols.data(), static_cast<uint16_t>(raw->symbols.size()),
                             raw->source.name.c_str(), pv::kPcodeVersion, 0);
}

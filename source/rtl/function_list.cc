// The registered language functions, read from the module list.
#include "function_list.h"

#include <map>

#include "dynsym.h"

namespace {

// Whether a module symbol is a function that programs can call by name.
bool isLanguageFunction(const PvSymbol& s) {
  const uint32_t kNotCallable = PV_FS_MESSAGE | PV_FS_MEMVAR | PV_FS_STATIC | PV_FS_INITEXIT;
  return (s.scope & PV_FS_PUBLIC) && (s.scope & PV_FS_LOCAL) && !(s.scope & kNotCallable) &&
         s.value.func != nullptr;
}

}  // namespace

std::vector<PvFunctionEntry> pv_rtlRegisteredFunctions() {
  std::map<std::string, PvFunctionEntry> byName;
  for (PvModule* m = pv_moduleFirst(); m; m = m->next)
    for (uint16_t i = 0; i < m->count; ++i)
      if (isLanguageFunction(m->symbols[i]))
        byName.emplace(m->symbols[i].name, PvFunctionEntry{m->symbols[i].name, m->name, &m->symbols[i]});
  std::vector<PvFunctionEntry> out;
  for (auto& [name, entry] : byName) out.push_back(entry);
  return out;
}

// The runtime's macro interface over the macro compiler.
#include "compiler/macro.h"

#include "compiler/macro_compiler.h"
#include "dynsym.h"
#include "hooks.h"
#include "vm.h"

namespace {

PvMacro* compile(const char* text, pv::MacroMode mode) {
  if (!text) return nullptr;
  auto macro = new PvMacro;
  macro->text = text;
  pv::MacroSymbolFn symbols = [](const std::string& name) -> const void* {
    return pv_dynsymGet(name.c_str());
  };
  if (!pv::compileMacro(macro->text, mode, symbols, macro->pcode)) {
    delete macro;
    return nullptr;
  }
  macro->status = PV_MACRO_OK | PV_MACRO_ALLOCATED;
  return macro;
}

}  // namespace

PvMacro* pv_macroCompile(const char* text) { return compile(text, pv::MacroMode::Value); }
PvMacro* pv_macroCompileAssign(const char* text) { return compile(text, pv::MacroMode::Assign); }
PvMacro* pv_macroCompileReference(const char* text) {
  return compile(text, pv::MacroMode::Reference);
}

void pv_macroRun(PvMacro* macro) {
  if (macro && !macro->pcode.empty()) pv_vmExecute(macro->pcode.data(), nullptr);
}

void pv_macroDelete(PvMacro* macro) { delete macro; }

// The machine's & operator reaches the compiler through these hooks.
namespace {

PvMacro* hookCompile(const char* text, PV_SIZE len) {
  return pv_macroCompile(std::string(text, static_cast<size_t>(len)).c_str());
}

const PvMacroHooks kHooks = {hookCompile, pv_macroRun, pv_macroDelete};

struct HookRegistrar {
  HookRegistrar() { pv_vmSetMacroHooks(&kHooks); }
} g_hookRegistrar;

}  // namespace

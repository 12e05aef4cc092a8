// Any input, compiled as a module (with include files at hand, one of them defining commands and
// translations, and after the standard header), preprocessed alone, and compiled as a macro in
// each mode, must give a result or a list of errors: no crash, no hang, no sanitizer report. A
// module that compiles is also listed and written as C++, which walks every emitted instruction.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/compiler.h"
#include "compiler/cpp_writer.h"
#include "compiler/disassembler.h"
#include "compiler/macro_compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  pv::CompileOptions options;
  options.reader = [](const std::string& path, std::string& out) {
    if (path.find("rules.ch") != std::string::npos) {
      out = "#command SHOW <x,...> [TO <(f)>] [<o:OFF>] => Show({<{x}>}, <(f)>, <.o.>)\n"
            "#xcommand SETALL <v1> TO <x1> [, <vN> TO <xN>] => <v1> := <x1> [; <vN> := <xN>]\n"
            "#translate TWICE(<x>) => (2 * (<x>))\n"
            "#xtranslate NAMEOF(<*x*>) => #<x>\n";
      return true;
    }
    if (path.find("inc.ch") == std::string::npos) return false;
    out = "#define INC(x) ((x) + 1)\n#define TWO 2\n";
    return true;
  };
  pv::CompileResult r = pv::compileSource("fuzz.prg", text, options);
  pv::Diagnostics ppDiags;
  pv::preprocessSource("fuzz.prg", text, options, ppDiags);
  if (r.ok) {
    std::string listing = pv::listModule(r.module);
    std::string cpp = pv::writeModuleCpp(r.module);
    if (listing.empty() || cpp.empty()) __builtin_trap();
  } else if (r.diags.list().empty()) {
    __builtin_trap();  // a failure must say why
  }
  pv::MacroSymbolFn symbols = [](const std::string& name) -> const void* {
    return reinterpret_cast<const void*>(0x1000 + name.size());
  };
  for (pv::MacroMode mode : {pv::MacroMode::Value, pv::MacroMode::Assign, pv::MacroMode::Reference}) {
    std::vector<uint8_t> code;
    if (pv::compileMacro(text, mode, symbols, code)) pv::disassemble(code);
    else if (!code.empty()) __builtin_trap();
  }
  return 0;
}

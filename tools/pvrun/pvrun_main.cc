// pvrun FILE.prg [args]: compiles a program in memory and runs its first procedure with the
// arguments. Compile errors are listed on stderr (exit code 1); a runtime error without a
// handler of the program's own prints its message and call stack and ends with exit code 1;
// otherwise the exit code is the one set with ERRORLEVEL.
#include <cstdio>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/module_registrar.h"
#include "vm/start.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pvrun FILE.prg [arguments]\n");
    return 2;
  }
  pv::CompileOptions options;
  pv::CompileResult result = pv::compileFile(argv[1], options);
  if (!result.ok) {
    std::fputs(result.diags.text().c_str(), stderr);
    return 1;
  }
  pv_compilerRegisterModule(result.module);
  std::vector<std::string> args(argv + 1, argv + argc);
  pv_cmdargInit(args);
  pv_vmInit(true);
  return pv_vmQuit();
}

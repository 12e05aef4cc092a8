// The process entry of xlforms: hands the command line to the runtime, which runs MAIN of the
// application and returns the exit code set with ERRORLEVEL.
#include <string>
#include <vector>

#include "vm/start.h"

int main(int argc, char** argv) {
  pv_cmdargInit(std::vector<std::string>(argv, argv + argc));
  pv_vmInit(true);
  return pv_vmQuit();
}

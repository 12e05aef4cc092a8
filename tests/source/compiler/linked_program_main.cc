// A program made of modules compiled by pvc and linked in: the runtime starts through its
// documented sequence and chooses MAIN of the main module as the first procedure.
#include <string>
#include <vector>

#include "vm/start.h"

int main(int, char** argv) {
  pv_cmdargInit({argv[0], "hello", "//NOSWITCH"});
  pv_vmInit(true);
  return pv_vmQuit();
}

// pvrun's GUI module in a process of the runtime: nothing of it (nor of Qt) is mapped until a
// name of its own is asked for; loading it then adds its functions and classes and leaves every
// function the runtime defined as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#include "vm/dynsym.h"
#include "vm/start.h"

namespace {

bool mapped(const std::string& file) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find(file) != std::string::npos) return true;
  return false;
}

std::map<std::string, PvSymbol*> functions() {
  std::map<std::string, PvSymbol*> out;
  for (int i = 0; i < pv_dynsymCount(); ++i)
    if (PvDynSym* d = pv_dynsymAt(i); pv_dynsymIsFunction(d)) out[pv_dynsymName(d)] = d->symbol;
  return out;
}

TEST(GuiModule, LoadedForANameOfItsOwnKeepingTheRuntimesFunctions) {
  pv_cmdargInit({"module_load_test"});
  pv_vmInit(false);
  EXPECT_FALSE(mapped("pvrun_gui.so"));
  EXPECT_FALSE(mapped("libQt6Core"));
  std::map<std::string, PvSymbol*> before = functions();
  ASSERT_NE(pv_dynsymFunction("MSGINFO"), nullptr);
  EXPECT_TRUE(mapped("pvrun_gui.so"));
  EXPECT_TRUE(mapped("libQt6Core"));
  std::map<std::string, PvSymbol*> after = functions();
  for (const auto& [name, symbol] : before) EXPECT_EQ(after[name], symbol) << name;
  EXPECT_GT(after.size(), before.size() + 100);
  EXPECT_NE(pv_dynsymFunction("TDIALOG"), nullptr);
  EXPECT_NE(pv_dynsymFunction("TOLEAUTO"), nullptr);
  EXPECT_EQ(pv_dynsymFunction("NO_SUCH_FUNCTION"), nullptr);
  pv_vmQuit();
}

}  // namespace

// Module registration: the sorted table, the first local definition, references that gain a
// function later, the version check, and the command line.
#include <gtest/gtest.h>

#include "dynsym.h"
#include "errors.h"
#include "runtime_fixture.h"
#include "symbol.h"

namespace {

void first() { pv_retni(1); }
void second() { pv_retni(2); }

PvSymbol g_callerModule[] = {{"TEST_LATER", PV_FS_PUBLIC, {nullptr}, nullptr}};
PvSymbol g_moduleA[] = {{"TEST_DUP", PV_FS_PUBLIC | PV_FS_LOCAL, {first}, nullptr},
                        {"TEST_LATER", PV_FS_PUBLIC | PV_FS_LOCAL, {second}, nullptr}};
PvSymbol g_moduleB[] = {{"TEST_DUP", PV_FS_PUBLIC | PV_FS_LOCAL, {second}, nullptr}};

class SymbolsTest : public RuntimeTest {};

int callThrough(PvSymbol* s) {
  pv_vmPushSymbol(s);
  pv_vmPushNil();
  pv_vmDo(0);
  return pv_itemGetNI(pv_stackReturnItem());
}

TEST_F(SymbolsTest, RegistrationRules) {
  pv_vmProcessSymbols(g_callerModule, 1, "caller.prg", 9, 0);
  EXPECT_FALSE(pv_dynsymIsFunction(pv_dynsymFind("TEST_LATER")));
  pv_vmProcessSymbols(g_moduleA, 2, "a.prg", 9, 0);
  pv_vmProcessSymbols(g_moduleB, 1, "b.prg", 9, 0);
  EXPECT_EQ(callThrough(&g_callerModule[0]), 2);  // the reference gained its function
  EXPECT_EQ(pv_dynsymFind("TEST_DUP")->symbol, &g_moduleA[0]);
  EXPECT_EQ(callThrough(&g_moduleB[0]), 1);  // B's own call reaches the first definition
  for (int i = 1; i < pv_dynsymCount(); ++i)
    ASSERT_LT(std::string(pv_dynsymAt(i - 1)->symbol->name), pv_dynsymAt(i)->symbol->name);
  EXPECT_EQ(pv_dynsymFindName("test_dup  x"), pv_dynsymFind("TEST_DUP"));
}

TEST_F(SymbolsTest, WrongBytecodeVersion) {
  static PvSymbol old[] = {{"OLDMOD", PV_FS_PUBLIC, {nullptr}, nullptr}};
  EXPECT_EXIT(pv_vmProcessSymbols(old, 1, "old.prg", 8, 0), ::testing::ExitedWithCode(1),
              "'old.prg' was compiled by older version, PCODE version 8 is no longer supported");
}

TEST_F(SymbolsTest, UndefinedFunctionRaises12_1001) {
  static PvSymbol missing[] = {{"NO_SUCH_FUNCTION", PV_FS_PUBLIC, {nullptr}, nullptr}};
  pv_vmProcessSymbols(missing, 1, "m.prg", 9, 0);
  pv_itemClear(pv_errorBlock());  // no error block: the launch ends in 9002
  EXPECT_EXIT(callThrough(&missing[0]), ::testing::ExitedWithCode(1), "Unrecoverable error 9002");
}

TEST(CommandLine, Splitting) {
  auto a = pv_cmdargSplit("/bin/prog", "a \"b c\" d \"\" //INFO e\tf");
  ASSERT_EQ(a.size(), 7u);
  EXPECT_EQ(a[2], "b c");
  EXPECT_EQ(a[4], "");
  EXPECT_EQ(a[6], "e\tf");
  pv_cmdargInit(a);
  auto params = pv_cmdargParams();
  EXPECT_EQ(params.size(), 5u);
  EXPECT_TRUE(pv_cmdargCheck("info"));
  EXPECT_EQ(pv_cmdargARGV(5), "//INFO");
  std::string many;
  for (int i = 0; i < 130; ++i) many += "w ";
  EXPECT_EQ(pv_cmdargSplit("p", many).size(), 128u);
}

}  // namespace

// A module compiled in memory registers with the runtime like a linked one.
#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "compiler/module_registrar.h"
#include "dynsym.h"
#include "vm/pcode.h"

namespace {

TEST(ModuleRegistrar, RegistersTableAndBytecode) {
  pv::CompileOptions options;
  pv::CompileResult r = pv::compileSource(
      "script.prg", "FUNCTION RegMain()\n   RETURN RegHelper( 1 )\nSTATIC FUNCTION RegHelper( n )\n   RETURN n\n",
      options);
  ASSERT_TRUE(r.ok) << r.diags.text();
  PvModule* m = pv_compilerRegisterModule(r.module);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->name, "script.prg");
  ASSERT_EQ(m->count, r.module.symbols.size());
  EXPECT_STREQ(m->symbols[0].name, "REGMAIN");
  EXPECT_EQ(m->symbols[0].scope, 0x0305u);
  ASSERT_NE(m->symbols[0].value.pcode, nullptr);
  EXPECT_EQ(m->symbols[0].value.pcode->pcode[0], pv::PV_P_FRAME);
  EXPECT_EQ(m->symbols[0].value.pcode->symbols, m->symbols);  // filled at registration
  PvDynSym* d = pv_dynsymFind("REGMAIN");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->symbol, &m->symbols[0]);
  EXPECT_EQ(pv_dynsymFind("REGHELPER"), nullptr);  // static: not public
  EXPECT_EQ(pv_vmMainCandidate(), &m->symbols[0]);
}

}  // namespace

// pv_macroCompile over the runtime's dynamic symbols.
#include <gtest/gtest.h>

#include <cstring>

#include "compiler/macro.h"
#include "dynsym.h"
#include "vm/pcode.h"

namespace {

// The dynamic symbol addresses the code refers to, in order.
std::vector<PvDynSym*> symbolsIn(const PvMacro& m) {
  std::vector<PvDynSym*> out;
  for (size_t i = 0; i + sizeof(void*) < m.pcode.size();) {
    uint8_t op = m.pcode[i];
    if (op == pv::PV_P_MPUSHSYM || op == pv::PV_P_MPUSHVARIABLE) {
      PvDynSym* d;
      std::memcpy(&d, &m.pcode[i + 1], sizeof d);
      out.push_back(d);
      i += 1 + sizeof(void*);
    } else {
      i += op == pv::PV_P_FUNCTIONSHORT ? 2 : 1;
    }
  }
  return out;
}

TEST(MacroRuntime, BindsNamesToDynamicSymbols) {
  PvMacro* m = pv_macroCompile("lower(Customer) + INVOICE");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->status, PV_MACRO_OK | PV_MACRO_ALLOCATED);
  EXPECT_EQ(m->text, "lower(Customer) + INVOICE");
  std::vector<PvDynSym*> syms = symbolsIn(*m);
  ASSERT_EQ(syms.size(), 3u);
  EXPECT_EQ(syms[0], pv_dynsymFind("LOWER"));
  EXPECT_EQ(syms[1], pv_dynsymFind("CUSTOMER"));
  EXPECT_EQ(syms[2], pv_dynsymFind("INVOICE"));
  EXPECT_EQ(m->pcode.back(), pv::PV_P_ENDPROC);
  pv_macroDelete(m);
}

TEST(MacroRuntime, SyntaxErrorsGiveNull) {
  EXPECT_EQ(pv_macroCompile("lower(("), nullptr);
  EXPECT_EQ(pv_macroCompile(nullptr), nullptr);
  EXPECT_EQ(pv_macroCompileAssign("1 + 2"), nullptr);
  PvMacro* ref = pv_macroCompileReference("M->x");
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(ref->pcode[0], pv::PV_P_MPUSHMEMVARREF);
  pv_macroDelete(ref);
  pv_macroDelete(nullptr);
}

}  // namespace

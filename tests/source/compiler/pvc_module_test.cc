// pvc and pv_add_prg end to end: modules compiled into this executable register themselves at
// static-initialisation time; a recording pv_vmProcessSymbols stands in for the runtime.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/disassembler.h"
#include "vm/pcode.h"
#include "vm/symbol.h"

namespace {

struct Registered {
  PvSymbol* symbols;
  uint16_t count;
  std::string name;
  uint32_t version;
};

std::vector<Registered>& registered() {
  static std::vector<Registered> list;
  return list;
}

const Registered* find(const std::string& name) {
  for (const Registered& r : registered())
    if (r.name == name) return &r;
  return nullptr;
}

TEST(PvcModules, RegisterAtStartUp) {
  const Registered* main = find("sample_main.prg");
  const Registered* lib = find("sample_lib.prg");
  ASSERT_TRUE(main && lib);
  EXPECT_EQ(main->version, 9u);
  ASSERT_GE(main->count, 2);
  EXPECT_STREQ(main->symbols[0].name, "MAIN");
  EXPECT_EQ(main->symbols[0].scope, 0x0305u);
  const uint8_t* code = main->symbols[0].value.pcode->pcode;
  EXPECT_EQ(code[0], pv::PV_P_FRAME);
  EXPECT_EQ(code[1], 1);  // one local
  bool sawAnswer = false;
  for (int i = 0; i < 40 && !sawAnswer; ++i)
    sawAnswer = code[i] == pv::PV_P_PUSHBYTE && code[i + 1] == 42;  // the #include'd macro
  EXPECT_TRUE(sawAnswer);
  for (uint16_t i = 0; i < lib->count; ++i)
    EXPECT_FALSE(lib->symbols[i].scope & PV_FS_FIRST) << lib->symbols[i].name;
  bool classFunction = false;
  for (uint16_t i = 0; i < lib->count; ++i)
    classFunction |= std::string(lib->symbols[i].name) == "TPOINT" &&
                     lib->symbols[i].scope == 0x0301u && lib->symbols[i].value.pcode;
  EXPECT_TRUE(classFunction);
}

}  // namespace

PvModule* pv_vmProcessSymbols(PvSymbol* symbols, uint16_t count, const char* moduleName,
                              uint32_t version, uint32_t) {
  registered().push_back({symbols, count, moduleName, version});
  return nullptr;
}

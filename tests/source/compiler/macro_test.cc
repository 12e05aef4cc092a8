// The macro compiler: M... opcodes with dynamic-symbol addresses, the three modes, and errors.
#include <gtest/gtest.h>

#include <map>

#include "compiler/disassembler.h"
#include "compiler/macro_compiler.h"

namespace pv {
namespace {

// Fake dynamic symbols: the address 0x1000 + 16 * k for the k-th name asked for.
struct FakeSymbols {
  std::map<std::string, uintptr_t> known;
  MacroSymbolFn fn() {
    return [this](const std::string& name) -> const void* {
      auto it = known.find(name);
      if (it == known.end()) it = known.emplace(name, 0x1000 + 16 * known.size()).first;
      return reinterpret_cast<const void*>(it->second);
    };
  }
};

std::string macro(const std::string& text, MacroMode mode = MacroMode::Value) {
  FakeSymbols syms;
  std::vector<uint8_t> code;
  std::string error;
  if (!compileMacro(text, mode, syms.fn(), code, &error)) return "error: " + error;
  std::string listing = disassemble(code);
  for (const auto& [name, addr] : syms.known) {  // show names instead of addresses
    char hex[32];
    std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(addr));
    for (size_t at; (at = listing.find(hex)) != std::string::npos;)
      listing.replace(at, std::string(hex).size(), name);
  }
  return listing;
}

TEST(Macro, KeyExpression) {
  EXPECT_EQ(macro("LOWER(CUSTOMER) + INVOICE"),
            "0000  MPUSHSYM LOWER\n"
            "0009  PUSHNIL\n"
            "000A  MPUSHVARIABLE CUSTOMER\n"
            "0013  FUNCTIONSHORT 1\n"
            "0015  MPUSHVARIABLE INVOICE\n"
            "001E  PLUS\n"
            "001F  ENDPROC\n");
}

TEST(Macro, AliasesMessagesAndBlocks) {
  EXPECT_EQ(macro("FIELD->A + M->B + prod->C + o:Name"),
            "0000  MPUSHFIELD A\n"
            "0009  MPUSHMEMVAR B\n"
            "0012  PLUS\n"
            "0013  MPUSHSYM PROD\n"
            "001C  MPUSHALIASEDFIELD C\n"
            "0025  PLUS\n"
            "0026  MMESSAGE NAME\n"
            "002F  MPUSHVARIABLE O\n"
            "0038  SENDSHORT 0\n"
            "003A  PLUS\n"
            "003B  ENDPROC\n");
  EXPECT_EQ(macro("{|x| x + y }"),
            "0000  MPUSHBLOCK size 20 params 1 detached 0\n"
            "0007    PUSHLOCALNEAR 1\n"
            "0009    MPUSHVARIABLE Y\n"
            "0012    PLUS\n"
            "0013    ENDBLOCK\n"
            "0014  ENDPROC\n");
}

TEST(Macro, AssignAndReference) {
  EXPECT_EQ(macro("x", MacroMode::Assign), "0000  MPOPMEMVAR X\n0009  ENDPROC\n");
  EXPECT_EQ(macro("FIELD->x", MacroMode::Assign), "0000  MPOPFIELD X\n0009  ENDPROC\n");
  EXPECT_EQ(macro("a[2]", MacroMode::Assign),
            "0000  MPUSHVARIABLE A\n0009  PUSHBYTE 2\n000B  ARRAYPOP\n000C  ENDPROC\n");
  EXPECT_EQ(macro("x", MacroMode::Reference), "0000  MPUSHMEMVARREF X\n0009  ENDPROC\n");
  EXPECT_EQ(macro("1 + 2", MacroMode::Assign), "error: the macro text is not a variable");
}

TEST(Macro, SyntaxErrorsGiveNothing) {
  FakeSymbols syms;
  std::vector<uint8_t> code{1, 2, 3};
  std::string error;
  EXPECT_FALSE(compileMacro("LOWER(CUSTOMER", MacroMode::Value, syms.fn(), code, &error));
  EXPECT_TRUE(code.empty());
  EXPECT_EQ(error, "expected ',' or ')' after an argument, found end of line");
  for (const char* bad : {"", "1 +", "a b", "&", "{|| ", "x := ", ")", "\"open", "IF x"})
    EXPECT_FALSE(compileMacro(bad, MacroMode::Value, syms.fn(), code)) << bad;
  EXPECT_TRUE(syms.known.empty());  // no symbols are created for texts that do not compile
}

}  // namespace
}  // namespace pv

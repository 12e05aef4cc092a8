// Code generation: symbol scopes, jump widths, frames, literals, detached locals and lines.
#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "compiler/disassembler.h"
#include "vm/pcode.h"
#include "vm/symbol.h"

namespace pv {
namespace {

CompileResult compile(const std::string& source, bool markFirst = true) {
  CompileOptions options;
  options.codegen.markFirst = markFirst;
  CompileResult r = compileSource("t.prg", source, options);
  EXPECT_TRUE(r.ok) << r.diags.text();
  return r;
}

std::string listing(const CompileResult& r, const std::string& proc) {
  for (const CompiledProc& p : r.module.procs)
    if (p.name == proc) return disassemble(p.code, &r.module.symbols);
  return "<no procedure " + proc + ">";
}

uint32_t scope(const CompileResult& r, const std::string& name) {
  for (const ModuleSymbol& s : r.module.symbols)
    if (s.name == name) return s.scope;
  return 0xFFFFFFFF;
}

TEST(Codegen, SymbolScopes) {
  CompileResult r = compile(
      "INIT PROCEDURE Start\n"
      "   RETURN\n"
      "FUNCTION Main()\n"
      "   STATIC s := 1\n"
      "   Helper()\n"
      "   x := o:Helper + o:Main\n"
      "   RETURN Other( s )\n"
      "STATIC FUNCTION Helper()\n"
      "   RETURN NIL\n"
      "EXIT PROCEDURE Stop\n"
      "   RETURN\n");
  EXPECT_EQ(scope(r, "START"), 0x030Au);
  EXPECT_EQ(scope(r, "MAIN"), 0x0305u | PV_FS_MESSAGENAME);  // also sent as a message
  EXPECT_EQ(scope(r, "STOP"), 0x0312u);
  EXPECT_EQ(scope(r, "(_INITSTATICS)"), 0x0318u);
  EXPECT_EQ(scope(r, "OTHER"), 0x0001u);
  EXPECT_EQ(scope(r, "X"), 0x00C1u);
  // The static function keeps its entry; its use as a message gets a second, public one.
  int helpers = 0;
  for (const ModuleSymbol& s : r.module.symbols)
    if (s.name == "HELPER") {
      ++helpers;
      EXPECT_TRUE(s.scope == 0x0302u || s.scope == 0x00C1u) << s.scope;
    }
  EXPECT_EQ(helpers, 2);
  EXPECT_EQ(r.module.symbols[0].name, "START");
  EXPECT_EQ(r.module.symbols[0].proc, 0);
  EXPECT_EQ(scope(compile("FUNCTION Lib()\nRETURN 1\n", false), "LIB"), 0x0301u);
}

TEST(Codegen, WithObjectSendsStartingAStatement) {
  std::string l = listing(compile("FUNCTION f( o )\n   WITH OBJECT o\n      IF :lDone\n         :Close()\n"
                                  "      ENDIF\n   END\n   RETURN NIL\n"),
                          "F");
  EXPECT_NE(l.find("MESSAGE 1 (LDONE)\n"), std::string::npos) << l;
  EXPECT_NE(l.find("PUSHWITH\n"), std::string::npos) << l;
  EXPECT_NE(l.find("MESSAGE 2 (CLOSE)\n"), std::string::npos) << l;
}

TEST(Codegen, RequestAddsFunctionReferences) {
  CompileResult r = compile("REQUEST DBFCDX, DBFFPT\nFUNCTION f()\n   EXTERNAL Other\n   RETURN 1\n");
  EXPECT_EQ(scope(r, "DBFCDX"), 0x0001u);
  EXPECT_EQ(scope(r, "DBFFPT"), 0x0001u);
  EXPECT_EQ(scope(r, "OTHER"), 0x0001u);
}

TEST(Codegen, TopLevelStatementsFormAProcedureNamedAfterTheFile) {
  CompileResult r = compile("? 1\nFUNCTION Later()\nRETURN 2\n");
  ASSERT_EQ(r.module.procs.size(), 2u);
  EXPECT_EQ(r.module.procs[0].name, "T");
  EXPECT_EQ(scope(r, "T"), 0x0305u);
}

// Statements of 208 bytes each (LINEOFFSET, PUSHSTRSHORT of 200 characters, POPVARIABLE).
std::string filler(int statements) {
  std::string s;
  for (int i = 0; i < statements; ++i) s += "   x := \"" + std::string(200, 'a') + "\"\n";
  return s;
}

TEST(Codegen, JumpsTakeTheShortestWidth) {
  auto ifWith = [](int n) {
    return "FUNCTION f()\n   IF y\n" + filler(n) + "   ENDIF\n   RETURN NIL\n";
  };
  std::string near = listing(compile(ifWith(0)), "F");
  EXPECT_NE(near.find("JUMPFALSENEAR +"), std::string::npos) << near;
  std::string mid = listing(compile(ifWith(2)), "F");
  EXPECT_NE(mid.find("JUMPFALSE +"), std::string::npos) << mid;
  std::string far = listing(compile(ifWith(160)), "F");
  EXPECT_NE(far.find("JUMPFALSEFAR +"), std::string::npos);
  std::string loop = listing(compile("FUNCTION f()\n   DO WHILE y\n" + filler(160) +
                                     "   ENDDO\n   RETURN NIL\n"),
                             "F");
  EXPECT_NE(loop.find("JUMPFAR -"), std::string::npos);
}

TEST(Codegen, DistancesCountFromTheJumpOpcode) {
  CompileOptions options;
  options.codegen.lineNumbers = false;
  CompileResult r =
      compileSource("t.prg", "FUNCTION f()\n   DO WHILE .T.\n   ENDDO\n   RETURN NIL\n", options);
  const std::vector<uint8_t>& code = r.module.procs[0].code;
  // ... TRUE, JUMPFALSENEAR +4, JUMPNEAR -3 (back to TRUE)
  for (size_t i = 0; i + 4 < code.size(); ++i) {
    if (code[i] == PV_P_TRUE && code[i + 1] == PV_P_JUMPFALSENEAR) {
      EXPECT_EQ(code[i + 2], 4);
      EXPECT_EQ(code[i + 3], PV_P_JUMPNEAR);
      EXPECT_EQ(static_cast<int8_t>(code[i + 4]), -3);
      return;
    }
  }
  ADD_FAILURE() << disassemble(code);
}

TEST(Codegen, FramesAndLargeFrames) {
  std::string small = listing(compile("FUNCTION f( a, b )\n   LOCAL c\n   RETURN c\n"), "F");
  EXPECT_EQ(small.substr(0, 18), "0000  FRAME 1 2\n00");
  std::string locals = "FUNCTION f( a )\n   LOCAL v1";
  for (int i = 2; i <= 300; ++i) locals += ", v" + std::to_string(i);
  locals += "\n   v300 := 5\n   RETURN v300\n";
  std::string big = listing(compile(locals), "F");
  EXPECT_EQ(big.substr(0, 22), "0000  LARGEFRAME 300 1");
  EXPECT_NE(big.find("POPLOCAL 301"), std::string::npos);
  EXPECT_NE(big.find("PUSHLOCAL 301"), std::string::npos);
}

TEST(Codegen, Literals) {
  std::string l = listing(
      compile("FUNCTION f()\n   RETURN { 0, 1, -5, 300, -70000, 5000000000, 1.50, \"\", "
              "0d20000101, .T., NIL, \"" + std::string(300, 'x') + "\" }\n"),
      "F");
  for (const char* expected :
       {"ZERO", "ONE", "PUSHBYTE -5", "PUSHINT 300", "PUSHLONG -70000",
        "PUSHLONGLONG 5000000000", "PUSHDOUBLE 1.5 4 2", "PUSHSTRSHORT \"\"",
        "PUSHDATE 2451545", "TRUE", "PUSHNIL", "PUSHSTR \"xxx", "ARRAYGEN 12"})
    EXPECT_NE(l.find(expected), std::string::npos) << expected << "\n" << l;
}

TEST(Codegen, NestedBlocksDetachOuterLocals) {
  std::string l = listing(compile("FUNCTION f( a )\n"
                                  "   LOCAL b := 2\n"
                                  "   RETURN {|x| {|y| a + b + x + y } }\n"),
                          "F");
  // The outer block detaches a and b (locals 1 and 2); the inner one reaches them through the
  // outer block's detached numbers and the outer block's parameter x.
  EXPECT_NE(l.find("PUSHBLOCK size 37 params 1 detached 2 [1,2]"), std::string::npos) << l;
  EXPECT_NE(l.find("  PUSHBLOCK size 25 params 1 detached 3 [-1,-2,1]"), std::string::npos) << l;
  EXPECT_NE(l.find("    PUSHLOCALNEAR -3\n"), std::string::npos) << l;
  EXPECT_NE(l.find("    PUSHLOCALNEAR 1\n"), std::string::npos) << l;
}

TEST(Codegen, BigBlocksUseTheLongForm) {
  std::string l = listing(compile("FUNCTION f()\n   RETURN {|| \"" + std::string(260, 'z') + "\" }\n"), "F");
  EXPECT_NE(l.find("PUSHBLOCK size 272 params 0 detached 0"), std::string::npos) << l;
  std::string s = listing(compile("FUNCTION f()\n   RETURN {|| 1 }\n"), "F");
  EXPECT_NE(s.find("PUSHBLOCKSHORT size 4"), std::string::npos) << s;
}

TEST(Codegen, LineNumbers) {
  std::string src = "FUNCTION f()\n   x := 1\n\n   x := 2\n";
  for (int i = 0; i < 300; ++i) src += "\n";
  src += "   x := 3\n   RETURN x\n";
  std::string l = listing(compile(src), "F");
  EXPECT_NE(l.find("BASELINE 2\n"), std::string::npos) << l;
  EXPECT_NE(l.find("LINEOFFSET 2\n"), std::string::npos) << l;
  EXPECT_NE(l.find("LINE 305\n"), std::string::npos) << l;
  EXPECT_NE(l.find("LINE 306\n"), std::string::npos) << l;
}

TEST(Codegen, ModuleNamesAndLocalNames) {
  CompileOptions options;
  CompileResult r = compileSource("dir/sub/m.prg", "FUNCTION f( a )\n   LOCAL b\n   RETURN a\n", options);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.module.name, "m.prg");
  std::string l = disassemble(r.module.procs[0].code);
  EXPECT_NE(l.find("MODULENAME \"m.prg:F\"\n"), std::string::npos) << l;
  EXPECT_NE(l.find("LOCALNAME 1 \"A\"\n"), std::string::npos) << l;
  EXPECT_NE(l.find("LOCALNAME 2 \"B\"\n"), std::string::npos) << l;
}

TEST(Codegen, DisassemblerSurvivesBadBytes) {
  EXPECT_EQ(disassemble({PV_P_PUSHSTRSHORT, 9, 'a'}), "0000  PUSHSTRSHORT <truncated>\n");
  EXPECT_EQ(disassemble({250}), "0000  <unknown opcode 250>\n");
  EXPECT_EQ(disassemble({PV_P_PUSHBLOCKSHORT, 200, PV_P_ENDBLOCK}),
            "0000  PUSHBLOCKSHORT size 200\n      <bad block size>\n");
}

}  // namespace
}  // namespace pv

// Compile errors: every error of a file with file, line and column and a clear message.
#include <gtest/gtest.h>

#include "compiler/compiler.h"

namespace pv {
namespace {

std::string errorsOf(const std::string& source) {
  CompileOptions options;
  options.reader = [](const std::string&, std::string&) { return false; };
  CompileResult r = compileSource("bad.prg", source, options);
  EXPECT_FALSE(r.ok);
  return r.diags.text();
}

TEST(CompileErrors, EveryErrorOfAFileIsListed) {
  EXPECT_EQ(errorsOf("FUNCTION Main()\n"
                     "   LOCAL a := \n"
                     "   a := (1 + 2\n"
                     "   IF a\n"
                     "      ? a )\n"
                     "   RETURN a b\n"),
            "bad.prg(2:15): error: expression expected, found end of line\n"
            "bad.prg(3:15): error: expected ')' to close '(', found end of line\n"
            "bad.prg(5:11): error: expected end of statement, found ')'\n"
            "bad.prg(6:13): error: expected end of statement, found 'b'\n"
            "bad.prg(4:4): error: IF without ENDIF\n");
}

TEST(CompileErrors, UnbalancedStructures) {
  EXPECT_EQ(errorsOf("PROCEDURE p\n"
                     "ENDIF\n"
                     "DO WHILE .T.\n"
                     "   NEXT\n"
                     "ENDDO\n"
                     "FOR i := 1 TO 3\n"
                     "ENDDO\n"
                     "NEXT\n"),
            "bad.prg(2:1): error: ENDIF without a matching opening statement\n"
            "bad.prg(4:4): error: NEXT without a matching opening statement\n"
            "bad.prg(7:1): error: ENDDO without a matching opening statement\n");
}

TEST(CompileErrors, SemanticErrors) {
  EXPECT_EQ(errorsOf("FUNCTION f( a, a )\n"
                     "   LOCAL b, b\n"
                     "   EXIT\n"
                     "   BEGIN SEQUENCE\n"
                     "      DO WHILE .T.\n"
                     "         EXIT\n"
                     "      ENDDO\n"
                     "      LOOP\n"
                     "   END\n"
                     "   SWITCH a\n"
                     "   CASE 1.5\n"
                     "   CASE 2\n"
                     "   CASE 2\n"
                     "   ENDSWITCH\n"
                     "   x := @F->y\n"
                     "   1 := 2\n"
                     "   RETURN {|p, p| p }\n"
                     "FUNCTION f()\n"
                     "   RETURN NIL\n"),
            "bad.prg(16:4): error: invalid target of :=\n"
            "bad.prg(18:1): error: procedure f defined twice\n"
            "bad.prg(1:1): error: parameter a declared twice\n"
            "bad.prg(2:13): error: variable b declared twice\n"
            "bad.prg(3:4): error: EXIT outside a loop\n"
            "bad.prg(8:7): error: LOOP out of BEGIN SEQUENCE or TRY is not allowed\n"
            "bad.prg(11:9): error: SWITCH CASE needs an integer or a one-character string "
            "constant\n"
            "bad.prg(13:9): error: duplicate SWITCH CASE value\n"
            "bad.prg(15:11): error: a reference to field y is not possible\n"
            "bad.prg(17:11): error: code block parameter p declared twice\n");
}

TEST(CompileErrors, ClassErrors) {
  EXPECT_EQ(errorsOf("CLASS TA\n"
                     "   DATA x\n"
                     "   METHOD Missing()\n"
                     "   METHOD x()\n"
                     "   BOGUS y\n"
                     "ENDCLASS\n"
                     "METHOD x() CLASS TA\n"
                     "   RETURN Self\n"
                     "METHOD Orphan()\n"
                     "METHOD Elsewhere() CLASS TC\n"
                     "CLASS TB\n"),
            "bad.prg(5:4): error: unexpected 'BOGUS' in class TA\n"
            "bad.prg(11:1): error: CLASS TB without ENDCLASS\n"
            "bad.prg(3:4): error: METHOD Missing of class TA has no implementation\n"
            "bad.prg(4:4): error: message x declared twice in class TA\n"
            "bad.prg(10:1): error: METHOD TC:Elsewhere: class TC is not declared in this module\n");
}

TEST(CompileErrors, UnreadableFile) {
  CompileOptions options;
  options.reader = [](const std::string&, std::string&) { return false; };
  CompileResult r = compileFile("nowhere.prg", options);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.diags.text(), "nowhere.prg(0:0): error: cannot read source file\n");
}

TEST(CompileErrors, DeepNestingIsAnErrorNotACrash) {
  std::string deep = "x := " + std::string(5000, '(') + "1" + std::string(5000, ')') + "\n";
  EXPECT_NE(errorsOf(deep).find("nesting too deep"), std::string::npos);
  std::string ifs;
  for (int i = 0; i < 1000; ++i) ifs += "IF .T.\n";
  EXPECT_NE(errorsOf(ifs).find("nesting too deep"), std::string::npos);
}

TEST(CompileErrors, ErrorListIsCapped) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "x := )\n";
  CompileOptions options;
  CompileResult r = compileSource("bad.prg", many, options);
  EXPECT_EQ(r.diags.count(), 1000u);
  EXPECT_EQ(r.diags.list().size(), Diagnostics::kMaxErrors);
  EXPECT_EQ(r.diags.list().back().message, "too many errors; the rest are not listed");
}

}  // namespace
}  // namespace pv

// Tests of the preprocessor: macros, conditionals, includes and their errors.
#include <gtest/gtest.h>

#include <map>

#include "compiler/preprocessor.h"

namespace pv {
namespace {

struct PpRun {
  Diagnostics diags;
  std::string tokens;
};

PpRun preprocess(const std::string& text, const std::map<std::string, std::string>& files = {},
               std::vector<std::string> includePaths = {}) {
  PpRun run;
  Preprocessor pp(run.diags, std::move(includePaths),
                  [&files](const std::string& path, std::string& out) {
                    auto it = files.find(path);
                    if (it == files.end()) return false;
                    out = it->second;
                    return true;
                  });
  pp.start("src/main.prg", text);
  for (Token t = pp.next(); t.kind != Tok::End; t = pp.next())
    run.tokens += t.kind == Tok::Eol ? std::string("; ") : (t.kind == Tok::String ? "'" + t.text + "'" : t.text) + " ";
  return run;
}

TEST(Preprocessor, ObjectAndFunctionLikeMacros) {
  PpRun r = preprocess(
      "#define MAX 10\n#define SQR(x) ((x) * (x))\n#define ADD(a, b) a + b\n"
      "y := SQR(MAX + 1) + ADD(1, f(2, 3))\nz := SQR\n");
  EXPECT_FALSE(r.diags.hasErrors()) << r.diags.text();
  EXPECT_EQ(r.tokens,
            "y := ( ( 10 + 1 ) * ( 10 + 1 ) ) + 1 + f ( 2 , 3 ) ; z := SQR ; ");
}

TEST(Preprocessor, MacrosAreCaseSensitiveAndDoNotRecurse) {
  PpRun r = preprocess("#define A B + a\n#define B A\nx := A\nx := a\n");
  EXPECT_EQ(r.tokens, "x := A + a ; x := a ; ");
}

TEST(Preprocessor, UndefAndConditionals) {
  PpRun r = preprocess(
      "#define ON\n#ifdef ON\na\n#ifndef ON\nb\n#else\nc\n#endif\n#else\nd\n#endif\n"
      "#undef ON\n#ifdef ON\ne\n#else\nf\n#endif\n");
  EXPECT_FALSE(r.diags.hasErrors()) << r.diags.text();
  EXPECT_EQ(r.tokens, "a ; c ; f ; ");
}

TEST(Preprocessor, IncludeSearchesTheIncludersFolderThenThePaths) {
  std::map<std::string, std::string> files = {
      {"src/local.ch", "#define LOCAL 1\n#include \"deep.ch\"\n"},
      {"inc/deep.ch", "#define DEEP 2\n"},
      {"inc/other.ch", "#define OTHER 3\n"}};
  PpRun r = preprocess("#include \"local.ch\"\n#include \"other.ch\"\nx := LOCAL + DEEP + OTHER\n",
                     files, {"inc"});
  EXPECT_FALSE(r.diags.hasErrors()) << r.diags.text();
  EXPECT_EQ(r.tokens, "x := 1 + 2 + 3 ; ");
}

TEST(Preprocessor, Errors) {
  std::map<std::string, std::string> files = {{"src/self.ch", "#include \"self.ch\"\n"}};
  PpRun r = preprocess(
      "#include \"missing.ch\"\n#include \"self.ch\"\n#endif\n#define\n#foo\n"
      "#define F(a) a\nx := F(1, 2)\n#error stop here\n#ifdef\n#endif\n#ifdef X\n",
      files);
  std::string text = r.diags.text();
  EXPECT_NE(text.find("src/main.prg(1:10): error: cannot open include file \"missing.ch\""),
            std::string::npos) << text;
  EXPECT_NE(text.find("#include nested too deeply"), std::string::npos) << text;
  EXPECT_NE(text.find("src/main.prg(3:1): error: #endif without #ifdef"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(4:1): error: #define needs a macro name"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(5:2): error: unknown directive #foo"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(7:6): error: macro F expects 1 argument(s)"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(8:1): error: #error stop here"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(9:2): error: #ifdef needs one macro name"), std::string::npos);
  EXPECT_NE(text.find("src/main.prg(11:1): error: #ifdef without #endif"), std::string::npos);
}

TEST(Preprocessor, ExponentialExpansionIsCut) {
  std::string text;
  text += "#define A0 x x\n";
  for (int i = 1; i < 30; ++i)
    text += "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) + " A" +
            std::to_string(i - 1) + "\n";
  text += "y := A29\n";
  PpRun r = preprocess(text);
  EXPECT_NE(r.diags.text().find("is too large"), std::string::npos);
}

}  // namespace
}  // namespace pv

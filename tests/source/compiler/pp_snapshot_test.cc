// Tests of the definitions snapshot: the built-in std.ch restored from the build's snapshot gives
// programs exactly the tokens that reading the header as text gives; definitions survive a
// round trip; damaged bytes are refused with nothing added.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "compiler/builtin_headers.h"
#include "compiler/preprocessor.h"

namespace pv {
namespace {

// Every field of every token, one line each.
std::string dump(Preprocessor& pp) {
  std::string out;
  for (Token t = pp.next(); t.kind != Tok::End; t = pp.next()) {
    char values[160];
    std::snprintf(values, sizeof values, " %d:%d:%d @%u+%u %d%d%d%d %lld %.17g %u.%u\n", t.pos.file,
                  t.pos.line, t.pos.col, t.offset, t.length, t.bol, t.spaceBefore,
                  t.unmatchedCommand, t.isInt, static_cast<long long>(t.ival), t.dval, t.width,
                  t.decimals);
    out += std::to_string(static_cast<int>(t.kind)) + " [" + t.text + "] [" + t.upper + "]" + values;
  }
  return out;
}

// The tokens of `program` after std.ch, read from the snapshot or (withText) as a file.
std::string tokensAfterStd(const std::string& program, bool withText, Diagnostics& diags) {
  FileReader reader = [withText](const std::string& path, std::string& out) {
    if (!withText || path != "inc/std.ch") return false;
    out = builtInHeader("std.ch");
    return true;
  };
  Preprocessor pp(diags, {"inc"}, reader);
  pp.start("main.prg", program);
  pp.define("LIMIT", "10");
  pp.includeFirst("std.ch");
  return dump(pp);
}

const char kProgram[] =
    "#command BUMP <f> BY <n> [FOR <c>] => REPLACE ALL <f> WITH <f> + <n> FOR <c>\n"
    "PROCEDURE Main()\n"
    "   USE product ALIAS prod NEW SHARED READONLY VIA \"DBFCDX\"\n"
    "   INDEX ON FIELD->ID TAG byid TO product FOR ID > LIMIT UNIQUE DESCENDING\n"
    "   SET INDEX TO a, b\n"
    "   SET ORDER TO TAG byid\n"
    "   STORE 1.50 TO x, y, z\n"
    "   LOCATE FOR x > 0d20240101 WHILE .T. NEXT 5\n"
    "   REPLACE NAME WITH \"a\", VALUE WITH 2 FOR VALUE < 1\n"
    "   SUM VALUE, ID TO s1, s2 FOR .NOT. Deleted()\n"
    "   COPY TO other FIELDS NAME, VALUE FOR VALUE > 1 ALL\n"
    "   BUMP VALUE BY 3 FOR ID == 1\n"
    "   SKIP ; GO TOP ; SEEK 12 SOFTSEEK\n"
    "   SET FILTER TO VALUE > 2\n"
    "   CLOSE ALL\n"
    "RETURN\n";

TEST(StdSnapshot, GivesTheTokensOfTheHeaderReadAsText) {
  ASSERT_FALSE(builtInStdSnapshot().empty());
  Diagnostics fromSnapshot, fromText;
  std::string restored = tokensAfterStd(kProgram, false, fromSnapshot);
  std::string read = tokensAfterStd(kProgram, true, fromText);
  EXPECT_FALSE(fromSnapshot.hasErrors()) << fromSnapshot.text();
  EXPECT_FALSE(fromText.hasErrors()) << fromText.text();
  EXPECT_GT(restored.size(), 2000u);
  EXPECT_EQ(restored, read);
}

TEST(StdSnapshot, ErrorsAfterTheHeaderNameTheProgramsLines) {
  Diagnostics diags;
  tokensAfterStd("PROCEDURE Main()\n#frobnicate\nRETURN\n", false, diags);
  EXPECT_NE(diags.text().find("main.prg(2"), std::string::npos) << diags.text();
}

// The definitions of `text` (one rule key, open translations and macros, so that the order of
// the saved rules is fixed).
std::string definitionsOf(const std::string& text) {
  Diagnostics diags;
  Preprocessor pp(diags, {});
  pp.start("defs.ch", text);
  dump(pp);
  EXPECT_FALSE(diags.hasErrors()) << diags.text();
  return pp.definitions();
}

const char kDefinitions[] =
    "#define PI 3.14159\n"
    "#define WHEN 0d20240229\n"
    "#define SQUARE(x, y) ((x) * (y) + .T.)\n"
    "#command SHOW <x,...> [<loud:LOUD>] => QOut( <x> ) [; Tone(<.loud.>)]\n"
    "#xcommand SHOW <*rest*> => QOut( #<rest> )\n"
    "#translate <a> PLUS <b> => ( <a> + <b> )\n"
    "#uncommand SHOW <*rest*>\n";

TEST(StdSnapshot, DefinitionsSurviveARoundTrip) {
  std::string bytes = definitionsOf(kDefinitions);
  RuleSet rules;
  MacroTable macros;
  ASSERT_TRUE(loadDefinitions(bytes, 0, rules, macros));
  EXPECT_EQ(macros.size(), 3u);
  EXPECT_EQ(macros["SQUARE"].params.size(), 2u);
  EXPECT_DOUBLE_EQ(macros["PI"].body.at(0).dval, 3.14159);
  EXPECT_EQ(saveDefinitions(rules, macros), bytes);
}

TEST(StdSnapshot, DamagedBytesAreRefusedWithNothingAdded) {
  std::string bytes = definitionsOf(kDefinitions);
  for (size_t n = 0; n < bytes.size(); ++n) {
    RuleSet rules;
    MacroTable macros;
    EXPECT_FALSE(loadDefinitions(std::string_view(bytes).substr(0, n), 0, rules, macros)) << n;
    EXPECT_TRUE(rules.empty() && macros.empty()) << n;
  }
  RuleSet rules;
  MacroTable macros;
  EXPECT_FALSE(loadDefinitions(bytes + "x", 0, rules, macros));
  bytes[4] = 9;  // another layout version
  EXPECT_FALSE(loadDefinitions(bytes, 0, rules, macros));
  EXPECT_TRUE(rules.empty() && macros.empty());
}

}  // namespace
}  // namespace pv

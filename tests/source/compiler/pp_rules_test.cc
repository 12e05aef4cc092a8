// Tests of user-defined commands and translations, grouped by feature of the rule language:
// each match marker, optional clauses, repeated clauses, each result marker, translations,
// keyword abbreviation, removal, and the errors of bad definitions and endless expansion.
#include <gtest/gtest.h>

#include "compiler/preprocessor.h"

namespace pv {
namespace {

struct Expansion {
  Diagnostics diags;
  std::string text;  // the statements, separated by " | "
};

Expansion expand(const std::string& source) {
  Expansion run;
  Preprocessor pp(run.diags, {}, [](const std::string&, std::string&) { return false; });
  pp.start("main.prg", source);
  std::vector<Token> statement;
  for (Token t = pp.next(); t.kind != Tok::End; t = pp.next()) {
    if (t.kind != Tok::Eol) {
      statement.push_back(t);
      continue;
    }
    if (statement.empty()) continue;
    run.text += (run.text.empty() ? "" : " | ") + tokensText(statement);
    statement.clear();
  }
  return run;
}

void expectExpansion(const std::string& source, const std::string& expected) {
  Expansion r = expand(source);
  EXPECT_FALSE(r.diags.hasErrors()) << r.diags.text();
  EXPECT_EQ(r.text, expected);
}

void expectError(const std::string& source, const std::string& message) {
  Expansion r = expand(source);
  EXPECT_TRUE(r.diags.hasErrors()) << "no error for: " << source;
  EXPECT_NE(r.diags.text().find(message), std::string::npos) << source << r.diags.text();
}

// ---- match markers ---------------------------------------------------------------------------

TEST(Rules, RegularMarkerTakesOneExpression) {
  expectExpansion("#command SHOW <x> [LABEL <l>] => Show(<x>, <l>)\n"
                  "SHOW a + f(b, c)[2] * -d LABEL \"x\"\nSHOW o:name\n",
                  "Show(a + f(b, c)[2] * -d, \"x\") | Show(o:name,)");
}

TEST(Rules, ListMarkerTakesCommaSeparatedExpressions) {
  expectExpansion("#command PRINT <list,...> => QOut(<list>)\nPRINT a, b + 1, f(c, d)\n",
                  "QOut(a, b + 1, f(c, d))");
}

TEST(Rules, RestrictedMarkerTakesOnlyItsWords) {
  Expansion r = expand("#command LIGHT <w:ON,OFF> => Light(<\"w\">)\nLIGHT off\nLIGHT dim\n");
  EXPECT_EQ(r.text, "Light(\"off\") | LIGHT dim");
}

TEST(Rules, WildMarkerTakesTheRestOfTheLine) {
  expectExpansion("#command MEMO <*text*> => Memo(#<text>)\nMEMO all of it, (here) 1\n",
                  "Memo(\"all of it, (here) 1\")");
}

TEST(Rules, ExtendedMarkerTakesNamesOrParenthesisedExpressions) {
  expectExpansion("#command OPEN <(f)> [ALIAS <(a)>] => Open(<(f)>, <(a)>)\n"
                  "OPEN customer.dbf ALIAS cu\nOPEN (cDir + \"x.dbf\")\nOPEN &cName\n",
                  "Open(\"customer.dbf\", \"cu\") | Open((cDir + \"x.dbf\"),) | Open(cName,)");
}

// ---- optional clauses ------------------------------------------------------------------------

TEST(Rules, OptionalClausesComeInAnyOrder) {
  std::string rule = "#command BOX <x> [WIDTH <w>] [HEIGHT <h>] [<f:FILLED>] => "
                     "Box(<x>, <w>, <h>, <.f.>)\n";
  expectExpansion(rule + "BOX a HEIGHT 2 FILLED WIDTH 3\nBOX b\nBOX c WIDTH 1\n",
                  "Box(a, 3, 2, .T.) | Box(b,,, .F.) | Box(c, 1,, .F.)");
}

TEST(Rules, RepeatedClausesRepeatTheirResult) {
  expectExpansion("#command SETALL <v1> TO <x1> [, <vN> TO <xN>] => <v1> := <x1> [; <vN> := <xN>]\n"
                  "SETALL a TO 1, b TO 2, c TO f(3)\n",
                  "a := 1 | b := 2 | c := f(3)");
}

TEST(Rules, NestedOptionalClauses) {
  std::string rule = "#command LINK [TO <k1> INTO <a1> [, [TO] <kN> INTO <aN>]] => "
                     "Clear() [; Link(<a1>, <{k1}>)] [; Link(<aN>, <{kN}>)]\n";
  expectExpansion(rule + "LINK TO id INTO b, TO no INTO c, cust INTO d\nLINK\n",
                  "Clear() | Link(b, {|| id }) | Link(c, {|| no }) | Link(d, {|| cust }) | Clear()");
}

TEST(Rules, ClausesBeginningWithKeywordsAreTriedBeforeExpressions) {
  expectExpansion("#command LISTIT [<x,...>] [<off:OFF>] => L({<x>}, <.off.>)\n"
                  "LISTIT OFF\nLISTIT a, b OFF\n",
                  "L({}, .T.) | L({a, b}, .T.)");
}

// ---- result markers --------------------------------------------------------------------------

TEST(Rules, StringifyVariants) {
  std::string rule = "#command STR <x,...> => Dumb(#<x>) ; Normal(<\"x\">) ; Smart(<(x)>)\n";
  expectExpansion(rule + "STR a + 1, (b), \"c\"\n",
                  "Dumb('a + 1, (b), \"c\"') | Normal(\"a + 1\", \"(b)\", \"c\") | "
                  "Smart(\"a + 1\", (b), \"c\")");
}

TEST(Rules, BlockifyAndLogify) {
  expectExpansion("#command EACH <x,...> [<r:REST>] => Each({<{x}>}, <.r.>)\n"
                  "EACH a * 2, {|| b } REST\nEACH c\n",
                  "Each({{|| a * 2 }, {|| b }}, .T.) | Each({{|| c }}, .F.)");
}

TEST(Rules, AbsentMarkersLeaveNothingButDumbStringifyLeavesAnEmptyString) {
  expectExpansion("#command ECHO [<x>] => Echo(<x>, #<x>, <\"x\">, <{x}>)\nECHO\n",
                  "Echo(, \"\",,)");
}

TEST(Rules, EscapedTokensAreLiterals) {
  expectExpansion("#command ANGLE <x> => Angle(\\<, <x>, \\>)\nANGLE 1\n", "Angle(<, 1,>)");
}

// ---- commands and translations ---------------------------------------------------------------

TEST(Rules, CommandsMatchWholeStatementsOnly) {
  expectExpansion("#command BEEP => Tone(440)\nBEEP\nBEEP 2\nx := BEEP\n",
                  "Tone(440) | BEEP 2 | x := BEEP");
}

TEST(Rules, TranslationsMatchAnywhereAndAgainInTheirResult) {
  expectExpansion("#translate TWICE(<x>) => (2 * (<x>))\ny := TWICE(3) + TWICE(TWICE(1))\n",
                  "y := (2 * (3)) + (2 * ((2 * (1))))");
}

TEST(Rules, CommandAbbreviatesKeywordsToFourLettersXCommandDoesNot) {
  expectExpansion("#command DISPLAYALL <x> => Disp(<x>)\n#xcommand SHOWALL <x> => Show(<x>)\n"
                  "disp 1\nDISPLAYA 2\nDIS 3\nshow 4\nshowall 5\n",
                  "Disp(1) | Disp(2) | DIS 3 | show 4 | Show(5)");
}

TEST(Rules, TranslateAbbreviatesXTranslateDoesNot) {
  expectExpansion("#translate FIRSTOF(<x>) => <x>\\[1\\]\n#xtranslate LASTOF(<x>) => ATail(<x>)\n"
                  "a := FIRS(b) + LAST(c) + LASTOF(d)\n",
                  "a := b[1] + LAST(c) + ATail(d)");
}

TEST(Rules, NewerRulesWinAndUncommandRemovesThem) {
  expectExpansion("#command GREET <x> => Hello(<x>)\n#command GREET <x> => Hi(<x>)\nGREET 1\n"
                  "#uncommand GREET <x>\nGREET 2\n#xtranslate HALF(<x>) => (<x>/2)\n"
                  "#xuntranslate HALF(<x>)\nh := HALF(4)\n",
                  "Hi(1) | Hello(2) | h := HALF(4)");
}

TEST(Rules, ResultsGoThroughDefinesAndOtherRules) {
  expectExpansion("#define LIMIT 10\n#command CLAMP <x> => <x> := Min(<x>, LIMIT) ; CHECK <x>\n"
                  "#command CHECK <x> => Check(<x>)\nCLAMP n\n",
                  "n := Min(n, 10) | Check(n)");
}

TEST(Rules, CallsOfAFunctionNamedLikeACommandStayCalls) {
  expectExpansion("#command TIDY [<x>] => Tidy(<x>)\nTidy()\nTIDY (a)\n", "Tidy() | Tidy((a))");
}

TEST(Rules, DirectivesMayContinueOverLines) {
  expectExpansion("#command TWO <a> ;\n   AND <b> ;\n   => First(<a>) ; Second(<b>)\nTWO 1 AND 2\n",
                  "First(1) | Second(2)");
}

// ---- bad input -------------------------------------------------------------------------------

TEST(RuleErrors, MalformedDefinitionsNameTheirPlace) {
  expectError("#command BAD [<x> => Bad(<x>)\n", "main.prg(1:14): error: '[' without ']' in rule");
  expectError("#command BAD <x>] => Bad(<x>)\n", "']' without '['");
  expectError("#command BAD <> => Bad()\n", "match marker without a name");
  expectError("#command BAD < > => Bad()\n", "match marker without a name");
  expectError("#command BAD <x> => Bad(<y>)\n", "unknown match marker <y>");
  expectError("#command BAD <x> Bad(<x>)\n", "expected '=>' in rule");
  expectError("#command <x> => Bad(<x>)\n", "a command must begin with a keyword");
  expectError("#command BAD <x> <x> => Bad(<x>)\n", "declared twice");
  expectError("#command BAD <x,..> => Bad(<x>)\n", "expected '...'");
  expectError("#command BAD [] => Bad()\n", "empty optional clause");
  expectError("#command BAD <x> => Bad([<x>)\n", "'[' without ']' in rule result");
}

TEST(RuleErrors, EndlessExpansionIsReported) {
  Expansion r = expand("x := 1\n#command LOOPY => LOOPY\nLOOPY\n");
  EXPECT_NE(r.diags.text().find("main.prg(3:1): error: endless expansion"), std::string::npos)
      << r.diags.text();
  Expansion t = expand("#translate GROW => GROW + 1\nx := GROW\n");
  EXPECT_NE(t.diags.text().find("main.prg(2:1): error: endless expansion"), std::string::npos) << t.diags.text();
  Expansion split = expand("#command TWICE => TWICE ; TWICE\nTWICE\n");
  EXPECT_TRUE(split.diags.hasErrors());
}

TEST(RuleErrors, VeryLongLinesAndDeepNestingFinish) {
  std::string line = "SUMUP 1";
  for (int i = 0; i < 20000; ++i) line += ", " + std::to_string(i);
  Expansion r = expand("#command SUMUP <x,...> => Sum(<x>)\n" + line + "\n");
  EXPECT_FALSE(r.diags.hasErrors()) << r.diags.text();
  EXPECT_EQ(r.text.substr(0, 12), "Sum(1, 0, 1,");
  std::string nested = "#command DEEP ";
  for (int i = 0; i < 40; ++i) nested += "[A ";
  Expansion d = expand(nested + "=> x\n");
  EXPECT_NE(d.diags.text().find("nested too deeply"), std::string::npos) << d.diags.text();
}

TEST(RuleErrors, MatchAgainstTheEndOfTheLineFailsQuietly) {
  expectExpansion("#command NEED <x> TO <y> => Need(<x>, <y>)\nNEED a TO\nNEED\n",
                  "NEED a TO | NEED");
}

}  // namespace
}  // namespace pv

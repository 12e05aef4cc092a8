// Tests of the lexer: literals, operators, comments, continuations and errors.
#include <gtest/gtest.h>

#include "compiler/lexer.h"

namespace pv {
namespace {

std::vector<Token> lex(const std::string& text, Diagnostics* out = nullptr) {
  Diagnostics local;
  Diagnostics& diags = out ? *out : local;
  int file = diags.addFile("t.prg");
  Lexer lexer(text, file, diags);
  std::vector<Token> tokens;
  for (Token t = lexer.next(); t.kind != Tok::End; t = lexer.next()) tokens.push_back(t);
  return tokens;
}

std::string kinds(const std::string& text) {
  std::string s;
  for (const Token& t : lex(text)) {
    switch (t.kind) {
      case Tok::Eol: s += "; "; break;
      case Tok::Ident: s += "id:" + t.upper + " "; break;
      case Tok::Number: s += "n:" + t.text + " "; break;
      case Tok::String: s += "s:" + t.text + " "; break;
      case Tok::Date: s += "d:" + std::to_string(t.ival) + " "; break;
      case Tok::Logical: s += std::string("l:") + (t.ival ? "T" : "F") + " "; break;
      case Tok::Op: s += t.text + " "; break;
      default: s += "? ";
    }
  }
  return s;
}

TEST(Lexer, NumbersCarryWidthAndDecimals) {
  auto t = lex("12 3.25 .5 0x1F 123456789012345678901");
  ASSERT_GE(t.size(), 5u);
  EXPECT_TRUE(t[0].isInt);
  EXPECT_EQ(t[0].ival, 12);
  EXPECT_FALSE(t[1].isInt);
  EXPECT_DOUBLE_EQ(t[1].dval, 3.25);
  EXPECT_EQ(t[1].width, 4);
  EXPECT_EQ(t[1].decimals, 2);
  EXPECT_DOUBLE_EQ(t[2].dval, 0.5);
  EXPECT_EQ(t[2].decimals, 1);
  EXPECT_EQ(t[3].ival, 31);
  EXPECT_FALSE(t[4].isInt);  // too long for an integer: a double
}

TEST(Lexer, StringsInThreeDelimiters) {
  EXPECT_EQ(kinds("x := \"a'b\" + 'c\"d' + [e]"), "id:X := s:a'b + s:c\"d + s:e ; ");
  // After a name or a closing bracket "[" is an index, not a string.
  EXPECT_EQ(kinds("a[1] + f()[2]"), "id:A [ n:1 ] + id:F ( ) [ n:2 ] ; ");
}

TEST(Lexer, DatesLogicalsAndDotOperators) {
  EXPECT_EQ(kinds("0d20240131 .t. .F. .y. .n. a .and. b .Or. .NOT. c"),
            "d:2460341 l:T l:F l:T l:F id:A .AND. id:B .OR. .NOT. id:C ; ");
  EXPECT_EQ(kinds("0d00000000"), "d:0 ; ");
}

TEST(Lexer, OperatorsLongestFirst) {
  EXPECT_EQ(kinds("a:=b+=c==d!=e<>f<=g>=h<<i>>j->k++--**^^::=>"),
            "id:A := id:B += id:C == id:D != id:E <> id:F <= id:G >= id:H << id:I >> id:J -> "
            "id:K ++ -- ** ^^ :: => ; ");
}

TEST(Lexer, CommentsAndContinuations) {
  EXPECT_EQ(kinds("* a comment line\na := 1 // rest\nb := 2 && rest\nNOTE old style\n"
                  "c := /* inside\n still */ 3"),
            "id:A := n:1 ; id:B := n:2 ; id:C := n:3 ; ");
  EXPECT_EQ(kinds("x := 1 + ;\n     2 ; y := 3"), "id:X := n:1 + n:2 ; id:Y := n:3 ; ");
  // A '*' that is not first on its line multiplies.
  EXPECT_EQ(kinds("a * b"), "id:A * id:B ; ");
}

TEST(Lexer, ByteOrderMarkAndDosEndMarkAreIgnored) {
  EXPECT_EQ(kinds("\xEF\xBB\xBFx := 1\r\n\x1A"), "id:X := n:1 ; ");
  auto t = lex("\xEF\xBB\xBF" "ab");
  EXPECT_EQ(t[0].pos.col, 1);
}

TEST(Lexer, PositionsAreLineAndColumn) {
  auto t = lex("a\n  bb := 1");
  ASSERT_EQ(t.size(), 6u);
  EXPECT_EQ(t[2].pos.line, 2);
  EXPECT_EQ(t[2].pos.col, 3);
  EXPECT_TRUE(t[2].bol);
  EXPECT_FALSE(t[3].bol);
}

TEST(Lexer, ErrorsAreReportedWithTheirPlace) {
  Diagnostics diags;
  lex("x := \"open\ny := 0d2024 + `\nz := 0d20240230 /* never closed", &diags);
  ASSERT_EQ(diags.list().size(), 5u) << diags.text();
  EXPECT_EQ(diags.list()[0].text(), "t.prg(1:6): error: unterminated string");
  EXPECT_EQ(diags.list()[1].text(), "t.prg(2:6): error: date literal needs eight digits (0dYYYYMMDD)");
  EXPECT_EQ(diags.list()[2].text(), "t.prg(2:15): error: unexpected character 0x60");
  EXPECT_EQ(diags.list()[3].text(), "t.prg(3:6): error: invalid date literal 0d20240230");
  EXPECT_EQ(diags.list()[4].text(), "t.prg(3:17): error: unterminated comment");
}

TEST(Lexer, JulianDays) {
  EXPECT_EQ(julianDay(2000, 1, 1), 2451545);
  EXPECT_EQ(julianDay(1900, 2, 29), -1);
  EXPECT_EQ(julianDay(2000, 2, 29), 2451604);
}

}  // namespace
}  // namespace pv

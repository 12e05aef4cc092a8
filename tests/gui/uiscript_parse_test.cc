// Reading UI scripts: comments and blank lines, quoted words, a trailing number of seconds,
// and the checks that refuse a wrong line with its number.
#include <gtest/gtest.h>

#include "uiscript_parse.h"

namespace pv::gui::uiscript {
namespace {

std::vector<Step> parse(const std::string& text) {
  std::vector<Step> steps;
  std::string error;
  EXPECT_TRUE(parseScript(text, steps, error)) << error;
  return steps;
}

std::string refused(const std::string& text) {
  std::vector<Step> steps;
  std::string error;
  EXPECT_FALSE(parseScript(text, steps, error));
  return error;
}

TEST(UiScriptParse, StepsWithLinesVerbsAndWords) {
  auto steps = parse("# a comment\n\n  WAIT Please, wait 30\r\nbox \"Yes\"\npress \"Sum values\"\necho  hello  world \n");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].line, 3);
  EXPECT_EQ(steps[0].verb, "wait");
  EXPECT_EQ(steps[0].source, "WAIT Please, wait 30");
  EXPECT_EQ(steps[1].words, std::vector<std::string>{"Yes"});
  EXPECT_EQ(steps[2].words, std::vector<std::string>{"Sum values"});
  EXPECT_EQ(steps[3].rest, "hello  world");
}

TEST(UiScriptParse, TextAndOptionalSeconds) {
  auto steps = parse("wait Please, wait 30\nwait Please, wait\nclosed 2024\ndone \"Total 5\" 1.5\n");
  std::string text;
  double seconds;
  textAndSeconds(steps[0], text, seconds, 10);
  EXPECT_EQ(text, "Please, wait");
  EXPECT_EQ(seconds, 30);
  textAndSeconds(steps[1], text, seconds, 10);
  EXPECT_EQ(text, "Please, wait");
  EXPECT_EQ(seconds, 10);
  textAndSeconds(steps[2], text, seconds, 10);
  EXPECT_EQ(text, "2024") << "a lone number is the text";
  textAndSeconds(steps[3], text, seconds, 10);
  EXPECT_EQ(text, "Total 5");
  EXPECT_EQ(seconds, 1.5);
}

TEST(UiScriptParse, WrongLinesAreRefusedWithTheirNumber) {
  EXPECT_EQ(refused("wait X\nfly away\n"), "line 2: unknown step \"fly\"");
  EXPECT_EQ(refused("click\n"), "line 1: wrong number of arguments for click");
  EXPECT_EQ(refused("cell 1 2\n"), "line 1: wrong number of arguments for cell");
  EXPECT_EQ(refused("# x\nsleep soon\n"), "line 2: sleep: \"soon\" is not a number");
  EXPECT_EQ(refused("key Enter Escape\n"), "line 1: wrong number of arguments for key");
}

}  // namespace
}  // namespace pv::gui::uiscript

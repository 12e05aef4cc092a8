// String functions: parts, search, trimming, padding, case and their argument errors.
#include "rtl_call.h"
#include "set.h"

namespace {

class StringTest : public RtlTest {};

TEST_F(StringTest, LenCountsStringsArraysAndHashes) {
  EXPECT_EQ(num("LEN", {"abc"}), 3);
  EXPECT_EQ(num("LEN", {std::string("a\0b", 3)}), 3);
  EXPECT_EQ(num("LEN", {""}), 0);
  expectArgError("LEN", 1111, {5});
  expectArgError("LEN", 1111, {});
}

TEST_F(StringTest, SubstrCountsNegativeStartsFromTheEnd) {
  EXPECT_EQ(str("SUBSTR", {"Hello World", 7}), "World");
  EXPECT_EQ(str("SUBSTR", {"Hello World", 1, 5}), "Hello");
  EXPECT_EQ(str("SUBSTR", {"Hello World", 0, 2}), "He");
  EXPECT_EQ(str("SUBSTR", {"Hello World", -5}), "World");
  EXPECT_EQ(str("SUBSTR", {"Hello World", -5, 2}), "Wo");
  EXPECT_EQ(str("SUBSTR", {"abc", -10, 2}), "ab");
  EXPECT_EQ(str("SUBSTR", {"abc", 4}), "");
  EXPECT_EQ(str("SUBSTR", {"abc", 1e300, 1e300}), "");
  EXPECT_EQ(str("LEFT", {"abc", 1e300}), "abc");
  EXPECT_EQ(str("SUBSTR", {"abc", 2, 100}), "bc");
  EXPECT_EQ(str("SUBSTR", {"abc", 2, -1}), "");
  EXPECT_EQ(str("SUBSTR", {"abc", 2, nullptr}), "bc");
  expectArgError("SUBSTR", 1110, {"abc"});
  expectArgError("SUBSTR", 1110, {5, 1});
  expectArgError("SUBSTR", 1110, {"abc", 1, "x"});
}

TEST_F(StringTest, LeftAndRightClampTheirCounts) {
  EXPECT_EQ(str("LEFT", {"abcdef", 3}), "abc");
  EXPECT_EQ(str("LEFT", {"abc", 10}), "abc");
  EXPECT_EQ(str("LEFT", {"abc", -1}), "");
  EXPECT_EQ(str("RIGHT", {"abcdef", 2}), "ef");
  EXPECT_EQ(str("RIGHT", {"abc", 10}), "abc");
  EXPECT_EQ(str("RIGHT", {"abc", 0}), "");
  expectArgError("LEFT", 1124, {"abc", "1"});
  expectArgError("RIGHT", 1125, {nullptr, 1});
}

TEST_F(StringTest, CaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(str("UPPER", {"abc Zü1\x84"}), "ABC Z\xC3\xBC" "1\x84");
  EXPECT_EQ(str("LOWER", {"ABC x"}), "abc x");
  expectArgError("UPPER", 1102, {1});
  expectArgError("LOWER", 1103, {true});
}

TEST_F(StringTest, SpaceAndReplicate) {
  EXPECT_EQ(str("SPACE", {3}), "   ");
  EXPECT_EQ(str("SPACE", {-3}), "");
  EXPECT_EQ(str("REPLICATE", {"ab", 3}), "ababab");
  EXPECT_EQ(str("REPLICATE", {"ab", 0}), "");
  expectArgError("SPACE", 1105, {"3"});
  expectArgError("REPLICATE", 1106, {3, "ab"});
  expectArgError("REPLICATE", 1234, {"abc", 1e12}, PV_EG_STROVERFLOW);
}

TEST_F(StringTest, ChrAndAsc) {
  EXPECT_EQ(str("CHR", {65}), "A");
  EXPECT_EQ(str("CHR", {256 + 66}), "B");
  EXPECT_EQ(str("CHR", {0}), std::string(1, '\0'));
  EXPECT_EQ(num("ASC", {"\xE4xyz"}), 0xE4);
  EXPECT_EQ(num("ASC", {""}), 0);
  expectArgError("CHR", 1104, {"A"});
  expectArgError("ASC", 1107, {65});
}

TEST_F(StringTest, AtAndRatFindFirstAndLast) {
  EXPECT_EQ(num("AT", {"lo", "Hello World, hello"}), 4);
  EXPECT_EQ(num("AT", {"lo", "Hello World, hello", 5}), 17);
  EXPECT_EQ(num("AT", {"lo", "Hello World, hello", 5, 17}), 0);
  EXPECT_EQ(num("AT", {"", "abc"}), 0);
  EXPECT_EQ(num("AT", {"x", "abc"}), 0);
  EXPECT_EQ(num("AT", {"c", "abc", nullptr, nullptr}), 3);
  EXPECT_EQ(num("RAT", {"lo", "Hello World, hello"}), 17);
  EXPECT_EQ(num("RAT", {"\\", "C:\\prog\\xlforms.exe"}), 8);
  EXPECT_EQ(num("RAT", {"", "abc"}), 0);
  expectArgError("AT", 1108, {"a", 5});
  expectArgError("RAT", 1128, {1, "a"});
}

TEST_F(StringTest, StrTranReplacesChosenOccurrences) {
  EXPECT_EQ(str("STRTRAN", {"a-b-c-d", "-", "+"}), "a+b+c+d");
  EXPECT_EQ(str("STRTRAN", {"a-b-c-d", "-"}), "abcd");
  EXPECT_EQ(str("STRTRAN", {"a-b-c-d", "-", "+", 2}), "a-b+c+d");
  EXPECT_EQ(str("STRTRAN", {"a-b-c-d", "-", "+", 2, 1}), "a-b+c-d");
  EXPECT_EQ(str("STRTRAN", {"aaaa", "aa", "b"}), "bb");
  EXPECT_EQ(str("STRTRAN", {"abc", "", "x"}), "abc");
  EXPECT_EQ(str("STRTRAN", {"abc", "b", nullptr, nullptr, nullptr}), "ac");
  expectArgError("STRTRAN", 1126, {"abc", 1});
}

TEST_F(StringTest, StuffDeletesAndInserts) {
  EXPECT_EQ(str("STUFF", {"abcdef", 3, 2, "XYZ"}), "abXYZef");
  EXPECT_EQ(str("STUFF", {"abc", 10, 2, "X"}), "abcX");
  EXPECT_EQ(str("STUFF", {"abc", 2, 10, ""}), "a");
  EXPECT_EQ(str("STUFF", {"abc", 0, 0, "X"}), "Xabc");
  expectArgError("STUFF", 1127, {"abc", 1, 1});
}

TEST_F(StringTest, TrimFunctionsRemoveBlanks) {
  EXPECT_EQ(str("TRIM", {"  a b  "}), "  a b");
  EXPECT_EQ(str("RTRIM", {"   "}), "");
  EXPECT_EQ(str("LTRIM", {"  a b  "}), "a b  ");
  EXPECT_EQ(str("ALLTRIM", {"  a b  "}), "a b");
  EXPECT_EQ(str("ALLTRIM", {""}), "");
  PvItem memo = {PV_IT_NIL, {}};
  pv_itemPutC(&memo, "memo text");
  pv_itemSetCMemo(&memo);
  EXPECT_STREQ(pv_itemTypeStr(call("ALLTRIM", {&memo})), "C");  // the result is plain text
  pv_itemClear(&memo);
  expectArgError("TRIM", 1100, {1});
  expectArgError("LTRIM", 1101, {nullptr});
  expectArgError("ALLTRIM", 2022, {1.5});
}

TEST_F(StringTest, PadFunctionsConvertAndAlign) {
  EXPECT_EQ(str("PADR", {"ab", 5}), "ab   ");
  EXPECT_EQ(str("PADL", {"ab", 5, "*"}), "***ab");
  EXPECT_EQ(str("PADC", {"ab", 7, "-"}), "--ab---");
  EXPECT_EQ(str("PADR", {"abcdef", 3}), "abc");
  EXPECT_EQ(str("PADL", {"abcdef", 3}), "abc");
  EXPECT_EQ(str("PADL", {42, 5}), "   42");
  EXPECT_EQ(str("PADR", {"x", 0}), "");
  EXPECT_EQ(str("PADR", {"x", 2, nullptr}), "x ");
  expectArgError("PADR", 1129, {"x", "5"});
  expectArgError("PADL", 1130, {nullptr, 5});
  expectArgError("PADC", 1133, {"x", 5, 7});
}

}  // namespace

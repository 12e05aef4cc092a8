// Code pages, binary helpers and console output.
#include <algorithm>
#include <string>

#include "rtl_call.h"
#include "set.h"

namespace {

class MiscTest : public RtlTest {};

TEST_F(MiscTest, OemAndAnsiShareTheirCommonCharactersExactly) {
  // "Müller Größe Ærø ñ £" in code page 850 and in code page 1252.
  const std::string oem = "M\x81ller Gr\x94\xE1" "e \x92r\x9B \xA4 \x9C";
  const std::string ansi = "M\xFCller Gr\xF6\xDF" "e \xC6r\xF8 \xF1 \xA3";
  EXPECT_EQ(str("OEMTOANSI", {oem}), ansi);
  EXPECT_EQ(str("ANSITOOEM", {ansi}), oem);
  std::string ascii;
  for (int c = 0; c < 128; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(str("OEMTOANSI", {ascii}), ascii);
  EXPECT_EQ(str("OEMTOANSI", {"\xF8\xE6\xFD"}), "\xB0\xB5\xB2");  // degree, micro, superscript two
  expectArgError("OEMTOANSI", 1137, {1});
  expectArgError("ANSITOOEM", 1137, {nullptr});
}

TEST_F(MiscTest, CodePageTablesAreInverses) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string ansi = str("OEMTOANSI", {all});
  std::string sorted = ansi;
  std::sort(sorted.begin(), sorted.end(), [](char a, char b) { return uint8_t(a) < uint8_t(b); });
  EXPECT_EQ(sorted, all);  // a permutation
  EXPECT_EQ(str("ANSITOOEM", {ansi}), all);
}

TEST_F(MiscTest, BinaryHelpersAreLittleEndian) {
  EXPECT_EQ(str("L2BIN", {0x01020304}), "\x04\x03\x02\x01");
  EXPECT_EQ(str("L2BIN", {-1}), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(str("I2BIN", {0x1234}), "\x34\x12");
  EXPECT_EQ(num("BIN2L", {"\xFF\xFF\xFF\xFF"}), -1);
  EXPECT_EQ(num("BIN2L", {"\x04\x03\x02\x01"}), 0x01020304);
  EXPECT_EQ(num("BIN2W", {"\xFF\xFF"}), 65535);
  EXPECT_EQ(num("BIN2I", {"\xFF\xFF"}), -1);
  EXPECT_EQ(num("BIN2I", {"\x05"}), 5);  // short strings are zero-padded
  EXPECT_EQ(num("BIN2L", {""}), 0);
  expectArgError("BIN2L", 1135, {5});
  expectArgError("I2BIN", 1136, {"5"});
}

TEST_F(MiscTest, ConsoleOutputGoesToStdoutAndStderr) {
  PvItem d = {PV_IT_NIL, {}};
  pv_itemPutD(&d, 2024, 3, 9);
  testing::internal::CaptureStdout();
  call("QOUT", {"a", 12, true, nullptr, &d});
  call("QQOUT", {"b", 1.5});
  call("OUTSTD", {"c"});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\na         12 .T. NIL 03/09/24b          1.50c");
  testing::internal::CaptureStderr();
  call("OUTERR", {"err", false});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "err .F.");

  PvItem off = {PV_IT_NIL, {}}, old = {PV_IT_NIL, {}};
  pv_itemPutL(&off, false);
  pv_setGetSet(PV_SET_CONSOLE, &off, nullptr, &old);
  testing::internal::CaptureStdout();
  call("QOUT", {"hidden"});
  call("OUTSTD", {"shown"});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "shown");
  pv_setGetSet(PV_SET_CONSOLE, &old, nullptr, &off);
}

}  // namespace

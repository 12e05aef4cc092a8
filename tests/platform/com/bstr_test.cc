// BSTR allocation and the code page 1252 / UTF-8 conversions.
#include <gtest/gtest.h>

#include <cstring>

#include "com/bstr.h"

using namespace com;

TEST(Bstr, LengthPrefixTerminatorAndEmbeddedZeros) {
  BSTR s = SysAllocStringLen(u"ab\0cd", 5);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 5u);
  EXPECT_EQ(SysStringByteLen(s), 10u);
  std::uint32_t prefix;
  std::memcpy(&prefix, reinterpret_cast<char*>(s) - 4, 4);
  EXPECT_EQ(prefix, 10u);
  EXPECT_EQ(s[5], 0);
  EXPECT_EQ(s[2], 0);
  EXPECT_EQ(BstrView(s), std::u16string_view(u"ab\0cd", 5));
  SysFreeString(s);
}

TEST(Bstr, NullIsEmptyAndFreeOfNullIsHarmless) {
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(static_cast<LPCOLESTR>(nullptr)), nullptr);
  SysFreeString(nullptr);
  BSTR odd = SysAllocStringByteLen("abc", 3);
  EXPECT_EQ(SysStringByteLen(odd), 3u);
  EXPECT_EQ(SysStringLen(odd), 1u);
  SysFreeString(odd);
  BSTR s = SysAllocString(u"x");
  ASSERT_TRUE(SysReAllocString(&s, u"longer"));
  EXPECT_EQ(BstrView(s), u"longer");
  SysFreeString(s);
}

TEST(CodePage, Ansi1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(char(b));
  std::u16string wide = AnsiToWide(all);
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');  // euro sign
  EXPECT_EQ(wide[0xE4 - 1], u'\u00E4');  // ä
  EXPECT_EQ(wide[0x9F - 1], u'\u0178');
  EXPECT_EQ(WideToAnsi(wide), all);
  EXPECT_EQ(WideToAnsi(u"\u4E2D"), "?");
}

TEST(CodePage, Win32StyleBufferRules) {
  const char* text = "Gr\xFC\xDF";  // Grüß in 1252
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 5);  // with terminator
  OLECHAR buf[8];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 4, buf, 8), 4);
  EXPECT_EQ(std::u16string_view(buf, 4), u"Gr\u00FC\u00DF");
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 4, buf, 3), 0);  // too small
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\x9F", 2, buf, 8), 2);  // the 0x80-0x9F block
  EXPECT_EQ(std::u16string_view(buf, 2), u"\u20AC\u0178");
  EXPECT_EQ(MultiByteToWideChar(437, 0, text, 4, buf, 8), 0);     // unknown code page
  char out[8];
  int usedDefault = 0;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a\u20AC\u4E2D", 3, out, 8, nullptr, &usedDefault), 3);
  EXPECT_EQ(std::string(out, 3), "a\x80?");
  EXPECT_EQ(usedDefault, 1);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E4", 1, nullptr, 0, nullptr, nullptr), 2);
}

TEST(CodePage, Utf8HandlesSurrogatesAndBadBytes) {
  std::u16string w = u"a\u00E4\u20AC\U0001F600";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(w)), w);
  EXPECT_EQ(Utf8ToWide("\xFF" "a\xC3"), u"\uFFFD" u"a\uFFFD");
  EXPECT_EQ(WideToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(CodePage, AppendUtf8KeepsWhatTheBufferHeld) {
  std::string out = "x";
  AppendUtf8(u"  ab", out);
  EXPECT_EQ(out, "x  ab");
  AppendUtf8(u"M\u00FCller \u20AC", out);  // plain letters, then characters of two and three bytes
  EXPECT_EQ(out, "x  abM\xC3\xBCller \xE2\x82\xAC");
  out.clear();
  AppendUtf8(u"", out);
  EXPECT_TRUE(out.empty());
}

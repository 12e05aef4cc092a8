// Field values in record bytes: each type's storage and the edge cases that catch real faults.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dbf/dbf_codec.h"

namespace pv::dbf {
namespace {

// A record with one field of the given letter/length/decimals at offset 1.
struct OneField {
  OneField(char letter, int length, int decimals = 0, bool extended = false) {
    Status st = FieldFromSpec({"F", std::string(1, letter), length, decimals, 0}, extended, &field);
    EXPECT_TRUE(st.ok()) << st.toString();
    std::vector<Field> fs{field};
    LayOutFields(&fs);
    field = fs[0];
    rec.assign(1 + field.length, 0);
    BlankRecord(fs, rec.data(), rec.size());
  }
  std::string text() const { return std::string(rec.begin() + 1, rec.end()); }
  Field field;
  std::vector<uint8_t> rec;
};

TEST(DbfCodecTest, NumericFieldsRoundAndOverflowToAsterisks) {
  OneField n( 'N', 8, 2);
  ASSERT_TRUE(PutNumber(n.field, n.rec.data(), 12345.678).ok());
  EXPECT_EQ(n.text(), "12345.68");
  ASSERT_TRUE(PutNumber(n.field, n.rec.data(), -1.5).ok());
  EXPECT_EQ(n.text(), "   -1.50");
  ASSERT_TRUE(PutNumber(n.field, n.rec.data(), 0.125).ok());
  EXPECT_EQ(n.text(), "    0.13");  // half away from zero
  double v = 0;
  ASSERT_TRUE(GetNumber(n.field, n.rec.data(), &v));
  EXPECT_DOUBLE_EQ(v, 0.13);
  OneField n5( 'N', 5);
  Status st = PutNumber(n5.field, n5.rec.data(), 1234567);
  EXPECT_EQ(st.subcode(), 1021);
  EXPECT_TRUE(st.canDefault());
  EXPECT_EQ(n5.text(), "*****");
  ASSERT_TRUE(PutNumber(n5.field, n5.rec.data(), -9999).ok());
  EXPECT_EQ(n5.text(), "-9999");
  EXPECT_EQ(PutNumber(n5.field, n5.rec.data(), -10000).subcode(), 1021);
}

TEST(DbfCodecTest, ParsesNumberTextLikeAReader) {
  auto parse = [](const char* s) { return ParseNumber(reinterpret_cast<const uint8_t*>(s), std::strlen(s)); };
  EXPECT_EQ(parse("   12.50"), 12.5);
  EXPECT_EQ(parse("  -0.07"), -0.07);
  EXPECT_EQ(parse("        "), 0.0);
  EXPECT_EQ(parse("12abc"), 12.0);
  EXPECT_EQ(parse("1234567890123456789012"), 1234567890123456789012.0);
  EXPECT_EQ(parse("0.1"), 0.1);  // correctly rounded, as a decimal reader gives
}

TEST(DbfCodecTest, IntegerFieldsCheckRangeByLength) {
  OneField i2( 'I', 2);
  ASSERT_TRUE(PutNumber(i2.field, i2.rec.data(), -32768).ok());
  ASSERT_TRUE(PutNumber(i2.field, i2.rec.data(), 32767).ok());
  EXPECT_EQ(i2.rec[1], 0xFF);
  EXPECT_EQ(i2.rec[2], 0x7F);
  EXPECT_EQ(PutNumber(i2.field, i2.rec.data(), 40000).subcode(), 1021);
  OneField i3(  'I', 3);
  EXPECT_TRUE(PutNumber(i3.field, i3.rec.data(), -8388608).ok());
  double v = 0;
  ASSERT_TRUE(GetNumber(i3.field, i3.rec.data(), &v));
  EXPECT_EQ(v, -8388608);
  EXPECT_EQ(PutNumber(i3.field, i3.rec.data(), 8388608).subcode(), 1021);
  OneField i8('I', 8);
  EXPECT_EQ(PutNumber(i8.field, i8.rec.data(), 1e19).subcode(), 1021);
  OneField odd('I', 5);  // odd lengths become 4
  EXPECT_EQ(odd.field.length, 4);
  OneField idec('I', 4, 2);
  ASSERT_TRUE(PutNumber(idec.field, idec.rec.data(), 12.345).ok());
  EXPECT_EQ(GetInteger(idec.field, idec.rec.data()), 1235);
  ASSERT_TRUE(GetNumber(idec.field, idec.rec.data(), &v));
  EXPECT_DOUBLE_EQ(v, 12.35);
}

// A currency field gives back what it was given, to its four decimals.
TEST(DbfCodecTest, CurrencyFieldsTakeWhatTheyGive) {
  OneField y('Y', 8, 4);
  ASSERT_TRUE(PutNumber(y.field, y.rec.data(), 1234.56789).ok());
  double v = 0;
  ASSERT_TRUE(GetNumber(y.field, y.rec.data(), &v));
  EXPECT_DOUBLE_EQ(v, 1234.5679);
  ASSERT_TRUE(PutNumber(y.field, y.rec.data(), -0.5).ok());
  ASSERT_TRUE(GetNumber(y.field, y.rec.data(), &v));
  EXPECT_DOUBLE_EQ(v, -0.5);
}

TEST(DbfCodecTest, LogicalsAcceptYes) {
  OneField l('L', 3);
  EXPECT_EQ(l.field.length, 1);
  for (char c : {'T', 't', 'Y', 'y'}) {
    l.rec[1] = uint8_t(c);
    EXPECT_TRUE(GetLogical(l.field, l.rec.data())) << c;
  }
  for (char c : {'F', 'N', ' ', '?', '1'}) {
    l.rec[1] = uint8_t(c);
    EXPECT_FALSE(GetLogical(l.field, l.rec.data())) << c;
  }
  ASSERT_TRUE(PutLogical(l.field, l.rec.data(), true).ok());
  EXPECT_EQ(l.rec[1], 'T');
  EXPECT_EQ(PutNumber(l.field, l.rec.data(), 1).subcode(), 1020);
}

TEST(DbfCodecTest, DatesInEveryForm) {
  int32_t j = JulianFromYmd(2024, 2, 29);
  EXPECT_EQ(j, 2460370);
  EXPECT_EQ(JulianFromYmd(2023, 2, 29), 0);
  int y, m, d;
  YmdFromJulian(2451545, &y, &m, &d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000101);
  OneField d8('D', 8);
  EXPECT_EQ(d8.text(), "        ");
  EXPECT_EQ(GetDate(d8.field, d8.rec.data()), 0);
  ASSERT_TRUE(PutDate(d8.field, d8.rec.data(), j).ok());
  EXPECT_EQ(d8.text(), "20240229");
  EXPECT_EQ(GetDate(d8.field, d8.rec.data()), j);
  OneField d3('D', 3);
  ASSERT_TRUE(PutDate(d3.field, d3.rec.data(), j).ok());
  EXPECT_EQ(GetDate(d3.field, d3.rec.data()), j);
  OneField v3('V', 3);
  ASSERT_TRUE(PutDate(v3.field, v3.rec.data(), j).ok());
  uint32_t packed = 2024 * 512 + 2 * 32 + 29;
  EXPECT_EQ(v3.rec[1], uint8_t(packed >> 16));
  EXPECT_EQ(v3.rec[3], uint8_t(packed));
  EXPECT_EQ(GetDate(v3.field, v3.rec.data()), j);
  OneField t('T', 8);
  ASSERT_TRUE(PutDateTime(t.field, t.rec.data(), {j, 45296789}).ok());
  EXPECT_EQ(GetDateTime(t.field, t.rec.data()), (DateTime{j, 45296789}));
  OneField t4('T', 4);
  EXPECT_EQ(t4.field.type, FieldType::kTimeOfDay);
  t4.rec[1] = 0x95, t4.rec[2] = 0x2C, t4.rec[3] = 0xB3, t4.rec[4] = 0x02;  // 45296789 ms
  EXPECT_EQ(GetTimeOfDay(t4.field, t4.rec.data()), "12:34:56.789");
  EXPECT_EQ(PutDate(t4.field, t4.rec.data(), j).subcode(), 1020);
}

TEST(DbfCodecTest, TextIsCutOrPadded) {
  OneField c('C', 5);
  ASSERT_TRUE(PutText(c.field, c.rec.data(), "abcdefg", nullptr).ok());
  EXPECT_EQ(c.text(), "abcde");
  ASSERT_TRUE(PutText(c.field, c.rec.data(), "ab", nullptr).ok());
  EXPECT_EQ(c.text(), "ab   ");
  EXPECT_EQ(GetText(c.field, c.rec.data(), nullptr), "ab   ");
  OneField wide('C', 300);
  EXPECT_EQ(wide.field.length, 300);
  OneField n('N', 5);
  EXPECT_EQ(PutText(n.field, n.rec.data(), "12", nullptr).subcode(), 1020);
}

TEST(DbfCodecTest, MemoReferences) {
  OneField m('M', 10);
  EXPECT_EQ(m.text(), "          ");
  uint32_t block = 99;
  ASSERT_TRUE(GetMemoBlock(m.field, m.rec.data(), &block).ok());
  EXPECT_EQ(block, 0u);
  ASSERT_TRUE(PutMemoBlock(m.field, m.rec.data(), 1234).ok());
  EXPECT_EQ(m.text(), "      1234");
  ASSERT_TRUE(GetMemoBlock(m.field, m.rec.data(), &block).ok());
  EXPECT_EQ(block, 1234u);
  m.rec[3] = 'x';
  EXPECT_EQ(GetMemoBlock(m.field, m.rec.data(), &block).subcode(), 1012);
  std::memcpy(m.rec.data() + 1, "9999999999", 10);  // beyond 32 bits
  EXPECT_EQ(GetMemoBlock(m.field, m.rec.data(), &block).subcode(), 1012);
  OneField m4('M', 4);
  ASSERT_TRUE(PutMemoBlock(m4.field, m4.rec.data(), 0x01020304).ok());
  EXPECT_EQ(m4.rec[1], 0x04);
  ASSERT_TRUE(GetMemoBlock(m4.field, m4.rec.data(), &block).ok());
  EXPECT_EQ(block, 0x01020304u);
}

TEST(DbfCodecTest, BlankRecordFillsByType) {
  std::vector<Field> fs;
  for (auto [letter, len] : std::vector<std::pair<char, int>>{
           {'C', 2}, {'N', 3}, {'D', 8}, {'D', 4}, {'I', 4}, {'B', 8}, {'M', 10}, {'M', 4}, {'L', 1}}) {
    Field f;
    ASSERT_TRUE(FieldFromSpec({"X", std::string(1, letter), len, 0, 0}, false, &f).ok());
    fs.push_back(f);
  }
  LayOutFields(&fs);
  std::vector<uint8_t> rec(1 + 2 + 3 + 8 + 4 + 4 + 8 + 10 + 4 + 1, 0xEE);
  BlankRecord(fs, rec.data(), rec.size());
  std::string expect = std::string(1 + 2 + 3 + 8, ' ') + std::string(4 + 4 + 8, '\0') +
                       std::string(10, ' ') + std::string(4, '\0') + " ";
  EXPECT_EQ(std::string(rec.begin(), rec.end()), expect);
}

TEST(DbfCodecTest, VariableFieldsUseTheNullFlags) {
  std::vector<Field> fs(3);
  ASSERT_TRUE(FieldFromSpec({"NAME", "V", 10, 0, kFieldNullable}, true, &fs[0]).ok());
  ASSERT_TRUE(FieldFromSpec({"QTY", "N", 4, 0, kFieldNullable}, true, &fs[1]).ok());
  fs[2].name = "_NullFlags", fs[2].letter = '0', fs[2].type = FieldType::kNullFlags, fs[2].length = 1;
  EXPECT_EQ(LayOutFields(&fs), 3);
  EXPECT_EQ(fs[0].length_bit, 0);
  EXPECT_EQ(fs[0].null_bit, 1);
  EXPECT_EQ(fs[1].null_bit, 2);
  std::vector<uint8_t> rec(1 + 10 + 4 + 1);
  BlankRecord(fs, rec.data(), rec.size());
  ASSERT_TRUE(PutText(fs[0], rec.data(), "abc", &fs[2]).ok());
  EXPECT_EQ(rec[10], 3);
  EXPECT_EQ(rec[15], 0x01);
  EXPECT_EQ(GetText(fs[0], rec.data(), &fs[2]), "abc");
  SetNull(fs[1], rec.data(), &fs[2], true);
  EXPECT_TRUE(IsNull(fs[1], rec.data(), &fs[2]));
  EXPECT_FALSE(IsNull(fs[0], rec.data(), &fs[2]));
  ASSERT_TRUE(PutText(fs[0], rec.data(), "0123456789xyz", &fs[2]).ok());
  EXPECT_EQ(GetText(fs[0], rec.data(), &fs[2]), "0123456789");
}

TEST(DbfCodecTest, TypeLettersByCode) {
  std::string letters;
  for (int code = 1; code <= 21; ++code) letters += TypeLetter(FieldType(code));
  EXPECT_EQ(letters, "CLDNFIBT@=^+YZQMVPWGT");
  EXPECT_EQ(TypeLetter(FieldType(0)), 'U');
  Field f;
  EXPECT_EQ(FieldFromSpec({"X", "K", 1, 0, 0}, false, &f).kind(), StatusKind::kBadArgument);
  EXPECT_EQ(FieldFromSpec({"X", "N", 256, 0, 0}, false, &f).kind(), StatusKind::kBadArgument);
  EXPECT_EQ(FieldFromSpec({"  ", "C", 1, 0, 0}, false, &f).kind(), StatusKind::kBadArgument);
  ASSERT_TRUE(FieldFromSpec({" \tname", "character", 5, -3, 0}, false, &f).ok());
  EXPECT_EQ(f.name, "NAME");
  EXPECT_EQ(f.decimals, 0);
  ASSERT_TRUE(FieldFromSpec({"V", "V", 5, 0, 0}, false, &f).ok());
  EXPECT_EQ(f.length, 6);  // 1, 2 and 5 become 6
  ASSERT_TRUE(FieldFromSpec({"Y", "Y", 5, 0, 0}, false, &f).ok());
  EXPECT_EQ(f.length, 8);
  EXPECT_EQ(f.decimals, 4);
}

}  // namespace
}  // namespace pv::dbf

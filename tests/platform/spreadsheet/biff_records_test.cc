// Byte-level checks of the compound-document container and of BIFF8 records.
#include <gtest/gtest.h>

#include <string>

#include "model/workbook.h"
#include "xls/biff_records.h"
#include "xls/cfb_format.h"
#include "xls/le_coding.h"
#include "xls/xls_writer.h"

using namespace sheet;

namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// Finds the first record `id` in a BIFF stream; returns its data.
std::string FindRecord(const std::string& stream, std::uint16_t id, std::size_t from = 0) {
  for (std::size_t at = from; at + 4 <= stream.size();) {
    std::uint16_t rid = DecodeU16(stream, at), len = DecodeU16(stream, at + 2);
    if (rid == id) return stream.substr(at + 4, len);
    at += 4 + len;
  }
  return "";
}

}  // namespace

TEST(CompoundFile, WorkedExampleOfAFiveThousandByteStream) {
  std::string stream(5000, '\x5A');
  std::string file = WrapInCompoundFile(stream);
  ASSERT_EQ(file.size(), 13u * 512);
  EXPECT_EQ(Hex(file.substr(0, 0x50)),
            "D0 CF 11 E0 A1 B1 1A E1 00 00 00 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 3E 00 03 00 FE FF 09 00 "
            "06 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00 "
            "01 00 00 00 00 00 00 00 00 10 00 00 FE FF FF FF "
            "00 00 00 00 FE FF FF FF 00 00 00 00 00 00 00 00");
  EXPECT_EQ(DecodeU32(file, 0x50), kCfbFreeSect);   // DIFAT[1]
  EXPECT_EQ(DecodeU32(file, 0x1FC), kCfbFreeSect);  // DIFAT[108]
  // FAT in sector 0.
  std::size_t fat = 512;
  EXPECT_EQ(DecodeU32(file, fat + 0), kCfbFatSect);
  EXPECT_EQ(DecodeU32(file, fat + 4), kCfbEndOfChain);
  EXPECT_EQ(DecodeU32(file, fat + 8), 3u);
  EXPECT_EQ(DecodeU32(file, fat + 40), 11u);
  EXPECT_EQ(DecodeU32(file, fat + 44), kCfbEndOfChain);
  EXPECT_EQ(DecodeU32(file, fat + 48), kCfbFreeSect);
  // Directory in sector 1.
  std::size_t dir = 1024;
  EXPECT_EQ(Hex(file.substr(dir, 22)), "52 00 6F 00 6F 00 74 00 20 00 45 00 6E 00 74 00 72 00 79 00 00 00");
  EXPECT_EQ(DecodeU16(file, dir + 0x40), 22);
  EXPECT_EQ(file[dir + 0x42], 5);
  EXPECT_EQ(DecodeU32(file, dir + 0x4C), 1u);
  EXPECT_EQ(DecodeU32(file, dir + 0x74), kCfbEndOfChain);
  std::size_t wb = dir + 128;
  EXPECT_EQ(Hex(file.substr(wb, 18)), "57 00 6F 00 72 00 6B 00 62 00 6F 00 6F 00 6B 00 00 00");
  EXPECT_EQ(DecodeU16(file, wb + 0x40), 18);
  EXPECT_EQ(file[wb + 0x42], 2);
  EXPECT_EQ(DecodeU32(file, wb + 0x74), 2u);
  EXPECT_EQ(DecodeU32(file, wb + 0x78), 5000u);
  std::size_t unused = dir + 256;
  EXPECT_EQ(DecodeU32(file, unused + 0x44), kCfbNoStream);
  EXPECT_EQ(DecodeU32(file, unused + 0x4C), kCfbNoStream);
  EXPECT_EQ(DecodeU16(file, unused + 0x40), 0);
  // The stream starts in sector 2; the last sector is padded with zeros.
  EXPECT_EQ(file.substr(3 * 512, 5000), stream);
  EXPECT_EQ(file.back(), '\0');
}

TEST(CompoundFile, SmallStreamsArePaddedAndLargeOnesGetMoreFatSectors) {
  std::string small = WrapInCompoundFile("abc");
  EXPECT_EQ(small.size(), (3 + 8) * 512u);
  EXPECT_EQ(DecodeU32(small, 1024 + 128 + 0x78), 4096u);
  std::string big = WrapInCompoundFile(std::string(200 * 512, 'x'));  // 200 stream sectors
  EXPECT_EQ(DecodeU32(big, 0x2C), 2u);                               // two FAT sectors
  EXPECT_EQ(DecodeU32(big, 0x4C), 0u);
  EXPECT_EQ(DecodeU32(big, 0x50), 1u);
  EXPECT_EQ(DecodeU32(big, 0x30), 2u);  // directory after the FAT
  // 110 FAT sectors need a DIFAT sector.
  std::string huge = WrapInCompoundFile(std::string(std::size_t(109) * 128 * 512, 'y'));
  EXPECT_EQ(DecodeU32(huge, 0x48), 1u);
  std::uint32_t fatSectors = DecodeU32(huge, 0x2C);
  EXPECT_GT(fatSectors, 109u);
  EXPECT_EQ(DecodeU32(huge, 0x44), fatSectors);
  std::size_t difat = (std::size_t(fatSectors) + 1) * 512;
  EXPECT_EQ(DecodeU32(huge, difat), 109u);
  EXPECT_EQ(DecodeU32(huge, difat + 508), kCfbEndOfChain);
}

TEST(BiffRecords, BofRkAndStrings) {
  EXPECT_EQ(Hex(BofRecord(0x0010)), "09 08 10 00 00 06 10 00 BB 0D CC 07 01 00 00 00 06 00 00 00");
  std::uint32_t rk = 0;
  ASSERT_TRUE(EncodeRk(1.0, &rk));
  EXPECT_EQ(rk, 0x00000006u);  // integer 1
  ASSERT_TRUE(EncodeRk(0.01, &rk));
  EXPECT_EQ(rk, 0x00000007u);  // 1 / 100
  ASSERT_TRUE(EncodeRk(1234321, &rk));
  EXPECT_EQ(rk, 0x004B5646u);
  ASSERT_TRUE(EncodeRk(0.5, &rk));
  EXPECT_EQ(rk, 0x3FE00000u);  // top bits of the double
  EXPECT_FALSE(EncodeRk(0.123456789, &rk));
  EXPECT_FALSE(EncodeRk(1e12 + 0.5, &rk));
  std::string s;
  PutBiffString(s, u"\u00E4b", 2);
  EXPECT_EQ(Hex(s), "02 00 00 E4 62");
  s.clear();
  PutBiffString(s, u"\u20AC", 1);
  EXPECT_EQ(Hex(s), "01 01 AC 20");
}

TEST(BiffRecords, SstSplitsIntoContinueWithAFlagsByte) {
  // 8216 bytes of data after the 8-byte counts fill the first record exactly with one string
  // of 8213 characters (header 3 bytes); the next string starts a CONTINUE.
  std::u16string first(8213, u'a');
  std::vector<std::u16string_view> strings = {first, u"xy"};
  std::string sst = SstRecords(strings, 2);
  EXPECT_EQ(DecodeU16(sst, 0), kSst);
  EXPECT_EQ(DecodeU16(sst, 2), 8224);
  std::size_t next = 4 + 8224;
  EXPECT_EQ(DecodeU16(sst, next), kContinue);
  EXPECT_EQ(Hex(sst.substr(next + 4)), "02 00 00 78 79");
  // A long 16-bit string is continued with a flags byte of its own.
  std::u16string wide(5000, u'\u20AC');
  sst = SstRecords({wide}, 1);
  next = 4 + DecodeU16(sst, 2);
  // 8 + 3 + 8212 bytes (4106 characters): the last free byte cannot hold half a character.
  EXPECT_EQ(DecodeU16(sst, 2), 8223);
  ASSERT_EQ(DecodeU16(sst, next), kContinue);
  EXPECT_EQ(sst[next + 4], '\x01');
  EXPECT_EQ(DecodeU16(sst, next + 2), 1 + (5000 - 4106) * 2);
}

TEST(BiffRecords, WorkbookStreamHoldsOffsetsMergesAndPanes) {
  Workbook book;
  auto ws = book.AddSheet(0, u"First");
  book.AddSheet(1, u"Second");
  ws->SetText(0, 0, u"Title");
  ws->SetNumber(1, 1, 2.5);
  ws->Merge({0, 0, 0, 3});
  ws->frozenRows = 2;
  ws->activeRow = 2;
  ws->selection = {2, 0, 2, 0};
  std::string stream = WorkbookStream(book);
  // BOUNDSHEET offsets point at the sheets' BOF records.
  std::size_t at = 0;
  int sheetsSeen = 0;
  while (at + 4 <= stream.size()) {
    std::uint16_t id = DecodeU16(stream, at), len = DecodeU16(stream, at + 2);
    if (id == kBoundsheet) {
      std::uint32_t offset = DecodeU32(stream, at + 4);
      EXPECT_EQ(DecodeU16(stream, offset), kBof);
      EXPECT_EQ(DecodeU16(stream, offset + 6), 0x0010);
      ++sheetsSeen;
    }
    at += 4 + len;
  }
  EXPECT_EQ(sheetsSeen, 2);
  EXPECT_EQ(at, stream.size());
  EXPECT_EQ(Hex(FindRecord(stream, kMergedCells)), "01 00 00 00 00 00 00 00 03 00");
  EXPECT_EQ(Hex(FindRecord(stream, kPane)), "00 00 02 00 02 00 00 00 02 00");
  EXPECT_EQ(DecodeU16(FindRecord(stream, kWindow2), 0), 0x07BE);  // active sheet, frozen
  EXPECT_EQ(Hex(FindRecord(stream, kSelection)), "02 02 00 00 00 00 00 01 00 02 00 02 00 00 00");
  EXPECT_EQ(Hex(FindRecord(stream, kDimensions)), "00 00 00 00 02 00 00 00 00 00 02 00 00 00");
  // The text cell refers to SST entry 0 with the default cell XF 15.
  EXPECT_EQ(Hex(FindRecord(stream, kLabelSst)), "00 00 00 00 0F 00 00 00 00 00");
  EXPECT_EQ(Hex(FindRecord(stream, kSst)), "01 00 00 00 01 00 00 00 05 00 00 54 69 74 6C 65");
}

TEST(BiffRecords, CustomColoursGoIntoThePalette) {
  Workbook book;
  auto ws = book.AddSheet(0, u"S");
  ws->SetText(0, 0, u"x");
  std::int32_t custom = 0x123456;  // not in the default palette
  ws->EditStyle({0, 0, 0, 0}, [&](CellStyle& s, int, int) {
    s.filled = true;
    s.fillColor = custom;
    s.font.color = 255;  // red: default entry 10
  });
  std::string stream = WorkbookStream(book);
  std::string palette = FindRecord(stream, kPalette);
  ASSERT_EQ(palette.size(), 2u + 56 * 4);
  // The last entry (index 63) holds the custom colour as R, G, B, 0.
  EXPECT_EQ(Hex(palette.substr(2 + 55 * 4, 4)), "56 34 12 00");
  // The cell XF (index 16) uses it as a solid fill.
  std::size_t at = 0;
  int xfs = 0;
  std::string xf;
  while (at + 4 <= stream.size()) {
    std::uint16_t id = DecodeU16(stream, at), len = DecodeU16(stream, at + 2);
    if (id == kXf && xfs++ == 16) xf = stream.substr(at + 4, len);
    at += 4 + len;
  }
  ASSERT_EQ(xf.size(), 20u);
  EXPECT_EQ(DecodeU32(xf, 14) >> 26, 1u);
  EXPECT_EQ(DecodeU16(xf, 18) & 0x7F, 63);
  EXPECT_EQ(DecodeU16(xf, 18) >> 7, 0x41);
  std::string font = FindRecord(stream, kFont, 0);
  EXPECT_EQ(DecodeU16(font, 4), 0x7FFF);  // default fonts are automatic
}

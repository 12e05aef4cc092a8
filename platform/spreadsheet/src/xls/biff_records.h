// BIFF8 records written into the Workbook stream. Every record is
//   id (2 bytes) · data length n (2 bytes, ≤ 8224) · n data bytes,
// all integers little-endian; offsets below are within the data. Rows and columns 0-based.
//
// Workbook globals, in this order:
//   BOF        0x0809  16  0 vers 0x0600 · 2 dt (0x0005 globals, 0x0010 sheet) · 4 build 0x0DBB
//                          · 6 year 0x07CC · 8 history flags 0x00000001 · 12 lowest version 6
//   CODEPAGE   0x0042   2  1200 (UTF-16)
//   WINDOW1    0x003D  18  0 x 0x0168 · 2 y 0x010E · 4 width 0x3A5C · 6 height 0x23BE
//                          · 8 flags 0x0038 · 10 active sheet · 12 first tab 0 · 14 selected 1
//                          · 16 tab ratio 600
//   DATEMODE   0x0022   2  0 (1900 dates)          PRECISION 0x000E  2  1
//   FONT       0x0031      0 height (twips) · 2 flags (0x02 italic, 0x08 strike-out, 0x01 bold)
//                          · 4 colour index (0x7FFF automatic) · 6 weight 400/700 · 8 escapement 0
//                          · 10 underline · 11 family 0 · 12 charset 0 · 13 0 · 14 name as a
//                          short string (1-byte length, flags, characters). Index 4 is skipped:
//                          the fifth record has index 5.
//   FORMAT     0x041E      0 format id (≥ 164) · 2 code as a string (2-byte length, flags, chars)
//   XF         0x00E0  20  0 font · 2 format · 4 type/protection/parent (0xFFF5 style XF,
//                          0x0001 cell XF of parent 0) · 6 alignment alc | wrap<<3 | alcV<<4
//                          · 7 rotation 0 · 8 indent 0 · 9 used-attribute flags (cell XF 0xFC)
//                          · 10 border styles left | right<<4 | top<<8 | bottom<<12, colours
//                          left<<16 | right<<23 · 14 colours top | bottom<<7, fill pattern<<26
//                          · 18 fill colours fore | back<<7
//                          XF 0–14 are style XFs, 15 the default cell XF, cell XFs follow.
//   STYLE      0x0293   4  0x8000 | XF 0 · built-in 0 (Normal) · level 0xFF
//   PALETTE    0x0092 226  0 count 56 · 56 × (R, G, B, 0)
//   BOUNDSHEET 0x0085      0 stream offset of the sheet's BOF (4) · 4 visible 0 · 5 worksheet 0
//                          · 6 name as a short string
//   SST        0x00FC      0 string references in the workbook (4) · 4 unique strings (4)
//                          · strings (2-byte length, flags, characters); continued in CONTINUE
//                          0x003C records: a string's header and first character never split,
//                          a continued string part starts with its own flags byte
//   EOF        0x000A   0
// Worksheet, in this order:
//   BOF (dt 0x0010) · DEFAULTROWHEIGHT 0x0225 (0 flags, 2 height 255) · WSBOOL 0x0081 (0x04C1)
//   DEFCOLWIDTH 0x0055 (8) · COLINFO 0x007D 12: 0 first col · 2 last col · 4 width (1/256
//                          character) · 6 XF · 8 flags (0x0002 custom width) · 10 0
//   DIMENSIONS 0x0200  14  0 first row (4) · 4 last row + 1 (4) · 8 first col · 10 last col + 1 · 12 0
//   per block of 32 rows: ROW records, then the block's cells
//   ROW        0x0208  16  0 row · 2 first col · 4 last col + 1 · 6 height (twips) · 8 0 · 10 0
//                          · 12 flags (4): 0x100 always, 0x40 custom height, 0x80 row format
//                          with its XF in bits 16–27
//   LABELSST   0x00FD  10  0 row · 2 col · 4 XF · 6 SST index (4)
//   NUMBER     0x0203  14  0 row · 2 col · 4 XF · 6 IEEE double
//   RK         0x027E  10  0 row · 2 col · 4 XF · 6 RK value (integer << 2 | 2, or the top 30 bits
//                          of a double)
//   BOOLERR    0x0205   8  0 row · 2 col · 4 XF · 6 value · 7 0 (boolean)
//   BLANK      0x0201   6  0 row · 2 col · 4 XF (a formatted empty cell)
//   WINDOW2    0x023E  18  0 flags (0x00B6; +0x0600 active sheet; +0x0108 frozen) · 2 top row
//                          · 4 left col · 6 grid colour 0x40 · 8…17 0
//   PANE       0x0041  10  0 frozen columns · 2 frozen rows · 4 first row below · 6 first col
//                          right · 8 active pane (0 both, 1 right, 2 bottom) · 9 0
//   SELECTION  0x001D      0 pane · 1 active row · 3 active col · 5 0 · 7 count 1
//                          · 9 first row · 11 last row · 13 first col (1 byte) · 14 last col (1)
//   MERGEDCELLS 0x00E5     0 count (≤ 1026) · count × (first row, last row, first col, last col)
//   EOF
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sheet {

enum BiffId : std::uint16_t {
  kBof = 0x0809, kEof = 0x000A, kCodepage = 0x0042, kWindow1 = 0x003D, kDatemode = 0x0022,
  kPrecision = 0x000E, kFont = 0x0031, kFormat = 0x041E, kXf = 0x00E0, kStyle = 0x0293,
  kPalette = 0x0092, kBoundsheet = 0x0085, kSst = 0x00FC, kContinue = 0x003C,
  kDefaultRowHeight = 0x0225, kWsbool = 0x0081, kDefColWidth = 0x0055, kColinfo = 0x007D,
  kDimensions = 0x0200, kRow = 0x0208, kLabelSst = 0x00FD, kNumber = 0x0203, kRk = 0x027E,
  kBoolErr = 0x0205, kBlank = 0x0201, kWindow2 = 0x023E, kPane = 0x0041, kSelection = 0x001D,
  kMergedCells = 0x00E5,
};

constexpr std::size_t kMaxRecordData = 8224;

// Appends one record (REQUIRES: data.size() <= kMaxRecordData).
void PutRecord(std::string& out, std::uint16_t id, std::string_view data);
// A string: compressed (one byte per character) when every unit is ≤ 0xFF, else UTF-16LE.
// lengthBytes is 1 for short strings (FONT, BOUNDSHEET), 2 otherwise.
void PutBiffString(std::string& out, std::u16string_view s, int lengthBytes);
bool FitsCompressed(std::u16string_view s);

std::string BofRecord(std::uint16_t type);
// The RK encoding of v, or false when v needs a NUMBER record.
bool EncodeRk(double v, std::uint32_t* rk);
// SST with CONTINUE records for the given strings; `references` counts LABELSST records.
std::string SstRecords(const std::vector<std::u16string_view>& strings, std::uint32_t references);

}  // namespace sheet

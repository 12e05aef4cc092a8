// Fonts, number formats, palette and XF records of the BIFF8 writer.
#include "xls_formats.h"

#include <cmath>
#include <set>

#include "biff_records.h"
#include "le_coding.h"

namespace sheet {
namespace {

// Built-in number formats that need no FORMAT record.
const std::map<std::u16string, std::uint16_t>& BuiltinFormats() {
  static const std::map<std::u16string, std::uint16_t> formats = {
      {u"General", 0}, {u"0", 1}, {u"0.00", 2}, {u"#,##0", 3}, {u"#,##0.00", 4}, {u"0%", 9},
      {u"0.00%", 10}, {u"0.00E+00", 11}, {u"@", 49}};
  return formats;
}

void ForEachStyleUse(const Workbook& book, const std::function<void(std::uint32_t)>& use) {
  for (const auto& ws : book.sheets) {
    use(ws->DefaultStyle());
    for (const auto& [c, col] : ws->Columns())
      if (col.style >= 0) use(std::uint32_t(col.style));
    for (const auto& row : ws->Rows()) {
      if (row.style >= 0) use(std::uint32_t(row.style));
      for (const auto& cell : row.cells) use(cell.style);
    }
  }
}

std::string FontRecord(const Font& f, std::uint16_t color) {
  std::string d;
  PutU16(d, std::uint16_t(std::lround(f.size * 20)));
  PutU16(d, std::uint16_t((f.bold ? 0x01 : 0) | (f.italic ? 0x02 : 0) | (f.underline ? 0x04 : 0) |
                          (f.strike ? 0x08 : 0)));
  PutU16(d, color);
  PutU16(d, f.bold ? 700 : 400);
  PutU16(d, 0);
  PutU8(d, f.underline);
  PutU8(d, 0);
  PutU8(d, 0);
  PutU8(d, 0);
  PutBiffString(d, f.name, 1);
  std::string out;
  PutRecord(out, kFont, d);
  return out;
}

// One of the sixteen XFs every file starts with.
std::string StandardXf(std::uint16_t font, std::uint16_t type, std::uint8_t used) {
  std::string d;
  PutU16(d, font);
  PutU16(d, 0);
  PutU16(d, type);
  PutU8(d, 0x20);
  PutU8(d, 0);
  PutU8(d, 0);
  PutU8(d, used);
  PutU32(d, 0);
  PutU32(d, 0);
  PutU16(d, 0x20C0);
  std::string out;
  PutRecord(out, kXf, d);
  return out;
}

}  // namespace

XlsFormats::XlsFormats(const Workbook& book) : book_(book) {
  xfOfStyle_[0] = kDefaultCellXf;
  ForEachStyleUse(book, [this](std::uint32_t id) { Use(id); });
  std::set<std::int32_t> colors;
  for (std::uint32_t id : styles_) {
    const CellStyle& s = book.styles.Get(id);
    if (s.font.color != kAutoColor) colors.insert(s.font.color);
    if (s.filled) colors.insert(s.fillColor == kAutoColor ? 0xFFFFFF : s.fillColor);
    for (const auto& b : s.border)
      if (b.style && b.color != kAutoColor) colors.insert(b.color);
  }
  paletteOwner_ = std::make_unique<PaletteMap>(colors);
  palette_ = paletteOwner_.get();
}

void XlsFormats::Use(std::uint32_t id) {
  if (xfOfStyle_.count(id)) return;
  xfOfStyle_[id] = std::uint16_t(16 + styles_.size());
  styles_.push_back(id);
  const CellStyle& s = book_.styles.Get(id);
  bool known = s.font == Font();
  for (const auto& f : fonts_) known = known || f == s.font;
  if (!known) fonts_.push_back(s.font);
  if (!BuiltinFormats().count(s.numberFormat) && !userFormats_.count(s.numberFormat))
    userFormats_.emplace(s.numberFormat, std::uint16_t(164 + userFormats_.size()));
}

std::uint16_t XlsFormats::FontIndex(const Font& f) const {
  if (f == Font()) return 0;
  for (std::size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i] == f) return std::uint16_t(i + 5);  // index 4 does not exist
  return 0;
}

std::uint16_t XlsFormats::FormatId(const std::u16string& code) const {
  auto b = BuiltinFormats().find(code);
  if (b != BuiltinFormats().end()) return b->second;
  return userFormats_.at(code);
}

std::uint16_t XlsFormats::BorderColor(const BorderLine& b) const {
  if (!b.style) return 0;
  return b.color == kAutoColor ? 0x40 : palette_->Index(b.color);
}

std::string XlsFormats::XfRecord(const CellStyle& s) const {
  std::string d;
  PutU16(d, FontIndex(s.font));
  PutU16(d, FormatId(s.numberFormat));
  PutU16(d, 0x0001);  // cell XF, locked, parent style 0
  PutU8(d, std::uint8_t(int(s.halign) | (s.wrap ? 0x08 : 0) | int(s.valign) << 4));
  PutU8(d, 0);
  PutU8(d, 0);
  PutU8(d, 0xFC);
  const BorderLine* b = s.border;
  PutU32(d, std::uint32_t(b[kLeft].style) | std::uint32_t(b[kRight].style) << 4 |
                std::uint32_t(b[kTop].style) << 8 | std::uint32_t(b[kBottom].style) << 12 |
                std::uint32_t(BorderColor(b[kLeft])) << 16 | std::uint32_t(BorderColor(b[kRight])) << 23);
  PutU32(d, std::uint32_t(BorderColor(b[kTop])) | std::uint32_t(BorderColor(b[kBottom])) << 7 |
                std::uint32_t(s.filled ? 1 : 0) << 26);
  std::uint16_t fore = s.filled ? palette_->Index(s.fillColor == kAutoColor ? 0xFFFFFF : s.fillColor) : 0x40;
  PutU16(d, std::uint16_t(fore | 0x41 << 7));
  std::string out;
  PutRecord(out, kXf, d);
  return out;
}

std::string XlsFormats::Records() const {
  std::string out;
  auto fontColor = [this](const Font& f) {
    return f.color == kAutoColor ? std::uint16_t(0x7FFF) : palette_->Index(f.color);
  };
  for (int i = 0; i < 4; ++i) out += FontRecord(Font(), 0x7FFF);
  for (const auto& f : fonts_) out += FontRecord(f, fontColor(f));
  for (const auto& [code, id] : userFormats_) {
    std::string d;
    PutU16(d, id);
    PutBiffString(d, code, 2);
    PutRecord(out, kFormat, d);
  }
  out += StandardXf(0, 0xFFF5, 0x00);
  for (int i = 1; i <= 14; ++i) out += StandardXf(i <= 2 ? 1 : i <= 4 ? 2 : 0, 0xFFF5, 0xF4);
  out += StandardXf(0, 0x0001, 0x00);
  for (std::uint32_t id : styles_) out += XfRecord(book_.styles.Get(id));
  std::string style;
  PutU16(style, 0x8000);
  PutU8(style, 0);
  PutU8(style, 0xFF);
  PutRecord(out, kStyle, style);
  if (palette_->Changed()) {
    std::string d;
    PutU16(d, 56);
    for (int i = 0; i < 56; ++i) {
      std::int32_t c = palette_->Entry(i);
      PutU8(d, std::uint8_t(c & 0xFF));
      PutU8(d, std::uint8_t((c >> 8) & 0xFF));
      PutU8(d, std::uint8_t((c >> 16) & 0xFF));
      PutU8(d, 0);
    }
    PutRecord(out, kPalette, d);
  }
  return out;
}

}  // namespace sheet

// The formats of a workbook as BIFF8 numbers them: fonts, number formats, palette entries and
// cell XFs, gathered from every style the sheets use.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/workbook.h"
#include "palette_map.h"

namespace sheet {

constexpr std::size_t kMaxCellXfs = 4000;  // distinct cell formats Excel 97–2003 accepts
constexpr std::size_t kMaxFonts = 506;     // FONT records besides the four defaults
constexpr int kDefaultCellXf = 15;

class XlsFormats {
 public:
  explicit XlsFormats(const Workbook& book);
  // XF index of a style id (REQUIRES: the style is used by the workbook).
  std::uint16_t Xf(std::uint32_t styleId) const { return xfOfStyle_.at(styleId); }
  std::size_t CellXfCount() const { return styles_.size(); }
  std::size_t FontCount() const { return fonts_.size(); }
  // FONT, FORMAT, XF, STYLE and (when needed) PALETTE records, in that order.
  std::string Records() const;

 private:
  void Use(std::uint32_t styleId);
  std::uint16_t FontIndex(const Font& f) const;
  std::uint16_t FormatId(const std::u16string& code) const;
  std::uint16_t BorderColor(const BorderLine& b) const;
  std::string XfRecord(const CellStyle& s) const;

  const Workbook& book_;
  std::vector<std::uint32_t> styles_;                  // used style ids, in XF order
  std::map<std::uint32_t, std::uint16_t> xfOfStyle_;
  std::vector<Font> fonts_;                            // user fonts (index 5 on)
  std::map<std::u16string, std::uint16_t> userFormats_;
  PaletteMap* palette_ = nullptr;
  std::unique_ptr<PaletteMap> paletteOwner_;
};

}  // namespace sheet

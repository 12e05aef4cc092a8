// Cell formatting as the workbook keeps it (fonts, fill, alignment, borders, number format),
// and the table that gives each distinct format a small id shared by cells, rows and columns.
//
// Colours are Automation colour numbers: red + 256·green + 65536·blue; kAutoColor is
// "automatic" (window text for fonts and borders).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace sheet {

constexpr std::int32_t kAutoColor = -1;

// Horizontal alignment (values are the BIFF8 XF alc codes).
enum class HAlign : std::uint8_t { General, Left, Center, Right, Fill, Justify, CenterAcross, Distributed };
// Vertical alignment (values are the BIFF8 XF alcV codes).
enum class VAlign : std::uint8_t { Top, Center, Bottom, Justify, Distributed };

struct Font {
  std::u16string name = u"Arial";
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool strike = false;
  std::uint8_t underline = 0;  // BIFF8 uls: 0 none, 1 single, 2 double, 0x21/0x22 accounting
  std::int32_t color = kAutoColor;
  friend bool operator==(const Font&, const Font&) = default;
};

// Border line styles are the BIFF8 codes (0 none, 1 thin, 2 medium, 3 dashed, 4 dotted,
// 5 thick, 6 double, 7 hair, 8 medium dashed, 9 dash-dot, 10 medium dash-dot,
// 11 dash-dot-dot, 12 medium dash-dot-dot, 13 slanted dash-dot), which Open XML shares.
struct BorderLine {
  std::uint8_t style = 0;
  std::int32_t color = kAutoColor;
  friend bool operator==(const BorderLine&, const BorderLine&) = default;
};

enum Edge { kLeft, kRight, kTop, kBottom, kEdgeCount };

struct CellStyle {
  Font font;
  HAlign halign = HAlign::General;
  VAlign valign = VAlign::Bottom;
  bool wrap = false;
  BorderLine border[kEdgeCount];
  bool filled = false;  // solid fill in fillColor
  std::int32_t fillColor = kAutoColor;
  std::u16string numberFormat = u"General";
  friend bool operator==(const CellStyle&, const CellStyle&) = default;
};

struct CellStyleHash {
  std::size_t operator()(const CellStyle& s) const;
};

// Names an edit that sets one property to one value, whatever the cell: property 0 names none.
struct StyleEditKey {
  std::uint32_t property = 0;
  std::int64_t value = 0;
};

// Interns styles. Id 0 is the default style. Styles never change once interned, so what a
// named edit made of a style is remembered and given again without building the style.
class StyleTable {
 public:
  StyleTable();
  std::uint32_t Intern(const CellStyle& style);
  const CellStyle& Get(std::uint32_t id) const { return styles_[id]; }
  std::size_t Size() const { return styles_.size(); }
  // The style the edit named by `key` made of style `id`, or -1 when it has not been made.
  std::int64_t EditedBefore(std::uint32_t id, const StyleEditKey& key) const;
  void RememberEdit(std::uint32_t id, const StyleEditKey& key, std::uint32_t result);

 private:
  struct EditOf {
    std::uint32_t id, property;
    std::int64_t value;
    friend bool operator==(const EditOf&, const EditOf&) = default;
  };
  struct EditOfHash {
    std::size_t operator()(const EditOf& e) const;
  };
  std::vector<CellStyle> styles_;
  std::unordered_map<CellStyle, std::uint32_t, CellStyleHash> ids_;
  std::unordered_map<EditOf, std::uint32_t, EditOfHash> edits_;
};

// Automation border constants <-> BIFF8 line style codes.
// LineStyle: xlContinuous 1, xlDash -4115, xlDot -4118, xlDouble -4119, xlDashDot 4,
// xlDashDotDot 5, xlSlantDashDot 13, xlLineStyleNone -4142. Weight: xlHairline 1, xlThin 2,
// xlMedium -4138, xlThick 4. Returns -1 for values that are not constants of their kind.
int BorderCode(int lineStyle, int weight);
int BorderLineStyle(int code);  // the xlLineStyle of a code
int BorderWeight(int code);     // the xlBorderWeight of a code
bool IsLineStyle(int lineStyle);
bool IsWeight(int weight);

// The 56 colours of the default palette (Automation ColorIndex 1 … 56), as colour numbers.
std::int32_t PaletteColor(int colorIndex);
// The ColorIndex of the nearest palette colour.
int NearestColorIndex(std::int32_t color);

}  // namespace sheet

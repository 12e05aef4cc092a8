// Style interning, border code mapping and the default palette.
#include "style.h"

#include <climits>
#include <functional>

namespace sheet {
namespace {

void Mix(std::size_t& h, std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); }

// RRGGBB of ColorIndex 1 … 56.
constexpr std::uint32_t kPaletteRgb[56] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

// (lineStyle, weight) -> code for continuous and patterned lines.
struct BorderMap {
  int lineStyle, weight, code;
};
constexpr BorderMap kBorders[] = {
    {1, 1, 7},  {1, 2, 1},  {1, -4138, 2}, {1, 4, 5},   {-4115, 2, 3}, {-4115, -4138, 8},
    {-4118, 2, 4}, {-4119, 2, 6}, {4, 2, 9}, {4, -4138, 10}, {5, 2, 11}, {5, -4138, 12},
    {13, -4138, 13}};

}  // namespace

std::size_t CellStyleHash::operator()(const CellStyle& s) const {
  std::size_t h = std::hash<std::u16string>()(s.font.name);
  Mix(h, std::hash<double>()(s.font.size));
  Mix(h, s.font.bold | s.font.italic << 1 | s.font.strike << 2 | s.font.underline << 3);
  Mix(h, std::size_t(s.font.color));
  Mix(h, std::size_t(s.halign) | std::size_t(s.valign) << 4 | std::size_t(s.wrap) << 8);
  for (const auto& b : s.border) Mix(h, b.style | (std::size_t(std::uint32_t(b.color)) << 8));
  Mix(h, s.filled | (std::size_t(std::uint32_t(s.fillColor)) << 1));
  Mix(h, std::hash<std::u16string>()(s.numberFormat));
  return h;
}

StyleTable::StyleTable() { Intern(CellStyle()); }

std::uint32_t StyleTable::Intern(const CellStyle& style) {
  // Looked up first: emplace would build (and drop) a node for a style already known.
  if (auto it = ids_.find(style); it != ids_.end()) return it->second;
  auto id = std::uint32_t(styles_.size());
  ids_.emplace(style, id);
  styles_.push_back(style);
  return id;
}

std::size_t StyleTable::EditOfHash::operator()(const EditOf& e) const {
  std::size_t h = e.id;
  Mix(h, e.property);
  Mix(h, std::size_t(e.value));
  return h;
}

std::int64_t StyleTable::EditedBefore(std::uint32_t id, const StyleEditKey& key) const {
  auto it = edits_.find(EditOf{id, key.property, key.value});
  return it == edits_.end() ? -1 : std::int64_t(it->second);
}

void StyleTable::RememberEdit(std::uint32_t id, const StyleEditKey& key, std::uint32_t result) {
  edits_.emplace(EditOf{id, key.property, key.value}, result);
}

int BorderCode(int lineStyle, int weight) {
  if (lineStyle == -4142) return 0;
  for (const auto& b : kBorders)
    if (b.lineStyle == lineStyle && b.weight == weight) return b.code;
  // A style without its own variant at this weight keeps its thin or medium form.
  for (const auto& b : kBorders)
    if (b.lineStyle == lineStyle && (weight == 4 || weight == -4138) && b.weight == -4138) return b.code;
  for (const auto& b : kBorders)
    if (b.lineStyle == lineStyle && b.weight == 2) return b.code;
  return -1;
}

int BorderLineStyle(int code) {
  for (const auto& b : kBorders)
    if (b.code == code) return b.lineStyle;
  return -4142;
}

int BorderWeight(int code) {
  for (const auto& b : kBorders)
    if (b.code == code) return b.weight;
  return 2;
}

bool IsLineStyle(int s) {
  return s == 1 || s == -4115 || s == -4118 || s == -4119 || s == 4 || s == 5 || s == 13 ||
         s == -4142;
}
bool IsWeight(int w) { return w == 1 || w == 2 || w == -4138 || w == 4; }

std::int32_t PaletteColor(int colorIndex) {
  std::uint32_t rgb = kPaletteRgb[colorIndex - 1];
  return std::int32_t((rgb >> 16) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

int NearestColorIndex(std::int32_t color) {
  int best = 1;
  long bestDistance = LONG_MAX;
  for (int i = 1; i <= 56; ++i) {
    std::int32_t p = PaletteColor(i);
    long dr = (p & 0xFF) - (color & 0xFF), dg = ((p >> 8) & 0xFF) - ((color >> 8) & 0xFF),
         db = ((p >> 16) & 0xFF) - ((color >> 16) & 0xFF);
    long d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

}  // namespace sheet

// Palette mapping for the BIFF8 writer.
#include "palette_map.h"

#include <climits>

#include "model/style.h"

namespace sheet {
namespace {

long Distance(std::int32_t a, std::int32_t b) {
  long dr = (a & 0xFF) - (b & 0xFF), dg = ((a >> 8) & 0xFF) - ((b >> 8) & 0xFF),
       db = ((a >> 16) & 0xFF) - ((b >> 16) & 0xFF);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

PaletteMap::PaletteMap(const std::set<std::int32_t>& colors) {
  for (int i = 0; i < 56; ++i) entries_[i] = PaletteColor(i + 1);
  std::array<bool, 56> needed{};
  std::set<std::int32_t> missing;
  for (std::int32_t c : colors) {
    int found = -1;
    for (int i = 0; i < 56 && found < 0; ++i)
      if (entries_[i] == c) found = i;
    if (found >= 0) {
      needed[found] = true;
      index_[c] = std::uint16_t(8 + found);
    } else {
      missing.insert(c);
    }
  }
  int slot = 55;
  for (std::int32_t c : missing) {
    while (slot >= 0 && needed[slot]) --slot;
    if (slot < 0) break;
    entries_[slot] = c;
    needed[slot] = true;
    index_[c] = std::uint16_t(8 + slot);
    changed_ = true;
  }
  for (std::int32_t c : missing) {
    if (index_.count(c)) continue;
    int best = 0;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < 56; ++i)
      if (Distance(entries_[i], c) < bestDistance) {
        bestDistance = Distance(entries_[i], c);
        best = i;
      }
    index_[c] = std::uint16_t(8 + best);
  }
}

std::uint16_t PaletteMap::Index(std::int32_t color) const {
  auto it = index_.find(color);
  return it == index_.end() ? 8 : it->second;
}

}  // namespace sheet

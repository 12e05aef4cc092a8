// Maps the workbook's RGB colours into the 56-entry BIFF8 palette: colours of the default
// palette keep their entry; other colours take over entries no used colour needs (from the
// end of the palette); when more distinct colours than free entries exist, the rest use the
// nearest entry.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <unordered_map>

namespace sheet {

class PaletteMap {
 public:
  // colors: Automation colour numbers (R + 256·G + 65536·B) the workbook uses.
  explicit PaletteMap(const std::set<std::int32_t>& colors);
  // BIFF colour index 8 … 63 of a colour from the set.
  std::uint16_t Index(std::int32_t color) const;
  bool Changed() const { return changed_; }
  // Entry i (0 … 55) as a colour number.
  std::int32_t Entry(int i) const { return entries_[i]; }

 private:
  std::array<std::int32_t, 56> entries_;
  std::unordered_map<std::int32_t, std::uint16_t> index_;
  bool changed_ = false;
};

}  // namespace sheet

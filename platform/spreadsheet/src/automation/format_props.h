// Reading and writing one formatting property over a range: a put edits every format the
// range covers; a get answers the common value, or Null when the cells differ.
#pragma once

#include <functional>

#include "objects.h"

namespace sheet {

// Compared and returned by ReturnCommon.
struct PropValue {
  enum Kind { kLong, kDouble, kBool, kText } kind;
  long l = 0;
  double d = 0;
  bool b = false;
  std::u16string t;
  friend bool operator==(const PropValue&, const PropValue&) = default;
  static PropValue Long(long v) { return {kLong, v, 0, false, {}}; }
  static PropValue Double(double v) { return {kDouble, 0, v, false, {}}; }
  static PropValue Bool(bool v) { return {kBool, 0, 0, v, {}}; }
  static PropValue Text(std::u16string v) { return {kText, 0, 0, false, std::move(v)}; }
};

// Returns read(style at each position) when all agree (all positions of a small range, the
// first cell of a very large one), else Null.
void ReturnCommon(com::Call& call, const RangeRef& ref,
                  const std::function<PropValue(const CellStyle&, int r, int c)>& read);

// Edits the formats of the range and marks nothing else; `key` names an edit that sets one
// property to one value (see StyleEditKey).
void EditRange(const RangeRef& ref, const StyleEdit& edit, StyleEditKey key = {});

// Properties named in StyleEditKey (0 names none).
enum StyleProperty : std::uint32_t { kNoProperty, kFontSizeProperty, kFontBoldProperty, kFontColorProperty };

// Colour arguments: a colour number 0 … 16777215, or a ColorIndex 1 … 56.
std::int32_t ColorArg(const com::Call& call);
// ColorIndex put: 1 … 56 give the palette colour, xlAutomatic/xlNone give kAutoColor;
// returns false for other values.
bool ColorIndexArg(long index, std::int32_t* color);

}  // namespace sheet

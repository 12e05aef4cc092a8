// Common-value reads and range-wide format edits.
#include "format_props.h"

namespace sheet {
namespace {

constexpr long long kMaxCompared = 100000;
constexpr long long kMaxFormattedCells = 4'000'000;

void Return(com::Call& call, const PropValue& v) {
  switch (v.kind) {
    case PropValue::kLong: call.ReturnLong(v.l); break;
    case PropValue::kDouble: call.ReturnDouble(v.d); break;
    case PropValue::kBool: call.ReturnBool(v.b); break;
    case PropValue::kText: call.ReturnText(v.t); break;
  }
}

}  // namespace

void ReturnCommon(com::Call& call, const RangeRef& ref,
                  const std::function<PropValue(const CellStyle&, int, int)>& read) {
  ref.Check();
  const CellRect& rect = ref.rect;
  const Worksheet& ws = *ref.sheet;
  PropValue first = read(ws.Styles().Get(ws.StyleAt(rect.r1, rect.c1)), rect.r1, rect.c1);
  if (rect.Count() <= kMaxCompared) {
    for (int r = rect.r1; r <= rect.r2; ++r)
      for (int c = rect.c1; c <= rect.c2; ++c)
        if (!(read(ws.Styles().Get(ws.StyleAt(r, c)), r, c) == first)) return call.ReturnNull();
  }
  Return(call, first);
}

void EditRange(const RangeRef& ref, const StyleEdit& edit, StyleEditKey key) {
  ref.Check();
  const CellRect& r = ref.rect;
  // Whole rows and columns are formatted as rows and columns; other areas cell by cell.
  if (!r.WholeColumns() && !r.WholeRows() && r.Count() > kMaxFormattedCells)
    Fail(u"The range is too large to format cell by cell (at most 4,000,000 cells)");
  ref.sheet->EditStyle(ref.rect, edit, key);
}

std::int32_t ColorArg(const com::Call& call) {
  double v = call.PutValueDouble();
  if (v < 0 || v > 16777215 || v != static_cast<long>(v))
    Fail(u"A colour is a number from 0 to 16777215 (red + 256 * green + 65536 * blue)");
  return std::int32_t(v);
}

bool ColorIndexArg(long index, std::int32_t* color) {
  if (index == -4105 || index == -4142) {
    *color = kAutoColor;
    return true;
  }
  if (index < 1 || index > 56) return false;
  *color = PaletteColor(int(index));
  return true;
}

}  // namespace sheet

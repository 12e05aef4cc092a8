// XBRWCOLLINES and XBRWROWLINE: the grid's column dividers over a band of rows and one row
// divider across the shown columns, each in one call. The columns come as the grid's aColLefts:
// the left x of every shown column and, last, where a next one would start.
#include <algorithm>

#include "gui_natives.h"
#include "registrar.h"
#include "vm/array.h"

namespace {

using pv::gui::parHandle;

constexpr int kRaised = 6;  // divider style: a white line with a black line beside it
constexpr int kInset = 5;   // divider style: a black line with a white line beside it

// Draws lines with the pens given, selecting a pen only when it changes, and puts back the
// context's pen at the end.
class Lines {
 public:
  explicit Lines(HDC dc) : dc_(dc) {}
  ~Lines() {
    if (original_) SelectObject(dc_, original_);
  }
  void draw(int x1, int y1, int x2, int y2, HPEN pen) {
    if (pen != current_) {
      HGDIOBJ old = SelectObject(dc_, pen);
      if (!original_) original_ = old;
      current_ = pen;
    }
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
  }

 private:
  HDC dc_;
  HPEN current_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

int leftAt(PV_ITEM lefts, PV_SIZE n) { return pv_arrayGetNI(lefts, n); }

// XBRWCOLLINES( hDC, aColLefts, nTop, nBottom, nStyle, hColPen, hWhitePen ): at every column
// boundary x (the second left edge on), the raised style draws white at x - 2 and the column pen
// at x - 1; the others the column pen at x - 2, and the inset style white at x - 1.
void PV_FUN_XBRWCOLLINES() {
  PV_ITEM lefts = pv_param(2, PV_IT_ARRAY);
  if (!lefts) return pv_ret();
  Lines lines(parHandle<HDC>(1));
  int top = pv_parni(3), bottom = pv_parni(4), style = pv_parni(5);
  HPEN column = parHandle<HPEN>(6), white = parHandle<HPEN>(7);
  for (PV_SIZE n = 2; n <= pv_arrayLen(lefts); ++n) {
    int x = leftAt(lefts, n);
    lines.draw(x - 2, top, x - 2, bottom, style == kRaised ? white : column);
    if (style == kRaised || style == kInset) lines.draw(x - 1, top, x - 1, bottom, style == kRaised ? column : white);
  }
  pv_ret();
}

// XBRWROWLINE( hDC, aColLefts, nLast, nY, nStyle, nInset, nWideRight, hRowPen, hWhitePen
// [, hShadowPen] ): the divider at y under the first nLast columns, each from its left x (less
// nInset after the first) to the next one's left x - 2, the last at least to nWideRight; the
// raised style draws white at y and the row pen at y - 1, the others the row pen at y, and the
// inset style white at y - 1. With hShadowPen the record selector gets its divider too: that pen
// at y and white at y + 1, from x 2 to 21.
void PV_FUN_XBRWROWLINE() {
  PV_ITEM lefts = pv_param(2, PV_IT_ARRAY);
  if (!lefts) return pv_ret();
  Lines lines(parHandle<HDC>(1));
  PV_SIZE last = std::min<PV_SIZE>(pv_parnl(3), pv_arrayLen(lefts) - 1);
  int y = pv_parni(4), style = pv_parni(5), inset = pv_parni(6), wideRight = pv_parni(7);
  HPEN row = parHandle<HPEN>(8), white = parHandle<HPEN>(9), shadow = parHandle<HPEN>(10);
  if (shadow) {
    lines.draw(2, y, 22, y, shadow);
    lines.draw(2, y + 1, 22, y + 1, white);
  }
  for (PV_SIZE n = 1; n <= last; ++n) {
    int left = leftAt(lefts, n) - (n > 1 ? inset : 0), right = leftAt(lefts, n + 1) - 2;
    if (n == last) right = std::max(right, wideRight);
    lines.draw(left, y, right, y, style == kRaised ? white : row);
    if (style == kRaised || style == kInset) lines.draw(left, y - 1, right, y - 1, style == kRaised ? row : white);
  }
  pv_ret();
}

PvSymbol s_symbols[] = {
    pv_native("XBRWCOLLINES", PV_FUN_XBRWCOLLINES),
    pv_native("XBRWROWLINE", PV_FUN_XBRWROWLINE),
};
PvModuleRegistrar s_module("gui/xbrowse_lines", s_symbols);

}  // namespace

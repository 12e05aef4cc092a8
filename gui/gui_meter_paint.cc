// METERPAINT draws a progress bar: the filled part from the left in the bar colour with the
// caption in the bar-text colour, a border, and the rest in the pane colour with the caption in
// the text colour, so the caption changes colour where the bar ends. METERTEXT gives the caption.
#include <string>

#include "gui_natives.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

// cText, a blank when cText is not empty, then with lPercentage four characters: "100%", or a
// blank, the tens digit (a blank below 10), the units digit and "%" ("  7%", " 45%").
std::string meterCaption(const std::string& text, int percent, bool withPercentage) {
  std::string caption = text.empty() ? "" : text + " ";
  if (!withPercentage) return caption;
  if (percent >= 100) return caption + "100%";
  caption += ' ';
  caption += percent >= 10 ? static_cast<char>('0' + percent / 10) : ' ';
  caption += static_cast<char>('0' + percent % 10);
  return caption + "%";
}

int percentOf(double value, double total) {
  if (total == 0) return 0;
  double p = value * 100.0 / total;
  return p < 0 ? 0 : p > 100 ? 100 : static_cast<int>(p);
}

std::string textParam(int n) {
  const char* p = pv_parc(n);
  return p ? std::string(p, static_cast<size_t>(pv_parclen(n))) : std::string();
}

// One part of the bar: filled with `back`, the caption centred in the whole control in `fore`.
void drawPart(HDC dc, const RECT& part, const RECT& whole, const std::string& caption, COLORREF back, COLORREF fore) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
  int x = whole.left + (whole.right - whole.left - extent.cx) / 2;
  int y = whole.top + (whole.bottom - whole.top - extent.cy) / 2;
  SetBkColor(dc, back);
  SetTextColor(dc, fore);
  ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &part, caption.c_str(), static_cast<UINT>(caption.size()), nullptr);
}

// METERPAINT( hWnd, hDC, nValue, nTotal, nPercent, cText, lPercentage, nClrPane, nClrText,
//             nClrBar, nClrBText, hFont )
void PV_FUN_METERPAINT() {
  HWND h = parHandle<HWND>(1);
  HDC dc = parHandle<HDC>(2);
  double total = pv_parnd(4);
  if (total == 0 || !dc) return pv_retl(false);
  int percent = percentOf(pv_parnd(3), total);
  std::string caption = meterCaption(textParam(6), percent, pv_parl(7));
  RECT whole{};
  GetClientRect(h, &whole);
  RECT inner{whole.left + 1, whole.top + 1, whole.right - 1, whole.bottom - 1};
  HGDIOBJ oldFont = pv_ispar(12, PV_IT_NUMERIC) && pv_parnll(12) ? SelectObject(dc, parHandle<HGDIOBJ>(12)) : nullptr;
  RECT filled = inner;
  filled.right = inner.left + percent * (inner.right - inner.left) / 100;
  drawPart(dc, filled, whole, caption, static_cast<COLORREF>(pv_parnll(10)), static_cast<COLORREF>(pv_parnll(11)));
  if (percent < 100) {
    RECT rest = inner;
    rest.left = filled.right;
    drawPart(dc, rest, whole, caption, static_cast<COLORREF>(pv_parnll(8)), static_cast<COLORREF>(pv_parnll(9)));
  }
  HBRUSH frame = CreateSolidBrush(RGB(0, 0, 0));
  FrameRect(dc, &whole, frame);
  DeleteObject(frame);
  if (oldFont) SelectObject(dc, oldFont);
  pv_retl(true);
}

// METERTEXT( cText, nValue, nTotal, lPercentage ) -> the caption METERPAINT shows.
void PV_FUN_METERTEXT() {
  pv_retc(meterCaption(textParam(1), percentOf(pv_parnd(2), pv_parnd(3)), !pv_ispar(4, PV_IT_LOGICAL) || pv_parl(4)).c_str());
}

PvSymbol s_symbols[] = {
    pv_native("METERPAINT", PV_FUN_METERPAINT),
    pv_native("METERTEXT", PV_FUN_METERTEXT),
};
PvModuleRegistrar s_module("gui/meter_paint", s_symbols);

}  // namespace

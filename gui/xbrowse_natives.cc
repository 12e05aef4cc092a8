// Language functions behind the browse grid's painting: the off-screen buffer (GXDISPBEGIN,
// GXDISPEND), GRADIENT, DRAWTEXTEX, XBRWSCROLL, FRAMEDOT, WNDBOX, WNDBOXRAISED, GXRARROW,
// XBRWARROW, PALBMPDRAW, and the cell-level drawing the grid repeats per cell and line
// (XBRWFILL, XBRWFRAME, XBRWLINE, XBRWTEXT, XBRWTEXTSIZE; the data cells are XBRWCELLS).
// Handles are numbers; rectangles are arrays { top, left, bottom, right }.
#include <string_view>

#include "gui_natives.h"
#include "registrar.h"
#include "vm/array.h"
#include "xbrowse_paint.h"

namespace {

using namespace pv::gui;

// A rectangle given as an array { top, left, bottom, right } in parameter n.
RECT parRect(int n) {
  RECT r{};
  if (PV_ITEM a = pv_param(n, PV_IT_ARRAY)) {
    r.top = pv_arrayGetNI(a, 1);
    r.left = pv_arrayGetNI(a, 2);
    r.bottom = pv_arrayGetNI(a, 3);
    r.right = pv_arrayGetNI(a, 4);
  }
  return r;
}

// A rectangle given as four numbers top, left, bottom, right from parameter n on.
RECT parEdges(int n) { return RECT{pv_parni(n + 1), pv_parni(n), pv_parni(n + 3), pv_parni(n + 2)}; }

std::string_view parText(int n) { return {pv_parc(n) ? pv_parc(n) : "", static_cast<size_t>(pv_parclen(n))}; }

void returnNumbers(std::initializer_list<long long> values) {
  PV_ITEM r = pv_stackReturnItem();
  pv_arrayNew(r, values.size());
  PV_SIZE i = 1;
  for (long long v : values) pv_itemPutNLL(pv_arrayGetItemPtr(r, i++), v);
}

// GXDISPBEGIN( hWnd, hDC ) -> { hWnd, hDC, hMemDC, hBitmap, hPreviousBitmap }
void PV_FUN_GXDISPBEGIN() {
  OffscreenBuffer b = beginOffscreen(parHandle<HWND>(1), parHandle<HDC>(2));
  returnNumbers({handleNumber(b.window), handleNumber(b.target), handleNumber(b.memory),
                 handleNumber(b.bitmap), handleNumber(b.previous)});
}

// GXDISPEND( aInfo ): copies the buffer to the window and frees it.
void PV_FUN_GXDISPEND() {
  PV_ITEM a = pv_param(1, PV_IT_ARRAY);
  if (!a || pv_arrayLen(a) < 5) return pv_ret();
  auto h = [a](PV_SIZE i) { return reinterpret_cast<void*>(static_cast<uintptr_t>(pv_arrayGetNL(a, i))); };
  endOffscreen(OffscreenBuffer{static_cast<HWND>(h(1)), static_cast<HDC>(h(2)), static_cast<HDC>(h(3)),
                               static_cast<HBITMAP>(h(4)), h(5)});
  pv_ret();
}

// GRADIENT( hDC, aRect, nClrFrom, nClrTo, lVertical )
void PV_FUN_GRADIENT() {
  paintGradient(parHandle<HDC>(1), parRect(2), COLORREF(pv_parnll(3)), COLORREF(pv_parnll(4)), pv_parl(5));
  pv_ret();
}

// DRAWTEXTEX( hDC, cText, aRect, nFormat = DT_SINGLELINE | DT_NOCLIP ) -> text height
void PV_FUN_DRAWTEXTEX() {
  UINT format = pv_param(4, PV_IT_NUMERIC) ? UINT(pv_parnl(4)) : UINT(DT_SINGLELINE | DT_NOCLIP);
  pv_retni(drawTextCopy(parHandle<HDC>(1), parText(2), parRect(3), format));
}

// XBRWSCROLL( hWnd, nDirection, nRowHeight, nHeaderHeight, nFooterHeight [, nRight] ): nRight
// limits the scroll to the part of the rows left of it.
void PV_FUN_XBRWSCROLL() {
  scrollDataRows(parHandle<HWND>(1), pv_parni(2), pv_parni(3), pv_parni(4), pv_parni(5), pv_parni(6));
  pv_ret();
}

// FRAMEDOT / WNDBOX / WNDBOXRAISED( hDC, nTop, nLeft, nBottom, nRight )
void PV_FUN_FRAMEDOT() { frameDotted(parHandle<HDC>(1), parEdges(2)), pv_ret(); }
void PV_FUN_WNDBOX() { frameInset(parHandle<HDC>(1), parEdges(2)), pv_ret(); }
void PV_FUN_WNDBOXRAISED() { frameRaised(parHandle<HDC>(1), parEdges(2)), pv_ret(); }
// XBRWFRAME( hDC, nTop, nLeft, nBottom, nRight, nColor ): a solid one-pixel frame
void PV_FUN_XBRWFRAME() { frameSolid(parHandle<HDC>(1), parEdges(2), COLORREF(pv_parnll(6))), pv_ret(); }

// GXRARROW() -> the record-selector arrow bitmap
void PV_FUN_GXRARROW() { retHandle(makeRecordArrow()); }

// XBRWARROW( hDC, nRow, nCol ): the record-selector arrow of GXRARROW drawn transparently,
// without reading the bitmap's pixels
void PV_FUN_XBRWARROW() { drawRecordArrow(parHandle<HDC>(1), pv_parni(3), pv_parni(2)), pv_ret(); }

// PALBMPDRAW( hDC, nRow, nCol, hBitmap, lTransparent )
void PV_FUN_PALBMPDRAW() {
  drawBitmap(parHandle<HDC>(1), parHandle<HBITMAP>(4), pv_parni(3), pv_parni(2), pv_parl(5));
  pv_ret();
}

// XBRWFILL( hDC, nTop, nLeft, nBottom, nRight, nColor ): a solid brush made for the fill
void PV_FUN_XBRWFILL() { fillSolid(parHandle<HDC>(1), parEdges(2), COLORREF(pv_parnll(6))), pv_ret(); }

// XBRWLINE( hDC, nX1, nY1, nX2, nY2, hPen ): a line without its last point
void PV_FUN_XBRWLINE() {
  HDC dc = parHandle<HDC>(1);
  HGDIOBJ old = SelectObject(dc, parHandle<HPEN>(6));
  MoveToEx(dc, pv_parni(2), pv_parni(3), nullptr);
  LineTo(dc, pv_parni(4), pv_parni(5));
  if (old) SelectObject(dc, old);
  pv_ret();
}

// XBRWTEXT( hDC, cText, aRect, hFont, nClrText, nClrBack | NIL, nFormat ): the text in the font
// and colours, on its background colour or transparently when that is NIL.
void PV_FUN_XBRWTEXT() {
  COLORREF back = COLORREF(pv_parnll(6));
  drawStyledText(parHandle<HDC>(1), parText(2), parRect(3), parHandle<HFONT>(4), COLORREF(pv_parnll(5)),
                 pv_param(6, PV_IT_NUMERIC) ? &back : nullptr, UINT(pv_parnl(7)));
  pv_ret();
}

// XBRWTEXTSIZE( hWnd, hFont, cText ) -> { nWidth, nHeight } of the text in the font
void PV_FUN_XBRWTEXTSIZE() {
  HWND window = parHandle<HWND>(1);
  HDC dc = GetDC(window);
  HGDIOBJ old = pv_parnl(2) ? SelectObject(dc, parHandle<HFONT>(2)) : nullptr;
  std::string_view text = parText(3);
  SIZE size{};
  TEXTMETRICA metrics{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  GetTextMetricsA(dc, &metrics);
  if (old) SelectObject(dc, old);
  ReleaseDC(window, dc);
  returnNumbers({size.cx, metrics.tmHeight});
}

PvSymbol s_symbols[] = {
    pv_native("GXDISPBEGIN", PV_FUN_GXDISPBEGIN),
    pv_native("GXDISPEND", PV_FUN_GXDISPEND),
    pv_native("GRADIENT", PV_FUN_GRADIENT),
    pv_native("DRAWTEXTEX", PV_FUN_DRAWTEXTEX),
    pv_native("XBRWSCROLL", PV_FUN_XBRWSCROLL),
    pv_native("FRAMEDOT", PV_FUN_FRAMEDOT),
    pv_native("WNDBOX", PV_FUN_WNDBOX),
    pv_native("WNDBOXRAISED", PV_FUN_WNDBOXRAISED),
    pv_native("GXRARROW", PV_FUN_GXRARROW),
    pv_native("PALBMPDRAW", PV_FUN_PALBMPDRAW),
    pv_native("XBRWARROW", PV_FUN_XBRWARROW),
    pv_native("XBRWFILL", PV_FUN_XBRWFILL),
    pv_native("XBRWFRAME", PV_FUN_XBRWFRAME),
    pv_native("XBRWLINE", PV_FUN_XBRWLINE),
    pv_native("XBRWTEXT", PV_FUN_XBRWTEXT),
    pv_native("XBRWTEXTSIZE", PV_FUN_XBRWTEXTSIZE),
};
PvModuleRegistrar s_module("gui/xbrowse", s_symbols);

}  // namespace

// Drawing natives over the Win32 layer: colours, brushes, fonts, device contexts and painting.
// Painting keeps each window's PAINTSTRUCT here between BEGINPAINT and ENDPAINT.
#include <map>
#include <string>

#include "gui_natives.h"
#include "vm/array.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

HDC dcParam(int n) { return parHandle<HDC>(n); }

std::map<HWND, PAINTSTRUCT>& paintStructs() {
  static std::map<HWND, PAINTSTRUCT> open;
  return open;
}

// A rectangle argument { nTop, nLeft, nBottom, nRight }.
bool rectParam(int n, RECT& r) {
  PV_ITEM a = pv_param(n, PV_IT_ARRAY);
  if (!a || pv_arrayLen(a) < 4) return false;
  r = RECT{pv_arrayGetNI(a, 2), pv_arrayGetNI(a, 1), pv_arrayGetNI(a, 4), pv_arrayGetNI(a, 3)};
  return true;
}

void PV_FUN_GETSYSCOLOR() { pv_retnll(GetSysColor(pv_parni(1))); }
void PV_FUN_CREATESOLIDBRUSH() { retHandle(CreateSolidBrush(static_cast<COLORREF>(pv_parnll(1)))); }
void PV_FUN_DELETEOBJECT() { pv_retl(DeleteObject(parHandle<HGDIOBJ>(1)) != FALSE); }
void PV_FUN_GETSTOCKOBJECT() { retHandle(GetStockObject(pv_parni(1))); }
void PV_FUN_SELECTOBJECT() { retHandle(SelectObject(dcParam(1), parHandle<HGDIOBJ>(2))); }
void PV_FUN_SETTEXTCOLOR() { pv_retnll(SetTextColor(dcParam(1), static_cast<COLORREF>(pv_parnll(2)))); }
void PV_FUN_SETBKCOLOR() { pv_retnll(SetBkColor(dcParam(1), static_cast<COLORREF>(pv_parnll(2)))); }
void PV_FUN_GETTEXTCOLOR() { pv_retnll(GetTextColor(dcParam(1))); }
void PV_FUN_GETBKCOLOR() { pv_retnll(GetBkColor(dcParam(1))); }
void PV_FUN_SETBKMODE() { pv_retni(SetBkMode(dcParam(1), pv_parni(2))); }
void PV_FUN_GETDC() { retHandle(GetDC(parHandle<HWND>(1))); }
void PV_FUN_RELEASEDC() { pv_retni(ReleaseDC(parHandle<HWND>(1), dcParam(2))); }

// The face name of the system's dialog font.
void PV_FUN_GETSYSFONT() { pv_retc("MS Sans Serif"); }

// CREATEFONT( nHeight, nWidth, nEscapement, nOrientation, nWeight, lItalic, lUnderline,
//             lStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchFamily, cFace )
void PV_FUN_CREATEFONT() {
  const char* face = pv_parc(14);
  retHandle(CreateFontA(pv_parni(1), pv_parni(2), pv_parni(3), pv_parni(4), pv_parni(5), pv_parl(6), pv_parl(7),
                        pv_parl(8), static_cast<DWORD>(pv_parni(9)), static_cast<DWORD>(pv_parni(10)),
                        static_cast<DWORD>(pv_parni(11)), static_cast<DWORD>(pv_parni(12)),
                        static_cast<DWORD>(pv_parni(13)), face ? face : ""));
}

// FILLRECT( hDC, aRect, hBrush )
void PV_FUN_FILLRECT() {
  RECT r;
  if (!rectParam(2, r)) return pv_retl(false);
  pv_retl(FillRect(dcParam(1), &r, parHandle<HBRUSH>(3)) != 0);
}

// BEGINPAINT( hWnd ) -> the paint device context (0 for a dead window).
void PV_FUN_BEGINPAINT() {
  HWND h = parHandle<HWND>(1);
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(h, &ps);
  if (dc) paintStructs()[h] = ps;
  retHandle(dc);
}

// ENDPAINT( hWnd ) -> .T. when a BEGINPAINT of that window was open.
void PV_FUN_ENDPAINT() {
  HWND h = parHandle<HWND>(1);
  auto it = paintStructs().find(h);
  if (it == paintStructs().end()) return pv_retl(false);
  EndPaint(h, &it->second);
  paintStructs().erase(it);
  pv_retl(true);
}

PvSymbol s_symbols[] = {
    pv_native("GETSYSCOLOR", PV_FUN_GETSYSCOLOR),
    pv_native("CREATESOLIDBRUSH", PV_FUN_CREATESOLIDBRUSH),
    pv_native("DELETEOBJECT", PV_FUN_DELETEOBJECT),
    pv_native("GETSTOCKOBJECT", PV_FUN_GETSTOCKOBJECT),
    pv_native("SELECTOBJECT", PV_FUN_SELECTOBJECT),
    pv_native("SETTEXTCOLOR", PV_FUN_SETTEXTCOLOR),
    pv_native("SETBKCOLOR", PV_FUN_SETBKCOLOR),
    pv_native("GETTEXTCOLOR", PV_FUN_GETTEXTCOLOR),
    pv_native("GETBKCOLOR", PV_FUN_GETBKCOLOR),
    pv_native("SETBKMODE", PV_FUN_SETBKMODE),
    pv_native("GETDC", PV_FUN_GETDC),
    pv_native("RELEASEDC", PV_FUN_RELEASEDC),
    pv_native("GETSYSFONT", PV_FUN_GETSYSFONT),
    pv_native("CREATEFONT", PV_FUN_CREATEFONT),
    pv_native("FILLRECT", PV_FUN_FILLRECT),
    pv_native("BEGINPAINT", PV_FUN_BEGINPAINT),
    pv_native("ENDPAINT", PV_FUN_ENDPAINT),
};
PvModuleRegistrar s_module("gui/winapi_gdi", s_symbols);

}  // namespace

// Win32 functions the browse grid calls beyond the library's other natives: pens, system
// metrics, mouse capture, key state, the scroll bars of a window and its enabled state.
#include "gui_natives.h"
#include "registrar.h"
#include "vm/array.h"

namespace {

using pv::gui::parHandle;
using pv::gui::retHandle;

// CREATEPEN( nStyle, nWidth, nColor ) -> hPen
void PV_FUN_CREATEPEN() { retHandle(CreatePen(pv_parni(1), pv_parni(2), COLORREF(pv_parnll(3)))); }

void PV_FUN_GETSYSMETRICS() { pv_retni(GetSystemMetrics(pv_parni(1))); }

void PV_FUN_SETCAPTURE() { retHandle(SetCapture(parHandle<HWND>(1))); }
void PV_FUN_RELEASECAPTURE() { pv_retl(ReleaseCapture() != FALSE); }
void PV_FUN_GETCAPTURE() { retHandle(GetCapture()); }

// GETKEYSTATE( nVirtualKey ) -> negative while the key is down
void PV_FUN_GETKEYSTATE() { pv_retni(GetKeyState(pv_parni(1))); }

// SETSCROLLRANGE( hWnd, nBar, nMin, nMax, lRedraw )
void PV_FUN_SETSCROLLRANGE() {
  pv_retl(SetScrollRange(parHandle<HWND>(1), pv_parni(2), pv_parni(3), pv_parni(4), pv_parl(5)) != FALSE);
}

// SETSCROLLPOS( hWnd, nBar, nPos, lRedraw ) -> the previous position
void PV_FUN_SETSCROLLPOS() { pv_retni(SetScrollPos(parHandle<HWND>(1), pv_parni(2), pv_parni(3), pv_parl(4))); }

void PV_FUN_GETSCROLLPOS() { pv_retni(GetScrollPos(parHandle<HWND>(1), pv_parni(2))); }

// GETSCROLLRANGE( hWnd, nBar ) -> { nMin, nMax }
void PV_FUN_GETSCROLLRANGE() {
  int low = 0, high = 0;
  GetScrollRange(parHandle<HWND>(1), pv_parni(2), &low, &high);
  pv_reta(2);
  pv_arraySetNI(pv_stackReturnItem(), 1, low);
  pv_arraySetNI(pv_stackReturnItem(), 2, high);
}

void PV_FUN_ISWINDOWENABLED() { pv_retl(IsWindowEnabled(parHandle<HWND>(1)) != FALSE); }

PvSymbol s_symbols[] = {
    pv_native("CREATEPEN", PV_FUN_CREATEPEN),
    pv_native("GETSYSMETRICS", PV_FUN_GETSYSMETRICS),
    pv_native("SETCAPTURE", PV_FUN_SETCAPTURE),
    pv_native("RELEASECAPTURE", PV_FUN_RELEASECAPTURE),
    pv_native("GETCAPTURE", PV_FUN_GETCAPTURE),
    pv_native("GETKEYSTATE", PV_FUN_GETKEYSTATE),
    pv_native("SETSCROLLRANGE", PV_FUN_SETSCROLLRANGE),
    pv_native("SETSCROLLPOS", PV_FUN_SETSCROLLPOS),
    pv_native("GETSCROLLPOS", PV_FUN_GETSCROLLPOS),
    pv_native("GETSCROLLRANGE", PV_FUN_GETSCROLLRANGE),
    pv_native("ISWINDOWENABLED", PV_FUN_ISWINDOWENABLED),
};
PvModuleRegistrar s_module("gui/xbrowse_winapi", s_symbols);

}  // namespace

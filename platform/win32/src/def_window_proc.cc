// The default handling of messages a window procedure passes on.
#include <algorithm>
#include <cstring>

#include "gdi_state.h"
#include "state.h"
#include "win32/gdi.h"
#include "win32/user.h"

using namespace pv::win32;

static LRESULT ctlColor(UINT message, HDC hdc) {
  bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
  int face = window ? COLOR_WINDOW : message == WM_CTLCOLORSCROLLBAR ? COLOR_SCROLLBAR : COLOR_BTNFACE;
  SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(hdc, GetSysColor(face));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
}

static LRESULT hitTest(Window* w, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT wr;
  GetWindowRect(w->hwnd(), &wr);
  if (!PtInRect(&wr, p)) return HTNOWHERE;
  POINT c = p;
  ScreenToClient(w->hwnd(), &c);
  RECT client;
  GetClientRect(w->hwnd(), &client);
  if (PtInRect(&client, c)) return HTCLIENT;
  int bar = scrollBarHit(w, POINT{p.x - wr.left, p.y - wr.top});
  if (bar == SB_VERT) return HTVSCROLL;
  if (bar == SB_HORZ) return HTHSCROLL;
  return HTBORDER;
}

LRESULT DefWindowProcA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH b = w->cls->background;
      if (!b) return 0;
      RECT r;
      GetClientRect(h, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, b);
      return 1;
    }
    case WM_SETTEXT: {
      auto text = reinterpret_cast<const char*>(lParam);
      w->text = text ? text : "";
      if (w->surface >= 0) backend().setSurfaceTitle(w->surface, w->text);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(h); return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) sendMessage(h, WM_CLOSE, 0, 0);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ctlColor(message, reinterpret_cast<HDC>(wParam));
    case WM_NCHITTEST: return hitTest(w, lParam);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTVSCROLL || wParam == HTHSCROLL) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(h, &p);
        trackScrollBar(w, wParam == HTVSCROLL ? SB_VERT : SB_HORZ, p);
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && w->cls->cursor) {
        SetCursor(w->cls->cursor);
        return TRUE;
      }
      return w->parent ? sendMessage(w->parent, WM_SETCURSOR, wParam, lParam) : FALSE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        HWND f = w->lastFocus && IsChild(h, w->lastFocus) ? w->lastFocus : h;
        SetFocus(f);
      }
      return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_MOUSEWHEEL: return w->parent ? sendMessage(w->parent, message, wParam, lParam) : 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && !w->parent) PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    default: return 0;
  }
}

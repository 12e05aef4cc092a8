// The STATIC class: left, centred and right text (word-wrapped, '&' prefixes unless SS_NOPREFIX)
// on the brush the parent answers to WM_CTLCOLORSTATIC, and the filled and framed rectangles.
#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

struct StaticData : WindowExtra {
  HFONT font = nullptr;
};

StaticData& data(Window* w) {
  if (!w->extra) w->extra = std::make_unique<StaticData>();
  return static_cast<StaticData&>(*w->extra);
}

int rectColor(UINT type) {
  switch (type) {
    case SS_BLACKRECT: case SS_BLACKFRAME: return COLOR_3DDKSHADOW;
    case SS_GRAYRECT: case SS_GRAYFRAME: return COLOR_3DSHADOW;
    default: return COLOR_3DHIGHLIGHT;
  }
}

UINT textFormat(DWORD style) {
  UINT type = style & SS_TYPEMASK;
  UINT f = type == SS_CENTER ? DT_CENTER | DT_WORDBREAK
           : type == SS_RIGHT ? DT_RIGHT | DT_WORDBREAK
           : type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE
                                                           : DT_LEFT | DT_WORDBREAK;
  f |= DT_EXPANDTABS;
  if (style & SS_NOPREFIX) f |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) f = (f & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  return f;
}

void paint(HWND h, Window* w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  UINT type = w->style & SS_TYPEMASK;
  if (type >= SS_BLACKRECT && type <= SS_WHITERECT) {
    FillRect(dc, &r, GetSysColorBrush(rectColor(type)));
  } else if (type >= SS_BLACKFRAME && type <= SS_WHITEFRAME) {
    FrameRect(dc, &r, GetSysColorBrush(rectColor(type)));
  } else if (type == SS_ETCHEDHORZ || type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    auto b = reinterpret_cast<HBRUSH>(sendMessage(w->parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(h)));
    if ((w = window(h))) {
      if (b) FillRect(dc, &r, b);
      SelectObject(dc, data(w).font ? static_cast<HGDIOBJ>(data(w).font) : GetStockObject(SYSTEM_FONT));
      if (w->style & WS_DISABLED) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      DrawTextA(dc, w->text.c_str(), -1, &r, textFormat(w->style));
    }
  }
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK staticProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w) return 0;
  switch (message) {
    case WM_PAINT: paint(h, w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return (w->style & SS_NOTIFY) ? DefWindowProcA(h, message, wParam, lParam) : HTTRANSPARENT;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_SETFONT:
      data(w).font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data(w).font);
    case WM_SETTEXT: {
      // The same text again leaves the picture as it is, so it costs no repaint.
      auto text = reinterpret_cast<const char*>(lParam);
      bool changed = w->text != (text ? text : "");
      LRESULT r = DefWindowProcA(h, message, wParam, lParam);
      if (changed) InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (w->style & SS_NOTIFY)
        sendMessage(w->parent, WM_COMMAND,
                    MAKEWPARAM(w->id, message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK),
                    reinterpret_cast<LPARAM>(h));
      return 0;
    default: return DefWindowProcA(h, message, wParam, lParam);
  }
}

}  // namespace pv::win32

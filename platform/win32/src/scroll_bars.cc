// Window scroll bars (WS_VSCROLL, WS_HSCROLL): range, page and position, and tracking a click
// on them, which sends WM_VSCROLL/WM_HSCROLL with the SB_ codes.
#include <algorithm>

#include "state.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

ScrollBarState* barOf(HWND h, int bar) {
  Window* w = window(h);
  if (!w) return nullptr;
  if (bar == SB_VERT) return &w->vscroll;
  if (bar == SB_HORZ) return &w->hscroll;
  return nullptr;
}

int maxPos(const ScrollBarState& sb) {
  return static_cast<int>(std::max<long long>(sb.min, static_cast<long long>(sb.max) - std::max<long long>(sb.page, 1) + 1));
}

long long span(const ScrollBarState& sb) { return static_cast<long long>(sb.max) - sb.min; }

void clampPos(ScrollBarState& sb) { sb.pos = std::max(sb.min, std::min(sb.pos, std::max(sb.min, maxPos(sb)))); }

// Shows or hides the bar as its range demands (a bar without range disappears) and redraws it
// (only it: the rest of the frame is as it was).
void settle(HWND h, int bar, bool keepShown, BOOL redraw) {
  Window* w = window(h);
  ScrollBarState& sb = bar == SB_VERT ? w->vscroll : w->hscroll;
  DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  bool show = keepShown || (sb.max > sb.min && static_cast<long long>(sb.page) <= span(sb));
  if (show != ((w->style & bit) != 0)) {
    RECT old;
    GetClientRect(h, &old);
    w->style ^= bit;
    clientSizeChanged(w, old);
  } else if (redraw && isVisible(w)) {
    redrawScrollBar(w, bar);
  }
}

struct BarGeometry {
  int start, length, thumbStart, thumbLength, arrow;
};

BarGeometry geometry(Window* w, int bar) {
  RECT client;
  GetClientRect(w->hwnd(), &client);
  const ScrollBarState& sb = bar == SB_VERT ? w->vscroll : w->hscroll;
  BarGeometry g{};
  g.arrow = GetSystemMetrics(SM_CYVSCROLL);
  g.start = 0;
  g.length = bar == SB_VERT ? client.bottom : client.right;
  int track = std::max(0, g.length - 2 * g.arrow);
  long long range = span(sb) + 1;
  g.thumbLength = sb.page ? std::max<int>(8, static_cast<int>(track * static_cast<long long>(sb.page) / range)) : g.arrow;
  g.thumbLength = std::min(g.thumbLength, track);
  long long travel = std::max<long long>(1, static_cast<long long>(maxPos(sb)) - sb.min);
  g.thumbStart = g.arrow + static_cast<int>((track - g.thumbLength) * (static_cast<long long>(sb.pos) - sb.min) / travel);
  return g;
}

}  // namespace

int scrollBarHit(Window* w, POINT wp) {
  RECT in = nonClientInsets(*w);
  int width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  int frame = in.left;
  if ((w->style & WS_VSCROLL) && wp.x >= width - frame - bar && wp.x < width - frame && wp.y >= frame &&
      wp.y < height - in.bottom)
    return SB_VERT;
  if ((w->style & WS_HSCROLL) && wp.y >= height - frame - bar && wp.y < height - frame && wp.x >= frame &&
      wp.x < width - in.right)
    return SB_HORZ;
  return -1;
}

void trackScrollBar(Window* w, int bar, POINT clientPoint) {
  HWND h = w->hwnd();
  UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  BarGeometry g = geometry(w, bar);
  int t = bar == SB_VERT ? clientPoint.y : clientPoint.x;
  int code;
  if (t < g.arrow) code = SB_LINEUP;
  else if (t >= g.length - g.arrow) code = SB_LINEDOWN;
  else if (t < g.thumbStart) code = SB_PAGEUP;
  else if (t >= g.thumbStart + g.thumbLength) code = SB_PAGEDOWN;
  else code = SB_THUMBTRACK;
  bool thumb = code == SB_THUMBTRACK;
  if (!thumb) sendMessage(h, message, static_cast<WPARAM>(code), 0);
  State& s = state();
  SetCapture(h);
  s.loopDepth++;
  int grab = t - g.thumbStart, trackPos = 0;
  for (;;) {
    MSG m;
    BOOL r = GetMessageA(&m, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP) break;
    if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
      Window* cw = window(h);
      if (!thumb || !cw || m.hwnd != h) continue;
      ScrollBarState& sb = bar == SB_VERT ? cw->vscroll : cw->hscroll;
      // Moves queued before the capture was taken come as non-client moves in screen coordinates.
      POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
      if (m.message == WM_NCMOUSEMOVE) ScreenToClient(h, &p);
      int at = (bar == SB_VERT ? p.y : p.x) - grab;
      int track = std::max(1, g.length - 2 * g.arrow - g.thumbLength);
      trackPos = sb.min + static_cast<int>((std::clamp(at - g.arrow, 0, track) * (static_cast<long long>(maxPos(sb)) - sb.min) + track / 2) / track);
      sb.trackPos = trackPos;
      sendMessage(h, message, MAKEWPARAM(SB_THUMBTRACK, trackPos), 0);
      continue;
    }
    if (m.message >= WM_MOUSEMOVE && m.message <= WM_MOUSEHWHEEL) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  s.loopDepth--;
  if (GetCapture() == h) ReleaseCapture();
  if (!IsWindow(h)) return;
  if (thumb) sendMessage(h, message, MAKEWPARAM(SB_THUMBPOSITION, trackPos), 0);
  sendMessage(h, message, SB_ENDSCROLL, 0);
}

}  // namespace pv::win32

using namespace pv::win32;

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* si, BOOL redraw) {
  ScrollBarState* sb = barOf(h, bar);
  if (!sb || !si) return 0;
  if (si->fMask & SIF_RANGE) {
    sb->min = si->nMin;
    sb->max = std::max(si->nMin, si->nMax);
  }
  if (si->fMask & SIF_PAGE) sb->page = static_cast<UINT>(std::min<long long>(si->nPage, span(*sb) + 1));
  if (si->fMask & SIF_POS) sb->pos = si->nPos;
  clampPos(*sb);
  int pos = sb->pos;
  settle(h, bar, (si->fMask & SIF_DISABLENOSCROLL) != 0, redraw);
  return pos;
}

BOOL GetScrollInfo(HWND h, int bar, LPSCROLLINFO si) {
  ScrollBarState* sb = barOf(h, bar);
  if (!sb || !si) return FALSE;
  if (si->fMask & SIF_RANGE) si->nMin = sb->min, si->nMax = sb->max;
  if (si->fMask & SIF_PAGE) si->nPage = sb->page;
  if (si->fMask & SIF_POS) si->nPos = sb->pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = sb->trackPos;
  return TRUE;
}

int SetScrollPos(HWND h, int bar, int pos, BOOL redraw) {
  ScrollBarState* sb = barOf(h, bar);
  if (!sb) return 0;
  int old = sb->pos;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(h, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND h, int bar) {
  ScrollBarState* sb = barOf(h, bar);
  return sb ? sb->pos : 0;
}

BOOL SetScrollRange(HWND h, int bar, int min, int max, BOOL redraw) {
  if (!barOf(h, bar) || static_cast<long long>(max) - min > 0x7FFFFFFF) return FALSE;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, min, max, 0, 0, 0};
  SetScrollInfo(h, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND h, int bar, int* min, int* max) {
  ScrollBarState* sb = barOf(h, bar);
  if (!sb || !min || !max) return FALSE;
  *min = sb->min;
  *max = sb->max;
  return TRUE;
}

BOOL ShowScrollBar(HWND h, int bar, BOOL show) {
  Window* w = window(h);
  if (!w) return FALSE;
  DWORD bits = bar == SB_VERT ? WS_VSCROLL : bar == SB_HORZ ? WS_HSCROLL : bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : 0;
  if (!bits) return FALSE;
  RECT old;
  GetClientRect(h, &old);
  DWORD before = w->style;
  w->style = show ? (w->style | bits) : (w->style & ~bits);
  if (before != w->style) clientSizeChanged(w, old);
  return TRUE;
}

BOOL EnableScrollBar(HWND h, UINT, UINT) { return window(h) ? TRUE : FALSE; }

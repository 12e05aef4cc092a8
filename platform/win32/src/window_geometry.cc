// Window rectangles, non-client areas, showing, moving and enabling windows, coordinate mapping
// and hit testing.
#include <algorithm>

#include "state.h"
#include "win32/user.h"

namespace pv::win32 {

RECT nonClientInsets(const Window& w) {
  RECT in{0, 0, 0, 0};
  int frame = 0;
  if (!w.parent) {
    if (w.style & WS_THICKFRAME) frame = GetSystemMetrics(SM_CXFRAME);
    else if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME) || (w.style & DS_MODALFRAME))
      frame = GetSystemMetrics(SM_CXDLGFRAME);
    else if (w.style & WS_BORDER) frame = 1;
    if ((w.style & WS_CAPTION) == WS_CAPTION) in.top += GetSystemMetrics(SM_CYCAPTION);
  } else {
    if (w.style & WS_BORDER) frame += 1;
    if (w.exStyle & WS_EX_CLIENTEDGE) frame += 2;
    if (w.exStyle & WS_EX_STATICEDGE) frame += 1;
    if (w.exStyle & WS_EX_DLGMODALFRAME) frame += 3;
  }
  in.left += frame;
  in.top += frame;
  in.right += frame;
  in.bottom += frame;
  if (w.style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
  if (w.style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return in;
}

bool isVisible(Window* w) {
  for (; w; w = window(w->parent))
    if (!(w->style & WS_VISIBLE)) return false;
  return true;
}

// Window rectangle of w in its top-level window's surface pixels.
static RECT surfaceWindowRect(Window* w) {
  if (!w->parent) {
    RECT in = nonClientInsets(*w);
    return RECT{-in.left, -in.top, w->rect.right - w->rect.left - in.left, w->rect.bottom - w->rect.top - in.top};
  }
  POINT o = surfaceOrigin(window(w->parent));
  return RECT{w->rect.left + o.x, w->rect.top + o.y, w->rect.right + o.x, w->rect.bottom + o.y};
}

POINT surfaceOrigin(Window* w) {
  if (!w->parent) return POINT{0, 0};
  RECT r = surfaceWindowRect(w);
  RECT in = nonClientInsets(*w);
  return POINT{r.left + in.left, r.top + in.top};
}

RECT surfaceClip(Window* w) {
  POINT o = surfaceOrigin(w);
  RECT client;
  GetClientRect(w->hwnd(), &client);
  RECT r{o.x, o.y, o.x + client.right, o.y + client.bottom};
  for (Window* p = window(w->parent); p; p = window(p->parent)) {
    POINT po = surfaceOrigin(p);
    RECT pc;
    GetClientRect(p->hwnd(), &pc);
    RECT pr{po.x, po.y, po.x + pc.right, po.y + pc.bottom};
    IntersectRect(&r, &r, &pr);
  }
  return r;
}

void markSurfaceDirty(Window* w) {
  Window* top = topLevelOf(w);
  if (!top || top->surface < 0) return;
  auto& d = state().dirtySurfaces;
  if (std::find(d.begin(), d.end(), top->surface) == d.end()) d.push_back(top->surface);
}

void clientSizeChanged(Window* w, const RECT& oldClient) {
  RECT client;
  GetClientRect(w->hwnd(), &client);
  if (!w->parent && w->surface >= 0) {
    POINT o{0, 0};
    ClientToScreen(w->hwnd(), &o);
    backend().setSurfaceGeometry(w->surface, RECT{o.x, o.y, o.x + client.right, o.y + client.bottom});
  }
  if (client.right != oldClient.right || client.bottom != oldClient.bottom)
    sendMessage(w->hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  if (window(w->hwnd())) invalidateFrame(w);
}

}  // namespace pv::win32

using namespace pv::win32;

BOOL GetWindowRect(HWND h, LPRECT rect) {
  Window* w = window(h);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  if (w->parent) {
    POINT o{0, 0};
    ClientToScreen(w->parent, &o);
    OffsetRect(rect, o.x, o.y);
  }
  return TRUE;
}

BOOL GetClientRect(HWND h, LPRECT rect) {
  Window* w = window(h);
  if (!w || !rect) return FALSE;
  RECT in = nonClientInsets(*w);
  rect->left = rect->top = 0;
  rect->right = std::max<LONG>(0, w->rect.right - w->rect.left - in.left - in.right);
  rect->bottom = std::max<LONG>(0, w->rect.bottom - w->rect.top - in.top - in.bottom);
  return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
  if (!rect) return FALSE;
  Window probe;
  probe.style = style & ~(WS_VSCROLL | WS_HSCROLL);
  probe.exStyle = exStyle;
  probe.parent = (style & WS_CHILD) ? makeHandle<HWND>(1) : nullptr;
  RECT in = nonClientInsets(probe);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL ClientToScreen(HWND h, LPPOINT p) {
  Window* w = window(h);
  if (!w || !p) return FALSE;
  for (; w; w = window(w->parent)) {
    RECT in = nonClientInsets(*w);
    p->x += w->rect.left + in.left;
    p->y += w->rect.top + in.top;
  }
  return TRUE;
}

BOOL ScreenToClient(HWND h, LPPOINT p) {
  if (!window(h) || !p) return FALSE;
  POINT o{0, 0};
  ClientToScreen(h, &o);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  if (!points) return 0;
  POINT a{0, 0}, b{0, 0};
  if (from && !ClientToScreen(from, &a)) return 0;
  if (to && !ClientToScreen(to, &b)) return 0;
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(dx, dy);
}

BOOL ShowWindow(HWND h, int cmd) {
  Window* w = window(h);
  if (!w) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = cmd != SW_HIDE;
  if (was == show) return was;
  sendMessage(h, WM_SHOWWINDOW, show, 0);
  if (!(w = window(h))) return was;
  if (show) {
    w->style |= WS_VISIBLE;
    invalidateFrame(w);
  } else {
    w->style &= ~WS_VISIBLE;
    if (w->parent) {
      RECT r = w->rect;
      invalidateClient(window(w->parent), &r, true);
    }
    if (state().focus && (state().focus == h || IsChild(h, state().focus))) {
      HWND next = w->parent;
      if (next) SetFocus(next); else state().focus = nullptr;
    }
  }
  if (!w->parent && w->surface >= 0) {
    backend().showSurface(w->surface, show);
    if (show && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINNOACTIVE &&
        !(w->style & WS_DISABLED))
      SetActiveWindow(h);
    if (!show && state().active == h) {
      state().active = nullptr;
      for (HWND t : state().topLevels)
        if (t != h && IsWindowVisible(t) && IsWindowEnabled(t)) {
          SetActiveWindow(t);
          break;
        }
    }
  }
  return was;
}

BOOL EnableWindow(HWND h, BOOL enable) {
  Window* w = window(h);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable)
    w->style &= ~WS_DISABLED;
  else
    w->style |= WS_DISABLED;
  if (!enable && state().focus && (state().focus == h || IsChild(h, state().focus))) SetFocus(nullptr);
  if (!enable && state().capture == h) ReleaseCapture();
  sendMessage(h, WM_ENABLE, enable ? TRUE : FALSE, 0);
  if ((w = window(h))) invalidateClient(w, nullptr, true);
  return wasDisabled;
}

BOOL SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = window(h);
  if (!w) return FALSE;
  RECT oldClient;
  GetClientRect(h, &oldClient);
  RECT old = w->rect;
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&r, x - r.left, y - r.top);
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + clampExtent(cx);
    r.bottom = r.top + clampExtent(cy);
  }
  bool moved = r.left != old.left || r.top != old.top;
  bool sized = (r.right - r.left) != (old.right - old.left) || (r.bottom - r.top) != (old.bottom - old.top);
  if (!(flags & SWP_NOZORDER) && w->parent) {
    auto& list = window(w->parent)->children;
    list.erase(std::find(list.begin(), list.end(), h));
    if (!insertAfter) list.insert(list.begin(), h);
    else if (insertAfter == makeHandle<HWND>(1)) list.push_back(h);
    else {
      auto at = std::find(list.begin(), list.end(), insertAfter);
      list.insert(at == list.end() ? list.end() : at + 1, h);
    }
  }
  if (moved || sized) {
    if (w->parent && isVisible(w)) invalidateClient(window(w->parent), &old, true);
    w->rect = r;
    if (moved) {
      POINT origin{0, 0};
      MapWindowPoints(h, w->parent, &origin, 1);
      sendMessage(h, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
      if (!(w = window(h))) return FALSE;
    }
    clientSizeChanged(w, sized ? RECT{0, 0, -1, -1} : oldClient);
  }
  if ((flags & SWP_SHOWWINDOW)) ShowWindow(h, SW_SHOWNA);
  if ((flags & SWP_HIDEWINDOW)) ShowWindow(h, SW_HIDE);
  return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(h, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The deepest visible child of w under a point in w's client coordinates that does not answer
// HTTRANSPARENT, or w itself.
static HWND childAt(HWND h, POINT p, bool skipTransparent) {
  Window* w = window(h);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = window(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    POINT q{p.x, p.y};
    if (!PtInRect(&cw->rect, q)) continue;
    if (skipTransparent) {
      POINT screen = p;
      ClientToScreen(h, &screen);
      if (sendMessage(c, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) continue;
    }
    RECT in = nonClientInsets(*cw);
    POINT inner{p.x - cw->rect.left - in.left, p.y - cw->rect.top - in.top};
    RECT client;
    GetClientRect(c, &client);
    if (!PtInRect(&client, inner)) return c;  // over the child's frame or scroll bars
    return childAt(c, inner, skipTransparent);
  }
  return h;
}

namespace pv::win32 {
HWND hitTestWindow(HWND top, POINT clientPoint) { return childAt(top, clientPoint, true); }
}  // namespace pv::win32

HWND WindowFromPoint(POINT screen) {
  for (HWND t : state().topLevels) {
    Window* w = window(t);
    if (!w || !(w->style & WS_VISIBLE) || !PtInRect(&w->rect, screen)) continue;
    POINT p = screen;
    ScreenToClient(t, &p);
    return childAt(t, p, true);
  }
  return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT p) {
  Window* w = window(parent);
  if (!w) return nullptr;
  RECT client;
  GetClientRect(parent, &client);
  if (!PtInRect(&client, p)) return nullptr;
  for (HWND c : w->children) {
    Window* cw = window(c);
    if (cw && PtInRect(&cw->rect, p)) return c;
  }
  return parent;
}

// Update regions and painting: invalidation (which also reaches the children drawn over the
// invalid area, since all windows share their top-level window's backing store), WM_PAINT
// through BeginPaint/EndPaint, window device contexts and scrolling the window contents.
#include <algorithm>

#include "gdi_state.h"
#include "state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

void invalidateClient(Window* w, const RECT* rect, bool erase) {
  if (!w) return;
  RECT client, r;
  GetClientRect(w->hwnd(), &client);
  if (rect)
    IntersectRect(&r, rect, &client);
  else
    r = client;
  if (IsRectEmpty(&r)) return;
  if (!w->hasUpdate) {
    w->update = r;
    w->hasUpdate = true;
    state().paintPending++;
  } else {
    UnionRect(&w->update, &w->update, &r);
  }
  w->eraseUpdate = w->eraseUpdate || erase;
  for (HWND c : w->children) {
    Window* cw = window(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    RECT over;
    if (!IntersectRect(&over, &cw->rect, &r)) continue;
    cw->frameDirty = true;
    RECT in = nonClientInsets(*cw);
    OffsetRect(&over, -(cw->rect.left + in.left), -(cw->rect.top + in.top));
    invalidateClient(cw, &over, true);
  }
}

void invalidateFrame(Window* w) {
  if (!w) return;
  w->frameDirty = true;
  invalidateClient(w, nullptr, true);
  if (isVisible(w)) drawNonClient(w);
}

static void redrawDirtyFrames(Window* w) {
  for (HWND c : w->children) {
    Window* cw = window(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    if (cw->frameDirty) drawNonClient(cw);
    redrawDirtyFrames(cw);
  }
}

// The surface a child window's frame is drawn on, clipped to its parent, and the window's
// rectangle there; null for a window not shown and for a top-level window.
static Canvas* frameCanvas(Window* w, RECT& r) {
  if (!w->parent || !isVisible(w)) return nullptr;
  Window* top = topLevelOf(w);
  if (!top || top->surface < 0) return nullptr;
  Canvas& canvas = backend().surfaceCanvas(top->surface);
  POINT po = surfaceOrigin(window(w->parent));
  r = w->rect;
  OffsetRect(&r, po.x, po.y);
  canvas.setClip(surfaceClip(window(w->parent)));
  return &canvas;
}

// Scroll bar `bar` inside the frame of the window at r.
static void drawScrollBar(Canvas& canvas, const Window& w, const RECT& r, int bar) {
  int frame = nonClientInsets(w).left, size = GetSystemMetrics(SM_CXVSCROLL);
  bool v = (w.style & WS_VSCROLL) != 0, hz = (w.style & WS_HSCROLL) != 0;
  ControlLook look;
  look.kind = ControlLook::ScrollBar;
  look.disabled = (w.style & WS_DISABLED) != 0;
  look.vertical = bar == SB_VERT;
  look.rect = look.vertical ? RECT{r.right - frame - size, r.top + frame, r.right - frame, r.bottom - frame - (hz ? size : 0)}
                            : RECT{r.left + frame, r.bottom - frame - size, r.right - frame - (v ? size : 0), r.bottom - frame};
  const ScrollBarState& sb = look.vertical ? w.vscroll : w.hscroll;
  look.min = sb.min, look.max = sb.max, look.page = static_cast<int>(sb.page);
  look.pos = sb.pos;
  canvas.drawControl(look);
}

void drawNonClient(Window* w) {
  w->frameDirty = false;
  RECT r;
  Canvas* canvas = frameCanvas(w, r);
  if (!canvas) return;
  RECT in = nonClientInsets(*w);
  int frame = in.left;
  if (w->style & WS_BORDER) {
    DWORD c = GetSysColor(COLOR_WINDOWFRAME);
    canvas->fillRect(RECT{r.left, r.top, r.right, r.top + 1}, c);
    canvas->fillRect(RECT{r.left, r.bottom - 1, r.right, r.bottom}, c);
    canvas->fillRect(RECT{r.left, r.top, r.left + 1, r.bottom}, c);
    canvas->fillRect(RECT{r.right - 1, r.top, r.right, r.bottom}, c);
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) {
    int b = (w->style & WS_BORDER) ? 1 : 0;
    ControlLook look;
    look.kind = ControlLook::SunkenFrame;
    look.rect = RECT{r.left + b, r.top + b, r.right - b, r.bottom - b};
    canvas->drawControl(look);
  }
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  bool v = (w->style & WS_VSCROLL) != 0, hz = (w->style & WS_HSCROLL) != 0;
  if (v) drawScrollBar(*canvas, *w, r, SB_VERT);
  if (hz) drawScrollBar(*canvas, *w, r, SB_HORZ);
  if (v && hz)
    canvas->fillRect(RECT{r.right - frame - bar, r.bottom - frame - bar, r.right - frame, r.bottom - frame},
                     GetSysColor(COLOR_BTNFACE));
  markSurfaceDirty(w);
}

void redrawScrollBar(Window* w, int bar) {
  RECT r;
  Canvas* canvas = frameCanvas(w, r);
  if (!canvas || !(w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) return;
  drawScrollBar(*canvas, *w, r, bar);
  markSurfaceDirty(w);
}

}  // namespace pv::win32

using namespace pv::win32;

BOOL InvalidateRect(HWND h, const RECT* rect, BOOL erase) {
  if (!h) {
    for (HWND t : state().topLevels) invalidateClient(window(t), nullptr, erase);
    return TRUE;
  }
  Window* w = window(h);
  if (!w) return FALSE;
  invalidateClient(w, rect, erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND h, const RECT* rect) {
  Window* w = window(h);
  if (!w) return FALSE;
  if (!w->hasUpdate) return TRUE;
  RECT& u = w->update;
  bool clear = !rect || (rect->left <= u.left && rect->top <= u.top && rect->right >= u.right &&
                         rect->bottom >= u.bottom);
  if (clear) {
    w->hasUpdate = false;
    w->eraseUpdate = false;
    state().paintPending--;
    return TRUE;
  }
  // Only a cut that leaves one rectangle is taken off the bounding update rectangle.
  if (rect->left <= u.left && rect->right >= u.right) {
    if (rect->top <= u.top && rect->bottom > u.top) u.top = rect->bottom;
    else if (rect->bottom >= u.bottom && rect->top < u.bottom) u.bottom = rect->top;
  } else if (rect->top <= u.top && rect->bottom >= u.bottom) {
    if (rect->left <= u.left && rect->right > u.left) u.left = rect->right;
    else if (rect->right >= u.right && rect->left < u.right) u.right = rect->left;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND h, LPRECT rect, BOOL) {
  Window* w = window(h);
  if (!w) return FALSE;
  if (rect) *rect = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  return w->hasUpdate ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND h) {
  Window* w = window(h);
  if (!w) return FALSE;
  if (w->hasUpdate && isVisible(w)) sendMessage(h, WM_PAINT, 0, 0);
  return TRUE;
}

static void updateTree(HWND h) {
  UpdateWindow(h);
  Window* w = window(h);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND c : kids) updateTree(c);
}

BOOL RedrawWindow(HWND h, const RECT* rect, HRGN, UINT flags) {
  Window* w = window(h);
  if (!w) return FALSE;
  if (flags & RDW_INVALIDATE) invalidateClient(w, rect, (flags & RDW_ERASE) != 0);
  if (flags & RDW_VALIDATE) ValidateRect(h, rect);
  if (flags & RDW_FRAME) invalidateFrame(w);
  if (flags & RDW_UPDATENOW) {
    if (flags & RDW_ALLCHILDREN)
      updateTree(h);
    else
      UpdateWindow(h);
  }
  return TRUE;
}

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
  Window* w = window(h);
  if (!w || !ps) return nullptr;
  RECT update = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
  bool erase = w->eraseUpdate;
  if (w->hasUpdate) {
    w->hasUpdate = false;
    state().paintPending--;
  }
  w->eraseUpdate = false;
  if (w->frameDirty) drawNonClient(w);
  HDC dc = makeWindowDC(w, &update, true);
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = update;
  if (erase) ps->fErase = sendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  markSurfaceDirty(w);
  return dc;
}

BOOL EndPaint(HWND h, const PAINTSTRUCT* ps) {
  if (ps) freeDC(ps->hdc);
  Window* w = window(h);
  if (!w) return FALSE;
  redrawDirtyFrames(w);
  return TRUE;
}

HDC GetDC(HWND h) {
  if (!h) {
    auto dc = std::make_unique<DeviceContext>();
    dc->s.clip = RECT{0, 0, 1, 1};
    dc->s.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    dc->s.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    dc->s.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    uint32_t v = state().handles.add(std::move(dc));
    return makeHandle<HDC>(v);
  }
  Window* w = window(h);
  if (!w) return nullptr;
  markSurfaceDirty(w);
  return makeWindowDC(w, nullptr, false);
}

int ReleaseDC(HWND, HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->paintDC || dc->memoryDC) return 0;
  if (Window* w = window(dc->hwnd)) markSurfaceDirty(w);
  freeDC(hdc);
  return 1;
}

int ScrollWindowEx(HWND h, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN, LPRECT update,
                   UINT flags) {
  Window* w = window(h);
  if (!w) return 0;
  RECT client, area;
  GetClientRect(h, &client);
  area = client;
  if (scroll) IntersectRect(&area, scroll, &client);
  if (clip) IntersectRect(&area, &area, clip);
  if (update) SetRectEmpty(update);
  if (IsRectEmpty(&area)) return 1;
  Window* top = topLevelOf(w);
  if (top && top->surface >= 0 && isVisible(w)) {
    Canvas& canvas = backend().surfaceCanvas(top->surface);
    POINT o = surfaceOrigin(w);
    RECT a = area;
    OffsetRect(&a, o.x, o.y);
    RECT dst = a, visible = surfaceClip(w);
    OffsetRect(&dst, dx, dy);
    IntersectRect(&dst, &dst, &a);
    IntersectRect(&visible, &visible, &a);
    canvas.setClip(visible);
    if (!IsRectEmpty(&dst)) canvas.copyFrom(dst, canvas, POINT{dst.left - dx, dst.top - dy}, SRCCOPY);
    markSurfaceDirty(w);
  }
  if (w->hasUpdate) {
    RECT moved = w->update;
    OffsetRect(&moved, dx, dy);
    IntersectRect(&moved, &moved, &area);
    UnionRect(&w->update, &w->update, &moved);
  }
  RECT strips[2] = {{0, 0, 0, 0}, {0, 0, 0, 0}};
  if (dx > 0) strips[0] = RECT{area.left, area.top, std::min(area.left + dx, area.right), area.bottom};
  if (dx < 0) strips[0] = RECT{std::max(area.right + dx, area.left), area.top, area.right, area.bottom};
  if (dy > 0) strips[1] = RECT{area.left, area.top, area.right, std::min(area.top + dy, area.bottom)};
  if (dy < 0) strips[1] = RECT{area.left, std::max(area.bottom + dy, area.top), area.right, area.bottom};
  RECT exposed{0, 0, 0, 0};
  for (const RECT& s : strips) {
    if (IsRectEmpty(&s)) continue;
    UnionRect(&exposed, &exposed, &s);
    if (flags & SW_INVALIDATE) invalidateClient(w, &s, (flags & SW_ERASE) != 0);
  }
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : w->children)
      if (Window* cw = window(c)) OffsetRect(&cw->rect, dx, dy);
  }
  if (update) *update = exposed;
  return IsRectEmpty(&exposed) ? 1 : 2;
}

BOOL ScrollWindow(HWND h, int dx, int dy, const RECT* scroll, const RECT* clip) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(h, dx, dy, scroll, clip, nullptr, nullptr, flags) != 0;
}

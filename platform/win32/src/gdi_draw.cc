// Drawing with GDI: lines, rectangles, fills, focus rectangles, block transfers and pixels, all
// clipped to the device context and drawn on its canvas.
#include <algorithm>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

using namespace pv::win32;

namespace {

// The device context's canvas with its clip set, or null when there is nothing to draw on.
Canvas* target(HDC hdc, DeviceContext** out) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return nullptr;
  Canvas* c = dcCanvas(dc);
  if (!c) return nullptr;
  c->setClip(dc->s.clip);
  *out = dc;
  return c;
}

void fill(HDC hdc, const RECT& r, COLORREF color) {
  DeviceContext* dc = nullptr;
  if (Canvas* c = target(hdc, &dc)) c->fillRect(toCanvas(dc, r), color);
}

}  // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->s.position;
  dc->s.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!c) return deviceContext(hdc) ? TRUE : FALSE;
  GdiPen* p = pen(dc->s.pen);
  if (p && p->logPen.lopnStyle != PS_NULL)
    c->drawLine(toCanvas(dc, dc->s.position.x, dc->s.position.y), toCanvas(dc, x, y), p->logPen.lopnColor,
                std::max<int>(1, p->logPen.lopnWidth.x), static_cast<int>(p->logPen.lopnStyle));
  dc->s.position = POINT{x, y};
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!c) return deviceContext(hdc) ? TRUE : FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  GdiBrush* b = brush(dc->s.brush);
  GdiPen* p = pen(dc->s.pen);
  bool outline = p && p->logPen.lopnStyle != PS_NULL;
  int inset = outline ? std::max<int>(1, p->logPen.lopnWidth.x) : 0;
  if (b && b->logBrush.lbStyle != BS_NULL)
    c->fillRect(toCanvas(dc, RECT{left + inset, top + inset, right - inset, bottom - inset}), b->logBrush.lbColor);
  if (outline) {
    COLORREF color = p->logPen.lopnColor;
    int width = inset, style = static_cast<int>(p->logPen.lopnStyle);
    POINT a = toCanvas(dc, left, top), z = toCanvas(dc, right - 1, bottom - 1);
    c->drawLine(a, POINT{z.x, a.y}, color, width, style);
    c->drawLine(POINT{z.x, a.y}, z, color, width, style);
    c->drawLine(z, POINT{a.x, z.y}, color, width, style);
    c->drawLine(POINT{a.x, z.y}, a, color, width, style);
  }
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH hbrush) {
  GdiBrush* b = brush(hbrush);
  if (!rect || !b || !deviceContext(hdc)) return 0;
  if (b->logBrush.lbStyle != BS_NULL) fill(hdc, *rect, b->logBrush.lbColor);
  return 1;
}

int FrameRect(HDC hdc, const RECT* r, HBRUSH hbrush) {
  GdiBrush* b = brush(hbrush);
  if (!r || !b || !deviceContext(hdc)) return 0;
  if (IsRectEmpty(r)) return 1;
  COLORREF color = b->logBrush.lbColor;
  fill(hdc, RECT{r->left, r->top, r->right, r->top + 1}, color);
  fill(hdc, RECT{r->left, r->bottom - 1, r->right, r->bottom}, color);
  fill(hdc, RECT{r->left, r->top, r->left + 1, r->bottom}, color);
  fill(hdc, RECT{r->right - 1, r->top, r->right, r->bottom}, color);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* r) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!r) return FALSE;
  if (c) c->invertRect(toCanvas(dc, *r));
  return deviceContext(hdc) ? TRUE : FALSE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* r) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!r) return FALSE;
  if (!c) return deviceContext(hdc) ? TRUE : FALSE;
  RECT cr = toCanvas(dc, *r);
  // A dotted frame drawn by inverting every other pixel.
  for (int x = cr.left; x < cr.right; x += 2) {
    c->invertRect(RECT{x, cr.top, x + 1, cr.top + 1});
    c->invertRect(RECT{x, cr.bottom - 1, x + 1, cr.bottom});
  }
  for (int y = cr.top + 2; y < cr.bottom - 1; y += 2) {
    c->invertRect(RECT{cr.left, y, cr.left + 1, y + 1});
    c->invertRect(RECT{cr.right - 1, y, cr.right, y + 1});
  }
  return TRUE;
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!deviceContext(hdc)) return FALSE;
  if (!c) return TRUE;
  RECT r = toCanvas(dc, RECT{x, y, x + width, y + height});
  switch (rop) {
    case PATCOPY: c->fillRect(r, brushColor(brush(dc->s.brush))); return TRUE;
    case BLACKNESS: c->fillRect(r, 0); return TRUE;
    case WHITENESS: c->fillRect(r, 0xFFFFFF); return TRUE;
    case DSTINVERT: c->invertRect(r); return TRUE;
    default: return FALSE;
  }
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  if (rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT)
    return PatBlt(dst, x, y, width, height, rop);
  DeviceContext* sdc = deviceContext(src);
  DeviceContext* ddc = nullptr;
  Canvas* c = target(dst, &ddc);
  if (!sdc || !deviceContext(dst)) return FALSE;
  Canvas* from = dcCanvas(sdc);
  if (!c || !from) return TRUE;
  c->copyFrom(toCanvas(ddc, RECT{x, y, x + width, y + height}), *from, toCanvas(sdc, srcX, srcY), rop);
  return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = deviceContext(hdc);
  Canvas* c = dc ? dcCanvas(dc) : nullptr;
  if (!c) return CLR_INVALID;
  POINT p = toCanvas(dc, x, y);
  if (p.x < 0 || p.y < 0 || p.x >= c->width() || p.y >= c->height()) return CLR_INVALID;
  return c->pixel(p.x, p.y);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  if (!deviceContext(hdc)) return CLR_INVALID;
  fill(hdc, RECT{x, y, x + 1, y + 1}, color & 0xFFFFFF);
  return color & 0xFFFFFF;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (hdc && !deviceContext(hdc)) return 0;
  SIZE screen = backend().screenSize();
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return screen.cx * 254 / 960;
    case VERTSIZE: return screen.cy * 254 / 960;
    case HORZRES: case DESKTOPHORZRES: return screen.cx;
    case VERTRES: case DESKTOPVERTRES: return screen.cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP;
    case LOGPIXELSX: case LOGPIXELSY: return 96;
    case ASPECTX: case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case VREFRESH: return 60;
    default: return 0;
  }
}

namespace pv::win32 {

void drawControlLook(HDC hdc, ControlLook look) {
  DeviceContext* dc = nullptr;
  Canvas* c = target(hdc, &dc);
  if (!c) return;
  look.rect = toCanvas(dc, look.rect);
  c->drawControl(look);
}

}  // namespace pv::win32

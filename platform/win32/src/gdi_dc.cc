// Device contexts: window, paint and memory contexts, their drawing state, origins and clipping.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

DeviceContext* deviceContext(HDC hdc) { return state().handles.find<DeviceContext>(handleValue(hdc), Kind::DC); }

// Every object a saved or current drawing state holds counts as selected.
static void adjustSelections(const DcState& s, int delta) {
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(s.pen), static_cast<HGDIOBJ>(s.brush), static_cast<HGDIOBJ>(s.font),
                    static_cast<HGDIOBJ>(s.bitmap)})
    if (auto* g = static_cast<GdiObject*>(state().handles.find(handleValue(o)))) g->selectedIn += delta;
}

static void selectDefaults(HDC hdc) {
  SelectObject(hdc, GetStockObject(BLACK_PEN));
  SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  SelectObject(hdc, GetStockObject(SYSTEM_FONT));
}

HDC makeWindowDC(Window* w, const RECT* clip, bool paint) {
  auto dc = std::make_unique<DeviceContext>();
  dc->hwnd = w->hwnd();
  dc->paintDC = paint;
  dc->origin = surfaceOrigin(w);
  dc->s.clip = surfaceClip(w);
  if (clip) {
    RECT c = *clip;
    OffsetRect(&c, dc->origin.x, dc->origin.y);
    IntersectRect(&dc->s.clip, &dc->s.clip, &c);
  }
  HDC hdc = makeHandle<HDC>(state().handles.add(std::move(dc)));
  selectDefaults(hdc);
  return hdc;
}

void freeDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return;
  adjustSelections(dc->s, -1);
  for (const DcState& saved : dc->saved) adjustSelections(saved, -1);
  state().handles.remove(dc->handle);
}

Canvas* dcCanvas(DeviceContext* dc) {
  if (dc->memoryDC) {
    GdiBitmap* b = bitmap(dc->s.bitmap);
    return b ? b->canvas.get() : nullptr;
  }
  if (!dc->hwnd) return gdiStock().screenCanvas.get();
  Window* w = window(dc->hwnd);
  Window* top = w ? topLevelOf(w) : nullptr;
  if (!top || top->surface < 0) return nullptr;
  return &backend().surfaceCanvas(top->surface);
}

POINT toCanvas(DeviceContext* dc, int x, int y) {
  return POINT{x + dc->origin.x + dc->s.viewport.x, y + dc->origin.y + dc->s.viewport.y};
}

RECT toCanvas(DeviceContext* dc, const RECT& r) {
  POINT a = toCanvas(dc, r.left, r.top);
  return RECT{a.x, a.y, a.x + (r.right - r.left), a.y + (r.bottom - r.top)};
}

LOGFONTA currentFont(DeviceContext* dc) { return fontOf(dc->s.font); }

FontMetrics metricsOf(const LOGFONTA& lf) {
  static std::map<std::string, FontMetrics> cache;
  static Backend* cachedFor = nullptr;
  static LOGFONTA lastFont{};  // the font asked for last and its metrics, found without a lookup
  static FontMetrics lastMetrics{};
  if (cachedFor != &backend()) {
    cache.clear();
    cachedFor = &backend();
    lastFont = LOGFONTA{};
    lastFont.lfHeight = INT32_MIN;  // matches no font
  }
  if (std::memcmp(&lf, &lastFont, sizeof lf) == 0) return lastMetrics;
  std::string key(reinterpret_cast<const char*>(&lf), sizeof lf);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, backend().fontMetrics(lf)).first;
  lastFont = lf;
  lastMetrics = it->second;
  return lastMetrics;
}

}  // namespace pv::win32

using namespace pv::win32;

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !deviceContext(hdc)) return nullptr;
  auto dc = std::make_unique<DeviceContext>();
  dc->memoryDC = true;
  HDC h = makeHandle<HDC>(state().handles.add(std::move(dc)));
  selectDefaults(h);
  SelectObject(h, gdiStock().defaultBitmap);
  return h;
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || dc->paintDC) return FALSE;
  freeDC(hdc);
  return TRUE;
}

#define PV_DC_SETTER(Name, Type, field)       \
  Type Name(HDC hdc, Type value) {            \
    DeviceContext* dc = deviceContext(hdc);   \
    if (!dc) return 0;                        \
    Type old = static_cast<Type>(dc->s.field); \
    dc->s.field = value;                      \
    return old;                               \
  }

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.textColor;
  dc->s.textColor = color & 0xFFFFFF;
  return old;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.bkColor;
  dc->s.bkColor = color & 0xFFFFFF;
  return old;
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  return dc ? dc->s.textColor : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  return dc ? dc->s.bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->s.bkMode;
  dc->s.bkMode = mode;
  return old;
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  return dc ? dc->s.bkMode : 0;
}

PV_DC_SETTER(SetTextAlign, UINT, textAlign)
PV_DC_SETTER(SetROP2, int, rop2)

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->s.viewport;
  dc->s.viewport = POINT{x, y};
  return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !origin) return FALSE;
  *origin = dc->s.viewport;
  return TRUE;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return 0;
  RECT r = toCanvas(dc, RECT{left, top, right, bottom});
  IntersectRect(&dc->s.clip, &dc->s.clip, &r);
  return IsRectEmpty(&dc->s.clip) ? 1 : 2;
}

int GetClipBox(HDC hdc, LPRECT rect) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !rect) return 0;
  POINT o = toCanvas(dc, 0, 0);
  *rect = dc->s.clip;
  OffsetRect(rect, -o.x, -o.y);
  return IsRectEmpty(rect) ? 1 : 2;
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->s);
  adjustSelections(dc->s, 1);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return FALSE;
  int n = static_cast<int>(dc->saved.size());
  int index = saved < 0 ? n + saved : saved - 1;
  if (index < 0 || index >= n) return FALSE;
  adjustSelections(dc->s, -1);
  dc->s = dc->saved[static_cast<size_t>(index)];
  for (int i = n - 1; i > index; --i) adjustSelections(dc->saved[static_cast<size_t>(i)], -1);
  dc->saved.resize(static_cast<size_t>(index));
  return TRUE;
}

// GDI drawing objects: pens, brushes, fonts and bitmaps, the stock objects, selecting objects
// into device contexts and deleting them.
#include <algorithm>
#include <cstring>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

template <class T>
T* addObject(std::unique_ptr<T> o, bool stock, HGDIOBJ* handle) {
  o->stock = stock;
  T* raw = o.get();
  uint32_t v = state().handles.add(std::move(o));
  if (handle) *handle = makeHandle<HGDIOBJ>(v);
  return raw;
}

HGDIOBJ makePen(int style, int width, COLORREF color, bool stock) {
  auto p = std::make_unique<GdiPen>();
  p->logPen = LOGPEN{static_cast<UINT>(style), POINT{std::max(width, 0), 0}, color};
  HGDIOBJ h;
  addObject(std::move(p), stock, &h);
  return h;
}

HGDIOBJ makeBrush(UINT style, COLORREF color, bool stock) {
  auto b = std::make_unique<GdiBrush>();
  b->logBrush = LOGBRUSH{style, color, 0};
  HGDIOBJ h;
  addObject(std::move(b), stock, &h);
  return h;
}

HGDIOBJ makeFont(const LOGFONTA& lf, bool stock) {
  auto f = std::make_unique<GdiFont>();
  f->logFont = lf;
  f->logFont.lfFaceName[31] = 0;
  HGDIOBJ h;
  addObject(std::move(f), stock, &h);
  return h;
}

LOGFONTA logFont(int height, int weight, const char* face, BYTE pitch) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfPitchAndFamily = pitch;
  std::strncpy(lf.lfFaceName, face, 31);
  return lf;
}

void makeStock(GdiStock& g) {
  State& s = state();
  size_t before = s.handles.count(Kind::Pen) + s.handles.count(Kind::Brush) + s.handles.count(Kind::Font) +
                  s.handles.count(Kind::Bitmap);
  g.objects[WHITE_BRUSH] = makeBrush(BS_SOLID, RGB(255, 255, 255), true);
  g.objects[LTGRAY_BRUSH] = makeBrush(BS_SOLID, RGB(192, 192, 192), true);
  g.objects[GRAY_BRUSH] = makeBrush(BS_SOLID, RGB(128, 128, 128), true);
  g.objects[DKGRAY_BRUSH] = makeBrush(BS_SOLID, RGB(64, 64, 64), true);
  g.objects[BLACK_BRUSH] = makeBrush(BS_SOLID, RGB(0, 0, 0), true);
  g.objects[NULL_BRUSH] = makeBrush(BS_NULL, 0, true);
  g.objects[WHITE_PEN] = makePen(PS_SOLID, 1, RGB(255, 255, 255), true);
  g.objects[BLACK_PEN] = makePen(PS_SOLID, 1, RGB(0, 0, 0), true);
  g.objects[NULL_PEN] = makePen(PS_NULL, 1, 0, true);
  g.objects[OEM_FIXED_FONT] = makeFont(logFont(12, FW_NORMAL, "Terminal", FIXED_PITCH | FF_MODERN), true);
  g.objects[ANSI_FIXED_FONT] = makeFont(logFont(12, FW_NORMAL, "Courier", FIXED_PITCH | FF_MODERN), true);
  g.objects[ANSI_VAR_FONT] = makeFont(logFont(12, FW_NORMAL, "MS Sans Serif", VARIABLE_PITCH | FF_SWISS), true);
  g.objects[SYSTEM_FONT] = makeFont(logFont(16, FW_BOLD, "System", VARIABLE_PITCH | FF_SWISS), true);
  g.objects[DEVICE_DEFAULT_FONT] = makeFont(logFont(16, FW_NORMAL, "System", VARIABLE_PITCH | FF_SWISS), true);
  g.objects[SYSTEM_FIXED_FONT] = makeFont(logFont(16, FW_NORMAL, "Fixedsys", FIXED_PITCH | FF_MODERN), true);
  g.objects[DEFAULT_GUI_FONT] = makeFont(logFont(-11, FW_NORMAL, "MS Shell Dlg", VARIABLE_PITCH | FF_SWISS), true);
  for (int i = 0; i < 31; ++i)
    g.sysColorBrushes[i] = static_cast<HBRUSH>(makeBrush(BS_SOLID, GetSysColor(i), true));
  auto bmp = std::make_unique<GdiBitmap>();
  bmp->canvas = backend().createCanvas(1, 1);
  HGDIOBJ h;
  addObject(std::move(bmp), true, &h);
  g.defaultBitmap = static_cast<HBITMAP>(h);
  g.screenCanvas = backend().createCanvas(1, 1);
  g.count = s.handles.count(Kind::Pen) + s.handles.count(Kind::Brush) + s.handles.count(Kind::Font) +
            s.handles.count(Kind::Bitmap) - before;
}

GdiStock* stockInstance = nullptr;

GdiObject* gdiObject(HGDIOBJ h) {
  Object* o = state().handles.find(handleValue(h));
  if (!o || (o->kind != Kind::Pen && o->kind != Kind::Brush && o->kind != Kind::Font && o->kind != Kind::Bitmap))
    return nullptr;
  return static_cast<GdiObject*>(o);
}

}  // namespace

GdiStock& gdiStock() {
  if (!stockInstance) {
    stockInstance = new GdiStock;
    makeStock(*stockInstance);
  }
  return *stockInstance;
}

void resetGdi() {
  delete stockInstance;
  stockInstance = nullptr;
}

GdiPen* pen(HGDIOBJ h) { return state().handles.find<GdiPen>(handleValue(h), Kind::Pen); }
GdiFont* font(HGDIOBJ h) { return state().handles.find<GdiFont>(handleValue(h), Kind::Font); }
GdiBitmap* bitmap(HGDIOBJ h) { return state().handles.find<GdiBitmap>(handleValue(h), Kind::Bitmap); }

GdiBrush* brush(HGDIOBJ h) {
  uintptr_t v = reinterpret_cast<uintptr_t>(h);
  if (v >= 1 && v <= 31) return brush(gdiStock().sysColorBrushes[v - 1]);
  return state().handles.find<GdiBrush>(handleValue(h), Kind::Brush);
}

COLORREF brushColor(GdiBrush* b) { return b ? b->logBrush.lbColor : 0; }

LOGFONTA fontOf(HFONT h) {
  if (GdiFont* f = font(h)) return f->logFont;
  return font(gdiStock().objects[SYSTEM_FONT])->logFont;
}

size_t liveGdiObjects() {
  State& s = state();
  size_t stock = gdiStock().count;
  return s.handles.count(Kind::Pen) + s.handles.count(Kind::Brush) + s.handles.count(Kind::Font) +
         s.handles.count(Kind::Bitmap) - stock;
}

}  // namespace pv::win32

using namespace pv::win32;

HPEN CreatePen(int style, int width, COLORREF color) {
  if ((style & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
  return static_cast<HPEN>(makePen(style & PS_STYLE_MASK, width, color, false));
}

HBRUSH CreateSolidBrush(COLORREF color) { return static_cast<HBRUSH>(makeBrush(BS_SOLID, color & 0xFFFFFF, false)); }

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  return static_cast<HFONT>(makeFont(*lf, false));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
  LOGFONTA lf{height, width, escapement, orientation, weight,
              static_cast<BYTE>(italic ? 1 : 0), static_cast<BYTE>(underline ? 1 : 0),
              static_cast<BYTE>(strikeOut ? 1 : 0), static_cast<BYTE>(charSet), static_cast<BYTE>(outPrecision),
              static_cast<BYTE>(clipPrecision), static_cast<BYTE>(quality), static_cast<BYTE>(pitchAndFamily), {}};
  if (face) std::strncpy(lf.lfFaceName, face, 31);
  return CreateFontIndirectA(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return nullptr;
  auto b = std::make_unique<GdiBitmap>();
  b->canvas = backend().createCanvas(width, height);
  HGDIOBJ h;
  addObject(std::move(b), false, &h);
  return static_cast<HBITMAP>(h);
}

// Scan lines of CreateBitmap's bits are padded to 16 bits; 1 bit per pixel is black (0) or
// white (1), 24 and 32 bits per pixel are blue, green, red (and a byte left unused).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (bits && (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))) return nullptr;
  HBITMAP h = CreateCompatibleBitmap(nullptr, width, height);
  if (!h || !bits) return h;
  Canvas& c = *bitmap(h)->canvas;
  auto* p = static_cast<const unsigned char*>(bits);
  size_t stride = (static_cast<size_t>(width) * bitsPerPixel + 15) / 16 * 2;
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = p + stride * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) {
      COLORREF color;
      if (bitsPerPixel == 1) {
        color = (row[x / 8] >> (7 - x % 8)) & 1 ? RGB(255, 255, 255) : RGB(0, 0, 0);
      } else {
        const unsigned char* px = row + static_cast<size_t>(x) * (bitsPerPixel / 8);
        color = RGB(px[2], px[1], px[0]);
      }
      c.fillRect(RECT{x, y, x + 1, y + 1}, color);
    }
  }
  return h;
}

HBITMAP LoadBitmapA(HINSTANCE, LPCSTR) { return nullptr; }

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20) return nullptr;
  return gdiStock().objects[index];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= 31) return nullptr;
  return gdiStock().sysColorBrushes[index];
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = deviceContext(hdc);
  GdiObject* o = gdiObject(object);
  if (!dc || !o) return nullptr;
  void* slot;
  switch (o->kind) {
    case Kind::Pen: slot = &dc->s.pen; break;
    case Kind::Brush: slot = &dc->s.brush; break;
    case Kind::Font: slot = &dc->s.font; break;
    case Kind::Bitmap:
      if (!dc->memoryDC || (o->selectedIn > 0 && static_cast<HGDIOBJ>(dc->s.bitmap) != object)) return nullptr;
      slot = &dc->s.bitmap;
      break;
    default: return nullptr;
  }
  HGDIOBJ& current = *static_cast<HGDIOBJ*>(slot);
  HGDIOBJ previous = current;
  if (GdiObject* old = gdiObject(previous)) old->selectedIn--;
  current = object;
  o->selectedIn++;
  if (o->kind == Kind::Bitmap) {
    Canvas* c = static_cast<GdiBitmap*>(o)->canvas.get();
    dc->s.clip = RECT{0, 0, c->width(), c->height()};
  }
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = gdiObject(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->selectedIn > 0) return FALSE;
  state().handles.remove(o->handle);
  return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  GdiObject* o = gdiObject(object);
  if (!o) return 0;
  auto copy = [&](const void* data, int n) {
    if (!buffer) return n;
    if (size < n) return 0;
    std::memcpy(buffer, data, static_cast<size_t>(n));
    return n;
  };
  switch (o->kind) {
    case Kind::Pen: return copy(&static_cast<GdiPen*>(o)->logPen, sizeof(LOGPEN));
    case Kind::Brush: return copy(&static_cast<GdiBrush*>(o)->logBrush, sizeof(LOGBRUSH));
    case Kind::Font: return copy(&static_cast<GdiFont*>(o)->logFont, sizeof(LOGFONTA));
    case Kind::Bitmap: {
      Canvas* c = static_cast<GdiBitmap*>(o)->canvas.get();
      BITMAP bm{0, c->width(), c->height(), c->width() * 4, 1, 32, nullptr};
      return copy(&bm, sizeof bm);
    }
    default: return 0;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case 1: return dc->s.pen;      // OBJ_PEN
    case 2: return dc->s.brush;    // OBJ_BRUSH
    case 6: return dc->s.font;     // OBJ_FONT
    case 7: return dc->s.bitmap;   // OBJ_BITMAP
    default: return nullptr;
  }
}

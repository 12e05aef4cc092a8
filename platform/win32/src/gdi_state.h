// The records behind device contexts and GDI objects, and the stock objects.
#pragma once

#include <memory>
#include <vector>

#include "state.h"

namespace pv::win32 {

struct GdiObject : Object {
  using Object::Object;
  bool stock = false;
  int selectedIn = 0;  // number of device contexts it is selected into
};

struct GdiPen : GdiObject {
  GdiPen() : GdiObject(Kind::Pen) {}
  LOGPEN logPen{};
};

struct GdiBrush : GdiObject {
  GdiBrush() : GdiObject(Kind::Brush) {}
  LOGBRUSH logBrush{};
};

struct GdiFont : GdiObject {
  GdiFont() : GdiObject(Kind::Font) {}
  LOGFONTA logFont{};
};

struct GdiBitmap : GdiObject {
  GdiBitmap() : GdiObject(Kind::Bitmap) {}
  std::unique_ptr<Canvas> canvas;
};

struct DcState {
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  HBITMAP bitmap = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT textAlign = 0;
  int rop2 = R2_COPYPEN;
  POINT position{};
  POINT viewport{};
  RECT clip{};  // canvas pixels
};

struct DeviceContext : Object {
  DeviceContext() : Object(Kind::DC) {}
  HWND hwnd = nullptr;
  bool paintDC = false;
  bool memoryDC = false;
  POINT origin{};  // canvas position of logical (0, 0) before the viewport origin
  DcState s;
  std::vector<DcState> saved;
};

struct GdiStock {
  HGDIOBJ objects[20] = {};
  HBRUSH sysColorBrushes[31] = {};
  HBITMAP defaultBitmap = nullptr;
  std::unique_ptr<Canvas> screenCanvas;
  size_t count = 0;
};

GdiStock& gdiStock();
void resetGdi();
// Pens, brushes, fonts and bitmaps alive that are not stock objects.
size_t liveGdiObjects();

DeviceContext* deviceContext(HDC hdc);
GdiPen* pen(HGDIOBJ h);
GdiBrush* brush(HGDIOBJ h);  // also accepts (HBRUSH)(COLOR_xxx + 1)
GdiFont* font(HGDIOBJ h);
GdiBitmap* bitmap(HGDIOBJ h);

// The canvas a device context draws on (a window's backing store or a selected bitmap).
Canvas* dcCanvas(DeviceContext* dc);
// Makes a device context for a window's client area (or whole window), clipped by `clip`
// (client coordinates; null for the whole client area).
HDC makeWindowDC(Window* w, const RECT* clip, bool paint);
void freeDC(HDC hdc);
// Logical coordinates to canvas pixels.
POINT toCanvas(DeviceContext* dc, int x, int y);
RECT toCanvas(DeviceContext* dc, const RECT& r);
COLORREF brushColor(GdiBrush* b);
LOGFONTA currentFont(DeviceContext* dc);
LOGFONTA fontOf(HFONT h);  // the system font for null or unknown handles
FontMetrics metricsOf(const LOGFONTA& lf);

}  // namespace pv::win32

namespace pv::win32 {
// Draws a styled control or decoration whose rectangle is in the context's logical coordinates.
void drawControlLook(HDC hdc, ControlLook look);
}  // namespace pv::win32

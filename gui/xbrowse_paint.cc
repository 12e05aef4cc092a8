// Painting helpers of the browse grid: off-screen buffer, gradients, fills, text, data cells,
// scrolling, frames and the record-selector arrow, all drawn through the Win32 layer's GDI.
#include "xbrowse_paint.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pv::gui {

namespace {

constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kLight = RGB(255, 255, 255);

void line(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void withPen(HDC dc, int style, COLORREF color, void (*draw)(HDC, const RECT&), const RECT& r) {
  HPEN pen = CreatePen(style, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  draw(dc, r);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void topLeft(HDC dc, const RECT& r) {
  line(dc, r.left, r.bottom, r.left, r.top);
  line(dc, r.left, r.top, r.right, r.top);
}

void bottomRight(HDC dc, const RECT& r) {
  line(dc, r.right, r.top, r.right, r.bottom);
  line(dc, r.right, r.bottom, r.left - 1, r.bottom);
}

void allSides(HDC dc, const RECT& r) {
  topLeft(dc, r);
  bottomRight(dc, r);
}

void framePair(HDC dc, const RECT& r, COLORREF upperLeft, COLORREF lowerRight) {
  withPen(dc, PS_SOLID, upperLeft, topLeft, r);
  withPen(dc, PS_SOLID, lowerRight, bottomRight, r);
}

// One channel of a colour stepped `band` bands of `bands` from `from` to `to`, in 1/256 units.
int channelAt(int from, int to, int band, int bands) {
  int step = (to - from) * 256 / bands;
  return std::clamp(from + step * band / 256, 0, 255);
}

COLORREF colorAt(COLORREF from, COLORREF to, int band, int bands) {
  return RGB(channelAt(GetRValue(from), GetRValue(to), band, bands),
             channelAt(GetGValue(from), GetGValue(to), band, bands),
             channelAt(GetBValue(from), GetBValue(to), band, bands));
}

}  // namespace

OffscreenBuffer beginOffscreen(HWND window, HDC target) {
  OffscreenBuffer b;
  b.window = window;
  b.target = target;
  RECT client{};
  GetClientRect(window, &client);
  b.memory = CreateCompatibleDC(target);
  b.bitmap = CreateCompatibleBitmap(target, std::max(1L, long(client.right)), std::max(1L, long(client.bottom)));
  b.previous = SelectObject(b.memory, b.bitmap);
  return b;
}

void endOffscreen(const OffscreenBuffer& b) {
  RECT client{};
  GetClientRect(b.window, &client);
  BitBlt(b.target, 0, 0, client.right, client.bottom, b.memory, 0, 0, SRCCOPY);
  SelectObject(b.memory, b.previous);
  DeleteObject(b.bitmap);
  DeleteDC(b.memory);
}

void paintGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical) {
  int extent = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (extent <= 0 || rect.right <= rect.left || rect.bottom <= rect.top) return;
  int bands = std::min(extent, 100);
  int start = vertical ? rect.top : rect.left;
  for (int i = 0; i < bands; ++i) {
    RECT band = rect;
    int a = start + extent * i / bands, b = start + extent * (i + 1) / bands;
    (vertical ? band.top : band.left) = a;
    (vertical ? band.bottom : band.right) = b;
    HBRUSH brush = CreateSolidBrush(colorAt(from, to, i, bands));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
}

int drawTextCopy(HDC dc, std::string_view text, RECT rect, UINT format) {
  char onStack[256];  // room for a cell's text without an allocation
  std::string onHeap;
  char* copy = onStack;
  if (text.size() + 4 > sizeof onStack) {
    onHeap.resize(text.size() + 4);
    copy = onHeap.data();
  }
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  std::memset(copy + text.size(), 0, 4);
  return DrawTextA(dc, copy, static_cast<int>(text.size()), &rect, format);
}

void fillSolid(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void drawStyledText(HDC dc, std::string_view text, const RECT& rect, HFONT font, COLORREF color,
                    const COLORREF* back, UINT format) {
  if ((format & DT_SINGLELINE) && !(format & (DT_RIGHT | DT_CENTER)))
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  COLORREF oldText = SetTextColor(dc, color);
  COLORREF oldBack = back ? SetBkColor(dc, *back) : GetBkColor(dc);
  int oldMode = SetBkMode(dc, back ? OPAQUE : TRANSPARENT);
  drawTextCopy(dc, text, rect, format);
  SetBkMode(dc, oldMode);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  if (oldFont) SelectObject(dc, oldFont);
}

void drawCell(HDC dc, const RECT& cell, COLORREF back, std::string_view text, const CellText& how) {
  fillSolid(dc, cell, back);
  drawStyledText(dc, text, RECT{how.left, cell.top + 2, how.right, cell.bottom - 2}, how.font, how.color, nullptr,
                 how.format);
}

void scrollDataRows(HWND window, int direction, int rowHeight, int headerHeight, int footerHeight, int right) {
  if (rowHeight <= 0 || direction == 0) return;
  RECT area{};
  GetClientRect(window, &area);
  if (right > 0) area.right = std::min<LONG>(area.right, right);
  area.top = headerHeight;
  area.bottom -= footerHeight;
  int rows = (area.bottom - area.top) / rowHeight;
  if (rows < 2) return;
  area.bottom = area.top + rows * rowHeight;
  ScrollWindowEx(window, 0, direction > 0 ? -rowHeight : rowHeight, &area, &area, nullptr, nullptr, 0);
}

void frameDotted(HDC dc, const RECT& rect) { withPen(dc, PS_DOT, RGB(0, 0, 0), allSides, rect); }
void frameSolid(HDC dc, const RECT& rect, COLORREF color) { withPen(dc, PS_SOLID, color, allSides, rect); }
void frameInset(HDC dc, const RECT& rect) { framePair(dc, rect, kShadow, kLight); }
void frameRaised(HDC dc, const RECT& rect) { framePair(dc, rect, kLight, kShadow); }

HBITMAP makeRecordArrow() {
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, kArrowWidth, kArrowHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, kArrowWidth, kArrowHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  drawRecordArrow(dc, 0, 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

void drawRecordArrow(HDC dc, int x, int y) {
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (int row = 0; row < kArrowHeight; ++row) {
    int width = (kArrowWidth - std::abs(2 * row - (kArrowHeight - 1))) / 2;
    RECT run{x + 2, y + row, x + 2 + width, y + row + 1};
    if (width > 0) FillRect(dc, &run, black);
  }
}

void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, bool transparent) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  if (!transparent) {
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  } else {
    COLORREF key = GetPixel(source, 0, 0);
    for (int row = 0; row < info.bmHeight; ++row)
      for (int col = 0; col < info.bmWidth; ++col) {
        COLORREF c = GetPixel(source, col, row);
        if (c != key) SetPixel(dc, x + col, y + row, c);
      }
  }
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace pv::gui

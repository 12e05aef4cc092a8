// The grid window class.
#include "grid_window.h"

#include <cstdio>

namespace pv::win32::demo {

COLORREF cellColour(int row, int column) {
  if (column < 2) return RGB(0, 128, 0);
  return row % 2 ? RGB(231, 242, 255) : RGB(255, 255, 255);
}

void paintGrid(HDC dc, int width, int height) {
  RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(dc, font);
  HPEN line = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, line);
  SetBkMode(dc, TRANSPARENT);
  char text[32];
  for (int row = 0; row <= kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      RECT cell{column * kCellWidth, row * kRowHeight, (column + 1) * kCellWidth, (row + 1) * kRowHeight};
      HBRUSH fill = CreateSolidBrush(row == 0 ? GetSysColor(COLOR_BTNFACE) : cellColour(row, column));
      FillRect(dc, &cell, fill);
      DeleteObject(fill);
      if (row == 0)
        std::snprintf(text, sizeof text, "Col %d", column + 1);
      else
        std::snprintf(text, sizeof text, "%d.%d", row, column + 1);
      SetTextColor(dc, column < 2 && row > 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
      RECT inner{cell.left + 3, cell.top, cell.right - 3, cell.bottom};
      DrawTextA(dc, text, -1, &inner, DT_SINGLELINE | DT_VCENTER | (column == 4 ? DT_RIGHT : DT_CENTER) | DT_NOPREFIX);
    }
    MoveToEx(dc, 0, (row + 1) * kRowHeight - 1, nullptr);
    LineTo(dc, kGridColumns * kCellWidth, (row + 1) * kRowHeight - 1);
  }
  for (int column = 1; column <= kGridColumns; ++column) {
    MoveToEx(dc, column * kCellWidth - 1, 0, nullptr);
    LineTo(dc, column * kCellWidth - 1, (kGridRows + 1) * kRowHeight);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldFont);
  DeleteObject(line);
  DeleteObject(font);
}

namespace {

LRESULT CALLBACK gridProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (GetWindowLongA(h, GWL_STYLE) & WS_VSCROLL) SetScrollRange(h, SB_VERT, 1, kGridRows, FALSE);
      if (GetWindowLongA(h, GWL_STYLE) & WS_HSCROLL) SetScrollRange(h, SB_HORZ, 1, kGridColumns, FALSE);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      HDC mem = CreateCompatibleDC(dc);
      HBITMAP bmp = CreateCompatibleBitmap(dc, r.right > 0 ? r.right : 1, r.bottom > 0 ? r.bottom : 1);
      HGDIOBJ old = SelectObject(mem, bmp);
      paintGrid(mem, r.right, r.bottom);
      BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteObject(bmp);
      DeleteDC(mem);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    default: return DefWindowProcA(h, message, wParam, lParam);
  }
}

}  // namespace

void registerGridClass() {
  WNDCLASSA wc{CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, gridProc, 0, 0, nullptr, nullptr,
               LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW)), nullptr, nullptr, "PvGrid"};
  RegisterClassA(&wc);
}

}  // namespace pv::win32::demo

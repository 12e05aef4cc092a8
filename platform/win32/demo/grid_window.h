// A custom window class that paints a 30 x 6 grid of cells (header, fills, lines and text) with
// GDI through a memory bitmap, the way the browse grid of the GUI library draws.
#pragma once

#include "win32/win32.h"

namespace pv::win32::demo {

inline constexpr int kGridRows = 30;
inline constexpr int kGridColumns = 6;
inline constexpr int kCellWidth = 70;
inline constexpr int kRowHeight = 16;

// Registers the class "PvGrid" (once).
void registerGridClass();
// Paints the whole grid into `dc` over a client area of the given size.
void paintGrid(HDC dc, int width, int height);
// The colour of a cell's background.
COLORREF cellColour(int row, int column);

}  // namespace pv::win32::demo

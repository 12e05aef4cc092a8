// Painting helpers of the browse grid over the Win32 layer: the off-screen buffer a paint draws
// into, gradients, fills, styled text drawn from a modifiable copy, data cells, one-row scrolling of the data area,
// dotted, inset and raised frames, and the record-selector arrow.
#pragma once

#include <string_view>

#include "win32/win32.h"

namespace pv::gui {

// A memory device context of the window's client size with its bitmap selected.
struct OffscreenBuffer {
  HWND window = nullptr;
  HDC target = nullptr;
  HDC memory = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};
OffscreenBuffer beginOffscreen(HWND window, HDC target);
// Copies the buffer to its target and frees the memory context and bitmap.
void endOffscreen(const OffscreenBuffer& buffer);

// Fills `rect` with at most 100 solid bands stepping linearly from `from` to `to`; `vertical`
// steps from top to bottom, otherwise from left to right.
void paintGradient(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical);

// DrawText on a copy of `text` with room for four more bytes (DT_MODIFYSTRING may append).
int drawTextCopy(HDC dc, std::string_view text, RECT rect, UINT format);

// A solid fill with a brush made and deleted for it.
void fillSolid(HDC dc, const RECT& rect, COLORREF color);

// Text in a font and colour, on a background colour or transparently (back null); the device
// context is left as it was. Blanks at the end of a left-aligned single line are left out.
void drawStyledText(HDC dc, std::string_view text, const RECT& rect, HFONT font, COLORREF color,
                    const COLORREF* back, UINT format);

// Where and how a data cell's text goes: between x `left` and `right`, in a font, colour and
// DrawText format.
struct CellText {
  int left, right;
  HFONT font;
  COLORREF color;
  UINT format;
};
// A data cell: `cell` filled with `back`, the text drawn transparently inside it, 2 pixels in
// from its top and bottom.
void drawCell(HDC dc, const RECT& cell, COLORREF back, std::string_view text, const CellText& how);

// Scrolls the whole rows between header and footer by one row: up for a positive direction;
// only left of x `right` when that is above 0.
void scrollDataRows(HWND window, int direction, int rowHeight, int headerHeight, int footerHeight, int right = 0);

// Frames drawn with single pixel lines; the rectangle's right and bottom edges are inclusive.
void frameDotted(HDC dc, const RECT& rect);
void frameSolid(HDC dc, const RECT& rect, COLORREF color);
void frameInset(HDC dc, const RECT& rect);
void frameRaised(HDC dc, const RECT& rect);

// The record-selector arrow: 9 x 14 pixels, black on white.
HBITMAP makeRecordArrow();
// The arrow's black pixels drawn straight at (x, y): what the bitmap drawn transparently gives.
void drawRecordArrow(HDC dc, int x, int y);
constexpr int kArrowWidth = 9;
constexpr int kArrowHeight = 14;
// Draws a bitmap at (x, y); when `transparent`, pixels of its top-left colour are left out.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, bool transparent);

}  // namespace pv::gui

// GDI: object counts that prove nothing leaks, selection rules, and what the drawing calls put
// into the backing store (pixels of the recording canvas and its text log).
#include "test_support.h"

namespace pv::win32::test {
namespace {

using Gdi = LayerTest;

TEST_F(Gdi, ObjectsAreCountedUntilDeleted) {
  size_t base = pv::win32::testing::gdiObjectCount();
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  HFONT font = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 10, 10);
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), base + 4);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  HGDIOBJ oldFont = SelectObject(mem, font);
  EXPECT_FALSE(DeleteObject(bmp)) << "still selected";
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, bmp), nullptr) << "a bitmap is in one memory DC at a time";
  DeleteDC(other);
  SelectObject(mem, oldBmp);
  SelectObject(mem, oldFont);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  LOGFONTA lf;
  EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(brush), static_cast<HGDIOBJ>(font),
                    static_cast<HGDIOBJ>(bmp)})
    EXPECT_TRUE(DeleteObject(o));
  EXPECT_FALSE(DeleteObject(pen)) << "already gone";
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects survive deletion";
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), base);
  EXPECT_EQ(pv::win32::testing::deviceContextCount(), 0u);
}

TEST_F(Gdi, PaintingCyclesLeaveNoContextsOrObjectsBehind) {
  HWND top = topLevel();
  pv::win32::testing::runUntilIdle();
  size_t objects = pv::win32::testing::gdiObjectCount();
  for (int i = 0; i < 20; ++i) {
    InvalidateRect(top, nullptr, TRUE);
    pv::win32::testing::runUntilIdle();
  }
  EXPECT_EQ(pv::win32::testing::deviceContextCount(), 0u);
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), objects);
}

class Drawing : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    top = topLevel("d", WS_POPUP | WS_VISIBLE);
    pv::win32::testing::runUntilIdle();
    dc = GetDC(top);
  }
  void TearDown() override {
    ReleaseDC(top, dc);
    LayerTest::TearDown();
  }
  RecordingCanvas& store() {
    return static_cast<RecordingCanvas&>(backend->surfaceCanvas(backend->surfaces.begin()->first));
  }
  HWND top = nullptr;
  HDC dc = nullptr;
};

TEST_F(Drawing, LinesRectanglesAndFills) {
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ oldPen = SelectObject(dc, red), oldBrush = SelectObject(dc, blue);
  MoveToEx(dc, -2000000000, 3, nullptr);
  LineTo(dc, 2000000000, 3);  // walks only the visible part
  EXPECT_EQ(GetPixel(dc, 100, 3), RGB(255, 0, 0));
  MoveToEx(dc, 0, 5, nullptr);
  LineTo(dc, 10, 5);
  EXPECT_EQ(GetPixel(dc, 9, 5), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 10, 5), RGB(255, 255, 255)) << "the end point is left out";
  MoveToEx(dc, 40, 0, nullptr);
  LineTo(dc, 44, 4);
  EXPECT_EQ(GetPixel(dc, 42, 2), RGB(255, 0, 0)) << "diagonal";
  EXPECT_EQ(GetPixel(dc, 44, 4), RGB(255, 255, 255));
  Rectangle(dc, 20, 20, 30, 30);
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 29, 29), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 25, 25), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 30, 30), RGB(255, 255, 255));
  RECT r{40, 40, 50, 50};
  FrameRect(dc, &r, blue);
  EXPECT_EQ(GetPixel(dc, 45, 40), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 45, 45), RGB(255, 255, 255));
  InvertRect(dc, &r);
  EXPECT_EQ(GetPixel(dc, 45, 45), RGB(0, 0, 0));
  RECT face{60, 0, 70, 10};
  FillRect(dc, &face, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(GetPixel(dc, 65, 5), GetSysColor(COLOR_BTNFACE));
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(Drawing, MemoryBitmapsBlitIntoTheWindow) {
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 20, 10);
  HGDIOBJ old = SelectObject(mem, bmp);
  PatBlt(mem, 0, 0, 20, 10, BLACKNESS);
  SetPixel(mem, 3, 3, RGB(0, 255, 0));
  BitBlt(dc, 100, 100, 20, 10, mem, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(dc, 103, 103), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 119, 109), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 120, 109), RGB(255, 255, 255));
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST_F(Drawing, TextIsLaidOutByTheDrawTextRules) {
  SetBkColor(dc, RGB(0, 255, 255));
  RECT cell{0, 0, 100, 30};
  ExtTextOutA(dc, 2, 2, ETO_OPAQUE | ETO_CLIPPED, &cell, "Hi", 2, nullptr);
  EXPECT_EQ(GetPixel(dc, 90, 25), RGB(0, 255, 255)) << "ETO_OPAQUE fills the rectangle";
  store().log.clear();
  RECT box{0, 100, 100, 130};
  DrawTextA(dc, "abc", -1, &box, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
  ASSERT_EQ(store().log.size(), 1u);
  EXPECT_EQ(store().log[0], "text 76 107 'abc'");  // 100 - 3 * 8, 100 + (30 - 16) / 2
  RECT calc{0, 0, 40, 0};
  int height = DrawTextA(dc, "one two three", -1, &calc, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(height, 48) << "three lines of 16 pixels";
  EXPECT_EQ(calc.bottom, 48);
  EXPECT_EQ(calc.right, 40) << "the widest line";
  // Wrapping drops leading blanks and the last trailing blank, whether the text fits or not.
  store().log.clear();
  RECT wide{0, 0, 200, 100};
  EXPECT_EQ(DrawTextA(dc, "  one  two  ", -1, &wide, DT_WORDBREAK), 16) << "a text that fits is one line";
  ASSERT_EQ(store().log.size(), 1u);
  EXPECT_EQ(store().log[0], "text 0 0 'one  two '");
  store().log.clear();
  RECT narrow{0, 0, 40, 100};
  EXPECT_EQ(DrawTextA(dc, "  one  two  ", -1, &narrow, DT_WORDBREAK), 32);
  ASSERT_EQ(store().log.size(), 2u);
  EXPECT_EQ(store().log[0], "text 0 0 'one '");
  EXPECT_EQ(store().log[1], "text 0 16 'two '");
  SIZE size;
  GetTextExtentPoint32A(dc, "four", 4, &size);
  EXPECT_EQ(size.cx, 32);
  EXPECT_EQ(size.cy, 16);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(tm.tmAveCharWidth, 8);
}

TEST_F(Drawing, ChildContextsAreClippedToTheChild) {
  HWND c = child(top, 1, 10, 10, 20, 20);
  pv::win32::testing::runUntilIdle();
  HDC cdc = GetDC(c);
  RECT all{-50, -50, 500, 500};
  FillRect(cdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(c, cdc);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 29, 29), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 30, 30), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 9, 9), RGB(255, 255, 255));
}

TEST_F(Drawing, SystemColoursMetricsAndCaps) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(reinterpret_cast<HDC>(uintptr_t(0x999)), LOGPIXELSY), 0);
  EXPECT_EQ(SetTextColor(reinterpret_cast<HDC>(uintptr_t(0x999)), 0), CLR_INVALID);
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

TEST_F(Drawing, SavedStatesOriginsAndClipping) {
  int saved = SaveDC(dc);
  SetViewportOrgEx(dc, 100, 100, nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  IntersectClipRect(dc, 0, 0, 10, 10);
  RECT big{0, 0, 50, 50};
  FillRect(dc, &big, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RestoreDC(dc, saved);
  EXPECT_EQ(GetTextColor(dc), 0u);
  EXPECT_EQ(GetPixel(dc, 105, 105), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 115, 115), RGB(255, 255, 255)) << "clipped to the 10 x 10 box";
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255)) << "drawn at the viewport origin";
  EXPECT_FALSE(RestoreDC(dc, 5));
}

TEST_F(Drawing, FocusRectanglesAndInvertingCopiesUndoThemselves) {
  RECT r{10, 10, 30, 20};
  DrawFocusRect(dc, &r);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 11, 10), RGB(255, 255, 255)) << "dotted";
  DrawFocusRect(dc, &r);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255));
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 4, 4);
  HGDIOBJ old = SelectObject(mem, bmp);
  PatBlt(mem, 0, 0, 4, 4, WHITENESS);
  BitBlt(dc, 50, 50, 4, 4, mem, 0, 0, SRCINVERT);
  EXPECT_EQ(GetPixel(dc, 51, 51), RGB(0, 0, 0));
  BitBlt(dc, 50, 50, 4, 4, mem, 0, 0, SRCINVERT);
  EXPECT_EQ(GetPixel(dc, 51, 51), RGB(255, 255, 255));
  BITMAP info;
  GetObjectA(bmp, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST_F(Drawing, BitmapsFromBits) {
  const unsigned char arrow[] = {0x80, 0, 0x40, 0};  // 2 rows of 16 pixels: bits padded to a word
  HBITMAP mono = CreateBitmap(9, 2, 1, 1, arrow);
  const unsigned char colour[] = {10, 20, 30, 0, 1, 2, 3, 0};
  HBITMAP rgb = CreateBitmap(2, 1, 1, 32, colour);
  EXPECT_EQ(CreateBitmap(2, 1, 1, 8, colour), nullptr);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, mono);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(mem, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(mem, 1, 1), RGB(255, 255, 255));
  SelectObject(mem, rgb);
  EXPECT_EQ(GetPixel(mem, 0, 0), RGB(30, 20, 10));
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(mono);
  DeleteObject(rgb);
}

TEST_F(Drawing, TextAlignmentAndMnemonicUnderline) {
  SetTextAlign(dc, TA_CENTER);
  store().log.clear();
  TextOutA(dc, 100, 0, "abcd", 4);
  EXPECT_EQ(store().log.back(), "text 84 0 'abcd'");
  SetTextAlign(dc, TA_LEFT);
  RECT r{0, 50, 200, 70};
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, "a&bc", -1, &r, DT_LEFT | DT_SINGLELINE);
  EXPECT_EQ(store().log.back(), "text 0 50 'abc'");
  EXPECT_EQ(GetPixel(dc, 10, 50 + 13 + 1), RGB(0, 0, 0)) << "the b is underlined";
  EXPECT_EQ(GetPixel(dc, 2, 50 + 13 + 1), RGB(255, 255, 255));
  EXPECT_EQ(TextOutA(dc, 0, 0, nullptr, 3), FALSE);
  EXPECT_EQ(DrawTextA(dc, nullptr, 3, &r, 0), 0);
}

}  // namespace
}  // namespace pv::win32::test

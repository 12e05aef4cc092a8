// The browse grid's painting helpers on the recording backend: pixels they leave in a window,
// no device context or GDI object left behind, and the one-row scroll of the data area.
#include <gtest/gtest.h>

#include "win32/testing.h"
#include "win32/win32.h"
#include "xbrowse_paint.h"

namespace pv::gui {
namespace {

class GridPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::win32::testing::useRecordingBackend();
    WNDCLASSA wc{0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Plain"};
    ASSERT_TRUE(RegisterClassA(&wc));
    window = CreateWindowExA(0, "Plain", "p", WS_POPUP | WS_VISIBLE, 0, 0, 200, 120, nullptr, nullptr,
                             nullptr, nullptr);
    pv::win32::testing::runUntilIdle();
    objects = pv::win32::testing::gdiObjectCount();
    dc = GetDC(window);
  }
  void TearDown() override {
    ReleaseDC(window, dc);
    EXPECT_EQ(pv::win32::testing::deviceContextCount(), 0u);
    EXPECT_EQ(pv::win32::testing::gdiObjectCount(), objects) << "GDI objects left behind";
    pv::win32::testing::reset();
  }
  void fill(RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  HWND window = nullptr;
  HDC dc = nullptr;
  size_t objects = 0;
};

TEST_F(GridPaint, OffscreenBufferReachesTheWindowOnlyAtTheEnd) {
  fill(RECT{0, 0, 200, 120}, RGB(255, 255, 255));
  OffscreenBuffer b = beginOffscreen(window, dc);
  ASSERT_NE(b.memory, nullptr);
  fill(RECT{0, 0, 200, 120}, RGB(255, 255, 255));
  RECT r{10, 10, 20, 20};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(b.memory, &r, red);
  DeleteObject(red);
  EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 255, 255)) << "not yet copied";
  endOffscreen(b);
  EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0));
}

TEST_F(GridPaint, VerticalGradientStepsFromTopToBottom) {
  paintGradient(dc, RECT{0, 0, 10, 50}, RGB(0, 0, 0), RGB(200, 100, 0), true);
  EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 9, 0), GetPixel(dc, 0, 0)) << "one colour across each band";
  COLORREF middle = GetPixel(dc, 5, 25), last = GetPixel(dc, 5, 49);
  EXPECT_EQ(GetRValue(middle), 100);
  EXPECT_EQ(GetGValue(middle), 50);
  EXPECT_GE(GetRValue(last), 195);
  EXPECT_LT(GetRValue(last), 200) << "the last band stops one step short of the end colour";
  EXPECT_EQ(GetPixel(dc, 5, 50), GetPixel(dc, 50, 50)) << "nothing outside the rectangle";
}

TEST_F(GridPaint, LongGradientsUseAHundredBands) {
  paintGradient(dc, RECT{0, 0, 200, 2}, RGB(0, 0, 0), RGB(255, 255, 255), false);
  EXPECT_EQ(GetPixel(dc, 0, 0), GetPixel(dc, 1, 0)) << "two pixels per band";
  EXPECT_NE(GetPixel(dc, 1, 0), GetPixel(dc, 2, 0));
}

TEST_F(GridPaint, EmptyGradientDrawsNothing) {
  fill(RECT{0, 0, 200, 120}, RGB(1, 2, 3));
  paintGradient(dc, RECT{10, 10, 10, 40}, RGB(0, 0, 0), RGB(255, 255, 255), true);
  paintGradient(dc, RECT{10, 40, 30, 10}, RGB(0, 0, 0), RGB(255, 255, 255), true);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(1, 2, 3));
}

TEST_F(GridPaint, TextIsDrawnFromACopy) {
  std::string text = "Kunde";
  EXPECT_GT(drawTextCopy(dc, text, RECT{0, 0, 100, 20}, DT_SINGLELINE | DT_VCENTER | DT_MODIFYSTRING), 0);
  EXPECT_EQ(text, "Kunde");
  EXPECT_EQ(drawTextCopy(dc, "", RECT{0, 0, 100, 20}, DT_SINGLELINE), drawTextCopy(dc, "", RECT{0, 0, 100, 20}, DT_SINGLELINE));
}

TEST_F(GridPaint, FramesColourTheirEdges) {
  fill(RECT{0, 0, 200, 120}, RGB(0, 128, 0));
  frameInset(dc, RECT{10, 10, 30, 20});
  EXPECT_EQ(GetPixel(dc, 10, 15), RGB(128, 128, 128)) << "left edge in shadow";
  EXPECT_EQ(GetPixel(dc, 20, 10), RGB(128, 128, 128)) << "top edge in shadow";
  EXPECT_EQ(GetPixel(dc, 30, 15), RGB(255, 255, 255)) << "right edge lit";
  EXPECT_EQ(GetPixel(dc, 20, 20), RGB(255, 255, 255)) << "bottom edge lit";
  EXPECT_EQ(GetPixel(dc, 20, 15), RGB(0, 128, 0)) << "inside untouched";
  frameRaised(dc, RECT{40, 10, 60, 20});
  EXPECT_EQ(GetPixel(dc, 40, 15), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 60, 15), RGB(128, 128, 128));
  frameDotted(dc, RECT{70, 10, 110, 20});
  int black = 0;
  for (int x = 70; x <= 110; ++x) black += GetPixel(dc, x, 10) == RGB(0, 0, 0);
  EXPECT_GT(black, 5);
  EXPECT_LT(black, 41) << "dotted, not solid";
}

TEST_F(GridPaint, ArrowIsDrawnWithoutItsBackground) {
  fill(RECT{0, 0, 200, 120}, RGB(231, 242, 255));
  HBITMAP arrow = makeRecordArrow();
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(arrow, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, kArrowWidth);
  EXPECT_EQ(info.bmHeight, kArrowHeight);
  drawBitmap(dc, arrow, 10, 20, true);
  EXPECT_EQ(GetPixel(dc, 12, 27), RGB(0, 0, 0)) << "the arrow's tip column";
  EXPECT_EQ(GetPixel(dc, 15, 26), RGB(0, 0, 0)) << "the arrow's point";
  EXPECT_EQ(GetPixel(dc, 10, 20), RGB(231, 242, 255)) << "background left out";
  EXPECT_EQ(GetPixel(dc, 18, 33), RGB(231, 242, 255));
  drawBitmap(dc, arrow, 40, 20, false);
  EXPECT_EQ(GetPixel(dc, 40, 20), RGB(255, 255, 255)) << "opaque copy keeps the white";
  DeleteObject(arrow);
}

TEST_F(GridPaint, ArrowDrawnStraightMatchesTheBitmapDrawnTransparently) {
  fill(RECT{0, 0, 200, 120}, RGB(231, 242, 255));
  HBITMAP arrow = makeRecordArrow();
  drawBitmap(dc, arrow, 10, 20, true);
  drawRecordArrow(dc, 40, 20);
  for (int y = 18; y < 20 + kArrowHeight + 2; ++y)
    for (int x = 8; x < 10 + kArrowWidth + 2; ++x)
      ASSERT_EQ(GetPixel(dc, x, y), GetPixel(dc, x + 30, y)) << "at " << x << ", " << y;
  DeleteObject(arrow);
}

TEST_F(GridPaint, OneRowScrollMovesOnlyWholeDataRows) {
  // header 20, rows of 10: rows at y 20, 30, ... ; a footer of 15 leaves 85 pixels = 8 rows
  fill(RECT{0, 0, 200, 120}, RGB(255, 255, 255));
  for (int row = 0; row < 10; ++row) fill(RECT{0, 20 + row * 10, 200, 30 + row * 10}, RGB(row * 20, 0, 0));
  fill(RECT{0, 0, 200, 20}, RGB(0, 0, 255));
  scrollDataRows(window, 1, 10, 20, 15);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255)) << "header stays";
  EXPECT_EQ(GetPixel(dc, 5, 25), RGB(20, 0, 0)) << "row 2 moved to row 1";
  EXPECT_EQ(GetPixel(dc, 5, 85), RGB(140, 0, 0)) << "row 8 moved to row 7";
  EXPECT_EQ(GetPixel(dc, 5, 105), RGB(160, 0, 0)) << "below the whole rows nothing moves";
  scrollDataRows(window, -1, 10, 20, 15);
  EXPECT_EQ(GetPixel(dc, 5, 35), RGB(20, 0, 0)) << "down again";
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
}

}  // namespace
}  // namespace pv::gui

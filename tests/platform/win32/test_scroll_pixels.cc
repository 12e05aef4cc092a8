// Scrolling window contents on the Qt backend (offscreen): after ScrollWindow/ScrollWindowEx
// of a whole window, of a part of it, with a child window inside, and several scrolls before
// one paint, every way of reading the pixels (GetPixel, BitBlt from the window, a screenshot,
// the shown widget) sees what a plain copy of the pixels would have left, and drawing after the
// scrolls lands where it is drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "win32/testing.h"
#include "win32/win32.h"

namespace {

constexpr int kWidth = 120, kHeight = 90;
constexpr COLORREF kPaintColour = RGB(0, 160, 240), kChildColour = RGB(250, 200, 0);

int paints = 0;
RECT lastPaint{};

// Paints its update rectangle in one colour (the child class: in another).
LRESULT CALLBACK paintingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) return 1;
  if (m != WM_PAINT) return DefWindowProcA(h, m, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  ++paints;
  lastPaint = ps.rcPaint;
  char name[32] = {};
  GetClassNameA(h, name, sizeof name);
  HBRUSH brush = CreateSolidBrush(std::string(name) == "ScrollChild" ? kChildColour : kPaintColour);
  FillRect(dc, &ps.rcPaint, brush);
  DeleteObject(brush);
  EndPaint(h, &ps);
  return 0;
}

// What the window's client area should show, pixel by pixel.
struct Picture {
  std::vector<COLORREF> pixels = std::vector<COLORREF>(kWidth * kHeight);
  COLORREF& at(int x, int y) { return pixels[static_cast<size_t>(y * kWidth + x)]; }
  // A plain copy of `area` onto itself moved by (dx, dy).
  void scroll(const RECT& area, int dx, int dy) {
    Picture before = *this;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (y - dy >= area.top && y - dy < area.bottom && x - dx >= area.left && x - dx < area.right)
          at(x, y) = before.at(x - dx, y - dy);
  }
  void fill(const RECT& r, COLORREF c) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) at(x, y) = c;
  }
};

class ScrollPixels : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::win32::testing::useQtBackend();
    for (const char* name : {"ScrollTest", "ScrollChild"}) {
      WNDCLASSA c{0, paintingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, name};
      RegisterClassA(&c);
    }
    paints = 0;
  }
  void TearDown() override { pv::win32::testing::reset(); }

  // A top-level window painted pixel by pixel with a pattern that tells every pixel apart.
  HWND patterned(int x, Picture& shown) {
    HWND h = CreateWindowExA(0, "ScrollTest", "", WS_POPUP | WS_VISIBLE, x, 0, kWidth, kHeight, nullptr, nullptr,
                             nullptr, nullptr);
    pv::win32::testing::runUntilIdle();
    HDC dc = GetDC(h);
    for (int py = 0; py < kHeight; ++py)
      for (int px = 0; px < kWidth; ++px) {
        shown.at(px, py) = RGB(py * 2, px * 2, (px + py) % 7 * 30);
        SetPixel(dc, px, py, shown.at(px, py));
      }
    ReleaseDC(h, dc);
    paints = 0;
    return h;
  }

  // Every way of reading the window's pixels agrees with `expected`; the window DC's pixels are
  // read first, while scrolled rows may still be stored out of place.
  static void expectShows(HWND h, Picture& expected, const char* what) {
    SCOPED_TRACE(what);
    HDC dc = GetDC(h);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) wrong += GetPixel(dc, x, y) != expected.at(x, y);
    EXPECT_EQ(wrong, 0) << "GetPixel";
    expectWidgetShows(expected);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) wrong += GetPixel(memory, x, y) != expected.at(x, y);
    EXPECT_EQ(wrong, 0) << "BitBlt from the window";
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(h, dc);
    ASSERT_TRUE(pv::win32::testing::grabWindow(h, "scroll_pixels_grab.png"));
    QImage grab("scroll_pixels_grab.png");
    wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) wrong += grab.pixel(x, y) != qRgb(GetRValue(expected.at(x, y)),
                                                                         GetGValue(expected.at(x, y)), GetBValue(expected.at(x, y)));
    EXPECT_EQ(wrong, 0) << "screenshot";
  }

  // The widget that shows the window, drawn as the desktop would draw it.
  static void expectWidgetShows(Picture& expected) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!w->isVisible() || w->width() != kWidth || w->height() != kHeight) continue;
      QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          COLORREF c = expected.at(x, y);
          wrong += shown.pixel(x, y) != qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
      EXPECT_EQ(wrong, 0) << "shown widget";
      return;
    }
    ADD_FAILURE() << "no widget shows the window";
  }

  // Draws on the window and on a second one given the expected pixels directly; what the second
  // one then shows is expected of the first.
  void drawOnBoth(HWND h, Picture& expected, const std::function<void(HDC)>& draw) {
    Picture unused;
    HWND reference = patterned(kWidth + 10, unused);
    HDC dc = GetDC(reference);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) SetPixel(dc, x, y, expected.at(x, y));
    draw(dc);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) expected.at(x, y) = GetPixel(dc, x, y);
    ReleaseDC(reference, dc);
    DestroyWindow(reference);
    dc = GetDC(h);
    draw(dc);
    ReleaseDC(h, dc);
  }

  static void scrollEx(HWND h, Picture& expected, const RECT* area, int dx, int dy) {
    ScrollWindowEx(h, dx, dy, area, area, nullptr, nullptr, 0);
    expected.scroll(area ? *area : RECT{0, 0, kWidth, kHeight}, dx, dy);
  }
};

TEST_F(ScrollPixels, WholeWindowScrollsThenReads) {
  Picture expected;
  HWND h = patterned(0, expected);
  scrollEx(h, expected, nullptr, 0, -7);
  expectShows(h, expected, "up 7");
  for (int dy : {3, -20, -1, 44, -45, 46, -9}) scrollEx(h, expected, nullptr, 0, dy);
  expectShows(h, expected, "up and down, one of them more than half the height");
  scrollEx(h, expected, nullptr, 0, -5);
  scrollEx(h, expected, nullptr, 6, 2);
  scrollEx(h, expected, nullptr, 0, 4);
  expectShows(h, expected, "a scroll sideways between vertical ones");
}

TEST_F(ScrollPixels, PartOfAWindowScrollsAndDrawingLandsWhereDrawn) {
  Picture expected;
  HWND h = patterned(0, expected);
  const RECT band{10, 12, 90, 70}, other{20, 5, 60, 80};
  for (int dy : {-5, -5, 3, -11}) scrollEx(h, expected, &band, 0, dy);
  expectShows(h, expected, "a band scrolled four times");
  // Drawing across the band's edges, plain and through the painter (a slanted line, text).
  drawOnBoth(h, expected, [](HDC d) {
    RECT across{0, 30, kWidth, 40};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(d, &across, red);
    DeleteObject(red);
    SetPixel(d, 50, 60, RGB(1, 2, 3));
    RECT inverted{5, 50, 100, 55};
    InvertRect(d, &inverted);
    MoveToEx(d, 0, 0, nullptr);
    LineTo(d, kWidth - 1, kHeight - 1);
    SetBkMode(d, TRANSPARENT);
    TextOutA(d, 12, 60, "Wg", 2);
  });
  scrollEx(h, expected, &band, 0, 8);
  scrollEx(h, expected, &other, 0, -3);
  scrollEx(h, expected, &band, 0, -2);
  expectShows(h, expected, "drawn over, then scrolled in two overlapping bands");
}

TEST_F(ScrollPixels, DrawingOverScrolledRowsLandsWhereDrawn) {
  Picture expected;
  HWND h = patterned(0, expected);
  scrollEx(h, expected, nullptr, 0, -30);
  // Text and a slanted line on rows stored together, then text across the rows where the
  // stored band wraps.
  drawOnBoth(h, expected, [](HDC d) {
    SetBkMode(d, TRANSPARENT);
    SetTextColor(d, RGB(200, 0, 0));
    TextOutA(d, 30, 20, "Wg", 2);
    MoveToEx(d, 40, 10, nullptr);
    LineTo(d, 70, 30);
  });
  expectShows(h, expected, "drawn on rows stored together");
  scrollEx(h, expected, nullptr, 0, -30);
  drawOnBoth(h, expected, [](HDC d) {
    SetBkMode(d, TRANSPARENT);
    TextOutA(d, 30, 50, "Wg", 2);
  });
  expectShows(h, expected, "drawn across the wrap");
}

TEST_F(ScrollPixels, ChildWindowMovesWithTheScrolledPixels) {
  Picture expected;
  HWND h = patterned(0, expected);
  HWND child = CreateWindowExA(0, "ScrollChild", "", WS_CHILD | WS_VISIBLE, 30, 30, 40, 20, h, nullptr, nullptr,
                               nullptr);
  pv::win32::testing::runUntilIdle();
  expected.fill(RECT{30, 30, 70, 50}, kChildColour);
  paints = 0;
  ScrollWindow(h, 0, -10, nullptr, nullptr);
  expected.scroll(RECT{0, 0, kWidth, kHeight}, 0, -10);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.top, 20) << "the child moved with the contents";
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(paints, 1) << "only the uncovered strip of the parent is painted";
  EXPECT_EQ(lastPaint.top, kHeight - 10);
  expected.fill(RECT{0, kHeight - 10, kWidth, kHeight}, kPaintColour);
  expectShows(h, expected, "scrolled with its child");
  // A part of the window that cuts through the child: its pixels move, the window stays.
  const RECT part{0, 25, 50, 60};
  scrollEx(h, expected, &part, 0, 4);
  GetWindowRect(child, &r);
  EXPECT_EQ(r.top, 20);
  expectShows(h, expected, "a part through the child");
}

// A moved thumb redraws its bar only; the frame then looks as a redraw of the whole frame
// leaves it.
TEST_F(ScrollPixels, MovedThumbRedrawsItsBar) {
  Picture unused;
  HWND h = patterned(0, unused);
  HWND child = CreateWindowExA(WS_EX_CLIENTEDGE, "ScrollChild", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                               5, 5, 100, 80, h, nullptr, nullptr, nullptr);
  SetScrollRange(child, SB_VERT, 0, 10000, TRUE);
  SetScrollRange(child, SB_HORZ, 0, 50, TRUE);
  pv::win32::testing::runUntilIdle();
  auto shot = [&](const char* name) {
    EXPECT_TRUE(pv::win32::testing::grabWindow(child, name));
    return QImage(name);
  };
  QImage before = shot("thumb_before.png");
  SetScrollPos(child, SB_VERT, 6000, TRUE);
  SetScrollPos(child, SB_HORZ, 25, TRUE);
  QImage moved = shot("thumb_moved.png");
  RedrawWindow(child, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  QImage redrawn = shot("thumb_redrawn.png");
  EXPECT_FALSE(moved == before) << "the thumbs moved";
  EXPECT_TRUE(moved == redrawn) << "compare thumb_moved.png with thumb_redrawn.png";
}

TEST_F(ScrollPixels, SeveralScrollsThenOnePaint) {
  Picture expected;
  HWND h = patterned(0, expected);
  const RECT band{0, 10, 100, 80};
  for (int i = 0; i < 3; ++i) {
    ScrollWindowEx(h, 0, -4, &band, &band, nullptr, nullptr, SW_INVALIDATE);
    expected.scroll(band, 0, -4);
  }
  RECT update;
  ASSERT_TRUE(GetUpdateRect(h, &update, FALSE));
  EXPECT_EQ(update.top, 68);
  EXPECT_EQ(update.bottom, 80);
  EXPECT_EQ(update.right, 100);
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(paints, 1);
  expected.fill(RECT{0, 68, 100, 80}, kPaintColour);
  expectShows(h, expected, "three scrolls and one paint");
}

}  // namespace

// Rendering on the Qt backend (offscreen): the demonstration dialog built from its resource
// script with every control kind, compared with a stored reference image; the grid window's
// cells, lines and text; screen grabs; and the font mapping.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "demo_dialog.h"
#include "grid_window.h"
#include "win32/testing.h"
#include "win32/win32.h"

namespace {

using pv::win32::testing::grabScreen;
using pv::win32::testing::grabWindow;

class Render : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::win32::testing::useQtBackend();
    pv::win32::demo::registerGridClass();
  }
  void TearDown() override { pv::win32::testing::reset(); }
};

QRgb rgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Pixels whose colour differs from the reference by more than a small tolerance.
double differingShare(const QImage& a, const QImage& b) {
  long differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 40 || std::abs(qGreen(p) - qGreen(q)) > 40 || std::abs(qBlue(p) - qBlue(q)) > 40)
        ++differing;
    }
  return double(differing) / (double(a.width()) * a.height());
}

TEST_F(Render, DemoDialogMatchesTheReferenceImage) {
  const std::string actual = "demo_dialog_actual.png";
  bool grabbed = false;
  pv::win32::testing::whenIdle([&] {
    HWND dialog = GetActiveWindow();
    grabbed = grabWindow(dialog, actual);
    EndDialog(dialog, IDOK);
  });
  ASSERT_EQ(DialogBoxParamA(nullptr, "DEMO", nullptr, pv::win32::demo::demoDialogProc, 0), IDOK);
  ASSERT_TRUE(grabbed);
  QImage got(QString::fromStdString(actual));
  QImage reference(PV_TEST_DATA "/demo_dialog_ref.png");
  ASSERT_FALSE(reference.isNull()) << "no reference image; this run's rendering is " << actual;
  ASSERT_EQ(got.size(), reference.size());
  EXPECT_LT(differingShare(got.convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32)),
            0.002)
      << "compare " << actual << " with the reference";
}

TEST_F(Render, GridWindowPaintsCellsLinesAndText) {
  using namespace pv::win32::demo;
  HWND grid = CreateWindowExA(0, "PvGrid", "grid", WS_POPUP | WS_VISIBLE, 0, 0, kGridColumns * kCellWidth,
                              (kGridRows + 1) * kRowHeight, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(grid);
  size_t objects = pv::win32::testing::gdiObjectCount();
  UpdateWindow(grid);
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), objects) << "every pen, brush, font and bitmap was deleted";
  EXPECT_EQ(pv::win32::testing::deviceContextCount(), 0u);
  ASSERT_TRUE(grabWindow(grid, "grid_actual.png"));
  QImage img("grid_actual.png");
  ASSERT_EQ(img.width(), kGridColumns * kCellWidth);
  EXPECT_EQ(img.pixel(2, 2), rgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(img.pixel(2, kRowHeight + 2), rgb(cellColour(1, 0)));
  EXPECT_EQ(img.pixel(2 * kCellWidth + 2, kRowHeight + 2), rgb(cellColour(1, 2)));
  EXPECT_EQ(img.pixel(2 * kCellWidth + 2, 2 * kRowHeight + 2), rgb(cellColour(2, 2)));
  EXPECT_EQ(img.pixel(30, kRowHeight - 1), qRgb(0, 0, 0)) << "row line";
  EXPECT_EQ(img.pixel(kCellWidth - 1, 100), qRgb(0, 0, 0)) << "column line";
  auto count = [&](int row, int column, QRgb colour) {
    int n = 0;
    for (int y = row * kRowHeight + 1; y < (row + 1) * kRowHeight - 1; ++y)
      for (int x = column * kCellWidth + 1; x < (column + 1) * kCellWidth - 1; ++x) n += img.pixel(x, y) == colour;
    return n;
  };
  EXPECT_GT(count(1, 3, qRgb(0, 0, 0)), 8) << "black text in a light cell";
  EXPECT_GT(count(1, 0, qRgb(255, 255, 255)), 8) << "white text in a green cell";
  EXPECT_GT(count(0, 5, qRgb(0, 0, 0)), 8) << "header text";
}

TEST_F(Render, ScreenGrabShowsTopLevelWindowsOnTheDesktop) {
  HWND w = CreateWindowExA(0, "PvGrid", "", WS_POPUP | WS_VISIBLE, 50, 40, 140, 64, nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(w);
  ASSERT_TRUE(grabScreen("screen_actual.png"));
  QImage img("screen_actual.png");
  EXPECT_EQ(img.width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(img.pixel(5, 5), rgb(GetSysColor(COLOR_DESKTOP)));
  EXPECT_EQ(img.pixel(52, 42), rgb(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(img.pixel(52, 40 + 16 + 2), rgb(pv::win32::demo::cellColour(1, 0)));
}

TEST_F(Render, WindowsFontsFindMetricCompatibleFaces) {
  HDC dc = GetDC(nullptr);
  auto width = [&](const char* face) {
    HFONT f = CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, face);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE s;
    GetTextExtentPoint32A(dc, "Rechnungs-\xDC" "bersicht", 19, &s);
    SelectObject(dc, old);
    DeleteObject(f);
    return s.cx;
  };
  EXPECT_EQ(width("Arial"), width("Liberation Sans"));
  EXPECT_EQ(width("MS Sans Serif"), width("Liberation Sans"));
  EXPECT_GT(width("Arial"), 100);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  EXPECT_GE(tm.tmHeight, 14);
  ReleaseDC(nullptr, dc);
}

}  // namespace

namespace {

TEST_F(Render, MessageBoxesShowTextIconAndButtons) {
  bool grabbed = false;
  HWND box = nullptr;
  pv::win32::testing::whenIdle([&] {
    box = GetActiveWindow();
    grabbed = grabWindow(box, "message_box_actual.png");
    pv::win32::testing::key('N', 'n');
  });
  EXPECT_EQ(MessageBoxA(nullptr, "Sollen die Dateien gel\xF6scht werden?", "Select an option", MB_YESNO | MB_ICONQUESTION),
            IDNO);
  ASSERT_TRUE(grabbed);
  EXPECT_FALSE(IsWindow(box)) << "destroyed after the answer";
  QImage img("message_box_actual.png");
  EXPECT_GT(img.width(), 150);
  EXPECT_GT(img.height(), 50);
}

}  // namespace

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {

QWidget* surfaceTitled(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle() == title) return w;
  return nullptr;
}

TEST_F(Render, MovingTheSurfaceMovesTheWindow) {
  HWND w = CreateWindowExA(0, "PvGrid", "moving", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, nullptr, nullptr, nullptr, nullptr);
  QWidget* surface = surfaceTitled("moving");
  ASSERT_TRUE(surface);
  EXPECT_EQ(surface->geometry(), QRect(10, 10, 100, 60));
  surface->move(200, 150);
  pv::win32::testing::runUntilIdle();
  RECT r;
  GetWindowRect(w, &r);
  QPoint client = surface->mapToGlobal(QPoint(0, 0));
  EXPECT_GE(client.x(), 200);
  EXPECT_EQ(r.left, client.x()) << "a popup without frame: its window is its client area";
  EXPECT_EQ(r.top, client.y());
  EXPECT_EQ(r.right - r.left, 100);
}

TEST_F(Render, QtInputEventsReachTheLayerAsMessages) {
  int result = 0;
  pv::win32::testing::whenIdle([&] {
    HWND dialog = GetActiveWindow();
    QWidget* surface = surfaceTitled("Win32 layer - every control");
    ASSERT_TRUE(surface);
    RECT r;
    GetWindowRect(GetDlgItem(dialog, 100), &r);  // the list box: click its third row
    POINT p{r.left + 10, r.top + 2 + 2 * static_cast<int>(SendDlgItemMessageA(dialog, 100, LB_GETITEMHEIGHT, 0, 0)) + 3};
    ScreenToClient(dialog, &p);
    QPointF at(p.x, p.y);
    QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, surface->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &press);
    QApplication::sendEvent(surface, &release);
  });
  pv::win32::testing::whenIdle([&] {
    HWND dialog = GetActiveWindow();
    result = static_cast<int>(SendDlgItemMessageA(dialog, 100, LB_GETCURSEL, 0, 0));
    char text[32];
    GetDlgItemTextA(dialog, 400, text, sizeof text);
    EXPECT_STREQ(text, "Matrix.xls") << "LBN_SELCHANGE reached the dialog";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    QApplication::sendEvent(surfaceTitled("Win32 layer - every control"), &escape);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "DEMO", nullptr, pv::win32::demo::demoDialogProc, 0), IDCANCEL);
  EXPECT_EQ(result, 2);
}

}  // namespace

namespace {

LRESULT CALLBACK stubBrowse(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_PAINT) return DefWindowProcA(h, m, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  pv::win32::demo::paintGrid(dc, r.right, r.bottom);
  EndPaint(h, &ps);
  return 0;
}

INT_PTR CALLBACK samplesProc(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }

TEST_F(Render, TheApplicationsDialogKeepsItsDialogUnitGeometry) {
  WNDCLASSA wc{CS_DBLCLKS, stubBrowse, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TXBrowse"};
  ASSERT_TRUE(RegisterClassA(&wc));
  pv::win32::testing::whenIdle([] {
    HWND dialog = GetActiveWindow();
    EXPECT_TRUE(grabWindow(dialog, "samples_actual.png"));
    RECT expected{0, 0, 401, 319}, client;
    MapDialogRect(dialog, &expected);
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    RECT button{341, 287, 341 + 50, 287 + 25}, actual;
    MapDialogRect(dialog, &button);
    GetWindowRect(GetDlgItem(dialog, 10), &actual);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(actual.left - origin.x, button.left);
    EXPECT_EQ(actual.bottom - origin.y, button.bottom);
    EndDialog(dialog, 1);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "SAMPLES", nullptr, samplesProc, 0), 1);
}

}  // namespace

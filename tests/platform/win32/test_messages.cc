// The message queue: posting order, WM_QUIT, WM_PAINT generation and coalescing, timers on the
// virtual clock, input turned into messages, and scrolling the window contents.
#include "test_support.h"

namespace pv::win32::test {
namespace {

using Messages = LayerTest;

std::vector<MSG> drain() {
  std::vector<MSG> out;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    out.push_back(m);
    if (m.message == WM_QUIT) break;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return out;
}

TEST_F(Messages, PostedMessagesComeFirstThenQuitThenPaint) {
  HWND h = topLevel();
  drain();
  InvalidateRect(h, nullptr, FALSE);
  PostQuitMessage(3);
  PostMessageA(h, WM_USER + 1, 1, 0);
  PostMessageA(h, WM_USER + 2, 2, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1)) << "PM_NOREMOVE leaves it queued";
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER + 2));
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
}

TEST_F(Messages, InvalidationsCoalesceIntoOnePaint) {
  HWND h = topLevel();
  drain();
  RECT a{10, 10, 20, 20}, b{50, 30, 60, 40};
  InvalidateRect(h, &a, FALSE);
  InvalidateRect(h, &b, TRUE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(h, &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.bottom, 40);
  messageLog().clear();
  std::vector<MSG> got = drain();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(logged(h, {WM_PAINT, WM_ERASEBKGND}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_FALSE(GetUpdateRect(h, nullptr, FALSE));
  InvalidateRect(h, &a, FALSE);
  ValidateRect(h, nullptr);
  EXPECT_TRUE(drain().empty()) << "a validated window gets no WM_PAINT";
}

TEST_F(Messages, ParentsPaintBeforeTheChildrenDrawnOverThem) {
  HWND top = topLevel();
  HWND c = child(top, 1, 10, 10, 40, 40);
  drain();
  RECT r{0, 0, 30, 30};
  InvalidateRect(top, &r, TRUE);
  EXPECT_TRUE(GetUpdateRect(c, nullptr, FALSE)) << "the child lies under the invalid part";
  messageLog().clear();
  drain();
  std::vector<HWND> order;
  for (const Logged& l : messageLog())
    if (l.message == WM_PAINT) order.push_back(l.hwnd);
  EXPECT_EQ(order, (std::vector<HWND>{top, c}));
  InvalidateRect(c, nullptr, FALSE);
  EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
  messageLog().clear();
  UpdateWindow(c);
  EXPECT_EQ(logged(c, {WM_PAINT}).size(), 1u) << "UpdateWindow paints at once";
}

// A job running inside a message handler that pumps messages after every step: the peeks
// repaint a window at most every 16 ms, and the picture held back comes with a later peek.
std::vector<size_t> paintsSeenByJob;
RecordingBackend* jobClock = nullptr;
LRESULT CALLBACK jobProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_USER) return loggingProc(h, m, w, l);
  HWND c = reinterpret_cast<HWND>(l);
  for (int step = 0; step < 3; ++step) {
    InvalidateRect(c, nullptr, FALSE);
    messageLog().clear();
    drain();
    paintsSeenByJob.push_back(logged(c, {WM_PAINT}).size());
  }
  jobClock->processEvents(16);
  messageLog().clear();
  drain();
  paintsSeenByJob.push_back(logged(c, {WM_PAINT}).size());
  return 0;
}

TEST_F(Messages, ABusyJobsPeeksRepaintAWindowAtMostEvery16Ms) {
  WNDCLASSA wc{0, jobProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Job"};
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND top = CreateWindowExA(0, "Job", "job", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  HWND c = child(top, 1, 10, 10, 40, 40);
  drain();
  paintsSeenByJob.clear();
  jobClock = backend;
  backend->processEvents(16);  // the first paint above is long enough ago
  SendMessageA(top, WM_USER, 0, reinterpret_cast<LPARAM>(c));
  EXPECT_EQ(paintsSeenByJob, (std::vector<size_t>{1, 0, 0, 1}));
  InvalidateRect(c, nullptr, FALSE);
  messageLog().clear();
  drain();
  InvalidateRect(c, nullptr, FALSE);
  drain();
  EXPECT_EQ(logged(c, {WM_PAINT}).size(), 2u) << "peeks outside a handler paint every time";
}

int timerCalls = 0;
void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) { timerCalls++; }

TEST_F(Messages, TimersFireOnTheClockAndStopWhenKilled) {
  HWND h = topLevel();
  drain();
  SetTimer(h, 5, 100, nullptr);
  MSG m;
  uint64_t before = backend->nowMs();
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(m.wParam, 5u);
  EXPECT_GE(backend->nowMs() - before, 100u);
  EXPECT_TRUE(KillTimer(h, 5));
  EXPECT_FALSE(KillTimer(h, 5));
  timerCalls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 50, onTimer);
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  DispatchMessageA(&m);
  EXPECT_EQ(timerCalls, 1);
  KillTimer(nullptr, id);
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), -1) << "nothing can arrive any more";
}

TEST_F(Messages, ClicksBecomeButtonMessagesWithClientCoordinates) {
  HWND top = topLevel();
  HWND c = child(top, 1, 30, 40, 100, 50);
  drain();
  messageLog().clear();
  pv::win32::testing::click(c, 7, 9);
  drain();
  std::vector<Logged> downs;
  for (const Logged& l : messageLog())
    if (l.message == WM_LBUTTONDOWN || l.message == WM_LBUTTONUP) downs.push_back(l);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].hwnd, c);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 7);
  EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 9);
  pv::win32::testing::click(c, 7, 9);
  drain();
  EXPECT_EQ(logged(c, {WM_LBUTTONDBLCLK}).size(), 1u) << "CS_DBLCLKS turns a quick second press into a double click";
  SetCapture(top);
  messageLog().clear();
  pv::win32::testing::mouse(c, WM_MOUSEMOVE, 1, 1);
  drain();
  ASSERT_EQ(logged(top, {WM_MOUSEMOVE}).size(), 1u) << "the capture gets the mouse";
  ReleaseCapture();
  EnableWindow(c, FALSE);
  messageLog().clear();
  pv::win32::testing::click(c, 5, 5);
  drain();
  EXPECT_TRUE(logged(nullptr, {WM_LBUTTONDOWN}).empty()) << "a disabled window gets no clicks";
}

TEST_F(Messages, KeysAreTranslatedIntoCharacters) {
  HWND top = topLevel();
  drain();
  messageLog().clear();
  pv::win32::testing::key('A', 'a');
  drain();
  EXPECT_EQ(logged(top, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  for (const Logged& l : messageLog()) {
    if (l.message == WM_CHAR) {
      EXPECT_EQ(l.wParam, static_cast<WPARAM>('a'));
    }
  }
}

TEST_F(Messages, ScrollingMovesPixelsAndInvalidatesTheUncoveredStrip) {
  HWND top = topLevel("t", WS_POPUP | WS_VISIBLE);
  drain();
  HDC dc = GetDC(top);
  RECT band{0, 20, 50, 30};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &band, red);
  ReleaseDC(top, dc);
  DeleteObject(red);
  RECT update;
  EXPECT_EQ(ScrollWindowEx(top, 0, -10, nullptr, nullptr, nullptr, &update, SW_INVALIDATE), 2);
  Canvas& store = backend->surfaceCanvas(backend->surfaces.begin()->first);
  EXPECT_EQ(store.pixel(5, 12), RGB(255, 0, 0));
  EXPECT_EQ(store.pixel(5, 25), 0xFFFFFFu);
  EXPECT_EQ(update.top, 190);
  EXPECT_EQ(update.bottom, 200);
  RECT pending;
  GetUpdateRect(top, &pending, FALSE);
  EXPECT_EQ(pending.top, 190);
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

TEST_F(Messages, FiltersSelectByWindowTreeAndRange) {
  HWND one = topLevel("one");
  HWND two = topLevel("two");
  HWND kid = child(two, 1, 0, 0, 5, 5);
  drain();
  PostMessageA(one, WM_USER, 1, 0);
  PostMessageA(kid, WM_USER + 5, 2, 0);
  PostMessageA(two, WM_APP, 3, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, two, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 2u) << "a window filter takes its children's messages too";
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 1u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, MouseMovesCoalesceAndTheWheelGoesToTheFocus) {
  HWND top = topLevel();
  HWND kid = child(top, 1, 0, 0, 100, 100);
  drain();
  SetFocus(kid);
  messageLog().clear();
  for (int x = 0; x < 5; ++x) pv::win32::testing::mouse(kid, WM_MOUSEMOVE, x, 1);
  pv::win32::testing::mouse(top, WM_MOUSEWHEEL, 150, 10, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
  drain();
  ASSERT_EQ(logged(kid, {WM_MOUSEMOVE}).size(), 1u);
  auto first = [&](UINT message) {
    return *std::find_if(messageLog().begin(), messageLog().end(), [&](const Logged& l) { return l.message == message; });
  };
  EXPECT_EQ(GET_X_LPARAM(first(WM_MOUSEMOVE).lParam), 4);
  EXPECT_EQ(first(WM_MOUSEWHEEL).hwnd, kid);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(first(WM_MOUSEWHEEL).wParam), -WHEEL_DELTA);
  EXPECT_EQ(logged(nullptr, {WM_MOUSEWHEEL}).size(), 2u) << "unhandled, it goes on to the parent";
}

TEST_F(Messages, ATimerDoesNotPileUpWhileTheQueueIsBusy) {
  HWND h = topLevel();
  drain();
  SetTimer(h, 1, 100, nullptr);
  MSG m;
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  ASSERT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  uint64_t first = backend->nowMs();
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(backend->nowMs() - first, 100u) << "re-armed one period after it was taken";
  PostMessageA(h, WM_USER, 0, 0);
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER)) << "posted messages come before timers";
}

TEST_F(Messages, TransparentStaticsLetClicksThroughToTheirParent) {
  HWND top = topLevel();
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, top, nullptr, nullptr, nullptr);
  HWND notify = CreateWindowExA(0, "STATIC", "click me", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 30, 80, 20, top,
                                reinterpret_cast<HMENU>(uintptr_t(8)), nullptr, nullptr);
  drain();
  messageLog().clear();
  pv::win32::testing::click(label, 5, 5);
  pv::win32::testing::click(notify, 5, 5);
  drain();
  EXPECT_EQ(logged(top, {WM_LBUTTONDOWN}).size(), 1u);
  bool clicked = false;
  for (const Logged& l : messageLog())
    if (l.message == WM_COMMAND && l.wParam == MAKEWPARAM(8, STN_CLICKED)) clicked = true;
  EXPECT_TRUE(clicked);
}

}  // namespace
}  // namespace pv::win32::test

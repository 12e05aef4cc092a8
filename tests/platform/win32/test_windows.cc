// Windows: creation and destruction order, the tree, window longs and subclassing chains,
// geometry and mapping, focus, capture, and bad handles.
#include "test_support.h"

namespace pv::win32::test {
namespace {

using Windows = LayerTest;

TEST_F(Windows, CreationSendsMessagesInDocumentedOrder) {
  HWND top = topLevel();
  ASSERT_TRUE(top);
  EXPECT_EQ(logged(top, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_NCACTIVATE,
                         WM_ACTIVATE, WM_SETFOCUS}),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_NCACTIVATE,
                               WM_ACTIVATE, WM_SETFOCUS}));
  messageLog().clear();
  HWND c = child(top, 7, 5, 6, 50, 40);
  EXPECT_EQ(logged(c, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  ASSERT_EQ(logged(top, {WM_PARENTNOTIFY}).size(), 1u);
  const Logged& size = *std::find_if(messageLog().begin(), messageLog().end(),
                                     [&](const Logged& l) { return l.hwnd == c && l.message == WM_SIZE; });
  EXPECT_EQ(LOWORD(size.lParam), 50);
  EXPECT_EQ(HIWORD(size.lParam), 40);
  EXPECT_EQ(GetDlgCtrlID(c), 7);
  EXPECT_EQ(GetParent(c), top);
}

TEST_F(Windows, DestroyReachesChildrenAfterParentAndFreesHandles) {
  HWND top = topLevel();
  HWND a = child(top, 1, 0, 0, 10, 10);
  HWND b = child(a, 2, 0, 0, 5, 5);
  messageLog().clear();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& l : messageLog())
    if (l.message == WM_DESTROY || l.message == WM_NCDESTROY) order.emplace_back(l.hwnd, l.message);
  std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY}, {a, WM_DESTROY},   {b, WM_DESTROY},
                                              {b, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(b));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_EQ(pv::win32::testing::windowCount(), 0u);
  HWND again = topLevel();
  EXPECT_NE(again, top) << "a reused slot gets a new generation";
}

LRESULT CALLBACK subclassA(HWND h, UINT m, WPARAM w, LPARAM l);
LRESULT CALLBACK subclassB(HWND h, UINT m, WPARAM w, LPARAM l);
LONG_PTR previousA = 0;
LONG previousB = 0;
std::string chain;

LRESULT CALLBACK subclassA(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) chain += "A";
  return CallWindowProcA(reinterpret_cast<WNDPROC>(previousA), h, m, w, l);
}
LRESULT CALLBACK subclassB(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) chain += "B";
  return CallWindowProcA(reinterpret_cast<WNDPROC>(static_cast<LONG_PTR>(previousB)), h, m, w, l);
}

TEST_F(Windows, SubclassingChainsThroughCallWindowProc) {
  HWND h = topLevel();
  previousA = SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(subclassA));
  EXPECT_EQ(previousA, reinterpret_cast<LONG_PTR>(loggingProc));
  // The 32-bit form hands out a cookie that CallWindowProc and SetWindowLong accept.
  previousB = GetWindowLongA(h, GWL_WNDPROC);
  EXPECT_NE(previousB, 0);
  SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(subclassB));
  chain.clear();
  messageLog().clear();
  SendMessageA(h, WM_USER, 1, 2);
  EXPECT_EQ(chain, "BA");
  EXPECT_EQ(logged(h, {WM_USER}).size(), 1u);
  // Restoring with the cookie takes B out of the chain.
  SetWindowLongA(h, GWL_WNDPROC, previousB);
  chain.clear();
  SendMessageA(h, WM_USER, 0, 0);
  EXPECT_EQ(chain, "A");
}

TEST_F(Windows, WindowLongsHoldUserDataIdAndStyle) {
  HWND top = topLevel();
  HWND c = child(top, 42, 0, 0, 10, 10);
  EXPECT_EQ(SetWindowLongA(c, GWL_USERDATA, 17), 0);
  EXPECT_EQ(GetWindowLongA(c, GWL_USERDATA), 17);
  EXPECT_EQ(GetWindowLongA(c, GWL_ID), 42);
  EXPECT_TRUE(GetWindowLongA(c, GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetWindowLongA(c, 1234), 0) << "no extra bytes";
  SetWindowTextA(top, "Hello");
  char text[16];
  EXPECT_EQ(GetWindowTextA(top, text, 16), 5);
  EXPECT_STREQ(text, "Hello");
  EXPECT_EQ(GetWindowTextA(top, text, 3), 2);
  EXPECT_STREQ(text, "He");
  EXPECT_EQ(backend->surfaces.begin()->second.title, "Hello");
}

TEST_F(Windows, GeometryAndMapping) {
  HWND top = CreateWindowExA(0, "Logger", "t", WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_SYSMENU | DS_MODALFRAME, 100, 50,
                             200, 150, nullptr, nullptr, nullptr, nullptr);
  RECT client;
  GetClientRect(top, &client);
  EXPECT_EQ(client.right, 200 - 2 * 3);
  EXPECT_EQ(client.bottom, 150 - 2 * 3 - 19);
  HWND c = child(top, 1, 10, 20, 50, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
  POINT p{0, 0};
  ClientToScreen(c, &p);
  EXPECT_EQ(p.x, 100 + 3 + 10 + 1);
  EXPECT_EQ(p.y, 50 + 3 + 19 + 20 + 1);
  RECT wr;
  GetWindowRect(c, &wr);
  EXPECT_EQ(wr.left, 100 + 3 + 10);
  MoveWindow(c, 0, 0, 80, 60, TRUE);
  GetClientRect(c, &client);
  EXPECT_EQ(client.right, 78);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{5, 5}), c);
  RECT adjusted{0, 0, 100, 100};
  AdjustWindowRectEx(&adjusted, WS_CHILD | WS_BORDER, FALSE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(adjusted.left, -3);
}

TEST_F(Windows, FocusMessagesCarryTheOtherWindow) {
  HWND top = topLevel();
  HWND a = child(top, 1, 0, 0, 10, 10);
  HWND b = child(top, 2, 20, 0, 10, 10);
  SetFocus(a);
  messageLog().clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(messageLog().size(), 2u);
  EXPECT_EQ(messageLog()[0].hwnd, a);
  EXPECT_EQ(messageLog()[0].message, static_cast<UINT>(WM_KILLFOCUS));
  EXPECT_EQ(messageLog()[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(messageLog()[1].message, static_cast<UINT>(WM_SETFOCUS));
  EXPECT_EQ(messageLog()[1].wParam, reinterpret_cast<WPARAM>(a));
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "a disabled window loses the focus";
  EXPECT_EQ(SetFocus(b), nullptr) << "and cannot take it";
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(Windows, CursorsAndTheSurfaceGeometry) {
  HWND top = topLevel();
  HCURSOR wait = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_WAIT));
  ASSERT_TRUE(wait);
  SetCursor(wait);
  EXPECT_EQ(backend->cursor, IDC_WAIT);
  EXPECT_EQ(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW))), wait);
  EXPECT_EQ(backend->cursor, IDC_ARROW);
  EXPECT_EQ(LoadCursorA(nullptr, "NoSuchCursor"), nullptr);
  WNDCLASSA busy{0, loggingProc, 0, 0, nullptr, nullptr, wait, nullptr, nullptr, "Busy"};
  RegisterClassA(&busy);
  HWND b = CreateWindowExA(0, "Busy", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, nullptr, nullptr, nullptr);
  pv::win32::testing::mouse(b, WM_MOUSEMOVE, 5, 5);
  EXPECT_EQ(backend->cursor, IDC_WAIT) << "WM_SETCURSOR sets the class cursor over the window";
  const RECT& g = backend->surfaces.begin()->second.geometry;
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  EXPECT_EQ(g.left, origin.x) << "the surface shows the client area where it is on the screen";
  EXPECT_EQ(g.top, origin.y);
}

TEST_F(Windows, WindowWalkAndEnumeration) {
  HWND one = topLevel("one");
  HWND two = topLevel("two");
  HWND c1 = child(two, 1, 0, 0, 5, 5);
  HWND c2 = child(two, 2, 0, 0, 5, 5);
  EXPECT_EQ(GetWindow(two, GW_CHILD), c1);
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
  EXPECT_EQ(GetWindow(c2, GW_HWNDNEXT), nullptr);
  std::vector<std::string> titles;
  EnumWindows(
      [](HWND h, LPARAM l) -> BOOL {
        char t[32];
        GetWindowTextA(h, t, 32);
        reinterpret_cast<std::vector<std::string>*>(l)->push_back(t);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&titles));
  EXPECT_EQ(titles, (std::vector<std::string>{"two", "one"}));
  (void)one;
}

TEST_F(Windows, BadHandlesGiveFailureValues) {
  HWND bogus = reinterpret_cast<HWND>(uintptr_t(0x12345678));
  EXPECT_FALSE(IsWindow(bogus));
  EXPECT_EQ(SendMessageA(bogus, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(bogus, WM_USER, 0, 0));
  EXPECT_EQ(GetWindowLongA(bogus, GWL_STYLE), 0);
  EXPECT_EQ(SetWindowLongPtrA(bogus, GWL_USERDATA, 5), 0);
  EXPECT_FALSE(ShowWindow(bogus, SW_SHOW));
  EXPECT_FALSE(InvalidateRect(bogus, nullptr, TRUE));
  EXPECT_EQ(BeginPaint(bogus, nullptr), nullptr);
  EXPECT_EQ(GetDC(bogus), nullptr);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(CreateWindowExA(0, "Logger", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr)
      << "a child needs a parent";
  HWND huge = CreateWindowExA(0, "Logger", "", WS_POPUP, 0, 0, 1 << 30, 10, nullptr, nullptr, nullptr, nullptr);
  RECT r;
  GetWindowRect(huge, &r);
  EXPECT_EQ(r.right, 4096) << "no backing store of a billion pixels";
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 10), nullptr);
  WNDCLASSA dup{0, loggingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "logger"};
  EXPECT_EQ(RegisterClassA(&dup), 0) << "class names ignore case";
  EXPECT_EQ(GetDlgItem(bogus, 1), nullptr);
  MSG m;
  EXPECT_EQ(GetMessageA(&m, bogus, 0, 0), -1);
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

TEST_F(Windows, ZOrderShowingAndHiding) {
  HWND top = topLevel();
  HWND a = child(top, 1, 0, 0, 50, 50);
  HWND b = child(top, 2, 10, 10, 50, 50);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{20, 20}), a) << "the first created child is on top";
  SetWindowPos(a, reinterpret_cast<HWND>(uintptr_t(1)), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  SetFocus(b);
  pv::win32::testing::runUntilIdle();
  ShowWindow(b, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(b));
  EXPECT_EQ(GetFocus(), top) << "hiding the focus window gives the focus to its parent";
  RECT update;
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE)) << "the parent repaints where the child was";
  EXPECT_EQ(update.left, 10);
}

TEST_F(Windows, ActivationMovesBetweenTopLevelWindows) {
  HWND one = topLevel("one");
  HWND two = topLevel("two");
  EXPECT_EQ(GetActiveWindow(), two);
  messageLog().clear();
  SetActiveWindow(one);
  std::vector<Logged> acts;
  for (const Logged& l : messageLog())
    if (l.message == WM_ACTIVATE) acts.push_back(l);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[0].hwnd, two);
  EXPECT_EQ(LOWORD(acts[0].wParam), WA_INACTIVE);
  EXPECT_EQ(acts[0].lParam, reinterpret_cast<LPARAM>(one));
  EXPECT_EQ(acts[1].hwnd, one);
  EXPECT_EQ(LOWORD(acts[1].wParam), WA_ACTIVE);
  EXPECT_EQ(GetFocus(), one);
  DestroyWindow(one);
  EXPECT_EQ(GetActiveWindow(), two) << "the next window is activated";
}

TEST_F(Windows, TheCloseBoxClosesEnabledWindowsOnly) {
  HWND top = topLevel();
  pv::win32::testing::runUntilIdle();
  EnableWindow(top, FALSE);
  pv::win32::testing::pressCloseBox(top);
  pv::win32::testing::runUntilIdle();
  EXPECT_TRUE(IsWindow(top));
  EnableWindow(top, TRUE);
  messageLog().clear();
  pv::win32::testing::pressCloseBox(top);
  pv::win32::testing::runUntilIdle();
  EXPECT_FALSE(IsWindow(top)) << "WM_SYSCOMMAND SC_CLOSE, WM_CLOSE, DestroyWindow";
  EXPECT_EQ(logged(nullptr, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
}

}  // namespace
}  // namespace pv::win32::test

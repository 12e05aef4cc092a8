// Standard controls: buttons, statics with WM_CTLCOLORSTATIC, list boxes, window scroll bars
// and message boxes (pre-answered and answered with keys).
#include "test_support.h"

namespace pv::win32::test {
namespace {

using Controls = LayerTest;

HWND control(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, nullptr);
}

std::vector<WPARAM> commands(HWND parent) {
  std::vector<WPARAM> out;
  for (const Logged& l : messageLog())
    if (l.hwnd == parent && l.message == WM_COMMAND) out.push_back(l.wParam);
  return out;
}

TEST_F(Controls, ButtonsReportClicksOnlyWhenReleasedInside) {
  HWND top = topLevel();
  HWND b = control(top, "BUTTON", "&Go", BS_PUSHBUTTON, 5, 10, 10, 60, 20);
  pv::win32::testing::runUntilIdle();
  messageLog().clear();
  pv::win32::testing::click(b, 5, 5);
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(commands(top), (std::vector<WPARAM>{MAKEWPARAM(5, BN_CLICKED)}));
  EXPECT_EQ(GetFocus(), b);
  messageLog().clear();
  pv::win32::testing::mouse(b, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
  pv::win32::testing::mouse(b, WM_MOUSEMOVE, 100, 5, MK_LBUTTON);
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  pv::win32::testing::mouse(b, WM_LBUTTONUP, 100, 5);
  pv::win32::testing::runUntilIdle();
  EXPECT_TRUE(commands(top).empty()) << "released outside";
  pv::win32::testing::key(VK_SPACE, ' ');
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(commands(top).size(), 1u) << "the space bar clicks";
  SendMessageA(b, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_TRUE(SendMessageA(b, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
  EnableWindow(b, FALSE);
  messageLog().clear();
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_TRUE(commands(top).empty()) << "a disabled button does not click";
}

TEST_F(Controls, CheckBoxesToggleAndRadioButtonsExcludeEachOther) {
  HWND top = topLevel();
  HWND check = control(top, "BUTTON", "&Check", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 0, 0, 80, 16);
  HWND a = control(top, "BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 2, 0, 20, 80, 16);
  HWND b = control(top, "BUTTON", "B", BS_AUTORADIOBUTTON, 3, 0, 40, 80, 16);
  HWND other = control(top, "BUTTON", "C", BS_AUTORADIOBUTTON | WS_GROUP, 4, 0, 60, 80, 16);
  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(other, BM_CLICK, 0, 0);
  SendMessageA(a, BM_CLICK, 0, 0);
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
  pv::win32::testing::runUntilIdle();
  auto& log = static_cast<RecordingCanvas&>(backend->surfaceCanvas(backend->surfaces.begin()->first)).log;
  EXPECT_NE(std::find(log.begin(), log.end(), "control radio 0 40 80 56 'B' pressed"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "control checkbox 0 0 80 16 '&Check'"), log.end());
}

HBRUSH green = nullptr;
LRESULT CALLBACK colouringProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  messageLog().push_back(Logged{h, m, w, l});
  if (m == WM_CTLCOLORSTATIC) {
    SetTextColor(reinterpret_cast<HDC>(w), RGB(255, 255, 255));
    SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
    return reinterpret_cast<LRESULT>(green);
  }
  return DefWindowProcA(h, m, w, l);
}

TEST_F(Controls, StaticsPaintOnTheBrushTheParentAnswers) {
  WNDCLASSA wc{0, colouringProc, 0, 0, nullptr, nullptr, nullptr, GetSysColorBrush(COLOR_BTNFACE), nullptr, "Colouring"};
  RegisterClassA(&wc);
  green = CreateSolidBrush(RGB(0, 128, 0));
  HWND top = CreateWindowExA(0, "Colouring", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  HWND left = control(top, "STATIC", "A&&B &x", SS_LEFT, -1, 0, 0, 100, 20);
  HWND raw = control(top, "STATIC", "A&B", SS_LEFT | SS_NOPREFIX, -1, 0, 30, 100, 20);
  HWND centre = control(top, "STATIC", "ab", SS_CENTER, -1, 0, 60, 100, 20);
  HWND black = control(top, "STATIC", "", SS_BLACKRECT, -1, 200, 0, 10, 10);
  pv::win32::testing::runUntilIdle();
  Canvas& store = backend->surfaceCanvas(backend->surfaces.begin()->first);
  EXPECT_EQ(store.pixel(90, 5), RGB(0, 128, 0));
  EXPECT_EQ(store.pixel(205, 5), GetSysColor(COLOR_3DDKSHADOW));
  auto& log = static_cast<RecordingCanvas&>(store).log;
  auto has = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
  EXPECT_TRUE(has("text 0 0 'A&B x'")) << "prefixes are processed";
  EXPECT_TRUE(has("text 0 30 'A&B'")) << "SS_NOPREFIX keeps the ampersand";
  EXPECT_TRUE(has("text 42 60 'ab'")) << "centred: (100 - 2 * 8) / 2";
  bool asked = false;
  for (const Logged& l : messageLog())
    if (l.message == WM_CTLCOLORSTATIC && l.lParam == reinterpret_cast<LPARAM>(left)) asked = true;
  EXPECT_TRUE(asked);
  DeleteObject(green);
  (void)raw, (void)centre, (void)black;
}

TEST_F(Controls, ListBoxesSelectAndNotify) {
  HWND top = topLevel();
  HWND list = control(top, "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 9, 0, 0, 100, 50);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one")), 0);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two")), 1);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zero")), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 7, 0), LB_ERR);
  char text[16];
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), 3);
  EXPECT_STREQ(text, "two");
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("TW")), 2);
  EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) << "three items fit: no scroll bar";
  for (int i = 0; i < 5; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("more"));
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
  pv::win32::testing::runUntilIdle();
  messageLog().clear();
  pv::win32::testing::click(list, 10, 20);  // second row of 16 pixels
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  pv::win32::testing::key(VK_DOWN);
  pv::win32::testing::runUntilIdle();
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(commands(top), (std::vector<WPARAM>{MAKEWPARAM(9, LBN_SELCHANGE), MAKEWPARAM(9, LBN_SELCHANGE)}));
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 99, reinterpret_cast<LPARAM>(text)), LB_ERR);
}

TEST_F(Controls, WindowScrollBarsKeepRangeAndReportClicks) {
  HWND top = topLevel();
  HWND c = child(top, 1, 0, 0, 100, 100, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
  SetScrollRange(c, SB_VERT, 1, 50, TRUE);
  EXPECT_EQ(SetScrollPos(c, SB_VERT, 60, TRUE), 1);
  EXPECT_EQ(GetScrollPos(c, SB_VERT), 50) << "clamped to the range";
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  SCROLLINFO page{sizeof si, SIF_PAGE, 0, 0, 10, 0, 0};
  SetScrollInfo(c, SB_VERT, &page, TRUE);
  GetScrollInfo(c, SB_VERT, &si);
  EXPECT_EQ(si.nPos, 41) << "the last page starts at max - page + 1";
  RECT client;
  GetClientRect(c, &client);
  EXPECT_EQ(client.right, 84);
  pv::win32::testing::runUntilIdle();
  messageLog().clear();
  pv::win32::testing::click(c, 90, 95);  // the down arrow, right of the client area
  pv::win32::testing::runUntilIdle();
  std::vector<WPARAM> codes;
  for (const Logged& l : messageLog())
    if (l.message == WM_VSCROLL) codes.push_back(l.wParam);
  EXPECT_EQ(codes, (std::vector<WPARAM>{SB_LINEDOWN, SB_ENDSCROLL}));
  SetScrollRange(c, SB_VERT, 0, 0, TRUE);
  EXPECT_FALSE(GetWindowLongA(c, GWL_STYLE) & WS_VSCROLL) << "an empty range hides the bar";
  GetClientRect(c, &client);
  EXPECT_EQ(client.right, 100);
}

TEST_F(Controls, MessageBoxesReturnTheButtonPressed) {
  pv::win32::testing::preanswerMessageBox(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Really?", "Select an option", MB_YESNO | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(pv::win32::testing::messageBoxes().size(), 1u);
  EXPECT_EQ(pv::win32::testing::messageBoxes()[0].caption, "Select an option");
  EXPECT_EQ(pv::win32::testing::messageBoxes()[0].type, static_cast<UINT>(0x24));

  HWND owner = topLevel();
  pv::win32::testing::whenIdle([owner] {
    EXPECT_FALSE(IsWindowEnabled(owner)) << "the box is modal";
    pv::win32::testing::key(VK_RETURN, '\r');
  });
  EXPECT_EQ(MessageBoxA(owner, "Done", "Information", MB_ICONINFORMATION), IDOK);
  EXPECT_TRUE(IsWindowEnabled(owner));
  pv::win32::testing::whenIdle([] { pv::win32::testing::key(VK_ESCAPE, 27); });
  pv::win32::testing::whenIdle([] { pv::win32::testing::key('N', 'n'); });
  EXPECT_EQ(MessageBoxA(owner, "Sure?", "Q", MB_YESNO), IDNO) << "Escape is ignored without Cancel";
  pv::win32::testing::whenIdle([] { pv::win32::testing::key(VK_ESCAPE, 27); });
  EXPECT_EQ(MessageBoxA(owner, "Sure?", "Q", MB_OKCANCEL), IDCANCEL);
  pv::win32::testing::whenIdle([] { pv::win32::testing::key(VK_ESCAPE, 27); });
  EXPECT_EQ(MessageBoxA(owner, "x", "Alert", MB_ICONEXCLAMATION), IDOK) << "Escape means OK in an OK box";
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

TEST_F(Controls, DraggingTheThumbReportsTrackingPositions) {
  HWND top = topLevel();
  HWND c = child(top, 1, 0, 0, 100, 116, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
  SetScrollRange(c, SB_VERT, 0, 100, TRUE);
  pv::win32::testing::runUntilIdle();
  messageLog().clear();
  // Track 116 - 2 * 16 = 84 pixels, thumb 16: positions 0..100 over 68 pixels.
  pv::win32::testing::mouse(c, WM_LBUTTONDOWN, 90, 20, MK_LBUTTON);
  pv::win32::testing::mouse(c, WM_MOUSEMOVE, 90, 54, MK_LBUTTON);
  pv::win32::testing::mouse(c, WM_LBUTTONUP, 90, 54);
  pv::win32::testing::runUntilIdle();
  std::vector<std::pair<WORD, WORD>> codes;
  for (const Logged& l : messageLog())
    if (l.message == WM_VSCROLL) codes.emplace_back(LOWORD(l.wParam), HIWORD(l.wParam));
  ASSERT_EQ(codes.size(), 3u);
  EXPECT_EQ(codes[0].first, SB_THUMBTRACK);
  EXPECT_EQ(codes[0].second, 50);
  EXPECT_EQ(codes[1], (std::pair<WORD, WORD>{SB_THUMBPOSITION, 50}));
  EXPECT_EQ(codes[2].first, SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(c, SB_VERT), 0) << "the window moves the thumb itself";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Controls, SortedListBoxesKeepOrderItemDataAndScroll) {
  HWND top = topLevel();
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_NOTIFY | WS_VSCROLL, 0, 0,
                              100, 48, top, reinterpret_cast<HMENU>(uintptr_t(3)), nullptr, nullptr);
  for (const char* s : {"pear", "Apple", "fig", "banana", "cherry"})
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char text[16];
  SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Apple");
  SendMessageA(list, LB_GETTEXT, 4, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "pear");
  EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 2, 99), LB_OKAY);
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), 99);
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("FIG")), 3);
  SendMessageA(list, LB_SETCURSEL, 4, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 2) << "the selection is scrolled into view (3 rows)";
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3) << "the selection follows its item";
  SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

}  // namespace
}  // namespace pv::win32::test

// The application's main dialog from its resource script, compiled by pvrc into this test: its
// controls are found by id with their texts, the browse grids' class is the program's own, and
// Escape reaches the dialog as IDCANCEL with the control that has id 2.
#include <cstring>

#include "test_support.h"

namespace pv::win32::test {
namespace {

using SamplesDialog = LayerTest;

std::vector<WPARAM> gridKeys;

LRESULT CALLBACK browseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
  if (m == WM_KEYDOWN) gridKeys.push_back(w);
  return DefWindowProcA(h, m, w, l);
}

struct Found {
  std::string title, ende, rechnung, hint;
  RECT grid{};
  LPARAM escapeControl = 0;
  HWND button2 = nullptr;
};
Found found;

INT_PTR CALLBACK samplesProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  char text[256];
  if (m == WM_INITDIALOG) {
    GetWindowTextA(h, text, sizeof text);
    found.title = text;
    GetDlgItemTextA(h, 10, text, sizeof text);
    found.ende = text;
    GetDlgItemTextA(h, 2, text, sizeof text);
    found.rechnung = text;
    GetWindowTextA(GetWindow(GetDlgItem(h, 5), GW_HWNDNEXT), text, sizeof text);
    found.hint = text;
    GetClientRect(GetDlgItem(h, 110), &found.grid);
    found.button2 = GetDlgItem(h, 2);
    return TRUE;
  }
  if (m == WM_COMMAND && LOWORD(w) == IDCANCEL) {
    found.escapeControl = l;
    EndDialog(h, 99);
    return TRUE;
  }
  return FALSE;
}

TEST_F(SamplesDialog, BuildsFromTheCompiledResource) {
  WNDCLASSA wc{CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, browseProc, 0, 0, nullptr, nullptr, nullptr,
               GetSysColorBrush(COLOR_WINDOW), nullptr, "TXBrowse"};
  ASSERT_TRUE(RegisterClassA(&wc));
  found = Found{};
  pv::win32::testing::whenIdle([] {
    SetFocus(GetDlgItem(GetActiveWindow(), 20));
    pv::win32::testing::key(VK_ESCAPE, 27);
  });
  EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), "SAMPLES", nullptr, samplesProc, 0), 99);
  EXPECT_EQ(found.title, "Excel-Sheets mit Zellwerk2 erzeugen");
  EXPECT_EQ(found.ende, "&Ende");
  EXPECT_EQ(found.rechnung, "&Rechnungs-\xDC" "bersicht");
  EXPECT_EQ(found.hint.rfind("W\xE4hlen Sie", 0), 0u);
  // 240 x 147 dialog units at (6, 4) of a 10 pt font (15 pixels high with 7-pixel letters on the
  // recording backend), less the two scroll bars.
  EXPECT_EQ(found.grid.right, (6 + 240) * 7 / 4 - 6 * 7 / 4 - 16);
  EXPECT_EQ(found.grid.bottom, (4 + 147) * 15 / 8 - 4 * 15 / 8 - 16);
  EXPECT_EQ(found.escapeControl, reinterpret_cast<LPARAM>(found.button2))
      << "the control with IDCANCEL's number comes with the command";
}

TEST_F(SamplesDialog, AGridThatWantsAllKeysGetsEnterAndEscape) {
  WNDCLASSA wc{CS_DBLCLKS, browseProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TXBrowse"};
  ASSERT_TRUE(RegisterClassA(&wc));
  found = Found{};
  gridKeys.clear();
  pv::win32::testing::whenIdle([] {
    SetFocus(GetDlgItem(GetActiveWindow(), 110));
    pv::win32::testing::key(VK_RETURN, '\r');
    pv::win32::testing::key(VK_ESCAPE, 27);
    pv::win32::testing::key(VK_DOWN);
  });
  pv::win32::testing::whenIdle([] { EndDialog(GetActiveWindow(), 7); });
  EXPECT_EQ(DialogBoxParamA(nullptr, "SAMPLES", nullptr, samplesProc, 0), 7);
  EXPECT_EQ(gridKeys, (std::vector<WPARAM>{VK_RETURN, VK_ESCAPE, VK_DOWN}));
  EXPECT_EQ(found.escapeControl, 0) << "the dialog saw no IDCANCEL";
}

}  // namespace
}  // namespace pv::win32::test

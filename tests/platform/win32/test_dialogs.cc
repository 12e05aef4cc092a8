// Dialogs: template bytes read with bounds checks, WM_INITDIALOG, commands from clicked buttons,
// the dialog keyboard (Tab, Enter, Escape, mnemonics), modal loops nested three deep, dialog
// units, and resources found by name.
#include <cstring>

#include "test_support.h"
#include "win32/dialog_template.h"
#include "win32/resources.h"

namespace pv::win32::test {
namespace {

using Dialogs = LayerTest;

// The byte string a dialog without resource is built from: header, caption, one button.
std::vector<unsigned char> handMadeTemplate() {
  std::vector<unsigned char> b;
  auto put16 = [&](unsigned v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); };
  auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
  auto str = [&](const char* s) {
    for (; *s; ++s) put16(static_cast<unsigned char>(*s));
    put16(0);
  };
  put32(0x80C80080u);  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME
  put32(0);
  put16(1);
  put16(10), put16(20), put16(100), put16(50);
  put16(0), put16(0);
  str("Hi");
  EXPECT_EQ(b.size(), 28u);
  put32(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
  put32(0);
  put16(5), put16(6), put16(40), put16(12);
  put16(1);
  str("BUTTON");
  str("OK");
  put16(0);
  while (b.size() % 4) b.push_back(0);
  return b;
}

TEST_F(Dialogs, TemplatesAreReadAsWin32LaysThemOut) {
  std::vector<unsigned char> bytes = handMadeTemplate();
  DialogTemplate t;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(bytes.data(), bytes.size(), t, &error)) << error;
  EXPECT_EQ(t.style, 0x80C80080u);
  EXPECT_EQ(t.title, "Hi");
  EXPECT_EQ(t.cx, 100);
  ASSERT_EQ(t.items.size(), 1u);
  EXPECT_EQ(t.items[0].className, "BUTTON");
  EXPECT_EQ(t.items[0].title, "OK");
  EXPECT_EQ(t.items[0].id, 1u);
  // Writing it again with the class as a name gives back the same bytes.
  t.items[0].classOrdinal = 0;
  std::vector<unsigned char> again = writeDialogTemplate(t);
  again.resize(std::min(again.size(), bytes.size()));
  DialogTemplate round;
  ASSERT_TRUE(parseDialogTemplate(again.data(), again.size(), round));
  EXPECT_EQ(round.items[0].title, "OK");
}

TEST_F(Dialogs, TruncatedOrCorruptTemplatesAreRefused) {
  std::vector<unsigned char> bytes = handMadeTemplate();
  for (size_t n = 0; n + 2 < bytes.size(); ++n) {
    DialogTemplate t;
    std::string error;
    EXPECT_FALSE(parseDialogTemplate(bytes.data(), n, t, &error)) << "length " << n;
    EXPECT_NE(error.find("template ends"), std::string::npos);
  }
  bytes[8] = 0xFF;  // claims 255 items
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
  std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, GlobalLock(g), nullptr, nullptr, 0), -1);
  GlobalUnlock(g);
  GlobalUnlock(g);
  GlobalFree(g);
  EXPECT_EQ(pv::win32::testing::windowCount(), 0u);
}

struct Seen {
  std::vector<UINT> messages;
  LPARAM initParam = 0;
  WPARAM command = 0;
  LPARAM commandControl = 0;
  HWND focusAtInit = nullptr;
};
Seen seen;

INT_PTR CALLBACK recordingDialog(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_SETFONT || m == WM_INITDIALOG || m == WM_COMMAND) seen.messages.push_back(m);
  if (m == WM_INITDIALOG) {
    seen.initParam = l;
    seen.focusAtInit = reinterpret_cast<HWND>(w);
    return TRUE;
  }
  if (m == WM_COMMAND) {
    seen.command = w;
    seen.commandControl = l;
    EndDialog(h, LOWORD(w) + 100);
    return TRUE;
  }
  return FALSE;
}

DialogTemplate sampleTemplate() {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t.cx = 200, t.cy = 100;
  t.title = "Sample";
  t.pointSize = 8;
  t.face = "MS Sans Serif";
  auto item = [&](const char* cls, const char* text, DWORD id, DWORD style, short x) {
    DialogItem i;
    i.className = cls, i.title = text, i.id = id, i.style = WS_CHILD | WS_VISIBLE | style;
    i.x = x, i.y = 10, i.cx = 40, i.cy = 14;
    t.items.push_back(i);
  };
  item("STATIC", "&Name:", 0xFFFF, SS_LEFT, 5);
  item("BUTTON", "&First", 10, WS_TABSTOP | BS_PUSHBUTTON, 50);
  item("BUTTON", "&Second", 20, WS_TABSTOP | BS_DEFPUSHBUTTON, 95);
  item("BUTTON", "&Third", 30, WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, 140);
  return t;
}

INT_PTR runSample(std::function<void(HWND)> whenShown) {
  std::vector<unsigned char> bytes = writeDialogTemplate(sampleTemplate());
  seen = Seen{};
  pv::win32::testing::whenIdle([whenShown] { whenShown(GetActiveWindow()); });
  return DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, recordingDialog, 77);
}

TEST_F(Dialogs, InitDialogAndCommandFromAClickedButton) {
  INT_PTR r = runSample([](HWND dlg) { pv::win32::testing::click(GetDlgItem(dlg, 10), 3, 3); });
  EXPECT_EQ(r, 110);
  EXPECT_EQ(seen.messages, (std::vector<UINT>{WM_SETFONT, WM_INITDIALOG, WM_COMMAND}));
  EXPECT_EQ(seen.initParam, 77);
  EXPECT_EQ(LOWORD(seen.command), 10);
  EXPECT_EQ(HIWORD(seen.command), BN_CLICKED);
  EXPECT_NE(seen.commandControl, 0);
  EXPECT_EQ(pv::win32::testing::windowCount(), 0u) << "the dialog is destroyed after its loop";
}

TEST_F(Dialogs, EnterPressesTheDefaultButtonAndEscapeCancels) {
  EXPECT_EQ(runSample([](HWND dlg) {
              SetFocus(GetDlgItem(dlg, 0xFFFF));
              pv::win32::testing::key(VK_RETURN, '\r');
            }),
            120);
  EXPECT_EQ(runSample([](HWND) { pv::win32::testing::key(VK_ESCAPE, 27); }), 100 + IDCANCEL);
  EXPECT_EQ(seen.commandControl, 0) << "no control with IDCANCEL";
}

TEST_F(Dialogs, TabWalksTheTabStopsSkippingDisabledOnes) {
  std::vector<int> focus;
  auto step = [&] {
    focus.push_back(GetDlgCtrlID(GetFocus()));
    pv::win32::testing::key(VK_TAB, '\t');
  };
  pv::win32::testing::whenIdle(step);
  pv::win32::testing::whenIdle(step);
  pv::win32::testing::whenIdle([&] {
    HWND dlg = GetActiveWindow();
    focus.push_back(GetDlgCtrlID(GetFocus()));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 10), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        << "the focused push button looks like the default";
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, 20), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EndDialog(dlg, 0);
  });
  runSample([](HWND) {});
  EXPECT_EQ(focus, (std::vector<int>{10, 20, 10}));
}

TEST_F(Dialogs, MnemonicsClickTheirButton) {
  EXPECT_EQ(runSample([](HWND) { pv::win32::testing::key('S', 's', true); }), 120);
  EXPECT_EQ(runSample([](HWND) { pv::win32::testing::key('F', 'f'); }), 110);
}

std::vector<std::string> events;

INT_PTR CALLBACK nestingDialog(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_INITDIALOG) {
    SetWindowLongPtrA(h, 16, l);
    return TRUE;
  }
  if (m == WM_COMMAND && LOWORD(w) == 10) {
    int level = static_cast<int>(GetWindowLongPtrA(h, 16));
    if (level < 3) {
      std::vector<unsigned char> bytes = writeDialogTemplate(sampleTemplate());
      HWND self = h;
      pv::win32::testing::whenIdle([self, level] {
        events.push_back("owner " + std::to_string(level) + (IsWindowEnabled(self) ? " enabled" : " disabled"));
        pv::win32::testing::click(GetDlgItem(GetActiveWindow(), 10), 2, 2);
      });
      INT_PTR inner = DialogBoxIndirectParamA(nullptr, bytes.data(), h, nestingDialog, level + 1);
      events.push_back("level " + std::to_string(level + 1) + " returned " + std::to_string(inner));
      events.push_back(std::string("owner ") + (IsWindowEnabled(h) ? "enabled again" : "still disabled"));
    }
    EndDialog(h, level * 10);
    return TRUE;
  }
  return FALSE;
}

TEST_F(Dialogs, ModalLoopsNestThreeDeep) {
  std::vector<unsigned char> bytes = writeDialogTemplate(sampleTemplate());
  events.clear();
  pv::win32::testing::whenIdle([] { pv::win32::testing::click(GetDlgItem(GetActiveWindow(), 10), 2, 2); });
  INT_PTR r = DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, nestingDialog, 1);
  EXPECT_EQ(r, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"owner 1 disabled", "owner 2 disabled", "level 3 returned 30",
                                              "owner enabled again", "level 2 returned 20", "owner enabled again"}));
}

TEST_F(Dialogs, QuitInsideAModalLoopEndsItAndIsPostedAgain) {
  INT_PTR r = runSample([](HWND) { PostQuitMessage(9); });
  EXPECT_EQ(r, 0);
  MSG m;
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.wParam, 9u);
}

TEST_F(Dialogs, DialogUnitsComeFromTheDialogFont) {
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(8, 16));
  runSample([](HWND dlg) {
    RECT r{4, 8, 8, 16};
    MapDialogRect(dlg, &r);
    // The recording backend's 8 pt font is 13 pixels high with 6-pixel letters.
    EXPECT_EQ(r.left, 6);
    EXPECT_EQ(r.top, 13);
    EXPECT_EQ(r.right, 12);
    EXPECT_EQ(r.bottom, 26);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 162);
    EndDialog(dlg, 1);
  });
  EXPECT_FALSE(MapDialogRect(nullptr, nullptr));
}

TEST_F(Dialogs, ResourcesAreFoundByNameOrNumber) {
  static std::vector<unsigned char> bytes = writeDialogTemplate(sampleTemplate());
  registerDialogResource("TESTDLG", 0, 1031, bytes.data(), bytes.size());
  registerDialogResource(nullptr, 300, 1031, bytes.data(), bytes.size());
  EXPECT_FALSE(registerDialogResource("testdlg", 0, 1031, bytes.data(), bytes.size()));
  pv::win32::testing::whenIdle([] { EndDialog(GetActiveWindow(), 5); });
  EXPECT_EQ(DialogBoxParamA(nullptr, "TestDlg", nullptr, recordingDialog, 0), 5);
  HWND modeless = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(300), nullptr, recordingDialog, 0);
  EXPECT_TRUE(IsWindow(modeless));
  DestroyWindow(modeless);
  EXPECT_EQ(DialogBoxParamA(nullptr, "MISSING", nullptr, recordingDialog, 0), -1);
  EXPECT_EQ(LoadBitmapA(nullptr, "Ende_5"), nullptr);
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

TEST_F(Dialogs, ArrowsMoveWithinAGroupAndTheCloseBoxCancels) {
  std::vector<int> focus;
  pv::win32::testing::whenIdle([&] {
    focus.push_back(GetDlgCtrlID(GetFocus()));
    pv::win32::testing::key(VK_RIGHT);
  });
  pv::win32::testing::whenIdle([&] {
    focus.push_back(GetDlgCtrlID(GetFocus()));
    pv::win32::testing::key(VK_LEFT);
  });
  pv::win32::testing::whenIdle([&] {
    focus.push_back(GetDlgCtrlID(GetFocus()));
    pv::win32::testing::pressCloseBox(GetActiveWindow());
  });
  EXPECT_EQ(runSample([](HWND) {}), 100 + IDCANCEL);
  EXPECT_EQ(focus, (std::vector<int>{10, 20, 10})) << "the static at the group's start and the disabled button are skipped";
}

TEST_F(Dialogs, DefaultButtonIdAndCentring) {
  DialogTemplate t = sampleTemplate();
  t.style |= DS_CENTER;
  std::vector<unsigned char> bytes = writeDialogTemplate(t);
  pv::win32::testing::whenIdle([] {
    HWND dlg = GetActiveWindow();
    EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELONG(20, DC_HASDEFID));
    SendMessageA(dlg, DM_SETDEFID, 30, 0);
    EXPECT_EQ(LOWORD(SendMessageA(dlg, DM_GETDEFID, 0, 0)), 30);
    RECT r;
    GetWindowRect(dlg, &r);
    EXPECT_NEAR(r.left + r.right, 1024, 1) << "centred on the screen";
    EXPECT_NEAR(r.top + r.bottom, 768, 1);
    SetFocus(GetDlgItem(dlg, 0xFFFF));
    pv::win32::testing::key(VK_RETURN, '\r');
  });
  seen = Seen{};
  // The new default (30) is disabled: Enter only beeps, then Escape ends the dialog.
  pv::win32::testing::whenIdle([] { pv::win32::testing::key(VK_ESCAPE, 27); });
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, recordingDialog, 0), 100 + IDCANCEL);
  EXPECT_EQ(backend->beeps, 1);
}

TEST_F(Dialogs, ModelessDialogsRunInTheProgramsOwnLoop) {
  DialogTemplate t = sampleTemplate();
  t.style |= WS_VISIBLE;
  std::vector<unsigned char> bytes = writeDialogTemplate(t);
  seen = Seen{};
  HWND dlg = CreateDialogIndirectParamA(nullptr, bytes.data(), nullptr, recordingDialog, 5);
  ASSERT_TRUE(dlg);
  EXPECT_TRUE(IsWindowVisible(dlg));
  EXPECT_EQ(seen.initParam, 5);
  pv::win32::testing::key('F', 'f');
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
    if (!IsDialogMessageA(dlg, &m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  EXPECT_EQ(LOWORD(seen.command), 10);
  DestroyWindow(dlg);
}

TEST_F(Dialogs, ExtendedTemplatesCarryFontDetailsAndCreationData) {
  DialogTemplate t = sampleTemplate();
  t.extended = true;
  t.weight = FW_BOLD;
  t.italic = 1;
  t.items[1].creationData = {1, 2, 3};
  t.items[1].id = 70000;
  std::vector<unsigned char> bytes = writeDialogTemplate(t);
  DialogTemplate back;
  std::string error;
  ASSERT_TRUE(parseDialogTemplate(bytes.data(), bytes.size(), back, &error)) << error;
  EXPECT_EQ(back.weight, FW_BOLD);
  EXPECT_EQ(back.italic, 1);
  EXPECT_EQ(back.items[1].id, 70000u);
  EXPECT_EQ(back.items[1].creationData, (std::vector<unsigned char>{1, 2, 3}));
  EXPECT_EQ(back.items[3].title, "&Third");
  for (size_t n = 0; n < bytes.size(); n += 3) {
    DialogTemplate cut;
    EXPECT_FALSE(parseDialogTemplate(bytes.data(), n, cut)) << n;
  }
}

TEST_F(Dialogs, AControlOfAnUnknownClassFailsTheDialogWithoutLeaks) {
  DialogTemplate t = sampleTemplate();
  t.items[2].className = "TXBrowse";
  std::vector<unsigned char> bytes = writeDialogTemplate(t);
  size_t objects = pv::win32::testing::gdiObjectCount();
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, recordingDialog, 0), -1);
  EXPECT_EQ(pv::win32::testing::windowCount(), 0u);
  EXPECT_EQ(pv::win32::testing::gdiObjectCount(), objects) << "the dialog font was deleted";
  t.style |= DS_NOFAILCREATE;
  bytes = writeDialogTemplate(t);
  pv::win32::testing::whenIdle([] { EndDialog(GetActiveWindow(), 4); });
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, bytes.data(), nullptr, recordingDialog, 0), 4);
}

}  // namespace
}  // namespace pv::win32::test

namespace pv::win32::test {
namespace {

// Random damage to a good template: every result is either refused or a dialog that works.
TEST_F(Dialogs, DamagedTemplatesNeverCrash) {
  std::vector<unsigned char> good = writeDialogTemplate(sampleTemplate());
  unsigned seed = 12345;
  auto random = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  int refused = 0, shown = 0;
  for (int round = 0; round < 300; ++round) {
    std::vector<unsigned char> bytes = good;
    for (int k = 0; k < 1 + round % 6; ++k) bytes[random() % bytes.size()] = static_cast<unsigned char>(random());
    bytes.resize(bytes.size() - random() % 8);
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(g), bytes.data(), bytes.size());
    pv::win32::testing::whenIdle([] { EndDialog(GetActiveWindow(), 1); });
    INT_PTR r = DialogBoxIndirectParamA(nullptr, GlobalLock(g), nullptr, nullptr, 0);
    (r == -1 ? refused : shown)++;
    GlobalFree(g);
    pv::win32::testing::reset();
    backend = &pv::win32::testing::useRecordingBackend();
    WNDCLASSA wc{0, loggingProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Logger"};
    RegisterClassA(&wc);
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(shown, 0);
}

}  // namespace
}  // namespace pv::win32::test

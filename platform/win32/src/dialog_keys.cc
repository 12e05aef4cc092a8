// Keyboard handling of dialogs: IsDialogMessage with Tab and arrow navigation, Enter for the
// default button, Escape for IDCANCEL and mnemonics (&x), and the tab and group orders.
#include <cctype>
#include <vector>

#include "dialog.h"
#include "win32/user.h"

using namespace pv::win32;

namespace {

bool canFocus(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

std::vector<HWND> childrenOf(HWND dlg) {
  Window* w = window(dlg);
  return w ? w->children : std::vector<HWND>{};
}

LONG styleOf(HWND h) { return GetWindowLongA(h, GWL_STYLE); }

// The control whose text has the mnemonic `ch` (the character after a single '&').
HWND findMnemonic(HWND dlg, char ch) {
  int key = std::toupper(static_cast<unsigned char>(ch));
  for (HWND c : childrenOf(dlg)) {
    if (!canFocus(c)) continue;
    char text[256];
    GetWindowTextA(c, text, sizeof text);
    for (char* p = text; *p; ++p) {
      if (*p != '&') continue;
      if (p[1] == '&') {
        ++p;
        continue;
      }
      if (std::toupper(static_cast<unsigned char>(p[1])) == key) return c;
      break;
    }
  }
  return nullptr;
}

void command(HWND dlg, int id, HWND control) {
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool pressEnter(HWND dlg) {
  HWND focus = GetFocus();
  if (focus && IsChild(dlg, focus) && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
    command(dlg, GetDlgCtrlID(focus), focus);
    return true;
  }
  LRESULT def = SendMessageA(dlg, DM_GETDEFID, 0, 0);
  int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  HWND button = GetDlgItem(dlg, id);
  if (button && !IsWindowEnabled(button)) {
    MessageBeep(0);
    return true;
  }
  command(dlg, id, button);
  return true;
}

bool keyDown(HWND dlg, const MSG* msg, LRESULT code) {
  HWND focus = GetFocus();
  switch (msg->wParam) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      HWND next = GetNextDlgTabItem(dlg, focus && IsChild(dlg, focus) ? focus : nullptr, GetKeyState(VK_SHIFT) < 0);
      if (next) SetFocus(next);
      return true;
    }
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
      if (code & DLGC_WANTARROWS) return false;
      if (!focus || !IsChild(dlg, focus)) return false;
      HWND next = GetNextDlgGroupItem(dlg, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP);
      if (next && next != focus) SetFocus(next);
      return true;
    }
    case VK_RETURN: return pressEnter(dlg);
    case VK_ESCAPE: command(dlg, IDCANCEL, GetDlgItem(dlg, IDCANCEL)); return true;
    default: return false;
  }
}

bool mnemonic(HWND dlg, const MSG* msg, LRESULT code) {
  if (msg->message == WM_CHAR && ((code & DLGC_WANTCHARS) || msg->wParam < 32)) return false;
  HWND target = findMnemonic(dlg, static_cast<char>(msg->wParam));
  if (!target) return false;
  LRESULT targetCode = SendMessageA(target, WM_GETDLGCODE, 0, 0);
  if (targetCode & DLGC_STATIC) {
    HWND next = GetNextDlgTabItem(dlg, target, FALSE);
    if (next) SetFocus(next);
  } else if (targetCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON | DLGC_BUTTON)) {
    SendMessageA(target, BM_CLICK, 0, 0);
  } else {
    SetFocus(target);
  }
  return true;
}

}  // namespace

HWND GetNextDlgTabItem(HWND dlg, HWND control, BOOL previous) {
  std::vector<HWND> kids = childrenOf(dlg);
  int n = static_cast<int>(kids.size());
  if (n == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (kids[static_cast<size_t>(i)] == control) start = i;
  int step = previous ? -1 : 1;
  if (start < 0) start = previous ? 0 : n - 1;
  for (int k = 1; k <= n; ++k) {
    HWND c = kids[static_cast<size_t>(((start + step * k) % n + n) % n)];
    if (canFocus(c) && (styleOf(c) & WS_TABSTOP)) return c;
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dlg, HWND control, BOOL previous) {
  std::vector<HWND> kids = childrenOf(dlg);
  int n = static_cast<int>(kids.size()), at = -1;
  for (int i = 0; i < n; ++i)
    if (kids[static_cast<size_t>(i)] == control) at = i;
  if (at < 0) return nullptr;
  int first = at;
  while (first > 0 && !(styleOf(kids[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  int last = at;
  while (last + 1 < n && !(styleOf(kids[static_cast<size_t>(last + 1)]) & WS_GROUP)) ++last;
  int size = last - first + 1, step = previous ? -1 : 1;
  for (int k = 1; k < size; ++k) {
    HWND c = kids[static_cast<size_t>(first + ((at - first + step * k) % size + size) % size)];
    if (canFocus(c)) return c;
  }
  return control;
}

BOOL IsDialogMessageA(HWND dlg, LPMSG msg) {
  if (!msg || !IsWindow(dlg) || (msg->hwnd != dlg && !IsChild(dlg, msg->hwnd))) return FALSE;
  bool key = msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
  if (key) {
    LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if (!(code & DLGC_WANTMESSAGE)) {
      bool done = msg->message == WM_KEYDOWN ? keyDown(dlg, msg, code) : mnemonic(dlg, msg, code);
      if (done) return TRUE;
    }
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}

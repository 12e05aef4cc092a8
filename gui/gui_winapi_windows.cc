// Window natives over the Win32 layer: the calls the library's classes make on windows and
// dialog items. A dead or missing handle gives the Win32 failure value (0, "", .F.).
#include <string>
#include <vector>

#include "gui_natives.h"
#include "vm/array.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

HWND hwndParam(int n) { return parHandle<HWND>(n); }

// A RECT as the language's { nTop, nLeft, nBottom, nRight }.
void retRect(const RECT& r) {
  pv_reta(4);
  PV_ITEM a = pv_stackReturnItem();
  pv_arraySetNI(a, 1, r.top);
  pv_arraySetNI(a, 2, r.left);
  pv_arraySetNI(a, 3, r.bottom);
  pv_arraySetNI(a, 4, r.right);
}

std::string textParam(int n) {
  const char* p = pv_parc(n);
  return p ? std::string(p, static_cast<size_t>(pv_parclen(n))) : std::string();
}

void PV_FUN_GETDLGITEM() { retHandle(GetDlgItem(hwndParam(1), pv_parni(2))); }
void PV_FUN_GETDLGCTRLID() { pv_retni(GetDlgCtrlID(hwndParam(1))); }
void PV_FUN_ISWINDOW() { pv_retl(IsWindow(hwndParam(1)) != FALSE); }
void PV_FUN_ISWINDOWVISIBLE() { pv_retl(IsWindowVisible(hwndParam(1)) != FALSE); }
void PV_FUN_GETPARENT() { retHandle(GetParent(hwndParam(1))); }
void PV_FUN_GETFOCUS() { retHandle(GetFocus()); }
void PV_FUN_SETFOCUS() { retHandle(SetFocus(hwndParam(1))); }
void PV_FUN_GETACTIVEWINDOW() { retHandle(GetActiveWindow()); }
void PV_FUN_SHOWWINDOW() { pv_retl(ShowWindow(hwndParam(1), pv_ispar(2, PV_IT_NUMERIC) ? pv_parni(2) : SW_SHOW) != FALSE); }
void PV_FUN_DESTROYWINDOW() { pv_retl(DestroyWindow(hwndParam(1)) != FALSE); }
void PV_FUN_ENABLEWINDOW() { pv_retl(EnableWindow(hwndParam(1), pv_parl(2)) != FALSE); }
void PV_FUN_UPDATEWINDOW() { pv_retl(UpdateWindow(hwndParam(1)) != FALSE); }

// INVALIDATERECT( hWnd, lErase ) -> .T. when the window exists.
void PV_FUN_INVALIDATERECT() {
  bool erase = !pv_ispar(2, PV_IT_LOGICAL) || pv_parl(2);
  pv_retl(InvalidateRect(hwndParam(1), nullptr, erase) != FALSE);
}

void PV_FUN_SETWINDOWTEXT() { pv_retl(SetWindowTextA(hwndParam(1), textParam(2).c_str()) != FALSE); }

void PV_FUN_GETWINDOWTEXT() {
  HWND h = hwndParam(1);
  int len = GetWindowTextLengthA(h);
  std::vector<char> buffer(static_cast<size_t>(len) + 1);
  int got = len > 0 ? GetWindowTextA(h, buffer.data(), len + 1) : 0;
  pv_retclen(buffer.data(), got);
}

void PV_FUN_GETCLASSNAME() {
  char name[256];
  int len = GetClassNameA(hwndParam(1), name, sizeof name);
  pv_retclen(name, len);
}

void PV_FUN_SENDMESSAGE() {
  pv_retnll(SendMessageA(hwndParam(1), static_cast<UINT>(pv_parnll(2)), static_cast<WPARAM>(pv_parnll(3)),
                         static_cast<LPARAM>(pv_parnll(4))));
}

void PV_FUN_POSTMESSAGE() {
  pv_retl(PostMessageA(hwndParam(1), static_cast<UINT>(pv_parnll(2)), static_cast<WPARAM>(pv_parnll(3)),
                       static_cast<LPARAM>(pv_parnll(4))) != FALSE);
}

void PV_FUN_GETWINDOWLONG() { pv_retnll(static_cast<uint32_t>(GetWindowLongA(hwndParam(1), pv_parni(2)))); }

void PV_FUN_SETWINDOWLONG() {
  pv_retnll(static_cast<uint32_t>(SetWindowLongA(hwndParam(1), pv_parni(2), static_cast<LONG>(pv_parnll(3)))));
}

void PV_FUN_GETWINDOWRECT() {
  RECT r{};
  GetWindowRect(hwndParam(1), &r);
  retRect(r);
}

void PV_FUN_GETCLIENTRECT() {
  RECT r{};
  GetClientRect(hwndParam(1), &r);
  retRect(r);
}

// MOVEWINDOW( hWnd, nTop, nLeft, nWidth, nHeight, lRepaint )
void PV_FUN_MOVEWINDOW() {
  bool repaint = !pv_ispar(6, PV_IT_LOGICAL) || pv_parl(6);
  pv_retl(MoveWindow(hwndParam(1), pv_parni(3), pv_parni(2), pv_parni(4), pv_parni(5), repaint) != FALSE);
}

// WNDCENTER( hWnd, hOwner ): centres the window over its owner, or over the screen.
void PV_FUN_WNDCENTER() {
  HWND h = hwndParam(1), owner = hwndParam(2);
  RECT r{}, area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!GetWindowRect(h, &r)) return pv_retl(false);
  if (owner && IsWindow(owner)) GetWindowRect(owner, &area);
  int w = r.right - r.left, ht = r.bottom - r.top;
  int x = area.left + (area.right - area.left - w) / 2, y = area.top + (area.bottom - area.top - ht) / 2;
  pv_retl(SetWindowPos(h, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != FALSE);
}

void PV_FUN_GETDIALOGBASEUNITS() { pv_retnll(static_cast<uint32_t>(GetDialogBaseUnits())); }

void PV_FUN_GETNEXTDLGTABITEM() {
  retHandle(GetNextDlgTabItem(hwndParam(1), hwndParam(2), pv_parl(3)));
}

// REGISTERCLASS( cClassName, nStyle, hBrush, hIcon ) -> .T. when registered now or before.
void PV_FUN_REGISTERCLASS() {
  std::string name = textParam(1);
  if (name.empty()) return pv_retl(false);
  WNDCLASSA existing;
  if (GetClassInfoA(nullptr, name.c_str(), &existing)) return pv_retl(true);
  WNDCLASSA wc{};
  wc.style = static_cast<UINT>(pv_parnll(2));
  wc.lpfnWndProc = windowProc;
  wc.hbrBackground = parHandle<HBRUSH>(3);
  wc.hIcon = parHandle<HICON>(4);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
  wc.lpszClassName = name.c_str();
  pv_retl(RegisterClassA(&wc) != 0);
}

// CREATEWINDOW( cClass, cCaption, nStyle, nLeft, nTop, nWidth, nHeight, hParent, nId, nExStyle )
void PV_FUN_CREATEWINDOW() {
  std::string cls = textParam(1), caption = textParam(2);
  HMENU id = reinterpret_cast<HMENU>(static_cast<intptr_t>(pv_parnll(9)));
  retHandle(CreateWindowExA(static_cast<DWORD>(pv_parnll(10)), cls.c_str(), caption.c_str(),
                            static_cast<DWORD>(pv_parnll(3)), pv_parni(4), pv_parni(5), pv_parni(6),
                            pv_parni(7), hwndParam(8), id, nullptr, nullptr));
}

// CLIENTORIGIN( hWnd ) -> { nTop, nLeft }: where the client area begins on the screen.
void PV_FUN_CLIENTORIGIN() {
  POINT p{0, 0};
  ClientToScreen(hwndParam(1), &p);
  pv_reta(2);
  pv_arraySetNI(pv_stackReturnItem(), 1, p.y);
  pv_arraySetNI(pv_stackReturnItem(), 2, p.x);
}

// GETCHILDWINDOWS( hWnd ) -> the handles of the window's direct children, in z order.
void PV_FUN_GETCHILDWINDOWS() {
  std::vector<HWND> kids;
  HWND parent = hwndParam(1);
  for (HWND h = IsWindow(parent) ? GetWindow(parent, GW_CHILD) : nullptr; h; h = GetWindow(h, GW_HWNDNEXT))
    kids.push_back(h);
  pv_reta(static_cast<PV_SIZE>(kids.size()));
  PvItem number{};
  for (size_t i = 0; i < kids.size(); ++i)
    pv_arraySet(pv_stackReturnItem(), static_cast<PV_SIZE>(i + 1), pv_itemPutNLL(&number, handleNumber(kids[i])));
}

// LISTBOXADD( hWnd, cText ) -> the new item's index (0-based), or -1.
void PV_FUN_LISTBOXADD() {
  std::string text = textParam(2);
  pv_retnll(SendMessageA(hwndParam(1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

PvSymbol s_symbols[] = {
    pv_native("LISTBOXADD", PV_FUN_LISTBOXADD),
    pv_native("CLIENTORIGIN", PV_FUN_CLIENTORIGIN),
    pv_native("GETCHILDWINDOWS", PV_FUN_GETCHILDWINDOWS),
    pv_native("GETDLGITEM", PV_FUN_GETDLGITEM),
    pv_native("GETDLGCTRLID", PV_FUN_GETDLGCTRLID),
    pv_native("ISWINDOW", PV_FUN_ISWINDOW),
    pv_native("ISWINDOWVISIBLE", PV_FUN_ISWINDOWVISIBLE),
    pv_native("GETPARENT", PV_FUN_GETPARENT),
    pv_native("GETFOCUS", PV_FUN_GETFOCUS),
    pv_native("SETFOCUS", PV_FUN_SETFOCUS),
    pv_native("GETACTIVEWINDOW", PV_FUN_GETACTIVEWINDOW),
    pv_native("SHOWWINDOW", PV_FUN_SHOWWINDOW),
    pv_native("DESTROYWINDOW", PV_FUN_DESTROYWINDOW),
    pv_native("ENABLEWINDOW", PV_FUN_ENABLEWINDOW),
    pv_native("UPDATEWINDOW", PV_FUN_UPDATEWINDOW),
    pv_native("INVALIDATERECT", PV_FUN_INVALIDATERECT),
    pv_native("SETWINDOWTEXT", PV_FUN_SETWINDOWTEXT),
    pv_native("GETWINDOWTEXT", PV_FUN_GETWINDOWTEXT),
    pv_native("GETCLASSNAME", PV_FUN_GETCLASSNAME),
    pv_native("SENDMESSAGE", PV_FUN_SENDMESSAGE),
    pv_native("POSTMESSAGE", PV_FUN_POSTMESSAGE),
    pv_native("GETWINDOWLONG", PV_FUN_GETWINDOWLONG),
    pv_native("SETWINDOWLONG", PV_FUN_SETWINDOWLONG),
    pv_native("GETWINDOWRECT", PV_FUN_GETWINDOWRECT),
    pv_native("GETCLIENTRECT", PV_FUN_GETCLIENTRECT),
    pv_native("MOVEWINDOW", PV_FUN_MOVEWINDOW),
    pv_native("WNDCENTER", PV_FUN_WNDCENTER),
    pv_native("GETDIALOGBASEUNITS", PV_FUN_GETDIALOGBASEUNITS),
    pv_native("GETNEXTDLGTABITEM", PV_FUN_GETNEXTDLGTABITEM),
    pv_native("REGISTERCLASS", PV_FUN_REGISTERCLASS),
    pv_native("CREATEWINDOW", PV_FUN_CREATEWINDOW),
};
PvModuleRegistrar s_module("gui/winapi_windows", s_symbols);

}  // namespace

// The predefined window classes: BUTTON, STATIC, LISTBOX and the dialog class #32770.
#include "state.h"
#include "win32/user.h"

namespace pv::win32 {

ATOM registerClass(const WNDCLASSA* wc, bool system);

static LRESULT CALLBACK dialogClassProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefDlgProcA(h, message, wParam, lParam);
}

void registerSystemClasses() {
  struct Entry {
    const char* name;
    WNDPROC proc;
    UINT style;
    int extra;
  } entries[] = {
      {"BUTTON", buttonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, 0},
      {"STATIC", staticProc, CS_DBLCLKS | CS_PARENTDC, 0},
      {"LISTBOX", listBoxProc, CS_DBLCLKS | CS_PARENTDC, 0},
      {"#32770", dialogClassProc, CS_DBLCLKS | CS_SAVEBITS, 24},
  };
  for (const Entry& e : entries) {
    WNDCLASSA wc{e.style, e.proc, 0, e.extra, nullptr, nullptr, LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW)), nullptr, nullptr, e.name};
    registerClass(&wc, true);
  }
}

}  // namespace pv::win32

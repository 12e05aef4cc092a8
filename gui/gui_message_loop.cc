// The modeless dialog list (200 handles) and message pumping: SYSREFRESH removes and handles
// every queued message, giving the modeless dialogs their keyboard handling first.
#include <algorithm>
#include <array>

#include "gui_natives.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace pv::gui {

namespace {

constexpr size_t kModelessLimit = 200;

struct ModelessList {
  std::array<HWND, kModelessLimit> handles{};
  size_t highest = 0;       // one past the highest used entry
  HWND lastAccepted = nullptr;  // the dialog that took the last message
};

ModelessList& modeless() {
  static ModelessList list;
  return list;
}

WPARAM& lastKey() {
  static WPARAM key = 0;
  return key;
}

// Whether a modeless dialog takes the message as dialog input (Tab, Enter, Escape, ...).
bool modelessAccepts(MSG* m) {
  ModelessList& list = modeless();
  if (list.lastAccepted && IsWindow(list.lastAccepted) && IsDialogMessageA(list.lastAccepted, m)) return true;
  for (size_t i = 0; i < list.highest; ++i) {
    HWND h = list.handles[i];
    if (h && h != list.lastAccepted && IsDialogMessageA(h, m)) {
      list.lastAccepted = h;
      return true;
    }
  }
  return false;
}

bool registerModeless(HWND h) {
  ModelessList& list = modeless();
  for (size_t i = 0; i < kModelessLimit; ++i)
    if (!list.handles[i]) {
      list.handles[i] = h;
      list.highest = std::max(list.highest, i + 1);
      return true;
    }
  return false;
}

void deregisterModeless(HWND h) {
  ModelessList& list = modeless();
  for (size_t i = 0; i < list.highest; ++i)
    if (list.handles[i] == h) list.handles[i] = nullptr;
  while (list.highest > 0 && !list.handles[list.highest - 1]) --list.highest;
  if (list.lastAccepted == h) list.lastAccepted = nullptr;
}

}  // namespace

bool isModelessDialog(HWND h) {
  const ModelessList& list = modeless();
  for (size_t i = 0; i < list.highest; ++i)
    if (list.handles[i] == h) return true;
  return false;
}

bool pumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      if (loopRunning()) PostQuitMessage(static_cast<int>(m.wParam));
      return false;
    }
    if (m.message == WM_CHAR) lastKey() = m.wParam;
    if (modelessAccepts(&m)) continue;
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return true;
}

}  // namespace pv::gui

using namespace pv::gui;

namespace {

void PV_FUN_REGDIALOG() { pv_retl(IsWindow(parHandle<HWND>(1)) && registerModeless(parHandle<HWND>(1))); }

void PV_FUN_DEREGDIALOG() {
  deregisterModeless(parHandle<HWND>(1));
  pv_retl(true);
}

void PV_FUN_CANREGDIALOG() {
  const ModelessList& list = modeless();
  bool free = false;
  for (HWND h : list.handles) free = free || !h;
  pv_retl(free);
}

// SYSREFRESH() -> .T. when the queue emptied, .F. when WM_QUIT was met.
void PV_FUN_SYSREFRESH() { pv_retl(pumpMessages()); }

// GETLASTKEY() -> the character of the last WM_CHAR that SYSREFRESH handled.
void PV_FUN_GETLASTKEY() { pv_retnll(static_cast<long long>(lastKey())); }

PvSymbol s_symbols[] = {
    pv_native("REGDIALOG", PV_FUN_REGDIALOG),
    pv_native("DEREGDIALOG", PV_FUN_DEREGDIALOG),
    pv_native("CANREGDIALOG", PV_FUN_CANREGDIALOG),
    pv_native("SYSREFRESH", PV_FUN_SYSREFRESH),
    pv_native("GETLASTKEY", PV_FUN_GETLASTKEY),
};
PvModuleRegistrar s_module("gui/message_loop", s_symbols);

}  // namespace

// The window procedure path: the library's window procedure hands every message of a linked
// window to the object in the window's slot of the window table (as _GXH does), and returns
// the handler's result or passes the message on to the replaced procedure.
// Also the subclassing natives XCHANGEPROC, RESTPROC and XFREEPROC.
#include "gui_natives.h"
#include "vm/dynsym.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace pv::gui {

void retHandle(const void* h) { pv_retnll(static_cast<long long>(reinterpret_cast<uintptr_t>(h))); }

Message::Message(const char* name) : symbol(pv_dynsymGet(name)->symbol) {}

PV_ITEM send(PV_ITEM object, const Message& message, std::initializer_list<Arg> args) {
  pv_vmPushSymbol(message.symbol);
  pv_vmPush(object);
  for (const Arg& a : args) {
    if (a.logical) pv_vmPushLogical(a.value != 0);
    else pv_vmPushLong(a.value);
  }
  pv_vmSend(static_cast<uint16_t>(args.size()));
  return pv_stackReturnItem();
}

LRESULT resultOf(PV_ITEM value) {
  if (PV_IS_NUMINT(value)) return static_cast<LRESULT>(pv_itemGetNLL(value));
  if (PV_IS_DOUBLE(value)) return static_cast<LRESULT>(static_cast<long long>(pv_itemGetND(value)));
  if (PV_IS_LOGICAL(value)) return pv_itemGetL(value) ? 1 : 0;
  return 0;
}

namespace {

LRESULT passOn(long long oldProc, HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (oldProc)
    return CallWindowProcA(reinterpret_cast<WNDPROC>(static_cast<intptr_t>(static_cast<LONG>(oldProc))), h,
                           message, wParam, lParam);
  return DefWindowProcA(h, message, wParam, lParam);
}

}  // namespace

// Windows of the library's classes and subclassed controls both come here. The slot is the
// one kept in GWL_USERDATA (0 until the window is linked: such messages get the default
// handling, never another object's). Message and wParam are passed whole.
LRESULT CALLBACK windowProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  int slot = static_cast<int>(GetWindowLongA(h, GWL_USERDATA) & 0xFFFF);
  if (slot == 0 || unwinding()) return DefWindowProcA(h, message, wParam, lParam);
  LRESULT result = 0;
  long long oldProc = 0;
  Dispatch d = dispatchToSlot(slot, message, wParam, lParam, result, oldProc);
  endLoopsForUnwinding();
  if (d == Dispatch::Handled) return result;
  if (d == Dispatch::NotHandled && oldProc) return passOn(oldProc, h, message, wParam, lParam);
  return DefWindowProcA(h, message, wParam, lParam);
}

}  // namespace pv::gui

using namespace pv::gui;

namespace {

// XCHANGEPROC( hWnd, nIndex ) -> the replaced window procedure (0 for a dead window).
void PV_FUN_XCHANGEPROC() {
  HWND h = parHandle<HWND>(1);
  if (!IsWindow(h)) return pv_retnl(0);
  SetWindowLongA(h, GWL_USERDATA, pv_parni(2));
  // A window of one of the library's own classes already has its procedure: nothing to replace.
  if (GetWindowLongPtrA(h, GWL_WNDPROC) == reinterpret_cast<LONG_PTR>(&windowProc)) return pv_retnl(0);
  LONG old = GetWindowLongA(h, GWL_WNDPROC);
  SetWindowLongPtrA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
  pv_retnll(static_cast<long long>(static_cast<uint32_t>(old)));
}

// RESTPROC( hWnd, nOldProc ) -> the procedure it replaces (the library's), 0 when nothing done.
void PV_FUN_RESTPROC() {
  HWND h = parHandle<HWND>(1);
  long long old = pv_parnll(2);
  if (!IsWindow(h)) return pv_retnl(0);
  SetWindowLongA(h, GWL_USERDATA, 0);  // the slot may soon hold another window's object
  if (!old) return pv_retnl(0);
  LONG current = GetWindowLongA(h, GWL_WNDPROC);
  SetWindowLongPtrA(h, GWL_WNDPROC, static_cast<LONG_PTR>(static_cast<LONG>(old)));
  pv_retnll(static_cast<long long>(static_cast<uint32_t>(current)));
}

// XFREEPROC( nProc ): the layer keeps no per-subclass memory; nothing to free.
void PV_FUN_XFREEPROC() { pv_retl(true); }

PvSymbol s_symbols[] = {
    pv_native("XCHANGEPROC", PV_FUN_XCHANGEPROC),
    pv_native("RESTPROC", PV_FUN_RESTPROC),
    pv_native("XFREEPROC", PV_FUN_XFREEPROC),
};
PvModuleRegistrar s_module("gui/dispatch", s_symbols);

}  // namespace

// The process-wide window table: an array of window objects indexed by the slot number each
// linked window keeps in GWL_USERDATA (a freed slot holds 0; slots are reused, never removed),
// and _GXH, which hands a message to the object in a slot. The window procedure uses the same
// code directly, so dispatching a message costs no search and no extra language call; a
// message that none of the library's HandleEvent methods looks at goes on unsent when the
// object's class has no HandleEvent of its own.
#include "gui_natives.h"
#include "vm/array.h"
#include "vm/classes.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace pv::gui {

namespace {

// A language array of `len` NILs held by a grip for the life of the program.
PV_ITEM heldArray(PV_SIZE len) {
  PvItem array{};
  pv_arrayNew(&array, len);
  PV_ITEM grip = pv_itemNew(&array);
  pv_itemClear(&array);
  return grip;
}

// The table: a language array, so that GETALLWIN() can hand out the array itself.
PV_ITEM table() {
  static PV_ITEM windows = heldArray(0);
  return windows;
}

PV_ITEM objectInSlot(int slot) {
  PV_ITEM o = slot > 0 ? pv_arrayGetItemPtr(table(), slot) : nullptr;
  return o && PV_IS_OBJECT(o) ? o : nullptr;
}

long long oldProcOf(PV_ITEM object) {
  static const Message oldProc("NOLDPROC");
  PV_ITEM r = send(object, oldProc);
  return PV_IS_NUMERIC(r) ? pv_itemGetNLL(r) : 0;
}

}  // namespace

Dispatch dispatchToSlot(int slot, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, long long& oldProc) {
  static const Message handleEvent("HANDLEEVENT");
  PV_ITEM o = objectInSlot(slot);
  if (!o) return Dispatch::NoObject;
  PvItem object{};
  pv_itemCopy(&object, o);  // the handler may free the slot
  bool handled = false;
  if (libraryMayHandle(message) || !handlesEventsLikeLibrary(&object)) {
    PV_ITEM r = send(&object, handleEvent, {{message}, {static_cast<long long>(wParam)}, {lParam}});
    handled = !PV_IS_NIL(r);
    if (handled) result = resultOf(r);
  }
  if (!handled) oldProc = oldProcOf(&object);
  pv_itemClear(&object);
  return handled ? Dispatch::Handled : Dispatch::NotHandled;
}

}  // namespace pv::gui

using namespace pv::gui;

namespace {

// _GXH( nHwndOrLParam, nMsg, nWParam, nLParam, nSlot ) -> { result, nOldProc }, or NIL when
// the slot holds no object. One array serves every call; callers read it at once.
void PV_FUN__GXH() {
  static const Message handleEvent("HANDLEEVENT");
  static PV_ITEM answer = heldArray(2);
  PV_ITEM o = objectInSlot(pv_parni(5));
  if (!o) return pv_ret();
  PvItem object{};
  pv_itemCopy(&object, o);
  PV_ITEM r = send(&object, handleEvent, {{pv_parnll(2)}, {pv_parnll(3)}, {pv_parnll(4)}});
  pv_arraySet(answer, 1, r);
  PvItem old{};
  pv_itemPutNLL(&old, oldProcOf(&object));
  pv_arraySet(answer, 2, &old);
  pv_itemClear(&object);
  pv_itemReturn(answer);
}

// _GXLINKSLOT( oWnd ) -> the slot the object now holds: the first free one, or a new one.
void PV_FUN__GXLINKSLOT() {
  PV_ITEM o = pv_param(1, PV_IT_OBJECT);
  if (!o) return pv_retni(0);
  PV_ITEM t = table();
  PV_SIZE n = pv_arrayLen(t);
  for (PV_SIZE i = 1; i <= n; ++i)
    if (!PV_IS_OBJECT(pv_arrayGetItemPtr(t, i))) {
      pv_arraySet(t, i, o);
      return pv_retnll(i);
    }
  pv_arrayAdd(t, o);
  pv_retnll(n + 1);
}

// _GXUNLINKSLOT( oWnd ) -> the slot it held (now 0), or 0 when it was not linked.
void PV_FUN__GXUNLINKSLOT() {
  PV_ITEM o = pv_param(1, PV_IT_OBJECT);
  PV_ITEM t = table();
  for (PV_SIZE i = 1; o && i <= pv_arrayLen(t); ++i) {
    PV_ITEM slot = pv_arrayGetItemPtr(t, i);
    if (PV_IS_OBJECT(slot) && slot->item.asArray.value == o->item.asArray.value) {
      PvItem zero{};
      pv_itemPutNI(&zero, 0);
      pv_arraySet(t, i, &zero);
      return pv_retnll(i);
    }
  }
  pv_retni(0);
}

void PV_FUN_NWINDOWS() { pv_retnll(pv_arrayLen(table())); }
void PV_FUN_GETALLWIN() { pv_itemReturn(table()); }

bool hasHandle(PV_ITEM object, HWND h) {
  static const Message hWnd("HWND");
  PV_ITEM r = send(object, hWnd);
  return PV_IS_NUMERIC(r) && pv_itemGetNLL(r) == handleNumber(h);
}

// OWNDFROMHWND( hWnd ) -> the linked object of that window, or NIL: through the slot the
// window keeps, else (a window linked without subclassing) by a look through the table.
void PV_FUN_OWNDFROMHWND() {
  HWND h = parHandle<HWND>(1);
  if (!h || !IsWindow(h)) return pv_ret();
  PV_ITEM o = objectInSlot(static_cast<int>(GetWindowLongA(h, GWL_USERDATA) & 0xFFFF));
  if (o && hasHandle(o, h)) return pv_itemReturn(o);
  for (PV_SIZE i = 1; i <= pv_arrayLen(table()); ++i) {
    PvItem candidate{};
    if (PV_ITEM slot = objectInSlot(static_cast<int>(i))) pv_itemCopy(&candidate, slot);
    bool found = PV_IS_OBJECT(&candidate) && hasHandle(&candidate, h);
    if (found) pv_itemReturn(&candidate);
    pv_itemClear(&candidate);
    if (found) return;
  }
  pv_ret();
}

PvSymbol s_symbols[] = {
    pv_native("_GXH", PV_FUN__GXH),
    pv_native("_GXLINKSLOT", PV_FUN__GXLINKSLOT),
    pv_native("_GXUNLINKSLOT", PV_FUN__GXUNLINKSLOT),
    pv_native("NWINDOWS", PV_FUN_NWINDOWS),
    pv_native("GETALLWIN", PV_FUN_GETALLWIN),
    pv_native("OWNDFROMHWND", PV_FUN_OWNDFROMHWND),
};
PvModuleRegistrar s_module("gui/window_table", s_symbols);

}  // namespace

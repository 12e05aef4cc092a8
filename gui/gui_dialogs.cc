// Dialog boxes from resources and from in-memory templates, modal and modeless, and the dialog
// procedure that hands their messages to the dialog object.
//
// Modal dialogs are bound to their objects through the modal stack: DIALOGBOX pushes an entry
// { window handle, object } (at most 50; beyond that no entry, so the dialog gets the default
// handling), the dialog procedure binds the first unbound top entry to the first window that
// asks, and the entry is popped when the dialog has ended. A modeless dialog is bound only while
// CREATEDLG runs; afterwards its window is linked into the window table and subclassed, so its
// messages arrive through the window procedure and the dialog procedure has nothing to do.
#include <cstring>
#include <string>
#include <vector>

#include "gui_natives.h"
#include "vm/classes.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace pv::gui {

namespace {

constexpr size_t kModalLimit = 50;

struct Binding {
  HWND hwnd;
  PV_ITEM object;  // a grip on the dialog object
};

std::vector<Binding>& modalStack() {
  static std::vector<Binding> stack;
  return stack;
}

Binding& creatingModeless() {
  static Binding b{nullptr, nullptr};
  return b;
}

int& modalDepth() {
  static int depth = 0;
  return depth;
}

PV_ITEM boundObject(HWND h) {
  auto& stack = modalStack();
  for (auto it = stack.rbegin(); it != stack.rend(); ++it)
    if (it->hwnd == h) return it->object;
  if (!stack.empty() && !stack.back().hwnd) {
    stack.back().hwnd = h;
    return stack.back().object;
  }
  Binding& pending = creatingModeless();
  if (pending.object && (!pending.hwnd || pending.hwnd == h)) {
    pending.hwnd = h;
    return pending.object;
  }
  return nullptr;
}

INT_PTR CALLBACK dialogProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  static const Message handleEvent("HANDLEEVENT");
  if (unwinding()) return FALSE;
  PV_ITEM object = boundObject(h);
  if (!object || !pv_objHasMessage(object, handleEvent.symbol->dynsym)) return FALSE;
  LPARAM last = message == WM_INITDIALOG ? static_cast<LPARAM>(handleNumber(h)) : lParam;
  PV_ITEM r = send(object, handleEvent, {{message}, {static_cast<long long>(wParam)}, {last}});
  INT_PTR result = PV_IS_NUMERIC(r) ? resultOf(r) : (PV_IS_LOGICAL(r) && pv_itemGetL(r));
  endLoopsForUnwinding();
  return result;
}

// The template name of the second parameter: a text, or a number as MAKEINTRESOURCE.
LPCSTR resourceName(int n) {
  if (const char* text = pv_parc(n)) return text;
  return MAKEINTRESOURCEA(static_cast<WORD>(pv_parni(n)));
}

INT_PTR runModal(HWND owner, PV_ITEM object, const auto& open) {
  auto& stack = modalStack();
  bool pushed = stack.size() < kModalLimit;
  if (pushed) stack.push_back(Binding{nullptr, pv_itemNew(object)});
  ++modalDepth();
  INT_PTR r = open(owner);
  --modalDepth();
  if (pushed) {
    pv_itemRelease(stack.back().object);
    stack.pop_back();
  }
  return r;
}

HWND createModeless(PV_ITEM object, const auto& create) {
  Binding saved = creatingModeless();
  creatingModeless() = Binding{nullptr, pv_itemNew(object)};
  HWND h = create();
  pv_itemRelease(creatingModeless().object);
  creatingModeless() = saved;
  return h;
}

PV_ITEM dialogObject() { return pv_paramError(4); }

}  // namespace

bool loopRunning() { return modalDepth() > 0; }

bool unwinding() { return (pv_vmRequestQuery() & (PV_QUIT_REQUESTED | PV_BREAK_REQUESTED)) != 0; }

void endLoopsForUnwinding() {
  uint16_t requests = pv_vmRequestQuery();
  if (requests & PV_QUIT_REQUESTED) {
    PostQuitMessage(0);
  } else if (requests & PV_BREAK_REQUESTED) {
    auto& stack = modalStack();
    if (!stack.empty() && stack.back().hwnd) EndDialog(stack.back().hwnd, IDCANCEL);
  }
}

}  // namespace pv::gui

using namespace pv::gui;

namespace {

// DIALOGBOX( hResources, cResName | nResId, hWndOwner, oDlg ) -> the result, as a 16-bit number.
void PV_FUN_DIALOGBOX() {
  HINSTANCE instance = parHandle<HINSTANCE>(1);
  LPCSTR name = resourceName(2);
  INT_PTR r = runModal(parHandle<HWND>(3), dialogObject(), [&](HWND owner) {
    return DialogBoxParamA(instance, name, owner, dialogProc, 0);
  });
  pv_retnl(static_cast<long>(r & 0xFFFF));
}

// DIALOGBOXINDIRECT( hInstance, cTemplate, hWndOwner, oDlg ) -> the result; 0 for an empty
// template. The template is copied into a global memory block while the wait cursor shows.
void PV_FUN_DIALOGBOXINDIRECT() {
  PV_SIZE len = pv_parclen(2);
  if (!pv_parc(2) || len == 0) return pv_retnl(0);
  HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_WAIT)));
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(len));
  void* bytes = block ? GlobalLock(block) : nullptr;
  if (bytes) std::memcpy(bytes, pv_parc(2), static_cast<size_t>(len));
  SetCursor(old);
  if (!bytes) return pv_retnl(0xFFFF);
  HINSTANCE instance = parHandle<HINSTANCE>(1);
  INT_PTR r = runModal(parHandle<HWND>(3), dialogObject(), [&](HWND owner) {
    return DialogBoxIndirectParamA(instance, bytes, owner, dialogProc, 0);
  });
  GlobalUnlock(block);
  GlobalFree(block);
  pv_retnl(static_cast<long>(r & 0xFFFF));
}

// CREATEDLG( hResources, cResName | nResId, hWndOwner, oDlg ) -> the modeless dialog's handle.
void PV_FUN_CREATEDLG() {
  HINSTANCE instance = parHandle<HINSTANCE>(1);
  LPCSTR name = resourceName(2);
  HWND owner = parHandle<HWND>(3);
  retHandle(createModeless(dialogObject(), [&] { return CreateDialogParamA(instance, name, owner, dialogProc, 0); }));
}

// CREATEDLGINDIRECT( hInstance, cTemplate, hWndOwner, oDlg ) -> the handle, 0 on failure.
void PV_FUN_CREATEDLGINDIRECT() {
  if (!pv_parc(2) || pv_parclen(2) == 0) return pv_retnl(0);
  std::string bytes(pv_parc(2), static_cast<size_t>(pv_parclen(2)));
  HINSTANCE instance = parHandle<HINSTANCE>(1);
  HWND owner = parHandle<HWND>(3);
  retHandle(createModeless(dialogObject(), [&] {
    return CreateDialogIndirectParamA(instance, bytes.data(), owner, dialogProc, 0);
  }));
}

// ENDDIALOG( hWnd, nResult ) -> logical.
void PV_FUN_ENDDIALOG() { pv_retl(EndDialog(parHandle<HWND>(1), pv_parnll(2)) != FALSE); }

// LWRUNNING() -> whether a modal dialog's message loop runs.
void PV_FUN_LWRUNNING() { pv_retl(loopRunning()); }

PvSymbol s_symbols[] = {
    pv_native("DIALOGBOX", PV_FUN_DIALOGBOX),
    pv_native("DIALOGBOXINDIRECT", PV_FUN_DIALOGBOXINDIRECT),
    pv_native("CREATEDLG", PV_FUN_CREATEDLG),
    pv_native("CREATEDLGINDIRECT", PV_FUN_CREATEDLGINDIRECT),
    pv_native("ENDDIALOG", PV_FUN_ENDDIALOG),
    pv_native("LWRUNNING", PV_FUN_LWRUNNING),
};
PvModuleRegistrar s_module("gui/dialogs", s_symbols);

}  // namespace

// Shared helpers of the GUI library's native functions: handles and numbers between the
// language and the Win32 layer, sending messages to window objects with cached message
// symbols, and the state that several natives share (the dialog bindings, the last key).
#pragma once

#include <cstdint>
#include <initializer_list>

#include "vm/item.h"
#include "vm/vm.h"
#include "win32/win32.h"

namespace pv::gui {

// Handles travel in the language as numbers.
template <typename H>
H parHandle(int n) {
  return reinterpret_cast<H>(static_cast<uintptr_t>(pv_parnll(n)));
}
template <typename H>
long long handleNumber(H h) {
  return static_cast<long long>(reinterpret_cast<uintptr_t>(h));
}
void retHandle(const void* h);

// A message symbol resolved once: `static Message m("PAINT");` then send(self, m, {...}).
struct Message {
  explicit Message(const char* name);
  PvSymbol* symbol;
};

// One argument of a message: a number or a logical.
struct Arg {
  long long value;
  bool logical = false;
};
inline Arg logicalArg(bool b) { return Arg{b ? 1 : 0, true}; }

// Sends the message with the arguments; returns the return slot (valid until the next call).
PV_ITEM send(PV_ITEM object, const Message& message, std::initializer_list<Arg> args = {});

// The result of a window procedure for a message handler's value: numbers as they are,
// logicals as 1/0, anything else 0.
LRESULT resultOf(PV_ITEM value);

// Message pumping shared by SYSREFRESH and the benchmark entry points: true when the queue
// emptied, false when WM_QUIT was met.
bool pumpMessages();

// Whether a modal dialog's loop (or the main window's) is running.
bool loopRunning();

// Whether a quit or a break (an error caught by TRY, say) waits to unwind the language's
// calls; while one does, messages get the default handling.
bool unwinding();
// Lets such a request reach the language: a quit ends every message loop, a break ends the
// innermost modal dialog so that the call that opened it returns.
void endLoopsForUnwinding();

// Hands a message to the window object in a slot of the window table (what _GXH does). When
// the handler does not answer, `oldProc` is the procedure the object replaced (0: none).
enum class Dispatch { NoObject, Handled, NotHandled };
Dispatch dispatchToSlot(int slot, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, long long& oldProc);

// Whether a HandleEvent of the library (TWindow's switch, TControl's, TDialog's) looks at
// `message`; and whether `object`'s class answers HandleEvent with one of them (not with an
// override of its own). A message no such method looks at needs no language call.
bool libraryMayHandle(UINT message);
bool handlesEventsLikeLibrary(PV_ITEM object);

// The library's window procedure, installed by subclassing and used by its window classes.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// True when hwnd is a modeless dialog on the library's list.
bool isModelessDialog(HWND hwnd);

}  // namespace pv::gui

// Window fields reached through GetWindowLong/SetWindowLong and the window text.
#include <algorithm>
#include <cstring>

#include "state.h"
#include "win32/kernel.h"
#include "win32/user.h"

using namespace pv::win32;

namespace {

// Reads or writes `size` bytes of a window's extra memory at `offset`; false when out of range.
bool extraBytes(Window* w, int offset, size_t size, void* value, bool write) {
  if (offset < 0 || static_cast<size_t>(offset) + size > w->extraBytes.size()) return false;
  unsigned char* at = w->extraBytes.data() + offset;
  if (write)
    std::memcpy(at, value, size);
  else
    std::memcpy(value, at, size);
  return true;
}

bool readField(Window* w, int index, LONG_PTR& out, bool cookieForProc) {
  switch (index) {
    case GWL_WNDPROC:
      out = cookieForProc ? procCookie(w->proc) : reinterpret_cast<LONG_PTR>(w->proc);
      return true;
    case GWL_HINSTANCE: out = reinterpret_cast<LONG_PTR>(w->instance); return true;
    case GWL_HWNDPARENT: out = reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner); return true;
    case GWL_ID: out = w->id; return true;
    case GWL_STYLE: out = static_cast<LONG>(w->style); return true;
    case GWL_EXSTYLE: out = static_cast<LONG>(w->exStyle); return true;
    case GWL_USERDATA: out = w->userData; return true;
    default: return false;
  }
}

bool writeField(Window* w, int index, LONG_PTR value) {
  switch (index) {
    case GWL_WNDPROC: {
      WNDPROC proc = procFromCookie(value);
      if (!proc) return false;
      w->proc = proc;
      return true;
    }
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return true;
    case GWL_ID: w->id = value; return true;
    case GWL_STYLE: {
      DWORD old = w->style;
      w->style = static_cast<DWORD>(value);
      w->style = (w->style & ~WS_VISIBLE) | (old & WS_VISIBLE);
      invalidateFrame(w);
      return true;
    }
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); invalidateFrame(w); return true;
    case GWL_USERDATA: w->userData = value; return true;
    default: return false;
  }
}

}  // namespace

LONG GetWindowLongA(HWND h, int index) {
  Window* w = window(h);
  if (!w) return 0;
  LONG_PTR v = 0;
  if (readField(w, index, v, true)) return static_cast<LONG>(v);
  LONG l = 0;
  return extraBytes(w, index, sizeof l, &l, false) ? l : 0;
}

LONG_PTR GetWindowLongPtrA(HWND h, int index) {
  Window* w = window(h);
  if (!w) return 0;
  LONG_PTR v = 0;
  if (readField(w, index, v, false)) return v;
  return extraBytes(w, index, sizeof v, &v, false) ? v : 0;
}

LONG SetWindowLongA(HWND h, int index, LONG value) {
  Window* w = window(h);
  if (!w) return 0;
  LONG_PTR old = 0;
  if (readField(w, index, old, true)) {
    LONG_PTR v = index == GWL_STYLE || index == GWL_EXSTYLE ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                            : static_cast<LONG_PTR>(value);
    return writeField(w, index, v) ? static_cast<LONG>(old) : 0;
  }
  LONG previous = 0;
  if (!extraBytes(w, index, sizeof previous, &previous, false)) return 0;
  extraBytes(w, index, sizeof value, &value, true);
  return previous;
}

LONG_PTR SetWindowLongPtrA(HWND h, int index, LONG_PTR value) {
  Window* w = window(h);
  if (!w) return 0;
  LONG_PTR old = 0;
  if (readField(w, index, old, false)) return writeField(w, index, value) ? old : 0;
  LONG_PTR previous = 0;
  if (!extraBytes(w, index, sizeof previous, &previous, false)) return 0;
  extraBytes(w, index, sizeof value, &value, true);
  return previous;
}

int GetWindowTextA(HWND h, LPSTR buffer, int size) {
  if (!buffer || size <= 0 || !window(h)) return 0;
  return static_cast<int>(SendMessageA(h, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND h) {
  return window(h) ? static_cast<int>(SendMessageA(h, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL SetWindowTextA(HWND h, LPCSTR text) {
  if (!window(h)) return FALSE;
  return SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

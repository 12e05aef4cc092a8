// Window classes: registration, lookup by name or atom, class information; and the process state.
#include <cctype>
#include <cstring>

#include "state.h"
#include "win32/user.h"

namespace pv::win32 {

State& state() {
  static State* s = new State;
  if (!s->systemClassesReady) {
    s->systemClassesReady = true;
    registerSystemClasses();
  }
  return *s;
}

Window* window(HWND hwnd) { return state().handles.find<Window>(handleValue(hwnd), Kind::Window); }

bool sameName(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

LONG procCookie(WNDPROC proc) {
  auto& cookies = state().procCookies;
  for (size_t i = 0; i < cookies.size(); ++i)
    if (cookies[i] == proc) return static_cast<LONG>(0xFFFF0000u | i);
  cookies.push_back(proc);
  return static_cast<LONG>(0xFFFF0000u | (cookies.size() - 1));
}

WNDPROC procFromCookie(LONG_PTR value) {
  // A cookie is 0xFFFF00nn, seen either zero- or sign-extended to pointer width.
  auto high = static_cast<uint64_t>(value) >> 16;
  if (high == 0xFFFFu || high == 0xFFFFFFFFFFFFull) {
    size_t index = static_cast<size_t>(value & 0xFFFF);
    auto& cookies = state().procCookies;
    return index < cookies.size() ? cookies[index] : nullptr;
  }
  return reinterpret_cast<WNDPROC>(value);
}

static std::shared_ptr<WindowClass> findClass(LPCSTR name) {
  auto& classes = state().classes;
  if (!name) return nullptr;
  if (IS_INTRESOURCE(name)) {
    size_t index = reinterpret_cast<uintptr_t>(name);
    if (index < 0xC000 || index - 0xC000 >= classes.size()) return nullptr;
    return classes[index - 0xC000];
  }
  for (auto& c : classes)
    if (c && sameName(c->name, name)) return c;
  return nullptr;
}

std::shared_ptr<WindowClass> lookupClass(LPCSTR name) { return findClass(name); }

static ATOM addClass(const WNDCLASSA* wc, bool system) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc ||
      wc->cbWndExtra < 0 || wc->cbWndExtra > 4096 || findClass(wc->lpszClassName))
    return 0;
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->cbWndExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->system = system;
  auto& classes = state().classes;
  for (size_t i = 0; i < classes.size(); ++i)
    if (!classes[i]) {
      classes[i] = c;
      return static_cast<ATOM>(0xC000 + i);
    }
  if (classes.size() >= 0x3FFF) return 0;
  classes.push_back(c);
  return static_cast<ATOM>(0xC000 + classes.size() - 1);
}

ATOM registerClass(const WNDCLASSA* wc, bool system) { return addClass(wc, system); }

}  // namespace pv::win32

using namespace pv::win32;

ATOM RegisterClassA(const WNDCLASSA* wc) { return addClass(wc, false); }

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto c = lookupClass(className);
  if (!c || c->system) return FALSE;
  for (auto& w : state().classes)
    if (w == c) w.reset();
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* wc) {
  auto c = lookupClass(className);
  if (!c || !wc) return FALSE;
  *wc = WNDCLASSA{c->style, c->proc, 0, c->cbWndExtra, c->instance, c->icon, c->cursor, c->background,
                  nullptr, className};
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buffer, int size) {
  Window* w = window(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  int n = static_cast<int>(std::min<size_t>(w->cls->name.size(), static_cast<size_t>(size - 1)));
  std::memcpy(buffer, w->cls->name.data(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

DWORD GetClassLongA(HWND hwnd, int index) {
  Window* w = window(hwnd);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE: return w->cls->style;
    case GCL_CBWNDEXTRA: return static_cast<DWORD>(w->cls->cbWndExtra);
    case GCL_HBRBACKGROUND: return handleValue(w->cls->background);
    case GCL_HCURSOR: return handleValue(w->cls->cursor);
    case GCL_HICON: return handleValue(w->cls->icon);
    default: return 0;
  }
}

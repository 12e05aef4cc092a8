// Focus, activation, mouse capture and cursors, and the sink that turns the backend's input into
// queued mouse and keyboard messages with their documented parameters.
#include <algorithm>
#include <cstdlib>

#include "state.h"
#include "win32/kernel.h"
#include "win32/user.h"

namespace pv::win32 {

// Cursors and icons are the system's: fixed pseudo-handles outside the handle table.
constexpr uint32_t kCursorBase = 0xC0000000u;
constexpr uint32_t kIconBase = 0xC1000000u;

namespace {

Window* topBySurface(int surface) {
  for (HWND t : state().topLevels)
    if (Window* w = window(t); w && w->surface == surface) return w;
  return nullptr;
}

void post(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& q = state().queue;
  if (message == WM_MOUSEMOVE && !q.empty() && q.back().message == WM_MOUSEMOVE && q.back().hwnd == h) {
    q.back().wParam = wParam;
    q.back().lParam = lParam;
    return;
  }
  PostMessageA(h, message, wParam, lParam);
}

struct LastClick {
  HWND hwnd = nullptr;
  UINT message = 0;
  uint64_t time = 0;
  POINT at{};
};

class LayerSink : public EventSink {
 public:
  void mouseInput(int surface, UINT message, int x, int y, WPARAM keys) override {
    State& s = state();
    Window* top = topBySurface(surface);
    if (!top) return;
    POINT screen{x, y};
    ClientToScreen(top->hwnd(), &screen);
    s.cursorPos = screen;
    HWND target = s.capture ? s.capture : hitTestWindow(top->hwnd(), POINT{x, y});
    if (!target) return;
    if (!s.capture) {
      for (Window* w = window(target); w; w = window(w->parent))
        if (w->style & WS_DISABLED) {
          if (message == WM_LBUTTONDOWN && !top->parent && (top->style & WS_DISABLED)) MessageBeep(0);
          return;
        }
    }
    bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (down && s.active != top->hwnd() && !s.capture) SetActiveWindow(top->hwnd());
    if (!IsWindow(target)) return;
    if (message == WM_MOUSEWHEEL) {
      HWND focus = s.focus ? s.focus : target;
      post(focus, message, keys, MAKELPARAM(screen.x, screen.y));
      return;
    }
    POINT client = screen;
    ScreenToClient(target, &client);
    RECT cr;
    GetClientRect(target, &cr);
    Window* tw = window(target);
    if (!s.capture && !PtInRect(&cr, client)) {
      LRESULT hit = sendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
      post(target, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
      return;
    }
    if (message == WM_MOUSEMOVE || down) {
      sendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, message));
      if (!IsWindow(target)) return;
    }
    if (down) {
      uint64_t now = backend().nowMs();
      bool dbl = (tw->cls->style & CS_DBLCLKS) && last_.hwnd == target && last_.message == message &&
                 now - last_.time <= 500 && std::abs(last_.at.x - client.x) <= 4 && std::abs(last_.at.y - client.y) <= 4;
      last_ = dbl ? LastClick{} : LastClick{target, message, now, client};
      if (dbl) message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    }
    post(target, message, keys, MAKELPARAM(client.x, client.y));
  }

  void keyInput(int surface, UINT message, UINT vk, LPARAM keyData, char ch) override {
    State& s = state();
    Window* top = topBySurface(surface);
    if (!top || (top->style & WS_DISABLED)) return;
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    s.keyDown[vk & 0xFF] = down ? 1 : 0;
    HWND target = s.focus && inTree(top->hwnd(), s.focus) ? s.focus : top->hwnd();
    if (down) s.pendingChars.emplace_back(vk, ch);
    post(target, message, vk, keyData);
  }

  void surfaceMoved(int surface, POINT clientOrigin) override {
    Window* top = topBySurface(surface);
    if (!top) return;
    POINT now{0, 0};
    ClientToScreen(top->hwnd(), &now);
    if (now.x == clientOrigin.x && now.y == clientOrigin.y) return;
    OffsetRect(&top->rect, clientOrigin.x - now.x, clientOrigin.y - now.y);
    sendMessage(top->hwnd(), WM_MOVE, 0, MAKELPARAM(clientOrigin.x, clientOrigin.y));
  }

  void closeRequested(int surface) override {
    Window* top = topBySurface(surface);
    if (top && !(top->style & WS_DISABLED)) PostMessageA(top->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
  }

 private:
  LastClick last_;
};

}  // namespace

EventSink& layerSink() {
  static LayerSink sink;
  return sink;
}

void deliverBackendEvents(int timeoutMs) { backend().processEvents(timeoutMs); }

}  // namespace pv::win32

using namespace pv::win32;

HWND SetFocus(HWND h) {
  State& s = state();
  HWND old = s.focus;
  if (h == old) return old;
  if (h) {
    Window* w = window(h);
    if (!w || (w->style & WS_DISABLED)) return nullptr;
    Window* top = topLevelOf(w);
    if (s.active != top->hwnd()) {
      SetActiveWindow(top->hwnd());
      if (s.focus == h) return old;
      old = s.focus;
    }
  }
  if (old && IsWindow(old)) sendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(h), 0);
  s.focus = h && IsWindow(h) ? h : nullptr;
  if (s.focus) {
    if (Window* top = topLevelOf(window(s.focus))) top->lastFocus = s.focus;
    sendMessage(s.focus, WM_SETFOCUS, reinterpret_cast<WPARAM>(IsWindow(old) ? old : nullptr), 0);
  }
  noteFocusChange(old, s.focus);
  return IsWindow(old) ? old : nullptr;
}

HWND GetFocus() { return state().focus; }

HWND SetActiveWindow(HWND h) {
  State& s = state();
  Window* w = window(h);
  if (h && !w) return nullptr;
  if (w) h = topLevelOf(w)->hwnd();
  HWND old = s.active;
  if (old == h) return old;
  if (old && IsWindow(old)) {
    sendMessage(old, WM_NCACTIVATE, FALSE, 0);
    sendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(h));
    if (s.focus && inTree(old, s.focus)) {
      HWND f = s.focus;
      if (Window* ow = window(old)) ow->lastFocus = f;
      s.focus = nullptr;
      sendMessage(f, WM_KILLFOCUS, 0, 0);
    }
  }
  s.active = h;
  if (h) {
    auto& tops = s.topLevels;
    tops.erase(std::find(tops.begin(), tops.end(), h));
    tops.insert(tops.begin(), h);
    sendMessage(h, WM_NCACTIVATE, TRUE, 0);
    sendMessage(h, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  }
  return IsWindow(old) ? old : nullptr;
}

HWND GetActiveWindow() { return state().active; }
HWND GetForegroundWindow() { return state().active; }
BOOL SetForegroundWindow(HWND h) { return window(h) && SetActiveWindow(h) != h ? TRUE : window(h) != nullptr; }

HWND SetCapture(HWND h) {
  State& s = state();
  HWND old = s.capture;
  if (!window(h)) return old;
  if (old && old != h) sendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(h));
  s.capture = h;
  return old;
}

BOOL ReleaseCapture() {
  State& s = state();
  HWND old = s.capture;
  s.capture = nullptr;
  if (old) sendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return state().capture; }

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name));
  if (id < IDC_ARROW || id > IDC_HELP) return nullptr;
  return makeHandle<HCURSOR>(kCursorBase | id);
}

HICON LoadIconA(HINSTANCE, LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return nullptr;
  auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name));
  if (id < IDI_APPLICATION || id > IDI_SHIELD) return nullptr;
  return makeHandle<HICON>(kIconBase | id);
}

HCURSOR SetCursor(HCURSOR cursor) {
  State& s = state();
  HCURSOR old = s.cursor;
  s.cursor = cursor;
  uint32_t v = handleValue(cursor);
  if ((v & 0xFF000000u) == kCursorBase) backend().setCursorShape(static_cast<int>(v & 0xFFFF));
  return old;
}

HCURSOR GetCursor() { return state().cursor; }

BOOL GetCursorPos(LPPOINT p) {
  if (!p) return FALSE;
  *p = state().cursorPos;
  return TRUE;
}

SHORT GetKeyState(int vk) { return state().keyDown[vk & 0xFF] ? static_cast<SHORT>(0x8000) : 0; }
SHORT GetAsyncKeyState(int vk) { return GetKeyState(vk); }

BOOL DestroyCursor(HCURSOR cursor) { return (handleValue(cursor) & 0xFF000000u) == kCursorBase; }
BOOL DestroyIcon(HICON icon) { return (handleValue(icon) & 0xFF000000u) == kIconBase; }

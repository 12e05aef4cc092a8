// The test interface: backend choice, reset, object counts, injected input, screenshots.
#include "win32/testing.h"

#include <algorithm>

#include "gdi_state.h"
#include "win32/user.h"

namespace pv::win32 {
EventSink& layerSink();
}

namespace pv::win32::testing {

namespace {

Window* topOf(HWND h) {
  Window* w = window(h);
  return w ? topLevelOf(w) : nullptr;
}

LPARAM keyData(UINT vk, bool up, bool alt) {
  LPARAM l = 1 | (static_cast<LPARAM>(vk & 0xFF) << 16);
  if (alt) l |= LPARAM(1) << 29;
  if (up) l |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  return l;
}

}  // namespace

void reset() {
  State& s = state();
  std::vector<HWND> tops = s.topLevels;
  for (HWND t : tops) DestroyWindow(t);
  resetClipboard();
  resetMessageBoxes();
  resetGdi();
  s.graveyard.clear();
  s.handles.clear();
  s = State{};
}

RecordingBackend& useRecordingBackend() {
  reset();
  auto b = std::make_unique<RecordingBackend>();
  RecordingBackend& ref = *b;
  installBackend(std::move(b));
  return ref;
}

void useQtBackend() {
  reset();
  installBackend(makeQtBackend());
}

size_t gdiObjectCount() { return liveGdiObjects(); }

size_t deviceContextCount() { return state().handles.count(Kind::DC); }
size_t windowCount() { return state().handles.count(Kind::Window); }

void whenIdle(std::function<void()> action) { state().idleActions.push_back(std::move(action)); }

void runUntilIdle() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  presentDirtySurfaces();
}

void mouse(HWND h, UINT message, int x, int y, WPARAM keys) {
  Window* top = topOf(h);
  if (!top) return;
  POINT p{x, y};
  MapWindowPoints(h, top->hwnd(), &p, 1);
  layerSink().mouseInput(top->surface, message, p.x, p.y, keys);
}

void click(HWND h, int x, int y) {
  mouse(h, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  mouse(h, WM_LBUTTONUP, x, y, 0);
}

void key(UINT vk, char ch, bool alt) {
  Window* top = topOf(GetActiveWindow());
  if (!top) return;
  UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
  layerSink().keyInput(top->surface, down, vk, keyData(vk, false, alt), ch);
  layerSink().keyInput(top->surface, up, vk, keyData(vk, true, alt), 0);
}

void keyEdge(UINT vk, bool down) {
  Window* top = topOf(GetActiveWindow());
  if (top) layerSink().keyInput(top->surface, down ? WM_KEYDOWN : WM_KEYUP, vk, keyData(vk, !down, false), 0);
}

void typeText(const std::string& text) {
  for (char c : text) {
    auto u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    UINT vk = (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ? u : c == ' ' ? VK_SPACE : 0xE5;
    key(vk, c);
  }
}

void pressCloseBox(HWND h) {
  if (Window* top = topOf(h)) layerSink().closeRequested(top->surface);
}

bool grabWindow(HWND h, const std::string& path) {
  Window* w = window(h);
  Window* top = w ? topLevelOf(w) : nullptr;
  if (!top || top->surface < 0) return false;
  // Pictures a busy loop's peeks have held back are drawn before the picture is taken.
  RedrawWindow(top->hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Canvas& store = backend().surfaceCanvas(top->surface);
  if (!w->parent) return store.savePng(path);
  RECT r;
  GetWindowRect(h, &r);
  POINT o{0, 0};
  ClientToScreen(top->hwnd(), &o);
  auto image = backend().createCanvas(r.right - r.left, r.bottom - r.top);
  image->copyFrom(RECT{0, 0, image->width(), image->height()}, store, POINT{r.left - o.x, r.top - o.y}, SRCCOPY);
  return image->savePng(path);
}

bool grabScreen(const std::string& path) {
  SIZE screen = backend().screenSize();
  auto image = backend().createCanvas(screen.cx, screen.cy);
  image->fillRect(RECT{0, 0, screen.cx, screen.cy}, GetSysColor(COLOR_DESKTOP));
  std::vector<HWND> tops = state().topLevels;
  std::reverse(tops.begin(), tops.end());
  for (HWND t : tops) {
    Window* w = window(t);
    if (!w || !(w->style & WS_VISIBLE) || w->surface < 0) continue;
    RedrawWindow(t, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT o{0, 0};
    ClientToScreen(t, &o);
    Canvas& store = backend().surfaceCanvas(w->surface);
    image->copyFrom(RECT{o.x, o.y, o.x + store.width(), o.y + store.height()}, store, POINT{0, 0}, SRCCOPY);
  }
  return image->savePng(path);
}

}  // namespace pv::win32::testing

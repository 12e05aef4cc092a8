// The layer's process-wide state: window classes, the window tree, the message queue, timers,
// focus, activation and capture, and the records behind window and GDI handles.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "handle_table.h"
#include "win32/backend.h"
#include "win32/constants.h"
#include "win32/types.h"

namespace pv::win32 {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int cbWndExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  bool system = false;
};

struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
};

// Data a built-in window procedure (a control or a dialog) keeps per window.
struct WindowExtra {
  virtual ~WindowExtra() = default;
};

struct Window : Object {
  Window() : Object(Kind::Window) {}
  HWND hwnd() const { return makeHandle<HWND>(handle); }

  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // null for top-level windows
  HWND owner = nullptr;
  std::vector<HWND> children;  // z order, topmost first
  RECT rect{};                 // parent client coordinates, or screen for top-level windows
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<unsigned char> extraBytes;
  RECT update{};
  bool hasUpdate = false;
  uint64_t paintedAt = 0;  // backend time of the last WM_PAINT the queue handed out
  bool eraseUpdate = false;
  bool frameDirty = true;
  bool destroying = false;
  int surface = -1;  // top-level windows: the backend surface with the backing store
  HWND lastFocus = nullptr;
  ScrollBarState vscroll, hscroll;
  std::unique_ptr<WindowExtra> extra;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  uint64_t due;
};

struct State {
  HandleTable handles;
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<HWND> topLevels;  // z order, topmost first
  std::deque<MSG> queue;
  bool quitPosted = false;
  int quitCode = 0;
  std::vector<Timer> timers;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  int paintPending = 0;
  HCURSOR cursor = nullptr;
  std::deque<std::pair<UINT, char>> pendingChars;  // key-down virtual key -> its character
  unsigned char keyDown[256] = {};
  DWORD messageTime = 0;
  int sendDepth = 0;
  int loopDepth = 0;
  std::vector<std::unique_ptr<Object>> graveyard;  // destroyed windows, freed when no call is active
  std::deque<std::function<void()>> idleActions;
  std::vector<int> dirtySurfaces;
  std::vector<WNDPROC> procCookies;
  POINT cursorPos{};
  uint64_t lastPoll = 0;  // backend time of the last look for input
  bool systemClassesReady = false;
};

State& state();

// Checked handle lookups: null for a missing, stale or wrong-kind handle.
Window* window(HWND hwnd);
inline Window* window(const Window* w) = delete;

// Whether h is root or one of its descendants.
bool inTree(HWND root, HWND h);
// The window's top-level ancestor (itself for a top-level window).
Window* topLevelOf(Window* w);
// The largest width or height of a window: a top-level window has a backing store of its size.
inline constexpr int kMaxWindowExtent = 4096;
inline int clampExtent(int v) { return v < 0 ? 0 : v > kMaxWindowExtent ? kMaxWindowExtent : v; }

// Non-client insets (border, caption, scroll bars) as a RECT of widths.
RECT nonClientInsets(const Window& w);
// The client rectangle's origin in its top-level window's surface, and the rectangle of the
// window's client area clipped by its ancestors, both in surface pixels.
POINT surfaceOrigin(Window* w);
RECT surfaceClip(Window* w);
bool isVisible(Window* w);
// The window that receives mouse input at a point of a top-level window's client area.
HWND hitTestWindow(HWND top, POINT clientPoint);
void markSurfaceDirty(Window* w);

// Messaging helpers used across the layer.
LRESULT sendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void invalidateClient(Window* w, const RECT* rect, bool erase);
void invalidateFrame(Window* w);
void clientSizeChanged(Window* w, const RECT& oldClient);
void drawNonClient(Window* w);
// Draws one scroll bar (SB_VERT or SB_HORZ) of a child window's frame again.
void redrawScrollBar(Window* w, int bar);
int scrollBarHit(Window* w, POINT windowPoint);
void trackScrollBar(Window* w, int bar, POINT clientPoint);
void noteFocusChange(HWND oldFocus, HWND newFocus);
void deliverBackendEvents(int timeoutMs);
void presentDirtySurfaces();
void releaseDialogResources(Window* w);
void resetClipboard();
void resetMessageBoxes();

// Converting a WNDPROC to the 32-bit value GetWindowLong returns, and back.
LONG procCookie(WNDPROC proc);
WNDPROC procFromCookie(LONG_PTR value);

// Built-in window classes.
void registerSystemClasses();
LRESULT CALLBACK buttonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK staticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK listBoxProc(HWND, UINT, WPARAM, LPARAM);

// Case-insensitive ASCII comparison for class and resource names.
bool sameName(const std::string& a, const char* b);

}  // namespace pv::win32

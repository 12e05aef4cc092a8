// Creating and destroying windows, parents, owners and the walk over this process's windows.
#include <algorithm>
#include <cstring>

#include "state.h"
#include "win32/automation.h"
#include "win32/user.h"

namespace pv::win32 {

std::shared_ptr<WindowClass> lookupClass(LPCSTR name);

Window* topLevelOf(Window* w) {
  while (w && w->parent) w = window(w->parent);
  return w;
}

static std::vector<HWND>& siblingsOf(Window* w) {
  if (w->parent) return window(w->parent)->children;
  return state().topLevels;
}

static void unlink(Window* w) {
  auto& list = siblingsOf(w);
  list.erase(std::remove(list.begin(), list.end(), w->hwnd()), list.end());
}

bool inTree(HWND root, HWND h) { return h && (h == root || IsChild(root, h)); }

// Clears every reference the process state keeps to a window that is going away.
static void forget(Window* w) {
  State& s = state();
  HWND h = w->hwnd();
  if (w->hasUpdate) s.paintPending--;
  w->hasUpdate = false;
  s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(), [h](const Timer& t) { return t.hwnd == h; }),
                 s.timers.end());
  if (s.capture == h) s.capture = nullptr;
  if (s.focus == h) s.focus = nullptr;
  if (s.active == h) s.active = nullptr;
  if (w->surface >= 0) {
    backend().destroySurface(w->surface);
    s.dirtySurfaces.erase(std::remove(s.dirtySurfaces.begin(), s.dirtySurfaces.end(), w->surface),
                          s.dirtySurfaces.end());
    w->surface = -1;
  }
  releaseDialogResources(w);
}

static void destroyTree(HWND h) {
  Window* w = window(h);
  if (!w) return;
  sendMessage(h, WM_DESTROY, 0, 0);
  std::vector<HWND> kids = window(h) ? window(h)->children : std::vector<HWND>{};
  for (HWND k : kids) destroyTree(k);
  sendMessage(h, WM_NCDESTROY, 0, 0);
  w = window(h);
  if (!w) return;
  forget(w);
  unlink(w);
  state().graveyard.push_back(state().handles.remove(w->handle));
}

static void activateNext(HWND closing, HWND owner) {
  State& s = state();
  HWND next = nullptr;
  if (IsWindow(owner) && IsWindowVisible(owner) && IsWindowEnabled(owner)) next = owner;
  for (size_t i = 0; !next && i < s.topLevels.size(); ++i) {
    HWND t = s.topLevels[i];
    if (t != closing && IsWindowVisible(t) && IsWindowEnabled(t)) next = t;
  }
  if (next) SetActiveWindow(next);
}

}  // namespace pv::win32

using namespace pv::win32;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto cls = lookupClass(className);
  if (!cls) return nullptr;
  bool child = (style & WS_CHILD) != 0;
  Window* parentWindow = window(parent);
  if (child && !parentWindow) return nullptr;
  if (parent && !parentWindow) return nullptr;
  if (!child) {
    if (x == CW_USEDEFAULT) x = y = 100;
    if (width == CW_USEDEFAULT) width = 400, height = 300;
  }
  auto owned = std::make_unique<Window>();
  Window* w = owned.get();
  State& s = state();
  s.handles.add(std::move(owned));
  HWND h = w->hwnd();
  w->cls = cls;
  w->proc = cls->proc;
  w->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : "";
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->instance = instance;
  w->extraBytes.assign(static_cast<size_t>(cls->cbWndExtra), 0);
  width = clampExtent(width);
  height = clampExtent(height);
  w->rect = RECT{x, y, x + width, y + height};
  if (child) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    parentWindow->children.push_back(h);
  } else {
    w->owner = parentWindow ? topLevelOf(parentWindow)->hwnd() : nullptr;
    s.topLevels.insert(s.topLevels.begin(), h);
    RECT in = nonClientInsets(*w);
    RECT client{x + in.left, y + in.top, x + std::max<int>(in.left, width - in.right),
                y + std::max<int>(in.top, height - in.bottom)};
    w->surface = backend().createSurface(client.right - client.left, client.bottom - client.top);
    backend().setSurfaceGeometry(w->surface, client);
  }
  CREATESTRUCTA cs{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                   className, exStyle};
  if (!sendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(h);
    return nullptr;
  }
  RECT calc = w->rect;
  sendMessage(h, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
  if (sendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1 || !window(h)) {
    DestroyWindow(h);
    return nullptr;
  }
  RECT client;
  GetClientRect(h, &client);
  sendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  POINT origin{0, 0};
  MapWindowPoints(h, parent, &origin, 1);
  sendMessage(h, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (child && !(exStyle & WS_EX_NOPARENTNOTIFY))
    sendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, w->id), reinterpret_cast<LPARAM>(h));
  if (!window(h)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  if (w->surface >= 0) backend().setSurfaceTitle(w->surface, w->text);
  if (!child) automation::notifyTopLevelCreated(h);
  return h;
}

BOOL DestroyWindow(HWND h) {
  Window* w = window(h);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  State& s = state();
  bool topLevel = !w->parent;
  HWND owner = w->owner;
  bool wasActive = topLevel && s.active == h;
  if (topLevel) {
    automation::notifyTopLevelDestroyed(h, w->text);
    std::vector<HWND> ownedWindows;
    for (HWND t : s.topLevels)
      if (Window* o = window(t); o && o->owner == h) ownedWindows.push_back(t);
    for (HWND o : ownedWindows) DestroyWindow(o);
  }
  if (IsWindowVisible(h)) ShowWindow(h, SW_HIDE);
  if (s.focus && inTree(h, s.focus)) s.focus = nullptr;
  if (s.capture && inTree(h, s.capture)) s.capture = nullptr;
  destroyTree(h);
  if (wasActive) {
    s.active = nullptr;
    activateNext(h, owner);
  }
  return TRUE;
}

BOOL IsWindow(HWND h) { return window(h) != nullptr; }

BOOL IsWindowVisible(HWND h) { return isVisible(window(h)); }

BOOL IsWindowEnabled(HWND h) {
  Window* w = window(h);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsChild(HWND parent, HWND h) {
  Window* w = window(h);
  while (w && w->parent) {
    if (w->parent == parent) return TRUE;
    w = window(w->parent);
  }
  return FALSE;
}

HWND GetParent(HWND h) {
  Window* w = window(h);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = window(child);
  Window* p = window(newParent);
  if (!w || !w->parent || !p || IsChild(child, newParent) || child == newParent) return nullptr;
  HWND old = w->parent;
  unlink(w);
  w->parent = newParent;
  p->children.push_back(child);
  invalidateClient(window(old), nullptr, true);
  invalidateFrame(w);
  return old;
}

HWND GetDesktopWindow() { return makeHandle<HWND>(0x10); }

HWND GetWindow(HWND h, UINT cmd) {
  Window* w = window(h);
  if (!w) return nullptr;
  auto& list = siblingsOf(w);
  auto it = std::find(list.begin(), list.end(), h);
  switch (cmd) {
    case GW_HWNDFIRST: return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST: return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT: return it != list.end() && it + 1 != list.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return it != list.begin() && it != list.end() ? *(it - 1) : nullptr;
    case GW_OWNER: return w->owner;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front();
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND h) {
  if (!h) return state().topLevels.empty() ? nullptr : state().topLevels.front();
  return GetWindow(h, GW_CHILD);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> list = state().topLevels;
  for (HWND h : list)
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  return TRUE;
}

static bool enumChildren(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* p = window(parent);
  if (!p) return true;
  std::vector<HWND> list = p->children;
  for (HWND h : list) {
    if (!IsWindow(h)) continue;
    if (!proc(h, lParam) || !enumChildren(h, proc, lParam)) return false;
  }
  return true;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc || !window(parent)) return FALSE;
  return enumChildren(parent, proc, lParam) ? TRUE : FALSE;
}

int GetDlgCtrlID(HWND h) {
  Window* w = window(h);
  return w && w->parent ? static_cast<int>(w->id) : 0;
}

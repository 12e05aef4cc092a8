// The message queue: sending, posting, retrieving (posted messages, then WM_QUIT, then WM_PAINT
// for windows with an update region, then due timers), translating keys and dispatching.
#include <algorithm>

#include "state.h"
#include "win32/automation.h"
#include "win32/kernel.h"
#include "win32/user.h"

namespace pv::win32 {

LRESULT sendMessage(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  State& s = state();
  ++s.sendDepth;
  LRESULT r = proc(h, message, wParam, lParam);
  --s.sendDepth;
  return r;
}

namespace {

bool inFilter(const MSG& m, HWND filter, UINT lo, UINT hi) {
  if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
  if (lo == 0 && hi == 0) return true;
  return m.message >= lo && m.message <= hi;
}

// A job that peeks while it works inside a message handler (a long export pumping messages after
// every record) gets each window's WM_PAINT at most this often; the last picture waits for the
// next peek after that, or for the loop to go idle. Nobody sees more pictures a second than this.
constexpr uint64_t kPeekPaintIntervalMs = 16;

// Pre-order search for a visible window with an update region, topmost windows first; with
// `notPaintedSince`, windows painted after that time are passed over (their children are not).
HWND findPaintWindow(HWND h, HWND filter, uint64_t notPaintedSince) {
  Window* w = window(h);
  if (!w || !(w->style & WS_VISIBLE)) return nullptr;
  if (w->hasUpdate && (!filter || h == filter || IsChild(filter, h)) && w->paintedAt <= notPaintedSince) return h;
  for (HWND c : w->children)
    if (HWND found = findPaintWindow(c, filter, notPaintedSince)) return found;
  return nullptr;
}

MSG make(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{h, message, wParam, lParam, static_cast<DWORD>(backend().nowMs()), state().cursorPos};
  return m;
}

// The next message for the filter; `busyPeek` holds back recently repainted windows' WM_PAINT.
bool fetch(MSG* out, HWND filter, UINT lo, UINT hi, bool remove, bool busyPeek = false) {
  State& s = state();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (!inFilter(*it, filter, lo, hi)) continue;
    *out = *it;
    if (remove) s.queue.erase(it);
    s.messageTime = out->time;
    return true;
  }
  if (s.quitPosted && !filter) {
    *out = make(nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0);
    if (remove) s.quitPosted = false;
    return true;
  }
  bool paintInRange = (lo == 0 && hi == 0) || (WM_PAINT >= lo && WM_PAINT <= hi);
  if (s.paintPending > 0 && paintInRange) {
    uint64_t now = backend().nowMs();
    uint64_t since = busyPeek && now >= kPeekPaintIntervalMs ? now - kPeekPaintIntervalMs : UINT64_MAX;
    for (HWND t : s.topLevels)
      if (HWND h = findPaintWindow(t, filter, since)) {
        *out = make(h, WM_PAINT, 0, 0);
        if (remove) window(h)->paintedAt = now;
        return true;
      }
  }
  bool timerInRange = (lo == 0 && hi == 0) || (WM_TIMER >= lo && WM_TIMER <= hi);
  if (!s.timers.empty() && timerInRange) {
    uint64_t now = backend().nowMs();
    for (Timer& t : s.timers) {
      if (t.due > now || (filter && t.hwnd != filter && !IsChild(filter, t.hwnd))) continue;
      *out = make(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
      if (remove) t.due = now + t.elapse;
      return true;
    }
  }
  return false;
}

// Asks the backend for input at most once a millisecond when nothing is queued (a loop that
// peeks all the time, like a long job pumping messages, would otherwise spend its time asking),
// and every few milliseconds otherwise, since queued messages come before input anyway.
void pollBackend() {
  State& s = state();
  uint64_t now = backend().nowMs();
  if (now - s.lastPoll < (s.queue.empty() ? 1u : 5u)) return;
  s.lastPoll = now;
  deliverBackendEvents(0);
}

void buryTheDead() {
  State& s = state();
  if (s.sendDepth == 0 && s.loopDepth == 0) s.graveyard.clear();
}

// Milliseconds until the next timer is due, or -1 without timers.
int nextTimerDelay() {
  State& s = state();
  if (s.timers.empty()) return -1;
  uint64_t now = backend().nowMs(), due = UINT64_MAX;
  for (const Timer& t : s.timers) due = std::min(due, t.due);
  return due <= now ? 0 : static_cast<int>(std::min<uint64_t>(due - now, 1000000));
}

}  // namespace

void presentDirtySurfaces() {
  State& s = state();
  std::vector<int> dirty;
  dirty.swap(s.dirtySurfaces);
  for (int surface : dirty) backend().presentSurface(surface);
}

// Waits for work: runs a scripted idle action, or lets the backend deliver input until a timer
// is due. False when nothing can ever arrive.
static bool waitForWork() {
  State& s = state();
  presentDirtySurfaces();
  if (!s.idleActions.empty()) {
    auto action = std::move(s.idleActions.front());
    s.idleActions.pop_front();
    action();
    return true;
  }
  automation::notifyIdle();
  MSG posted;  // the idle work may have posted, invalidated or asked to be called again
  if (fetch(&posted, nullptr, 0, 0, false) || !s.idleActions.empty()) return true;
  int delay = nextTimerDelay();
  if (delay < 0 && !backend().interactive()) return false;
  deliverBackendEvents(delay);
  return true;
}

}  // namespace pv::win32

using namespace pv::win32;

LRESULT SendMessageA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  return sendMessage(h, message, wParam, lParam);
}

BOOL PostMessageA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (h && !window(h)) return FALSE;
  state().queue.push_back(make(h, message, wParam, lParam));
  return TRUE;
}

BOOL GetMessageA(LPMSG msg, HWND h, UINT lo, UINT hi) {
  if (!msg || (h && !window(h))) return -1;
  buryTheDead();
  automation::notifyMessagesRead();
  for (;;) {
    pollBackend();
    if (fetch(msg, h, lo, hi, true)) return msg->message == WM_QUIT ? FALSE : TRUE;
    if (!waitForWork()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return -1;
    }
  }
}

BOOL PeekMessageA(LPMSG msg, HWND h, UINT lo, UINT hi, UINT flags) {
  if (!msg || (h && !window(h))) return FALSE;
  buryTheDead();
  automation::notifyMessagesRead();
  pollBackend();
  return fetch(msg, h, lo, hi, (flags & PM_REMOVE) != 0, state().sendDepth > 0) ? TRUE : FALSE;
}

BOOL WaitMessage() {
  automation::notifyMessagesRead();
  MSG m;
  while (!fetch(&m, nullptr, 0, 0, false))
    if (!waitForWork()) return FALSE;
  return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  auto& pending = state().pendingChars;
  while (!pending.empty() && pending.front().first != msg->wParam) pending.pop_front();
  if (pending.empty()) return FALSE;
  char ch = pending.front().second;
  pending.pop_front();
  if (!ch) return FALSE;
  UINT charMessage = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  MSG m = *msg;
  m.message = charMessage;
  m.wParam = static_cast<unsigned char>(ch);
  state().queue.push_front(m);
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  return sendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
  state().quitPosted = true;
  state().quitCode = exitCode;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC real = procFromCookie(reinterpret_cast<LONG_PTR>(proc));
  if (!real) return 0;
  State& s = state();
  ++s.sendDepth;
  LRESULT r = real(h, message, wParam, lParam);
  --s.sendDepth;
  return r;
}

DWORD GetMessageTime() { return state().messageTime; }

BOOL InSendMessage() { return FALSE; }

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (h && !window(h)) return 0;
  State& s = state();
  if (!h) {
    id = 1;
    for (const Timer& t : s.timers)
      if (!t.hwnd) id = std::max<UINT_PTR>(id, t.id + 1);
  }
  elapse = std::max<UINT>(elapse, 10);
  uint64_t due = backend().nowMs() + elapse;
  for (Timer& t : s.timers)
    if (t.hwnd == h && t.id == id) {
      t = Timer{h, id, elapse, proc, due};
      return h ? 1 : id;
    }
  s.timers.push_back(Timer{h, id, elapse, proc, due});
  return h ? 1 : id;
}

BOOL KillTimer(HWND h, UINT_PTR id) {
  auto& timers = state().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == h && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  auto& q = state().queue;
  q.erase(std::remove_if(q.begin(), q.end(),
                         [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == h && m.wParam == id; }),
          q.end());
  return TRUE;
}

int TranslateAcceleratorA(HWND, HACCEL, LPMSG) { return 0; }

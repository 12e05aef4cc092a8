// The observer of the program's message loops and top-level windows (see win32/automation.h).
#include "win32/automation.h"

namespace pv::win32::automation {

namespace {

Observer*& current() {
  static Observer* observer = nullptr;
  return observer;
}

// An observer that reads messages itself (to answer a message box, say) is not told again.
bool& inside() {
  static bool flag = false;
  return flag;
}

template <typename F>
void tell(F&& f) {
  Observer* o = current();
  if (!o || inside()) return;
  inside() = true;
  f(*o);
  inside() = false;
}

}  // namespace

void setObserver(Observer* observer) { current() = observer; }

void notifyMessagesRead() {
  tell([](Observer& o) { o.messagesRead(); });
}

void notifyIdle() {
  tell([](Observer& o) { o.idle(); });
}

void notifyTopLevelCreated(HWND hwnd) {
  Observer* o = current();
  if (o) o->topLevelCreated(hwnd);
}

void notifyTopLevelDestroyed(HWND hwnd, const std::string& title) {
  Observer* o = current();
  if (o) o->topLevelDestroyed(hwnd, title);
}

}  // namespace pv::win32::automation

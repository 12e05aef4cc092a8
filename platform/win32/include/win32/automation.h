// Hooks for a driver of the program's own windows from inside the program (the UI script runner
// of the GUI library): it is told whenever a message loop reads messages and whenever a
// top-level window is created or destroyed, and it can list the message boxes now open.
#pragma once

#include <string>
#include <vector>

#include "win32/types.h"

namespace pv::win32::automation {

class Observer {
 public:
  virtual ~Observer() = default;
  // GetMessageA, PeekMessageA or WaitMessage was entered (any message loop, nested or not).
  virtual void messagesRead() {}
  // A message loop has nothing to do and is about to wait for input or a timer.
  virtual void idle() {}
  // A top-level window now exists (its title may still change).
  virtual void topLevelCreated(HWND /*hwnd*/) {}
  // A top-level window is about to be destroyed; `title` is its text at that moment.
  virtual void topLevelDestroyed(HWND /*hwnd*/, const std::string& /*title*/) {}
};

// Installs the observer (null removes it); the layer does not own it.
void setObserver(Observer* observer);

struct MessageBoxInfo {
  HWND hwnd;
  std::string caption;
  std::string text;
  UINT type;
};
// The message boxes shown and not yet closed, oldest first.
std::vector<MessageBoxInfo> openMessageBoxes();

// Calls into the observer, for the layer itself.
void notifyMessagesRead();
void notifyIdle();
void notifyTopLevelCreated(HWND hwnd);
void notifyTopLevelDestroyed(HWND hwnd, const std::string& title);

}  // namespace pv::win32::automation

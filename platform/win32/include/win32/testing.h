// The test interface of the layer: choosing the backend, resetting the process state, counting
// live objects, real input into any window, screenshots, actions run when a message loop would
// wait, and answers for message boxes given in advance.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32/recording_backend.h"
#include "win32/types.h"

namespace pv::win32::testing {

// Installs a fresh recording backend (or the Qt backend) after resetting the layer.
RecordingBackend& useRecordingBackend();
void useQtBackend();
// Destroys every window, forgets the program's classes, timers, queued messages, message box
// answers and every handle; the built-in classes and stock objects are made again.
void reset();

size_t gdiObjectCount();  // pens, brushes, fonts and bitmaps the program made and has not deleted
size_t deviceContextCount();
size_t windowCount();

// Runs `action` when a message loop finds nothing to do (in order, one per wait).
void whenIdle(std::function<void()> action);
// Retrieves and dispatches messages until none is left (WM_PAINT included).
void runUntilIdle();

// Real input at a point of a window's client area, delivered as the backend would deliver it.
void mouse(HWND hwnd, UINT message, int x, int y, WPARAM keys = 0);
void click(HWND hwnd, int x, int y);
// A key press and release in the active window; `ch` is the character it types (0 for none).
void key(UINT vk, char ch = 0, bool alt = false);
// A key going down or coming up on its own in the active window (a modifier held over a key).
void keyEdge(UINT vk, bool down);
void typeText(const std::string& text);
// The window manager's close box of the window's top-level window.
void pressCloseBox(HWND hwnd);

// Screenshots as PNG files: a window (cut from its top-level window's backing store) or every
// visible top-level window of the process on the desktop colour.
bool grabWindow(HWND hwnd, const std::string& pngPath);
bool grabScreen(const std::string& pngPath);

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  int result;
};
// The next MessageBoxA returns `result` at once instead of showing the box.
void preanswerMessageBox(int result);
const std::vector<MessageBoxRecord>& messageBoxes();

}  // namespace pv::win32::testing

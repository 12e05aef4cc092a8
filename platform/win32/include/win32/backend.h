// The narrow interface between the Win32 logic of this layer and what draws and receives input:
// a Canvas is a pixel target (a top-level window's backing store or a memory bitmap), a Backend
// makes canvases and top-level surfaces, measures fonts, waits for input, and reaches the
// clipboard and the desktop. The Qt backend shows real windows; the recording backend needs no
// display and keeps everything in memory for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "win32/types.h"

namespace pv::win32 {

struct FontMetrics {
  int height = 16;
  int ascent = 13;
  int descent = 3;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 8;
  int maxCharWidth = 16;
};

// A standard control or decoration drawn in the platform's style.
struct ControlLook {
  enum Kind { PushButton, ScrollBar, SunkenFrame, MessageIcon, CheckBox, RadioButton };
  Kind kind = PushButton;
  RECT rect{};
  bool pressed = false;  // push buttons: held down; check and radio boxes: checked
  bool isDefault = false;
  bool focused = false;
  bool disabled = false;
  std::string text;  // ANSI text; '&' marks a mnemonic
  LOGFONTA font{};
  bool vertical = true;  // scroll bars
  int min = 0, max = 100, page = 0, pos = 0;
  UINT icon = 0;  // MB_ICON* value for MessageIcon
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // Drawing is limited to this rectangle (canvas pixels) until the next call.
  virtual void setClip(const RECT& clip) = 0;
  virtual void fillRect(const RECT& r, COLORREF color) = 0;
  virtual void invertRect(const RECT& r) = 0;
  // A line from `from` up to but not including `to`; style is a PS_ value.
  virtual void drawLine(POINT from, POINT to, COLORREF color, int width, int style) = 0;
  // ANSI text with its cell's top-left corner at (x, y).
  virtual void drawText(int x, int y, std::string_view text, const LOGFONTA& font, COLORREF color) = 0;
  virtual void copyFrom(const RECT& dst, const Canvas& src, POINT srcOrigin, DWORD rop) = 0;
  virtual void drawControl(const ControlLook& look) = 0;
  virtual COLORREF pixel(int x, int y) const = 0;
  // Keeps the pixels that fit the new size; new parts are white.
  virtual void resize(int width, int height) = 0;
  virtual bool savePng(const std::string& path) const = 0;
};

// What the backend reports: input in surface (client) pixels, and window-manager requests.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void mouseInput(int surface, UINT message, int x, int y, WPARAM keys) = 0;
  virtual void keyInput(int surface, UINT message, UINT vk, LPARAM keyData, char ansiChar) = 0;
  virtual void closeRequested(int surface) = 0;
  // The window manager moved the surface; its client area now starts at this screen point.
  virtual void surfaceMoved(int surface, POINT clientOrigin) = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;
  virtual std::unique_ptr<Canvas> createCanvas(int width, int height) = 0;
  virtual int createSurface(int width, int height) = 0;
  virtual void destroySurface(int surface) = 0;
  virtual Canvas& surfaceCanvas(int surface) = 0;
  virtual void setSurfaceGeometry(int surface, const RECT& clientOnScreen) = 0;
  virtual void setSurfaceTitle(int surface, const std::string& ansiTitle) = 0;
  virtual void showSurface(int surface, bool show) = 0;
  virtual void presentSurface(int surface) = 0;

  virtual FontMetrics fontMetrics(const LOGFONTA& font) = 0;
  virtual int textWidth(const LOGFONTA& font, std::string_view ansiText) = 0;
  virtual SIZE screenSize() = 0;

  virtual uint64_t nowMs() = 0;
  // Whether input can still arrive while nothing is queued (false for a backend without a user).
  virtual bool interactive() const = 0;
  // Where input goes from now on; the layer attaches itself when the backend is installed.
  virtual void attach(EventSink& sink) = 0;
  // Delivers pending input to the sink, waiting up to timeoutMs (0: no wait, -1: until some).
  virtual void processEvents(int timeoutMs) = 0;
  virtual void setCursorShape(int idc) = 0;

  virtual void setClipboardText(const std::string& ansi) = 0;
  virtual bool clipboardText(std::string& ansi) = 0;
  virtual void setClipboardImage(const Canvas& image) = 0;
  virtual std::unique_ptr<Canvas> clipboardImage() = 0;
  virtual void clearClipboard() = 0;

  virtual void beep() = 0;
  virtual bool openInTextEditor(const std::string& path) = 0;
};

// The backend in use; created on first use (Qt unless a test installed another).
Backend& backend();
void installBackend(std::unique_ptr<Backend> backend);
std::unique_ptr<Backend> makeQtBackend();

}  // namespace pv::win32

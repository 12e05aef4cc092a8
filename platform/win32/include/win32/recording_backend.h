// A backend without any display: canvases are plain pixel arrays that also log the text runs
// and styled controls drawn on them, fonts have fixed metrics (a character is half as wide as
// the font is high), time is virtual and moves only while the layer waits, and the clipboard,
// the beeper and the text editor are recorders. Tests of the layer's logic run on it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "win32/backend.h"

namespace pv::win32 {

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width, int height);
  int width() const override { return width_; }
  int height() const override { return height_; }
  void setClip(const RECT& clip) override;
  void fillRect(const RECT& r, COLORREF color) override;
  void invertRect(const RECT& r) override;
  void drawLine(POINT from, POINT to, COLORREF color, int width, int style) override;
  void drawText(int x, int y, std::string_view text, const LOGFONTA& font, COLORREF color) override;
  void copyFrom(const RECT& dst, const Canvas& src, POINT srcOrigin, DWORD rop) override;
  void drawControl(const ControlLook& look) override;
  COLORREF pixel(int x, int y) const override;
  void resize(int width, int height) override;
  bool savePng(const std::string& path) const override;

  // One line per text run or control drawn: "text X Y 'TEXT'" or "control KIND L T R B 'TEXT'".
  std::vector<std::string> log;

 private:
  void put(int x, int y, COLORREF color);
  int width_, height_;
  RECT clip_;
  std::vector<COLORREF> pixels_;
};

class RecordingBackend : public Backend {
 public:
  struct Surface {
    std::unique_ptr<RecordingCanvas> canvas;
    RECT geometry{};
    std::string title;
    bool shown = false;
    int presented = 0;
  };

  std::unique_ptr<Canvas> createCanvas(int width, int height) override;
  int createSurface(int width, int height) override;
  void destroySurface(int surface) override;
  Canvas& surfaceCanvas(int surface) override;
  void setSurfaceGeometry(int surface, const RECT& clientOnScreen) override;
  void setSurfaceTitle(int surface, const std::string& title) override;
  void showSurface(int surface, bool show) override;
  void presentSurface(int surface) override;
  FontMetrics fontMetrics(const LOGFONTA& font) override;
  int textWidth(const LOGFONTA& font, std::string_view text) override;
  SIZE screenSize() override { return SIZE{1024, 768}; }
  uint64_t nowMs() override { return clock_; }
  bool interactive() const override { return false; }
  void attach(EventSink&) override {}
  void processEvents(int timeoutMs) override;
  void setCursorShape(int idc) override { cursor = idc; }
  void setClipboardText(const std::string& ansi) override;
  bool clipboardText(std::string& ansi) override;
  void setClipboardImage(const Canvas& image) override;
  std::unique_ptr<Canvas> clipboardImage() override;
  void clearClipboard() override;
  void beep() override { beeps++; }
  bool openInTextEditor(const std::string& path) override;

  std::map<int, Surface> surfaces;
  std::vector<std::string> editedFiles;
  int beeps = 0;
  int cursor = 0;
  bool hasClipboardText = false;
  std::string clipboard;
  std::unique_ptr<Canvas> clipboardBitmap;

 private:
  uint64_t clock_ = 1000;
  int nextSurface_ = 1;
};

}  // namespace pv::win32

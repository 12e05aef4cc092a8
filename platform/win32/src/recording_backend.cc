// The recording backend: in-memory canvases, fixed font metrics, virtual time and recorders.
#include "win32/recording_backend.h"

#include <algorithm>
#include <cstdlib>

#include "win32/user.h"

namespace pv::win32 {

RecordingCanvas::RecordingCanvas(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), clip_{0, 0, width_, height_},
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0xFFFFFF) {}

void RecordingCanvas::setClip(const RECT& clip) {
  RECT all{0, 0, width_, height_};
  if (!IntersectRect(&clip_, &clip, &all)) clip_ = RECT{0, 0, 0, 0};
}

void RecordingCanvas::put(int x, int y, COLORREF color) {
  if (x < clip_.left || x >= clip_.right || y < clip_.top || y >= clip_.bottom) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = color & 0xFFFFFF;
}

void RecordingCanvas::fillRect(const RECT& r, COLORREF color) {
  RECT c;
  if (!IntersectRect(&c, &r, &clip_)) return;
  for (int y = c.top; y < c.bottom; ++y)
    std::fill_n(pixels_.begin() + y * width_ + c.left, c.right - c.left, color & 0xFFFFFF);
}

void RecordingCanvas::invertRect(const RECT& r) {
  RECT c;
  if (!IntersectRect(&c, &r, &clip_)) return;
  for (int y = c.top; y < c.bottom; ++y)
    for (int x = c.left; x < c.right; ++x) {
      COLORREF& p = pixels_[static_cast<size_t>(y * width_ + x)];
      p = ~p & 0xFFFFFF;
    }
}

void RecordingCanvas::drawLine(POINT from, POINT to, COLORREF color, int width, int style) {
  // Only the part inside the clip is walked, so far-away end points cost nothing.
  long long x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
  long long steps = std::max(std::llabs(x1 - x0), std::llabs(y1 - y0));
  if (steps == 0) return;
  long long first = 0, last = steps - 1;
  auto limit = [&](long long a, long long b, long long lo, long long hi) {
    // Steps k where a + (b - a) * k / steps lies in [lo, hi).
    long long d = b - a;
    if (d == 0) {
      if (a < lo || a >= hi) first = last + 1;
      return;
    }
    long long k0 = d > 0 ? ((lo - a) * steps + d - 1) / d : ((hi - 1 - a) * steps) / d;
    long long k1 = d > 0 ? ((hi - 1 - a) * steps) / d : ((lo - a) * steps + d + 1) / d;
    first = std::max(first, std::min(k0, k1) - 1);
    last = std::min(last, std::max(k0, k1) + 1);
  };
  limit(x0, x1, clip_.left - width, clip_.right + width);
  limit(y0, y1, clip_.top - width, clip_.bottom + width);
  first = std::max(first, 0LL);
  for (long long k = first; k <= last; ++k) {
    int x = static_cast<int>(x0 + (x1 - x0) * k / steps), y = static_cast<int>(y0 + (y1 - y0) * k / steps);
    bool on = style == PS_SOLID || style == PS_INSIDEFRAME || (style == PS_DOT ? k % 2 == 0 : k % 6 < 4);
    if (!on) continue;
    bool flat = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    for (int n = 0; n < width; ++n) put(flat ? x : x + n, flat ? y + n : y, color);
  }
}

void RecordingCanvas::drawText(int x, int y, std::string_view text, const LOGFONTA&, COLORREF) {
  log.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " '" + std::string(text) + "'");
}

void RecordingCanvas::copyFrom(const RECT& dst, const Canvas& src, POINT origin, DWORD rop) {
  RECT c;
  if (!IntersectRect(&c, &dst, &clip_)) return;
  int dx = origin.x - dst.left, dy = origin.y - dst.top;
  // Read everything first: source and destination may be the same canvas.
  int w = c.right - c.left, h = c.bottom - c.top;
  std::vector<COLORREF> copy(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  auto* same = dynamic_cast<const RecordingCanvas*>(&src);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int sx = c.left + x + dx, sy = c.top + y + dy;
      if (sx < 0 || sy < 0 || sx >= src.width() || sy >= src.height()) continue;
      copy[static_cast<size_t>(y * w + x)] =
          same ? same->pixels_[static_cast<size_t>(sy * same->width_ + sx)] : src.pixel(sx, sy);
    }
  for (int y = 0; y < h; ++y) {
    COLORREF* d = pixels_.data() + static_cast<size_t>((c.top + y) * width_ + c.left);
    const COLORREF* s = copy.data() + static_cast<size_t>(y * w);
    for (int x = 0; x < w; ++x) {
      COLORREF v = s[x];
      switch (rop) {
        case SRCINVERT: v ^= d[x]; break;
        case SRCAND: v &= d[x]; break;
        case SRCPAINT: v |= d[x]; break;
        case NOTSRCCOPY: v = ~v; break;
        default: break;
      }
      d[x] = v & 0xFFFFFF;
    }
  }
}

void RecordingCanvas::drawControl(const ControlLook& look) {
  static const char* kinds[] = {"button", "scrollbar", "frame", "icon", "checkbox", "radio"};
  RECT r = look.rect;
  fillRect(r, RGB(212, 208, 200));  // the button face
  log.push_back(std::string("control ") + kinds[look.kind] + " " + std::to_string(r.left) + " " + std::to_string(r.top) +
                " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + " '" + look.text + "'" +
                (look.isDefault ? " default" : "") + (look.pressed ? " pressed" : "") +
                (look.focused ? " focused" : ""));
}

COLORREF RecordingCanvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return pixels_[static_cast<size_t>(y * width_ + x)];
}

void RecordingCanvas::resize(int width, int height) {
  width = std::max(width, 0), height = std::max(height, 0);
  std::vector<COLORREF> next(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFF);
  for (int y = 0; y < std::min(height, height_); ++y)
    for (int x = 0; x < std::min(width, width_); ++x) next[static_cast<size_t>(y * width + x)] = pixel(x, y);
  pixels_.swap(next);
  width_ = width, height_ = height;
  clip_ = RECT{0, 0, width_, height_};
}

bool RecordingCanvas::savePng(const std::string&) const { return false; }

static std::unique_ptr<RecordingCanvas> duplicate(const Canvas& image) {
  auto copy = std::make_unique<RecordingCanvas>(image.width(), image.height());
  copy->copyFrom(RECT{0, 0, image.width(), image.height()}, image, POINT{0, 0}, SRCCOPY);
  return copy;
}

std::unique_ptr<Canvas> RecordingBackend::createCanvas(int width, int height) {
  return std::make_unique<RecordingCanvas>(width, height);
}

int RecordingBackend::createSurface(int width, int height) {
  int id = nextSurface_++;
  surfaces[id].canvas = std::make_unique<RecordingCanvas>(width, height);
  return id;
}

void RecordingBackend::destroySurface(int surface) { surfaces.erase(surface); }

Canvas& RecordingBackend::surfaceCanvas(int surface) { return *surfaces.at(surface).canvas; }

void RecordingBackend::setSurfaceGeometry(int surface, const RECT& r) {
  auto it = surfaces.find(surface);
  if (it == surfaces.end()) return;
  it->second.geometry = r;
  it->second.canvas->resize(r.right - r.left, r.bottom - r.top);
}

void RecordingBackend::setSurfaceTitle(int surface, const std::string& title) {
  if (auto it = surfaces.find(surface); it != surfaces.end()) it->second.title = title;
}

void RecordingBackend::showSurface(int surface, bool show) {
  if (auto it = surfaces.find(surface); it != surfaces.end()) it->second.shown = show;
}

void RecordingBackend::presentSurface(int surface) {
  if (auto it = surfaces.find(surface); it != surfaces.end()) it->second.presented++;
}

FontMetrics RecordingBackend::fontMetrics(const LOGFONTA& font) {
  int h = font.lfHeight > 0 ? font.lfHeight : font.lfHeight < 0 ? (-font.lfHeight * 9 + 7) / 8 : 16;
  FontMetrics m;
  m.height = h;
  m.ascent = h * 13 / 16;
  m.descent = h - m.ascent;
  m.internalLeading = font.lfHeight < 0 ? h + font.lfHeight : 0;
  m.aveCharWidth = std::max(1, h / 2);
  m.maxCharWidth = h;
  return m;
}

int RecordingBackend::textWidth(const LOGFONTA& font, std::string_view text) {
  return fontMetrics(font).aveCharWidth * static_cast<int>(text.size());
}

void RecordingBackend::processEvents(int timeoutMs) {
  if (timeoutMs > 0) clock_ += static_cast<uint64_t>(timeoutMs);
}

void RecordingBackend::setClipboardText(const std::string& ansi) {
  clipboard = ansi;
  hasClipboardText = true;
}

bool RecordingBackend::clipboardText(std::string& ansi) {
  if (!hasClipboardText) return false;
  ansi = clipboard;
  return true;
}

void RecordingBackend::setClipboardImage(const Canvas& image) { clipboardBitmap = duplicate(image); }

std::unique_ptr<Canvas> RecordingBackend::clipboardImage() {
  if (!clipboardBitmap) return nullptr;
  return duplicate(*clipboardBitmap);
}

void RecordingBackend::clearClipboard() {
  hasClipboardText = false;
  clipboard.clear();
  clipboardBitmap.reset();
}

bool RecordingBackend::openInTextEditor(const std::string& path) {
  editedFiles.push_back(path);
  return true;
}

}  // namespace pv::win32

// A canvas over a QImage: fills, inversions, straight lines and copies write the pixels
// directly; text, slanted lines and styled controls go through a QPainter kept open on it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <memory>

#include "qt_fonts.h"
#include "win32/backend.h"

namespace pv::win32 {

class QtCanvas : public Canvas {
 public:
  QtCanvas(int width, int height, QtFonts& fonts, QStyle& style);
  ~QtCanvas() override;
  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }
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

  const QImage& image() const;
  void setImage(const QImage& image);

 private:
  QPainter& painter();
  void endPainter() const;
  bool clipTo(const RECT& r, RECT& out) const;
  // Glyph pixels in a colour, pen positions from x on the baseline, within the clip.
  void fillGlyphs(int x, int baseline, const std::vector<QtFonts::MaskedGlyph>& glyphs, QRgb color);
  QRgb* line(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }
  // Pixels from one line to the next (lines of a 32-bit image are whole pixels apart).
  qsizetype stride() const { return image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)); }

  QImage image_;
  RECT clip_;
  QtFonts& fonts_;
  QStyle& style_;
  mutable std::unique_ptr<QPainter> painter_;
  mutable const QFont* lastFont_ = nullptr;  // the font the painter has, to skip setting it again
};

}  // namespace pv::win32

// A canvas over a QImage: fills, inversions, straight lines and copies write the pixels
// directly; text, slanted lines and styled controls go through a QPainter kept open on it.
// A vertical scroll of a band onto itself turns the band's rows (see ScrollRing) instead of
// moving its pixels; reading the whole image puts them back in place.
#pragma once

#include <QImage>
#include <QPainter>
#include <QStyle>
#include <memory>
#include <vector>

#include "qt_fonts.h"
#include "qt_scroll_bar_images.h"
#include "qt_scroll_ring.h"
#include "win32/backend.h"

namespace pv::win32 {

class QtCanvas : public Canvas {
 public:
  QtCanvas(int width, int height, QtFonts& fonts, QStyle& style, ScrollBarImages& scrollBars);
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

  // The pixels as shown (the scrolled rows put back in place).
  const QImage& image() const;
  void setImage(const QImage& image);
  // Draws the canvas as shown, scrolled rows and all, without putting them back.
  void drawOn(QPainter& painter) const;

 private:
  // The painter, for drawing that stays within `touched` and outside `spared` (canvas pixels).
  // Drawing over scrolled rows stored one after the other goes where they are stored; other
  // scrolled rows are put back in place first.
  QPainter& painter(const RECT& touched, const RECT& spared = RECT{0, 0, 0, 0});
  void endPainter() const;
  bool clipTo(const RECT& r, RECT& out) const;
  // Glyph pixels in a colour, pen positions from x on the baseline, within the clip.
  void fillGlyphs(int x, int baseline, const std::vector<QtFonts::MaskedGlyph>& glyphs, QRgb color);
  QRgb* line(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }
  // Where the stored rows start and how many pixels apart they are, taken once per drawing.
  struct Rows {
    QRgb* first;
    qsizetype pitch;
  };
  Rows rows() { return Rows{line(0), stride()}; }
  // The stored pixels of row y from column x on, up to `end` (at most right).
  QRgb* pixels(const Rows& rows, int x, int y, int right, int& end) const {
    return rows.first + rows.pitch * ring_.storedRow(x, y, right, end) + x;
  }
  // Row y's pixels from left to right, in the pieces stored together.
  template <typename Pieces> void forPieces(const Rows& rows, int left, int y, int right, Pieces piece);
  // A plain copy of a band of this canvas onto itself shifted up or down, done by turning the
  // band's rows; false when the copy is not such a scroll.
  bool scrollBand(const RECT& dst, POINT origin);
  // Pixels from one line to the next (lines of a 32-bit image are whole pixels apart).
  qsizetype stride() const { return image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)); }

  // Readers of the shown pixels may put scrolled rows back in place, a change of storage only.
  mutable QImage image_;
  mutable ScrollRing ring_;
  RECT clip_;
  QtFonts& fonts_;
  QStyle& style_;
  ScrollBarImages& scrollBars_;
  mutable std::unique_ptr<QPainter> painter_;
  mutable const QFont* lastFont_ = nullptr;
  std::vector<QRgb> colourRow_;  // one row of a fill's colour  // the font the painter has, to skip setting it again
};

}  // namespace pv::win32

// Glyph pixels learnt from the painter.
#include "qt_glyph_masks.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace pv::win32 {

const std::vector<MaskSpan>* GlyphMasks::spans(quint32 glyph) {
  auto it = masks_.find(glyph);
  if (it == masks_.end()) it = masks_.emplace(glyph, learn(glyph)).first;
  return it->second.plain ? &it->second.spans : nullptr;
}

GlyphMasks::Mask GlyphMasks::learn(quint32 glyph) const {
  Mask mask;
  // The glyph drawn black on white with its pen position well inside the image.
  QRectF box = font_.boundingRect(glyph);
  int margin = 4;
  int left = static_cast<int>(std::floor(std::min<qreal>(box.left(), 0))) - margin;
  int top = static_cast<int>(std::floor(std::min<qreal>(box.top(), 0))) - margin;
  int right = static_cast<int>(std::ceil(std::max<qreal>(box.right(), 0))) + margin;
  int bottom = static_cast<int>(std::ceil(std::max<qreal>(box.bottom(), 0))) + margin;
  if (right - left > INT16_MAX || bottom - top > INT16_MAX) return mask;
  QImage image(right - left, bottom - top, QImage::Format_RGB32);
  image.fill(Qt::white);
  QGlyphRun run;
  run.setRawFont(font_);
  run.setGlyphIndexes({glyph});
  run.setPositions({QPointF(0, 0)});
  QPainter painter(&image);
  painter.setPen(Qt::black);
  painter.drawGlyphRun(QPointF(-left, -top), run);
  painter.end();
  const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width();) {
      QRgb p = row[x] | 0xFF000000;
      if (p == white) {
        ++x;
        continue;
      }
      if (p != black) return mask;  // blended pixels: not a one-bit drawing
      int start = x;
      while (x < image.width() && (row[x] | 0xFF000000) == black) ++x;
      if (start == 0 || x == image.width() || y == 0 || y == image.height() - 1) return mask;  // cut off
      mask.spans.push_back(MaskSpan{static_cast<int16_t>(start + left), static_cast<int16_t>(y + top),
                                    static_cast<int16_t>(x - start)});
    }
  }
  mask.plain = true;
  return mask;
}

}  // namespace pv::win32

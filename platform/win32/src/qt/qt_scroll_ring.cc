// The scroll ring: rows of a band stored rotated.
#include "qt_scroll_ring.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace pv::win32 {

namespace {

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

QRgb* pixelsAt(QImage& image, int x, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)) + x; }

}  // namespace

void ScrollRing::copyRow(QImage& image, int from, int to) const {
  std::memcpy(pixelsAt(image, area_.left, to), pixelsAt(image, area_.left, from),
              sizeof(QRgb) * static_cast<size_t>(area_.right - area_.left));
}

bool ScrollRing::scroll(QImage& image, const RECT& area, int dy) {
  int rows = area.bottom - area.top, moved = std::abs(dy);
  if (dy == 0 || 2 * moved > rows || area.left < 0 || area.top < 0 || area.right > image.width() ||
      area.bottom > image.height() || area.right <= area.left)
    return false;
  if (!sameRect(area, area_)) {
    settle(image);
    area_ = area;
  }
  // The rows the scroll uncovers go on showing what they showed: their pixels go to the rows
  // that will store them once the band is turned.
  for (int i = 0; i < moved; ++i) {
    int uncovered = dy < 0 ? area.bottom - moved + i : area.top + i;
    int storage = dy < 0 ? area.top + i : area.bottom - moved + i;
    copyRow(image, storedRow(area.left, uncovered), storedRow(area.left, storage));
  }
  offset_ = ((offset_ - dy) % rows + rows) % rows;
  return true;
}

void ScrollRing::settle(QImage& image) {
  if (!offset_) return;
  int rows = height();
  size_t width = static_cast<size_t>(area_.right - area_.left);
  std::vector<QRgb> shown(width * static_cast<size_t>(rows));
  for (int i = 0; i < rows; ++i)
    std::memcpy(&shown[width * i], pixelsAt(image, area_.left, storedRow(area_.left, area_.top + i)),
                sizeof(QRgb) * width);
  offset_ = 0;
  for (int i = 0; i < rows; ++i)
    std::memcpy(pixelsAt(image, area_.left, area_.top + i), &shown[width * i], sizeof(QRgb) * width);
}

void ScrollRing::draw(QPainter& painter, const QImage& image) const {
  painter.drawImage(0, 0, image);
  if (!offset_) return;
  int width = area_.right - area_.left, rows = height();
  painter.drawImage(QPoint(area_.left, area_.top), image, QRect(area_.left, area_.top + offset_, width, rows - offset_));
  painter.drawImage(QPoint(area_.left, area_.top + rows - offset_), image, QRect(area_.left, area_.top, width, offset_));
}

}  // namespace pv::win32

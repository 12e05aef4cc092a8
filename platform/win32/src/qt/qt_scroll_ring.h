// Vertical scrolls of a band of an image without moving its pixels: the band's rows are kept
// rotated, and the drawing code asks where a row of the band is stored. Readers that need the
// image as it looks either settle the rows back in place or draw the band in two pieces.
#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "win32/types.h"

namespace pv::win32 {

class ScrollRing {
 public:
  bool active() const { return offset_ != 0; }
  const RECT& area() const { return area_; }

  // The stored row of the pixels of row y from column x on, and in `end` the column (at most
  // `right`) where those pixels stop being stored on that row.
  int storedRow(int x, int y, int right, int& end) const {
    end = right;
    if (!offset_ || y < area_.top || y >= area_.bottom || x >= area_.right) return y;
    if (x < area_.left) {
      end = std::min<int>(right, area_.left);
      return y;
    }
    end = std::min<int>(right, area_.right);
    return area_.top + (y - area_.top + offset_) % height();
  }
  int storedRow(int x, int y) const {
    int end;
    return storedRow(x, y, x + 1, end);
  }

  // Whether the rows of `r` lie in the band and are stored one after the other, `shift` rows
  // down from where they are shown.
  bool storedTogether(const RECT& r, int& shift) const {
    if (r.left < area_.left || r.right > area_.right || r.top < area_.top || r.bottom > area_.bottom) return false;
    int first = storedRow(r.left, r.top);
    shift = first - r.top;
    return storedRow(r.left, r.bottom - 1) - first == r.bottom - 1 - r.top;
  }

  // Scrolls `area` (inside the image) by dy rows, leaving the rows it uncovers as a copy of the
  // band would leave them. False, with nothing changed, when the scroll moves more than half of
  // the band (the caller copies the pixels then).
  bool scroll(QImage& image, const RECT& area, int dy);
  // Puts every row of the band back where it is shown.
  void settle(QImage& image);
  // Draws the image as it is shown.
  void draw(QPainter& painter, const QImage& image) const;

 private:
  int height() const { return area_.bottom - area_.top; }
  void copyRow(QImage& image, int from, int to) const;

  RECT area_{0, 0, 0, 0};
  int offset_ = 0;  // row area.top + i of the band is stored in row area.top + (i + offset) % height
};

}  // namespace pv::win32

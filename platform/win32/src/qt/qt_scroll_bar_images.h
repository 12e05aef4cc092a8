// Scroll bars in the style's look, drawn from images the style draws once per size and thumb
// length: the bar without its thumb, and the thumb. Placing the thumb costs a copy of the bar's
// pixels instead of the style's drawing of arrows, patterned track and bevelled thumb.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionSlider>
#include <map>
#include <tuple>

#include "win32/backend.h"

namespace pv::win32 {

// The style's option for a scroll bar as `look` describes it, laid out from (0, 0).
QStyleOptionSlider scrollBarOption(const ControlLook& look, const QPalette& palette);
// The bar drawn by the style itself, at look.rect.
void drawStyledScrollBar(QPainter& painter, QStyle& style, const ControlLook& look, const QPalette& palette);

class ScrollBarImages {
 public:
  explicit ScrollBarImages(QStyle& style) : style_(style) {}
  // Draws the bar at look.rect as drawStyledScrollBar would.
  void draw(QPainter& painter, const ControlLook& look, const QPalette& palette);

 private:
  // Width, height, vertical and the thumb's length (the track's pattern starts at the bar's
  // corner wherever the bar stands).
  using Key = std::tuple<int, int, bool, int>;
  struct Bar {
    QImage empty;  // the arrows and the track without the thumb
    QImage thumb;
  };
  Bar& bar(const Key& key, const ControlLook& look, const QPalette& palette, const QRect& thumb);
  // The bar as the style draws it with `look`, alone in an image.
  QImage styled(const ControlLook& look, const QPalette& palette) const;

  QStyle& style_;
  std::map<Key, Bar> bars_;
};

}  // namespace pv::win32

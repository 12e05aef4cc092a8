// Scroll bars drawn from the style's images of the bar and its thumb.
#include "qt_scroll_bar_images.h"

#include <algorithm>

namespace pv::win32 {

namespace {

constexpr size_t kMostBars = 64;  // sizes kept before the images are drawn anew

QRect thumbRect(QStyle& style, const QStyleOptionSlider& option) {
  return style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider);
}

}  // namespace

QStyleOptionSlider scrollBarOption(const ControlLook& look, const QPalette& palette) {
  QStyleOptionSlider o;
  o.rect = QRect(0, 0, look.rect.right - look.rect.left, look.rect.bottom - look.rect.top);
  o.palette = palette;
  o.state = look.disabled ? QStyle::State_None : QStyle::State_Enabled;
  if (!look.vertical) o.state |= QStyle::State_Horizontal;
  o.orientation = look.vertical ? Qt::Vertical : Qt::Horizontal;
  o.minimum = look.min;
  o.maximum = std::max(look.min, look.max - std::max(look.page - 1, 0));
  o.pageStep = std::max(1, look.page);
  o.singleStep = 1;
  o.sliderPosition = o.sliderValue = look.pos;
  o.subControls = QStyle::SC_All;
  return o;
}

void drawStyledScrollBar(QPainter& painter, QStyle& style, const ControlLook& look, const QPalette& palette) {
  // Scroll bar parts are laid out from the option's origin, as in a scroll bar widget.
  QStyleOptionSlider o = scrollBarOption(look, palette);
  QTransform before = painter.transform();
  painter.translate(look.rect.left, look.rect.top);
  style.drawComplexControl(QStyle::CC_ScrollBar, &o, &painter);
  painter.setTransform(before);
}

void ScrollBarImages::draw(QPainter& painter, const ControlLook& look, const QPalette& palette) {
  QStyleOptionSlider o = scrollBarOption(look, palette);
  QRect thumb = thumbRect(style_, o);
  // A disabled bar's thumb is patterned like its track: the style draws it.
  if (look.disabled || thumb.isEmpty() || o.rect.isEmpty()) return drawStyledScrollBar(painter, style_, look, palette);
  Key key{o.rect.width(), o.rect.height(), look.vertical, look.vertical ? thumb.height() : thumb.width()};
  const Bar& b = bar(key, look, palette, thumb);
  painter.drawImage(look.rect.left, look.rect.top, b.empty);
  painter.drawImage(look.rect.left + thumb.left(), look.rect.top + thumb.top(), b.thumb);
}

ScrollBarImages::Bar& ScrollBarImages::bar(const Key& key, const ControlLook& look, const QPalette& palette,
                                           const QRect& thumb) {
  auto it = bars_.find(key);
  if (it != bars_.end()) return it->second;
  if (bars_.size() >= kMostBars) bars_.clear();
  // The track under the thumb at the start is uncovered with the thumb at the end; where the
  // two thumbs overlap, a thumb is shown wherever it stands.
  ControlLook atStart = look, atEnd = look;
  atStart.pos = look.min;
  atEnd.pos = scrollBarOption(look, palette).maximum;
  QImage empty = styled(atStart, palette), end = styled(atEnd, palette);
  QRect under = thumbRect(style_, scrollBarOption(atStart, palette));
  QPainter(&empty).drawImage(under.topLeft(), end, under);
  Bar made{empty, styled(look, palette).copy(thumb)};
  return bars_.emplace(key, std::move(made)).first->second;
}

QImage ScrollBarImages::styled(const ControlLook& look, const QPalette& palette) const {
  ControlLook placed = look;
  placed.rect = RECT{0, 0, look.rect.right - look.rect.left, look.rect.bottom - look.rect.top};
  QImage image(placed.rect.right, placed.rect.bottom, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  drawStyledScrollBar(painter, style_, placed, palette);
  painter.end();
  return image;
}

}  // namespace pv::win32

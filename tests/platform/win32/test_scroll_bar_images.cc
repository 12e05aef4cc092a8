// Scroll bars drawn from the images of their bar and thumb are the style's own drawing, pixel
// for pixel, whatever their size, place, range, page and position.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>
#include <memory>

#include "qt/qt_scroll_bar_images.h"

namespace {

using pv::win32::ControlLook;

QImage blank() {
  QImage image(260, 260, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(ScrollBarImages, MatchTheStylesDrawing) {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  std::unique_ptr<QStyle> style(QStyleFactory::create("Windows"));
  ASSERT_TRUE(style);
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(212, 208, 200));
  palette.setColor(QPalette::Light, Qt::white);
  pv::win32::ScrollBarImages images(*style);
  struct Range {
    int min, max, page;
  };
  int compared = 0;
  for (bool vertical : {true, false})
    for (int length : {200, 40, 33})
      for (int at : {0, 1, 7})
        for (Range range : {Range{1, 10000, 0}, Range{1, 2, 0}, Range{0, 100, 30}, Range{0, 10, 9}})
          for (int pos : {range.min, range.min + 1, (range.min + range.max) / 2, range.max - 3, range.max}) {
            ControlLook look;
            look.kind = ControlLook::ScrollBar;
            look.vertical = vertical;
            look.rect = vertical ? RECT{at, at + 3, at + 17, at + 3 + length} : RECT{at + 2, at, at + 2 + length, at + 17};
            look.min = range.min, look.max = range.max, look.page = range.page, look.pos = pos;
            QImage cached = blank(), styled = blank();
            QPainter c(&cached), s(&styled);
            images.draw(c, look, palette);
            pv::win32::drawStyledScrollBar(s, *style, look, palette);
            c.end();
            s.end();
            ASSERT_TRUE(cached == styled) << (vertical ? "vertical" : "horizontal") << " length " << length << " at "
                                          << at << " range " << range.min << "-" << range.max << " page "
                                          << range.page << " pos " << pos;
            ++compared;
          }
  EXPECT_EQ(compared, 2 * 3 * 3 * 4 * 5);
}

}  // namespace

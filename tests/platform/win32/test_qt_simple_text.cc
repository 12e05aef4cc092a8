// Text placed from learnt glyphs against the full text layout: for every font the layer maps to,
// plain texts (all printable pairs, runs of random 8-bit characters, the sample table's kind of
// cell texts) get the same glyphs at the same positions and the same width, and filling the
// glyphs' learnt pixels draws exactly what the painter draws; texts the shaper cannot place
// (control characters) are left to the layout.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <random>
#include <string>

#include "qt/qt_glyph_masks.h"
#include "qt/qt_simple_text.h"
#include "qt/qt_text.h"

namespace {

using pv::win32::ansiToQString;
using pv::win32::layOutLine;
using pv::win32::SimpleShaper;

QGuiApplication& app() {
  static int argc = 1;
  static char name[] = "qt_simple_text_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication instance(argc, argv);
  return instance;
}

QFont gdiLikeFont(const char* face, int pixels, bool bold) {
  QFont f(face);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setPixelSize(pixels);
  f.setWeight(bold ? QFont::Bold : QFont::Normal);
  return f;
}

// The layout's glyphs and positions, all runs in a row.
void flatten(const QList<QGlyphRun>& runs, QList<quint32>& glyphs, QList<QPointF>& positions) {
  for (const QGlyphRun& r : runs) {
    glyphs += r.glyphIndexes();
    positions += r.positions();
  }
}

// Checks one text; true when the shaper placed it.
bool samePlacement(SimpleShaper& shaper, const QFont& font, const std::string& text) {
  QGlyphRun run;
  if (!shaper.place(text, run)) return false;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  QList<QGlyphRun> laidOut = layOutLine(font, ansiToQString(text));
  flatten(laidOut, glyphs, positions);
  EXPECT_EQ(run.glyphIndexes(), glyphs) << "'" << text << "'";
  EXPECT_EQ(run.positions(), positions) << "'" << text << "'";
  if (!laidOut.isEmpty()) {
    EXPECT_TRUE(run.rawFont() == laidOut[0].rawFont()) << "'" << text << "'";
  }
  int width = -1;
  EXPECT_TRUE(shaper.width(text, width));
  EXPECT_EQ(width, QFontMetrics(font).horizontalAdvance(ansiToQString(text))) << "'" << text << "'";
  return true;
}

// The text drawn by the painter from its layout and drawn from learnt glyph pixels, on images
// alike; true when the shaper placed it on whole pixels.
bool samePixels(SimpleShaper& shaper, std::unique_ptr<pv::win32::GlyphMasks>& masks, const QFont& font,
                const std::string& text) {
  std::vector<SimpleShaper::PlacedGlyph> glyphs;
  if (!shaper.placeOnPixels(text, glyphs)) return false;
  if (!masks) masks = std::make_unique<pv::win32::GlyphMasks>(shaper.rawFont());
  const QPoint baseline(7, 30);
  const QRgb color = qRgb(0, 0, 128);
  QImage painted(400, 48, QImage::Format_RGB32), filled(400, 48, QImage::Format_RGB32);
  painted.fill(Qt::white);
  filled.fill(Qt::white);
  QPainter painter(&painted);
  painter.setPen(QColor(color));
  for (const QGlyphRun& run : layOutLine(font, ansiToQString(text))) painter.drawGlyphRun(baseline, run);
  painter.end();
  for (const SimpleShaper::PlacedGlyph& g : glyphs) {
    const std::vector<pv::win32::MaskSpan>* spans = masks->spans(g.index);
    if (!spans) return false;
    for (const pv::win32::MaskSpan& s : *spans)
      for (int x = 0; x < s.length; ++x) {
        QPoint at(baseline.x() + g.x + s.dx + x, baseline.y() + s.dy);
        if (filled.rect().contains(at)) filled.setPixel(at, color);
      }
  }
  EXPECT_TRUE(painted == filled) << "'" << text << "'";
  return true;
}

class SimpleText : public ::testing::TestWithParam<std::tuple<const char*, int, bool>> {
 protected:
  void SetUp() override { app(); }
};

TEST_P(SimpleText, PlacesPlainTextAsTheLayoutDoes) {
  auto [face, pixels, bold] = GetParam();
  QFont font = gdiLikeFont(face, pixels, bold);
  SimpleShaper shaper(font);
  int placed = 0, tried = 0;
  for (int a = 0x20; a < 0x7F; ++a)
    for (int b = 0x20; b < 0x7F; ++b, ++tried) placed += samePlacement(shaper, font, {char(a), char(b)});
  std::mt19937 random(7);
  std::uniform_int_distribution<int> character(0x20, 0xFF), length(1, 30);
  for (int n = 0; n < 400; ++n, ++tried) {
    std::string text;
    for (int i = length(random); i > 0; --i) text += char(character(random));
    placed += samePlacement(shaper, font, text);
  }
  for (const char* text : {"  4711", "M\xFCller & S\xF6hne GmbH", "20240131", "  -1234.56", "RE-2024/0815", "Stra\xDF" "e"})
    placed += samePlacement(shaper, font, text), ++tried;
  // Latin text in the layer's fonts needs no shaping beyond glyphs and kerning.
  EXPECT_GT(placed, tried * 9 / 10);
}

TEST_P(SimpleText, GlyphPixelsDrawWhatThePainterDraws) {
  auto [face, pixels, bold] = GetParam();
  QFont font = gdiLikeFont(face, pixels, bold);
  SimpleShaper shaper(font);
  std::unique_ptr<pv::win32::GlyphMasks> masks;
  std::string all;
  for (int c = 0x20; c <= 0xFF; ++c) all += char(c);
  int drawn = 0, tried = 0;
  for (size_t at = 0; at < all.size(); at += 16, ++tried) drawn += samePixels(shaper, masks, font, all.substr(at, 16));
  std::mt19937 random(11);
  std::uniform_int_distribution<int> character(0x20, 0xFF), length(1, 24);
  for (int n = 0; n < 100; ++n, ++tried) {
    std::string text;
    for (int i = length(random); i > 0; --i) text += char(character(random));
    drawn += samePixels(shaper, masks, font, text);
  }
  EXPECT_GT(drawn, tried * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(Fonts, SimpleText,
                         ::testing::Values(std::make_tuple("Liberation Sans", 14, false),
                                           std::make_tuple("Liberation Sans", 13, true),
                                           std::make_tuple("Liberation Sans", 11, false),
                                           std::make_tuple("Liberation Serif", 16, false),
                                           std::make_tuple("Liberation Mono", 13, false)));

TEST(SimpleTextLimits, ControlCharactersAndEmptyTextAreLeftToTheLayout) {
  app();
  QFont font = gdiLikeFont("Liberation Sans", 14, false);
  SimpleShaper shaper(font);
  QGlyphRun run;
  EXPECT_FALSE(shaper.place("a\tb", run));
  EXPECT_FALSE(shaper.place(std::string("a\0b", 3), run));
  EXPECT_FALSE(shaper.place("", run));
  int width = -1;
  EXPECT_FALSE(shaper.width("line\r\n", width));
  EXPECT_TRUE(shaper.width("", width));
  EXPECT_EQ(width, 0);
}

}  // namespace

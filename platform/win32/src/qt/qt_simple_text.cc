// One line of 8-bit text placed from learnt glyphs, advances and pair kernings.
#include "qt_simple_text.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "qt_text.h"

namespace pv::win32 {

namespace {

int32_t toFixed(qreal pixels) { return static_cast<int32_t>(std::lround(pixels * 64)); }

}  // namespace

QList<QGlyphRun> layOutLine(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  QList<QGlyphRun> runs = layout.glyphRuns();
  QPointF baseline(line.x(), line.y() + line.ascent());
  for (QGlyphRun& run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p -= baseline;
    run.setPositions(positions);
  }
  return runs;
}

QList<QGlyphRun> SimpleShaper::layOut(const char* text, size_t length, int32_t& advance) const {
  QString s = ansiToQString(std::string_view(text, length));
  advance = toFixed(QFontMetricsF(font_).horizontalAdvance(s));
  return layOutLine(font_, s);
}

const SimpleShaper::Glyph& SimpleShaper::glyph(unsigned char c) {
  Glyph& g = glyphs_[c];
  if (g.state != kUnknown) return g;
  g.state = kComplex;
  if (c < 0x20) return g;
  // The font's own glyphs are the ones of plain Latin letters, whatever character comes first.
  if (!haveRaw_ && c != 'A') glyph('A');
  char ch = static_cast<char>(c);
  int32_t advance = 0;
  QList<QGlyphRun> runs = layOut(&ch, 1, advance);
  if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 || runs[0].positions()[0] != QPointF()) return g;
  const QGlyphRun& run = runs[0];
  if (!haveRaw_) {
    raw_ = run.rawFont();
    haveRaw_ = true;
  }
  if (run.rawFont() != raw_) return g;
  g = Glyph{kSimple, run.glyphIndexes()[0], advance};
  return g;
}

int SimpleShaper::pairKerning(unsigned char a, unsigned char b) {
  if (pairs_.empty()) pairs_.assign(256 * 256, kPairUnknown);
  int16_t& k = pairs_[a * 256 + b];
  if (k != kPairUnknown) return k;
  k = kPairComplex;
  const Glyph &ga = glyph(a), &gb = glyph(b);
  if (ga.state != kSimple || gb.state != kSimple) return k;
  char text[2] = {static_cast<char>(a), static_cast<char>(b)};
  int32_t advance = 0;
  QList<QGlyphRun> runs = layOut(text, 2, advance);
  if (runs.size() != 1 || runs[0].rawFont() != raw_) return k;
  QList<quint32> indexes = runs[0].glyphIndexes();
  QList<QPointF> at = runs[0].positions();
  if (indexes != QList<quint32>{ga.index, gb.index} || at[0] != QPointF() || at[1].y() != 0) return k;
  int32_t kerning = toFixed(at[1].x()) - ga.advance;
  if (advance != ga.advance + kerning + gb.advance || kerning <= kPairComplex || kerning > INT16_MAX)
    return k;
  k = static_cast<int16_t>(kerning);
  return k;
}

template <typename Visit>
bool SimpleShaper::walk(std::string_view ansi, int64_t& end, Visit visit) {
  int64_t x = 0;
  for (size_t i = 0; i < ansi.size(); ++i) {
    auto c = static_cast<unsigned char>(ansi[i]);
    const Glyph& g = glyph(c);
    if (g.state != kSimple) return false;
    if (i > 0) {
      int kerning = pairKerning(static_cast<unsigned char>(ansi[i - 1]), c);
      if (kerning == kPairComplex) return false;
      x += kerning;
    }
    if (!visit(g.index, x)) return false;
    x += g.advance;
  }
  end = x;
  return true;
}

bool SimpleShaper::place(std::string_view ansi, QGlyphRun& run) {
  QList<quint32> indexes;
  QList<QPointF> positions;
  indexes.reserve(static_cast<qsizetype>(ansi.size()));
  positions.reserve(static_cast<qsizetype>(ansi.size()));
  int64_t end = 0;
  auto collect = [&](quint32 index, int64_t x) {
    indexes.append(index);
    positions.append(QPointF(static_cast<qreal>(x) / 64, 0));
    return true;
  };
  if (ansi.empty() || !walk(ansi, end, collect)) return false;
  run = QGlyphRun();
  run.setRawFont(raw_);
  run.setGlyphIndexes(indexes);
  run.setPositions(positions);
  return true;
}

bool SimpleShaper::placeOnPixels(std::string_view ansi, std::vector<PlacedGlyph>& glyphs) {
  glyphs.clear();
  int64_t end = 0;
  auto collect = [&glyphs](quint32 index, int64_t x) {
    if (x % 64 != 0) return false;
    glyphs.push_back(PlacedGlyph{static_cast<int>(x / 64), index});
    return true;
  };
  return !ansi.empty() && walk(ansi, end, collect);
}

bool SimpleShaper::width(std::string_view ansi, int& pixels) {
  int64_t end = 0;
  if (!walk(ansi, end, [](quint32, int64_t) { return true; })) return false;
  // The layout's fixed-point width rounded to whole pixels, halves up.
  pixels = static_cast<int>((end + 32) >> 6);
  return true;
}

}  // namespace pv::win32

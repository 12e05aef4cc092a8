// Glyphs of one line of 8-bit text placed without a full text layout. A font's shaper learns,
// once per character and once per adjacent pair, what the full layout makes of it: the glyph,
// its advance, the pair's kerning. A text whose characters and pairs all lay out as a plain
// sequence of the font's own glyphs on the baseline is then placed by adding advances and
// kernings, exactly as the layout places it; any other text (another font for a character, a
// ligature, a glyph moved off the baseline, a control character) is left to the full layout.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pv::win32 {

// The glyph runs of a text laid out on one line without wrapping, positioned from the start of
// its baseline.
QList<QGlyphRun> layOutLine(const QFont& font, const QString& text);

class SimpleShaper {
 public:
  explicit SimpleShaper(const QFont& font) : font_(font) {}
  // The glyph run of `ansi` from the start of its baseline; false when it needs a full layout.
  bool place(std::string_view ansi, QGlyphRun& run);
  // The advance of `ansi` in whole pixels, rounded as the layout's width is; false likewise.
  bool width(std::string_view ansi, int& pixels);
  // The glyphs of `ansi` with their pen positions in whole pixels from the start of the
  // baseline; false when it needs a full layout or a glyph stands between pixels.
  struct PlacedGlyph {
    int x;
    quint32 index;
  };
  bool placeOnPixels(std::string_view ansi, std::vector<PlacedGlyph>& glyphs);
  // The font of the glyphs placed (valid once a text was placed).
  const QRawFont& rawFont() const { return raw_; }

 private:
  enum State : uint8_t { kUnknown, kSimple, kComplex };
  struct Glyph {
    State state = kUnknown;
    quint32 index = 0;
    int32_t advance = 0;  // 1/64 pixel, the layout's fixed-point unit
  };
  static constexpr int16_t kPairUnknown = INT16_MIN, kPairComplex = INT16_MIN + 1;

  const Glyph& glyph(unsigned char c);
  // The kerning of the pair in 1/64 pixel, or kPairComplex.
  int pairKerning(unsigned char a, unsigned char b);
  // Calls visit( glyph index, 1/64-pixel pen position ) for each character of the text and sets
  // the end of its advance; false when it needs a full layout.
  template <typename Visit>
  bool walk(std::string_view ansi, int64_t& end, Visit visit);
  // The layout of a text of one or two characters and its advance in 1/64 pixel.
  QList<QGlyphRun> layOut(const char* text, size_t length, int32_t& advance) const;

  QFont font_;
  QRawFont raw_;  // the font every simple glyph comes from
  bool haveRaw_ = false;
  std::array<Glyph, 256> glyphs_{};
  std::vector<int16_t> pairs_;  // 256 x 256, made on first use
};

}  // namespace pv::win32

// The pixels a glyph of a one-bit (not antialiased) font sets, learnt once by drawing the glyph
// alone through the painter, then drawn again by filling those pixels in the text colour: what
// the painter would draw for the glyph at a whole-pixel pen position, without its glyph cache
// lookups and blending.
#pragma once

#include <QRawFont>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace pv::win32 {

// A horizontal run of set pixels, relative to the pen position on the baseline.
struct MaskSpan {
  int16_t dx, dy, length;
};

class GlyphMasks {
 public:
  explicit GlyphMasks(const QRawFont& font) : font_(font) {}
  // The spans of a glyph; null when its drawing is not plain one-bit pixels (it is drawn by the
  // painter then).
  const std::vector<MaskSpan>* spans(quint32 glyph);

 private:
  struct Mask {
    bool plain = false;
    std::vector<MaskSpan> spans;
  };
  Mask learn(quint32 glyph) const;

  QRawFont font_;
  std::unordered_map<quint32, Mask> masks_;
};

}  // namespace pv::win32

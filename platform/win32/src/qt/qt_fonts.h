// GDI fonts as Qt fonts: face names mapped to installed faces (fontconfig finds Arial's
// metric-compatible face; the old Windows UI faces map to it too), heights in GDI's sense.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "qt_glyph_masks.h"
#include "qt_simple_text.h"
#include "win32/types.h"

namespace pv::win32 {

class QtFonts {
 public:
  const QFont& font(const LOGFONTA& lf);
  const QFontMetrics& metrics(const LOGFONTA& lf);
  // The advance of an ANSI text in the font: added up from learnt glyph advances, or for text
  // that needs shaping measured and remembered (labels are measured again on every repaint).
  int textWidth(const LOGFONTA& lf, std::string_view ansiText);
  // The glyphs of an ANSI text laid out on one line in the font, positioned from the start of
  // its baseline: placed from learnt glyphs (valid until the next call), or for text that needs
  // shaping laid out and remembered like the widths. Null for a font drawn with lines
  // (underline, strike-out), which the caller draws itself.
  const QList<QGlyphRun>* glyphRuns(const LOGFONTA& lf, std::string_view ansiText);
  // The glyphs of an ANSI text as pixel spans at whole-pixel pen positions from the start of
  // its baseline (valid until the next call); null when it is drawn from glyph runs instead.
  struct MaskedGlyph {
    int x;
    const std::vector<MaskSpan>* spans;
  };
  const std::vector<MaskedGlyph>* glyphMasks(const LOGFONTA& lf, std::string_view ansiText);

 private:
  struct Entry {
    QFont font;
    QFontMetrics metrics;
    std::unordered_map<std::string, int> widths;
    std::unordered_map<std::string, QList<QGlyphRun>> runs;
    SimpleShaper shaper;
    QList<QGlyphRun> placed;  // the last text the shaper placed
    std::unique_ptr<GlyphMasks> masks;  // made with the first text placed on whole pixels
    std::vector<SimpleShaper::PlacedGlyph> onPixels;
    std::vector<MaskedGlyph> masked;
  };
  Entry& entry(const LOGFONTA& lf);
  std::map<std::string, Entry> cache_;
  LOGFONTA lastFont_{};  // the font asked for last and its entry, found again without a lookup
  Entry* last_ = nullptr;
};

}  // namespace pv::win32

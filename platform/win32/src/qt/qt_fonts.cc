// Face mapping and GDI height rules for Qt fonts.
#include "qt_fonts.h"

#include "qt_text.h"

#include <strings.h>

#include <cmath>
#include <cstring>

namespace pv::win32 {

namespace {

// Bounded memories: a long run of distinct texts starts the memory afresh rather than growing it.
constexpr std::size_t kMaxRemembered = 4096;

QString mapFace(const char* face) {
  static const char* sans[] = {"", "MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "System",
                               "SYSTEM_FONT", "Tahoma", "Segoe UI", "Arial", "Helvetica", "Verdana"};
  static const char* mono[] = {"Courier", "Courier New", "Fixedsys", "Terminal", "Lucida Console"};
  for (const char* s : sans)
    if (strcasecmp(face, s) == 0) return "Liberation Sans";
  for (const char* m : mono)
    if (strcasecmp(face, m) == 0) return "Liberation Mono";
  if (strcasecmp(face, "Times New Roman") == 0) return "Liberation Serif";
  return QString::fromLatin1(face);
}

}  // namespace

QtFonts::Entry& QtFonts::entry(const LOGFONTA& lf) {
  if (last_ && std::memcmp(&lf, &lastFont_, sizeof lf) == 0) return *last_;
  std::string key(reinterpret_cast<const char*>(&lf), sizeof lf);
  lastFont_ = lf;
  auto it = cache_.find(key);
  if (it != cache_.end()) return *(last_ = &it->second);
  char face[33] = {};
  std::memcpy(face, lf.lfFaceName, 32);
  QFont f(mapFace(face));
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setWeight(lf.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
  f.setItalic(lf.lfItalic != 0);
  f.setUnderline(lf.lfUnderline != 0);
  f.setStrikeOut(lf.lfStrikeOut != 0);
  int h = lf.lfHeight;
  if (h == 0) h = -13;
  if (h < 0) {
    f.setPixelSize(-h);
  } else {
    // A positive height is the whole cell: scale the em size so that ascent plus descent fits.
    f.setPixelSize(h);
    QFontMetrics probe(f);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(double(h) * h / std::max(1, probe.height())))));
  }
  auto inserted = cache_.emplace(key, Entry{f, QFontMetrics(f), {}, {}, SimpleShaper(f), {}, nullptr, {}, {}});
  return *(last_ = &inserted.first->second);
}

const QFont& QtFonts::font(const LOGFONTA& lf) { return entry(lf).font; }
const QFontMetrics& QtFonts::metrics(const LOGFONTA& lf) { return entry(lf).metrics; }

int QtFonts::textWidth(const LOGFONTA& lf, std::string_view ansiText) {
  Entry& e = entry(lf);
  int w = 0;
  if (e.shaper.width(ansiText, w)) return w;
  std::string key(ansiText);
  if (auto it = e.widths.find(key); it != e.widths.end()) return it->second;
  if (e.widths.size() >= kMaxRemembered) e.widths.clear();
  w = e.metrics.horizontalAdvance(ansiToQString(ansiText));
  e.widths.emplace(std::move(key), w);
  return w;
}

const QList<QGlyphRun>* QtFonts::glyphRuns(const LOGFONTA& lf, std::string_view ansiText) {
  if (lf.lfUnderline || lf.lfStrikeOut) return nullptr;
  Entry& e = entry(lf);
  if (e.placed.size() != 1) e.placed.resize(1);
  if (e.shaper.place(ansiText, e.placed[0])) return &e.placed;
  std::string key(ansiText);
  if (auto it = e.runs.find(key); it != e.runs.end()) return &it->second;
  if (e.runs.size() >= kMaxRemembered) e.runs.clear();
  QList<QGlyphRun> runs = layOutLine(e.font, ansiToQString(ansiText));
  return &e.runs.emplace(std::move(key), std::move(runs)).first->second;
}

const std::vector<QtFonts::MaskedGlyph>* QtFonts::glyphMasks(const LOGFONTA& lf, std::string_view ansiText) {
  if (lf.lfUnderline || lf.lfStrikeOut) return nullptr;
  Entry& e = entry(lf);
  if (!e.shaper.placeOnPixels(ansiText, e.onPixels)) return nullptr;
  if (!e.masks) e.masks = std::make_unique<GlyphMasks>(e.shaper.rawFont());
  e.masked.clear();
  for (const SimpleShaper::PlacedGlyph& g : e.onPixels) {
    const std::vector<MaskSpan>* spans = e.masks->spans(g.index);
    if (!spans) return nullptr;
    e.masked.push_back(MaskedGlyph{g.x, spans});
  }
  return &e.masked;
}

}  // namespace pv::win32

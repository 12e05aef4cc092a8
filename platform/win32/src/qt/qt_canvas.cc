// The Qt canvas.
#include "qt_canvas.h"

#include <QStyleOption>
#include <QtWidgets/qdrawutil.h>
#include <algorithm>
#include <cstring>

#include "qt_fonts.h"
#include "win32/constants.h"
#include "qt_text.h"
#include "win32/text_codec.h"

namespace pv::win32 {

namespace {

QRgb toRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF fromRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }
QRect toQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }
bool overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool inside(const RECT& a, const RECT& b) {
  return a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}

QPalette classicPalette() {
  QPalette p;
  QColor face(212, 208, 200);
  p.setColor(QPalette::Window, face);
  p.setColor(QPalette::Button, face);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::ButtonText, Qt::black);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Light, Qt::white);
  p.setColor(QPalette::Midlight, face);
  p.setColor(QPalette::Mid, QColor(128, 128, 128));
  p.setColor(QPalette::Dark, QColor(128, 128, 128));
  p.setColor(QPalette::Shadow, QColor(64, 64, 64));
  p.setColor(QPalette::Highlight, QColor(10, 36, 106));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
  return p;
}

QStyle::StandardPixmap iconFor(UINT type) {
  switch (type & 0xF0) {
    case 0x10: return QStyle::SP_MessageBoxCritical;
    case 0x20: return QStyle::SP_MessageBoxQuestion;
    case 0x30: return QStyle::SP_MessageBoxWarning;
    default: return QStyle::SP_MessageBoxInformation;
  }
}

// One row of a raster operation other than a plain copy: source pixels combined with the
// destination's.
void combineRow(QRgb* d, const QRgb* s, size_t width, DWORD rop) {
  for (size_t x = 0; x < width; ++x) {
    QRgb v = s[x], o = d[x];
    switch (rop) {
      case SRCINVERT: v = (v ^ o) | 0xFF000000; break;
      case SRCAND: v = v & o; break;
      case SRCPAINT: v = v | o; break;
      case NOTSRCCOPY: v = ~v | 0xFF000000; break;
      default: break;
    }
    d[x] = v;
  }
}

}  // namespace

QtCanvas::QtCanvas(int width, int height, QtFonts& fonts, QStyle& style, ScrollBarImages& scrollBars)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), clip_{0, 0, width, height},
      fonts_(fonts), style_(style), scrollBars_(scrollBars) {
  image_.fill(Qt::white);
  if (width <= 0 || height <= 0) clip_ = RECT{0, 0, 0, 0};
}

QtCanvas::~QtCanvas() { endPainter(); }

QPainter& QtCanvas::painter(const RECT& touched, const RECT& spared) {
  RECT c, clip = clip_;
  int shift = 0;
  if (ring_.active() && clipTo(touched, c) && overlaps(c, ring_.area()) && !inside(ring_.area(), spared)) {
    if (ring_.storedTogether(c, shift)) clip = c;
    else ring_.settle(image_);
  }
  if (!painter_) painter_ = std::make_unique<QPainter>(&image_);
  painter_->setTransform(QTransform::fromTranslate(0, shift));
  painter_->setClipRect(toQRect(clip));
  return *painter_;
}

void QtCanvas::endPainter() const {
  painter_.reset();
  lastFont_ = nullptr;
}

const QImage& QtCanvas::image() const {
  endPainter();
  ring_.settle(image_);
  return image_;
}

void QtCanvas::drawOn(QPainter& painter) const {
  endPainter();
  ring_.draw(painter, image_);
}

void QtCanvas::setImage(const QImage& image) {
  endPainter();
  image_ = image.convertToFormat(QImage::Format_RGB32);
  ring_ = ScrollRing();
  clip_ = RECT{0, 0, image_.width(), image_.height()};
}

void QtCanvas::setClip(const RECT& clip) {
  RECT all{0, 0, image_.width(), image_.height()};
  clip_ = RECT{std::max(clip.left, all.left), std::max(clip.top, all.top), std::min(clip.right, all.right),
               std::min(clip.bottom, all.bottom)};
  if (clip_.right < clip_.left) clip_.right = clip_.left;
  if (clip_.bottom < clip_.top) clip_.bottom = clip_.top;
}

bool QtCanvas::clipTo(const RECT& r, RECT& out) const {
  out = RECT{std::max(r.left, clip_.left), std::max(r.top, clip_.top), std::min(r.right, clip_.right),
             std::min(r.bottom, clip_.bottom)};
  return out.right > out.left && out.bottom > out.top;
}

template <typename Pieces>
void QtCanvas::forPieces(const Rows& rows, int left, int y, int right, Pieces piece) {
  if (!ring_.active()) return piece(rows.first + rows.pitch * y + left, left, right);
  for (int x = left, end = right; x < right; x = end) {
    QRgb* p = pixels(rows, x, y, right, end);
    piece(p, x, end);
  }
}

void QtCanvas::fillRect(const RECT& r, COLORREF color) {
  RECT c;
  if (!clipTo(r, c)) return;
  // One row of the colour, copied into every row.
  colourRow_.assign(static_cast<size_t>(c.right - c.left), toRgb(color));
  const QRgb* colour = colourRow_.data();
  int left = c.left;
  Rows all = rows();
  for (int y = c.top; y < c.bottom; ++y)
    forPieces(all, c.left, y, c.right, [colour, left](QRgb* p, int x, int end) {
      std::memcpy(p, colour + (x - left), sizeof(QRgb) * static_cast<size_t>(end - x));
    });
}

void QtCanvas::invertRect(const RECT& r) {
  RECT c;
  if (!clipTo(r, c)) return;
  Rows all = rows();
  for (int y = c.top; y < c.bottom; ++y)
    forPieces(all, c.left, y, c.right, [](QRgb* p, int from, int to) {
      for (QRgb* end = p + (to - from); p != end; ++p) *p = (~*p & 0x00FFFFFF) | 0xFF000000;
    });
}

void QtCanvas::drawLine(POINT a, POINT b, COLORREF color, int width, int style) {
  if (style == PS_SOLID && width == 1 && (a.x == b.x || a.y == b.y)) {
    RECT r = a.x == b.x ? (b.y >= a.y ? RECT{a.x, a.y, a.x + 1, b.y} : RECT{a.x, b.y + 1, a.x + 1, a.y + 1})
                        : (b.x >= a.x ? RECT{a.x, a.y, b.x, a.y + 1} : RECT{b.x + 1, a.y, a.x + 1, a.y + 1});
    fillRect(r, color);
    return;
  }
  RECT touched{std::min(a.x, b.x) - width, std::min(a.y, b.y) - width, std::max(a.x, b.x) + width + 1,
               std::max(a.y, b.y) + width + 1};
  QPainter& p = painter(touched);
  Qt::PenStyle ps = style == PS_DASH ? Qt::DashLine : style == PS_DOT ? Qt::DotLine : style == PS_DASHDOT ? Qt::DashDotLine
                  : style == PS_DASHDOTDOT ? Qt::DashDotDotLine : Qt::SolidLine;
  QPen pen(QColor(toRgb(color)), width, ps, Qt::FlatCap);
  p.setPen(pen);
  p.setRenderHint(QPainter::Antialiasing, false);
  // GDI leaves out the end point; step back one pixel along the major axis.
  int dx = b.x - a.x, dy = b.y - a.y;
  int n = std::max(std::abs(dx), std::abs(dy));
  if (n == 0) return;
  QPointF end(b.x - double(dx) / n, b.y - double(dy) / n);
  p.drawLine(QPointF(a.x, a.y), end);
}

void QtCanvas::drawText(int x, int y, std::string_view text, const LOGFONTA& font, COLORREF color) {
  if (const auto* glyphs = fonts_.glyphMasks(font, text)) {
    fillGlyphs(x, y + fonts_.metrics(font).ascent(), *glyphs, toRgb(color));
    return;
  }
  // Glyphs may reach past their advances and the line's height.
  int reach = fonts_.metrics(font).height();
  QPainter& p = painter(RECT{x - reach, y - reach, x + fonts_.textWidth(font, text) + reach, y + 2 * reach});
  const QFont& f = fonts_.font(font);
  if (&f != lastFont_) {
    p.setFont(f);
    lastFont_ = &f;
  }
  p.setPen(QColor(toRgb(color)));
  QPoint baseline(x, y + fonts_.metrics(font).ascent());
  const QList<QGlyphRun>* runs = fonts_.glyphRuns(font, text);
  if (!runs) return p.drawText(baseline, ansiToQString(text));
  for (const QGlyphRun& run : *runs) p.drawGlyphRun(baseline, run);
}

void QtCanvas::fillGlyphs(int x, int baseline, const std::vector<QtFonts::MaskedGlyph>& glyphs, QRgb color) {
  auto fill = [color](QRgb* p, int from, int to) {
    for (QRgb* end = p + (to - from); p != end; ++p) *p = color;
  };
  Rows all = rows();
  for (const QtFonts::MaskedGlyph& g : glyphs)
    for (const MaskSpan& s : *g.spans) {
      int y = baseline + s.dy, left = std::max<int>(x + g.x + s.dx, clip_.left);
      int right = std::min<int>(x + g.x + s.dx + s.length, clip_.right);
      if (y < clip_.top || y >= clip_.bottom || left >= right) continue;
      forPieces(all, left, y, right, fill);
    }
}

bool QtCanvas::scrollBand(const RECT& dst, POINT origin) {
  int dy = dst.top - origin.y;
  RECT drawn;
  if (origin.x != dst.left || dy == 0 || !clipTo(dst, drawn) || drawn.left != dst.left || drawn.top != dst.top ||
      drawn.right != dst.right || drawn.bottom != dst.bottom)
    return false;
  RECT band{dst.left, std::min<int>(dst.top, origin.y), dst.right, std::max<int>(dst.bottom, dst.bottom - dy)};
  return ring_.scroll(image_, band, dy);
}

void QtCanvas::copyFrom(const RECT& dst, const Canvas& src, POINT origin, DWORD rop) {
  auto* qsrc = dynamic_cast<const QtCanvas*>(&src);
  if (!qsrc) return;
  bool self = qsrc == this;
  if (self && rop == SRCCOPY && scrollBand(dst, origin)) return;
  // Any other plain copy within this canvas moves the rows in place, in the order that reads
  // each source row before it is overwritten; other raster operations read from a snapshot.
  if (self) ring_.settle(image_);
  bool inPlace = self && rop == SRCCOPY;
  QImage snapshot = self && !inPlace ? image_.copy() : QImage();
  const QImage& from = !self ? qsrc->image() : inPlace ? image_ : snapshot;
  // The destination columns whose source columns exist.
  RECT c;
  if (!clipTo(dst, c)) return;
  int dx = origin.x - dst.left, dy = origin.y - dst.top;
  int left = std::max<int>(c.left, -dx), right = std::min<int>(c.right, from.width() - dx);
  if (right <= left) return;
  // The destination rows whose source rows exist, walked bottom up when an in-place copy moves
  // them down.
  int top = std::max<int>(c.top, -dy), bottom = std::min<int>(c.bottom, from.height() - dy);
  if (bottom <= top) return;
  bool bottomFirst = inPlace && dy < 0;
  int step = bottomFirst ? -1 : 1;
  Rows all = rows();  // writable first: the source may be this image
  qsizetype sourceStep = from.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  const QRgb* source = reinterpret_cast<const QRgb*>(from.constBits()) + dx;
  for (int y = bottomFirst ? bottom - 1 : top; y >= top && y < bottom; y += step) {
    const QRgb* s = source + (y + dy) * sourceStep;
    forPieces(all, left, y, right, [s, rop](QRgb* d, int x, int end) {
      if (rop == SRCCOPY) std::memmove(d, s + x, sizeof(QRgb) * static_cast<size_t>(end - x));
      else combineRow(d, s + x, static_cast<size_t>(end - x), rop);
    });
  }
}

void QtCanvas::drawControl(const ControlLook& look) {
  // A sunken frame draws on the rectangle's two outer pixels only.
  const RECT& at = look.rect;
  RECT spared = look.kind == ControlLook::SunkenFrame ? RECT{at.left + 2, at.top + 2, at.right - 2, at.bottom - 2}
                                                      : RECT{0, 0, 0, 0};
  QPainter& p = painter(at, spared);
  QRect r = toQRect(look.rect);
  QPalette palette = classicPalette();
  switch (look.kind) {
    case ControlLook::CheckBox:
    case ControlLook::RadioButton: {
      QStyleOptionButton o;
      o.rect = r;
      o.palette = palette;
      o.state = (look.disabled ? QStyle::State_None : QStyle::State_Enabled) |
                (look.pressed ? QStyle::State_On : QStyle::State_Off) |
                (look.focused ? QStyle::State_HasFocus : QStyle::State_None);
      o.text = ansiToQString(look.text);
      p.setFont(fonts_.font(look.font));
      lastFont_ = nullptr;
      o.fontMetrics = fonts_.metrics(look.font);
      style_.drawControl(look.kind == ControlLook::CheckBox ? QStyle::CE_CheckBox : QStyle::CE_RadioButton, &o, &p);
      break;
    }
    case ControlLook::PushButton: {
      QStyleOptionButton o;
      o.rect = r;
      o.palette = palette;
      o.state = (look.disabled ? QStyle::State_None : QStyle::State_Enabled) |
                (look.pressed ? QStyle::State_Sunken : QStyle::State_Raised) |
                (look.focused ? QStyle::State_HasFocus : QStyle::State_None);
      o.features = look.isDefault ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
      o.text = ansiToQString(look.text);
      p.setFont(fonts_.font(look.font));
      lastFont_ = nullptr;
      o.fontMetrics = fonts_.metrics(look.font);
      style_.drawControl(QStyle::CE_PushButton, &o, &p);
      break;
    }
    case ControlLook::ScrollBar: scrollBars_.draw(p, look, palette); break;
    case ControlLook::SunkenFrame: qDrawWinPanel(&p, r, palette, true); break;
    case ControlLook::MessageIcon:
      p.drawPixmap(r.topLeft(), style_.standardIcon(iconFor(look.icon)).pixmap(std::min(r.width(), r.height())));
      break;
  }
}

COLORREF QtCanvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return CLR_INVALID;
  return fromRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(ring_.storedRow(x, y)))[x]);
}

void QtCanvas::resize(int width, int height) {
  endPainter();
  ring_.settle(image_);
  QImage next(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  next.fill(Qt::white);
  QPainter p(&next);
  p.drawImage(0, 0, image_);
  p.end();
  image_ = next;
  clip_ = RECT{0, 0, std::max(width, 0), std::max(height, 0)};
}

bool QtCanvas::savePng(const std::string& path) const { return image().save(QString::fromStdString(path), "PNG"); }

}  // namespace pv::win32

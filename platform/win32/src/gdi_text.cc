// Text output: TextOut, ExtTextOut, DrawText (line breaking, alignment, mnemonic prefixes),
// text extents and metrics. Layout is done here; the backend only measures and draws runs.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

using namespace pv::win32;

namespace {

struct Line {
  std::string text;
  int underline = -1;  // index of the mnemonic character, or -1
};

int width(const LOGFONTA& lf, std::string_view s) { return s.empty() ? 0 : backend().textWidth(lf, s); }

// Draws one run at canvas-relative logical coordinates with the context's colours and mode.
void drawRun(DeviceContext* dc, Canvas* c, int x, int y, std::string_view text, const LOGFONTA& lf,
             const FontMetrics& m, int underline) {
  POINT p = toCanvas(dc, x, y);
  if (dc->s.bkMode == OPAQUE) c->fillRect(RECT{p.x, p.y, p.x + width(lf, text), p.y + m.height}, dc->s.bkColor);
  c->drawText(p.x, p.y, text, lf, dc->s.textColor);
  if (underline >= 0 && underline < static_cast<int>(text.size())) {
    int ux = width(lf, text.substr(0, static_cast<size_t>(underline)));
    int uw = std::max(1, width(lf, text.substr(static_cast<size_t>(underline), 1)));
    int uy = p.y + m.ascent + 1;
    c->fillRect(RECT{p.x + ux, uy, p.x + ux + uw, uy + 1}, dc->s.textColor);
  }
}

Line stripPrefix(const std::string& s, bool noPrefix) {
  Line l;
  if (noPrefix) {
    l.text = s;
    return l;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && l.underline < 0) l.underline = static_cast<int>(l.text.size());
    }
    l.text += s[i];
  }
  return l;
}

std::vector<std::string> splitParagraphs(const std::string& s, bool single) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < s.size(); ++i) {
    char ch = s[i];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      if (!single) out.emplace_back();
      continue;
    }
    out.back() += ch;
  }
  return out;
}

// Breaks a paragraph into lines that fit `limit` pixels, at blanks; with breakWords, a word wider
// than a line is broken between characters.
void wrap(const std::string& para, const LOGFONTA& lf, int limit, bool breakWords, std::vector<std::string>& out) {
  // Every candidate line below is a prefix of the paragraph without its leading blanks and its
  // last trailing blank, so when that fits, it is the one line, found with one measurement.
  size_t first = para.find_first_not_of(' ');
  std::string whole = first == std::string::npos ? std::string() : para.substr(first);
  if (!whole.empty() && whole.back() == ' ') whole.pop_back();
  if (width(lf, whole) <= limit) {
    out.push_back(whole);
    return;
  }
  std::string line;
  size_t i = 0;
  while (i < para.size()) {
    size_t end = para.find(' ', i);
    if (end == std::string::npos) end = para.size();
    std::string word = para.substr(i, end - i);
    std::string candidate = line.empty() ? word : line + " " + word;
    if (width(lf, candidate) <= limit || (line.empty() && !breakWords)) {
      line = candidate;
    } else if (line.empty()) {
      size_t n = 1;
      while (n < word.size() && width(lf, word.substr(0, n + 1)) <= limit) ++n;
      out.push_back(word.substr(0, n));
      i += n;
      continue;
    } else {
      out.push_back(line);
      line.clear();
      continue;
    }
    i = end + 1;
  }
  out.push_back(line);
}

// The lines DrawText shows: paragraphs, mnemonic prefixes taken out, and broken to `limit`
// pixels with DT_WORDBREAK.
std::vector<Line> layoutLines(const std::string& s, UINT format, const LOGFONTA& lf, int limit) {
  bool single = (format & DT_SINGLELINE) != 0;
  std::vector<Line> lines;
  for (const std::string& para : splitParagraphs(s, single)) {
    Line stripped = stripPrefix(para, (format & DT_NOPREFIX) != 0);
    if (single || !(format & DT_WORDBREAK)) {
      lines.push_back(stripped);
      continue;
    }
    std::vector<std::string> pieces;
    wrap(stripped.text, lf, limit, (format & DT_EDITCONTROL) != 0, pieces);
    int consumed = 0;
    for (const std::string& piece : pieces) {
      Line l{piece, -1};
      int at = static_cast<int>(stripped.text.find(piece, static_cast<size_t>(consumed)));
      if (stripped.underline >= at && stripped.underline < at + static_cast<int>(piece.size()))
        l.underline = stripped.underline - at;
      consumed = at + static_cast<int>(piece.size());
      lines.push_back(l);
    }
  }
  return lines;
}

}  // namespace

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length, const INT*) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || (length && !text)) return FALSE;
  Canvas* c = dcCanvas(dc);
  if (!c) return TRUE;
  LOGFONTA lf = currentFont(dc);
  FontMetrics m = metricsOf(lf);
  std::string_view s(text ? text : "", length);
  RECT clip = dc->s.clip;
  if (rect && (options & ETO_CLIPPED)) {
    RECT r = toCanvas(dc, *rect);
    IntersectRect(&clip, &clip, &r);
  }
  c->setClip(dc->s.clip);
  if (rect && (options & ETO_OPAQUE)) c->fillRect(toCanvas(dc, *rect), dc->s.bkColor);
  int w = width(lf, s);
  UINT align = dc->s.textAlign;
  if ((align & TA_CENTER) == TA_CENTER) x -= w / 2;
  else if (align & TA_RIGHT) x -= w;
  if ((align & TA_BASELINE) == TA_BASELINE) y -= m.ascent;
  else if (align & TA_BOTTOM) y -= m.height;
  c->setClip(clip);
  drawRun(dc, c, x, y, s, lf, m, -1);
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
  if (length < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

int DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !rect || !text) return 0;
  std::string_view given(text, length < 0 ? std::strlen(text) : static_cast<size_t>(length));
  LOGFONTA lf = currentFont(dc);
  FontMetrics m = metricsOf(lf);
  int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
  bool single = (format & DT_SINGLELINE) != 0;
  // One line without breaks, prefixes or tabs (a grid cell) is drawn as it is given.
  bool plain = single && (format & DT_NOPREFIX) && !(format & DT_EXPANDTABS) &&
               given.find_first_of("\r\n") == std::string_view::npos;
  std::vector<Line> lines;
  if (!plain) {
    std::string s(given);
    if (format & DT_EXPANDTABS) {
      std::string t;
      for (char ch : s) t += ch == '\t' ? std::string(8, ' ') : std::string(1, ch);
      s = t;
    }
    lines = layoutLines(s, format, lf, std::max<int>(1, rect->right - rect->left));
  }
  auto eachLine = [&](auto visit) {
    if (plain) return visit(given, -1);
    for (const Line& l : lines) visit(std::string_view(l.text), l.underline);
  };
  int total = lineHeight * (plain ? 1 : static_cast<int>(lines.size()));
  if (format & DT_CALCRECT) {
    int widest = 0;
    eachLine([&](std::string_view line, int) { widest = std::max(widest, width(lf, line)); });
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  Canvas* c = dcCanvas(dc);
  if (!c) return total;
  RECT clip = dc->s.clip;
  if (!(format & DT_NOCLIP)) {
    RECT r = toCanvas(dc, *rect);
    IntersectRect(&clip, &clip, &r);
  }
  c->setClip(clip);
  int y = rect->top;
  if (single && (format & DT_VCENTER)) y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM)) y = rect->bottom - lineHeight;
  eachLine([&](std::string_view line, int underline) {
    // Only centred and right-aligned lines need their width measured.
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - width(lf, line)) / 2;
    else if (format & DT_RIGHT) x = rect->right - width(lf, line);
    drawRun(dc, c, x, y, line, lf, m, (format & DT_HIDEPREFIX) ? -1 : underline);
    y += lineHeight;
  });
  return total;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !size || length < 0 || (length && !text)) return FALSE;
  LOGFONTA lf = currentFont(dc);
  size->cx = width(lf, std::string_view(text ? text : "", static_cast<size_t>(length)));
  size->cy = metricsOf(lf).height;
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc || !tm) return FALSE;
  LOGFONTA lf = currentFont(dc);
  FontMetrics m = metricsOf(lf);
  *tm = TEXTMETRICA{};
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.internalLeading;
  tm->tmExternalLeading = m.externalLeading;
  tm->tmAveCharWidth = m.aveCharWidth;
  tm->tmMaxCharWidth = m.maxCharWidth;
  tm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 32;
  tm->tmLastChar = 255;
  tm->tmDefaultChar = '?';
  tm->tmBreakChar = ' ';
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  bool fixed = (lf.lfPitchAndFamily & 3) == FIXED_PITCH;
  tm->tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE |
                                           (lf.lfPitchAndFamily & 0xF0));
  tm->tmCharSet = lf.lfCharSet;
  return TRUE;
}

int GetTextFaceA(HDC hdc, int size, LPSTR face) {
  DeviceContext* dc = deviceContext(hdc);
  if (!dc) return 0;
  LOGFONTA lf = currentFont(dc);
  int n = static_cast<int>(std::strlen(lf.lfFaceName));
  if (!face) return n + 1;
  if (size <= 0) return 0;
  n = std::min(n, size - 1);
  std::memcpy(face, lf.lfFaceName, static_cast<size_t>(n));
  face[n] = 0;
  return n;
}

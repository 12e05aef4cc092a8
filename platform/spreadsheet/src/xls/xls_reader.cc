// BIFF8 reader: record walk with bounds checks, shared strings across CONTINUE records, XF to
// cell formats, and the sheet records.
#include "xls_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "biff_records.h"
#include "cfb_reader.h"
#include "le_coding.h"

namespace sheet {
namespace {

constexpr int kBiffCols = 256;

struct Record {
  std::uint16_t id;
  std::string data;
  std::size_t offset;  // of the record header in the stream
};

// Splits the stream into records; an error when a record runs past the end.
std::string SplitRecords(const std::string& stream, std::vector<Record>* out) {
  for (std::size_t at = 0; at + 4 <= stream.size();) {
    std::uint16_t id = DecodeU16(stream, at), len = DecodeU16(stream, at + 2);
    if (at + 4 + len > stream.size()) return "a record runs past the end of the stream";
    out->push_back({id, stream.substr(at + 4, len), at});
    at += 4 + len;
  }
  return "";
}

// Reads strings that may continue into following CONTINUE records.
class Segments {
 public:
  explicit Segments(std::vector<const std::string*> parts) : parts_(std::move(parts)) {}
  bool U8(std::uint8_t* v) {
    if (!Ensure(1)) return false;
    *v = std::uint8_t((*parts_[i_])[pos_++]);
    return true;
  }
  bool U16(std::uint16_t* v) {
    std::uint8_t a, b;
    if (!U8(&a) || !U8(&b)) return false;
    *v = std::uint16_t(a | b << 8);
    return true;
  }
  bool U32(std::uint32_t* v) {
    std::uint16_t a, b;
    if (!U16(&a) || !U16(&b)) return false;
    *v = a | std::uint32_t(b) << 16;
    return true;
  }
  bool Skip(std::size_t n) {
    std::uint8_t b;
    for (; n > 0; --n)
      if (!U8(&b)) return false;
    return true;
  }
  // An XLUnicodeRichExtendedString; characters continued in a new record restart with a flags byte.
  bool String(std::u16string* out) {
    std::uint16_t cch;
    std::uint8_t flags;
    if (!U16(&cch) || !U8(&flags)) return false;
    std::uint16_t runs = 0;
    std::uint32_t ext = 0;
    if ((flags & 0x08) && !U16(&runs)) return false;
    if ((flags & 0x04) && !U32(&ext)) return false;
    bool wide = flags & 1;
    out->clear();
    while (out->size() < cch) {
      if (pos_ >= parts_[i_]->size()) {
        if (++i_ >= parts_.size()) return false;
        pos_ = 0;
        std::uint8_t f;
        if (!U8(&f)) return false;
        wide = f & 1;
        continue;
      }
      if (wide) {
        std::uint16_t c;
        if (pos_ + 2 > parts_[i_]->size() || !U16(&c)) return false;
        out->push_back(char16_t(c));
      } else {
        std::uint8_t c;
        if (!U8(&c)) return false;
        out->push_back(char16_t(c));
      }
    }
    return Skip(std::size_t(runs) * 4 + ext);
  }

 private:
  bool Ensure(std::size_t) {
    while (i_ < parts_.size() && pos_ >= parts_[i_]->size()) {
      ++i_;
      pos_ = 0;
    }
    return i_ < parts_.size();
  }
  std::vector<const std::string*> parts_;
  std::size_t i_ = 0, pos_ = 0;
};

// A string inside one record at `at` (FONT, BOUNDSHEET, FORMAT, LABEL).
bool RecordString(const std::string& d, std::size_t at, int lengthBytes, std::u16string* out) {
  if (at + lengthBytes + 1 > d.size()) return false;
  std::size_t n = lengthBytes == 1 ? std::uint8_t(d[at]) : DecodeU16(d, at);
  bool wide = d[at + lengthBytes] & 1;
  std::size_t from = at + lengthBytes + 1;
  if (from + n * (wide ? 2 : 1) > d.size()) return false;
  out->clear();
  for (std::size_t i = 0; i < n; ++i)
    out->push_back(wide ? char16_t(DecodeU16(d, from + 2 * i)) : char16_t(std::uint8_t(d[from + i])));
  return true;
}

double RkValue(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = double(std::int32_t(rk) >> 2);
  } else {
    std::uint64_t bits = std::uint64_t(rk & ~3u) << 32;
    std::memcpy(&v, &bits, 8);
  }
  return (rk & 1) ? v / 100 : v;
}

class Reader {
 public:
  explicit Reader(Workbook* book) : book_(book) {
    for (int i = 0; i < 56; ++i) palette_[i] = PaletteColor(i + 1);
  }

  std::string Read(const std::vector<Record>& r) {
    if (r.empty() || r[0].id != kBof || r[0].data.size() < 4 || DecodeU16(r[0].data, 0) != 0x0600)
      return "not a BIFF8 workbook stream";
    std::vector<std::pair<std::uint32_t, std::u16string>> sheets;
    std::size_t i = 1;
    for (; i < r.size() && r[i].id != kEof; ++i) {
      const std::string& d = r[i].data;
      switch (r[i].id) {
        case kFont: if (!Font(d)) return "bad FONT record"; break;
        case kFormat: {
          std::u16string code;
          if (d.size() < 2 || !RecordString(d, 2, 2, &code)) return "bad FORMAT record";
          formats_[DecodeU16(d, 0)] = code;
          break;
        }
        case kXf: if (d.size() < 20) return "bad XF record"; xfs_.push_back(d); break;
        case kWindow1: if (d.size() >= 12) activeSheet_ = DecodeU16(d, 10); break;
        case kPalette:
          if (d.size() < 2 + 56 * 4) return "bad PALETTE record";
          for (int k = 0; k < 56; ++k)
            palette_[k] = std::uint8_t(d[2 + 4 * k]) | std::uint8_t(d[3 + 4 * k]) << 8 | std::uint8_t(d[4 + 4 * k]) << 16;
          break;
        case kBoundsheet: {
          std::u16string name;
          if (d.size() < 6 || !RecordString(d, 6, 1, &name)) return "bad BOUNDSHEET record";
          sheets.emplace_back(DecodeU32(d, 0), name);
          break;
        }
        case kSst: {
          std::vector<const std::string*> parts = {&d};
          for (std::size_t k = i + 1; k < r.size() && r[k].id == kContinue; ++k) parts.push_back(&r[k].data);
          if (!Strings(parts)) return "bad SST record";
          break;
        }
        default: break;
      }
    }
    if (sheets.empty()) return "the workbook has no sheets";
    for (const auto& [offset, name] : sheets) {
      std::size_t k = 0;
      while (k < r.size() && r[k].offset != offset) ++k;
      if (k == r.size()) return "a sheet offset points nowhere";
      std::string e = Sheet(r, k, book_->AddSheet(int(book_->sheets.size()), name));
      if (!e.empty()) return e;
    }
    book_->activeSheet = activeSheet_ < book_->sheets.size() ? activeSheet_ : 0;
    return "";
  }

 private:
  bool Font(const std::string& d) {
    if (d.size() < 16) return false;
    sheet::Font f;
    f.size = DecodeU16(d, 0) / 20.0;
    std::uint16_t flags = DecodeU16(d, 2);
    f.italic = flags & 0x02;
    f.strike = flags & 0x08;
    fontColors_.push_back(DecodeU16(d, 4));
    f.bold = DecodeU16(d, 6) >= 700;
    f.underline = std::uint8_t(d[10]);
    if (!RecordString(d, 14, 1, &f.name)) return false;
    fonts_.push_back(f);
    return true;
  }

  bool Strings(const std::vector<const std::string*>& parts) {
    Segments s(parts);
    std::uint32_t total, unique;
    if (!s.U32(&total) || !s.U32(&unique)) return false;
    for (std::uint32_t k = 0; k < unique; ++k) {
      std::u16string text;
      if (!s.String(&text)) return false;
      sst_.push_back(book_->strings.Intern(text));
    }
    return true;
  }

  std::int32_t Color(std::uint16_t icv) const {
    if (icv >= 8 && icv < 64) return palette_[icv - 8];
    if (icv < 8) return PaletteColor(icv + 1);  // EGA colours equal palette entries 1–8
    return kAutoColor;
  }

  // The model style of XF `index` (default style for an index out of range).
  std::uint32_t Style(std::uint16_t index) {
    auto it = styleOfXf_.find(index);
    if (it != styleOfXf_.end()) return it->second;
    CellStyle s;
    if (index < xfs_.size()) {
      const std::string& x = xfs_[index];
      std::uint16_t font = DecodeU16(x, 0);
      std::size_t f = font < 4 ? font : font - 1;
      if (f < fonts_.size()) {
        s.font = fonts_[f];
        s.font.color = Color(fontColors_[f]);
      }
      s.numberFormat = FormatCode(DecodeU16(x, 2));
      std::uint8_t align = std::uint8_t(x[6]);
      s.halign = HAlign(std::min(align & 7, 7));
      s.wrap = align & 0x08;
      s.valign = VAlign(std::min((align >> 4) & 7, 4));
      std::uint32_t b = DecodeU32(x, 10), c = DecodeU32(x, 14);
      std::uint16_t fill = DecodeU16(x, 18);
      BorderLine* line = s.border;
      line[kLeft] = {std::uint8_t(b & 15), Color((b >> 16) & 0x7F)};
      line[kRight] = {std::uint8_t((b >> 4) & 15), Color((b >> 23) & 0x7F)};
      line[kTop] = {std::uint8_t((b >> 8) & 15), Color(c & 0x7F)};
      line[kBottom] = {std::uint8_t((b >> 12) & 15), Color((c >> 7) & 0x7F)};
      for (auto& l : s.border) {
        if (l.style > 13) l.style = 0;
        if (!l.style) l.color = kAutoColor;
      }
      s.filled = (c >> 26) == 1;
      if (s.filled) s.fillColor = Color(fill & 0x7F);
    }
    std::uint32_t id = book_->styles.Intern(s);
    styleOfXf_[index] = id;
    return id;
  }

  std::u16string FormatCode(std::uint16_t id) const {
    static const std::map<std::uint16_t, std::u16string> builtin = {
        {0, u"General"}, {1, u"0"}, {2, u"0.00"}, {3, u"#,##0"}, {4, u"#,##0.00"}, {9, u"0%"},
        {10, u"0.00%"}, {11, u"0.00E+00"}, {14, u"m/d/yyyy"}, {49, u"@"}};
    auto it = formats_.find(id);
    if (it != formats_.end()) return it->second;
    auto b = builtin.find(id);
    return b != builtin.end() ? b->second : u"General";
  }

  bool CellHead(const std::string& d, std::size_t size, int* r, int* c, std::uint16_t* xf) {
    if (d.size() < size) return false;
    *r = DecodeU16(d, 0);
    *c = DecodeU16(d, 2);
    *xf = DecodeU16(d, 4);
    return *c < kBiffCols;
  }

  void Styled(Worksheet& ws, int r, int c, std::uint16_t xf) { ws.At(r, c).style = Style(xf); }

  std::string Sheet(const std::vector<Record>& rs, std::size_t k, std::shared_ptr<Worksheet> sp) {
    Worksheet& ws = *sp;
    for (++k; k < rs.size() && rs[k].id != kEof; ++k) {
      const std::string& d = rs[k].data;
      int r, c;
      std::uint16_t xf;
      switch (rs[k].id) {
        case kNumber:
          if (!CellHead(d, 14, &r, &c, &xf)) return "bad NUMBER record";
          Styled(ws, r, c, xf);
          double v;
          std::memcpy(&v, d.data() + 6, 8);
          ws.SetNumber(r, c, v);
          break;
        case kRk:
          if (!CellHead(d, 10, &r, &c, &xf)) return "bad RK record";
          Styled(ws, r, c, xf);
          ws.SetNumber(r, c, RkValue(DecodeU32(d, 6)));
          break;
        case 0x00BD:  // MULRK
          if (d.size() < 6 || (d.size() - 6) % 6) return "bad MULRK record";
          for (std::size_t i = 0; 4 + 6 * i + 6 <= d.size() - 2; ++i) {
            r = DecodeU16(d, 0);
            c = DecodeU16(d, 2) + int(i);
            if (c >= kBiffCols) return "bad MULRK record";
            Styled(ws, r, c, DecodeU16(d, 4 + 6 * i));
            ws.SetNumber(r, c, RkValue(DecodeU32(d, 6 + 6 * i)));
          }
          break;
        case kLabelSst: {
          if (!CellHead(d, 10, &r, &c, &xf)) return "bad LABELSST record";
          std::uint32_t index = DecodeU32(d, 6);
          if (index >= sst_.size()) return "LABELSST refers to a missing string";
          Styled(ws, r, c, xf);
          Cell& cell = ws.At(r, c);
          cell.kind = CellKind::kText;
          cell.text = sst_[index];
          break;
        }
        case 0x0204: {  // LABEL
          std::u16string text;
          if (!CellHead(d, 9, &r, &c, &xf) || !RecordString(d, 6, 2, &text)) return "bad LABEL record";
          Styled(ws, r, c, xf);
          ws.SetText(r, c, text);
          break;
        }
        case kBoolErr:
          if (!CellHead(d, 8, &r, &c, &xf)) return "bad BOOLERR record";
          Styled(ws, r, c, xf);
          if (d[7] == 0) ws.SetBool(r, c, d[6] != 0);
          break;
        case kBlank:
          if (!CellHead(d, 6, &r, &c, &xf)) return "bad BLANK record";
          Styled(ws, r, c, xf);
          break;
        case 0x00BE:  // MULBLANK
          if (d.size() < 6 || d.size() % 2) return "bad MULBLANK record";
          for (std::size_t i = 0; 4 + 2 * i + 2 <= d.size() - 2; ++i) {
            if (DecodeU16(d, 2) + i >= std::size_t(kBiffCols)) return "bad MULBLANK record";
            Styled(ws, DecodeU16(d, 0), DecodeU16(d, 2) + int(i), DecodeU16(d, 4 + 2 * i));
          }
          break;
        case kColinfo: {
          if (d.size() < 10) return "bad COLINFO record";
          int first = DecodeU16(d, 0), last = std::min<int>(DecodeU16(d, 2), 255);
          std::uint16_t units = DecodeU16(d, 4), flags = DecodeU16(d, 8);
          std::uint32_t style = Style(DecodeU16(d, 6));
          double chars = (flags & 1) ? 0 : std::round(((units / 256.0 * 7) - 5) / 7 * 100) / 100;
          for (int col = first; col <= last; ++col) {
            if (flags & 3) ws.SetColumnWidth(col, col, chars < 0 ? 0 : chars);
            if (style != 0) ws.EditStyle({0, col, kMaxRows - 1, col}, [&](CellStyle& s, int, int) {
              s = book_->styles.Get(style);
            });
          }
          break;
        }
        case kRow: {
          if (d.size() < 16) return "bad ROW record";
          r = DecodeU16(d, 0);
          std::uint32_t flags = DecodeU32(d, 12);
          if (flags & 0x40) ws.SetRowHeight(r, r, (flags & 0x20) ? 0 : DecodeU16(d, 6) / 20.0);
          if (flags & 0x80) {
            std::uint32_t style = Style(std::uint16_t((flags >> 16) & 0xFFF));
            ws.EditStyle({r, 0, r, kMaxCols - 1}, [&](CellStyle& s, int, int) { s = book_->styles.Get(style); });
          }
          break;
        }
        case kPane:
          if (d.size() < 4) return "bad PANE record";
          ws.frozenCols = std::min<int>(DecodeU16(d, 0), kBiffCols - 1);
          ws.frozenRows = DecodeU16(d, 2);
          break;
        case kSelection:
          if (d.size() >= 15) {
            ws.activeRow = DecodeU16(d, 1);
            ws.activeCol = std::min<int>(DecodeU16(d, 3), kBiffCols - 1);
            ws.selection = {DecodeU16(d, 9), std::uint8_t(d[13]), DecodeU16(d, 11), std::uint8_t(d[14])};
          }
          break;
        case kMergedCells: {
          if (d.size() < 2 || d.size() < 2 + 8 * std::size_t(DecodeU16(d, 0))) return "bad MERGEDCELLS record";
          for (std::size_t i = 0; i < DecodeU16(d, 0); ++i) {
            std::size_t at = 2 + 8 * i;
            CellRect m{DecodeU16(d, at), DecodeU16(d, at + 4), DecodeU16(d, at + 2), DecodeU16(d, at + 6)};
            if (m.r1 <= m.r2 && m.c1 <= m.c2 && m.c2 < kBiffCols) ws.Merge(m);
          }
          break;
        }
        default: break;
      }
    }
    if (k >= rs.size()) return "a sheet has no EOF record";
    if (ws.selection.r2 < ws.selection.r1 || ws.selection.c2 < ws.selection.c1)
      ws.selection = SingleCell(ws.activeRow, ws.activeCol);
    return "";
  }

  Workbook* book_;
  std::size_t activeSheet_ = 0;
  std::int32_t palette_[56];
  std::vector<sheet::Font> fonts_;
  std::vector<std::uint16_t> fontColors_;
  std::map<std::uint16_t, std::u16string> formats_;
  std::vector<std::string> xfs_;
  std::vector<std::uint32_t> sst_;
  std::map<std::uint16_t, std::uint32_t> styleOfXf_;
};

}  // namespace

std::string ReadXls(const std::string& file, Workbook* book) {
  std::string stream;
  std::string e = ReadCompoundStream(file, u"Workbook", &stream);
  if (!e.empty()) return e;
  std::vector<Record> records;
  e = SplitRecords(stream, &records);
  if (!e.empty()) return e;
  return Reader(book).Read(records);
}

}  // namespace sheet

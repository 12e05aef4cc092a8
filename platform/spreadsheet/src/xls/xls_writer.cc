// Assembles the BIFF8 Workbook stream: globals, then one substream per sheet, with the
// BOUNDSHEET offsets filled in once the sheet sizes are known.
#include "xls_writer.h"

#include <algorithm>
#include <cmath>

#include "biff_records.h"
#include "cfb_format.h"
#include "le_coding.h"
#include "xls_formats.h"

namespace sheet {
namespace {

constexpr int kBiffRows = 65536;
constexpr int kBiffCols = 256;
constexpr int kRowBlock = 32;

// COLINFO width units for a width in characters (Arial 10: widest digit 7 pixels).
std::uint16_t ColumnUnits(double chars) {
  const double m = 7;
  return std::uint16_t(std::floor((std::round(chars * m) + 5) * 256 / m));
}

std::string Record(std::uint16_t id, const std::string& data) {
  std::string out;
  PutRecord(out, id, data);
  return out;
}

class SheetWriter {
 public:
  SheetWriter(const Worksheet& ws, const XlsFormats& fmt, const std::vector<std::int64_t>& sstIndex,
              bool active)
      : ws_(ws), fmt_(fmt), sstIndex_(sstIndex), active_(active) {}

  std::string Write() {
    std::string out = BofRecord(0x0010);
    out += Record(kDefaultRowHeight, U16s({0, 255}));
    out += Record(kWsbool, U16s({0x04C1}));
    out += Record(kDefColWidth, U16s({8}));
    out += ColumnInfos();
    std::string body = RowBlocks();
    out += Dimensions();
    out += body;
    out += ViewRecords();
    out += MergedCells();
    PutRecord(out, kEof, "");
    return out;
  }

 private:
  static std::string U16s(std::initializer_list<std::uint16_t> values) {
    std::string d;
    for (auto v : values) PutU16(d, v);
    return d;
  }

  std::string ColumnInfos() const {
    std::string out;
    int c = 0;
    auto info = [&](int col) {
      double w = ws_.ColumnWidth(col);
      return std::pair<double, std::uint16_t>(w, fmt_.Xf(ws_.InheritedStyle(-1, col)));
    };
    while (c < kBiffCols) {
      auto cur = info(c);
      int last = c;
      while (last + 1 < kBiffCols && info(last + 1) == cur) ++last;
      if (cur.first >= 0 || cur.second != kDefaultCellXf) {
        std::string d;
        PutU16(d, std::uint16_t(c));
        PutU16(d, std::uint16_t(last));
        bool hidden = cur.first == 0;
        PutU16(d, cur.first < 0 ? ColumnUnits(8.43) : hidden ? 0 : ColumnUnits(cur.first));
        PutU16(d, cur.second);
        PutU16(d, std::uint16_t((cur.first >= 0 ? 0x0002 : 0) | (hidden ? 0x0001 : 0)));
        PutU16(d, 0);
        PutRecord(out, kColinfo, d);
      }
      c = last + 1;
    }
    return out;
  }

  // Appends the cell record of (r, c); false when the cell needs none.
  bool CellRecord(std::string& out, std::size_t r, int c, const Cell& cell) {
    std::string& d = Scratch();
    PutU16(d, std::uint16_t(r));
    PutU16(d, std::uint16_t(c));
    PutU16(d, fmt_.Xf(cell.style));
    switch (cell.kind) {
      case CellKind::kText:
        PutU32(d, std::uint32_t(sstIndex_[cell.text]));
        PutRecord(out, kLabelSst, d);
        return true;
      case CellKind::kNumber: {
        std::uint32_t rk;
        if (EncodeRk(cell.number, &rk)) {
          PutU32(d, rk);
          PutRecord(out, kRk, d);
        } else {
          PutF64(d, cell.number);
          PutRecord(out, kNumber, d);
        }
        return true;
      }
      case CellKind::kBool:
        PutU8(d, cell.flag ? 1 : 0);
        PutU8(d, 0);
        PutRecord(out, kBoolErr, d);
        return true;
      case CellKind::kEmpty:
        if (cell.style == ws_.InheritedStyle(int(r), c)) return false;
        PutRecord(out, kBlank, d);
        return true;
    }
    return false;
  }

  // Appends the ROW record of row r.
  void RowRecord(std::string& out, std::size_t r, int first, int lastPlusOne) {
    const Row& row = ws_.Rows()[r];
    std::string& d = Scratch();
    PutU16(d, std::uint16_t(r));
    PutU16(d, std::uint16_t(first));
    PutU16(d, std::uint16_t(lastPlusOne));
    PutU16(d, row.height >= 0 ? std::uint16_t(std::lround(row.height * 20)) : 255);
    PutU16(d, 0);
    PutU16(d, 0);
    std::uint32_t flags = 0x100;
    if (row.height >= 0) flags |= 0x40;
    if (row.height == 0) flags |= 0x20;
    std::uint32_t xf = kDefaultCellXf;
    if (row.style >= 0) {
      flags |= 0x80;
      xf = fmt_.Xf(std::uint32_t(row.style));
    }
    PutU32(d, flags | xf << 16);
    PutRecord(out, kRow, d);
  }

  // The buffer each record's data is built in, emptied: one allocation serves every record.
  std::string& Scratch() {
    record_.clear();
    return record_;
  }

  std::string RowBlocks() {
    std::string out;
    const auto& rows = ws_.Rows();
    for (std::size_t start = 0; start < rows.size(); start += kRowBlock) {
      std::string rowRecords, cells;
      for (std::size_t r = start; r < std::min(rows.size(), start + kRowBlock); ++r) {
        int first = -1, last = -1;
        for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
          if (!CellRecord(cells, r, int(c), rows[r].cells[c])) continue;
          if (first < 0) first = int(c);
          last = int(c);
        }
        if (first >= 0) Extend(int(r), first, last);
        if (first >= 0 || rows[r].height >= 0 || rows[r].style >= 0)
          RowRecord(rowRecords, r, first < 0 ? 0 : first, first < 0 ? 0 : last + 1);
      }
      out += rowRecords;
      out += cells;
    }
    return out;
  }

  void Extend(int r, int c1, int c2) {
    used_.r1 = std::min(used_.r1, r);
    used_.r2 = std::max(used_.r2, r);
    used_.c1 = std::min(used_.c1, c1);
    used_.c2 = std::max(used_.c2, c2);
  }

  std::string Dimensions() const {
    std::string d;
    bool any = used_.r2 >= 0;
    PutU32(d, any ? used_.r1 : 0);
    PutU32(d, any ? used_.r2 + 1 : 0);
    PutU16(d, std::uint16_t(any ? used_.c1 : 0));
    PutU16(d, std::uint16_t(any ? used_.c2 + 1 : 0));
    PutU16(d, 0);
    return Record(kDimensions, d);
  }

  std::string ViewRecords() const {
    bool frozen = ws_.frozenRows > 0 || ws_.frozenCols > 0;
    std::string out;
    std::uint16_t flags = 0x00B6 | (active_ ? 0x0600 : 0) | (frozen ? 0x0108 : 0);
    out += Record(kWindow2, U16s({flags, 0, 0, 0x40, 0, 0, 0, 0, 0}));
    std::uint8_t pane = 3;
    if (frozen) {
      pane = ws_.frozenRows && ws_.frozenCols ? 0 : ws_.frozenRows ? 2 : 1;
      std::string d = U16s({std::uint16_t(ws_.frozenCols), std::uint16_t(ws_.frozenRows),
                            std::uint16_t(ws_.frozenRows), std::uint16_t(ws_.frozenCols)});
      PutU8(d, pane);
      PutU8(d, 0);
      PutRecord(out, kPane, d);
    }
    CellRect sel = ws_.selection;
    sel = {std::min(sel.r1, kBiffRows - 1), std::min(sel.c1, kBiffCols - 1),
           std::min(sel.r2, kBiffRows - 1), std::min(sel.c2, kBiffCols - 1)};
    std::string d;
    PutU8(d, pane);
    PutU16(d, std::uint16_t(std::min(ws_.activeRow, kBiffRows - 1)));
    PutU16(d, std::uint16_t(std::min(ws_.activeCol, kBiffCols - 1)));
    PutU16(d, 0);
    PutU16(d, 1);
    PutU16(d, std::uint16_t(sel.r1));
    PutU16(d, std::uint16_t(sel.r2));
    PutU8(d, std::uint8_t(sel.c1));
    PutU8(d, std::uint8_t(sel.c2));
    PutRecord(out, kSelection, d);
    return out;
  }

  std::string MergedCells() const {
    std::string out;
    const auto& merges = ws_.Merges();
    for (std::size_t i = 0; i < merges.size(); i += 1026) {
      std::size_t n = std::min<std::size_t>(1026, merges.size() - i);
      std::string d;
      PutU16(d, std::uint16_t(n));
      for (std::size_t k = i; k < i + n; ++k)
        for (int v : {merges[k].r1, merges[k].r2, merges[k].c1, merges[k].c2}) PutU16(d, std::uint16_t(v));
      PutRecord(out, kMergedCells, d);
    }
    return out;
  }

  const Worksheet& ws_;
  const XlsFormats& fmt_;
  const std::vector<std::int64_t>& sstIndex_;
  bool active_;
  CellRect used_{kMaxRows, kMaxCols, -1, -1};
  std::string record_;
};

// Shared strings in first-use order; sstIndex maps pool ids to SST positions.
std::vector<std::u16string_view> CollectStrings(const Workbook& book, std::vector<std::int64_t>* sstIndex,
                                                std::uint32_t* references) {
  std::vector<std::u16string_view> strings;
  sstIndex->assign(book.strings.Size(), -1);
  *references = 0;
  for (const auto& ws : book.sheets)
    for (const auto& row : ws->Rows())
      for (const auto& cell : row.cells) {
        if (cell.kind != CellKind::kText) continue;
        ++*references;
        auto& slot = (*sstIndex)[cell.text];
        if (slot < 0) {
          slot = std::int64_t(strings.size());
          strings.push_back(book.strings.Get(cell.text));
        }
      }
  return strings;
}

std::string BoundSheet(std::uint32_t offset, const std::u16string& name) {
  std::string d;
  PutU32(d, offset);
  PutU8(d, 0);
  PutU8(d, 0);
  PutBiffString(d, name, 1);
  return Record(kBoundsheet, d);
}

}  // namespace

std::string Biff8Misfit(const Workbook& book) {
  for (const auto& ws : book.sheets) {
    if (ws->Rows().size() > std::size_t(kBiffRows)) return "more than 65,536 rows";
    for (const auto& row : ws->Rows())
      if (row.cells.size() > std::size_t(kBiffCols)) return "more than 256 columns";
    for (const auto& [c, col] : ws->Columns())
      if (c >= kBiffCols) return "a column beyond the 256th is formatted";
    for (const auto& m : ws->Merges())
      if (m.r2 >= kBiffRows || m.c2 >= kBiffCols) return "a merged range beyond the grid";
    if (ws->frozenRows >= kBiffRows || ws->frozenCols >= kBiffCols) return "frozen panes beyond the grid";
  }
  XlsFormats fmt(book);
  if (fmt.CellXfCount() > kMaxCellXfs) return "more than 4,000 distinct cell formats";
  if (fmt.FontCount() > kMaxFonts) return "more than 506 distinct fonts";
  return "";
}

std::string WorkbookStream(const Workbook& book) {
  XlsFormats fmt(book);
  std::vector<std::int64_t> sstIndex;
  std::uint32_t references;
  std::vector<std::u16string_view> strings = CollectStrings(book, &sstIndex, &references);

  std::vector<std::string> sheets;
  for (std::size_t i = 0; i < book.sheets.size(); ++i)
    sheets.push_back(SheetWriter(*book.sheets[i], fmt, sstIndex, int(i) == book.activeSheet).Write());

  std::string head = BofRecord(0x0005);
  std::string d;
  PutU16(d, 1200);
  PutRecord(head, kCodepage, d);
  d.clear();
  for (std::uint16_t v : {0x0168, 0x010E, 0x3A5C, 0x23BE, 0x0038}) PutU16(d, v);
  PutU16(d, std::uint16_t(book.activeSheet));
  for (std::uint16_t v : {0, 1, 600}) PutU16(d, v);
  PutRecord(head, kWindow1, d);
  d.clear();
  PutU16(d, 0);
  PutRecord(head, kDatemode, d);
  d.clear();
  PutU16(d, 1);
  PutRecord(head, kPrecision, d);
  head += fmt.Records();

  std::string tail = SstRecords(strings, references);
  PutRecord(tail, kEof, "");

  std::size_t boundSize = 0;
  for (const auto& ws : book.sheets) boundSize += BoundSheet(0, ws->Name()).size();
  std::size_t offset = head.size() + boundSize + tail.size();
  std::string out = head;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    out += BoundSheet(std::uint32_t(offset), book.sheets[i]->Name());
    offset += sheets[i].size();
  }
  out += tail;
  for (const auto& s : sheets) out += s;
  return out;
}

std::string WriteXls(const Workbook& book) { return WrapInCompoundFile(WorkbookStream(book)); }

}  // namespace sheet

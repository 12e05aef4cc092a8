// The worksheet XML. Cells go out as <c r="B3" s="style" t="type"><v>value</v></c>; the cells
// a merge covers that the model does not hold are written as blanks in the merge's style (as
// Excel keeps them), also in rows the model has no cells in.
#include "sheet_part.h"

#include <algorithm>

#include "xml_text.h"

namespace sheet {
namespace {

constexpr std::size_t kCellRoom = 128;  // the longest <c> element, with margin

// Stored column width of a width in characters (7-pixel digits plus 5 pixels of padding).
double StoredWidth(double chars) {
  if (chars <= 0) return 0;
  double pixels = chars < 1 ? int(chars * 12 + 0.5) : int(chars * 7 + 0.5) + 5;
  return int(pixels / 7 * 256) / 256.0;
}
constexpr double kDefaultWidth = 8.43;

class SheetWriter {
 public:
  SheetWriter(const Worksheet& ws, ZipWriter& zip) : ws_(ws), zip_(zip) {
    merges_.assign(ws.Merges().begin(), ws.Merges().end());
    std::stable_sort(merges_.begin(), merges_.end(), [](const CellRect& a, const CellRect& b) { return a.r1 < b.r1; });
  }

  void Write(bool selected) {
    Measure();
    std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
    head += "<dimension ref=\"" + RangeName(0, 0, std::max(lastRow_, 0), std::max(lastCol_, 0)) + "\"/>";
    head += View(selected);
    head += "<sheetFormatPr defaultRowHeight=\"12.75\"/>";
    head += Columns();
    zip_.Append(head + "<sheetData>");
    for (int r = 0; r <= lastRow_; ++r) WriteRow(r);
    std::string tail = "</sheetData>";
    if (!merges_.empty()) {
      tail += "<mergeCells count=\"" + std::to_string(merges_.size()) + "\">";
      for (const CellRect& m : merges_) tail += "<mergeCell ref=\"" + RangeName(m.r1, m.c1, m.r2, m.c2) + "\"/>";
      tail += "</mergeCells>";
    }
    zip_.Append(tail + "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>");
  }

 private:
  // The last row and column written, and the names of the columns.
  void Measure() {
    const auto& rows = ws_.Rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const Row& row = rows[r];
      if (row.cells.empty() && row.style < 0 && row.height < 0) continue;
      lastRow_ = int(r);
      lastCol_ = std::max(lastCol_, int(row.cells.size()) - 1);
    }
    for (const CellRect& m : merges_) {
      lastRow_ = std::max(lastRow_, m.r2);
      lastCol_ = std::max(lastCol_, m.c2);
    }
    for (int c = 0; c <= lastCol_; ++c) columnNames_.push_back(ColumnName(c));
  }

  std::string View(bool selected) const {
    std::string v = "<sheetViews><sheetView";
    if (selected) v += " tabSelected=\"1\"";
    v += " workbookViewId=\"0\">";
    const CellRect& sel = ws_.selection;
    std::string active = CellName(ws_.activeRow, ws_.activeCol);
    std::string range = sel.r1 == ws_.activeRow && sel.c1 == ws_.activeCol ? RangeName(sel.r1, sel.c1, sel.r2, sel.c2) : active;
    std::string pane;
    if (ws_.frozenRows || ws_.frozenCols) {
      pane = ws_.frozenRows && ws_.frozenCols ? "bottomRight" : ws_.frozenRows ? "bottomLeft" : "topRight";
      v += "<pane";
      if (ws_.frozenCols) v += " xSplit=\"" + std::to_string(ws_.frozenCols) + "\"";
      if (ws_.frozenRows) v += " ySplit=\"" + std::to_string(ws_.frozenRows) + "\"";
      v += " topLeftCell=\"" + CellName(ws_.frozenRows, ws_.frozenCols) + "\" activePane=\"" + pane + "\" state=\"frozen\"/>";
      if (pane == "bottomRight") v += "<selection pane=\"topRight\"/><selection pane=\"bottomLeft\"/>";
      pane = " pane=\"" + pane + "\"";
    }
    v += "<selection" + pane + " activeCell=\"" + active + "\" sqref=\"" + range + "\"/>";
    return v + "</sheetView></sheetViews>";
  }

  // Explicit columns with their widths and formats; the sheet's own format over the others.
  std::string Columns() const {
    std::vector<int> explicitCols;
    for (const auto& [c, col] : ws_.Columns())
      if (c < kMaxCols) explicitCols.push_back(c);
    std::sort(explicitCols.begin(), explicitCols.end());
    std::uint32_t sheetStyle = ws_.DefaultStyle();
    std::string x;
    int next = 0;
    auto gap = [&](int upTo) {
      if (sheetStyle && next <= upTo) x += ColumnXml(next, upTo, kDefaultWidth, sheetStyle, false);
    };
    for (int c : explicitCols) {
      gap(c - 1);
      const Column& col = ws_.Columns().at(c);
      std::uint32_t style = col.style >= 0 ? std::uint32_t(col.style) : sheetStyle;
      x += ColumnXml(c, c, col.width >= 0 ? col.width : kDefaultWidth, style, col.width >= 0);
      next = c + 1;
    }
    gap(kMaxCols - 1);
    return x.empty() ? x : "<cols>" + x + "</cols>";
  }

  static std::string ColumnXml(int first, int last, double chars, std::uint32_t style, bool custom) {
    std::string x = "<col min=\"" + std::to_string(first + 1) + "\" max=\"" + std::to_string(last + 1) +
                    "\" width=\"" + NumberText(StoredWidth(chars)) + "\"";
    if (style) x += " style=\"" + std::to_string(style) + "\"";
    if (chars == 0) x += " hidden=\"1\"";
    if (custom) x += " customWidth=\"1\"";
    return x + "/>";
  }

  // The merges covering row r that reach past the model's cells of the row, in column order.
  void CoveringMerges(int r, int cellCount) {
    while (nextMerge_ < merges_.size() && merges_[nextMerge_].r1 <= r) active_.push_back(merges_[nextMerge_++]);
    std::erase_if(active_, [r](const CellRect& m) { return m.r2 < r; });
    covering_.clear();
    for (const CellRect& m : active_)
      if (m.c2 >= cellCount) covering_.push_back(m);
    std::sort(covering_.begin(), covering_.end(), [](const CellRect& a, const CellRect& b) { return a.c1 < b.c1; });
  }

  void WriteRow(int r) {
    static const Row kNoRow;
    const Row& row = std::size_t(r) < ws_.Rows().size() ? ws_.Rows()[std::size_t(r)] : kNoRow;
    int count = int(row.cells.size());
    CoveringMerges(r, count);
    if (!count && covering_.empty() && row.style < 0 && row.height < 0) return;
    char* rowEnd = PutUnsigned(rowDigits_, std::uint64_t(r) + 1);
    rowDigitsLength_ = std::size_t(rowEnd - rowDigits_);
    char* p = zip_.Room(kCellRoom);
    p = PutText(p, "<row r=\"");
    p = PutText(p, {rowDigits_, rowDigitsLength_});
    p = PutText(p, "\"");
    if (row.style >= 0) {
      p = PutText(p, " s=\"");
      p = PutUnsigned(p, std::uint64_t(row.style));
      p = PutText(p, "\" customFormat=\"1\"");
    }
    if (row.height > 0) {
      p = PutText(p, " ht=\"");
      p = PutNumber(p, row.height);
      p = PutText(p, "\" customHeight=\"1\"");
    } else if (row.height == 0) {
      p = PutText(p, " hidden=\"1\"");
    }
    p = PutText(p, ">");
    zip_.Advance(p);
    for (int c = 0; c < count; ++c) WriteCell(c, row.cells[std::size_t(c)]);
    for (const CellRect& m : covering_) {
      Cell blank;
      blank.style = ws_.StyleAt(m.r1, m.c1);
      for (int c = std::max(m.c1, count); c <= m.c2; ++c) WriteCell(c, blank);
    }
    zip_.Append("</row>");
  }

  void WriteCell(int c, const Cell& cell) {
    char* p = zip_.Room(kCellRoom);
    p = PutText(p, "<c r=\"");
    p = PutText(p, columnNames_[std::size_t(c)]);
    p = PutText(p, {rowDigits_, rowDigitsLength_});
    p = PutText(p, "\"");
    if (cell.style) {
      p = PutText(p, " s=\"");
      p = PutUnsigned(p, cell.style);
      p = PutText(p, "\"");
    }
    switch (cell.kind) {
      case CellKind::kEmpty: p = PutText(p, "/>"); break;
      case CellKind::kNumber:
        p = PutText(p, "><v>");
        p = PutNumber(p, cell.number);
        p = PutText(p, "</v></c>");
        break;
      case CellKind::kText:
        p = PutText(p, " t=\"s\"><v>");
        p = PutUnsigned(p, cell.text);
        p = PutText(p, "</v></c>");
        break;
      case CellKind::kBool: p = PutText(p, cell.flag ? " t=\"b\"><v>1</v></c>" : " t=\"b\"><v>0</v></c>"); break;
    }
    zip_.Advance(p);
  }

  const Worksheet& ws_;
  ZipWriter& zip_;
  std::vector<CellRect> merges_, active_, covering_;
  std::size_t nextMerge_ = 0;
  int lastRow_ = -1, lastCol_ = -1;
  std::vector<std::string> columnNames_;
  char rowDigits_[24];
  std::size_t rowDigitsLength_ = 0;
};

}  // namespace

void WriteSheetPart(const Worksheet& ws, bool selected, ZipWriter& zip) { SheetWriter(ws, zip).Write(selected); }

}  // namespace sheet

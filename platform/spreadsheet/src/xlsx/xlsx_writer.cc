// The Open XML writer: the workbook model to libxlsxwriter calls. Every style the sheets use
// becomes one lxw_format (so cells keep the workbook's own default font); each merge is laid
// down before the cells of its first row, whose own records then replace the blanks it writes.
// Workbooks whose merges each lie within one row are written in libxlsxwriter's constant-memory
// mode; a merge over several rows writes blanks into later rows, so the whole sheet is held.
#include "xlsx_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <vector>

#include "com/bstr.h"

namespace sheet {
namespace {

// Automation colour number (R + 256·G + 65536·B) to libxlsxwriter's 0xRRGGBB.
lxw_color_t Rgb(std::int32_t c) {
  return lxw_color_t(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

std::string Utf8(std::u16string_view s) { return com::WideToUtf8(s); }

std::uint8_t Underline(std::uint8_t code) {
  switch (code) {
    case 1: return LXW_UNDERLINE_SINGLE;
    case 2: return LXW_UNDERLINE_DOUBLE;
    case 0x21: return LXW_UNDERLINE_SINGLE_ACCOUNTING;
    case 0x22: return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
    default: return LXW_UNDERLINE_NONE;
  }
}

class XlsxBuilder {
 public:
  XlsxBuilder(const Workbook& book, lxw_workbook* wb) : book_(book), wb_(wb) {}

  lxw_format* Format(std::uint32_t id) {
    if (id < formats_.size() && formats_[id]) return formats_[id];
    const CellStyle& s = book_.styles.Get(id);
    lxw_format* f = workbook_add_format(wb_);
    std::string name = Utf8(s.font.name);
    format_set_font_name(f, name.c_str());
    format_set_font_size(f, s.font.size);
    if (s.font.bold) format_set_bold(f);
    if (s.font.italic) format_set_italic(f);
    if (s.font.strike) format_set_font_strikeout(f);
    if (s.font.underline) format_set_underline(f, Underline(s.font.underline));
    if (s.font.color != kAutoColor) format_set_font_color(f, Rgb(s.font.color));
    if (s.halign != HAlign::General) format_set_align(f, std::uint8_t(s.halign));  // same order
    static const std::uint8_t kVertical[] = {LXW_ALIGN_VERTICAL_TOP, LXW_ALIGN_VERTICAL_CENTER, 0,
                                             LXW_ALIGN_VERTICAL_JUSTIFY, LXW_ALIGN_VERTICAL_DISTRIBUTED};
    if (s.valign != VAlign::Bottom) format_set_align(f, kVertical[int(s.valign)]);
    if (s.wrap) format_set_text_wrap(f);
    if (s.filled) {
      format_set_pattern(f, LXW_PATTERN_SOLID);
      format_set_bg_color(f, Rgb(s.fillColor == kAutoColor ? 0xFFFFFF : s.fillColor));
    }
    SetBorder(f, s.border[kLeft], format_set_left, format_set_left_color);
    SetBorder(f, s.border[kRight], format_set_right, format_set_right_color);
    SetBorder(f, s.border[kTop], format_set_top, format_set_top_color);
    SetBorder(f, s.border[kBottom], format_set_bottom, format_set_bottom_color);
    if (s.numberFormat != u"General") {
      std::string code = Utf8(s.numberFormat);
      format_set_num_format(f, code.c_str());
    }
    if (formats_.size() <= id) formats_.resize(id + 1, nullptr);
    formats_[id] = f;
    return f;
  }

  // Rows go out in order, each with the merges that start in it (what constant-memory mode
  // needs, and the same sheet when the whole sheet is held).
  std::string Sheet(const Worksheet& ws, bool active) {
    std::string name = Utf8(ws.Name());
    lxw_worksheet* sheet = workbook_add_worksheet(wb_, name.c_str());
    if (!sheet) return "cannot add the sheet \"" + name + "\"";
    Columns(ws, sheet);
    std::vector<CellRect> merges(ws.Merges().begin(), ws.Merges().end());
    std::stable_sort(merges.begin(), merges.end(), [](const CellRect& a, const CellRect& b) { return a.r1 < b.r1; });
    std::size_t nextMerge = 0;
    auto mergeUpTo = [&](std::size_t lastRow) {
      for (; nextMerge < merges.size() && std::size_t(merges[nextMerge].r1) <= lastRow; ++nextMerge) {
        const CellRect& m = merges[nextMerge];
        worksheet_merge_range(sheet, m.r1, lxw_col_t(m.c1), m.r2, lxw_col_t(m.c2), "", Format(ws.StyleAt(m.r1, m.c1)));
      }
    };
    const auto& rows = ws.Rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
      mergeUpTo(r);
      const Row& row = rows[r];
      if (row.height >= 0 || row.style >= 0) {
        lxw_row_col_options hidden = {1, 0, 0};
        worksheet_set_row_opt(sheet, lxw_row_t(r), row.height >= 0 ? row.height : 12.75,
                              row.style >= 0 ? Format(std::uint32_t(row.style)) : nullptr,
                              row.height == 0 ? &hidden : nullptr);
      }
      for (std::size_t c = 0; c < row.cells.size(); ++c) WriteCell(sheet, r, c, row.cells[c]);
    }
    mergeUpTo(SIZE_MAX);
    if (ws.frozenRows || ws.frozenCols) worksheet_freeze_panes(sheet, lxw_row_t(ws.frozenRows), lxw_col_t(ws.frozenCols));
    const CellRect& sel = ws.selection;
    if (sel.r1 != ws.activeRow || sel.c1 != ws.activeCol) {
      worksheet_set_selection(sheet, ws.activeRow, lxw_col_t(ws.activeCol), ws.activeRow, lxw_col_t(ws.activeCol));
    } else {
      worksheet_set_selection(sheet, sel.r1, lxw_col_t(sel.c1), sel.r2, lxw_col_t(sel.c2));
    }
    if (active) worksheet_activate(sheet);
    return "";
  }

 private:
  using SetStyle = void (*)(lxw_format*, std::uint8_t);
  using SetColor = void (*)(lxw_format*, lxw_color_t);
  static void SetBorder(lxw_format* f, const BorderLine& b, SetStyle style, SetColor color) {
    if (!b.style) return;
    style(f, b.style);  // libxlsxwriter's border codes equal the BIFF8 ones
    if (b.color != kAutoColor) color(f, Rgb(b.color));
  }

  void Columns(const Worksheet& ws, lxw_worksheet* sheet) {
    std::vector<int> explicitCols;
    for (const auto& [c, col] : ws.Columns()) explicitCols.push_back(c);
    std::sort(explicitCols.begin(), explicitCols.end());
    bool formattedDefault = ws.DefaultStyle() != 0;
    int next = 0;
    auto gap = [&](int upTo) {
      if (formattedDefault && next <= upTo)
        worksheet_set_column(sheet, lxw_col_t(next), lxw_col_t(upTo), LXW_DEF_COL_WIDTH, Format(ws.DefaultStyle()));
    };
    for (int c : explicitCols) {
      if (c >= kMaxCols) break;
      gap(c - 1);
      const Column& col = ws.Columns().at(c);
      std::uint32_t style = col.style >= 0 ? std::uint32_t(col.style) : ws.DefaultStyle();
      lxw_row_col_options hidden = {1, 0, 0};
      worksheet_set_column_opt(sheet, lxw_col_t(c), lxw_col_t(c), col.width >= 0 ? col.width : LXW_DEF_COL_WIDTH,
                               style ? Format(style) : nullptr, col.width == 0 ? &hidden : nullptr);
      next = c + 1;
    }
    gap(kMaxCols - 1);
  }

  void WriteCell(lxw_worksheet* sheet, std::size_t r, std::size_t c, const Cell& cell) {
    lxw_format* f = Format(cell.style);
    auto row = lxw_row_t(r);
    auto col = lxw_col_t(c);
    switch (cell.kind) {
      case CellKind::kNumber: worksheet_write_number(sheet, row, col, cell.number, f); break;
      case CellKind::kBool: worksheet_write_boolean(sheet, row, col, cell.flag, f); break;
      case CellKind::kText: {
        text_.clear();
        com::AppendUtf8(book_.strings.Get(cell.text), text_);
        worksheet_write_string(sheet, row, col, text_.c_str(), f);
        break;
      }
      case CellKind::kEmpty: worksheet_write_blank(sheet, row, col, f); break;
    }
  }

  const Workbook& book_;
  lxw_workbook* wb_;
  std::vector<lxw_format*> formats_;  // by style id
  std::string text_;                  // the cell text being written, in UTF-8
};

}  // namespace

std::string WriteXlsx(const Workbook& book, const std::string& path) {
  lxw_workbook_options options = {};
  // Rows stream to disk unless a merge spans rows (it must be laid down over the whole sheet).
  bool streaming = true;
  for (const auto& ws : book.sheets)
    for (const auto& m : ws->Merges()) streaming = streaming && m.r1 == m.r2;
  options.constant_memory = streaming ? LXW_TRUE : LXW_FALSE;
  options.use_zip64 = LXW_FALSE;
  lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
  if (!wb) return "cannot create the workbook";
  XlsxBuilder builder(book, wb);
  std::string error;
  for (std::size_t i = 0; i < book.sheets.size() && error.empty(); ++i)
    error = builder.Sheet(*book.sheets[i], int(i) == book.activeSheet);
  lxw_error rc = workbook_close(wb);
  if (error.empty() && rc != LXW_NO_ERROR) error = lxw_strerror(rc);
  return error;
}

}  // namespace sheet

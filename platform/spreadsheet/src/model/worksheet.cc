// Worksheet cells, formats, sizes and merges.
#include <algorithm>

#include "workbook.h"

namespace sheet {
namespace {

constexpr std::size_t kRoomyRow = 64;  // cells a new row may reserve at once

}  // namespace

const Cell* Worksheet::Find(int r, int c) const {
  if (r < 0 || std::size_t(r) >= rows_.size()) return nullptr;
  const auto& cells = rows_[r].cells;
  if (c < 0 || std::size_t(c) >= cells.size()) return nullptr;
  return &cells[c];
}

std::uint32_t Worksheet::StyleAt(int r, int c) const {
  if (const Cell* cell = Find(r, c)) return cell->style;
  return InheritedStyle(r, c);
}

std::uint32_t Worksheet::InheritedStyle(int r, int c) const {
  if (r >= 0 && std::size_t(r) < rows_.size() && rows_[r].style >= 0) return std::uint32_t(rows_[r].style);
  auto col = columns_.find(c);
  if (col != columns_.end() && col->second.style >= 0) return std::uint32_t(col->second.style);
  return defaultStyle_;
}

Cell& Worksheet::At(int r, int c) {
  if (std::size_t(r) >= rows_.size()) rows_.resize(r + 1);
  auto& cells = rows_[r].cells;
  if (std::size_t(c) >= cells.size()) {
    std::size_t old = cells.size();
    // Rows tend to be like the row above them: a row filled cell by cell gets that row's room
    // at once (when it is modest) instead of growing step by step.
    if (cells.capacity() <= std::size_t(c) && r > 0) {
      std::size_t above = rows_[r - 1].cells.size();
      if (above > std::size_t(c) && above <= kRoomyRow) cells.reserve(above);
    }
    cells.resize(c + 1);
    for (std::size_t k = old; k < cells.size(); ++k) {
      cells[k].style = InheritedStyle(r, int(k));
    }
  }
  return cells[c];
}

void Worksheet::SetNumber(int r, int c, double v) {
  Cell& cell = At(r, c);
  cell.kind = CellKind::kNumber;
  cell.number = v;
}

void Worksheet::SetText(int r, int c, std::u16string_view v) {
  std::uint32_t id = strings_->Intern(v);
  Cell& cell = At(r, c);
  cell.kind = CellKind::kText;
  cell.text = id;
}

void Worksheet::SetBool(int r, int c, bool v) {
  Cell& cell = At(r, c);
  cell.kind = CellKind::kBool;
  cell.flag = v;
}

void Worksheet::Clear(int r, int c) {
  if (Find(r, c)) rows_[r].cells[c].kind = CellKind::kEmpty;
}

void Worksheet::ClearRect(const CellRect& rect) {
  int last = std::min<int>(rect.r2, int(rows_.size()) - 1);
  for (int r = rect.r1; r <= last; ++r) {
    auto& cells = rows_[r].cells;
    int lastCol = std::min<int>(rect.c2, int(cells.size()) - 1);
    for (int c = rect.c1; c <= lastCol; ++c) cells[c].kind = CellKind::kEmpty;
  }
}

std::uint32_t Worksheet::Edited(std::uint32_t id, int r, int c, const StyleEdit& edit, StyleEditKey key) {
  if (key.property) {
    std::int64_t known = styles_->EditedBefore(id, key);
    if (known >= 0) return std::uint32_t(known);
  }
  CellStyle s = styles_->Get(id);
  edit(s, r, c);
  std::uint32_t result = styles_->Intern(s);
  if (key.property) styles_->RememberEdit(id, key, result);
  return result;
}

void Worksheet::EditColumns(const CellRect& rect, const StyleEdit& edit, StyleEditKey key) {
  if (rect.WholeRows()) {
    // The whole sheet: the sheet format covers columns without a format of their own.
    for (auto& [c, col] : columns_)
      if (col.style >= 0) col.style = Edited(std::uint32_t(col.style), -1, c, edit, key);
    return;
  }
  for (int c = rect.c1; c <= rect.c2; ++c) {
    Column& col = columns_[c];
    std::uint32_t base = col.style >= 0 ? std::uint32_t(col.style) : defaultStyle_;
    col.style = Edited(base, -1, c, edit, key);
  }
}

void Worksheet::EditRows(const CellRect& rect, const StyleEdit& edit, StyleEditKey key) {
  if (std::size_t(rect.r2) >= rows_.size()) rows_.resize(rect.r2 + 1);
  for (int r = rect.r1; r <= rect.r2; ++r) {
    Row& row = rows_[r];
    std::uint32_t base = row.style >= 0 ? std::uint32_t(row.style) : defaultStyle_;
    row.style = Edited(base, r, -1, edit, key);
  }
}

void Worksheet::EditCells(const CellRect& rect, const StyleEdit& edit, StyleEditKey key, bool createMissing) {
  for (int r = rect.r1; r <= rect.r2; ++r) {
    if (!createMissing && std::size_t(r) >= rows_.size()) break;
    int lastCol = rect.c2;
    if (!createMissing) lastCol = std::min<int>(rect.c2, int(rows_[r].cells.size()) - 1);
    for (int c = rect.c1; c <= lastCol; ++c) {
      Cell& cell = createMissing ? At(r, c) : rows_[r].cells[c];
      cell.style = Edited(cell.style, r, c, edit, key);
    }
  }
}

void Worksheet::EditStyle(const CellRect& rect, const StyleEdit& edit, StyleEditKey key) {
  bool cols = rect.WholeColumns(), rows = rect.WholeRows();
  if (cols && rows) defaultStyle_ = Edited(defaultStyle_, -1, -1, edit, key);
  if (cols) EditColumns(rect, edit, key);
  if (rows) {
    EditRows({rect.r1, 0, std::min<int>(rect.r2, int(rows_.size()) - 1), 0}, edit, key);
  } else if (cols) {
    // Formatted rows keep their cells in these columns formatted too.
    for (std::size_t r = 0; r < rows_.size(); ++r)
      if (rows_[r].style >= 0) EditCells({int(r), rect.c1, int(r), rect.c2}, edit, key, true);
  }
  EditCells(rect, edit, key, !(cols || rows));
}

CellRect Worksheet::UsedRect(bool* empty) const {
  CellRect used{kMaxRows, kMaxCols, -1, -1};
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const auto& cells = rows_[r].cells;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (cells[c].kind == CellKind::kEmpty && cells[c].style == defaultStyle_) continue;
      used.r1 = std::min(used.r1, int(r));
      used.r2 = std::max(used.r2, int(r));
      used.c1 = std::min(used.c1, int(c));
      used.c2 = std::max(used.c2, int(c));
    }
  }
  *empty = used.r2 < 0;
  if (*empty) used = {0, 0, 0, 0};
  return used;
}

void Worksheet::SetColumnWidth(int c1, int c2, double width) {
  for (int c = c1; c <= c2; ++c) columns_[c].width = width;
}

double Worksheet::ColumnWidth(int c) const {
  auto it = columns_.find(c);
  return it == columns_.end() ? -1 : it->second.width;
}

void Worksheet::SetRowHeight(int r1, int r2, double height) {
  if (std::size_t(r2) >= rows_.size()) rows_.resize(r2 + 1);
  for (int r = r1; r <= r2; ++r) rows_[r].height = height;
}

double Worksheet::RowHeight(int r) const {
  return std::size_t(r) < rows_.size() ? rows_[r].height : -1;
}

void Worksheet::Merge(const CellRect& rect) {
  if (rect.r1 == rect.r2 && rect.c1 == rect.c2) return;
  Unmerge(rect);
  // Keep the top-left value: clear the other cells of the area.
  Cell keep;
  if (const Cell* first = Find(rect.r1, rect.c1)) keep = *first;
  ClearRect(rect);
  if (keep.kind != CellKind::kEmpty) At(rect.r1, rect.c1) = keep;
  merges_.push_back(rect);
}

void Worksheet::Unmerge(const CellRect& rect) {
  std::erase_if(merges_, [&](const CellRect& m) { return m.Overlaps(rect); });
}

const CellRect* Worksheet::MergeAt(int r, int c) const {
  for (const auto& m : merges_)
    if (m.Contains(r, c)) return &m;
  return nullptr;
}

// ---- Workbook ----

std::shared_ptr<Worksheet> Workbook::AddSheet(int position, std::u16string sheetName) {
  auto ws = std::make_shared<Worksheet>(std::move(sheetName), &strings, &styles);
  position = std::clamp(position, 0, int(sheets.size()));
  sheets.insert(sheets.begin() + position, ws);
  return ws;
}

std::u16string Workbook::FreshSheetName() const {
  for (int n = 1;; ++n) {
    std::u16string candidate = u"Sheet";
    for (char c : std::to_string(n)) candidate.push_back(char16_t(c));
    bool used = false;
    for (const auto& s : sheets) {
      std::u16string a = s->Name(), b = candidate;
      for (auto& ch : a) ch = (ch >= 'a' && ch <= 'z') ? char16_t(ch - 32) : ch;
      for (auto& ch : b) ch = (ch >= 'a' && ch <= 'z') ? char16_t(ch - 32) : ch;
      used = used || a == b;
    }
    if (!used) return candidate;
  }
}

int Workbook::IndexOf(const Worksheet* ws) const {
  for (std::size_t i = 0; i < sheets.size(); ++i)
    if (sheets[i].get() == ws) return int(i);
  return -1;
}

}  // namespace sheet

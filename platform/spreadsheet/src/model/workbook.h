// The in-memory workbook: sheets of cells with values and style ids, column widths, row
// heights, merged ranges, the frozen panes and the active cell, and the shared string pool and
// style table. The writers read it; the Automation objects change it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cell_ref.h"
#include "style.h"

namespace sheet {

// Interned cell texts, shared by all sheets of a workbook. The characters of all texts are kept
// in large blocks that never move (a text is a view into them), and the index is one flat
// array of (hash, id) probed linearly, so a lookup touches few cache lines and interning a new
// text allocates nothing most of the time.
class StringPool {
 public:
  std::uint32_t Intern(std::u16string_view text);
  std::u16string_view Get(std::uint32_t id) const { return texts_[id]; }
  std::size_t Size() const { return texts_.size(); }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t idPlus1 = 0;  // 0: free
  };
  std::u16string_view Keep(std::u16string_view text);
  void Grow();

  std::vector<std::unique_ptr<char16_t[]>> blocks_;
  std::size_t blockUsed_ = 0, blockSize_ = 0;  // of the last block
  std::vector<std::u16string_view> texts_;      // by id
  std::vector<Slot> index_;                     // size a power of two, at most half used
};

enum class CellKind : std::uint8_t { kEmpty, kNumber, kText, kBool };

struct Cell {
  CellKind kind = CellKind::kEmpty;
  std::uint32_t style = 0;
  union {
    double number;
    std::uint32_t text;  // StringPool id
    bool flag;
  };
  Cell() : number(0) {}
};

struct Row {
  std::vector<Cell> cells;  // index = column; dense up to the last touched column
  std::int64_t style = -1;  // -1: no row format
  double height = -1;       // points; -1: default
};

struct Column {
  double width = -1;        // characters; -1: default
  std::int64_t style = -1;  // -1: no column format
};

// Edits one style; (row, col) is the position edited, -1 for "every row/column".
using StyleEdit = std::function<void(CellStyle&, int row, int col)>;

class Worksheet {
 public:
  Worksheet(std::u16string name, StringPool* strings, StyleTable* styles)
      : name_(std::move(name)), strings_(strings), styles_(styles) {}

  const std::u16string& Name() const { return name_; }
  void SetName(std::u16string n) { name_ = std::move(n); }
  bool deleted = false;

  // ---- cells ----
  const Cell* Find(int r, int c) const;
  Cell& At(int r, int c);  // creates the cell (with its row/column format) when missing
  void SetNumber(int r, int c, double v);
  void SetText(int r, int c, std::u16string_view v);
  void SetBool(int r, int c, bool v);
  void Clear(int r, int c);  // value only
  void ClearRect(const CellRect& rect);
  // Applies `edit` to every cell, row, column and sheet format the rectangle covers; `key`
  // names the edit when it sets one property to one value wherever it is applied.
  void EditStyle(const CellRect& rect, const StyleEdit& edit, StyleEditKey key = {});
  // Format a cell has or would get.
  std::uint32_t StyleAt(int r, int c) const;
  // Format a new cell gets: its row's, else its column's, else the sheet's (r or c may be -1).
  std::uint32_t InheritedStyle(int r, int c) const;

  const std::vector<Row>& Rows() const { return rows_; }
  const std::unordered_map<int, Column>& Columns() const { return columns_; }
  std::uint32_t DefaultStyle() const { return defaultStyle_; }
  // Last row / column holding a value or a format (-1 when none).
  CellRect UsedRect(bool* empty) const;

  // ---- sizes ----
  void SetColumnWidth(int c1, int c2, double width);
  double ColumnWidth(int c) const;  // -1 default
  void SetRowHeight(int r1, int r2, double height);
  double RowHeight(int r) const;

  // ---- merges ----
  // Merges the rectangle (replacing merges it overlaps), keeping the top-left value.
  void Merge(const CellRect& rect);
  void Unmerge(const CellRect& rect);
  const std::vector<CellRect>& Merges() const { return merges_; }
  const CellRect* MergeAt(int r, int c) const;

  // ---- view ----
  int activeRow = 0, activeCol = 0;
  CellRect selection;
  int frozenRows = 0, frozenCols = 0;  // both 0: not frozen
  int splitRows = 0, splitCols = 0;    // requested split position (rows/columns)

  StringPool& Strings() { return *strings_; }
  const StringPool& Strings() const { return *strings_; }
  const StyleTable& Styles() const { return *styles_; }

 private:
  // The id of style `id` after `edit` at (r, c).
  std::uint32_t Edited(std::uint32_t id, int r, int c, const StyleEdit& edit, StyleEditKey key);
  void EditColumns(const CellRect& rect, const StyleEdit& edit, StyleEditKey key);
  void EditRows(const CellRect& rect, const StyleEdit& edit, StyleEditKey key);
  void EditCells(const CellRect& rect, const StyleEdit& edit, StyleEditKey key, bool createMissing);

  std::u16string name_;
  StringPool* strings_;
  StyleTable* styles_;
  std::vector<Row> rows_;
  std::unordered_map<int, Column> columns_;
  std::uint32_t defaultStyle_ = 0;
  std::vector<CellRect> merges_;
};

struct Workbook {
  std::u16string name;      // "Book1" until saved, then the file name
  std::string path;         // full path once saved ("" before)
  std::vector<std::shared_ptr<Worksheet>> sheets;
  int activeSheet = 0;
  StringPool strings;
  StyleTable styles;
  bool closed = false;

  std::shared_ptr<Worksheet> AddSheet(int position, std::u16string sheetName);
  // A sheet name not used yet: "Sheet<n>".
  std::u16string FreshSheetName() const;
  int IndexOf(const Worksheet* ws) const;  // -1 when not in this workbook
};

}  // namespace sheet

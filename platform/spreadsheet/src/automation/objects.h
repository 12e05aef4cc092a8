// The Automation objects of the spreadsheet server and how they reach the model: each object
// keeps the application state and the workbook/sheet it stands for alive, and checks before
// every call that its workbook is still open and its sheet still exists.
#pragma once

#include <memory>

#include "com/dispatch_object.h"
#include "model/app_state.h"

namespace sheet {

// A rectangle of one sheet of one workbook of the application.
struct RangeRef {
  std::shared_ptr<AppState> app;
  std::shared_ptr<Workbook> book;
  std::shared_ptr<Worksheet> sheet;
  CellRect rect;
  // Throws DISP_E_EXCEPTION when the workbook was closed or the sheet deleted.
  void Check() const;
};

com::IDispatch* NewApplication();
com::IDispatch* NewWorkbooks(std::shared_ptr<AppState> app);
com::IDispatch* NewWorkbook(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book);
// Sheets and Worksheets of a workbook (the same collection here: every sheet is a worksheet).
com::IDispatch* NewSheets(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book);
com::IDispatch* NewWorksheet(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book,
                             std::shared_ptr<Worksheet> sheet);
com::IDispatch* NewRange(RangeRef ref);
com::IDispatch* NewFont(RangeRef ref);
com::IDispatch* NewInterior(RangeRef ref);
// edges: bit mask over kEdgeBits; all edges and inside lines for Range.Borders without index.
com::IDispatch* NewBorders(RangeRef ref, unsigned edges);
com::IDispatch* NewWindow(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book);

// Border index constants (xlEdgeLeft 7 … xlInsideHorizontal 12) as bits.
constexpr unsigned EdgeBit(int xlIndex) { return 1u << (xlIndex - 7); }
constexpr unsigned kAllEdges = 0x3F;

// Range of a sheet for Cells/Range/Columns/Rows arguments; shared by Worksheet, Range and
// Application. `base` is the area the positions are relative to (the whole sheet for a
// worksheet).
RangeRef CellsOf(const RangeRef& base, com::Call& call);
RangeRef RangeOf(const RangeRef& base, com::Call& call);
RangeRef ColumnsOf(const RangeRef& base, com::Call& call);
RangeRef RowsOf(const RangeRef& base, com::Call& call);

// Makes the sheet of `ref` the active sheet of its workbook and the workbook the active one.
void ActivateSheet(const RangeRef& ref);

// The Range / Worksheet behind an IDispatch of this server, or nullptr.
const RangeRef* RangeRefOf(com::IDispatch* d);
const RangeRef* SheetRefOf(com::IDispatch* d);

// Exception texts name the failing call the way the application's messages do.
[[noreturn]] void Fail(const std::u16string& what);

// Opens an .xls file (as this server writes them) as a new, active workbook; throws when the
// file cannot be read.
void OpenWorkbook(AppState& app, const std::u16string& fileName);

// Saves the workbook (format chosen from `fileFormat` or the extension); throws on failure.
void SaveWorkbook(AppState& app, Workbook& book, const std::u16string& fileName, int fileFormat);

// Shows a saved workbook on the desktop (see SetDesktopOpener in spreadsheet/server.h).
void ShowOnDesktop(const std::string& path);

}  // namespace sheet

namespace sheet {
// Returns `collection` (taking over its reference), or — when the call carries arguments, as
// in Worksheets(1) — the collection's default member applied to them.
void ReturnCollection(com::Call& call, com::IDispatch* collection);
}  // namespace sheet

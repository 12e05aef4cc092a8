// Cells(…), Range(…), Columns(…) and Rows(…) arguments: from positions, column letters,
// addresses and range objects to the rectangle they name.
#include <algorithm>
#include <string>

#include "objects.h"

namespace sheet {
namespace {

std::u16string Num(long long n) {
  std::u16string s;
  for (char c : std::to_string(n)) s.push_back(char16_t(c));
  return s;
}

int CheckedRow(long long r) {
  if (r < 0 || r >= kMaxRows)
    Fail(u"Row " + Num(r + 1) + u" is outside the worksheet (rows 1 to 1048576)");
  return int(r);
}

int CheckedCol(long long c) {
  if (c < 0 || c >= kMaxCols)
    Fail(u"Column " + Num(c + 1) + u" is outside the worksheet (columns 1 to 16384)");
  return int(c);
}

// A column given as a number or as letters ("A", "xfd").
long long ColumnArg(const com::Call& call, std::size_t i) {
  if (call.Arg(i).vt == com::VT_BSTR) {
    auto col = ParseColumnLetters(call.Text(i));
    if (!col) Fail(u"\"" + call.Text(i) + u"\" is not a column");
    return *col + 1;
  }
  return call.Long(i);
}

CellRect AddressArg(const RangeRef& base, const com::Call& call, std::size_t i) {
  const com::VARIANT& v = call.Arg(i);
  if (v.vt == com::VT_DISPATCH) {
    const RangeRef* other = RangeRefOf(v.pdispVal);
    if (!other) Fail(u"Range: the argument is not a range of this application");
    if (other->sheet != base.sheet) Fail(u"Range: the cells belong to another worksheet");
    return other->rect;
  }
  std::u16string text = call.Text(i);
  auto rect = ParseAddress(text);
  if (!rect) Fail(u"Range: \"" + text + u"\" is not a valid cell address");
  if (base.rect == WholeSheet()) return *rect;
  // Addresses on a range are relative to its top-left cell.
  CellRect r = {rect->r1 + base.rect.r1, rect->c1 + base.rect.c1, rect->r2 + base.rect.r1,
                rect->c2 + base.rect.c1};
  CheckedRow(r.r2);
  CheckedCol(r.c2);
  return r;
}

RangeRef With(const RangeRef& base, CellRect rect) {
  RangeRef out = base;
  out.rect = rect;
  return out;
}

}  // namespace

RangeRef CellsOf(const RangeRef& base, com::Call& call) {
  call.Expect(0, 2);
  const CellRect& b = base.rect;
  if (!call.Has(0) && !call.Has(1)) return base;
  if (call.Has(0) && call.Has(1)) {
    int r = CheckedRow(b.r1 + (long long)call.Long(0) - 1);
    int c = CheckedCol(b.c1 + ColumnArg(call, 1) - 1);
    return With(base, SingleCell(r, c));
  }
  if (!call.Has(0)) call.Expect(1, 2);  // Cells(, col) needs the row
  long long n = (long long)call.Double(0) - 1;
  if (n < 0) Fail(u"Cells: the index must be 1 or more");
  long long cols = b.Cols();
  int r = CheckedRow(b.r1 + n / cols);
  int c = CheckedCol(b.c1 + n % cols);
  return With(base, SingleCell(r, c));
}

RangeRef RangeOf(const RangeRef& base, com::Call& call) {
  call.Expect(1, 2);
  CellRect a = AddressArg(base, call, 0);
  if (call.Has(1)) {
    CellRect b = AddressArg(base, call, 1);
    a = {std::min(a.r1, b.r1), std::min(a.c1, b.c1), std::max(a.r2, b.r2), std::max(a.c2, b.c2)};
  }
  return With(base, a);
}

RangeRef ColumnsOf(const RangeRef& base, com::Call& call) {
  call.Expect(0, 1);
  const CellRect& b = base.rect;
  if (!call.Has(0)) return base;
  if (call.Arg(0).vt == com::VT_BSTR) {
    std::u16string text = call.Text(0);
    auto colon = text.find(u':');
    auto first = ParseColumnLetters(text.substr(0, colon));
    auto last = colon == std::u16string::npos ? first : ParseColumnLetters(text.substr(colon + 1));
    if (!first || !last) Fail(u"Columns: \"" + text + u"\" is not a column or column range");
    int c1 = CheckedCol(b.c1 + *first), c2 = CheckedCol(b.c1 + *last);
    return With(base, {b.r1, std::min(c1, c2), b.r2, std::max(c1, c2)});
  }
  int c = CheckedCol(b.c1 + (long long)call.Long(0) - 1);
  return With(base, {b.r1, c, b.r2, c});
}

RangeRef RowsOf(const RangeRef& base, com::Call& call) {
  call.Expect(0, 1);
  const CellRect& b = base.rect;
  if (!call.Has(0)) return base;
  if (call.Arg(0).vt == com::VT_BSTR) {
    std::u16string text = call.Text(0);
    auto rect = ParseAddress(text.find(u':') == std::u16string::npos ? text + u":" + text : text);
    if (!rect || !rect->WholeRows()) Fail(u"Rows: \"" + text + u"\" is not a row or row range");
    return With(base, {CheckedRow(b.r1 + rect->r1), b.c1, CheckedRow(b.r1 + rect->r2), b.c2});
  }
  int r = CheckedRow(b.r1 + (long long)call.Long(0) - 1);
  return With(base, {r, b.c1, r, b.c2});
}

void RangeRef::Check() const {
  if (!book || book->closed) Fail(u"The workbook of this object has been closed");
  if (!sheet || sheet->deleted) Fail(u"The worksheet of this object has been deleted");
}

void ActivateSheet(const RangeRef& ref) {
  ref.Check();
  ref.book->activeSheet = ref.book->IndexOf(ref.sheet.get());
  for (std::size_t i = 0; i < ref.app->workbooks.size(); ++i)
    if (ref.app->workbooks[i] == ref.book) ref.app->activeWorkbook = int(i);
}

[[noreturn]] void Fail(const std::u16string& what) { com::ThrowException(what); }

}  // namespace sheet

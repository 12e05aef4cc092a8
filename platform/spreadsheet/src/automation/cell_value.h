// Cell values to and from VARIANTs, for one cell and for areas (two-dimensional arrays).
#pragma once

#include "com/variant.h"
#include "model/workbook.h"

namespace sheet {

// Longest text a cell holds.
constexpr std::size_t kMaxCellText = 32767;

// Stores a value: empty and null clear the cell; numbers, currency, decimals and dates become
// numbers (a date also gives a General cell a date format); text stays text in a "@" cell and
// becomes a number where it reads as one; booleans stay booleans. Throws DispatchError
// (DISP_E_TYPEMISMATCH for objects and error values, DISP_E_EXCEPTION for text too long or a
// number that is not finite).
void PutCellValue(Worksheet& ws, int r, int c, const com::VARIANT& v);
// Stores `v` into every cell of `rect`: an array fills the area from its first elements
// (rows by the first index, columns by the second; a one-dimensional array repeats on each
// row), cells beyond the array are cleared; any other value goes to every cell.
void PutAreaValue(Worksheet& ws, const CellRect& rect, const com::VARIANT& v);
// The value of one cell (VT_EMPTY, VT_R8, VT_BSTR or VT_BOOL) or of an area as a
// two-dimensional VT_ARRAY | VT_VARIANT with bounds 1…rows, 1…columns.
void GetAreaValue(const Worksheet& ws, const CellRect& rect, com::VARIANT* out);

}  // namespace sheet

// Reads a written workbook back through an independent reader (xlrd for .xls, openpyxl for
// .xlsx) and returns its description, one fact per line:
//   sheet <i> <name>
//   cell <i> <A1> text|number|bool <value>
//   style <i> <A1> font=<name>,<size>,b<0|1>,i<0|1>,u<0|1>,<RRGGBB|auto> fill=<RRGGBB|none>
//         h=<align> v=<align> border=<left>/<right>/<top>/<bottom> fmt=<number format>
//   merge <i> <A1:B2>      width <i> <column> <characters>      freeze <i> <rows> <columns>
// and for .xlsx the further facts xlsx_dump.py lists (utf8, detail, row, column, view, active).
#pragma once

#include <set>
#include <string>

namespace test {

std::set<std::string> ReadBack(const std::string& path);
// The lines of `facts` that start with `prefix`.
std::set<std::string> Select(const std::set<std::string>& facts, const std::string& prefix);
// The "style" line of one cell ("" when absent).
std::string StyleOf(const std::set<std::string>& facts, int sheet, const std::string& cell);

}  // namespace test

// The BIFF8 (Excel 97–2003) writer: a workbook to the bytes of an .xls file.
#pragma once

#include <string>

#include "model/workbook.h"

namespace sheet {

// Why a workbook does not fit BIFF8, or "" when it does (65,536 rows, 256 columns, 32,767
// characters per cell, the number of distinct formats and fonts).
std::string Biff8Misfit(const Workbook& book);
// The BIFF8 Workbook stream (globals and one substream per sheet).
// REQUIRES: Biff8Misfit(book) is empty.
std::string WorkbookStream(const Workbook& book);
// The complete .xls file (compound document holding the Workbook stream).
// REQUIRES: Biff8Misfit(book) is empty.
std::string WriteXls(const Workbook& book);

}  // namespace sheet

// Reads a BIFF8 workbook back into the model: the records this server writes (and the common
// variants MULRK, MULBLANK and LABEL that other writers use) with their values, fonts, fills,
// alignment, borders, number formats, widths, heights, merges and frozen panes.
#pragma once

#include <string>

#include "model/workbook.h"

namespace sheet {

// Fills an empty workbook from the bytes of an .xls file. Returns "" on success, else why the
// file cannot be read (the workbook is then incomplete and should be dropped).
std::string ReadXls(const std::string& file, Workbook* book);

}  // namespace sheet

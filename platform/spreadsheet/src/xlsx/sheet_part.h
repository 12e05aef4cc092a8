// A worksheet part (xl/worksheets/sheetN.xml), streamed into the archive row by row: view
// (frozen panes, selection), columns, rows with their cells, merges.
#pragma once

#include "model/workbook.h"
#include "zip_writer.h"

namespace sheet {

// Text cells name their string by its id in the workbook's string pool (the shared strings
// part holds the whole pool in id order).
void WriteSheetPart(const Worksheet& ws, bool selected, ZipWriter& zip);

}  // namespace sheet

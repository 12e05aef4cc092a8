// The small parts of the Open XML package around the sheets: content types, relationships,
// document properties, the workbook part, and the shared strings part.
#pragma once

#include <string>

#include "model/workbook.h"
#include "zip_writer.h"

namespace sheet {

// Which parts the package holds beside the fixed ones.
struct PackageShape {
  std::size_t sheets = 0;
  bool sharedStrings = false;
};

std::string ContentTypesPart(const PackageShape& shape);
std::string RootRelationships();
std::string AppPropertiesPart();
std::string CorePropertiesPart();
std::string WorkbookPart(const Workbook& book);
std::string WorkbookRelationships(const PackageShape& shape);
// The whole string pool in id order, streamed.
void WriteSharedStringsPart(const StringPool& strings, ZipWriter& zip);

}  // namespace sheet

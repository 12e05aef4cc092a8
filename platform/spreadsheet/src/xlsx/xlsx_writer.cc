// The Open XML writer: the workbook model as an .xlsx package (ECMA-376 SpreadsheetML),
// streamed into a ZIP archive of our own. Cells name their style by its id in the style table
// and their text by its id in the string pool, so nothing is looked up per cell.
#include "xlsx_writer.h"

#include "package_parts.h"
#include "sheet_part.h"
#include "styles_part.h"
#include "zip_writer.h"

namespace sheet {
namespace {

void Put(ZipWriter& zip, const char* name, const std::string& xml) {
  zip.Begin(name);
  zip.Append(xml);
  zip.Finish();
}

}  // namespace

std::string WriteXlsx(const Workbook& book, const std::string& path) {
  ZipWriter zip;
  if (!zip.Open(path)) return zip.Error();
  PackageShape shape{book.sheets.size(), book.strings.Size() > 0};
  Put(zip, "[Content_Types].xml", ContentTypesPart(shape));
  Put(zip, "_rels/.rels", RootRelationships());
  Put(zip, "docProps/app.xml", AppPropertiesPart());
  Put(zip, "docProps/core.xml", CorePropertiesPart());
  Put(zip, "xl/workbook.xml", WorkbookPart(book));
  Put(zip, "xl/_rels/workbook.xml.rels", WorkbookRelationships(shape));
  Put(zip, "xl/styles.xml", StylesPart(book.styles));
  for (std::size_t i = 0; i < book.sheets.size() && zip.Error().empty(); ++i) {
    zip.Begin("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml");
    WriteSheetPart(*book.sheets[i], int(i) == book.activeSheet, zip);
    zip.Finish();
  }
  if (shape.sharedStrings) {
    zip.Begin("xl/sharedStrings.xml");
    WriteSharedStringsPart(book.strings, zip);
    zip.Finish();
  }
  return zip.Close();
}

}  // namespace sheet

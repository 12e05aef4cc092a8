// XML of the package's fixed parts and of the shared strings.
#include "package_parts.h"

#include <ctime>

#include "xml_text.h"

namespace sheet {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kRelsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kDocRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kSheetMl = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

std::string Relationship(std::size_t id, const std::string& type, const std::string& target) {
  return "<Relationship Id=\"rId" + std::to_string(id) + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
}

std::string Override(const std::string& part, const std::string& type) {
  return "<Override PartName=\"" + part + "\" ContentType=\"" + type + "\"/>";
}

bool EdgeSpace(std::u16string_view t) {
  auto space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
  return !t.empty() && (space(t.front()) || space(t.back()));
}

}  // namespace

std::string ContentTypesPart(const PackageShape& shape) {
  std::string x = std::string(kDeclaration) +
                  "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                  "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                  "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
  x += Override("/xl/workbook.xml", std::string(kSheetMl) + "sheet.main+xml");
  for (std::size_t i = 1; i <= shape.sheets; ++i)
    x += Override("/xl/worksheets/sheet" + std::to_string(i) + ".xml", std::string(kSheetMl) + "worksheet+xml");
  x += Override("/xl/styles.xml", std::string(kSheetMl) + "styles+xml");
  if (shape.sharedStrings) x += Override("/xl/sharedStrings.xml", std::string(kSheetMl) + "sharedStrings+xml");
  x += Override("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
  x += Override("/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml");
  return x + "</Types>";
}

std::string RootRelationships() {
  return std::string(kDeclaration) + "<Relationships xmlns=\"" + kRelsNs + "\">" +
         Relationship(1, std::string(kDocRel) + "officeDocument", "xl/workbook.xml") +
         Relationship(2, "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
                      "docProps/core.xml") +
         Relationship(3, std::string(kDocRel) + "extended-properties", "docProps/app.xml") + "</Relationships>";
}

std::string AppPropertiesPart() {
  return std::string(kDeclaration) +
         "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
         "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
         "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
         "</Properties>";
}

std::string CorePropertiesPart() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  gmtime_r(&now, &t);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &t);
  std::string when = std::string(">") + stamp + "</dcterms:";
  return std::string(kDeclaration) +
         "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
         "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
         "<dcterms:created xsi:type=\"dcterms:W3CDTF\"" + when + "created>"
         "<dcterms:modified xsi:type=\"dcterms:W3CDTF\"" + when + "modified></cp:coreProperties>";
}

std::string WorkbookPart(const Workbook& book) {
  std::string x = std::string(kDeclaration) +
                  "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                  "<workbookPr/><bookViews><workbookView activeTab=\"" + std::to_string(book.activeSheet) +
                  "\"/></bookViews><sheets>";
  for (std::size_t i = 1; i <= book.sheets.size(); ++i) {
    x += "<sheet name=\"";
    AppendXmlText(book.sheets[i - 1]->Name(), x);
    x += "\" sheetId=\"" + std::to_string(i) + "\" r:id=\"rId" + std::to_string(i) + "\"/>";
  }
  return x + "</sheets></workbook>";
}

std::string WorkbookRelationships(const PackageShape& shape) {
  std::string x = std::string(kDeclaration) + "<Relationships xmlns=\"" + kRelsNs + "\">";
  std::size_t id = 1;
  for (; id <= shape.sheets; ++id)
    x += Relationship(id, std::string(kDocRel) + "worksheet", "worksheets/sheet" + std::to_string(id) + ".xml");
  x += Relationship(id++, std::string(kDocRel) + "styles", "styles.xml");
  if (shape.sharedStrings) x += Relationship(id, std::string(kDocRel) + "sharedStrings", "sharedStrings.xml");
  return x + "</Relationships>";
}

void WriteSharedStringsPart(const StringPool& strings, ZipWriter& zip) {
  std::string count = std::to_string(strings.Size());
  zip.Append(std::string(kDeclaration) + "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"" +
             count + "\" uniqueCount=\"" + count + "\">");
  std::string item;
  for (std::uint32_t id = 0; id < strings.Size(); ++id) {
    std::u16string_view text = strings.Get(id);
    item = EdgeSpace(text) ? "<si><t xml:space=\"preserve\">" : "<si><t>";
    AppendXmlText(text, item);
    item += "</t></si>";
    zip.Append(item);
  }
  zip.Append("</sst>");
}

}  // namespace sheet

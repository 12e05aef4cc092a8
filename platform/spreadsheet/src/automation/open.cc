// Workbooks.Open: reading a BIFF8 file back into a new workbook.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "objects.h"
#include "xls/xls_reader.h"

namespace sheet {

void OpenWorkbook(AppState& app, const std::u16string& fileName) {
  std::string path = com::WideToUtf8(fileName);
  for (auto& c : path)
    if (c == '\\') c = '/';
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(u"Workbooks.Open: cannot open \"" + fileName + u"\"");
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] == 'K')
    Fail(u"Workbooks.Open: \"" + fileName + u"\" is an Open XML workbook; only .xls files can be opened");
  auto book = std::make_shared<Workbook>();
  std::string error = ReadXls(bytes, book.get());
  if (!error.empty()) Fail(u"Workbooks.Open: \"" + fileName + u"\" cannot be read: " + com::Utf8ToWide(error));
  std::error_code ec;
  auto absolute = std::filesystem::absolute(path, ec);
  book->path = ec ? path : absolute.lexically_normal().string();
  book->name = com::Utf8ToWide(std::filesystem::path(book->path).filename().string());
  app.workbooks.push_back(book);
  app.activeWorkbook = int(app.workbooks.size()) - 1;
}

}  // namespace sheet

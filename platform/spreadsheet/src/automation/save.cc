// SaveAs: choosing the file format, writing through a temporary file, and the workbook's new
// name afterwards.
//
//   FileFormat 56 (xlExcel8)            BIFF8; refused when the workbook does not fit BIFF8
//   FileFormat 51 (xlOpenXMLWorkbook)   Open XML
//   none, -4143 (xlWorkbookNormal)      by extension: ".xls" is BIFF8 when the workbook fits,
//                                       otherwise Open XML (nothing is lost); anything else
//                                       Open XML. A name without extension gets ".xlsx".
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "objects.h"
#include "xls/xls_writer.h"
#include "xlsx/xlsx_writer.h"

namespace sheet {
namespace {

constexpr int kXlExcel8 = 56;
constexpr int kXlOpenXml = 51;
constexpr int kXlWorkbookNormal = -4143;

std::u16string Wide(const std::string& s) { return com::Utf8ToWide(s); }

std::string Lower(std::string s) {
  for (auto& c : s) c = char(std::tolower((unsigned char)c));
  return s;
}

// Paths arrive in Windows form: backslashes are separators.
std::string LocalPath(const std::u16string& fileName) {
  std::string p = com::WideToUtf8(fileName);
  for (auto& c : p)
    if (c == '\\') c = '/';
  return p;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  std::string tmp = path + ".tmp~";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) Fail(u"SaveAs: cannot write \"" + Wide(path) + u"\": " + Wide(std::strerror(errno)));
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int err = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      Fail(u"SaveAs: writing \"" + Wide(path) + u"\" failed: " + Wide(std::strerror(err)));
    }
    done += std::size_t(n);
  }
  if (::close(fd) != 0 || std::rename(tmp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    Fail(u"SaveAs: cannot write \"" + Wide(path) + u"\": " + Wide(std::strerror(err)));
  }
}

void WriteOpenXml(const Workbook& book, const std::string& path) {
  std::string tmp = path + ".tmp~";
  std::string error = WriteXlsx(book, tmp);
  if (!error.empty() || std::rename(tmp.c_str(), path.c_str()) != 0) {
    if (error.empty()) error = std::strerror(errno);
    ::unlink(tmp.c_str());
    Fail(u"SaveAs: cannot write \"" + Wide(path) + u"\": " + Wide(error));
  }
}

}  // namespace

void SaveWorkbook(AppState& app, Workbook& book, const std::u16string& fileName, int fileFormat) {
  if (fileFormat != 0 && fileFormat != kXlExcel8 && fileFormat != kXlOpenXml &&
      fileFormat != kXlWorkbookNormal)
    Fail(u"SaveAs: file format " + Wide(std::to_string(fileFormat)) +
         u" is not supported (51 Open XML, 56 Excel 97-2003)");
  std::string path = LocalPath(fileName);
  if (path.empty() || path.back() == '/') Fail(u"SaveAs: the file name is empty");
  std::filesystem::path p(path);
  std::string ext = Lower(p.extension().string());
  if (ext.empty()) {
    path += fileFormat == kXlExcel8 ? ".xls" : ".xlsx";
    ext = fileFormat == kXlExcel8 ? ".xls" : ".xlsx";
  }
  std::string misfit = Biff8Misfit(book);
  bool biff = fileFormat == kXlExcel8 || (fileFormat != kXlOpenXml && ext == ".xls" && misfit.empty());
  if (fileFormat == kXlExcel8 && !misfit.empty())
    Fail(u"SaveAs: the workbook does not fit the Excel 97-2003 format: " + Wide(misfit));
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (!ec) path = absolute.lexically_normal().string();
  if (biff) WriteFileAtomically(path, WriteXls(book));
  else WriteOpenXml(book, path);
  book.path = path;
  book.name = Wide(std::filesystem::path(path).filename().string());
  app.lastSavedPath = path;
}

}  // namespace sheet

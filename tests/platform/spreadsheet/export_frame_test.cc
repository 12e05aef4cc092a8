// The export frame driven through IDispatch exactly as the application's exports call it,
// saved as .xls and .xlsx and read back by xlrd and openpyxl.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "automation_client.h"
#include "spreadsheet/server.h"
#include "workbook_reader.h"

using test::Obj;
using test::Var;

namespace {

std::string shown;
void RecordOpen(const std::string& path) { shown = path; }

struct ColumnFormat {
  const char16_t* label;
  int width;
  const char16_t* format;
  int align;
};

// Steps of the export frame: workbook, one sheet, column formats, title, heading row, a few
// data rows, totals, save, show.
std::string RunMatrixFrame(const std::string& file, int fileFormat) {
  Obj excel = test::CreateSpreadsheet();
  Obj book = excel.Get(u"WORKBOOKS").Get(u"ADD");
  int sheets = int(excel.Get(u"SHEETS").Call(u"COUNT").Number());
  EXPECT_EQ(sheets, 3);
  for (int i = 1; i < sheets; ++i) excel.Get(u"WORKSHEETS", {1}).Call(u"DELETE");
  excel.Put(u"DisplayAlerts", false);
  Obj sheet = excel.Get(u"ActiveSheet");
  Obj window = excel.Get(u"ACTIVEWINDOW");
  sheet.Put(u"NAME", u"Excel-Test");
  sheet.Get(u"CELLS", {3, 1}).Call(u"SELECT");
  window.Put(u"FREEZEPANES", true);
  sheet.Get(u"CELLS").Get(u"FONT").Put(u"SIZE", 10);
  sheet.Get(u"CELLS").Get(u"FONT").Put(u"NAME", u"Arial");
  const ColumnFormat columns[] = {{u"ID_NR", 5, u"@", -4108}, {u"CUSTOMER", 12, u"@", -4131},
                                  {u"PRODUCT", 10, u"@", -4131}};
  for (int n = 1; n <= 3; ++n) {
    const ColumnFormat& c = columns[n - 1];
    sheet.Get(u"CELLS", {1, n}).Get(u"FONT").Put(u"SIZE", 9);
    sheet.Get(u"CELLS", {1, n}).Get(u"FONT").Put(u"BOLD", true);
    sheet.Get(u"CELLS", {1, n}).Put(u"VALUE", c.label);
    sheet.Get(u"COLUMNS", {n}).Put(u"HorizontalAlignment", c.align);
    sheet.Get(u"COLUMNS", {n}).Put(u"COLUMNWIDTH", c.width);
    sheet.Get(u"COLUMNS", {n}).Put(u"NumberFormat", c.format);
  }
  Obj border = sheet.Get(u"RANGE", {u"A1:C1"}).Get(u"BORDERS", {9});
  border.Put(u"LINESTYLE", 1);
  border.Put(u"WEIGHT", 2);
  border.Put(u"COLORINDEX", -4105);
  Obj title = sheet.Get(u"CELLS", {1, 1});
  title.Get(u"FONT").Put(u"SIZE", 12);
  title.Get(u"FONT").Put(u"BOLD", true);
  title.Put(u"VALUE", u"Matrix-Sample");
  title.Put(u"HORIZONTALALIGNMENT", -4131);
  sheet.Get(u"RANGE", {u"A1:D1"}).Call(u"MERGE");
  Obj heading = sheet.Get(u"RANGE", {u"A3:L3"});
  heading.Get(u"INTERIOR").Put(u"COLOR", 8388608);
  heading.Get(u"FONT").Put(u"COLOR", 16777215);
  heading.Get(u"FONT").Put(u"BOLD", true);
  heading.Get(u"FONT").Put(u"SIZE", 10);
  const char16_t* heads[] = {u"ID-NR", u"Kunde", u"Produkt 01", u"Produkt 02"};
  for (int c = 1; c <= 4; ++c) sheet.Get(u"CELLS", {3, c}).Put(u"VALUE", heads[c - 1]);
  // One data row: a number, a customer with an umlaut (code page 1252 text arrives as UTF-16),
  // a product; the first two cells bold red.
  sheet.Get(u"CELLS", {4, 1}).Put(u"VALUE", 4);
  sheet.Get(u"CELLS", {4, 2}).Put(u"VALUE", u"M\u00FCller & S\u00F6hne");
  sheet.Get(u"CELLS", {4, 3}).Put(u"VALUE", u"Program 01");
  sheet.Get(u"CELLS", {4, 4}).Put(u"VALUE", u"    12.50");  // STR() text in a General column
  for (int c = 1; c <= 2; ++c) {
    sheet.Get(u"CELLS", {4, c}).Get(u"FONT").Put(u"BOLD", true);
    sheet.Get(u"CELLS", {4, c}).Get(u"FONT").Put(u"COLOR", 255);
  }
  sheet.Get(u"CELLS", {6, 2}).Put(u"VALUE", u"Sold : ");
  sheet.Get(u"CELLS", {6, 3}).Put(u"VALUE", 2.5);
  sheet.Get(u"CELLS", {2, 1}).Call(u"SELECT");
  std::vector<Var> args = {Var(std::u16string(file.begin(), file.end()))};
  if (fileFormat) args.push_back(fileFormat);
  book.Call(u"SAVEAS", args);
  sheet::SetDesktopOpener(RecordOpen);
  excel.Put(u"VISIBLE", true);
  sheet::SetDesktopOpener(nullptr);
  return file;
}

std::string TempFile(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / "pv_spreadsheet_test";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// openpyxl reports the cells a merge covers with the anchor's border only, so their own
// formats are checked in the .xls file alone.
void ExpectFrameFacts(const std::set<std::string>& f, bool coveredCellsReadable) {
  EXPECT_TRUE(f.count("sheet 0 Excel-Test"));
  EXPECT_TRUE(test::Select(f, "sheet 1").empty());
  EXPECT_TRUE(f.count("cell 0 A1 text Matrix-Sample"));
  EXPECT_TRUE(test::Select(f, "cell 0 B1 ").empty()) << "the merge keeps only the first value";
  EXPECT_TRUE(f.count("merge 0 A1:D1"));
  EXPECT_TRUE(f.count("freeze 0 2 0"));
  EXPECT_TRUE(f.count("width 0 A 5.0"));
  EXPECT_TRUE(f.count("width 0 B 12.0"));
  EXPECT_TRUE(f.count("width 0 C 10.0"));
  EXPECT_TRUE(f.count("cell 0 A3 text ID-NR"));
  EXPECT_TRUE(f.count("cell 0 A4 number 4.0"));
  EXPECT_TRUE(f.count("cell 0 B4 text M\xC3\xBCller & S\xC3\xB6hne"));
  EXPECT_TRUE(f.count("cell 0 D4 number 12.5"));
  EXPECT_TRUE(f.count("cell 0 B6 text Sold : "));
  EXPECT_TRUE(f.count("cell 0 C6 number 2.5"));
  EXPECT_EQ(test::StyleOf(f, 0, "A1"),
            "style 0 A1 font=Arial,12,b1,i0,u0,auto fill=none h=left v=bottom "
            "border=none/none/none/thin:auto fmt=@");
  if (coveredCellsReadable) {
    EXPECT_EQ(test::StyleOf(f, 0, "C1"),
              "style 0 C1 font=Arial,9,b1,i0,u0,auto fill=none h=left v=bottom "
              "border=none/none/none/thin:auto fmt=@");
  }
  EXPECT_EQ(test::StyleOf(f, 0, "A3"),
            "style 0 A3 font=Arial,10,b1,i0,u0,FFFFFF fill=000080 h=center v=bottom "
            "border=none/none/none/none fmt=@");
  EXPECT_EQ(test::StyleOf(f, 0, "B4"),
            "style 0 B4 font=Arial,10,b1,i0,u0,FF0000 fill=none h=left v=bottom "
            "border=none/none/none/none fmt=@");
  EXPECT_EQ(test::StyleOf(f, 0, "L3"),
            "style 0 L3 font=Arial,10,b1,i0,u0,FFFFFF fill=000080 h=general v=bottom "
            "border=none/none/none/none fmt=General");
}

}  // namespace

TEST(ExportFrame, Biff8ReadBackByXlrd) {
  std::string path = RunMatrixFrame(TempFile("Matrix.xls"), 0);
  EXPECT_EQ(shown, path);
  auto facts = test::ReadBack(path);
  ExpectFrameFacts(facts, true);
  // BIFF8 files start with the compound-document signature.
  FILE* f = fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  unsigned char sig[8];
  ASSERT_EQ(fread(sig, 1, 8, f), 8u);
  fclose(f);
  EXPECT_EQ(sig[0], 0xD0);
  EXPECT_EQ(sig[7], 0xE1);
}

TEST(ExportFrame, OpenXmlReadBackByOpenpyxl) {
  std::string path = RunMatrixFrame(TempFile("Matrix.xlsx"), 0);
  ExpectFrameFacts(test::ReadBack(path), false);
}

TEST(ExportFrame, BothFormatsHoldTheSameValues) {
  auto xls = test::ReadBack(RunMatrixFrame(TempFile("Same.xls"), 56));
  auto xlsx = test::ReadBack(RunMatrixFrame(TempFile("Same.xls"), 51));  // 51 wins over ".xls"
  EXPECT_EQ(test::Select(xls, "cell "), test::Select(xlsx, "cell "));
  EXPECT_EQ(test::Select(xls, "merge "), test::Select(xlsx, "merge "));
  EXPECT_EQ(test::Select(xls, "freeze "), test::Select(xlsx, "freeze "));
}

TEST(ExportFrame, OpenedWorkbookSavesTheSameWorkbook) {
  std::string first = RunMatrixFrame(TempFile("First.xls"), 0);
  Obj excel = test::CreateSpreadsheet();
  Obj opened = excel.Get(u"Workbooks").Get(u"Open", {Var(std::u16string(first.begin(), first.end()))});
  EXPECT_EQ(opened.Call(u"Name").Text(), u"First.xls");
  EXPECT_EQ(excel.Get(u"ActiveSheet").Call(u"Name").Text(), u"Excel-Test");
  EXPECT_EQ(excel.Get(u"ActiveSheet").Get(u"Cells", {4, 2}).Call(u"Value").Text(), u"M\u00FCller & S\u00F6hne");
  std::string second = TempFile("Second.xls");
  opened.Call(u"SaveAs", {Var(std::u16string(second.begin(), second.end()))});
  EXPECT_EQ(test::ReadBack(first), test::ReadBack(second));
}

TEST(ExportFrame, DamagedFilesAreRefusedWithAMessage) {
  std::string good = RunMatrixFrame(TempFile("Good.xls"), 0);
  std::string bytes;
  {
    FILE* f = fopen(good.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char buf[65536];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    fclose(f);
  }
  Obj excel = test::CreateSpreadsheet();
  Obj books = excel.Get(u"Workbooks");
  std::string bad = TempFile("Bad.xls");
  std::u16string badName(bad.begin(), bad.end());
  unsigned seed = 7;
  int refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::string damaged = bytes;
    if (round % 3 == 0) {
      damaged.resize(seed % bytes.size());
    } else {
      for (int k = 0; k < 1 + round % 8; ++k) {
        seed = seed * 1103515245 + 12345;
        damaged[(seed >> 8) % damaged.size()] = char(seed >> 16);
      }
    }
    seed = seed * 1103515245 + 12345;
    FILE* f = fopen(bad.c_str(), "wb");
    fwrite(damaged.data(), 1, damaged.size(), f);
    fclose(f);
    Var result;
    test::Outcome o = books.TryCall(u"Open", {Var(badName)}, &result);
    ASSERT_TRUE(o.hr == com::S_OK || o.hr == com::DISP_E_EXCEPTION) << std::hex << o.hr;
    if (o.hr == com::DISP_E_EXCEPTION) {
      ++refused;
      EXPECT_NE(o.description.find(u"Workbooks.Open"), std::u16string::npos);
    }
  }
  EXPECT_GT(refused, 50);
  EXPECT_EQ(books.TryCall(u"Open", {Var(u"/no/such/file.xls")}).hr, com::DISP_E_EXCEPTION);
}

// With LibreOffice installed, its CSV conversion of both files shows the same values.
TEST(ExportFrame, LibreOfficeConvertsBothFormatsToTheSameCsv) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "LibreOffice is not installed";
  std::string dir = TempFile("csv");
  std::filesystem::create_directories(dir);
  std::string xls = RunMatrixFrame(dir + "/Book.xls", 0);
  std::string xlsx = RunMatrixFrame(dir + "/Book2.xlsx", 0);
  std::string convert = "cd '" + dir + "' && soffice --headless --convert-to csv Book.xls Book2.xlsx >/dev/null 2>&1";
  ASSERT_EQ(std::system(convert.c_str()), 0);
  auto slurp = [](const std::string& path) {
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    fclose(f);
    return text;
  };
  std::string a = slurp(dir + "/Book.csv"), b = slurp(dir + "/Book2.csv");
  EXPECT_FALSE(a.empty());
  EXPECT_EQ(a, b);
  EXPECT_NE(a.find("Matrix-Sample"), std::string::npos);
}

// Merges written row by row: one within a row below earlier rows, one over several rows (which
// keeps the whole sheet in memory), each with the text of its top-left cell and the cells
// around it; both formats give the same facts.
std::string MergedSheet(const std::string& file, const char16_t* laterMerge) {
  Obj excel = test::CreateSpreadsheet();
  Obj book = excel.Get(u"WORKBOOKS").Get(u"ADD");
  excel.Put(u"DisplayAlerts", false);
  Obj sheet = excel.Get(u"ActiveSheet");
  for (int r = 1; r <= 12; ++r)
    for (int c = 1; c <= 4; ++c) sheet.Get(u"CELLS", {r, c}).Put(u"VALUE", r * 10 + c);
  sheet.Get(u"RANGE", {u"B5:D5"}).Call(u"Merge");
  sheet.Get(u"CELLS", {5, 2}).Put(u"VALUE", u"five");
  sheet.Get(u"RANGE", {laterMerge}).Call(u"Merge");
  book.Call(u"SaveAs", {Var(std::u16string(file.begin(), file.end()))});
  book.Call(u"Close");
  return file;
}

TEST(ExportFrame, MergesWithinRowsAndOverRowsInBothFormats) {
  for (const char16_t* later : {u"A9:C9", u"A9:B11"}) {
    auto xls = test::ReadBack(MergedSheet(TempFile("Merged.xls"), later));
    auto xlsx = test::ReadBack(MergedSheet(TempFile("Merged.xlsx"), later));
    EXPECT_EQ(test::Select(xlsx, "merge "), test::Select(xls, "merge "));
    EXPECT_EQ(test::Select(xlsx, "merge ").size(), 2u);
    EXPECT_EQ(test::Select(xlsx, "cell "), test::Select(xls, "cell "));
    EXPECT_TRUE(xlsx.count("cell 0 B5 text five"));
    EXPECT_TRUE(xlsx.count("cell 0 D12 number 124.0"));
  }
}

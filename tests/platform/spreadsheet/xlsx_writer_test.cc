// Open XML workbooks written from the model and read back by openpyxl, cell by cell and font by
// font: every style feature, text XML must escape, a sheet longer than BIFF8 holds, random
// workbooks; the ZIP structure checked by python's zipfile; saves that fail leave no file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "automation_client.h"
#include "com/bstr.h"
#include "model/workbook.h"
#include "workbook_reader.h"
#include "xlsx/xlsx_writer.h"

namespace {

using sheet::CellStyle;
using sheet::Workbook;
using sheet::Worksheet;

// A fresh folder under /tmp, removed with everything in it at the end of the scope.
struct ScratchDir {
  ScratchDir() {
    char pattern[] = "/tmp/pv_xlsx_XXXXXX";
    path = mkdtemp(pattern);
  }
  ~ScratchDir() { std::filesystem::remove_all(path); }
  std::string path;
};

std::string Hex(std::int32_t c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return buf;
}

std::string Color(std::int32_t c) { return c == sheet::kAutoColor ? "auto" : Hex(c); }

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string Name(int r, int c) { return com::WideToUtf8(sheet::ColumnLetters(c)) + std::to_string(r + 1); }

const char* const kBorderNames[] = {"none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair",
                                    "mediumDashed", "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot",
                                    "slantDashDot"};
const char* const kHorizontal[] = {"general", "left", "center", "right", "fill", "justify", "centerContinuous", "distributed"};
const char* const kVertical[] = {"top", "center", "bottom", "justify", "distributed"};

// The reader's "style" line of a cell in style `s`.
std::string StyleLine(int si, const std::string& ref, const CellStyle& s) {
  std::string line = "style " + std::to_string(si) + " " + ref + " font=" + com::WideToUtf8(s.font.name) + "," +
                     Number(s.font.size) + ",b" + (s.font.bold ? "1" : "0") + ",i" + (s.font.italic ? "1" : "0") +
                     ",u" + (s.font.underline ? "1" : "0") + "," + Color(s.font.color) + " fill=" +
                     (s.filled ? Hex(s.fillColor == sheet::kAutoColor ? 0xFFFFFF : s.fillColor) : "none") +
                     " h=" + kHorizontal[int(s.halign)] + " v=" + kVertical[int(s.valign)] + " border=";
  for (int e = 0; e < sheet::kEdgeCount; ++e) {
    const sheet::BorderLine& b = s.border[e];
    line += std::string(e ? "/" : "") + kBorderNames[b.style] + (b.style ? ":" + Color(b.color) : "");
  }
  return line + " fmt=" + com::WideToUtf8(s.numberFormat);
}

std::string DetailLine(int si, const std::string& ref, const CellStyle& s) {
  const char* u = "none";
  if (s.font.underline == 1) u = "single";
  if (s.font.underline == 2) u = "double";
  if (s.font.underline == 0x21) u = "singleAccounting";
  if (s.font.underline == 0x22) u = "doubleAccounting";
  return "detail " + std::to_string(si) + " " + ref + " strike=" + (s.font.strike ? "1" : "0") + " u=" + u +
         " wrap=" + (s.wrap ? "1" : "0");
}

std::string HexBytes(const std::string& s) {
  std::string out;
  char buf[3];
  for (unsigned char c : s) {
    std::snprintf(buf, sizeof buf, "%02x", c);
    out += buf;
  }
  return out;
}

// A text as openpyxl 3.0 shows it: it leaves Excel's _xHHHH_ escapes of the characters XML
// cannot hold in place (and only drops the _x005F_ escape of an underscore).
std::string ReaderText(std::u16string_view text) {
  std::u16string shown;
  for (char16_t c : text) {
    if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "_x%04X_", unsigned(c));
      shown.append(buf, buf + 7);
    } else {
      shown += c;
    }
  }
  return com::WideToUtf8(shown);
}

// Every cell of the model's sheets against what the reader found: value, font, fill,
// alignment, borders, number format. The formats of merged cells are skipped (openpyxl moves
// borders between the cells of a merge).
void ExpectCellsReadBack(const Workbook& book, const std::set<std::string>& facts) {
  for (std::size_t si = 0; si < book.sheets.size(); ++si) {
    const Worksheet& ws = *book.sheets[si];
    std::string sheetNo = std::to_string(si);
    for (std::size_t r = 0; r < ws.Rows().size(); ++r) {
      const auto& cells = ws.Rows()[r].cells;
      for (std::size_t c = 0; c < cells.size(); ++c) {
        const sheet::CellRect* m = ws.MergeAt(int(r), int(c));
        if (m && (m->r1 != int(r) || m->c1 != int(c))) continue;
        std::string ref = Name(int(r), int(c));
        const sheet::Cell& cell = cells[c];
        const CellStyle& style = book.styles.Get(cell.style);
        if (!m) {
          EXPECT_TRUE(facts.count(StyleLine(int(si), ref, style))) << StyleLine(int(si), ref, style);
          EXPECT_TRUE(facts.count(DetailLine(int(si), ref, style))) << DetailLine(int(si), ref, style);
        }
        std::string prefix = "cell " + sheetNo + " " + ref + " ";
        auto found = test::Select(facts, prefix);
        switch (cell.kind) {
          case sheet::CellKind::kEmpty: EXPECT_TRUE(found.empty()) << ref; break;
          case sheet::CellKind::kBool:
            EXPECT_TRUE(facts.count(prefix + "bool " + (cell.flag ? "True" : "False"))) << ref;
            break;
          case sheet::CellKind::kNumber:
            ASSERT_EQ(found.size(), 1u) << ref;
            EXPECT_EQ(std::strtod(found.begin()->c_str() + prefix.size() + 7, nullptr), cell.number) << *found.begin();
            break;
          case sheet::CellKind::kText: {
            std::string utf8 = ReaderText(book.strings.Get(cell.text));
            EXPECT_TRUE(facts.count("utf8 " + sheetNo + " " + ref + " " + HexBytes(utf8))) << ref << " " << utf8;
            break;
          }
        }
      }
    }
  }
}

// Sets a style edit over a rectangle.
void Style(Worksheet& ws, sheet::CellRect rect, const std::function<void(CellStyle&)>& edit) {
  ws.EditStyle(rect, [&](CellStyle& s, int, int) { edit(s); });
}

int RunPython(const std::string& code, const std::string& path) {
  std::string command = "/usr/bin/python3 -c '" + code + "' '" + path + "'";
  return std::system(command.c_str());
}

// A workbook with each style feature on cells of its own.
void FillStyleSheet(Workbook& book) {
  Worksheet& ws = *book.AddSheet(0, u"\u00DCbersicht \u03A3");
  ws.SetNumber(0, 0, 3.25);
  Style(ws, sheet::SingleCell(0, 0), [](CellStyle& s) {
    s.font = {u"Courier New", 14, true, true, true, 1, 255};
  });
  const std::uint8_t underlines[] = {2, 0x21, 0x22};
  for (int i = 0; i < 3; ++i) {
    ws.SetText(1 + i, 0, u"underlined");
    Style(ws, sheet::SingleCell(1 + i, 0), [&](CellStyle& s) {
      s.font.underline = underlines[i];
      s.font.color = 0x563412;
      s.font.size = 9.5;
    });
  }
  for (int h = 1; h <= 7; ++h) {
    ws.SetText(h - 1, 1, u"h");
    Style(ws, sheet::SingleCell(h - 1, 1), [&](CellStyle& s) { s.halign = sheet::HAlign(h); });
  }
  for (int v : {0, 1, 3, 4}) {
    ws.SetText(v, 2, u"v");
    Style(ws, sheet::SingleCell(v, 2), [&](CellStyle& s) {
      s.valign = sheet::VAlign(v);
      s.wrap = true;
    });
  }
  ws.SetNumber(0, 3, 1);
  Style(ws, sheet::SingleCell(0, 3), [](CellStyle& s) {
    s.filled = true;
    s.fillColor = 0x00FFCC;
  });
  ws.SetNumber(1, 3, 2);
  Style(ws, sheet::SingleCell(1, 3), [](CellStyle& s) { s.filled = true; });
  for (int code = 1; code <= 13; ++code) {
    ws.SetNumber(code - 1, 4, code);
    Style(ws, sheet::SingleCell(code - 1, 4), [&](CellStyle& s) {
      s.border[sheet::kLeft] = {std::uint8_t(code), sheet::kAutoColor};
      s.border[sheet::kRight] = {std::uint8_t(14 - code), 0x0000FF};
      s.border[sheet::kTop] = {std::uint8_t(code % 7), 0x00FF00};
      s.border[sheet::kBottom] = {std::uint8_t(code), 0x123456};
    });
  }
  // (No date formats: openpyxl reads their numbers as dates.)
  const char16_t* formats[] = {u"0.00", u"#,##0.00 \u20AC", u"@", u"0.0 \"kg\"", u"0.000%", u"# ?/?", u"[Red]0;\"<&>\""};
  for (int i = 0; i < 7; ++i) {
    ws.SetNumber(i, 5, 1234.5678 * (i + 1));
    Style(ws, sheet::SingleCell(i, 5), [&](CellStyle& s) { s.numberFormat = formats[i]; });
  }
  ws.SetBool(0, 6, true);
  ws.SetBool(1, 6, false);
  Style(ws, sheet::SingleCell(2, 6), [](CellStyle& s) { s.font.italic = true; });  // a formatted blank
  const double numbers[] = {0.1, 1e300, -1e-300, 123456789012345678.0, -0.5, 1e15, 4.35, 2.5e-7};
  for (int i = 0; i < 8; ++i) ws.SetNumber(3 + i, 6, numbers[i]);
  // Columns: a width, a hidden column, a formatted column; rows: a height, hidden, formatted.
  ws.SetColumnWidth(0, 0, 20);
  ws.SetColumnWidth(8, 8, 0);
  Style(ws, {0, 9, sheet::kMaxRows - 1, 9}, [](CellStyle& s) { s.font.bold = true; });
  ws.SetNumber(14, 9, 7);
  ws.SetRowHeight(15, 15, 30);
  ws.SetRowHeight(16, 16, 0);
  ws.SetNumber(17, 0, 8);
  Style(ws, {17, 0, 17, sheet::kMaxCols - 1}, [](CellStyle& s) { s.font.name = u"Times New Roman"; });
  // Merges over several rows and within one row, the anchors bordered.
  ws.SetText(19, 0, u"merged");
  Style(ws, sheet::SingleCell(19, 0), [](CellStyle& s) { s.border[sheet::kBottom].style = 2; });
  ws.Merge({19, 0, 21, 2});
  ws.SetText(19, 3, u"row merge");
  ws.Merge({19, 3, 19, 4});
  ws.frozenRows = 2;
  ws.frozenCols = 1;
  ws.activeRow = 2;
  ws.activeCol = 1;
  ws.selection = {2, 1, 4, 2};
}

// A second sheet formatted as a whole, frozen in rows only, its active cell inside the selection.
void FillFormattedSheet(Workbook& book) {
  Worksheet& ws = *book.AddSheet(1, u"Zweite");
  Style(ws, sheet::WholeSheet(), [](CellStyle& s) {
    s.font.name = u"Verdana";
    s.font.size = 8;
  });
  ws.SetColumnWidth(2, 2, 15);
  ws.SetText(0, 0, u"x");
  ws.SetNumber(1, 3, 5);
  ws.frozenRows = 1;
  ws.activeRow = 3;
  ws.activeCol = 3;
  ws.selection = {1, 1, 4, 4};
  book.activeSheet = 1;
}

TEST(XlsxWriter, EveryStyleFeatureReadsBack) {
  Workbook book;
  FillStyleSheet(book);
  FillFormattedSheet(book);
  ScratchDir dir;
  std::string path = dir.path + "/Styles.xlsx";
  ASSERT_EQ(sheet::WriteXlsx(book, path), "");
  auto f = test::ReadBack(path);
  ExpectCellsReadBack(book, f);
  EXPECT_TRUE(f.count("sheet 0 \xC3\x9C" "bersicht \xCE\xA3"));
  EXPECT_TRUE(f.count("sheet 1 Zweite"));
  EXPECT_TRUE(f.count("active 1"));
  EXPECT_TRUE(f.count("merge 0 A20:C22"));
  EXPECT_TRUE(f.count("merge 0 D20:E20"));
  EXPECT_TRUE(f.count("freeze 0 2 1"));
  EXPECT_TRUE(f.count("freeze 1 1 0"));
  EXPECT_TRUE(f.count("view 0 selected=0 active=B3 sqref=B3:C5"));
  EXPECT_TRUE(f.count("view 1 selected=1 active=D4 sqref=D4"));
  EXPECT_TRUE(f.count("width 0 A 20.0"));
  EXPECT_TRUE(f.count("column 0 I width=-0.7 hidden=1 style=none"));
  EXPECT_TRUE(test::Select(f, "column 0 J width=8.4 hidden=0 style=Arial,10,b1,").size() == 1);
  EXPECT_TRUE(f.count("row 0 16 height=30 hidden=0 style=none"));
  EXPECT_TRUE(test::Select(f, "row 0 17 height=default hidden=1").size() == 1);
  EXPECT_TRUE(f.count("row 0 18 height=default hidden=0 style=Times New Roman,10,b0,i0,auto,fill=none,fmt=General"));
  // The sheet's own format over the columns left alone, beside the one given a width.
  EXPECT_TRUE(f.count("column 1 A width=8.4 hidden=0 style=Verdana,8,b0,i0,auto,fill=none,fmt=General"));
  EXPECT_TRUE(f.count("column 1 C width=15.0 hidden=0 style=Verdana,8,b0,i0,auto,fill=none,fmt=General"));
  EXPECT_TRUE(f.count("column 1 D width=8.4 hidden=0 style=Verdana,8,b0,i0,auto,fill=none,fmt=General"));
}

TEST(XlsxWriter, ArchivePassesZipfileChecks) {
  Workbook book;
  FillStyleSheet(book);
  ScratchDir dir;
  std::string path = dir.path + "/Zip.xlsx";
  ASSERT_EQ(sheet::WriteXlsx(book, path), "");
  const char* check =
      "import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "assert z.testzip() is None\n"
      "names = z.namelist()\n"
      "for part in (\"[Content_Types].xml\", \"_rels/.rels\", \"docProps/app.xml\", \"docProps/core.xml\",\n"
      "             \"xl/workbook.xml\", \"xl/_rels/workbook.xml.rels\", \"xl/styles.xml\",\n"
      "             \"xl/worksheets/sheet1.xml\", \"xl/sharedStrings.xml\"):\n"
      "    assert part in names, part\n"
      "assert len(names) == len(set(names))\n"
      "assert all(i.compress_type == zipfile.ZIP_DEFLATED for i in z.infolist())\n";
  EXPECT_EQ(RunPython(check, path), 0);
}

TEST(XlsxWriter, TextRoundTrips) {
  Workbook book;
  Worksheet& ws = *book.AddSheet(0, u"Text & <more>");
  const std::u16string texts[] = {
      u"& < > \" ' &amp;", u"tab\tline\nreturn\rend", std::u16string(u"nul\0bell\u0007esc\u001B", 13),
      u"_x0041_ stays literal, _x00_ too", u"  leading and trailing  ", u"\u00E4\u00F6\u00FC\u00DF \u20AC",
      u"\u041F\u0440\u0438\u0432\u0435\u0442 \u4F60\u597D \U0001F600", u"\uFFFE\uFFFF", u""};
  int r = 0;
  for (const auto& t : texts) ws.SetText(r++, 0, t);
  ScratchDir dir;
  std::string path = dir.path + "/Text.xlsx";
  ASSERT_EQ(sheet::WriteXlsx(book, path), "");
  auto f = test::ReadBack(path);
  EXPECT_TRUE(f.count("sheet 0 Text & <more>"));
  ExpectCellsReadBack(book, f);
  // Every text exactly, its escapes undone as Excel does, from the shared strings part.
  const char* decode =
      "import re, sys, zipfile\n"
      "import xml.etree.ElementTree as ET\n"
      "ns = \"{http://schemas.openxmlformats.org/spreadsheetml/2006/main}\"\n"
      "root = ET.fromstring(zipfile.ZipFile(sys.argv[1]).read(\"xl/sharedStrings.xml\"))\n"
      "for si in root.iter(ns + \"si\"):\n"
      "    t = \"\".join(x.text or \"\" for x in si.iter(ns + \"t\"))\n"
      "    t = re.sub(\"_x([0-9A-Fa-f]{4})_\", lambda m: chr(int(m.group(1), 16)), t)\n"
      "    print(t.encode(\"utf-16-le\", \"surrogatepass\").hex())\n";
  std::string command = "/usr/bin/python3 -c '" + std::string(decode) + "' " + path;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[1024];
  std::uint32_t id = 0;
  for (; fgets(line, sizeof line, pipe); ++id) {
    ASSERT_LT(id, book.strings.Size());
    std::u16string_view text = book.strings.Get(id);
    std::string hex;
    for (char16_t c : text) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%02x%02x", unsigned(c & 0xFF), unsigned(c >> 8));
      hex += buf;
    }
    EXPECT_EQ(std::string(line), hex + "\n") << id;
  }
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(id, book.strings.Size());
}

TEST(XlsxWriter, SheetLongerThanBiff8Streams) {
  Workbook book;
  Worksheet& ws = *book.AddSheet(0, u"Long");
  const int kRows = 70000;
  for (int r = 0; r < kRows; ++r) {
    ws.SetNumber(r, 0, r * 1.5);
    ws.SetText(r, 1, r % 2 ? u"odd" : u"even");
  }
  ScratchDir dir;
  std::string path = dir.path + "/Long.xlsx";
  ASSERT_EQ(sheet::WriteXlsx(book, path), "");
  const char* check =
      "import sys, openpyxl\n"
      "ws = openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0]\n"
      "n = 0\n"
      "for row in ws.iter_rows(values_only=True):\n"
      "    assert row[0] == n * 1.5 and row[1] == (\"odd\" if n % 2 else \"even\"), (n, row)\n"
      "    n += 1\n"
      "assert n == 70000, n\n";
  EXPECT_EQ(RunPython(check, path), 0);
}

TEST(XlsxWriter, RandomWorkbooksReadBack) {
  std::mt19937 rng(20261207);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const std::u16string texts[] = {u"a", u"<&>", u"x\ny", u" pad ", u"\u20AC", u"_x0020_", u"\u0001"};
  const char16_t* fonts[] = {u"Arial", u"Courier New", u"Tahoma"};
  const char16_t* formats[] = {u"General", u"0.00", u"@", u"#,##0", u"0.0%"};
  for (int round = 0; round < 6; ++round) {
    Workbook book;
    for (int s = 0; s <= pick(3); ++s) {
      Worksheet& ws = *book.AddSheet(s, u"S" + std::u16string(1, char16_t(u'0' + s)));
      for (int i = 0; i < 200; ++i) {
        int r = pick(40), c = pick(12);
        switch (pick(9)) {
          case 0: ws.SetNumber(r, c, std::uniform_real_distribution<double>(-1e6, 1e6)(rng)); break;
          case 1: ws.SetNumber(r, c, pick(1000)); break;
          case 2: ws.SetText(r, c, texts[pick(7)]); break;
          case 3: ws.SetBool(r, c, pick(2)); break;
          case 4: ws.SetColumnWidth(c, c, pick(30)); break;
          case 5: ws.SetRowHeight(r, r, pick(40)); break;
          case 6: {
            int r2 = r + pick(3), c2 = c + pick(3);
            if (r2 != r || c2 != c) ws.Merge({r, c, r2, c2});
            break;
          }
          default: {
            sheet::CellRect rect = pick(5) ? sheet::CellRect{r, c, r + pick(3), c + pick(3)}
                                           : pick(2) ? sheet::CellRect{0, c, sheet::kMaxRows - 1, c}
                                                     : sheet::CellRect{r, 0, r, sheet::kMaxCols - 1};
            int what = pick(6), value = pick(1000);
            Style(ws, rect, [&](CellStyle& st) {
              if (what == 0) st.font.name = fonts[value % 3];
              if (what == 1) st.font.bold = value % 2;
              if (what == 2) st.font.color = value * 16411;
              if (what == 3) st.filled = true, st.fillColor = value * 9973;
              if (what == 4) st.border[value % 4] = {std::uint8_t(value % 14), value % 2 ? sheet::kAutoColor : value};
              if (what == 5) st.numberFormat = formats[value % 5];
            });
          }
        }
      }
      ws.frozenRows = pick(3);
      ws.frozenCols = pick(3);
      ws.activeRow = ws.selection.r1 = ws.selection.r2 = pick(40);
      ws.activeCol = ws.selection.c1 = ws.selection.c2 = pick(12);
    }
    book.activeSheet = pick(int(book.sheets.size()));
    ScratchDir dir;
    std::string path = dir.path + "/Random.xlsx";
    ASSERT_EQ(sheet::WriteXlsx(book, path), "");
    auto f = test::ReadBack(path);
    ExpectCellsReadBack(book, f);
    EXPECT_TRUE(f.count("active " + std::to_string(book.activeSheet)));
    for (std::size_t si = 0; si < book.sheets.size(); ++si)
      for (const auto& m : book.sheets[si]->Merges())
        EXPECT_TRUE(f.count("merge " + std::to_string(si) + " " + Name(m.r1, m.c1) + ":" + Name(m.r2, m.c2)));
  }
}

// SaveAs through the server, of a workbook of incompressible numbers.
test::Outcome SaveLargeBook(const std::string& path) {
  test::Obj excel = test::CreateSpreadsheet();
  test::Obj book = excel.Get(u"Workbooks").Get(u"Add");
  test::Obj sheet = excel.Get(u"ActiveSheet");
  std::mt19937 rng(7);
  for (int r = 1; r <= 3000; ++r)
    for (int c = 1; c <= 4; ++c) sheet.Get(u"Cells", {r, c}).Put(u"Value", double(rng()) / 7.0);
  test::Outcome o = book.TryCall(u"SaveAs", {std::u16string(path.begin(), path.end())});
  excel.Put(u"DisplayAlerts", false);
  book.Call(u"Close", {false});
  return o;
}

TEST(XlsxWriter, FailedSaveLeavesNoFileAndKeepsTheOldOne) {
  ScratchDir scratch;
  std::string dir = scratch.path;
  std::string path = dir + "/Book.xlsx";
  ASSERT_EQ(SaveLargeBook(path).hr, com::S_OK);
  auto before = std::filesystem::file_size(path);
  // The file system refuses the write past 64 KB (the limit also stops root).
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  test::Outcome failed = SaveLargeBook(path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(failed.hr, com::DISP_E_EXCEPTION);
  EXPECT_NE(failed.description.find(u"cannot write"), std::u16string::npos) << test::Utf8(failed.description);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp~"));
  EXPECT_EQ(std::filesystem::file_size(path), before);
  EXPECT_EQ(RunPython("import sys, zipfile; assert zipfile.ZipFile(sys.argv[1]).testzip() is None", path), 0);
  // A folder without write permission (for anyone but root).
  std::string locked = dir + "/locked";
  std::filesystem::create_directory(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (geteuid() != 0) {
    EXPECT_EQ(SaveLargeBook(locked + "/Book.xlsx").hr, com::DISP_E_EXCEPTION);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
  }
  std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

}  // namespace

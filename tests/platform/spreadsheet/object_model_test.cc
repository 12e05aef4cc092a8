// The spreadsheet's object model through IDispatch: collections, sheets, ranges, values,
// formats, windows, and the statuses of refused calls.
#include <gtest/gtest.h>

#include <filesystem>

#include "automation_client.h"
#include "com/com.h"
#include "spreadsheet/server.h"
#include "workbook_reader.h"

using test::Obj;
using test::Outcome;
using test::Var;

namespace {

class ObjectModel : public ::testing::Test {
 protected:
  void SetUp() override {
    excel = test::CreateSpreadsheet();
    book = excel.Get(u"Workbooks").Get(u"Add");
    sheet = excel.Get(u"ActiveSheet");
  }
  Obj Cell(int r, int c) const { return sheet.Get(u"Cells", {r, c}); }
  Obj excel, book, sheet;
};

std::string TempDir() {
  auto dir = std::filesystem::temp_directory_path() / "pv_spreadsheet_model";
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace

TEST_F(ObjectModel, NewWorkbookHasThreeSheetsAndDeletingMovesTheOthersUp) {
  Obj sheets = excel.Get(u"Sheets");
  EXPECT_EQ(sheets.Call(u"Count").Number(), 3);
  EXPECT_EQ(excel.Get(u"Worksheets", {2}).Call(u"Name").Text(), u"Sheet2");
  excel.Get(u"Worksheets", {1}).Call(u"Delete");
  EXPECT_EQ(sheets.Call(u"Count").Number(), 2);
  EXPECT_EQ(excel.Get(u"Worksheets", {1}).Call(u"Name").Text(), u"Sheet2");
  EXPECT_EQ(sheets.Get(u"Item", {u"sheet3"}).Call(u"Index").Number(), 2);
  excel.Get(u"Worksheets", {1}).Call(u"Delete");
  Outcome o = excel.Get(u"Worksheets", {1}).TryCall(u"Delete");
  EXPECT_EQ(o.hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(o.source, u"Excel.Application");
  EXPECT_NE(o.description.find(u"only sheet"), std::u16string::npos);
  EXPECT_EQ(excel.Get(u"ActiveSheet").Call(u"Name").Text(), u"Sheet3");
  // A deleted sheet's object refuses further calls instead of touching freed data.
  Outcome stale = sheet.TryCall(u"Name");
  EXPECT_EQ(stale.hr, com::DISP_E_EXCEPTION);
  Var none;
  EXPECT_EQ(sheets.TryCall(u"Item", {9}, &none).hr, com::DISP_E_BADINDEX);
}

TEST_F(ObjectModel, NamesAreCaseInsensitiveAndStatusesFollowAutomation) {
  EXPECT_EQ(excel.TryCall(u"wOrKbOoKs").hr, com::S_OK);
  EXPECT_EQ(excel.TryCall(u"NoSuchMember").hr, com::DISP_E_UNKNOWNNAME);
  // Count is a property: a method call is the wrong kind, the bridge's get then succeeds.
  Var r;
  Obj sheets = excel.Get(u"Sheets");
  EXPECT_EQ(sheets.Invoke(u"Count", com::DISPATCH_METHOD, {}, &r).hr, com::DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(sheets.Invoke(u"Count", com::DISPATCH_PROPERTYGET, {}, &r).hr, com::S_OK);
  EXPECT_EQ(sheets.TryPut(u"Count", 5).hr, com::DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Cell(1, 1).Invoke(u"Select", com::DISPATCH_METHOD, {1, 2, 3}, nullptr).hr,
            com::DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(sheet.TryPut(u"Name", u"bad[name]").hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(sheet.TryPut(u"Name", u"SHEET2").hr, com::DISP_E_EXCEPTION);  // taken, ignoring case
  EXPECT_EQ(Cell(1, 1).TryPut(u"ColumnWidth", u"wide").hr, com::DISP_E_TYPEMISMATCH);
}

TEST_F(ObjectModel, RefusedAddressesAndPositions) {
  Outcome o = sheet.TryCall(u"Range", {u"A1:"});
  EXPECT_EQ(o.hr, com::DISP_E_EXCEPTION);
  EXPECT_NE(o.description.find(u"not a valid cell address"), std::u16string::npos);
  EXPECT_EQ(sheet.TryCall(u"Range", {u"XFE1"}).hr, com::DISP_E_EXCEPTION);
  o = sheet.TryCall(u"Cells", {0, 1});
  EXPECT_EQ(o.hr, com::DISP_E_EXCEPTION);
  EXPECT_NE(o.description.find(u"outside the worksheet"), std::u16string::npos);
  EXPECT_EQ(sheet.TryCall(u"Cells", {1048577, 1}).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(sheet.TryCall(u"Cells", {1, 16385}).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(sheet.Get(u"Cells", {1048576, 16384}).Call(u"Address").Text(), u"$XFD$1048576");
  EXPECT_EQ(sheet.Get(u"Cells", {2, u"c"}).Call(u"Address").Text(), u"$C$2");
  EXPECT_EQ(sheet.Get(u"Range", {u"b2:$D$5"}).Get(u"Cells", {2, 2}).Call(u"Address").Text(), u"$C$3");
  EXPECT_EQ(sheet.Get(u"Columns", {u"B:C"}).Call(u"Address").Text(), u"$B:$C");
  EXPECT_EQ(sheet.Get(u"Range", {u"A1:D1"}).Call(u"Count").Number(), 4);
  Obj corner = sheet.Get(u"Range", {sheet.Call(u"Cells", {2, 2}), sheet.Call(u"Cells", {4, 3})});
  EXPECT_EQ(corner.Call(u"Address").Text(), u"$B$2:$C$4");
}

TEST_F(ObjectModel, ValuesOfCellsAndAreas) {
  Cell(1, 1).Put(u"Value", 42);
  Cell(1, 2).Put(u"Value", u"text");
  Cell(2, 1).Put(u"Value", true);
  Cell(2, 2).Put(u"Value", u" 1.5e3 ");  // General cells read numbers in text
  Var date;
  date.raw().vt = com::VT_DATE;
  date.raw().date = 36526.0;
  Cell(3, 1).Put(u"Value", date);
  Cell(3, 2).Put(u"Value", Var::Null());  // an empty date clears the cell
  EXPECT_EQ(Cell(3, 1).Call(u"NumberFormat").Text(), u"m/d/yyyy");
  Var area = sheet.Get(u"Range", {u"A1:B3"}).Call(u"Value");
  ASSERT_EQ(area.vt(), com::VT_ARRAY | com::VT_VARIANT);
  com::SAFEARRAY* psa = area.raw().parray;
  ASSERT_EQ(com::SafeArrayGetDim(psa), 2u);
  com::LONG lo, hi;
  com::SafeArrayGetLBound(psa, 1, &lo);
  com::SafeArrayGetUBound(psa, 1, &hi);
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);
  com::LONG idx[2] = {1, 2};
  com::VARIANT e;
  ASSERT_EQ(com::SafeArrayGetElement(psa, idx, &e), com::S_OK);
  EXPECT_EQ(com::BstrView(e.bstrVal), u"text");
  com::VariantClear(&e);
  idx[0] = 2;
  com::SafeArrayGetElement(psa, idx, &e);
  EXPECT_EQ(e.vt, com::VT_R8);
  EXPECT_EQ(e.dblVal, 1500);
  idx[1] = 1;
  com::SafeArrayGetElement(psa, idx, &e);
  EXPECT_EQ(e.vt, com::VT_BOOL);
  idx[0] = 3;
  idx[1] = 2;
  com::SafeArrayGetElement(psa, idx, &e);
  EXPECT_EQ(e.vt, com::VT_EMPTY);
  // The array goes back in one put, shifted one row down.
  sheet.Get(u"Range", {u"A5:B7"}).Put(u"Value", area);
  EXPECT_EQ(Cell(5, 2).Call(u"Value").Text(), u"text");
  EXPECT_EQ(Cell(7, 1).Call(u"Value").Number(), 36526.0);
  // Text cells keep number-like text.
  sheet.Get(u"Columns", {4}).Put(u"NumberFormat", u"@");
  Cell(1, 4).Put(u"Value", u"   12.50");
  EXPECT_EQ(Cell(1, 4).Call(u"Value").Text(), u"   12.50");
  // Objects and error values are not cell values; overlong text is refused.
  EXPECT_EQ(Cell(1, 1).TryPut(u"Value", Var::Adopt([&] {
              com::VARIANT v;
              v.vt = com::VT_DISPATCH;
              v.pdispVal = sheet.get();
              sheet.get()->AddRef();
              return v;
            }())).hr, com::DISP_E_TYPEMISMATCH);
  EXPECT_EQ(Cell(1, 1).TryPut(u"Value", std::u16string(32768, u'x')).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(Cell(1, 1).Call(u"Value").Number(), 42);
}

TEST_F(ObjectModel, ByReferenceArgumentsAreFollowed) {
  double d = 7.25;
  Var ref;
  ref.raw().vt = com::VT_R8 | com::VT_BYREF;
  ref.raw().pdblVal = &d;
  Cell(1, 1).Put(u"Value", ref);
  com::LONG row = 2;
  Var rowRef;
  rowRef.raw().vt = com::VT_I4 | com::VT_BYREF;
  rowRef.raw().plVal = &row;
  EXPECT_EQ(sheet.Get(u"Cells", {rowRef, 1}).Call(u"Row").Number(), 2);
  EXPECT_EQ(Cell(1, 1).Call(u"Value").Number(), 7.25);
}

TEST_F(ObjectModel, MergeKeepsTheTopLeftValue) {
  Cell(1, 1).Put(u"Value", u"keep");
  Cell(1, 2).Put(u"Value", u"lost");
  Obj r = sheet.Get(u"Range", {u"A1:C2"});
  r.Call(u"Merge");
  EXPECT_TRUE(r.Call(u"MergeCells").Bool());
  EXPECT_EQ(Cell(1, 2).Call(u"Value").vt(), com::VT_EMPTY);
  EXPECT_EQ(Cell(1, 1).Call(u"Value").Text(), u"keep");
  EXPECT_EQ(sheet.Get(u"Range", {u"A1:D4"}).Call(u"MergeCells").vt(), com::VT_NULL);
  r.Call(u"UnMerge");
  EXPECT_FALSE(r.Call(u"MergeCells").Bool());
}

TEST_F(ObjectModel, FreezePanesFreezesAboveAndLeftOfTheActiveCell) {
  Obj window = excel.Get(u"ActiveWindow");
  Cell(3, 2).Call(u"Select");
  window.Put(u"FreezePanes", true);
  EXPECT_TRUE(window.Call(u"FreezePanes").Bool());
  EXPECT_EQ(window.Call(u"SplitRow").Number(), 2);
  EXPECT_EQ(window.Call(u"SplitColumn").Number(), 1);
  window.Put(u"FreezePanes", false);
  EXPECT_EQ(window.Call(u"SplitRow").Number(), 0);
}

TEST_F(ObjectModel, FormatsReadBackWithNullForMixedRanges) {
  Obj font = Cell(1, 1).Get(u"Font");
  font.Put(u"Bold", true);
  font.Put(u"ColorIndex", 3);
  EXPECT_EQ(font.Call(u"Color").Number(), 255);
  EXPECT_EQ(font.Call(u"ColorIndex").Number(), 3);
  EXPECT_EQ(sheet.Get(u"Range", {u"A1:B1"}).Get(u"Font").Call(u"Bold").vt(), com::VT_NULL);
  Obj border = sheet.Get(u"Range", {u"A1:B2"}).Get(u"Borders", {9});
  border.Put(u"LineStyle", 1);
  border.Put(u"Weight", -4138);
  EXPECT_EQ(Cell(2, 1).Get(u"Borders", {9}).Call(u"Weight").Number(), -4138);
  EXPECT_EQ(Cell(1, 1).Get(u"Borders", {9}).Call(u"LineStyle").Number(), -4142);
  EXPECT_EQ(Cell(1, 1).Get(u"Interior").TryPut(u"ColorIndex", 57).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(Cell(1, 1).TryPut(u"HorizontalAlignment", 99).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(Cell(1, 1).Get(u"Borders").TryCall(u"Item", {5}).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(sheet.Get(u"Columns", {2}).Call(u"ColumnWidth").Number(), 8.43);
  sheet.Get(u"Columns", {2}).Put(u"ColumnWidth", 20);
  EXPECT_EQ(Cell(9, 2).Call(u"ColumnWidth").Number(), 20);
  EXPECT_EQ(Cell(1, 1).TryPut(u"ColumnWidth", 300).hr, com::DISP_E_EXCEPTION);
}

// The same property put on cells of different formats keeps what else each format holds, also
// when it is repeated (the second time the edited formats are known already).
TEST_F(ObjectModel, RepeatedFormatPutsKeepEachCellsOtherProperties) {
  Cell(1, 1).Get(u"Font").Put(u"Bold", true);
  Cell(1, 2).Get(u"Font").Put(u"Size", 14);
  for (int pass = 0; pass < 2; ++pass) {
    for (int c = 1; c <= 3; ++c) Cell(1, c).Get(u"Font").Put(u"Color", 16711680);
    for (int c = 1; c <= 3; ++c) Cell(2, c).Get(u"Font").Put(u"Color", 255 * (c + pass));
  }
  EXPECT_TRUE(Cell(1, 1).Get(u"Font").Call(u"Bold").Bool());
  EXPECT_FALSE(Cell(1, 2).Get(u"Font").Call(u"Bold").Bool());
  EXPECT_EQ(Cell(1, 2).Get(u"Font").Call(u"Size").Number(), 14);
  EXPECT_EQ(Cell(1, 3).Get(u"Font").Call(u"Size").Number(), 10);
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(Cell(1, c).Get(u"Font").Call(u"Color").Number(), 16711680) << c;
    EXPECT_EQ(Cell(2, c).Get(u"Font").Call(u"Color").Number(), 255 * (c + 1)) << c;
  }
  Cell(1, 1).Get(u"Font").Put(u"Bold", false);
  Cell(1, 2).Get(u"Font").Put(u"Bold", true);
  EXPECT_FALSE(Cell(1, 1).Get(u"Font").Call(u"Bold").Bool());
  EXPECT_TRUE(Cell(1, 2).Get(u"Font").Call(u"Bold").Bool());
  EXPECT_EQ(Cell(1, 2).Get(u"Font").Call(u"Size").Number(), 14);
}

TEST_F(ObjectModel, CollectionsEnumerate) {
  Var e;
  ASSERT_EQ(excel.Get(u"Sheets").Invoke(u"_NewEnum", com::DISPATCH_PROPERTYGET, {}, &e).hr, com::S_OK);
  ASSERT_EQ(e.vt(), com::VT_UNKNOWN);
  com::IEnumVARIANT* en = nullptr;
  ASSERT_EQ(e.raw().punkVal->QueryInterface(com::IID_IEnumVARIANT, reinterpret_cast<void**>(&en)), com::S_OK);
  int n = 0;
  com::VARIANT item;
  while (en->Next(1, &item, nullptr) == com::S_OK) {
    EXPECT_EQ(item.vt, com::VT_DISPATCH);
    com::VariantClear(&item);
    ++n;
  }
  en->Release();
  EXPECT_EQ(n, 3);
}

TEST_F(ObjectModel, GetActiveObjectFindsTheRunningApplication) {
  com::CLSID clsid;
  ASSERT_EQ(com::CLSIDFromProgID(u"excel.application", &clsid), com::S_OK);
  com::IUnknown* running = nullptr;
  ASSERT_EQ(com::GetActiveObject(clsid, nullptr, &running), com::S_OK);
  running->Release();
  excel = Obj();
  book = Obj();
  sheet = Obj();
  EXPECT_EQ(com::GetActiveObject(clsid, nullptr, &running), com::MK_E_UNAVAILABLE);
}

TEST_F(ObjectModel, SaveAsRefusals) {
  Outcome o = book.TryCall(u"SaveAs", {u"/nonexistent-folder/x.xls"});
  EXPECT_EQ(o.hr, com::DISP_E_EXCEPTION);
  EXPECT_NE(o.description.find(u"cannot write"), std::u16string::npos);
  EXPECT_EQ(book.TryCall(u"SaveAs", {u"x.xls", 6}).hr, com::DISP_E_EXCEPTION);
  // Too large for BIFF8: forced 56 is refused, ".xls" falls back to Open XML.
  sheet.Get(u"Cells", {70000, 1}).Put(u"Value", 1);
  EXPECT_EQ(book.TryCall(u"SaveAs", {std::u16string(u"big.xls"), 56}).hr, com::DISP_E_EXCEPTION);
  std::string path = TempDir() + "/Big.xls";
  book.Call(u"SaveAs", {std::u16string(path.begin(), path.end())});
  auto facts = test::ReadBack(path);
  EXPECT_TRUE(facts.count("cell 0 A70000 number 1.0"));
  EXPECT_EQ(book.Call(u"Name").Text(), u"Big.xls");
  // Windows-style separators are accepted.
  std::string win = TempDir() + "\\Win.xlsx";
  book.Call(u"SaveAs", {std::u16string(win.begin(), win.end())});
  EXPECT_TRUE(std::filesystem::exists(TempDir() + "/Win.xlsx"));
}

// Every value type the runtime's bridge sends, by value and by reference, as a cell value.
TEST_F(ObjectModel, EveryBridgeValueTypeIsStoredOrRefused) {
  struct Case {
    const char* what;
    com::VARTYPE vt;
    com::HRESULT expected;
    com::VARTYPE stored;  // type read back
  };
  static std::int64_t i8 = 1234567890123;
  static double r8 = 2.5;
  static com::VARIANT_BOOL flag = com::VARIANT_TRUE;
  static com::LONG i4 = -7;
  const Case cases[] = {
      {"empty", com::VT_EMPTY, com::S_OK, com::VT_EMPTY},
      {"null (empty date)", com::VT_NULL, com::S_OK, com::VT_EMPTY},
      {"bool", com::VT_BOOL, com::S_OK, com::VT_BOOL},
      {"i4", com::VT_I4, com::S_OK, com::VT_R8},
      {"i8", com::VT_I8, com::S_OK, com::VT_R8},
      {"r8", com::VT_R8, com::S_OK, com::VT_R8},
      {"date", com::VT_DATE, com::S_OK, com::VT_R8},
      {"bstr", com::VT_BSTR, com::S_OK, com::VT_BSTR},
      {"ptr", com::VT_PTR, com::DISP_E_TYPEMISMATCH, com::VT_EMPTY},
      {"error", com::VT_ERROR, com::DISP_E_TYPEMISMATCH, com::VT_EMPTY},
      {"unknown", com::VT_UNKNOWN, com::DISP_E_TYPEMISMATCH, com::VT_EMPTY},
      {"bool byref", com::VT_BOOL | com::VT_BYREF, com::S_OK, com::VT_BOOL},
      {"i4 byref", com::VT_I4 | com::VT_BYREF, com::S_OK, com::VT_R8},
      {"i8 byref", com::VT_I8 | com::VT_BYREF, com::S_OK, com::VT_R8},
      {"r8 byref", com::VT_R8 | com::VT_BYREF, com::S_OK, com::VT_R8},
      {"array of variants", com::VT_ARRAY | com::VT_VARIANT, com::S_OK, com::VT_R8},
      {"array of doubles", com::VT_ARRAY | com::VT_R8, com::S_OK, com::VT_R8},
      {"byte array", com::VT_ARRAY | com::VT_UI1, com::S_OK, com::VT_R8},
      {"bad type", 15, com::DISP_E_BADVARTYPE, com::VT_EMPTY},
  };
  for (const Case& c : cases) {
    Obj cell = Cell(1, 1);
    cell.Call(u"ClearContents");
    Var v;
    v.raw().vt = c.vt;
    v.raw().llVal = 0;
    switch (c.vt & ~com::VT_BYREF) {
      case com::VT_BOOL: v.raw().boolVal = com::VARIANT_TRUE; break;
      case com::VT_I4: v.raw().lVal = 42; break;
      case com::VT_I8: v.raw().llVal = i8; break;
      case com::VT_R8: v.raw().dblVal = 1.5; break;
      case com::VT_DATE: v.raw().date = 36526.0; break;
      case com::VT_BSTR: v.raw().bstrVal = com::SysAllocString(u"abc"); break;
      case com::VT_ERROR: v.raw().scode = com::E_FAIL; break;
      case com::VT_UNKNOWN: v.raw().punkVal = nullptr; break;
      case com::VT_PTR: v.raw().byref = &i4; break;
      default: break;
    }
    if (c.vt & com::VT_BYREF) {
      switch (c.vt & ~com::VT_BYREF) {
        case com::VT_BOOL: v.raw().pboolVal = &flag; break;
        case com::VT_I4: v.raw().plVal = &i4; break;
        case com::VT_I8: v.raw().pllVal = &i8; break;
        case com::VT_R8: v.raw().pdblVal = &r8; break;
      }
    }
    if (c.vt & com::VT_ARRAY) {
      com::VARTYPE element = c.vt & com::VT_TYPEMASK;
      v.raw().parray = com::SafeArrayCreateVector(element, 0, 2);
      com::LONG i = 0;
      if (element == com::VT_VARIANT) {
        com::VARIANT e;
        e.vt = com::VT_R8;
        e.dblVal = 9;
        com::SafeArrayPutElement(v.raw().parray, &i, &e);
      } else if (element == com::VT_R8) {
        double d = 9;
        com::SafeArrayPutElement(v.raw().parray, &i, &d);
      } else {
        unsigned char b = 9;
        com::SafeArrayPutElement(v.raw().parray, &i, &b);
      }
    }
    EXPECT_EQ(cell.TryPut(u"Value", v).hr, c.expected) << c.what;
    if (c.vt == 15) v.raw().vt = com::VT_EMPTY;  // nothing to free
    EXPECT_EQ(cell.Call(u"Value").vt(), c.stored) << c.what;
  }
}

TEST_F(ObjectModel, CloseAndQuitLeaveObjectsThatRefuseCalls) {
  Obj books = excel.Get(u"Workbooks");
  books.Call(u"Add");
  EXPECT_EQ(books.Call(u"Count").Number(), 2);
  book.Call(u"Close");
  EXPECT_EQ(books.Call(u"Count").Number(), 1);
  EXPECT_EQ(sheet.TryCall(u"Cells", {1, 1}).hr, com::DISP_E_EXCEPTION);
  EXPECT_EQ(book.TryCall(u"Name").hr, com::DISP_E_EXCEPTION);
  excel.Call(u"Quit");
  EXPECT_EQ(books.Call(u"Count").Number(), 0);
  Var nothing = excel.Call(u"ActiveSheet");
  EXPECT_EQ(nothing.vt(), com::VT_DISPATCH);
  EXPECT_EQ(nothing.raw().pdispVal, nullptr);
  EXPECT_EQ(excel.TryCall(u"Sheets").hr, com::DISP_E_EXCEPTION);
}

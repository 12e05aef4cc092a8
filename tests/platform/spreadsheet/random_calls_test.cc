// Random call sequences with random arguments against the server: every call must come back
// with a documented status, never crash, and leave the server usable (deterministic seed).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "automation_client.h"
#include "com/com.h"

using test::Obj;
using test::Var;

namespace {

const char16_t* const kNames[] = {
    u"Workbooks", u"Sheets", u"Worksheets", u"ActiveSheet", u"ActiveWindow", u"ActiveWorkbook",
    u"ActiveCell", u"DisplayAlerts", u"Visible", u"Name", u"Version", u"Add", u"Count", u"Item",
    u"Delete", u"Select", u"Activate", u"Cells", u"Columns", u"Rows", u"Range", u"UsedRange",
    u"Value", u"Value2", u"Font", u"Size", u"Bold", u"Italic", u"Underline", u"Color",
    u"ColorIndex", u"Interior", u"Pattern", u"HorizontalAlignment", u"VerticalAlignment",
    u"ColumnWidth", u"RowHeight", u"NumberFormat", u"Merge", u"UnMerge", u"MergeCells",
    u"Borders", u"LineStyle", u"Weight", u"Row", u"Column", u"Address", u"ClearContents",
    u"Clear", u"FreezePanes", u"SplitRow", u"SplitColumn", u"Index", u"EntireRow",
    u"EntireColumn", u"Close", u"WrapText", u"Strikethrough", u"_NewEnum", u"Bogus", u""};

const char16_t* const kTexts[] = {u"A1", u"B2:D4", u"A:C", u"2:3", u"$A$1:$B$2", u"XFD1048576",
                                  u"A0", u"ZZZZ1", u"", u"Sheet1", u"@", u"0.00", u"Arial",
                                  u"  12.5 ", u"x:y", u"\u20AC\u00E4", u"7:9"};

class Fuzzer {
 public:
  explicit Fuzzer(unsigned seed) : rng_(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  Var Number() {
    static const int ints[] = {0, 1, 2, 3, -1, 9, 12, 56, 57, 255, 256, 65536, 65537, 1048576,
                               1048577, 16384, 16385, -4105, -4108, -4131, -4142, -4152, 2147483647};
    switch (Pick(4)) {
      case 0: return Var(ints[Pick(sizeof ints / sizeof *ints)]);
      case 1: return Var(double(Pick(30)) + 0.5);
      case 2: {
        static const double odd[] = {1e300, -1e300, std::nan(""), 1.0 / 0.0, 1e-300, 8388608.0};
        return Var(odd[Pick(6)]);
      }
      default: return Var(Pick(12) + 1);
    }
  }

  Var Arg(const std::vector<Obj>& pool) {
    switch (Pick(12)) {
      case 0: return Var();
      case 1: return Var::Null();
      case 2: return Var(bool(Pick(2)));
      case 3: return Var(kTexts[Pick(sizeof kTexts / sizeof *kTexts)]);
      case 4: {
        Var v;
        v.raw().vt = com::VT_ERROR;
        v.raw().scode = com::DISP_E_PARAMNOTFOUND;
        return v;
      }
      case 5: {
        const Obj& o = pool[Pick(int(pool.size()))];
        Var v;
        v.raw().vt = com::VT_DISPATCH;
        v.raw().pdispVal = o.get();
        o.get()->AddRef();
        return v;
      }
      case 6: return Array();
      case 7: {
        byrefValue_ = double(Pick(5));
        Var v;
        v.raw().vt = com::VT_R8 | com::VT_BYREF;
        v.raw().pdblVal = &byrefValue_;
        return v;
      }
      case 8: {
        Var v;
        v.raw().vt = com::VT_DATE;
        v.raw().date = 36526.25;
        return v;
      }
      case 9: {
        Var v;  // an invalid type tag: refused with DISP_E_BADVARTYPE
        v.raw().vt = 15;
        return v;
      }
      default: return Number();
    }
  }

  Var Array() {
    com::SAFEARRAYBOUND b[2] = {{com::ULONG(Pick(3) + 1), Pick(2)}, {com::ULONG(Pick(3) + 1), 1}};
    com::UINT dims = com::UINT(Pick(3) + 1);  // 3 dimensions are refused
    com::SAFEARRAYBOUND three[3] = {b[0], b[1], {2, 0}};
    com::SAFEARRAY* psa = com::SafeArrayCreate(com::VT_VARIANT, dims, dims == 3 ? three : b);
    Var v;
    v.raw().vt = com::VT_ARRAY | com::VT_VARIANT;
    v.raw().parray = psa;
    return v;
  }

  std::mt19937 rng_;
  double byrefValue_ = 0;
};

const std::set<com::HRESULT> kDocumented = {
    com::S_OK, com::DISP_E_UNKNOWNNAME, com::DISP_E_MEMBERNOTFOUND, com::DISP_E_EXCEPTION,
    com::DISP_E_TYPEMISMATCH, com::DISP_E_BADPARAMCOUNT, com::DISP_E_PARAMNOTOPTIONAL,
    com::DISP_E_OVERFLOW, com::DISP_E_BADINDEX, com::DISP_E_BADVARTYPE, com::E_INVALIDARG};

}  // namespace

TEST(RandomCalls, EveryCallEndsInADocumentedStatus) {
  const int kCalls = std::getenv("PV_FUZZ_CALLS") ? std::atoi(std::getenv("PV_FUZZ_CALLS")) : 20000;
  Fuzzer fuzz(20261207);
  std::vector<Obj> pool = {test::CreateSpreadsheet()};
  pool.push_back(pool[0].Get(u"Workbooks").Get(u"Add"));
  std::map<com::HRESULT, int> seen;
  auto dir = std::filesystem::temp_directory_path() / "pv_spreadsheet_fuzz";
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);  // Save and Close(.T.) write unnamed books here
  for (int i = 0; i < kCalls; ++i) {
    const Obj& target = pool[fuzz.Pick(int(pool.size()))];
    // Mostly members the object has (a few tries), sometimes any name.
    std::u16string name;
    for (int tries = 0; tries < 4; ++tries) {
      name = kNames[fuzz.Pick(sizeof kNames / sizeof *kNames)];
      com::LPCOLESTR names[] = {name.c_str()};
      com::DISPID id;
      if (target.get()->GetIDsOfNames(com::IID_NULL, const_cast<com::LPCOLESTR*>(names), 1, 0, &id) == com::S_OK) break;
    }
    std::vector<Var> args;
    for (int n = fuzz.Pick(4); n > 0; --n) args.push_back(fuzz.Arg(pool));
    test::Outcome o;
    Var result;
    switch (fuzz.Pick(3)) {
      case 0: o = target.TryCall(name, args, &result); break;
      case 1: o = target.Invoke(name, com::DISPATCH_PROPERTYGET, args, &result); break;
      default: {
        Var value = fuzz.Arg(pool);
        o = target.TryPut(name, value, args);
      }
    }
    ASSERT_TRUE(kDocumented.count(o.hr)) << "status " << std::hex << o.hr << " for " << test::Utf8(name);
    if (o.hr == com::DISP_E_EXCEPTION) {
      ASSERT_FALSE(o.description.empty()) << test::Utf8(name);
    }
    ++seen[o.hr];
    if (result.vt() == com::VT_DISPATCH && result.raw().pdispVal && pool.size() < 40) {
      result.raw().pdispVal->AddRef();
      pool.push_back(Obj(result.raw().pdispVal));
    }
    if (pool.size() >= 40 && fuzz.Pick(50) == 0) pool.resize(2);
    if (i % 10000 == 9999) {
      // The workbook still saves in both formats, whatever state it is in.
      Obj books = pool[0].Get(u"Workbooks");
      if (books.Call(u"Count").Number() == 0) books.Call(u"Add");
      Obj book = pool[0].Get(u"ActiveWorkbook");
      for (const char* ext : {".xls", ".xlsx"}) {
        std::string path = (dir / ("state" + std::to_string(i) + ext)).string();
        test::Outcome saved = book.TryCall(u"SaveAs", {std::u16string(path.begin(), path.end())});
        EXPECT_TRUE(saved.hr == com::S_OK) << test::Utf8(saved.description);
      }
    }
  }
  // The sequence reaches deep enough: many calls succeed and many are refused by the server.
  for (auto [hr, n] : seen) fprintf(stderr, "status %08x: %d calls\n", unsigned(hr), n);
  EXPECT_GT(seen[com::S_OK], 2000);
  EXPECT_GT(seen[com::DISP_E_EXCEPTION], 1500);
}

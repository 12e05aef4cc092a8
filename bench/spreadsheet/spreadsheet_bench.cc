// Times the spreadsheet server the way the exports use it, through IDispatch calls shaped like
// the runtime bridge's (name lookup, method call, then property get; assignments as property
// puts with DISPID_PROPERTYPUT):
//   puts   one million Cells( r, c ):Value := x, with Font:Color := n on every tenth cell
//   xls    SaveAs of 60,000 rows x 5 columns as BIFF8
//   xlsx   SaveAs of 100,000, 200,000 and 1,000,000 rows x 5 columns as Open XML
// Prints one line per figure: "<name> <wall seconds> cpu <processor seconds>".
// Arguments: [output folder] [puts|xls|xlsx].
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "com/com.h"
#include "spreadsheet/server.h"

namespace {

using namespace com;

// One bridge-style message: lookup, then method, then property get (or a put).
class Bridge {
 public:
  // Returns the dispatch result of `name(args)` (method, else get); nullptr on failure.
  IDispatch* Get(IDispatch* d, const char16_t* name, std::vector<VARIANT> args) {
    DISPID id;
    if (FAILED(Lookup(d, name, &id))) return nullptr;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS p = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    VARIANT r;
    VariantInit(&r);
    EXCEPINFO info = {};
    HRESULT h = d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &p, &r, &info, nullptr);
    if (FAILED(h)) h = d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &p, &r, &info, nullptr);
    ClearExcepInfo(&info);
    if (FAILED(h) || r.vt != VT_DISPATCH) {
      VariantClear(&r);
      return nullptr;
    }
    return r.pdispVal;
  }
  bool Put(IDispatch* d, const char16_t* name, VARIANT value) {
    DISPID id;
    if (FAILED(Lookup(d, name, &id))) return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS p = {&value, &named, 1, 1};
    EXCEPINFO info = {};
    HRESULT h = d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYPUT, &p, nullptr, &info, nullptr);
    ClearExcepInfo(&info);
    return SUCCEEDED(h);
  }
  bool Call(IDispatch* d, const char16_t* name, std::vector<VARIANT> args) {
    DISPID id;
    if (FAILED(Lookup(d, name, &id))) return false;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS p = {reversed.data(), nullptr, UINT(reversed.size()), 0};
    VARIANT r;
    VariantInit(&r);
    EXCEPINFO info = {};
    HRESULT h = d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &p, &r, &info, nullptr);
    if (h == DISP_E_EXCEPTION) std::fprintf(stderr, "%s\n", WideToUtf8(BstrView(info.bstrDescription)).c_str());
    ClearExcepInfo(&info);
    VariantClear(&r);
    return SUCCEEDED(h);
  }

 private:
  static HRESULT Lookup(IDispatch* d, const char16_t* name, DISPID* id) {
    LPCOLESTR names[] = {name};
    return d->GetIDsOfNames(IID_NULL, const_cast<LPCOLESTR*>(names), 1, LOCALE_SYSTEM_DEFAULT, id);
  }
};

VARIANT Long(LONG v) {
  VARIANT x;
  x.vt = VT_I4;
  x.lVal = v;
  return x;
}
VARIANT Double(double v) {
  VARIANT x;
  x.vt = VT_R8;
  x.dblVal = v;
  return x;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of this process so far (the machine may be shared: wall time then overstates).
double CpuSeconds() {
  rusage u;
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Session {
  Bridge b;
  IDispatch* app = nullptr;
  IDispatch* book = nullptr;
  IDispatch* sheet = nullptr;

  Session() {
    pv_spreadsheetRegister();
    OleInitialize(nullptr);
    CLSID clsid;
    CLSIDFromProgID(u"Excel.Application", &clsid);
    CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&app));
    IDispatch* books = b.Get(app, u"WORKBOOKS", {});
    book = b.Get(books, u"ADD", {});
    books->Release();
    sheet = b.Get(app, u"ACTIVESHEET", {});
  }
  ~Session() {
    sheet->Release();
    book->Release();
    app->Release();
    OleUninitialize();
  }

  // Cells( r, c ):Value := v, as the bridge sends it; BSTRs are made per call like the bridge.
  void PutCell(LONG r, LONG c, VARIANT v) {
    IDispatch* cell = b.Get(sheet, u"CELLS", {Long(r), Long(c)});
    b.Put(cell, u"VALUE", v);
    cell->Release();
  }
  void PutFontColor(LONG r, LONG c, LONG color) {
    IDispatch* cell = b.Get(sheet, u"CELLS", {Long(r), Long(c)});
    IDispatch* font = b.Get(cell, u"FONT", {});
    b.Put(font, u"COLOR", Long(color));
    font->Release();
    cell->Release();
  }
  void FillInvoiceRows(LONG rows) {
    for (LONG r = 1; r <= rows; ++r) {
      std::u16string customer = u"Kunde " + Utf8ToWide(std::to_string(r % 40000));
      std::u16string product = u"Program 0" + Utf8ToWide(std::to_string(r % 10));
      std::u16string invoice = u"R" + Utf8ToWide(std::to_string(r / 3));
      PutCell(r, 1, Long(r / 3));
      for (int c = 2; c <= 4; ++c) {
        const std::u16string& text = c == 2 ? customer : c == 3 ? product : invoice;
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(std::u16string_view(text));
        PutCell(r, c, v);
        VariantClear(&v);
      }
      PutCell(r, 5, Double(r * 1.25));
    }
  }
  // Prints "<label> <wall seconds> cpu <processor seconds>" for one SaveAs.
  void SaveAs(const char* label, const std::string& path) {
    VARIANT name;
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(std::u16string_view(Utf8ToWide(path)));
    auto t = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    bool ok = b.Call(book, u"SAVEAS", {name});
    std::printf("%s %.3f cpu %.3f\n", label, Seconds(t), CpuSeconds() - cpu);
    VariantClear(&name);
    if (!ok) std::fprintf(stderr, "SaveAs %s failed\n", path.c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : ".";
  std::string only = argc > 2 ? argv[2] : "";  // "puts", "xls" or "xlsx" runs one figure
  if (only.empty() || only == "puts") {
    Session s;
    auto t = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    long n = 0;
    for (LONG r = 1; n < 1000000; ++r)
      for (LONG c = 1; c <= 5; ++c, ++n) {
        s.PutCell(r, c, Double(r + c * 0.5));
        if (n % 10 == 0) s.PutFontColor(r, c, 255);
      }
    std::printf("puts_1M_with_font_color_every_10th %.3f cpu %.3f\n", Seconds(t), CpuSeconds() - cpu);
  }
  if (only.empty() || only == "xls") {
    Session s;
    s.FillInvoiceRows(60000);
    s.SaveAs("saveas_xls_60000x5", dir + "/bench60000.xls");
  }
  if (only.empty() || only == "xlsx") {
    for (int rows : {100000, 200000, 1000000}) {
      Session s;
      s.FillInvoiceRows(rows);
      std::string n = std::to_string(rows);
      s.SaveAs(("saveas_xlsx_" + n + "x5").c_str(), dir + "/bench" + n + ".xlsx");
    }
  }
  return 0;
}

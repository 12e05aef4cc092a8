// The Application object ("Excel.Application"): workbooks, the active workbook, sheet and
// window, the switches DisplayAlerts and Visible, and Quit. Each instance registers itself
// (weakly) in the running-object table, so GetActiveObject finds it while it lives.
#include "com/registry.h"
#include "objects.h"
#include "spreadsheet/server.h"

namespace sheet {
namespace {

using Call = com::Call;

class Application final : public com::DispatchObject<Application> {
 public:
  Application() : app_(std::make_shared<AppState>()) {
    com::RegisterActiveObject(static_cast<com::IDispatch*>(this), CLSID_SpreadsheetApplication,
                              com::ACTIVEOBJECT_WEAK, &registration_);
  }
  ~Application() override { com::RevokeActiveObject(registration_, nullptr); }
  static const com::MemberTable<Application>& Members();

  std::shared_ptr<Workbook> Book() {
    auto book = app_->Active();
    if (!book) Fail(u"There is no open workbook");
    return book;
  }
  RangeRef ActiveRef() {
    auto book = Book();
    return RangeRef{app_, book, book->sheets[book->activeSheet], WholeSheet()};
  }
  static void ReturnActive(Application& a, Call& call, com::IDispatch* (*make)(Application&)) {
    call.Expect(0, 0);
    if (!a.app_->Active()) return call.ReturnDispatch(nullptr);  // Nothing, as without a workbook
    call.ReturnDispatch(make(a));
  }
  static void PutVisible(Application& a, Call& call) {
    bool visible = call.PutValueBool();
    bool shown = visible && !a.app_->visible;
    a.app_->visible = visible;
    if (shown && !a.app_->lastSavedPath.empty()) ShowOnDesktop(a.app_->lastSavedPath);
  }
  static void Quit(Application& a, Call& call) {
    call.Expect(0, 0);
    while (!a.app_->workbooks.empty()) a.app_->CloseWorkbook(a.app_->workbooks.back().get());
    a.app_->visible = false;
  }

  std::shared_ptr<AppState> app_;
  com::DWORD registration_ = 0;
};

#define GET(body) [](Application& a, Call& call) { (void)a; (void)call; body; }
#define RANGE(fn) GET(call.ReturnDispatch(NewRange(fn(a.ActiveRef(), call))))

const com::MemberTable<Application>& Application::Members() {
  using M = com::Member<Application>;
  static const com::MemberTable<Application> table({
      M{u"Workbooks", 1, GET(ReturnCollection(call, NewWorkbooks(a.app_))), nullptr, nullptr},
      M{u"Sheets", 2, GET(ReturnCollection(call, NewSheets(a.app_, a.Book()))), nullptr, nullptr},
      M{u"Worksheets", 3, GET(ReturnCollection(call, NewSheets(a.app_, a.Book()))), nullptr, nullptr},
      M{u"ActiveWorkbook", 4, GET(ReturnActive(a, call, [](Application& x) { return NewWorkbook(x.app_, x.Book()); })), nullptr, nullptr},
      M{u"ActiveSheet", 5, GET(ReturnActive(a, call, [](Application& x) {
          RangeRef r = x.ActiveRef();
          return NewWorksheet(r.app, r.book, r.sheet); })), nullptr, nullptr},
      M{u"ActiveWindow", 6, GET(ReturnActive(a, call, [](Application& x) { return NewWindow(x.app_, x.Book()); })), nullptr, nullptr},
      M{u"ActiveCell", 7, GET(ReturnActive(a, call, [](Application& x) {
          RangeRef r = x.ActiveRef();
          r.rect = SingleCell(r.sheet->activeRow, r.sheet->activeCol);
          return NewRange(r); })), nullptr, nullptr},
      M{u"DisplayAlerts", 8, GET(call.ReturnBool(a.app_->displayAlerts)),
        [](Application& a, Call& call) { a.app_->displayAlerts = call.PutValueBool(); }, nullptr},
      M{u"Visible", 9, GET(call.ReturnBool(a.app_->visible)), &Application::PutVisible, nullptr},
      M{u"ScreenUpdating", 10, GET(call.ReturnBool(a.app_->screenUpdating)),
        [](Application& a, Call& call) { a.app_->screenUpdating = call.PutValueBool(); }, nullptr},
      M{u"Quit", 11, nullptr, nullptr, &Application::Quit},
      M{u"Name", 12, GET(call.ReturnText(u"Spreadsheet")), nullptr, nullptr},
      M{u"Version", 13, GET(call.ReturnText(u"16.0")), nullptr, nullptr},
      M{u"Cells", 14, RANGE(CellsOf), nullptr, nullptr},
      M{u"Range", 15, RANGE(RangeOf), nullptr, nullptr},
      M{u"Columns", 16, RANGE(ColumnsOf), nullptr, nullptr},
      M{u"Rows", 17, RANGE(RowsOf), nullptr, nullptr},
      M{u"Application", 18, GET(a.AddRef(); call.ReturnDispatch(&a)), nullptr, nullptr},
  });
  return table;
}

#undef RANGE
#undef GET

}  // namespace

com::IDispatch* NewApplication() { return new Application(); }

}  // namespace sheet

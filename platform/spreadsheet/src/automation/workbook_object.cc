// The Workbooks collection and the Workbook object.
#include "objects.h"

namespace sheet {
namespace {

using Call = com::Call;

class WorkbookObject final : public com::DispatchObject<WorkbookObject> {
 public:
  WorkbookObject(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book)
      : app_(std::move(app)), book_(std::move(book)) {}
  static const com::MemberTable<WorkbookObject>& Members();

  Workbook& Live() {
    if (book_->closed) Fail(u"The workbook has been closed");
    return *book_;
  }

  static void ActiveSheet(WorkbookObject& b, Call& call) {
    call.Expect(0, 0);
    Workbook& book = b.Live();
    call.ReturnDispatch(NewWorksheet(b.app_, b.book_, book.sheets[book.activeSheet]));
  }
  static void SaveAs(WorkbookObject& b, Call& call) {
    call.Expect(1, 12);
    Workbook& book = b.Live();
    int format = call.Has(1) ? int(call.Long(1)) : 0;
    SaveWorkbook(*b.app_, book, call.Text(0), format);
    call.ReturnBool(true);
  }
  static void Save(WorkbookObject& b, Call& call) {
    call.Expect(0, 0);
    Workbook& book = b.Live();
    std::u16string target;
    if (book.path.empty()) target = book.name + u".xls";
    else target = com::Utf8ToWide(book.path);
    SaveWorkbook(*b.app_, book, target, 0);
  }
  // Close( [SaveChanges], [FileName] )
  static void Close(WorkbookObject& b, Call& call) {
    call.Expect(0, 3);
    Workbook& book = b.Live();
    if (call.Has(0) && call.Bool(0)) {
      std::u16string target = call.Has(1) ? call.Text(1)
                              : book.path.empty() ? book.name + u".xls" : com::Utf8ToWide(book.path);
      SaveWorkbook(*b.app_, book, target, 0);
    }
    b.app_->CloseWorkbook(&book);
    call.ReturnBool(true);
  }
  static void Activate(WorkbookObject& b, Call& call) {
    call.Expect(0, 0);
    b.Live();
    for (std::size_t i = 0; i < b.app_->workbooks.size(); ++i)
      if (b.app_->workbooks[i] == b.book_) b.app_->activeWorkbook = int(i);
  }
  static void Path(WorkbookObject& b, Call& call) {
    const std::string& p = b.Live().path;
    auto slash = p.rfind('/');
    call.ReturnText(com::Utf8ToWide(slash == std::string::npos ? "" : p.substr(0, slash)));
  }

  std::shared_ptr<AppState> app_;
  std::shared_ptr<Workbook> book_;
};

#define GET(body) [](WorkbookObject& b, Call& call) { (void)b; (void)call; body; }

const com::MemberTable<WorkbookObject>& WorkbookObject::Members() {
  using M = com::Member<WorkbookObject>;
  static const com::MemberTable<WorkbookObject> table({
      M{u"Name", 1, GET(call.ReturnText(b.Live().name)), nullptr, nullptr},
      M{u"FullName", 2, GET(Workbook& w = b.Live(); call.ReturnText(w.path.empty() ? w.name : com::Utf8ToWide(w.path))), nullptr, nullptr},
      M{u"Path", 3, &WorkbookObject::Path, nullptr, nullptr},
      M{u"Sheets", 4, GET(b.Live(); ReturnCollection(call, NewSheets(b.app_, b.book_))), nullptr, nullptr},
      M{u"Worksheets", 5, GET(b.Live(); ReturnCollection(call, NewSheets(b.app_, b.book_))), nullptr, nullptr},
      M{u"ActiveSheet", 6, &WorkbookObject::ActiveSheet, nullptr, nullptr},
      M{u"SaveAs", 7, nullptr, nullptr, &WorkbookObject::SaveAs},
      M{u"Save", 8, nullptr, nullptr, &WorkbookObject::Save},
      M{u"Close", 9, nullptr, nullptr, &WorkbookObject::Close},
      M{u"Activate", 10, nullptr, nullptr, &WorkbookObject::Activate},
      M{u"Windows", 11, GET(b.Live(); call.ReturnDispatch(NewWindow(b.app_, b.book_))), nullptr, nullptr},
  });
  return table;
}

#undef GET

class Workbooks final : public com::DispatchObject<Workbooks> {
 public:
  explicit Workbooks(std::shared_ptr<AppState> app) : app_(std::move(app)) {}
  static const com::MemberTable<Workbooks>& Members();

  com::IDispatch* At(std::size_t i) { return NewWorkbook(app_, app_->workbooks[i]); }

  static void Add(Workbooks& w, Call& call) {
    call.Expect(0, 1);
    // xlWBATWorksheet (-4167) asks for a workbook with a single sheet.
    int sheets = call.Has(0) && call.Arg(0).vt != com::VT_BSTR && call.Long(0) == -4167 ? 1 : 3;
    w.app_->AddWorkbook(sheets);
    call.ReturnDispatch(w.At(w.app_->workbooks.size() - 1));
  }
  static void Item(Workbooks& w, Call& call) {
    call.Expect(1, 1);
    auto& books = w.app_->workbooks;
    if (call.Arg(0).vt == com::VT_BSTR) {
      std::u16string name = call.Text(0);
      for (std::size_t i = 0; i < books.size(); ++i)
        if (books[i]->name == name) return call.ReturnDispatch(w.At(i));
      Fail(u"There is no open workbook named \"" + name + u"\"");
    }
    long index = call.Long(0);
    if (index < 1 || std::size_t(index) > books.size()) throw com::DispatchError{com::DISP_E_BADINDEX, u"", 0};
    call.ReturnDispatch(w.At(index - 1));
  }
  static void Close(Workbooks& w, Call& call) {
    call.Expect(0, 0);
    while (!w.app_->workbooks.empty()) w.app_->CloseWorkbook(w.app_->workbooks.back().get());
  }
  static void Open(Workbooks& w, Call& call) {
    call.Expect(1, 15);
    OpenWorkbook(*w.app_, call.Text(0));
    call.ReturnDispatch(w.At(w.app_->workbooks.size() - 1));
  }
  static void NewEnum(Workbooks& w, Call& call) {
    std::vector<com::VARIANT> items;
    for (std::size_t i = 0; i < w.app_->workbooks.size(); ++i) {
      com::VARIANT v;
      v.vt = com::VT_DISPATCH;
      v.pdispVal = w.At(i);
      items.push_back(v);
    }
    call.ReturnUnknown(com::CreateVariantEnumerator(std::move(items)));
  }

  std::shared_ptr<AppState> app_;
};

const com::MemberTable<Workbooks>& Workbooks::Members() {
  using M = com::Member<Workbooks>;
  static const com::MemberTable<Workbooks> table({
      M{u"Item", com::DISPID_VALUE, &Workbooks::Item, nullptr, &Workbooks::Item},
      M{u"Count", 1, [](Workbooks& w, Call& call) { call.Expect(0, 0); call.ReturnLong(long(w.app_->workbooks.size())); }, nullptr, nullptr},
      M{u"Add", 2, nullptr, nullptr, &Workbooks::Add},
      M{u"Open", 3, nullptr, nullptr, &Workbooks::Open},
      M{u"Close", 4, nullptr, nullptr, &Workbooks::Close},
      M{u"_NewEnum", com::DISPID_NEWENUM, &Workbooks::NewEnum, nullptr, &Workbooks::NewEnum},
  });
  return table;
}

}  // namespace

com::IDispatch* NewWorkbook(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book) {
  return new WorkbookObject(std::move(app), std::move(book));
}

com::IDispatch* NewWorkbooks(std::shared_ptr<AppState> app) { return new Workbooks(std::move(app)); }

}  // namespace sheet

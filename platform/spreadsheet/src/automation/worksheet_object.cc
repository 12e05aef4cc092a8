// The Worksheet object: name, cells and ranges, delete, select/activate, used range.
#include "objects.h"

namespace sheet {
namespace {

using Call = com::Call;

std::u16string Folded(std::u16string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = char16_t(c - 32);
  return s;
}

void CheckSheetName(const Workbook& book, const Worksheet& self, const std::u16string& name) {
  if (name.empty() || name.size() > 31) Fail(u"A sheet name has 1 to 31 characters");
  if (name.find_first_of(u":\\/?*[]") != std::u16string::npos)
    Fail(u"A sheet name cannot contain : \\ / ? * [ or ]");
  if (name.front() == '\'' || name.back() == '\'') Fail(u"A sheet name cannot begin or end with an apostrophe");
  for (const auto& s : book.sheets)
    if (s.get() != &self && Folded(s->Name()) == Folded(name))
      Fail(u"The sheet name \"" + name + u"\" is already taken");
}

class WorksheetObject final : public com::DispatchObject<WorksheetObject> {
 public:
  explicit WorksheetObject(RangeRef ref) : ref_(std::move(ref)) {}
  static const com::MemberTable<WorksheetObject>& Members();
  const RangeRef& Ref() const { return ref_; }

  const RangeRef& Live() const {
    ref_.Check();
    return ref_;
  }
  static void Sub(Call& call, RangeRef r) { call.ReturnDispatch(NewRange(std::move(r))); }

  static void PutName(WorksheetObject& w, Call& call) {
    std::u16string name = call.PutValueText();
    const RangeRef& ref = w.Live();
    CheckSheetName(*ref.book, *ref.sheet, name);
    ref.sheet->SetName(name);
  }
  static void Delete(WorksheetObject& w, Call& call) {
    call.Expect(0, 0);
    const RangeRef& ref = w.Live();
    Workbook& book = *ref.book;
    if (book.sheets.size() <= 1) Fail(u"A workbook must contain at least one worksheet: the only sheet cannot be deleted");
    int index = book.IndexOf(ref.sheet.get());
    book.sheets.erase(book.sheets.begin() + index);
    ref.sheet->deleted = true;
    if (book.activeSheet > index || book.activeSheet >= int(book.sheets.size())) --book.activeSheet;
    call.ReturnBool(true);
  }
  static void Select(WorksheetObject& w, Call& call) {
    call.Expect(0, 1);
    ActivateSheet(w.Live());
  }
  static void UsedRange(WorksheetObject& w, Call& call) {
    call.Expect(0, 0);
    RangeRef r = w.Live();
    bool empty;
    r.rect = r.sheet->UsedRect(&empty);
    Sub(call, r);
  }

  RangeRef ref_;
};

#define GET(body) [](WorksheetObject& w, Call& call) { (void)w; (void)call; body; }

const com::MemberTable<WorksheetObject>& WorksheetObject::Members() {
  using M = com::Member<WorksheetObject>;
  static const com::MemberTable<WorksheetObject> table({
      M{u"Name", 1, GET(call.Expect(0, 0); call.ReturnText(w.Live().sheet->Name())), &WorksheetObject::PutName, nullptr},
      M{u"Cells", 2, GET(Sub(call, CellsOf(w.Live(), call))), nullptr, nullptr},
      M{u"Range", 3, GET(Sub(call, RangeOf(w.Live(), call))), nullptr, nullptr},
      M{u"Columns", 4, GET(Sub(call, ColumnsOf(w.Live(), call))), nullptr, nullptr},
      M{u"Rows", 5, GET(Sub(call, RowsOf(w.Live(), call))), nullptr, nullptr},
      M{u"Delete", 6, nullptr, nullptr, &WorksheetObject::Delete},
      M{u"Select", 7, nullptr, nullptr, &WorksheetObject::Select},
      M{u"Activate", 8, nullptr, nullptr, &WorksheetObject::Select},
      M{u"UsedRange", 9, &WorksheetObject::UsedRange, nullptr, nullptr},
      M{u"Index", 10, GET(call.Expect(0, 0); const RangeRef& r = w.Live(); call.ReturnLong(r.book->IndexOf(r.sheet.get()) + 1)), nullptr, nullptr},
      M{u"Parent", 11, GET(call.Expect(0, 0); const RangeRef& r = w.Live(); call.ReturnDispatch(NewWorkbook(r.app, r.book))), nullptr, nullptr},
  });
  return table;
}

#undef GET

}  // namespace

com::IDispatch* NewWorksheet(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book,
                             std::shared_ptr<Worksheet> sheet) {
  return new WorksheetObject(RangeRef{std::move(app), std::move(book), std::move(sheet), WholeSheet()});
}

const RangeRef* SheetRefOf(com::IDispatch* d) {
  if (auto* w = dynamic_cast<WorksheetObject*>(d)) return &w->Ref();
  return nullptr;
}

}  // namespace sheet

// The Sheets / Worksheets collection of a workbook: Count, Item by position or name, Add.
#include "objects.h"

namespace sheet {
namespace {

using Call = com::Call;

std::u16string Folded(std::u16string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = char16_t(c - 32);
  return s;
}

class Sheets final : public com::DispatchObject<Sheets> {
 public:
  Sheets(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book)
      : app_(std::move(app)), book_(std::move(book)) {}
  static const com::MemberTable<Sheets>& Members();

  Workbook& Live() {
    if (book_->closed) Fail(u"The workbook of this collection has been closed");
    return *book_;
  }
  com::IDispatch* SheetAt(int index) { return NewWorksheet(app_, book_, book_->sheets[index]); }

  static void Item(Sheets& s, Call& call) {
    call.Expect(1, 1);
    Workbook& book = s.Live();
    if (call.Arg(0).vt == com::VT_BSTR) {
      std::u16string name = Folded(call.Text(0));
      for (std::size_t i = 0; i < book.sheets.size(); ++i)
        if (Folded(book.sheets[i]->Name()) == name) return call.ReturnDispatch(s.SheetAt(int(i)));
      Fail(u"There is no sheet named \"" + call.Text(0) + u"\"");
    }
    long index = call.Long(0);
    if (index < 1 || std::size_t(index) > book.sheets.size())
      throw com::DispatchError{com::DISP_E_BADINDEX, u"", 0};
    call.ReturnDispatch(s.SheetAt(int(index - 1)));
  }
  // Add( [Before], [After], [Count], [Type] ): new sheets before the active sheet by default;
  // the last one added becomes active and is returned.
  static void Add(Sheets& s, Call& call) {
    call.Expect(0, 4);
    Workbook& book = s.Live();
    int position = book.activeSheet;
    for (std::size_t arg = 0; arg < 2; ++arg) {
      if (!call.Has(arg)) continue;
      const com::VARIANT& v = call.Arg(arg);
      const RangeRef* ref = v.vt == com::VT_DISPATCH ? SheetRefOf(v.pdispVal) : nullptr;
      if (!ref || ref->book != s.book_) Fail(u"Sheets.Add: Before and After must be sheets of this workbook");
      ref->Check();
      position = book.IndexOf(ref->sheet.get()) + int(arg);
    }
    long count = call.Has(2) ? call.Long(2) : 1;
    if (count < 1 || count > 255 || book.sheets.size() + count > 4096) Fail(u"Sheets.Add: Count must be 1 to 255");
    for (long i = 0; i < count; ++i) book.AddSheet(position, book.FreshSheetName());
    book.activeSheet = position;
    call.ReturnDispatch(s.SheetAt(position));
  }
  static void NewEnum(Sheets& s, Call& call) {
    std::vector<com::VARIANT> items;
    for (std::size_t i = 0; i < s.Live().sheets.size(); ++i) {
      com::VARIANT v;
      v.vt = com::VT_DISPATCH;
      v.pdispVal = s.SheetAt(int(i));
      items.push_back(v);
    }
    call.ReturnUnknown(com::CreateVariantEnumerator(std::move(items)));
  }

  std::shared_ptr<AppState> app_;
  std::shared_ptr<Workbook> book_;
};

const com::MemberTable<Sheets>& Sheets::Members() {
  using M = com::Member<Sheets>;
  static const com::MemberTable<Sheets> table({
      M{u"Item", com::DISPID_VALUE, &Sheets::Item, nullptr, &Sheets::Item},
      M{u"Count", 1, [](Sheets& s, Call& call) { call.Expect(0, 0); call.ReturnLong(long(s.Live().sheets.size())); }, nullptr, nullptr},
      M{u"Add", 2, nullptr, nullptr, &Sheets::Add},
      M{u"_NewEnum", com::DISPID_NEWENUM, &Sheets::NewEnum, nullptr, &Sheets::NewEnum},
  });
  return table;
}

}  // namespace

com::IDispatch* NewSheets(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book) {
  return new Sheets(std::move(app), std::move(book));
}

}  // namespace sheet

// The Window object of a workbook: frozen panes and split position of its active sheet.
#include "objects.h"

namespace sheet {
namespace {

using Call = com::Call;

class Window final : public com::DispatchObject<Window> {
 public:
  Window(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book)
      : app_(std::move(app)), book_(std::move(book)) {}
  static const com::MemberTable<Window>& Members();

  Worksheet& Sheet() {
    if (book_->closed) Fail(u"The workbook of this window has been closed");
    return *book_->sheets[book_->activeSheet];
  }
  static bool Frozen(const Worksheet& ws) { return ws.frozenRows > 0 || ws.frozenCols > 0; }

  // FreezePanes := .T. freezes the rows above and the columns left of the active cell.
  static void PutFreeze(Window& w, Call& call) {
    Worksheet& ws = w.Sheet();
    if (call.PutValueBool()) {
      ws.frozenRows = ws.splitRows ? ws.splitRows : ws.activeRow;
      ws.frozenCols = ws.splitCols ? ws.splitCols : ws.activeCol;
    } else {
      ws.frozenRows = ws.frozenCols = 0;
    }
    ws.splitRows = ws.splitCols = 0;
  }
  static void PutSplit(Window& w, Call& call, bool rows) {
    long n = call.PutValueLong();
    if (n < 0 || n >= (rows ? kMaxRows : kMaxCols)) Fail(u"Split position outside the worksheet");
    Worksheet& ws = w.Sheet();
    int& target = Frozen(ws) ? (rows ? ws.frozenRows : ws.frozenCols) : (rows ? ws.splitRows : ws.splitCols);
    target = int(n);
  }
  static void GetSplit(Window& w, Call& call, bool rows) {
    Worksheet& ws = w.Sheet();
    if (Frozen(ws)) call.ReturnLong(rows ? ws.frozenRows : ws.frozenCols);
    else call.ReturnLong(rows ? ws.splitRows : ws.splitCols);
  }

  std::shared_ptr<AppState> app_;
  std::shared_ptr<Workbook> book_;
};

const com::MemberTable<Window>& Window::Members() {
  using M = com::Member<Window>;
  static const com::MemberTable<Window> table({
      M{u"FreezePanes", 1, [](Window& w, Call& call) { call.ReturnBool(Frozen(w.Sheet())); }, &Window::PutFreeze, nullptr},
      M{u"SplitRow", 2, [](Window& w, Call& call) { GetSplit(w, call, true); },
        [](Window& w, Call& call) { PutSplit(w, call, true); }, nullptr},
      M{u"SplitColumn", 3, [](Window& w, Call& call) { GetSplit(w, call, false); },
        [](Window& w, Call& call) { PutSplit(w, call, false); }, nullptr},
      M{u"Caption", 4, [](Window& w, Call& call) { w.Sheet(); call.ReturnText(w.book_->name); }, nullptr, nullptr},
  });
  return table;
}

}  // namespace

com::IDispatch* NewWindow(std::shared_ptr<AppState> app, std::shared_ptr<Workbook> book) {
  return new Window(std::move(app), std::move(book));
}

}  // namespace sheet

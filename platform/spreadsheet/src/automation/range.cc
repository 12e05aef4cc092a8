// The Range object: values, formats, sizes, merging, selection and sub-ranges of a rectangle.
#include <algorithm>
#include <cmath>

#include "cell_value.h"
#include "format_props.h"
#include "recycled.h"

namespace sheet {
namespace {

constexpr double kDefaultColumnWidth = 8.43;
constexpr double kDefaultRowHeight = 12.75;

struct AlignmentName {
  long xl;
  int code;
};
constexpr AlignmentName kHorizontal[] = {{1, 0}, {-4131, 1}, {-4108, 2}, {-4152, 3}, {5, 4},
                                         {-4130, 5}, {7, 6}, {-4117, 7}};
constexpr AlignmentName kVertical[] = {{-4160, 0}, {-4108, 1}, {-4107, 2}, {-4130, 3}, {-4117, 4}};

template <std::size_t N>
int AlignmentCode(const AlignmentName (&table)[N], long xl) {
  for (const auto& a : table)
    if (a.xl == xl) return a.code;
  return -1;
}

template <std::size_t N>
long AlignmentXl(const AlignmentName (&table)[N], int code) {
  for (const auto& a : table)
    if (a.code == code) return a.xl;
  return table[0].xl;
}

class Range final : public com::DispatchObject<Range>, public Recycled<Range> {
 public:
  explicit Range(RangeRef ref) : ref_(std::move(ref)) {}
  const RangeRef& Ref() const { return ref_; }
  static const com::MemberTable<Range>& Members();

 private:
  const RangeRef& Live() const {
    ref_.Check();
    return ref_;
  }
  static void Sub(com::Call& call, RangeRef sub) { call.ReturnDispatch(NewRange(std::move(sub))); }

  static void GetValue(Range& r, com::Call& call) {
    call.Expect(0, 1);
    com::VARIANT v;
    com::VariantInit(&v);
    GetAreaValue(*r.Live().sheet, r.ref_.rect, &v);
    call.ReturnVariant(&v);
  }
  static void PutValue(Range& r, com::Call& call) {
    call.Expect(0, 1);
    PutAreaValue(*r.Live().sheet, r.ref_.rect, call.PutValue());
  }

  static void Select(Range& r, com::Call& call) {
    call.Expect(0, 0);
    const RangeRef& ref = r.Live();
    ActivateSheet(ref);
    ref.sheet->selection = ref.rect;
    ref.sheet->activeRow = ref.rect.r1;
    ref.sheet->activeCol = ref.rect.c1;
    call.ReturnBool(true);
  }
  static void Activate(Range& r, com::Call& call) {
    call.Expect(0, 0);
    const RangeRef& ref = r.Live();
    Worksheet& ws = *ref.sheet;
    bool inside = ws.selection.Contains(ref.rect.r1, ref.rect.c1) && ref.rect.Count() == 1;
    if (!inside) return Select(r, call);
    ActivateSheet(ref);
    ws.activeRow = ref.rect.r1;
    ws.activeCol = ref.rect.c1;
    call.ReturnBool(true);
  }

  static void Merge(Range& r, com::Call& call) {
    call.Expect(0, 1);
    const RangeRef& ref = r.Live();
    bool across = call.Has(0) && call.Bool(0);
    if (ref.rect.Count() > 4'000'000) Fail(u"Merge: the range is too large");
    if (!across) {
      ref.sheet->Merge(ref.rect);
    } else {
      for (int row = ref.rect.r1; row <= ref.rect.r2; ++row)
        ref.sheet->Merge({row, ref.rect.c1, row, ref.rect.c2});
    }
  }
  static void UnMerge(Range& r, com::Call& call) {
    call.Expect(0, 0);
    r.Live().sheet->Unmerge(r.ref_.rect);
  }
  static void GetMergeCells(Range& r, com::Call& call) {
    call.Expect(0, 0);
    const Worksheet& ws = *r.Live().sheet;
    bool any = false, exact = false;
    for (const auto& m : ws.Merges()) {
      if (m.Overlaps(r.ref_.rect)) any = true;
      if (m == r.ref_.rect || (m.r1 <= r.ref_.rect.r1 && m.c1 <= r.ref_.rect.c1 &&
                               m.r2 >= r.ref_.rect.r2 && m.c2 >= r.ref_.rect.c2))
        exact = true;
    }
    if (exact) return call.ReturnBool(true);
    if (any) return call.ReturnNull();
    call.ReturnBool(false);
  }
  static void PutMergeCells(Range& r, com::Call& call) {
    call.Expect(0, 0);
    if (call.PutValueBool()) r.Live().sheet->Merge(r.ref_.rect);
    else r.Live().sheet->Unmerge(r.ref_.rect);
  }

  static void GetHAlign(Range& r, com::Call& call) {
    ReturnCommon(call, r.ref_, [](const CellStyle& s, int, int) {
      return PropValue::Long(AlignmentXl(kHorizontal, int(s.halign)));
    });
  }
  static void PutHAlign(Range& r, com::Call& call) {
    int code = AlignmentCode(kHorizontal, call.PutValueLong());
    if (code < 0) Fail(u"HorizontalAlignment: not an alignment constant");
    EditRange(r.ref_, [code](CellStyle& s, int, int) { s.halign = HAlign(code); });
  }
  static void GetVAlign(Range& r, com::Call& call) {
    ReturnCommon(call, r.ref_, [](const CellStyle& s, int, int) {
      return PropValue::Long(AlignmentXl(kVertical, int(s.valign)));
    });
  }
  static void PutVAlign(Range& r, com::Call& call) {
    int code = AlignmentCode(kVertical, call.PutValueLong());
    if (code < 0) Fail(u"VerticalAlignment: not an alignment constant");
    EditRange(r.ref_, [code](CellStyle& s, int, int) { s.valign = VAlign(code); });
  }
  static void GetWrap(Range& r, com::Call& call) {
    ReturnCommon(call, r.ref_, [](const CellStyle& s, int, int) { return PropValue::Bool(s.wrap); });
  }
  static void PutWrap(Range& r, com::Call& call) {
    bool wrap = call.PutValueBool();
    EditRange(r.ref_, [wrap](CellStyle& s, int, int) { s.wrap = wrap; });
  }
  static void GetNumberFormat(Range& r, com::Call& call) {
    ReturnCommon(call, r.ref_, [](const CellStyle& s, int, int) { return PropValue::Text(s.numberFormat); });
  }
  static void PutNumberFormat(Range& r, com::Call& call) {
    std::u16string format = call.PutValueText();
    if (format.empty()) format = u"General";
    if (format.size() > 255) Fail(u"NumberFormat: a number format has at most 255 characters");
    EditRange(r.ref_, [&format](CellStyle& s, int, int) { s.numberFormat = format; });
  }

  static void GetColumnWidth(Range& r, com::Call& call) {
    const RangeRef& ref = r.Live();
    double w = ref.sheet->ColumnWidth(ref.rect.c1);
    for (int c = ref.rect.c1; c <= std::min(ref.rect.c2, ref.rect.c1 + 16383); ++c)
      if (ref.sheet->ColumnWidth(c) != w) return call.ReturnNull();
    call.ReturnDouble(w < 0 ? kDefaultColumnWidth : w);
  }
  static void PutColumnWidth(Range& r, com::Call& call) {
    double w = call.PutValueDouble();
    if (!(w >= 0 && w <= 255)) Fail(u"ColumnWidth: a column is 0 to 255 characters wide");
    const RangeRef& ref = r.Live();
    ref.sheet->SetColumnWidth(ref.rect.c1, ref.rect.c2, w);
  }
  static void GetRowHeight(Range& r, com::Call& call) {
    const RangeRef& ref = r.Live();
    double h = ref.sheet->RowHeight(ref.rect.r1);
    if (ref.rect.Rows() <= 100000)
      for (int row = ref.rect.r1; row <= ref.rect.r2; ++row)
        if (ref.sheet->RowHeight(row) != h) return call.ReturnNull();
    call.ReturnDouble(h < 0 ? kDefaultRowHeight : h);
  }
  static void PutRowHeight(Range& r, com::Call& call) {
    double h = call.PutValueDouble();
    if (!(h >= 0 && h <= 409)) Fail(u"RowHeight: a row is 0 to 409 points high");
    const RangeRef& ref = r.Live();
    if (ref.rect.Rows() > 100000) Fail(u"RowHeight: too many rows at once");
    ref.sheet->SetRowHeight(ref.rect.r1, ref.rect.r2, h);
  }

  static void ClearContents(Range& r, com::Call& call) {
    call.Expect(0, 0);
    r.Live().sheet->ClearRect(r.ref_.rect);
    call.ReturnBool(true);
  }
  static void Clear(Range& r, com::Call& call) {
    call.Expect(0, 0);
    r.Live().sheet->ClearRect(r.ref_.rect);
    r.ref_.sheet->Unmerge(r.ref_.rect);
    EditRange(r.ref_, [](CellStyle& s, int, int) { s = CellStyle(); });
    call.ReturnBool(true);
  }

  static void Address(Range& r, com::Call& call) {
    call.Expect(0, 5);
    bool rowAbs = !call.Has(0) || call.Bool(0), colAbs = !call.Has(1) || call.Bool(1);
    call.ReturnText(FormatAddress(r.Live().rect, rowAbs, colAbs));
  }
  static void Count(Range& r, com::Call& call) {
    call.Expect(0, 0);
    long long n = r.Live().rect.Count();
    if (n <= 0x7FFFFFFF) call.ReturnLong(long(n));
    else call.ReturnDouble(double(n));
  }

  static void NewEnum(Range& r, com::Call& call) {
    const RangeRef& ref = r.Live();
    if (ref.rect.Count() > 100000) Fail(u"The range has too many cells to enumerate");
    std::vector<com::VARIANT> items;
    for (int row = ref.rect.r1; row <= ref.rect.r2; ++row)
      for (int c = ref.rect.c1; c <= ref.rect.c2; ++c) {
        RangeRef cell = ref;
        cell.rect = SingleCell(row, c);
        com::VARIANT v;
        v.vt = com::VT_DISPATCH;
        v.pdispVal = NewRange(cell);
        items.push_back(v);
      }
    call.ReturnUnknown(com::CreateVariantEnumerator(std::move(items)));
  }

  RangeRef ref_;
};

#define GET(body) [](Range& r, com::Call& call) { (void)r; (void)call; body; }

const com::MemberTable<Range>& Range::Members() {
  using M = com::Member<Range>;
  static const com::MemberTable<Range> table({
      M{u"Value", com::DISPID_VALUE, &Range::GetValue, &Range::PutValue, nullptr},
      M{u"Value2", 1, &Range::GetValue, &Range::PutValue, nullptr},
      M{u"Font", 2, GET(call.Expect(0, 0); call.ReturnDispatch(NewFont(r.Live()))), nullptr, nullptr},
      M{u"Interior", 3, GET(call.Expect(0, 0); call.ReturnDispatch(NewInterior(r.Live()))), nullptr, nullptr},
      M{u"Borders", 4, GET(
          call.Expect(0, 1);
          if (!call.Has(0)) return call.ReturnDispatch(NewBorders(r.Live(), kAllEdges));
          long edge = call.Long(0);
          if (edge == 5 || edge == 6) Fail(u"Borders: diagonal lines are not supported");
          if (edge < 7 || edge > 12) Fail(u"Borders: the index must be 7 to 12 (xlEdgeLeft … xlInsideHorizontal)");
          call.ReturnDispatch(NewBorders(r.Live(), EdgeBit(int(edge))))), nullptr, nullptr},
      M{u"HorizontalAlignment", 5, &Range::GetHAlign, &Range::PutHAlign, nullptr},
      M{u"VerticalAlignment", 6, &Range::GetVAlign, &Range::PutVAlign, nullptr},
      M{u"WrapText", 7, &Range::GetWrap, &Range::PutWrap, nullptr},
      M{u"ColumnWidth", 8, &Range::GetColumnWidth, &Range::PutColumnWidth, nullptr},
      M{u"RowHeight", 9, &Range::GetRowHeight, &Range::PutRowHeight, nullptr},
      M{u"NumberFormat", 10, &Range::GetNumberFormat, &Range::PutNumberFormat, nullptr},
      M{u"Merge", 11, nullptr, nullptr, &Range::Merge},
      M{u"UnMerge", 12, nullptr, nullptr, &Range::UnMerge},
      M{u"MergeCells", 13, &Range::GetMergeCells, &Range::PutMergeCells, nullptr},
      M{u"Select", 14, nullptr, nullptr, &Range::Select},
      M{u"Activate", 15, nullptr, nullptr, &Range::Activate},
      M{u"Cells", 16, GET(Sub(call, CellsOf(r.Live(), call))), nullptr, nullptr},
      M{u"Item", 17, GET(call.Expect(1, 2); Sub(call, CellsOf(r.Live(), call))), nullptr,
        GET(call.Expect(1, 2); Sub(call, CellsOf(r.Live(), call)))},
      M{u"Range", 18, GET(Sub(call, RangeOf(r.Live(), call))), nullptr, nullptr},
      M{u"Columns", 19, GET(Sub(call, ColumnsOf(r.Live(), call))), nullptr, nullptr},
      M{u"Rows", 20, GET(Sub(call, RowsOf(r.Live(), call))), nullptr, nullptr},
      M{u"Count", 21, &Range::Count, nullptr, nullptr},
      M{u"Row", 22, GET(call.Expect(0, 0); call.ReturnLong(r.Live().rect.r1 + 1)), nullptr, nullptr},
      M{u"Column", 23, GET(call.Expect(0, 0); call.ReturnLong(r.Live().rect.c1 + 1)), nullptr, nullptr},
      M{u"Address", 24, &Range::Address, nullptr, &Range::Address},
      M{u"ClearContents", 25, nullptr, nullptr, &Range::ClearContents},
      M{u"Clear", 26, nullptr, nullptr, &Range::Clear},
      M{u"EntireColumn", 27, GET(RangeRef e = r.Live(); e.rect.r1 = 0; e.rect.r2 = kMaxRows - 1; Sub(call, e)), nullptr, nullptr},
      M{u"EntireRow", 28, GET(RangeRef e = r.Live(); e.rect.c1 = 0; e.rect.c2 = kMaxCols - 1; Sub(call, e)), nullptr, nullptr},
      M{u"Worksheet", 29, GET(const RangeRef& e = r.Live(); call.ReturnDispatch(NewWorksheet(e.app, e.book, e.sheet))), nullptr, nullptr},
      M{u"_NewEnum", com::DISPID_NEWENUM, &Range::NewEnum, nullptr, &Range::NewEnum},
  });
  return table;
}

#undef GET

}  // namespace

com::IDispatch* NewRange(RangeRef ref) { return new Range(std::move(ref)); }

const RangeRef* RangeRefOf(com::IDispatch* d) {
  if (auto* r = dynamic_cast<Range*>(d)) return &r->Ref();
  return nullptr;
}

}  // namespace sheet

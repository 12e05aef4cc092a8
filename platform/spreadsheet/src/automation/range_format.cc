// Font, Interior and Borders/Border of a range: each property edits the formats of the range.
#include <bit>

#include "format_props.h"
#include "recycled.h"

namespace sheet {
namespace {

using Call = com::Call;

// xlUnderlineStyle constants <-> BIFF8 underline codes.
int UnderlineCode(long xl) {
  switch (xl) {
    case -4142: case 0: return 0;
    case 2: case -1: case 1: return 1;
    case -4119: return 2;
    case 4: return 0x21;
    case 5: return 0x22;
    default: return -1;
  }
}

long UnderlineXl(int code) {
  switch (code) {
    case 1: return 2;
    case 2: return -4119;
    case 0x21: return 4;
    case 0x22: return 5;
    default: return -4142;
  }
}

class FontObject final : public com::DispatchObject<FontObject>, public Recycled<FontObject> {
 public:
  explicit FontObject(RangeRef ref) : ref_(std::move(ref)) {}
  static const com::MemberTable<FontObject>& Members();

  template <class Read>
  void Get(Call& call, Read read) {
    call.Expect(0, 0);
    ReturnCommon(call, ref_, [&](const CellStyle& s, int, int) { return read(s.font); });
  }
  template <class Write>
  void Put(Write write, StyleEditKey key = {}) {
    EditRange(ref_, [&](CellStyle& s, int, int) { write(s.font); }, key);
  }

  static void PutSize(FontObject& f, Call& call) {
    double size = call.PutValueDouble();
    if (!(size >= 1 && size <= 409)) Fail(u"Font.Size: the size is 1 to 409 points");
    f.Put([size](sheet::Font& x) { x.size = size; }, {kFontSizeProperty, std::bit_cast<std::int64_t>(size)});
  }
  static void PutBold(FontObject& f, Call& call) {
    bool bold = call.PutValueBool();
    f.Put([bold](sheet::Font& x) { x.bold = bold; }, {kFontBoldProperty, bold});
  }
  static void PutColor(FontObject& f, Call& call) {
    std::int32_t color = ColorArg(call);
    f.Put([color](sheet::Font& x) { x.color = color; }, {kFontColorProperty, color});
  }
  static void PutName(FontObject& f, Call& call) {
    std::u16string name = call.PutValueText();
    if (name.empty() || name.size() > 31) Fail(u"Font.Name: a font name has 1 to 31 characters");
    f.Put([&name](sheet::Font& x) { x.name = name; });
  }
  static void PutUnderline(FontObject& f, Call& call) {
    const com::VARIANT& v = call.PutValue();
    int code = v.vt == com::VT_BOOL ? (v.boolVal ? 1 : 0) : UnderlineCode(call.PutValueLong());
    if (code < 0) Fail(u"Font.Underline: not an underline style");
    f.Put([code](sheet::Font& x) { x.underline = std::uint8_t(code); });
  }
  static void PutColorIndex(FontObject& f, Call& call) {
    std::int32_t color;
    if (!ColorIndexArg(call.PutValueLong(), &color)) Fail(u"Font.ColorIndex: the index is 1 to 56 or xlAutomatic");
    f.Put([color](sheet::Font& x) { x.color = color; });
  }

  RangeRef ref_;
};

#define FONT_GET(expr) [](FontObject& f, Call& call) { f.Get(call, [](const sheet::Font& x) { return expr; }); }
#define FONT_PUT_BOOL(field) \
  [](FontObject& f, Call& call) { bool v = call.PutValueBool(); f.Put([v](sheet::Font& x) { x.field = v; }); }

const com::MemberTable<FontObject>& FontObject::Members() {
  using M = com::Member<FontObject>;
  static const com::MemberTable<FontObject> table({
      M{u"Size", 1, FONT_GET(PropValue::Double(x.size)), &FontObject::PutSize, nullptr},
      M{u"Name", 2, FONT_GET(PropValue::Text(x.name)), &FontObject::PutName, nullptr},
      M{u"Bold", 3, FONT_GET(PropValue::Bool(x.bold)), &FontObject::PutBold, nullptr},
      M{u"Italic", 4, FONT_GET(PropValue::Bool(x.italic)), FONT_PUT_BOOL(italic), nullptr},
      M{u"Strikethrough", 5, FONT_GET(PropValue::Bool(x.strike)), FONT_PUT_BOOL(strike), nullptr},
      M{u"Underline", 6, FONT_GET(PropValue::Long(UnderlineXl(x.underline))), &FontObject::PutUnderline, nullptr},
      M{u"Color", 7, FONT_GET(PropValue::Long(x.color == kAutoColor ? 0 : x.color)), &FontObject::PutColor, nullptr},
      M{u"ColorIndex", 8,
        FONT_GET(PropValue::Long(x.color == kAutoColor ? -4105 : NearestColorIndex(x.color))),
        &FontObject::PutColorIndex, nullptr},
  });
  return table;
}

#undef FONT_GET
#undef FONT_PUT_BOOL

class InteriorObject final : public com::DispatchObject<InteriorObject> {
 public:
  explicit InteriorObject(RangeRef ref) : ref_(std::move(ref)) {}
  static const com::MemberTable<InteriorObject>& Members();

  static void GetColor(InteriorObject& i, Call& call) {
    ReturnCommon(call, i.ref_, [](const CellStyle& s, int, int) {
      return PropValue::Long(s.filled ? s.fillColor : 16777215);
    });
  }
  static void PutColor(InteriorObject& i, Call& call) {
    std::int32_t c = ColorArg(call);
    EditRange(i.ref_, [c](CellStyle& s, int, int) { s.filled = true; s.fillColor = c; });
  }
  static void GetColorIndex(InteriorObject& i, Call& call) {
    ReturnCommon(call, i.ref_, [](const CellStyle& s, int, int) {
      return PropValue::Long(s.filled ? NearestColorIndex(s.fillColor) : -4142);
    });
  }
  static void PutColorIndex(InteriorObject& i, Call& call) {
    long index = call.PutValueLong();
    std::int32_t c;
    if (!ColorIndexArg(index, &c)) Fail(u"Interior.ColorIndex: the index is 1 to 56, xlNone or xlAutomatic");
    bool filled = c != kAutoColor;
    EditRange(i.ref_, [c, filled](CellStyle& s, int, int) { s.filled = filled; s.fillColor = c; });
  }
  static void GetPattern(InteriorObject& i, Call& call) {
    ReturnCommon(call, i.ref_, [](const CellStyle& s, int, int) {
      return PropValue::Long(s.filled ? 1 : -4142);
    });
  }
  static void PutPattern(InteriorObject& i, Call& call) {
    long p = call.PutValueLong();
    if (p != 1 && p != -4142) Fail(u"Interior.Pattern: only xlSolid and xlNone are supported");
    EditRange(i.ref_, [p](CellStyle& s, int, int) {
      s.filled = p == 1;
      if (s.filled && s.fillColor == kAutoColor) s.fillColor = 16777215;
    });
  }

  RangeRef ref_;
};

const com::MemberTable<InteriorObject>& InteriorObject::Members() {
  using M = com::Member<InteriorObject>;
  static const com::MemberTable<InteriorObject> table({
      M{u"Color", 1, &InteriorObject::GetColor, &InteriorObject::PutColor, nullptr},
      M{u"ColorIndex", 2, &InteriorObject::GetColorIndex, &InteriorObject::PutColorIndex, nullptr},
      M{u"Pattern", 3, &InteriorObject::GetPattern, &InteriorObject::PutPattern, nullptr},
  });
  return table;
}

// Borders of a range: one edge (Borders(9)) or all edges and inside lines (Borders).
class BordersObject final : public com::DispatchObject<BordersObject> {
 public:
  BordersObject(RangeRef ref, unsigned edges) : ref_(std::move(ref)), edges_(edges) {}
  static const com::MemberTable<BordersObject>& Members();

  // The cell sides the chosen edges cover at (r, c); -1 means "every row/column".
  unsigned SidesAt(int r, int c) const {
    const CellRect& x = ref_.rect;
    unsigned sides = 0;
    auto want = [&](int xl) { return (edges_ & EdgeBit(xl)) != 0; };
    if (c >= 0) {
      if (want(7) && c == x.c1) sides |= 1u << kLeft;
      if (want(10) && c == x.c2) sides |= 1u << kRight;
      if (want(11) && c > x.c1) sides |= 1u << kLeft;
      if (want(11) && c < x.c2) sides |= 1u << kRight;
    } else if (want(11)) {
      sides |= 1u << kLeft | 1u << kRight;
    }
    if (r >= 0) {
      if (want(8) && r == x.r1) sides |= 1u << kTop;
      if (want(9) && r == x.r2) sides |= 1u << kBottom;
      if (want(12) && r > x.r1) sides |= 1u << kTop;
      if (want(12) && r < x.r2) sides |= 1u << kBottom;
    } else if (want(12)) {
      sides |= 1u << kTop | 1u << kBottom;
    }
    return sides;
  }

  template <class Change>
  void Edit(Change change) {
    EditRange(ref_, [&](CellStyle& s, int r, int c) {
      unsigned sides = SidesAt(r, c);
      for (int e = 0; e < kEdgeCount; ++e)
        if (sides & (1u << e)) change(s.border[e]);
    });
  }

  template <class Read>
  void Get(Call& call, Read read) {
    call.Expect(0, 0);
    ReturnCommon(call, ref_, [&](const CellStyle& s, int r, int c) {
      unsigned sides = SidesAt(r, c);
      for (int e = 0; e < kEdgeCount; ++e)
        if (sides & (1u << e)) return read(s.border[e]);
      return read(BorderLine());
    });
  }

  static void PutLineStyle(BordersObject& b, Call& call) {
    long style = call.PutValueLong();
    if (!IsLineStyle(int(style))) Fail(u"Border.LineStyle: not a line style constant");
    b.Edit([style](BorderLine& line) {
      int weight = line.style ? BorderWeight(line.style) : 2;
      line.style = std::uint8_t(BorderCode(int(style), weight));
    });
  }
  static void PutWeight(BordersObject& b, Call& call) {
    long weight = call.PutValueLong();
    if (!IsWeight(int(weight))) Fail(u"Border.Weight: not a border weight constant");
    b.Edit([weight](BorderLine& line) {
      int style = line.style ? BorderLineStyle(line.style) : 1;
      line.style = std::uint8_t(BorderCode(style, int(weight)));
    });
  }
  static void PutColor(BordersObject& b, Call& call) {
    std::int32_t c = ColorArg(call);
    b.Edit([c](BorderLine& line) { line.color = c; });
  }
  static void PutColorIndex(BordersObject& b, Call& call) {
    std::int32_t c;
    if (!ColorIndexArg(call.PutValueLong(), &c)) Fail(u"Border.ColorIndex: the index is 1 to 56 or xlAutomatic");
    b.Edit([c](BorderLine& line) { line.color = c; });
  }
  static void Item(BordersObject& b, Call& call) {
    call.Expect(1, 1);
    long edge = call.Long(0);
    if (edge < 7 || edge > 12) Fail(u"Borders: the index must be 7 to 12 (xlEdgeLeft … xlInsideHorizontal)");
    call.ReturnDispatch(NewBorders(b.ref_, EdgeBit(int(edge))));
  }

  RangeRef ref_;
  unsigned edges_;
};

#define BORDER_GET(expr) [](BordersObject& b, Call& call) { b.Get(call, [](const BorderLine& x) { return expr; }); }

const com::MemberTable<BordersObject>& BordersObject::Members() {
  using M = com::Member<BordersObject>;
  static const com::MemberTable<BordersObject> table({
      M{u"LineStyle", 1, BORDER_GET(PropValue::Long(BorderLineStyle(x.style))), &BordersObject::PutLineStyle, nullptr},
      M{u"Weight", 2, BORDER_GET(PropValue::Long(BorderWeight(x.style))), &BordersObject::PutWeight, nullptr},
      M{u"Color", 3, BORDER_GET(PropValue::Long(x.color == kAutoColor ? 0 : x.color)), &BordersObject::PutColor, nullptr},
      M{u"ColorIndex", 4, BORDER_GET(PropValue::Long(x.color == kAutoColor ? -4105 : NearestColorIndex(x.color))),
        &BordersObject::PutColorIndex, nullptr},
      M{u"Item", com::DISPID_VALUE, &BordersObject::Item, nullptr, &BordersObject::Item},
      M{u"Count", 5, [](BordersObject&, Call& call) { call.ReturnLong(6); }, nullptr, nullptr},
  });
  return table;
}

#undef BORDER_GET

}  // namespace

com::IDispatch* NewFont(RangeRef ref) { return new FontObject(std::move(ref)); }
com::IDispatch* NewInterior(RangeRef ref) { return new InteriorObject(std::move(ref)); }
com::IDispatch* NewBorders(RangeRef ref, unsigned edges) { return new BordersObject(std::move(ref), edges); }

}  // namespace sheet

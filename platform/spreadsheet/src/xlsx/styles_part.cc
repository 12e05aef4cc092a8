// Fonts, fills, borders and number formats of the styles part, each written once and shared by
// the cell formats that use it.
#include "styles_part.h"

#include <unordered_map>
#include <vector>

#include "xml_text.h"

namespace sheet {
namespace {

// Distinct XML pieces of one kind (fonts, fills, ...), numbered in order of first use.
class Pieces {
 public:
  explicit Pieces(std::vector<std::string> fixed = {}) {
    for (auto& p : fixed) Add(p);
  }
  std::size_t Add(const std::string& xml) {
    auto [it, fresh] = ids_.emplace(xml, list_.size());
    if (fresh) list_.push_back(xml);
    return it->second;
  }
  void Write(const char* tag, std::string& out) const {
    out += "<" + std::string(tag) + " count=\"" + std::to_string(list_.size()) + "\">";
    for (const auto& p : list_) out += p;
    out += "</" + std::string(tag) + ">";
  }

 private:
  std::unordered_map<std::string, std::size_t> ids_;
  std::vector<std::string> list_;
};

// Automation colour number (R + 256·G + 65536·B) as an ARGB attribute value.
std::string Argb(std::int32_t c) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s = "FF";
  for (int shift : {0, 8, 16}) {
    int byte = (c >> shift) & 0xFF;
    s += kHex[byte >> 4];
    s += kHex[byte & 15];
  }
  return s;
}

std::string Attr(const char* name, std::u16string_view value) {
  std::string out = std::string(" ") + name + "=\"";
  AppendXmlText(value, out);
  return out + "\"";
}

std::string Font(const Font& f) {
  std::string x = "<font>";
  if (f.bold) x += "<b/>";
  if (f.italic) x += "<i/>";
  if (f.strike) x += "<strike/>";
  switch (f.underline) {
    case 1: x += "<u/>"; break;
    case 2: x += "<u val=\"double\"/>"; break;
    case 0x21: x += "<u val=\"singleAccounting\"/>"; break;
    case 0x22: x += "<u val=\"doubleAccounting\"/>"; break;
    default: break;
  }
  x += "<sz val=\"" + NumberText(f.size) + "\"/>";
  if (f.color != kAutoColor) x += "<color rgb=\"" + Argb(f.color) + "\"/>";
  return x + "<name" + Attr("val", f.name) + "/></font>";
}

std::string Fill(const CellStyle& s) {
  std::int32_t color = s.fillColor == kAutoColor ? 0xFFFFFF : s.fillColor;
  return "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"" + Argb(color) +
         "\"/><bgColor indexed=\"64\"/></patternFill></fill>";
}

const char* const kLineStyles[] = {"",         "thin",         "medium",        "dashed",          "dotted",
                                   "thick",    "double",       "hair",          "mediumDashed",    "dashDot",
                                   "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"};

std::string Border(const CellStyle& s) {
  static const char* const kSides[] = {"left", "right", "top", "bottom"};
  std::string x = "<border>";
  for (int e = 0; e < kEdgeCount; ++e) {
    const BorderLine& b = s.border[e];
    std::string side = kSides[e];
    if (!b.style || b.style >= std::size(kLineStyles)) {
      x += "<" + side + "/>";
      continue;
    }
    x += "<" + side + " style=\"" + kLineStyles[b.style] + "\">";
    x += b.color == kAutoColor ? "<color auto=\"1\"/>" : "<color rgb=\"" + Argb(b.color) + "\"/>";
    x += "</" + side + ">";
  }
  return x + "<diagonal/></border>";
}

// The built-in number formats every reader knows by id.
int BuiltinFormat(std::u16string_view code) {
  static const std::unordered_map<std::u16string_view, int> kIds = {
      {u"General", 0},         {u"0", 1},           {u"0.00", 2},       {u"#,##0", 3},
      {u"#,##0.00", 4},        {u"0%", 9},          {u"0.00%", 10},     {u"0.00E+00", 11},
      {u"# ?/?", 12},          {u"# ?\?/??", 13},   {u"mm-dd-yy", 14},  {u"d-mmm-yy", 15},
      {u"d-mmm", 16},          {u"mmm-yy", 17},     {u"h:mm AM/PM", 18}, {u"h:mm:ss AM/PM", 19},
      {u"h:mm", 20},           {u"h:mm:ss", 21},    {u"m/d/yy h:mm", 22}, {u"#,##0 ;(#,##0)", 37},
      {u"#,##0 ;[Red](#,##0)", 38}, {u"#,##0.00;(#,##0.00)", 39}, {u"#,##0.00;[Red](#,##0.00)", 40},
      {u"mm:ss", 45},          {u"[h]:mm:ss", 46},  {u"mmss.0", 47},    {u"##0.0E+0", 48},
      {u"@", 49}};
  auto it = kIds.find(code);
  return it == kIds.end() ? -1 : it->second;
}

constexpr int kFirstCustomFormat = 164;

class StylesBuilder {
 public:
  std::string Xf(const CellStyle& s) {
    std::size_t font = fonts_.Add(Font(s.font));
    std::size_t fill = s.filled ? fills_.Add(Fill(s)) : 0;
    std::size_t border = borders_.Add(Border(s));
    int format = NumberFormat(s.numberFormat);
    std::string align = Alignment(s);
    std::string x = "<xf numFmtId=\"" + std::to_string(format) + "\" fontId=\"" + std::to_string(font) +
                    "\" fillId=\"" + std::to_string(fill) + "\" borderId=\"" + std::to_string(border) + "\" xfId=\"0\"";
    if (format) x += " applyNumberFormat=\"1\"";
    if (font) x += " applyFont=\"1\"";
    if (fill) x += " applyFill=\"1\"";
    if (border) x += " applyBorder=\"1\"";
    if (align.empty()) return x + "/>";
    return x + " applyAlignment=\"1\"><alignment" + align + "/></xf>";
  }

  std::string Part(const std::string& xfs, std::size_t count) const {
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (!formats_.empty()) {
      x += "<numFmts count=\"" + std::to_string(formats_.size()) + "\">";
      for (const auto& f : formats_) x += f;
      x += "</numFmts>";
    }
    fonts_.Write("fonts", x);
    fills_.Write("fills", x);
    borders_.Write("borders", x);
    x += "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
    x += "<cellXfs count=\"" + std::to_string(count) + "\">" + xfs + "</cellXfs>";
    x += "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";
    return x + "<dxfs count=\"0\"/><tableStyles count=\"0\"/></styleSheet>";
  }

 private:
  int NumberFormat(const std::u16string& code) {
    int id = BuiltinFormat(code);
    if (id >= 0) return id;
    auto [it, fresh] = customFormats_.emplace(code, kFirstCustomFormat + int(formats_.size()));
    if (fresh) formats_.push_back("<numFmt numFmtId=\"" + std::to_string(it->second) + "\"" + Attr("formatCode", code) + "/>");
    return it->second;
  }

  static std::string Alignment(const CellStyle& s) {
    static const char* const kHorizontal[] = {"", "left", "center", "right", "fill", "justify", "centerContinuous", "distributed"};
    static const char* const kVertical[] = {"top", "center", "", "justify", "distributed"};
    std::string a;
    if (s.halign != HAlign::General) a += std::string(" horizontal=\"") + kHorizontal[int(s.halign)] + "\"";
    if (s.valign != VAlign::Bottom) a += std::string(" vertical=\"") + kVertical[int(s.valign)] + "\"";
    if (s.wrap) a += " wrapText=\"1\"";
    return a;
  }

  Pieces fonts_;
  Pieces fills_{{"<fill><patternFill patternType=\"none\"/></fill>", "<fill><patternFill patternType=\"gray125\"/></fill>"}};
  Pieces borders_;
  std::unordered_map<std::u16string, int> customFormats_;
  std::vector<std::string> formats_;
};

}  // namespace

std::string StylesPart(const StyleTable& styles) {
  StylesBuilder builder;
  std::string xfs;
  for (std::uint32_t id = 0; id < styles.Size(); ++id) xfs += builder.Xf(styles.Get(id));
  return builder.Part(xfs, styles.Size());
}

}  // namespace sheet

// Cell values to and from VARIANTs.
#include "cell_value.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "com/dispatch_object.h"
#include "com/safearray.h"

namespace sheet {
namespace {

constexpr long long kMaxAreaRead = 1'000'000;  // cells one Value call reads or fills

// Reads text as a number the way a General cell does: optional blanks, sign, digits with one
// decimal point, optional exponent. No thousands separators, no currency or dates.
bool LooksNumeric(std::u16string_view t, double* out) {
  std::string ascii;
  for (char16_t c : t) {
    if (c > 0x7F) return false;
    ascii.push_back(char(c));
  }
  auto b = ascii.find_first_not_of(' '), e = ascii.find_last_not_of(' ');
  if (b == std::string::npos) return false;
  ascii = ascii.substr(b, e - b + 1);
  std::size_t i = 0;
  if (ascii[i] == '+' || ascii[i] == '-') ++i;
  bool digits = false, dot = false;
  for (; i < ascii.size() && (std::isdigit((unsigned char)ascii[i]) || (ascii[i] == '.' && !dot)); ++i) {
    if (ascii[i] == '.') dot = true;
    else digits = true;
  }
  if (!digits) return false;
  if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
    ++i;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
    std::size_t start = i;
    while (i < ascii.size() && std::isdigit((unsigned char)ascii[i])) ++i;
    if (i == start) return false;
  }
  if (i != ascii.size()) return false;
  *out = std::strtod(ascii.c_str(), nullptr);
  return std::isfinite(*out);
}

void PutNumber(Worksheet& ws, int r, int c, double d) {
  if (!std::isfinite(d)) com::ThrowException(u"A cell cannot hold a number that is not finite");
  ws.SetNumber(r, c, d);
}

void PutText(Worksheet& ws, int r, int c, std::u16string_view text) {
  if (text.size() > kMaxCellText)
    com::ThrowException(u"A cell holds at most 32767 characters");
  double d;
  const CellStyle& style = ws.Styles().Get(ws.StyleAt(r, c));
  if (style.numberFormat != u"@" && LooksNumeric(text, &d)) ws.SetNumber(r, c, d);
  else ws.SetText(r, c, text);
}

void PutDate(Worksheet& ws, int r, int c, double d) {
  PutNumber(ws, r, c, d);
  if (ws.Styles().Get(ws.StyleAt(r, c)).numberFormat != u"General") return;
  bool timed = d != std::floor(d);
  ws.EditStyle(SingleCell(r, c), [timed](CellStyle& s, int, int) {
    s.numberFormat = timed ? u"m/d/yyyy h:mm" : u"m/d/yyyy";
  });
}

// Element (i, j) of a 1- or 2-dimensional array as a VARIANT (VT_EMPTY outside the array).
bool ArrayElement(com::SAFEARRAY* psa, long i, long j, com::VARIANT* out) {
  com::VariantInit(out);
  unsigned dims = com::SafeArrayGetDim(psa);
  com::LONG idx[2];
  for (unsigned d = 0; d < dims; ++d) {
    com::LONG lo;
    com::SafeArrayGetLBound(psa, d + 1, &lo);
    idx[d] = lo + (dims == 1 ? j : d == 0 ? i : j);
  }
  if (psa->vt == com::VT_VARIANT) return com::SUCCEEDED(com::SafeArrayGetElement(psa, idx, out));
  com::VARIANT raw;
  raw.vt = psa->vt;
  raw.llVal = 0;
  void* slot;
  if (com::FAILED(com::SafeArrayPtrOfIndex(psa, idx, &slot))) return false;
  std::memcpy(&raw.llVal, slot, psa->cbElements <= 16 ? psa->cbElements : 16);
  return com::SUCCEEDED(com::VariantCopy(out, &raw));
}

}  // namespace

void PutCellValue(Worksheet& ws, int r, int c, const com::VARIANT& v) {
  using namespace com;
  switch (v.vt) {
    case VT_EMPTY: case VT_NULL: ws.Clear(r, c); return;
    case VT_BSTR: PutText(ws, r, c, BstrView(v.bstrVal)); return;
    case VT_BOOL: ws.SetBool(r, c, v.boolVal != 0); return;
    case VT_DATE: PutDate(ws, r, c, v.date); return;
    case VT_R8: PutNumber(ws, r, c, v.dblVal); return;  // the numbers most calls pass, as is
    case VT_I4: PutNumber(ws, r, c, v.lVal); return;
    case VT_DISPATCH: case VT_UNKNOWN: case VT_ERROR:
      throw DispatchError{DISP_E_TYPEMISMATCH, u"", 0};
    default: break;
  }
  VARIANT n;
  VariantInit(&n);
  if (FAILED(VariantChangeType(&n, &v, 0, VT_R8))) throw DispatchError{DISP_E_TYPEMISMATCH, u"", 0};
  PutNumber(ws, r, c, n.dblVal);
}

void PutAreaValue(Worksheet& ws, const CellRect& rect, const com::VARIANT& v) {
  using namespace com;
  if (!(v.vt & VT_ARRAY)) {
    if (rect.Count() > kMaxAreaRead) ThrowException(u"The range is too large to fill with one value");
    for (int r = rect.r1; r <= rect.r2; ++r)
      for (int c = rect.c1; c <= rect.c2; ++c) PutCellValue(ws, r, c, v);
    return;
  }
  SAFEARRAY* psa = v.parray;
  unsigned dims = SafeArrayGetDim(psa);
  if (!psa || dims < 1 || dims > 2) ThrowException(u"Value: only one- and two-dimensional arrays can be stored");
  LONG lo, hi, rows = 1, cols;
  SafeArrayGetLBound(psa, dims, &lo);
  SafeArrayGetUBound(psa, dims, &hi);
  cols = hi - lo + 1;
  if (dims == 2) {
    SafeArrayGetLBound(psa, 1, &lo);
    SafeArrayGetUBound(psa, 1, &hi);
    rows = hi - lo + 1;
  }
  int lastRow = rect.r2, lastCol = rect.c2;
  if (dims == 2 && rect.Rows() > rows) lastRow = rect.r1 + rows - 1;
  if (rect.Cols() > cols) lastCol = rect.c1 + cols - 1;
  if ((long long)(lastRow - rect.r1 + 1) * (lastCol - rect.c1 + 1) > kMaxAreaRead)
    ThrowException(u"The range is too large to fill from an array");
  for (int r = rect.r1; r <= lastRow; ++r)
    for (int c = rect.c1; c <= lastCol; ++c) {
      VARIANT e;
      if (!ArrayElement(psa, r - rect.r1, c - rect.c1, &e)) continue;
      try {
        PutCellValue(ws, r, c, e);
      } catch (...) {
        VariantClear(&e);
        throw;
      }
      VariantClear(&e);
    }
  // Cells beyond the array's extent are cleared.
  ws.ClearRect({lastRow + 1, rect.c1, rect.r2, rect.c2});
  ws.ClearRect({rect.r1, lastCol + 1, rect.r2, rect.c2});
}

namespace {

void CellVariant(const Worksheet& ws, int r, int c, com::VARIANT* out) {
  using namespace com;
  VariantInit(out);
  const sheet::Cell* cell = ws.Find(r, c);
  if (!cell) return;
  switch (cell->kind) {
    case CellKind::kEmpty: return;
    case CellKind::kNumber: out->vt = VT_R8; out->dblVal = cell->number; return;
    case CellKind::kBool: out->vt = VT_BOOL; out->boolVal = cell->flag ? VARIANT_TRUE : VARIANT_FALSE; return;
    case CellKind::kText:
      out->bstrVal = SysAllocString(std::u16string_view(ws.Strings().Get(cell->text)));
      out->vt = VT_BSTR;
      return;
  }
}

}  // namespace

void GetAreaValue(const Worksheet& ws, const CellRect& rect, com::VARIANT* out) {
  using namespace com;
  if (rect.Count() == 1) return CellVariant(ws, rect.r1, rect.c1, out);
  if (rect.Count() > kMaxAreaRead) ThrowException(u"The range is too large to read at once");
  SAFEARRAYBOUND b[2] = {{ULONG(rect.Rows()), 1}, {ULONG(rect.Cols()), 1}};
  SAFEARRAY* psa = SafeArrayCreate(VT_VARIANT, 2, b);
  if (!psa) throw std::bad_alloc();
  auto* data = static_cast<VARIANT*>(psa->pvData);
  for (int r = rect.r1; r <= rect.r2; ++r)
    for (int c = rect.c1; c <= rect.c2; ++c)
      CellVariant(ws, r, c, &data[(long long)(c - rect.c1) * rect.Rows() + (r - rect.r1)]);
  out->vt = VT_ARRAY | VT_VARIANT;
  out->parray = psa;
}

}  // namespace sheet

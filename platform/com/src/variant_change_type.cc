// VariantChangeType and the numeric conversions behind it. Numbers go through double (64-bit
// integers are kept exact), text uses the invariant (US) number format.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "com/interfaces.h"
#include "com/variant.h"

namespace com {
namespace {

// The value of a source variant reduced to one of four kinds.
struct Scalar {
  enum Kind { kEmpty, kNumber, kBool, kText } kind = kEmpty;
  double number = 0;
  bool integral64 = false;  // number came from I8/UI8 and `whole` holds it exactly
  std::int64_t whole = 0;
  bool flag = false;
  std::u16string text;
};

HRESULT ReadScalar(const VARIANT& v, Scalar* out);

HRESULT ReadDefaultValue(IDispatch* d, Scalar* out) {
  if (!d) return DISP_E_TYPEMISMATCH;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT value;
  VariantInit(&value);
  HRESULT h = d->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                        nullptr);
  if (FAILED(h)) return DISP_E_TYPEMISMATCH;
  h = value.vt == VT_DISPATCH ? DISP_E_TYPEMISMATCH : ReadScalar(value, out);
  VariantClear(&value);
  return h;
}

HRESULT ReadScalar(const VARIANT& v, Scalar* out) {
  auto num = [&](double d) {
    out->kind = Scalar::kNumber;
    out->number = d;
    return S_OK;
  };
  switch (v.vt) {
    case VT_EMPTY: out->kind = Scalar::kEmpty; return S_OK;
    case VT_I1: return num(static_cast<signed char>(v.cVal));
    case VT_UI1: return num(v.bVal);
    case VT_I2: return num(v.iVal);
    case VT_UI2: return num(v.uiVal);
    case VT_I4: case VT_INT: return num(v.lVal);
    case VT_UI4: case VT_UINT: return num(v.ulVal);
    case VT_R4: return num(v.fltVal);
    case VT_R8: case VT_DATE: return num(v.dblVal);
    case VT_CY: return num(static_cast<double>(v.cyVal.int64) / 10000.0);
    case VT_DECIMAL: { double d; VarR8FromDec(&v.decVal, &d); return num(d); }
    case VT_I8: case VT_UI8:
      out->integral64 = true;
      out->whole = v.llVal;
      return num(v.vt == VT_I8 ? double(v.llVal) : double(v.ullVal));
    case VT_BOOL: out->kind = Scalar::kBool; out->flag = v.boolVal != 0; return S_OK;
    case VT_BSTR: out->kind = Scalar::kText; out->text = BstrView(v.bstrVal); return S_OK;
    case VT_DISPATCH: return ReadDefaultValue(v.pdispVal, out);
    default: return DISP_E_TYPEMISMATCH;
  }
}

bool ParseNumber(const std::u16string& text, double* out) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    ascii.push_back(char(c));
  }
  std::size_t b = ascii.find_first_not_of(" \t");
  std::size_t e = ascii.find_last_not_of(" \t");
  if (b == std::string::npos) return false;
  ascii = ascii.substr(b, e - b + 1);
  if (ascii.find_first_of("xXpPnN") != std::string::npos) return false;  // no hex, nan, inf
  char* end = nullptr;
  *out = std::strtod(ascii.c_str(), &end);
  return end && *end == '\0' && std::isfinite(*out);
}

bool EqualsNoCase(const std::u16string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t c = a[i] >= 'a' && a[i] <= 'z' ? char16_t(a[i] - 32) : a[i];
    char d = b[i] >= 'a' && b[i] <= 'z' ? char(b[i] - 32) : b[i];
    if (c != char16_t(d)) return false;
  }
  return true;
}

HRESULT AsNumber(const Scalar& s, double* out) {
  switch (s.kind) {
    case Scalar::kEmpty: *out = 0; return S_OK;
    case Scalar::kNumber: *out = s.number; return S_OK;
    case Scalar::kBool: *out = s.flag ? -1 : 0; return S_OK;
    case Scalar::kText:
      if (EqualsNoCase(s.text, "true")) { *out = -1; return S_OK; }
      if (EqualsNoCase(s.text, "false")) { *out = 0; return S_OK; }
      return ParseNumber(s.text, out) ? S_OK : DISP_E_TYPEMISMATCH;
  }
  return DISP_E_TYPEMISMATCH;
}

std::u16string NumberText(double d) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", d);
  std::u16string out;
  for (char* p = buf; *p; ++p) out.push_back(char16_t(*p));
  return out;
}

// Rounds half to even, as Automation's integer conversions do, and checks the range.
HRESULT ToInteger(double d, double lo, double hi, std::int64_t* out) {
  if (!std::isfinite(d)) return DISP_E_OVERFLOW;
  double r = std::nearbyint(d);  // default rounding mode: half to even
  if (r < lo || r > hi) return DISP_E_OVERFLOW;
  *out = static_cast<std::int64_t>(r);
  return S_OK;
}

HRESULT StoreNumber(const Scalar& s, VARTYPE vt, VARIANT* out) {
  double d;
  HRESULT h = AsNumber(s, &d);
  if (FAILED(h)) return h;
  std::int64_t i = 0;
  auto ranged = [&](double lo, double hi) { return ToInteger(d, lo, hi, &i); };
  out->llVal = 0;
  switch (vt) {
    case VT_I1: h = ranged(-128, 127); out->cVal = char(i); break;
    case VT_UI1: h = ranged(0, 255); out->bVal = std::uint8_t(i); break;
    case VT_I2: h = ranged(-32768, 32767); out->iVal = std::int16_t(i); break;
    case VT_UI2: h = ranged(0, 65535); out->uiVal = std::uint16_t(i); break;
    case VT_I4: case VT_INT: h = ranged(-2147483648.0, 2147483647.0); out->lVal = LONG(i); break;
    case VT_UI4: case VT_UINT: h = ranged(0, 4294967295.0); out->ulVal = ULONG(i); break;
    case VT_I8:
      if (s.integral64) { out->llVal = s.whole; break; }
      h = ranged(-9223372036854775808.0, 9223372036854774784.0);
      out->llVal = i;
      break;
    case VT_UI8:
      if (s.integral64 && s.whole >= 0) { out->llVal = s.whole; break; }
      h = ranged(0, 9223372036854774784.0);
      out->llVal = i;
      break;
    case VT_R4:
      if (std::fabs(d) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
      out->fltVal = float(d);
      break;
    case VT_R8: case VT_DATE:
      if (vt == VT_DATE && (d < -657434.0 || d >= 2958466.0)) return DISP_E_OVERFLOW;
      out->dblVal = d;
      break;
    case VT_CY: h = VarCyFromR8(d, &out->cyVal); break;
    case VT_DECIMAL: h = VarDecFromR8(d, &out->decVal); break;
    default: return DISP_E_BADVARTYPE;
  }
  if (SUCCEEDED(h)) out->vt = vt;
  return h;
}

HRESULT StoreText(const Scalar& s, VARIANT* out) {
  std::u16string text;
  switch (s.kind) {
    case Scalar::kEmpty: break;
    case Scalar::kText: text = s.text; break;
    case Scalar::kBool: text = s.flag ? u"True" : u"False"; break;
    case Scalar::kNumber:
      if (s.integral64) {
        for (char c : std::to_string(s.whole)) text.push_back(char16_t(c));
      } else {
        text = NumberText(s.number);
      }
      break;
  }
  out->bstrVal = SysAllocString(std::u16string_view(text));
  if (!out->bstrVal) return E_OUTOFMEMORY;
  out->vt = VT_BSTR;
  return S_OK;
}

HRESULT StoreBool(const Scalar& s, VARIANT* out) {
  double d;
  HRESULT h = AsNumber(s, &d);
  if (FAILED(h)) return h;
  out->llVal = 0;
  out->boolVal = d != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  out->vt = VT_BOOL;
  return S_OK;
}

}  // namespace

HRESULT VarR8FromCy(CY in, double* out) {
  if (!out) return E_INVALIDARG;
  *out = static_cast<double>(in.int64) / 10000.0;
  return S_OK;
}

HRESULT VarCyFromR8(double in, CY* out) {
  if (!out) return E_INVALIDARG;
  double scaled = std::nearbyint(in * 10000.0);
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2233720368547748e18) return DISP_E_OVERFLOW;
  out->int64 = static_cast<std::int64_t>(scaled);
  return S_OK;
}

HRESULT VarR8FromDec(const DECIMAL* in, double* out) {
  if (!in || !out) return E_INVALIDARG;
  if (in->scale > 28) return E_INVALIDARG;
  double v = double(in->Hi32) * 18446744073709551616.0 + double(in->Lo64);
  v /= std::pow(10.0, in->scale);
  *out = (in->sign & DECIMAL_NEG) ? -v : v;
  return S_OK;
}

HRESULT VarDecFromR8(double in, DECIMAL* out) {
  if (!out) return E_INVALIDARG;
  if (!std::isfinite(in) || std::fabs(in) >= 7.9e28) return DISP_E_OVERFLOW;
  std::memset(out, 0, sizeof *out);
  double a = std::fabs(in);
  // Keep 15 significant digits: scale so that the integer part holds them.
  int scale = 0;
  while (scale < 28 && a * std::pow(10.0, scale) < 1e14 && a != 0) ++scale;
  while (scale > 0 && std::nearbyint(a * std::pow(10.0, scale - 1)) ==
                          a * std::pow(10.0, scale - 1)) --scale;
  double scaled = std::nearbyint(a * std::pow(10.0, scale));
  out->scale = std::uint8_t(scale);
  out->sign = in < 0 ? DECIMAL_NEG : 0;
  out->Hi32 = ULONG(scaled / 18446744073709551616.0);
  out->Lo64 = std::uint64_t(std::fmod(scaled, 18446744073709551616.0));
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD, VARTYPE vt) {
  if (!dest || !src) return E_INVALIDARG;
  VARIANT value;
  VariantInit(&value);
  HRESULT h = VariantCopyInd(&value, src);
  if (FAILED(h)) return h;
  VARIANT result;
  VariantInit(&result);
  if (value.vt == vt) {
    h = VariantCopy(&result, &value);
  } else if (vt == VT_EMPTY) {
    h = S_OK;
  } else if (value.vt == VT_NULL || vt == VT_NULL || (value.vt & VT_ARRAY)) {
    h = DISP_E_TYPEMISMATCH;
  } else if (!IsValidVariantType(vt) || (vt & (VT_ARRAY | VT_BYREF))) {
    h = DISP_E_BADVARTYPE;
  } else if (vt == VT_DISPATCH || vt == VT_UNKNOWN || vt == VT_ERROR) {
    h = DISP_E_TYPEMISMATCH;
  } else {
    Scalar s;
    h = ReadScalar(value, &s);
    if (SUCCEEDED(h)) {
      if (vt == VT_BSTR) h = StoreText(s, &result);
      else if (vt == VT_BOOL) h = StoreBool(s, &result);
      else h = StoreNumber(s, vt, &result);
    }
  }
  VariantClear(&value);
  if (FAILED(h)) return h;
  VariantClear(dest);
  *dest = result;
  return S_OK;
}

}  // namespace com

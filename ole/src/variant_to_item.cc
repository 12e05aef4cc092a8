// VARIANTs to values: scalars, dates, texts, objects, and SAFEARRAYs of any dimension count.
#include <cmath>
#include <cstdint>
#include <vector>

#include "array.h"
#include "byte_string.h"
#include "ole/ole.h"
#include "ole_convert.h"
#include "ole_objects.h"
#include "ole_trace.h"

namespace ole {
namespace {

using namespace com;

constexpr long kJulianOf18991230 = 2415019;
constexpr double kMsPerDay = 86400000.0;

void PutDate(PV_ITEM dest, DATE d) {
  double day = std::trunc(d);
  auto ms = static_cast<long>(std::llround(std::fabs(d - day) * kMsPerDay));
  auto julian = static_cast<long>(day) + kJulianOf18991230;
  if (ms >= static_cast<long>(kMsPerDay)) {
    ms = 0;
    julian += 1;
  }
  pv_itemPutDTL(dest, julian, ms);
}

void PutText(PV_ITEM dest, BSTR s) {
  std::size_t n = 0;
  char* text = pv_oleWideToAnsi(s ? s : u"", SysStringLen(s), &n);
  pv_itemPutCL(dest, text, static_cast<PV_SIZE>(n));
  pv_xfree(text);
}

void PutDispatch(PV_ITEM dest, IDispatch* p, PV_ITEM name) {
  if (p) NewOleAuto(dest, p, name);
}

void PutUnknown(PV_ITEM dest, IUnknown* p, PV_ITEM name) {
  if (!p) return;
  IDispatch* d = nullptr;
  if (SUCCEEDED(p->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))) && d) {
    NewOleAuto(dest, d, name);
    d->Release();
    return;
  }
  PvItem ptr{PV_IT_NIL, {}};
  pv_itemPutPtr(&ptr, p);
  NewWrapper(dest, "VTWRAPPER", VT_UNKNOWN, &ptr);
  pv_itemClear(&ptr);
}

HRESULT ConvertArray(PV_ITEM dest, SAFEARRAY* psa, VARTYPE vt);

// The scalar a VT_BYREF or plain variant holds, as a plain variant (no copy of owned data:
// the result borrows from v).
VARIANT Deref(const VARIANT& v) {
  VARIANT out = v;
  if (!(v.vt & VT_BYREF)) return out;
  out.vt = v.vt & ~VT_BYREF;
  if (v.vt & VT_ARRAY) {
    out.parray = v.pparray ? *v.pparray : nullptr;
    return out;
  }
  switch (out.vt) {
    case VT_I2: case VT_UI2: out.iVal = *v.piVal; break;
    case VT_I1: case VT_UI1: out.bVal = *v.pbVal; break;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_ERROR: out.lVal = *v.plVal; break;
    case VT_I8: case VT_UI8: out.llVal = *v.pllVal; break;
    case VT_R4: out.fltVal = *v.pfltVal; break;
    case VT_R8: case VT_DATE: out.dblVal = *v.pdblVal; break;
    case VT_CY: out.cyVal = *v.pcyVal; break;
    case VT_DECIMAL: out.decVal = *v.pdecVal; break;
    case VT_BSTR: out.bstrVal = *v.pbstrVal; break;
    case VT_BOOL: out.boolVal = *v.pboolVal; break;
    case VT_DISPATCH: case VT_UNKNOWN: out.punkVal = *v.ppunkVal; break;
    default: break;
  }
  return out;
}

HRESULT Scalar(PV_ITEM dest, const VARIANT& v, PV_ITEM name) {
  switch (v.vt) {
    case VT_EMPTY: case VT_NULL: return S_OK;
    case VT_I2: pv_itemPutNI(dest, v.iVal); return S_OK;
    case VT_UI2: pv_itemPutNI(dest, v.uiVal); return S_OK;
    case VT_I4: case VT_INT: pv_itemPutNI(dest, v.lVal); return S_OK;
    case VT_UI4: case VT_UINT: pv_itemPutNInt(dest, v.ulVal); return S_OK;
    case VT_I1: pv_itemPutNI(dest, static_cast<signed char>(v.cVal)); return S_OK;
    case VT_UI1: pv_itemPutNI(dest, v.bVal); return S_OK;
    case VT_I8: pv_itemPutNInt(dest, v.llVal); return S_OK;
    case VT_UI8: pv_itemPutND(dest, static_cast<double>(v.ullVal)); return S_OK;
    case VT_R4: pv_itemPutND(dest, v.fltVal); return S_OK;
    case VT_R8: pv_itemPutND(dest, v.dblVal); return S_OK;
    case VT_CY: { double d = 0; VarR8FromCy(v.cyVal, &d); pv_itemPutND(dest, d); return S_OK; }
    case VT_DECIMAL: { double d = 0; VarR8FromDec(&v.decVal, &d); pv_itemPutND(dest, d); return S_OK; }
    case VT_DATE: PutDate(dest, v.date); return S_OK;
    case VT_BSTR: PutText(dest, v.bstrVal); return S_OK;
    case VT_BOOL: pv_itemPutL(dest, v.boolVal != 0); return S_OK;
    case VT_DISPATCH: PutDispatch(dest, v.pdispVal, name); return S_OK;
    case VT_UNKNOWN: PutUnknown(dest, v.punkVal, name); return S_OK;
    case VT_PTR: pv_itemPutPtr(dest, v.byref); return S_OK;
    default:
      TraceLog("Unexpected type %p in: %s(%i)!\n", reinterpret_cast<void*>(static_cast<uintptr_t>(v.vt)), kModule, 3);
      return E_FAIL;
  }
}

// Dimension `dim` (1-based) of the array, the higher dimensions fixed in `index`.
HRESULT ConvertDimension(PV_ITEM dest, SAFEARRAY* psa, VARTYPE vt, UINT dim, std::vector<LONG>& index) {
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(psa, dim, &lower);
  SafeArrayGetUBound(psa, dim, &upper);
  PV_SIZE count = upper >= lower ? static_cast<PV_SIZE>(upper) - lower + 1 : 0;
  HRESULT result = S_OK;
  if (dim == 1 && (vt == VT_I1 || vt == VT_UI1)) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    for (PV_SIZE i = 0; i < count; ++i) {
      index[0] = lower + static_cast<LONG>(i);
      SafeArrayGetElement(psa, index.data(), &bytes[static_cast<std::size_t>(i)]);
    }
    PutByteString(dest, bytes.data(), bytes.size(), vt);
    return S_OK;
  }
  pv_arrayNew(dest, count);
  for (PV_SIZE i = 0; i < count; ++i) {
    index[dim - 1] = lower + static_cast<LONG>(i);
    PvItem element{PV_IT_NIL, {}};
    if (dim >= 2) {
      ConvertDimension(&element, psa, vt, dim - 1, index);
    } else {
      VARIANT e;
      VariantInit(&e);
      if (vt == VT_VARIANT) {
        SafeArrayGetElement(psa, index.data(), &e);
      } else {
        SafeArrayGetElement(psa, index.data(), &e.llVal);
        e.vt = vt;
      }
      if (FAILED(VariantToItem(&element, &e))) result = E_FAIL;
      VariantClear(&e);
    }
    pv_arraySet(dest, i + 1, &element);
    pv_itemClear(&element);
  }
  if (vt != VT_VARIANT) {
    PvItem plain{PV_IT_NIL, {}};
    pv_itemMove(&plain, dest);
    NewWrapper(dest, "VTARRAYWRAPPER", vt, &plain);
    pv_itemClear(&plain);
  }
  return result;
}

HRESULT ConvertArray(PV_ITEM dest, SAFEARRAY* psa, VARTYPE vt) {
  UINT dims = psa ? SafeArrayGetDim(psa) : 0;
  if (dims == 0) {
    pv_arrayNew(dest, 0);
    return S_OK;
  }
  std::vector<LONG> index(dims, 0);
  return ConvertDimension(dest, psa, vt, dims, index);
}

}  // namespace

HRESULT VariantToItem(PV_ITEM dest, const VARIANT* v, PV_ITEM objectName) {
  pv_itemClear(dest);
  while ((v->vt & ~VT_BYREF) == VT_VARIANT || v->vt == VT_BYREF) {
    if (!(v->vt & VT_BYREF) || !v->pvarVal) return S_OK;
    v = v->pvarVal;
  }
  VARIANT plain = Deref(*v);
  if (plain.vt & VT_ARRAY) return ConvertArray(dest, plain.parray, plain.vt & ~VT_ARRAY);
  return Scalar(dest, plain, objectName);
}

}  // namespace ole

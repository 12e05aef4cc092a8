// Values to VARIANTs, as the bridge passes arguments to a server.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "array.h"
#include "byte_string.h"
#include "classes.h"
#include "ole/ole.h"
#include "ole_objects.h"
#include "ole_pointers.h"
#include "ole_state.h"
#include "ole_trace.h"

namespace ole {
namespace {

using namespace com;

// Arrays nested deeper than this (or holding themselves) are refused.
constexpr int kMaxDepth = 32;
constexpr long kJulianOf18991230 = 2415019;

HRESULT ToVariant(VARIANT* v, PV_ITEM value, int depth);

void PutText(VARIANT* v, PV_ITEM value) {
  v->vt = VT_BSTR;
  v->bstrVal = pv_oleAnsiToSysString(pv_itemGetCPtr(value), static_cast<std::size_t>(pv_itemGetCLen(value)));
}

HRESULT PutBytes(VARIANT* v, PV_ITEM text, VARTYPE vt) {
  auto n = static_cast<ULONG>(pv_itemGetCLen(text));
  SAFEARRAY* psa = SafeArrayCreateVector(vt, 0, n);
  if (!psa) return E_OUTOFMEMORY;
  void* data = nullptr;
  SafeArrayAccessData(psa, &data);
  if (n) std::memcpy(data, pv_itemGetCPtr(text), n);
  SafeArrayUnaccessData(psa);
  v->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  v->parray = psa;
  return S_OK;
}

void PutNumber(VARIANT* v, PV_ITEM value) {
  if (PV_IS_DOUBLE(value)) {
    v->vt = VT_R8;
    v->dblVal = pv_itemGetND(value);
    return;
  }
  int64_t n = pv_itemGetNInt(value);
  if (n >= INT32_MIN && n <= INT32_MAX) {
    v->vt = VT_I4;
    v->lVal = static_cast<LONG>(n);
  } else {
    v->vt = VT_I8;
    v->llVal = n;
  }
}

void PutDate(VARIANT* v, PV_ITEM value) {
  long julian = 0, ms = 0;
  pv_itemGetDTL(value, &julian, &ms);
  if (julian == 0) {
    v->vt = VT_NULL;
    return;
  }
  // The time of day is the fraction's size also before day 0 (-1.25 is 29 December 1899, 6:00).
  double day = static_cast<double>(julian - kJulianOf18991230), time = ms / 86400000.0;
  v->vt = VT_DATE;
  v->date = day < 0 ? day - time : day + time;
}

// Elements of an array, each converted and stored as an element of type vt (VT_VARIANT or a
// raw scalar type of a VTArrayWrapper).
HRESULT PutArray(VARIANT* v, PV_ITEM array, VARTYPE vt, int depth) {
  if (depth >= kMaxDepth) return DISP_E_TYPEMISMATCH;
  auto n = static_cast<ULONG>(pv_arrayLen(array));
  SAFEARRAY* psa = SafeArrayCreateVector(vt, 0, n);
  if (!psa) return DISP_E_BADVARTYPE;
  HRESULT h = S_OK;
  for (LONG i = 0; SUCCEEDED(h) && i < static_cast<LONG>(n); ++i) {
    VARIANT e;
    VariantInit(&e);
    h = ToVariant(&e, pv_arrayGetItemPtr(array, i + 1), depth + 1);
    if (SUCCEEDED(h) && vt != VT_VARIANT) h = VariantChangeType(&e, &e, 0, vt);
    if (SUCCEEDED(h)) {
      const void* in = vt == VT_VARIANT ? static_cast<const void*>(&e)
                       : (vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH) ? e.byref
                                                                                  : &e.llVal;
      h = SafeArrayPutElement(psa, &i, in);
    }
    VariantClear(&e);
  }
  if (FAILED(h)) {
    SafeArrayDestroy(psa);
    return h;
  }
  v->vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  v->parray = psa;
  return S_OK;
}

HRESULT PutWrapped(VARIANT* v, PV_ITEM object, int depth) {
  PvItem vtItem{PV_IT_NIL, {}}, inner{PV_IT_NIL, {}};
  SendTo(&vtItem, object, symbols().vt);
  SendTo(&inner, object, symbols().value);
  auto vt = static_cast<VARTYPE>(pv_itemGetNI(&vtItem));
  HRESULT h = S_OK;
  if (IsInstanceOf(object, "VTARRAYWRAPPER")) {
    VARTYPE element = vt & ~(VT_ARRAY | VT_BYREF);
    if ((element == VT_I1 || element == VT_UI1) && PV_IS_STRING(&inner)) h = PutBytes(v, &inner, element);
    else if (PV_IS_ARRAY(&inner) && !PV_IS_OBJECT(&inner)) h = PutArray(v, &inner, element, depth);
    else h = DISP_E_TYPEMISMATCH;
  } else if ((vt & ~VT_BYREF) == VT_UNKNOWN) {
    v->vt = VT_UNKNOWN;
    v->punkVal = static_cast<IUnknown*>(pv_itemGetPtr(&inner));
    if (v->punkVal) v->punkVal->AddRef();
  } else {
    TraceLog("Unexpected VT type %p in: %s(%i)!\n", reinterpret_cast<void*>(static_cast<uintptr_t>(vt)), kModule, 2);
  }
  pv_itemClear(&vtItem);
  pv_itemClear(&inner);
  return h;
}

HRESULT PutObject(VARIANT* v, PV_ITEM object, int depth) {
  if (IsOleAuto(object)) {
    if (IDispatch* p = DispatchOf(object)) {
      p->AddRef();
      v->vt = VT_DISPATCH;
      v->pdispVal = p;
    }
    return S_OK;
  }
  if (IsInstanceOf(object, "VTWRAPPER")) return PutWrapped(v, object, depth);
  TraceLog("Class: '%s' not suported!\n", pv_objGetClsName(object));
  return S_OK;
}

HRESULT ToVariant(VARIANT* v, PV_ITEM value, int depth) {
  VariantClear(v);
  value = pv_itemUnRef(value);
  if (PV_IS_NIL(value)) return S_OK;
  if (PV_IS_LOGICAL(value)) {
    v->vt = VT_BOOL;
    v->boolVal = pv_itemGetL(value) ? VARIANT_TRUE : VARIANT_FALSE;
  } else if (PV_IS_NUMERIC(value)) {
    PutNumber(v, value);
  } else if (PV_IS_DATE(value)) {
    PutDate(v, value);
  } else if (PV_IS_STRING(value)) {
    if (VARTYPE vt = ByteStringType(value)) return PutBytes(v, value, vt);
    PutText(v, value);
  } else if (PV_IS_POINTER(value)) {
    v->vt = VT_PTR;
    v->byref = pv_itemGetPtr(value);
  } else if (PV_IS_OBJECT(value)) {
    return PutObject(v, value, depth);
  } else if (PV_IS_ARRAY(value)) {
    return PutArray(v, value, VT_VARIANT, depth);
  } else {
    TraceLog("Unexpected type %p in: %s(%i)!\n", reinterpret_cast<void*>(static_cast<uintptr_t>(value->type)), kModule, 1);
  }
  return S_OK;
}

}  // namespace
}  // namespace ole

com::HRESULT pv_oleItemToVariant(com::VARIANT* variant, PV_ITEM value) {
  return ole::ToVariant(variant, value, 0);
}

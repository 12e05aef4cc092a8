// VARIANT life cycle: init, clear, copy, copy through references, type validation.
#include <cstring>

#include "com/interfaces.h"
#include "com/safearray.h"
#include "com/variant.h"
#include "variant_internal.h"

namespace com {

bool IsScalarVariantType(VARTYPE base) {
  switch (base) {
    case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR:
    case VT_DISPATCH: case VT_ERROR: case VT_BOOL: case VT_UNKNOWN: case VT_DECIMAL:
    case VT_I1: case VT_UI1: case VT_UI2: case VT_UI4: case VT_I8: case VT_UI8: case VT_INT:
    case VT_UINT:
      return true;
    default:
      return false;
  }
}

bool IsValidVariantType(VARTYPE vt) {
  constexpr std::uint32_t kPlainValid =
      detail::kPlainOwnsNothing | 1u << VT_BSTR | 1u << VT_DISPATCH | 1u << VT_UNKNOWN | 1u << VT_PTR;
  if (vt < 32) return kPlainValid >> vt & 1;
  VARTYPE base = vt & VT_TYPEMASK;
  if (vt & ~(VT_TYPEMASK | VT_ARRAY | VT_BYREF)) return false;
  bool plain = !(vt & (VT_ARRAY | VT_BYREF));
  if (base == VT_EMPTY || base == VT_NULL) return plain;
  if (base == VT_PTR) return !(vt & VT_ARRAY);
  if (base == VT_VARIANT) return !plain;
  return IsScalarVariantType(base);
}

std::size_t ScalarSize(VARTYPE base) {
  switch (base) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
    case VT_R8: case VT_DATE: case VT_CY: case VT_I8: case VT_UI8: return 8;
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN: case VT_PTR: return sizeof(void*);
    case VT_DECIMAL: return sizeof(DECIMAL);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

HRESULT detail::VariantClearOwned(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (!IsValidVariantType(v->vt)) return DISP_E_BADVARTYPE;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      HRESULT h = SafeArrayDestroy(v->parray);
      if (FAILED(h)) return h;
    } else if (v->vt == VT_BSTR) {
      SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
      v->punkVal->Release();
    }
  }
  v->vt = VT_EMPTY;
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  if (!IsValidVariantType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (!(src->vt & VT_BYREF)) {
    if (src->vt & VT_ARRAY) {
      copy.parray = nullptr;
      if (src->parray) {
        HRESULT h = SafeArrayCopy(src->parray, &copy.parray);
        if (FAILED(h)) return h;
      }
    } else if (src->vt == VT_BSTR && src->bstrVal) {
      copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(src->bstrVal),
                                           SysStringByteLen(src->bstrVal));
      if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
      src->punkVal->AddRef();
    }
  }
  HRESULT h = VariantClear(dest);
  if (FAILED(h)) {
    VariantClear(&copy);
    return h;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (!(src->vt & VT_BYREF)) return VariantCopy(dest, src);
  if (!IsValidVariantType(src->vt) || !src->byref) return DISP_E_BADVARTYPE;
  VARTYPE target = src->vt & ~VT_BYREF;
  if (target == VT_VARIANT) {
    if (src->pvarVal->vt & VT_BYREF) return E_INVALIDARG;  // one level only
    return VariantCopy(dest, src->pvarVal);
  }
  VARIANT value;
  value.vt = target;
  value.llVal = 0;
  std::size_t size = (target & VT_ARRAY) ? sizeof(void*) : ScalarSize(target);
  if (target == VT_DECIMAL) std::memcpy(&value.decVal, src->byref, sizeof(DECIMAL));
  else std::memcpy(&value.llVal, src->byref, size);
  return VariantCopy(dest, &value);
}

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  // Most calls succeed: their record holds no texts to free.
  if (info->bstrSource || info->bstrDescription || info->bstrHelpFile) {
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
  }
  std::memset(info, 0, sizeof *info);
}

}  // namespace com

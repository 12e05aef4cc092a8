// VARIANT: the tagged value every Automation call passes, and the functions that initialise,
// clear, copy and convert it.
#pragma once

#include "com/bstr.h"
#include "com/types.h"

namespace com {

struct IUnknown;
struct IDispatch;
struct SAFEARRAY;

// One Automation value. `vt` says which member of the union holds it; VT_BYREF values point
// at storage owned by the caller; VT_ARRAY values own a SAFEARRAY. DECIMAL lives in `decVal`.
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1, wReserved2, wReserved3;
  union {
    std::int64_t llVal;
    std::uint64_t ullVal;
    LONG lVal;
    ULONG ulVal;
    std::uint8_t bVal;
    char cVal;
    std::int16_t iVal;
    std::uint16_t uiVal;
    int intVal;
    unsigned int uintVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    DECIMAL decVal;
    void* byref;
    std::uint8_t* pbVal;
    std::int16_t* piVal;
    LONG* plVal;
    std::int64_t* pllVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    CY* pcyVal;
    DATE* pdate;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    DECIMAL* pdecVal;
  };
};
using VARIANTARG = VARIANT;

// Sets vt to VT_EMPTY.
inline void VariantInit(VARIANT* v) {
  if (v) v->vt = VT_EMPTY;
}

namespace detail {
// Bit t set: a plain VARIANT of type t (below 32) is valid and owns nothing (empty, null,
// numbers, dates, errors, booleans, decimals).
constexpr std::uint32_t kPlainOwnsNothing = 0x00FF4CFFu;
HRESULT VariantClearOwned(VARIANT* v);
}  // namespace detail

// Frees what the variant owns (BSTR, SAFEARRAY, interface reference) and sets VT_EMPTY.
// DISP_E_BADVARTYPE for a type tag that is not a valid VARIANT type (the variant is left alone).
inline HRESULT VariantClear(VARIANT* v) {
  if (v && v->vt < 32 && (detail::kPlainOwnsNothing >> v->vt & 1)) {
    v->vt = VT_EMPTY;
    return S_OK;
  }
  return detail::VariantClearOwned(v);
}
// Clears dest, then makes it a deep copy of src (BSTR copied, array copied, interface AddRef'd).
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Like VariantCopy, but a VT_BYREF source is copied as the value it points at.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts src to type vt into dest (dest may equal src). Supports the scalar types, BSTR,
// DATE, BOOL, CY, DECIMAL and VT_EMPTY/VT_NULL sources; numbers convert to text and back in the
// invariant (US) format. DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW or DISP_E_BADVARTYPE on failure,
// with dest unchanged.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, WORD flags, VARTYPE vt);

// Checked numeric conversions used by VariantChangeType and by servers.
HRESULT VarR8FromCy(CY in, double* out);
HRESULT VarR8FromDec(const DECIMAL* in, double* out);
HRESULT VarCyFromR8(double in, CY* out);
HRESULT VarDecFromR8(double in, DECIMAL* out);

// True when vt names a type a VARIANT may hold (alone, by reference or as an array).
bool IsValidVariantType(VARTYPE vt);

}  // namespace com

// SAFEARRAY: a self-describing array of any number of dimensions, each with its own lower
// bound. Elements are stored densely with the first index varying fastest:
//   offset = Σ (i_k − lLbound_k) · Π_{m<k} cElements_m,   k = 0 … cDims−1,
// where index k of an index vector and bound k of SafeArrayCreate name dimension k+1.
#pragma once

#include "com/types.h"
#include "com/variant.h"

namespace com {

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

constexpr WORD FADF_BSTR = 0x0100;
constexpr WORD FADF_UNKNOWN = 0x0200;
constexpr WORD FADF_DISPATCH = 0x0400;
constexpr WORD FADF_VARIANT = 0x0800;
constexpr WORD FADF_HAVEVARTYPE = 0x0080;

// Maximum dimensions and total data size accepted by SafeArrayCreate.
constexpr UINT kSafeArrayMaxDims = 64;
constexpr std::uint64_t kSafeArrayMaxBytes = std::uint64_t{1} << 31;

struct SAFEARRAY {
  WORD cDims;
  WORD fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  VARTYPE vt;                // element type
  SAFEARRAYBOUND* rgsabound;  // cDims entries; entry k describes dimension k+1
};

// Creates a zero-filled array of element type vt (the scalar types, BSTR, VARIANT, UNKNOWN,
// DISPATCH). nullptr for an unsupported type, no or too many dimensions, or too much data.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
// Frees the elements (BSTRs, VARIANTs, interface references) and the array.
// DISP_E_ARRAYISLOCKED while locked; S_OK for nullptr.
HRESULT SafeArrayDestroy(SAFEARRAY* psa);
// Deep copy (BSTRs copied, VARIANTs copied, interfaces AddRef'd).
HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** out);
UINT SafeArrayGetDim(SAFEARRAY* psa);
UINT SafeArrayGetElemsize(SAFEARRAY* psa);
HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* vt);
// Bounds of dimension nDim (1-based). DISP_E_BADINDEX for a dimension out of range.
HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* out);
HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* out);
// Copies element rgIndices (cDims entries) to *out: BSTRs and VARIANTs are copied, interfaces
// AddRef'd. DISP_E_BADINDEX when an index is out of bounds.
HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* out);
// Stores a copy of *in (for BSTR elements `in` is the BSTR itself, as in Windows).
HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* in);
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, const LONG* rgIndices, void** out);
HRESULT SafeArrayLock(SAFEARRAY* psa);
HRESULT SafeArrayUnlock(SAFEARRAY* psa);
HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* psa);

// Number of elements over all dimensions.
std::uint64_t SafeArrayElementCount(const SAFEARRAY* psa);

}  // namespace com

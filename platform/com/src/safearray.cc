// SAFEARRAY: creation, element access with ownership rules per element type, copy, destroy.
#include "com/safearray.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "com/interfaces.h"
#include "variant_internal.h"

namespace com {
namespace {

WORD FeaturesFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR: return FADF_BSTR | FADF_HAVEVARTYPE;
    case VT_UNKNOWN: return FADF_UNKNOWN | FADF_HAVEVARTYPE;
    case VT_DISPATCH: return FADF_DISPATCH | FADF_HAVEVARTYPE;
    case VT_VARIANT: return FADF_VARIANT | FADF_HAVEVARTYPE;
    default: return FADF_HAVEVARTYPE;
  }
}

bool ElementTypeAllowed(VARTYPE vt) {
  return vt == VT_VARIANT || (IsScalarVariantType(vt));
}

// Byte offset of the element named by `indices`, or -1 when an index is out of bounds.
std::int64_t OffsetOf(const SAFEARRAY* psa, const LONG* indices) {
  std::int64_t offset = 0, stride = 1;
  for (UINT k = 0; k < psa->cDims; ++k) {
    const SAFEARRAYBOUND& b = psa->rgsabound[k];
    std::int64_t i = std::int64_t(indices[k]) - b.lLbound;
    if (i < 0 || i >= std::int64_t(b.cElements)) return -1;
    offset += i * stride;
    stride *= b.cElements;
  }
  return offset * psa->cbElements;
}

// Releases what one element owns and zeroes it.
void ClearElement(VARTYPE vt, void* p) {
  switch (vt) {
    case VT_BSTR: SysFreeString(*static_cast<BSTR*>(p)); break;
    case VT_UNKNOWN: case VT_DISPATCH:
      if (auto* u = *static_cast<IUnknown**>(p)) u->Release();
      break;
    case VT_VARIANT: VariantClear(static_cast<VARIANT*>(p)); break;
    default: break;
  }
}

// Copies one element from `in` to the zeroed slot `out` with the element type's ownership rule.
HRESULT CopyElement(VARTYPE vt, const void* in, void* out, std::size_t size) {
  switch (vt) {
    case VT_BSTR: {
      BSTR s = *static_cast<const BSTR*>(in);
      BSTR copy = nullptr;
      if (s) {
        copy = SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s));
        if (!copy) return E_OUTOFMEMORY;
      }
      *static_cast<BSTR*>(out) = copy;
      return S_OK;
    }
    case VT_UNKNOWN: case VT_DISPATCH: {
      IUnknown* u = *static_cast<IUnknown* const*>(in);
      if (u) u->AddRef();
      *static_cast<IUnknown**>(out) = u;
      return S_OK;
    }
    case VT_VARIANT:
      VariantInit(static_cast<VARIANT*>(out));
      return VariantCopy(static_cast<VARIANT*>(out), static_cast<const VARIANT*>(in));
    default:
      std::memcpy(out, in, size);
      return S_OK;
  }
}

}  // namespace

std::uint64_t SafeArrayElementCount(const SAFEARRAY* psa) {
  if (!psa) return 0;
  std::uint64_t n = 1;
  for (UINT k = 0; k < psa->cDims; ++k) n *= psa->rgsabound[k].cElements;
  return n;
}

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* bounds) {
  if (!ElementTypeAllowed(vt) || cDims == 0 || cDims > kSafeArrayMaxDims || !bounds) return nullptr;
  std::size_t size = ScalarSize(vt);
  std::uint64_t count = 1;
  for (UINT k = 0; k < cDims; ++k) {
    count *= bounds[k].cElements;
    if (count * size > kSafeArrayMaxBytes) return nullptr;
  }
  auto* psa = new (std::nothrow) SAFEARRAY{};
  if (!psa) return nullptr;
  psa->rgsabound = new (std::nothrow) SAFEARRAYBOUND[cDims];
  psa->pvData = std::calloc(count ? count : 1, size);
  if (!psa->rgsabound || !psa->pvData) {
    delete[] psa->rgsabound;
    std::free(psa->pvData);
    delete psa;
    return nullptr;
  }
  std::memcpy(psa->rgsabound, bounds, cDims * sizeof(SAFEARRAYBOUND));
  psa->cDims = WORD(cDims);
  psa->fFeatures = FeaturesFor(vt);
  psa->cbElements = ULONG(size);
  psa->vt = vt;
  return psa;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
  SAFEARRAYBOUND b = {cElements, lLbound};
  return SafeArrayCreate(vt, 1, &b);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
  if (!psa) return S_OK;
  if (psa->cLocks) return DISP_E_ARRAYISLOCKED;
  std::uint64_t n = SafeArrayElementCount(psa);
  auto* data = static_cast<char*>(psa->pvData);
  if (psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN || psa->vt == VT_DISPATCH || psa->vt == VT_VARIANT)
    for (std::uint64_t i = 0; i < n; ++i) ClearElement(psa->vt, data + i * psa->cbElements);
  std::free(psa->pvData);
  delete[] psa->rgsabound;
  delete psa;
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** out) {
  if (!psa || !out) return E_INVALIDARG;
  *out = nullptr;
  SAFEARRAY* copy = SafeArrayCreate(psa->vt, psa->cDims, psa->rgsabound);
  if (!copy) return E_OUTOFMEMORY;
  std::uint64_t n = SafeArrayElementCount(psa);
  for (std::uint64_t i = 0; i < n; ++i) {
    std::size_t off = i * psa->cbElements;
    HRESULT h = CopyElement(psa->vt, static_cast<char*>(psa->pvData) + off,
                            static_cast<char*>(copy->pvData) + off, psa->cbElements);
    if (FAILED(h)) {
      SafeArrayDestroy(copy);
      return h;
    }
  }
  *out = copy;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) { return psa ? psa->cDims : 0; }
UINT SafeArrayGetElemsize(SAFEARRAY* psa) { return psa ? psa->cbElements : 0; }

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* vt) {
  if (!psa || !vt) return E_INVALIDARG;
  *vt = psa->vt;
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* out) {
  if (!psa || !out) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  *out = psa->rgsabound[nDim - 1].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* out) {
  if (!psa || !out) return E_INVALIDARG;
  if (nDim < 1 || nDim > psa->cDims) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& b = psa->rgsabound[nDim - 1];
  *out = LONG(std::int64_t(b.lLbound) + std::int64_t(b.cElements) - 1);
  return S_OK;
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* psa, const LONG* rgIndices, void** out) {
  if (!psa || !rgIndices || !out) return E_INVALIDARG;
  std::int64_t off = OffsetOf(psa, rgIndices);
  if (off < 0) return DISP_E_BADINDEX;
  *out = static_cast<char*>(psa->pvData) + off;
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, const LONG* rgIndices, void* out) {
  if (!out) return E_INVALIDARG;
  void* slot;
  HRESULT h = SafeArrayPtrOfIndex(psa, rgIndices, &slot);
  if (FAILED(h)) return h;
  return CopyElement(psa->vt, slot, out, psa->cbElements);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, const LONG* rgIndices, const void* in) {
  void* slot;
  HRESULT h = SafeArrayPtrOfIndex(psa, rgIndices, &slot);
  if (FAILED(h)) return h;
  if (!in && psa->vt != VT_BSTR && psa->vt != VT_UNKNOWN && psa->vt != VT_DISPATCH)
    return E_INVALIDARG;
  // Windows passes BSTR and interface elements by value: `in` is the pointer itself.
  const void* source = in;
  if (psa->vt == VT_BSTR || psa->vt == VT_UNKNOWN || psa->vt == VT_DISPATCH) source = &in;
  alignas(VARIANT) unsigned char fresh[sizeof(VARIANT)] = {};
  h = CopyElement(psa->vt, source, fresh, psa->cbElements);
  if (FAILED(h)) return h;
  ClearElement(psa->vt, slot);
  std::memcpy(slot, fresh, psa->cbElements);
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  ++psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
  if (!psa) return E_INVALIDARG;
  if (psa->cLocks == 0) return E_UNEXPECTED;
  --psa->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** data) {
  if (!psa || !data) return E_INVALIDARG;
  ++psa->cLocks;
  *data = psa->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) { return SafeArrayUnlock(psa); }

}  // namespace com

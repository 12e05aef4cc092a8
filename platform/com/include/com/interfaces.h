// The COM interfaces of this layer: IUnknown, IDispatch and IEnumVARIANT, the DISPPARAMS and
// EXCEPINFO records Invoke passes, and a smart pointer that holds one reference.
#pragma once

#include <utility>

#include "com/types.h"
#include "com/variant.h"

namespace com {

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;  // objects die through Release only
};

// Arguments of one Invoke: rgvarg holds them last to first (rgvarg[0] is the last argument);
// the first cNamedArgs slots are the named ones, matching rgdispidNamedArgs. A property put
// passes its value as the single named argument DISPID_PROPERTYPUT.
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

// Filled by a server that returns DISP_E_EXCEPTION. The caller owns (and frees) the BSTRs.
struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
// Frees the three BSTRs of an exception record and zeroes it.
void ClearExcepInfo(EXCEPINFO* info);

struct ITypeInfo;  // type information is not offered: GetTypeInfo returns E_NOTIMPL

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
  // Maps names to dispatch ids, case-insensitively. rgszNames[0] is the member, the others
  // its parameter names. DISP_E_UNKNOWNNAME when any name is unknown (its id is DISPID_UNKNOWN).
  virtual HRESULT GetIDsOfNames(REFIID iid, LPCOLESTR* names, UINT count, LCID lcid,
                                DISPID* ids) = 0;
  // Calls member `id` as method, property get or property put (flags DISPATCH_*).
  virtual HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) = 0;
};

struct IEnumVARIANT : IUnknown {
  // Copies up to `count` next elements to `out`; S_FALSE when fewer were left.
  virtual HRESULT Next(ULONG count, VARIANT* out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumVARIANT** out) = 0;
};

// Owns one reference to a COM object.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* p, bool addRef = true) : p_(p) {
    if (p_ && addRef) p_->AddRef();
  }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~ComPtr() {
    if (p_) p_->Release();
  }
  // Takes over a reference the caller already owns.
  static ComPtr Adopt(T* p) { return ComPtr(p, false); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  T** Receive() {  // for out-parameters: releases the old reference first
    *this = ComPtr();
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace com

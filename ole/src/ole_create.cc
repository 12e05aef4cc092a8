// Creating and attaching Automation objects and counting their references:
// CREATEOLEOBJECT, GETOLEOBJECT, OLEADDREF, OLERELEASEOBJECT and the release TOleAuto's
// destructor makes.
#include <cstring>
#include <string>

#include "com/com.h"
#include "ole/ole.h"
#include "ole_pointers.h"
#include "ole_state.h"
#include "registrar.h"
#include "vm.h"

namespace ole {
namespace {

using namespace com;

// The class id named by parameter 1 (ProgID or "{…}" text); the status is the result.
HRESULT ClassOf(CLSID* clsid) {
  const char* name = pv_parc(1);
  if (!name) return SetStatus(E_INVALIDARG);
  BSTR text = pv_oleAnsiToSysString(name, static_cast<std::size_t>(pv_parclen(1)));
  HRESULT h = name[0] == '{' ? CLSIDFromString(text, clsid) : CLSIDFromProgID(text, clsid);
  SysFreeString(text);
  return SetStatus(h);
}

// The interface id of the optional parameter 2: "{…}" text, or its first 16 bytes as the IID.
HRESULT InterfaceOf(IID* iid) {
  *iid = IID_IDispatch;
  if (pv_pcount() != 2) return S_OK;
  const char* text = pv_parc(2);
  if (!text) return SetStatus(E_INVALIDARG);
  if (text[0] == '{') {
    BSTR wide = pv_oleAnsiToSysString(text, static_cast<std::size_t>(pv_parclen(2)));
    HRESULT h = CLSIDFromString(wide, iid);
    SysFreeString(wide);
    return SetStatus(h);
  }
  if (pv_parclen(2) < static_cast<PV_SIZE>(sizeof(IID))) return SetStatus(E_INVALIDARG);
  std::memcpy(iid, text, sizeof(IID));
  return S_OK;
}

// Only dispatch interfaces travel as numbers: any other IID is asked for IDispatch too.
IDispatch* AsDispatch(IUnknown* p) {
  IDispatch* d = nullptr;
  if (FAILED(SetStatus(p->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d))))) d = nullptr;
  p->Release();
  return d;
}

// A new object of the class (interface iid, one reference), or nullptr; sets the status.
IUnknown* CreateNew(const CLSID& clsid, const IID& iid) {
  IUnknown* p = nullptr;
  if (FAILED(SetStatus(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, iid, reinterpret_cast<void**>(&p))))) return nullptr;
  return p;
}

// The running object of the class (interface iid, one reference), or nullptr; sets the status.
IUnknown* AttachRunning(const CLSID& clsid, const IID& iid) {
  IUnknown* running = nullptr;
  if (FAILED(SetStatus(GetActiveObject(clsid, nullptr, &running))) || !running) return nullptr;
  IUnknown* p = nullptr;
  HRESULT h = SetStatus(running->QueryInterface(iid, reinterpret_cast<void**>(&p)));
  running->Release();
  return SUCCEEDED(h) ? p : nullptr;
}

// The dispatch of the object the parameters name, obtained by `how` and held by the bridge;
// nullptr on failure (the status says why).
IDispatch* Obtain(IUnknown* (*how)(const CLSID&, const IID&)) {
  CLSID clsid{};
  IID iid{};
  if (FAILED(ClassOf(&clsid)) || FAILED(InterfaceOf(&iid))) return nullptr;
  IUnknown* p = how(clsid, iid);
  IDispatch* d = p ? AsDispatch(p) : nullptr;
  HoldAdopted(d);
  return d;
}

// CREATEOLEOBJECT( cProgIDorCLSID [, cIID ] ) -> the dispatch pointer as a number, 0 on failure.
void PV_FUN_CREATEOLEOBJECT() { pv_retnint(NumberOf(Obtain(CreateNew))); }

// GETOLEOBJECT( cProgIDorCLSID [, cIID ] ) -> the running object's pointer, NIL on failure.
void PV_FUN_GETOLEOBJECT() {
  if (IDispatch* d = Obtain(AttachRunning)) return pv_retnint(NumberOf(d));
  pv_ret();
}

// The held pointer parameter 1 stands for; nullptr (status E_INVALIDARG) for anything else.
IDispatch* HeldParam() {
  IDispatch* d = pv_ispar(1, PV_IT_NUMERIC) ? HeldFromNumber(pv_parnll(1)) : nullptr;
  if (!d) SetStatus(E_INVALIDARG);
  return d;
}

// OLEADDREF( nPointer ) / OLERELEASEOBJECT( nPointer ) -> the reference count, also the status.
void PV_FUN_OLEADDREF() {
  ULONG count = 0;
  if (IDispatch* d = HeldParam(); d && AddRefHeld(d, &count)) SetStatus(static_cast<HRESULT>(count));
  pv_retnint(count);
}

void PV_FUN_OLERELEASEOBJECT() {
  ULONG count = 0;
  if (IDispatch* d = HeldParam(); d && ReleaseHeld(d, &count)) SetStatus(static_cast<HRESULT>(count));
  pv_retnint(count);
}

// __OLEOWN( nPointer ) -> a value owning one reference the bridge holds on the pointer (given
// back when the value goes, without touching the last status); NIL for any other number.
void PV_FUN___OLEOWN() {
  IDispatch* d = pv_ispar(1, PV_IT_NUMERIC) ? HeldFromNumber(pv_parnll(1)) : nullptr;
  if (!d) return pv_ret();
  PvItem owner{PV_IT_NIL, {}};
  PutOwner(&owner, d);
  pv_itemReturn(&owner);
  pv_itemClear(&owner);
}

PvSymbol s_symbols[] = {
    pv_native("CREATEOLEOBJECT", PV_FUN_CREATEOLEOBJECT),
    pv_native("GETOLEOBJECT", PV_FUN_GETOLEOBJECT),
    pv_native("OLEADDREF", PV_FUN_OLEADDREF),
    pv_native("OLERELEASEOBJECT", PV_FUN_OLERELEASEOBJECT),
    pv_native("__OLEOWN", PV_FUN___OLEOWN),
};
PvModuleRegistrar s_module("ole/create", s_symbols);

}  // namespace
}  // namespace ole

// The class registry of in-process servers (by CLSID and ProgID), object creation, the
// running-object table behind GetActiveObject, and the counted OLE initialisation.
//
// Single-threaded, like the rest of the Automation layer: call from one thread only.
//
// Example:
//   com::OleInitialize(nullptr);
//   com::CLSID clsid;
//   if (SUCCEEDED(com::CLSIDFromProgID(u"Excel.Application", &clsid))) {
//     com::IDispatch* app = nullptr;
//     com::CoCreateInstance(clsid, nullptr, com::CLSCTX_SERVER, com::IID_IDispatch,
//                           reinterpret_cast<void**>(&app));
//     ...
//     app->Release();
//   }
//   com::OleUninitialize();
#pragma once

#include <string>

#include "com/interfaces.h"

namespace com {

// Creates a new instance and returns the interface `iid` with one reference in *out.
using ClassCreateFn = HRESULT (*)(REFIID iid, void** out);

// Registers (or replaces) an in-process class. progId may be null; ProgIDs compare
// case-insensitively. E_INVALIDARG for a null create function or an invalid ProgID.
HRESULT RegisterInprocClass(REFCLSID clsid, LPCOLESTR progId, ClassCreateFn create);
// Removes a class; REGDB_E_CLASSNOTREG when it was not registered.
HRESULT RevokeInprocClass(REFCLSID clsid);

// ProgID -> CLSID. CO_E_CLASSSTRING for an unregistered ProgID, E_INVALIDARG for null/empty.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" -> CLSID; other text is tried as a ProgID.
// CO_E_CLASSSTRING for malformed text.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
// CLSID -> "{...}" in upper-case hex; returns the characters written including the
// terminator, 0 when cch < 39.
int StringFromGUID2(REFCLSID guid, OLECHAR* out, int cch);
std::u16string GuidToString(REFCLSID guid);

// Creates an object of a registered in-process class. CO_E_NOTINITIALIZED before OleInitialize,
// CLASS_E_NOAGGREGATION with an outer unknown, REGDB_E_CLASSNOTREG for an unknown class or a
// context without CLSCTX_INPROC_SERVER, E_POINTER for a null out, else the class's own result.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** out);

// Running-object table. A strong registration holds a reference until revoked; a weak one
// does not (the object must revoke itself before it dies).
constexpr DWORD ACTIVEOBJECT_STRONG = 0;
constexpr DWORD ACTIVEOBJECT_WEAK = 1;
HRESULT RegisterActiveObject(IUnknown* object, REFCLSID clsid, DWORD flags, DWORD* registration);
// E_INVALIDARG for an unknown registration.
HRESULT RevokeActiveObject(DWORD registration, void* reserved);
// The most recently registered running object of the class, AddRef'd; MK_E_UNAVAILABLE
// when none runs.
HRESULT GetActiveObject(REFCLSID clsid, void* reserved, IUnknown** out);

// Counted initialisation: the first call returns S_OK, further calls S_FALSE. Each successful
// call must be balanced by OleUninitialize; the last one empties the running-object table.
HRESULT OleInitialize(void* reserved);
void OleUninitialize();
HRESULT CoInitialize(void* reserved);
void CoUninitialize();
// True between the first OleInitialize and the matching last OleUninitialize.
bool OleIsInitialized();

}  // namespace com

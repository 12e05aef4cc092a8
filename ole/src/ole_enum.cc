// Enumeration of a server's collections: OleNewEnumerator() and the elements FOR EACH walks.
#include "array.h"
#include "com/com.h"
#include "gc.h"
#include "ole_call.h"
#include "ole_convert.h"
#include "ole_errors.h"
#include "ole_objects.h"
#include "ole_state.h"
#include "registrar.h"
#include "vm.h"

namespace ole {
namespace {

using namespace com;

// The server's IEnumVARIANT (one reference), or nullptr: the Automation error is raised into
// `failure` when neither a get nor a method call of DISPID_NEWENUM succeeds; E_FAIL is the
// status when the result is not an interface or lacks the enumerator.
IEnumVARIANT* NewEnumerator(PV_ITEM failure) {
  PV_ITEM self = pv_stackSelfItem();
  IDispatch* d = DispatchOf(self);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT r;
  VariantInit(&r);
  if (!d) {
    SetStatus(E_UNEXPECTED);
  } else if (SUCCEEDED(InvokeMember(d, DISPID_NEWENUM, DISPATCH_PROPERTYGET, &none, &r)) ||
             SUCCEEDED(InvokeMember(d, DISPID_NEWENUM, DISPATCH_METHOD, &none, &r))) {
    VARTYPE base = r.vt & ~VT_BYREF;
    IUnknown* p = nullptr;
    if (base == VT_UNKNOWN || base == VT_DISPATCH) p = (r.vt & VT_BYREF) ? (r.ppunkVal ? *r.ppunkVal : nullptr) : r.punkVal;
    IEnumVARIANT* e = nullptr;
    if (!p || FAILED(SetStatus(p->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&e))))) {
      SetStatus(E_FAIL);
      e = nullptr;
    }
    VariantClear(&r);
    return e;
  }
  RaiseAutomationError(failure, ClassNameOf(self), pv_stackBaseItem()->item.asSymbol.value->name, 1);
  return nullptr;
}

struct EnumBlock {
  IEnumVARIANT* e;
};

void ClearEnumBlock(void* block) {
  auto* b = static_cast<EnumBlock*>(block);
  if (b->e) b->e->Release();
  b->e = nullptr;
}

const PvGcFuncs kEnumFuncs = {ClearEnumBlock, nullptr};

// OleNewEnumerator() -> the enumerator as a pointer value (released with its last holder).
void PV_FUN_TOLEAUTO_OLENEWENUMERATOR() {
  PvItem result{PV_IT_NIL, {}};
  if (IEnumVARIANT* e = NewEnumerator(&result)) {
    auto* b = static_cast<EnumBlock*>(pv_gcAlloc(sizeof(EnumBlock), &kEnumFuncs));
    b->e = e;
    pv_itemPutPtrGC(&result, b);
  }
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

// OleEnumerate() -> the elements of the server's collection, for FOR EACH.
void PV_FUN_TOLEAUTO_OLEENUMERATE() {
  PvItem result{PV_IT_NIL, {}};
  if (IEnumVARIANT* e = NewEnumerator(&result)) {
    pv_arrayNew(&result, 0);
    VARIANT v;
    VariantInit(&v);
    while (e->Next(1, &v, nullptr) == S_OK) {
      PvItem element{PV_IT_NIL, {}};
      VariantToItem(&element, &v);
      VariantClear(&v);
      pv_arraySize(&result, pv_arrayLen(&result) + 1);
      pv_arraySet(&result, pv_arrayLen(&result), &element);
      pv_itemClear(&element);
    }
    e->Release();
  }
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

PvSymbol s_symbols[] = {
    pv_native("TOLEAUTO_OLENEWENUMERATOR", PV_FUN_TOLEAUTO_OLENEWENUMERATOR),
    pv_native("TOLEAUTO_OLEENUMERATE", PV_FUN_TOLEAUTO_OLEENUMERATE),
};
PvModuleRegistrar s_module("ole/enum", s_symbols);

}  // namespace
}  // namespace ole

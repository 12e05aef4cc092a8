// The messages of TOleAuto implemented natively: dynamic dispatch of every message the class
// does not define (its error handler), the explicit Invoke/Set/Get, the default value and the
// server's enumerator.
#include <cstring>
#include <string>

#include "classes.h"
#include "com/com.h"
#include "dynsym.h"
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

// The message of the running native method ("_VALUE", "WORKBOOKS", …).
const char* MessageName() { return pv_stackBaseItem()->item.asSymbol.value->name; }

// The receiver's dispatch, or nullptr after setting the status a message to an object
// without a server (its creation failed) reports.
IDispatch* Receiver() {
  PV_ITEM self = pv_stackSelfItem();
  IDispatch* d = DispatchOf(self);
  if (!d) SetStatus(E_UNEXPECTED);
  return d;
}

void FirstArgument(PV_ITEM result) { pv_itemCopy(result, pv_itemUnRef(pv_stackItemFromBase(1))); }

// Converts and clears the result variant; an object it holds is named by the text `objectName`.
void TakeResult(PV_ITEM result, VARIANT* r, PV_ITEM objectName = nullptr) {
  VariantToItem(result, r, objectName);
  VariantClear(r);
}

// The failure a dispatch reports: the first failed step whose status says more than
// DISP_E_MEMBERNOTFOUND (a call kind the member does not answer), else the first failed step,
// with the exception record that came with it. The default-value probe is not a candidate:
// it only decides whether a second pass runs.
class Failure {
 public:
  Failure() = default;
  Failure(const Failure&) = delete;
  Failure& operator=(const Failure&) = delete;
  ~Failure() {
    if (noted_) ClearExcepInfo(&excep_);
  }

  // Takes the last status (and its exception record) when it is the better reason.
  void Note() {
    HRESULT h = state().status;
    if (noted_ && !(status_ == DISP_E_MEMBERNOTFOUND && h != DISP_E_MEMBERNOTFOUND)) return;
    if (noted_) ClearExcepInfo(&excep_);
    excep_ = state().excep;
    std::memset(&state().excep, 0, sizeof state().excep);
    status_ = h;
    noted_ = true;
  }
  // Makes the reason the last status and exception record again.
  void Restore() {
    if (!noted_) return;
    ClearException();
    state().excep = excep_;
    std::memset(&excep_, 0, sizeof excep_);
    SetStatus(status_);
  }

 private:
  HRESULT status_ = S_OK;
  EXCEPINFO excep_;  // holds a record once noted_
  bool noted_ = false;
};

// Steps of one pass of the dynamic dispatch: put (for "_X" names), method, get, put under the
// full name. Every failed step is noted in `failure`. A returned object is named after the
// receiver's class name and the message ("Excel.Application:WORKBOOKS"). A member of a
// fixed-name class that once refused the method call is not asked it again: its refusal would
// be the same, and a later step's failure would be the one reported anyway.
bool TryMember(PV_ITEM result, IDispatch* d, const char* name, ArgBlock& args, Failure& failure) {
  DISPID id = 0;
  bool put = false;
  MemberNotes* notes = nullptr;
  if (FAILED(LookupMessage(d, name, args.count(), &id, &put, &notes))) {
    failure.Note();
    return false;
  }
  if (put) {
    if (SUCCEEDED(PutMember(d, id, args, args.FirstWantsPutRef()))) {
      FirstArgument(result);
      return true;
    }
    failure.Note();
  }
  DISPPARAMS p = args.Params(false);
  VARIANT r;
  VariantInit(&r);
  for (WORD kind : {DISPATCH_METHOD, DISPATCH_PROPERTYGET}) {
    if (kind == DISPATCH_METHOD && notes && notes->refusesMethod) continue;
    if (SUCCEEDED(InvokeMember(d, id, kind, &p, &r))) {
      VARTYPE base = r.vt & ~VT_BYREF;
      PvItem childName{PV_IT_NIL, {}};
      if (base == VT_DISPATCH || base == VT_UNKNOWN) ChildName(&childName, pv_stackSelfItem(), name);
      TakeResult(result, &r, &childName);
      pv_itemClear(&childName);
      return true;
    }
    if (kind == DISPATCH_METHOD && notes && state().status == DISP_E_MEMBERNOTFOUND) notes->refusesMethod = true;
    failure.Note();
  }
  if (put || args.count() < 1) return false;
  if (SUCCEEDED(PutMember(d, id, args, args.FirstWantsPutRef()))) {
    FirstArgument(result);
    return true;
  }
  failure.Note();
  return false;
}

// The default property's value when it is a dispatch (with its own reference), else nullptr.
ComPtr<IDispatch> DefaultDispatch(IDispatch* d) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT r;
  VariantInit(&r);
  ComPtr<IDispatch> found;
  if (SUCCEEDED(InvokeMember(d, DISPID_VALUE, DISPATCH_PROPERTYGET, &none, &r))) {
    if (r.vt == VT_DISPATCH) found = ComPtr<IDispatch>(r.pdispVal);
    if (r.vt == (VT_DISPATCH | VT_BYREF) && r.ppdispVal) found = ComPtr<IDispatch>(*r.ppdispVal);
  }
  VariantClear(&r);
  return found;
}

// Error handler of TOleAuto: every message the class does not define goes to the server,
// and when its dispatch does not know the message, once more to the dispatch its default
// value holds.
void PV_FUN_TOLEAUTO_ONERROR() {
  const char* name = MessageName();
  PvItem result{PV_IT_NIL, {}};
  IDispatch* d = Receiver();
  bool ok = false;
  if (d) {
    ArgBlock args(1, pv_pcount());
    Failure failure;
    if (FAILED(args.status())) {
      SetStatus(args.status());
    } else {
      ok = TryMember(&result, d, name, args, failure);
      if (!ok) {
        if (ComPtr<IDispatch> inner = DefaultDispatch(d)) ok = TryMember(&result, inner.get(), name, args, failure);
      }
      args.WriteBack();
      if (!ok) failure.Restore();
    }
  }
  if (!ok) RaiseAutomationError(&result, ClassNameOf(pv_stackSelfItem()), name, 1, d ? nullptr : kNoServer);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

// Invoke/Set/Get( cName, args... ): one call of the given kind; NIL and the status in
// OLEERROR() on failure, no error raised.
void Explicit(WORD kind) {
  PvItem result{PV_IT_NIL, {}};
  IDispatch* d = Receiver();
  const char* name = pv_parc(1);
  if (d && !name) SetStatus(E_INVALIDARG);
  if (d && name) {
    ArgBlock args(2, pv_pcount() - 1);
    DISPID id = 0;
    bool put = false;
    if (FAILED(args.status())) {
      SetStatus(args.status());
    } else if (SUCCEEDED(LookupName(d, name, static_cast<std::size_t>(pv_parclen(1)), pv_pcount(), &id, &put))) {
      DISPPARAMS p = args.Params(kind == DISPATCH_PROPERTYPUT);
      VARIANT r;
      VariantInit(&r);
      if (SUCCEEDED(InvokeMember(d, id, kind, &p, kind == DISPATCH_PROPERTYPUT ? nullptr : &r))) TakeResult(&result, &r);
      args.WriteBack();
    }
  }
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

void PV_FUN_TOLEAUTO_INVOKE() { Explicit(DISPATCH_METHOD); }
void PV_FUN_TOLEAUTO_SET() { Explicit(DISPATCH_PROPERTYPUT); }
void PV_FUN_TOLEAUTO_GET() { Explicit(DISPATCH_PROPERTYGET); }

// OleValue(): the default property; with arguments nothing happens.
void PV_FUN_TOLEAUTO_OLEVALUE() {
  if (pv_pcount() > 0) return pv_ret();
  PvItem result{PV_IT_NIL, {}};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT r;
  VariantInit(&r);
  IDispatch* d = Receiver();
  if (d && SUCCEEDED(InvokeMember(d, DISPID_VALUE, DISPATCH_PROPERTYGET, &none, &r))) TakeResult(&result, &r);
  else RaiseAutomationError(&result, ClassNameOf(pv_stackSelfItem()), MessageName(), 1);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

// _OleValue( x, ... ): puts the default property; returns x.
void PV_FUN_TOLEAUTO__OLEVALUE() {
  if (pv_pcount() < 1) return pv_ret();
  PvItem result{PV_IT_NIL, {}};
  IDispatch* d = Receiver();
  bool ok = false;
  if (d) {
    ArgBlock args(1, pv_pcount());
    if (FAILED(args.status())) SetStatus(args.status());
    else ok = SUCCEEDED(PutMember(d, DISPID_VALUE, args, false));
    if (ok) args.WriteBack();
  }
  if (ok) FirstArgument(&result);
  else RaiseAutomationError(&result, ClassNameOf(pv_stackSelfItem()), MessageName(), 1);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

// __OLECLASSNATIVES( nClassH ): adds the natively answered messages to TOleAuto.
void PV_FUN___OLECLASSNATIVES() {
  struct Binding {
    const char* message;
    const char* native;
    int kind;
  };
  static const Binding kBindings[] = {
      {"INVOKE", "TOLEAUTO_INVOKE", PV_OO_MSG_METHOD},
      {"CALLMETHOD", "TOLEAUTO_INVOKE", PV_OO_MSG_METHOD},
      {"SET", "TOLEAUTO_SET", PV_OO_MSG_METHOD},
      {"SETPROPERTY", "TOLEAUTO_SET", PV_OO_MSG_METHOD},
      {"GET", "TOLEAUTO_GET", PV_OO_MSG_METHOD},
      {"GETPROPERTY", "TOLEAUTO_GET", PV_OO_MSG_METHOD},
      {"OLEVALUE", "TOLEAUTO_OLEVALUE", PV_OO_MSG_METHOD},
      {"_OLEVALUE", "TOLEAUTO__OLEVALUE", PV_OO_MSG_METHOD},
      {"OLENEWENUMERATOR", "TOLEAUTO_OLENEWENUMERATOR", PV_OO_MSG_METHOD},
      {"OLEENUMERATE", "TOLEAUTO_OLEENUMERATE", PV_OO_MSG_METHOD},
      {"ONERROR", "TOLEAUTO_ONERROR", PV_OO_MSG_ONERROR},
  };
  auto cls = static_cast<uint16_t>(pv_parni(1));
  for (const Binding& b : kBindings)
    pv_clsAddMsg(cls, b.message, b.kind, pv_dynsymGet(b.native)->symbol, 0, nullptr, nullptr, PV_OO_CLSTP_EXPORTED);
}

PvSymbol s_symbols[] = {
    pv_native("__OLECLASSNATIVES", PV_FUN___OLECLASSNATIVES),
    pv_native("TOLEAUTO_ONERROR", PV_FUN_TOLEAUTO_ONERROR),
    pv_native("TOLEAUTO_INVOKE", PV_FUN_TOLEAUTO_INVOKE),
    pv_native("TOLEAUTO_SET", PV_FUN_TOLEAUTO_SET),
    pv_native("TOLEAUTO_GET", PV_FUN_TOLEAUTO_GET),
    pv_native("TOLEAUTO_OLEVALUE", PV_FUN_TOLEAUTO_OLEVALUE),
    pv_native("TOLEAUTO__OLEVALUE", PV_FUN_TOLEAUTO__OLEVALUE),
};
PvModuleRegistrar s_module("ole/dispatch", s_symbols);

}  // namespace
}  // namespace ole

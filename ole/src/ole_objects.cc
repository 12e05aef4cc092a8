// TOleAuto and the wrapper objects seen from native code.
#include "ole_objects.h"

#include "classes.h"
#include "dynsym.h"
#include "ole_pointers.h"
#include "ole_state.h"
#include "vm.h"

namespace ole {

bool IsInstanceOf(PV_ITEM value, const char* className) {
  value = pv_itemUnRef(value);
  return PV_IS_OBJECT(value) && pv_clsIsParent(pv_objGetClass(value), className);
}

void SendTo(PV_ITEM dest, PV_ITEM object, PvSymbol* message) {
  pv_itemCopy(dest, pv_objSendSymbol(object, message, 0));
}

com::IDispatch* DispatchOf(PV_ITEM object) {
  PvItem h{PV_IT_NIL, {}};
  SendTo(&h, object, symbols().hObj);
  com::IDispatch* p = PV_IS_NUMERIC(&h) ? HeldFromNumber(pv_itemGetNInt(&h)) : nullptr;
  pv_itemClear(&h);
  return p;
}

std::string ClassNameOf(PV_ITEM object) {
  PvItem name{PV_IT_NIL, {}};
  SendTo(&name, object, symbols().className);
  std::string text = PV_IS_STRING(&name) ? std::string(pv_itemGetCPtr(&name), pv_itemGetCLen(&name)) : "";
  pv_itemClear(&name);
  return text;
}

void SetClassName(PV_ITEM object, const std::string& name) {
  PvItem text{PV_IT_NIL, {}};
  pv_itemPutCL(&text, name.data(), static_cast<PV_SIZE>(name.size()));
  pv_objSendSymbol(object, symbols().setClassName, 1, &text);
  pv_itemClear(&text);
}

namespace {

// dest := the result of the class function `name` called with the arguments.
void CallFunction(PV_ITEM dest, const char* name, int argc, PV_ITEM* args) {
  pv_vmPushDynSym(pv_dynsymGet(name));
  pv_vmPushNil();
  for (int i = 0; i < argc; ++i) pv_vmPush(args[i]);
  pv_vmDo(static_cast<uint16_t>(argc));
  pv_itemCopy(dest, pv_stackReturnItem());
}

}  // namespace

void NewOleAuto(PV_ITEM dest, com::IDispatch* p, const std::string& name) {
  CallFunction(dest, "TOLEAUTO", 0, nullptr);
  p->AddRef();
  HoldAdopted(p);
  PvItem value{PV_IT_NIL, {}};
  pv_itemPutNInt(&value, NumberOf(p));
  pv_objSendSymbol(dest, symbols().setHObj, 1, &value);
  PutOwner(&value, p);
  pv_objSendSymbol(dest, symbols().setReference, 1, &value);
  pv_itemClear(&value);
  SetClassName(dest, name.empty() ? std::to_string(NumberOf(p)) : name);
}

void NewWrapper(PV_ITEM dest, const char* classFunction, com::VARTYPE vt, PV_ITEM value) {
  PvItem args[2] = {{PV_IT_NIL, {}}, {PV_IT_NIL, {}}};
  pv_itemPutNI(&args[0], vt);
  pv_itemCopy(&args[1], value);
  PV_ITEM ptrs[2] = {&args[0], &args[1]};
  CallFunction(dest, classFunction, 2, ptrs);
  pv_itemClear(&args[0]);
  pv_itemClear(&args[1]);
}

}  // namespace ole

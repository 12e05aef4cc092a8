// TOleAuto and the wrapper objects seen from native code. Objects of TOleAuto itself (the
// bridge makes one per returned interface) are read and filled through their instance slots,
// found once; objects of subclasses through their messages.
#include "ole_objects.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "array.h"
#include "classes.h"
#include "dynsym.h"
#include "ole_pointers.h"
#include "ole_state.h"
#include "vm.h"

namespace ole {
namespace {

// Instance variables of TOleAuto the natives use.
enum Slot { kHObj, kClassName, kReference, kSlotCount };

struct OleClass {
  uint16_t handle = 0;
  std::array<PV_SIZE, kSlotCount> index{};  // 1-based positions in an instance
};

// dest := the result of the function `name` called with the arguments.
void CallFunction(PV_ITEM dest, const char* name, int argc, PV_ITEM* args) {
  pv_vmPushDynSym(pv_dynsymGet(name));
  pv_vmPushNil();
  for (int i = 0; i < argc; ++i) pv_vmPush(args[i]);
  pv_vmDo(static_cast<uint16_t>(argc));
  pv_itemCopy(dest, pv_stackReturnItem());
}

// Finds where an instance keeps each variable: a distinct value is assigned through the
// variable's message and looked for among the instance's slots.
PV_SIZE SlotOf(PV_ITEM instance, PvSymbol* setter, int marker) {
  PvItem value{PV_IT_NIL, {}};
  pv_itemPutNI(&value, marker);
  pv_objSendSymbol(instance, setter, 1, &value);
  for (PV_SIZE i = 1; i <= pv_arrayLen(instance); ++i) {
    PV_ITEM slot = pv_arrayGetItemPtr(instance, i);
    if (PV_IS_NUMERIC(slot) && pv_itemGetNI(slot) == marker) return i;
  }
  return 0;
}

OleClass& knownClass() {
  static OleClass c;
  return c;
}

const OleClass& oleClass() {
  OleClass& c = knownClass();
  if (c.handle && pv_clsIsValid(c.handle)) return c;
  PvItem instance{PV_IT_NIL, {}};
  CallFunction(&instance, "TOLEAUTO", 0, nullptr);
  c.handle = pv_objGetClass(&instance);
  c.index[kHObj] = SlotOf(&instance, symbols().setHObj, 1);
  c.index[kClassName] = SlotOf(&instance, symbols().setClassName, 2);
  c.index[kReference] = SlotOf(&instance, symbols().setReference, 3);
  pv_itemClear(&instance);
  return c;
}

// The slot of an object of TOleAuto itself, nullptr for other objects. The class found before
// is not checked again: should it have gone, no object is of it, and the callers' fallback
// (IsOleAuto) finds the class anew.
PV_ITEM SlotItem(PV_ITEM object, Slot slot) {
  object = pv_itemUnRef(object);
  const OleClass& c = knownClass().handle ? knownClass() : oleClass();
  if (!PV_IS_OBJECT(object) || pv_objGetClass(object) != c.handle) return nullptr;
  return pv_arrayGetItemPtr(object, c.index[slot]);
}

}  // namespace

bool IsInstanceOf(PV_ITEM value, const char* className) {
  value = pv_itemUnRef(value);
  return PV_IS_OBJECT(value) && pv_clsIsParent(pv_objGetClass(value), className);
}

bool IsOleAuto(PV_ITEM value) {
  value = pv_itemUnRef(value);
  if (!PV_IS_OBJECT(value)) return false;
  return pv_objGetClass(value) == oleClass().handle || IsInstanceOf(value, "TOLEAUTO");
}

void SendTo(PV_ITEM dest, PV_ITEM object, PvSymbol* message) {
  pv_itemCopy(dest, pv_objSendSymbol(object, message, 0));
}

com::IDispatch* DispatchOf(PV_ITEM object) {
  if (PV_ITEM h = SlotItem(object, kHObj)) return PV_IS_NUMERIC(h) ? HeldFromNumber(pv_itemGetNInt(h)) : nullptr;
  if (!IsOleAuto(object)) return nullptr;
  PvItem h{PV_IT_NIL, {}};
  SendTo(&h, object, symbols().hObj);
  com::IDispatch* p = PV_IS_NUMERIC(&h) ? HeldFromNumber(pv_itemGetNInt(&h)) : nullptr;
  pv_itemClear(&h);
  return p;
}

std::string ClassNameOf(PV_ITEM object) {
  PvItem name{PV_IT_NIL, {}};
  if (PV_ITEM slot = SlotItem(object, kClassName)) pv_itemCopy(&name, slot);
  else SendTo(&name, object, symbols().className);
  std::string text = PV_IS_STRING(&name) ? std::string(pv_itemGetCPtr(&name), pv_itemGetCLen(&name)) : "";
  pv_itemClear(&name);
  return text;
}

namespace {

// Names made for (receiver's name text, message): the entry keeps the receiver's name alive,
// so its text pointer stays a sound key.
struct ChildNameEntry {
  PvItem parent{PV_IT_NIL, {}};
  const char* message = nullptr;
  PvItem child{PV_IT_NIL, {}};
};
constexpr std::size_t kChildNameSlots = 256;

std::array<ChildNameEntry, kChildNameSlots>& childNames() {
  static std::array<ChildNameEntry, kChildNameSlots> slots;
  return slots;
}

void PutJoined(PV_ITEM dest, const char* parent, std::size_t parentLen, const char* message) {
  std::string name;
  name.reserve(parentLen + 1 + std::strlen(message));
  name.append(parent, parentLen).append(1, ':').append(message);
  pv_itemPutCL(dest, name.data(), static_cast<PV_SIZE>(name.size()));
}

}  // namespace

void ChildName(PV_ITEM dest, PV_ITEM receiver, const char* message) {
  PV_ITEM slot = SlotItem(receiver, kClassName);
  if (!slot || !PV_IS_STRING(slot)) {
    std::string parent = slot ? std::string() : ClassNameOf(receiver);
    PutJoined(dest, parent.data(), parent.size(), message);
    return;
  }
  const char* text = pv_itemGetCPtr(slot);
  std::size_t hash = (reinterpret_cast<std::uintptr_t>(text) >> 4) ^ (reinterpret_cast<std::uintptr_t>(message) >> 3);
  ChildNameEntry& e = childNames()[hash % kChildNameSlots];
  if (e.message != message || !PV_IS_STRING(&e.parent) || pv_itemGetCPtr(&e.parent) != text ||
      pv_itemGetCLen(&e.parent) != pv_itemGetCLen(slot)) {
    pv_itemCopy(&e.parent, slot);
    e.message = message;
    PutJoined(&e.child, text, static_cast<std::size_t>(pv_itemGetCLen(slot)), message);
  }
  pv_itemCopy(dest, &e.child);
}

void ForgetChildNames() {
  for (ChildNameEntry& e : childNames()) {
    pv_itemClear(&e.parent);
    pv_itemClear(&e.child);
    e.message = nullptr;
  }
}

void NewOleAuto(PV_ITEM dest, com::IDispatch* p, PV_ITEM name) {
  const OleClass& c = oleClass();
  pv_clsInst(c.handle, dest);
  p->AddRef();
  HoldAdopted(p);
  pv_itemPutNInt(pv_arrayGetItemPtr(dest, c.index[kHObj]), NumberOf(p));
  PutOwner(pv_arrayGetItemPtr(dest, c.index[kReference]), p);
  PV_ITEM slot = pv_arrayGetItemPtr(dest, c.index[kClassName]);
  if (name && PV_IS_STRING(name)) {
    pv_itemCopy(slot, name);
  } else {
    std::string number = std::to_string(NumberOf(p));
    pv_itemPutCL(slot, number.data(), static_cast<PV_SIZE>(number.size()));
  }
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

// The bridge's view of its language-level objects: recognising TOleAuto and the VARIANT-type
// wrappers, reading their instance variables, and making new ones from native code.
#pragma once

#include <string>

#include "com/com.h"
#include "item.h"

namespace ole {

// True for an object of the class or one of its subclasses (names in upper case).
bool IsInstanceOf(PV_ITEM value, const char* className);
bool IsOleAuto(PV_ITEM value);

// The dispatch pointer a TOleAuto stands for; nullptr for other values and when hObj is
// empty, 0 or not a pointer the bridge holds.
com::IDispatch* DispatchOf(PV_ITEM object);
// cClassName of an object ("" when it is not text).
std::string ClassNameOf(PV_ITEM object);
// dest := the name of an object a message returned: the receiver's cClassName, ":" and the
// message. The message text must live as long as the program (a symbol's name); the names made
// for the receivers' names are remembered, so the objects of one kind share one string.
void ChildName(PV_ITEM dest, PV_ITEM receiver, const char* message);
// Lets go of the remembered names (when the runtime ends).
void ForgetChildNames();

// Sends a message without arguments and copies its result to `dest`.
void SendTo(PV_ITEM dest, PV_ITEM object, PvSymbol* message);

// dest := a new TOleAuto on `p`, which takes one reference of its own (AddRef), named by the
// text `name` (the pointer's decimal text when `name` is null or not text).
void NewOleAuto(PV_ITEM dest, com::IDispatch* p, PV_ITEM name);
// dest := VTWRAPPER( vt, value ) or VTARRAYWRAPPER( vt, value ).
void NewWrapper(PV_ITEM dest, const char* classFunction, com::VARTYPE vt, PV_ITEM value);

}  // namespace ole

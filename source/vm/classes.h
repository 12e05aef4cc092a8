// Classes, objects and messages: the class table, message records with their kinds, the
// message index by dynamic-symbol identity, instances, and sending.
#pragma once

#include <cstdint>

#include "item.h"

struct PvDynSym;
struct PvSymbol;
struct PvBaseArray;

enum PvMsgKind : int {
  PV_OO_MSG_METHOD = 0,
  PV_OO_MSG_DATA = 1,
  PV_OO_MSG_CLASSDATA = 2,
  PV_OO_MSG_INLINE = 3,
  PV_OO_MSG_VIRTUAL = 4,
  PV_OO_MSG_SUPER = 5,
  PV_OO_MSG_ONERROR = 6,
  PV_OO_MSG_DESTRUCTOR = 7,
  PV_OO_MSG_PROPERTY = 9,
  PV_OO_MSG_CLSPROPERTY = 10,
  PV_OO_MSG_DELEGATE = 11,
};

enum : uint32_t {
  PV_OO_CLSTP_EXPORTED = 1,
  PV_OO_CLSTP_CTOR = 16,
  PV_OO_CLSTP_SHARED = 0x40,
};

// Operator bits of a class's operator set.
enum : uint32_t {
  PV_OO_OP_PLUS = 0x1, PV_OO_OP_MINUS = 0x2, PV_OO_OP_MULT = 0x4, PV_OO_OP_DIVIDE = 0x8,
  PV_OO_OP_MOD = 0x10, PV_OO_OP_POWER = 0x20, PV_OO_OP_INC = 0x40, PV_OO_OP_DEC = 0x80,
  PV_OO_OP_EQUAL = 0x100, PV_OO_OP_EXACTEQUAL = 0x200, PV_OO_OP_NOTEQUAL = 0x400,
  PV_OO_OP_LESS = 0x800, PV_OO_OP_LESSEQUAL = 0x1000, PV_OO_OP_GREATER = 0x2000,
  PV_OO_OP_GREATEREQUAL = 0x4000, PV_OO_OP_ASSIGN = 0x8000, PV_OO_OP_INSTRING = 0x10000,
  PV_OO_OP_NOT = 0x20000, PV_OO_OP_AND = 0x40000, PV_OO_OP_OR = 0x80000,
  PV_OO_OP_ARRAYINDEX = 0x100000, PV_OO_OP_BITAND = 0x200000, PV_OO_OP_BITOR = 0x400000,
  PV_OO_OP_BITXOR = 0x800000, PV_OO_OP_SHIFTR = 0x1000000, PV_OO_OP_SHIFTL = 0x2000000,
  PV_OO_OP_FOREACH = 0x4000000,
};

// Creates a class; `parents` holds parent class handles. Returns the handle.
uint16_t pv_clsCreate(const char* name, uint16_t datas, const uint16_t* parents, int parentCount);
// Adds or replaces a message. `function` for methods, error handlers and destructors; `index`
// for data, class data and super (the parent handle); `block` for inline messages.
// Returns false (after raising the documented error) when the arguments are wrong.
bool pv_clsAddMsg(uint16_t cls, const char* name, int kind, PvSymbol* function, uint32_t index,
                  PV_ITEM block, PV_ITEM initValue, uint32_t scope);
bool pv_clsInst(uint16_t cls, PV_ITEM dest);   // false for an invalid handle (error 3006 raised)
bool pv_clsIsValid(uint16_t cls);
const char* pv_clsName(uint16_t cls);
uint16_t pv_clsFindClass(const char* name);    // 0 when none
uint16_t pv_clsDataCount(uint16_t cls);
uint16_t pv_clsClassDataCount(uint16_t cls);
uint32_t pv_clsOperators(uint16_t cls);
uint16_t pv_clsCount();
bool pv_clsIsParent(uint16_t cls, const char* parentName);
bool pv_clsAssocType(uint16_t cls, const char* typeName);  // error 3005 for data classes
// The name of the first message with the constructor scope, else of the last message; "" when
// the class has no messages.
const char* pv_clsConstructorMessage(uint16_t cls);
// The message names of a class, in definition order.
void pv_clsMessageList(uint16_t cls, PV_ITEM dest, bool full);

uint16_t pv_objGetClass(PV_ITEM object);        // instances and associated scalar types
const char* pv_objGetClsName(PV_ITEM object);   // class name, or the type's name
bool pv_objHasMsg(PV_ITEM object, const char* message);
bool pv_objHasMessage(PV_ITEM object, PvDynSym* message);
// The function a class runs for `message` (nullptr for data, inline blocks and unknown messages).
PvSymbol* pv_clsMethodFunction(uint16_t cls, PvDynSym* message);
// Sends `message` with argc PV_ITEM arguments; returns the return slot.
PV_ITEM pv_objSendMsg(PV_ITEM object, const char* message, int argc, ...);
PV_ITEM pv_objSendSymbol(PV_ITEM object, PvSymbol* message, int argc, ...);
// True when the class of `object` overloads `op` (an operator bit).
bool pv_objHasOperator(PV_ITEM object, uint32_t op);
// Sends an operator message to `object` with the given arguments, result into `result`.
bool pv_objOperatorCall(uint32_t op, PV_ITEM result, PV_ITEM object, PV_ITEM arg1, PV_ITEM arg2);

// The send dispatcher of the machine: the frame (message symbol, receiver, args) is pushed.
void pv_clsDispatch(uint16_t argc);
// The send opcodes: the result replaces the pushed message, receiver and arguments.
void pv_clsSend(uint16_t argc);
// A send of `message` without arguments to `object` (not pushed) when it reads a data slot of a
// plain instance: pushes the value and answers true; false (nothing pushed) for any other send.
bool pv_clsPushData(PV_ITEM object, PvSymbol* message);
// Runs the class destructor of an object whose last reference goes.
void pv_clsDestruct(PvBaseArray* object);
void pv_clsReleaseAll();

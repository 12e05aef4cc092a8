// Operations the machine substitutes for others in its own copies of procedure bodies.
//
// A procedure's body is copied when it is first called (the copy lives as long as the program).
// The first time a PUSHLOCALNEAR of a local (a positive number) in such a copy runs, the machine looks at the operations that
// follow it once and replaces the opcode byte by one of the operations below, which runs the
// same push knowing what follows: a plain push, a push taken at once by the operator after it,
// or a pair of simple operands with their operator. Only the opcode byte changes: the operand
// (the local's number) and every following operation keep their bytes, so a jump into them, a
// look-ahead that reads them and a fallback to the plain push all see the original code. Each
// substitute gives exactly what PUSHLOCALNEAR gives in every case; type checks stay in them.
// A PUSHDOUBLE gets its width byte worked out once, and a PUSHSYMNEAR before PUSHNIL (every
// call) pushes both; no look-ahead reads either operation.
#pragma once

#include <cstdint>

#include "pcode.h"

enum QuickOp : uint8_t {
  PV_Q_LOCALPUSH = pv::PV_P_LAST_PCODE,  // nothing fuses with the push
  PV_Q_LOCALCOPY,                        // a POPLOCALNEAR takes the value: a copy between locals
  PV_Q_LOCALADDINT,                      // an ADDINT follows: the sum pushed at once
  PV_Q_LOCALPLUS,                        // an operator takes the local as its right operand
  PV_Q_LOCALMINUS,
  PV_Q_LOCALMULT,
  PV_Q_LOCALCOMPARE,                     // a comparison (and the jump after it)
  PV_Q_LOCALOPERAND,                     // an element read or store with the local as index
  PV_Q_PAIRPLUS,                         // a simple operand, then an operator on both
  PV_Q_PAIRMINUS,
  PV_Q_PAIRMULT,
  PV_Q_PAIRCOMPARE,
  PV_Q_LAST,
  // Substitutes for other operations, which no look-ahead reads.
  PV_Q_DOUBLE = PV_Q_LAST,  // PUSHDOUBLE with the width byte replaced by the item's width,
                            // before an operator that may take it at once
  PV_Q_DOUBLEPUSH,          // the same before anything else: a plain push
  PV_Q_SYMNIL,              // PUSHSYMNEAR followed by PUSHNIL: both pushes at once
  PV_Q_END                  // the first byte that is no operation
};

// Whether `op` is one of the comparison operators.
inline bool pv_isComparisonOp(uint8_t op) {
  switch (op) {
    case pv::PV_P_EQUAL:
    case pv::PV_P_EXACTLYEQUAL:
    case pv::PV_P_NOTEQUAL:
    case pv::PV_P_LESS:
    case pv::PV_P_LESSEQUAL:
    case pv::PV_P_GREATER:
    case pv::PV_P_GREATEREQUAL: return true;
    default: return false;
  }
}

// Whether `op` pushes a near local: PUSHLOCALNEAR or one of its substitutes.
inline bool pv_isPushLocalNear(uint8_t op) {
  return op == pv::PV_P_PUSHLOCALNEAR || (op >= PV_Q_LOCALPUSH && op < PV_Q_LAST);
}

// Whether `op` is an operator that may take a simple operand pushed right before it at once.
bool pv_quickTakesOperand(uint8_t op);

// The substitute for a PUSHLOCALNEAR followed by the code at `next`.
uint8_t pv_quickLocalOp(const uint8_t* next);

// The machine's own, rewritable copy of `size` bytes of bytecode.
uint8_t* pv_quickenCopy(const uint8_t* code, uint32_t size);

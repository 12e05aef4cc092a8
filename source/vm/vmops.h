// Operators of the machine: each pops its operands from the stack and pushes the result.
// Type mismatches launch substitutable "BASE" errors; the substitute becomes the result.
#pragma once

#include "item.h"

void pv_opPlus();
void pv_opMinus();
void pv_opMult();
void pv_opDivide();
void pv_opModulus();
void pv_opPower();
void pv_opNegate();
void pv_opInc();
void pv_opDec();
void pv_opAddInt(int n);
void pv_opEqual(bool exact);
void pv_opNotEqual();
void pv_opLess();
void pv_opLessEqual();
void pv_opGreater();
void pv_opGreaterEqual();
void pv_opInstring();
void pv_opAnd();
void pv_opOr();
void pv_opNot();
void pv_opBit(int op);   // 0 and, 1 or, 2 xor, 3 shift right, 4 shift left
void pv_opLeft(int n);
void pv_opRight(int n);
bool pv_opForTest();     // counter end step -> continue?
bool pv_opPopLogical(const char* operation);  // pops a condition (1/1066 when not logical)
// Adds `value` to `dest` in place (the += of locals and elements).
void pv_opAddTo(PV_ITEM dest, PV_ITEM value);
// Numeric result of arithmetic on two values (both numeric): stored in dest.
void pv_opNumberResult(PV_ITEM dest, double value, int decimals, PV_ITEM a, PV_ITEM b);

// Operators: arithmetic, comparison, logical, bitwise and text operators with their errors.
#include "vmops.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "classes.h"
#include "compare.h"
#include "dates.h"
#include "errors.h"
#include "hash.h"
#include "set.h"
#include "stackdef.h"

namespace {

// Replaces the two operands on the top with `result` (moved).
void replaceTwo(PvItem* result) {
  pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), result);
}

// Raises the substitutable operator error for the two operands on the top and replaces them
// with the substitute (NIL when the handler gave none).
void operatorError(uint32_t gencode, uint32_t subcode, const char* op, int operands) {
  PvItem* a = pv_stackTop(-operands);
  PvItem* b = operands == 2 ? pv_stackTop(-1) : nullptr;
  PV_ITEM subst = operands == 2 ? pv_errRT_BASE_Subst(gencode, subcode, nullptr, op, 2, a, b)
                                : pv_errRT_BASE_Subst(gencode, subcode, nullptr, op, 1, a);
  PvItem result = {PV_IT_NIL, {}};
  if (subst) {
    pv_itemMove(&result, subst);
    pv_itemRelease(subst);
  }
  if (operands == 2) pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &result);
}

// An object on the left that overloads the operator answers it.
bool overloaded(uint32_t bit, int operands) {
  PvItem* a = pv_stackTop(-operands);
  if (!PV_IS_OBJECT(pv_itemUnRef(a)) || !pv_objHasOperator(a, bit)) return false;
  PvItem result = {PV_IT_NIL, {}};
  PvItem left = {PV_IT_NIL, {}}, right = {PV_IT_NIL, {}};
  pv_itemCopy(&left, pv_itemUnRef(a));
  if (operands == 2) pv_itemCopy(&right, pv_itemUnRef(pv_stackTop(-1)));
  pv_objOperatorCall(bit, &result, &left, operands == 2 ? &right : nullptr, nullptr);
  pv_itemClear(&left);
  pv_itemClear(&right);
  if (operands == 2) pv_stackPopFast();
  pv_itemMove(pv_stackTop(-1), &result);
  return true;
}

int decimalsOf(PV_ITEM p) { return PV_IS_DOUBLE(p) ? p->item.asDouble.decimal : 0; }

// Integer arithmetic that falls back to doubles on overflow. false: not both integers.
bool intArith(char op, PV_ITEM a, PV_ITEM b, PvItem* out) {
  if (!PV_IS_NUMINT(a) || !PV_IS_NUMINT(b)) return false;
  int64_t x = pv_itemGetNInt(a), y = pv_itemGetNInt(b), r;
  bool over = op == '+' ? __builtin_add_overflow(x, y, &r)
              : op == '-' ? __builtin_sub_overflow(x, y, &r)
                          : __builtin_mul_overflow(x, y, &r);
  if (over) {
    double d = op == '+' ? double(x) + double(y) : op == '-' ? double(x) - double(y) : double(x) * double(y);
    pv_itemPutNDDec(out, d, 0);
  } else {
    pv_itemPutNInt(out, r);
  }
  return true;
}

PvItem* top1() { return pv_itemUnRef(pv_stackTop(-1)); }
PvItem* top2() { return pv_itemUnRef(pv_stackTop(-2)); }

void dateAdd(PvItem* out, PV_ITEM date, double days) {
  long julian = pv_itemGetDL(date);
  long ms = pv_itemGetT(date);
  if (ms == 0 && days == std::floor(days)) {
    pv_itemPutDL(out, julian + static_cast<long>(days));
    return;
  }
  double total = julian + ms / double(PV_MILLISECS_PER_DAY) + days;
  long day = static_cast<long>(std::floor(total));
  pv_itemPutDTL(out, day, std::lround((total - day) * PV_MILLISECS_PER_DAY));
}

void compareOp(uint32_t bit, uint32_t subcode, const char* op, bool (*test)(int)) {
  if (overloaded(bit, 2)) return;
  int r;
  PvItem* a = top2();
  PvItem* b = top1();
  if (!pv_itemRelCompare(a, b, false, &r)) {
    operatorError(PV_EG_ARG, subcode, op, 2);
    return;
  }
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutL(&result, test(r));
  replaceTwo(&result);
}

// Identity and NIL rules of = and == for types without an order.
bool equalOther(PV_ITEM a, PV_ITEM b, bool* eq) {
  if (PV_IS_NIL(a) || PV_IS_NIL(b)) {
    *eq = PV_IS_NIL(a) && PV_IS_NIL(b);
    return true;
  }
  if (PV_IS_ARRAY(a) && PV_IS_ARRAY(b)) {
    *eq = a->item.asArray.value == b->item.asArray.value;
    return true;
  }
  if (PV_IS_HASH(a) && PV_IS_HASH(b)) {
    *eq = a->item.asHash.value == b->item.asHash.value;
    return true;
  }
  if (PV_IS_BLOCK(a) && PV_IS_BLOCK(b)) {
    *eq = a->item.asBlock.value == b->item.asBlock.value;
    return true;
  }
  if (PV_IS_POINTER(a) && PV_IS_POINTER(b)) {
    *eq = pv_itemGetPtr(a) == pv_itemGetPtr(b);
    return true;
  }
  if (PV_IS_SYMBOL(a) && PV_IS_SYMBOL(b)) {
    *eq = pv_itemGetSymbol(a) == pv_itemGetSymbol(b);
    return true;
  }
  return false;
}

}  // namespace

void pv_opNumberResult(PV_ITEM dest, double value, int decimals, PV_ITEM a, PV_ITEM b) {
  pv_itemPutNumType(dest, value, decimals, a ? a->type : 0, b ? b->type : 0);
}

namespace {

enum class Outcome {
  Result,   // replace the operands with the result
  Settled,  // the stack is already settled (an error was raised, or the work done in place)
  NoMatch,  // the operand types do not apply
};

// Runs a binary operator: `compute` answers the operand types it knows; otherwise an object
// that overloads the operator answers, and anything else raises the argument error.
template <typename Compute>
void binary(uint32_t bit, uint32_t subcode, const char* name, Compute compute) {
  PvItem* a = top2();
  PvItem* b = top1();
  PvItem result = {PV_IT_NIL, {}};
  switch (compute(a, b, &result)) {
    case Outcome::Result: replaceTwo(&result); return;
    case Outcome::Settled: return;
    case Outcome::NoMatch: break;
  }
  if (!overloaded(bit, 2)) operatorError(PV_EG_ARG, subcode, name, 2);
}

Outcome concat(PvItem* a, PvItem* b, PvItem* result) {
  PV_SIZE la = pv_itemGetCLen(a), lb = pv_itemGetCLen(b);
  if (la + lb > 0x7FFFFFFF) {
    operatorError(PV_EG_STROVERFLOW, 1209, "+", 2);
    return Outcome::Settled;
  }
  PvItem* left = pv_stackTop(-2);
  if (PV_IS_STRING(left) && left->item.asString.allocated && *left->item.asString.holders == 1 && lb) {
    char* buf = pv_itemReSizeString(left, la + lb);  // the left operand owns its buffer alone
    std::memcpy(buf + la, pv_itemGetCPtr(b), lb);
    pv_stackPopFast();
    return Outcome::Settled;
  }
  char* buf = pv_itemReSizeString(result, la + lb);
  std::memcpy(buf, pv_itemGetCPtr(a), la);
  std::memcpy(buf + la, pv_itemGetCPtr(b), lb);
  if (la + lb <= 1) pv_itemPutCL(result, buf, la + lb);
  return Outcome::Result;
}

// Text minus text: the trailing blanks of the first move to the end of the result.
void trimConcat(PvItem* a, PvItem* b, PvItem* result) {
  const char* pa = pv_itemGetCPtr(a);
  PV_SIZE la = pv_itemGetCLen(a), lb = pv_itemGetCLen(b), keep = la;
  while (keep > 0 && pa[keep - 1] == ' ') --keep;
  char* buf = pv_itemReSizeString(result, la + lb);
  std::memcpy(buf, pa, keep);
  std::memcpy(buf + keep, pv_itemGetCPtr(b), lb);
  std::memset(buf + keep + lb, ' ', la - keep);
  if (la + lb <= 1) pv_itemPutCL(result, buf, la + lb);
}

// The zero-divisor check of / and %: raises the substitutable error when b is 0.
bool zeroDivisor(PvItem* b, uint32_t subcode, const char* name) {
  if (pv_itemGetND(b) != 0.0) return false;
  operatorError(PV_EG_ZERODIV, subcode, name, 2);
  return true;
}

}  // namespace

void pv_opPlus() {
  binary(PV_OO_OP_PLUS, 1081, "+", [](PvItem* a, PvItem* b, PvItem* r) {
    if (intArith('+', a, b, r)) return Outcome::Result;
    if (PV_IS_NUMERIC(a) && PV_IS_NUMERIC(b)) {
      pv_opNumberResult(r, pv_itemGetND(a) + pv_itemGetND(b), std::max(decimalsOf(a), decimalsOf(b)), a, b);
      return Outcome::Result;
    }
    if (PV_IS_STRING(a) && PV_IS_STRING(b)) return concat(a, b, r);
    if (PV_IS_DATE(a) && PV_IS_NUMERIC(b)) return dateAdd(r, a, pv_itemGetND(b)), Outcome::Result;
    if (PV_IS_NUMERIC(a) && PV_IS_DATE(b)) return dateAdd(r, b, pv_itemGetND(a)), Outcome::Result;
    return Outcome::NoMatch;
  });
}

void pv_opMinus() {
  binary(PV_OO_OP_MINUS, 1082, "-", [](PvItem* a, PvItem* b, PvItem* r) {
    if (intArith('-', a, b, r)) return Outcome::Result;
    if (PV_IS_NUMERIC(a) && PV_IS_NUMERIC(b)) {
      pv_opNumberResult(r, pv_itemGetND(a) - pv_itemGetND(b), std::max(decimalsOf(a), decimalsOf(b)), a, b);
    } else if (PV_IS_DATE(a) && PV_IS_DATE(b)) {
      long days = pv_itemGetDL(a) - pv_itemGetDL(b);
      long ms = pv_itemGetT(a) - pv_itemGetT(b);
      if (pv_itemGetT(a) == 0 && pv_itemGetT(b) == 0) pv_itemPutNL(r, days);
      else pv_itemPutNDDec(r, days + ms / double(PV_MILLISECS_PER_DAY), 5);
    } else if (PV_IS_DATE(a) && PV_IS_NUMERIC(b)) {
      dateAdd(r, a, -pv_itemGetND(b));
    } else if (PV_IS_STRING(a) && PV_IS_STRING(b)) {
      trimConcat(a, b, r);
    } else {
      return Outcome::NoMatch;
    }
    return Outcome::Result;
  });
}

void pv_opMult() {
  binary(PV_OO_OP_MULT, 1083, "*", [](PvItem* a, PvItem* b, PvItem* r) {
    if (intArith('*', a, b, r)) return Outcome::Result;
    if (!PV_IS_NUMERIC(a) || !PV_IS_NUMERIC(b)) return Outcome::NoMatch;
    pv_opNumberResult(r, pv_itemGetND(a) * pv_itemGetND(b), decimalsOf(a) + decimalsOf(b), a, b);
    return Outcome::Result;
  });
}

void pv_opDivide() {
  binary(PV_OO_OP_DIVIDE, 1084, "/", [](PvItem* a, PvItem* b, PvItem* r) {
    if (!PV_IS_NUMERIC(a) || !PV_IS_NUMERIC(b)) return Outcome::NoMatch;
    if (zeroDivisor(b, 1340, "/")) return Outcome::Settled;
    if (PV_IS_NUMINT(a) && PV_IS_NUMINT(b) && pv_itemGetNInt(b) != -1 &&
        pv_itemGetNInt(a) % pv_itemGetNInt(b) == 0)
      pv_itemPutNInt(r, pv_itemGetNInt(a) / pv_itemGetNInt(b));
    else
      pv_itemPutNDDec(r, pv_itemGetND(a) / pv_itemGetND(b), pv_setDecimals());
    return Outcome::Result;
  });
}

void pv_opModulus() {
  binary(PV_OO_OP_MOD, 1085, "%", [](PvItem* a, PvItem* b, PvItem* r) {
    if (!PV_IS_NUMERIC(a) || !PV_IS_NUMERIC(b)) return Outcome::NoMatch;
    if (zeroDivisor(b, 1341, "%")) return Outcome::Settled;
    if (PV_IS_NUMINT(a) && PV_IS_NUMINT(b) && pv_itemGetNInt(b) != -1)
      pv_itemPutNInt(r, pv_itemGetNInt(a) % pv_itemGetNInt(b));
    else
      pv_opNumberResult(r, std::fmod(pv_itemGetND(a), pv_itemGetND(b)),
                        std::max(decimalsOf(a), decimalsOf(b)), a, b);
    return Outcome::Result;
  });
}

void pv_opPower() {
  binary(PV_OO_OP_POWER, 1088, "^", [](PvItem* a, PvItem* b, PvItem* r) {
    if (!PV_IS_NUMERIC(a) || !PV_IS_NUMERIC(b)) return Outcome::NoMatch;
    pv_itemPutNDDec(r, std::pow(pv_itemGetND(a), pv_itemGetND(b)), pv_setDecimals());
    return Outcome::Result;
  });
}

void pv_opNegate() {
  PvItem* a = top1();
  PvItem result = {PV_IT_NIL, {}};
  if (PV_IS_INTEGER(a) && a->item.asInteger.value != INT32_MIN) {
    pv_itemPutNI(&result, -a->item.asInteger.value);
  } else if (PV_IS_NUMINT(a) && pv_itemGetNInt(a) != INT64_MIN) {
    pv_itemPutNInt(&result, -pv_itemGetNInt(a));
  } else if (PV_IS_NUMERIC(a)) {
    int w, d;
    pv_itemGetNLen(a, &w, &d);
    pv_itemPutNDLen(&result, -pv_itemGetND(a), 0, d);  // the default width has room for the sign
  } else {
    operatorError(PV_EG_ARG, 1080, "-", 1);
    return;
  }
  pv_itemMove(pv_stackTop(-1), &result);
}

void pv_opAddInt(int n) {
  PvItem* a = top1();
  PvItem result = {PV_IT_NIL, {}};
  if (PV_IS_NUMINT(a)) {
    int64_t r;
    if (__builtin_add_overflow(pv_itemGetNInt(a), static_cast<int64_t>(n), &r))
      pv_itemPutNDDec(&result, pv_itemGetND(a) + n, 0);
    else
      pv_itemPutNInt(&result, r);
  } else if (PV_IS_DOUBLE(a)) {
    pv_itemPutNDLen(&result, pv_itemGetND(a) + n, 0, a->item.asDouble.decimal);
  } else if (PV_IS_DATE(a)) {
    dateAdd(&result, a, n);
  } else {  // ADDINT -k stands for "- k": the error names the operator written
    pv_vmPushInteger(n < 0 ? -n : n);
    if (n < 0) pv_opMinus();
    else pv_opPlus();
    return;
  }
  pv_itemMove(pv_stackTop(-1), &result);
}

void pv_opInc() {
  PvItem* a = top1();
  if (PV_IS_NUMERIC(a) || PV_IS_DATE(a)) pv_opAddInt(1);
  else if (!overloaded(PV_OO_OP_INC, 1)) operatorError(PV_EG_ARG, 1086, "++", 1);
}

void pv_opDec() {
  PvItem* a = top1();
  if (PV_IS_NUMERIC(a) || PV_IS_DATE(a)) pv_opAddInt(-1);
  else if (!overloaded(PV_OO_OP_DEC, 1)) operatorError(PV_EG_ARG, 1087, "--", 1);
}

void pv_opEqual(bool exact) {
  uint32_t bit = exact ? PV_OO_OP_EXACTEQUAL : PV_OO_OP_EQUAL;
  if (overloaded(bit, 2)) return;
  PvItem* a = top2();
  PvItem* b = top1();
  int r;
  bool eq;
  if (pv_itemRelCompare(a, b, exact, &r)) eq = r == 0;
  else if (!equalOther(a, b, &eq)) {
    operatorError(PV_EG_ARG, exact ? 1070 : 1071, exact ? "==" : "=", 2);
    return;
  }
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutL(&result, eq);
  replaceTwo(&result);
}

void pv_opNotEqual() {
  if (overloaded(PV_OO_OP_NOTEQUAL, 2)) return;
  PvItem* a = top2();
  PvItem* b = top1();
  int r;
  bool eq;
  if (pv_itemRelCompare(a, b, false, &r)) eq = r == 0;
  else if (!equalOther(a, b, &eq)) {
    operatorError(PV_EG_ARG, 1072, "<>", 2);
    return;
  }
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutL(&result, !eq);
  replaceTwo(&result);
}

void pv_opLess() { compareOp(PV_OO_OP_LESS, 1073, "<", [](int r) { return r < 0; }); }
void pv_opLessEqual() { compareOp(PV_OO_OP_LESSEQUAL, 1074, "<=", [](int r) { return r <= 0; }); }
void pv_opGreater() { compareOp(PV_OO_OP_GREATER, 1075, ">", [](int r) { return r > 0; }); }
void pv_opGreaterEqual() { compareOp(PV_OO_OP_GREATEREQUAL, 1076, ">=", [](int r) { return r >= 0; }); }

void pv_opInstring() {
  if (overloaded(PV_OO_OP_INSTRING, 2)) return;
  PvItem* a = top2();
  PvItem* b = top1();
  PvItem result = {PV_IT_NIL, {}};
  if (PV_IS_STRING(a) && PV_IS_STRING(b)) {
    PV_SIZE la = pv_itemGetCLen(a), lb = pv_itemGetCLen(b);
    bool found = la > 0 && la <= lb &&
                 memmem(pv_itemGetCPtr(b), lb, pv_itemGetCPtr(a), la) != nullptr;
    pv_itemPutL(&result, found);
  } else if (PV_IS_HASH(b) && (PV_IS_STRING(a) || PV_IS_NUMERIC(a) || PV_IS_DATE(a))) {
    pv_itemPutL(&result, pv_hashScan(b, a, nullptr));
  } else {
    operatorError(PV_EG_ARG, 1109, "$", 2);
    return;
  }
  replaceTwo(&result);
}

void pv_opAnd() {
  binary(PV_OO_OP_AND, 1078, ".AND.", [](PvItem* a, PvItem* b, PvItem* r) {
    if (!PV_IS_LOGICAL(a) || !PV_IS_LOGICAL(b)) return Outcome::NoMatch;
    pv_itemPutL(r, pv_itemGetL(a) && pv_itemGetL(b));
    return Outcome::Result;
  });
}

void pv_opOr() {
  binary(PV_OO_OP_OR, 1079, ".OR.", [](PvItem* a, PvItem* b, PvItem* r) {
    if (!PV_IS_LOGICAL(a) || !PV_IS_LOGICAL(b)) return Outcome::NoMatch;
    pv_itemPutL(r, pv_itemGetL(a) || pv_itemGetL(b));
    return Outcome::Result;
  });
}

void pv_opNot() {
  PvItem* a = top1();
  if (PV_IS_LOGICAL(a)) {
    bool v = pv_itemGetL(a);
    pv_itemPutL(pv_stackTop(-1), !v);
  } else if (!overloaded(PV_OO_OP_NOT, 1)) {
    operatorError(PV_EG_ARG, 1077, ".NOT.", 1);
  }
}

void pv_opBit(int op) {
  static const uint32_t kBits[] = {PV_OO_OP_BITAND, PV_OO_OP_BITOR, PV_OO_OP_BITXOR,
                                   PV_OO_OP_SHIFTR, PV_OO_OP_SHIFTL};
  static const char* const kNames[] = {"&", "|", "^^", ">>", "<<"};
  if (overloaded(kBits[op], 2)) return;
  PvItem* a = top2();
  PvItem* b = top1();
  if (!PV_IS_NUMERIC(a) || !PV_IS_NUMERIC(b)) {
    operatorError(PV_EG_ARG, 1089 + static_cast<uint32_t>(op), kNames[op], 2);
    return;
  }
  int64_t x = pv_itemGetNInt(a), y = pv_itemGetNInt(b), r = 0;
  switch (op) {
    case 0: r = x & y; break;
    case 1: r = x | y; break;
    case 2: r = x ^ y; break;
    case 3: r = (y >= 64 || y <= -64) ? 0 : (y >= 0 ? x >> y : static_cast<int64_t>(static_cast<uint64_t>(x) << -y)); break;
    default: r = (y >= 64 || y <= -64) ? 0 : (y >= 0 ? static_cast<int64_t>(static_cast<uint64_t>(x) << y) : x >> -y); break;
  }
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutNInt(&result, r);
  replaceTwo(&result);
}

void pv_opLeft(int n) {
  PvItem* a = top1();
  if (!PV_IS_STRING(a)) {
    operatorError(PV_EG_ARG, 1124, "LEFT", 1);
    return;
  }
  PV_SIZE len = pv_itemGetCLen(a);
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutCL(&result, pv_itemGetCPtr(a), n < 0 ? 0 : (n < len ? n : len));
  pv_itemMove(pv_stackTop(-1), &result);
}

void pv_opRight(int n) {
  PvItem* a = top1();
  if (!PV_IS_STRING(a)) {
    operatorError(PV_EG_ARG, 1124, "RIGHT", 1);
    return;
  }
  PV_SIZE len = pv_itemGetCLen(a);
  PV_SIZE take = n < 0 ? 0 : (n < len ? n : len);
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutCL(&result, pv_itemGetCPtr(a) + len - take, take);
  pv_itemMove(pv_stackTop(-1), &result);
}

bool pv_opForTest() {
  PvItem* step = pv_itemUnRef(pv_stackTop(-1));
  PvItem* end = pv_itemUnRef(pv_stackTop(-2));
  PvItem* counter = pv_itemUnRef(pv_stackTop(-3));
  bool ok = (PV_IS_NUMERIC(counter) || PV_IS_DATE(counter)) &&
            (PV_IS_NUMERIC(end) || PV_IS_DATE(end)) && PV_IS_NUMERIC(step);
  bool result = false;
  if (ok) {
    double c = pv_itemGetND(counter), e = pv_itemGetND(end);
    result = pv_itemGetND(step) >= 0 ? c <= e : c >= e;
    pv_stackPopFast();
    pv_stackPopFast();
    pv_stackPopFast();
    return result;
  }
  pv_stackPopFast();  // the step; counter and end get the error
  operatorError(PV_EG_ARG, 1073, "<=", 2);
  PvItem* r = pv_stackTop(-1);
  result = PV_IS_LOGICAL(r) && pv_itemGetL(r);
  pv_stackPopFast();
  return result;
}

bool pv_opPopLogical(const char* operation) {
  PvItem* a = pv_itemUnRef(pv_stackTop(-1));
  if (!PV_IS_LOGICAL(a)) {
    operatorError(PV_EG_ARG, 1066, operation, 1);
    a = pv_stackTop(-1);
  }
  bool v = PV_IS_LOGICAL(a) && pv_itemGetL(a);
  pv_stackPopFast();
  return v;
}

void pv_opAddTo(PV_ITEM dest, PV_ITEM value) {
  value = pv_itemUnRef(value);
  if (PV_IS_STRING(dest) && PV_IS_STRING(value) && dest->item.asString.allocated &&
      *dest->item.asString.holders == 1 && dest->item.asString.value != value->item.asString.value) {
    PV_SIZE la = pv_itemGetCLen(dest), lb = pv_itemGetCLen(value);
    char* buf = pv_itemReSizeString(dest, la + lb);  // grows geometrically: appends stay linear
    std::memcpy(buf + la, pv_itemGetCPtr(value), lb);
    return;
  }
  PvItem* slot = pv_stackPushSlot();
  pv_itemCopy(slot, dest);
  pv_vmPush(value);
  pv_opPlus();
  pv_itemMove(dest, pv_stackTop(-1));
  pv_stackDrop();
}

// The choice of substitutes for PUSHLOCALNEAR and the machine's copies of procedure bodies.
#include "quicken.h"

#include <cstring>
#include <memory>
#include <vector>

using namespace pv;

namespace {

// The arithmetic substitute for the operator `op` (base is the PLUS one), or 0.
uint8_t arithmetic(uint8_t op, uint8_t base) {
  switch (op) {
    case PV_P_PLUS: return base;
    case PV_P_MINUS: return static_cast<uint8_t>(base + 1);
    case PV_P_MULT: return static_cast<uint8_t>(base + 2);
    default: return 0;
  }
}

// Length of the simple operand (a near local or an integer literal) at p; 0 for anything else.
int simpleOperandLength(const uint8_t* p) {
  if (pv_isPushLocalNear(*p)) return 2;
  switch (*p) {
    case PV_P_ZERO:
    case PV_P_ONE: return 1;
    case PV_P_PUSHBYTE: return 2;
    case PV_P_PUSHINT: return 3;
    case PV_P_PUSHLONG: return 5;
    default: return 0;
  }
}

}  // namespace

bool pv_quickTakesOperand(uint8_t op) {
  return arithmetic(op, PV_Q_LOCALPLUS) || pv_isComparisonOp(op) || op == PV_P_ARRAYPUSH || op == PV_P_ARRAYPOP;
}

uint8_t pv_quickLocalOp(const uint8_t* next) {
  if (uint8_t q = arithmetic(*next, PV_Q_LOCALPLUS)) return q;
  if (pv_isComparisonOp(*next)) return PV_Q_LOCALCOMPARE;
  if (*next == PV_P_ARRAYPUSH || *next == PV_P_ARRAYPOP) return PV_Q_LOCALOPERAND;
  if (*next == PV_P_POPLOCALNEAR) return PV_Q_LOCALCOPY;
  if (*next == PV_P_ADDINT) return PV_Q_LOCALADDINT;
  if (int n = simpleOperandLength(next)) {
    if (uint8_t q = arithmetic(next[n], PV_Q_PAIRPLUS)) return q;
    if (pv_isComparisonOp(next[n])) return PV_Q_PAIRCOMPARE;
  }
  return PV_Q_LOCALPUSH;
}

uint8_t* pv_quickenCopy(const uint8_t* code, uint32_t size) {
  // Bodies are never freed: blocks and texts made from them point into them.
  static auto* copies = new std::vector<std::unique_ptr<uint8_t[]>>();
  auto copy = std::make_unique<uint8_t[]>(size);
  std::memcpy(copy.get(), code, size);
  return copies->emplace_back(std::move(copy)).get();
}

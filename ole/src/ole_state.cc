// The bridge's process-wide state and its message symbols.
#include "ole_state.h"

#include "dynsym.h"

namespace ole {

State& state() {
  static State s;
  return s;
}

com::HRESULT SetStatus(com::HRESULT h) {
  state().status = h;
  return h;
}

void ClearException() { com::ClearExcepInfo(&state().excep); }

namespace {
PvSymbol* messageSymbol(const char* name) { return pv_dynsymGet(name)->symbol; }
}  // namespace

const Symbols& symbols() {
  static const Symbols s{messageSymbol("HOBJ"),      messageSymbol("_HOBJ"),
                         messageSymbol("CCLASSNAME"), messageSymbol("_CCLASSNAME"),
                         messageSymbol("_POLEREFERENCE"),
                         messageSymbol("VALUE"),      messageSymbol("VT"),
                         messageSymbol("POLEENUMERATOR"), messageSymbol("_POLEENUMERATOR")};
  return s;
}

}  // namespace ole

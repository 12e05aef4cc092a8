// The bridge's process-wide state: the status of the most recent Automation call, the
// exception record servers fill, the argument-error index, and the message symbols the natives
// send. One set per process; the bridge runs on one thread.
#pragma once

#include "com/com.h"

struct PvSymbol;

namespace ole {

struct State {
  com::HRESULT status = com::S_OK;   // read by OLEERROR()
  com::EXCEPINFO excep{};            // zeroed before every Invoke
  com::UINT argErr = 0;              // puArgErr of every Invoke
};
State& state();

// Stores `h` as the last status and returns it.
com::HRESULT SetStatus(com::HRESULT h);
// Frees the exception record's texts and zeroes it.
void ClearException();

// Message symbols of the bridge's classes, looked up once.
struct Symbols {
  PvSymbol* hObj;
  PvSymbol* setHObj;
  PvSymbol* className;
  PvSymbol* setClassName;
  PvSymbol* setReference;
  PvSymbol* value;
  PvSymbol* vt;
  PvSymbol* enumerator;
  PvSymbol* setEnumerator;
};
const Symbols& symbols();

}  // namespace ole

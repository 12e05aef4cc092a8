// Start-up and shut-down of OLE for programs that link the bridge: OleInitialize and the
// spreadsheet server's registration when the runtime starts, OleUninitialize (only after a
// successful initialisation) when it ends. PV_OLEINIT prepares the module state.
#include "com/com.h"
#include "ole_objects.h"
#include "ole_state.h"
#include "registrar.h"
#include "spreadsheet/server.h"
#include "start.h"
#include "vm.h"

namespace ole {
namespace {

bool initialised = false;

void PV_FUN_PV_OLEINIT() {
  ClearException();
  SetStatus(com::S_OK);
  symbols();
}

void AtStart(void*) {
  initialised = com::OleInitialize(nullptr) == com::S_OK;
  pv_spreadsheetRegister();
  PV_FUN_PV_OLEINIT();
}

void AtEnd(void*) {
  ClearException();
  ForgetChildNames();
  if (initialised) com::OleUninitialize();
  initialised = false;
}

struct Hooks {
  Hooks() {
    pv_vmAtInit(AtStart, nullptr);
    pv_vmAtExit(AtEnd, nullptr);
  }
};
Hooks s_hooks;

PvSymbol s_symbols[] = {pv_native("PV_OLEINIT", PV_FUN_PV_OLEINIT)};
PvModuleRegistrar s_module("ole/init", s_symbols);

}  // namespace
}  // namespace ole

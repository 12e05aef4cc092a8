// Start-up and shut-down in their fixed order, at-init and at-exit callbacks, the exit code.
#include "start.h"

#include <chrono>

#include "classes.h"
#include "dynsym.h"
#include "errint.h"
#include "errors.h"
#include "gc.h"
#include "memvar.h"
#include "set.h"
#include "vm.h"

namespace {

// Taken when the executable starts (before any library the program loads later).
const auto s_started = std::chrono::steady_clock::now();

enum class State { NotStarted, Running, Quitting };

struct Callback {
  void (*func)(void*);
  void* cargo;
};

struct Runtime {
  State state = State::NotStarted;
  int exitCode = 0;
  std::vector<Callback> atInit, atExit;
  size_t atInitRun = 0;              // at-init callbacks already called
  PvModule* lastStarted = nullptr;   // the last module whose INIT procedures ran
  void (*shutdownHook)() = nullptr;
};

Runtime& runtime() {
  static Runtime r;
  return r;
}

PvSymbol* functionOf(const char* name) {
  PvDynSym* d = pv_dynsymFind(name);
  return (d && d->symbol->value.func) ? d->symbol : nullptr;
}

void callWithParams(PvSymbol* symbol) {
  std::vector<std::string> params = pv_cmdargParams();
  pv_vmPushSymbol(symbol);
  pv_vmPushNil();
  for (const auto& p : params) pv_vmPushString(p.data(), static_cast<PV_SIZE>(p.size()));
  pv_vmDo(static_cast<uint16_t>(params.size()));
}

void callPlain(const char* name) {
  if (PvSymbol* s = functionOf(name)) {
    pv_vmPushSymbol(s);
    pv_vmPushNil();
    pv_vmDo(0);
  }
}

// Runs the procedures of the modules from `first` on whose scopes match `want` exactly on the
// init/exit bits.
void runProcedures(uint32_t want, bool withParams, PvModule* first) {
  for (PvModule* m = first; m; m = m->next) {
    if (!(m->allScopes & want)) continue;
    for (uint16_t i = 0; i < m->count; ++i) {
      PvSymbol* s = &m->symbols[i];
      if ((s->scope & PV_FS_INITEXIT) != want || !s->value.func) continue;
      if (withParams) callWithParams(s);
      else {
        pv_vmPushSymbol(s);
        pv_vmPushNil();
        pv_vmDo(0);
      }
      if (want == PV_FS_EXIT && pv_vmRequestQuery()) return;
    }
  }
}

void runStaticInitialisers() {
  for (PvModule* m = pv_moduleFirst(); m; m = m->next) {
    if (!m->initPending) continue;
    for (uint16_t i = 0; i < m->count; ++i) {
      PvSymbol* s = &m->symbols[i];
      if ((s->scope & PV_FS_INITEXIT) == PV_FS_INITEXIT && s->value.func) {
        pv_vmPushSymbol(s);
        pv_vmPushNil();
        pv_vmDo(0);
      }
    }
    m->initPending = false;
  }
}

// Calls the at-init callbacks not called yet; one may register more (a library it loads).
void runAtInit(Runtime& r) {
  while (r.atInitRun < r.atInit.size()) {
    Callback cb = r.atInit[r.atInitRun++];
    cb.func(cb.cargo);
  }
}

PvModule* lastModule() {
  PvModule* last = pv_moduleFirst();
  while (last && last->next) last = last->next;
  return last;
}

}  // namespace

void pv_vmInit(bool callMain) {
  Runtime& r = runtime();
  pv_vmRequestReset();
  pv_stackInit();
  pv_setInitialize();
  pv_errInit();
  r.state = State::Running;
  r.lastStarted = nullptr;
  runStaticInitialisers();
  callPlain("PVINIT");
  callPlain("HASHENTRY");
  runAtInit(r);
  runProcedures(PV_FS_INIT, true, pv_moduleFirst());
  r.lastStarted = lastModule();
  PvSymbol* main = functionOf("_APPMAIN");
  if (!main) main = pv_vmMainCandidate();
  if (callMain) {
    if (!main) pv_errInternal(9013, nullptr, nullptr, nullptr);
    callWithParams(main);
  }
}

int pv_vmQuit() {
  Runtime& r = runtime();
  if (r.state == State::Quitting) return r.exitCode;
  r.state = State::Quitting;
  pv_vmRequestReset();
  runProcedures(PV_FS_EXIT, false, pv_moduleFirst());
  pv_vmRequestReset();
  for (auto& cb : r.atExit) cb.func(cb.cargo);
  r.atInit.clear();
  r.atExit.clear();
  r.atInitRun = 0;
  if (r.shutdownHook) r.shutdownHook();
  pv_itemClear(pv_stackReturnItem());
  pv_stackFree();
  pv_memvarClearAll();
  pv_errExit();
  pv_gcCollectAll(true);
  pv_clsReleaseAll();
  pv_moduleReleaseAll();
  pv_setRelease();
  pv_gcCollectAll(true);
  return r.exitCode;
}

void pv_vmInitLoaded() {
  Runtime& r = runtime();
  if (r.state == State::NotStarted) return;
  runStaticInitialisers();
  runAtInit(r);
  if (!r.lastStarted) return;  // the start-up's own INIT procedures reach the new modules
  runProcedures(PV_FS_INIT, true, r.lastStarted->next);
  r.lastStarted = lastModule();
}

void pv_vmAtInit(void (*callback)(void*), void* cargo) { runtime().atInit.push_back({callback, cargo}); }
void pv_vmAtExit(void (*callback)(void*), void* cargo) { runtime().atExit.push_back({callback, cargo}); }
void pv_vmDoExitFunctions() { runProcedures(PV_FS_EXIT, false, pv_moduleFirst()); }
void pv_vmSetShutdownHook(void (*callback)()) { runtime().shutdownHook = callback; }
int pv_vmExitCode() { return runtime().exitCode; }
void pv_vmSetExitCode(int code) { runtime().exitCode = code; }

double pv_vmSecondsRunning() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - s_started).count();
}

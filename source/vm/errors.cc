// Error objects: the ERROR class, the constructors of the runtime and the launch protocol.
#include "errors.h"

#include <cstdarg>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "array.h"
#include "classes.h"
#include "dynsym.h"
#include "errint.h"
#include "gc.h"
#include "procinfo.h"
#include "set.h"
#include "start.h"
#include "vm.h"

namespace {

const char* const kGenCodeTexts[] = {
    "Unknown error", "Argument error", "Bound error", "String overflow", "Numeric overflow",
    "Zero divisor", "Numeric error", "Syntax error", "Operation too complex", "", "",
    "Memory low", "Undefined function", "No exported method", "Variable does not exist",
    "Alias does not exist", "No exported variable", "Illegal characters in alias",
    "Alias already in use", "", "Create error", "Open error", "Close error", "Read error",
    "Write error", "Print error", "", "", "", "", "Operation not supported", "Limit exceeded",
    "Corruption detected", "Data type error", "Data width error", "Workarea not in use",
    "Workarea not indexed", "Exclusive required", "Lock required", "Write not allowed",
    "Append lock failed", "Lock Failure", "", "", "", ""};

struct ErrorState {
  PvItem block = {PV_IT_NIL, {}};
  int depth = 0;
  uint32_t dosError = 0;
  PvErrorHandler* handler = nullptr;
  uint16_t errorClass = 0;
  bool creatingClass = false;
};

ErrorState& state() {
  static ErrorState s;
  return s;
}

void markErrorBlock() { pv_gcItemMark(&state().block); }

struct Registrar {
  Registrar() { pv_gcRegisterRoots(markErrorBlock); }
} g_registrar;

PV_ITEM field(PV_ITEM e, int n) {
  PV_ITEM p = e ? pv_arrayGetItemPtr(e, n) : nullptr;
  return p ? p : pv_arrayScratchNil();
}

void putC(PV_ITEM e, int n, const char* v) {
  if (PV_ITEM p = e ? pv_arrayGetItemPtr(e, n) : nullptr) pv_itemPutC(p, v ? v : "");
}

void putN(PV_ITEM e, int n, int64_t v) {
  if (PV_ITEM p = e ? pv_arrayGetItemPtr(e, n) : nullptr) pv_itemPutNInt(p, v);
}

void putL(PV_ITEM e, int n, bool v) {
  if (PV_ITEM p = e ? pv_arrayGetItemPtr(e, n) : nullptr) pv_itemPutL(p, v);
}

void errorMethodNew() { pv_itemReturn(pv_stackSelfItem()); }
PvSymbol g_newSymbol = {"ERROR_NEW", PV_FS_STATIC | PV_FS_LOCAL, {errorMethodNew}, nullptr};

// Builds the ERROR class once: its instance variables, in order, with their initial values.
uint16_t errorClass() {
  ErrorState& s = state();
  if (s.errorClass) return s.errorClass;
  static const char* const kNames[PV_ERRF_COUNT] = {
      "ARGS", "CANDEFAULT", "CANRETRY", "CANSUBSTITUTE", "CARGO", "DESCRIPTION", "FILENAME",
      "GENCODE", "OPERATION", "OSCODE", "SEVERITY", "SUBCODE", "SUBSYSTEM", "TRIES",
      "PROCNAME", "PROCLINE", "MODULENAME", "AASTACK"};
  uint16_t cls = pv_clsCreate("ERROR", PV_ERRF_COUNT, nullptr, 0);
  for (int i = 0; i < PV_ERRF_COUNT; ++i) {
    PvItem init = {PV_IT_NIL, {}};
    int n = i + 1;
    if (n == PV_ERRF_CANDEFAULT || n == PV_ERRF_CANRETRY || n == PV_ERRF_CANSUBSTITUTE)
      pv_itemPutL(&init, false);
    else if (n == PV_ERRF_DESCRIPTION || n == PV_ERRF_FILENAME || n == PV_ERRF_OPERATION ||
             n == PV_ERRF_SUBSYSTEM || n == PV_ERRF_MODULENAME)
      pv_itemPutC(&init, "");
    else if (n == PV_ERRF_GENCODE || n == PV_ERRF_OSCODE || n == PV_ERRF_SUBCODE || n == PV_ERRF_TRIES)
      pv_itemPutNI(&init, 0);
    else if (n == PV_ERRF_SEVERITY)
      pv_itemPutNI(&init, 2);
    else if (n == PV_ERRF_AASTACK)
      pv_arrayNew(&init, 0);
    pv_clsAddMsg(cls, kNames[i], PV_OO_MSG_PROPERTY, nullptr, static_cast<uint32_t>(n), nullptr,
                 &init, PV_OO_CLSTP_EXPORTED);
    pv_itemClear(&init);
  }
  pv_clsAddMsg(cls, "NEW", PV_OO_MSG_METHOD, &g_newSymbol, 0, nullptr, nullptr,
               PV_OO_CLSTP_EXPORTED | PV_OO_CLSTP_CTOR);
  s.errorClass = cls;
  return cls;
}

// The call stack from `level` outward: one {module, procedure, line} per level.
void fillStack(PV_ITEM e, int level) {
  PV_ITEM stack = field(e, PV_ERRF_AASTACK);
  pv_arrayNew(stack, 0);
  for (; pv_procExists(level); ++level) {
    std::string name = pv_procName(level);
    if (name.empty()) break;
    PvItem entry = {PV_IT_NIL, {}};
    pv_arrayNew(&entry, 3);
    pv_arraySetC(&entry, 1, pv_procFile(level).c_str());
    pv_arraySetC(&entry, 2, name.c_str());
    pv_arraySetNI(&entry, 3, pv_procLine(level));
    pv_arrayAddForward(stack, &entry);
  }
}

void fillArgs(PV_ITEM e, int argc, va_list ap) {
  if (argc == 0) return;
  PvItem args = {PV_IT_NIL, {}};
  if (argc > 0) {
    pv_arrayNew(&args, argc);
    for (int i = 1; i <= argc; ++i) pv_arraySet(&args, i, va_arg(ap, PV_ITEM));
  } else {
    int n = pv_pcount();
    int first = argc == -2 ? 0 : 1;
    pv_arrayNew(&args, 0);
    for (int i = first; i <= n; ++i) pv_arrayAdd(&args, pv_stackItemFromBase(i));
  }
  pv_errPutArgsArray(e, &args);
  pv_itemClear(&args);
}

[[noreturn]] void requestPendingFailure(const char* subsystem, uint32_t subcode,
                                        const char* operation, const char* description) {
  char line[512];
  std::snprintf(line, sizeof line, "pv_vmRequestQuery() %i for: %s/%u %s '%s'\n",
                pv_vmRequestQuery(), subsystem, subcode, operation ? operation : "",
                description ? description : "");
  if (FILE* f = std::fopen("error.log", "a")) {
    std::fputs(line, f);
    std::fclose(f);
  }
  pv_errInternal(9000, "pv_vmRequestQuery() is set - Couldn't create error %s '%s'", subsystem,
                 description ? description : "");
}

}  // namespace

const char* pv_errGenCodeText(uint32_t gencode) {
  return gencode < sizeof(kGenCodeTexts) / sizeof(kGenCodeTexts[0]) ? kGenCodeTexts[gencode] : "";
}

// ERRORNEW( [subsystem], [gencode], [subcode], [operation], [description], [args], [module],
//           [procname], [procline] )
void PV_FUN_ERRORNEW() {
  ErrorState& s = state();
  if (s.creatingClass) {
    pv_ret();
    return;
  }
  s.creatingClass = true;
  uint16_t cls = errorClass();
  s.creatingClass = false;
  PV_ITEM e = pv_itemNew(nullptr);
  pv_clsInst(cls, e);
  static const int kParamField[] = {PV_ERRF_SUBSYSTEM, PV_ERRF_GENCODE, PV_ERRF_SUBCODE,
                                    PV_ERRF_OPERATION, PV_ERRF_DESCRIPTION, PV_ERRF_ARGS,
                                    PV_ERRF_MODULENAME, PV_ERRF_PROCNAME, PV_ERRF_PROCLINE};
  putC(e, PV_ERRF_MODULENAME, pv_procFile(1).c_str());
  putC(e, PV_ERRF_PROCNAME, pv_procName(1).c_str());
  putN(e, PV_ERRF_PROCLINE, pv_procLine(1));
  for (int i = 0; i < 9; ++i) {
    PV_ITEM p = pv_param(i + 1, PV_IT_ANY);
    if (p && !PV_IS_NIL(p)) pv_itemCopy(field(e, kParamField[i]), pv_itemUnRef(p));
  }
  fillStack(e, 1);
  pv_itemReturnRelease(e);
}

PV_ITEM pv_errNew() {
  PvDynSym* d = pv_dynsymFind("ERRORNEW");
  PV_ITEM e = pv_itemNew(nullptr);
  if (d && d->symbol->value.func) {
    pv_vmPushSymbol(d->symbol);
    pv_vmPushNil();
    pv_vmDo(0);
    pv_itemMove(e, pv_stackReturnItem());
  }
  if (!PV_IS_OBJECT(e)) pv_errInternal(9000, "Couldn't create Error object in pv_errNew()", nullptr, nullptr);
  putC(e, PV_ERRF_MODULENAME, pv_procFile(0).c_str());
  return e;
}

PV_ITEM pv_errRT_New(uint16_t severity, const char* subsystem, uint32_t gencode, uint32_t subcode,
                     const char* description, const char* operation, uint32_t oscode,
                     uint16_t flags) {
  if (!subsystem) subsystem = "BASE";
  if (pv_vmRequestQuery()) requestPendingFailure(subsystem, subcode, operation, description);
  PV_ITEM e = pv_errNew();
  putN(e, PV_ERRF_SEVERITY, severity);
  putC(e, PV_ERRF_SUBSYSTEM, subsystem);
  putN(e, PV_ERRF_GENCODE, gencode);
  putN(e, PV_ERRF_SUBCODE, subcode);
  putC(e, PV_ERRF_DESCRIPTION, description ? description : pv_errGenCodeText(gencode));
  putC(e, PV_ERRF_OPERATION, operation ? operation : "");
  putN(e, PV_ERRF_OSCODE, oscode);
  pv_errPutFlags(e, flags);
  putC(e, PV_ERRF_PROCNAME, pv_procName(0).c_str());
  putN(e, PV_ERRF_PROCLINE, pv_procLine(0));
  fillStack(e, 0);
  return e;
}

PV_ITEM pv_errRT_New_Subst(uint16_t severity, const char* subsystem, uint32_t gencode,
                           uint32_t subcode, const char* description, const char* operation,
                           uint32_t oscode, uint16_t flags) {
  PV_ITEM e = pv_errRT_New(severity, subsystem, gencode, subcode, description, operation, oscode,
                           flags | PV_ERR_FLAG_SUBSTITUTE);
  bool sender = (!subsystem || std::string(subsystem) == "BASE") &&
                ((gencode == 16 && subcode == 1005) || (gencode == 13 && subcode == 1004));
  if (sender) {
    putC(e, PV_ERRF_PROCNAME, pv_procName(1).c_str());
    putN(e, PV_ERRF_PROCLINE, pv_procLine(1));
  }
  return e;
}

void pv_errRelease(PV_ITEM error) { pv_itemRelease(error); }

// Runs the handler: the native handler if one is installed, else the error block.
static void runHandler(PV_ITEM error, PV_ITEM result) {
  ErrorState& s = state();
  if (!PV_IS_BLOCK(&s.block)) pv_errInternal(9002, nullptr, nullptr, nullptr);
  if (s.depth >= pv_setErrorLoop()) pv_errInternal(9003, nullptr, nullptr, nullptr);
  ++s.depth;
  s.dosError = pv_errGetOsCode(error);
  if (s.handler) {
    s.handler->error = error;
    s.handler->errorBlock = &s.block;
    PV_ITEM r = s.handler->func(s.handler);
    if (r) pv_itemCopy(result, r);
  } else {
    PvItem block = {PV_IT_NIL, {}};
    pv_itemCopy(&block, &s.block);  // the handler may install another block
    pv_itemCopy(result, pv_vmEvalBlockV(&block, 1, error));
    pv_itemClear(&block);
  }
  --s.depth;
}

// Acts on a pending request after a handler ran: a quit ends the process.
static bool requestAfterHandler(PV_ITEM result) {
  uint16_t req = pv_vmRequestQuery();
  if (req & PV_QUIT_REQUESTED) {
    pv_itemClear(result);
    std::exit(pv_vmQuit());
  }
  return req != 0;
}

uint16_t pv_errLaunch(PV_ITEM error) {
  if (pv_vmRequestQuery()) return PV_ERR_BREAK;
  if (!error) return PV_ERR_RETRY;
  if (pv_vmTryActive()) {  // inside TRY the error itself is the break value
    pv_vmRequestBreak(error);
    return PV_ERR_BREAK;
  }
  PvItem result = {PV_IT_NIL, {}};
  runHandler(error, &result);
  if (requestAfterHandler(&result)) return PV_ERR_BREAK;
  uint16_t flags = pv_errGetFlags(error);
  uint16_t verdict = 0;
  bool valid = false;
  if (PV_IS_LOGICAL(&result) && !(flags & PV_ERR_FLAG_SUBSTITUTE)) {
    bool retry = pv_itemGetL(&result);
    valid = retry ? (flags & PV_ERR_FLAG_RETRY) != 0 : (flags & PV_ERR_FLAG_DEFAULT) != 0;
    verdict = retry ? PV_ERR_RETRY : PV_ERR_DEFAULT;
  }
  pv_itemClear(&result);
  if (!valid) pv_errInternal(9001, nullptr, nullptr, nullptr);
  if (verdict == PV_ERR_RETRY) pv_errPutTries(error, static_cast<uint16_t>(pv_errGetTries(error) + 1));
  return verdict;
}

PV_ITEM pv_errLaunchSubst(PV_ITEM error) {
  if (pv_vmRequestQuery()) return nullptr;
  if (!error) return pv_itemNew(nullptr);
  if (pv_vmTryActive()) {
    pv_vmRequestBreak(error);
    return nullptr;
  }
  PV_ITEM result = pv_itemNew(nullptr);
  runHandler(error, result);
  if (requestAfterHandler(result)) {
    pv_itemRelease(result);
    return nullptr;
  }
  if (!(pv_errGetFlags(error) & PV_ERR_FLAG_SUBSTITUTE)) pv_errInternal(9001, nullptr, nullptr, nullptr);
  return result;
}

// A "BASE" error with the arguments of a va_list, launched and released; its verdict, or with
// `subst` the substitute value (a grip item or nullptr).
static uint16_t launchBase(uint32_t gencode, uint32_t subcode, const char* description,
                           const char* operation, uint32_t oscode, uint16_t flags, bool subst,
                           PV_ITEM* substitute, int argc, va_list ap) {
  PV_ITEM e = subst ? pv_errRT_New_Subst(PV_ERR_SEVERITY_ERROR, "BASE", gencode, subcode,
                                         description, operation, oscode, flags)
                    : pv_errRT_New(PV_ERR_SEVERITY_ERROR, "BASE", gencode, subcode, description,
                                   operation, oscode, flags);
  fillArgs(e, argc, ap);
  uint16_t verdict = 0;
  if (subst) *substitute = pv_errLaunchSubst(e);
  else verdict = pv_errLaunch(e);
  pv_errRelease(e);
  return verdict;
}

uint16_t pv_errRT_BASE(uint32_t gencode, uint32_t subcode, const char* description,
                       const char* operation, int argc, ...) {
  va_list ap;
  va_start(ap, argc);
  uint16_t verdict = launchBase(gencode, subcode, description, operation, 0, 0, false, nullptr, argc, ap);
  va_end(ap);
  return verdict;
}

uint16_t pv_errRT_BASE_Ext1(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, uint32_t oscode, uint16_t flags, int argc, ...) {
  va_list ap;
  va_start(ap, argc);
  uint16_t verdict =
      launchBase(gencode, subcode, description, operation, oscode, flags, false, nullptr, argc, ap);
  va_end(ap);
  return verdict;
}

PV_ITEM pv_errRT_BASE_Subst(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, int argc, ...) {
  PV_ITEM result = nullptr;
  va_list ap;
  va_start(ap, argc);
  launchBase(gencode, subcode, description, operation, 0, 0, true, &result, argc, ap);
  va_end(ap);
  return result;
}

PV_ITEM pv_errRT_BASE_SubstArray(uint32_t gencode, uint32_t subcode, const char* description,
                                 const char* operation, PV_ITEM args) {
  PV_ITEM e = pv_errRT_New_Subst(PV_ERR_SEVERITY_ERROR, "BASE", gencode, subcode, description,
                                 operation, 0, 0);
  if (args) pv_errPutArgsArray(e, args);
  PV_ITEM result = pv_errLaunchSubst(e);
  pv_errRelease(e);
  return result;
}

// An error of `subsystem` without arguments, launched and released; its verdict.
static uint16_t launchPlain(const char* subsystem, uint32_t gencode, uint32_t subcode,
                            const char* description, const char* operation, uint32_t oscode,
                            uint16_t flags) {
  PV_ITEM e = pv_errRT_New(PV_ERR_SEVERITY_ERROR, subsystem, gencode, subcode, description,
                           operation, oscode, flags);
  uint16_t verdict = pv_errLaunch(e);
  pv_errRelease(e);
  return verdict;
}

uint16_t pv_errRT_TERM(uint32_t gencode, uint32_t subcode, const char* description,
                       const char* operation, uint32_t oscode, uint16_t flags) {
  return launchPlain("TERM", gencode, subcode, description, operation, oscode, flags);
}

uint16_t pv_errRT_DBCMD_Ext(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, uint16_t flags) {
  return launchPlain("DBCMD", gencode, subcode, description, operation, 0, flags);
}

uint16_t pv_errRT_DBCMD(uint32_t gencode, uint32_t subcode, const char* description,
                        const char* operation) {
  return pv_errRT_DBCMD_Ext(gencode, subcode, description, operation,
                            gencode == PV_EG_NOTABLE ? PV_ERR_FLAG_DEFAULT : 0);
}

uint16_t pv_errLaunchNoVar(const char* name, PV_ITEM* error) {
  if (!*error)
    *error = pv_errRT_New(PV_ERR_SEVERITY_ERROR, "BASE", PV_EG_NOVAR, 1003, nullptr, name, 0,
                          PV_ERR_FLAG_RETRY);
  return pv_errLaunch(*error);
}

void pv_errBaseArrayAccess() { pv_errRT_BASE(PV_EG_BOUND, 1132, "array access", nullptr, 0); }

uint32_t pv_errGetGenCode(PV_ITEM e) { return static_cast<uint32_t>(pv_itemGetNI(field(e, PV_ERRF_GENCODE))); }
uint32_t pv_errGetSubCode(PV_ITEM e) { return static_cast<uint32_t>(pv_itemGetNI(field(e, PV_ERRF_SUBCODE))); }
uint32_t pv_errGetOsCode(PV_ITEM e) { return static_cast<uint32_t>(pv_itemGetNI(field(e, PV_ERRF_OSCODE))); }
uint16_t pv_errGetSeverity(PV_ITEM e) { return static_cast<uint16_t>(pv_itemGetNI(field(e, PV_ERRF_SEVERITY))); }
uint16_t pv_errGetTries(PV_ITEM e) { return static_cast<uint16_t>(pv_itemGetNI(field(e, PV_ERRF_TRIES))); }
const char* pv_errGetSubSystem(PV_ITEM e) { return pv_itemGetCPtr(field(e, PV_ERRF_SUBSYSTEM)); }
const char* pv_errGetDescription(PV_ITEM e) { return pv_itemGetCPtr(field(e, PV_ERRF_DESCRIPTION)); }
const char* pv_errGetOperation(PV_ITEM e) { return pv_itemGetCPtr(field(e, PV_ERRF_OPERATION)); }
const char* pv_errGetFileName(PV_ITEM e) { return pv_itemGetCPtr(field(e, PV_ERRF_FILENAME)); }
PV_ITEM pv_errGetArgs(PV_ITEM e) { return field(e, PV_ERRF_ARGS); }
PV_ITEM pv_errGetCargo(PV_ITEM e) { return field(e, PV_ERRF_CARGO); }

uint16_t pv_errGetFlags(PV_ITEM e) {
  uint16_t f = 0;
  if (pv_itemGetL(field(e, PV_ERRF_CANRETRY))) f |= PV_ERR_FLAG_RETRY;
  if (pv_itemGetL(field(e, PV_ERRF_CANSUBSTITUTE))) f |= PV_ERR_FLAG_SUBSTITUTE;
  if (pv_itemGetL(field(e, PV_ERRF_CANDEFAULT))) f |= PV_ERR_FLAG_DEFAULT;
  return f;
}

void pv_errPutFlags(PV_ITEM e, uint16_t flags) {
  putL(e, PV_ERRF_CANRETRY, flags & PV_ERR_FLAG_RETRY);
  putL(e, PV_ERRF_CANSUBSTITUTE, flags & PV_ERR_FLAG_SUBSTITUTE);
  putL(e, PV_ERRF_CANDEFAULT, flags & PV_ERR_FLAG_DEFAULT);
}

void pv_errPutGenCode(PV_ITEM e, uint32_t v) { putN(e, PV_ERRF_GENCODE, v); }
void pv_errPutSubCode(PV_ITEM e, uint32_t v) { putN(e, PV_ERRF_SUBCODE, v); }
void pv_errPutOsCode(PV_ITEM e, uint32_t v) { putN(e, PV_ERRF_OSCODE, v); }
void pv_errPutSeverity(PV_ITEM e, uint16_t v) { putN(e, PV_ERRF_SEVERITY, v); }
void pv_errPutTries(PV_ITEM e, uint16_t v) { putN(e, PV_ERRF_TRIES, v); }
void pv_errPutSubSystem(PV_ITEM e, const char* v) { putC(e, PV_ERRF_SUBSYSTEM, v); }
void pv_errPutDescription(PV_ITEM e, const char* v) { putC(e, PV_ERRF_DESCRIPTION, v); }
void pv_errPutOperation(PV_ITEM e, const char* v) { putC(e, PV_ERRF_OPERATION, v); }
void pv_errPutFileName(PV_ITEM e, const char* v) { putC(e, PV_ERRF_FILENAME, v); }

void pv_errPutArgsArray(PV_ITEM e, PV_ITEM args) {
  if (PV_ITEM p = e ? pv_arrayGetItemPtr(e, PV_ERRF_ARGS) : nullptr) pv_itemCopy(p, args);
}

void pv_errPutArgs(PV_ITEM e, int argc, ...) {
  va_list ap;
  va_start(ap, argc);
  fillArgs(e, argc, ap);
  va_end(ap);
}

void pv_errPutCargo(PV_ITEM e, PV_ITEM v) {
  if (PV_ITEM p = e ? pv_arrayGetItemPtr(e, PV_ERRF_CARGO) : nullptr) pv_itemCopy(p, v);
}

PV_ITEM pv_errorBlock() { return &state().block; }

void pv_errInit() {
  ErrorState& s = state();
  pv_itemClear(&s.block);
  s.depth = 0;
  if (!pv_dynsymFind("ERRORNEW"))
    pv_errInternal(9000, "Couldn't locate ErrorNew() symbol in pv_errInit()", nullptr, nullptr);
}

void pv_errExit() {
  pv_itemClear(&state().block);
  state().handler = nullptr;
}

uint32_t pv_errDosError() { return state().dosError; }
void pv_errSetDosError(uint32_t code) { state().dosError = code; }

PvErrorHandler* pv_errorHandler(PvErrorHandler* handler) {
  PvErrorHandler* old = state().handler;
  if (handler) handler->previous = old;
  state().handler = handler;
  return old;
}

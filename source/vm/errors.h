// Error objects and error launching: constructors used by the runtime, the table and index
// engines and the Automation bridge, the launch protocol and its verdicts.
#pragma once

#include <cstdint>
#include <string>

#include "item.h"

enum : uint16_t {
  PV_ERR_DEFAULT = 0,
  PV_ERR_RETRY = 1,
  PV_ERR_BREAK = 0xFFFF,
};

enum : uint16_t {
  PV_ERR_FLAG_RETRY = 1,
  PV_ERR_FLAG_SUBSTITUTE = 2,
  PV_ERR_FLAG_DEFAULT = 4,
};

enum : uint16_t {
  PV_ERR_SEVERITY_WARNING = 1,
  PV_ERR_SEVERITY_ERROR = 2,
};

// Generic codes used by name in the runtime.
enum : uint32_t {
  PV_EG_ARG = 1, PV_EG_BOUND = 2, PV_EG_STROVERFLOW = 3, PV_EG_NUMOVERFLOW = 4,
  PV_EG_ZERODIV = 5, PV_EG_NUMERR = 6, PV_EG_SYNTAX = 7, PV_EG_COMPLEXITY = 8,
  PV_EG_MEM = 11, PV_EG_NOFUNC = 12, PV_EG_NOMETHOD = 13, PV_EG_NOVAR = 14, PV_EG_NOALIAS = 15,
  PV_EG_NOVARMETHOD = 16, PV_EG_BADALIAS = 17, PV_EG_DUPALIAS = 18, PV_EG_CREATE = 20,
  PV_EG_OPEN = 21, PV_EG_CLOSE = 22, PV_EG_READ = 23, PV_EG_WRITE = 24, PV_EG_PRINT = 25,
  PV_EG_UNSUPPORTED = 30, PV_EG_LIMIT = 31, PV_EG_CORRUPTION = 32, PV_EG_DATATYPE = 33,
  PV_EG_DATAWIDTH = 34, PV_EG_NOTABLE = 35, PV_EG_NOORDER = 36, PV_EG_SHARED = 37,
  PV_EG_UNLOCKED = 38, PV_EG_READONLY = 39, PV_EG_APPENDLOCK = 40, PV_EG_LOCK = 41,
};

const char* pv_errGenCodeText(uint32_t gencode);  // "" for codes without a text

// Error objects (grip items; release with pv_errRelease).
PV_ITEM pv_errNew();
PV_ITEM pv_errRT_New(uint16_t severity, const char* subsystem, uint32_t gencode, uint32_t subcode,
                     const char* description, const char* operation, uint32_t oscode,
                     uint16_t flags);
PV_ITEM pv_errRT_New_Subst(uint16_t severity, const char* subsystem, uint32_t gencode,
                           uint32_t subcode, const char* description, const char* operation,
                           uint32_t oscode, uint16_t flags);
void pv_errRelease(PV_ITEM error);

uint16_t pv_errLaunch(PV_ITEM error);
PV_ITEM pv_errLaunchSubst(PV_ITEM error);   // a grip item with the substitute, or nullptr

// argc arguments (PV_ITEM) follow; -1 takes the running function's parameters, -2 the object
// and parameters of the running method.
uint16_t pv_errRT_BASE(uint32_t gencode, uint32_t subcode, const char* description,
                       const char* operation, int argc, ...);
uint16_t pv_errRT_BASE_Ext1(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, uint32_t oscode, uint16_t flags, int argc, ...);
PV_ITEM pv_errRT_BASE_Subst(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, int argc, ...);
PV_ITEM pv_errRT_BASE_SubstArray(uint32_t gencode, uint32_t subcode, const char* description,
                                 const char* operation, PV_ITEM args);
uint16_t pv_errRT_TERM(uint32_t gencode, uint32_t subcode, const char* description,
                       const char* operation, uint32_t oscode, uint16_t flags);
uint16_t pv_errRT_DBCMD(uint32_t gencode, uint32_t subcode, const char* description,
                        const char* operation);
uint16_t pv_errRT_DBCMD_Ext(uint32_t gencode, uint32_t subcode, const char* description,
                            const char* operation, uint16_t flags);
// Launches "BASE" 14/1003 "Variable does not exist" for `name` with CanRetry. The error object
// is made on the first call and kept in *error, so that retries count in its Tries; the caller
// releases it with pv_errRelease when done.
uint16_t pv_errLaunchNoVar(const char* name, PV_ITEM* error);
// BASE 1132 "Bound error" with the description "array access" (no arguments).
void pv_errBaseArrayAccess();

// The text ERRORMESSAGE gives: "Error BASE/1081  Argument error: +".
std::string pv_errMessageText(PV_ITEM error);

// Field access.
uint32_t pv_errGetGenCode(PV_ITEM e);
uint32_t pv_errGetSubCode(PV_ITEM e);
uint32_t pv_errGetOsCode(PV_ITEM e);
uint16_t pv_errGetSeverity(PV_ITEM e);
uint16_t pv_errGetFlags(PV_ITEM e);
uint16_t pv_errGetTries(PV_ITEM e);
const char* pv_errGetSubSystem(PV_ITEM e);
const char* pv_errGetDescription(PV_ITEM e);
const char* pv_errGetOperation(PV_ITEM e);
const char* pv_errGetFileName(PV_ITEM e);
PV_ITEM pv_errGetArgs(PV_ITEM e);
PV_ITEM pv_errGetCargo(PV_ITEM e);
void pv_errPutGenCode(PV_ITEM e, uint32_t v);
void pv_errPutSubCode(PV_ITEM e, uint32_t v);
void pv_errPutOsCode(PV_ITEM e, uint32_t v);
void pv_errPutSeverity(PV_ITEM e, uint16_t v);
void pv_errPutFlags(PV_ITEM e, uint16_t flags);
void pv_errPutTries(PV_ITEM e, uint16_t v);
void pv_errPutSubSystem(PV_ITEM e, const char* v);
void pv_errPutDescription(PV_ITEM e, const char* v);
void pv_errPutOperation(PV_ITEM e, const char* v);
void pv_errPutFileName(PV_ITEM e, const char* v);
void pv_errPutArgsArray(PV_ITEM e, PV_ITEM args);
void pv_errPutArgs(PV_ITEM e, int argc, ...);
void pv_errPutCargo(PV_ITEM e, PV_ITEM v);

// The error block and the handler state.
PV_ITEM pv_errorBlock();                    // the current error block item
void pv_errInit();
void pv_errExit();
uint32_t pv_errDosError();
void pv_errSetDosError(uint32_t code);

// A native handler chain (not used by the system's own modules).
struct PvErrorHandler;
using PvErrorHandlerFunc = PV_ITEM (*)(PvErrorHandler* handler);
struct PvErrorHandler {
  PvErrorHandlerFunc func;
  PV_ITEM error;
  PV_ITEM errorBlock;
  PvErrorHandler* previous;
  void* cargo;
};
PvErrorHandler* pv_errorHandler(PvErrorHandler* handler);

// Instance-variable positions of the ERROR class (1-based, in declaration order).
enum PvErrorField : int {
  PV_ERRF_ARGS = 1, PV_ERRF_CANDEFAULT, PV_ERRF_CANRETRY, PV_ERRF_CANSUBSTITUTE, PV_ERRF_CARGO,
  PV_ERRF_DESCRIPTION, PV_ERRF_FILENAME, PV_ERRF_GENCODE, PV_ERRF_OPERATION, PV_ERRF_OSCODE,
  PV_ERRF_SEVERITY, PV_ERRF_SUBCODE, PV_ERRF_SUBSYSTEM, PV_ERRF_TRIES, PV_ERRF_PROCNAME,
  PV_ERRF_PROCLINE, PV_ERRF_MODULENAME, PV_ERRF_AASTACK, PV_ERRF_COUNT = PV_ERRF_AASTACK,
};

// Status texts, exception texts, the Automation error, and the language functions over them:
// OLEERROR, OLE2TXTERROR, OLEEXCEPTIONSOURCE, OLEEXCEPTIONDESCRIPTION and the creation error
// of TOleAuto's constructors.
#include "ole_errors.h"

#include "array.h"
#include "errors.h"
#include "ole/ole.h"
#include "ole_state.h"
#include "ole_trace.h"
#include "registrar.h"
#include "vm.h"

namespace ole {

using namespace com;

const char* StatusText(HRESULT h) {
  struct Entry {
    std::uint32_t code;
    const char* text;
  };
  static const Entry kTexts[] = {
      {0x00000000, "S_OK"},
      {0x80004001, "E_NOTIMPL"},
      {0x80004005, "E_FAIL"},
      {0x8000FFFF, "E_UNEXPECTED"},
      {0x80020001, "DISP_E_UNKNOWNINTERFACE"},
      {0x80020003, "DISP_E_MEMBERNOTFOUND"},
      {0x80020004, "DISP_E_PARAMNOTFOUND"},
      {0x80020005, "DISP_E_TYPEMISMATCH"},
      {0x80020006, "DISP_E_UNKNOWNNAME"},
      {0x80020007, "DISP_E_NONAMEDARGS"},
      {0x80020008, "DISP_E_BADVARTYPE"},
      {0x80020009, "DISP_E_EXCEPTION"},
      {0x8002000A, "DISP_E_OVERFLOW"},
      {0x8002000C, "DISP_E_UNKNOWNLCID"},
      {0x8002000E, "DISP_E_BADPARAMCOUNT"},
      {0x8002000F, "DISP_E_PARAMNOTOPTIONAL"},
      {0x8004000E, "OLE_E_WRONGCOMPOBJ"},
      {0x80040151, "REGDB_E_WRITEREGDB"},
      {0x80040154, "REGDB_E_CLASSNOTREG"},
      {0x800401E3, "MK_E_UNAVAILABLE"},
      {0x800401F3, "CO_E_CLASSSTRING"},
      {0x8007000E, "E_OUTOFMEMORY"},
      {0x80070057, "E_INVALIDARG"},
      {0x80080005, "CO_E_SERVER_EXEC_FAILURE"},
  };
  for (const Entry& e : kTexts)
    if (e.code == static_cast<std::uint32_t>(h)) return e.text;
  TraceLog("TOleAuto Error %p\n", reinterpret_cast<void*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(h))));
  return "Unknown error";
}

namespace {

std::string AnsiOf(BSTR s) {
  if (!s) return "";
  std::size_t n = 0;
  char* text = pv_oleWideToAnsi(s, SysStringLen(s), &n);
  std::string out(text, n);
  pv_xfree(text);
  return out;
}

// The frame's parameters first.. as an array.
void FrameArgs(PV_ITEM dest, int first) {
  int n = pv_pcount() - first + 1;
  pv_arrayNew(dest, n > 0 ? n : 0);
  for (int i = 0; i < n; ++i) pv_arraySet(dest, i + 1, pv_itemUnRef(pv_stackItemFromBase(first + i)));
}

// Launches `e` (released here) for substitution; the handler's value into `result`.
void LaunchForSubstitute(PV_ITEM e, PV_ITEM result) {
  PV_ITEM substitute = pv_errLaunchSubst(e);
  pv_errRelease(e);
  if (substitute) {
    pv_itemCopy(result, substitute);
    pv_itemRelease(substitute);
  } else {
    pv_itemClear(result);
  }
}

void PutSubCode(PV_ITEM e, std::int64_t code) {
  if (PV_ITEM p = pv_arrayGetItemPtr(e, PV_ERRF_SUBCODE)) pv_itemPutNInt(p, code);
}

}  // namespace

std::string ExceptionSource() { return AnsiOf(state().excep.bstrSource); }
std::string ExceptionDescription() { return AnsiOf(state().excep.bstrDescription); }

std::string LastStatusDescription() {
  if (state().status == DISP_E_EXCEPTION) return ExceptionDescription();
  return StatusText(state().status);
}

void RaiseAutomationError(PV_ITEM result, const std::string& subsystem, const char* operation, int firstArg,
                          const char* fixed) {
  std::string description = fixed ? fixed : LastStatusDescription();
  PV_ITEM e = pv_errRT_New_Subst(PV_ERR_SEVERITY_ERROR, subsystem.c_str(), 1001, 0, description.c_str(),
                                 operation, 0, 0);
  PutSubCode(e, state().status);
  PvItem args{PV_IT_NIL, {}};
  FrameArgs(&args, firstArg);
  pv_errPutArgsArray(e, &args);
  pv_itemClear(&args);
  LaunchForSubstitute(e, result);
}

namespace {

void PV_FUN_OLEERROR() { pv_retnint(state().status); }
void PV_FUN_OLE2TXTERROR() { pv_retc(StatusText(state().status)); }

void PV_FUN_OLEEXCEPTIONSOURCE() {
  if (state().status != DISP_E_EXCEPTION) return pv_ret();
  std::string s = ExceptionSource();
  pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
}

void PV_FUN_OLEEXCEPTIONDESCRIPTION() {
  if (state().status != DISP_E_EXCEPTION) return pv_ret();
  std::string s = ExceptionDescription();
  pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
}

// __OLECREATIONERROR( aArgs, cOperation [, cDescription ] ): the error of a failed TOleAuto
// construction (1001, subcode -1; with cDescription generic code 0), launched for
// substitution; returns the handler's value.
void PV_FUN___OLECREATIONERROR() {
  const char* fixed = pv_parc(3);
  bool exception = !fixed && state().status == DISP_E_EXCEPTION;
  std::string description = fixed ? fixed : LastStatusDescription();
  std::string subsystem = exception ? ExceptionSource() : "TOleAuto";
  const char* operation = pv_parc(2);
  PV_ITEM e = pv_errRT_New_Subst(PV_ERR_SEVERITY_ERROR, subsystem.c_str(), fixed ? 0 : 1001, 0,
                                 description.c_str(), operation ? operation : "", 0, 0);
  PutSubCode(e, -1);
  if (PV_ITEM args = pv_param(1, PV_IT_ARRAY)) pv_errPutArgsArray(e, args);
  PvItem result{PV_IT_NIL, {}};
  LaunchForSubstitute(e, &result);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

// __OLELAUNCH( oError ): launches an error object for substitution (to CATCH inside TRY, else
// to the error block) and returns the handler's value.
void PV_FUN___OLELAUNCH() {
  PV_ITEM e = pv_param(1, PV_IT_OBJECT);
  if (!e) return pv_ret();
  PvItem result{PV_IT_NIL, {}};
  LaunchForSubstitute(pv_itemNew(e), &result);
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

PvSymbol s_symbols[] = {
    pv_native("__OLELAUNCH", PV_FUN___OLELAUNCH),
    pv_native("OLEERROR", PV_FUN_OLEERROR),
    pv_native("OLE2TXTERROR", PV_FUN_OLE2TXTERROR),
    pv_native("OLEEXCEPTIONSOURCE", PV_FUN_OLEEXCEPTIONSOURCE),
    pv_native("OLEEXCEPTIONDESCRIPTION", PV_FUN_OLEEXCEPTIONDESCRIPTION),
    pv_native("__OLECREATIONERROR", PV_FUN___OLECREATIONERROR),
};
PvModuleRegistrar s_module("ole/errors", s_symbols);

}  // namespace
}  // namespace ole

// The default error system and start-up procedure of programs that bring none of their own:
// ERRORSYS installs an error block that answers 0 for a zero divisor, the default with NETERR()
// set for a refused shared open or append lock, and otherwise writes the error message and the
// call stack to stderr and ends the program with exit code 1.
//
// These functions are registered as plain references that carry a function, so a module that
// defines its own ERRORSYS or PVINIT takes the name over.
#include <cstdio>
#include <string>

#include "array.h"
#include "codeblock.h"
#include "dynsym.h"
#include "errors.h"
#include "memvar.h"
#include "pcode.h"
#include "start.h"
#include "vm.h"

namespace {

using namespace pv;

std::string trimmedNumber(PV_ITEM n) {
  PV_SIZE len;
  bool freeReq;
  char* text = pv_itemPadConv(n, &len, &freeReq);
  std::string out(text, static_cast<size_t>(len));
  if (freeReq) pv_xfree(text);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void callIfDefined(const char* name, PV_ITEM arg) {
  PvDynSym* d = pv_dynsymFind(name);
  if (!d || !d->symbol->value.func) return;
  pv_vmPushSymbol(d->symbol);
  pv_vmPushNil();
  if (arg) pv_vmPush(arg);
  pv_vmDo(arg ? 1 : 0);
}

}  // namespace

std::string pv_errMessageText(PV_ITEM e) {
  std::string text;
  PV_ITEM os = pv_arrayGetItemPtr(e, PV_ERRF_OSCODE);
  if (!os || pv_itemGetNI(os) == 0)
    text = pv_errGetSeverity(e) > 1 ? "Error " : "Warning ";
  else
    text = "(DOS Error " + trimmedNumber(os) + ") ";
  PV_ITEM sub = pv_arrayGetItemPtr(e, PV_ERRF_SUBSYSTEM);
  text += (sub && PV_IS_STRING(sub)) ? pv_itemGetCPtr(sub) : "???";
  PV_ITEM code = pv_arrayGetItemPtr(e, PV_ERRF_SUBCODE);
  text += '/';
  text += (code && PV_IS_NUMERIC(code)) ? trimmedNumber(code) : std::string("???");
  PV_ITEM desc = pv_arrayGetItemPtr(e, PV_ERRF_DESCRIPTION);
  if (desc && PV_IS_STRING(desc)) text += std::string("  ") + pv_itemGetCPtr(desc);
  std::string file = pv_errGetFileName(e), op = pv_errGetOperation(e);
  if (!file.empty()) text += ": " + file;
  else if (!op.empty()) text += ": " + op;
  return text;
}

namespace {

void PV_FUN___PV_DEFERROR() {
  PV_ITEM e = pv_param(1, PV_IT_OBJECT);
  if (!e) {
    pv_retl(false);
    return;
  }
  uint32_t gen = pv_errGetGenCode(e);
  uint16_t flags = pv_errGetFlags(e);
  if (gen == PV_EG_ZERODIV) {
    pv_retni(0);
    return;
  }
  if ((flags & PV_ERR_FLAG_DEFAULT) &&
      ((gen == PV_EG_OPEN && pv_errGetOsCode(e) == 32) || gen == PV_EG_APPENDLOCK)) {
    PvItem yes = {PV_IT_NIL, {}};
    pv_itemPutL(&yes, true);
    callIfDefined("NETERR", &yes);
    pv_retl(false);
    return;
  }
  std::string out = pv_errMessageText(e) + "\n";
  PV_ITEM stack = pv_arrayGetItemPtr(e, PV_ERRF_AASTACK);
  for (PV_SIZE i = 1; i <= pv_arrayLen(stack); ++i) {
    PV_ITEM level = pv_arrayGetItemPtr(stack, i);
    out += std::string("Called from ") + pv_arrayGetCPtr(level, 2) + "(" +
           std::to_string(pv_arrayGetNI(level, 3)) + ")";
    if (pv_arrayGetCLen(level, 1)) out += std::string("  ") + pv_arrayGetCPtr(level, 1);
    out += "\n";
  }
  std::fputs(out.c_str(), stderr);
  std::fflush(stderr);
  pv_vmSetExitCode(1);
  pv_vmRequestQuit();
}

PvSymbol s_defError[] = {
    {"__PV_DEFERROR", PV_FS_PUBLIC | PV_FS_LOCAL, {PV_FUN___PV_DEFERROR}, nullptr}};

// { |e| __PV_DEFERROR( e ) }
const uint8_t kErrorBlock[] = {PV_P_PUSHSYMNEAR, 0, PV_P_PUSHNIL, PV_P_PUSHLOCALNEAR, 1,
                               PV_P_FUNCTIONSHORT, 1, PV_P_ENDBLOCK};

void PV_FUN_ERRORSYS() {
  pv_codeblockNew(pv_errorBlock(), kErrorBlock, sizeof kErrorBlock, s_defError, 1, nullptr, 0, false);
}

void PV_FUN_PVINIT() {
  PvItem name = {PV_IT_NIL, {}};
  pv_itemPutC(&name, "GETLIST");
  pv_memvarCreatePublic(pv_dynsymGet("GETLIST"));
  pv_itemClear(&name);
  callIfDefined("ERRORSYS", nullptr);
}

void PV_FUN___QUIT() { pv_vmRequestQuit(); }

void PV_FUN_ERRORMESSAGE() {
  PV_ITEM e = pv_param(1, PV_IT_OBJECT);
  pv_retc(e ? pv_errMessageText(e).c_str() : "");
}

PvSymbol s_symbols[] = {
    {"ERRORSYS", PV_FS_PUBLIC, {PV_FUN_ERRORSYS}, nullptr},
    {"PVINIT", PV_FS_PUBLIC, {PV_FUN_PVINIT}, nullptr},
    {"ERRORMESSAGE", PV_FS_PUBLIC, {PV_FUN_ERRORMESSAGE}, nullptr},
    {"__QUIT", PV_FS_PUBLIC | PV_FS_LOCAL, {PV_FUN___QUIT}, nullptr},
};

struct Registrar {
  Registrar() {
    pv_vmProcessSymbols(s_defError, 1, "vm/errorsys", kPcodeVersion, 0);
    pv_vmProcessSymbols(s_symbols, 4, "vm/errorsys", kPcodeVersion, 0);
  }
} g_registrar;

}  // namespace

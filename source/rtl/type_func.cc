// TYPE: the type letter of the value an expression text would have, found by compiling and
// evaluating it with errors caught.
//
// Answers: the type letter of the value ("M" for memo text); "UE" when the text does not
// compile or its evaluation raises an error; "U" when it names a variable or alias that does
// not exist; "UI" when it calls a function that is not part of the runtime library (such a
// call might do anything, so the text is not evaluated).
#include <cctype>
#include <string>

#include "dynsym.h"
#include "errors.h"
#include "hooks.h"
#include "macro_eval.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// Whether the symbol names a function of the runtime library (native code, not a procedure
// of a program).
bool isLibraryFunction(const std::string& name) {
  if (name == "IIF" || name == "IF") return true;  // compiled in place
  PvDynSym* d = pv_dynsymFind(name.c_str());
  return d && d->symbol && d->symbol->value.func && !(d->symbol->scope & PV_FS_PCODEFUNC);
}

// Whether the text calls a function (a name followed by "(", not a message after ':') that is
// not a library function. String literals are skipped.
bool callsOtherFunctions(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c == '"' || c == '\'') {
      size_t close = text.find(c, i + 1);
      i = close == std::string::npos ? text.size() : close + 1;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(c)) && c != '_') {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
    size_t next = text.find_first_not_of(" \t", i);
    size_t before = start > 0 ? text.find_last_not_of(" \t", start - 1) : std::string::npos;
    bool message = before != std::string::npos && text[before] == ':';
    if (next != std::string::npos && text[next] == '(' && !message &&
        !isLibraryFunction(pv_rtlUpperTrim(text.substr(start, i - start))))
      return true;
  }
  return false;
}

struct Probe {
  uint32_t gencode = 0;
  bool raised = false;
};

// Notes the first error and abandons the evaluation.
PV_ITEM abandon(PvErrorHandler* h) {
  auto* probe = static_cast<Probe*>(h->cargo);
  if (!probe->raised) probe->gencode = pv_errGetGenCode(h->error);
  probe->raised = true;
  pv_vmRequestBreak(nullptr);
  return nullptr;
}

// The answer for an expression that compiles and calls library functions only.
std::string evaluatedType(const std::string& text) {
  Probe probe;
  PvErrorHandler handler{abandon, nullptr, nullptr, nullptr, &probe};
  PvErrorHandler* previous = pv_errorHandler(&handler);
  PvItem value = {PV_IT_NIL, {}};
  bool compiled = pv_rtlEvalText(text, &value);
  pv_errorHandler(previous);
  bool broken = (pv_vmRequestQuery() & PV_BREAK_REQUESTED) != 0;
  if (probe.raised || broken) pv_vmRequestCancel();
  std::string type = PV_IS_MEMO(&value) ? "M" : pv_itemTypeStr(&value);
  pv_itemClear(&value);
  if (!compiled) return "UE";
  if (probe.raised) return probe.gencode == PV_EG_NOVAR || probe.gencode == PV_EG_NOALIAS ? "U" : "UE";
  return broken ? "UE" : type;
}

// TYPE( cExpression )
void PV_FUN_TYPE() {
  const char* text = pv_parc(1);
  if (!text) return pv_rtlArgError(PV_SUB_TYPE, "TYPE");
  std::string expr(text, pv_parclen(1));
  if (expr.find('\0') != std::string::npos || expr.find_first_not_of(" \t") == std::string::npos)
    return pv_retc("UE");
  if (!pv_vmMacroHooks()) return pv_retc("UE");
  pv_retc(callsOtherFunctions(expr) ? "UI" : evaluatedType(expr).c_str());
}

PvSymbol s_symbols[] = {
    pv_native("TYPE", PV_FUN_TYPE),
};
PvModuleRegistrar s_module("rtl/type_func", s_symbols);

}  // namespace

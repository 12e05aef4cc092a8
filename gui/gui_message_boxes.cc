// The message boxes MSGINFO, MSGALERT, MSGSTOP and MSGYESNO. Any value is shown: what is not
// text is converted (NIL "nil", numbers, dates by DTOC, logicals ".T."/".F.", "Array",
// "Object"). The caption is taken from the second argument only when exactly two are given.
#include <cstdio>
#include <string>

#include "gui_natives.h"
#include "vm/dynsym.h"
#include "vm/registrar.h"
#include "vm/vm.h"

namespace {

std::string dateText(PV_ITEM date) {
  static PvSymbol* dtoc = pv_dynsymGet("DTOC")->symbol;
  pv_vmPushSymbol(dtoc);
  pv_vmPushNil();
  pv_vmPush(date);
  pv_vmDo(1);
  PV_ITEM r = pv_stackReturnItem();
  return PV_IS_STRING(r) ? std::string(pv_itemGetCPtr(r), static_cast<size_t>(pv_itemGetCLen(r))) : "";
}

std::string printed(const char* format, double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string shown(PV_ITEM v) {
  if (!v || PV_IS_NIL(v)) return "nil";
  if (PV_IS_STRING(v)) return std::string(pv_itemGetCPtr(v), static_cast<size_t>(pv_itemGetCLen(v)));
  if (PV_IS_INTEGER(v)) return std::to_string(pv_itemGetNI(v));
  if (PV_IS_LONG(v)) {
    std::string s = printed("%f", static_cast<double>(pv_itemGetNLL(v)));
    return s.substr(0, s.find('.'));
  }
  if (PV_IS_DOUBLE(v)) return printed("%f", pv_itemGetND(v));
  if (PV_IS_DATE(v)) return dateText(v);
  if (PV_IS_LOGICAL(v)) return pv_itemGetL(v) ? ".T." : ".F.";
  if (PV_IS_OBJECT(v)) return "Object";
  if (PV_IS_ARRAY(v)) return "Array";
  return "ValtoChar not suported type yet";
}

int showBox(const char* defaultCaption, UINT flags) {
  std::string text = pv_pcount() >= 1 ? shown(pv_param(1, PV_IT_ANY)) : "";
  std::string caption = pv_pcount() == 2 ? shown(pv_param(2, PV_IT_ANY)) : defaultCaption;
  return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

void PV_FUN_MSGINFO() {
  showBox("Information", MB_ICONINFORMATION);
  pv_ret();
}

void PV_FUN_MSGALERT() {
  showBox("Alert", MB_ICONEXCLAMATION);
  pv_ret();
}

void PV_FUN_MSGSTOP() {
  showBox("Stop", MB_ICONSTOP);
  pv_ret();
}

void PV_FUN_MSGYESNO() { pv_retl(showBox("Select an option", MB_YESNO | MB_ICONQUESTION) == IDYES); }

PvSymbol s_symbols[] = {
    pv_native("MSGINFO", PV_FUN_MSGINFO),
    pv_native("MSGALERT", PV_FUN_MSGALERT),
    pv_native("MSGSTOP", PV_FUN_MSGSTOP),
    pv_native("MSGYESNO", PV_FUN_MSGYESNO),
};
PvModuleRegistrar s_module("gui/message_boxes", s_symbols);

}  // namespace

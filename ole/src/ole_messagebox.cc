// MESSAGEBOX and OLESHOWEXCEPTION over the Win32 layer's MessageBoxA.
#include <string>

#include "ole_errors.h"
#include "ole_state.h"
#include "registrar.h"
#include "vm.h"
#include "win32/user.h"

namespace ole {
namespace {

std::string TextParam(int n) {
  const char* s = pv_parc(n);
  return s ? std::string(s, static_cast<std::size_t>(pv_parclen(n))) : std::string();
}

// MESSAGEBOX( nHWnd, cText, cCaption, nType ) -> the button pressed.
void PV_FUN_MESSAGEBOX() {
  HWND owner = reinterpret_cast<HWND>(static_cast<std::intptr_t>(pv_parnll(1)));
  std::string text = TextParam(2), caption = TextParam(3);
  pv_retni(MessageBoxA(owner, text.c_str(), caption.c_str(), static_cast<UINT>(pv_parnl(4))));
}

// OLESHOWEXCEPTION(): the server's exception text in an error box, when the last call ended
// in one.
void PV_FUN_OLESHOWEXCEPTION() {
  if (state().status != com::DISP_E_EXCEPTION) return pv_ret();
  std::string description = ExceptionDescription(), source = ExceptionSource();
  MessageBoxA(nullptr, description.c_str(), source.c_str(), MB_ICONERROR);
  pv_ret();
}

PvSymbol s_symbols[] = {pv_native("MESSAGEBOX", PV_FUN_MESSAGEBOX),
                        pv_native("OLESHOWEXCEPTION", PV_FUN_OLESHOWEXCEPTION)};
PvModuleRegistrar s_module("ole/messagebox", s_symbols);

}  // namespace
}  // namespace ole

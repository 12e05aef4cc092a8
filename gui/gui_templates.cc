// In-memory dialog templates: CDLG2CHR writes a DLGTEMPLATE header and CCTRL2CHR one
// DLGITEMTEMPLATE, as byte strings that TDialog:cToChar joins into a whole template.
//
// DLGTEMPLATE as CDLG2CHR writes it (little-endian):
//   0  4  style; exactly 2 becomes 0x80000002 (extended style 32), exactly WS_VISIBLE 0xC0000000
//   4  4  extended style: 0, or 32 as above
//   8  2  number of items
//  10  2  x = nLeft             12  2  y = nTop
//  14  2  cx = nRight - nLeft + 1   16  2  cy = nBottom - nTop + 1
//  18  2  menu: 0               20  2  window class: 0
//  22  .  title: the caption (OEM code page) in UTF-16 with its terminating zero; no font
//
// DLGITEMTEMPLATE as CCTRL2CHR writes it:
//   0  4  style      4  4  extended style: 0
//   8  2  x = nLeft  10  2  y = nTop  12  2  cx = nRight - nLeft + 1  14  2  cy = nBottom - nTop + 1
//  16  2  id
//  18  .  class name, then caption, each UTF-16 with its terminating zero
//   .  2  creation data size: 0; then zero bytes up to a multiple of 4
#include <string>

#include "gui_natives.h"
#include "vm/dynsym.h"
#include "vm/registrar.h"
#include "vm/vm.h"
#include "win32/text_codec.h"

namespace {

void put16(std::string& out, long long v) {
  auto u = static_cast<uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>(u >> 8);
}

void put32(std::string& out, long long v) {
  auto u = static_cast<uint32_t>(v);
  put16(out, u & 0xFFFF);
  put16(out, u >> 16);
}

// Parameter n as text converted from the OEM code page to ANSI (through OEMTOANSI).
std::string oemParam(int n) {
  const char* text = pv_parc(n);
  if (!text) return "";
  static PvSymbol* oemToAnsi = pv_dynsymGet("OEMTOANSI")->symbol;
  pv_vmPushSymbol(oemToAnsi);
  pv_vmPushNil();
  pv_vmPushString(text, pv_parclen(n));
  pv_vmDo(1);
  PV_ITEM r = pv_stackReturnItem();
  return PV_IS_STRING(r) ? std::string(pv_itemGetCPtr(r), static_cast<size_t>(pv_itemGetCLen(r))) : std::string(text);
}

void putText(std::string& out, const std::string& ansi) {
  for (char16_t c : pv::win32::ansiToUtf16(ansi)) put16(out, c);
  put16(out, 0);
}

// Position and size from ( nTop, nLeft, nBottom, nRight ) in parameters first..first+3.
void putBox(std::string& out, int first) {
  long long top = pv_parnll(first), left = pv_parnll(first + 1);
  long long bottom = pv_parnll(first + 2), right = pv_parnll(first + 3);
  put16(out, left);
  put16(out, top);
  put16(out, right - left + 1);
  put16(out, bottom - top + 1);
}

void retBytes(const std::string& bytes) { pv_retclen(bytes.data(), static_cast<PV_SIZE>(bytes.size())); }

// CDLG2CHR( nItems, nTop, nLeft, nBottom, nRight, cCaption, nStyle ) -> DLGTEMPLATE bytes.
void PV_FUN_CDLG2CHR() {
  auto style = static_cast<uint32_t>(pv_parnll(7));
  uint32_t exStyle = 0;
  if (style == 2) style = 0x80000002u, exStyle = 32;
  else if (style == WS_VISIBLE) style = 0xC0000000u;
  std::string out;
  put32(out, style);
  put32(out, exStyle);
  put16(out, pv_parnll(1));
  putBox(out, 2);
  put16(out, 0);
  put16(out, 0);
  putText(out, oemParam(6));
  retBytes(out);
}

// CCTRL2CHR( nTop, nLeft, nBottom, nRight, nId, nStyle, cClass, cCaption ) -> DLGITEMTEMPLATE.
void PV_FUN_CCTRL2CHR() {
  std::string out;
  put32(out, pv_parnll(6));
  put32(out, 0);
  putBox(out, 1);
  put16(out, pv_parnll(5));
  putText(out, oemParam(7));
  putText(out, oemParam(8));
  put16(out, 0);
  while (out.size() % 4) out += '\0';
  retBytes(out);
}

PvSymbol s_symbols[] = {
    pv_native("CDLG2CHR", PV_FUN_CDLG2CHR),
    pv_native("CCTRL2CHR", PV_FUN_CCTRL2CHR),
};
PvModuleRegistrar s_module("gui/templates", s_symbols);

}  // namespace

// ANSI <-> UTF-16 text at the edge of the bridge: the native helpers and ANSITOWIDE/WIDETOANSI.
#include <cstring>
#include <string>

#include "ole/ole.h"
#include "registrar.h"
#include "vm.h"

com::BSTR pv_oleAnsiToSysString(const char* text, std::size_t len) {
  // Code page 1252 gives one UTF-16 unit per byte: the BSTR is filled in place.
  com::BSTR s = com::SysAllocStringLen(nullptr, static_cast<com::UINT>(len));
  if (!s || len == 0) return s;
  int n = com::MultiByteToWideChar(com::CP_ACP, 0, text, static_cast<int>(len), s, static_cast<int>(len));
  if (n != static_cast<int>(len)) {
    com::SysFreeString(s);
    return nullptr;
  }
  return s;
}

com::OLECHAR* pv_oleAnsiToWide(const char* text, std::size_t len, std::size_t* units) {
  std::u16string wide = com::AnsiToWide(std::string_view(text, len));
  auto* out = static_cast<com::OLECHAR*>(pv_xgrab((wide.size() + 1) * sizeof(com::OLECHAR)));
  std::memcpy(out, wide.data(), wide.size() * sizeof(com::OLECHAR));
  out[wide.size()] = 0;
  *units = wide.size();
  return out;
}

char* pv_oleWideToAnsi(const com::OLECHAR* wide, std::size_t units, std::size_t* bytes) {
  std::string ansi = com::WideToAnsi(std::u16string_view(wide, units));
  char* out = static_cast<char*>(pv_xgrab(ansi.size() + 1));
  std::memcpy(out, ansi.data(), ansi.size() + 1);
  *bytes = ansi.size();
  return out;
}

namespace {

// ANSITOWIDE( cText ) -> the UTF-16LE bytes of the text (no terminator); NIL for a non-text.
void PV_FUN_ANSITOWIDE() {
  const char* text = pv_parc(1);
  if (!text) return pv_ret();
  std::size_t units = 0;
  com::OLECHAR* wide = pv_oleAnsiToWide(text, static_cast<std::size_t>(pv_parclen(1)), &units);
  std::string bytes(units * 2, '\0');
  for (std::size_t i = 0; i < units; ++i) {
    bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
  }
  pv_xfree(wide);
  pv_retclen(bytes.data(), static_cast<PV_SIZE>(bytes.size()));
}

// WIDETOANSI( cWide ) -> the text of UTF-16LE bytes; NIL for a non-text or an odd byte count.
void PV_FUN_WIDETOANSI() {
  const char* bytes = pv_parc(1);
  PV_SIZE len = pv_parclen(1);
  if (!bytes || len % 2) return pv_ret();
  std::u16string wide(static_cast<std::size_t>(len / 2), u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  std::size_t n = 0;
  char* ansi = pv_oleWideToAnsi(wide.data(), wide.size(), &n);
  pv_retclen(ansi, static_cast<PV_SIZE>(n));
  pv_xfree(ansi);
}

PvSymbol s_symbols[] = {pv_native("ANSITOWIDE", PV_FUN_ANSITOWIDE),
                        pv_native("WIDETOANSI", PV_FUN_WIDETOANSI)};
PvModuleRegistrar s_module("ole/text", s_symbols);

}  // namespace

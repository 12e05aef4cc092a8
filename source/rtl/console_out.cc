// Console output: QOUT (the "?" command) and QQOUT to standard output while SET CONSOLE is on,
// OUTSTD to standard output and OUTERR to standard error always. Arguments are separated by a
// blank; QOUT starts a new line first. Values print as their text (logicals as .T./.F.).
#include <cstdio>
#include <string>

#include "registrar.h"
#include "set.h"
#include "vm.h"

namespace {

// The parameters as console text.
std::string consoleText() {
  std::string out;
  for (int i = 1; i <= pv_pcount(); ++i) {
    if (i > 1) out += ' ';
    PV_ITEM v = pv_paramError(i);
    if (PV_IS_LOGICAL(v)) {
      out += pv_itemGetL(v) ? ".T." : ".F.";
      continue;
    }
    PV_SIZE len;
    bool freeReq;
    char* text = pv_itemString(v, &len, &freeReq);
    out.append(text, static_cast<size_t>(len));
    if (freeReq) pv_xfree(text);
  }
  return out;
}

void write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

// QOUT( [xValues...] ): a new line, then the values separated by blanks.
void PV_FUN_QOUT() {
  if (!pv_setConsole()) return;
  std::fputc('\n', stdout);
  write(stdout, consoleText());
}

// QQOUT( [xValues...] ): the values separated by blanks, on the current line.
void PV_FUN_QQOUT() {
  if (pv_setConsole()) write(stdout, consoleText());
}

// OUTSTD( [xValues...] ): the values to standard output.
void PV_FUN_OUTSTD() { write(stdout, consoleText()); }
// OUTERR( [xValues...] ): the values to standard error.
void PV_FUN_OUTERR() { write(stderr, consoleText()); }

PvSymbol s_symbols[] = {
    pv_native("QOUT", PV_FUN_QOUT),     pv_native("QQOUT", PV_FUN_QQOUT),
    pv_native("OUTSTD", PV_FUN_OUTSTD), pv_native("OUTERR", PV_FUN_OUTERR),
};
PvModuleRegistrar s_module("rtl/console_out", s_symbols);

}  // namespace

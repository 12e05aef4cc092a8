// The program's environment: GETENV (and its short form GETE), OS, VERSION, NETNAME and
// ISPRINTER.
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

#ifndef PV_VERSION_TEXT
#error "PV_VERSION_TEXT comes from the build"
#endif

namespace {

// GETENV( cName, [cDefault] ): the value of an environment variable; cDefault (or "") when it
// is not set.
void PV_FUN_GETENV() {
  if (!pv_rtlOptional(1, PV_IT_STRING) || !pv_rtlOptional(2, PV_IT_STRING))
    return pv_rtlArgError(PV_SUB_GETENV, "GETENV");
  const char* name = pv_parc(1);
  const char* value = name && *name ? std::getenv(name) : nullptr;
  if (value) return pv_retc(value);
  pv_retc(pv_parc(2) ? pv_parc(2) : "");
}

// GETE( cName, [cDefault] ): the short form of GETENV.
void PV_FUN_GETE() { PV_FUN_GETENV(); }

// OS(): the operating system's name and release.
void PV_FUN_OS() {
  struct utsname u;
  if (::uname(&u) != 0) return pv_retc("");
  pv_retc((std::string(u.sysname) + " " + u.release).c_str());
}

// VERSION(): the runtime's name and version.
void PV_FUN_VERSION() { pv_retc(PV_VERSION_TEXT); }

// NETNAME(): the machine's network name.
void PV_FUN_NETNAME() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return pv_retc("");
  pv_retc(name);
}

// ISPRINTER(): whether a local printer port is ready to take output.
void PV_FUN_ISPRINTER() { pv_retl(::access("/dev/lp0", W_OK) == 0); }

PvSymbol s_symbols[] = {
    pv_native("GETENV", PV_FUN_GETENV),   pv_native("GETE", PV_FUN_GETE),
    pv_native("OS", PV_FUN_OS),           pv_native("VERSION", PV_FUN_VERSION),
    pv_native("NETNAME", PV_FUN_NETNAME), pv_native("ISPRINTER", PV_FUN_ISPRINTER),
};
PvModuleRegistrar s_module("rtl/env_funcs", s_symbols);

}  // namespace

// The program's own file: GETINSTANCE, GETMODULEFILENAME and SETHANDLECOUNT.
//
// GETMODULEFILENAME( hInstance ) gives the whole path of the running executable, however long,
// in the form the program builds paths in: backslashes as separators ("\usr\bin\xlforms"). The
// file functions read such paths back, so a folder cut at the last backslash names the
// executable's folder.
#include <string>

#include "registrar.h"
#include "vm.h"
#include "win32/kernel.h"

namespace {

// The executable's path as the system gives it, grown until it fits the buffer.
std::string ExecutablePath() {
  std::string buffer(256, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size() - 1) return buffer.substr(0, n);
    buffer.resize(buffer.size() * 2);
  }
}

void PV_FUN_GETINSTANCE() {
  pv_retnint(static_cast<int64_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))));
}

void PV_FUN_GETMODULEFILENAME() {
  std::string path = ExecutablePath();
  for (char& c : path)
    if (c == '/') c = '\\';
  pv_retclen(path.data(), static_cast<PV_SIZE>(path.size()));
}

void PV_FUN_SETHANDLECOUNT() {
  pv_retni(static_cast<int>(SetHandleCount(static_cast<UINT>(pv_parni(1)))));
}

PvSymbol s_symbols[] = {
    pv_native("GETINSTANCE", PV_FUN_GETINSTANCE),
    pv_native("GETMODULEFILENAME", PV_FUN_GETMODULEFILENAME),
    pv_native("SETHANDLECOUNT", PV_FUN_SETHANDLECOUNT),
};
PvModuleRegistrar s_module("app/program_path", s_symbols);

}  // namespace

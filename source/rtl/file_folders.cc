// The current folder and the disk: CURDIR, DIRCHANGE, MAKEDIR, DIRREMOVE and DISKSPACE. The
// folder functions answer 0 or the Windows-style code of the failure, which FERROR also
// reports.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "file_state.h"
#include "fs/os_error.h"
#include "fs/path_resolve.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// CURDIR( [cDrive] ): the current folder, without the leading separator.
void PV_FUN_CURDIR() {
  if (!pv_rtlOptional(1, PV_IT_STRING)) return pv_rtlArgError(PV_SUB_CURDIR, "CURDIR");
  char* cwd = ::getcwd(nullptr, 0);
  std::string dir = cwd ? cwd : "";
  std::free(cwd);
  pv_retc(dir.c_str() + (dir.empty() ? 0 : 1));
}

// Runs a folder operation on the name in parameter 1 and returns 0 or the failure's code.
void folderCall(int (*op)(const char*), uint32_t subcode, const char* name) {
  const char* folder = pv_parc(1);
  if (!folder) return pv_rtlArgError(subcode, name);
  std::string path = pv::ResolvePath(pv::NormalizeSeparators(folder));
  int code = op(path.c_str()) == 0 ? 0 : pv::OsCodeFromErrno(errno);
  pv_rtlSetFError(code);
  pv_retni(code);
}

int changeFolder(const char* path) { return ::chdir(path); }
int makeFolder(const char* path) { return ::mkdir(path, 0777); }
int removeFolder(const char* path) { return ::rmdir(path); }

// DIRCHANGE( cFolder ): makes the folder current.
void PV_FUN_DIRCHANGE() { folderCall(changeFolder, PV_SUB_DIRCHANGE, "DIRCHANGE"); }
// MAKEDIR( cFolder ): creates a folder.
void PV_FUN_MAKEDIR() { folderCall(makeFolder, PV_SUB_MAKEDIR, "MAKEDIR"); }
// DIRREMOVE( cFolder ): removes an empty folder.
void PV_FUN_DIRREMOVE() { folderCall(removeFolder, PV_SUB_DIRREMOVE, "DIRREMOVE"); }

// DISKSPACE( [nDrive] ): the bytes free on the disk of the current folder.
void PV_FUN_DISKSPACE() {
  if (!pv_rtlOptional(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_DISKSPACE, "DISKSPACE");
  struct statvfs fs;
  if (::statvfs(".", &fs) != 0) return pv_retnint(0);
  pv_retnint(static_cast<int64_t>(fs.f_bavail) * static_cast<int64_t>(fs.f_frsize));
}

PvSymbol s_symbols[] = {
    pv_native("CURDIR", PV_FUN_CURDIR),       pv_native("DIRCHANGE", PV_FUN_DIRCHANGE),
    pv_native("MAKEDIR", PV_FUN_MAKEDIR),     pv_native("DIRREMOVE", PV_FUN_DIRREMOVE),
    pv_native("DISKSPACE", PV_FUN_DISKSPACE),
};
PvModuleRegistrar s_module("rtl/file_folders", s_symbols);

}  // namespace

// Folder listings: FILE and DIRECTORY.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <ctime>

#include "array.h"
#include "dates.h"
#include "file_state.h"
#include "fs/path_resolve.h"
#include "fs/posix_file.h"
#include "registrar.h"
#include "rtl_args.h"
#include "set.h"
#include "time_text.h"
#include "vm.h"

namespace {

// Matches `name` against a mask with '*' and '?', ignoring ASCII letter case.
bool wildMatch(const char* mask, const char* name) {
  for (; *mask; ++mask, ++name) {
    if (*mask == '*') {
      for (const char* rest = name;; ++rest) {
        if (wildMatch(mask + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name) return false;
    if (*mask != '?' && std::tolower(static_cast<unsigned char>(*mask)) != std::tolower(static_cast<unsigned char>(*name)))
      return false;
  }
  return !*name;
}

bool hasWildcards(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

PvDirEntry entryOf(const std::string& folder, const char* name, const struct stat& st) {
  PvDirEntry e;
  e.name = name;
  e.size = static_cast<uint64_t>(st.st_size);
  e.folder = S_ISDIR(st.st_mode);
  e.hidden = name[0] == '.';
  e.readOnly = ::access((folder + "/" + name).c_str(), W_OK) != 0;
  struct tm t;
  localtime_r(&st.st_mtime, &t);
  e.julian = pv_dateEncode(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  e.millis = pv_timeEncode(t.tm_hour, t.tm_min, t.tm_sec);
  return e;
}

}  // namespace

std::vector<PvDirEntry> pv_rtlListFolder(const std::string& spec) {
  std::string path = pv::NormalizeSeparators(spec);
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
  if (mask.empty() || mask == "*.*") mask.assign(1, '*');
  folder = pv::ResolvePath(folder);
  std::vector<PvDirEntry> out;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return out;
  while (struct dirent* d = ::readdir(dir)) {
    std::string name = d->d_name;
    struct stat st;
    if (name == "." || name == ".." || !wildMatch(mask.c_str(), name.c_str())) continue;
    if (::stat((folder + "/" + name).c_str(), &st) == 0) out.push_back(entryOf(folder, name.c_str(), st));
  }
  ::closedir(dir);
  return out;
}

namespace {

// FILE( cName ): whether a file exists (wildcards allowed). A bare name is also looked for in
// the SET DEFAULT folder and the SET PATH folders.
bool fileExists(const std::string& name) {
  if (!hasWildcards(name)) return pv::FileExists(name);
  for (const PvDirEntry& e : pv_rtlListFolder(name))
    if (!e.folder) return true;
  return false;
}

void PV_FUN_FILE() {
  const char* name = pv_parc(1);
  if (!name) return pv_rtlArgError(PV_SUB_FILE, "FILE");
  std::string n = name;
  bool found = !n.empty() && fileExists(n);
  if (!found && !n.empty() && n.find_first_of("/\\:") == std::string::npos) {
    std::vector<std::string> folders;
    if (*pv_setDefault()) folders.push_back(pv_setDefault());
    for (const std::string& p : pv_setPathList()) folders.push_back(p);
    for (size_t i = 0; i < folders.size() && !found; ++i) found = fileExists(folders[i] + "/" + n);
  }
  pv_retl(found);
}

// DIRECTORY( cSpec, [cAttributes] ): { { name, size, date, time, attributes }, ... }. Folders
// are listed with "D" among the attributes asked for, hidden entries with "H".
void PV_FUN_DIRECTORY() {
  const char* spec = pv_parc(1);
  const char* attrs = pv_parc(2);
  if (!pv_rtlOptional(1, PV_IT_STRING) || !pv_rtlOptional(2, PV_IT_STRING))
    return pv_rtlArgError(PV_SUB_DIRECTORY, "DIRECTORY");
  std::string want;
  for (const char* a = attrs ? attrs : ""; *a; ++a) want += static_cast<char>(std::toupper(static_cast<unsigned char>(*a)));
  bool dirs = want.find('D') != std::string::npos, hidden = want.find('H') != std::string::npos;
  PV_ITEM out = pv_stackReturnItem();
  pv_arrayNew(out, 0);
  for (const PvDirEntry& e : pv_rtlListFolder(spec && *spec ? spec : "*")) {
    if ((e.folder && !dirs) || (e.hidden && !hidden)) continue;
    PvItem row = {PV_IT_NIL, {}};
    pv_arrayNew(&row, 5);
    pv_itemPutCL(pv_arrayGetItemPtr(&row, 1), e.name.data(), static_cast<PV_SIZE>(e.name.size()));
    pv_itemPutNInt(pv_arrayGetItemPtr(&row, 2), static_cast<int64_t>(e.size));
    pv_itemPutDL(pv_arrayGetItemPtr(&row, 3), e.julian);
    pv_itemPutC(pv_arrayGetItemPtr(&row, 4), pv_rtlTimeText(e.millis).c_str());
    pv_itemPutC(pv_arrayGetItemPtr(&row, 5), pv_rtlAttributeText(e).c_str());
    pv_arrayAddForward(out, &row);
  }
}

PvSymbol s_symbols[] = {
    pv_native("FILE", PV_FUN_FILE),
    pv_native("DIRECTORY", PV_FUN_DIRECTORY),
};
PvModuleRegistrar s_module("rtl/file_dir", s_symbols);

}  // namespace

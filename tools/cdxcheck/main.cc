// cdxcheck [--repair] TABLE[.dbf] | INDEX.cdx — checks the structure of a table's CDX file:
// every page reachable once, sibling links, interior entries against their children, key
// order, leaf free space, the free list, and no page lost (in no tag and not on the free
// list). Then, given a table, opens it through the DBFCDX driver and compares every record's
// key in each tag without FOR condition with its key expression's value. Prints what it
// checked; exits 1 on the first fault, 2 when the files cannot be opened.
// With --repair, lost pages of a file whose structure is sound go back to the free list first
// (under the file's write lock, so other programs may have it open in shared use).
#include <dirent.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "cdx_check.h"
#include "cdx_index.h"
#include "cdx_table_keys.h"
#include "compiler/compiler.h"
#include "compiler/module_registrar.h"
#include "vm/start.h"

using namespace pv::cdx;

namespace {

std::string lower(std::string s) {
  for (auto& c : s) c = char(std::tolower(uint8_t(c)));
  return s;
}

// The file as named, or a file of that name in any letter case in its folder ("" if none).
std::string findFile(const std::string& path) {
  if (std::ifstream(path).good()) return path;
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string name = lower(slash == std::string::npos ? path : path.substr(slash + 1));
  std::string found;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (lower(e->d_name) == name) found = dir + "/" + e->d_name;
    closedir(d);
  }
  return found;
}

std::string withExt(const std::string& path, const std::string& ext) {
  size_t dot = path.rfind('.'), slash = path.rfind('/');
  bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExt ? path.substr(0, dot) : path) + ext;
}

// The key comparison runs as a small program on the runtime, with the driver's CDXCHECK().
const char* kKeyCheck = R"(
PROCEDURE Main(cTable)
   LOCAL cFault
   USE (cTable) SHARED READONLY
   cFault := CDXCHECK()
   IF EMPTY(cFault)
      ?? "keys: every record's key equals its key expression's value in", ;
         LTRIM(STR(ORDCOUNT())), "tags"
      ?
   ELSE
      ?? "FAULT:", cFault
      ?
      ERRORLEVEL(1)
   ENDIF
RETURN
)";

int checkKeys(const std::string& table) {
  pv::CompileOptions options;
  pv::CompileResult result = pv::compileSource("cdxcheck.prg", kKeyCheck, options);
  if (!result.ok) {
    std::fputs(result.diags.text().c_str(), stderr);
    return 2;
  }
  pv_compilerRegisterModule(result.module);
  pv_cmdargInit({"cdxcheck.prg", table});
  std::fflush(stdout);
  pv_vmInit(true);
  return pv_vmQuit();
}

std::string baseName(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string b = slash == std::string::npos ? path : path.substr(slash + 1);
  return b.substr(0, b.rfind('.'));
}

// Gives the file's lost pages back to the free list; false after a fault (printed).
bool repair(CdxIndex& x) {
  CdxCheckReport rep;
  uint64_t reclaimed = 0;
  CdxStatus s = cdxReclaimLostPages(x, rep, reclaimed);
  if (s.ok()) s = cdxIndexFlush(x);
  if (!s.ok()) {
    std::printf("FAULT: %s%s\n", s.toString().c_str(), s.detail.c_str());
    return false;
  }
  std::printf("repair: %llu lost pages given back to the free list\n",
              (unsigned long long)reclaimed);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool doRepair = argc == 3 && std::string(argv[1]) == "--repair";
  if (argc != 2 && !doRepair) {
    std::fprintf(stderr, "usage: cdxcheck [--repair] TABLE[.dbf] | INDEX.cdx\n");
    return 2;
  }
  std::string arg = argv[doRepair ? 2 : 1];
  bool isIndex = lower(arg).size() > 4 && lower(arg).substr(lower(arg).size() - 4) == ".cdx";
  std::string table = findFile(isIndex ? withExt(arg, ".dbf") : (lower(arg).ends_with(".dbf") ? arg : arg + ".dbf"));
  std::string index = findFile(isIndex ? arg : withExt(table.empty() ? arg : table, ".cdx"));
  if (index.empty()) {
    std::fprintf(stderr, "cdxcheck: no index file for %s\n", arg.c_str());
    return 2;
  }
  CdxOpenOptions opt;
  opt.readOnly = !doRepair;
  opt.shared = doRepair;
  if (!table.empty()) {
    std::ifstream f(table, std::ios::binary);
    std::vector<uint8_t> head(4096);
    f.read(reinterpret_cast<char*>(head.data()), long(head.size()));
    head.resize(size_t(f.gcount()));
    CdxDbfInfo info;
    if (cdxReadDbfInfo(head, info)) {
      opt.resolver = cdxTableKeyResolver(info);
      std::printf("table %s: %u records, %zu fields\n", table.c_str(), info.recCount, info.fields.size());
    }
  }
  std::unique_ptr<CdxPosixFile> file;
  CdxStatus s = CdxPosixFile::open(index, false, !doRepair, file);
  std::unique_ptr<CdxIndex> x;
  if (s.ok()) s = cdxIndexOpen(std::move(file), baseName(index), opt, x);
  if (!s.ok()) {
    std::fprintf(stderr, "cdxcheck: %s: %s%s\n", index.c_str(), s.toString().c_str(), s.detail.c_str());
    return 2;
  }
  std::printf("index %s: %zu tags\n", index.c_str(), x->tags.size());
  if (doRepair && !repair(*x)) return 1;
  CdxCheckReport rep;
  s = cdxCheckIndex(*x, rep);
  for (const auto& l : rep.lines) std::printf("  %s\n", l.c_str());
  if (!s.ok()) {
    std::printf("FAULT: %s%s\n", s.toString().c_str(), s.detail.c_str());
    return 1;
  }
  std::printf("ok: %llu tree pages, %llu free pages, %llu pages unaccounted\n",
              (unsigned long long)rep.treePages, (unsigned long long)rep.freePages,
              (unsigned long long)rep.unaccountedPages);
  x.reset();
  return table.empty() ? 0 : checkKeys(table);
}

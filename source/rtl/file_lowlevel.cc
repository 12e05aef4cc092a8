// The low-level file functions: FOPEN, FCREATE, FREAD, FREADSTR, FWRITE, FSEEK, FCLOSE and
// FERROR. A handle is the number of an open file; each file keeps its own position. Failures
// return -1 (or 0 bytes, or false) and leave the Windows-style code in FERROR.
#include <algorithm>
#include <map>
#include <string>

#include "file_state.h"
#include "fs/os_error.h"
#include "fs/posix_file.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

struct OpenFile {
  pv::FilePtr file;
  uint64_t position = 0;
};

int g_ferror = 0;

std::map<int, OpenFile>& openFiles() {
  static std::map<int, OpenFile> files;
  return files;
}

// The open file of handle parameter 1, or nullptr with FERROR "invalid handle".
OpenFile* fileOf(int param) {
  auto it = openFiles().find(pv_parni(param));
  if (it != openFiles().end()) return &it->second;
  pv_rtlSetFError(pv::kOsInvalidHandle);
  return nullptr;
}

bool record(const pv::Status& st) {
  pv_rtlSetFError(st.ok() ? 0 : (st.osCode() ? st.osCode() : 31));
  return st.ok();
}

// Registers an opened file and returns its handle, or -1.
void returnHandle(const pv::Status& st, pv::FilePtr file) {
  if (!record(st)) return pv_retni(-1);
  int handle = file->descriptor();
  openFiles()[handle] = OpenFile{std::move(file), 0};
  pv_retni(handle);
}

// FOPEN( cFile, [nMode] ): mode bits 0-1 access (0 read, 1 write, 2 both), bits 4-6 sharing
// (0x10 exclusive, 0x20 deny write, 0x30 deny read, 0x40 or 0 deny none).
void PV_FUN_FOPEN() {
  const char* name = pv_parc(1);
  if (!name || !pv_rtlOptional(2, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_FOPEN, "FOPEN");
  int mode = pv_parni(2);
  const pv::Access access[] = {pv::Access::kRead, pv::Access::kWrite, pv::Access::kReadWrite};
  const pv::Share share[] = {pv::Share::kDenyNone, pv::Share::kExclusive, pv::Share::kDenyWrite,
                             pv::Share::kDenyRead, pv::Share::kDenyNone};
  if ((mode & 3) == 3 || ((mode >> 4) & 7) > 4) {
    pv_rtlSetFError(pv::kOsInvalidParameter);
    return pv_retni(-1);
  }
  pv::FilePtr file;
  pv::Status st = pv::OpenFile(name, access[mode & 3], share[(mode >> 4) & 7], &file);
  returnHandle(st, std::move(file));
}

// FCREATE( cFile, [nAttribute] ): creates or empties the file, open for reading and writing.
void PV_FUN_FCREATE() {
  const char* name = pv_parc(1);
  if (!name) return pv_rtlArgError(PV_SUB_FCREATE, "FCREATE");
  pv::FilePtr file;
  pv::Status st = pv::CreateFile(name, pv::Share::kDenyNone, &file);
  returnHandle(st, std::move(file));
}

// Reads up to `n` bytes at the file's position and advances it.
bool readAt(OpenFile* f, size_t n, std::string* out) {
  uint64_t size = 0;
  pv::Status st = f->file->size(&size);
  n = size > f->position ? static_cast<size_t>(std::min<uint64_t>(n, size - f->position)) : 0;
  out->resize(n);
  size_t got = 0;
  if (st.ok()) st = f->file->readAt(f->position, out->data(), n, &got);
  out->resize(st.ok() ? got : 0);
  f->position += out->size();
  return record(st);
}

// FREAD( nHandle, @cBuffer, nBytes ): reads into the first bytes of the buffer (never past its
// length); returns the count read.
void PV_FUN_FREAD() {
  PV_ITEM buffer = pv_param(2, PV_IT_STRING);
  if (!pv_ispar(1, PV_IT_NUMERIC) || !buffer || !pv_ispar(3, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_FREAD, "FREAD");
  OpenFile* f = fileOf(1);
  long long want = pv_parnll(3);
  if (!f || want <= 0) return pv_retni(0);
  std::string old(pv_itemGetCPtr(buffer), static_cast<size_t>(pv_itemGetCLen(buffer)));
  std::string got;
  readAt(f, std::min<size_t>(static_cast<size_t>(want), old.size()), &got);
  old.replace(0, got.size(), got);
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutCL(&result, old.data(), static_cast<PV_SIZE>(old.size()));
  pv_itemParamStore(2, &result);
  pv_itemClear(&result);
  pv_retnint(static_cast<int64_t>(got.size()));
}

// FREADSTR( nHandle, nBytes ): up to nBytes, ending before the first NUL byte.
void PV_FUN_FREADSTR() {
  if (!pv_ispar(1, PV_IT_NUMERIC) || !pv_ispar(2, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_FREADSTR, "FREADSTR");
  OpenFile* f = fileOf(1);
  long long want = pv_parnll(2);
  if (!f || want <= 0) return pv_retc("");
  std::string got;
  uint64_t start = f->position;
  readAt(f, static_cast<size_t>(std::min<long long>(want, 0x7FFFFFFE)), &got);
  size_t nul = got.find('\0');
  if (nul != std::string::npos) {
    got.resize(nul);
    f->position = start + nul + 1;
  }
  pv_retclen(got.data(), static_cast<PV_SIZE>(got.size()));
}

// FWRITE( nHandle, cText, [nBytes] ): writes at the position; returns the count written.
void PV_FUN_FWRITE() {
  PV_ITEM text = pv_param(2, PV_IT_STRING);
  if (!pv_ispar(1, PV_IT_NUMERIC) || !text || !pv_rtlOptional(3, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_FWRITE, "FWRITE");
  OpenFile* f = fileOf(1);
  if (!f) return pv_retni(0);
  auto n = static_cast<long long>(pv_itemGetCLen(text));
  if (pv_ispar(3, PV_IT_NUMERIC)) n = std::max(0LL, std::min(n, pv_parnll(3)));
  if (!record(f->file->writeAt(f->position, pv_itemGetCPtr(text), static_cast<size_t>(n))))
    return pv_retni(0);
  f->position += static_cast<uint64_t>(n);
  pv_retnint(n);
}

// FSEEK( nHandle, nOffset, [nOrigin] ): origin 0 start, 1 current position, 2 end; returns the
// new position (a position before the start is refused: code 131, position kept).
void PV_FUN_FSEEK() {
  if (!pv_ispar(1, PV_IT_NUMERIC) || !pv_ispar(2, PV_IT_NUMERIC) ||
      !pv_rtlOptional(3, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_FSEEK, "FSEEK");
  OpenFile* f = fileOf(1);
  if (!f) return pv_retni(-1);
  int origin = pv_parni(3);
  uint64_t size = 0;
  if (origin == 2 && !record(f->file->size(&size))) return pv_retnint(static_cast<int64_t>(f->position));
  long long base = origin == 1 ? static_cast<long long>(f->position) : origin == 2 ? static_cast<long long>(size) : 0;
  long long target = base + pv_parnll(2);
  if (target < 0) pv_rtlSetFError(pv::kOsNegativeSeek);
  else f->position = static_cast<uint64_t>(target), pv_rtlSetFError(0);
  pv_retnint(static_cast<int64_t>(f->position));
}

// FCLOSE( nHandle ): closes a file; whether it was open.
void PV_FUN_FCLOSE() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_FCLOSE, "FCLOSE");
  bool open = fileOf(1) != nullptr;
  if (open) {
    openFiles().erase(pv_parni(1));
    pv_rtlSetFError(0);
  }
  pv_retl(open);
}

// FERROR(): the code of the last file function, 0 after a success.
void PV_FUN_FERROR() { pv_retni(g_ferror); }

PvSymbol s_symbols[] = {
    pv_native("FOPEN", PV_FUN_FOPEN),     pv_native("FCREATE", PV_FUN_FCREATE),
    pv_native("FREAD", PV_FUN_FREAD),     pv_native("FREADSTR", PV_FUN_FREADSTR),
    pv_native("FWRITE", PV_FUN_FWRITE),   pv_native("FSEEK", PV_FUN_FSEEK),
    pv_native("FCLOSE", PV_FUN_FCLOSE),   pv_native("FERROR", PV_FUN_FERROR),
};
PvModuleRegistrar s_module("rtl/file_lowlevel", s_symbols);

}  // namespace

int pv_rtlFError() { return g_ferror; }
void pv_rtlSetFError(int code) { g_ferror = code; }

// Whole-file functions: FERASE, FRENAME, MEMOWRIT and MEMOREAD. Each sets the FERROR code.
#include <string>

#include "file_state.h"
#include "fs/posix_file.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

constexpr char kEofByte = 0x1A;

// Records the status's OS code as the FERROR code; true on success.
bool record(const pv::Status& st) {
  pv_rtlSetFError(st.ok() ? 0 : (st.osCode() ? st.osCode() : 31));
  return st.ok();
}

// FERASE( cFile ): 0, or -1 with FERROR set.
void PV_FUN_FERASE() {
  const char* name = pv_parc(1);
  if (!name) return pv_rtlArgError(PV_SUB_FERASE, "FERASE");
  pv_retni(record(pv::DeleteFile(name)) ? 0 : -1);
}

// FRENAME( cOld, cNew ): 0, or -1 with FERROR set (an existing target is not replaced).
void PV_FUN_FRENAME() {
  const char* from = pv_parc(1);
  const char* to = pv_parc(2);
  if (!from || !to) return pv_rtlArgError(PV_SUB_FRENAME, "FRENAME");
  pv_retni(record(pv::RenameFile(from, to)) ? 0 : -1);
}

// MEMOWRIT( cFile, cText, [lEofByte] ): creates (or empties) the file and writes the text,
// followed by the end-of-file byte 0x1A unless lEofByte is false.
void PV_FUN_MEMOWRIT() {
  const char* name = pv_parc(1);
  PV_ITEM text = pv_param(2, PV_IT_STRING);
  if (!name || !text) return pv_rtlArgError(PV_SUB_MEMOWRIT, "MEMOWRIT");
  std::string bytes(pv_itemGetCPtr(text), static_cast<size_t>(pv_itemGetCLen(text)));
  if (!pv_ispar(3, PV_IT_LOGICAL) || pv_parl(3)) bytes += kEofByte;
  pv::FilePtr file;
  pv::Status st = pv::CreateFile(name, pv::Share::kDenyWrite, &file);
  if (st.ok()) st = file->writeAt(0, bytes.data(), bytes.size());
  pv_retl(record(st));
}

// MEMOREAD( cFile ): the file's bytes without one trailing end-of-file byte; "" on failure.
void PV_FUN_MEMOREAD() {
  const char* name = pv_parc(1);
  if (!name) return pv_rtlArgError(PV_SUB_MEMOREAD, "MEMOREAD");
  pv::FilePtr file;
  uint64_t size = 0;
  pv::Status st = pv::OpenFile(name, pv::Access::kRead, pv::Share::kDenyNone, &file);
  if (st.ok()) st = file->size(&size);
  if (st.ok() && size > 0x7FFFFFFE) st = pv::Status::IoError("file too large", name, 8);
  std::string bytes;
  if (st.ok()) {
    bytes.resize(static_cast<size_t>(size));
    st = file->readExact(0, bytes.data(), bytes.size(), "file shrank while read");
  }
  if (!record(st)) return pv_retc("");
  if (!bytes.empty() && bytes.back() == kEofByte) bytes.pop_back();
  pv_retclen(bytes.data(), static_cast<PV_SIZE>(bytes.size()));
}

PvSymbol s_symbols[] = {
    pv_native("FERASE", PV_FUN_FERASE),
    pv_native("FRENAME", PV_FUN_FRENAME),
    pv_native("MEMOWRIT", PV_FUN_MEMOWRIT),
    pv_native("MEMOREAD", PV_FUN_MEMOREAD),
};
PvModuleRegistrar s_module("rtl/file_ops", s_symbols);

}  // namespace

// MEMOWRITNEW( cFile, cText ): writes cText and an end-of-file byte (0x1A) into a file that does
// not exist yet. Returns .T. when written, .F. when a file of that name exists already (it is
// left as it is); any other failure (no permission, a full disk) raises a create or write error
// that may be retried or defaulted (.F.). Two processes writing reports into one folder so never
// overwrite each other's file.
#include <string>

#include "errors.h"
#include "registrar.h"
#include "rtl/fs/posix_file.h"
#include "rtl/rtl_args.h"
#include "vm.h"

namespace {

constexpr char kEofByte = 0x1A;
constexpr int kOsFileExists = 80;

// Raises the error; true when the handler asks for another try.
bool Raise(uint32_t gencode, const pv::Status& st, const char* name) {
  return pv_errRT_BASE_Ext1(gencode, gencode == PV_EG_CREATE ? 2020 : 2021, nullptr, name,
                            static_cast<uint32_t>(st.osCode()),
                            PV_ERR_FLAG_RETRY | PV_ERR_FLAG_DEFAULT, 0) == PV_ERR_RETRY;
}

// One attempt: 1 written, 0 the file exists, -1 failed.
int WriteNew(const char* name, const std::string& bytes, uint32_t* gencode, pv::Status* st) {
  pv::FilePtr file;
  *st = pv::CreateFile(name, pv::Share::kDenyWrite, &file, true);
  if (!st->ok()) {
    *gencode = PV_EG_CREATE;
    return st->osCode() == kOsFileExists ? 0 : -1;
  }
  *st = file->writeAt(0, bytes.data(), bytes.size());
  *gencode = PV_EG_WRITE;
  if (st->ok()) return 1;
  file.reset();
  pv::DeleteFile(name);  // a report cut short frees its slot again
  return -1;
}

void PV_FUN_MEMOWRITNEW() {
  const char* name = pv_parc(1);
  PV_ITEM text = pv_param(2, PV_IT_STRING);
  if (!name || !text) {
    pv_rtlArgError(3012, "MEMOWRITNEW");
    return;
  }
  std::string bytes(pv_itemGetCPtr(text), static_cast<size_t>(pv_itemGetCLen(text)));
  bytes += kEofByte;
  uint32_t gencode = 0;
  pv::Status st;
  int result;
  while ((result = WriteNew(name, bytes, &gencode, &st)) < 0 && Raise(gencode, st, name)) {
  }
  pv_retl(result > 0);
}

PvSymbol s_symbols[] = {pv_native("MEMOWRITNEW", PV_FUN_MEMOWRITNEW)};
PvModuleRegistrar s_module("app/report_file", s_symbols);

}  // namespace

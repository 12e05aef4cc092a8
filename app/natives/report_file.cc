// MEMOWRITNEW( cFile, cText ): writes cText and an end-of-file byte (0x1A) into a file that does
// not exist yet. Returns .T. when written, .F. when a file of that name exists already (it is
// left as it is); any other failure (no permission, a full disk) raises a create or write error.
// Two processes writing reports into one folder so never overwrite each other's file.
#include <string>

#include "errors.h"
#include "registrar.h"
#include "rtl/fs/posix_file.h"
#include "vm.h"

namespace {

constexpr char kEofByte = 0x1A;
constexpr uint32_t kOsFileExists = 80;

void Raise(uint32_t gencode, const pv::Status& st, const char* name) {
  pv_errRT_BASE_Ext1(gencode, gencode == PV_EG_CREATE ? 2020 : 2021, nullptr, name,
                     st.osCode(), 0, 0);
}

void PV_FUN_MEMOWRITNEW() {
  const char* name = pv_parc(1);
  PV_ITEM text = pv_param(2, PV_IT_STRING);
  if (!name || !text) {
    pv_errRT_BASE(PV_EG_ARG, 3012, nullptr, "MEMOWRITNEW", -1);
    return;
  }
  pv::FilePtr file;
  pv::Status st = pv::CreateFile(name, pv::Share::kDenyWrite, &file, true);
  if (!st.ok()) {
    if (st.osCode() == kOsFileExists) return pv_retl(false);
    return Raise(PV_EG_CREATE, st, name);
  }
  std::string bytes(pv_itemGetCPtr(text), static_cast<size_t>(pv_itemGetCLen(text)));
  bytes += kEofByte;
  st = file->writeAt(0, bytes.data(), bytes.size());
  if (!st.ok()) return Raise(PV_EG_WRITE, st, name);
  pv_retl(true);
}

PvSymbol s_symbols[] = {pv_native("MEMOWRITNEW", PV_FUN_MEMOWRITNEW)};
PvModuleRegistrar s_module("app/report_file", s_symbols);

}  // namespace

// Binary helpers: little-endian integers packed in strings (BIN2L, BIN2W, BIN2I, L2BIN, I2BIN).
// Short strings read as if padded with zero bytes.
#include <algorithm>
#include <cstring>

#include "fs/coding.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// The first `n` bytes of string parameter 1, zero-padded; false after an argument error.
bool bytesOf(size_t n, const char* name, uint8_t* out) {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text) {
    pv_rtlArgError(PV_SUB_BIN2, name);
    return false;
  }
  std::memset(out, 0, n);
  std::memcpy(out, pv_itemGetCPtr(text), std::min(n, static_cast<size_t>(pv_itemGetCLen(text))));
  return true;
}

// BIN2L( cBytes ): the signed 32-bit integer in the first four bytes.
void PV_FUN_BIN2L() {
  uint8_t b[4];
  if (bytesOf(4, "BIN2L", b)) pv_retnint(static_cast<int32_t>(pv::DecodeLE32(b)));
}

// BIN2W( cBytes ): the unsigned 16-bit integer in the first two bytes.
void PV_FUN_BIN2W() {
  uint8_t b[2];
  if (bytesOf(2, "BIN2W", b)) pv_retni(pv::DecodeLE16(b));
}

// BIN2I( cBytes ): the signed 16-bit integer in the first two bytes.
void PV_FUN_BIN2I() {
  uint8_t b[2];
  if (bytesOf(2, "BIN2I", b)) pv_retni(static_cast<int16_t>(pv::DecodeLE16(b)));
}

// L2BIN( n ): the four bytes of a signed 32-bit integer.
void PV_FUN_L2BIN() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_TOBIN, "L2BIN");
  uint8_t b[4];
  pv::EncodeLE32(b, static_cast<uint32_t>(pv_parnll(1)));
  pv_retclen(reinterpret_cast<const char*>(b), 4);
}

// I2BIN( n ): the two bytes of a signed 16-bit integer.
void PV_FUN_I2BIN() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_TOBIN, "I2BIN");
  uint8_t b[2];
  pv::EncodeLE16(b, static_cast<uint16_t>(pv_parnll(1)));
  pv_retclen(reinterpret_cast<const char*>(b), 2);
}

PvSymbol s_symbols[] = {
    pv_native("BIN2L", PV_FUN_BIN2L), pv_native("BIN2W", PV_FUN_BIN2W),
    pv_native("BIN2I", PV_FUN_BIN2I), pv_native("L2BIN", PV_FUN_L2BIN),
    pv_native("I2BIN", PV_FUN_I2BIN),
};
PvModuleRegistrar s_module("rtl/binary_funcs", s_symbols);

}  // namespace

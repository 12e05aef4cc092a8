// String functions: length, parts, case, repetition and single characters.
#include <string>

#include "array.h"
#include "errors.h"
#include "hash.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// Longest string a function builds; longer results are the error "String overflow".
constexpr double kMaxString = 0x7FFFFFFE;

// Start offset (0-based) of SUBSTR: a negative start counts from the end, 0 counts as 1.
PV_SIZE substrStart(double start, PV_SIZE len) {
  if (start < 0) {
    start += static_cast<double>(len);
    return start < 0 ? 0 : static_cast<PV_SIZE>(start);
  }
  if (start > static_cast<double>(len)) return len;
  return start >= 1 ? static_cast<PV_SIZE>(start) - 1 : 0;
}

// Bytes of `text` from `from` on, at most `count` (negative: all).
void returnPart(const char* text, PV_SIZE len, PV_SIZE from, double count) {
  if (from >= len || count == 0) return pv_retc("");
  PV_SIZE rest = len - from;
  PV_SIZE n = count < 0 || count >= static_cast<double>(rest) ? rest : static_cast<PV_SIZE>(count);
  pv_retclen(text + from, n);
}

// LEN( cText|aArray|hHash ): the length of a text, array or hash.
void PV_FUN_LEN() {
  PV_ITEM p = pv_param(1, PV_IT_ANY);
  if (p && PV_IS_STRING(p)) return pv_retnint(pv_itemGetCLen(p));
  if (p && PV_IS_ARRAY(p)) return pv_retnint(pv_arrayLen(p));
  if (p && PV_IS_HASH(p)) return pv_retnint(pv_hashLen(p));
  pv_rtlArgError(PV_SUB_LEN, "LEN");
}

// SUBSTR( cText, nStart, [nCount] )
void PV_FUN_SUBSTR() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text || !pv_ispar(2, PV_IT_NUMERIC) ||
      !pv_rtlOptional(3, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_SUBSTR, "SUBSTR");
  PV_SIZE len = pv_itemGetCLen(text);
  double count = pv_ispar(3, PV_IT_NUMERIC) ? pv_parnd(3) : -1;
  if (pv_ispar(3, PV_IT_NUMERIC) && count <= 0) return pv_retc("");
  returnPart(pv_itemGetCPtr(text), len, substrStart(pv_parnd(2), len), count);
}

// LEFT( cText, nCount ): the first nCount characters.
void PV_FUN_LEFT() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text || !pv_ispar(2, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_LEFT, "LEFT");
  double n = pv_parnd(2);
  returnPart(pv_itemGetCPtr(text), pv_itemGetCLen(text), 0, n <= 0 ? 0 : n);
}

// RIGHT( cText, nCount ): the last nCount characters.
void PV_FUN_RIGHT() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text || !pv_ispar(2, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_RIGHT, "RIGHT");
  PV_SIZE len = pv_itemGetCLen(text);
  double n = pv_parnd(2);
  if (n <= 0) return pv_retc("");
  PV_SIZE from = n >= static_cast<double>(len) ? 0 : len - static_cast<PV_SIZE>(n);
  returnPart(pv_itemGetCPtr(text), len, from, -1);
}

// UPPER and LOWER change the ASCII letters only (text is in a single-byte code page), whatever
// the C library's locale says of the other bytes.
void changeCase(bool upper, uint32_t subcode, const char* name) {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text) return pv_rtlArgError(subcode, name);
  static std::string s;  // reused: no allocation per call
  s.assign(pv_itemGetCPtr(text), static_cast<size_t>(pv_itemGetCLen(text)));
  const unsigned char first = upper ? 'a' : 'A';
  for (char& c : s)
    if (static_cast<unsigned char>(static_cast<unsigned char>(c) - first) < 26) c = static_cast<char>(c ^ 0x20);
  pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
}

// UPPER( cText ): the text in upper case.
void PV_FUN_UPPER() { changeCase(true, PV_SUB_UPPER, "UPPER"); }
// LOWER( cText ): the text in lower case.
void PV_FUN_LOWER() { changeCase(false, PV_SUB_LOWER, "LOWER"); }

// `count` copies of `unit`; counts of 0 or less give "".
void returnRepeated(const char* unit, PV_SIZE unitLen, double count, const char* name) {
  if (count < 1 || unitLen == 0) return pv_retc("");
  if (count * static_cast<double>(unitLen) > kMaxString)
    return pv_rtlError(PV_EG_STROVERFLOW, PV_SUB_STROVERFLOW, name);
  auto n = static_cast<PV_SIZE>(count);
  std::string s;
  s.reserve(static_cast<size_t>(n * unitLen));
  for (PV_SIZE i = 0; i < n; ++i) s.append(unit, static_cast<size_t>(unitLen));
  pv_retclen(s.data(), static_cast<PV_SIZE>(s.size()));
}

// SPACE( nCount ): nCount blanks.
void PV_FUN_SPACE() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_SPACE, "SPACE");
  returnRepeated(" ", 1, pv_parnd(1), "SPACE");
}

// REPLICATE( cText, nTimes ): the text repeated.
void PV_FUN_REPLICATE() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text || !pv_ispar(2, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_REPLICATE, "REPLICATE");
  returnRepeated(pv_itemGetCPtr(text), pv_itemGetCLen(text), pv_parnd(2), "REPLICATE");
}

// CHR( nCode ): the character of the code modulo 256.
void PV_FUN_CHR() {
  if (!pv_ispar(1, PV_IT_NUMERIC)) return pv_rtlArgError(PV_SUB_CHR, "CHR");
  char c = static_cast<char>(pv_parnll(1) & 0xFF);
  pv_retclen(&c, 1);
}

// ASC( cText ): the code of the first byte, 0 for "".
void PV_FUN_ASC() {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text) return pv_rtlArgError(PV_SUB_ASC, "ASC");
  pv_retni(pv_itemGetCLen(text) ? static_cast<unsigned char>(pv_itemGetCPtr(text)[0]) : 0);
}

PvSymbol s_symbols[] = {
    pv_native("LEN", PV_FUN_LEN),       pv_native("SUBSTR", PV_FUN_SUBSTR),
    pv_native("LEFT", PV_FUN_LEFT),     pv_native("RIGHT", PV_FUN_RIGHT),
    pv_native("UPPER", PV_FUN_UPPER),   pv_native("LOWER", PV_FUN_LOWER),
    pv_native("SPACE", PV_FUN_SPACE),   pv_native("REPLICATE", PV_FUN_REPLICATE),
    pv_native("CHR", PV_FUN_CHR),       pv_native("ASC", PV_FUN_ASC),
};
PvModuleRegistrar s_module("rtl/str_basic", s_symbols);

}  // namespace

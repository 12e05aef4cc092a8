// Trimming and padding: TRIM, RTRIM, LTRIM, ALLTRIM, PADR, PADL and PADC.
#include <string>
#include <string_view>

#include "errors.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

constexpr double kMaxString = 0x7FFFFFFE;

// Trims blanks from the right and/or the left of parameter 1.
void trim(bool left, bool right, uint32_t subcode, const char* name) {
  PV_ITEM text = pv_param(1, PV_IT_STRING);
  if (!text) return pv_rtlArgError(subcode, name);
  const char* p = pv_itemGetCPtr(text);
  PV_SIZE from = 0, to = pv_itemGetCLen(text);
  if (right)
    while (to > 0 && p[to - 1] == ' ') --to;
  if (left)
    while (from < to && p[from] == ' ') ++from;
  pv_retclen(p + from, to - from);
}

// TRIM( cText ): the text without trailing blanks.
void PV_FUN_TRIM() { trim(false, true, PV_SUB_RTRIM, "TRIM"); }
// RTRIM( cText ): the text without trailing blanks.
void PV_FUN_RTRIM() { trim(false, true, PV_SUB_RTRIM, "RTRIM"); }
// LTRIM( cText ): the text without leading blanks.
void PV_FUN_LTRIM() { trim(true, false, PV_SUB_LTRIM, "LTRIM"); }
// ALLTRIM( cText ): the text without leading and trailing blanks.
void PV_FUN_ALLTRIM() { trim(true, true, PV_SUB_ALLTRIM, "ALLTRIM"); }

enum class Align { kLeft, kRight, kCenter };

// PADx( xValue, nLength, [cFill] ): the value as text (numbers without leading blanks, dates
// by SET DATEFORMAT) cut or filled to nLength with the first character of cFill (a blank).
void pad(Align align, uint32_t subcode, const char* name) {
  PV_ITEM value = pv_param(1, PV_IT_STRING | PV_IT_NUMERIC | PV_IT_DATE | PV_IT_LOGICAL);
  PV_ITEM fillItem = pv_param(3, PV_IT_STRING);
  if (!value || !pv_ispar(2, PV_IT_NUMERIC) || !pv_rtlOptional(3, PV_IT_STRING))
    return pv_rtlArgError(subcode, name);
  double want = pv_parnd(2);
  if (want < 1) return pv_retc("");
  if (want > kMaxString) return pv_rtlError(PV_EG_STROVERFLOW, PV_SUB_STROVERFLOW, name);
  char fill = fillItem && pv_itemGetCLen(fillItem) ? pv_itemGetCPtr(fillItem)[0] : ' ';
  PV_SIZE len;
  bool freeReq;
  char* text = pv_itemPadConv(value, &len, &freeReq);
  auto n = static_cast<size_t>(want);
  std::string out;
  if (static_cast<size_t>(len) >= n) {
    out.assign(text, n);
  } else {
    size_t gap = n - static_cast<size_t>(len);
    size_t before = align == Align::kLeft ? 0 : align == Align::kRight ? gap : gap / 2;
    out.assign(before, fill);
    out.append(text, static_cast<size_t>(len)).append(gap - before, fill);
  }
  if (freeReq) pv_xfree(text);
  pv_retclen(out.data(), static_cast<PV_SIZE>(out.size()));
}

// PADR( xValue, nWidth, [cFill] ): the value as text, filled on the right to the width.
void PV_FUN_PADR() { pad(Align::kLeft, PV_SUB_PADR, "PADR"); }
// PADL( xValue, nWidth, [cFill] ): the value as text, filled on the left to the width.
void PV_FUN_PADL() { pad(Align::kRight, PV_SUB_PADL, "PADL"); }
// PADC( xValue, nWidth, [cFill] ): the value as text, centred in the width.
void PV_FUN_PADC() { pad(Align::kCenter, PV_SUB_PADC, "PADC"); }

PvSymbol s_symbols[] = {
    pv_native("TRIM", PV_FUN_TRIM),       pv_native("RTRIM", PV_FUN_RTRIM),
    pv_native("LTRIM", PV_FUN_LTRIM),     pv_native("ALLTRIM", PV_FUN_ALLTRIM),
    pv_native("PADR", PV_FUN_PADR),       pv_native("PADL", PV_FUN_PADL),
    pv_native("PADC", PV_FUN_PADC),
};
PvModuleRegistrar s_module("rtl/str_pad", s_symbols);

}  // namespace

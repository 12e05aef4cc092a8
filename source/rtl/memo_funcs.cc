// The memo-line functions: MEMOLINE, MLCOUNT, MLPOS, MLCTOPOS and MPOSTOLC lay text out in lines
// of a width (tabs, hard and soft returns, word wrap: memo_layout.h); HARDCR and MEMOTRAN
// rewrite the returns.
#include <algorithm>
#include <string>

#include "array.h"
#include "memo_layout.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

constexpr size_t kMinWidth = 4, kMaxWidth = 65535, kDefaultWidth = 79, kDefaultTab = 4;

// A numeric parameter, or `fallback` when it is absent or NIL.
double numberOr(int n, double fallback) { return pv_ispar(n, PV_IT_NUMERIC) ? pv_parnd(n) : fallback; }

// The text (parameter 1) and its layout: the width in parameter 2, the tab size and the wrap
// flag in `tabArg` and the one after it; `numbers` lists the other numeric parameters. False
// when a parameter has the wrong type.
bool readLayout(int tabArg, std::initializer_list<int> numbers, PvMemoLayout* layout) {
  bool ok = pv_ispar(1, PV_IT_STRING) && pv_rtlOptional(2, PV_IT_NUMERIC) &&
            pv_rtlOptional(tabArg, PV_IT_NUMERIC) && pv_rtlOptional(tabArg + 1, PV_IT_LOGICAL);
  for (int n : numbers) ok = ok && pv_rtlOptional(n, PV_IT_NUMERIC);
  if (!ok) return false;
  double width = numberOr(2, 0);
  layout->width = width <= 0 ? kDefaultWidth
                             : static_cast<size_t>(std::clamp(width, double(kMinWidth), double(kMaxWidth)));
  double tab = numberOr(tabArg, kDefaultTab);
  layout->tab = static_cast<size_t>(std::clamp(tab, 1.0, double(layout->width - 1)));
  layout->wrap = pv_ispar(tabArg + 1, PV_IT_LOGICAL) ? pv_parl(tabArg + 1) : true;
  return true;
}

std::vector<PvMemoLine> linesOfText(const PvMemoLayout& layout) {
  return pv_memoLines(pv_parc(1), pv_parclen(1), layout);
}

// The 0-based index of line number n (1-based) when it exists.
bool lineIndex(double n, size_t count, size_t* index) {
  if (!(n >= 1 && n <= double(count))) return false;
  *index = static_cast<size_t>(n) - 1;
  return true;
}

// MEMOLINE( cText, [nWidth], [nLine], [nTab], [lWrap] ): line nLine padded to the width; ""
// past the last line.
void PV_FUN_MEMOLINE() {
  PvMemoLayout layout;
  if (!readLayout(4, {3}, &layout)) return pv_rtlArgError(PV_SUB_MEMOLINE, "MEMOLINE");
  std::vector<PvMemoLine> lines = linesOfText(layout);
  size_t i;
  if (!lineIndex(numberOr(3, 1), lines.size(), &i)) return pv_retc("");
  std::string text = pv_memoLineText(pv_parc(1), lines[i], layout);
  pv_retclen(text.data(), static_cast<PV_SIZE>(text.size()));
}

// MLCOUNT( cText, [nWidth], [nTab], [lWrap] ): the number of lines.
void PV_FUN_MLCOUNT() {
  PvMemoLayout layout;
  if (!readLayout(3, {}, &layout)) return pv_rtlArgError(PV_SUB_MLCOUNT, "MLCOUNT");
  pv_retnint(static_cast<int64_t>(linesOfText(layout).size()));
}

// MLPOS( cText, nWidth, nLine, [nTab], [lWrap] ): the position of the first byte of line
// nLine; the text's length past the last line.
void PV_FUN_MLPOS() {
  PvMemoLayout layout;
  if (!readLayout(4, {3}, &layout)) return pv_rtlArgError(PV_SUB_MLPOS, "MLPOS");
  std::vector<PvMemoLine> lines = linesOfText(layout);
  size_t i;
  if (!lineIndex(numberOr(3, 1), lines.size(), &i)) return pv_retnint(pv_parclen(1));
  pv_retnint(static_cast<int64_t>(lines[i].start) + 1);
}

// MLCTOPOS( cText, nWidth, nLine, nCol, [nTab], [lWrap] ): the position of the byte shown at
// line nLine (from 1), column nCol (from 0); the text's length + 1 past the last line.
void PV_FUN_MLCTOPOS() {
  PvMemoLayout layout;
  if (!readLayout(5, {3, 4}, &layout)) return pv_rtlArgError(PV_SUB_MLCTOPOS, "MLCTOPOS");
  std::vector<PvMemoLine> lines = linesOfText(layout);
  size_t i;
  if (!lineIndex(numberOr(3, 1), lines.size(), &i)) return pv_retnint(pv_parclen(1) + 1);
  double col = std::clamp(numberOr(4, 0), 0.0, double(kMaxWidth));
  pv_retnint(static_cast<int64_t>(pv_memoByteAt(pv_parc(1), lines[i], size_t(col), layout)) + 1);
}

// MPOSTOLC( cText, nWidth, nPos, [nTab], [lWrap] ): { nLine, nCol } of the byte at nPos; a
// position past the end is placed after the last line's end.
void PV_FUN_MPOSTOLC() {
  PvMemoLayout layout;
  if (!readLayout(4, {3}, &layout)) return pv_rtlArgError(PV_SUB_MPOSTOLC, "MPOSTOLC");
  std::vector<PvMemoLine> lines = linesOfText(layout);
  double pos = std::clamp(numberOr(3, 1), 1.0, double(pv_parclen(1)) + 1) - 1;
  size_t line = 0, col = 0;
  while (line + 1 < lines.size() && lines[line].next <= pos) ++line;
  if (!lines.empty()) col = pv_memoColumnOf(pv_parc(1), lines[line], size_t(pos), layout);
  PV_ITEM out = pv_stackReturnItem();
  pv_arrayNew(out, 2);
  pv_itemPutNInt(pv_arrayGetItemPtr(out, 1), static_cast<int64_t>(line + 1));
  pv_itemPutNInt(pv_arrayGetItemPtr(out, 2), static_cast<int64_t>(col));
}

// Replaces every hard return (CR LF) by `hard` and every soft return (141 LF) by `soft`.
std::string translateReturns(const char* s, size_t len, const std::string& hard, const std::string& soft) {
  std::string out;
  for (size_t i = 0; i < len; ++i) {
    bool pair = i + 1 < len && s[i + 1] == '\n';
    if (pair && s[i] == '\r') out += hard;
    else if (pair && s[i] == static_cast<char>(141)) out += soft;
    else out += s[i];
    if (pair && (s[i] == '\r' || s[i] == static_cast<char>(141))) ++i;
  }
  return out;
}

void returnText(const std::string& s) { pv_retclen(s.data(), static_cast<PV_SIZE>(s.size())); }

// HARDCR( cText ): soft returns become hard returns.
void PV_FUN_HARDCR() {
  if (!pv_ispar(1, PV_IT_STRING)) return pv_rtlArgError(PV_SUB_HARDCR, "HARDCR");
  returnText(translateReturns(pv_parc(1), pv_parclen(1), "\r\n", "\r\n"));
}

// MEMOTRAN( cText, [cHard], [cSoft] ): hard returns become cHard (";"), soft ones cSoft (" ").
void PV_FUN_MEMOTRAN() {
  if (!pv_ispar(1, PV_IT_STRING) || !pv_rtlOptional(2, PV_IT_STRING) || !pv_rtlOptional(3, PV_IT_STRING))
    return pv_rtlArgError(PV_SUB_MEMOTRAN, "MEMOTRAN");
  std::string hard = pv_parc(2) ? std::string(pv_parc(2), pv_parclen(2)) : ";";
  std::string soft = pv_parc(3) ? std::string(pv_parc(3), pv_parclen(3)) : " ";
  returnText(translateReturns(pv_parc(1), pv_parclen(1), hard, soft));
}

PvSymbol s_symbols[] = {
    pv_native("MEMOLINE", PV_FUN_MEMOLINE), pv_native("MLCOUNT", PV_FUN_MLCOUNT),
    pv_native("MLPOS", PV_FUN_MLPOS),       pv_native("MLCTOPOS", PV_FUN_MLCTOPOS),
    pv_native("MPOSTOLC", PV_FUN_MPOSTOLC), pv_native("HARDCR", PV_FUN_HARDCR),
    pv_native("MEMOTRAN", PV_FUN_MEMOTRAN),
};
PvModuleRegistrar s_module("rtl/memo_funcs", s_symbols);

}  // namespace

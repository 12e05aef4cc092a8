// Key expressions of the DBFCDX driver: compiling key and FOR texts, the single-field
// shortcut, evaluating an expression in its work area, and turning values into key bytes.
#include <cctype>
#include <cstring>

#include "dynsym.h"
#include "hooks.h"
#include "rdd_cdx.h"
#include "rdd_cdx_keys.h"
#include "vm.h"

using namespace pv::cdx;

namespace {

bool IdentChar(char c) { return std::isalnum(uint8_t(c)) || c == '_'; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(uint8_t(a[i])) != std::toupper(uint8_t(b[i]))) return false;
  return true;
}

// "FIELD" or "_FIELD" abbreviated to at least 4 letters.
bool FieldQualifier(std::string_view word) {
  std::string_view full = !word.empty() && word[0] == '_' ? "_FIELD" : "FIELD";
  return word.size() >= 4 && word.size() <= full.size() && SameText(word, full.substr(0, word.size()));
}

// Strips one "qualifier ->" from the front of s; false when there is none.
bool StripQualifier(PvArea* area, std::string_view& s) {
  size_t n = 0;
  while (n < s.size() && IdentChar(s[n])) ++n;
  if (n == 0 || std::isdigit(uint8_t(s[0]))) return false;
  std::string_view word = s.substr(0, n);
  size_t p = n;
  while (p < s.size() && std::isspace(uint8_t(s[p]))) ++p;
  if (s.substr(p, 2) != "->") return false;
  const char* alias = area->alias ? pv_dynsymName(area->alias) : "";
  if (!SameText(word, alias) && !FieldQualifier(word)) return false;
  s.remove_prefix(p + 2);
  while (!s.empty() && std::isspace(uint8_t(s[0]))) s.remove_prefix(1);
  return true;
}

}  // namespace

uint16_t pv_rddFieldExpIndex(PvArea* area, const char* text) {
  std::string_view s = text ? text : "";
  while (!s.empty() && std::strchr(" \t\r\n", s[0])) s.remove_prefix(1);
  while (!s.empty() && std::strchr(" \t\r\n", s.back())) s.remove_suffix(1);
  if (s.find('>') != std::string_view::npos)
    while (StripQualifier(area, s)) {
    }
  if (s.empty() || s.size() > 64) return 0;
  for (char c : s)
    if (!IdentChar(c)) return 0;
  return pv_rddFieldIndex(area, std::string(s).c_str());
}

bool pv_cdxExprCompile(PvArea* area, const std::string& text, PV_ITEM block, PvCdxExpr& out) {
  out = {};
  if (block && PV_IS_BLOCK(block)) out.block = pv_itemNew(block);
  out.field = pv_rddFieldExpIndex(area, text.c_str());
  if (out.block || out.field) return true;
  const PvMacroHooks* hooks = pv_vmMacroHooks();
  out.macro = hooks ? hooks->compile(text.c_str(), PV_SIZE(text.size())) : nullptr;
  return out.macro != nullptr;
}

void pv_cdxExprFree(PvCdxExpr& e) {
  if (e.block) pv_itemRelease(e.block);
  if (e.macro) pv_vmMacroHooks()->remove(e.macro);
  e = {};
}

void pv_cdxExprEval(PvArea* area, const PvCdxExpr& e, PV_ITEM out) {
  pv_itemClear(out);
  if (e.field) {
    PvRddArgs x;
    x.number = e.field;
    x.item = out;
    pv_rddCall(area, PV_RDD_GETVALUE, &x);
    return;
  }
  int previous = pv_rddGetCurrentWorkAreaNumber();
  if (previous != area->areaNum) pv_rddSelectWorkAreaNumber(area->areaNum);
  if (e.block) {
    pv_itemCopy(out, pv_vmEvalBlock(e.block));
  } else if (e.macro) {
    pv_vmMacroHooks()->run(e.macro);
    pv_itemCopy(out, pv_stackItemFromTop(-1));
    pv_stackPop();
  }
  if (previous != area->areaNum) pv_rddSelectWorkAreaNumber(previous);
}

bool pv_cdxKeyTypeOf(PV_ITEM v, char* type, int* len) {
  if (PV_IS_STRING(v)) {
    *type = 'C';
    *len = int(std::min<PV_SIZE>(pv_itemGetCLen(v), kMaxKeyLen));
  } else if (PV_IS_NUMERIC(v) || PV_IS_DATE(v)) {
    *type = PV_IS_DATE(v) ? 'D' : 'N';
    *len = 8;
  } else if (PV_IS_LOGICAL(v)) {
    *type = 'L';
    *len = 1;
  } else {
    return false;
  }
  return true;
}

bool pv_cdxKeyFromItem(PV_ITEM v, char type, int keyLen, bool pad, CdxKey& out) {
  if (type == 'C' && PV_IS_STRING(v)) {
    std::string bytes = cdxKeyFromChars(std::string_view(pv_itemGetCPtr(v), size_t(pv_itemGetCLen(v))),
                                        keyLen, pad);
    out.set(bytes.data(), int(bytes.size()), out.rec);
  } else if (type == 'N' && PV_IS_NUMERIC(v)) {
    auto k = cdxKeyFromDouble(pv_itemGetND(v));
    out.set(k.data(), 8, out.rec);
  } else if (type == 'D' && PV_IS_DATE(v)) {
    auto k = cdxKeyFromJulian(pv_itemGetDL(v));
    out.set(k.data(), 8, out.rec);
  } else if (type == 'I' && PV_IS_NUMERIC(v)) {
    auto k = cdxKeyFromInt32(int32_t(pv_itemGetNL(v)));
    out.set(k.data(), 4, out.rec);
  } else if (type == 'L' && PV_IS_LOGICAL(v)) {
    uint8_t b = cdxKeyFromLogical(pv_itemGetL(v));
    out.set(&b, 1, out.rec);
  } else {
    return false;
  }
  return true;
}

// String functions that search: AT, RAT, STRTRAN and STUFF.
#include <string>
#include <string_view>

#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

std::string_view viewOf(PV_ITEM item) {
  return {pv_itemGetCPtr(item), static_cast<size_t>(pv_itemGetCLen(item))};
}

// AT( cSearch, cText, [nStart], [nEnd] ): 1-based position of the first match inside the
// range nStart..nEnd of cText, 0 when none (or when cSearch is empty).
void PV_FUN_AT() {
  PV_ITEM search = pv_param(1, PV_IT_STRING), text = pv_param(2, PV_IT_STRING);
  if (!search || !text || !pv_rtlOptional(3, PV_IT_NUMERIC) || !pv_rtlOptional(4, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_AT, "AT");
  std::string_view s = viewOf(search), t = viewOf(text);
  long long start = pv_ispar(3, PV_IT_NUMERIC) ? pv_parnll(3) : 1;
  long long end = pv_ispar(4, PV_IT_NUMERIC) ? pv_parnll(4) : static_cast<long long>(t.size());
  if (start < 1) start = 1;
  if (end > static_cast<long long>(t.size())) end = static_cast<long long>(t.size());
  if (s.empty() || start > end) return pv_retni(0);
  std::string_view range = t.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start + 1));
  size_t pos = range.find(s);
  pv_retnint(pos == std::string_view::npos ? 0 : static_cast<int64_t>(pos) + start);
}

// RAT( cSearch, cText ): 1-based position of the last match, 0 when none.
void PV_FUN_RAT() {
  PV_ITEM search = pv_param(1, PV_IT_STRING), text = pv_param(2, PV_IT_STRING);
  if (!search || !text) return pv_rtlArgError(PV_SUB_RAT, "RAT");
  std::string_view s = viewOf(search), t = viewOf(text);
  size_t pos = s.empty() ? std::string_view::npos : t.rfind(s);
  pv_retnint(pos == std::string_view::npos ? 0 : static_cast<int64_t>(pos) + 1);
}

// STRTRAN( cText, cSearch, [cReplace], [nFirst], [nCount] ): replaces the occurrences of
// cSearch, from the nFirst-th on (default 1), at most nCount of them (default all).
void PV_FUN_STRTRAN() {
  PV_ITEM text = pv_param(1, PV_IT_STRING), search = pv_param(2, PV_IT_STRING);
  PV_ITEM repl = pv_param(3, PV_IT_STRING);
  if (!text || !search || !pv_rtlOptional(3, PV_IT_STRING) ||
      !pv_rtlOptional(4, PV_IT_NUMERIC) || !pv_rtlOptional(5, PV_IT_NUMERIC))
    return pv_rtlArgError(PV_SUB_STRTRAN, "STRTRAN");
  std::string_view t = viewOf(text), s = viewOf(search);
  std::string_view r = repl ? viewOf(repl) : std::string_view();
  long long first = pv_ispar(4, PV_IT_NUMERIC) ? pv_parnll(4) : 1;
  long long count = pv_ispar(5, PV_IT_NUMERIC) ? pv_parnll(5) : -1;
  if (s.empty() || count == 0 || first < 1) return pv_retclen(t.data(), static_cast<PV_SIZE>(t.size()));
  std::string out;
  size_t at = 0;
  long long seen = 0, done = 0;
  for (size_t pos = t.find(s); pos != std::string_view::npos; pos = t.find(s, pos + s.size())) {
    if (++seen < first) continue;
    out.append(t.substr(at, pos - at)).append(r);
    at = pos + s.size();
    if (count > 0 && ++done == count) break;
  }
  out.append(t.substr(at));
  pv_retclen(out.data(), static_cast<PV_SIZE>(out.size()));
}

// STUFF( cText, nStart, nDelete, cInsert ): deletes nDelete bytes at nStart and inserts cInsert.
void PV_FUN_STUFF() {
  PV_ITEM text = pv_param(1, PV_IT_STRING), ins = pv_param(4, PV_IT_STRING);
  if (!text || !pv_ispar(2, PV_IT_NUMERIC) || !pv_ispar(3, PV_IT_NUMERIC) || !ins)
    return pv_rtlArgError(PV_SUB_STUFF, "STUFF");
  std::string_view t = viewOf(text);
  long long start = pv_parnll(2), del = pv_parnll(3);
  long long len = static_cast<long long>(t.size());
  start = start < 1 ? 0 : (start > len ? len : start - 1);
  del = del < 0 ? 0 : (del > len - start ? len - start : del);
  std::string out(t.substr(0, static_cast<size_t>(start)));
  out.append(viewOf(ins)).append(t.substr(static_cast<size_t>(start + del)));
  pv_retclen(out.data(), static_cast<PV_SIZE>(out.size()));
}

PvSymbol s_symbols[] = {
    pv_native("AT", PV_FUN_AT),
    pv_native("RAT", PV_FUN_RAT),
    pv_native("STRTRAN", PV_FUN_STRTRAN),
    pv_native("STUFF", PV_FUN_STUFF),
};
PvModuleRegistrar s_module("rtl/str_search", s_symbols);

}  // namespace

// ADIR: a folder listing spread over parallel arrays.
#include <string>

#include "array.h"
#include "file_state.h"
#include "registrar.h"
#include "rtl_args.h"
#include "time_text.h"
#include "vm.h"

namespace {

constexpr int kColumns = 5;  // names, sizes, dates, times, attributes

// Stores `value` as element n of the array parameter `param` when it has one.
void storeInto(int param, PV_SIZE n, PV_ITEM value) {
  if (PV_ITEM a = pv_param(param, PV_IT_ARRAY)) pv_arraySet(a, n, value);
}

void storeEntry(const PvDirEntry& e, PV_SIZE n) {
  PvItem v = {PV_IT_NIL, {}};
  pv_itemPutCL(&v, e.name.data(), static_cast<PV_SIZE>(e.name.size()));
  storeInto(2, n, &v);
  storeInto(3, n, pv_itemPutNInt(&v, static_cast<int64_t>(e.size)));
  storeInto(4, n, pv_itemPutDL(&v, e.julian));
  storeInto(5, n, pv_itemPutC(&v, pv_rtlTimeText(e.millis).c_str()));
  storeInto(6, n, pv_itemPutC(&v, pv_rtlAttributeText(e).c_str()));
  pv_itemClear(&v);
}

// ADIR( [cSpec], [aNames], [aSizes], [aDates], [aTimes], [aAttributes] ): the number of entries
// matching cSpec ("*.*"), stored into the given arrays as far as they reach (they are not
// grown). Folders and hidden entries count only when aAttributes is given.
void PV_FUN_ADIR() {
  bool ok = pv_rtlOptional(1, PV_IT_STRING);
  for (int i = 2; i <= 1 + kColumns; ++i) ok = ok && pv_rtlOptional(i, PV_IT_ARRAY);
  if (!ok) return pv_rtlArgError(PV_SUB_ADIR, "ADIR");
  const char* spec = pv_parc(1);
  bool all = pv_param(6, PV_IT_ARRAY) != nullptr;
  PV_SIZE n = 0;
  for (const PvDirEntry& e : pv_rtlListFolder(spec && *spec ? spec : "*")) {
    if (!all && (e.folder || e.hidden)) continue;
    storeEntry(e, ++n);
  }
  pv_retnint(n);
}

PvSymbol s_symbols[] = {
    pv_native("ADIR", PV_FUN_ADIR),
};
PvModuleRegistrar s_module("rtl/file_adir", s_symbols);

}  // namespace

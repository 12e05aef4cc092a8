// Copying records between tables: __DBCOPY (to a new table) and __DBAPP (from another table),
// field by field through the drivers' getValue and putValue, over a scope; __DBARRANGE (a
// sorted copy into another open area) through the source driver's sort.
#include <cstring>

#include "array.h"
#include "errors.h"
#include "rddapi.h"
#include "rdd_funcs_int.h"
#include "registrar.h"
#include "vm.h"

namespace {

// Element `k` of a field list: a name, or a structure entry whose first element is the name.
const char* NameAt(PV_ITEM names, PV_SIZE k) {
  PV_ITEM e = pv_arrayGetItemPtr(names, k);
  if (e && PV_IS_ARRAY(e)) return pv_arrayGetCPtr(e, 1);
  return pv_arrayGetCPtr(names, k);
}

// Pairs of (source field, target field), 1-based, for the fields both areas have by name, in
// the source's order, limited to `names` (names or structure entries) when that is a non-empty
// array.
std::vector<std::pair<long, long>> MapFields(PvArea* from, PvArea* to, PV_ITEM names) {
  std::vector<std::pair<long, long>> map;
  for (size_t i = 0; i < from->fields.size(); ++i) {
    const std::string& name = from->fields[i].name;
    if (names && pv_arrayLen(names) > 0) {
      bool listed = false;
      for (PV_SIZE k = 1; k <= pv_arrayLen(names) && !listed; ++k) {
        const char* n = NameAt(names, k);
        listed = n && pv_rddFieldIndex(from, n) == i + 1;
      }
      if (!listed) continue;
    }
    if (uint16_t target = pv_rddFieldIndex(to, name.c_str())) map.push_back({long(i + 1), target});
  }
  return map;
}

// Appends the current record of `from` to `to` through the mapping.
bool CopyRecord(PvArea* from, PvArea* to, const std::vector<std::pair<long, long>>& map) {
  PvRddArgs append;
  append.flag = true;
  if (pv_rddCall(to, PV_RDD_APPEND, &append) != PV_SUCCESS) return false;
  PvItem value = {PV_IT_NIL, {}};
  bool ok = true;
  for (auto [source, target] : map) {
    PvRddArgs get, put;
    get.number = source, get.item = &value;
    put.number = target, put.item = &value;
    ok = ok && pv_rddCall(from, PV_RDD_GETVALUE, &get) == PV_SUCCESS &&
         pv_rddCall(to, PV_RDD_PUTVALUE, &put) == PV_SUCCESS;
  }
  pv_itemClear(&value);
  return ok;
}

// Walks the scope of parameters 3–7 in `from`, copying every record that passes into `to`.
void CopyScope(PvArea* from, PvArea* to, PV_ITEM names) {
  auto map = MapFields(from, to, names);
  PvScope scope = RddScopeParams(3);
  int saved = pv_rddGetCurrentWorkAreaNumber();
  pv_rddSelectWorkAreaNumber(from->areaNum);  // blocks see the source area
  pv_rddWalkScope(from, scope, true, [&] { return CopyRecord(from, to, map); });
  pv_rddSelectWorkAreaNumber(saved);
}

// The structure array of `area` limited to `names` (all fields when empty).
void StructureOf(PvArea* area, PV_ITEM names, PV_ITEM out) {
  pv_arrayNew(out, 0);
  PvItem field = {PV_IT_NIL, {}};
  for (size_t i = 1; i <= area->fields.size(); ++i) {
    bool listed = !names || pv_arrayLen(names) == 0;
    for (PV_SIZE k = 1; !listed && k <= pv_arrayLen(names); ++k) {
      const char* n = pv_arrayGetCPtr(names, k);
      listed = n && pv_rddFieldIndex(area, n) == i;
    }
    if (!listed) continue;
    RddFieldRow(area, long(i), &field);
    pv_arrayAdd(out, &field);
  }
  pv_itemClear(&field);
}

// __DBCOPY(file, fields, for, while, next, record, rest, driver): copies the scope of the
// current area into a new table.
void PV_FUN___DBCOPY() {
  PvArea* from = pv_rddGetCurrentWorkAreaPointer();
  if (!from) return pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, "__DBCOPY"), pv_retl(false);
  PV_ITEM names = pv_param(2, PV_IT_ARRAY);
  int saved = pv_rddGetCurrentWorkAreaNumber();
  PvItem structure = {PV_IT_NIL, {}};
  StructureOf(from, names, &structure);
  pv_rddSelectFirstAvailable();
  int target = pv_rddGetCurrentWorkAreaNumber();
  std::string alias = pv_rddGetTempAlias();
  bool ok = pv_rddCreateTable(pv_parc(1), pv_parc(8), uint16_t(target), alias.c_str(), true,
                              &structure) == PV_SUCCESS;
  pv_itemClear(&structure);
  if (ok) {
    PvArea* to = pv_rddGetWorkAreaPointer(target);
    pv_rddSelectWorkAreaNumber(saved);
    CopyScope(from, to, names);
    pv_rddSelectWorkAreaNumber(target);
    pv_rddReleaseCurrentArea();
  }
  pv_rddSelectWorkAreaNumber(saved);
  pv_retl(ok);
}

// __DBAPP(file, fields, for, while, next, record, rest, driver): appends the scope of another
// table to the current area.
void PV_FUN___DBAPP() {
  PvArea* to = pv_rddGetCurrentWorkAreaPointer();
  if (!to) return pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, "__DBAPP"), pv_retl(false);
  int saved = pv_rddGetCurrentWorkAreaNumber();
  pv_rddSelectFirstAvailable();
  int source = pv_rddGetCurrentWorkAreaNumber();
  std::string alias = pv_rddGetTempAlias();
  bool ok = pv_rddOpenTable(pv_parc(1), pv_parc(8), uint16_t(source), alias.c_str(), true, true) ==
            PV_SUCCESS;
  if (ok) {
    PvArea* from = pv_rddGetWorkAreaPointer(source);
    pv_rddSelectWorkAreaNumber(saved);
    CopyScope(from, to, pv_param(2, PV_IT_ARRAY));
    pv_rddSelectWorkAreaNumber(source);
    pv_rddReleaseCurrentArea();
  }
  pv_rddSelectWorkAreaNumber(saved);
  pv_retl(ok);
}

// A sort key "NAME[/switches]": A ascending (the default), D descending, C without regard to
// case. False when the field does not exist.
bool ParseKey(PvArea* area, const char* text, PvSortKey* key) {
  std::string name = text ? text : "";
  size_t slash = name.find('/');
  std::string switches = slash == std::string::npos ? "" : name.substr(slash + 1);
  if (slash != std::string::npos) name.resize(slash);
  key->field = pv_rddFieldIndex(area, name.c_str());
  for (char c : switches) {
    c = char(std::toupper(uint8_t(c)));
    if (c == 'D') key->descending = true;
    if (c == 'A') key->descending = false;
    if (c == 'C') key->noCase = true;
  }
  return key->field != 0;
}

// __DBARRANGE(target area, structure, for, while, next, record, rest, keys): writes the records
// of the scope of the current area that pass the for-block into the open area `target`, in the
// order of `keys` (an array of "NAME[/A|/D][/C]" texts); the fields copied are those named by
// the structure array (all fields when it is empty) that the target has too.
void PV_FUN___DBARRANGE() {
  PvArea* from = pv_rddGetCurrentWorkAreaPointer();
  if (!from) return pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, "__DBARRANGE"), pv_retl(false);
  PvSortInfo sort;
  sort.target = pv_param(1, PV_IT_NUMERIC) ? pv_rddGetWorkAreaPointer(pv_parni(1)) : nullptr;
  if (!sort.target || sort.target == from) {
    return pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, "__DBARRANGE"), pv_retl(false);
  }
  PV_ITEM keys = pv_param(8, PV_IT_ARRAY);
  for (PV_SIZE k = 1; keys && k <= pv_arrayLen(keys); ++k) {
    PvSortKey key;
    if (!ParseKey(from, pv_arrayGetCPtr(keys, k), &key)) {
      return pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "__DBARRANGE"), pv_retl(false);
    }
    sort.keys.push_back(key);
  }
  for (auto [source, target] : MapFields(from, sort.target, pv_param(2, PV_IT_ARRAY))) {
    sort.fields.push_back({uint16_t(source), uint16_t(target)});
  }
  sort.scope = RddScopeParams(3);
  PvRddArgs x;
  x.ptr = &sort;
  pv_retl(pv_rddCall(from, PV_RDD_SORT, &x) == PV_SUCCESS);
}

PvSymbol s_symbols[] = {
    pv_native("__DBARRANGE", PV_FUN___DBARRANGE),
    pv_native("__DBCOPY", PV_FUN___DBCOPY),
    pv_native("__DBAPP", PV_FUN___DBAPP),
};
PvModuleRegistrar s_module("rdd/transfer", s_symbols);

}  // namespace

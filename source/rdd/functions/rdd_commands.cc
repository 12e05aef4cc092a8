// The table helpers behind the standard commands COPY STRUCTURE (__DBCOPYSTRUCT), SORT
// (__DBSORT), TOTAL (__DBTOTAL), LIST and DISPLAY (__DBLIST). They work on the current area and
// leave it selected; a new table they write is created in a free area and closed again.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "array.h"
#include "compare.h"
#include "dynsym.h"
#include "errors.h"
#include "rddapi.h"
#include "rdd_funcs_int.h"
#include "registrar.h"
#include "vm.h"

namespace {

// Calls the language function `name`; its result is left in the return slot.
void Call(const char* name, std::initializer_list<PV_ITEM> args) {
  pv_vmPushDynSym(pv_dynsymGet(name));
  pv_vmPushNil();
  for (PV_ITEM a : args) pv_vmPush(a);
  pv_vmDo(uint16_t(args.size()));
}

std::string Trimmed(const char* text) {
  std::string s;
  for (const char* p = text ? text : ""; *p; ++p)
    if (!std::isspace(uint8_t(*p))) s += char(std::toupper(uint8_t(*p)));
  return s;
}

// The structure array of the current area, limited to the fields named in `names` (in their
// order) when that is a non-empty array. False when a name is not a field.
bool Structure(PV_ITEM names, PV_ITEM out) {
  Call("DBSTRUCT", {});
  PvItem all = {PV_IT_NIL, {}};
  pv_itemCopy(&all, pv_stackReturnItem());
  bool ok = true;
  if (!names || pv_arrayLen(names) == 0) {
    pv_itemCopy(out, &all);
  } else {
    pv_arrayNew(out, 0);
    for (PV_SIZE k = 1; k <= pv_arrayLen(names); ++k) {
      std::string wanted = Trimmed(pv_arrayGetCPtr(names, k));
      bool found = false;
      for (PV_SIZE i = 1; i <= pv_arrayLen(&all) && !found; ++i) {
        PV_ITEM field = pv_arrayGetItemPtr(&all, i);
        if (Trimmed(pv_arrayGetCPtr(field, 1)) == wanted) {
          pv_arrayAdd(out, field);
          found = true;
        }
      }
      ok = ok && found;
    }
  }
  pv_itemClear(&all);
  return ok;
}

// A new table `file` with `structure`, open in a free area under a temporary alias; the area's
// number, or 0 after an error (already raised). The current area stays selected.
int CreateTarget(const char* file, const char* driver, PV_ITEM structure) {
  int saved = pv_rddGetCurrentWorkAreaNumber();
  pv_rddSelectFirstAvailable();
  int target = pv_rddGetCurrentWorkAreaNumber();
  std::string alias = pv_rddGetTempAlias();
  bool ok = pv_rddCreateTable(file, driver, uint16_t(target), alias.c_str(), true, structure) ==
            PV_SUCCESS;
  pv_rddSelectWorkAreaNumber(saved);
  return ok ? target : 0;
}

void CloseArea(int number) {
  int saved = pv_rddGetCurrentWorkAreaNumber();
  pv_rddSelectWorkAreaNumber(number);
  pv_rddReleaseCurrentArea();
  pv_rddSelectWorkAreaNumber(saved);
}

bool GetValue(PvArea* a, long field, PV_ITEM value) {
  PvRddArgs x;
  x.number = field;
  x.item = value;
  return pv_rddCall(a, PV_RDD_GETVALUE, &x) == PV_SUCCESS;
}

bool PutValue(PvArea* a, long field, PV_ITEM value) {
  PvRddArgs x;
  x.number = field;
  x.item = value;
  return pv_rddCall(a, PV_RDD_PUTVALUE, &x) == PV_SUCCESS;
}

// __DBCOPYSTRUCT(file, fields): an empty table with the structure of the current area (or of
// the fields named).
void PV_FUN___DBCOPYSTRUCT() {
  if (!RddAreaOrError("__DBCOPYSTRUCT")) return pv_retl(false);
  PvItem structure = {PV_IT_NIL, {}};
  bool ok = Structure(pv_param(2, PV_IT_ARRAY), &structure);
  if (!ok) pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "__DBCOPYSTRUCT");
  int target = ok ? CreateTarget(pv_parc(1), nullptr, &structure) : 0;
  if (target) CloseArea(target);
  pv_itemClear(&structure);
  pv_retl(target != 0);
}

// __DBSORT(file, keys, for, while, next, record, rest, driver): a new table with the records of
// the scope in the order of the keys ("NAME[/A|/D|/C]").
void PV_FUN___DBSORT() {
  if (!RddAreaOrError("__DBSORT")) return pv_retl(false);
  PvItem structure = {PV_IT_NIL, {}}, keys = {PV_IT_NIL, {}}, number = {PV_IT_NIL, {}},
         allFields = {PV_IT_NIL, {}};
  Structure(nullptr, &structure);
  int target = CreateTarget(pv_parc(1), pv_parc(8), &structure);
  pv_itemClear(&structure);
  if (!target) return pv_retl(false);
  PV_ITEM given = pv_param(2, PV_IT_ARRAY);
  pv_arrayNew(&keys, 0);
  for (PV_SIZE k = 1; given && k <= pv_arrayLen(given); ++k) {
    PvItem key = {PV_IT_NIL, {}};
    pv_itemPutC(&key, Trimmed(pv_arrayGetCPtr(given, k)).c_str());
    pv_arrayAdd(&keys, &key);
    pv_itemClear(&key);
  }
  pv_itemPutNI(&number, target);
  Call("__DBARRANGE", {&number, &allFields, pv_paramError(3), pv_paramError(4),
                       pv_paramError(5), pv_paramError(6), pv_paramError(7), &keys});
  bool ok = pv_itemGetL(pv_stackReturnItem());
  pv_itemClear(&keys);
  CloseArea(target);
  pv_retl(ok);
}

// One record of TOTAL: a copy of the first record of a run of equal keys, with the numeric
// fields among `sums` added up over the run.
struct Totaller {
  PvArea* from;
  PvArea* to;
  std::vector<std::pair<long, long>> fields;  // (source, target) for every field of the target
  std::vector<std::pair<long, long>> sums;
  PvItem value = {PV_IT_NIL, {}}, total = {PV_IT_NIL, {}};

  bool start() {
    PvRddArgs append;
    append.flag = true;
    if (pv_rddCall(to, PV_RDD_APPEND, &append) != PV_SUCCESS) return false;
    for (auto [source, target] : fields)
      if (!GetValue(from, source, &value) || !PutValue(to, target, &value)) return false;
    return true;
  }
  bool add() {
    for (auto [source, target] : sums) {
      if (!GetValue(from, source, &value) || !GetValue(to, target, &total)) return false;
      if (!PV_IS_NUMERIC(&value)) continue;  // only numeric fields add up
      pv_itemPutND(&total, pv_itemGetND(&total) + pv_itemGetND(&value));
      if (!PutValue(to, target, &total)) return false;
    }
    return true;
  }
  ~Totaller() {
    pv_itemClear(&value);
    pv_itemClear(&total);
  }
};

// __DBTOTAL(file, key block, fields, for, while, next, record, rest, driver)
void PV_FUN___DBTOTAL() {
  PvArea* from = RddAreaOrError("__DBTOTAL");
  PV_ITEM keyBlock = pv_param(2, PV_IT_BLOCK);
  if (!from) return pv_retl(false);
  if (!keyBlock) return pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "__DBTOTAL"), pv_retl(false);
  PvItem structure = {PV_IT_NIL, {}};
  Structure(nullptr, &structure);
  int target = CreateTarget(pv_parc(1), pv_parc(9), &structure);
  pv_itemClear(&structure);
  if (!target) return pv_retl(false);
  Totaller t{from, pv_rddGetWorkAreaPointer(target), {}, {}};
  for (size_t i = 1; i <= from->fields.size(); ++i) t.fields.push_back({long(i), long(i)});
  PV_ITEM names = pv_param(3, PV_IT_ARRAY);
  for (PV_SIZE k = 1; names && k <= pv_arrayLen(names); ++k) {
    std::string name = Trimmed(pv_arrayGetCPtr(names, k));
    uint16_t field = pv_rddFieldIndex(from, name.c_str());
    if (field) t.sums.push_back({field, field});
  }
  PvItem lastKey = {PV_IT_NIL, {}};
  bool first = true, ok = true;
  pv_rddWalkScope(from, RddScopeParams(4), true, [&] {
    PV_ITEM key = pv_vmEvalBlock(keyBlock);
    int order = 0;
    bool same = !first && pv_itemRelCompare(key, &lastKey, true, &order) && order == 0;
    if (!same) pv_itemCopy(&lastKey, key);
    first = false;
    ok = same ? t.add() : t.start();
    return ok;
  });
  pv_itemClear(&lastKey);
  CloseArea(target);
  pv_retl(ok);
}

// __DBLIST(off, blocks, all, for, while, next, record, rest): prints, for each record of the
// scope, its number (unless `off`) and the values of the blocks (of all fields when there are
// none) as QOUT does. Without `all` and any scope, only the current record.
void PV_FUN___DBLIST() {
  PvArea* a = RddAreaOrError("__DBLIST");
  if (!a) return pv_ret();
  bool off = pv_parl(1);
  PV_ITEM blocks = pv_param(2, PV_IT_ARRAY);
  PvScope scope = RddScopeParams(4);
  bool whole = pv_parl(3) || scope.forBlock || scope.whileBlock || scope.next || scope.record ||
               scope.rest;
  if (!whole) scope.next = 1;
  PvItem value = {PV_IT_NIL, {}};
  pv_rddWalkScope(a, scope, whole, [&] {
    pv_vmPushDynSym(pv_dynsymGet("QOUT"));
    pv_vmPushNil();
    int argc = 0;
    if (!off) {
      PvRddArgs x;
      pv_rddCall(a, PV_RDD_RECNO, &x);
      char number[24];
      std::snprintf(number, sizeof number, "%7ld", x.number);
      pv_vmPushString(number, PV_SIZE(std::strlen(number)));
      ++argc;
    }
    size_t count = blocks && pv_arrayLen(blocks) ? pv_arrayLen(blocks) : a->fields.size();
    for (size_t i = 1; i <= count; ++i, ++argc) {
      if (blocks && pv_arrayLen(blocks)) {
        pv_vmPush(pv_vmEvalBlock(pv_arrayGetItemPtr(blocks, PV_SIZE(i))));
      } else {
        GetValue(a, long(i), &value);
        pv_vmPush(&value);
      }
    }
    pv_vmDo(uint16_t(argc));
    return true;
  });
  pv_itemClear(&value);
  pv_ret();
}

PvSymbol s_symbols[] = {
    pv_native("__DBCOPYSTRUCT", PV_FUN___DBCOPYSTRUCT),
    pv_native("__DBSORT", PV_FUN___DBSORT),
    pv_native("__DBTOTAL", PV_FUN___DBTOTAL),
    pv_native("__DBLIST", PV_FUN___DBLIST),
};
PvModuleRegistrar s_module("rdd/commands", s_symbols);

}  // namespace

// Language functions of the table engine (work areas, navigation, fields, records, locks) and
// the hooks that give compiled code field access by name.
#include <cstring>

#include "array.h"
#include "dynsym.h"
#include "errint.h"
#include "errors.h"
#include "hooks.h"
#include "rdd_dbf.h"
#include "rddapi.h"
#include "registrar.h"
#include "set.h"
#include "start.h"
#include "vm.h"

namespace {

// The current area, or nullptr after raising "Workarea not in use" for `function`.
PvArea* AreaOrError(const char* function) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) pv_errRT_DBCMD(PV_EG_NOTABLE, 2001, nullptr, function);
  return a;
}

bool Flag(int slot, bool without_area) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return without_area;
  PvRddArgs x;
  pv_rddCall(a, slot, &x);
  return x.flag;
}

long Number(int slot) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return 0;
  PvRddArgs x;
  pv_rddCall(a, slot, &x);
  return x.number;
}

void Move(const char* function, int slot, long n = 0) {
  if (PvArea* a = AreaOrError(function)) pv_rddCallN(a, slot, n);
  pv_ret();
}

// ---- work areas -------------------------------------------------------------------------------

void PV_FUN_DBUSEAREA() {
  bool shared = pv_param(5, PV_IT_LOGICAL) ? pv_parl(5) : !pv_setExclusive();
  if (pv_parl(1)) pv_rddSelectFirstAvailable();  // a new area, else the current one
  uint16_t area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  pv_retl(pv_rddOpenTable(pv_parc(3), pv_parc(2), area, pv_parc(4), shared, pv_parl(6)) ==
          PV_SUCCESS);
}

void PV_FUN_DBCREATE() {
  PV_ITEM structure = pv_param(2, PV_IT_ARRAY);
  bool valid = structure != nullptr;
  for (PV_SIZE i = 1; valid && i <= pv_arrayLen(structure); ++i) {
    PV_ITEM e = pv_arrayGetItemPtr(structure, i);
    valid = PV_IS_ARRAY(e) && pv_arrayLen(e) >= 4 && (pv_arrayGetType(e, 1) & PV_IT_STRING) &&
            (pv_arrayGetType(e, 2) & PV_IT_STRING) && (pv_arrayGetType(e, 3) & PV_IT_NUMERIC) &&
            (pv_arrayGetType(e, 4) & PV_IT_NUMERIC);
  }
  if (!valid || !pv_parc(1)) {
    pv_errRT_DBCMD(PV_EG_ARG, 1014, nullptr, "DBCREATE");
    pv_retl(false);
    return;
  }
  PV_ITEM keep = pv_param(4, PV_IT_LOGICAL);
  uint16_t area = 0;
  if (keep && pv_itemGetL(keep)) {
    pv_rddSelectFirstAvailable();
    area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  } else if (keep) {
    area = uint16_t(pv_rddGetCurrentWorkAreaNumber());
  }
  pv_retl(pv_rddCreateTable(pv_parc(1), pv_parc(3), area, pv_parc(5), keep != nullptr,
                            structure) == PV_SUCCESS);
}

void PV_FUN_DBSELECTAREA() {
  if (const char* alias = pv_parc(1)) {
    pv_rddSelectWorkAreaAlias(alias);
    if (pv_rddGetCurrentWorkAreaNumber() == 65535) pv_rddSelectFirstAvailable();
  } else {
    int n = pv_parni(1);
    if (n < 1 || n > 65534) {
      pv_rddSelectFirstAvailable();
    } else {
      pv_rddSelectWorkAreaNumber(n);
    }
  }
  pv_ret();
}

void PV_FUN_SELECT() {
  const char* alias = pv_parc(1);
  if (!alias) {
    pv_retni(pv_rddGetCurrentWorkAreaNumber());
    return;
  }
  int area = 0;
  pv_retni(pv_rddVerifyAliasName(alias) && pv_rddGetAliasNumber(alias, &area) == PV_SUCCESS ? area : 0);
}

void PV_FUN_ALIAS() {
  PvArea* a = pv_rddGetWorkAreaPointer(pv_parni(1));
  PvItem result = {PV_IT_NIL, {}};
  pv_itemPutC(&result, "");
  if (a) {
    PvRddArgs x;
    x.item = &result;
    pv_rddCall(a, PV_RDD_ALIAS, &x);
  }
  pv_itemReturn(&result);
  pv_itemClear(&result);
}

void PV_FUN_USED() { pv_retl(pv_rddGetCurrentWorkAreaPointer() != nullptr); }
void PV_FUN_DBCLOSEAREA() {
  pv_rddReleaseCurrentArea();
  pv_ret();
}
void PV_FUN_DBCLOSEALL() {
  pv_rddCloseAll();
  pv_ret();
}

void PV_FUN_RDDSETDEFAULT() {
  std::string old = pv_rddDefaultDrv(nullptr);
  if (const char* name = pv_parc(1)) {
    if (*name && !pv_rddDefaultDrv(name)) pv_errRT_DBCMD(PV_EG_ARG, 1015, nullptr, "RDDSETDEFAULT");
  }
  pv_retc(old.c_str());
}
void PV_FUN_DBSETDRIVER() { PV_FUN_RDDSETDEFAULT(); }

void PV_FUN_RDDLIST() {
  std::vector<std::string> names = pv_rddList(uint16_t(pv_parni(1)));
  PvItem list = {PV_IT_NIL, {}}, name = {PV_IT_NIL, {}};
  pv_arrayNew(&list, 0);
  for (const std::string& n : names) pv_arrayAdd(&list, pv_itemPutC(&name, n.c_str()));
  pv_itemReturn(&list);
  pv_itemClear(&list);
  pv_itemClear(&name);
}

void PV_FUN_RDDNAME() {
  PvArea* a = AreaOrError("RDDNAME");
  if (!a) return pv_retc("");
  PvItem name = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.item = &name;
  pv_rddCall(a, PV_RDD_SYSNAME, &x);
  pv_itemReturn(&name);
  pv_itemClear(&name);
}

void PV_FUN_NETERR() {
  bool old = pv_rddGetNetErr();
  if (pv_param(1, PV_IT_LOGICAL)) pv_rddSetNetErr(pv_parl(1));
  pv_retl(old);
}

// ---- navigation and flags ---------------------------------------------------------------------

void PV_FUN_DBGOTOP() { Move("DBGOTOP", PV_RDD_GOTOP); }
void PV_FUN_DBGOBOTTOM() { Move("DBGOBOTTOM", PV_RDD_GOBOTTOM); }
void PV_FUN_DBSKIP() { Move("DBSKIP", PV_RDD_SKIP, pv_param(1, PV_IT_NUMERIC) ? pv_parnl(1) : 1); }

void PV_FUN_DBGOTO() {
  PvArea* a = AreaOrError("DBGOTO");
  if (!a) return pv_ret();
  if (pv_pcount() < 1) {
    pv_errRT_DBCMD(PV_EG_ARG, 1003, nullptr, "DBGOTO");
    return pv_ret();
  }
  PvRddArgs x;
  x.item = pv_paramError(1);
  pv_rddCall(a, PV_RDD_GOTOID, &x);
  pv_ret();
}

void PV_FUN_BOF() { pv_retl(Flag(PV_RDD_BOF, true)); }
void PV_FUN_EOF() { pv_retl(Flag(PV_RDD_EOF, true)); }
void PV_FUN_FOUND() { pv_retl(Flag(PV_RDD_FOUND, false)); }
void PV_FUN_DELETED() { pv_retl(Flag(PV_RDD_DELETED, false)); }
void PV_FUN_RECNO() { pv_retnl(Number(PV_RDD_RECNO)); }
void PV_FUN_RECCOUNT() { pv_retnl(Number(PV_RDD_RECCOUNT)); }
void PV_FUN_LASTREC() { pv_retnl(Number(PV_RDD_RECCOUNT)); }
void PV_FUN_FCOUNT() { pv_retnl(Number(PV_RDD_FIELDCOUNT)); }

// ---- fields -----------------------------------------------------------------------------------

void PV_FUN_FIELDGET() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long n = pv_parnl(1);
  PvItem value = {PV_IT_NIL, {}};
  if (a && n > 0) {
    PvRddArgs x;
    x.number = n;
    x.item = &value;
    pv_rddCall(a, PV_RDD_GETVALUE, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_FIELDPUT() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  long n = pv_parnl(1);
  PV_ITEM value = pv_paramError(2);
  if (!a || n <= 0 || PV_IS_NIL(value)) return pv_ret();
  PvRddArgs x;
  x.number = n;
  x.item = value;
  if (pv_rddCall(a, PV_RDD_PUTVALUE, &x) == PV_SUCCESS) {
    pv_itemReturn(value);
  } else {
    pv_ret();
  }
}

void PV_FUN_FIELDPOS() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  const char* name = pv_parc(1);
  pv_retni(a && name ? pv_rddFieldIndex(a, name) : 0);
}

void PV_FUN_FIELDNAME() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem name = {PV_IT_NIL, {}};
  pv_itemPutC(&name, "");
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(1);
    x.item = &name;
    pv_rddCall(a, PV_RDD_FIELDNAME, &x);
  }
  pv_itemReturn(&name);
  pv_itemClear(&name);
}

void PV_FUN_DBSTRUCT() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem list = {PV_IT_NIL, {}}, code = {PV_IT_NIL, {}};
  pv_arrayNew(&list, 0);
  for (size_t i = 1; a && i <= a->fields.size(); ++i) {
    PvItem field = {PV_IT_NIL, {}};
    pv_arrayNew(&field, 5);
    for (int c = 1; c <= 5; ++c) {
      PvRddArgs x;
      x.number = long(i);
      x.item = pv_arrayGetItemPtr(&field, c);
      x.item2 = pv_itemPutNI(&code, c);
      pv_rddCall(a, PV_RDD_FIELDINFO, &x);
    }
    pv_arrayAddForward(&list, &field);
  }
  pv_itemReturn(&list);
  pv_itemClear(&list);
  pv_itemClear(&code);
}

// ---- records, commits and locks ---------------------------------------------------------------

void PV_FUN_DBAPPEND() {
  PvArea* a = AreaOrError("DBAPPEND");
  pv_rddSetNetErr(false);
  if (!a) return pv_retl(false);
  PvRddArgs x;
  x.flag = pv_param(1, PV_IT_LOGICAL) ? pv_parl(1) : true;
  pv_retl(pv_rddCall(a, PV_RDD_APPEND, &x) == PV_SUCCESS);
}

void PV_FUN_DBDELETE() { Move("DBDELETE", PV_RDD_DELETE); }
void PV_FUN_DBRECALL() { Move("DBRECALL", PV_RDD_RECALL); }
void PV_FUN_DBCOMMIT() { Move("DBCOMMIT", PV_RDD_FLUSH); }
void PV_FUN_DBCOMMITALL() {
  pv_rddFlushAll();
  pv_ret();
}

void PV_FUN_DBUNLOCK() {
  if (PvArea* a = AreaOrError("DBUNLOCK")) {
    PvRddArgs x;
    pv_rddCall(a, PV_RDD_UNLOCK, &x);
  }
  pv_ret();
}
void PV_FUN_DBUNLOCKALL() {
  pv_rddUnLockAll();
  pv_ret();
}

bool LockWith(const char* function, long method, PV_ITEM record) {
  PvArea* a = AreaOrError(function);
  if (!a) return false;
  PvRddArgs x;
  x.number = method;
  x.item = record;
  pv_rddCall(a, PV_RDD_LOCK, &x);
  return x.flag;
}

void PV_FUN_RLOCK() { pv_retl(LockWith("RLOCK", 1, nullptr)); }
void PV_FUN_FLOCK() { pv_retl(LockWith("FLOCK", 3, nullptr)); }
void PV_FUN_DBRLOCK() {
  PV_ITEM rec = pv_param(1, PV_IT_NUMERIC);
  pv_retl(LockWith("DBRLOCK", rec ? 2 : 1, rec));
}

void PV_FUN___DBPACK() { Move("__DBPACK", PV_RDD_PACK); }
void PV_FUN___DBZAP() { Move("__DBZAP", PV_RDD_ZAP); }

void InfoReturn(long code) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = code;
    x.item = &value;
    pv_rddCall(a, PV_RDD_INFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_HEADER() {
  if (!pv_rddGetCurrentWorkAreaPointer()) return pv_retni(0);
  InfoReturn(3);
}
void PV_FUN_LUPDATE() { InfoReturn(4); }
void PV_FUN_DBINFO() { InfoReturn(pv_parnl(1)); }

// ---- filters, evaluation and locate ------------------------------------------------------------

void PV_FUN_DBSETFILTER() {
  if (PvArea* a = AreaOrError("DBSETFILTER")) {
    PvRddArgs x;
    x.item = pv_param(1, PV_IT_BLOCK);
    x.item2 = pv_param(2, PV_IT_STRING);
    pv_rddCall(a, PV_RDD_SETFILTER, &x);
  }
  pv_ret();
}

void PV_FUN_DBCLEARFILTER() {
  if (PvArea* a = AreaOrError("DBCLEARFILTER")) pv_rddCall(a, PV_RDD_CLEARFILTER);
  pv_ret();
}

void PV_FUN_DBFILTER() {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  pv_retc(a ? a->filterText.c_str() : "");
}

// The scope of DBEVAL and __DBLOCATE: for, while, next, record, rest from parameter `first`.
PvScope ScopeFrom(int first) {
  PvScope s;
  s.forBlock = pv_param(first, PV_IT_BLOCK);
  s.whileBlock = pv_param(first + 1, PV_IT_BLOCK);
  s.next = pv_param(first + 2, PV_IT_NUMERIC) ? pv_parnl(first + 2) : 0;
  s.record = pv_param(first + 3, PV_IT_NUMERIC);
  s.rest = pv_parl(first + 4);
  return s;
}

void PV_FUN_DBEVAL() {
  PvArea* a = AreaOrError("DBEVAL");
  PV_ITEM block = pv_param(1, PV_IT_BLOCK);
  if (a && block) {
    PvScope scope = ScopeFrom(2);
    PvRddArgs x;
    x.item = block;
    x.ptr = &scope;
    pv_rddCall(a, PV_RDD_DBEVAL, &x);
  } else if (a) {
    pv_errRT_DBCMD(PV_EG_ARG, 2019, nullptr, "DBEVAL");
  }
  pv_ret();
}

void PV_FUN___DBLOCATE() {
  if (PvArea* a = AreaOrError("__DBLOCATE")) {
    PvScope scope = ScopeFrom(1);
    PvRddArgs x;
    x.ptr = &scope;
    pv_rddCall(a, PV_RDD_SETLOCATE, &x);
    pv_rddCall(a, PV_RDD_LOCATE, &x);
  }
  pv_ret();
}

void PV_FUN___DBCONTINUE() {
  if (PvArea* a = AreaOrError("__DBCONTINUE")) {
    PvRddArgs x;
    x.flag = true;
    pv_rddCall(a, PV_RDD_LOCATE, &x);
  }
  pv_ret();
}

// ---- information ------------------------------------------------------------------------------

void PV_FUN_DBFIELDINFO() {
  PvArea* a = AreaOrError("DBFIELDINFO");
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(2);
    x.item = &value;
    x.item2 = pv_paramError(1);
    pv_rddCall(a, PV_RDD_FIELDINFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

void PV_FUN_DBRECORDINFO() {
  PvArea* a = AreaOrError("DBRECORDINFO");
  PvItem value = {PV_IT_NIL, {}};
  if (a) {
    PvRddArgs x;
    x.number = pv_parnl(1);
    x.item = pv_param(2, PV_IT_NUMERIC);
    x.item2 = &value;
    pv_rddCall(a, PV_RDD_RECINFO, &x);
  }
  pv_itemReturn(&value);
  pv_itemClear(&value);
}

// Natural order only until an index driver answers.

// exists / drop through the driver (given or default) with the table name.
bool TableFileOp(int slot) {
  const char* file = pv_parc(1);
  const char* driver = pv_parc(2) && *pv_parc(2) ? pv_parc(2) : pv_rddDefaultDrv(nullptr);
  std::string upper(driver ? driver : "");
  for (char& c : upper) c = char(std::toupper(uint8_t(c)));
  PvRddNode* node = pv_rddFindNode(upper.c_str());
  if (!file || !node) return false;
  PvItem name = {PV_IT_NIL, {}};
  PvRddArgs x;
  x.node = node;
  x.item = pv_itemPutC(&name, file);
  node->table.slot[slot](nullptr, &x);
  pv_itemClear(&name);
  return x.flag;
}

void PV_FUN_DBEXISTS() { pv_retl(TableFileOp(PV_RDD_EXISTS)); }
void PV_FUN_DBDROP() { pv_retl(TableFileOp(PV_RDD_DROP)); }

void FieldFile(const char* function, int slot, bool append) {
  PvArea* a = AreaOrError(function);
  PV_ITEM file = pv_param(2, PV_IT_STRING);
  if (!a || !file) return pv_retl(false);
  PvRddArgs x;
  x.number = pv_parnl(1);
  x.item = file;
  x.flag = append;
  pv_retl(pv_rddCall(a, slot, &x) == PV_SUCCESS);
}

void PV_FUN_DBFILEGET() { FieldFile("DBFILEGET", PV_RDD_GETVALUEFILE, pv_parni(3) == 1); }
void PV_FUN_DBFILEPUT() { FieldFile("DBFILEPUT", PV_RDD_PUTVALUEFILE, false); }

void PV_FUN_RDDREGISTER() {
  int r = pv_rddRegister(pv_parc(1) ? pv_parc(1) : "", uint16_t(pv_parni(2)));
  if (r > 1) pv_errInternal(9004, nullptr, nullptr, nullptr);
  pv_retni(r);
}

// ---- field access by name from compiled code --------------------------------------------------

bool FieldGet(PvDynSym* name, PV_ITEM dest) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return false;
  for (size_t i = 0; i < a->fields.size(); ++i) {
    if (a->fields[i].symbol != name) continue;
    PvRddArgs x;
    x.number = long(i + 1);
    x.item = dest;
    pv_rddCall(a, PV_RDD_GETVALUE, &x);
    return true;
  }
  return false;
}

bool FieldPut(PvDynSym* name, PV_ITEM value) {
  PvArea* a = pv_rddGetCurrentWorkAreaPointer();
  if (!a) return false;
  for (size_t i = 0; i < a->fields.size(); ++i) {
    if (a->fields[i].symbol != name) continue;
    PvRddArgs x;
    x.number = long(i + 1);
    x.item = pv_itemUnRef(value);
    pv_rddCall(a, PV_RDD_PUTVALUE, &x);
    return true;
  }
  return false;
}

int CurrentArea() { return pv_rddGetCurrentWorkAreaNumber(); }
void SelectArea(int area) { pv_rddSelectWorkAreaNumber(area); }

int AreaOf(PV_ITEM alias) {
  if (PV_IS_NUMERIC(alias)) return pv_itemGetNI(alias);
  const char* text = PV_IS_SYMBOL(alias)   ? pv_itemGetSymbol(alias)->name
                     : PV_IS_STRING(alias) ? pv_itemGetCPtr(alias)
                                           : nullptr;
  if (!text) return 0;
  int area = 0;
  while (pv_rddGetAliasNumber(text, &area) != PV_SUCCESS) {
    if (pv_errRT_BASE_Ext1(PV_EG_NOALIAS, 1002, nullptr, text, 0, PV_ERR_FLAG_RETRY, 0) !=
        PV_ERR_RETRY) {
      return 0;
    }
  }
  return area;
}

const PvAreaHooks kHooks = {FieldGet, FieldPut, CurrentArea, SelectArea, AreaOf};

PvSymbol s_symbols[] = {
    pv_native("DBUSEAREA", PV_FUN_DBUSEAREA),     pv_native("DBCREATE", PV_FUN_DBCREATE),
    pv_native("DBSELECTAREA", PV_FUN_DBSELECTAREA), pv_native("SELECT", PV_FUN_SELECT),
    pv_native("ALIAS", PV_FUN_ALIAS),             pv_native("USED", PV_FUN_USED),
    pv_native("DBCLOSEAREA", PV_FUN_DBCLOSEAREA), pv_native("DBCLOSEALL", PV_FUN_DBCLOSEALL),
    pv_native("RDDSETDEFAULT", PV_FUN_RDDSETDEFAULT), pv_native("DBSETDRIVER", PV_FUN_DBSETDRIVER),
    pv_native("RDDLIST", PV_FUN_RDDLIST),         pv_native("RDDNAME", PV_FUN_RDDNAME),
    pv_native("NETERR", PV_FUN_NETERR),           pv_native("DBGOTOP", PV_FUN_DBGOTOP),
    pv_native("DBGOBOTTOM", PV_FUN_DBGOBOTTOM),   pv_native("DBGOTO", PV_FUN_DBGOTO),
    pv_native("DBSKIP", PV_FUN_DBSKIP),           pv_native("BOF", PV_FUN_BOF),
    pv_native("EOF", PV_FUN_EOF),                 pv_native("FOUND", PV_FUN_FOUND),
    pv_native("DELETED", PV_FUN_DELETED),         pv_native("RECNO", PV_FUN_RECNO),
    pv_native("RECCOUNT", PV_FUN_RECCOUNT),       pv_native("LASTREC", PV_FUN_LASTREC),
    pv_native("FCOUNT", PV_FUN_FCOUNT),           pv_native("FIELDGET", PV_FUN_FIELDGET),
    pv_native("FIELDPUT", PV_FUN_FIELDPUT),       pv_native("FIELDPOS", PV_FUN_FIELDPOS),
    pv_native("FIELDNAME", PV_FUN_FIELDNAME),     pv_native("DBSTRUCT", PV_FUN_DBSTRUCT),
    pv_native("DBAPPEND", PV_FUN_DBAPPEND),       pv_native("DBDELETE", PV_FUN_DBDELETE),
    pv_native("DBRECALL", PV_FUN_DBRECALL),       pv_native("DBCOMMIT", PV_FUN_DBCOMMIT),
    pv_native("DBCOMMITALL", PV_FUN_DBCOMMITALL), pv_native("DBUNLOCK", PV_FUN_DBUNLOCK),
    pv_native("DBUNLOCKALL", PV_FUN_DBUNLOCKALL), pv_native("RLOCK", PV_FUN_RLOCK),
    pv_native("DBRLOCK", PV_FUN_DBRLOCK),         pv_native("FLOCK", PV_FUN_FLOCK),
    pv_native("__DBPACK", PV_FUN___DBPACK),       pv_native("__DBZAP", PV_FUN___DBZAP),
    pv_native("HEADER", PV_FUN_HEADER),           pv_native("LUPDATE", PV_FUN_LUPDATE),
    pv_native("DBINFO", PV_FUN_DBINFO),
    pv_native("DBSETFILTER", PV_FUN_DBSETFILTER), pv_native("DBCLEARFILTER", PV_FUN_DBCLEARFILTER),
    pv_native("DBFILTER", PV_FUN_DBFILTER),       pv_native("DBEVAL", PV_FUN_DBEVAL),
    pv_native("__DBLOCATE", PV_FUN___DBLOCATE),   pv_native("__DBCONTINUE", PV_FUN___DBCONTINUE),
    pv_native("DBFIELDINFO", PV_FUN_DBFIELDINFO), pv_native("DBRECORDINFO", PV_FUN_DBRECORDINFO),
    pv_native("DBEXISTS", PV_FUN_DBEXISTS),
    pv_native("DBDROP", PV_FUN_DBDROP),           pv_native("RDDREGISTER", PV_FUN_RDDREGISTER),
    pv_native("DBFILEGET", PV_FUN_DBFILEGET),     pv_native("DBFILEPUT", PV_FUN_DBFILEPUT),
};

// Registers the drivers and the hooks when the program is loaded.
struct Startup {
  Startup() {
    pv_dbfRegisterDriver();
    pv_fptRegisterDriver();
    pv_rddRegister("DBF", 1);
    pv_rddRegister("DBFFPT", 1);
    pv_vmSetAreaHooks(&kHooks);
    pv_vmSetShutdownHook(pv_rddShutDown);  // closes every area: pending writes reach the files
  }
};

PvModuleRegistrar s_module("rdd/workareas", s_symbols);
Startup s_startup;

}  // namespace

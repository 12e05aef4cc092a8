// Language functions of the runtime core: errors, the command line, settings, classes, memory
// variables and the introspection of running calls.
#include <algorithm>
#include <cstring>
#include <string>

#include "array.h"
#include "classes.h"
#include "dynsym.h"
#include "errors.h"
#include "gc.h"
#include "itemwords.h"
#include "memvar.h"
#include "procinfo.h"
#include "registrar.h"
#include "set.h"
#include "stackdef.h"
#include "start.h"
#include "vm.h"

void PV_FUN_ERRORNEW();  // errors.cc

namespace {

// ---- errors -----------------------------------------------------------------------------------
void PV_FUN_ERRORBLOCK() {
  PV_ITEM block = pv_errorBlock();
  pv_itemReturn(block);
  if (PV_ITEM b = pv_param(1, PV_IT_BLOCK)) pv_itemCopy(block, b);
}

void PV_FUN_DOSERROR() {
  pv_retnl(static_cast<long>(pv_errDosError()));
  if (pv_ispar(1, PV_IT_NUMERIC)) pv_errSetDosError(static_cast<uint32_t>(pv_parnl(1)));
}

void PV_FUN_BREAK() { pv_vmRequestBreak(pv_param(1, PV_IT_ANY)); }

// ---- command line and exit code ---------------------------------------------------------------
void PV_FUN_ERRORLEVEL() {
  pv_retni(pv_vmExitCode());
  if (pv_ispar(1, PV_IT_NUMERIC)) pv_vmSetExitCode(pv_parni(1));
}

void PV_FUN_PV_ARGC() { pv_retni(pv_cmdargARGC()); }

void PV_FUN_PV_ARGV() {
  const std::string& a = pv_cmdargARGV(pv_parni(1));
  pv_retclen(a.data(), static_cast<PV_SIZE>(a.size()));
}

void PV_FUN_PV_ARGCHECK() { pv_retl(pv_parc(1) && pv_cmdargCheck(pv_parc(1))); }

// ---- settings ---------------------------------------------------------------------------------
void PV_FUN_SET() {
  PvItem old = {PV_IT_NIL, {}};
  pv_setGetSet(pv_parni(1), pv_param(2, PV_IT_ANY), pv_param(3, PV_IT_ANY), &old);
  pv_itemReturnForward(&old);
}

void PV_FUN___SETCENTURY() { pv_retl(pv_setCenturySet(pv_param(1, PV_IT_ANY))); }

// ---- classes ----------------------------------------------------------------------------------
void PV_FUN___CLSNEW() {
  std::vector<uint16_t> parents;
  if (PV_ITEM a = pv_param(4, PV_IT_ARRAY))
    for (PV_SIZE i = 1; i <= pv_arrayLen(a); ++i)
      if (uint16_t h = static_cast<uint16_t>(pv_arrayGetNI(a, i))) parents.push_back(h);
  pv_retni(pv_clsCreate(pv_parc(1) ? pv_parc(1) : "", static_cast<uint16_t>(pv_parni(2)),
                        parents.data(), static_cast<int>(parents.size())));
}

// __CLSADDMSG( hClass, cMessage, function|index|block, nKind, xInit, nScope, lPersistent, lCase )
void PV_FUN___CLSADDMSG() {
  uint16_t cls = static_cast<uint16_t>(pv_parni(1));
  const char* name = pv_parc(2);
  int kind = pv_parni(4);
  PV_ITEM target = pv_param(3, PV_IT_ANY);
  PvSymbol* func = nullptr;
  uint32_t index = 0;
  if (target && PV_IS_SYMBOL(target)) func = pv_itemGetSymbol(target);
  else if (target && PV_IS_POINTER(target)) func = static_cast<PvSymbol*>(pv_itemGetPtr(target));
  else if (target && PV_IS_STRING(target)) func = pv_dynsymGet(pv_itemGetCPtr(target))->symbol;
  else if (target && PV_IS_NUMERIC(target)) index = static_cast<uint32_t>(pv_itemGetNI(target));
  PV_ITEM block = (target && PV_IS_BLOCK(target)) ? target : nullptr;
  uint32_t scope = pv_ispar(6, PV_IT_NUMERIC) ? static_cast<uint32_t>(pv_parni(6)) : PV_OO_CLSTP_EXPORTED;
  pv_retl(name && pv_clsAddMsg(cls, name, kind, func, index, block, pv_param(5, PV_IT_ANY), scope));
}

void PV_FUN___CLSINST() {
  PvItem obj = {PV_IT_NIL, {}};
  pv_clsInst(static_cast<uint16_t>(pv_parni(1)), &obj);
  pv_itemReturnForward(&obj);
}

void PV_FUN___OBJHASMSG() {
  pv_retl(pv_parc(2) && pv_objHasMsg(pv_paramError(1), pv_parc(2)));
}

void PV_FUN___OBJGETCLSNAME() { pv_retc(pv_objGetClsName(pv_paramError(1))); }

void PV_FUN___CLSGETHANDLEFROMNAME() { pv_retni(pv_parc(1) ? pv_clsFindClass(pv_parc(1)) : 0); }

// __CLSINSTSUPER( cName ): the handle of a class, calling its class function when needed.
void PV_FUN___CLSINSTSUPER() {
  const char* name = pv_parc(1);
  uint16_t h = name ? pv_clsFindClass(name) : 0;
  if (!h && name) {
    if (PvDynSym* d = pv_dynsymFunctionName(name)) {
      pv_vmPushSymbol(d->symbol);
      pv_vmPushNil();
      pv_vmDo(0);
      h = pv_objGetClass(pv_stackReturnItem());
      if (!h) h = pv_clsFindClass(name);
    }
  }
  pv_retni(h);
}

void PV_FUN___CLS_CNTDATA() { pv_retni(pv_clsDataCount(static_cast<uint16_t>(pv_parni(1)))); }
void PV_FUN___CLS_CNTCLSDATA() { pv_retni(pv_clsClassDataCount(static_cast<uint16_t>(pv_parni(1)))); }
void PV_FUN___CLSCNTCLASSES() { pv_retni(pv_clsCount()); }
void PV_FUN___CLASSNAME() { pv_retc(pv_clsName(static_cast<uint16_t>(pv_parni(1)))); }

void PV_FUN___OBJGETMSGFULLLIST() {
  PvItem list = {PV_IT_NIL, {}};
  pv_clsMessageList(pv_objGetClass(pv_paramError(1)), &list, true);
  pv_itemReturnForward(&list);
}

// __OBJSENDMSG( oObject, cMessage, args... )
void PV_FUN___OBJSENDMSG() {
  const char* msg = pv_parc(2);
  if (!msg) {
    pv_errRT_BASE(PV_EG_ARG, 3000, nullptr, "__OBJSENDMSG", -1);
    return;
  }
  int n = pv_pcount();
  pv_vmPushSymbol(pv_dynsymGet(msg)->symbol);
  pv_vmPush(pv_paramError(1));
  for (int i = 3; i <= n; ++i) pv_vmPush(pv_stackItemFromBase(i));
  pv_vmSend(static_cast<uint16_t>(n > 2 ? n - 2 : 0));
}

void PV_FUN___SETCLASSSCOPE() { pv_retl(false); }
void PV_FUN___SETCLASSAUTOINIT() { pv_retl(false); }

void PV_FUN___CLSASSOCTYPE() {
  pv_retl(pv_parc(2) && pv_clsAssocType(static_cast<uint16_t>(pv_parni(1)), pv_parc(2)));
}

void PV_FUN___GETMESSAGE() {
  PV_ITEM sym = pv_stackFrameSymbolItem(1);
  pv_retc(sym && sym->item.asSymbol.value ? sym->item.asSymbol.value->name : "");
}

// ---- memory variables -------------------------------------------------------------------------
template <typename F>
void eachName(F f) {
  for (int i = 1; i <= pv_pcount(); ++i) {
    PV_ITEM p = pv_param(i, PV_IT_ANY);
    if (p && PV_IS_STRING(p)) f(pv_itemGetCPtr(p));
    else if (p && PV_IS_ARRAY(p))
      for (PV_SIZE k = 1; k <= pv_arrayLen(p); ++k)
        if (PV_IS_STRING(pv_arrayGetItemPtr(p, k))) f(pv_arrayGetCPtr(p, k));
  }
}

void PV_FUN___MVPUBLIC() { eachName([](const char* n) { pv_memvarCreatePublic(pv_dynsymGet(n)); }); }

// PRIVATEs created here belong to the procedure that called: moving the privates base to the
// top keeps this call's return from releasing them.
void PV_FUN___MVPRIVATE() {
  eachName([](const char* n) { pv_memvarCreatePrivate(pv_dynsymGet(n), nullptr); });
  pv_memvarGetPrivatesBase();
}

void PV_FUN___MVXRELEASE() {
  PV_ITEM p = pv_param(1, PV_IT_ANY);
  if (!p || !PV_IS_STRING(p)) {
    pv_errRT_BASE(PV_EG_ARG, 3008, nullptr, "RELEASE", -1);
    return;
  }
  pv_memvarRelease(pv_dynsymFindName(pv_itemGetCPtr(p)));
}

// __MVRELEASE( cMask, lMatching ): clears the calling procedure's matching privates.
void PV_FUN___MVRELEASE() {
  const char* mask = pv_parc(1);
  if (!mask) {
    pv_errRT_BASE(PV_EG_ARG, 3008, nullptr, "RELEASE", -1);
    return;
  }
  pv_memvarReleaseMask(mask, pv_ispar(2, PV_IT_LOGICAL) ? pv_parl(2) : true,
                       pv_stackBaseState()->privateBase);
}

void PV_FUN___MVSCOPE() {
  pv_retni(pv_parc(1) ? pv_memvarScope(pv_parc(1), pv_stackBaseState()->privateBase) : -2);
}
void PV_FUN___MVEXIST() { pv_retl(pv_parc(1) && pv_memvarGetValue(pv_dynsymFindName(pv_parc(1)))); }

void PV_FUN___MVGET() {
  const char* name = pv_parc(1);
  if (!name) {
    pv_errRT_BASE(PV_EG_ARG, 3009, nullptr, "__MVGET", -1);
    return;
  }
  pv_memvarPushValue(pv_dynsymGet(name));
  pv_stackPopReturn();
}

void PV_FUN___MVPUT() {
  const char* name = pv_parc(1);
  if (!name) {
    pv_errRT_BASE(PV_EG_ARG, 3010, nullptr, "__MVPUT", -1);
    return;
  }
  PV_ITEM value = pv_paramError(2);
  pv_memvarSetValue(pv_dynsymGet(name), value);
  pv_memvarGetPrivatesBase();  // a PRIVATE made here belongs to the caller
  pv_itemReturn(value);
}

void PV_FUN___MVCLEAR() { pv_memvarClearAll(); }

// ---- introspection ----------------------------------------------------------------------------
// The call level parameter n names, counted from the caller of the running function; levels
// beyond any real depth are cut so that the count cannot overflow.
int callerLevel(int n) { return static_cast<int>(std::clamp(pv_parnll(n), -1LL, 65535LL)) + 1; }

void PV_FUN_PROCNAME() { pv_retc(pv_procName(callerLevel(1)).c_str()); }
void PV_FUN_PROCLINE() { pv_retni(pv_procLine(callerLevel(1))); }
void PV_FUN_PROCFILE() { pv_retc(pv_procFile(callerLevel(1)).c_str()); }
void PV_FUN_PCOUNT() { pv_retni(pv_procParamCount(1)); }

void PV_FUN_PVALUE() {
  PV_ITEM p = pv_procLocal(1, pv_parni(1));
  if (p && pv_parni(1) <= pv_procParamCount(1)) pv_itemReturn(p);
  else pv_ret();
}

void PV_FUN_PV_APARAMS() {
  int level = callerLevel(1);
  int n = pv_procParamCount(level);
  pv_reta(n);
  for (int i = 1; i <= n; ++i)
    if (PV_ITEM p = pv_procLocal(level, i)) pv_arraySet(pv_stackReturnItem(), i, pv_itemUnRef(p));
}

// PV_PROCLOCALCOUNT( [nLevel] ), PV_PROCLOCAL( nLevel, n ): locals of a call level.
void PV_FUN_PV_PROCLOCALCOUNT() { pv_retni(pv_procLocalCount(callerLevel(1))); }
void PV_FUN_PV_PROCPARAMCOUNT() { pv_retni(pv_procParamCount(callerLevel(1))); }

void PV_FUN_PV_PROCLOCAL() {
  PV_ITEM p = pv_procLocal(callerLevel(1), pv_parni(2));
  if (p) pv_itemReturn(p);
  else pv_ret();
}

// EVAL( bBlock, args... ): the call's own frame becomes the block's: the block moves into the
// self slot and the arguments down by one.
void PV_FUN_EVAL() {
  PvItem* sym = pv_stackBaseItem();
  int n = sym->item.asSymbol.paramcnt;
  PV_ITEM block = n >= 1 ? pv_itemUnRef(pv_stackItemFromBase(1)) : nullptr;
  if (!block || !PV_IS_BLOCK(block)) {
    pv_errRT_BASE(PV_EG_NOMETHOD, 1004, nullptr, "EVAL", -1);
    return;
  }
  pv_itemMove(pv_stackSelfItem(), block);
  for (int i = 1; i < n; ++i) pv_itemMoveWords(pv_stackItemFromBase(i), pv_stackItemFromBase(i + 1));
  pv_stackPopFast();
  sym->item.asSymbol.paramcnt = static_cast<uint16_t>(n - 1);
  sym->item.asSymbol.paramdeclcnt = static_cast<uint16_t>(n - 1);
  pv_vmEvalFrameBlock();
}

// PV_EXECFROMARRAY( cFunction|bBlock|sSymbol [, aParams] ) or ( oObject, cMessage [, aParams] )
void PV_FUN_PV_EXECFROMARRAY() {
  PV_ITEM first = pv_paramError(1);
  PV_ITEM params = nullptr;
  if (PV_IS_OBJECT(first) && pv_parc(2)) {
    params = pv_param(3, PV_IT_ARRAY);
    pv_vmPushSymbol(pv_dynsymGet(pv_parc(2))->symbol);
    pv_vmPush(first);
  } else {
    params = pv_param(2, PV_IT_ARRAY);
    if (PV_IS_BLOCK(first)) {
      pv_vmPushSymbol(pv_symEval);
      pv_vmPush(first);
    } else {
      PvSymbol* s = PV_IS_STRING(first) ? pv_dynsymGet(pv_itemGetCPtr(first))->symbol
                                        : pv_itemGetSymbol(first);
      if (!s) {
        pv_errRT_BASE(PV_EG_ARG, 1099, nullptr, "PV_EXECFROMARRAY", -1);
        return;
      }
      pv_vmPushSymbol(s);
      pv_vmPushNil();
    }
  }
  PV_SIZE n = params ? pv_arrayLen(params) : 0;
  for (PV_SIZE i = 1; i <= n; ++i) pv_vmPush(pv_arrayGetItemPtr(params, i));
  if (PV_IS_OBJECT(first) && pv_parc(2)) pv_vmSend(static_cast<uint16_t>(n));
  else pv_vmDo(static_cast<uint16_t>(n));
}

void PV_FUN_MEMORY() {
  int what = pv_parni(1);
  if (what == 1001) pv_retnint(static_cast<int64_t>(pv_xquery_used()));
  else if (what == 1002) pv_retnint(static_cast<int64_t>(pv_xquery_peak()));
  else pv_retni(0);
}

void PV_FUN_PV_GCALL() { pv_gcCollectAll(pv_ispar(1, PV_IT_LOGICAL) ? pv_parl(1) : true); }

PvSymbol s_symbols[] = {
    pv_native("ERRORNEW", PV_FUN_ERRORNEW),
    pv_native("ERRORBLOCK", PV_FUN_ERRORBLOCK),
    pv_native("DOSERROR", PV_FUN_DOSERROR),
    pv_native("BREAK", PV_FUN_BREAK),
    pv_native("ERRORLEVEL", PV_FUN_ERRORLEVEL),
    pv_native("PV_ARGC", PV_FUN_PV_ARGC),
    pv_native("PV_ARGV", PV_FUN_PV_ARGV),
    pv_native("PV_ARGCHECK", PV_FUN_PV_ARGCHECK),
    pv_native("SET", PV_FUN_SET),
    pv_native("__SETCENTURY", PV_FUN___SETCENTURY),
    pv_native("__CLSNEW", PV_FUN___CLSNEW),
    pv_native("__CLSADDMSG", PV_FUN___CLSADDMSG),
    pv_native("__CLSINST", PV_FUN___CLSINST),
    pv_native("__OBJHASMSG", PV_FUN___OBJHASMSG),
    pv_native("__OBJGETCLSNAME", PV_FUN___OBJGETCLSNAME),
    pv_native("__CLSGETHANDLEFROMNAME", PV_FUN___CLSGETHANDLEFROMNAME),
    pv_native("__CLSINSTSUPER", PV_FUN___CLSINSTSUPER),
    pv_native("__CLS_CNTDATA", PV_FUN___CLS_CNTDATA),
    pv_native("__CLS_CNTCLSDATA", PV_FUN___CLS_CNTCLSDATA),
    pv_native("__CLASSNAME", PV_FUN___CLASSNAME),
    pv_native("__CLSCNTCLASSES", PV_FUN___CLSCNTCLASSES),
    pv_native("__OBJGETMSGFULLLIST", PV_FUN___OBJGETMSGFULLLIST),
    pv_native("__OBJSENDMSG", PV_FUN___OBJSENDMSG),
    pv_native("__SETCLASSSCOPE", PV_FUN___SETCLASSSCOPE),
    pv_native("__SETCLASSAUTOINIT", PV_FUN___SETCLASSAUTOINIT),
    pv_native("__CLSASSOCTYPE", PV_FUN___CLSASSOCTYPE),
    pv_native("__GETMESSAGE", PV_FUN___GETMESSAGE),
    pv_native("__MVPUBLIC", PV_FUN___MVPUBLIC),
    pv_native("__MVPRIVATE", PV_FUN___MVPRIVATE),
    pv_native("__MVXRELEASE", PV_FUN___MVXRELEASE),
    pv_native("__MVRELEASE", PV_FUN___MVRELEASE),
    pv_native("__MVSCOPE", PV_FUN___MVSCOPE),
    pv_native("__MVEXIST", PV_FUN___MVEXIST),
    pv_native("__MVGET", PV_FUN___MVGET),
    pv_native("__MVPUT", PV_FUN___MVPUT),
    pv_native("__MVCLEAR", PV_FUN___MVCLEAR),
    pv_native("PROCNAME", PV_FUN_PROCNAME),
    pv_native("PROCLINE", PV_FUN_PROCLINE),
    pv_native("PROCFILE", PV_FUN_PROCFILE),
    pv_native("PCOUNT", PV_FUN_PCOUNT),
    pv_native("PVALUE", PV_FUN_PVALUE),
    pv_native("PV_APARAMS", PV_FUN_PV_APARAMS),
    pv_native("PV_PROCLOCALCOUNT", PV_FUN_PV_PROCLOCALCOUNT),
    pv_native("PV_PROCPARAMCOUNT", PV_FUN_PV_PROCPARAMCOUNT),
    pv_native("PV_PROCLOCAL", PV_FUN_PV_PROCLOCAL),
    pv_native("EVAL", PV_FUN_EVAL),
    pv_native("PV_EXECFROMARRAY", PV_FUN_PV_EXECFROMARRAY),
    pv_native("MEMORY", PV_FUN_MEMORY),
    pv_native("PV_GCALL", PV_FUN_PV_GCALL),
};

PvModuleRegistrar s_module("vm/functions", s_symbols);

}  // namespace

// PVCLASS: the class-building class that compiled class functions use. It collects the
// description of a class (instance and class variables, methods, inline blocks, virtual and
// delegated messages, error handler, destructor) and creates the class from it.
#include <cctype>
#include <cstdio>
#include <string>

#include "array.h"
#include "classes.h"
#include "dynsym.h"
#include "errors.h"
#include "pcode.h"
#include "vm.h"

namespace {

enum Field : int {
  F_HCLASS = 1, F_CNAME, F_ADATAS, F_AMETHODS, F_ACLSDATAS, F_ACLSMETHODS, F_AINLINES,
  F_AVIRTUALS, F_ADELEGATES, F_ACSUPER, F_NONERROR, F_NDESTRUCTOR, F_LFIRST, F_COUNT = F_LFIRST
};

const char* const kFieldNames[F_COUNT] = {"HCLASS", "CNAME", "ADATAS", "AMETHODS", "ACLSDATAS",
                                          "ACLSMETHODS", "AINLINES", "AVIRTUALS", "ADELEGATES",
                                          "ACSUPER", "NONERROR", "NDESTRUCTOR", "LFIRST"};

PV_ITEM self() { return pv_stackSelfItem(); }
PV_ITEM field(int n) { return pv_arrayGetItemPtr(self(), n); }

std::string upper(const char* text) {
  std::string s = text ? text : "";
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Appends { params 1..n } of the running method to the list in field `list`.
void record(int list, int n) {
  PvItem entry = {PV_IT_NIL, {}};
  pv_arrayNew(&entry, n);
  for (int i = 1; i <= n; ++i)
    if (PV_ITEM p = pv_param(i, PV_IT_ANY)) pv_arraySet(&entry, i, p);
  pv_arrayAddForward(field(list), &entry);
  pv_itemReturn(self());
}

// The default of an instance variable without an initial value: false for type L, 0 for N/I.
void defaultInit(PV_ITEM entry) {
  PV_ITEM init = pv_arrayGetItemPtr(entry, 2);
  const char* type = pv_arrayGetCPtr(entry, 3);
  if (!PV_IS_NIL(init)) return;
  char t = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
  if (t == 'L') pv_itemPutL(init, false);
  else if (t == 'N' || t == 'I') pv_itemPutNI(init, 0);
}

void M_NEW() {
  pv_itemPutNI(field(F_HCLASS), 0);
  pv_itemPutC(field(F_CNAME), upper(pv_parc(1)).c_str());
  for (int f = F_ADATAS; f <= F_ACSUPER; ++f) pv_arrayNew(field(f), 0);
  PV_ITEM parents = pv_param(2, PV_IT_ANY);
  if (parents && PV_IS_ARRAY(parents)) pv_itemCopy(field(F_ACSUPER), parents);
  else if (parents && !PV_IS_NIL(parents)) pv_arrayAdd(field(F_ACSUPER), parents);
  pv_itemPutL(field(F_LFIRST), true);
  pv_itemReturn(self());
}

void M_ADDDATA() {
  record(F_ADATAS, 4);
  defaultInit(pv_arrayGetItemPtr(field(F_ADATAS), pv_arrayLen(field(F_ADATAS))));
}

// AddMultiData( cType, xInit, nScope, aNames )
void multi(int list) {
  PV_ITEM names = pv_param(4, PV_IT_ARRAY);
  for (PV_SIZE i = 1; names && i <= pv_arrayLen(names); ++i) {
    PvItem entry = {PV_IT_NIL, {}};
    pv_arrayNew(&entry, 4);
    pv_arraySet(&entry, 1, pv_arrayGetItemPtr(names, i));
    if (PV_ITEM v = pv_param(2, PV_IT_ANY)) pv_arraySet(&entry, 2, v);
    if (PV_ITEM t = pv_param(1, PV_IT_ANY)) pv_arraySet(&entry, 3, t);
    if (PV_ITEM s = pv_param(3, PV_IT_ANY)) pv_arraySet(&entry, 4, s);
    defaultInit(&entry);
    pv_arrayAddForward(field(list), &entry);
  }
  pv_itemReturn(self());
}

void M_ADDMULTIDATA() { multi(F_ADATAS); }
void M_ADDCLASSDATA() {
  record(F_ACLSDATAS, 4);
  defaultInit(pv_arrayGetItemPtr(field(F_ACLSDATAS), pv_arrayLen(field(F_ACLSDATAS))));
}
void M_ADDMULTICLSDATA() { multi(F_ACLSDATAS); }
void M_ADDMETHOD() { record(F_AMETHODS, 3); }
void M_ADDCLSMETHOD() { record(F_ACLSMETHODS, 3); }
void M_ADDINLINE() { record(F_AINLINES, 3); }
void M_ADDVIRTUAL() { record(F_AVIRTUALS, 1); }
void M_ADDDELEGATE() { record(F_ADELEGATES, 3); }
void M_SETONERROR() { pv_itemCopy(field(F_NONERROR), pv_paramError(1)); pv_itemReturn(self()); }
void M_SETDESTRUCTOR() { pv_itemCopy(field(F_NDESTRUCTOR), pv_paramError(1)); pv_itemReturn(self()); }
void M_INSTANCE() {
  PvItem obj = {PV_IT_NIL, {}};
  pv_clsInst(static_cast<uint16_t>(pv_itemGetNI(field(F_HCLASS))), &obj);
  pv_itemReturnForward(&obj);
}
void M_CSUPER() {
  PV_ITEM first = pv_arrayGetItemPtr(field(F_ACSUPER), 1);
  if (first && PV_IS_STRING(first)) pv_itemReturn(first);
  else if (first && PV_IS_NUMERIC(first)) pv_retc(pv_clsName(static_cast<uint16_t>(pv_itemGetNI(first))));
  else pv_retc("");
}
void M__CSUPER() {
  PV_ITEM v = pv_paramError(1);
  if (pv_arrayLen(field(F_ACSUPER)) == 0) pv_arrayAdd(field(F_ACSUPER), v);
  else pv_arraySet(field(F_ACSUPER), 1, v);
  pv_itemReturn(v);
}

PvSymbol* functionOf(PV_ITEM p) {
  if (PV_IS_POINTER(p)) return static_cast<PvSymbol*>(pv_itemGetPtr(p));
  if (PV_IS_SYMBOL(p)) return pv_itemGetSymbol(p);
  if (PV_IS_STRING(p)) return pv_dynsymGet(pv_itemGetCPtr(p))->symbol;
  return nullptr;
}

// The handle of a parent given by handle or name; 0 after raising the "locate super" error.
uint16_t parentHandle(PV_ITEM p) {
  if (PV_IS_NUMERIC(p)) return static_cast<uint16_t>(pv_itemGetNI(p));
  std::string name = PV_IS_STRING(p) ? upper(pv_itemGetCPtr(p)) : std::string();
  uint16_t h = name.empty() ? 0 : pv_clsFindClass(name.c_str());
  if (!h && !name.empty()) {
    if (PvDynSym* d = pv_dynsymFunction(name.c_str())) {
      pv_vmPushSymbol(d->symbol);
      pv_vmPushNil();
      pv_vmDo(0);
      h = pv_objGetClass(pv_stackReturnItem());
    }
  }
  if (!h) {
    PV_ITEM e = pv_errRT_New(PV_ERR_SEVERITY_ERROR, "TClass", PV_EG_ARG, 1003,
                             ("Could not locate super: " + name).c_str(), "Create", 0, 0);
    pv_errLaunch(e);
    pv_errRelease(e);
  }
  return h;
}

void addEach(uint16_t cls, int list, int kind, uint32_t firstIndex) {
  PV_ITEM a = field(list);
  for (PV_SIZE i = 1; i <= pv_arrayLen(a); ++i) {
    PV_ITEM e = pv_arrayGetItemPtr(a, i);
    const char* name = pv_arrayGetCPtr(e, 1);
    PV_ITEM second = pv_arrayGetItemPtr(e, 2);
    uint32_t scope = kind == PV_OO_MSG_VIRTUAL ? PV_OO_CLSTP_EXPORTED
                                               : static_cast<uint32_t>(pv_arrayGetNI(e, kind == PV_OO_MSG_PROPERTY || kind == PV_OO_MSG_CLSPROPERTY ? 4 : 3));
    switch (kind) {
      case PV_OO_MSG_PROPERTY:
      case PV_OO_MSG_CLSPROPERTY:
        pv_clsAddMsg(cls, name, kind, nullptr, firstIndex + static_cast<uint32_t>(i), nullptr, second, scope);
        break;
      case PV_OO_MSG_METHOD:
        pv_clsAddMsg(cls, name, kind, functionOf(second), 0, nullptr, nullptr, scope);
        break;
      case PV_OO_MSG_INLINE:
        pv_clsAddMsg(cls, name, kind, nullptr, 0, second, nullptr, scope);
        break;
      case PV_OO_MSG_VIRTUAL:
        pv_clsAddMsg(cls, name, kind, nullptr, 0, nullptr, nullptr, scope);
        break;
      default:
        break;
    }
  }
}

void M_CREATE() {
  std::vector<uint16_t> parents;
  PV_ITEM supers = field(F_ACSUPER);
  for (PV_SIZE i = 1; i <= pv_arrayLen(supers); ++i) {
    uint16_t h = parentHandle(pv_arrayGetItemPtr(supers, i));
    if (pv_vmRequestQuery()) return;
    if (h) parents.push_back(h);
  }
  uint16_t datas = static_cast<uint16_t>(pv_arrayLen(field(F_ADATAS)));
  std::string name = pv_itemGetCPtr(field(F_CNAME));
  uint16_t cls = pv_clsCreate(name.c_str(), datas, parents.data(), static_cast<int>(parents.size()));
  uint32_t inheritedDatas = pv_clsDataCount(cls) - datas;
  uint32_t inheritedClsDatas = pv_clsClassDataCount(cls);
  for (size_t i = 0; i < parents.size(); ++i) {
    pv_clsAddMsg(cls, pv_clsName(parents[i]), PV_OO_MSG_SUPER, nullptr, parents[i], nullptr, nullptr, 1);
    if (i == 0) {
      pv_clsAddMsg(cls, "SUPER", PV_OO_MSG_SUPER, nullptr, parents[i], nullptr, nullptr, 1);
      pv_clsAddMsg(cls, "__SUPER", PV_OO_MSG_SUPER, nullptr, parents[i], nullptr, nullptr, 1);
    }
  }
  addEach(cls, F_ACLSMETHODS, PV_OO_MSG_METHOD, 0);
  addEach(cls, F_ADATAS, PV_OO_MSG_PROPERTY, inheritedDatas);
  addEach(cls, F_ACLSDATAS, PV_OO_MSG_CLSPROPERTY, inheritedClsDatas);
  addEach(cls, F_AMETHODS, PV_OO_MSG_METHOD, 0);
  addEach(cls, F_AINLINES, PV_OO_MSG_INLINE, 0);
  addEach(cls, F_AVIRTUALS, PV_OO_MSG_VIRTUAL, 0);
  if (PvSymbol* f = functionOf(field(F_NONERROR)))
    pv_clsAddMsg(cls, "__ONERROR", PV_OO_MSG_ONERROR, f, 0, nullptr, nullptr, 1);
  if (PvSymbol* f = functionOf(field(F_NDESTRUCTOR)))
    pv_clsAddMsg(cls, "__DESTRUCTOR", PV_OO_MSG_DESTRUCTOR, f, 0, nullptr, nullptr, 1);
  pv_itemPutNI(field(F_HCLASS), cls);
  pv_itemReturn(self());
}

// ConstructorCall( oInstance, aParams )
void M_CONSTRUCTORCALL() {
  PV_ITEM object = pv_paramError(1);
  PV_ITEM params = pv_param(2, PV_IT_ARRAY);
  uint16_t cls = static_cast<uint16_t>(pv_itemGetNI(field(F_HCLASS)));
  const char* msg = pv_clsConstructorMessage(cls);
  if (!*msg) {
    std::fprintf(stderr, "Warning! Class function '%s' called with arguments, but no constructor found.\n",
                 pv_clsName(cls));
    pv_itemReturn(object);
    return;
  }
  PvItem target = {PV_IT_NIL, {}};
  pv_itemCopy(&target, object);
  pv_vmPushSymbol(pv_dynsymGet(msg)->symbol);
  pv_vmPush(&target);
  PV_SIZE n = params ? pv_arrayLen(params) : 0;
  for (PV_SIZE i = 1; i <= n; ++i) pv_vmPush(pv_arrayGetItemPtr(params, i));
  pv_vmSend(static_cast<uint16_t>(n));
  pv_itemClear(&target);
}

struct MethodDef {
  const char* name;
  PvFunc func;
};

const MethodDef kMethods[] = {
    {"NEW", M_NEW}, {"CREATE", M_CREATE}, {"ADDDATA", M_ADDDATA}, {"ADDMULTIDATA", M_ADDMULTIDATA},
    {"ADDCLASSDATA", M_ADDCLASSDATA}, {"ADDMULTICLSDATA", M_ADDMULTICLSDATA},
    {"ADDINLINE", M_ADDINLINE}, {"ADDMETHOD", M_ADDMETHOD}, {"ADDCLSMETHOD", M_ADDCLSMETHOD},
    {"ADDVIRTUAL", M_ADDVIRTUAL}, {"ADDDELEGATE", M_ADDDELEGATE}, {"INSTANCE", M_INSTANCE},
    {"SETONERROR", M_SETONERROR}, {"SETDESTRUCTOR", M_SETDESTRUCTOR},
    {"CONSTRUCTORCALL", M_CONSTRUCTORCALL}, {"CSUPER", M_CSUPER}, {"_CSUPER", M__CSUPER}};

constexpr size_t kMethodCount = sizeof kMethods / sizeof kMethods[0];
PvSymbol g_methodSymbols[kMethodCount];
uint16_t g_pvclass = 0;

uint16_t buildClass() {
  if (g_pvclass) return g_pvclass;
  uint16_t cls = pv_clsCreate("PVCLASS", F_COUNT, nullptr, 0);
  for (int i = 0; i < F_COUNT; ++i)
    pv_clsAddMsg(cls, kFieldNames[i], PV_OO_MSG_PROPERTY, nullptr, static_cast<uint32_t>(i + 1),
                 nullptr, nullptr, PV_OO_CLSTP_EXPORTED);
  for (size_t i = 0; i < kMethodCount; ++i) {
    g_methodSymbols[i] = PvSymbol{kMethods[i].name, PV_FS_STATIC | PV_FS_LOCAL, {kMethods[i].func}, nullptr};
    pv_clsAddMsg(cls, kMethods[i].name, PV_OO_MSG_METHOD, &g_methodSymbols[i], 0, nullptr, nullptr,
                 PV_OO_CLSTP_EXPORTED | (i == 0 ? uint32_t{PV_OO_CLSTP_CTOR} : 0u));
  }
  g_pvclass = cls;
  return cls;
}

void PV_FUN_PVCLASS() {
  PvItem obj = {PV_IT_NIL, {}};
  pv_clsInst(buildClass(), &obj);
  pv_itemReturnForward(&obj);
}

PvSymbol s_symbols[] = {{"PVCLASS", PV_FS_PUBLIC | PV_FS_LOCAL, {PV_FUN_PVCLASS}, nullptr}};

struct Registrar {
  Registrar() { pv_vmProcessSymbols(s_symbols, 1, "vm/pvclass", pv::kPcodeVersion, 0); }
} g_registrar;

}  // namespace

// Parameters and results of native functions.
#include "array.h"
#include "vm.h"

namespace {

PV_ITEM rawParam(int n) {
  if (n < 0 || n > pv_pcount()) return nullptr;
  return pv_stackItemFromBase(n);
}

}  // namespace

int pv_pcount() { return pv_stackBaseItem()->item.asSymbol.paramcnt; }

PV_ITEM pv_param(int n, uint32_t typeMask) {
  PV_ITEM p = rawParam(n);
  if (!p) return nullptr;
  p = pv_itemUnRef(p);
  if (typeMask == PV_IT_ANY || (p->type & typeMask) || (typeMask == PV_IT_NIL && PV_IS_NIL(p)))
    return p;
  return nullptr;
}

PV_ITEM pv_paramError(int n) {
  PV_ITEM p = pv_param(n, PV_IT_ANY);
  return p ? p : pv_arrayScratchNil();
}

uint32_t pv_parinfo(int n) {
  if (n == 0) return 0;
  PV_ITEM p = pv_param(n, PV_IT_ANY);
  return p ? p->type : 0;
}

bool pv_ispar(int n, uint32_t typeMask) { return pv_param(n, typeMask) != nullptr; }

const char* pv_parc(int n) {
  PV_ITEM p = pv_param(n, PV_IT_STRING);
  return p ? pv_itemGetCPtr(p) : nullptr;
}

PV_SIZE pv_parclen(int n) { return pv_itemGetCLen(pv_param(n, PV_IT_STRING)); }
int pv_parni(int n) { return pv_itemGetNI(pv_param(n, PV_IT_NUMERIC)); }
long pv_parnl(int n) { return pv_itemGetNL(pv_param(n, PV_IT_NUMERIC)); }
long long pv_parnll(int n) { return pv_itemGetNLL(pv_param(n, PV_IT_NUMERIC)); }
double pv_parnd(int n) { return pv_itemGetND(pv_param(n, PV_IT_NUMERIC)); }
bool pv_parl(int n) { return pv_itemGetL(pv_param(n, PV_IT_LOGICAL)); }
long pv_pardl(int n) { return pv_itemGetDL(pv_param(n, PV_IT_DATE)); }
char* pv_pards(int n, char* buffer) { return pv_itemGetDS(pv_param(n, PV_IT_DATE), buffer); }

void pv_ret() { pv_itemClear(pv_stackReturnItem()); }
void pv_retc(const char* text) { pv_itemPutC(pv_stackReturnItem(), text); }
void pv_retclen(const char* text, PV_SIZE len) { pv_itemPutCL(pv_stackReturnItem(), text, len); }
void pv_retni(int value) { pv_itemPutNI(pv_stackReturnItem(), value); }
void pv_retnl(long value) { pv_itemPutNL(pv_stackReturnItem(), value); }
void pv_retnll(long long value) { pv_itemPutNLL(pv_stackReturnItem(), value); }
void pv_retnint(int64_t value) { pv_itemPutNInt(pv_stackReturnItem(), value); }
void pv_retnd(double value) { pv_itemPutND(pv_stackReturnItem(), value); }
void pv_retndlen(double value, int width, int decimals) {
  pv_itemPutNDLen(pv_stackReturnItem(), value, width, decimals);
}
void pv_retnlen(double value, int width, int decimals) {
  pv_itemPutNLen(pv_stackReturnItem(), value, width, decimals);
}
void pv_retl(bool value) { pv_itemPutL(pv_stackReturnItem(), value); }
void pv_retdl(long julian) { pv_itemPutDL(pv_stackReturnItem(), julian); }
void pv_retds(const char* text) { pv_itemPutDS(pv_stackReturnItem(), text); }
void pv_reta(PV_SIZE len) { pv_arrayNew(pv_stackReturnItem(), len); }

void pv_itemReturn(PV_ITEM item) {
  if (item != pv_stackReturnItem()) pv_itemCopy(pv_stackReturnItem(), pv_itemUnRef(item));
}

void pv_itemReturnRelease(PV_ITEM item) {
  pv_itemMove(pv_stackReturnItem(), item);
  pv_itemRelease(item);
}

void pv_itemReturnForward(PV_ITEM item) { pv_itemMove(pv_stackReturnItem(), item); }

bool pv_itemParamStore(int n, PV_ITEM value) {
  PV_ITEM p = rawParam(n);
  if (!p || !PV_IS_BYREF(p)) return false;
  PV_ITEM dest = pv_itemUnRefWrite(p);
  if (dest != value) pv_itemCopy(dest, value);
  return true;
}

static bool store(int n, PvItem tmp) {
  bool ok = pv_itemParamStore(n, &tmp);
  pv_itemClear(&tmp);
  return ok;
}

bool pv_storc(const char* text, int n) {
  PvItem t = {PV_IT_NIL, {}};
  pv_itemPutC(&t, text);
  return store(n, t);
}

bool pv_storclen(const char* text, PV_SIZE len, int n) {
  PvItem t = {PV_IT_NIL, {}};
  pv_itemPutCL(&t, text, len);
  return store(n, t);
}

bool pv_storni(int value, int n) {
  PvItem t = {PV_IT_NIL, {}};
  pv_itemPutNI(&t, value);
  return store(n, t);
}

bool pv_stornd(double value, int n) {
  PvItem t = {PV_IT_NIL, {}};
  pv_itemPutND(&t, value);
  return store(n, t);
}

bool pv_storl(bool value, int n) {
  PvItem t = {PV_IT_NIL, {}};
  pv_itemPutL(&t, value);
  return store(n, t);
}

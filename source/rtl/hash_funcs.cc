// Hash functions: PV_HASH builds a hash from key/value pairs; PV_HGET, PV_HGETDEF, PV_HSET,
// PV_HHASKEY, PV_HDEL, PV_HPOS, PV_HKEYAT, PV_HVALUEAT, PV_HDELAT, PV_HKEYS, PV_HVALUES,
// PV_HCLONE, PV_HMERGE, PV_HEVAL and PV_HCLEAR work on one; PV_HCASEMATCH, PV_HAUTOADD,
// PV_HKEEPORDER and PV_HDEFAULT read and set its options.
#include "array.h"
#include "errors.h"
#include "hash.h"
#include "registrar.h"
#include "rtl_args.h"
#include "vm.h"

namespace {

// The hash parameter 1 and, when `keyParam` is non-zero, a valid key in that parameter; on
// failure an argument error is raised and false returned.
bool hashArgs(const char* name, int keyParam, PV_ITEM* hash, PV_ITEM* key) {
  *hash = pv_param(1, PV_IT_HASH);
  *key = keyParam ? pv_param(keyParam, PV_IT_ANY) : nullptr;
  if (*hash && (!keyParam || (*key && pv_hashIsKey(*key)))) return true;
  pv_rtlArgError(*hash ? PV_SUB_HASHKEY : PV_SUB_HASH, name);
  return false;
}

// PV_HASH( [xKey1, xValue1, ...] )
void PV_FUN_PV_HASH() {
  int n = pv_pcount();
  bool ok = n % 2 == 0;
  for (int i = 1; ok && i <= n; i += 2) ok = pv_hashIsKey(pv_paramError(i));
  if (!ok) return pv_rtlArgError(PV_SUB_HASH, "PV_HASH");
  PV_ITEM h = pv_stackReturnItem();
  pv_hashNew(h);
  for (int i = 1; i <= n; i += 2) pv_hashAdd(h, pv_paramError(i), pv_paramError(i + 1));
}

// PV_HGET( hHash, xKey ): a missing key is the error "Bound error".
void PV_FUN_PV_HGET() {
  PV_ITEM h, k;
  if (!hashArgs("PV_HGET", 2, &h, &k)) return;
  if (!pv_hashGet(h, k, pv_stackReturnItem())) pv_rtlError(PV_EG_BOUND, PV_SUB_HASHKEY, "PV_HGET");
}

// PV_HGETDEF( hHash, xKey, [xDefault] )
void PV_FUN_PV_HGETDEF() {
  PV_ITEM h, k;
  if (!hashArgs("PV_HGETDEF", 2, &h, &k)) return;
  if (!pv_hashGet(h, k, pv_stackReturnItem())) pv_itemReturn(pv_paramError(3));
}

void PV_FUN_PV_HSET() {
  PV_ITEM h, k;
  if (!hashArgs("PV_HSET", 2, &h, &k)) return;
  pv_hashSet(h, k, pv_paramError(3));
  pv_itemReturn(h);
}

void PV_FUN_PV_HHASKEY() {
  PV_ITEM h, k;
  if (hashArgs("PV_HHASKEY", 2, &h, &k)) pv_retl(pv_hashScan(h, k, nullptr));  // no position needed
}

void PV_FUN_PV_HDEL() {
  PV_ITEM h, k;
  if (!hashArgs("PV_HDEL", 2, &h, &k)) return;
  pv_hashRemove(h, k);
  pv_itemReturn(h);
}

// PV_HPOS( hHash, xKey ): the pair's position in iteration order, 0 when absent.
void PV_FUN_PV_HPOS() {
  PV_ITEM h, k;
  PV_SIZE pos = 0;
  if (hashArgs("PV_HPOS", 2, &h, &k)) pv_retnint(pv_hashScan(h, k, &pos) ? pos : 0);
}

// The pair position in parameter 2, or an argument error (0).
PV_SIZE position(PV_ITEM* h, const char* name) {
  PV_ITEM none;
  if (!hashArgs(name, 0, h, &none)) return 0;
  long long pos = pv_ispar(2, PV_IT_NUMERIC) ? pv_parnll(2) : 0;
  if (pos < 1 || pos > pv_hashLen(*h)) {
    pv_rtlError(PV_EG_BOUND, PV_SUB_HASHKEY, name);
    return 0;
  }
  return static_cast<PV_SIZE>(pos);
}

void PV_FUN_PV_HKEYAT() {
  PV_ITEM h;
  if (PV_SIZE pos = position(&h, "PV_HKEYAT")) pv_itemReturn(pv_hashGetKeyAt(h, pos));
}

void PV_FUN_PV_HVALUEAT() {
  PV_ITEM h;
  if (PV_SIZE pos = position(&h, "PV_HVALUEAT")) pv_itemReturn(pv_hashGetValueAt(h, pos));
}

void PV_FUN_PV_HDELAT() {
  PV_ITEM h;
  if (PV_SIZE pos = position(&h, "PV_HDELAT")) {
    pv_hashDelAt(h, pos);
    pv_itemReturn(h);
  }
}

// The keys (or values) in iteration order, as an array.
void listPairs(bool keys, const char* name) {
  PV_ITEM h, none;
  if (!hashArgs(name, 0, &h, &none)) return;
  PV_ITEM out = pv_stackReturnItem();
  PV_SIZE n = pv_hashLen(h);
  pv_arrayNew(out, n);
  for (PV_SIZE i = 1; i <= n; ++i) pv_arraySet(out, i, keys ? pv_hashGetKeyAt(h, i) : pv_hashGetValueAt(h, i));
}

void PV_FUN_PV_HKEYS() { listPairs(true, "PV_HKEYS"); }
void PV_FUN_PV_HVALUES() { listPairs(false, "PV_HVALUES"); }

void PV_FUN_PV_HCLONE() {
  PV_ITEM h, none;
  if (hashArgs("PV_HCLONE", 0, &h, &none)) pv_itemReturnRelease(pv_hashClone(h));
}

// PV_HMERGE( hTarget, hSource ): adds or replaces the source's pairs; returns the target.
void PV_FUN_PV_HMERGE() {
  PV_ITEM h, none;
  if (!hashArgs("PV_HMERGE", 0, &h, &none)) return;
  PV_ITEM src = pv_param(2, PV_IT_HASH);
  if (!src) return pv_rtlArgError(PV_SUB_HASH, "PV_HMERGE");
  pv_hashMerge(h, src);
  pv_itemReturn(h);
}

// PV_HEVAL( hHash, bBlock ): calls the block with key, value and position; returns the hash.
void PV_FUN_PV_HEVAL() {
  PV_ITEM h, none;
  if (!hashArgs("PV_HEVAL", 0, &h, &none)) return;
  PV_ITEM block = pv_param(2, PV_IT_BLOCK);
  if (!block) return pv_rtlArgError(PV_SUB_HASH, "PV_HEVAL");
  PV_ITEM hold = pv_itemNew(h);  // the block may drop the caller's reference
  for (PV_SIZE i = 1; i <= pv_hashLen(hold) && !pv_vmRequestQuery(); ++i) {
    PvItem pos = {PV_IT_NIL, {}};
    pv_itemPutNInt(&pos, i);
    PV_ITEM key = pv_itemNew(pv_hashGetKeyAt(hold, i));
    PV_ITEM value = pv_itemNew(pv_hashGetValueAt(hold, i));
    pv_vmEvalBlockV(block, 3, key, value, &pos);
    pv_itemRelease(key);
    pv_itemRelease(value);
  }
  pv_itemReturnRelease(hold);
}

void PV_FUN_PV_HCLEAR() {
  PV_ITEM h, none;
  if (!hashArgs("PV_HCLEAR", 0, &h, &none)) return;
  pv_hashClear(h);
  pv_itemReturn(h);
}

// An option flag: returns whether it was on before and sets it from a logical parameter 2.
void option(int flag, bool onMeansSet, const char* name) {
  PV_ITEM h, none;
  if (!hashArgs(name, 0, &h, &none)) return;
  bool set = (pv_hashGetFlags(h) & flag) != 0;
  pv_retl(onMeansSet ? set : !set);
  if (!pv_ispar(2, PV_IT_LOGICAL)) return;
  if (pv_parl(2) == onMeansSet) pv_hashSetFlags(h, flag);
  else pv_hashClearFlags(h, flag);
}

void PV_FUN_PV_HCASEMATCH() { option(PV_HASH_IGNORECASE, false, "PV_HCASEMATCH"); }
void PV_FUN_PV_HAUTOADD() { option(PV_HASH_AUTOADD_ASSIGN, true, "PV_HAUTOADD"); }
void PV_FUN_PV_HKEEPORDER() { option(PV_HASH_KEEPORDER, true, "PV_HKEEPORDER"); }

// PV_HDEFAULT( hHash, [xValue] ): the value missing keys read as; sets it when given.
void PV_FUN_PV_HDEFAULT() {
  PV_ITEM h, none;
  if (!hashArgs("PV_HDEFAULT", 0, &h, &none)) return;
  pv_itemReturn(pv_hashGetDefault(h));
  if (pv_pcount() >= 2) pv_hashSetDefault(h, pv_paramError(2));
}

PvSymbol s_symbols[] = {
    pv_native("PV_HASH", PV_FUN_PV_HASH),           pv_native("PV_HGET", PV_FUN_PV_HGET),
    pv_native("PV_HGETDEF", PV_FUN_PV_HGETDEF),     pv_native("PV_HSET", PV_FUN_PV_HSET),
    pv_native("PV_HHASKEY", PV_FUN_PV_HHASKEY),     pv_native("PV_HDEL", PV_FUN_PV_HDEL),
    pv_native("PV_HPOS", PV_FUN_PV_HPOS),           pv_native("PV_HKEYAT", PV_FUN_PV_HKEYAT),
    pv_native("PV_HVALUEAT", PV_FUN_PV_HVALUEAT),   pv_native("PV_HDELAT", PV_FUN_PV_HDELAT),
    pv_native("PV_HKEYS", PV_FUN_PV_HKEYS),         pv_native("PV_HVALUES", PV_FUN_PV_HVALUES),
    pv_native("PV_HCLONE", PV_FUN_PV_HCLONE),       pv_native("PV_HMERGE", PV_FUN_PV_HMERGE),
    pv_native("PV_HEVAL", PV_FUN_PV_HEVAL),         pv_native("PV_HCLEAR", PV_FUN_PV_HCLEAR),
    pv_native("PV_HCASEMATCH", PV_FUN_PV_HCASEMATCH), pv_native("PV_HAUTOADD", PV_FUN_PV_HAUTOADD),
    pv_native("PV_HKEEPORDER", PV_FUN_PV_HKEEPORDER), pv_native("PV_HDEFAULT", PV_FUN_PV_HDEFAULT),
};
PvModuleRegistrar s_module("rtl/hash_funcs", s_symbols);

}  // namespace

// Memory variables: the value table (entries reused through a free list), the privates stack
// and its per-procedure base, and the name-based operations.
#include "memvar.h"

#include <cctype>
#include <deque>
#include <vector>

#include "dynsym.h"
#include "errint.h"
#include "classes.h"
#include "errors.h"
#include "gc.h"
#include "vm.h"

struct PvMemvar {
  PvItem value;
  uint32_t refCount;
  uint32_t hidden;   // handle of the variable this PRIVATE hides, 0 when none
  uint32_t handle;
  bool isPublic;
};

namespace {

struct Store {
  std::deque<PvMemvar> entries;     // handle n is entries[n - 1]; deque keeps addresses stable
  std::vector<uint32_t> freeList;
  std::vector<PvDynSym*> privates;  // names of the PRIVATE variables, in creation order
};

Store g_store;  // used only after start-up, never from static initialisers

inline Store& store() { return g_store; }

PvMemvar* entry(uint32_t handle) { return handle ? &store().entries[handle - 1] : nullptr; }

uint32_t newEntry(PV_ITEM value) {
  Store& s = store();
  uint32_t handle;
  if (!s.freeList.empty()) {
    handle = s.freeList.back();
    s.freeList.pop_back();
  } else {
    s.entries.push_back(PvMemvar{{PV_IT_NIL, {}}, 0, 0, 0, false});
    handle = static_cast<uint32_t>(s.entries.size());
  }
  PvMemvar* e = entry(handle);
  e->refCount = 1;
  e->hidden = 0;
  e->handle = handle;
  e->isPublic = false;
  e->value.type = PV_IT_NIL;
  if (value) pv_itemCopy(&e->value, value);
  return handle;
}

void markAll() {
  for (auto& e : store().entries)
    if (e.refCount) pv_gcItemMark(&e.value);
}

struct Registrar {
  Registrar() { pv_gcRegisterRoots(markAll); }
} g_registrar;

PvDynSym* checked(PvDynSym* name) {
  if (!name) pv_errInternal(9021, nullptr, "", nullptr);
  return name;
}

}  // namespace

PvPrivatesMark pv_privates = {0, 0};

void pv_memvarValueIncRef(PvMemvar* e) { ++e->refCount; }

void pv_memvarValueDecRef(PvMemvar* e) {
  if (e->refCount == 0) return;
  if (--e->refCount == 0) {
    pv_itemClear(&e->value);
    store().freeList.push_back(e->handle);
  }
}

PV_ITEM pv_memvarValueItem(PvMemvar* e) { return &e->value; }
void pv_memvarValueMark(PvMemvar* e) { pv_gcItemMark(&e->value); }

void pv_memvarReleasePrivates() {
  Store& s = store();
  while (static_cast<PV_SIZE>(s.privates.size()) > pv_privates.base) {
    PvDynSym* name = s.privates.back();
    s.privates.pop_back();
    pv_privates.count = static_cast<PV_SIZE>(s.privates.size());
    PvMemvar* e = entry(name->memvar);
    if (!e) continue;
    name->memvar = e->hidden;
    pv_memvarValueDecRef(e);
  }
}

void pv_memvarCreatePublic(PvDynSym* name) {
  checked(name);
  if (name->memvar) return;
  PvItem initial = {PV_IT_NIL, {}};
  pv_itemPutL(&initial, std::string(pv_dynsymName(name)) == "QUARVEL");
  uint32_t h = newEntry(&initial);
  entry(h)->isPublic = true;
  name->memvar = h;
}

void pv_memvarCreatePrivate(PvDynSym* name, PV_ITEM value) {
  checked(name);
  uint32_t h = newEntry(value);
  entry(h)->hidden = name->memvar;
  name->memvar = h;
  store().privates.push_back(name);
  pv_privates.count = static_cast<PV_SIZE>(store().privates.size());
}

PV_ITEM pv_memvarGetValue(PvDynSym* name) {
  PvMemvar* e = name ? entry(name->memvar) : nullptr;
  return e ? &e->value : nullptr;
}

void pv_memvarPushValue(PvDynSym* name) {
  checked(name);
  PV_ITEM error = nullptr;  // one error object, launched again on each retry (Tries counts)
  for (;;) {
    if (PV_ITEM v = pv_memvarGetValue(name)) {
      pv_vmPush(pv_itemUnRef(v));
      break;
    }
    if (pv_errLaunchNoVar(pv_dynsymName(name), &error) != PV_ERR_RETRY) {
      pv_vmPushNil();
      break;
    }
  }
  if (error) pv_errRelease(error);
}

void pv_memvarPushRef(PvDynSym* name) {
  checked(name);
  if (!name->memvar) pv_memvarCreatePrivate(name, nullptr);
  PvMemvar* e = entry(name->memvar);
  PV_ITEM ref = pv_stackAllocItem();
  ref->type = PV_IT_BYREF | PV_IT_MEMVAR;
  ref->item.asRefer.memvar = e;
  ref->item.asRefer.extValue = nullptr;
  ref->item.asRefer.offset = 0;
  pv_memvarValueIncRef(e);
}

void pv_memvarSetValue(PvDynSym* name, PV_ITEM value) {
  checked(name);
  if (PvMemvar* e = entry(name->memvar)) {
    PV_ITEM dest = pv_itemUnRefWrite(&e->value);
    if (pv_objHasOperator(dest, PV_OO_OP_ASSIGN)) {  // the object takes the assignment
      PvItem target = {PV_IT_NIL, {}}, result = {PV_IT_NIL, {}};
      pv_itemCopy(&target, dest);
      pv_objOperatorCall(PV_OO_OP_ASSIGN, &result, &target, value, nullptr);
      pv_itemClear(&target);
      pv_itemClear(&result);
      return;
    }
    if (dest != value) pv_itemCopy(dest, value);
    dest->type &= ~PV_IT_MEMOFLAG;
  } else {
    pv_memvarCreatePrivate(name, value);
  }
}

void pv_memvarRelease(PvDynSym* name) {
  if (PvMemvar* e = entry(name ? name->memvar : 0)) pv_itemClear(&e->value);
}

// Wildcard match of a name with * and ? (the name is upper case, the mask compared as such).
static bool wildMatch(const char* mask, const char* name) {
  if (!*mask) return !*name;
  if (*mask == '*') return wildMatch(mask + 1, name) || (*name && wildMatch(mask, name + 1));
  if (!*name) return false;
  char m = static_cast<char>(std::toupper(static_cast<unsigned char>(*mask)));
  return (m == '?' || m == *name) && wildMatch(mask + 1, name + 1);
}

void pv_memvarReleaseMask(const char* mask, bool matching, PV_SIZE privatesBase) {
  const Store& s = store();
  for (PV_SIZE i = privatesBase; i < static_cast<PV_SIZE>(s.privates.size()); ++i) {
    PvDynSym* name = s.privates[static_cast<size_t>(i)];
    if (wildMatch(mask, pv_dynsymName(name)) == matching) pv_memvarRelease(name);
  }
}

void pv_memvarClearAll() {
  pv_privates.base = 0;
  pv_memvarReleasePrivates();
  for (int i = 0; i < pv_dynsymCount(); ++i) {
    PvDynSym* d = pv_dynsymAt(i);
    if (PvMemvar* e = entry(d->memvar)) {
      d->memvar = 0;
      pv_memvarValueDecRef(e);
    }
  }
}

int pv_memvarScope(const char* text, PV_SIZE privatesBase) {
  PvDynSym* name = pv_dynsymFindName(text);
  if (!name || !name->memvar) return -1;  // no variable of that name
  PvMemvar* e = entry(name->memvar);
  if (e->isPublic) return 1;
  const Store& s = store();
  for (PV_SIZE i = static_cast<PV_SIZE>(s.privates.size()); i > privatesBase; --i)
    if (s.privates[i - 1] == name) return 4;  // private of the running procedure
  return 2;                                    // private of a caller
}

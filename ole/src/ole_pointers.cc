// The table of interface pointers the bridge holds references on.
#include "ole_pointers.h"

#include "gc.h"
#include "pointer_counts.h"

namespace ole {
namespace {

PointerCounts& held() {
  static PointerCounts table;
  return table;
}

}  // namespace

void HoldAdopted(com::IDispatch* p) { held().Add(p); }

bool AddRefHeld(com::IDispatch* p, com::ULONG* count) {
  std::uint64_t* n = held().Find(p);
  if (!n) return false;
  ++*n;
  *count = p->AddRef();
  return true;
}

bool ReleaseHeld(com::IDispatch* p, com::ULONG* count) {
  if (!held().Remove(p)) return false;
  *count = p->Release();
  return true;
}

namespace {

struct Owner {
  com::IDispatch* p;
};

void ReleaseOwner(void* block) {
  auto* owner = static_cast<Owner*>(block);
  com::ULONG count = 0;
  if (owner->p) ReleaseHeld(owner->p, &count);
  owner->p = nullptr;
}

const PvGcFuncs kOwnerFuncs = {ReleaseOwner, nullptr};

}  // namespace

void PutOwner(PV_ITEM dest, com::IDispatch* p) {
  auto* owner = static_cast<Owner*>(pv_gcAlloc(sizeof(Owner), &kOwnerFuncs));
  owner->p = p;
  pv_itemPutPtrGC(dest, owner);
}

com::IDispatch* HeldFromNumber(std::int64_t n) {
  auto* p = reinterpret_cast<com::IDispatch*>(static_cast<std::intptr_t>(n));
  return held().Find(p) ? p : nullptr;
}

std::int64_t NumberOf(com::IDispatch* p) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(p));
}

}  // namespace ole

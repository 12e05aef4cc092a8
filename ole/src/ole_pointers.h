// The interface pointers the bridge holds references on. A pointer travels through the
// language as a number (the whole 64-bit address); before the bridge uses such a number it
// checks that it is one of these, so a stale or made-up number is refused instead of being
// dereferenced. A pointer stays known while the bridge holds at least one reference on it.
#pragma once

#include <cstdint>

#include "com/com.h"
#include "item.h"

namespace ole {

// Counts one reference the caller already owns on `p` as held by the bridge.
void HoldAdopted(com::IDispatch* p);
// AddRef on a held pointer, the new count into *count; false when `p` is not held.
bool AddRefHeld(com::IDispatch* p, com::ULONG* count);
// Release of one held reference, the count Release gave into *count; false when not held.
bool ReleaseHeld(com::IDispatch* p, com::ULONG* count);
// dest := a collectable pointer value that owns one held reference on `p` (taken over from
// the caller) and gives it back when its last holder goes. TOleAuto keeps its reference this
// way, so no code has to run when an object dies (also while the runtime shuts down).
void PutOwner(PV_ITEM dest, com::IDispatch* p);
// The held dispatch pointer a number stands for, or nullptr.
com::IDispatch* HeldFromNumber(std::int64_t n);
std::int64_t NumberOf(com::IDispatch* p);

}  // namespace ole

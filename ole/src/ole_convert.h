// VARIANTs to values, as the bridge returns results and by-reference arguments.
#pragma once

#include <string>

#include "com/com.h"
#include "item.h"

namespace ole {

// dest := the value of v (cleared first). E_FAIL (and NIL, with a trace line) for types that
// have no value here. A dispatch becomes a TOleAuto named `objectName` (the pointer's decimal
// text when empty).
com::HRESULT VariantToItem(PV_ITEM dest, const com::VARIANT* v, PV_ITEM objectName = nullptr);

}  // namespace ole

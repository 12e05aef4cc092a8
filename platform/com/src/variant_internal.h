// Helpers shared by the VARIANT and SAFEARRAY implementations.
#pragma once

#include <cstddef>

#include "com/types.h"

namespace com {

// True for the element types a VARIANT may hold by value (not EMPTY, NULL, VARIANT, PTR).
bool IsScalarVariantType(VARTYPE base);
// Byte size of one value of base type `base` in memory (0 for unsupported types).
std::size_t ScalarSize(VARTYPE base);

}  // namespace com

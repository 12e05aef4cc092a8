// GUID parsing shared by the class registry.
#pragma once

#include <string_view>

#include "com/types.h"

namespace com {

// Parses exactly "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (hex digits in either case).
bool ParseGuid(std::u16string_view text, GUID* out);

}  // namespace com

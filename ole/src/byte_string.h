// Byte-array strings: text values that came from a SAFEARRAY of VT_I1 or VT_UI1 elements and
// go back to a server as the same byte array. The runtime string keeps, after its counted
// bytes and their terminating NUL, a trailer that only owned string buffers can carry:
//
//   offset len       0x00          the runtime's terminator
//   offset len+1     0x7A 0x7B 0x7C 0x7D   marker "z{|}"
//   offset len+5     element VARTYPE (16 VT_I1 or 17 VT_UI1)
//   offset len+6     0x00
//
// The string's allocation covers these 7 bytes; a copy shares the buffer (and so the
// trailer), while any operation that makes new text (concatenation, SUBSTR …) drops it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "com/types.h"
#include "item.h"

namespace ole {

// dest := a byte-array string of n bytes with element type vt.
void PutByteString(PV_ITEM dest, const std::uint8_t* bytes, std::size_t n, com::VARTYPE vt);
// The element type of a byte-array string, 0 for any other value.
com::VARTYPE ByteStringType(PV_ITEM value);

}  // namespace ole

// Native helpers of the Automation bridge for other native code: text conversions between the
// runtime's ANSI text (code page 1252) and UTF-16, and the conversion of a value to a VARIANT.
#pragma once

#include <cstddef>

#include "com/com.h"
#include "item.h"

// A new BSTR holding `len` bytes of ANSI text, or nullptr when the conversion fails. The
// caller frees it with com::SysFreeString.
com::BSTR pv_oleAnsiToSysString(const char* text, std::size_t len);
// A new zero-terminated UTF-16 buffer from the runtime allocator (free with pv_xfree), or
// nullptr; *units receives the number of code units without the terminator.
com::OLECHAR* pv_oleAnsiToWide(const char* text, std::size_t len, std::size_t* units);
// A new zero-terminated ANSI buffer from the runtime allocator (free with pv_xfree), or
// nullptr; *bytes receives its length without the terminator.
char* pv_oleWideToAnsi(const com::OLECHAR* wide, std::size_t units, std::size_t* bytes);
// Fills `variant` (cleared first) from `value` as the bridge passes arguments to a server.
// Returns S_OK, or DISP_E_TYPEMISMATCH when the value cannot travel (arrays nested too deep).
com::HRESULT pv_oleItemToVariant(com::VARIANT* variant, PV_ITEM value);

// Compiled resources linked into the program: dialog templates registered at start-up (by the
// code the resource compiler pvrc generates) and found by name or number.
#pragma once

#include <cstddef>

#include "win32/types.h"

namespace pv::win32 {

// Registers a template under a name, or under a number when name is null; the bytes must stay
// valid for the life of the program. False when that name or number is taken.
bool registerDialogResource(const char* name, WORD id, WORD language, const unsigned char* data, size_t size);

// Finds a template by name (case-insensitive) or by MAKEINTRESOURCE number.
bool findDialogResource(LPCSTR name, const unsigned char** data, size_t* size);

}  // namespace pv::win32

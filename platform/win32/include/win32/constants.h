// The Win32 constants of this layer as typed compile-time values (messages, styles, codes, GDI
// values), from constant_list.inc, plus the few that need a signed type.
#pragma once

#include "win32/types.h"

#define PV_W32_CONST(name, value) inline constexpr auto name = value;
#include "win32/constant_list.inc"
#undef PV_W32_CONST

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(ULONG_PTR)0x80000003u)

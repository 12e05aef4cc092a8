// Everything of the Win32-shaped API in one include.
#pragma once

#include "win32/constants.h"
#include "win32/gdi.h"
#include "win32/kernel.h"
#include "win32/types.h"
#include "win32/user.h"

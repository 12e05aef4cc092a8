// Everything of the Automation layer in one include.
#pragma once

#include "com/bstr.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "com/registry.h"
#include "com/safearray.h"
#include "com/types.h"
#include "com/variant.h"

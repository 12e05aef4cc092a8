// Introspection of the running calls: procedure names, lines and module names by level
// (level 0 is the running call).
#pragma once

#include <string>

#include "item.h"

bool pv_procExists(int level);
std::string pv_procName(int level);    // "CLASS:METHOD" for methods, "" past the outermost
int pv_procLine(int level);
std::string pv_procFile(int level);    // the module (source file) name
int pv_procParamCount(int level);
int pv_procLocalCount(int level);      // locals after the parameters, as far as known
// Parameter or local n (1-based) of a level; nullptr when it does not exist.
PV_ITEM pv_procLocal(int level, int n);

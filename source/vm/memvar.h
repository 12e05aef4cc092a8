// Memory variables: PUBLIC and PRIVATE variables addressed by name through dynamic symbols.
#pragma once

#include "item.h"

struct PvDynSym;
struct PvMemvar;   // an entry of the value table

// Entries are reference counted: by-reference items to a variable keep its value alive.
void pv_memvarValueIncRef(PvMemvar* entry);
void pv_memvarValueDecRef(PvMemvar* entry);
PV_ITEM pv_memvarValueItem(PvMemvar* entry);
void pv_memvarValueMark(PvMemvar* entry);

// The privates stack's size and the base where the running procedure's privates begin.
struct PvPrivatesMark {
  PV_SIZE base;
  PV_SIZE count;
};
extern PvPrivatesMark pv_privates;

void pv_memvarReleasePrivates();  // releases the privates above the base

// Current base; starts a new one at the top (a procedure is entered).
inline PV_SIZE pv_memvarGetPrivatesBase() {
  PV_SIZE old = pv_privates.base;
  pv_privates.base = pv_privates.count;
  return old;
}
// Releases the privates created since the running procedure began and restores `base`.
inline void pv_memvarSetPrivatesBase(PV_SIZE base) {
  if (pv_privates.count > pv_privates.base) pv_memvarReleasePrivates();
  pv_privates.base = base;
}

void pv_memvarCreatePublic(PvDynSym* name);
void pv_memvarCreatePrivate(PvDynSym* name, PV_ITEM value);  // value may be null (NIL)
PV_ITEM pv_memvarGetValue(PvDynSym* name);    // nullptr when the name has no variable
// Pushes the value of a memory variable (14/1003 with retry when it does not exist).
void pv_memvarPushValue(PvDynSym* name);
void pv_memvarPushRef(PvDynSym* name);        // creates a PRIVATE when absent
void pv_memvarSetValue(PvDynSym* name, PV_ITEM value);   // creates a PRIVATE when absent
void pv_memvarRelease(PvDynSym* name);
// Clears the PRIVATE variables created since `privatesBase` whose names match the wildcard
// mask (* and ?), or those that do not match when `matching` is false.
void pv_memvarReleaseMask(const char* mask, bool matching, PV_SIZE privatesBase);
void pv_memvarClearAll();
// __MVSCOPE: -1 no variable, 1 PUBLIC, 2 PRIVATE of a caller, 4 PRIVATE created since
// `privatesBase` (the running procedure's own).
int pv_memvarScope(const char* name, PV_SIZE privatesBase);

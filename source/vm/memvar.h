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

PV_SIZE pv_memvarGetPrivatesBase();           // current base; starts a new one at the top
void pv_memvarSetPrivatesBase(PV_SIZE base);  // releases privates created since, restores base

void pv_memvarCreatePublic(PvDynSym* name);
void pv_memvarCreatePrivate(PvDynSym* name, PV_ITEM value);  // value may be null (NIL)
PV_ITEM pv_memvarGetValue(PvDynSym* name);    // nullptr when the name has no variable
// Pushes the value of a memory variable (14/1003 with retry when it does not exist).
void pv_memvarPushValue(PvDynSym* name);
void pv_memvarPushRef(PvDynSym* name);        // creates a PRIVATE when absent
void pv_memvarSetValue(PvDynSym* name, PV_ITEM value);   // creates a PRIVATE when absent
void pv_memvarRelease(PvDynSym* name);
void pv_memvarClearAll();
// __MVSCOPE: -1 no variable, 1 PUBLIC, 2 PRIVATE of a caller, 4 PRIVATE created since
// `privatesBase` (the running procedure's own).
int pv_memvarScope(const char* name, PV_SIZE privatesBase);

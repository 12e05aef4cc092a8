// Variables for the machine: locals (detached into shared holders when captured or referenced),
// module statics, memory variables and fields through the table engine's hooks, references.
#pragma once

#include "item.h"

struct PvDynSym;

// The slot of local n of the running frame (n < 0: detached local of the running block).
PV_ITEM pv_vmLocalSlot(int n);
// Moves local n into a shared holder (once) and returns the slot, now a reference to it.
PV_ITEM pv_vmDetachLocal(int n);
// A by-reference item to element `index` (1-based) of `array`, into dest.
void pv_vmElementRef(PV_ITEM dest, PV_ITEM array, PV_SIZE index);
// The module statics array selected by the running frame (nullptr when none).
PV_ITEM pv_vmStatics();

// Fields of the current work area and names resolved field-first.
void pv_vmPushField(PvDynSym* name);
void pv_vmPopField(PvDynSym* name);
void pv_vmPushVariable(PvDynSym* name);
void pv_vmPopVariable(PvDynSym* name);
void pv_vmPushAliasedField(PvDynSym* name);   // alias on the stack top
void pv_vmPopAliasedField(PvDynSym* name);    // value, alias on the stack
void pv_vmPushAliasedVar(PvDynSym* name);     // alias: M/MEMVAR names a memory variable
void pv_vmPopAliasedVar(PvDynSym* name);
void pv_vmPopAlias();                          // selects the area named by the stack top
void pv_vmPushAlias();
void pv_vmSwapAlias();                         // area value -> value; selects area

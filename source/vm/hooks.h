// Services of higher layers that the machine calls: the macro compiler and the table engine.
// Each layer installs its hooks when it is linked in; until then the defaults answer.
#pragma once

#include "item.h"

struct PvDynSym;
struct PvMacro;  // a compiled expression, owned by the compiler

struct PvMacroHooks {
  // Compiles text; nullptr on a syntax error (nothing raised).
  PvMacro* (*compile)(const char* text, PV_SIZE len);
  // Runs a compiled expression in the running frame; its value is pushed.
  void (*run)(PvMacro* macro);
  void (*remove)(PvMacro* macro);
};

struct PvAreaHooks {
  // Field `name` of the current work area into `dest`; false when the area has no such field.
  bool (*fieldGet)(PvDynSym* name, PV_ITEM dest);
  // Assigns field `name` of the current work area; false when the area has no such field.
  bool (*fieldPut)(PvDynSym* name, PV_ITEM value);
  int (*currentArea)();
  void (*selectArea)(int area);
  // The area number an alias value (name, number, or symbol) stands for; 0 after raising the
  // "Alias does not exist" error when there is none.
  int (*areaOf)(PV_ITEM alias);
};

void pv_vmSetMacroHooks(const PvMacroHooks* hooks);
void pv_vmSetAreaHooks(const PvAreaHooks* hooks);
const PvMacroHooks* pv_vmMacroHooks();   // nullptr until the compiler is linked in
const PvAreaHooks* pv_vmAreaHooks();     // the defaults until the table engine is linked in

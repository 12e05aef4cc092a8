// Dynamic symbols: the global, name-sorted table that binds names to functions, memory
// variables and work areas, and the registry of modules.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "symbol.h"

struct PvItem;

struct PvDynSym {
  PvSymbol* symbol;      // provides the name's function (a local definition wins)
  uint32_t memvar;       // handle of the visible memory variable, 0 when none
  uint32_t area;         // work-area number open under this name, 0 when none
  uint32_t counters[4];  // per-name counters (profiling), zeroed on creation
  PvModule* module;      // module of the local definition, if any
};

struct PvModule {
  PvSymbol* symbols;
  uint16_t count;
  PvModule* next;
  uint32_t allScopes;     // OR of every symbol's scope
  std::string name;
  bool copied;            // table copied (loaded at run time)
  bool active;
  bool initPending;       // static initialisers not yet run
  void* library;
  PvItem* statics;        // the module's statics array item (created by its initialiser)
};

PvDynSym* pv_dynsymFind(const char* upperName);   // exact lookup, nullptr when absent
PvDynSym* pv_dynsymFindName(const char* text);    // upper-cases up to 63 characters first
PvDynSym* pv_dynsymGet(const char* text);         // creates the name when absent
// The name when it has a function, nullptr when not. A name without one is first given to the
// resolver, if an executable set one: it may register more modules (a library loaded on
// demand) and answers whether it did. It is not asked again while it runs.
PvDynSym* pv_dynsymFunction(const char* upperName);
PvDynSym* pv_dynsymFunctionName(const char* text);  // upper-cases up to 63 characters first
void pv_dynsymSetResolver(bool (*resolver)(const char* upperName));
PvDynSym* pv_dynsymNew(PvSymbol* symbol, PvModule* module);
PvSymbol* pv_symbolNew(const char* name);         // free-standing, freed at shut-down
const char* pv_dynsymName(PvDynSym* dynsym);
PvSymbol* pv_dynsymSymbol(PvDynSym* dynsym);
bool pv_dynsymIsFunction(PvDynSym* dynsym);
int pv_dynsymCount();
PvDynSym* pv_dynsymAt(int index);                 // in name order, 0-based

PvModule* pv_moduleFirst();
PvSymbol* pv_vmMainCandidate();
void pv_moduleReleaseAll();
// The module a symbol table entry belongs to (by address range), nullptr when none.
PvModule* pv_moduleOfSymbol(const PvSymbol* symbol);

// The functions programs can call by name, as the linked modules registered them: for the
// generated function list and for tests that call every one of them.
#pragma once

#include <string>
#include <vector>

struct PvSymbol;

struct PvFunctionEntry {
  std::string name;
  std::string module;  // the registering module's name
  PvSymbol* symbol;    // the definition calls reach (the first one registered)
};

// In name order, one entry per name.
std::vector<PvFunctionEntry> pv_rtlRegisteredFunctions();

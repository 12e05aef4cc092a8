// Helpers shared by the runtime benchmarks: deterministic data and calls of language functions.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "dynsym.h"
#include "item.h"
#include "vm.h"

namespace pvbench {

inline void ensureStack() {
  static bool ready = false;
  if (!ready) {
    pv_stackInit();
    ready = true;
  }
}

inline std::vector<double> randomDoubles(size_t n) {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> dist(-1e6, 1e6);
  std::vector<double> v(n);
  for (double& d : v) d = dist(rng);
  return v;
}

inline std::vector<std::string> randomStrings(size_t n) {
  std::mt19937_64 rng(7);
  std::vector<std::string> v(n);
  for (std::string& s : v) {
    s.resize(10);
    for (char& c : s) c = static_cast<char>('A' + rng() % 26);
  }
  return v;
}

// Calls language function `name` with the given items; the result is in the return slot.
inline PV_ITEM callFunction(PvSymbol* fn, std::initializer_list<PV_ITEM> args) {
  pv_vmPushSymbol(fn);
  pv_vmPushNil();
  for (PV_ITEM a : args) pv_vmPush(a);
  pv_vmDo(static_cast<uint16_t>(args.size()));
  return pv_stackReturnItem();
}

inline PvSymbol* function(const char* name) { return pv_dynsymFind(name)->symbol; }

}  // namespace pvbench

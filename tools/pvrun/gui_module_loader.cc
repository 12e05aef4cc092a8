// pvrun's loader of the GUI library and the Automation bridge. Both (and Qt with them) are built
// as one module, pvrun_gui.so, that pvrun opens only when a program needs it: the first time a
// function name is not found among the runtime's, or at start when the program runs with
// //uiscript:FILE or //gui. The module takes the runtime's functions from pvrun itself, so one
// machine serves both. It is looked for next to pvrun, then in ../lib beside that folder.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "vm/dynsym.h"
#include "vm/start.h"

namespace {

constexpr const char* kModuleName = "pvrun_gui.so";

enum class State { NotLoaded, Loaded, Failed };
State g_state = State::NotLoaded;

std::vector<std::filesystem::path> candidates() {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  return {folder / kModuleName, folder.parent_path() / "lib" / kModuleName};
}

// Opens the module and starts what it registered; false, with the reason on stderr, when it is
// missing or cannot be loaded. Tried once.
bool load() {
  if (g_state != State::NotLoaded) return g_state == State::Loaded;
  g_state = State::Failed;
  std::vector<std::filesystem::path> paths = candidates();
  for (const auto& path : paths) {
    if (access(path.c_str(), F_OK) != 0) continue;
    if (!dlopen(path.c_str(), RTLD_NOW)) {
      std::fprintf(stderr, "pvrun: cannot load the GUI library: %s\n", dlerror());
      return false;
    }
    g_state = State::Loaded;
    pv_vmInitLoaded();
    return true;
  }
  std::fprintf(stderr, "pvrun: the GUI library is missing: neither %s nor %s exists\n",
               paths[0].c_str(), paths[1].c_str());
  return false;
}

// A name the runtime does not define may be one of the module's.
bool resolve(const char*) { return g_state == State::NotLoaded && load(); }

void loadWhenAsked(void*) {
  if (pv_cmdargCheck("UISCRIPT") || pv_cmdargCheck("GUI")) load();
}

struct Installer {
  Installer() {
    pv_dynsymSetResolver(resolve);
    pv_vmAtInit(loadWhenAsked, nullptr);
  }
} s_installer;

}  // namespace

// What the library does from every message loop of the program: collecting garbage while the
// loop is idle, and running the UI script given with the runtime switch //uiscript:FILE.
// Both are installed before the main procedure starts.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "uiscript_runner.h"
#include "vm/gc.h"
#include "vm/start.h"
#include "win32/automation.h"
#include "win32/backend.h"

namespace pv::gui {

namespace {

class LoopObserver : public win32::automation::Observer {
 public:
  std::unique_ptr<uiscript::Runner> script;

  void messagesRead() override {
    if (script) script->messagesRead();
  }
  // Garbage (cycles that reference counts cannot free) is collected while the program waits
  // for input: at most every 200 ms and only when enough was allocated since the last time,
  // so an idle loop never pauses for long.
  void idle() override {
    uint64_t now = win32::backend().nowMs();
    if (now - lastCollection_ >= 200) {
      lastCollection_ = now;
      pv_gcCollect();
    }
    if (script) script->idle();
  }
  void topLevelCreated(HWND h) override {
    if (script) script->topLevelCreated(h);
  }
  void topLevelDestroyed(HWND h, const std::string& title) override {
    if (script) script->topLevelDestroyed(h, title);
  }

 private:
  uint64_t lastCollection_ = 0;
};

LoopObserver& observer() {
  static LoopObserver o;
  return o;
}

// The FILE of a //uiscript:FILE argument (the switch name in any case), or "".
std::string scriptSwitch() {
  const std::string name = "//uiscript:";
  for (int i = 1; i <= pv_cmdargARGC(); ++i) {
    const std::string& arg = pv_cmdargARGV(i);
    if (arg.size() <= name.size()) continue;
    bool match = true;
    for (size_t k = 0; k < name.size() && match; ++k)
      match = std::tolower(static_cast<unsigned char>(arg[k])) == name[k];
    if (match) return arg.substr(name.size());
  }
  return "";
}

void install(void*) {
  LoopObserver& o = observer();
  std::string path = scriptSwitch();
  if (!path.empty()) {
    o.script = uiscript::loadScript(path);
    if (!o.script) std::exit(3);
  }
  win32::automation::setObserver(&o);
}

struct Installer {
  Installer() { pv_vmAtInit(install, nullptr); }
} s_installer;

}  // namespace

}  // namespace pv::gui

// Registration of the server in the class registry and the desktop hand-off of Visible.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "com/registry.h"
#include "objects.h"
#include "spreadsheet/server.h"

extern char** environ;

namespace sheet {
namespace {

com::HRESULT CreateApplication(com::REFIID iid, void** out) {
  com::IDispatch* app = NewApplication();
  com::HRESULT h = app->QueryInterface(iid, out);
  app->Release();
  return h;
}

// Starts `xdg-open path` detached: the intermediate child exits at once, so nothing waits for
// the desktop program and no zombie is left.
void OpenWithDesktop(const std::string& path) {
  pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    setsid();
    pid_t grandchild;
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    int rc = posix_spawnp(&grandchild, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ);
    _exit(rc == 0 ? 0 : 1);
  }
  int status;
  waitpid(child, &status, 0);
}

DesktopOpener opener = nullptr;

}  // namespace

void SetDesktopOpener(DesktopOpener o) { opener = o; }

void ShowOnDesktop(const std::string& path) {
  if (opener) return opener(path);
  if (std::getenv("PV_NO_DESKTOP")) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
  OpenWithDesktop(path);
}

}  // namespace sheet

com::HRESULT pv_spreadsheetRegister() {
  com::SetExceptionSource(u"Excel.Application");
  com::HRESULT h = com::RegisterInprocClass(sheet::CLSID_SpreadsheetApplication,
                                            u"Excel.Application", sheet::CreateApplication);
  return h;
}

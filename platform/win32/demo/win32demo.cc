// win32demo [--grab FILE.png]: opens the demonstration dialog from its resource script. With
// --grab it saves a screenshot of the dialog once it has painted and closes it.
#include <cstdio>
#include <string>

#include "demo_dialog.h"
#include "grid_window.h"
#include "win32/testing.h"

namespace {

std::string grabPath;

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && !grabPath.empty()) SetTimer(dialog, 1, 100, nullptr);
  if (message == WM_TIMER && wParam == 1) {
    KillTimer(dialog, 1);
    bool saved = pv::win32::testing::grabWindow(dialog, grabPath);
    EndDialog(dialog, saved ? IDOK : IDABORT);
    return TRUE;
  }
  return pv::win32::demo::demoDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--grab") grabPath = argv[2];
  else if (argc != 1) {
    std::fprintf(stderr, "usage: win32demo [--grab FILE.png]\n");
    return 2;
  }
  pv::win32::demo::registerGridClass();
  INT_PTR result = DialogBoxParamA(nullptr, "DEMO", nullptr, dialogProc, 0);
  if (result == -1) {
    std::fprintf(stderr, "win32demo: the dialog could not be created\n");
    return 1;
  }
  return result == IDABORT ? 1 : 0;
}

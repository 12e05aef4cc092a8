// Message boxes in the test runner: with PV_TEST_MESSAGEBOXES set, the Win32 layer runs on
// its recording backend, every box is answered at once with OK, and each box shown is listed
// on stdout when the program ends ("messagebox: caption | text | type", on lines of their own
// as ? writes them).
#include <cstdio>
#include <cstdlib>

#include "start.h"
#include "win32/testing.h"
#include "win32/user.h"

namespace {

namespace t = pv::win32::testing;

void ListBoxes(void*) {
  for (const t::MessageBoxRecord& r : t::messageBoxes())
    std::printf("\nmessagebox: %s | %s | %u", r.caption.c_str(), r.text.c_str(), r.type);
  std::fflush(stdout);
}

void Prepare(void*) {
  if (!std::getenv("PV_TEST_MESSAGEBOXES")) return;
  t::useRecordingBackend();
  for (int i = 0; i < 16; ++i) t::preanswerMessageBox(IDOK);
  pv_vmAtExit(ListBoxes, nullptr);
}

struct Hook {
  Hook() { pv_vmAtInit(Prepare, nullptr); }
};
Hook s_hook;

}  // namespace

// The demonstration dialog's procedure: fills the list box, shows the selected entry, answers
// the message button with a message box and ends with OK or Cancel.
#pragma once

#include "win32/win32.h"

namespace pv::win32::demo {

INT_PTR CALLBACK demoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pv::win32::demo

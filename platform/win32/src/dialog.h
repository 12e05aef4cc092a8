// What the dialog manager keeps per dialog window.
#pragma once

#include "state.h"

namespace pv::win32 {

struct DialogData : WindowExtra {
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  int baseX = 8, baseY = 16;
  HFONT font = nullptr;
  bool ownsFont = false;
  HWND owner = nullptr;
  bool ownerDisabled = false;
  WORD defId = 0;
};

DialogData* dialogData(HWND h);
// Dialog base units of a font: its height, and the average width of the 52 letters.
void baseUnitsOf(HFONT font, int& x, int& y);
// The size limit for a template given only by its address: the rest of the global memory block
// or registered resource it lies in, else a conservative bound.
size_t templateSizeLimit(const void* data);
// Runs a modal dialog from a template of `size` bytes; -1 when it cannot be made.
INT_PTR dialogBox(const void* bytes, size_t size, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM init);

}  // namespace pv::win32

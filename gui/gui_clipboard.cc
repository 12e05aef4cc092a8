// Clipboard natives on the desktop's clipboard: OPENCLIPBOARD, CLOSECLIPBOARD, EMPTYCLIPBOARD,
// SETCLIPBOARDDATA and GETCLPDATA for text (format 1) and bitmaps (format 2). Text of any
// length goes on the clipboard whole. Enhanced metafiles (format 14) are not kept: setting one
// stores nothing and getting one gives 0.
#include <cstring>

#include "gui_natives.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

constexpr int kText = 1, kBitmap = 2;

// A copy of a bitmap (the clipboard keeps what it is given; the caller keeps its own).
HBITMAP copyBitmap(HBITMAP source) {
  BITMAP info{};
  if (!source || !GetObjectA(source, sizeof info, &info)) return nullptr;
  HBITMAP copy = CreateCompatibleBitmap(nullptr, info.bmWidth, info.bmHeight);
  HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, copy);
  BitBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, SRCCOPY);
  SelectObject(from, oldFrom);
  SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  return copy;
}

bool setText(const char* text, size_t len) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, len + 1);
  if (!block) return false;
  std::memcpy(GlobalLock(block), text, len);
  GlobalUnlock(block);
  if (SetClipboardData(CF_TEXT, block)) return true;
  GlobalFree(block);
  return false;
}

void PV_FUN_OPENCLIPBOARD() { pv_retl(OpenClipboard(parHandle<HWND>(1)) != FALSE); }
void PV_FUN_CLOSECLIPBOARD() { pv_retl(CloseClipboard() != FALSE); }
void PV_FUN_EMPTYCLIPBOARD() { pv_retl(EmptyClipboard() != FALSE); }

// SETCLIPBOARDDATA( nFormat, cText | hBitmap ) -> whether the clipboard took the data.
void PV_FUN_SETCLIPBOARDDATA() {
  if (pv_pcount() < 2) return pv_retl(false);
  int format = pv_parni(1);
  if (format == kText && pv_parc(2)) return pv_retl(setText(pv_parc(2), static_cast<size_t>(pv_parclen(2))));
  if (format == kBitmap && pv_ispar(2, PV_IT_NUMERIC)) {
    HBITMAP copy = copyBitmap(parHandle<HBITMAP>(2));
    bool taken = copy && SetClipboardData(CF_BITMAP, copy);
    if (copy && !taken) DeleteObject(copy);
    return pv_retl(taken);
  }
  pv_retl(false);
}

// GETCLPDATA( nFormat ) -> the text ("" when none), or a bitmap copy (0 when none).
void PV_FUN_GETCLPDATA() {
  int format = pv_ispar(1, PV_IT_NUMERIC) ? pv_parni(1) : kText;
  if (format == kText) {
    HANDLE block = IsClipboardFormatAvailable(CF_TEXT) ? GetClipboardData(CF_TEXT) : nullptr;
    const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (!text) return pv_retc("");
    pv_retclen(text, static_cast<PV_SIZE>(strnlen(text, GlobalSize(block))));
    GlobalUnlock(block);
    return;
  }
  if (format == kBitmap && IsClipboardFormatAvailable(CF_BITMAP))
    return retHandle(copyBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))));
  pv_retnl(0);
}

// ISCLIPBOARDFORMATAVAILABLE( nFormat ) -> logical.
void PV_FUN_ISCLIPBOARDFORMATAVAILABLE() {
  UINT format = pv_parni(1) == kBitmap ? CF_BITMAP : pv_parni(1) == kText ? CF_TEXT : 0;
  pv_retl(format && IsClipboardFormatAvailable(format));
}

PvSymbol s_symbols[] = {
    pv_native("OPENCLIPBOARD", PV_FUN_OPENCLIPBOARD),
    pv_native("CLOSECLIPBOARD", PV_FUN_CLOSECLIPBOARD),
    pv_native("EMPTYCLIPBOARD", PV_FUN_EMPTYCLIPBOARD),
    pv_native("SETCLIPBOARDDATA", PV_FUN_SETCLIPBOARDDATA),
    pv_native("GETCLPDATA", PV_FUN_GETCLPDATA),
    pv_native("ISCLIPBOARDFORMATAVAILABLE", PV_FUN_ISCLIPBOARDFORMATAVAILABLE),
};
PvModuleRegistrar s_module("gui/clipboard", s_symbols);

}  // namespace

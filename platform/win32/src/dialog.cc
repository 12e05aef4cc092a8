// The dialog manager: dialogs built from templates (resources or memory), the default dialog
// procedure, modal loops that nest, EndDialog, dialog units and the controls of a dialog.
#include "dialog.h"

#include <algorithm>
#include <cstring>

#include "gdi_state.h"
#include "win32/dialog_template.h"
#include "win32/gdi.h"
#include "win32/kernel.h"
#include "win32/resources.h"
#include "win32/user.h"

namespace pv::win32 {

DialogData* dialogData(HWND h) {
  Window* w = window(h);
  return w ? dynamic_cast<DialogData*>(w->extra.get()) : nullptr;
}

void releaseDialogResources(Window* w) {
  auto* d = dynamic_cast<DialogData*>(w->extra.get());
  if (d && d->ownsFont && d->font) {
    DeleteObject(d->font);
    d->font = nullptr;
  }
}

namespace {

constexpr int kDlgProcOffset = 8;  // DWLP_DLGPROC
constexpr int kMsgResultOffset = 0;

HFONT templateFont(const DialogTemplate& t) {
  LOGFONTA lf{};
  lf.lfHeight = -(t.pointSize * 96 + 36) / 72;
  lf.lfWeight = t.weight ? t.weight : FW_NORMAL;
  lf.lfItalic = t.italic;
  lf.lfCharSet = t.charset;
  std::strncpy(lf.lfFaceName, t.face.c_str(), 31);
  return CreateFontIndirectA(&lf);
}

}  // namespace

void baseUnitsOf(HFONT font, int& x, int& y) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SIZE size;
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32A(dc, letters, 52, &size);
  x = (size.cx / 26 + 1) / 2;
  y = tm.tmHeight;
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

namespace {

RECT dluToPixels(const DialogData& d, int x, int y, int cx, int cy) {
  return RECT{x * d.baseX / 4, y * d.baseY / 8, (x + cx) * d.baseX / 4, (y + cy) * d.baseY / 8};
}

bool createControls(HWND dlg, const DialogTemplate& t, HINSTANCE instance, DialogData& d) {
  for (const DialogItem& item : t.items) {
    RECT r = dluToPixels(d, item.x, item.y, item.cx, item.cy);
    std::string title = item.titleOrdinal ? std::string() : item.title;
    const void* create = item.creationData.empty() ? nullptr : item.creationData.data();
    HWND c = CreateWindowExA(item.exStyle, item.className.c_str(), title.c_str(), item.style | WS_CHILD, r.left,
                             r.top, r.right - r.left, r.bottom - r.top, dlg,
                             reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id & 0xFFFF)), instance,
                             const_cast<void*>(create));
    if (!IsWindow(dlg)) return false;
    if (!c) {
      if (t.style & DS_NOFAILCREATE) continue;
      return false;
    }
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
    if (!d.defId && (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) d.defId = static_cast<WORD>(item.id);
  }
  return true;
}

// Places the dialog: its template position relative to the owner's client area (or the screen),
// or centred on the owner (or the screen) for DS_CENTER.
void placeDialog(HWND dlg, const DialogTemplate& t, const DialogData& d, HWND owner) {
  RECT client = dluToPixels(d, 0, 0, t.cx, t.cy);
  RECT frame = client;
  AdjustWindowRectEx(&frame, t.style, FALSE, t.exStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at{t.x * d.baseX / 4, t.y * d.baseY / 8};
  if (t.style & DS_CENTER) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    at = POINT{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
  } else if (owner && !(t.style & DS_ABSALIGN)) {
    ClientToScreen(owner, &at);
  }
  MoveWindow(dlg, at.x, at.y, width, height, FALSE);
}

HWND firstTabItem(HWND dlg) { return GetNextDlgTabItem(dlg, nullptr, FALSE); }

// Gives the focus back to the control that had it, or to the first tab stop.
void restoreFocus(Window* w) {
  HWND h = w->hwnd();
  HWND f = w->lastFocus && IsChild(h, w->lastFocus) ? w->lastFocus : firstTabItem(h);
  SetFocus(f ? f : h);
}

}  // namespace

HWND createDialog(const void* bytes, size_t size, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM init,
                  bool modal) {
  DialogTemplate t;
  if (!parseDialogTemplate(bytes, size, t)) return nullptr;
  if (owner && !IsWindow(owner)) return nullptr;
  HWND ownerTop = owner ? topLevelOf(window(owner))->hwnd() : nullptr;
  std::string cls = t.classOrdinal || t.className.empty() ? "#32770" : t.className;
  DWORD style = t.style & ~WS_VISIBLE;
  HWND dlg = CreateWindowExA(t.exStyle, cls.c_str(), t.title.c_str(), style, 0, 0, 0, 0,
                             (style & WS_CHILD) ? owner : ownerTop, nullptr, instance, nullptr);
  if (!dlg) return nullptr;
  Window* w = window(dlg);
  auto data = std::make_unique<DialogData>();
  DialogData& d = *data;
  w->extra = std::move(data);
  if (w->extraBytes.size() < 24) w->extraBytes.resize(24, 0);
  d.modal = modal;
  d.owner = ownerTop;
  if (t.style & DS_SETFONT) {
    d.font = templateFont(t);
    d.ownsFont = true;
    baseUnitsOf(d.font, d.baseX, d.baseY);
  } else {
    d.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LONG units = GetDialogBaseUnits();
    d.baseX = LOWORD(units);
    d.baseY = HIWORD(units);
  }
  SetWindowLongPtrA(dlg, kDlgProcOffset, reinterpret_cast<LONG_PTR>(proc));
  placeDialog(dlg, t, d, ownerTop);
  if (t.style & DS_SETFONT) SendMessageA(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(d.font), FALSE);
  if (!IsWindow(dlg) || !createControls(dlg, t, instance, d)) {
    DestroyWindow(dlg);
    return nullptr;
  }
  HWND first = firstTabItem(dlg);
  LRESULT focusDefault = SendMessageA(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), init);
  if (!IsWindow(dlg)) return nullptr;
  if (focusDefault && first) window(dlg)->lastFocus = first;
  if (t.style & WS_VISIBLE) ShowWindow(dlg, SW_SHOWNORMAL);
  return dlg;
}

INT_PTR runModal(HWND dlg) {
  State& s = state();
  s.loopDepth++;
  for (;;) {
    DialogData* d = dialogData(dlg);
    if (!d || d->ended) break;
    MSG m;
    BOOL r = GetMessageA(&m, nullptr, 0, 0);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (r < 0) break;
    if (!IsDialogMessageA(dlg, &m)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  s.loopDepth--;
  DialogData* d = dialogData(dlg);
  return d && d->ended ? d->result : 0;
}

INT_PTR dialogBox(const void* bytes, size_t size, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM init) {
  HWND ownerTop = owner && IsWindow(owner) ? topLevelOf(window(owner))->hwnd() : nullptr;
  bool disabled = ownerTop && IsWindowEnabled(ownerTop);
  if (disabled) EnableWindow(ownerTop, FALSE);
  HWND dlg = createDialog(bytes, size, instance, ownerTop ? ownerTop : owner, proc, init, true);
  if (!dlg) {
    if (disabled) EnableWindow(ownerTop, TRUE);
    return -1;
  }
  dialogData(dlg)->ownerDisabled = disabled;
  if (!dialogData(dlg)->ended) ShowWindow(dlg, SW_SHOWNORMAL);
  INT_PTR result = runModal(dlg);
  if (DialogData* d = dialogData(dlg); d && d->ownerDisabled) {
    d->ownerDisabled = false;
    EnableWindow(ownerTop, TRUE);
  }
  if (ownerTop && IsWindow(ownerTop) && IsWindowVisible(ownerTop)) SetActiveWindow(ownerTop);
  DestroyWindow(dlg);
  // A program whose only loop is a modal dialog never calls GetMessage outside one.
  State& s = state();
  if (s.loopDepth == 0 && s.sendDepth == 0) s.graveyard.clear();
  return result;
}

void noteFocusChange(HWND, HWND now) {
  HWND dlg = GetParent(now);
  DialogData* d = dialogData(dlg);
  if (!d || !now) return;
  auto code = [](HWND h) { return SendMessageA(h, WM_GETDLGCODE, 0, 0); };
  HWND target = (code(now) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) ? now : GetDlgItem(dlg, d->defId);
  std::vector<HWND> kids = window(dlg)->children;
  for (HWND c : kids)
    if (c != target && (code(c) & DLGC_DEFPUSHBUTTON)) SendMessageA(c, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  if (target && (code(target) & DLGC_UNDEFPUSHBUTTON)) SendMessageA(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

}  // namespace pv::win32

using namespace pv::win32;

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM init) {
  const unsigned char* data;
  size_t size;
  if (!findDialogResource(name, &data, &size)) return -1;
  return dialogBox(data, size, instance, owner, proc, init);
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const void* tmpl, HWND owner, DLGPROC proc, LPARAM init) {
  if (!tmpl) return -1;
  return dialogBox(tmpl, templateSizeLimit(tmpl), instance, owner, proc, init);
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM init) {
  const unsigned char* data;
  size_t size;
  if (!findDialogResource(name, &data, &size)) return nullptr;
  return createDialog(data, size, instance, owner, proc, init, false);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, const void* tmpl, HWND owner, DLGPROC proc, LPARAM init) {
  if (!tmpl) return nullptr;
  return createDialog(tmpl, templateSizeLimit(tmpl), instance, owner, proc, init, false);
}

BOOL EndDialog(HWND h, INT_PTR result) {
  DialogData* d = dialogData(h);
  if (!d) return FALSE;
  d->ended = true;
  d->result = result;
  if (d->modal && d->ownerDisabled && IsWindow(d->owner)) {
    d->ownerDisabled = false;
    EnableWindow(d->owner, TRUE);
  }
  if (d->modal) ShowWindow(h, SW_HIDE);
  PostMessageA(h, WM_NULL, 0, 0);
  return TRUE;
}

HWND GetDlgItem(HWND dlg, int id) {
  Window* w = window(dlg);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (Window* cw = window(c); cw && static_cast<int>(cw->id & 0xFFFF) == (id & 0xFFFF)) return c;
  return nullptr;
}

UINT GetDlgItemTextA(HWND dlg, int id, LPSTR buffer, int size) {
  if (buffer && size > 0) buffer[0] = 0;
  return static_cast<UINT>(GetWindowTextA(GetDlgItem(dlg, id), buffer, size));
}

BOOL SetDlgItemTextA(HWND dlg, int id, LPCSTR text) { return SetWindowTextA(GetDlgItem(dlg, id), text); }

LRESULT SendDlgItemMessageA(HWND dlg, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND c = GetDlgItem(dlg, id);
  return c ? SendMessageA(c, message, wParam, lParam) : 0;
}

LONG GetDialogBaseUnits() { return MAKELONG(8, 16); }

BOOL MapDialogRect(HWND dlg, LPRECT r) {
  DialogData* d = dialogData(dlg);
  if (!d || !r) return FALSE;
  *r = RECT{r->left * d->baseX / 4, r->top * d->baseY / 8, r->right * d->baseX / 4, r->bottom * d->baseY / 8};
  return TRUE;
}

LRESULT DefDlgProcA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w) return 0;
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(h, kDlgProcOffset));
  if (proc) {
    INT_PTR r = proc(h, message, wParam, lParam);
    if (!IsWindow(h)) return r;
    if (r) {
      switch (message) {
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
        case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
          return r;
        default: return GetWindowLongPtrA(h, kMsgResultOffset);
      }
    }
  }
  DialogData* d = dialogData(h);
  switch (message) {
    case WM_ERASEBKGND: {
      auto b = reinterpret_cast<HBRUSH>(SendMessageA(h, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(h)));
      RECT r;
      GetClientRect(h, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, b ? b : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CLOSE:
      PostMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(h, IDCANCEL)));
      return 0;
    case DM_GETDEFID: return d && d->defId ? MAKELONG(d->defId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      if (d) {
        d->defId = static_cast<WORD>(wParam);
        noteFocusChange(nullptr, GetFocus() && IsChild(h, GetFocus()) ? GetFocus() : GetDlgItem(h, d->defId));
      }
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) restoreFocus(w);
      return 0;
    case WM_SETFOCUS:
      if (firstTabItem(h)) restoreFocus(w);
      return 0;
    case WM_GETFONT: return d ? reinterpret_cast<LRESULT>(d->font) : 0;
    case WM_NEXTDLGCTL: {
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(h, GetFocus(), wParam != 0);
      if (next) SetFocus(next);
      return 0;
    }
    default: return DefWindowProcA(h, message, wParam, lParam);
  }
}

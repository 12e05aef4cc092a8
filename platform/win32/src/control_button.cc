// The BUTTON class: push buttons and default push buttons drawn in the platform style, clicked
// with the mouse (press, capture, release inside), the space bar or BM_CLICK, reporting
// BN_CLICKED to the parent as WM_COMMAND; BM_SETSTYLE, BM_GETSTATE, BM_SETSTATE, check state.
#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

struct ButtonData : WindowExtra {
  HFONT font = nullptr;
  bool pressed = false;
  bool tracking = false;
  bool spaceDown = false;
  UINT check = BST_UNCHECKED;
};

ButtonData& data(Window* w) {
  if (!w->extra) w->extra = std::make_unique<ButtonData>();
  return static_cast<ButtonData&>(*w->extra);
}

UINT type(Window* w) { return w->style & BS_TYPEMASK; }

bool isCheckBox(UINT t) { return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE; }
bool isRadio(UINT t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }

// An automatic radio button that gets checked unchecks the others of its group.
void uncheckGroup(HWND h) {
  HWND parent = GetParent(h);
  for (HWND other = GetNextDlgGroupItem(parent, h, FALSE); other && other != h;
       other = GetNextDlgGroupItem(parent, other, FALSE))
    if ((GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
      SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
}

void notifyClick(HWND h) {
  Window* w = window(h);
  if (!w || (w->style & WS_DISABLED)) return;
  UINT t = type(w);
  ButtonData& d = data(w);
  if (t == BS_AUTOCHECKBOX) d.check = d.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  if (t == BS_AUTO3STATE) d.check = (d.check + 1) % 3;
  if (t == BS_AUTORADIOBUTTON) {
    d.check = BST_CHECKED;
    uncheckGroup(h);
  }
  InvalidateRect(h, nullptr, TRUE);
  HWND parent = w->parent;
  sendMessage(parent, WM_COMMAND, MAKEWPARAM(w->id, BN_CLICKED), reinterpret_cast<LPARAM>(h));
}

void setPressed(HWND h, bool pressed) {
  Window* w = window(h);
  ButtonData& d = data(w);
  if (d.pressed == pressed) return;
  d.pressed = pressed;
  InvalidateRect(h, nullptr, TRUE);
}

void paint(HWND h, Window* w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  ButtonData& d = data(w);
  RECT r;
  GetClientRect(h, &r);
  HBRUSH b = reinterpret_cast<HBRUSH>(sendMessage(w->parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(h)));
  if (type(w) == BS_GROUPBOX) {
    if (b) FillRect(dc, &r, b);
    RECT frame{r.left, r.top + 7, r.right, r.bottom};
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
    SelectObject(dc, d.font ? static_cast<HGDIOBJ>(d.font) : GetStockObject(SYSTEM_FONT));
    RECT text{r.left + 8, r.top, r.right - 8, r.bottom};
    DrawTextA(dc, w->text.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE);
  } else {
    if (b && (isCheckBox(type(w)) || isRadio(type(w)))) FillRect(dc, &r, b);
    ControlLook look;
    look.kind = isCheckBox(type(w)) ? ControlLook::CheckBox : isRadio(type(w)) ? ControlLook::RadioButton
                                                                              : ControlLook::PushButton;
    look.rect = r;
    look.text = w->text;
    look.font = fontOf(d.font);
    look.pressed = look.kind == ControlLook::PushButton ? d.pressed : d.check != BST_UNCHECKED;
    look.isDefault = type(w) == BS_DEFPUSHBUTTON;
    look.focused = GetFocus() == h;
    look.disabled = (w->style & WS_DISABLED) != 0;
    drawControlLook(dc, look);
  }
  EndPaint(h, &ps);
}

}  // namespace

LRESULT CALLBACK buttonProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w) return 0;
  ButtonData& d = data(w);
  switch (message) {
    case WM_GETDLGCODE: {
      UINT t = type(w);
      if (t == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (t == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (t == BS_GROUPBOX) return DLGC_STATIC;
      if (t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    }
    case WM_PAINT: paint(h, w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
      d.font = reinterpret_cast<HFONT>(wParam);
      if (lParam) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d.font);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcA(h, message, wParam, lParam);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_ENABLE:
    case WM_SETFOCUS: InvalidateRect(h, nullptr, TRUE); return 0;
    case WM_KILLFOCUS:
      d.spaceDown = false;
      if (!d.tracking) setPressed(h, false);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (type(w) == BS_GROUPBOX) return 0;
      SetFocus(h);
      if (!IsWindow(h)) return 0;
      SetCapture(h);
      d.tracking = true;
      setPressed(h, true);
      return 0;
    case WM_MOUSEMOVE:
      if (d.tracking) {
        RECT r;
        GetClientRect(h, &r);
        setPressed(h, PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!d.tracking) return 0;
      RECT r;
      GetClientRect(h, &r);
      bool inside = PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0;
      d.tracking = false;
      setPressed(h, false);
      ReleaseCapture();
      if (inside) notifyClick(h);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (d.tracking && reinterpret_cast<HWND>(lParam) != h) {
        d.tracking = false;
        setPressed(h, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SPACE) {
        d.spaceDown = true;
        setPressed(h, true);
      }
      return 0;
    case WM_KEYUP:
      if (wParam == VK_SPACE && d.spaceDown) {
        d.spaceDown = false;
        setPressed(h, false);
        notifyClick(h);
      }
      return 0;
    case BM_CLICK: notifyClick(h); return 0;
    case BM_SETSTYLE:
      w->style = (w->style & 0xFFFF0000u) | LOWORD(wParam);
      if (lParam) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case BM_GETSTATE:
      return (d.pressed ? BST_PUSHED : 0) | (GetFocus() == h ? BST_FOCUS : 0) | d.check;
    case BM_SETSTATE: setPressed(h, wParam != 0); return 0;
    case BM_GETCHECK: return d.check;
    case BM_SETCHECK:
      d.check = static_cast<UINT>(wParam);
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    default: return DefWindowProcA(h, message, wParam, lParam);
  }
}

}  // namespace pv::win32

// MessageBoxA: a modal dialog built in memory with the text, an icon and the button set of the
// MB_ flags, returning the ID of the button pressed; Escape and the close box count as Cancel
// where there is one (OK in a box with only OK).
#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

#include "dialog.h"
#include "gdi_state.h"
#include "win32/automation.h"
#include "win32/dialog_template.h"
#include "win32/gdi.h"
#include "win32/testing.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

constexpr int kIconId = 0x7F00;

struct Button {
  int id;
  const char* label;
};

std::vector<Button> buttonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
    default: return {{IDOK, "OK"}};
  }
}

struct Pending {
  std::deque<int> answers;
  std::vector<testing::MessageBoxRecord> log;
};

Pending& pending() {
  static Pending p;
  return p;
}

LRESULT CALLBACK iconProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(h, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  ControlLook look;
  look.kind = ControlLook::MessageIcon;
  GetClientRect(h, &look.rect);
  look.icon = static_cast<UINT>(GetWindowLongPtrA(h, GWL_USERDATA));
  drawControlLook(dc, look);
  EndPaint(h, &ps);
  return 0;
}

const char* iconClass() {
  static bool registered = false;
  if (!registered || !GetClassInfoA(nullptr, "PvMessageIcon", nullptr)) {
    WNDCLASSA wc{0, iconProc, 0, 0, nullptr, nullptr, nullptr, GetSysColorBrush(COLOR_BTNFACE), nullptr, "PvMessageIcon"};
    RegisterClassA(&wc);
    registered = true;
  }
  return "PvMessageIcon";
}

struct BoxInfo {
  UINT type;
  std::vector<Button> buttons;
  std::string text, caption;
  HWND hwnd = nullptr;  // set when the box's window exists
};

// The boxes being shown, oldest first (nested boxes are possible from their owners' handlers).
std::vector<const BoxInfo*>& openBoxes() {
  static std::vector<const BoxInfo*> boxes;
  return boxes;
}

INT_PTR CALLBACK boxProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* info = reinterpret_cast<BoxInfo*>(GetWindowLongPtrA(h, 16));
  if (message == WM_INITDIALOG) {
    info = reinterpret_cast<BoxInfo*>(lParam);
    info->hwnd = h;
    SetWindowLongPtrA(h, 16, lParam);
    SetWindowLongPtrA(GetDlgItem(h, kIconId), GWL_USERDATA, info->type & MB_ICONMASK);
    UINT def = (info->type & MB_DEFMASK) >> 8;
    size_t index = std::min<size_t>(def, info->buttons.size() - 1);
    SetFocus(GetDlgItem(h, info->buttons[index].id));
    return FALSE;
  }
  if (message != WM_COMMAND || !info) return FALSE;
  int id = LOWORD(wParam);
  bool known = std::any_of(info->buttons.begin(), info->buttons.end(), [id](const Button& b) { return b.id == id; });
  if (known) EndDialog(h, id);
  else if (id == IDCANCEL && info->buttons.size() == 1 && info->buttons[0].id == IDOK) EndDialog(h, IDOK);
  return TRUE;
}

// Lays the box out in dialog units of its font (8 pt MS Sans Serif: about 6 x 13 pixels).
DialogTemplate layout(const std::string& text, const std::string& caption, UINT type, const std::vector<Button>& buttons) {
  LOGFONTA lf{};
  lf.lfHeight = -11;
  std::strncpy(lf.lfFaceName, "MS Sans Serif", 31);
  HFONT font = CreateFontIndirectA(&lf);
  int bx, by;
  baseUnitsOf(font, bx, by);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, 420, 0};
  DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);

  bool icon = (type & MB_ICONMASK) != 0;
  short textX = static_cast<short>(icon ? 44 : 10);
  short textW = static_cast<short>((r.right - r.left) * 4 / bx + 4);
  short textH = static_cast<short>(std::max<LONG>(8, (r.bottom - r.top) * 8 / by + 2));
  short rowY = static_cast<short>(std::max<int>(10 + textH, icon ? 38 : 0) + 8);
  short buttonsW = static_cast<short>(buttons.size() * 54 - 4);
  short width = static_cast<short>(std::max<int>(textX + textW + 10, buttonsW + 20));
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_VISIBLE;
  t.cx = width;
  t.cy = static_cast<short>(rowY + 14 + 7);
  t.title = caption;
  t.pointSize = 8;
  t.face = "MS Sans Serif";
  if (icon) {
    DialogItem i;
    i.style = WS_CHILD | WS_VISIBLE;
    i.x = 10, i.y = 10, i.cx = 21, i.cy = 20;
    i.id = kIconId;
    i.className = iconClass();
    t.items.push_back(i);
  }
  DialogItem s;
  s.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  s.x = textX, s.y = 10, s.cx = textW, s.cy = textH;
  s.id = 0xFFFF;
  s.className = "STATIC";
  s.title = text;
  t.items.push_back(s);
  short x = static_cast<short>((width - buttonsW) / 2);
  UINT def = (type & MB_DEFMASK) >> 8;
  for (size_t i = 0; i < buttons.size(); ++i, x = static_cast<short>(x + 54)) {
    DialogItem b;
    b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == def ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | (i == 0 ? WS_GROUP : 0);
    b.x = x, b.y = rowY, b.cx = 50, b.cy = 14;
    b.id = static_cast<DWORD>(buttons[i].id);
    b.className = "BUTTON";
    b.title = buttons[i].label;
    t.items.push_back(b);
  }
  return t;
}

}  // namespace

void resetMessageBoxes() {
  pending() = Pending{};
  openBoxes().clear();
}

namespace automation {
std::vector<MessageBoxInfo> openMessageBoxes() {
  std::vector<MessageBoxInfo> out;
  for (const BoxInfo* b : openBoxes())
    if (b->hwnd && IsWindow(b->hwnd)) out.push_back(MessageBoxInfo{b->hwnd, b->caption, b->text, b->type});
  return out;
}
}  // namespace automation

namespace testing {
void preanswerMessageBox(int result) { pending().answers.push_back(result); }
const std::vector<MessageBoxRecord>& messageBoxes() { return pending().log; }
}  // namespace testing

}  // namespace pv::win32

using namespace pv::win32;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::string body = text ? text : "", title = caption ? caption : "Error";
  if (owner && !IsWindow(owner)) owner = nullptr;
  Pending& p = pending();
  int result;
  if (!p.answers.empty()) {
    result = p.answers.front();
    p.answers.pop_front();
  } else {
    BoxInfo info{type, buttonsFor(type), body, title};
    std::vector<unsigned char> bytes = writeDialogTemplate(layout(body, title, type, info.buttons));
    auto& open = openBoxes();
    open.push_back(&info);
    INT_PTR r = dialogBox(bytes.data(), bytes.size(), nullptr, owner, boxProc, reinterpret_cast<LPARAM>(&info));
    open.erase(std::find(open.begin(), open.end(), &info));
    result = r < 0 ? 0 : static_cast<int>(r);
  }
  pending().log.push_back(testing::MessageBoxRecord{owner, body, title, type, result});
  return result;
}

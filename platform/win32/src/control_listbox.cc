// The LISTBOX class (single selection): adding, inserting, finding and deleting strings with
// item data, the current selection, a vertical scroll bar, mouse and keyboard selection, and
// LBN_SELCHANGE / LBN_DBLCLK to the parent when LBS_NOTIFY is set.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gdi_state.h"
#include "win32/gdi.h"
#include "win32/user.h"

namespace pv::win32 {

namespace {

struct Item {
  std::string text;
  LPARAM data = 0;
};

struct ListData : WindowExtra {
  std::vector<Item> items;
  int selected = -1;
  int top = 0;
  int itemHeight = 16;
  HFONT font = nullptr;
  bool wantsBar = false;  // created with WS_VSCROLL: the bar comes and goes with the items
};

ListData& data(Window* w) {
  if (!w->extra) w->extra = std::make_unique<ListData>();
  return static_cast<ListData&>(*w->extra);
}

int count(const ListData& d) { return static_cast<int>(d.items.size()); }

int visibleRows(HWND h, const ListData& d) {
  RECT r;
  GetClientRect(h, &r);
  return std::max(1, static_cast<int>(r.bottom) / std::max(1, d.itemHeight));
}

void updateScroll(HWND h, Window* w, ListData& d) {
  int rows = visibleRows(h, d);
  d.top = std::max(0, std::min(d.top, count(d) - rows));
  if (!d.wantsBar) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, count(d) - 1), static_cast<UINT>(rows),
                d.top, 0};
  if (w->style & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(h, SB_VERT, &si, TRUE);
}

void changed(HWND h) {
  Window* w = window(h);
  updateScroll(h, w, data(w));
  InvalidateRect(h, nullptr, TRUE);
}

void ensureVisible(HWND h, ListData& d) {
  if (d.selected < 0) return;
  int rows = visibleRows(h, d);
  if (d.selected < d.top) d.top = d.selected;
  if (d.selected >= d.top + rows) d.top = d.selected - rows + 1;
}

void notify(HWND h, WORD code) {
  Window* w = window(h);
  if (w && (w->style & LBS_NOTIFY))
    sendMessage(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(h));
}

void select(HWND h, int index, bool byUser) {
  Window* w = window(h);
  ListData& d = data(w);
  index = std::max(-1, std::min(index, count(d) - 1));
  bool moved = index != d.selected;
  d.selected = index;
  ensureVisible(h, d);
  changed(h);
  if (byUser && moved) notify(h, LBN_SELCHANGE);
}

int insert(Window* w, ListData& d, int at, const char* text) {
  if (!text) text = "";
  if (at < 0 || at > count(d)) at = count(d);
  if ((w->style & LBS_SORT) && at == count(d))
    at = static_cast<int>(std::upper_bound(d.items.begin(), d.items.end(), std::string(text),
                                           [](const std::string& a, const Item& b) {
                                             return strcasecmp(a.c_str(), b.text.c_str()) < 0;
                                           }) - d.items.begin());
  d.items.insert(d.items.begin() + at, Item{text, 0});
  if (d.selected >= at) d.selected++;
  changed(w->hwnd());
  return at;
}

int find(const ListData& d, int start, const char* text, bool exact) {
  if (!text) return LB_ERR;
  size_t n = std::strlen(text);
  for (int k = 1; k <= count(d); ++k) {
    int i = (start + k) % std::max(1, count(d));
    if (start < 0) i = k - 1;
    const std::string& s = d.items[static_cast<size_t>(i)].text;
    bool match = exact ? strcasecmp(s.c_str(), text) == 0 : strncasecmp(s.c_str(), text, n) == 0;
    if (match) return i;
  }
  return LB_ERR;
}

void paint(HWND h, Window* w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  auto b = reinterpret_cast<HBRUSH>(sendMessage(w->parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(h)));
  if (!(w = window(h))) return;
  ListData& d = data(w);
  FillRect(dc, &r, b ? b : GetSysColorBrush(COLOR_WINDOW));
  SelectObject(dc, d.font ? static_cast<HGDIOBJ>(d.font) : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  COLORREF text = GetTextColor(dc);
  for (int i = d.top, y = 0; i < count(d) && y < r.bottom; ++i, y += d.itemHeight) {
    RECT row{0, y, r.right, y + d.itemHeight};
    bool sel = i == d.selected;
    if (sel) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
    RECT tr{2, y, r.right, y + d.itemHeight};
    DrawTextA(dc, d.items[static_cast<size_t>(i)].text.c_str(), -1, &tr, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (sel && GetFocus() == h) DrawFocusRect(dc, &row);
  }
  EndPaint(h, &ps);
}

LRESULT keyDown(HWND h, ListData& d, WPARAM key) {
  int rows = visibleRows(h, d), at = d.selected;
  switch (key) {
    case VK_UP: at = std::max(0, at - 1); break;
    case VK_DOWN: at = at + 1; break;
    case VK_HOME: at = 0; break;
    case VK_END: at = count(d) - 1; break;
    case VK_PRIOR: at = std::max(0, at - rows + 1); break;
    case VK_NEXT: at = at + rows - 1; break;
    default: return 0;
  }
  if (count(d)) select(h, std::min(at, count(d) - 1), true);
  return 0;
}

void scroll(HWND h, ListData& d, WPARAM wParam) {
  int rows = visibleRows(h, d);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: d.top--; break;
    case SB_LINEDOWN: d.top++; break;
    case SB_PAGEUP: d.top -= rows; break;
    case SB_PAGEDOWN: d.top += rows; break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: d.top = HIWORD(wParam); break;
    case SB_TOP: d.top = 0; break;
    case SB_BOTTOM: d.top = count(d); break;
    default: return;
  }
  changed(h);
}

}  // namespace

LRESULT CALLBACK listBoxProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = window(h);
  if (!w) return 0;
  ListData& d = data(w);
  auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
  bool valid = index >= 0 && index < count(d);
  switch (message) {
    case WM_CREATE: d.wantsBar = (w->style & WS_VSCROLL) != 0; updateScroll(h, w, d); return 0;
    case WM_PAINT: paint(h, w); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT: {
      d.font = reinterpret_cast<HFONT>(wParam);
      d.itemHeight = metricsOf(fontOf(d.font)).height;
      changed(h);
      return 0;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(d.font);
    case WM_SIZE: updateScroll(h, w, d); return 0;
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_ENABLE: InvalidateRect(h, nullptr, TRUE); return 0;
    case LB_ADDSTRING: return insert(w, d, -1, reinterpret_cast<const char*>(lParam));
    case LB_INSERTSTRING: return insert(w, d, index < 0 ? count(d) : std::min(index, count(d)), reinterpret_cast<const char*>(lParam));
    case LB_DELETESTRING:
      if (!valid) return LB_ERR;
      d.items.erase(d.items.begin() + index);
      if (d.selected == index) d.selected = -1;
      else if (d.selected > index) d.selected--;
      changed(h);
      return count(d);
    case LB_RESETCONTENT:
      d.items.clear();
      d.selected = -1;
      d.top = 0;
      changed(h);
      return 0;
    case LB_SETCURSEL:
      select(h, valid ? index : -1, false);
      return valid ? index : LB_ERR;
    case LB_GETCURSEL: return d.selected;
    case LB_GETSEL: return valid ? (d.selected == index) : LB_ERR;
    case LB_GETCOUNT: return count(d);
    case LB_GETTEXT: {
      if (!valid || !lParam) return LB_ERR;
      const std::string& s = d.items[static_cast<size_t>(index)].text;
      std::memcpy(reinterpret_cast<char*>(lParam), s.c_str(), s.size() + 1);
      return static_cast<LRESULT>(s.size());
    }
    case LB_GETTEXTLEN: return valid ? static_cast<LRESULT>(d.items[static_cast<size_t>(index)].text.size()) : LB_ERR;
    case LB_SETITEMDATA: if (!valid) return LB_ERR; d.items[static_cast<size_t>(index)].data = lParam; return LB_OKAY;
    case LB_GETITEMDATA: return valid ? d.items[static_cast<size_t>(index)].data : LB_ERR;
    case LB_GETTOPINDEX: return d.top;
    case LB_SETTOPINDEX: if (!valid) return LB_ERR; d.top = index; changed(h); return LB_OKAY;
    case LB_GETITEMHEIGHT: return d.itemHeight;
    case LB_SETITEMHEIGHT:
      if (LOWORD(lParam) == 0 || LOWORD(lParam) > 255) return LB_ERR;
      d.itemHeight = LOWORD(lParam);
      changed(h);
      return LB_OKAY;
    case LB_FINDSTRING: return find(d, index, reinterpret_cast<const char*>(lParam), false);
    case LB_FINDSTRINGEXACT: return find(d, index, reinterpret_cast<const char*>(lParam), true);
    case LB_SELECTSTRING: {
      int at = find(d, index, reinterpret_cast<const char*>(lParam), false);
      if (at != LB_ERR) select(h, at, false);
      return at;
    }
    case LB_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (!valid || !r) return LB_ERR;
      RECT c;
      GetClientRect(h, &c);
      *r = RECT{0, (index - d.top) * d.itemHeight, c.right, (index - d.top + 1) * d.itemHeight};
      return LB_OKAY;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(h);
      if (!(w = window(h))) return 0;
      int at = data(w).top + GET_Y_LPARAM(lParam) / std::max(1, data(w).itemHeight);
      if (at < 0 || at >= count(data(w))) return 0;
      select(h, at, true);
      if (message == WM_LBUTTONDBLCLK) notify(h, LBN_DBLCLK);
      return 0;
    }
    case WM_KEYDOWN: return keyDown(h, d, wParam);
    case WM_VSCROLL: scroll(h, d, wParam); return 0;
    case WM_MOUSEWHEEL:
      scroll(h, d, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    default: return DefWindowProcA(h, message, wParam, lParam);
  }
}

}  // namespace pv::win32

// WNDHANDLEEVENT( nMsg, nWParam, nLParam ): the native message switch installed as TWindow's
// HandleEvent. Each message below calls the method of the same meaning on Self and returns its
// result; any other message returns NIL (not handled). Method symbols are resolved once.
// Also what the window procedure asks before it sends HandleEvent: whether the library's own
// HandleEvent methods would look at a message at all.
#include "gui_natives.h"
#include "vm/classes.h"
#include "vm/dynsym.h"
#include "vm/registrar.h"
#include "vm/vm.h"

using namespace pv::gui;

namespace {

long long lo(long long v) { return v & 0xFFFF; }
long long hi(long long v) { return (v >> 16) & 0xFFFF; }
long long loSigned(long long v) { return static_cast<int16_t>(v & 0xFFFF); }
long long hiSigned(long long v) { return static_cast<int16_t>((v >> 16) & 0xFFFF); }

struct Methods {
  Message destroy{"DESTROY"}, moved{"MOVED"}, resize{"RESIZE"}, gotFocus{"GOTFOCUS"},
      lostFocus{"LOSTFOCUS"}, beginPaint{"BEGINPAINT"}, paint{"PAINT"}, endPaint{"ENDPAINT"},
      close{"CLOSE"}, queryEndSession{"QUERYENDSESSION"}, eraseBkGnd{"ERASEBKGND"},
      getMinMaxInfo{"GETMINMAXINFO"}, drawItem{"DRAWITEM"}, measureItem{"MEASUREITEM"},
      queryDragIcon{"QUERYDRAGICON"}, commNotify{"COMMNOTIFY"}, notify{"NOTIFY"}, help{"HELP"},
      ncActivate{"NCACTIVATE"}, getDlgCode{"GETDLGCODE"}, ncMouseMove{"NCMOUSEMOVE"},
      keyDown{"KEYDOWN"}, keyChar{"KEYCHAR"}, command{"COMMAND"}, sysCommand{"SYSCOMMAND"},
      timer{"TIMER"}, hScroll{"HSCROLL"}, vScroll{"VSCROLL"}, initMenuPopup{"INITMENUPOPUP"},
      menuSelect{"MENUSELECT"}, menuChar{"MENUCHAR"}, ctlColor{"CTLCOLOR"}, mouseMove{"MOUSEMOVE"},
      lButtonDown{"LBUTTONDOWN"}, lButtonUp{"LBUTTONUP"}, lDblClick{"LDBLCLICK"},
      rButtonDown{"RBUTTONDOWN"}, rButtonUp{"RBUTTONUP"}, mButtonDown{"MBUTTONDOWN"},
      mButtonUp{"MBUTTONUP"}, mouseWheel{"MOUSEWHEEL"}, dropFiles{"DROPFILES"},
      queryNewPalette{"QUERYNEWPALETTE"}, paletteChanged{"PALETTECHANGED"},
      ddeInitiate{"DDEINITIATE"}, ddeTerminate{"DDETERMINATE"}, ddeAck{"DDEACK"},
      ddeExecute{"DDEEXECUTE"}, helpF1{"HELPF1"}, dropOver{"DROPOVER"}, asyncSelect{"ASYNCSELECT"},
      taskBar{"TASKBAR"};
};

const Methods& methods() {
  static const Methods m;
  return m;
}

bool answer(PV_ITEM result) {
  pv_itemReturn(result);
  return true;
}

// Paint: BeginPaint(), Paint(), EndPaint() in turn; the message is answered with 0.
bool paint(PV_ITEM self, const Methods& m) {
  send(self, m.beginPaint);
  send(self, m.paint);
  send(self, m.endPaint);
  pv_retni(0);
  return true;
}

// The mouse messages: ( row, column, key flags ).
bool mouse(PV_ITEM self, const Message& msg, long long w, long long l) {
  return answer(send(self, msg, {{hi(l)}, {lo(l)}, {w}}));
}

// Calls the method for `message` on self and answers its result; false for a message the
// switch does not handle (left unanswered). With `probe` only tells whether it would call one.
bool route(PV_ITEM self, UINT message, long long w, long long l, bool probe) {
  const Methods& m = methods();
  switch (message) {
    case WM_DESTROY: return probe || answer(send(self, m.destroy));
    case WM_MOVE: return probe || answer(send(self, m.moved, {{w}, {lo(l)}, {hi(l)}}));
    case WM_SIZE: return probe || answer(send(self, m.resize, {{w}, {lo(l)}, {hi(l)}}));
    case WM_SETFOCUS: return probe || answer(send(self, m.gotFocus, {{w}}));
    case WM_KILLFOCUS: return probe || answer(send(self, m.lostFocus, {{w}}));
    case WM_PAINT: return probe || paint(self, m);
    case WM_CLOSE: return probe || answer(send(self, m.close, {{w}}));
    case WM_QUERYENDSESSION: return probe || answer(send(self, m.queryEndSession));
    case WM_ERASEBKGND: return probe || answer(send(self, m.eraseBkGnd, {{w}}));
    case WM_GETMINMAXINFO: return probe || answer(send(self, m.getMinMaxInfo, {{l}}));
    case WM_DRAWITEM:
    case 2056: return probe || answer(send(self, m.drawItem, {{w}, {l}}));
    case WM_MEASUREITEM: return probe || answer(send(self, m.measureItem, {{w}, {l}}));
    case WM_QUERYDRAGICON: return probe || answer(send(self, m.queryDragIcon));
    case 68: return probe || answer(send(self, m.commNotify, {{w}, {l}}));
    case WM_NOTIFY: return probe || answer(send(self, m.notify, {{w}, {l}}));
    case WM_HELP: return probe || answer(send(self, m.help, {{w}, {l}}));
    case WM_NCACTIVATE: return probe || answer(send(self, m.ncActivate, {logicalArg(w != 0)}));
    case WM_GETDLGCODE: return probe || answer(send(self, m.getDlgCode, {{w}}));
    case WM_NCMOUSEMOVE: return probe || answer(send(self, m.ncMouseMove, {{w}, {hi(l)}, {lo(l)}}));
    case WM_KEYDOWN: return probe || answer(send(self, m.keyDown, {{w}, {l}}));
    case WM_CHAR: return probe || answer(send(self, m.keyChar, {{w}, {l}}));
    case WM_COMMAND: return probe || answer(send(self, m.command, {{w}, {l}}));
    case WM_SYSCOMMAND: return probe || answer(send(self, m.sysCommand, {{w}, {l}}));
    case WM_TIMER: return probe || answer(send(self, m.timer, {{w}, {l}}));
    case WM_HSCROLL: return probe || answer(send(self, m.hScroll, {{w}, {l}}));
    case WM_VSCROLL: return probe || answer(send(self, m.vScroll, {{w}, {l}}));
    case WM_INITMENUPOPUP: return probe || answer(send(self, m.initMenuPopup, {{w}, {lo(l)}, logicalArg(hi(l) != 0)}));
    case WM_MENUSELECT: return probe || answer(send(self, m.menuSelect, {{lo(w)}, {hi(l)}, {l}}));
    case WM_MENUCHAR: return probe || answer(send(self, m.menuChar, {{lo(w)}, {hi(l)}, {l}}));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: return probe || answer(send(self, m.ctlColor, {{l}, {w}}));
    case WM_MOUSEMOVE: return probe || mouse(self, m.mouseMove, w, l);
    case WM_LBUTTONDOWN: return probe || mouse(self, m.lButtonDown, w, l);
    case WM_LBUTTONUP: return probe || mouse(self, m.lButtonUp, w, l);
    case WM_LBUTTONDBLCLK: return probe || mouse(self, m.lDblClick, w, l);
    case WM_RBUTTONDOWN: return probe || mouse(self, m.rButtonDown, w, l);
    case WM_RBUTTONUP: return probe || mouse(self, m.rButtonUp, w, l);
    case WM_MBUTTONDOWN: return probe || mouse(self, m.mButtonDown, w, l);
    case WM_MBUTTONUP: return probe || mouse(self, m.mButtonUp, w, l);
    case WM_MOUSEWHEEL:
      return probe || answer(send(self, m.mouseWheel, {{lo(w)}, {hiSigned(w)}, {loSigned(l)}, {hiSigned(l)}}));
    case WM_DROPFILES: return probe || answer(send(self, m.dropFiles, {{w}}));
    case WM_QUERYNEWPALETTE: return probe || answer(send(self, m.queryNewPalette));
    case WM_PALETTECHANGED: return probe || answer(send(self, m.paletteChanged, {{w}}));
    case 992: return probe || answer(send(self, m.ddeInitiate, {{w}, {lo(l)}, {hi(l)}}));
    case 993: return probe || answer(send(self, m.ddeTerminate, {{w}}));
    case 996: return probe || answer(send(self, m.ddeAck, {{w}, {l}}));
    case 1000: return probe || answer(send(self, m.ddeExecute, {{w}, {l}}));
    case 2061: return probe || answer(send(self, m.helpF1));
    case 2063: return probe || answer(send(self, m.dropOver, {{lo(l)}, {hi(l)}, {l}}));
    case 2065: return probe || answer(send(self, m.asyncSelect, {{w}, {l}}));
    case 2067: return probe || answer(send(self, m.taskBar, {{w}, {l}}));
    default: return false;
  }
}

void PV_FUN_WNDHANDLEEVENT() {
  if (!route(pv_stackSelfItem(), static_cast<UINT>(pv_parnll(1)), pv_parnll(2), pv_parnll(3), false)) pv_ret();
}

PvSymbol s_symbols[] = {pv_native("WNDHANDLEEVENT", PV_FUN_WNDHANDLEEVENT)};
PvModuleRegistrar s_module("gui/message_switch", s_symbols);

}  // namespace

namespace pv::gui {

// Messages the library's HandleEvent methods look at before they reach the switch:
// TControl's (control.prg) and TDialog's (dialog.prg). Keep in step with those methods.
constexpr UINT kPrgHandled[] = {2048 /* FM_CLICK */, 2053 /* FM_CHANGE */, 2054 /* FM_COLORS */,
                                2057 /* FM_LOSTFOCUS */, 25 /* WM_CTLCOLOR */, WM_KEYUP, WM_SYSCHAR,
                                WM_INITDIALOG, WM_PRINTCLIENT};

bool libraryMayHandle(UINT message) {
  for (UINT m : kPrgHandled)
    if (m == message) return true;
  return route(nullptr, message, 0, 0, true);
}

bool handlesEventsLikeLibrary(PV_ITEM object) {
  static PvDynSym* const handleEvent = pv_dynsymGet("HANDLEEVENT");
  static PvSymbol* own[3] = {};
  static const char* const kClasses[3] = {"TWINDOW", "TCONTROL", "TDIALOG"};
  PvSymbol* used = pv_clsMethodFunction(pv_objGetClass(object), handleEvent);
  if (!used) return false;
  for (int i = 0; i < 3; ++i) {
    if (!own[i]) own[i] = pv_clsMethodFunction(pv_clsFindClass(kClasses[i]), handleEvent);
    if (used == own[i]) return true;
  }
  return false;
}

}  // namespace pv::gui

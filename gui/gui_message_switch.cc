// WNDHANDLEEVENT( nMsg, nWParam, nLParam ): the native message switch installed as TWindow's
// HandleEvent. Each message below calls the method of the same meaning on Self and returns its
// result; any other message returns NIL (not handled). Method symbols are resolved once.
#include "gui_natives.h"
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

void answer(PV_ITEM result) { pv_itemReturn(result); }

// Paint: BeginPaint(), Paint(), EndPaint() in turn; the message is answered with 0.
void paint(PV_ITEM self, const Methods& m) {
  send(self, m.beginPaint);
  send(self, m.paint);
  send(self, m.endPaint);
  pv_retni(0);
}

// The mouse messages: ( row, column, key flags ).
void mouse(PV_ITEM self, const Message& msg, long long w, long long l) {
  answer(send(self, msg, {{hi(l)}, {lo(l)}, {w}}));
}

void PV_FUN_WNDHANDLEEVENT() {
  PV_ITEM self = pv_stackSelfItem();
  const Methods& m = methods();
  auto message = static_cast<UINT>(pv_parnll(1));
  long long w = pv_parnll(2), l = pv_parnll(3);
  switch (message) {
    case WM_DESTROY: return answer(send(self, m.destroy));
    case WM_MOVE: return answer(send(self, m.moved, {{w}, {lo(l)}, {hi(l)}}));
    case WM_SIZE: return answer(send(self, m.resize, {{w}, {lo(l)}, {hi(l)}}));
    case WM_SETFOCUS: return answer(send(self, m.gotFocus, {{w}}));
    case WM_KILLFOCUS: return answer(send(self, m.lostFocus, {{w}}));
    case WM_PAINT: return paint(self, m);
    case WM_CLOSE: return answer(send(self, m.close, {{w}}));
    case WM_QUERYENDSESSION: return answer(send(self, m.queryEndSession));
    case WM_ERASEBKGND: return answer(send(self, m.eraseBkGnd, {{w}}));
    case WM_GETMINMAXINFO: return answer(send(self, m.getMinMaxInfo, {{l}}));
    case WM_DRAWITEM:
    case 2056: return answer(send(self, m.drawItem, {{w}, {l}}));
    case WM_MEASUREITEM: return answer(send(self, m.measureItem, {{w}, {l}}));
    case WM_QUERYDRAGICON: return answer(send(self, m.queryDragIcon));
    case 68: return answer(send(self, m.commNotify, {{w}, {l}}));
    case WM_NOTIFY: return answer(send(self, m.notify, {{w}, {l}}));
    case WM_HELP: return answer(send(self, m.help, {{w}, {l}}));
    case WM_NCACTIVATE: return answer(send(self, m.ncActivate, {logicalArg(w != 0)}));
    case WM_GETDLGCODE: return answer(send(self, m.getDlgCode, {{w}}));
    case WM_NCMOUSEMOVE: return answer(send(self, m.ncMouseMove, {{w}, {hi(l)}, {lo(l)}}));
    case WM_KEYDOWN: return answer(send(self, m.keyDown, {{w}, {l}}));
    case WM_CHAR: return answer(send(self, m.keyChar, {{w}, {l}}));
    case WM_COMMAND: return answer(send(self, m.command, {{w}, {l}}));
    case WM_SYSCOMMAND: return answer(send(self, m.sysCommand, {{w}, {l}}));
    case WM_TIMER: return answer(send(self, m.timer, {{w}, {l}}));
    case WM_HSCROLL: return answer(send(self, m.hScroll, {{w}, {l}}));
    case WM_VSCROLL: return answer(send(self, m.vScroll, {{w}, {l}}));
    case WM_INITMENUPOPUP: return answer(send(self, m.initMenuPopup, {{w}, {lo(l)}, logicalArg(hi(l) != 0)}));
    case WM_MENUSELECT: return answer(send(self, m.menuSelect, {{lo(w)}, {hi(l)}, {l}}));
    case WM_MENUCHAR: return answer(send(self, m.menuChar, {{lo(w)}, {hi(l)}, {l}}));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: return answer(send(self, m.ctlColor, {{l}, {w}}));
    case WM_MOUSEMOVE: return mouse(self, m.mouseMove, w, l);
    case WM_LBUTTONDOWN: return mouse(self, m.lButtonDown, w, l);
    case WM_LBUTTONUP: return mouse(self, m.lButtonUp, w, l);
    case WM_LBUTTONDBLCLK: return mouse(self, m.lDblClick, w, l);
    case WM_RBUTTONDOWN: return mouse(self, m.rButtonDown, w, l);
    case WM_RBUTTONUP: return mouse(self, m.rButtonUp, w, l);
    case WM_MBUTTONDOWN: return mouse(self, m.mButtonDown, w, l);
    case WM_MBUTTONUP: return mouse(self, m.mButtonUp, w, l);
    case WM_MOUSEWHEEL:
      return answer(send(self, m.mouseWheel, {{lo(w)}, {hiSigned(w)}, {loSigned(l)}, {hiSigned(l)}}));
    case WM_DROPFILES: return answer(send(self, m.dropFiles, {{w}}));
    case WM_QUERYNEWPALETTE: return answer(send(self, m.queryNewPalette));
    case WM_PALETTECHANGED: return answer(send(self, m.paletteChanged, {{w}}));
    case 992: return answer(send(self, m.ddeInitiate, {{w}, {lo(l)}, {hi(l)}}));
    case 993: return answer(send(self, m.ddeTerminate, {{w}}));
    case 996: return answer(send(self, m.ddeAck, {{w}, {l}}));
    case 1000: return answer(send(self, m.ddeExecute, {{w}, {l}}));
    case 2061: return answer(send(self, m.helpF1));
    case 2063: return answer(send(self, m.dropOver, {{lo(l)}, {hi(l)}, {l}}));
    case 2065: return answer(send(self, m.asyncSelect, {{w}, {l}}));
    case 2067: return answer(send(self, m.taskBar, {{w}, {l}}));
    default: return pv_ret();
  }
}

PvSymbol s_symbols[] = {pv_native("WNDHANDLEEVENT", PV_FUN_WNDHANDLEEVENT)};
PvModuleRegistrar s_module("gui/message_switch", s_symbols);

}  // namespace

// Constants of the GUI library's classes: Win32 messages, styles and colours, and the
// library's private messages.
#ifndef GUI_CH
#define GUI_CH

#define WM_DESTROY          2
#define WM_SETFOCUS         7
#define WM_KILLFOCUS        8
#define WM_SETREDRAW       11
#define WM_SETTEXT         12
#define WM_PAINT           15
#define WM_CLOSE           16
#define WM_QUIT            18
#define WM_ERASEBKGND      20
#define WM_CTLCOLOR        25
#define WM_SETFONT         48
#define WM_GETFONT         49
#define WM_HELP            83
#define WM_SETICON        128
#define WM_KEYDOWN        256
#define WM_KEYUP          257
#define WM_CHAR           258
#define WM_SYSCHAR        262
#define WM_INITDIALOG     272
#define WM_COMMAND        273
#define WM_SYSCOMMAND     274
#define WM_LBUTTONDOWN    513
#define WM_PRINTCLIENT    792

#define FM_CLICK         2048
#define FM_CHANGE        2053
#define FM_COLORS        2054
#define FM_DRAW          2056
#define FM_LOSTFOCUS     2057
#define FM_HELPF1        2061
#define FM_DROPOVER      2063
#define FM_CHANGEFOCUS   2064
#define FM_CLOSEUP       2066

#define BM_SETSTYLE       244
#define BS_PUSHBUTTON       0
#define BS_DEFPUSHBUTTON    1

#define WS_POPUP        0x80000000
#define WS_CHILD        0x40000000
#define WS_VISIBLE      0x10000000
#define WS_DISABLED     0x08000000
#define WS_CLIPSIBLINGS 0x04000000
#define WS_CAPTION      0x00C00000
#define WS_BORDER       0x00800000
#define WS_VSCROLL      0x00200000
#define WS_HSCROLL      0x00100000
#define WS_SYSMENU      0x00080000
#define WS_GROUP        0x00020000
#define WS_TABSTOP      0x00010000
#define DS_MODALFRAME   0x00000080

#define SS_CENTER       1
#define SS_RIGHT        2
#define SS_NOPREFIX     0x80

#define CS_VREDRAW      1
#define CS_HREDRAW      2
#define CS_DBLCLKS      8
#define CS_GLOBALCLASS  0x4000

#define GWL_STYLE       -16

#define COLOR_WINDOW     5
#define COLOR_BTNFACE   15
#define COLOR_BTNTEXT   18

#define IDOK             1
#define IDCANCEL         2

#define VK_RETURN       13
#define VK_ESCAPE       27
#define VK_LEFT         37
#define VK_UP           38
#define VK_RIGHT        39
#define VK_DOWN         40

#define CLR_BLUE     16711680
#define CLR_WHITE    16777215

// Gives a parameter or variable its default when it is NIL.
#define DEFAULT_NIL( v, x )  iif( v == NIL, v := ( x ), NIL )

#endif

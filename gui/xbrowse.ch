// Constants of the browse grid classes: the Win32 values they use beyond the library's own
// and the grid's measures.
#ifndef XBROWSE_CH
#define XBROWSE_CH

#include "gui.ch"

#define RGB( r, g, b )        ( ( r ) + ( g ) * 256 + ( b ) * 65536 )

#define XBRW_RECSEL_WIDTH     25
#define XBRW_SCROLL_LIMIT     10000

#define SB_HORZ               0
#define SB_VERT               1
#define SB_LINEUP             0
#define SB_LINEDOWN           1
#define SB_PAGEUP             2
#define SB_PAGEDOWN           3
#define SB_THUMBPOSITION      4
#define SB_THUMBTRACK         5
#define SB_TOP                6
#define SB_BOTTOM             7

#define SM_CYHSCROLL          3
#define SM_CYVSCROLL          20

#define COLOR_HIGHLIGHT       13
#define COLOR_BTNSHADOW       16
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT    20

#define PS_SOLID              0

#define DT_RIGHT              0x0002
#define DT_CENTER             0x0001
#define DT_VCENTER            0x0004
#define DT_WORDBREAK          0x0010
#define DT_SINGLELINE         0x0020
#define DT_NOPREFIX           0x0800
#define DT_EDITCONTROL        0x2000
#define DT_MODIFYSTRING       0x10000

#define VK_BACK               8
#define VK_CONTROL            17
#define VK_PRIOR              33
#define VK_NEXT               34
#define VK_END                35
#define VK_HOME               36

#define MK_SHIFT              4
#define MK_CONTROL            8
#define MK_MBUTTON            16

#define DLGC_WANTALLKEYS      4

// nDataType of a grid over an array (0: a work area)
#define XBRW_DATA_ARRAY       1

// Slots of an entry of the grid's cell layout (see XBRWCELLS)
#define XBRW_CELL_CLRSTD      9
#define XBRW_CELL_CLRSEL      10
#define XBRW_CELL_CLRSELFOCUS 11

// What holds the mouse capture (nCaptured)
#define XBRW_CAPTURE_HEADER   1
#define XBRW_CAPTURE_COLSIZE  2
#define XBRW_CAPTURE_ROWSIZE  3

#endif

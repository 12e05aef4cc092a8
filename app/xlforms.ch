// Names shared by the modules of xlforms: letters outside ASCII in the ANSI code page (the
// modules are plain ASCII, the program's texts are single-byte 1252), line ends, colours and
// the spreadsheet constants the exports use.
#ifndef XLFORMS_CH
#define XLFORMS_CH

#define CRLF          ( Chr( 13 ) + Chr( 10 ) )

#define AE_SMALL      Chr( 228 )
#define OE_SMALL      Chr( 246 )
#define UE_SMALL      Chr( 252 )
#define UE_CAPITAL    Chr( 220 )
#define SHARP_S       Chr( 223 )

// Windows COLORREF numbers (0x00BBGGRR) for the grids, spreadsheet RGB numbers for the sheets.
#define CLR_BLACK     0
#define CLR_WHITE     16777215
#define CLR_GREEN     32768
#define CLR_RED       255
#define CLR_NAVY      8388608
#define CLR_BLUE      16711680

#define XL_CENTER     -4108
#define XL_LEFT       -4131
#define XL_RIGHT      -4152
#define XL_EDGEBOTTOM 9
#define XL_CONTINUOUS 1
#define XL_THIN       2
#define XL_AUTOMATIC  -4105

// Generic codes of error objects that the error handler settles quietly.
#define EG_ZERODIV    5
#define EG_OPEN       21
#define EG_APPENDLOCK 40

#endif

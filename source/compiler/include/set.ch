/* set.ch: the numbers of the settings that SET(n [, value]) reads and changes. */
#ifndef _SET_CH
#define _SET_CH

#define _SET_EXACT            1
#define _SET_FIXED            2
#define _SET_DECIMALS         3
#define _SET_DATEFORMAT       4
#define _SET_EPOCH            5
#define _SET_PATH             6
#define _SET_DEFAULT          7
#define _SET_EXCLUSIVE        8
#define _SET_SOFTSEEK         9
#define _SET_UNIQUE           10
#define _SET_DELETED          11
#define _SET_CANCEL           12
#define _SET_DEBUG            13
#define _SET_TYPEAHEAD        14
#define _SET_COLOR            15
#define _SET_CURSOR           16
#define _SET_CONSOLE          17
#define _SET_ALTERNATE        18
#define _SET_ALTFILE          19
#define _SET_DEVICE           20
#define _SET_EXTRA            21
#define _SET_EXTRAFILE        22
#define _SET_PRINTER          23
#define _SET_PRINTFILE        24
#define _SET_MARGIN           25
#define _SET_BELL             26
#define _SET_CONFIRM          27
#define _SET_ESCAPE           28
#define _SET_INSERT           29
#define _SET_EXIT             30
#define _SET_INTENSITY        31
#define _SET_SCOREBOARD       32
#define _SET_DELIMITERS       33
#define _SET_DELIMCHARS       34
#define _SET_WRAP             35
#define _SET_MESSAGE          36
#define _SET_MCENTER          37
#define _SET_SCROLLBREAK      38
#define _SET_EVENTMASK        39
#define _SET_VIDEOMODE        40
#define _SET_MBLOCKSIZE       41
#define _SET_MFILEEXT         42
#define _SET_STRICTREAD       43
#define _SET_OPTIMIZE         44
#define _SET_AUTOPEN          45
#define _SET_AUTORDER         46
#define _SET_AUTOSHARE        47
#define _SET_COUNT            47

/* extensions of this runtime */
#define _SET_LANGUAGE         100
#define _SET_IDLEREPEAT       101
#define _SET_TRACE            102
#define _SET_TRACEFILE        103
#define _SET_TRACESTACK       104
#define _SET_FILECASE         105
#define _SET_DIRCASE          106
#define _SET_DIRSEPARATOR     107
#define _SET_ERRORLOOP        108
#define _SET_OUTPUTSAFETY     109
#define _SET_DBFLOCKSCHEME    110
#define _SET_BACKGROUNDTASKS  111
#define _SET_TRIMFILENAME     112
#define _SET_GTMODE           113
#define _SET_BACKGROUNDTICK   114
#define _SET_PRINTERJOB       115
#define _SET_HARDCOMMIT       116
#define _SET_FORCEOPT         117
#define _SET_EOL              118
#define _SET_ERRORLOG         119
#define _SET_TIMEFORMAT       120

#endif

// The settings record: process-wide switches read by dates, numbers, tables and indexes.
#pragma once

#include <string>
#include <vector>

#include "item.h"

enum PvSet : int {
  PV_SET_EXACT = 1, PV_SET_FIXED = 2, PV_SET_DECIMALS = 3, PV_SET_DATEFORMAT = 4,
  PV_SET_EPOCH = 5, PV_SET_PATH = 6, PV_SET_DEFAULT = 7, PV_SET_EXCLUSIVE = 8,
  PV_SET_SOFTSEEK = 9, PV_SET_UNIQUE = 10, PV_SET_DELETED = 11, PV_SET_CANCEL = 12,
  PV_SET_DEBUG = 13, PV_SET_TYPEAHEAD = 14, PV_SET_COLOR = 15, PV_SET_CURSOR = 16,
  PV_SET_CONSOLE = 17, PV_SET_ALTERNATE = 18, PV_SET_ALTFILE = 19, PV_SET_DEVICE = 20,
  PV_SET_EXTRA = 21, PV_SET_EXTRAFILE = 22, PV_SET_PRINTER = 23, PV_SET_PRINTFILE = 24,
  PV_SET_MARGIN = 25, PV_SET_BELL = 26, PV_SET_CONFIRM = 27, PV_SET_ESCAPE = 28,
  PV_SET_INSERT = 29, PV_SET_EXIT = 30, PV_SET_INTENSITY = 31, PV_SET_SCOREBOARD = 32,
  PV_SET_DELIMITERS = 33, PV_SET_DELIMCHARS = 34, PV_SET_WRAP = 35, PV_SET_MESSAGE = 36,
  PV_SET_MCENTER = 37, PV_SET_SCROLLBREAK = 38, PV_SET_EVENTMASK = 39, PV_SET_VIDEOMODE = 40,
  PV_SET_MBLOCKSIZE = 41, PV_SET_MFILEEXT = 42, PV_SET_STRICTREAD = 43, PV_SET_OPTIMIZE = 44,
  PV_SET_AUTOPEN = 45, PV_SET_AUTORDER = 46, PV_SET_AUTOSHARE = 47,
  PV_SET_LANGUAGE = 100, PV_SET_IDLEREPEAT = 101, PV_SET_TRACE = 102, PV_SET_TRACEFILE = 103,
  PV_SET_TRACESTACK = 104, PV_SET_FILECASE = 105, PV_SET_DIRCASE = 106,
  PV_SET_DIRSEPARATOR = 107, PV_SET_ERRORLOOP = 108, PV_SET_OUTPUTSAFETY = 109,
  PV_SET_DBFLOCKSCHEME = 110, PV_SET_BACKGROUNDTASKS = 111, PV_SET_TRIMFILENAME = 112,
  PV_SET_GTMODE = 113, PV_SET_BACKGROUNDTICK = 114, PV_SET_PRINTERJOB = 115,
  PV_SET_HARDCOMMIT = 116, PV_SET_FORCEOPT = 117, PV_SET_EOL = 118, PV_SET_ERRORLOG = 119,
  PV_SET_TIMEFORMAT = 120,
};

void pv_setInitialize();   // the defaults
void pv_setRelease();      // closes open files

// The SET function: `result` receives the value before the call; `value` (may be null or NIL)
// is validated and stored; `extra` is the append flag of file settings.
void pv_setGetSet(int setting, PV_ITEM value, PV_ITEM extra, PV_ITEM result);
bool pv_setCenturySet(PV_ITEM value);  // __SETCENTURY: returns the flag before the call

using PvSetListener = void (*)(int setting, int after);
int pv_setListenerAdd(PvSetListener listener);
void pv_setListenerRemove(int id);

bool pv_setExact();
bool pv_setFixed();
int pv_setDecimals();
const char* pv_setDateFormat();
int pv_setEpoch();
const char* pv_setPath();
const std::vector<std::string>& pv_setPathList();
const char* pv_setDefault();
bool pv_setExclusive();
bool pv_setSoftSeek();
bool pv_setUnique();
bool pv_setDeleted();
bool pv_setAutOpen();
int pv_setAutOrder();
int pv_setAutoShare();
int pv_setDBFLockScheme();
bool pv_setHardCommit();
int pv_setErrorLoop();
bool pv_setCentury();
const char* pv_setTimeFormat();
const char* pv_setDirSeparator();
bool pv_setConsole();

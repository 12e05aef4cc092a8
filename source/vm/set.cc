// The settings record: defaults, validation of new values, the century coupling and listeners.
#include "set.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "errors.h"

namespace {

enum class Kind { Logical, Number, Text, File };

struct Setting {
  Kind kind = Kind::Logical;
  int number = 0;       // logical 0/1 or number
  std::string text;     // text, or the file name of a file setting
  FILE* file = nullptr; // open file of a file setting
};

constexpr int kMaxSet = 120;
Setting g_set[kMaxSet + 1];
bool g_century = false;
std::vector<std::string> g_pathList;
std::vector<PvSetListener> g_listeners;  // nullptr where removed

void def(int n, Kind kind, int number, const char* text = "") {
  g_set[n].kind = kind;
  g_set[n].number = number;
  g_set[n].text = text;
  g_set[n].file = nullptr;
}

void notify(int setting, int after) {
  for (auto l : g_listeners)
    if (l) l(setting, after);
}

void splitPath(const std::string& text) {
  g_pathList.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) g_pathList.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

// Length of the first run of Y letters in `format`, and where it starts (npos when none).
size_t yRun(const std::string& format, size_t* start) {
  size_t i = 0;
  while (i < format.size() && std::toupper(static_cast<unsigned char>(format[i])) != 'Y') ++i;
  *start = i < format.size() ? i : std::string::npos;
  size_t n = 0;
  while (i + n < format.size() && std::toupper(static_cast<unsigned char>(format[i + n])) == 'Y') ++n;
  return n;
}

// A logical from a value: logical, or text beginning with ON/OFF. False when not one.
bool logicalOf(PV_ITEM value, int* out) {
  if (PV_IS_LOGICAL(value)) {
    *out = pv_itemGetL(value) ? 1 : 0;
    return true;
  }
  if (PV_IS_STRING(value)) {
    std::string t(pv_itemGetCPtr(value), pv_itemGetCLen(value));
    for (auto& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (t.rfind("ON", 0) == 0) { *out = 1; return true; }
    if (t.rfind("OFF", 0) == 0) { *out = 0; return true; }
  }
  return false;
}

bool numberOf(PV_ITEM value, int* out) {
  if (PV_IS_NUMERIC(value)) { *out = pv_itemGetNI(value); return true; }
  if (PV_IS_STRING(value) && pv_itemGetCLen(value) == 1) {
    *out = static_cast<unsigned char>(pv_itemGetCPtr(value)[0]);
    return true;
  }
  return false;
}

void putOld(int n, PV_ITEM result) {
  const Setting& s = g_set[n];
  switch (s.kind) {
    case Kind::Logical: pv_itemPutL(result, s.number != 0); break;
    case Kind::Number: pv_itemPutNI(result, s.number); break;
    case Kind::Text:
    case Kind::File: pv_itemPutCL(result, s.text.data(), static_cast<PV_SIZE>(s.text.size())); break;
  }
}

void openFile(int n, const std::string& name, bool append) {
  Setting& s = g_set[n];
  if (s.file) std::fclose(s.file);
  s.file = nullptr;
  s.text = name;
  if (name.empty()) return;
  std::string path = name;
  if (n == PV_SET_ALTFILE && path.find('.') == std::string::npos) path += ".txt";
  s.file = std::fopen(path.c_str(), append ? "ab" : "wb");
}

// Stores a validated value; returns false when the value does not fit the setting.
bool store(int n, PV_ITEM value, PV_ITEM extra) {
  Setting& s = g_set[n];
  switch (s.kind) {
    case Kind::Logical: return logicalOf(value, &s.number);
    case Kind::Number: {
      int v;
      if (!numberOf(value, &v)) return false;
      if (n == PV_SET_EPOCH && v < 0) {
        pv_errRT_BASE(1, 2020, nullptr, "SET", 0);
        return false;
      }
      s.number = v;
      return true;
    }
    case Kind::Text: {
      if (!PV_IS_STRING(value)) return false;
      PV_SIZE len = pv_itemGetCLen(value);
      if (len > 65535) len = 65535;
      s.text.assign(pv_itemGetCPtr(value), len);
      if (n == PV_SET_DATEFORMAT) {
        size_t start;
        g_century = yRun(s.text, &start) > 3;
      } else if (n == PV_SET_PATH) {
        splitPath(s.text);
      }
      return true;
    }
    case Kind::File:
      if (!PV_IS_STRING(value)) return false;
      openFile(n, std::string(pv_itemGetCPtr(value), pv_itemGetCLen(value)),
               extra && pv_itemGetL(extra));
      return true;
  }
  return false;
}

}  // namespace

void pv_setInitialize() {
  for (int i = 0; i <= kMaxSet; ++i) def(i, Kind::Logical, 0);
  using K = Kind;
  def(PV_SET_EXACT, K::Logical, 0);        def(PV_SET_FIXED, K::Logical, 0);
  def(PV_SET_DECIMALS, K::Number, 2);      def(PV_SET_DATEFORMAT, K::Text, 0, "mm/dd/yy");
  def(PV_SET_EPOCH, K::Number, 1900);      def(PV_SET_PATH, K::Text, 0, "");
  def(PV_SET_DEFAULT, K::Text, 0, "");     def(PV_SET_EXCLUSIVE, K::Logical, 1);
  def(PV_SET_SOFTSEEK, K::Logical, 0);     def(PV_SET_UNIQUE, K::Logical, 0);
  def(PV_SET_DELETED, K::Logical, 0);      def(PV_SET_CANCEL, K::Logical, 1);
  def(PV_SET_DEBUG, K::Logical, 0);        def(PV_SET_TYPEAHEAD, K::Number, 50);
  def(PV_SET_COLOR, K::Text, 0, "W/N,N/W,N/N,N/N,N/W");
  def(PV_SET_CURSOR, K::Number, 1);        def(PV_SET_CONSOLE, K::Logical, 1);
  def(PV_SET_ALTERNATE, K::Logical, 0);    def(PV_SET_ALTFILE, K::File, 0);
  def(PV_SET_DEVICE, K::Text, 0, "SCREEN"); def(PV_SET_EXTRA, K::Logical, 0);
  def(PV_SET_EXTRAFILE, K::File, 0);       def(PV_SET_PRINTER, K::Logical, 0);
  def(PV_SET_PRINTFILE, K::File, 0);       def(PV_SET_MARGIN, K::Number, 0);
  def(PV_SET_BELL, K::Logical, 0);         def(PV_SET_CONFIRM, K::Logical, 0);
  def(PV_SET_ESCAPE, K::Logical, 1);       def(PV_SET_INSERT, K::Logical, 0);
  def(PV_SET_EXIT, K::Logical, 0);         def(PV_SET_INTENSITY, K::Logical, 1);
  def(PV_SET_SCOREBOARD, K::Logical, 1);   def(PV_SET_DELIMITERS, K::Logical, 0);
  def(PV_SET_DELIMCHARS, K::Text, 0, "::"); def(PV_SET_WRAP, K::Logical, 0);
  def(PV_SET_MESSAGE, K::Number, 0);       def(PV_SET_MCENTER, K::Logical, 0);
  def(PV_SET_SCROLLBREAK, K::Logical, 1);  def(PV_SET_EVENTMASK, K::Number, 128);
  def(PV_SET_VIDEOMODE, K::Number, 0);     def(PV_SET_MBLOCKSIZE, K::Number, 0);
  def(PV_SET_MFILEEXT, K::Text, 0, "");    def(PV_SET_STRICTREAD, K::Logical, 0);
  def(PV_SET_OPTIMIZE, K::Logical, 1);     def(PV_SET_AUTOPEN, K::Logical, 1);
  def(PV_SET_AUTORDER, K::Number, 0);      def(PV_SET_AUTOSHARE, K::Number, 0);
  def(PV_SET_LANGUAGE, K::Text, 0, "EN");  def(PV_SET_IDLEREPEAT, K::Logical, 1);
  def(PV_SET_TRACE, K::Logical, 1);        def(PV_SET_TRACEFILE, K::Text, 0, "trace.log");
  def(PV_SET_TRACESTACK, K::Number, 2);    def(PV_SET_FILECASE, K::Number, 0);
  def(PV_SET_DIRCASE, K::Number, 0);       def(PV_SET_DIRSEPARATOR, K::Text, 0, "\\");
  def(PV_SET_ERRORLOOP, K::Number, 8);     def(PV_SET_OUTPUTSAFETY, K::Logical, 1);
  def(PV_SET_DBFLOCKSCHEME, K::Number, 0); def(PV_SET_BACKGROUNDTASKS, K::Logical, 0);
  def(PV_SET_TRIMFILENAME, K::Logical, 0); def(PV_SET_GTMODE, K::Number, 1);
  def(PV_SET_BACKGROUNDTICK, K::Number, 1000); def(PV_SET_PRINTERJOB, K::Text, 0, "");
  def(PV_SET_HARDCOMMIT, K::Logical, 1);   def(PV_SET_FORCEOPT, K::Logical, 0);
  def(PV_SET_EOL, K::Text, 0, "\n");       def(PV_SET_ERRORLOG, K::File, 0);
  g_set[PV_SET_ERRORLOG].text = "error.log";
  def(PV_SET_TIMEFORMAT, K::Text, 0, "hh:mm:ss.cc");
  g_century = false;
  g_pathList.clear();
}

void pv_setRelease() {
  for (auto& s : g_set) {
    if (s.file) std::fclose(s.file);
    s.file = nullptr;
  }
  g_listeners.clear();
}

void pv_setGetSet(int n, PV_ITEM value, PV_ITEM extra, PV_ITEM result) {
  if (n < 1 || n > kMaxSet) {
    pv_itemPutNil(result);
    return;
  }
  putOld(n, result);
  if (!value || PV_IS_NIL(value)) return;
  notify(n, 0);
  store(n, value, extra);
  notify(n, 1);
}

bool pv_setCenturySet(PV_ITEM value) {
  bool old = g_century;
  int on = -1;
  if (value && PV_IS_LOGICAL(value)) {
    on = pv_itemGetL(value);
  } else if (value && PV_IS_STRING(value)) {
    std::string t(pv_itemGetCPtr(value), pv_itemGetCLen(value));
    for (auto& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (t == "ON") on = 1;
    else if (t == "OF" || t == "OFF") on = 0;
  }
  if (on < 0 || (on != 0) == old) return old;
  g_century = on != 0;
  notify(PV_SET_DATEFORMAT, 0);
  std::string& f = g_set[PV_SET_DATEFORMAT].text;
  for (auto& c : f) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  size_t start;
  size_t run = yRun(f, &start);
  const char* ys = g_century ? "YYYY" : "YY";
  if (start == std::string::npos) f = ys + f;
  else f.replace(start, run, ys);
  notify(PV_SET_DATEFORMAT, 1);
  return old;
}

int pv_setListenerAdd(PvSetListener listener) {
  g_listeners.push_back(listener);
  return static_cast<int>(g_listeners.size());
}

void pv_setListenerRemove(int id) {
  if (id >= 1 && id <= static_cast<int>(g_listeners.size())) g_listeners[id - 1] = nullptr;
}

bool pv_setExact() { return g_set[PV_SET_EXACT].number != 0; }
bool pv_setFixed() { return g_set[PV_SET_FIXED].number != 0; }
int pv_setDecimals() { return g_set[PV_SET_DECIMALS].number; }
const char* pv_setDateFormat() { return g_set[PV_SET_DATEFORMAT].text.c_str(); }
int pv_setEpoch() { return g_set[PV_SET_EPOCH].number; }
const char* pv_setPath() { return g_set[PV_SET_PATH].text.c_str(); }
const std::vector<std::string>& pv_setPathList() { return g_pathList; }
const char* pv_setDefault() { return g_set[PV_SET_DEFAULT].text.c_str(); }
bool pv_setExclusive() { return g_set[PV_SET_EXCLUSIVE].number != 0; }
bool pv_setSoftSeek() { return g_set[PV_SET_SOFTSEEK].number != 0; }
bool pv_setUnique() { return g_set[PV_SET_UNIQUE].number != 0; }
bool pv_setDeleted() { return g_set[PV_SET_DELETED].number != 0; }
bool pv_setAutOpen() { return g_set[PV_SET_AUTOPEN].number != 0; }
int pv_setAutOrder() { return g_set[PV_SET_AUTORDER].number; }
int pv_setAutoShare() { return g_set[PV_SET_AUTOSHARE].number; }
int pv_setDBFLockScheme() { return g_set[PV_SET_DBFLOCKSCHEME].number; }
bool pv_setHardCommit() { return g_set[PV_SET_HARDCOMMIT].number != 0; }
int pv_setErrorLoop() { return g_set[PV_SET_ERRORLOOP].number; }
bool pv_setCentury() { return g_century; }
const char* pv_setTimeFormat() { return g_set[PV_SET_TIMEFORMAT].text.c_str(); }
const char* pv_setDirSeparator() { return g_set[PV_SET_DIRSEPARATOR].text.c_str(); }
bool pv_setConsole() { return g_set[PV_SET_CONSOLE].number != 0; }

namespace {
// The record exists from program load so that values work before start-up (tools, tests).
struct SetDefaults {
  SetDefaults() { pv_setInitialize(); }
} g_setDefaults;
}  // namespace

// Internal errors: caption, message table, trace file, message box hook and process exit.
#include "errint.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// English texts of the internal errors 9001..9022, in order.
const char* const kInternalTexts[] = {
    "Error recovery failure",
    "No ERRORBLOCK() for error",
    "Too many recursive error handler calls",
    "RDD invalid or failed to load",
    "Invalid method type from %s",
    "pv_xgrab can't allocate memory",
    "pv_xrealloc called with a NULL pointer",
    "pv_xrealloc called with an invalid pointer",
    "pv_xrealloc can't reallocate memory",
    "pv_xfree called with an invalid pointer",
    "pv_xfree called with a NULL pointer",
    "Can't locate the starting procedure: '%s'",
    "No starting procedure",
    "Unsupported VM opcode",
    "Symbol item expected from %s",
    "Invalid symbol type for self from %s",
    "Codeblock expected from %s",
    "Incorrect item type on the stack trying to pop from %s",
    "Stack underflow",
    "An item was going to be copied to itself from %s",
    "Invalid symbol item passed as memvar %s",
    "Memory buffer overflow",
};

PvInternalErrorHook g_messageBox = nullptr;

// Expands up to two %s in `format` (other % sequences are kept as they are).
std::string expand(const char* format, const char* arg1, const char* arg2) {
  std::string out;
  const char* args[2] = {arg1 ? arg1 : "", arg2 ? arg2 : ""};
  int next = 0;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && next < 2) {
      out += args[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

void appendTrace(const std::string& caption, const std::string& text) {
  if (FILE* f = std::fopen("error.log", "a")) {
    std::fprintf(f, "%s%s\n", caption.c_str(), text.c_str());
    std::fclose(f);
  }
}

}  // namespace

std::string pv_errInternalText(unsigned long code, const char* format, const char* arg1,
                               const char* arg2) {
  if (!format && code >= 9001 && code <= 9022) format = kInternalTexts[code - 9001];
  return format ? expand(format, arg1, arg2) : std::string();
}

void pv_errInternal(unsigned long code, const char* format, const char* arg1, const char* arg2) {
  std::string caption = "Unrecoverable error " + std::to_string(code) + ": ";
  std::string text = pv_errInternalText(code, format, arg1, arg2);
  if (format) appendTrace(caption, text);
  std::fprintf(stderr, "%s%s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  if (g_messageBox) g_messageBox(code, caption.c_str(), text.c_str());
  std::_Exit(1);
}

void pv_errInternalSetMessageBox(PvInternalErrorHook hook) { g_messageBox = hook; }

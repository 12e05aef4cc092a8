// Internal errors: unrecoverable failures of the runtime that end the process.
#pragma once

#include <string>

// Reports "Unrecoverable error <code>: " and the text (the given format with up to two %s
// arguments, or the message-table text of the code) on stderr, appends explicit formats to the
// trace file, shows the message box hook, and ends the process with exit code 1.
[[noreturn]] void pv_errInternal(unsigned long code, const char* format, const char* arg1,
                                 const char* arg2);

// The text of an internal error, as pv_errInternal builds it (without the caption).
std::string pv_errInternalText(unsigned long code, const char* format, const char* arg1,
                               const char* arg2);

// The message box is shown through a hook that the platform layer fills.
using PvInternalErrorHook = void (*)(unsigned long code, const char* caption, const char* text);
void pv_errInternalSetMessageBox(PvInternalErrorHook hook);

// Automation errors: the texts of status codes, and the error objects the bridge launches.
#pragma once

#include <string>

#include "com/com.h"
#include "item.h"

namespace ole {

// "S_OK", "DISP_E_EXCEPTION", … for the codes of the table; "Unknown error" (after a trace
// line) for any other.
const char* StatusText(com::HRESULT h);
// The exception record's source / description as ANSI text ("" when there is none).
std::string ExceptionSource();
std::string ExceptionDescription();
// The description an error about the last status carries: the server's text for
// DISP_E_EXCEPTION, else the status text.
std::string LastStatusDescription();

// Launches the Automation error (1001, subcode = last status, subsystem = `subsystem`,
// operation = the message) with the frame's parameters first.. as its arguments, for
// substitution; the handler's value goes to `result` (NIL after a break). The description is
// that of the last status unless one is given.
void RaiseAutomationError(PV_ITEM result, const std::string& subsystem, const char* operation,
                          int firstArg, const char* description = nullptr);
// The description of the error a message to an object without a server raises.
inline constexpr const char* kNoServer = "E_UNEXPECTED: the object has no server (its creation failed)";

}  // namespace ole

// Trace lines of the bridge: appended to "trace.log" in the current folder; the first line a
// process writes empties the file.
#pragma once

namespace ole {

// The module name trace lines give with a number for the place that wrote them
// ("… in: ole(3)!"): 1 a value of a type no VARIANT holds, 2 a VTWrapper of an unsupported
// type, 3 a VARIANT type no value holds.
inline constexpr const char* kModule = "ole";

// printf-style line (the format carries its own "\n").
void TraceLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ole

// The headers built into the compiler (std.ch, the standard commands every module reads first,
// and the customary constant headers), found by #include when no file of the name exists.
#pragma once

#include <string>

namespace pv {

// The text of the built-in header `name` (compared without regard to case, folders ignored),
// or null when there is none.
const char* builtInHeader(const std::string& name);

}  // namespace pv

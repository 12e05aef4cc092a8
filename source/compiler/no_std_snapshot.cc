// The snapshot of std.ch in the tool that makes it (std_snapshot_main.cc): none yet, so that
// tool reads the header as text.
#include "compiler/pp_snapshot.h"

namespace pv {

std::string_view builtInStdSnapshot() { return {}; }

}  // namespace pv

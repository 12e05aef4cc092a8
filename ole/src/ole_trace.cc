// The trace file writer.
#include "ole_trace.h"

#include <cstdarg>
#include <cstdio>

namespace ole {

void TraceLog(const char* format, ...) {
  static bool started = false;
  std::FILE* f = std::fopen("trace.log", started ? "a" : "w");
  started = true;
  if (!f) return;
  va_list ap;
  va_start(ap, format);
  std::vfprintf(f, format, ap);
  va_end(ap);
  std::fclose(f);
}

}  // namespace ole
